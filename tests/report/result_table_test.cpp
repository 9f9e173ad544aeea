#include "report/result_table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// A two-age block of six periods holding the values of a worked table.
WorkingSet sixPeriodBlock() {
  WorkingSet ws;
  ws.par.NPER = 6;
  ws.par.PRPNY = 0.5;
  ws.par.PRT = 1;
  ws.NPM1 = 5;
  ws.NPM2 = 4;
  ws.P = static_cast<double>(0.3f);
  const double adult[6][6] = {{0, 12, 5, 2, 1, 0}, {0, 0, 15, 6, 2, 1}, {0, 0, 0, 16, 6, 3},
                              {0, 0, 0, 0, 17, 7}, {0, 0, 0, 0, 0, 17}, {0, 0, 0, 0, 0, 0}};
  const double young[6][6] = {{0, 4, 2, 1, 0, 0}, {0, 0, 4, 2, 1, 0}, {0, 0, 0, 4, 2, 1},
                              {0, 0, 0, 0, 4, 2}, {0, 0, 0, 0, 0, 4}, {0, 0, 0, 0, 0, 0}};
  const double RRA[6] = {20, 24, 25, 23, 17, 0}, RRY[6] = {6, 6, 6, 5, 4, 0};
  const double MJ[6] = {0, 16, 25, 30, 32, 34}, RA[6] = {30, 36, 40, 42, 43, 44};
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      ws.MA[i + 1][j + 1] = adult[i][j];
      ws.MY[i + 1][j + 1] = young[i][j];
    }
    ws.RRA[i + 1] = RRA[i];
    ws.RRY[i + 1] = RRY[i];
    ws.MJ[i + 1] = MJ[i];
    ws.RA[i + 1] = RA[i];
    ws.RY[i + 1] = 15;
  }
  ws.CVPHIM = 0.0549;
  ws.CVFYM = 0.1680;
  ws.CVNM = 0.0930;
  const double CVPHI[4] = {0.1507, 0.1416, 0.1473, 0.1803};
  const double cvfy[4] = {0.3171, 0.3205, 0.3329, 0.3708};
  const double CVN[4] = {0.1949, 0.1611, 0.1575, 0.1810};
  const double EXPM[4] = {31.5, 49.1, 59.0, 64.6};
  for (int k = 0; k < 4; ++k) {
    ws.CVPHI[k + 1] = CVPHI[k];
    ws.cvfy[k + 1] = cvfy[k];
    ws.CVN[k + 2] = CVN[k];
    ws.EXPM[k + 2] = EXPM[k];
  }
  return ws;
}

std::string block(const WorkingSet& ws) {
  std::ostringstream out;
  RecordWriter writer(out);
  printCombinedArrays(writer, ws);
  printResultRows(writer, ws);
  writer.flush();
  return out.str();
}

const char kResultRows[] =
    "\n"
    "  0.300 CV(PHI)  0.0549   0.1507 0.1416 0.1473 0.1803\n"
    "        CV(PHI') 0.1680   0.3171 0.3205 0.3329 0.3708\n"
    "        CV(N)    0.0930          0.1949 0.1611 0.1575 0.1810\n"
    "        EXP(M)                     31.5   49.1   59.0   64.6\n";

}  // namespace

TEST(ResultTable, WorkedSixPeriodBlock) {
  EXPECT_EQ(block(sixPeriodBlock()),
            "\n"
            "            COMBINED  ADULT DATA - M(i,j)\n"
            "   0.  12.   5.   2.   1.   0.  20.\n"
            "   0.   0.  15.   6.   2.   1.  24.\n"
            "   0.   0.   0.  16.   6.   3.  25.\n"
            "   0.   0.   0.   0.  17.   7.  23.\n"
            "   0.   0.   0.   0.   0.  17.  17.\n"
            "   0.   0.   0.   0.   0.   0.   0.\n"
            "\n"
            "   0.  16.  25.  30.  32.  34.\n"
            "  30.  36.  40.  42.  43.  44.\n"
            "\n"
            "            COMBINED  YOUNG DATA - M(i,j)\n"
            "   0.   4.   2.   1.   0.   0.   6.\n"
            "   0.   0.   4.   2.   1.   0.   6.\n"
            "   0.   0.   0.   4.   2.   1.   6.\n"
            "   0.   0.   0.   0.   4.   2.   5.\n"
            "   0.   0.   0.   0.   0.   4.   4.\n"
            "   0.   0.   0.   0.   0.   0.   0.\n"
            "  15.  15.  15.  15.  15.  15.\n" +
                std::string(kResultRows));
}

TEST(ResultTable, WithoutArraysOrYoungRows) {
  WorkingSet ws = sixPeriodBlock();
  ws.par.PRT = 0;
  EXPECT_EQ(block(ws), kResultRows);
  ws.par.PRT = -1;
  EXPECT_EQ(block(ws), kResultRows);

  ws.par.PRPNY = 0;  // one-age: no CV(PHI') row
  std::string rows = kResultRows;
  const auto young = rows.find("        CV(PHI')");
  rows.erase(young, rows.find('\n', young) + 1 - young);
  EXPECT_EQ(block(ws), rows);
}

TEST(ResultTable, YoungArraysOnlyWhenTheFirstTwoPeriodsReleaseYoung) {
  WorkingSet ws = sixPeriodBlock();
  ws.RY[1] = 0;
  ws.RY[2] = 0;
  const std::string printed = block(ws);
  EXPECT_NE(printed.find("COMBINED  ADULT"), std::string::npos);
  EXPECT_EQ(printed.find("COMBINED  YOUNG"), std::string::npos);
}

TEST(ResultTable, UncomputedYoungSurvivalPrintsAsterisks) {
  WorkingSet ws = sixPeriodBlock();
  ws.par.PRT = 0;
  ws.cvfy[2] = kNotComputed;
  EXPECT_NE(block(ws).find("        CV(PHI') 0.1680   0.3171 ****** 0.3329 0.3708\n"),
            std::string::npos);
}

TEST(ResultTable, TwoPeriodsHaveNoPerPeriodValues) {
  WorkingSet ws = sixPeriodBlock();
  ws.par.PRT = 0;
  ws.par.PRPNY = 0;
  ws.NPM1 = 1;
  ws.NPM2 = 0;
  EXPECT_EQ(block(ws), "\n  0.300 CV(PHI)  0.0549\n        CV(N)    0.0930\n        EXP(M) \n");
}
