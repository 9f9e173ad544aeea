#include "run/grids.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

ParameterSet gridParameters(float N1, float N2, float NINC, double P1, double P2, double PINC) {
  ParameterSet par;
  par.N1 = N1;
  par.N2 = N2;
  par.NINC = NINC;
  par.P1 = P1;
  par.P2 = P2;
  par.PINC = PINC;
  return par;
}

std::vector<float> pages(const ParameterGrids& g) {
  return {g.NGRID.begin() + 1, g.NGRID.begin() + 1 + g.NN};
}

std::vector<float> blocks(const ParameterGrids& g) {
  return {g.PGRID.begin() + 1, g.PGRID.begin() + 1 + g.NP};
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

}  // namespace

TEST(Grids, PopulationSizes) {
  struct Case {
    float N1, N2, NINC;
    std::vector<float> N;
  };
  const Case cases[] = {
      {100, 500, 100, {100, 200, 300, 400, 500}},
      {100, 520, 150, {100, 250, 400}},
      {500, 100, 100, {500}},
      {100, kNaN, 100, {100}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pages(buildGrids(gridParameters(c.N1, c.N2, c.NINC, 0.1, 0.1, 0.1))), c.N)
        << c.N1 << " " << c.N2 << " " << c.NINC;
  }
}

TEST(Grids, PopulationSizesWithoutProgressRunAllThirtySixPages) {
  const ParameterGrids still = buildGrids(gridParameters(100, 500, 0, 0.1, 0.1, 0.1));
  EXPECT_EQ(pages(still), std::vector<float>(36, 100));

  const ParameterGrids falling = buildGrids(gridParameters(100, 500, -100, 0.1, 0.1, 0.1));
  ASSERT_EQ(falling.NN, 36);
  EXPECT_EQ(falling.NGRID[2], 0);
  EXPECT_EQ(falling.NGRID[36], -3400);
}

TEST(Grids, CaptureProbabilities) {
  struct Case {
    double P1, P2, PINC;
    std::vector<float> P;
  };
  const Case cases[] = {
      {0.1, 0.5, 0.1, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f}},
      {0.1, 0.4, 0.1, {0.1f, 0.2f, 0.3f, 0.4f}},
      {0.1, 0.2, 0.1, {0.1f}},
      {0.1, 0.3, 0.1, {0.1f, 0.2f, 0.3f}},
      {0.2, 0.8, 0.2, {0.2f, 0.4f, 0.6f, 0.8f}},
      {0.3, 0.3, 0.1, {0.3f}},
      {0.1, std::numeric_limits<double>::quiet_NaN(), 0.1, {0.1f}},
  };
  for (const Case& c : cases) {
    const std::vector<float> got = blocks(buildGrids(gridParameters(1, 1, 1, c.P1, c.P2, c.PINC)));
    ASSERT_EQ(got.size(), c.P.size()) << c.P1 << " " << c.P2 << " " << c.PINC;
    // Each entry is the single-precision sum of its predecessor and PINC;
    // compared with what a three-decimal report shows.
    for (std::size_t k = 0; k < got.size(); ++k) EXPECT_NEAR(got[k], c.P[k], 1e-6);
  }
}

TEST(Grids, SinglePrecisionSteps) {
  const ParameterGrids g = buildGrids(gridParameters(0.1f, 0.1f, 0, 0.1, 0.5, 0.1));
  EXPECT_EQ(g.PGRID[1], 0.1f);
  for (int J = 2; J <= 6; ++J) {
    EXPECT_EQ(g.PGRID[J], static_cast<float>(static_cast<double>(g.PGRID[J - 1]) + 0.1));
  }
  EXPECT_EQ(g.PGRID[5], 0.5f);  // exactly 0.5: passes the test, so a sixth block follows
}

TEST(Grids, ThirtySeventhBlockContinuesTheGrid) {
  const ParameterGrids still = buildGrids(gridParameters(1, 1, 1, 0.5, 0.5, 0));
  EXPECT_EQ(blocks(still), std::vector<float>(37, 0.5f));

  const ParameterGrids rising = buildGrids(gridParameters(1, 1, 1, 0.01, 1, 0.01));
  ASSERT_EQ(rising.NP, 37);
  EXPECT_EQ(rising.PGRID[37], static_cast<float>(static_cast<double>(rising.PGRID[36]) + 0.01));
}

TEST(Grids, CaptureProbabilitiesBeyondTheSinglePrecisionRange) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  constexpr float kMax = std::numeric_limits<float>::max();
  const struct {
    double P1;
    float PGRID1;
  } cases[] = {{1e39, kInf}, {-1e39, -kInf}, {3.4028235e38, kMax}, {0x1.fffffefp127, kMax}};
  for (const auto& c : cases) {
    EXPECT_EQ(buildGrids(gridParameters(1, 1, 1, c.P1, 0, 0)).PGRID[1], c.PGRID1) << c.P1;
  }
}
