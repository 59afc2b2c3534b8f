// The course system's steps without a host: gyro power and platforms, drift,
// gimbal error, slewing and magnetic correction, the compass sensor, the
// pendulum, the panel's counters and the host-value checks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "frame/gauge.h"
#include "frame/numeric.h"
#include "nav/tks.h"

namespace {

using nav::TksInputs;
using nav::TksPanel;
using nav::TksState;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kFrame = 1.0 / 18.0;

// A course system stepped frame by frame with the host's clocks.
struct Tks : ::testing::Test {
  TksState s{};
  TksPanel p{};
  TksInputs in{};
  double t = 0.0;  // simulated seconds

  void SetUp() override {
    p.align_rate = 1;  // as TKS_Pult leaves it from its first frame
    p.lat_knob = 0.0;  // the aircraft's latitude: no latitude drift unless a test sets one
    in.host.clock_seconds = 1.0;  // not a multiple of 6: no drift unless a test runs the clock
  }
  void power_both() { p.ga1_switch = p.ga2_switch = 1; }
  void frame() {
    t += kFrame;
    in.host.sim_time = t;
    in.host.clock_seconds = std::fmod(std::floor(t + 1e-9), 60.0);
    in.host.tick = std::floor(t * 18.0 + 1e-6);
    nav::tks_step(s, p, in);
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) frame();
  }
  // One step with the drift scheduler set to apply this frame.
  void drift_frame() {
    s.drift_latch = 1;
    s.drift_phase = 0;
    in.host.clock_seconds = 6.0;
    nav::tks_step(s, p, in);
  }
};

// Service 14 -------------------------------------------------------------------

TEST(TksSeed, InitialErrorsAreRemaindersOfTheTickCount) {
  const struct {
    double tick;
    double ga1, ga2, mk1, mk2, drift1, drift2;
  } cases[] = {
      {76, 76, 76, 76, 76, 0.0, 0.0},  // 76 mod 9 = 4, 76 mod 17 = 8: no random drift
      {1234, 157, 277, 55, 58, -3e-4, 2e-4},
      {0, 0, 0, 0, 0, -4e-4, -8e-4},
      {358, 358, 39, 96, 22, 3e-4, -7e-4},
      {-5, 354, 314, 126, 79, 0.0, 4e-4},  // non-negative remainders
      {kNaN, 0, 0, 0, 0, -4e-4, -8e-4},
      {1e300, 215, 210, 123, 43, -3e-4, 0.0},  // the count saturates at 2^31 - 1
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tick);
    TksState s;
    nav::tks_seed(s, c.tick, 37.6);
    EXPECT_DOUBLE_EQ(s.ga1_platform, c.ga1);
    EXPECT_DOUBLE_EQ(s.ga2_platform, c.ga2);
    EXPECT_DOUBLE_EQ(s.mk1_correction, c.mk1);
    EXPECT_DOUBLE_EQ(s.mk2_correction, c.mk2);
    EXPECT_NEAR(s.ga1_random_drift, c.drift1, 1e-15);
    EXPECT_NEAR(s.ga2_random_drift, c.drift2, 1e-15);
    EXPECT_DOUBLE_EQ(s.ga1_lon_ref, 37.6);
    EXPECT_DOUBLE_EQ(s.ga2_lon_ref, 37.6);
  }
  TksState s;
  s.ga1_lon_ref = 5.0;
  nav::tks_seed(s, 1, kNaN);
  EXPECT_DOUBLE_EQ(s.ga1_lon_ref, 5.0) << "a longitude that is not finite leaves the reference";
}

// Power and platforms ----------------------------------------------------------

TEST_F(Tks, GyrosSwitchedOffHoldTheirHeadingsAndResumeFromThem) {
  power_both();
  s.ga1_offset = 30.0;
  s.ga2_offset = 300.0;
  in.host.true_heading = 10.0;
  frame();
  EXPECT_DOUBLE_EQ(s.ga1_heading, 40.0);
  EXPECT_DOUBLE_EQ(s.ga2_heading, 310.0);

  p.ga1_switch = p.ga2_switch = 0;
  for (double hdg : {60.0, 180.0, 359.0, 0.5, 95.0}) {
    in.host.true_heading = hdg;
    frame();
    EXPECT_DOUBLE_EQ(s.ga1_heading, 40.0) << hdg;
    EXPECT_DOUBLE_EQ(s.ga2_heading, 310.0) << hdg;
    EXPECT_EQ(s.ga1_failed, 1);
    EXPECT_EQ(s.ga2_failed, 1);
  }
  power_both();
  frame();  // the aircraft holds 95
  EXPECT_DOUBLE_EQ(s.ga1_heading, 40.0);
  EXPECT_DOUBLE_EQ(s.ga2_heading, 310.0);
  EXPECT_EQ(s.ga1_failed, 0);
  in.host.true_heading = 105.0;
  frame();
  EXPECT_NEAR(s.ga1_heading, 50.0, 1e-12);
  EXPECT_NEAR(s.ga2_heading, 320.0, 1e-12);
}

