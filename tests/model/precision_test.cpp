#include <gtest/gtest.h>

#include <cmath>

#include "block_fixture.h"

namespace {

WorkingSet blockOf(const Design& d, float P) {
  WorkingSet ws = makeWorkingSet(d);
  EXPECT_TRUE(runBlock(ws, P));
  return ws;
}

// `actual` shown with the decimals of `printed` (half a unit of its last digit).
void expectPrinted(double actual, double printed, double halfUnit) {
  EXPECT_LT(std::fabs(actual - printed), halfUnit) << actual << " printed as " << printed;
}

}  // namespace

TEST(Precision, TwoAgeCaptureResighting) {
  const WorkingSet ws = blockOf(kExample, 0.5f);
  const double CVPHI[] = {0.036700, 0.036357, 0.036338, 0.036497,
                          0.036972, 0.038212, 0.041531, 0.051856};
  const double cvfy[] = {0.077127, 0.076982, 0.077015, 0.077196,
                         0.077686, 0.078953, 0.082317, 0.092445};
  const double CVN[] = {0.045061, 0.039223, 0.038341, 0.038460,
                        0.038958, 0.039981, 0.042484, 0.050769};
  for (int j = 1; j <= 8; ++j) {
    SCOPED_TRACE(j);
    expectPrinted(ws.CVPHI[j], CVPHI[j - 1], 5e-7);
    expectPrinted(ws.cvfy[j], cvfy[j - 1], 5e-7);
    expectPrinted(ws.CVN[j + 1], CVN[j - 1], 5e-7);
  }
  expectPrinted(ws.CVPHIM, 0.0085297, 5e-8);
  expectPrinted(ws.CVFYM, 0.0283274, 5e-8);
  expectPrinted(ws.CVNM, 0.0180958, 5e-8);
  EXPECT_EQ(ws.NFY, 8);
}

TEST(Precision, GeometricMeanChangesOnlyTheMeanSurvival) {
  Design d = kExample;
  d.MEAN = 1;
  const WorkingSet geometric = blockOf(d, 0.5f);
  const WorkingSet arithmetic = blockOf(kExample, 0.5f);
  EXPECT_EQ(geometric.CVPHI, arithmetic.CVPHI);
  EXPECT_EQ(geometric.cvfy, arithmetic.cvfy);
  EXPECT_EQ(geometric.CVN, arithmetic.CVN);
  EXPECT_EQ(geometric.CVNM, arithmetic.CVNM);
  EXPECT_EQ(geometric.CVFYM, arithmetic.CVFYM);
  expectPrinted(geometric.CVPHIM, 0.0682378, 5e-8);
  EXPECT_NEAR(geometric.CVPHIM, 8 * arithmetic.CVPHIM, 1e-12 * geometric.CVPHIM);
}

TEST(Precision, NegativeReleasesGiveNaNsAndANonPositiveVariance) {
  const WorkingSet ws = blockOf(kNegativeReleases, 0.9f);
  expectPrinted(ws.CVN[2], 1.4912, 5e-5);
  // The variance of NHAT(3) is negative and stands in sen(3). The grid value
  // 0.9f gives -215.13877; P = 0.9 exactly would give -215.13859.
  EXPECT_LT(ws.sen[3], 0);
  EXPECT_EQ(ws.CVN[3], ws.sen[3] / ws.NHAT[3]);
  expectPrinted(ws.CVN[3], -215.1388, 5e-5);
  expectPrinted(ws.cvfy[1], 1.4947, 5e-5);
  EXPECT_TRUE(std::isnan(ws.sefy[2]));
  EXPECT_TRUE(std::isnan(ws.cvfy[2]));
  expectPrinted(ws.CVPHI[1], 1.5052, 5e-5);
  expectPrinted(ws.CVPHI[2], 1.1139, 5e-5);
  EXPECT_LT(ws.SVPHI, 0);
  EXPECT_TRUE(std::isnan(ws.CVPHIM));
  expectPrinted(ws.CVNM, 0.1369, 5e-5);
  expectPrinted(ws.CVFYM, 0.1542, 5e-5);
}

