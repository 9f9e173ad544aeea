#include "run/grids.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/block.h"

namespace {

// The nearest single-precision value, as the IEEE conversion gives it; spelt
// out where the double lies beyond the single-precision range, which a plain
// conversion leaves undefined in the language.
float toSingle(double x) {
  constexpr double kRoundsToInfinity = 0x1.ffffffp127;  // halfway past the largest float
  constexpr float kLargest = std::numeric_limits<float>::max();
  if (x >= kRoundsToInfinity) return std::numeric_limits<float>::infinity();
  if (x <= -kRoundsToInfinity) return -std::numeric_limits<float>::infinity();
  if (std::fabs(x) > static_cast<double>(kLargest)) return x > 0 ? kLargest : -kLargest;
  return static_cast<float>(x);
}

}  // namespace

ParameterGrids buildGrids(const ParameterSet& par) {
  ParameterGrids g;
  // Population sizes: single-precision sums; NN is the last entry not above N2.
  g.NGRID[1] = par.N1;
  for (std::int32_t J = 2; J <= kMaxPeriods; ++J) {
    g.NGRID[J] = g.NGRID[J - 1] + par.NINC;
    if (par.N2 >= g.NGRID[J]) g.NN = J;
  }
  // Capture probabilities: summed in double, stored in single precision; a
  // block follows the last entry not above P2. The 37th entry, which that
  // block can reach, continues the grid by the same rule.
  g.PGRID[1] = toSingle(par.P1);
  for (std::int32_t J = 2; J <= kMaxPeriods + 1; ++J) {
    g.PGRID[J] = toSingle(static_cast<double>(g.PGRID[J - 1]) + par.PINC);
    if (J <= kMaxPeriods && par.P2 >= static_cast<double>(g.PGRID[J])) g.NP = J + 1;
  }
  return g;
}

void deriveRunValues(WorkingSet& ws) {
  ParameterSet& par = ws.par;
  ws.IGEO = par.MEAN == 1;
  ws.ALLCAP = 0;
  if (par.NBET <= 0) {
    par.NBET = 1;
    ws.ALLCAP = 1;
  }
  // Every NPER below -36 runs like -36; the floor keeps NPER - 2 in range.
  const std::int32_t NPER = std::max(par.NPER, -kMaxPeriods);
  ws.NPM1 = NPER - 1;
  ws.NPM2 = NPER - 2;
}

void startPage(WorkingSet& ws, float NGRID) {
  ws.N = static_cast<double>(NGRID);
  ws.NY = ws.N * ws.par.PRPNY;
  if (ws.nper1 >= 1) ws.AVGP = averageCaptureProbability(ws);
}
