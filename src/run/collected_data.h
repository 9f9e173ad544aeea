// Previously collected data: recapture arrays and releases of the first
// nper1 periods of a study, read after the parameter line.
#pragma once

#include "model/working_set.h"
#include "report/record_writer.h"
#include "run/value_reader.h"

// Reads nper1, the adult rows and releases (echoing each), the young rows and
// the young releases into `ws`. End of input before the young releases ends
// the reading quietly with what was read; at the young releases, and for a
// bad value or an nper1 outside 0..36, it throws Stop.
void readCollectedData(RecordWriter& writer, CharSource& input, WorkingSet& ws);
