// The doppler ground-speed and drift meter (DISS), run by AZS_DISS_PIT.
//
// It measures only in work mode above 180 km/h beam speed; in standby,
// unpowered or slow it reports memory (its consumers keep the last speed and
// drift), and in test it feeds 710 km/h and drift 0. The memory flag lags the
// working state by one frame and the published names lag by one more.
#pragma once

#include <cstdint>

namespace nav {

struct DissState {
  int diss_power = 0;             // AZS_DISS_PIT position
  std::int8_t diss_mode = 1;      // AZS_DISS_REZIM: 0 test, 1 standby, 2 work
  double diss_speed_raw = 0.0;    // ground speed measured this frame, km/h
  double diss_drift_raw = 0.0;    // drift angle measured, degrees
  double diss_beam_speed = 0.0;   // speed along the beams, km/h
  int diss_not_working = 0;       // 0 while the doppler measures
  int diss_memory = 0;            // diss_not_working of the previous frame
  double diss_speed = 0.0;        // what the consumers read, km/h
  double diss_drift = 0.0;        // degrees
  int diss_test = 0;              // 1 while the selector is at test

  // Storage of PP_DISS_SKOR, PP_DISS_SNOS and PP_DISS_PAM.
  double pp_diss_skor = 0.0;
  double pp_diss_snos = 0.0;
  int pp_diss_pam = 0;
};

// The module's doppler.
DissState& diss();

// Host values the doppler reads, as the host gives them.
struct DissInputs {
  double ground_speed_fps = 0.0;  // 551
  double second_speed_fps = 0.0;  // 552
  double north_fps = 0.0;         // 554, world speed north
  double east_fps = 0.0;          // 555, world speed east
  double pitch_deg = 0.0;         // 77, signed
  double bank_deg = 0.0;          // 79, any range
  double true_heading_deg = 0.0;  // 86
};

inline constexpr double kFpsToKmh = 1.09728;
inline constexpr double kDissWorkSpeed = 180.0;  // km/h, beam and ground speed
inline constexpr double kDissTestSpeed = 710.0;

// Speed along the beams: both host speeds corrected for pitch and bank, the
// pitch limited to +-1 radian, a bank beyond 1 radian (up to 5.28) taken as
// 1 radian. The bank is normalised to 0..360 first.
double diss_beam_speed(const DissInputs& in);

// Track angle 0..360 of a ground speed with components north and east (km/h)
// and magnitude w > 0.
double diss_track(double north, double east, double w);

// One service 6 of the doppler, with diss_power and diss_mode set.
void diss_step(DissState& s, const DissInputs& in);

}  // namespace nav
