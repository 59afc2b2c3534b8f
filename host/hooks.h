// What the exported gaugehost_* functions (platform/hooks.h) answer: the
// simulator folder, the virtual counter and the name suffix. The functions
// themselves live in hooks.cpp and are exported from the executable so that
// a module's platform layer finds them in the running program.
#pragma once

#include <string>

namespace host {
class TimeModel;
}

namespace host::hooks {

// Folder the modules see as the simulator's; a separator is appended.
void set_sim_root(const std::string& folder);
const std::string& sim_root();

// Clock behind gaugehost_perf_counter; null: the counter reads 0.
void set_clock(const TimeModel* clock);
const TimeModel* clock();

// Suffix for names of shared objects, so that runs side by side do not meet.
void set_name_suffix(const std::string& suffix);
const std::string& name_suffix();

}  // namespace host::hooks
