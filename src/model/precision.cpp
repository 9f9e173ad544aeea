#include <cmath>

#include "model/block.h"

void computePrecision(WorkingSet& ws) {
  const double N = ws.N;
  const double PS = ws.par.PS;
  const std::int32_t NPM1 = ws.NPM1;
  const std::int32_t NPM2 = ws.NPM2;
  const auto& RA = ws.RA;
  const auto& RY = ws.RY;
  const auto& RRA = ws.RRA;
  const auto& RRY = ws.RRY;
  const auto& MJ = ws.MJ;
  const auto& Z = ws.Z;
  const auto& ADFRAC = ws.ADFRAC;
  const auto& EXPM = ws.EXPM;
  const auto& NHAT = ws.NHAT;
  const auto& PHI = ws.PHI;
  const auto& NSURV = ws.NSURV;
  const auto& BSURV = ws.BSURV;
  auto& phiy = ws.phiy;

  // Survival of each interval J and population size at J+1.
  for (std::int32_t J = 1; J <= NPM2; ++J) {
    const double DA = EXPM[J] - MJ[J];
    const double DB = EXPM[J + 1] - MJ[J + 1];
    const double QA = 1 / RRA[J] - 1 / RA[J];
    const double QB = 1 / RRA[J + 1] - 1 / RA[J + 1];
    const double TB = ((DB * (RA[J + 1] + DB)) / EXPM[J + 1]) / EXPM[J + 1] * QB;

    const double VREL = (1 - ADFRAC[J + 1]) / (Z[J] + RRA[J]) +
                        (DA / (RA[J] + DA) * QA + TB + (1 - PHI[J] / ADFRAC[J + 1]) / EXPM[J + 1]);
    ws.SVPHI = ws.SVPHI + VREL;
    const double V = PHI[J] * VREL * PHI[J];
    ws.sephi[J] = std::sqrt(V);

    if (RY[J] > 0) {
      ws.NFY = ws.NFY + 1;
      const double VYREL =
          ADFRAC[J + 1] / RRY[J] + ((1 - phiy[J] / (1 - ADFRAC[J + 1])) / EXPM[J + 1] + TB);
      const double VY = phiy[J] * VYREL * phiy[J];
      ws.sefy[J] = std::sqrt(VY);
      ws.SVFY = ws.SVFY + VY;
      ws.cvfy[J] = ws.sefy[J] / phiy[J];
    }
    ws.CVPHI[J] = ws.sephi[J] / PHI[J];

    if (J < NPM2) {
      const double COVREL = -(QB * DB / EXPM[J + 1]);  // PHI(J) with PHI(J+1)
      ws.SVPHI = COVREL + COVREL + ws.SVPHI;
    }

    double SQS = NSURV[J + 1] * NSURV[J + 1] / NSURV[1] + BSURV[J + 1][J];
    for (std::int32_t K = 1; K <= J - 1; ++K) {
      if (BSURV[K + 1][K] != 0) SQS = BSURV[J + 1][K] * BSURV[J + 1][K] / BSURV[K + 1][K] + SQS;
    }
    const double VN =
        ((1 - MJ[J + 1] / (PS * N)) / MJ[J + 1] + (RA[J + 1] + DB) / EXPM[J + 1] * QB) *
            (NHAT[J + 1] * (NHAT[J + 1] - PS * N)) +
        NHAT[J + 1] - SQS;
    ws.sen[J + 1] = VN;  // kept as the variance unless positive
    if (VN > 0) ws.sen[J + 1] = std::sqrt(VN);
    ws.SVN = ws.SVN + VN;
    ws.CVN[J + 1] = ws.sen[J + 1] / NHAT[J + 1];
  }

  // Covariances of the population sizes at J and K. Each COVN(K) takes its
  // terms in increasing L, as a loop over K outside would; running the K
  // inside lets the sums for different K proceed side by side.
  PeriodVector COVN;
  for (std::int32_t J = 2; J <= NPM2; ++J) {
    for (std::int32_t K = J + 1; K <= NPM1; ++K) COVN[K] = (1 - NSURV[J] / NSURV[1]) * NSURV[K];
    for (std::int32_t L = 1; L <= J - 2; ++L) {
      if (!(BSURV[L + 1][L] > 0)) continue;
      const double died = 1 - BSURV[J][L] / BSURV[L + 1][L];
      for (std::int32_t K = J + 1; K <= NPM1; ++K) COVN[K] = died * BSURV[K][L] + COVN[K];
    }
    for (std::int32_t K = J + 1; K <= NPM1; ++K) ws.SVN = COVN[K] + COVN[K] + ws.SVN;
  }

  // Means; the geometric mean is the product itself.
  const double R = static_cast<double>(NPM2);
  ws.NBAR = ws.SUMN / R;
  ws.PHIBAR = ws.IGEO ? ws.SUMPHI : ws.SUMPHI / R;
  ws.SEPHIM = std::sqrt(ws.SVPHI) * ws.PHIBAR;
  if (!ws.IGEO) ws.SEPHIM = ws.SEPHIM / R;
  ws.SENM = std::sqrt(ws.SVN) / R;
  ws.CVPHIM = ws.SEPHIM / ws.PHIBAR;
  ws.CVNM = ws.SENM / ws.NBAR;
  if (ws.par.PRPNY > 0) {
    ws.FYBAR = ws.SUMFY / ws.NFY;
    ws.SEFYM = std::sqrt(ws.SVFY) / ws.NFY;
    ws.CVFYM = ws.SEFYM / ws.FYBAR;
  }
}
