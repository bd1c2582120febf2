// Ctrl-C while a command waits (a program run, a series of measurements):
// inside an InterruptScope SIGINT only sets a flag the command polls, so it can
// stop cleanly and say what state it left the instrument in.
#pragma once

#include <csignal>

namespace motqr::cli {

class InterruptScope {
 public:
  InterruptScope();
  ~InterruptScope();
  InterruptScope(const InterruptScope&) = delete;
  InterruptScope& operator=(const InterruptScope&) = delete;

 private:
  struct sigaction previous_ {};
};

// Whether Ctrl-C came since the innermost scope began.
bool Interrupted();

}  // namespace motqr::cli
