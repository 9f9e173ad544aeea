#include <gtest/gtest.h>

#include <cmath>

#include "block_fixture.h"

namespace {

WorkingSet estimatesOf(const Design& d, float P) {
  WorkingSet ws = makeWorkingSet(d);
  EXPECT_TRUE(buildExpectedArrays(ws, P));
  computeEstimates(ws);
  return ws;
}

}  // namespace

TEST(Estimates, TwoAgeCaptureResighting) {
  const WorkingSet ws = estimatesOf(kExample, 0.5f);

  EXPECT_EQ(ws.Z[1], 0);
  EXPECT_EQ(ws.EXPM[1], 0);
  EXPECT_NEAR(ws.Z[2], 174.885312, 1e-12 * 174.885312);
  EXPECT_NEAR(ws.ADFRAC[2], 0.76190476, 5e-9);
  const double EXPM[] = {525, 735, 819, 852.6, 866.04, 871.416, 873.5664, 874.42656};
  for (int i = 2; i <= 9; ++i) EXPECT_NEAR(ws.EXPM[i], EXPM[i - 2], 1e-12 * EXPM[i - 2]) << i;
  EXPECT_NEAR(ws.PHI[1], 0.8, 1e-12);
  EXPECT_NEAR(ws.phiy[1], 0.5, 1e-12);
  EXPECT_NEAR(ws.NHAT[2], 1000, 1e-9);
  EXPECT_EQ(ws.NHAT[1], ws.NHAT[2]);
  EXPECT_EQ(ws.NSURV[1], ws.NHAT[1]);
  EXPECT_NEAR(ws.NSURV[2], 800, 1e-9);
  EXPECT_NEAR(ws.BSURV[2][1], -38.095238, 5e-7);  // a negative cohort
  // Older cohorts survive at the adult rate.
  EXPECT_EQ(ws.BSURV[3][1], ws.BSURV[2][1] * ws.PHI[2]);
  EXPECT_EQ(ws.BSURV[9][1], ws.BSURV[8][1] * ws.PHI[8]);
  EXPECT_EQ(ws.BSURV[9][7], ws.BSURV[8][7] * ws.PHI[8]);

  EXPECT_NEAR(ws.SUMPHI, 8 * 0.8, 1e-11);
  EXPECT_NEAR(ws.SUMFY, 8 * 0.5, 1e-11);
  EXPECT_NEAR(ws.SUMN, 8 * 1000, 1e-8);
}

TEST(Estimates, GeometricMeanMultipliesTheSurvivals) {
  Design d = kExample;
  d.MEAN = 1;
  const WorkingSet ws = estimatesOf(d, 0.5f);
  double product = 1;
  for (int j = 1; j <= 8; ++j) product = product * ws.PHI[j];
  EXPECT_EQ(ws.SUMPHI, product);
}

