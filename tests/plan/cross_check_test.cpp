// The tidy table against the report of the same input, cell by cell.
#include <gtest/gtest.h>

#include <charconv>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "model/block.h"
#include "plan_run.h"
#include "report/field_editing.h"
#include "run/collected_data.h"
#include "run/grids.h"
#include "run/parameter_entry.h"

namespace {

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> splitCells(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t from = 0;
  for (std::size_t comma; (comma = line.find(',', from)) != std::string::npos; from = comma + 1) {
    cells.push_back(line.substr(from, comma - from));
  }
  cells.push_back(line.substr(from));
  return cells;
}

std::string edited(double value, std::uint32_t width, std::uint32_t decimals) {
  OutputBuffer out;
  editFixed(out, value, width, decimals);
  return std::string(out.view());
}

template <class T>
T readBack(const std::string& text) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << text;
  return value;
}

bool notFinite(std::string_view field) {
  field.remove_prefix(std::min(field.find_first_not_of(' '), field.size()));
  return field == "NaN" || field == "Inf" || field == "-Inf" || field == "Infinity" ||
         field == "-Infinity";
}

// One result row of the report: its lines, and where value k (from 1) stands.
struct RowLayout {
  std::size_t meanAt;
  std::uint32_t meanWidth;       // 0: no mean
  std::size_t firstLineStart;    // value k of the first line starts at 7k + this
  std::ptrdiff_t nextLineStart;  // value j of a continuation line starts at 7j + this
  std::uint32_t width, decimals;
};

constexpr RowLayout kAdultRow{16, 7, 19, -6, 6, 4};
constexpr RowLayout kYoungRow{16, 7, 19, -6, 6, 4};
constexpr RowLayout kPopulationRow{15, 8, 26, -6, 6, 4};
constexpr RowLayout kMarkedRow{0, 0, 25, -7, 7, 1};

// The fields of a row that starts at lines[at] with `count` per-period
// values; moves `at` past the row's last line.
std::vector<std::string> rowFields(const std::vector<std::string>& lines, std::size_t& at,
                                   const RowLayout& row, std::int32_t count) {
  std::vector<std::string> fields;
  if (row.meanWidth != 0) fields.push_back(lines[at].substr(row.meanAt, row.meanWidth));
  for (std::int32_t k = 1; k <= count; ++k) {
    const std::int32_t j = (k - 1) % 15 + 1;
    if (k > 1 && j == 1) ++at;
    const auto start = k <= 15 ? 7u * static_cast<std::size_t>(j) + row.firstLineStart
                               : static_cast<std::size_t>(7 * j + row.nextLineStart);
    EXPECT_LE(start + row.width, lines.at(at).size()) << lines[at];
    fields.push_back(lines.at(at).substr(start, row.width));
  }
  ++at;
  return fields;
}

struct ReportBlock {
  std::string N, P;  // F9.0 and F6.3 fields
  std::vector<std::string> adult, young, population, marked;
};

std::vector<ReportBlock> parseReport(const std::string& report, std::int32_t NPER, bool young) {
  const std::vector<std::string> lines = splitLines(report);
  // NPM2 survival intervals; periods 2..NPM1 of population size and marked animals.
  const std::int32_t values = std::max(NPER - 2, 0);
  std::vector<ReportBlock> blocks;
  std::string N;
  for (std::size_t at = 0; at < lines.size();) {
    const std::string& line = lines[at];
    if (line.rfind("           N (ADULT POPULATION SIZE) ", 0) == 0) N = line.substr(55, 9);
    if (line.size() < 23 || line.compare(7, 9, " CV(PHI) ") != 0) {
      ++at;
      continue;
    }
    ReportBlock b;
    b.N = N;
    b.P = line.substr(1, 6);
    b.adult = rowFields(lines, at, kAdultRow, values);
    if (young) {
      EXPECT_EQ(lines.at(at).compare(0, 16, "        CV(PHI')"), 0) << lines[at];
      b.young = rowFields(lines, at, kYoungRow, values);
    }
    EXPECT_EQ(lines.at(at).compare(0, 15, "        CV(N)  "), 0) << lines[at];
    b.population = rowFields(lines, at, kPopulationRow, values);
    EXPECT_EQ(lines.at(at).compare(0, 15, "        EXP(M) "), 0) << lines[at];
    b.marked = rowFields(lines, at, kMarkedRow, values);
    blocks.push_back(b);
  }
  return blocks;
}

