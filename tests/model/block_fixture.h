// Working sets of one page, set up as the driver does before its blocks.
#pragma once

#include <cstdint>

#include "model/block.h"

struct Design {
  std::int32_t NPER = 10;
  std::int32_t NBET = 1;  // 0 or less: all-capture design
  double FI = 0.8, PS = 0.5, PRPNY = 0.5, FY = 0.5, PRPPC = 1;
  float N = 1000;
  std::int32_t MEAN = 0;
};

// Two-age capture-resighting design, N = 1000, used with P = 0.5.
inline constexpr Design kExample{};

// Two-age design whose capture periods release negative adult numbers at P = 0.9.
inline constexpr Design kNegativeReleases{4, 1, 0.5, 0.2, 1, 0.9, 1, 100};

inline WorkingSet makeWorkingSet(const Design& d) {
  WorkingSet ws;
  ParameterSet& par = ws.par;
  par.NPER = d.NPER;
  par.NBET = d.NBET;
  par.FI = d.FI;
  par.PS = d.PS;
  par.PRPNY = d.PRPNY;
  par.FY = d.FY;
  par.PRPPC = d.PRPPC;
  par.MEAN = d.MEAN;
  ws.IGEO = par.MEAN == 1;
  ws.ALLCAP = 0;
  if (par.NBET <= 0) {
    par.NBET = 1;
    ws.ALLCAP = 1;
  }
  ws.NPM1 = par.NPER - 1;
  ws.NPM2 = par.NPER - 2;
  ws.N = static_cast<double>(d.N);
  ws.NY = ws.N * par.PRPNY;
  return ws;
}
