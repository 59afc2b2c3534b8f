// The name suffix of the exchange tests: the executable exports
// gaugehost_name_suffix as gaugehost does, returning a suffix unique to the
// process, so that parallel test runs never share a block or a guard.
#pragma once

#include <string>

#include "frame/exchanger_protocol.h"
#include "platform/platform.h"

namespace frame::testing {

// What gaugehost_name_suffix reports; tests may change it.
std::string& name_suffix_setting();

// Deletes the block and the guards under the current suffix.
inline void remove_exchanger_objects() {
  const std::string& s = name_suffix_setting();
  platform::remove_shared_block(xchg::block_name(s));
  for (int n = 0; n < xchg::kGuardedSlots; ++n) platform::remove_guard(xchg::guard_name(n, s));
}

}  // namespace frame::testing
