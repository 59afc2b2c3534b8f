// Optional functions that a host executable may export for the modules it
// loads. A module looks them up once by name in the running executable; where
// they are absent (the real simulator) the operating system's behaviour
// applies. `gaugehost` exports all of them.
//
//   gaugehost_sim_root        folder of the simulator (the modules' files lie
//                             below it); absent: the executable's folder
//   gaugehost_perf_counter    high-resolution counter; absent: the OS counter
//   gaugehost_perf_frequency  its ticks per second
//   gaugehost_name_suffix     appended to names of shared objects (data
//                             exchanger) so that test runs do not meet;
//                             absent: no suffix
//   gaugehost_describe        receives the label and the meaning of each
//                             element and mouse-area record, for tools
#pragma once

#include <cstdint>

extern "C" {
using gaugehost_sim_root_fn = const char* (*)();
using gaugehost_perf_counter_fn = std::int64_t (*)();
using gaugehost_perf_frequency_fn = std::int64_t (*)();
using gaugehost_name_suffix_fn = const char* (*)();
using gaugehost_describe_fn = void (*)(const void* record, const char* label, const char* meaning);
}

#define GAUGEHOST_SIM_ROOT "gaugehost_sim_root"
#define GAUGEHOST_PERF_COUNTER "gaugehost_perf_counter"
#define GAUGEHOST_PERF_FREQUENCY "gaugehost_perf_frequency"
#define GAUGEHOST_NAME_SUFFIX "gaugehost_name_suffix"
#define GAUGEHOST_DESCRIBE "gaugehost_describe"