TEST(Estimates, ExpectedDataGiveBackTheDesignValues) {
  struct Case {
    const char* name;
    Design design;
    float P;
  };
  const Case cases[] = {
      {"two-age resighting", kExample, 0.5f},
      {"capture every third period", {10, 3, 0.8, 0.5, 0.5, 0.5, 1, 1000}, 0.5f},
      {"no capture after period 1", {8, 12, 0.8, 0.5, 0.5, 0.5, 1, 1000}, 0.5f},
      {"certain resighting", {10, 1, 0.8, 1, 0.5, 0.5, 1, 1000}, 0.5f},
      {"young caught less", {10, 2, 0.7, 0.4, 0.8, 0.3, 0.5, 2500}, 0.2f},
      {"one-age all-capture", {10, 0, 0.8, 0.5, 0, 0.5, 1, 1000}, 0.3f},
      {"two-age all-capture", {12, 0, 0.9, 0.5, 0.5, 0.6, 1, 500}, 0.3f},
      {"36 periods", {36, 2, 0.95, 0.3, 0, 0.5, 1, 10000}, 0.1f},
      {"negative releases", kNegativeReleases, 0.9f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Design& d = c.design;
    const WorkingSet ws = estimatesOf(d, c.P);
    for (int j = 1; j <= d.NPER - 2; ++j) {
      EXPECT_NEAR(ws.PHI[j], d.FI, 1e-12 * d.FI) << j;
      if (ws.RY[j] > 0) {
        EXPECT_NEAR(ws.phiy[j], d.FY, 1e-12 * d.FY) << j;
      }
    }
    for (int i = 1; i <= d.NPER - 1; ++i) {
      EXPECT_NEAR(ws.NHAT[i], ws.N, 1e-12 * ws.N) << i;
    }
  }
}

TEST(Estimates, OneAgeCohortsAreTheNewAdults) {
  Design d = kExample;
  d.PRPNY = 0;
  const WorkingSet ws = estimatesOf(d, 0.5f);
  for (int j = 1; j <= 8; ++j) {
    EXPECT_NEAR(ws.ADFRAC[j + 1], 1, 1e-15) << j;
    EXPECT_NEAR(ws.BSURV[j + 1][j], 200, 1e-9) << j;
    EXPECT_EQ(ws.phiy[j], kNotComputed) << j;
  }
  EXPECT_EQ(ws.SUMFY, 0);
}

TEST(Estimates, YoungSurvivalOnlyWhereYoungWereReleased) {
  Design d = kExample;
  d.NBET = 3;
  WorkingSet ws = makeWorkingSet(d);
  ws.phiy[2] = 0.25;  // an earlier block's value
  ASSERT_TRUE(buildExpectedArrays(ws, 0.5f));
  computeEstimates(ws);
  for (int j = 1; j <= 8; ++j) {
    if (j == 1 || j == 4 || j == 7) {
      EXPECT_NEAR(ws.phiy[j], 0.5, 1e-12) << j;
    } else {
      EXPECT_EQ(ws.phiy[j], j == 2 ? 0.25 : kNotComputed) << j;
    }
  }
  EXPECT_EQ(ws.SUMFY, ws.phiy[1] + ws.phiy[4] + ws.phiy[7]);
}

TEST(Estimates, ThreePeriodsGiveOnePass) {
  Design d = kExample;
  d.NPER = 3;
  const WorkingSet ws = estimatesOf(d, 0.5f);
  EXPECT_NEAR(ws.PHI[1], 0.8, 1e-12);
  EXPECT_NEAR(ws.NHAT[2], 1000, 1e-9);
  EXPECT_EQ(ws.NHAT[1], ws.NHAT[2]);
  EXPECT_EQ(ws.SUMN, ws.NHAT[2]);
  EXPECT_EQ(ws.SUMPHI, ws.PHI[1]);
  EXPECT_EQ(ws.NSURV[2], ws.NSURV[1] * ws.PHI[1]);
  EXPECT_EQ(ws.BSURV[2][1], ws.NHAT[2] * ws.ADFRAC[2] - ws.NHAT[1] * ws.PHI[1]);
}

TEST(Estimates, TwoPeriodsOrFewerEstimateNothing) {
  for (std::int32_t NPER : {2, 1, 0, -5}) {
    Design d = kExample;
    d.NPER = NPER;
    d.MEAN = 1;
    WorkingSet ws = makeWorkingSet(d);
    ws.NHAT[1] = ws.NSURV[1] = 7;
    ASSERT_TRUE(buildExpectedArrays(ws, 0.5f));
    computeEstimates(ws);
    EXPECT_EQ(ws.SUMPHI, 1) << NPER;
    EXPECT_EQ(ws.SUMFY, 0) << NPER;
    EXPECT_EQ(ws.SUMN, 0) << NPER;
    EXPECT_EQ(ws.NHAT[1], 7) << NPER;
    EXPECT_EQ(ws.NSURV[1], 7) << NPER;
    EXPECT_EQ(ws.phiy[1], kNotComputed) << NPER;
  }
}
