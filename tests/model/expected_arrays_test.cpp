#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "block_fixture.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(ExpectedArrays, TwoAgeCaptureResighting) {
  WorkingSet ws = makeWorkingSet(kExample);
  ASSERT_TRUE(buildExpectedArrays(ws, 0.5f));

  EXPECT_EQ(ws.RA[1], 500);
  EXPECT_EQ(ws.RY[1], 250);
  EXPECT_EQ(ws.MA[1][2], 200);
  EXPECT_EQ(ws.MY[1][2], 62.5);
  EXPECT_EQ(ws.MJ[1], 0);
  EXPECT_EQ(ws.MJ[2], 262.5);
  // The starting CORR (262.5) takes back exactly what period 2 sees.
  EXPECT_EQ(ws.RA[2], 500);
  EXPECT_NEAR(ws.MJ[3], 367.5, 1e-12 * 367.5);
  EXPECT_NEAR(ws.MJ[4], 409.5, 1e-12 * 409.5);
  EXPECT_NEAR(ws.RRA[1], 333.245952, 1e-12 * 333.245952);
  EXPECT_NEAR(ws.RRA[2], 333.11488, 1e-12 * 333.11488);
  EXPECT_NEAR(ws.RRY[1], 104.13936, 1e-12 * 104.13936);
  EXPECT_EQ(ws.RRA[10], 0);
  for (int j = 1; j <= 10; ++j) {
    EXPECT_NEAR(ws.RA[j], 500, 1e-9) << j;
    EXPECT_EQ(ws.RY[j], 250) << j;
  }
  // The young rows use FY for their first entry only.
  EXPECT_EQ(ws.MY[1][3], 0.8 * 62.5 * 0.5);
  EXPECT_EQ(ws.par.PS, 0.5);  // the line's PS stays in this design
}

TEST(ExpectedArrays, BlockStartWidensTheGridValueAndResetsTheSums) {
  Design d = kExample;
  d.PRPPC = 0.5;
  for (std::int32_t MEAN : {0, 1}) {
    d.MEAN = MEAN;
    WorkingSet ws = makeWorkingSet(d);
    ws.SUMPHI = ws.SUMFY = ws.SUMN = ws.NFY = ws.SVPHI = ws.SVFY = ws.SVN = 3;
    ASSERT_TRUE(buildExpectedArrays(ws, 0.1f));

    EXPECT_EQ(ws.P, static_cast<double>(0.1f));
    EXPECT_NE(ws.P, 0.1);
    EXPECT_EQ(ws.PY, 0.5 * ws.P);
    EXPECT_EQ(ws.SUMPHI, MEAN == 1 ? 1 : 0);  // product or sum of the PHI
    for (double sum : {ws.SUMFY, ws.SUMN, ws.NFY, ws.SVPHI, ws.SVFY, ws.SVN}) EXPECT_EQ(sum, 0);
  }
}

TEST(ExpectedArrays, LaterBlockOfAPageEqualsAFirstBlock) {
  WorkingSet first = makeWorkingSet(kExample);
  ASSERT_TRUE(buildExpectedArrays(first, 0.5f));
  WorkingSet later = makeWorkingSet(kExample);
  ASSERT_TRUE(runBlock(later, 0.3f));
  ASSERT_TRUE(buildExpectedArrays(later, 0.5f));

  EXPECT_EQ(later.MA, first.MA);
  EXPECT_EQ(later.MY, first.MY);
  EXPECT_EQ(later.RA, first.RA);
  EXPECT_EQ(later.RY, first.RY);
  EXPECT_EQ(later.RRA, first.RRA);
  EXPECT_EQ(later.RRY, first.RRY);
  EXPECT_EQ(later.MJ, first.MJ);
}

TEST(ExpectedArrays, CapturePeriodsOfTheResightingDesign) {
  struct Case {
    std::int32_t NBET;
    std::vector<int> capturePeriods;  // after period 1, up to NPER = 8
  };
  const Case cases[] = {
      {1, {2, 3, 4, 5, 6, 7, 8}}, {3, {4, 7}}, {7, {8}}, {8, {}}, {20, {}},
  };
  for (const Case& c : cases) {
    Design d = kExample;
    d.NPER = 8;
    d.NBET = c.NBET;
    WorkingSet ws = makeWorkingSet(d);
    ASSERT_TRUE(buildExpectedArrays(ws, 0.5f));
    for (int j = 2; j <= 8; ++j) {
      bool capture = false;
      for (int k : c.capturePeriods) capture = capture || k == j;
      SCOPED_TRACE(testing::Message() << "NBET " << c.NBET << " period " << j);
      if (capture) {
        EXPECT_EQ(ws.RY[j], 250);
        EXPECT_NE(ws.RA[j], ws.MJ[j]);
      } else {
        EXPECT_EQ(ws.RY[j], 0);
        EXPECT_EQ(ws.RA[j], ws.MJ[j]);
      }
    }
  }
}

