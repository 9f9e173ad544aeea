#include "plan/options.h"

#include <getopt.h>

#include <string_view>

namespace {

constexpr std::string_view kUsage =
    "usage: belrovin-plan [--csv | --target N=0.10,PHI=0.05[,YOUNG=0.10]] [--svg FILE] < DESIGN\n"
    "       belrovin-plan --help | --version\n";

// Codes of the long options, apart from every short option character.
enum Code : int { kCsv = 256, kTarget, kSvg, kHelp, kVersion };

std::nullopt_t badCommandLine(std::ostream& err, std::string_view problem) {
  err << "belrovin-plan: " << problem << '\n' << kUsage;
  return std::nullopt;
}

}  // namespace

std::optional<PlanOptions> parseOptions(int argc, char** argv, std::ostream& err) {
  static const option kOptions[] = {
      {"csv", no_argument, nullptr, kCsv},         {"target", required_argument, nullptr, kTarget},
      {"svg", required_argument, nullptr, kSvg},   {"help", no_argument, nullptr, kHelp},
      {"version", no_argument, nullptr, kVersion}, {nullptr, 0, nullptr, 0}};
  optind = 0;  // a fresh scan, also of an earlier call's state
  opterr = 0;  // the problems are reported here, to `err`
  PlanOptions options;
  int c;
  while ((c = getopt_long(argc, argv, ":", kOptions, nullptr)) != -1) {
    switch (c) {
      case kCsv:
        options.table = true;
        break;
      case kTarget: {
        std::string problem;
        options.targets = parseTargets(optarg, problem);
        if (!options.targets) return badCommandLine(err, problem);
        break;
      }
      case kSvg:
        options.chartFile = optarg;
        if (options.chartFile.empty()) return badCommandLine(err, "--svg needs a file name");
        break;
      case kHelp:
        options.action = PlanOptions::Action::Help;
        break;
      case kVersion:
        options.action = PlanOptions::Action::Version;
        break;
      case ':':
        return badCommandLine(err, std::string(argv[optind - 1]) + " needs a value");
      default:  // an unknown short option names itself in optopt, a long one does not
        return badCommandLine(
            err, "invalid option " + (optopt > 0 && optopt < kCsv
                                          ? std::string("-") + static_cast<char>(optopt)
                                          : std::string(argv[optind - 1])));
    }
  }
  if (optind < argc) return badCommandLine(err, "unexpected argument " + std::string(argv[optind]));
  if (options.table && options.targets) {
    return badCommandLine(err, "--csv and --target write different tables: give one of them");
  }
  return options;
}

void writeHelp(std::ostream& out) {
  out << kUsage
      << "\n"
         "Reads a BELROVIN design from standard input: the parameter line (fifteen values,\n"
         "NPER NBET FI PS PRPNY FY PRPPC N1 N2 NINC P1 P2 PINC MEAN PRT), then any\n"
         "previously collected data, as belrovin reads them, without help text or prompt.\n"
         "\n"
         "  --csv          (the default) a tidy table on standard output, one row for each\n"
         "                 value of the report's result rows, for every N and P of the grid:\n"
         "                 N,P,estimate,period,value,min_MJ. estimate is adult_survival,\n"
         "                 young_survival or population_size (value: the CV) or\n"
         "                 expected_marked (value: EXP(M)); period is the interval or period,\n"
         "                 or mean; min_MJ is the fewest marked animals seen in a period\n"
         "                 2..NPER. NA: not finite, or no young released in that interval.\n"
         "  --target LIST  for each N of the grid, the smallest P of 0.001, 0.002, ..., 1\n"
         "                 at which each named mean CV is at or below its target (N: CV(N),\n"
         "                 PHI: CV(PHI), YOUNG: CV(PHI')), with those CVs; P is none where no\n"
         "                 P reaches them. Every P is tried, so nothing is assumed about how\n"
         "                 the CVs fall with P. P1, P2 and PINC of the line are not used.\n"
         "  --svg FILE     a chart of the mean CVs against P, one line per N, written to\n"
         "                 FILE; with --target, the targets as dashed lines. Standard output\n"
         "                 then gets a table only when --csv or --target is given.\n"
         "  --help         this text\n"
         "  --version      the version\n"
         "\n"
         "Examples:\n"
         "  echo '10 1 .8 .5 .5 .5 1 250 1000 250 .1 .9 .1 0 0' | belrovin-plan > cv.csv\n"
         "  echo '10 1 .8 .5 .5 .5 1 250 1000 250 .1 .9 .1 0 0' | "
         "belrovin-plan --target N=0.10,PHI=0.05\n"
         "  echo '10 1 .8 .5 .5 .5 1 250 1000 250 .05 .95 .05 0 0' | "
         "belrovin-plan --svg cv.svg --target N=0.10,PHI=0.05\n"
         "\n"
         "Exit status: 0 done (also for a parameter line that does not begin with a digit);\n"
         "1 a block of the grid fails the marked-versus-released check (the output stops\n"
         "there; the --target scan counts such a P as not reaching the targets instead);\n"
         "2 bad command line or input that cannot be read; 3 output that cannot be written.\n";
}
