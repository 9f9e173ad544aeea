// The target solver: the smallest capture probability of the scan that
// meets every named mean CV, checked against blocks run from a fresh start.
#include "plan/targets.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/block.h"
#include "plan_run.h"
#include "run/collected_data.h"
#include "run/grids.h"
#include "run/parameter_entry.h"

namespace {

// The working set of a run that has read `input` and set up the page of N:
// the state of a page before its first block.
WorkingSet pageStart(const std::string& input, float N) {
  WorkingSet ws;
  std::istringstream in(input);
  StreamSource source(in);
  EXPECT_TRUE(readParameterLine(source, ws.par));
  std::ostringstream echo;
  RecordWriter writer(echo);
  readCollectedData(writer, source, ws);
  deriveRunValues(ws);
  startPage(ws, N);
  return ws;
}

std::vector<std::string> split(const std::string& text, char at) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, at);) parts.push_back(part);
  return parts;
}

double number(const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << text;
  return value;
}

struct Case {
  std::string input;
  std::string target;
  std::string header;
};

}  // namespace

TEST(PlanTargets, ParsesTargetLists) {
  struct Valid {
    const char* text;
    bool adult, young, population;
    double limit;  // of every named estimate
  };
  const Valid valid[] = {
      {"N=0.1,PHI=0.1", true, false, true, 0.1},
      {"PHI=.25,YOUNG=.25,N=.25", true, true, true, 0.25},
      {"YOUNG=1e-1", false, true, false, 0.1},
      {"N=2", false, false, true, 2},
  };
  for (const Valid& v : valid) {
    std::string problem;
    const std::optional<Targets> t = parseTargets(v.text, problem);
    ASSERT_TRUE(t) << v.text << ": " << problem;
    const bool named[] = {v.adult, v.young, v.population};
    for (Estimate e : kEstimates) {
      EXPECT_EQ(t->named[index(e)], named[index(e)]) << v.text;
      if (named[index(e)]) {
        EXPECT_EQ(t->limit[index(e)], v.limit) << v.text;
      }
    }
  }
  for (const char* bad :
       {"", "N", "N=", "=0.1", "N=abc", "N=0.1x", "N=0", "N=-0.1", "N=inf", "N=nan", "N=0.1,N=0.2",
        "CV=0.1", "n=0.1", "N=0.1,", ",N=0.1", "N=0.1;PHI=0.1", "N= 0.1"}) {
    std::string problem;
    EXPECT_FALSE(parseTargets(bad, problem)) << bad;
    EXPECT_FALSE(problem.empty()) << bad;
  }
}

