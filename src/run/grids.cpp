#include "run/grids.h"

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
  g.PGRID[1] = static_cast<float>(par.P1);
  for (std::int32_t J = 2; J <= kMaxPeriods + 1; ++J) {
    g.PGRID[J] = static_cast<float>(static_cast<double>(g.PGRID[J - 1]) + par.PINC);
    if (J <= kMaxPeriods && par.P2 >= static_cast<double>(g.PGRID[J])) g.NP = J + 1;
  }
  return g;
}