TEST(ExpectedArrays, CorrectionGrowsFromOneCapturePeriodToTheNext) {
  Design d = kExample;
  d.NPER = 8;
  d.NBET = 3;
  WorkingSet ws = makeWorkingSet(d);
  ASSERT_TRUE(buildExpectedArrays(ws, 0.5f));
  // CORR = 250 * 0.8^3 + 62.5 * 0.8^2 = 168, then + 0.8^3 * 168 * 0.5 = 211.008.
  EXPECT_NEAR(ws.RA[4], 500 + ws.MJ[4] - 168, 1e-12 * 500);
  EXPECT_NEAR(ws.RA[7], 500 + ws.MJ[7] - 211.008, 1e-12 * 500);
}

TEST(ExpectedArrays, CertainResightingEndsEveryRowAfterItsFirstEntry) {
  Design d = kExample;
  d.PS = 1;
  WorkingSet ws = makeWorkingSet(d);
  ASSERT_TRUE(buildExpectedArrays(ws, 0.5f));
  for (int i = 1; i <= 9; ++i) {
    EXPECT_NE(ws.MA[i][i + 1], 0) << i;
    for (int j = i + 2; j <= 10; ++j) {
      EXPECT_EQ(ws.MA[i][j], 0) << i << "," << j;
      EXPECT_EQ(ws.MY[i][j], 0) << i << "," << j;
    }
  }
}

TEST(ExpectedArrays, CapturePeriodReleasesCanBeNegative) {
  WorkingSet ws = makeWorkingSet(kNegativeReleases);
  ASSERT_TRUE(buildExpectedArrays(ws, 0.9f));
  EXPECT_NEAR(ws.RA[2], 1.80, 5e-3);
  EXPECT_NEAR(ws.RA[3], -2.61, 5e-3);
  EXPECT_NEAR(ws.RA[4], -2.83, 5e-3);
  for (int j = 1; j <= 4; ++j) EXPECT_NEAR(ws.RY[j], 90, 1e-5) << j;
}

TEST(ExpectedArrays, OneAgeAllCapture) {
  Design d = kExample;
  d.NBET = 0;
  d.PRPNY = 0;
  d.PS = 0.25;  // replaced by P
  WorkingSet ws = makeWorkingSet(d);
  ASSERT_TRUE(buildExpectedArrays(ws, 0.3f));
  const double P = static_cast<double>(0.3f);
  EXPECT_EQ(ws.par.PS, P);
  EXPECT_EQ(ws.MA[1][2], 0.8 * P * 1000 * P);
  EXPECT_EQ(ws.MA[1][3], 0.8 * ws.MA[1][2] * (1 - P));
  for (int j = 1; j <= 10; ++j) {
    EXPECT_EQ(ws.RA[j], P * 1000) << j;
    EXPECT_EQ(ws.RY[j], 0) << j;
    EXPECT_EQ(ws.RRY[j], 0) << j;
    for (int k = j + 1; k <= 10; ++k) EXPECT_EQ(ws.MY[j][k], 0) << j << "," << k;
  }
}

TEST(ExpectedArrays, MarkedAnimalsSeenAboveTheReleasesStopTheBlock) {
  struct Case {
    const char* name;
    Design design;
    float P;
    bool completes;
  };
  const Case cases[] = {
      // MJ(2) = 81 + 81 against RA(2) = 90.
      {"more seen than caught", {10, 0, 1, 0.5, 1, 1, 1, 100}, 0.9f, false},
      // Every animal seen again at once: MJ(I+1) = RA(I+1) = N.
      {"as many seen as caught", {10, 0, 1, 0.5, 0, 1, 1, 100}, 1.0f, true},
      {"not a number", {10, 0, kNaN, 0.5, 1, 1, 1, 100}, 0.9f, true},
      // The same excess in the resighting design is no failure.
      {"resighting design", {10, 1, 1, 0.9, 1, 1, 1, 100}, 0.9f, true},
  };
  for (const Case& c : cases) {
    WorkingSet ws = makeWorkingSet(c.design);
    EXPECT_EQ(buildExpectedArrays(ws, c.P), c.completes) << c.name;
  }

  WorkingSet ws = makeWorkingSet(cases[0].design);
  ASSERT_FALSE(buildExpectedArrays(ws, 0.9f));
  EXPECT_NEAR(ws.MJ[2], 162, 1e-4);
  EXPECT_NEAR(ws.RA[2], 90, 1e-4);
  EXPECT_EQ(ws.MA[2][3], 0);  // stopped after the first row
}

TEST(ExpectedArrays, SinglePeriodHasReleasesOnly) {
  Design d = kExample;
  d.NPER = 1;
  WorkingSet ws = makeWorkingSet(d);
  ws.RRA[1] = ws.RRY[1] = ws.MJ[1] = 7;
  ASSERT_TRUE(buildExpectedArrays(ws, 0.5f));
  EXPECT_EQ(ws.RA[1], 500);
  EXPECT_EQ(ws.RY[1], 250);
  EXPECT_EQ(ws.RRA[1], 0);
  EXPECT_EQ(ws.RRY[1], 0);
  EXPECT_EQ(ws.MJ[1], 0);
  EXPECT_EQ(ws.MA[1][2], 0);
}

