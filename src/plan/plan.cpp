#include "plan/plan.h"

#include <fstream>
#include <memory>
#include <optional>
#include <streambuf>
#include <string>

#include "model/block.h"
#include "plan/chart.h"
#include "plan/csv.h"
#include "plan/options.h"
#include "plan/tidy_table.h"
#include "run/collected_data.h"
#include "run/grids.h"
#include "run/parameter_entry.h"
#include "run/stop.h"

namespace {

// Takes the echo of the previously collected data, which the plan does not show.
class DiscardBuffer final : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// The parameter line and any previously collected data, with the run values
// derived from them. False when the line does not begin with a digit.
bool readDesign(std::istream& in, WorkingSet& ws) {
  StreamSource input(in);
  if (!readParameterLine(input, ws.par)) return false;
  DiscardBuffer discard;
  std::ostream echo(&discard);
  RecordWriter writer(echo);
  readCollectedData(writer, input, ws);
  deriveRunValues(ws);
  return true;
}

void writeOut(std::ostream& out, OutputBuffer& text) {
  out.write(text.view().data(), static_cast<std::streamsize>(text.view().size()));
  text.clear();
}

std::string describeDesign(const WorkingSet& ws) {
  const ParameterSet& par = ws.par;
  CsvRoom room;
  std::string text = par.PRPNY > 0 ? "two-age model" : "one-age model";
  auto add = [&](std::string_view name, auto value) {
    text += ", ";
    text += name;
    text += "=";
    text += csvText(room, value);
  };
  add("NPER", par.NPER);
  if (ws.ALLCAP > 0) {
    text += ", all sampling by capture";
  } else {
    add("NBET", par.NBET);
  }
  add("FI", par.FI);
  if (ws.ALLCAP <= 0) add("PS", par.PS);
  if (par.PRPNY > 0) {
    add("PRPNY", par.PRPNY);
    add("FY", par.FY);
    add("PRPPC", par.PRPPC);
  }
  text += ws.IGEO ? ", geometric mean" : ", arithmetic mean";
  if (ws.nper1 > 0) {
    text += ", ";
    text += csvText(room, ws.nper1);
    text += " periods of previously collected data";
  }
  return text;
}

ChartData startChart(const WorkingSet& ws, const PlanOptions& options) {
  ChartData chart;
  chart.subtitle = describeDesign(ws);
  chart.panels.push_back(Estimate::AdultSurvival);
  if (ws.par.PRPNY > 0) chart.panels.push_back(Estimate::YoungSurvival);
  chart.panels.push_back(Estimate::PopulationSize);
  chart.targets = options.targets;
  return chart;
}

// Every block of the line's grids, as the report runs them: the tidy table
// to `out` (when `table`) and the chart's points (when `chart`). A block that
// fails the marked-versus-released check ends the run as in belrovin.
void runGrid(WorkingSet& ws, const ParameterGrids& grids, bool table, ChartData* chart,
             std::ostream& out) {
  OutputBuffer text;
  if (table) appendTidyHeader(text);
  if (chart) chart->P.assign(&grids.PGRID[1], &grids.PGRID[1] + grids.NP);
  for (std::int32_t KN = 1; KN <= grids.NN; ++KN) {
    startPage(ws, grids.NGRID[KN]);
    if (chart) chart->lines.push_back({grids.NGRID[KN], {}});
    for (std::int32_t KP = 1; KP <= grids.NP; ++KP) {
      if (!runBlock(ws, grids.PGRID[KP])) {
        writeOut(out, text);  // the rows before the stop stay written
        throw Stop{kExitModelCheck, "STOP *** col>rel **"};
      }
      if (table) appendTidyRows(text, ws, grids.NGRID[KN], grids.PGRID[KP]);
      if (chart) {
        auto& point = chart->lines.back().cv.emplace_back();
        for (Estimate e : kEstimates) point[index(e)] = meanCV(ws, e);
      }
      writeOut(out, text);
    }
    if (!out) return;  // reported by the caller; no use computing further pages
  }
}

void runTargets(WorkingSet& ws, const ParameterGrids& grids, const Targets& targets,
                std::ostream& out) {
  OutputBuffer text;
  appendTargetHeader(text, targets);
  for (std::int32_t KN = 1; KN <= grids.NN; ++KN) {
    startPage(ws, grids.NGRID[KN]);
    appendTargetRow(text, targets, grids.NGRID[KN], scanForTargets(ws, targets));
    writeOut(out, text);
    if (!out) return;
  }
}

void writeChart(const std::string& file, const ChartData& chart) {
  std::ofstream svg(file, std::ios::binary);
  svg << renderChart(chart);
  svg.close();
  if (!svg) throw Stop{kExitOutputFailed, "belrovin-plan: cannot write " + file};
}

void plan(const PlanOptions& options, std::istream& in, std::ostream& out) {
  const auto ws = std::make_unique<WorkingSet>();
  if (!readDesign(in, *ws)) return;
  if (options.targets && options.targets->named[index(Estimate::YoungSurvival)] &&
      !(ws->par.PRPNY > 0)) {
    throw Stop{kExitBadInput,
               "belrovin-plan: a YOUNG target needs the two-age model (PRPNY above 0)"};
  }
  const ParameterGrids grids = buildGrids(ws->par);

  if (options.targets) runTargets(*ws, grids, *options.targets, out);
  const bool table = options.table || (!options.targets && options.chartFile.empty());
  std::optional<ChartData> chart;
  if (!options.chartFile.empty()) chart = startChart(*ws, options);
  if (!table && !chart) return;
  runGrid(*ws, grids, table, chart ? &*chart : nullptr, out);
  if (chart && out) writeChart(options.chartFile, *chart);
}

}  // namespace

int runPlan(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err) {
  const std::optional<PlanOptions> options = parseOptions(argc, argv, err);
  if (!options) return kExitBadInput;
  int status = kExitComplete;
  if (options->action == PlanOptions::Action::Help) {
    writeHelp(out);
  } else if (options->action == PlanOptions::Action::Version) {
    out << "belrovin-plan " BELROVIN_VERSION "\n";
  } else {
    try {
      plan(*options, in, out);
    } catch (const Stop& stop) {
      status = stop.status;
      out.flush();  // what was written before the stop stays written
      err << stop.message << '\n';
    }
  }
  if (!out.flush() && status != kExitOutputFailed) {
    status = kExitOutputFailed;
    err << "belrovin-plan: cannot write standard output\n";
  }
  err.flush();
  return status;
}
