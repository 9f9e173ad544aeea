// One whole run of the program: parameter line, previously collected data,
// and the report of every page and block.
#pragma once

#include <istream>
#include <ostream>

// Reads `in`, writes the report to `out` and diagnostics to `err`; returns
// the exit status (0 complete or quit at the prompt, 1 model check, 2 bad
// input, 3 output could not be written).
int runBelrovin(std::istream& in, std::ostream& out, std::ostream& err);