TEST_F(Tks, UnitPowerIsTheProductOfSwitchAndCourseSystemBuses) {
  const struct {
    int sw, bus27, bus36, powered;
  } cases[] = {
      {1, 1, 1, 1}, {0, 1, 1, 0}, {1, 0, 1, 0}, {1, 1, 0, 0}, {7, 1, 1, 1},  // any position on
      {1, 2, 1, 0},                                                          // product 2
      {1, -1, -1, 1},
  };
  for (const auto& c : cases) {
    p.ga1_switch = c.sw;
    s.bus27 = c.bus27;
    s.bus36 = c.bus36;
    frame();
    EXPECT_EQ(s.ga1_powered, c.powered) << c.sw << " " << c.bus27 << " " << c.bus36;
    EXPECT_EQ(s.ga1_failed, 1 - c.powered);
  }
}

TEST(TksOffset, UnpoweredOffsetIsReducedOnlyAbove360) {
  const struct {
    double in, out;
  } cases[] = {
      {359.5, 359.5}, {360.0, 360.0}, {360.5, 0.5}, {720.0, 360.0},
      {725.0, 5.0},   {-10.0, -10.0}, {-725.0, -725.0},
  };
  for (const auto& c : cases) EXPECT_NEAR(nav::reduce_above_360(c.in), c.out, 1e-9) << c.in;
  for (double huge : {1e300, 1e18 + 0.5, kInf}) {
    const double r = nav::reduce_above_360(huge);
    EXPECT_GT(r, 0.0) << huge;
    EXPECT_LE(r, 360.0) << huge;
  }
}

// Gimbal error -------------------------------------------------------------------

TEST(TksGimbal, FoldedHeadingIsClampedAt89_8AndTheErrorFlipsAcrossIt) {
  // 89.8 - atan(cos 30 x tan 89.8) = 0.0319 (57.3 degrees per radian).
  const double e30 = 89.8 - std::atan(std::cos(30.0 / 57.3) * std::tan(89.8 / 57.3)) * 57.3;
  EXPECT_NEAR(e30, 0.032, 0.0005);
  const double e45 = 45.0 - std::atan(std::cos(30.0 / 57.3) * std::tan(45.0 / 57.3)) * 57.3;
  const struct {
    double platform, bank_difference, error;
  } cases[] = {
      {90.0, 30.0, e30},   {270.0, 30.0, e30},    {89.9, 30.0, -e30},  {269.9, 30.0, -e30},
      {90.1, 30.0, e30},   {270.1, 30.0, e30},    {0.0, 30.0, 0.0},    {180.0, 30.0, 0.0},
      {45.0, 0.0, 0.0},    {45.0, 30.0, -e45},  {135.0, 30.0, e45},  {225.0, 30.0, -e45},
      {315.0, 30.0, e45},
      {90.0, kNaN, 0.0},   // a bank that is not finite counts as level
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.platform << " " << c.bank_difference);
    const double e = nav::gimbal_error(c.platform, c.bank_difference);
    EXPECT_TRUE(std::isfinite(e));
    EXPECT_NEAR(e, c.error, 1e-9);
  }
}

TEST_F(Tks, IndicatedHeadingCarriesTheGimbalErrorOfTheBankDifference) {
  power_both();
  s.ga1_offset = 90.0;
  s.ga2_offset = 270.0;
  in.banks.vertical_gyro = 30.0;
  frame();
  const double e30 = nav::gimbal_error(90.0, 30.0);
  EXPECT_NEAR(s.ga1_heading, 90.0 + e30, 1e-12);
  EXPECT_NEAR(s.ga2_heading, 270.0 + e30, 1e-12);
  EXPECT_EQ(s.ga1_bank_limit, 0);

  // Stabilisation takes the director's bank off, clipped at 40.
  const struct {
    int stab;
    double director, difference;
    int limit;
  } cases[] = {
      {1, 30.0, 0.0, 0}, {1, 50.0, -10.0, 1}, {1, -45.0, 70.0, 1}, {0, 50.0, 30.0, 0},
      {1, 40.0, -10.0, 0},
  };
  for (const auto& c : cases) {
    p.stab1_switch = c.stab;
    in.banks.left_director = c.director;
    frame();
    EXPECT_NEAR(s.ga1_heading, 90.0 + nav::gimbal_error(90.0, c.difference), 1e-12)
        << c.stab << " " << c.director;
    EXPECT_EQ(s.ga1_bank_limit, c.limit) << c.stab << " " << c.director;
  }
}

