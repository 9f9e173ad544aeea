#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "run/driver.h"

namespace {

struct Outcome {
  int status;
  std::string echo;    // what stands between the prompt and the description
  std::string report;  // from the description on
  std::string err;
};

const char kParameters[] = "6 1 .8 .5 .5 .5 1 100 100 100 .5 .5 .1 0 0\n";
const char kPrompt[] = "PINC,MEAN:\n";
const std::string kDescription = std::string(60, ' ') + "BELROVIN\n";

Outcome run(const std::string& data) {
  std::istringstream in(kParameters + data);
  std::ostringstream out, err;
  const int status = runBelrovin(in, out, err);
  const std::string text = out.str();
  const auto from = text.find(kPrompt) + sizeof kPrompt - 1;
  const auto description = text.find(kDescription);
  if (description == std::string::npos) return {status, text.substr(from), "", err.str()};
  return {status, text.substr(from, description - from), text.substr(description), err.str()};
}

// Echo records: a blank, then 11-column integers and 25-column doubles, one
// blank between them.
const char kEchoRow1[] = "           1   12.000000000000000        5.0000000000000000     \n";
const char kEchoRow2[] = "           2   15.000000000000000     \n";
const char kEchoReleases[] =
    "   30.000000000000000        36.000000000000000        40.000000000000000     \n";
const char kEchoFourPeriods[] =
    "           1   1.0000000000000000        2.0000000000000000        3.0000000000000000     \n"
    "           2   4.0000000000000000        5.0000000000000000     \n"
    "           3   6.0000000000000000     \n"
    "   10.000000000000000        20.000000000000000        30.000000000000000        "
    "40.000000000000000     \n";

const char kThreePeriods[] =
    "3\n"
    "12 5\n"
    "15\n"
    "30 36 40\n"
    "4 2\n"
    "4\n"
    "15 15 15\n";

}  // namespace

TEST(CollectedData, ThreePeriodsAreEchoedAndPrintedOnEveryPage) {
  const Outcome r = run(kThreePeriods);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.echo, std::string(kEchoRow1) + kEchoRow2 + kEchoReleases);
  EXPECT_NE(r.report.find(" PREVIOUSLY COLLECTED ADULT DATA - M(i,j)\n  12.   5.\n  15.\n\n\n"
                          "  30.  36.  40.\n AVG P=  0.69444444444444442     \n\n"
                          " PREVIOUSLY COLLECTED YOUNG DATA - M(i,j)\n   4.   2.\n   4.\n\n\n"
                          "  15.  15.  15.\n  ADULT\n"),
            std::string::npos);
}

TEST(CollectedData, EndOfInputBeforeTheYoungReleasesEndsTheReadingQuietly) {
  struct Case {
    std::string data;
    std::string echo;
    bool printed;  // the pages show previously collected data
  };
  const Case cases[] = {
      {"", "", false},
      {"0\n", "", false},
      {"0\nanything\nanything\n", "\n", false},
      {"3\n12 5\n", kEchoRow1, true},
      {"4\n1 2 3\n4 5\n6\n10 20 30 40\n", kEchoFourPeriods, true},
  };
  for (const Case& c : cases) {
    const Outcome r = run(c.data);
    EXPECT_EQ(r.status, 0) << c.data << r.err;
    EXPECT_EQ(r.err, "") << c.data;
    EXPECT_EQ(r.echo, c.echo) << c.data;
    EXPECT_EQ(r.report.find("PREVIOUSLY COLLECTED") != std::string::npos, c.printed) << c.data;
  }
}

TEST(CollectedData, EndOfInputAtTheYoungReleasesIsAnInputError) {
  const Outcome r = run("0\nonly one line\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.echo, "\n");
  EXPECT_EQ(r.report, "");
  EXPECT_NE(r.err.find("end of input"), std::string::npos);
}

TEST(CollectedData, RecordsTakeValuesAcrossLinesAndIgnoreTheRestOfTheirLastLine) {
  const Outcome reference = run(kThreePeriods);
  const Outcome more = run("3\n12 5 99 99\n15 99\n30 36 40 99\n4 2 99\n4\n15 15 15 99\n");
  EXPECT_EQ(more.status, 0);
  EXPECT_EQ(more.report, reference.report);
  const Outcome fewer = run("3\n12\n5\n15\n30 36\n40\n4\n2\n4\n15\n15 15\n");
  EXPECT_EQ(fewer.status, 0);
  EXPECT_EQ(fewer.report, reference.report);
  EXPECT_EQ(fewer.echo, reference.echo);
}

TEST(CollectedData, OnePeriod) {
  const Outcome r = run("1\n30\n15\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.echo, "   30.000000000000000     \n");
  EXPECT_NE(r.report.find(" PREVIOUSLY COLLECTED ADULT DATA - M(i,j)\n\n\n  30.\n"
                          " AVG P=                       NaN\n"),
            std::string::npos);
}

TEST(CollectedData, BadPeriodCountsEndWithStatus2) {
  for (const char* data : {"2.5\n", "x\n", "-1\n", "37\n"}) {
    const Outcome r = run(data);
    EXPECT_EQ(r.status, 2) << data;
    EXPECT_EQ(r.report, "") << data;
    EXPECT_NE(r.err, "") << data;
  }
  EXPECT_NE(run("2.5\n").err.find("item 1"), std::string::npos);
  EXPECT_NE(run("37\n").err.find("36"), std::string::npos);
}

TEST(CollectedData, BadValueInARowNamesItsPosition) {
  const Outcome r = run("3\n12 x\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("item 2"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("adult row 1"), std::string::npos) << r.err;
}
