// The air-data computer (SVS), run by SVS_Control: Mach number and true
// airspeed from the host's Mach and outside air temperature, with a 16-frame
// test that feeds 900 km/h.
#pragma once

#include <cstdint>

namespace nav {

struct SvsState {
  int svs_power = 0;               // AZS_SVS_PIT position
  std::uint8_t svs_test_frames = 0;  // frames left of the test
  int svs_test = 0;                // 1 while the test runs
  double mach = 0.0;               // Mach number
  double tas_raw = 0.0;            // computed true airspeed, km/h
  double tas = 0.0;                // what the consumers read, km/h

  // Published each frame for the consumers: the valid flag (= svs_power) and
  // the test flag as the previous frame left it.
  int svs_valid = 0;
  int svs_test_out = 0;
};

// The module's air-data computer.
SvsState& svs();

// Host values the air-data computer reads.
struct SvsInputs {
  double mach_raw = 0.0;  // 64, Mach in units of 1/20480
  double oat_c = 15.0;    // 341, outside air temperature, degrees Celsius
};

inline constexpr std::uint8_t kSvsTestFrames = 16;
inline constexpr double kSvsTestSpeed = 900.0;

// The click on SVS_Control's area: starts the test.
void svs_start_test(SvsState& s);

// One service 6 of the air-data computer, with svs_power set.
void svs_step(SvsState& s, const SvsInputs& in);

}  // namespace nav
