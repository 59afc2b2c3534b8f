// The radio altimeters: knob rules, measured height in attitude, automatic
// zero and warm-up, failure and valid flags with the autopilot's outputs,
// pressure altitude, beeper, and the dial's scale.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "autopilot/radio_altimeter.h"

namespace {

using autopilot::kRv1Unit;
using autopilot::kRv2Unit;
using autopilot::RadioAltimeter;
using autopilot::RadioAltimeterInputs;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Static pressure (1/16 mbar) at a pressure altitude in metres.
double pressure_at(double metres) {
  return std::pow(1.0 - metres / 44300.0, 1.0 / 0.190476) / 6.168574812475326e-05;
}

RadioAltimeterInputs in_air(double raw, double bank = 0.0, double pitch = 0.0) {
  RadioAltimeterInputs in;
  in.raw_height = raw;
  in.bank_deg = bank;
  in.pitch_deg = pitch;
  in.static_pressure = pressure_at(raw);
  return in;
}

RadioAltimeter warm() {
  RadioAltimeter s;
  s.power = 1;
  s.warmup_offset = 0;
  return s;
}

void run(RadioAltimeter& s, const RadioAltimeterInputs& in, int frames,
         const autopilot::RadioAltimeterUnit& unit = kRv1Unit) {
  for (int i = 0; i < frames; ++i) autopilot::radio_altimeter_frame(s, unit, in);
}

TEST(RadioAltimeterKnob, DecisionHeightSteps) {
  struct Case {
    double from;
    int dir;
    double to;
  };
  constexpr Case kCases[] = {
      {100.0, -1, 97.5}, {100.0, +1, 110.0}, {110.0, -1, 100.0}, {97.5, +1, 100.0},
      {200.0, -1, 190.0}, {200.0, +1, 210.0}, {2.5, -1, 0.0},    {0.0, -1, 0.0},
      {0.0, +1, 2.5},     {740.0, +1, 750.0}, {750.0, +1, 750.0}, {750.0, -1, 740.0},
  };
  for (const Case& c : kCases) {
    const double got = c.dir > 0 ? autopilot::decision_height_up(c.from)
                                 : autopilot::decision_height_down(c.from);
    EXPECT_EQ(got, c.to) << c.from << (c.dir > 0 ? " up" : " down");
  }
  // Down from the start to the bottom and back up: the same ladder both ways.
  double dh = 200.0;
  int clicks = 0;
  while (dh > 0.0 && clicks < 1000) dh = autopilot::decision_height_down(dh), ++clicks;
  EXPECT_EQ(dh, 0.0);
  EXPECT_EQ(clicks, 10 + 40);  // 200..100 by 10, 100..0 by 2.5
  for (int i = 0; i < clicks; ++i) dh = autopilot::decision_height_up(dh);
  EXPECT_EQ(dh, 200.0);
}

TEST(RadioAltimeterHeight, AttitudeAndInvertedFlight) {
  struct Case {
    double bank, pitch, height;
  };
  const double slant30 = 100.0 / std::cos(30.0 * 0.017453292519943295) - 1.5;  // about 114
  const Case kCases[] = {
      {0.0, 0.0, 98.5},      {30.0, 0.0, slant30}, {-30.0, 0.0, slant30}, {330.0, 0.0, slant30},
      {0.0, 60.0, 198.5},    {0.0, -60.0, 198.5},  {89.5, 0.0, 850.0},    {90.0, 0.0, 850.0},
      {180.0, 0.0, 850.0},   {-90.0, 0.0, 850.0},  {270.5, 0.0, 850.0},   {-88.0, 0.0, 850.0},
      {kNaN, 0.0, 98.5},     {0.0, kNaN, 98.5},    {1e300, 0.0, 850.0},
  };
  for (const Case& c : kCases) {
    RadioAltimeter s = warm();
    run(s, in_air(100.0, c.bank, c.pitch), 1);
    if (c.bank == 1e300) {  // wraps to some bank: only finite and within the scale
      EXPECT_GE(s.measured_height, 0.0);
      EXPECT_LE(s.measured_height, 850.0);
      continue;
    }
    // The unit converts degrees with its own factor, a little off pi/180.
    EXPECT_NEAR(s.measured_height, c.height, 1e-4) << c.bank << " " << c.pitch;
  }
  EXPECT_NEAR(slant30, 114.0, 0.1);
  // Inverted by a signed bank, close to the ground: the inverted rule, not a
  // cosine floor that a small raw height would slip under.
  for (double bank : {-91.0, -150.0, -180.0, -269.0}) {
    RadioAltimeter s = warm();
    run(s, in_air(2.0, bank), 1);
    EXPECT_EQ(s.measured_height, 850.0) << bank;
  }
}

TEST(RadioAltimeterHeight, UnpoweredReadsZeroAndBadRawKeepsTheLastReading) {
  RadioAltimeter s = warm();
  run(s, in_air(300.0), 1);
  ASSERT_NEAR(s.measured_height, 298.5, 1e-9);
  for (double bad : {kNaN, std::numeric_limits<double>::infinity()}) {
    RadioAltimeterInputs in = in_air(300.0);
    in.raw_height = bad;
    run(s, in, 1);
    EXPECT_NEAR(s.measured_height, 298.5, 1e-9) << bad;
  }
  s.power = 0;
  run(s, in_air(300.0), 1);
  EXPECT_EQ(s.measured_height, 0.0);
}

// The automatic zero on the ground, then the warm-up draining.
class GroundZero : public ::testing::TestWithParam<std::tuple<bool, double, double, double>> {};

TEST_P(GroundZero, TakesTheReferenceInTheFirstFramesOnTheGround) {
  const auto [first_unit, raw, offset, reading] = GetParam();
  const auto& unit = first_unit ? kRv1Unit : kRv2Unit;
  RadioAltimeter s;  // cold, unpowered
  RadioAltimeterInputs in = in_air(raw);
  in.on_ground = 1.0;
  run(s, in, 10, unit);
  s.power = 1;
  run(s, in, 500, unit);
  EXPECT_EQ(s.measured_height, 850.0) << "still warming up";
  EXPECT_EQ(s.failure, 1);
  run(s, in, 501, unit);
  EXPECT_EQ(s.warmup_offset, 0);
  EXPECT_DOUBLE_EQ(s.zero_offset, offset);
  EXPECT_NEAR(s.measured_height, reading, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Units, GroundZero,
                         ::testing::Values(std::tuple{true, 3.2, 2.5, 0.7},
                                           std::tuple{false, 3.2, 1.5, 1.7},
                                           std::tuple{true, 12.0, 12.0, 0.0}));

TEST(RadioAltimeterZero, OnlyFiveFramesUntilThePowerIsCycled) {
  RadioAltimeter s = warm();
  RadioAltimeterInputs in = in_air(3.2);
  in.on_ground = 1.0;
  run(s, in, 6);
  ASSERT_DOUBLE_EQ(s.zero_offset, 2.5);
  EXPECT_EQ(s.zero_countdown, 0);
  in.raw_height = 12.0;  // a later change on the ground is not taken
  run(s, in, 5);
  EXPECT_DOUBLE_EQ(s.zero_offset, 2.5);
  s.power = 0;
  run(s, in, 1);
  EXPECT_EQ(s.zero_countdown, 5);
  // In the air nothing is taken.
  s.power = 1;
  in.on_ground = 0.0;
  run(s, in, 5);
  EXPECT_DOUBLE_EQ(s.zero_offset, 2.5);
  EXPECT_EQ(s.zero_countdown, 5);
}

TEST(RadioAltimeterWarmup, DrainsBy4RefillsBy1AndService14StartsCold) {
  RadioAltimeter s;
  s.power = 1;
  run(s, in_air(100.0), 10);
  EXPECT_EQ(s.warmup_offset, 4000 - 40);
  s.power = 0;
  run(s, in_air(100.0), 5);
  EXPECT_EQ(s.warmup_offset, 4000 - 35);
  run(s, in_air(100.0), 100);
  EXPECT_EQ(s.warmup_offset, 4000);
  s.warmup_offset = 0;
  autopilot::radio_altimeter_connect(s);
  EXPECT_EQ(s.warmup_offset, 4000);
}

TEST(RadioAltimeterFlags, FailureValidAndTheAutopilotsOutputs) {
  struct Case {
    const char* name;
    int power;
    bool warm;
    double raw, pressure_alt;
    int failure;
    double ap_altitude;
  };
  constexpr Case kCases[] = {
      {"unpowered, high: no flag, valid 0 m", 0, true, 4000.0, 4000.0, 0, 0.0},
      {"unpowered, low: flag, 3000 m", 0, true, 500.0, 500.0, 1, 3000.0},
      {"in range", 1, true, 500.0, 500.0, 0, 498.5},
      {"out of range, low", 1, true, 840.0, 840.0, 1, 3000.0},
      {"out of range, high", 1, true, 840.0, 3500.0, 0, 838.5},
      {"warming up, low", 1, false, 100.0, 100.0, 1, 3000.0},
  };
  for (const Case& c : kCases) {
    RadioAltimeter s;
    s.power = c.power;
    if (c.warm) s.warmup_offset = 0;
    RadioAltimeterInputs in = in_air(c.raw);
    in.static_pressure = pressure_at(c.pressure_alt);
    run(s, in, 3);
    EXPECT_NEAR(s.pressure_altitude, c.pressure_alt, 0.5) << c.name;
    EXPECT_EQ(s.failure, c.failure) << c.name;
    EXPECT_EQ(s.valid, 1 - c.failure) << c.name;
    EXPECT_EQ(s.ap_valid, 1 - c.failure) << c.name;
    EXPECT_NEAR(s.ap_radio_altitude, c.ap_altitude, 1e-9) << c.name;
    // The second unit has no autopilot outputs.
    RadioAltimeter s2 = s;
    s2.ap_radio_altitude = -1.0;
    autopilot::radio_altimeter_frame(s2, kRv2Unit, in);
    EXPECT_EQ(s2.ap_radio_altitude, -1.0) << c.name;
  }
}

TEST(RadioAltimeterFlags, BelowDecisionHeightUsesLastFramesHeightAndTheLampTheBus) {
  RadioAltimeter s = warm();
  s.decision_height = 60.0;
  run(s, in_air(100.0), 2);
  EXPECT_EQ(s.below_dh, 0);
  RadioAltimeterInputs low = in_air(50.0);
  run(s, low, 1);
  EXPECT_EQ(s.below_dh, 0) << "decided by last frame's 98.5 m";
  run(s, low, 1);
  EXPECT_EQ(s.below_dh, 1);
  EXPECT_EQ(s.ap_below_dh, 1);
  EXPECT_EQ(s.lamp_lit, 1);
  low.main_bus = 0;
  run(s, low, 1);
  EXPECT_EQ(s.lamp_lit, 0);
  EXPECT_EQ(s.below_dh, 1);
  s.power = 0;
  run(s, low, 1);
  EXPECT_EQ(s.below_dh, 0);
}

TEST(RadioAltimeterFlags, DescentThroughTheSettingLightsTheLampAndStartsTheTone) {
  RadioAltimeter s = warm();
  run(s, in_air(260.0), 2);  // level above the setting first
  int lamp_frame = -1, tone_frame = -1, crossed_frame = -1;
  for (int frame = 0; frame < 400; ++frame) {
    RadioAltimeterInputs in = in_air(260.0 - 0.3 * frame);
    in.tick = frame;  // one tick per frame at 18 frames per second
    autopilot::radio_altimeter_frame(s, kRv1Unit, in);
    if (crossed_frame < 0 && s.measured_height < s.decision_height) crossed_frame = frame;
    if (lamp_frame < 0 && s.lamp_lit == 1) lamp_frame = frame;
    if (tone_frame < 0 && s.beeper.tone == 1) tone_frame = frame;
  }
  ASSERT_GT(crossed_frame, 0);
  EXPECT_EQ(lamp_frame, crossed_frame + 1) << "the flag uses last frame's height";
  EXPECT_GT(tone_frame, crossed_frame);
  // The first step waits up to 3 ticks and is of the first kind; the tone
  // starts with the second-kind step 4 ticks after it.
  EXPECT_LE(tone_frame, crossed_frame + 1 + 3 + 4);
  EXPECT_EQ(s.beeper.tone, 0) << "19 tone steps, then silent while still below";
  EXPECT_EQ(s.lamp_lit, 1);
}

TEST(PressureAltitude, NoPressureIsNoData) {
  struct Case {
    double pressure, previous, altitude;
  };
  const Case kCases[] = {
      {16212.0, 7.0, 0.0},  // 1013.25 mbar: sea level, within a metre
      {pressure_at(3000.0), 7.0, 3000.0},
      {0.0, 7.0, 7.0},
      {-16.0, 7.0, 7.0},
      {kNaN, 7.0, 7.0},
      {std::numeric_limits<double>::infinity(), 7.0, 7.0},
  };
  for (const Case& c : kCases)
    EXPECT_NEAR(autopilot::pressure_altitude(c.pressure, c.previous), c.altitude, 1.0)
        << c.pressure;
}

TEST(RadioAltimeterBeeper, NineteenToneStepsPerDescentBelowTheSetting) {
  autopilot::RadioAltimeterBeeper b;
  autopilot::beeper_step(b, 0, 0.0);  // above: armed
  ASSERT_EQ(b.on, 1);
  ASSERT_EQ(b.cycles_left, 19);
  // One tick per frame below the setting: steps every second tick, the
  // first of the first kind, so the tone starts at tick 4 (the first
  // second-kind step) and lasts 19 second-kind steps, 4 ticks apart.
  int first_tone = -1, last_tone = -1, tone_frames = 0;
  for (int tick = 0; tick < 200; ++tick) {
    autopilot::beeper_step(b, 1, tick);
    if (b.tone == 1) {
      if (first_tone < 0) first_tone = tick;
      last_tone = tick;
      ++tone_frames;
    }
  }
  EXPECT_EQ(first_tone, 4);
  EXPECT_EQ(tone_frames, 19 * 4);
  EXPECT_EQ(last_tone, 4 + 19 * 4 - 1);
  EXPECT_EQ(b.on, 0);
  // Above the setting again, it rearms; the next descent beeps again.
  autopilot::beeper_step(b, 0, 200.0);
  EXPECT_EQ(b.tone, 0);
  int again = 0;
  for (int tick = 201; tick < 300; ++tick) {
    autopilot::beeper_step(b, 1, tick);
    again += b.tone;
  }
  EXPECT_EQ(again, 19 * 4);
  // A tick the host does not give counts as 0; no step misbehaves.
  for (double t : {kNaN, 1e300, -5.0}) autopilot::beeper_step(b, 1, t);
  EXPECT_TRUE(b.phase == 0 || b.phase == 2);
}

TEST(RadioAltimeterScale, EighteenPointsRoundTheDial) {
  const auto pts = autopilot::radio_altimeter_scale(160, 160, 120);
  ASSERT_EQ(pts.size(), 18u);
  EXPECT_EQ(pts.front().value, 0.0);
  EXPECT_EQ(pts.back().value, 850.0);
  EXPECT_LT(pts.front().point.x, 160);  // lower left
  EXPECT_GT(pts.front().point.y, 160);
  EXPECT_GT(pts.back().point.x, 160);  // lower right
  EXPECT_GT(pts.back().point.y, 160);
  double prev_angle = -1e9;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const double dx = pts[i].point.x - 160, dy = 160 - pts[i].point.y;
    EXPECT_NEAR(std::hypot(dx, dy), 120.0, 1.0) << i;
    const double angle = std::atan2(dx, dy);  // clockwise from twelve o'clock
    EXPECT_GT(angle, prev_angle) << "clockwise with the value, point " << i;
    prev_angle = angle;
    if (i > 0) {
      EXPECT_GT(pts[i].value, pts[i - 1].value);
    }
    if (pts[i].value == 100.0) {
      EXPECT_EQ(pts[i].point.x, 160) << "100 m at the top";
    }
  }
}

}  // namespace
