// One block of the run: the expected recapture arrays of the design for the
// block's capture probability, the estimates they give, and their precision.
#pragma once

#include "model/working_set.h"

// Average capture probability of the previously collected data (nper1 >= 1);
// a NaN when nper1 is 1, where no earlier release period exists.
double averageCaptureProbability(const WorkingSet& ws);

// Block start and expected arrays for the grid value `pgrid`: sets P, PY,
// resets the accumulators, sets PS = P in the all-capture design, and fills
// MA, MY, RA, RY, RRA, RRY and MJ. Returns false when the marked animals seen
// in a period exceed the animals released in it (all-capture design); the
// arrays are then incomplete.
bool buildExpectedArrays(WorkingSet& ws, float pgrid);

// Z, ADFRAC, EXPM, PHI, phiy, NHAT, the running sums, NSURV and BSURV.
void computeEstimates(WorkingSet& ws);

// Standard errors and CVs of every estimate and of the means.
void computePrecision(WorkingSet& ws);

// The whole computation of a block; false as for buildExpectedArrays.
inline bool runBlock(WorkingSet& ws, float pgrid) {
  if (!buildExpectedArrays(ws, pgrid)) return false;
  computeEstimates(ws);
  computePrecision(ws);
  return true;
}
