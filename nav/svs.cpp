#include "nav/svs.h"

#include <algorithm>
#include <cmath>

namespace nav {

namespace {

constinit SvsState g_svs{};

constexpr double kMachUnit = 4.8828125e-05;  // 1/20480
constexpr double kZeroCelsius = 273.15;
constexpr double kTasFactor = 72.0;  // km/h per (Mach x sqrt(kelvin))
// Mach numbers beyond this are taken as this: far past any aircraft, and
// keeps the speed finite.
constexpr double kMaxMach = 10.0;

}  // namespace

SvsState& svs() { return g_svs; }

void svs_start_test(SvsState& s) { s.svs_test_frames = kSvsTestFrames; }

void svs_step(SvsState& s, const SvsInputs& in) {
  const bool powered = s.svs_power == 1;
  // 1. The consumers' speed: computed, or the test's.
  if (powered) s.tas = s.svs_test == 1 ? kSvsTestSpeed : s.tas_raw;
  // 2. Flags for the consumers.
  s.svs_test_out = s.svs_test;
  s.svs_valid = s.svs_power;
  // 3. Mach; a value the host does not give leaves the last one.
  if (std::isfinite(in.mach_raw)) s.mach = std::clamp(in.mach_raw * kMachUnit, 0.0, kMaxMach);
  // 4. True airspeed; no temperature above absolute zero is no data.
  const double kelvin = in.oat_c + kZeroCelsius;
  if (std::isfinite(kelvin) && kelvin > 0.0) s.tas_raw = std::sqrt(kelvin) * s.mach * kTasFactor;
  // 5. Test frames.
  if (s.svs_test_frames > 0) {
    --s.svs_test_frames;
    s.svs_test = 1;
  } else {
    s.svs_test = 0;
  }
}

}  // namespace nav