TEST(PlanTargets, ReturnsTheFirstProbabilityOfTheScanThatMeetsEveryTarget) {
  const std::string collected = "3\n12 5\n15\n30 36 40\n4 2\n4\n15 15 15\n";
  const Case cases[] = {
      {"10 1 .8 .5 .5 .5 1 250 1000 250 .3 .3 .1 0 0\n", "N=0.10,PHI=0.05",
       "N,P,adult_survival,population_size"},
      {"10 3 .8 .5 .5 .5 1 500 1000 500 .3 .3 .1 1 0\n", "YOUNG=0.2,PHI=0.1",
       "N,P,adult_survival,young_survival"},
      {"6 0 .75 .5 0 .5 1 100 400 100 .2 .8 .2 0 0\n", "N=0.08", "N,P,population_size"},
      {"8 1 .8 .5 .5 .5 1 100 200 100 .4 .6 .1 0 0\n" + collected, "N=0.2,PHI=0.1,YOUNG=0.3",
       "N,P,adult_survival,young_survival,population_size"},
      // All capture with previously collected data: every P below the answer
      // fails the marked-versus-released check, and the scan goes on past them.
      {"6 0 .8 .5 .5 .5 1 50 50 50 .3 .3 .1 0 0\n" + collected, "N=1,PHI=1",
       "N,P,adult_survival,population_size"},
      // Unreachable: none for every N.
      {"10 1 .8 .5 .5 .5 1 250 500 250 .3 .3 .1 0 0\n", "N=0.001", "N,P,population_size"},
  };
  int failedBelow = 0, none = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input.substr(0, c.input.find('\n')) + " --target " + c.target);
    const Outcome r = runPlanWith({"--target", c.target}, c.input);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string problem;
    const Targets targets = *parseTargets(c.target, problem);
    const std::vector<std::string> lines = split(r.out, '\n');
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], c.header);
    for (std::size_t row = 1; row < lines.size(); ++row) {
      const std::vector<std::string> cells = split(lines[row], ',');
      const auto N = static_cast<float>(number(cells[0]));
      const WorkingSet start = pageStart(c.input, N);
      const auto ws = std::make_unique<WorkingSet>();
      // The block of scan step k, run on the page's start state.
      auto meets = [&](int k) {
        *ws = start;
        return runBlock(*ws, scanProbability(k)) && meetsTargets(*ws, targets);
      };
      if (cells[1] == "none") {
        ++none;
        for (std::size_t i = 2; i < cells.size(); ++i) EXPECT_EQ(cells[i], "NA");
        for (int k = 1; k <= kScanSteps; ++k) ASSERT_FALSE(meets(k)) << "N " << N << " k " << k;
        continue;
      }
      const auto P = static_cast<float>(number(cells[1]));
      const int k = static_cast<int>(std::lround(static_cast<double>(P) * 1000));
      ASSERT_TRUE(k >= 1 && k <= kScanSteps) << cells[1];
      EXPECT_EQ(P, scanProbability(k));
      ASSERT_TRUE(meets(k)) << "N " << N << " P " << P;
      std::size_t column = 2;
      for (Estimate e : kEstimates) {
        if (!targets.named[index(e)]) continue;
        const double cv = meanCV(*ws, e);
        EXPECT_LE(cv, targets.limit[index(e)]);
        EXPECT_EQ(number(cells[column++]), cv) << estimateName(e);
      }
      EXPECT_EQ(column, cells.size());
      if (k > 1) {
        EXPECT_FALSE(meets(k - 1)) << "N " << N << ": the step below meets the targets";
        *ws = start;
        if (!runBlock(*ws, scanProbability(k - 1))) ++failedBelow;
      }
    }
  }
  EXPECT_GT(failedBelow, 0);
  EXPECT_GT(none, 0);
}

TEST(PlanTargets, ScanDoesNotDependOnTheBlocksBeforeIt) {
  // NBET 3 leaves the young CVs of most intervals to earlier blocks; the
  // result of each N equals that of a run whose grid holds that N alone.
  const std::string all = "10 3 .8 .5 .5 .5 1 200 600 200 .3 .3 .1 0 0\n";
  const Outcome r = runPlanWith({"--target", "YOUNG=0.15,N=0.1"}, all);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = split(r.out, '\n');
  ASSERT_EQ(lines.size(), 4u);
  for (const char* N : {"200", "400", "600"}) {
    const std::string one =
        std::string("10 3 .8 .5 .5 .5 1 ") + N + " " + N + " 200 .3 .3 .1 0 0\n";
    const Outcome alone = runPlanWith({"--target", "YOUNG=0.15,N=0.1"}, one);
    ASSERT_EQ(alone.status, 0) << alone.err;
    EXPECT_NE(r.out.find(split(alone.out, '\n').at(1) + "\n"), std::string::npos) << alone.out;
  }
}

TEST(PlanTargets, YoungTargetNeedsTheTwoAgeModel) {
  const Outcome r =
      runPlanWith({"--target", "YOUNG=0.1"}, "6 0 .75 .5 0 .5 1 250 500 250 .2 .8 .2 1 0\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("YOUNG"), std::string::npos) << r.err;
}
