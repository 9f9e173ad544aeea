// The banner, the help text, the prompt and the parameter line.
#pragma once

#include "model/working_set.h"
#include "report/record_writer.h"
#include "run/value_reader.h"

// Shows the help text and the prompt, then reads the parameter line.
bool enterParameters(RecordWriter& writer, StreamSource& input, ParameterSet& par);

// Reads one line from `input`. Returns false when the line does not begin
// with a digit (the user leaves); else fills `par` from the first 128
// characters of the line. Throws Stop for a line that cannot be read, and for
// NPER above the 36 periods the program holds.
bool readParameterLine(StreamSource& input, ParameterSet& par);
