// belrovin: reads a design from standard input and prints the expected
// coefficients of variation of its estimates.
#include <iostream>

#include "run/driver.h"

int main() {
  std::ios::sync_with_stdio(false);
  return runBelrovin(std::cin, std::cout, std::cerr);
}
