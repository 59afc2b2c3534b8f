#include "nav/tks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "frame/gauge.h"
#include "frame/numeric.h"

namespace nav {

namespace {

constinit TksState g_tks{};
constinit TksPanel g_panel{};
constinit TksPublished g_published{};
constinit NavSensorValues g_sensor{};

// The gyro formulas use 57.3 degrees per radian, as the instrument's
// equations do; the compass sensor and the convergence use the exact factor.
constexpr double kGyroDegPerRad = 57.3;
constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;
constexpr double kDeg = 180.0 / kPi;

constexpr double kBankStabLimit = 40.0;  // degrees fed to a unit's stabilisation
constexpr double kFoldLimit = 89.8;      // keeps tan() of the folded heading finite
constexpr double kLatitudeDrift = 0.025; // degrees per 6 s per unit of sine difference
constexpr double kConvergenceStep = 0.05;// longitude change that applies convergence
constexpr double kSlewRate = 0.005;      // degrees per frame
constexpr double kCompassGain = 0.1;
constexpr double kAccelGain = 0.05;
constexpr double kAccelLimit = 10.0;     // m/s2
constexpr double kTiltLimit = 20.0;      // degrees
constexpr double kSpeedFactor = 0.911;   // variable 551 to the speed the pendulum feels
constexpr double kInvG = 0.1019367991845056;  // 1 / 9.81

double keep_finite(double v, double previous) { return std::isfinite(v) ? v : previous; }

// A switch position as a 0/1 factor: any nonzero position is on.
int on(int position) { return position != 0 ? 1 : 0; }

// A unit is powered when the product of its flags is 1.
int powered(int a, int b, int c) {
  return static_cast<std::int64_t>(a) * b * c == 1 ? 1 : 0;
}

// Sign kept through a zero error.
void update_sign(int& sign, double error) {
  if (error > 0.0)
    sign = 1;
  else if (error < 0.0)
    sign = -1;
}

// Non-negative remainder of a count.
int remainder_of(std::int32_t t, int n) { return ((t % n) + n) % n; }

// A longitude difference within +-180. wrap180 goes through 0..360 and
// rounds a small negative difference (-0.05 becomes -0.0500000000000114), so
// a difference already in range is taken as it is.
double longitude_difference(double lon, double ref) {
  const double d = lon - ref;
  return (d >= -180.0 && d < 180.0) ? d : frame::wrap180(d);
}

}  // namespace

TksState& tks() { return g_tks; }
TksPanel& tks_panel() { return g_panel; }
TksPublished& tks_published() { return g_published; }
NavSensorValues& nav_sensor() { return g_sensor; }

void take_host_values(TksHostValues& h, const TksRawHost& raw) {
  const double lat = raw.latitude * kLatitudeUnit;
  if (std::isfinite(lat)) h.latitude = std::clamp(lat, -90.0, 90.0);
  h.longitude = keep_finite(raw.longitude * kLongitudeUnit, h.longitude);
  if (std::isfinite(raw.bank)) h.bank = frame::wrap180(raw.bank);
  h.magnetic_heading = keep_finite(raw.magnetic_heading, h.magnetic_heading);
  h.magnetic_variation = keep_finite(raw.magnetic_variation, h.magnetic_variation);
  h.true_heading = keep_finite(raw.true_heading, h.true_heading);
  if (std::isfinite(raw.sim_rate)) h.sim_rate = std::clamp(raw.sim_rate, 0.0, kMaxSimRate);
  h.clock_seconds = keep_finite(raw.clock_seconds, h.clock_seconds);
  h.tick = keep_finite(raw.tick, h.tick);
  h.ground_speed = keep_finite(raw.ground_speed, h.ground_speed);
  h.sim_time = keep_finite(raw.sim_time, h.sim_time);
}

void tks_seed(TksState& s, double tick, double longitude) {
  if (std::isfinite(longitude)) s.ga1_lon_ref = s.ga2_lon_ref = longitude;
  const std::int32_t t = frame::to_int(tick);
  s.ga1_platform = remainder_of(t, 359);
  s.ga2_platform = remainder_of(t, 319);
  s.mk1_correction = remainder_of(t, 131);
  s.mk2_correction = remainder_of(t, 84);
  s.ga1_random_drift = (remainder_of(t, 9) - 4) / 10000.0;
  s.ga2_random_drift = (remainder_of(t, 17) - 8) / 10000.0;
}

void tks_publish(TksPublished& out, TksState& s, const TksPanel& p, const TksForeign& f) {
  s.main_heading = on(p.consumers_main) ? s.ga1_heading : s.ga2_heading;
  out.ga1_heading = s.ga1_heading;
  out.ga2_heading = s.ga2_heading;
  out.mk1_heading = s.mk1_heading;
  out.mk2_heading = s.mk2_heading;
  out.main_heading = s.main_heading;
  out.ga1_failed = s.ga1_failed;
  out.ga2_failed = s.ga2_failed;
  out.tks_mode = p.tks_mode;
  out.nvu_zpu = f.nvu_zpu;
  out.nvu_snos = f.nvu_z;
  out.sound_gear = f.gear_lever - 1;
  out.sound_ne_gotov = f.ap_not_ready;
  out.sound_sm_ort = f.nvu_leg_warning;
  out.vpr_out = f.rv1_decision_height;
}

void select_sensor(NavSensorValues& v, int nav_i21_gps, int i21_n1) {
  if (nav_i21_gps == 2)
    v.selected = v.gps_n1;
  else if (i21_n1 == 1)
    v.selected = v.i21_n1;
  else if (i21_n1 == 0)
    v.selected = v.i21_n2;
  // Any other selector value leaves the last selection.
}

double reduce_above_360(double deg) { return deg > 360.0 ? frame::wrap360_upper(deg) : deg; }

double gimbal_error(double platform, double bank_difference) {
  const double p = frame::wrap360(platform);
  double a = p > 180.0 ? p - 360.0 : p;
  a = std::fabs(a);
  if (a > 90.0) a = 180.0 - a;
  a = std::min(a, kFoldLimit);
  const double g = std::isfinite(bank_difference) ? bank_difference : 0.0;
  double e = a - std::atan(std::cos(g / kGyroDegPerRad) * std::tan(a / kGyroDegPerRad)) *
                     kGyroDegPerRad;
  if (p < 90.0 || (p > 180.0 && p < 270.0)) e = -e;
  return e;
}

bool drift_due(TksState& s, double clock_seconds) {
  const std::int64_t sec = frame::to_int(clock_seconds);
  if ((sec + s.drift_phase) % 6 != 0) return false;
  if (s.drift_latch != 1) {
    s.drift_latch = 1;
    s.drift_phase = 0;
    return false;
  }
  s.drift_latch = 0;
  s.drift_phase = 3;
  return true;
}

double compass_sensor(double magnetic_heading, double bank, double tilt, double latitude,
                      double* dip) {
  const double lat = std::isfinite(latitude) ? std::clamp(latitude, -90.0, 90.0) : 0.0;
  const double i_deg = 90.0 * std::pow(std::sin(std::fabs(lat) * kRad), 1.2);
  if (dip) *dip = i_deg;
  const double i = i_deg * kRad;
  const double hm = magnetic_heading * kRad;
  // The earth's field in the aircraft's level frame: X forward, Y right, Z down.
  const double x = std::cos(i) * std::cos(hm);
  const double y = std::cos(i) * std::sin(hm);
  const double z = std::sin(i);
  // Tilt about the longitudinal axis by the bank. z >= 0, so atan2(y, z) is
  // asin(y / r) wherever r > 0, and 0 where the field lies along X (r = 0).
  const double r = std::hypot(y, z);
  const double alpha = std::atan2(y, z);
  const double beta = bank * kRad;
  double y1 = 0.0, z1 = 0.0;
  if (lat >= 0.0) {
    y1 = r * std::sin(alpha + beta);
    z1 = r * std::cos(alpha + beta);
  } else {
    y1 = r * std::sin(alpha - beta);
    z1 = -r * std::cos(alpha - beta);
  }
  // Tilt about the lateral axis by the pendulum; only X'' enters the heading.
  const double tau = tilt * kRad;
  const double x2 = std::cos(tau) * x + std::sin(tau) * z1;
  // atan(Y'/X'') plus 180 for X'' < 0, plus 360 when negative, without 0/0.
  return frame::wrap360(std::atan2(y1, x2) * kDeg);
}

void tks_step(TksState& s, const TksPanel& p, const TksInputs& in) {
  const TksHostValues& h = in.host;
  const int mode = p.tks_mode == -1 ? -1 : (p.tks_mode == 1 ? 1 : 0);

  // 4. Latitude the gyro drift corrects for.
  s.latitude_used = keep_finite(on(p.lat_manual) ? p.lat_knob : s.auto_latitude, 0.0);
  s.magnetic_variation = h.magnetic_variation;

  // 5. Declination-corrected compass headings.
  const double compass1 = s.compass_filtered + s.declination_1;
  const double compass2 = s.compass_filtered + s.declination_2;

  // 6. Power.
  s.ga1_powered = powered(on(p.ga1_switch), s.bus36, s.bus27);
  s.ga2_powered = powered(on(p.ga2_switch), s.bus36, s.bus27);

  // 7. Platforms follow the aircraft while powered and hold still in space
  // while unpowered.
  if (s.ga1_powered)
    s.ga1_platform = frame::wrap360(s.ga1_offset + h.true_heading);
  else
    s.ga1_offset = reduce_above_360(s.ga1_platform - h.true_heading);
  if (s.ga2_powered)
    s.ga2_platform = frame::wrap360(s.ga2_offset + h.true_heading);
  else
    s.ga2_offset = reduce_above_360(s.ga2_platform - h.true_heading);

  // 8. Gimbal error of each unit.
  const double vertical_bank = keep_finite(in.banks.vertical_gyro, 0.0);
  auto indicated = [vertical_bank](double platform, int stab, double director, int& limit) {
    double b = 0.0;
    limit = 0;
    if (on(stab)) {
      b = keep_finite(director, 0.0);
      if (b > kBankStabLimit || b < -kBankStabLimit) {
        b = std::clamp(b, -kBankStabLimit, kBankStabLimit);
        limit = 1;
      }
    }
    return platform + gimbal_error(platform, vertical_bank - b);
  };
  s.ga1_heading =
      indicated(s.ga1_platform, p.stab1_switch, in.banks.left_director, s.ga1_bank_limit);
  s.ga2_heading =
      indicated(s.ga2_platform, p.stab2_switch, in.banks.right_director, s.ga2_bank_limit);

  // 9, 10. Drift once every 6 s: latitude error, random rate, meridian
  // convergence.
  const bool apply = drift_due(s, h.clock_seconds);
  const double latitude_term =
      (std::sin(s.latitude_used / kGyroDegPerRad) - std::sin(h.latitude / kGyroDegPerRad)) *
      kLatitudeDrift;
  auto drifted = [&](double offset, double random_drift, double& lon_ref, int unit_powered) {
    double n = offset;
    if (apply && unit_powered) {
      n = latitude_term + offset + random_drift;
      const double d = longitude_difference(h.longitude, lon_ref);
      if (std::fabs(d) > kConvergenceStep) {
        n -= std::sin(h.latitude * kRad) * d;
        lon_ref = h.longitude;
      }
    }
    return frame::wrap360(n);
  };
  const double ga1_new = drifted(s.ga1_offset, s.ga1_random_drift, s.ga1_lon_ref, s.ga1_powered);
  s.ga2_offset = drifted(s.ga2_offset, s.ga2_random_drift, s.ga2_lon_ref, s.ga2_powered);

  // 11. Error of the slewed gyro against the compass (-1) or the astro heading (+1).
  const double slewed_heading = on(p.correction_main) ? s.ga1_heading : s.ga2_heading;
  if (mode == -1)
    s.corr_error = compass1 - slewed_heading;
  else if (mode == 1)
    s.corr_error = s.astro_heading - slewed_heading;
  s.corr_error = frame::wrap180(s.corr_error);
  update_sign(s.corr_sign, s.corr_error);

  // 12. Slewing rate; the button slows it near the target (0.3 below 3
  // degrees, 0.1 more below 1).
  double rate = 0.0;
  if (mode != 0) {
    rate = kSlewRate;
    if (p.align_rate > 1) {
      const double m = s.corr_sign * s.corr_error;
      if (m < 3.0) rate *= 0.3;
      if (m < 1.0) rate *= 0.1;
    }
  }

  // 13. Slewing.
  const double slew = s.vk90 * p.align_rate * s.corr_sign * rate * h.sim_rate;
  s.ga1_offset = ga1_new + on(p.correction_main) * s.ga1_powered * slew;
  s.ga2_offset += (1 - on(p.correction_main)) * s.ga2_powered * slew;

  // 14. Magnetic channels and their errors against the compass.
  s.mk1_heading = frame::wrap360(s.ga1_heading + s.mk1_correction);
  s.mk2_heading = frame::wrap360(s.ga2_heading + s.mk2_correction);
  const double d1 = frame::wrap180(compass1 - s.mk1_heading);
  const double d2 = frame::wrap180(compass2 - s.mk2_heading);
  update_sign(s.mk1_sign, d1);
  update_sign(s.mk2_sign, d2);
  double r1 = kSlewRate, r2 = kSlewRate;
  if (p.align_rate > 1 && s.mk1_sign * d1 < 3.0) r1 *= 0.3;
  if (p.align_rate > 1 && s.mk2_sign * d2 < 3.0) r2 *= 0.3;

  // 15. Magnetic correction, only in mode 0; the button (align_rate 120)
  // speeds it up 120 times.
  if (mode == 0) {
    const double k = s.vk90 * p.align_rate * h.sim_rate;
    if (on(p.bgmk1_switch)) s.mk1_correction += k * r1 * s.mk1_sign;
    if (on(p.bgmk2_switch)) s.mk2_correction += k * r2 * s.mk2_sign;
  }

  // 16. Compass sensor, tilted by the bank and by last frame's pendulum tilt.
  double dip = 0.0;
  const double raw = compass_sensor(h.magnetic_heading, h.bank,
                                    std::clamp(s.accel_tilt, -kTiltLimit, kTiltLimit),
                                    h.latitude, &dip);
  if (std::isfinite(raw)) s.compass_raw = raw;
  if (std::isfinite(dip)) s.magnetic_dip = dip;

  // 17. Compass smoothing, on each new tick while channel 1 is switched on.
  const bool tick_changed = h.tick != s.last_tick;
  s.last_tick = h.tick;
  if (tick_changed && powered(on(p.ga1_switch), in.second_bus, in.main_bus)) {
    const double next = s.compass_filtered + kCompassGain * frame::wrap180(s.compass_raw -
                                                                           s.compass_filtered);
    if (std::isfinite(next)) s.compass_filtered = next;
  }

  // 18. Longitudinal acceleration and the pendulum tilt, on each new
  // simulated time. The first sample only sets the reference.
  const double v = h.ground_speed * kSpeedFactor;
  if (!s.accel_primed) {
    s.accel_speed_prev = v;
    s.accel_time_prev = h.sim_time;
    s.accel_primed = 1;
  } else if (h.sim_time != s.accel_time_prev) {
    const double dt = h.sim_time - s.accel_time_prev;
    if (dt > 0.0) {
      const double a = (v - s.accel_speed_prev) / 3.6 / dt;
      if (std::isfinite(a))
        s.accel = std::clamp(s.accel + kAccelGain * (a - s.accel), -kAccelLimit, kAccelLimit);
    }
    s.accel_speed_prev = v;
    s.accel_time_prev = h.sim_time;
  }
  s.accel_tilt = std::atan(s.accel * kInvG) * kDeg;

  // 19. Failure flags.
  s.ga1_failed = s.ga1_powered ? 0 : 1;
  s.ga2_failed = s.ga2_powered ? 0 : 1;
}

// TKS_Pult -------------------------------------------------------------------

void align_press(TksPanel& p) {
  p.align_rate = kAlignRate;
  p.align_frames = kAlignFrames;
}

void tks_pult_frame(TksPanel& p) {
  if (p.align_frames > 0) --p.align_frames;
  if (p.align_frames == 0) p.align_rate = 1;
  if (p.course_knob_frames > 0 && --p.course_knob_frames == 0) p.course_knob_dir = 0;
}

void course_knob_click(TksPanel& p, TksState& s, int dir, std::uint32_t flags) {
  const int d = dir < 0 ? -1 : 1;
  if (p.tks_mode == 0) {
    const double step = (flags & frame::kMouseRight) ? 1.5 : 0.1;
    double& offset = on(p.correction_main) ? s.ga1_offset : s.ga2_offset;
    offset += d * step;
  }
  p.course_knob_dir = static_cast<std::int8_t>(d);
  p.course_knob_frames = kCourseKnobFrames;
}

// KM5 ------------------------------------------------------------------------

void km5_power_click(int& power, int& display) {
  power = power != 0 ? 0 : 1;
  if (power == 0) display = 0;
}

void km5_display_click(int& display, int unit_powered) {
  if (unit_powered == 1) display = display != 0 ? 0 : 1;
}

}  // namespace nav
