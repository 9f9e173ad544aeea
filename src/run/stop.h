// The one way a run ends early: thrown where the run must end and caught by
// the run driver, which prints the message on standard error.
#pragma once

#include <string>

struct Stop {
  int status;           // the process exit status
  std::string message;  // one line for standard error, without its line feed
};

// Exit statuses of a run.
inline constexpr int kExitComplete = 0;
inline constexpr int kExitModelCheck = 1;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitOutputFailed = 3;
