// The simulator folder a test executable reports through its exported
// gaugehost_sim_root, as gaugehost does (sim_root_hook.cpp defines it; an
// executable that links it defines no other).
#pragma once

#include <string>

namespace platform::testing {

// What gaugehost_sim_root reports; empty reports null (no folder).
std::string& sim_root_dir();

}  // namespace platform::testing
