// The run values derived from the parameter line: the mean and design
// switches, the period bounds, and the grids of population sizes and
// capture probabilities.
#pragma once

#include <array>
#include <cstdint>

#include "model/working_set.h"

struct ParameterGrids {
  std::array<float, kMaxPeriods + 2> NGRID{};  // entries 1..36
  std::array<float, kMaxPeriods + 2> PGRID{};  // entries 1..37
  std::int32_t NN = 1;                         // pages
  std::int32_t NP = 1;                         // blocks per page: 1, or 3..37
};

ParameterGrids buildGrids(const ParameterSet& par);

// IGEO, ALLCAP (raising NBET to 1 in the all-capture design), NPM1, NPM2.
void deriveRunValues(WorkingSet& ws);

// N and NY of a page, and the average capture probability of the
// previously collected data.
void startPage(WorkingSet& ws, float NGRID);