// Drift -------------------------------------------------------------------------

TEST_F(Tks, DriftAppliesOnceEverySixSecondsOfClock) {
  int applied = 0;
  std::vector<double> when;
  for (int i = 0; i < 18 * 59; ++i) {  // clock seconds 0 to 58
    t += kFrame;
    if (nav::drift_due(s, std::fmod(std::floor(t + 1e-9), 60.0))) {
      ++applied;
      when.push_back(t);
    }
  }
  EXPECT_EQ(applied, 10);
  // The first one waits a frame for the latch; then every 6 s on the frame
  // the second turns.
  for (std::size_t i = 2; i < when.size(); ++i) EXPECT_NEAR(when[i] - when[i - 1], 6.0, 1e-9);
  EXPECT_NEAR(when[0], 2 * kFrame, 1e-9);
  // A clock that stands still (paused) applies it at most once.
  TksState paused;
  int n = 0;
  for (int i = 0; i < 1000; ++i) n += nav::drift_due(paused, 12.0) ? 1 : 0;
  EXPECT_EQ(n, 1);
  for (double bad : {kNaN, 1e300, -1e300}) {
    TksState b;
    for (int i = 0; i < 100; ++i) nav::drift_due(b, bad);  // defined, no overflow
  }
}

TEST_F(Tks, LatitudeDriftFollowsTheDifferenceOfKnobAndAircraft) {
  power_both();
  nav::tks_seed(s, 76, 0.0);  // no random drift
  const struct {
    double knob, aircraft, per_step;
  } cases[] = {
      {52.0, 52.0, 0.0},
      {52.0, 0.0, 0.025 * std::sin(52.0 / 57.3)},
      {0.0, 30.0, -0.025 * std::sin(30.0 / 57.3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.aircraft);
    p.lat_knob = c.knob;
    in.host.latitude = c.aircraft;
    s.ga1_offset = 100.0;
    s.ga2_offset = 200.0;
    std::vector<double> steps;
    for (int i = 0; i < 18 * 30; ++i) {
      const double before = s.ga1_offset;
      frame();
      if (s.ga1_offset != before) steps.push_back(s.ga1_offset - before);
    }
    if (c.per_step == 0.0) {
      EXPECT_TRUE(steps.empty());
    } else {
      EXPECT_EQ(steps.size(), 5u);
      for (double d : steps) EXPECT_NEAR(d, c.per_step, 1e-12);
    }
    EXPECT_NEAR(s.ga2_offset - 200.0, 100.0 * 0 + (s.ga1_offset - 100.0), 1e-9)
        << "both units drift alike";
  }
}

TEST_F(Tks, ConvergenceNeedsALongitudeChangeAboveFiveHundredths) {
  power_both();
  p.lat_knob = 60.0;
  in.host.latitude = 60.0;
  const double s60 = std::sin(60.0 * 3.14159265358979323846 / 180.0);
  const struct {
    double lon;
    bool applies;
  } cases[] = {
      {0.05, false},
      {std::nextafter(0.05, 1.0), true},
      {-0.05, false},
      {std::nextafter(-0.05, -1.0), true},
      {359.9, true},  // -0.1 across the date line
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lon);
    s.ga1_offset = s.ga2_offset = 100.0;
    s.ga1_lon_ref = s.ga2_lon_ref = 0.0;
    s.ga1_random_drift = s.ga2_random_drift = 0.0;
    in.host.longitude = c.lon;
    drift_frame();
    const double d = frame::wrap180(c.lon);
    if (c.applies) {
      EXPECT_NEAR(s.ga1_offset, 100.0 - s60 * d, 1e-9);
      EXPECT_NEAR(s.ga2_offset, 100.0 - s60 * d, 1e-9);
      EXPECT_DOUBLE_EQ(s.ga1_lon_ref, c.lon);
    } else {
      EXPECT_DOUBLE_EQ(s.ga1_offset, 100.0);
      EXPECT_DOUBLE_EQ(s.ga2_offset, 100.0);
      EXPECT_DOUBLE_EQ(s.ga1_lon_ref, 0.0);
    }
  }
}

