// Ctrl+C and termination requests as a flag, for commands that run for a
// while and hold something they must let go of before they end: a slot
// guard (`xchg hold`), the named objects of a run (`realtime on`). While an
// InterruptScope lives, SIGINT and SIGTERM set the flag instead of ending
// the process; the previous handlers return when the scope ends.
#pragma once

#include <chrono>

namespace host {

class InterruptScope {
 public:
  InterruptScope();  // clears the flag
  ~InterruptScope();
  InterruptScope(const InterruptScope&) = delete;
  InterruptScope& operator=(const InterruptScope&) = delete;

  // True once a request came in since the scope began.
  static bool raised();

 private:
  using Handler = void (*)(int);
  Handler previous_int_;
  Handler previous_term_;
};

// Sleeps until `deadline` in steps short enough to notice a request; false
// as soon as InterruptScope::raised(), true at the deadline.
bool sleep_until(std::chrono::steady_clock::time_point deadline);

}  // namespace host
