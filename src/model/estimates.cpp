#include "model/block.h"

void computeEstimates(WorkingSet& ws) {
  const double N = ws.N;
  const double PS = ws.par.PS;
  const std::int32_t NPM1 = ws.NPM1;
  const std::int32_t NPM2 = ws.NPM2;
  const auto& RA = ws.RA;
  const auto& RY = ws.RY;
  const auto& RRA = ws.RRA;
  const auto& RRY = ws.RRY;
  const auto& MJ = ws.MJ;
  auto& Z = ws.Z;
  auto& ADFRAC = ws.ADFRAC;
  auto& EXPM = ws.EXPM;
  auto& NHAT = ws.NHAT;
  auto& PHI = ws.PHI;
  auto& NSURV = ws.NSURV;
  auto& BSURV = ws.BSURV;

  Z[1] = 0;
  EXPM[1] = 0;
  for (std::int32_t I = 2; I <= NPM1; ++I) {
    Z[I] = Z[I - 1] + RRA[I - 1] + RRY[I - 1] - MJ[I];
    ADFRAC[I] = (RRA[I - 1] + Z[I - 1]) / (MJ[I] + Z[I]);
    EXPM[I] = MJ[I] * ((RA[I] * Z[I] / MJ[I]) / RRA[I] + 1);
    const double T = RRA[I] * MJ[I] + RA[I] * Z[I];  // RRA(I) * EXPM(I)
    PHI[I - 1] = RRA[I - 1] * T / (RA[I - 1] * RRA[I] * (MJ[I] + Z[I]));
    if (RY[I - 1] > 0) {
      ws.phiy[I - 1] = RRY[I - 1] * T / (RY[I - 1] * RRA[I] * (MJ[I] + Z[I]));
      ws.SUMFY = ws.SUMFY + ws.phiy[I - 1];
    }
    NHAT[I] = N * EXPM[I] * PS / MJ[I];
    ws.SUMN = ws.SUMN + NHAT[I];
    if (ws.IGEO) {
      ws.SUMPHI = ws.SUMPHI * PHI[I - 1];
    } else {
      ws.SUMPHI = ws.SUMPHI + PHI[I - 1];
    }
  }
  if (NPM1 < 2) return;  // no period estimated: no cohorts either
  NHAT[1] = NHAT[2];

  // Cohorts: the first population, and the one joining between J and J+1.
  NSURV[1] = NHAT[1];
  for (std::int32_t J = 1; J <= NPM2; ++J) {
    BSURV[J + 1][J] = NHAT[J + 1] * ADFRAC[J + 1] - NHAT[J] * PHI[J];
    NSURV[J + 1] = NSURV[J] * PHI[J];
  }
  // Survivors of each older cohort K at period I.
  for (std::int32_t I = 3; I <= NPM1; ++I) {
    for (std::int32_t K = 1; K <= I - 2; ++K) BSURV[I][K] = BSURV[I - 1][K] * PHI[I - 1];
  }
}
