// belrovin-plan: reads a design from standard input and writes its CVs as a
// table, the capture probability that meets target CVs, or a chart.
#include <iostream>

#include "plan/plan.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return runPlan(argc, argv, std::cin, std::cout, std::cerr);
}
