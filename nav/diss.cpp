#include "nav/diss.h"

#include <algorithm>
#include <cmath>

#include "frame/numeric.h"

namespace nav {

namespace {

constinit DissState g_diss{};

constexpr double kDegToRad = 0.01745329237161969;
constexpr double kRadToDeg = 57.29578;
constexpr double kPitchLimit = 1.0;       // radians
constexpr double kBankLimit = 1.0;        // radians
constexpr double kBankLimitEnd = 5.28;    // radians: from here the bank is small again
// Host speeds beyond this (ft/s, far past any aircraft) are taken as this, so
// that squares and sums stay finite.
constexpr double kMaxFps = 1.0e5;

double speed_fps(double v) {
  if (!std::isfinite(v)) return 0.0;
  return std::clamp(v, -kMaxFps, kMaxFps);
}

double asin_deg(double ratio) { return std::asin(std::clamp(ratio, -1.0, 1.0)) * kRadToDeg; }

}  // namespace

DissState& diss() { return g_diss; }

double diss_beam_speed(const DissInputs& in) {
  double p = (std::isfinite(in.pitch_deg) ? in.pitch_deg : 0.0) * kDegToRad;
  p = std::clamp(p, -kPitchLimit, kPitchLimit);
  // The bank limit below assumes 0..360; a signed bank near -90 would
  // otherwise divide by a cosine near zero.
  double q = frame::wrap360(in.bank_deg) * kDegToRad;
  if (q > kBankLimit && q < kBankLimitEnd) q = kBankLimit;
  const double a = speed_fps(in.ground_speed_fps) * kFpsToKmh / std::cos(p);
  const double b = speed_fps(in.second_speed_fps) * kFpsToKmh / std::cos(q);
  return std::sqrt(a * a + b * b);
}

double diss_track(double n, double e, double w) {
  if (!(w > 0.0)) return 0.0;
  if (n >= 0.0 && e >= 0.0) return asin_deg(e / w);
  if (n < 0.0 && e >= 0.0) return 90.0 - asin_deg(n / w);
  if (n < 0.0) return 180.0 - asin_deg(e / w);
  return asin_deg(n / w) + 270.0;
}

void diss_step(DissState& s, const DissInputs& in) {
  const bool powered = s.diss_power == 1;
  // 1. The published names carry last frame's measurement.
  s.pp_diss_skor = s.diss_speed_raw;
  s.pp_diss_snos = s.diss_drift_raw;
  s.pp_diss_pam = s.diss_memory;
  // 2. Consumers follow the measurement while the doppler works.
  if (s.diss_not_working == 0 && s.diss_mode == 2) {
    s.diss_speed = s.diss_speed_raw;
    s.diss_drift = s.diss_drift_raw;
  }
  // 3. Test.
  if (powered && s.diss_mode == 0) {
    s.diss_speed = kDissTestSpeed;
    s.diss_drift = 0.0;
  }
  s.diss_test = s.diss_mode == 0 ? 1 : 0;
  // 4. Memory lags the working state, which last frame's beam speed decides.
  s.diss_memory = s.diss_not_working;
  const bool works =
      powered && (s.diss_mode == 0 || (s.diss_mode == 2 && s.diss_beam_speed > kDissWorkSpeed));
  s.diss_not_working = works ? 0 : 1;
  // 5. Beam speed.
  s.diss_beam_speed = diss_beam_speed(in);
  // 6. Ground speed.
  const double n = speed_fps(in.north_fps) * kFpsToKmh;
  const double e = speed_fps(in.east_fps) * kFpsToKmh;
  s.diss_speed_raw = std::sqrt(n * n + e * e);
  // 7. Drift, only above the working speed; a heading the host does not give
  // leaves it as it was.
  if (s.diss_speed_raw > kDissWorkSpeed && std::isfinite(in.true_heading_deg)) {
    const double track = diss_track(n, e, s.diss_speed_raw);
    s.diss_drift_raw = frame::wrap180(track - in.true_heading_deg);
  }
}

}  // namespace nav