TEST_F(Tks, UnpoweredGyroDoesNotDrift) {
  nav::tks_seed(s, 0, 0.0);  // random drift -4e-4 and -8e-4
  p.ga1_switch = 1;
  s.ga1_offset = 100.0;
  s.ga2_platform = 200.0;
  in.host.longitude = 3.0;
  drift_frame();
  EXPECT_NEAR(s.ga1_offset, 100.0 - 4e-4, 1e-12);
  EXPECT_DOUBLE_EQ(s.ga2_offset, 200.0);
  EXPECT_DOUBLE_EQ(s.ga2_lon_ref, 0.0);
  EXPECT_DOUBLE_EQ(s.ga1_lon_ref, 3.0);
}

// Slewing and magnetic correction -------------------------------------------------

// Gyros at 100 and 200 (true heading 0), compass 0, astro heading 150,
// magnetic corrections 0: every error is large, so no rate is reduced.
TEST_F(Tks, AlignmentButtonSpeedsUpOnlyWhatTheModeCorrects) {
  const struct {
    int mode, correction_main;
    int ga1, ga2, mk1, mk2;  // direction of each change, in units of 0.005 x align_rate
  } cases[] = {
      {0, 1, 0, 0, -1, +1},  {0, 0, 0, 0, -1, +1},  {+1, 1, +1, 0, 0, 0},
      {+1, 0, 0, -1, 0, 0},  {-1, 1, -1, 0, 0, 0},  {-1, 0, 0, +1, 0, 0},
  };
  for (const auto& c : cases) {
    for (int rate : {1, 120}) {
      for (double vk90 : {1.0, 0.0}) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " main " << c.correction_main
                                        << " rate " << rate << " vk90 " << vk90);
        TksState st{};
        TksPanel pn{};
        pn.ga1_switch = pn.ga2_switch = pn.bgmk1_switch = pn.bgmk2_switch = 1;
        pn.tks_mode = static_cast<std::int8_t>(c.mode);
        pn.correction_main = c.correction_main;
        pn.align_rate = static_cast<std::uint8_t>(rate);
        st.ga1_offset = 100.0;
        st.ga2_offset = 200.0;
        st.astro_heading = 150.0;
        st.vk90 = vk90;
        TksInputs inputs{};
        inputs.host.clock_seconds = 1.0;
        inputs.host.sim_rate = 2.0;
        nav::tks_step(st, pn, inputs);
        const double unit = 0.005 * rate * vk90 * 2.0;
        EXPECT_NEAR(st.ga1_offset - 100.0, c.ga1 * unit, 1e-12);
        EXPECT_NEAR(st.ga2_offset - 200.0, c.ga2 * unit, 1e-12);
        EXPECT_NEAR(st.mk1_correction, c.mk1 * unit, 1e-12);
        EXPECT_NEAR(st.mk2_correction, c.mk2 * unit, 1e-12);
      }
    }
  }
}

TEST_F(Tks, HeldButtonSlowsTheSlewNearTheTarget) {
  const struct {
    double error;
    std::uint8_t align_rate;
    double factor;
  } cases[] = {
      {5.0, 120, 1.0},  {2.5, 120, 0.3},  {0.5, 120, 0.03}, {-0.5, 120, 0.03},
      {-2.5, 120, 0.3}, {-5.0, 120, 1.0}, {0.5, 1, 1.0},    {3.0, 120, 1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.error << " " << int{c.align_rate});
    TksState st{};
    TksPanel pn{};
    pn.ga1_switch = 1;
    pn.tks_mode = 1;
    pn.correction_main = 1;
    pn.align_rate = c.align_rate;
    st.ga1_offset = 100.0;
    st.astro_heading = 100.0 + c.error;
    TksInputs inputs{};
    inputs.host.clock_seconds = 1.0;
    nav::tks_step(st, pn, inputs);
    const double sign = c.error > 0 ? 1.0 : -1.0;
    EXPECT_NEAR(st.ga1_offset - 100.0, sign * 0.005 * c.factor * c.align_rate, 1e-12);
    EXPECT_NEAR(st.corr_error, c.error, 1e-12);
  }
}

