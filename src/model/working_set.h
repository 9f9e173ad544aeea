// The working set of a run: parameters, derived values, previously collected
// data, the arrays of the current block and the saved young-survival arrays.
// Everything has a fixed size; periods are numbered 1..36 (index 0 unused).
#pragma once

#include <array>
#include <cstdint>

inline constexpr int kMaxPeriods = 36;

using PeriodVector = std::array<double, kMaxPeriods + 1>;
using PeriodArray = std::array<PeriodVector, kMaxPeriods + 1>;

// The fifteen values of the parameter line, in its order.
struct ParameterSet {
  std::int32_t NPER = 0;
  std::int32_t NBET = 0;
  double FI = 0, PS = 0, PRPNY = 0, FY = 0, PRPPC = 0;
  float N1 = 0, N2 = 0, NINC = 0;
  double P1 = 0, P2 = 0, PINC = 0;
  std::int32_t MEAN = 0;
  std::int32_t PRT = 1;
};

inline constexpr double kNotComputed = 9.0E29;  // saved entry no block has set

inline PeriodVector notComputedVector() {
  PeriodVector v;
  v.fill(kNotComputed);
  return v;
}

struct WorkingSet {
  ParameterSet par;  // NBET raised to 1 and PS = P per block in the all-capture design

  // Run values.
  bool IGEO = false;
  std::int32_t ALLCAP = 0;
  std::int32_t NPM1 = 0, NPM2 = 0;

  // Previously collected data: the first nper1 periods of MA, MY, RA, RY.
  std::int32_t nper1 = 0;
  double AVGP = 0;

  // Page and block values.
  double N = 0, NY = 0, P = 0, PY = 0;

  // Expected recapture arrays, releases and totals.
  PeriodArray MA{}, MY{};
  PeriodVector RA{}, RY{}, RRA{}, RRY{}, MJ{};

  // Estimates.
  PeriodVector Z{}, ADFRAC{}, EXPM{}, NHAT{}, PHI{}, NSURV{};
  PeriodArray BSURV{};
  double SUMPHI = 0, SUMFY = 0, SUMN = 0;

  // Precision.
  PeriodVector sephi{}, sen{}, CVPHI{}, CVN{};
  double NFY = 0, SVPHI = 0, SVFY = 0, SVN = 0;
  double PHIBAR = 0, FYBAR = 0, NBAR = 0;
  double SEPHIM = 0, SEFYM = 0, SENM = 0;
  double CVPHIM = 0, CVFYM = 0, CVNM = 0;

  // Saved young survival: kept across blocks and pages, written only where
  // the young releases of the interval are positive.
  PeriodVector phiy = notComputedVector();
  PeriodVector sefy = notComputedVector();
  PeriodVector cvfy = notComputedVector();
};

// x^k for k >= 0 by repeated squaring from the lowest bit of k.
inline double integerPower(double x, std::int32_t k) {
  double y = (k & 1) ? x : 1.0;
  while ((k >>= 1) != 0) {
    x = x * x;
    if (k & 1) y = y * x;
  }
  return y;
}