namespace {

// Three collected periods: adults 100, 50, 40 and young 20, 10, 8 released.
void setCollectedData(WorkingSet& ws) {
  ws.nper1 = 3;
  ws.RA[1] = 100;
  ws.RA[2] = 50;
  ws.RA[3] = 40;
  ws.RY[1] = 20;
  ws.RY[2] = 10;
  ws.RY[3] = 8;
  ws.MA[1][2] = 30;
  ws.MA[1][3] = 12;
  ws.MA[2][3] = 8;
  ws.MY[1][2] = 5;
  ws.MY[1][3] = 2;
  ws.MY[2][3] = 3;
}

}  // namespace

TEST(ExpectedArrays, AverageCaptureProbability) {
  WorkingSet ws = makeWorkingSet(kExample);
  setCollectedData(ws);
  EXPECT_EQ(averageCaptureProbability(ws), 0.5);  // (12 + 8) / 50 / 0.8

  ws.nper1 = 1;
  EXPECT_TRUE(std::isnan(averageCaptureProbability(ws)));
}

TEST(ExpectedArrays, ContinuationOfCollectedData) {
  Design d = kExample;
  d.NPER = 5;
  WorkingSet ws = makeWorkingSet(d);
  setCollectedData(ws);
  ws.AVGP = averageCaptureProbability(ws);
  const WorkingSet collected = ws;
  ASSERT_TRUE(buildExpectedArrays(ws, 0.5f));

  struct Entry {
    double actual, expected;
  };
  const Entry entries[] = {
      // Column 4 of the collected rows: adults over AVGP and times PS, young not.
      {ws.MA[1][4], 12 / 0.5 * 0.8 * 0.5 * 0.5},  // 4.8
      {ws.MY[1][4], 0.8 * 2 * 0.5},               // 0.8
      {ws.MA[2][4], 8 / 0.5 * 0.8 * 0.5 * 0.5},   // 3.2
      {ws.MY[2][4], 0.8 * 3 * 0.5},               // 1.2
      {ws.MA[1][5], 1.92},
      {ws.MY[1][5], 0.32},
      {ws.MA[2][5], 1.28},
      {ws.MY[2][5], 0.48},
      // Row 3 starts from the last collected releases.
      {ws.MA[3][4], 16},
      {ws.MY[3][4], 2},
      {ws.MA[3][5], 6.4},
      {ws.MY[3][5], 0.8},
      {ws.RRA[1], 48.72},
      {ws.RRY[1], 8.12},
      {ws.RRA[2], 12.48},
      {ws.RRY[2], 4.68},
      {ws.RRA[3], 22.4},
      {ws.RRY[3], 2.8},
      {ws.MJ[2], 35},
      {ws.MJ[3], 25},
      {ws.MJ[4], 28},
      // Period 4 is a capture period with the starting CORR of 262.5.
      {ws.RA[4], 500 + 28 - 262.5},
      {ws.RY[4], 250},
      {ws.MA[4][5], 0.8 * 265.5 * 0.5},
      {ws.MY[4][5], 0.5 * 250 * 0.5},
      {ws.RRA[4], 106.2},
      {ws.MJ[5], 179.9},
      // CORR grown by 0.8 * 262.5 * 0.5 = 105.
      {ws.RA[5], 500 + 179.9 - 367.5},
      {ws.RY[5], 250},
  };
  for (std::size_t k = 0; k < std::size(entries); ++k) {
    EXPECT_NEAR(entries[k].actual, entries[k].expected, 1e-12 * 500) << "entry " << k;
  }
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(ws.RA[i], collected.RA[i]) << i;
    EXPECT_EQ(ws.RY[i], collected.RY[i]) << i;
    for (int j = i + 1; j <= 3; ++j) {
      EXPECT_EQ(ws.MA[i][j], collected.MA[i][j]) << i << "," << j;
      EXPECT_EQ(ws.MY[i][j], collected.MY[i][j]) << i << "," << j;
    }
  }
}

TEST(ExpectedArrays, CollectedDataCoveringTheDesign) {
  Design d = kExample;
  d.NPER = 3;
  WorkingSet ws = makeWorkingSet(d);
  setCollectedData(ws);
  ws.AVGP = averageCaptureProbability(ws);
  const WorkingSet collected = ws;
  ASSERT_TRUE(buildExpectedArrays(ws, 0.5f));

  EXPECT_EQ(ws.MA, collected.MA);
  EXPECT_EQ(ws.MY, collected.MY);
  EXPECT_EQ(ws.RA, collected.RA);
  EXPECT_EQ(ws.RY, collected.RY);
  EXPECT_EQ(ws.RRA[1], 42);
  EXPECT_EQ(ws.RRY[1], 7);
  EXPECT_EQ(ws.RRA[2], 8);
  EXPECT_EQ(ws.RRY[2], 3);
  EXPECT_EQ(ws.RRA[3], 0);
  EXPECT_EQ(ws.MJ[2], 35);
  EXPECT_EQ(ws.MJ[3], 25);
}
