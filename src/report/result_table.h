// The block's part of the result table.
#pragma once

#include "model/working_set.h"
#include "report/record_writer.h"

// The combined recapture arrays of the block, when PRT > 0.
void printCombinedArrays(RecordWriter& writer, const WorkingSet& ws);

// The CV(PHI), CV(PHI') (two-age model only), CV(N) and EXP(M) rows.
void printResultRows(RecordWriter& writer, const WorkingSet& ws);
