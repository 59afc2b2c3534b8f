#include <gtest/gtest.h>

#include <cmath>

#include "frame/patterns.h"
#include "tests/frame/fixture.h"

namespace frame {
namespace {

using testing::TestModule;

TEST(GuardedClick, Rules) {
  struct Case {
    const char* what;
    GuardedClick before;
    u32 flags;
    bool close_sets_on;
    int on;
    GuardedClick after;
  };
  const Case cases[] = {
      {"right closes an open guard and turns on", {1, 0}, kMouseRight, true, 1, {0, 1}},
      {"closing turns on to the third picture", {1, 0}, kMouseRight, true, 2, {0, 2}},
      {"closing keeps the switch where it stays", {1, 0}, kMouseRight, false, 1, {0, 0}},
      {"right opens a closed guard, switch kept", {0, 1}, kMouseRight, true, 1, {1, 1}},
      {"left toggles while open", {1, 0}, kMouseLeft, true, 1, {1, 1}},
      {"left toggles back off", {1, 1}, kMouseLeft, true, 1, {1, 0}},
      {"left does nothing while closed", {0, 1}, kMouseLeft, true, 1, {0, 1}},
      {"right wins when both bits are set", {1, 0}, kMouseLeft | kMouseRight, true, 1, {0, 1}},
  };
  for (const auto& c : cases) {
    GuardedClick got = guarded_click(c.before, c.flags, c.close_sets_on, c.on);
    EXPECT_EQ(got.guard, c.after.guard) << c.what;
    EXPECT_EQ(got.sw, c.after.sw) << c.what;
  }
}

TEST(KnobStep, ClampAndWrap) {
  const KnobRange clamp{0.2, 10.0, 0.0, 100.0, false};
  const KnobRange wrap{1.0, 10.0, 0.0, 360.0, true};
  struct Case {
    const char* what;
    double value;
    int dir;
    u32 flags;
    const KnobRange* range;
    double expect;
  };
  const Case cases[] = {
      {"small step up", 50.0, +1, kMouseLeft, &clamp, 50.2},
      {"large step down", 50.0, -1, kMouseRight, &clamp, 40.0},
      {"stays at the upper limit", 100.0, +1, kMouseRight, &clamp, 100.0},
      {"stays at the lower limit", 0.0, -1, kMouseLeft, &clamp, 0.0},
      {"clamps a large step", 95.0, +1, kMouseRight, &clamp, 100.0},
      {"wraps below zero to value + 360", 0.0, -1, kMouseLeft, &wrap, 359.0},
      {"wraps a large step below zero", 5.0, -1, kMouseRight, &wrap, 355.0},
      {"wraps above 360", 355.0, +1, kMouseRight, &wrap, 5.0},
      {"360 itself stays", 359.0, +1, kMouseLeft, &wrap, 360.0},
      {"NaN restarts at the minimum", NAN, +1, kMouseLeft, &clamp, 0.2},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(knob_step(c.value, c.dir, c.flags, *c.range), c.expect, 1e-9) << c.what;
}

TEST(Drums, SplitAndCarry) {
  struct Case {
    const char* what;
    double number;
    int n;
    std::vector<double> shown;  // lowest first
  };
  const Case cases[] = {
      {"plain digits", 123.0, 3, {300, 200, 100}},
      {"lowest drum turns continuously", 12.5, 3, {250, 100, 0}},
      {"one nine rolls the next drum", 19.5, 3, {950, 150, 0}},
      {"a chain of nines rolls together", 199.5, 3, {950, 950, 150}},
      {"a broken chain stops at the first non-nine", 109.5, 3, {950, 50, 100}},
      {"exactly 9.0 is not yet turning", 9.0, 2, {900, 0}},
      {"negative wraps as an odometer", -1.0, 2, {900, 900}},
      {"beyond the drums wraps", 1234.0, 3, {400, 300, 200}},
      {"NaN shows zeros", NAN, 2, {0, 0}},
  };
  for (const auto& c : cases) {
    DrumValues d = drum_split(c.number, c.n);
    ASSERT_EQ(d.n, c.n) << c.what;
    for (int k = 0; k < c.n; ++k)
      EXPECT_NEAR(drum_show(d, k), c.shown[static_cast<std::size_t>(k)], 1e-6)
          << c.what << " drum " << k;
  }
}

TEST(LampPicture, PowerConditionAndTest) {
  struct Case {
    int power;
    bool condition;
    int test;
    double picture;
  };
  const Case cases[] = {{1, false, 0, -1}, {1, true, 0, 0}, {1, false, 1, 0},
                        {0, true, 1, -1},  {0, false, 1, -1}, {2, true, 0, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(lamp_picture(c.power, c.condition, c.test), c.picture)
        << c.power << c.condition << c.test;
}

// The patterns as declared on gauges, worked through their records.
class PatternGauges : public ::testing::Test {
 protected:
  PatternGauges()
      : m({{"toggle", 15}, {"guarded", 15}, {"spring", 15}, {"select", 15}, {"knob", 80},
           {"lamp", 40}, {"drum", 80}, {"text", 60}}) {
    toggle(m.gauge("toggle"), "sw", sw);
    guarded(m.gauge("guarded"), guard, gsw);
    spring(m.gauge("spring"), "test", test_pos, test_counter, 1, 14, {{0}, {2}});
    selector(m.gauge("select"), "mode", lever, {-1, 0, 1}, 1);
    knob(m.gauge("knob"), "lat", lat,
         {.range = {1.0, 10.0, 0.0, 90.0, false},
          .enabled = [this] { return power == 1; },
          .turn = &turn});
    lamp(m.gauge("lamp"), "o", power, lamp_test, [this] { return cond; });
    drums(m.gauge("drum"), "s", 3, [this] { return counter; });
    text_display(m.gauge("text"), "lat_text", 6, "%4.1f", [this] { return lat; });
    m.seal();
  }
  TestModule m;
  int sw = 0, guard = 1, gsw = 0, test_pos = 1, test_counter = 0, power = 1, lamp_test = 0;
  std::int8_t lever = 0;
  double lat = 45.0, counter = 0.0;
  KnobTurn turn;
  bool cond = false;
};

TEST_F(PatternGauges, ToggleInvertsAndShowsPicture) {
  EXPECT_EQ(m.value("toggle", 1), 0.0);
  m.click("toggle", 0);
  EXPECT_EQ(sw, 1);
  EXPECT_EQ(m.value("toggle", 1), 1.0);
  m.click("toggle", 0);
  EXPECT_EQ(sw, 0);
}

TEST_F(PatternGauges, GuardedSwitchOneAreaBothButtons) {
  ASSERT_EQ(m.areas("guarded").size(), 1u);
  EXPECT_EQ(m.areas("guarded")[0]->flags, kMouseLeft | kMouseRight);
  m.click("guarded", 0, kMouseRight);  // close the open guard: switch on
  EXPECT_EQ(guard, 0);
  EXPECT_EQ(gsw, 1);
  m.click("guarded", 0, kMouseLeft);  // closed: no effect
  EXPECT_EQ(gsw, 1);
  EXPECT_EQ(m.value("guarded", 1), 0.0);  // guard picture
  EXPECT_EQ(m.value("guarded", 2), 1.0);  // switch picture
}

TEST_F(PatternGauges, SpringReturnsToRestAfterItsCount) {
  m.click("spring", 1);  // position 2
  EXPECT_EQ(test_pos, 2);
  m.frames("spring", 13);
  EXPECT_EQ(test_pos, 2);
  m.frames("spring", 1);
  EXPECT_EQ(test_pos, 1);
  m.click("spring", 0);
  EXPECT_EQ(test_pos, 0);
  m.click("spring", 0);  // pressed again: the hold starts anew
  m.frames("spring", 13);
  EXPECT_EQ(test_pos, 0);
  m.frames("spring", 1);
  EXPECT_EQ(test_pos, 1);
}

TEST_F(PatternGauges, SignedLeverShowsValuePlusOne) {
  auto a = m.areas("select");
  ASSERT_EQ(a.size(), 3u);
  m.click("select", 0);
  EXPECT_EQ(lever, -1);
  EXPECT_EQ(m.value("select", 1), 0.0);
  m.click("select", 2);
  EXPECT_EQ(lever, 1);
  EXPECT_EQ(m.value("select", 1), 2.0);
}

TEST_F(PatternGauges, KnobStepsOnlyWhilePoweredAndAnimates) {
  auto a = m.areas("knob");
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[0]->cursor, kCursorDown);
  EXPECT_EQ(a[1]->cursor, kCursorUp);
  EXPECT_TRUE(a[1]->flags & kMouseRepeat);
  m.click("knob", 1, kMouseRight);
  EXPECT_EQ(lat, 55.0);
  EXPECT_EQ(m.value("knob", 1), 2.0);  // turning up: direction + 1
  m.frames("knob", 11);
  EXPECT_EQ(turn.dir, 1);
  m.frames("knob", 1);
  EXPECT_EQ(turn.dir, 0);
  EXPECT_EQ(m.value("knob", 1), 1.0);
  power = 0;
  m.click("knob", 0);
  EXPECT_EQ(lat, 55.0);
}

TEST_F(PatternGauges, LampFollowsPowerConditionAndTest) {
  EXPECT_EQ(m.value("lamp", 1), -1.0);
  lamp_test = 1;
  EXPECT_EQ(m.value("lamp", 1), 0.0);
  power = 0;
  EXPECT_EQ(m.value("lamp", 1), -1.0);
}

TEST_F(PatternGauges, DrumElementsShowTheCarry) {
  counter = 199.5;
  EXPECT_NEAR(m.value("drum", 1), 950.0, 1e-9);
  EXPECT_NEAR(m.value("drum", 2), 950.0, 1e-9);
  EXPECT_NEAR(m.value("drum", 3), 150.0, 1e-9);
}

TEST_F(PatternGauges, TextDisplayStaysInsideItsCapacity) {
  EXPECT_EQ(m.text("text", 1), "45.0");
  lat = 1e300;
  EXPECT_LE(m.text("text", 1).size(), 6u);
  lat = NAN;
  EXPECT_EQ(m.text("text", 1), " 0.0");
}

}  // namespace
}  // namespace frame