// The design as both programs read it, to run its blocks here as the report does.
struct Design {
  std::unique_ptr<WorkingSet> ws = std::make_unique<WorkingSet>();
  ParameterGrids grids;
};

Design readDesign(const std::string& input) {
  Design d;
  std::istringstream in(input);
  StreamSource source(in);
  EXPECT_TRUE(readParameterLine(source, d.ws->par));
  std::ostringstream echo;
  RecordWriter writer(echo);
  readCollectedData(writer, source, *d.ws);
  deriveRunValues(*d.ws);
  d.grids = buildGrids(d.ws->par);
  return d;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// How often each reason for NA was met, over all cases.
struct NACount {
  int notFinite = 0, neverComputed = 0, earlierBlock = 0;
};

void crossCheck(const std::string& input, NACount& count) {
  const Outcome report = runReport(input);
  const Outcome table = runPlanWith({}, input);
  EXPECT_EQ(table.status, report.status);
  EXPECT_EQ(table.err, report.err);

  Design d = readDesign(input);
  WorkingSet& ws = *d.ws;
  const bool young = ws.par.PRPNY > 0;
  const std::vector<ReportBlock> blocks = parseReport(report.out, ws.par.NPER, young);
  ASSERT_FALSE(blocks.empty());
  const std::vector<std::string> rows = splitLines(table.out);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0], "N,P,estimate,period,value,min_MJ");

  std::size_t next = 1;  // the next row of the table
  std::size_t b = 0;     // the next block of the report
  for (std::int32_t KN = 1; KN <= d.grids.NN && b < blocks.size(); ++KN) {
    startPage(ws, d.grids.NGRID[KN]);
    for (std::int32_t KP = 1; KP <= d.grids.NP && b < blocks.size(); ++KP, ++b) {
      ASSERT_TRUE(runBlock(ws, d.grids.PGRID[KP]));
      const ReportBlock& block = blocks[b];
      SCOPED_TRACE("block " + std::to_string(b + 1) + ", N" + block.N + ", P " + block.P);
      double minMJ = ws.MJ[2];
      for (std::int32_t j = 3; j <= ws.par.NPER; ++j) minMJ = std::min(minMJ, ws.MJ[j]);

      // Checks the next row of the table against one field of the report
      // and the value of the model.
      auto check = [&](std::string_view estimate, std::string period, const std::string& field,
                       std::uint32_t width, std::uint32_t decimals, bool ownValue, double model) {
        ASSERT_LT(next, rows.size());
        const std::vector<std::string> cells = splitCells(rows[next++]);
        ASSERT_EQ(cells.size(), 6u) << rows[next - 1];
        EXPECT_EQ(cells[2], estimate);
        EXPECT_EQ(cells[3], period);
        const auto N = readBack<float>(cells[0]);
        const auto P = readBack<float>(cells[1]);
        EXPECT_EQ(N, d.grids.NGRID[KN]);
        EXPECT_EQ(P, d.grids.PGRID[KP]);
        EXPECT_EQ(edited(static_cast<double>(N), 9, 0), block.N);
        EXPECT_EQ(edited(static_cast<double>(P), 6, 3), block.P);
        if (ws.par.NPER >= 2) {
          EXPECT_EQ(readBack<double>(cells[5]), minMJ);
        } else {
          EXPECT_EQ(cells[5], "NA");
        }

        const bool reportNotFinite = notFinite(field);
        EXPECT_EQ(cells[4] == "NA", reportNotFinite || !ownValue)
            << estimate << " " << period << ": table " << cells[4] << ", report '" << field << "'";
        if (cells[4] != "NA") {
          const double value = readBack<double>(cells[4]);
          EXPECT_EQ(edited(value, width, decimals), field) << estimate << " " << period;
          EXPECT_EQ(value, model) << estimate << " " << period << ": not at full precision";
        } else if (reportNotFinite) {
          ++count.notFinite;
        } else if (field.find('*') != std::string::npos) {
          ++count.neverComputed;
        } else {
          ++count.earlierBlock;
        }
      };
      // The rows of one result row of the report: its mean (when it has one),
      // then `values` from period `first` to `last`.
      auto checkRow = [&](std::string_view estimate, const std::vector<std::string>& fields,
                          const RowLayout& layout, const double* mean, const PeriodVector& values,
                          std::int32_t first, std::int32_t last) {
        std::size_t f = 0;
        if (mean)
          check(estimate, "mean", fields[f++], layout.meanWidth, layout.decimals, true, *mean);
        for (std::int32_t J = first; J <= last; ++J) {
          // A young CV is the block's own only where it released young.
          const bool own = &values != &ws.cvfy || ws.RY[J] > 0;
          check(estimate, std::to_string(J), fields[f++], layout.width, layout.decimals, own,
                values[J]);
        }
      };

      checkRow("adult_survival", block.adult, kAdultRow, &ws.CVPHIM, ws.CVPHI, 1, ws.NPM2);
      if (young) checkRow("young_survival", block.young, kYoungRow, &ws.CVFYM, ws.cvfy, 1, ws.NPM2);
      checkRow("population_size", block.population, kPopulationRow, &ws.CVNM, ws.CVN, 2, ws.NPM1);
      checkRow("expected_marked", block.marked, kMarkedRow, nullptr, ws.EXPM, 2, ws.NPM1);
    }
  }
  EXPECT_EQ(b, blocks.size()) << "the report has blocks the test did not run";
  EXPECT_EQ(next, rows.size()) << "the table has rows beyond the report's blocks";
}

}  // namespace