TEST(Precision, ThreePeriodsMeanIsTheOnlyInterval) {
  for (std::int32_t MEAN : {0, 1}) {
    Design d = kExample;
    d.NPER = 3;
    d.MEAN = MEAN;
    const WorkingSet ws = blockOf(d, 0.5f);
    SCOPED_TRACE(MEAN);
    EXPECT_GT(ws.sen[2], 0);
    EXPECT_NEAR(ws.CVPHIM, ws.CVPHI[1], 1e-12 * ws.CVPHI[1]);
    EXPECT_NEAR(ws.CVNM, ws.CVN[2], 1e-12 * ws.CVN[2]);
    EXPECT_NEAR(ws.CVFYM, ws.cvfy[1], 1e-12 * ws.cvfy[1]);
  }
}

TEST(Precision, TwoPeriodsHaveNoInterval) {
  Design d = kExample;
  d.NPER = 2;
  const WorkingSet arithmetic = blockOf(d, 0.5f);
  d.MEAN = 1;
  const WorkingSet geometric = blockOf(d, 0.5f);
  for (const WorkingSet* ws : {&arithmetic, &geometric}) {
    EXPECT_TRUE(std::isnan(ws->NBAR));
    EXPECT_TRUE(std::isnan(ws->SENM));
    EXPECT_TRUE(std::isnan(ws->CVNM));
    EXPECT_TRUE(std::isnan(ws->CVFYM));  // no young interval: 0 / 0
    EXPECT_EQ(ws->cvfy[1], kNotComputed);
  }
  EXPECT_TRUE(std::isnan(arithmetic.CVPHIM));
  EXPECT_EQ(geometric.PHIBAR, 1);
  EXPECT_EQ(geometric.CVPHIM, 0);
}

TEST(Precision, UncatchableYoungLeaveTheAdultValuesOfTheOneAgeModel) {
  Design d = kExample;
  d.PRPPC = 0;
  const WorkingSet noYoungCaught = blockOf(d, 0.5f);
  d = kExample;
  d.PRPNY = 0;
  WorkingSet oneAge = makeWorkingSet(d);
  oneAge.CVFYM = 7;
  ASSERT_TRUE(runBlock(oneAge, 0.5f));

  EXPECT_EQ(noYoungCaught.NFY, 0);
  EXPECT_TRUE(std::isnan(noYoungCaught.CVFYM));
  EXPECT_EQ(oneAge.CVFYM, 7);  // no young mean in the one-age model
  EXPECT_EQ(noYoungCaught.cvfy, notComputedVector());
  EXPECT_EQ(noYoungCaught.sefy, notComputedVector());
  EXPECT_EQ(noYoungCaught.CVPHI, oneAge.CVPHI);
  EXPECT_EQ(noYoungCaught.CVN, oneAge.CVN);
  EXPECT_EQ(noYoungCaught.CVPHIM, oneAge.CVPHIM);
  EXPECT_EQ(noYoungCaught.CVNM, oneAge.CVNM);
}

TEST(Precision, YoungPrecisionOnlyWhereYoungWereReleased) {
  Design d = kExample;
  d.NBET = 3;
  WorkingSet ws = makeWorkingSet(d);
  ws.sefy[5] = ws.cvfy[5] = 0.25;  // an earlier block's values
  ASSERT_TRUE(runBlock(ws, 0.5f));
  for (int j = 1; j <= 8; ++j) {
    SCOPED_TRACE(j);
    if (j == 1 || j == 4 || j == 7) {
      EXPECT_GT(ws.cvfy[j], 0);
      EXPECT_LT(ws.cvfy[j], 1);
      EXPECT_EQ(ws.cvfy[j], ws.sefy[j] / ws.phiy[j]);
    } else {
      const double kept = j == 5 ? 0.25 : kNotComputed;
      EXPECT_EQ(ws.sefy[j], kept);
      EXPECT_EQ(ws.cvfy[j], kept);
    }
  }
  EXPECT_EQ(ws.NFY, 3);
  EXPECT_EQ(ws.sefy[9], kNotComputed);
}
