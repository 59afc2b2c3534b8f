#include "autopilot/radio_altimeter.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "frame/numeric.h"

namespace autopilot {

namespace {

constinit RadioAltimeters g_radio_altimeters{};

constexpr double kDegToRad = 0.01745329237161969;
constexpr std::int8_t kZeroFrames = 5;
constexpr int kWarmupDrainPerFrame = 4;
constexpr int kWarmupRefillPerFrame = 1;
constexpr double kFailureHeight = 830.0;     // out of range at and above
constexpr double kFailureCeiling = 3000.0;   // flag hidden above this pressure altitude
constexpr double kNoRadioAltitude = 3000.0;  // what the autopilot sees while invalid
constexpr int kBeeperCycles = 19;

// Bank as the rules expect it: 0..360 whatever range the host uses.
double bank_0_360(double bank_deg) { return frame::wrap360(bank_deg); }

bool inverted(double bank_deg) {
  const double b = bank_0_360(bank_deg);
  return b > 89.0 && b < 271.0;
}

double finite_or(double v, double fallback) { return std::isfinite(v) ? v : fallback; }

}  // namespace

RadioAltimeters& radio_altimeters() { return g_radio_altimeters; }

double decision_height_down(double dh) {
  if (dh > 0.0 && dh < 101.0) dh -= 2.5;
  if (dh > 100.0) dh -= 10.0;
  return dh;
}

double decision_height_up(double dh) {
  if (dh > 99.0 && dh < 750.0) dh += 10.0;
  if (dh < 100.0) dh += 2.5;
  return dh;
}

double pressure_altitude(double p, double previous) {
  if (!std::isfinite(p) || p <= 0.0) return previous;
  const double h = 44300.0 * (1.0 - std::pow(p * 6.168574812475326e-05, 0.190476));
  return std::isfinite(h) ? h : previous;
}

void beeper_step(RadioAltimeterBeeper& b, int below, double tick) {
  if (below == 0) {
    b.on = 1;
    b.cycles_left = kBeeperCycles;
    b.tone = 0;
    b.second_next = 0;  // the next descent starts with a first-kind step
    return;
  }
  const std::int64_t t = frame::saturate_cast<std::int64_t>(tick) % 4;
  const std::int64_t slot = (t + b.phase % 4 + 8) % 4;
  if (slot != 0) return;
  if (b.second_next == 0) {
    b.phase = 0;
  } else {
    b.phase = 2;
    if (b.cycles_left > 0) {
      --b.cycles_left;
      b.tone = b.on;
    } else {
      b.on = 0;
      b.tone = 0;
    }
  }
  b.second_next = b.second_next == 0 ? 1 : 0;
}

void radio_altimeter_measure(RadioAltimeter& s, const RadioAltimeterUnit& unit,
                             const RadioAltimeterInputs& in) {
  if (s.power != 1) {
    s.measured_height = 0.0;
    return;
  }
  if (inverted(in.bank_deg)) {
    s.measured_height = kRadioAltimeterMax;
    return;
  }
  const double raw = in.raw_height;
  if (!std::isfinite(raw)) return;
  s.zero_reference = raw < 10.0 ? unit.low_zero_reference : raw;
  const double bank = bank_0_360(in.bank_deg) * kDegToRad;
  const double pitch = finite_or(in.pitch_deg, 0.0) * kDegToRad;
  const double h = raw / std::max(std::cos(bank), 0.01) / std::max(std::cos(pitch), 0.01) -
                   s.zero_offset + s.warmup_offset;
  // An infinite quotient clamps to an end; NaN cannot arise from finite terms,
  // but a damaged zero offset could make one: keep the last reading then.
  if (std::isnan(h)) return;
  s.measured_height = std::clamp(h, 0.0, kRadioAltimeterMax);
}

void radio_altimeter_step(RadioAltimeter& s, const RadioAltimeterUnit& unit,
                          const RadioAltimeterInputs& in) {
  const bool powered = s.power == 1;
  // 1. Below the decision height, by last frame's measurement.
  s.below_dh = (powered && s.decision_height > s.measured_height) ? 1 : 0;
  // 2. Beeper.
  beeper_step(s.beeper, s.below_dh, in.tick);
  // 3. Automatic zero on the ground.
  if (powered) {
    if (frame::to_int(in.on_ground) != 0 && s.zero_countdown > 0) {
      s.zero_offset = s.zero_reference;
      --s.zero_countdown;
    }
  } else {
    s.zero_countdown = kZeroFrames;
  }
  // 4. Warm-up.
  if (powered)
    s.warmup_offset = std::max(0, s.warmup_offset - kWarmupDrainPerFrame);
  else
    s.warmup_offset = std::min(kWarmupFull, s.warmup_offset + kWarmupRefillPerFrame);
  // 5. Pressure altitude.
  s.pressure_altitude = pressure_altitude(in.static_pressure, s.pressure_altitude);
  // 6. Failure and valid flags.
  const bool out_of_range = !powered || s.measured_height >= kFailureHeight;
  s.failure = (out_of_range && s.pressure_altitude <= kFailureCeiling) ? 1 : 0;
  s.valid = 1 - s.failure;
  // 7. Autopilot outputs.
  if (unit.feeds_autopilot) {
    s.ap_valid = s.valid;
    s.ap_radio_altitude = s.valid != 0 ? s.measured_height : kNoRadioAltitude;
    s.ap_below_dh = s.valid * s.below_dh;
  }
  s.lamp_lit = (in.main_bus == 1 && s.below_dh == 1) ? 1 : 0;
}

void radio_altimeter_frame(RadioAltimeter& s, const RadioAltimeterUnit& unit,
                           const RadioAltimeterInputs& in) {
  radio_altimeter_step(s, unit, in);
  radio_altimeter_measure(s, unit, in);
}

void radio_altimeter_connect(RadioAltimeter& s) { s.warmup_offset = kWarmupFull; }

namespace {

// The dial as drawn: value in metres and needle angle in degrees clockwise
// from twelve o'clock. 0..100 m open out over the left half, 100..850 m
// close up over the right half.
struct ScaleMark {
  double value;
  double angle;
};
constexpr std::array<ScaleMark, 18> kScaleMarks{{
    {0.0, -150.0},
    {10.0, -135.0},
    {20.0, -120.0},
    {30.0, -105.0},
    {40.0, -90.0},
    {50.0, -75.0},
    {60.0, -60.0},
    {70.0, -45.0},
    {80.0, -30.0},
    {90.0, -15.0},
    {100.0, 0.0},
    {150.0, 28.0},
    {200.0, 48.0},
    {300.0, 77.0},
    {400.0, 97.0},
    {500.0, 113.0},
    {600.0, 126.0},
    {850.0, 150.0},
}};

}  // namespace

std::vector<frame::NonlinearityPoint> radio_altimeter_scale(frame::i32 cx, frame::i32 cy,
                                                            frame::i32 r) {
  std::vector<frame::NonlinearityPoint> points;
  points.reserve(kScaleMarks.size());
  for (const ScaleMark& m : kScaleMarks) {
    const double a = m.angle * kDegToRad;
    const frame::i32 x = cx + frame::to_int(std::round(r * std::sin(a)));
    const frame::i32 y = cy - frame::to_int(std::round(r * std::cos(a)));
    points.push_back(frame::NonlinearityPoint{frame::PixPoint{x, y}, m.value});
  }
  return points;
}

}  // namespace autopilot