TEST(PlanCrossCheck, EveryValueOfTheTableEditsToTheReportsField) {
  const std::string examples = std::string(BELROVIN_SOURCE_DIR) + "/examples/";
  const std::string inputs[] = {
      // NBET 1, two-age, with and without previously collected data.
      readFile(examples + "two-age-resighting.txt"),
      readFile(examples + "collected-data.txt"),
      // One-age, all capture, geometric mean.
      readFile(examples + "one-age-all-capture.txt"),
      // NBET 3, 36 periods: continuation lines, asterisks between capture periods.
      readFile(examples + "long-study.txt"),
      // NBET 3 with previously collected data.
      "8 3 .8 .5 .5 .5 1 100 200 100 .4 .6 .1 0 0\n3\n12 5\n15\n30 36 40\n4 2\n4\n15 15 15\n",
      // 20 periods: 18 values per row, one continuation line.
      "20 2 .7 .6 .4 .6 1 300 300 100 .35 .35 .1 0 1\n",
      // P = 0 releases no young: the report shows the previous page's young CVs.
      "6 1 .8 .5 .5 .5 1 100 200 100 0 .2 .1 0 0\n",
      // No young released at all: CV(PHI') mean NaN.
      "6 1 .8 .5 .5 .5 0 100 200 100 .3 .5 .1 1 0\n",
      // Negative releases: NaN means and a negative CV(N).
      "4 1 .5 .2 1 .9 1 100 100 100 .9 .9 .1 0 0\n",
      // Two periods: no per-period values, NaN means.
      "2 1 .8 .5 .5 .5 1 100 100 100 .3 .3 .1 0 0\n",
      // The model check stops both in the same block.
      "6 0 .8 .5 1 .5 1 100 100 100 .3 .9 .1 0 0\n",
  };
  NACount count;
  for (const std::string& input : inputs) {
    SCOPED_TRACE(input.substr(0, input.find('\n')));
    crossCheck(input, count);
  }
  // Each reason for NA came up.
  EXPECT_GT(count.notFinite, 0);
  EXPECT_GT(count.neverComputed, 0);
  EXPECT_GT(count.earlierBlock, 0);
}

TEST(PlanCrossCheck, ModelCheckEndsTheTableWhereTheReportEnds) {
  const std::string input = "6 0 .8 .5 1 .5 1 100 100 100 .3 .9 .1 0 0\n";
  const Outcome report = runReport(input);
  const Outcome table = runPlanWith({"--csv"}, input);
  EXPECT_EQ(report.status, 1);
  EXPECT_EQ(table.status, 1);
  EXPECT_EQ(table.err, "STOP *** col>rel **\n");
  // P = 0.3 and 0.4 pass; 0.5 stops.
  EXPECT_NE(table.out.find("\n100,0.4,expected_marked,5,"), std::string::npos);
  EXPECT_EQ(table.out.find(",0.5,"), std::string::npos);
}
