// The doppler's frame: working threshold and its lags, modes, drift, and the
// beam speed in any attitude.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "nav/diss.h"

namespace {

using nav::DissInputs;
using nav::DissState;

// Feet per second whose km/h is `kmh` or just below it, never above: the
// threshold tests need "exactly 180" to be no more than 180.
double fps_at_most(double kmh) {
  double f = kmh / nav::kFpsToKmh;
  while (f * nav::kFpsToKmh > kmh) f = std::nextafter(f, 0.0);
  return f;
}

// Level flight at `kmh` on track `track_deg` with heading `heading_deg`.
DissInputs flying(double kmh, double track_deg = 0.0, double heading_deg = 0.0) {
  const double fps = fps_at_most(kmh);
  const double t = track_deg * 0.017453292519943295;
  DissInputs in;
  in.ground_speed_fps = fps;
  in.north_fps = fps * std::cos(t);
  in.east_fps = fps * std::sin(t);
  in.true_heading_deg = heading_deg;
  return in;
}

DissState powered(std::int8_t mode) {
  DissState s;
  s.diss_power = 1;
  s.diss_mode = mode;
  return s;
}

void run(DissState& s, const DissInputs& in, int frames) {
  for (int i = 0; i < frames; ++i) nav::diss_step(s, in);
}

TEST(Doppler, WorksAbove180AndLeavesAtExactly180WithItsLags) {
  DissState s = powered(2);
  // The first frame after power-on has no beam speed yet: one frame of memory.
  run(s, flying(181.0), 4);
  EXPECT_EQ(s.diss_not_working, 0);
  EXPECT_EQ(s.diss_memory, 0);
  EXPECT_EQ(s.pp_diss_pam, 0);
  EXPECT_NEAR(s.diss_speed, 181.0, 1e-9);

  // From the first frame at 180: last frame's beam speed still decides, the
  // memory flag follows a frame later, the published flag a frame after that.
  struct Frame {
    int not_working, memory, published;
  };
  constexpr Frame kAfter[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}};
  const DissInputs at180 = flying(180.0);
  for (std::size_t k = 0; k < std::size(kAfter); ++k) {
    nav::diss_step(s, at180);
    EXPECT_EQ(s.diss_not_working, kAfter[k].not_working) << "frame " << k;
    EXPECT_EQ(s.diss_memory, kAfter[k].memory) << "frame " << k;
    EXPECT_EQ(s.pp_diss_pam, kAfter[k].published) << "frame " << k;
  }
  // The consumers took the last measurement made while working.
  EXPECT_NEAR(s.diss_speed, 180.0, 1e-9);
  // The published raw speed follows the simulation, a frame late.
  run(s, flying(150.0), 2);
  EXPECT_NEAR(s.pp_diss_skor, 150.0, 1e-9);
  EXPECT_NEAR(s.diss_speed, 180.0, 1e-9);
}

TEST(Doppler, ModesAndPower) {
  struct Case {
    const char* name;
    int power;
    std::int8_t mode;
    int test;
    double speed;  // what the consumers read after a few frames at 500 km/h
    int memory;
  };
  constexpr Case kCases[] = {
      {"test, powered: 710 and no memory", 1, 0, 1, 710.0, 0},
      {"test, unpowered: flag only", 0, 0, 1, 0.0, 1},
      {"standby", 1, 1, 0, 0.0, 1},
      {"work", 1, 2, 0, 500.0, 0},
      {"work, unpowered", 0, 2, 0, 0.0, 1},
  };
  for (const Case& c : kCases) {
    DissState s;
    s.diss_power = c.power;
    s.diss_mode = c.mode;
    run(s, flying(500.0, 30.0, 20.0), 4);
    EXPECT_EQ(s.diss_test, c.test) << c.name;
    EXPECT_NEAR(s.diss_speed, c.speed, 1e-9) << c.name;
    EXPECT_EQ(s.diss_memory, c.memory) << c.name;
    if (c.mode == 0 && c.power == 1) {
      EXPECT_EQ(s.diss_drift, 0.0) << c.name;
    }
    if (c.mode == 2 && c.power == 1) {
      EXPECT_NEAR(s.diss_drift, 10.0, 1e-6) << c.name;
    }
  }
}