TEST_F(Tks, MagneticChannelSlowsOnlyByThreeTenthsNearTheCompass) {
  for (double d : {2.0, -2.0, 0.5, 4.0}) {
    TksState st{};
    TksPanel pn{};
    pn.ga1_switch = pn.bgmk1_switch = 1;
    pn.align_rate = 120;
    st.ga1_offset = 100.0;
    st.compass_filtered = 100.0 + d;
    TksInputs inputs{};
    inputs.host.clock_seconds = 1.0;
    nav::tks_step(st, pn, inputs);
    const double factor = std::fabs(d) < 3.0 ? 0.3 : 1.0;
    EXPECT_NEAR(st.mk1_correction, (d > 0 ? 1 : -1) * 0.005 * factor * 120, 1e-12) << d;
  }
}

TEST_F(Tks, CorrectionErrorKeepsItsValueAndSignInModeZero) {
  power_both();
  p.tks_mode = 1;
  p.correction_main = 1;
  s.ga1_offset = 100.0;
  s.astro_heading = 90.0;
  frame();
  EXPECT_NEAR(s.corr_error, -10.0, 1e-9);
  EXPECT_EQ(s.corr_sign, -1);
  p.tks_mode = 0;
  s.astro_heading = 300.0;
  frame();
  EXPECT_NEAR(s.corr_error, -10.0, 1e-9);
  EXPECT_EQ(s.corr_sign, -1);
  // A zero error leaves the sign.
  p.tks_mode = 1;
  s.astro_heading = s.ga1_heading;
  frame();
  EXPECT_EQ(s.corr_sign, -1);
}

// Compass sensor --------------------------------------------------------------------

// The sensor as the instrument's equations write it, with asin and atan:
// undefined where Y = Z = 0.
double compass_reference(double hm, double bank, double tilt, double lat) {
  const double rad = 3.14159265358979323846 / 180.0;
  const double i = 90.0 * std::pow(std::sin(std::fabs(lat) * rad), 1.2) * rad;
  const double x = std::cos(i) * std::cos(hm * rad), y = std::cos(i) * std::sin(hm * rad),
               z = std::sin(i);
  const double r = std::sqrt(y * y + z * z);
  const double a = std::asin(y / r);
  double y1, z1;
  if (lat >= 0) {
    y1 = r * std::sin(a + bank * rad);
    z1 = r * std::cos(a + bank * rad);
  } else {
    y1 = r * std::sin(a - bank * rad);
    z1 = -r * std::cos(a - bank * rad);
  }
  const double x2 = std::cos(tilt * rad) * x + std::sin(tilt * rad) * z1;
  double h = std::atan(y1 / x2) / rad;
  if (x2 < 0) h += 180.0;
  if (h < 0) h += 360.0;
  return h;
}

TEST(TksCompass, SensorMatchesTheInstrumentWhereverItIsDefined) {
  const struct {
    double hm, bank, tilt, lat;
  } cases[] = {
      {0, 0, 0, 52},      {90, 0, 0, 52},      {270, 20, 0, 52},  {45, -30, 5, 60},
      {135, 10, -8, -35}, {200, -25, 12, -70}, {359, 5, 0, 1},    {10, 60, 20, 80},
      {180, 0, 0, 45},    {300, -15, -20, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.hm << " " << c.bank << " " << c.tilt << " " << c.lat);
    double dip = 0.0;
    const double h = nav::compass_sensor(c.hm, c.bank, c.tilt, c.lat, &dip);
    EXPECT_NEAR(h, compass_reference(c.hm, c.bank, c.tilt, c.lat), 1e-9);
    EXPECT_NEAR(dip, 90.0 * std::pow(std::sin(std::fabs(c.lat) * 3.14159265358979323846 / 180),
                                     1.2),
                1e-12);
  }
}

TEST(TksCompass, LevelSensorReadsTheMagneticHeadingAndNeverNaN) {
  const struct {
    double hm, bank, tilt, lat, heading;
  } cases[] = {
      {0, 0, 0, 0, 0},       // Y = Z = 0: asin(0/0) in the instrument's form
      {0, 30, 10, 0, 0},     {90, 0, 0, 52, 90},     {270, 0, 0, -52, 270},
      {123, 0, 0, 90, 123},  {180, 0, 0, 0, 180},    {0, 0, 0, 200, 0},  // latitude clamped
      {kNaN, 0, 0, 0, 0},    {1e300, 0, 0, 45, -1},  {0, 1e300, 0, 45, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.hm << " " << c.bank << " " << c.lat);
    const double h = nav::compass_sensor(c.hm, c.bank, c.tilt, c.lat, nullptr);
    if (c.heading >= 0) {
      EXPECT_NEAR(h, c.heading, 1e-9);
    } else if (std::isfinite(h)) {
      EXPECT_GE(h, 0.0);
      EXPECT_LT(h, 360.0);
    }
  }
}

