// belrovin-plan: the design of a belrovin run answered as a tidy table, as
// the capture probability that meets target CVs, or as a chart.
#pragma once

#include <istream>
#include <ostream>

// Reads the design from `in`, writes the table to `out` and diagnostics to
// `err`; returns the exit status (0 done, 1 model check, 2 bad command line
// or input, 3 output could not be written).
int runPlan(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err);
