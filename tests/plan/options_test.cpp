// The command line, and the ends of a run that belrovin-plan shares with belrovin.
#include <gtest/gtest.h>

#include <string>

#include "plan_run.h"

namespace {

const std::string kDesign = "10 1 .8 .5 .5 .5 1 500 1000 500 .3 .5 .1 0 1\n";

}  // namespace

TEST(PlanOptions, BadCommandLinesGiveTheUsageAndStatus2) {
  struct Case {
    std::initializer_list<std::string> arguments;
    std::string problem;  // a piece of the message
  };
  const Case cases[] = {
      {{"--cvs"}, "invalid option --cvs"},
      {{"-x"}, "invalid option -x"},
      {{"--csv=yes"}, "invalid option --csv=yes"},
      {{"--target"}, "--target needs a value"},
      {{"--svg"}, "--svg needs a value"},
      {{"--svg", ""}, "--svg needs a file name"},
      {{"--target", "N=0"}, "bad target N"},
      {{"--target=N=0.1,Q=0.1"}, "bad target 'Q=0.1'"},
      {{"--target", "N=0.1,N=0.2"}, "given twice"},
      {{"--csv", "--target", "N=0.1"}, "--csv and --target"},
      {{"design.txt"}, "unexpected argument design.txt"},
  };
  for (const Case& c : cases) {
    const Outcome r = runPlanWith(c.arguments, kDesign);
    EXPECT_EQ(r.status, 2) << c.problem;
    EXPECT_EQ(r.out, "") << c.problem;
    EXPECT_EQ(r.err.rfind("belrovin-plan: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.problem), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("\nusage: belrovin-plan "), std::string::npos) << r.err;
  }
}

TEST(PlanOptions, HelpAndVersionReadNoInput) {
  const Outcome help = runPlanWith({"--help"}, "");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  for (const char* piece : {"usage: belrovin-plan", "--csv", "--target", "--svg",
                            "| belrovin-plan --target N=0.10,PHI=0.05\n", "Exit status"}) {
    EXPECT_NE(help.out.find(piece), std::string::npos) << piece;
  }
  const Outcome version = runPlanWith({"--version"}, "");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("belrovin-plan ", 0), 0u);
}

TEST(PlanOptions, TheTableIsTheDefault) {
  const Outcome table = runPlanWith({}, kDesign);
  EXPECT_EQ(table.status, 0);
  EXPECT_EQ(table.out.rfind("N,P,estimate,period,value,min_MJ\n500,0.3,adult_survival,mean,", 0),
            0u);
  EXPECT_EQ(runPlanWith({"--csv"}, kDesign).out, table.out);
  // Parsing starts afresh on every call: the same options give the same result.
  EXPECT_EQ(runPlanWith({"--csv"}, kDesign).out, table.out);
}

TEST(PlanOptions, InputErrorsEndAsInBelrovin) {
  for (const std::string input : {
           "",                                                         // no parameter line
           "10 1 .8 .5 .5 .5 1 500 1000 500 .3 .5 .1 0\n",             // fourteen values
           "10.0 1 .8 .5 .5 .5 1 500 1000 500 .3 .5 .1 0 1\n",         // bad NPER
           "37 1 .8 .5 .5 .5 1 500 1000 500 .3 .5 .1 0 1\n",           // beyond 36 periods
           "10 1 .8 .5 .5 .5 1 500 1000 500 .3 .5 .1 0 1\n3\n12 x\n",  // bad collected value
           "10 1 .8 .5 .5 .5 1 500 1000 500 .3 .5 .1 0 1\n0\n\n",      // young releases missing
           "10 1 .8 .5 .5 .5 1 500 1000 500 .3 .5 .1 0 1\n40\n",       // nper1 beyond 36
       }) {
    const Outcome report = runReport(input);
    for (const char* option : {"--csv", "--target=N=0.1"}) {
      const Outcome plan = runPlanWith({option}, input);
      EXPECT_EQ(plan.status, 2) << input;
      EXPECT_EQ(plan.status, report.status) << input;
      EXPECT_EQ(plan.err, report.err) << input;
      EXPECT_EQ(plan.out, "") << input;
    }
  }
}

TEST(PlanOptions, LineThatDoesNotBeginWithADigitEndsQuietly) {
  for (const char* input : {"\n", "x\n", " 10 1\n"}) {
    const Outcome r = runPlanWith({}, input);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
  }
}

TEST(PlanOptions, ChartFileThatCannotBeWrittenGivesStatus3) {
  const Outcome r = runPlanWith({"--svg", "/nonexistent-directory/chart.svg"}, kDesign);
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "belrovin-plan: cannot write /nonexistent-directory/chart.svg\n");
}