TEST_F(Tks, CompassSmoothingOnNewTicksWhileChannelOneIsOn) {
  in.host.latitude = 0.0;
  in.host.magnetic_heading = 0.0;
  p.ga1_switch = 1;
  frames(2000);
  EXPECT_TRUE(std::isfinite(s.compass_filtered));
  EXPECT_NEAR(s.compass_filtered, 0.0, 1e-9);

  in.host.latitude = 50.0;
  in.host.magnetic_heading = 350.0;
  frames(18 * 10);
  EXPECT_NEAR(frame::wrap360(s.compass_filtered), 350.0, 1e-6) << "filtered across north";
  EXPECT_NEAR(s.compass_raw, 350.0, 1e-9);

  // Without a new tick, or with the breaker or the bus off, it holds.
  const double held = s.compass_filtered;
  in.host.magnetic_heading = 20.0;
  for (int i = 0; i < 20; ++i) nav::tks_step(s, p, in);  // the tick stands still
  EXPECT_DOUBLE_EQ(s.compass_filtered, held);
  p.ga1_switch = 0;
  frames(20);
  EXPECT_DOUBLE_EQ(s.compass_filtered, held);
  p.ga1_switch = 1;
  in.main_bus = 0;
  frames(20);
  EXPECT_DOUBLE_EQ(s.compass_filtered, held);
  in.main_bus = 1;
  frames(1);
  EXPECT_NE(s.compass_filtered, held);
}

// Acceleration ----------------------------------------------------------------------

TEST_F(Tks, FirstSpeedSampleDoesNotTiltThePendulum) {
  t = 100.0;
  in.host.ground_speed = 500.0;
  frames(100);
  EXPECT_DOUBLE_EQ(s.accel, 0.0);
  EXPECT_DOUBLE_EQ(s.accel_tilt, 0.0);
}

TEST_F(Tks, SteadyAccelerationTiltsThePendulum) {
  // 2 m/s2: (v - v_prev) / 3.6 / dt with v = fps x 0.911.
  const double per_frame = 2.0 * 3.6 * kFrame / 0.911;
  in.host.ground_speed = 200.0;
  for (int i = 0; i < 18 * 30; ++i) {
    in.host.ground_speed += per_frame;
    frame();
  }
  EXPECT_NEAR(s.accel, 2.0, 1e-6);
  EXPECT_NEAR(s.accel_tilt, std::atan(2.0 / 9.81) * 180.0 / 3.14159265358979323846, 1e-4);

  // Paused: the simulated time stands still and nothing changes.
  const double a = s.accel;
  in.host.ground_speed += 1000.0;
  for (int i = 0; i < 50; ++i) nav::tks_step(s, p, in);
  EXPECT_DOUBLE_EQ(s.accel, a);

  // A violent change is limited to 10 m/s2; the tilt it gives is limited to
  // 20 degrees where the compass uses it.
  in.host.ground_speed = 1e6;
  frame();
  EXPECT_DOUBLE_EQ(s.accel, 10.0);
  EXPECT_GT(s.accel_tilt, 20.0);
  // A time that runs back only takes a new reference.
  t -= 50.0;
  in.host.ground_speed = 0.0;
  frame();
  EXPECT_DOUBLE_EQ(s.accel, 10.0);
  frame();
  EXPECT_NEAR(s.accel, 9.5, 1e-12);
}

// Host values ------------------------------------------------------------------------

