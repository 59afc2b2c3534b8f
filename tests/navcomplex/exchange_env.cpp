// HydroInOut's service 2 opens the data exchanger. So that these tests
// never touch the real block, or one of a parallel run, the executable
// exports gaugehost_name_suffix as gaugehost does, with a suffix of its own
// process, and removes the objects when the tests end.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "frame/exchanger_protocol.h"
#include "platform/platform.h"

namespace {

const std::string& suffix() {
  static const std::string s =
      "_nt" + std::to_string(platform::process_id()) + "_" + std::to_string(std::random_device{}());
  return s;
}

class RemoveExchangerObjects : public ::testing::Environment {
 public:
  void TearDown() override {
    platform::remove_shared_block(frame::xchg::block_name(suffix()));
    for (int n = 0; n < frame::xchg::kGuardedSlots; ++n)
      platform::remove_guard(frame::xchg::guard_name(n, suffix()));
  }
};

[[maybe_unused]] ::testing::Environment* const g_remove_objects =
    ::testing::AddGlobalTestEnvironment(new RemoveExchangerObjects);

}  // namespace

extern "C" __attribute__((visibility("default"))) const char* gaugehost_name_suffix() {
  return suffix().c_str();
}
