#include "host/interrupt.h"

#include <algorithm>
#include <csignal>
#include <thread>

namespace host {
namespace {

volatile std::sig_atomic_t g_raised = 0;

void on_request(int) { g_raised = 1; }

}  // namespace

InterruptScope::InterruptScope() {
  g_raised = 0;
  previous_int_ = std::signal(SIGINT, on_request);
  previous_term_ = std::signal(SIGTERM, on_request);
}

InterruptScope::~InterruptScope() {
  if (previous_int_ != SIG_ERR) std::signal(SIGINT, previous_int_);
  if (previous_term_ != SIG_ERR) std::signal(SIGTERM, previous_term_);
}

bool InterruptScope::raised() { return g_raised != 0; }

bool sleep_until(std::chrono::steady_clock::time_point deadline) {
  // A signal does not cut std::this_thread::sleep_until short, so sleep in
  // slices and look at the flag between them.
  constexpr auto kSlice = std::chrono::milliseconds(20);
  for (;;) {
    if (InterruptScope::raised()) return false;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return true;
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(deadline - now, kSlice));
  }
}

}  // namespace host