TEST(TksHost, ValuesThatAreNotFiniteLeaveThePreviousOnes) {
  nav::TksRawHost good;
  good.latitude = 52.0 / nav::kLatitudeUnit;
  good.longitude = 37.5 / nav::kLongitudeUnit;
  good.bank = 350.0;
  good.magnetic_heading = 80.0;
  good.magnetic_variation = 9.5;
  good.true_heading = 89.5;
  good.sim_rate = 4.0;
  good.clock_seconds = 17.0;
  good.tick = 400.0;
  good.ground_speed = 300.0;
  good.sim_time = 20.0;
  nav::TksHostValues h;
  nav::take_host_values(h, good);
  EXPECT_NEAR(h.latitude, 52.0, 1e-9);
  EXPECT_NEAR(h.longitude, 37.5, 1e-9);
  EXPECT_DOUBLE_EQ(h.bank, -10.0);
  EXPECT_DOUBLE_EQ(h.sim_rate, 4.0);

  for (double bad : {kNaN, kInf, -kInf}) {
    nav::TksRawHost raw;
    raw.latitude = raw.longitude = raw.bank = raw.magnetic_heading = raw.magnetic_variation =
        raw.true_heading = raw.sim_rate = raw.clock_seconds = raw.tick = raw.ground_speed =
            raw.sim_time = bad;
    nav::TksHostValues k = h;
    nav::take_host_values(k, raw);
    EXPECT_DOUBLE_EQ(k.latitude, h.latitude);
    EXPECT_DOUBLE_EQ(k.longitude, h.longitude);
    EXPECT_DOUBLE_EQ(k.bank, h.bank);
    EXPECT_DOUBLE_EQ(k.magnetic_heading, h.magnetic_heading);
    EXPECT_DOUBLE_EQ(k.magnetic_variation, h.magnetic_variation);
    EXPECT_DOUBLE_EQ(k.true_heading, h.true_heading);
    EXPECT_DOUBLE_EQ(k.sim_rate, h.sim_rate);
    EXPECT_DOUBLE_EQ(k.clock_seconds, h.clock_seconds);
    EXPECT_DOUBLE_EQ(k.tick, h.tick);
    EXPECT_DOUBLE_EQ(k.ground_speed, h.ground_speed);
    EXPECT_DOUBLE_EQ(k.sim_time, h.sim_time);
  }

  const struct {
    double bank, folded;
  } banks[] = {{10, 10}, {190, -170}, {-190, 170}, {360, 0}, {725, 5}};
  for (const auto& b : banks) {
    nav::TksRawHost raw = good;
    raw.bank = b.bank;
    nav::take_host_values(h, raw);
    EXPECT_NEAR(h.bank, b.folded, 1e-9) << b.bank;
  }
  const struct {
    double raw, used;
  } rates[] = {{0.25, 0.25}, {1000.0, 128.0}, {-3.0, 0.0}};
  for (const auto& r : rates) {
    nav::TksRawHost raw = good;
    raw.sim_rate = r.raw;
    nav::take_host_values(h, raw);
    EXPECT_DOUBLE_EQ(h.sim_rate, r.used) << r.raw;
  }
  nav::TksRawHost raw = good;
  raw.latitude = 1e300;
  nav::take_host_values(h, raw);
  EXPECT_DOUBLE_EQ(h.latitude, 90.0);
}

TEST_F(Tks, HugeHostValuesGiveFiniteHeadings) {
  power_both();
  p.bgmk1_switch = p.bgmk2_switch = 1;
  in.host.true_heading = 1e300;
  in.host.magnetic_heading = -1e300;
  in.host.longitude = 1e300;
  in.host.bank = 179.0;
  s.declination_1 = 1e300;
  s.astro_heading = -1e300;
  for (int mode : {-1, 0, 1}) {
    p.tks_mode = static_cast<std::int8_t>(mode);
    frames(40);
    for (double v : {s.ga1_heading, s.ga2_heading, s.mk1_heading, s.mk2_heading,
                     s.compass_filtered, s.ga1_offset, s.ga2_offset})
      EXPECT_TRUE(std::isfinite(v)) << mode;
  }
}

// Copies for other gauges --------------------------------------------------------------

TEST_F(Tks, CopiesShowThePreviousFramesHeadings) {
  power_both();
  p.bgmk1_switch = 1;
  nav::TksPublished out;
  nav::TksForeign foreign;
  foreign.gear_lever = 2;
  foreign.rv1_decision_height = 60.0;
  foreign.nvu_zpu = 123.0;
  foreign.nvu_z = -450.0;
  for (int i = 0; i < 5; ++i) {
    in.host.true_heading = 10.0 * i;
    nav::tks_publish(out, s, p, foreign);
    const double ga1 = s.ga1_heading, ga2 = s.ga2_heading, mk1 = s.mk1_heading;
    EXPECT_DOUBLE_EQ(out.ga1_heading, ga1);
    EXPECT_DOUBLE_EQ(out.main_heading, ga1) << "consumers_main is 1";
    frame();
    if (i > 0) {
      EXPECT_NE(s.ga1_heading, ga1);
    }
    EXPECT_DOUBLE_EQ(out.ga1_heading, ga1);
    EXPECT_DOUBLE_EQ(out.ga2_heading, ga2);
    EXPECT_DOUBLE_EQ(out.mk1_heading, mk1);
  }
  p.consumers_main = 0;
  p.tks_mode = -1;
  nav::tks_publish(out, s, p, foreign);
  EXPECT_DOUBLE_EQ(s.main_heading, s.ga2_heading);
  EXPECT_DOUBLE_EQ(out.main_heading, s.ga2_heading);
  EXPECT_EQ(out.tks_mode, -1);
  EXPECT_EQ(out.sound_gear, 1);
  EXPECT_DOUBLE_EQ(out.vpr_out, 60.0);
  EXPECT_DOUBLE_EQ(out.nvu_zpu, 123.0);
  EXPECT_DOUBLE_EQ(out.nvu_snos, -450.0);
  EXPECT_EQ(out.ga1_failed, 0);
}

