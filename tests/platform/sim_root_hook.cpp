#include "tests/platform/sim_root_hook.h"

namespace platform::testing {

std::string& sim_root_dir() {
  static std::string s;
  return s;
}

}  // namespace platform::testing

extern "C" __attribute__((visibility("default"))) const char* gaugehost_sim_root() {
  const std::string& s = platform::testing::sim_root_dir();
  return s.empty() ? nullptr : s.c_str();
}