TEST(Doppler, DriftIsTrackMinusHeadingWithinPlusMinus180) {
  struct Case {
    double heading, track, drift;
  };
  constexpr Case kCases[] = {
      {350.0, 10.0, 20.0},   {10.0, 350.0, -20.0}, {0.0, 45.0, 45.0},    {0.0, 135.0, 135.0},
      {0.0, 225.0, -135.0},  {0.0, 315.0, -45.0},  {180.0, 270.0, 90.0}, {90.0, 180.0, 90.0},
      {0.0, 0.0, 0.0},
  };
  for (const Case& c : kCases) {
    DissState s = powered(2);
    nav::diss_step(s, flying(600.0, c.track, c.heading));
    EXPECT_NEAR(s.diss_drift_raw, c.drift, 1e-6) << c.heading << " " << c.track;
  }
}

TEST(Doppler, DriftKeepsItsLastValueAt180OrLess) {
  DissState s = powered(2);
  nav::diss_step(s, flying(400.0, 20.0, 10.0));
  ASSERT_NEAR(s.diss_drift_raw, 10.0, 1e-6);
  nav::diss_step(s, flying(180.0, 90.0, 10.0));
  EXPECT_NEAR(s.diss_drift_raw, 10.0, 1e-6);
  // A heading the host does not give leaves it too.
  DissInputs no_heading = flying(400.0, 90.0);
  no_heading.true_heading_deg = std::numeric_limits<double>::quiet_NaN();
  nav::diss_step(s, no_heading);
  EXPECT_NEAR(s.diss_drift_raw, 10.0, 1e-6);
}

TEST(Doppler, BeamSpeedStaysFiniteInAnyAttitude) {
  // 100 ft/s on each host speed; the limits make the bank factor at most
  // 1/cos(1 rad) and the pitch factor the same.
  const double kmh = 100.0 * nav::kFpsToKmh;
  const double limit = std::hypot(kmh / std::cos(1.0), kmh / std::cos(1.0));
  struct Case {
    double bank, pitch;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case kCases[] = {{-90.0, 0.0},   {270.0, 0.0},  {-89.99, 0.0}, {90.0, 0.0},
                         {-179.0, 0.0},  {359.5, 0.0},  {1e300, 0.0},  {nan, 0.0},
                         {0.0, 89.99},   {0.0, -89.99}, {0.0, nan},    {-60.0, -45.0}};
  for (const Case& c : kCases) {
    DissInputs in;
    in.ground_speed_fps = 100.0;
    in.second_speed_fps = 100.0;
    in.bank_deg = c.bank;
    in.pitch_deg = c.pitch;
    const double beam = nav::diss_beam_speed(in);
    EXPECT_TRUE(std::isfinite(beam)) << c.bank << " " << c.pitch;
    EXPECT_LE(beam, limit * (1.0 + 1e-12)) << c.bank << " " << c.pitch;
  }
  // A signed bank is the same bank as its 0..360 form.
  for (double b : {-30.0, -90.0, -150.0}) {
    DissInputs signed_bank;
    signed_bank.second_speed_fps = 100.0;
    signed_bank.bank_deg = b;
    DissInputs positive = signed_bank;
    positive.bank_deg = b + 360.0;
    EXPECT_DOUBLE_EQ(nav::diss_beam_speed(signed_bank), nav::diss_beam_speed(positive)) << b;
  }
}

TEST(Doppler, HostValuesThatAreNotNumbersGiveNoNaN) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double v : {nan, inf, -inf, 1e308, -1e308}) {
    DissState s = powered(2);
    DissInputs in;
    in.ground_speed_fps = in.second_speed_fps = in.north_fps = in.east_fps = v;
    in.pitch_deg = in.bank_deg = in.true_heading_deg = v;
    run(s, in, 3);
    for (double out : {s.diss_speed_raw, s.diss_drift_raw, s.diss_beam_speed, s.diss_speed,
                       s.diss_drift, s.pp_diss_skor, s.pp_diss_snos})
      EXPECT_TRUE(std::isfinite(out)) << v;
  }
}

TEST(DopplerTrack, QuadrantsMeetWithoutJumps) {
  // Around the compass in 1-degree steps the track follows the direction.
  for (int deg = 0; deg < 360; ++deg) {
    const double t = deg * 0.017453292519943295;
    const double track = nav::diss_track(500.0 * std::cos(t), 500.0 * std::sin(t), 500.0);
    const double diff = std::remainder(track - deg, 360.0);
    EXPECT_NEAR(diff, 0.0, 1e-3) << deg;
  }
  EXPECT_EQ(nav::diss_track(1.0, 1.0, 0.0), 0.0);  // no speed: no division
}

}  // namespace