TEST(TksSensor, SelectionFollowsTheTwoSourceSwitches) {
  nav::NavSensorValues v;
  v.i21_n1.lateral_deviation = 1.0;
  v.i21_n2.lateral_deviation = 2.0;
  v.gps_n1.lateral_deviation = 3.0;
  const struct {
    int gps, n1;
    double selected;
  } cases[] = {{2, 1, 3.0}, {2, 0, 3.0}, {0, 1, 1.0}, {1, 1, 1.0}, {0, 0, 2.0}, {0, 5, 2.0}};
  for (const auto& c : cases) {
    nav::select_sensor(v, c.gps, c.n1);
    EXPECT_DOUBLE_EQ(v.selected.lateral_deviation, c.selected) << c.gps << " " << c.n1;
  }
}

// TKS_Pult and KM5 ---------------------------------------------------------------------

TEST(TksPult, AlignmentRateIsOneWheneverTheCounterIsAtZero) {
  TksPanel p;
  EXPECT_EQ(p.align_rate, 0);
  nav::tks_pult_frame(p);
  EXPECT_EQ(p.align_rate, 1) << "from the panel's first frame";
  nav::align_press(p);
  for (int i = 0; i < 17; ++i) {
    nav::tks_pult_frame(p);
    EXPECT_EQ(p.align_rate, 120) << i;
  }
  nav::tks_pult_frame(p);
  EXPECT_EQ(p.align_frames, 0);
  EXPECT_EQ(p.align_rate, 1);
  // A realignment by the route editor (9 frames) leaves the rate alone.
  p.align_frames = 9;
  for (int i = 0; i < 9; ++i) {
    nav::tks_pult_frame(p);
    EXPECT_EQ(p.align_rate, 1);
  }
  // Held: every repeat restarts the count.
  for (int i = 0; i < 40; ++i) {
    nav::align_press(p);
    nav::tks_pult_frame(p);
    EXPECT_EQ(p.align_rate, 120);
  }
}

TEST(TksPult, CourseKnobMovesTheSelectedGyroOnlyInModeZero) {
  const frame::u32 L = frame::kMouseLeft, R = frame::kMouseRight;
  const struct {
    int mode, correction_main;
    frame::u32 flags;
    int dir;
    double ga1, ga2;
  } cases[] = {
      {0, 0, L, +1, 0.0, 0.1},   {0, 0, R, -1, 0.0, -1.5}, {0, 1, L, -1, -0.1, 0.0},
      {0, 1, R | frame::kMouseRepeat, +1, 1.5, 0.0},       {1, 1, L, +1, 0.0, 0.0},
      {-1, 0, R, -1, 0.0, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mode << " " << c.correction_main << " " << c.dir);
    TksPanel p;
    TksState s;
    p.tks_mode = static_cast<std::int8_t>(c.mode);
    p.correction_main = c.correction_main;
    nav::course_knob_click(p, s, c.dir, c.flags);
    EXPECT_NEAR(s.ga1_offset, c.ga1, 1e-12);
    EXPECT_NEAR(s.ga2_offset, c.ga2, 1e-12);
    EXPECT_EQ(p.course_knob_dir, c.dir);
    for (int i = 0; i < 11; ++i) nav::tks_pult_frame(p);
    EXPECT_EQ(p.course_knob_dir, c.dir);
    nav::tks_pult_frame(p);
    EXPECT_EQ(p.course_knob_dir, 0);
  }
}

TEST(TksKm5, PowerOffClearsTheDisplayWhichWorksOnlyPowered) {
  int power = 0, display = 0;
  nav::km5_display_click(display, 0);
  EXPECT_EQ(display, 0);
  nav::km5_power_click(power, display);
  EXPECT_EQ(power, 1);
  nav::km5_display_click(display, 1);
  EXPECT_EQ(display, 1);
  nav::km5_power_click(power, display);
  EXPECT_EQ(power, 0);
  EXPECT_EQ(display, 0);
}

}  // namespace
