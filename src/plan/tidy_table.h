// The tidy table: one row for each value that a result row of the report
// prints, with the block's smallest number of marked animals seen.
#pragma once

#include "model/working_set.h"
#include "report/output_buffer.h"

// N,P,estimate,period,value,min_MJ
void appendTidyHeader(OutputBuffer& out);

// The rows of the block just run for the grid values N and P: adult_survival
// (mean, intervals 1..NPM2), young_survival (two-age model only: mean,
// intervals 1..NPM2), population_size (mean, periods 2..NPM1) and
// expected_marked (periods 2..NPM1). A value that is not finite, or the CV of
// an interval without young releases in this block, is NA; min_MJ is the
// smallest MJ(j) of j = 2..NPER, NA when there is none or one is a NaN.
void appendTidyRows(OutputBuffer& out, const WorkingSet& ws, float N, float P);
