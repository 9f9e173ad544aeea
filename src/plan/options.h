// The command line of belrovin-plan.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "plan/targets.h"

struct PlanOptions {
  enum class Action { Plan, Help, Version };
  Action action = Action::Plan;
  bool table = false;              // --csv
  std::optional<Targets> targets;  // --target
  std::string chartFile;           // --svg; empty: no chart
};

// Parses the options with getopt_long (from the first argument on, also when
// called again in the same process). On a bad command line writes the
// problem and the usage to `err` and returns nothing.
std::optional<PlanOptions> parseOptions(int argc, char** argv, std::ostream& err);

// The text of --help.
void writeHelp(std::ostream& out);
