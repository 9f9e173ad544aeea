#include <limits>

#include "model/block.h"

double averageCaptureProbability(const WorkingSet& ws) {
  const std::int32_t nper1 = ws.nper1;
  if (nper1 < 2) return std::numeric_limits<double>::quiet_NaN();  // no release period before
  double sum = 0;
  for (std::int32_t i = 1; i <= nper1 - 1; ++i) sum = sum + ws.MA[i][nper1];
  return sum / ws.RA[nper1 - 1] / ws.par.FI;
}

namespace {

// Running sums of the estimates and their precision.
void resetAccumulators(WorkingSet& ws) {
  ws.SUMPHI = 0;
  if (ws.IGEO) ws.SUMPHI = 1;
  ws.SUMFY = 0;
  ws.SUMN = 0;
  ws.NFY = 0;
  ws.SVPHI = 0;
  ws.SVFY = 0;
  ws.SVN = 0;
}

}  // namespace

bool buildExpectedArrays(WorkingSet& ws, float pgrid) {
  ParameterSet& par = ws.par;
  const std::int32_t NPER = par.NPER;
  const std::int32_t NBET = par.NBET;
  const std::int32_t nper1 = ws.nper1;
  const double FI = par.FI;
  const double FY = par.FY;
  const double N = ws.N;
  const double NY = ws.NY;

  ws.P = static_cast<double>(pgrid);
  ws.PY = par.PRPPC * ws.P;
  const double P = ws.P;
  const double PY = ws.PY;
  resetAccumulators(ws);
  if (ws.ALLCAP > 0) par.PS = P;
  const double PS = par.PS;

  auto& MA = ws.MA;
  auto& MY = ws.MY;
  auto& RA = ws.RA;
  auto& RY = ws.RY;
  auto& RRA = ws.RRA;
  auto& RRY = ws.RRY;
  auto& MJ = ws.MJ;

  for (std::int32_t i = 1; i <= NPER; ++i) {
    RRA[i] = 0;
    RRY[i] = 0;
    MJ[i] = 0;
  }
  if (nper1 == 0) {
    RA[1] = P * N;
    RY[1] = NY * PY;
  }
  // Period-1 captures seen again at the first later capture period.
  double CORR = P * N * P * integerPower(FI, NBET) + NY * PY * P * FY * integerPower(FI, NBET - 1);
  double CINC = CORR;

  for (std::int32_t I = 1; I <= ws.NPM1; ++I) {
    if (I >= nper1) {
      MA[I][I + 1] = FI * RA[I] * PS;
      MY[I][I + 1] = FY * RY[I] * PS;
    }
    for (std::int32_t J = I + 1; J <= NPER; ++J) {
      RRA[I] = RRA[I] + MA[I][J];
      RRY[I] = RRY[I] + MY[I][J];
      MJ[J] = MJ[J] + MA[I][J] + MY[I][J];
      if (J >= NPER || J < nper1) continue;  // no column J+1, or it is collected data
      MY[I][J + 1] = FI * MY[I][J] * (1 - PS);
      if (J == nper1) {
        MA[I][J + 1] = MA[I][J] / ws.AVGP * FI * (1 - PS) * PS;
      } else {
        MA[I][J + 1] = FI * MA[I][J] * (1 - PS);
      }
    }
    if (I + 1 <= nper1) continue;  // releases of period I+1 are collected data
    // Everything seen in period I+1 is released again as adults.
    RA[I + 1] = MJ[I + 1];
    RY[I + 1] = 0;
    if (ws.ALLCAP > 0) {
      RA[I + 1] = P * N;
      RY[I + 1] = NY * PY;
      if (MJ[I + 1] > RA[I + 1]) return false;  // col>rel
    } else if ((I + 1) % NBET == 1 || NBET == 1) {
      RA[I + 1] = P * N + MJ[I + 1] - CORR;
      RY[I + 1] = NY * PY;
      CINC = integerPower(FI, NBET) * CINC * (1 - P);
      CORR = CORR + CINC;
    }
  }
  return true;
}
