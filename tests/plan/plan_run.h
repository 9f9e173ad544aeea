// belrovin-plan and belrovin run in-process on the same input.
#pragma once

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "plan/plan.h"
#include "run/driver.h"

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// belrovin-plan with the given arguments (after the program name).
inline Outcome runPlanWith(std::initializer_list<std::string> arguments, const std::string& input) {
  std::vector<std::string> words = {"belrovin-plan"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = runPlan(static_cast<int>(words.size()), argv.data(), in, out, err);
  return {status, out.str(), err.str()};
}

inline Outcome runReport(const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = runBelrovin(in, out, err);
  return {status, out.str(), err.str()};
}
