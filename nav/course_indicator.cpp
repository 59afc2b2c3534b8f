#include "nav/course_indicator.h"

#include <cmath>

#include "frame/numeric.h"

namespace nav {

namespace {

double finite_or(double v, double keep) { return std::isfinite(v) ? v : keep; }

// Drums of a three-drum counter showing `value` with two decimals on its
// lowest drum: z = trunc(value x 100) through the checked conversion; the
// lowest drum holds the units and their hundredths (0..999), the others a
// whole digit x 100. A negative or huge value rolls round as on an odometer.
std::array<int, 3> counter_drums(double value) {
  const auto z = static_cast<double>(frame::saturate_cast<std::int64_t>(value * 100.0));
  const frame::DrumValues d = frame::drum_split(z, 5);  // hundredths .. hundreds
  return {frame::to_int(d.v[2] + d.v[1] / 10.0 + d.v[0] / 100.0), frame::to_int(d.v[3]),
          frame::to_int(d.v[4])};
}

// Step 7: the mode's source is good.
bool source_good(std::int8_t mode, const PnpInputs& in) {
  const radio::NavReceiver& r1 = in.rx[0];
  const radio::NavReceiver& r2 = in.rx[1];
  switch (mode) {
    case kModeIls:
      return r1.active == 1 && r1.ils_tuned == 1;
    case kModeVor1:
      return r1.active == 1 && r1.ils_tuned == 0;
    case kModeVor2:
      return r2.active == 1 && r2.ils_tuned == 0;
    case kModeNvu:
      return in.nvu.counting == 1;
    default:
      return false;
  }
}

// Step 8.
void deviation_bars(CourseIndicator& c, bool right, const PnpInputs& in) {
  c.lateral_bar = 0.0;
  c.glide_bar = 0.0;
  if (c.powered != 1) return;
  const radio::NavReceiver& r1 = in.rx[0];
  const radio::NavReceiver& r2 = in.rx[1];
  switch (c.mode) {
    case kModeIls:
      if (!right || r1.breaker_on == 1) c.glide_bar = r1.gs_needle;
      if (r1.ils_tuned == 1 && r1.breaker_on == 1) c.lateral_bar = r1.cdi * kCdiToBar;
      break;
    case kModeVor1:
      if (r1.ils_tuned == 0 && r1.breaker_on == 1) c.lateral_bar = r1.cdi * kCdiToBar;
      break;
    case kModeVor2:
      if (r2.ils_tuned == 0 && r2.breaker_on == 1) c.lateral_bar = r2.cdi * kCdiToBar;
      break;
    case kModeNvu:
      c.lateral_bar = in.gps.selected != 0 ? in.gps.lateral_deviation * kGpsToBar
                                           : in.nvu.active_z * kNvuZToBar;
      break;
    default:
      break;
  }
  c.lateral_bar = finite_or(c.lateral_bar, 0.0);
  c.glide_bar = finite_or(c.glide_bar, 0.0);
}

// Step 9: the pointer's target for the next frame.
void pointer_target(CourseIndicator& c, bool right, const PnpInputs& in) {
  double target = c.pointer_target;
  if (c.mode == kModeNvu && in.nvu.powered == 1) {
    // The right indicator follows the computer also while unpowered.
    if (right || c.powered == 1)
      target = in.gps.selected != 0
                   ? frame::wrap360(in.host_magnetic_heading - in.gps.track_difference)
                   : in.nvu.zpu_minus_heading + c.card_target;
  } else if (c.mode == kModeRsbn) {
    // unchanged
  } else if (c.powered == 1) {
    // With the autopilot flying this indicator's track the pointer shows zpu_set.
    target = c.card_target - in.selected_track_error;
  }
  c.pointer_target = finite_or(target, c.pointer_target);
}

bool triangle(const CourseIndicator& c, const PnpInputs& in, int to_from) {
  if (c.powered != 1) return false;
  const radio::NavReceiver& r1 = in.rx[0];
  const radio::NavReceiver& r2 = in.rx[1];
  return (c.mode == kModeVor1 && r1.to_from == to_from && r1.ils_tuned == 0) ||
         (c.mode == kModeVor2 && r2.to_from == to_from && r2.ils_tuned == 0);
}

}  // namespace

double selected_track_error(const AutopilotCourseValues& ap, const CourseIndicator& left,
                            const CourseIndicator& right) {
  if (ap.course_source == 0) return left.zpu_error;
  if (ap.course_source == 2) return right.zpu_error;
  return 0.0;
}

std::int8_t right_mode(int mode_selector) {
  switch (mode_selector) {
    case 1:
      return kModeNvu;
    case 2:
      return kModeVor1;
    case 3:
      return kModeVor2;
    case 4:
      return kModeIls;
    default:
      return kModeNone;
  }
}

double slew(double value, double target, int powered) {
  if (!std::isfinite(target)) return value;
  if (!std::isfinite(value)) return target;
  const double d = frame::wrap180(target - value);
  if (std::fabs(d) <= kSnapWithin) return target;
  return value + (powered == 1 ? 1.0 : 0.0) * (d > 0.0 ? 1.0 : -1.0) * kSlewStep;
}

void course_indicator_step(CourseIndicator& c, bool right, const PnpInputs& in) {
  // 1. Power and the heading that drives the card.
  c.powered = in.gyro_switch * in.second_bus * in.main_bus == 1 ? 1 : 0;
  if (c.powered == 1)
    c.card_target =
        finite_or(in.gyro_source == 1 ? in.gyro_heading : in.magnetic_heading, c.card_target);

  // 2. Drift, while the doppler measures.
  if (in.diss_memory == 0) c.drift_pointer = finite_or(in.diss_drift, c.drift_pointer);

  // 3. Counters.
  c.zpu_drum = counter_drums(c.zpu_set);
  c.distance_drum = counter_drums(in.distance_set);

  // 4, 5. Card and pointer slewing.
  c.card = slew(c.card, c.card_target, c.powered);
  c.pointer = slew(c.pointer, c.pointer_target, c.powered);

  // 6. Mode: the right's from its buttons; the left forced to ILS by the
  // autopilot's approach arming.
  if (right)
    c.mode = right_mode(c.mode_selector);
  else if (in.ap.approach_armed == 1)
    c.mode = kModeIls;

  // 7. Flags.
  c.course_flag = source_good(c.mode, in) && c.powered == 1 ? 0 : 1;
  c.glide_flag = c.mode == kModeIls && in.rx[0].gs_valid == 1 && c.powered == 1 ? 0 : 1;
  c.heading_flag = in.gyro_failed != 0 ? 1 : 0;

  // 8, 9, 10.
  deviation_bars(c, right, in);
  pointer_target(c, right, in);
  c.show_to = triangle(c, in, 1) ? 1 : 0;
  c.show_from = triangle(c, in, 2) ? 1 : 0;

  // 11. The autopilot's errors.
  c.zk_error = frame::wrap180(c.card - c.zk_set);
  c.zpu_error = frame::wrap180(c.card_target - c.zpu_set);

  // 12. The indicator not selected for the heading select follows the
  // selected one's set heading, relative to its own card.
  if (in.zk_sel == (right ? 0 : 1))
    c.zk_set = frame::wrap360(c.card_target - in.other_zk_error);

  // The set-heading marker; it keeps its place while unpowered.
  const bool selected = in.zk_sel == (right ? 1 : 0);
  if (c.powered == 1) c.zk_marker = selected ? c.zk_set - c.card : -in.other_zk_error;
}

PnpReadings pnp_readings(const CourseIndicator& c) {
  PnpReadings r;
  const double rel = c.pointer - c.card;
  r.deviation_scale = frame::wrap360(rel);
  r.to_triangle = frame::wrap360(rel - 90.0);
  r.from_triangle = frame::wrap360(rel + 90.0);
  r.lateral_x = frame::limit(c.lateral_bar, -kLateralBarLimit, kLateralBarLimit);
  r.lateral_rot = frame::wrap360(rel);
  r.glide_y = frame::limit(c.glide_bar, -kGlideBarLimit, kGlideBarLimit);
  r.zk_marker = frame::wrap360(c.zk_marker);
  r.zk_marker_90 = frame::wrap360(c.zk_marker - 90.0);
  r.zpu_pointer = frame::wrap360(rel - 90.0);
  const double d = finite_or(c.drift_pointer, 0.0);
  r.drift = d > 20.0 ? -70.0 : d < -20.0 ? -110.0 : d - 90.0;
  return r;
}

int distance_knob(int distance_set, int dir, std::uint32_t flags) {
  const bool large = (flags & frame::kMouseRight) != 0;
  const int d = distance_set;
  if (dir > 0) return large ? (d < 989 ? d + 10 : d) : (d < 999 ? d + 1 : d);
  return large ? (d > 9 ? d - 10 : d) : (d > 0 ? d - 1 : d);
}

double drum_number(const std::array<int, 3>& drums) {
  return drums[0] / 100.0 + drums[1] / 10.0 + drums[2];
}

bool zpu_red_flag(bool right, const AutopilotCourseValues& ap, int sau_stu) {
  const int other = right ? 0 : 2;
  const bool hidden = ap.lat_mode != 4 && ap.course_source != other && sau_stu == 1;
  return !hidden;
}

void ush3_step(Ush3State& s, const Ush3Inputs& in) {
  s.ga1_heading = finite_or(in.ga1_heading, s.ga1_heading);
  s.ga2_heading = finite_or(in.ga2_heading, s.ga2_heading);
  s.mk1_heading = finite_or(in.mk1_heading, s.mk1_heading);
  s.mk2_heading = finite_or(in.mk2_heading, s.mk2_heading);
  s.tks_mode = in.tks_mode;
  s.main_bus = in.main_bus;
  if (in.diss_memory == 0) s.drift = finite_or(in.diss_drift, s.drift);
  const bool same_unit = in.consumers_main == in.correction_main;
  s.mode_picture = in.tks_mode == -1 && same_unit ? 0 : in.tks_mode == 1 && same_unit ? 2 : 1;
}

Ush3Needles ush3_needles(const Ush3State& s) {
  return {frame::wrap360(s.ga1_heading - 90.0), frame::wrap360(s.ga1_heading + s.drift - 90.0),
          frame::wrap360(s.ga2_heading - 90.0)};
}

}  // namespace nav
