// The course indicators' steps and element values, and USH-3, without a host.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "frame/gauge.h"
#include "frame/patterns.h"
#include "nav/course_indicator.h"

namespace nav {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr frame::u32 kLeft = frame::kMouseLeft;
constexpr frame::u32 kRight = frame::kMouseRight;

// A powered indicator whose card already stands on its target.
class Pnp : public ::testing::Test {
 protected:
  CourseIndicator c;
  PnpInputs in;

  void SetUp() override {
    in.gyro_switch = 1;
    in.gyro_source = 1;
    in.gyro_heading = 90.0;
    in.magnetic_heading = 95.0;
    c.card = c.card_target = c.pointer = c.pointer_target = 90.0;
    for (auto& r : in.rx) r.breaker_on = 1;
  }
  // A fresh powered indicator and inputs, for loops over cases.
  void reset() {
    c = CourseIndicator{};
    in = PnpInputs{};
    SetUp();
  }
  void step(bool right = false, int frames = 1) {
    for (int i = 0; i < frames; ++i) course_indicator_step(c, right, in);
  }
  // Receiver n received a VOR (or a localizer) with these needles.
  void station(int n, bool localizer, double cdi, int to_from = 1) {
    radio::NavReceiver& r = in.rx[static_cast<std::size_t>(n)];
    r.active = 1;
    r.ils_tuned = localizer ? 1 : 0;
    r.to_from = to_from;
    r.cdi = cdi;
  }
};

// Power and card ----------------------------------------------------------------

TEST_F(Pnp, PoweredOnlyWhenTheProductIsExactlyOne) {
  struct Case {
    int sw, second, main, powered;
  };
  for (const Case k : {Case{1, 1, 1, 1}, Case{0, 1, 1, 0}, Case{1, 0, 1, 0}, Case{1, 1, 0, 0},
                       Case{2, 1, 1, 0}}) {
    in.gyro_switch = k.sw;
    in.second_bus = k.second;
    in.main_bus = k.main;
    step();
    EXPECT_EQ(c.powered, k.powered) << k.sw << k.second << k.main;
  }
}

TEST_F(Pnp, CardTargetFromTheSelectedSourceWhilePowered) {
  step();
  EXPECT_DOUBLE_EQ(c.card_target, 90.0);
  in.gyro_source = 0;
  step();
  EXPECT_DOUBLE_EQ(c.card_target, 95.0);
  in.gyro_switch = 0;
  in.magnetic_heading = 200.0;
  step();
  EXPECT_DOUBLE_EQ(c.card_target, 95.0) << "kept while unpowered";
  in.gyro_switch = 1;
  in.magnetic_heading = kNaN;
  step();
  EXPECT_DOUBLE_EQ(c.card_target, 95.0) << "a heading that is no number is not taken";
}

TEST(Slew, TurnsTwoAndAHalfPerFrameAndSnapsWithinFour) {
  struct Case {
    double value, target;
    int powered;
    double after;
  };
  const Case cases[] = {
      {80.0, 90.0, 1, 82.5},  {82.5, 90.0, 1, 85.0},  {85.0, 90.0, 1, 87.5},
      {87.5, 90.0, 1, 90.0},  {86.0, 90.0, 1, 90.0},   {94.0, 90.0, 0, 90.0},  // within 4
      {85.9, 90.0, 1, 88.4},  {1.0, 359.0, 1, 359.0},  // snaps across north
      {350.0, 10.0, 1, 352.5}, {10.0, 350.0, 1, 7.5},   // the shorter way round
      {358.0, 1.0, 0, 1.0},   {80.0, 90.0, 0, 80.0},   // unpowered: only the snap
      {100.0, 90.0, 1, 97.5}, {90.0, 270.0, 1, 87.5},  // half a turn: +-180 counts as left
      {kNaN, 45.0, 1, 45.0},  {45.0, kNaN, 1, 45.0},
  };
  for (const Case& k : cases)
    EXPECT_DOUBLE_EQ(slew(k.value, k.target, k.powered), k.after) << k.value << " " << k.target;
}

TEST_F(Pnp, CardTenDegreesOffMovesThreeTimesThenSnaps) {
  c.card = 80.0;
  const double seen[] = {82.5, 85.0, 87.5, 90.0, 90.0};
  for (double v : seen) {
    step();
    EXPECT_DOUBLE_EQ(c.card, v);
  }
}

// Modes, flags, bars --------------------------------------------------------------

TEST(RightMode, MappedFromItsButtons) {
  const std::int8_t expected[] = {kModeNone, kModeNvu, kModeVor1, kModeVor2, kModeIls};
  for (int sel = 0; sel < 5; ++sel) EXPECT_EQ(right_mode(sel), expected[sel]) << sel;
  EXPECT_EQ(right_mode(-1), kModeNone);
  EXPECT_EQ(right_mode(9), kModeNone);
}

TEST_F(Pnp, ApproachArmingForcesTheLeftToIlsOnly) {
  c.mode = kModeVor1;
  in.ap.approach_armed = 1;
  step();
  EXPECT_EQ(c.mode, kModeIls);
  CourseIndicator right;
  right.mode_selector = 2;
  course_indicator_step(right, true, in);
  EXPECT_EQ(right.mode, kModeVor1) << "the right follows its own buttons";
}

TEST_F(Pnp, FlagsBySource) {
  struct Case {
    std::int8_t mode;
    int rx;            // receiver with a station (-1 none)
    bool localizer;
    int gs_valid;
    int counting;
    int course_flag, glide_flag;
  };
  const Case cases[] = {
      {kModeIls, 0, true, 1, 0, 0, 0},   {kModeIls, 0, true, 0, 0, 0, 1},
      {kModeIls, 0, false, 1, 0, 1, 0},  {kModeIls, 1, true, 0, 0, 1, 1},
      {kModeVor1, 0, false, 0, 0, 0, 1}, {kModeVor1, 0, true, 1, 0, 1, 1},
      {kModeVor2, 1, false, 0, 0, 0, 1}, {kModeVor2, 0, false, 0, 0, 1, 1},
      {kModeNvu, -1, false, 0, 1, 0, 1}, {kModeNvu, -1, false, 0, 0, 1, 1},
      {kModeRsbn, 0, false, 0, 1, 1, 1}, {kModeNone, 0, false, 0, 1, 1, 1},
      {7, 0, false, 0, 1, 1, 1},
  };
  for (const Case& k : cases) {
    reset();
    in.rx = {};
    if (k.rx >= 0) station(k.rx, k.localizer, 0.0);
    in.rx[0].gs_valid = k.gs_valid;
    in.nvu.counting = k.counting;
    c.mode = k.mode;
    step();
    EXPECT_EQ(c.course_flag, k.course_flag) << int{k.mode} << " rx " << k.rx;
    EXPECT_EQ(c.glide_flag, k.glide_flag) << int{k.mode} << " rx " << k.rx;
  }
}

TEST_F(Pnp, UnpoweredShowsBothFlagsAndNoBars) {
  station(0, true, 100.0);
  in.rx[0].gs_valid = 1;
  in.rx[0].gs_needle = 50.0;
  c.mode = kModeIls;
  in.gyro_switch = 0;
  step();
  EXPECT_EQ(c.course_flag, 1);
  EXPECT_EQ(c.glide_flag, 1);
  EXPECT_DOUBLE_EQ(c.lateral_bar, 0.0);
  EXPECT_DOUBLE_EQ(c.glide_bar, 0.0);
}

TEST_F(Pnp, HeadingFlagFromTheGyroFailure) {
  in.gyro_failed = 1;
  step();
  EXPECT_EQ(c.heading_flag, 1);
  in.gyro_failed = 0;
  step();
  EXPECT_EQ(c.heading_flag, 0);
}

TEST_F(Pnp, BarsBySource) {
  struct Case {
    std::int8_t mode;
    bool right;
    int rx;
    bool localizer;
    int breaker_1;
    double cdi, gs, z;
    double lateral, glide;
  };
  const Case cases[] = {
      {kModeIls, false, 0, true, 1, 100.0, -40.0, 0.0, 51.0, -40.0},
      {kModeIls, false, 0, true, 0, 100.0, -40.0, 0.0, 0.0, -40.0},  // left: glide without breaker
      {kModeIls, true, 0, true, 0, 100.0, -40.0, 0.0, 0.0, 0.0},     // right needs it
      {kModeIls, false, 0, false, 1, 100.0, -40.0, 0.0, 0.0, -40.0},  // VOR on receiver 1
      {kModeVor1, false, 0, true, 1, 100.0, 30.0, 0.0, 0.0, 0.0},    // localizer in mode 1
      {kModeVor1, false, 0, false, 1, -50.0, 30.0, 0.0, -25.5, 0.0},
      {kModeVor2, false, 1, false, 1, 20.0, 30.0, 0.0, 10.2, 0.0},
      {kModeNvu, false, -1, false, 1, 0.0, 0.0, 2000.0, -10.0, 0.0},
      {kModeNvu, false, -1, false, 1, 0.0, 0.0, -12000.0, 60.0, 0.0},
      {kModeRsbn, false, 0, false, 1, 100.0, 30.0, 2000.0, 0.0, 0.0},
      {kModeNone, false, 0, true, 1, 100.0, 30.0, 2000.0, 0.0, 0.0},
  };
  for (const Case& k : cases) {
    reset();
    in.rx = {};
    in.rx[1].breaker_on = 1;
    if (k.rx >= 0) station(k.rx, k.localizer, k.cdi);
    in.rx[0].breaker_on = k.breaker_1;
    in.rx[0].gs_needle = k.gs;
    in.nvu.active_z = k.z;
    c.mode_selector = k.mode == kModeIls ? 4 : k.mode == kModeVor1 ? 2 : 0;
    c.mode = k.mode;
    step(k.right);
    if (k.right) {
      ASSERT_EQ(c.mode, k.mode);
    }
    EXPECT_NEAR(c.lateral_bar, k.lateral, 1e-12) << int{k.mode} << (k.right ? " right" : " left");
    EXPECT_NEAR(c.glide_bar, k.glide, 1e-12) << int{k.mode} << (k.right ? " right" : " left");
  }
}

TEST_F(Pnp, NavigationComputerBarIsLimitedOnTheDisplay) {
  c.mode = kModeNvu;
  struct Case {
    double z, bar;
  };
  for (const Case k : {Case{2000.0, -10.0}, Case{12000.0, -60.0}, Case{50000.0, -60.0},
                       Case{-2000.0, 10.0}, Case{-1e12, 60.0}}) {
    in.nvu.active_z = k.z;
    step();
    EXPECT_DOUBLE_EQ(pnp_readings(c).lateral_x, k.bar) << k.z;
  }
  // The outside GPS instead, with AZS_NAV_I21_GPS at 2.
  in.gps.selected = 1;
  in.gps.lateral_deviation = 1000.0;
  step();
  EXPECT_NEAR(c.lateral_bar, -9.26, 1e-12);
}

TEST_F(Pnp, LocalizerInVorModeShowsNothing) {
  c.mode = kModeVor1;
  station(0, true, 80.0, 1);
  step();
  EXPECT_DOUBLE_EQ(c.lateral_bar, 0.0);
  EXPECT_EQ(c.course_flag, 1);
  EXPECT_EQ(c.show_to, 0);
  EXPECT_EQ(c.show_from, 0);
}

TEST_F(Pnp, ToFromTriangles) {
  struct Case {
    std::int8_t mode;
    int rx;
    bool localizer;
    int to_from;
    int powered;
    int to, from;
  };
  const Case cases[] = {
      {kModeVor1, 0, false, 1, 1, 1, 0}, {kModeVor1, 0, false, 2, 1, 0, 1},
      {kModeVor2, 1, false, 1, 1, 1, 0}, {kModeVor2, 1, false, 2, 1, 0, 1},
      {kModeVor1, 1, false, 1, 1, 0, 0},  // the other receiver
      {kModeVor1, 0, false, 1, 0, 0, 0},  // unpowered
      {kModeIls, 0, true, 1, 1, 0, 0},    {kModeNvu, 0, false, 1, 1, 0, 0},
      {kModeVor1, 0, false, 0, 1, 0, 0},
  };
  for (const Case& k : cases) {
    reset();
    in.rx = {};
    station(k.rx, k.localizer, 0.0, k.to_from);
    in.gyro_switch = k.powered;
    c.mode = k.mode;
    step();
    EXPECT_EQ(c.show_to, k.to) << int{k.mode} << " " << k.to_from;
    EXPECT_EQ(c.show_from, k.from) << int{k.mode} << " " << k.to_from;
  }
}

// Pointer ----------------------------------------------------------------------------

TEST_F(Pnp, PointerShowsTheSetTrackThroughTheSelectedTrackError) {
  c.zpu_set = 120.0;
  c.mode = kModeVor1;
  step();  // zpu_error = 90 - 120 = -30
  AutopilotCourseValues ap;
  in.selected_track_error = selected_track_error(ap, c, CourseIndicator{});
  EXPECT_DOUBLE_EQ(in.selected_track_error, -30.0);
  step();
  EXPECT_DOUBLE_EQ(c.pointer_target, 120.0);
  step(false, 20);
  EXPECT_DOUBLE_EQ(c.pointer, 120.0);
  EXPECT_DOUBLE_EQ(pnp_readings(c).zpu_pointer, 300.0);  // 120 - 90 - 90 + 360
}

TEST(SelectedTrackError, ByCourseSource) {
  CourseIndicator left, right;
  left.zpu_error = -5.0;
  right.zpu_error = 7.0;
  struct Case {
    int source;
    double error;
  };
  for (const Case k : {Case{0, -5.0}, Case{2, 7.0}, Case{1, 0.0}, Case{3, 0.0}}) {
    AutopilotCourseValues ap;
    ap.course_source = k.source;
    EXPECT_DOUBLE_EQ(selected_track_error(ap, left, right), k.error) << k.source;
  }
}

TEST_F(Pnp, PointerInNavigationComputerMode) {
  c.mode = kModeNvu;
  in.nvu.powered = 1;
  in.nvu.zpu_minus_heading = 15.0;
  step();
  EXPECT_DOUBLE_EQ(c.pointer_target, 105.0);
  in.gps.selected = 1;
  in.host_magnetic_heading = 10.0;
  in.gps.track_difference = 25.0;
  step();
  EXPECT_DOUBLE_EQ(c.pointer_target, 345.0);

  // Unpowered: the left keeps its target, the right follows the computer.
  in.gps.selected = 0;
  in.gyro_switch = 0;
  step();
  EXPECT_DOUBLE_EQ(c.pointer_target, 345.0);
  c.mode_selector = 1;
  step(true);
  EXPECT_DOUBLE_EQ(c.pointer_target, 105.0);

  // RSBN mode leaves it.
  in.gyro_switch = 1;
  c.mode = kModeRsbn;
  c.pointer_target = 33.0;
  step();
  EXPECT_DOUBLE_EQ(c.pointer_target, 33.0);
}

// Errors and the set heading -------------------------------------------------------

TEST_F(Pnp, ErrorsHaveTheGeometrysSignsAndSizes) {
  struct Case {
    double heading, zk_set, zpu_set;
    double zk_error, zpu_error;
  };
  const Case cases[] = {
      // heading 80, set heading 90: ten degrees left of it
      {80.0, 90.0, 75.0, -10.0, 5.0},
      {355.0, 5.0, 345.0, -10.0, 10.0},      // across north
      {5.0, 355.0, 15.0, 10.0, -10.0},
      {80.0, 90.0 + 720.0, 75.0 - 720.0, -10.0, 5.0},  // set values that arrive unwrapped
      {80.0, -270.0, 435.0, -10.0, 5.0},
  };
  for (const Case& k : cases) {
    reset();
    in.gyro_heading = k.heading;
    c.card = c.card_target = k.heading;
    c.zk_set = k.zk_set;
    c.zpu_set = k.zpu_set;
    step();
    EXPECT_NEAR(c.zk_error, k.zk_error, 1e-9) << k.heading << " " << k.zk_set;
    EXPECT_NEAR(c.zpu_error, k.zpu_error, 1e-9) << k.heading << " " << k.zpu_set;
  }
}

TEST_F(Pnp, TheUnselectedIndicatorFollowsTheSelectedSetHeading) {
  // Key_PNP_ZK_Sel at 1: the right is selected, the left follows it.
  in.zk_sel = 1;
  in.other_zk_error = -20.0;  // the right's card is 20 degrees left of its set heading
  c.zk_set = 0.0;
  step();
  EXPECT_DOUBLE_EQ(c.zk_set, 110.0);
  EXPECT_DOUBLE_EQ(pnp_readings(c).zk_marker, 20.0) << "the right's set heading relative to the card";
  // The right follows the left while the key is at 0.
  in.zk_sel = 0;
  CourseIndicator right = c;
  right.zk_set = 0.0;
  in.other_zk_error = 15.0;
  course_indicator_step(right, true, in);
  EXPECT_DOUBLE_EQ(right.zk_set, 75.0);
  // And the selected one keeps its own.
  c.zk_set = 42.0;
  step();
  EXPECT_DOUBLE_EQ(c.zk_set, 42.0);
  EXPECT_DOUBLE_EQ(pnp_readings(c).zk_marker, 312.0);     // 42 - 90 + 360
  EXPECT_DOUBLE_EQ(pnp_readings(c).zk_marker_90, 222.0);  // a further -90
}

TEST_F(Pnp, MarkerKeepsItsPlaceWhileUnpowered) {
  c.zk_set = 100.0;
  step();
  EXPECT_DOUBLE_EQ(pnp_readings(c).zk_marker, 10.0);
  in.gyro_switch = 0;
  c.zk_set = 200.0;
  step();
  EXPECT_DOUBLE_EQ(pnp_readings(c).zk_marker, 10.0);
}

// Knobs and counters ---------------------------------------------------------------

TEST(PnpKnobs, SetHeadingAndTrackWrap) {
  struct Case {
    const frame::KnobRange* range;
    double value;
    int dir;
    frame::u32 flags;
    double after;
  };
  const Case cases[] = {
      {&kZkKnob, 359.5, +1, kLeft, 360.0}, {&kZkKnob, 0.0, -1, kLeft, 359.5},
      {&kZkKnob, 358.0, +1, kRight, 1.0},  {&kZkKnob, 1.0, -1, kRight, 358.0},
      {&kZkKnob, 725.0, +1, kLeft, 5.5},   // unwrapped by the joystick
      {&kZpuKnob, 359.0, +1, kLeft, 360.0}, {&kZpuKnob, 358.0, +1, kRight, 3.0},
      {&kZpuKnob, 2.0, -1, kRight, 357.0},  {&kZpuKnob, -30.0, -1, kLeft, 329.0},
  };
  for (const Case& k : cases)
    EXPECT_DOUBLE_EQ(frame::knob_step(k.value, k.dir, k.flags, *k.range), k.after)
        << k.value << " " << k.dir;
}

TEST(PnpKnobs, DistanceKnobLimits) {
  struct Case {
    int value, dir;
    frame::u32 flags;
    int after;
  };
  const Case cases[] = {
      {989, +1, kRight, 989}, {989, +1, kLeft, 990}, {988, +1, kRight, 998},
      {999, +1, kLeft, 999},  {998, +1, kLeft, 999}, {9, -1, kRight, 9},
      {10, -1, kRight, 0},    {0, -1, kLeft, 0},     {1, -1, kLeft, 0},
      {5, +1, kLeft, 6},
  };
  for (const Case& k : cases)
    EXPECT_EQ(distance_knob(k.value, k.dir, k.flags), k.after) << k.value << " " << k.dir;
}

TEST_F(Pnp, CounterDrums) {
  struct Case {
    double zpu;
    std::array<int, 3> drums;
  };
  const Case cases[] = {
      {359.5, {950, 500, 300}},  // 359 with the units drum at its 9.5 position
      {0.0, {0, 0, 0}},          {123.45, {345, 200, 100}},
      {-5.0, {500, 900, 900}},   // negative: rolls back as an odometer
      {kNaN, {0, 0, 0}},
      {1e300, {808, 500, 700}},  // huge: the checked conversion's limit, rolled round
  };
  for (const Case& k : cases) {
    c.zpu_set = k.zpu;
    step();
    EXPECT_EQ(c.zpu_drum, k.drums) << k.zpu;
  }
  // What the drums show: the tens drum rolls on with the units' last tenth.
  c.zpu_set = 359.5;
  step();
  const frame::DrumValues d = frame::drum_split(drum_number(c.zpu_drum), 3);
  EXPECT_DOUBLE_EQ(frame::drum_show(d, 0), 950.0);
  EXPECT_DOUBLE_EQ(frame::drum_show(d, 1), 550.0);
  EXPECT_DOUBLE_EQ(frame::drum_show(d, 2), 300.0);

  in.distance_set = 5;
  step();
  EXPECT_EQ(c.distance_drum, (std::array<int, 3>{500, 0, 0}));
}

// Element values -----------------------------------------------------------------------

TEST(PnpReadings, WrappedNeedlesAndLimitedBars) {
  CourseIndicator c;
  c.card = 350.0;
  c.pointer = 10.0;
  c.lateral_bar = 75.0;
  c.glide_bar = -200.0;
  const PnpReadings r = pnp_readings(c);
  EXPECT_DOUBLE_EQ(r.deviation_scale, 20.0);
  EXPECT_DOUBLE_EQ(r.to_triangle, 290.0);
  EXPECT_DOUBLE_EQ(r.from_triangle, 110.0);
  EXPECT_DOUBLE_EQ(r.lateral_x, 60.0);
  EXPECT_DOUBLE_EQ(r.lateral_rot, 20.0);
  EXPECT_DOUBLE_EQ(r.glide_y, -119.0);
  EXPECT_DOUBLE_EQ(r.zpu_pointer, 290.0);
}

TEST(PnpReadings, DriftPointer) {
  struct Case {
    double drift, shown;
  };
  for (const Case k : {Case{0.0, -90.0}, Case{20.0, -70.0}, Case{25.0, -70.0},
                       Case{-20.0, -110.0}, Case{-21.0, -110.0}, Case{5.5, -84.5},
                       Case{kNaN, -90.0}}) {
    CourseIndicator c;
    c.drift_pointer = k.drift;
    EXPECT_DOUBLE_EQ(pnp_readings(c).drift, k.shown) << k.drift;
  }
}

TEST_F(Pnp, DriftOnlyWhileTheDopplerMeasures) {
  in.diss_memory = 0;
  in.diss_drift = 4.0;
  step();
  EXPECT_DOUBLE_EQ(c.drift_pointer, 4.0);
  in.diss_memory = 1;
  in.diss_drift = 9.0;
  step();
  EXPECT_DOUBLE_EQ(c.drift_pointer, 4.0);
}

TEST(ZpuRedFlag, HiddenOnlyWhenTheAutopilotFliesThisIndicatorsOwnTrack) {
  struct Case {
    bool right;
    int lat_mode, course_source, sau_stu;
    bool shown;
  };
  const Case cases[] = {
      {false, 0, 0, 1, false}, {false, 4, 0, 1, true}, {false, 0, 2, 1, true},
      {false, 0, 0, 0, true},  {true, 0, 2, 1, false}, {true, 0, 0, 1, true},
      {true, 4, 2, 1, true},   {true, 0, 1, 1, false},
  };
  for (const Case& k : cases) {
    AutopilotCourseValues ap;
    ap.lat_mode = k.lat_mode;
    ap.course_source = k.course_source;
    EXPECT_EQ(zpu_red_flag(k.right, ap, k.sau_stu), k.shown)
        << k.right << " " << k.lat_mode << " " << k.course_source << " " << k.sau_stu;
  }
}

// USH-3 ---------------------------------------------------------------------------------

TEST(Ush3, ModePicture) {
  struct Case {
    int tks_mode, consumers_main, correction_main, picture;
  };
  const Case cases[] = {{-1, 1, 1, 0}, {-1, 0, 0, 0}, {-1, 1, 0, 1}, {1, 0, 0, 2},
                        {1, 1, 0, 1},  {0, 1, 1, 1},  {0, 0, 1, 1}};
  for (const Case& k : cases) {
    Ush3State s;
    Ush3Inputs in;
    in.tks_mode = k.tks_mode;
    in.consumers_main = k.consumers_main;
    in.correction_main = k.correction_main;
    ush3_step(s, in);
    EXPECT_EQ(s.mode_picture, k.picture) << k.tks_mode << k.consumers_main << k.correction_main;
  }
}

TEST(Ush3, NeedlesWrapAndTrackAddsDrift) {
  Ush3State s;
  Ush3Inputs in;
  in.ga1_heading = 45.0;
  in.ga2_heading = 10.0;
  in.diss_memory = 0;
  in.diss_drift = -5.0;
  ush3_step(s, in);
  const Ush3Needles n = ush3_needles(s);
  EXPECT_DOUBLE_EQ(n.ga1, 315.0);
  EXPECT_DOUBLE_EQ(n.track, 310.0);
  EXPECT_DOUBLE_EQ(n.ga2, 280.0);
  in.ga1_heading = kNaN;
  in.diss_memory = 1;
  in.diss_drift = 30.0;
  ush3_step(s, in);
  EXPECT_DOUBLE_EQ(s.ga1_heading, 45.0);
  EXPECT_DOUBLE_EQ(s.drift, -5.0);
}

}  // namespace
}  // namespace nav
