// Output that must reach the user before the program reads on.
#pragma once

#include "report/record_writer.h"
#include "run/stop.h"

// Hands every record written so far to standard output; a stream that can no
// longer be written ends the run.
inline void flushOrStop(RecordWriter& writer) {
  if (!writer.flush()) throw Stop{kExitOutputFailed, "belrovin: cannot write standard output"};
}
