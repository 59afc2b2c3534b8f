// The panels' rules without a host: V-51's forced change, buttons and
// pointers, V-140's wrap and drums, the signed counters of V-52 and the
// additional counter, V-57's remembered wind and displays, and the lamps'
// conditions.
#include "nav/nvu_panels.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "frame/gauge.h"
#include "frame/patterns.h"
#include "nav/nvu.h"

namespace {

using nav::NvuPanel;
using nav::NvuState;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The digits a counter of n drums shows for a drum number (lowest first),
// and the lowest drum's value.
struct Shown {
  std::array<int, 8> digit{};
  double lowest = 0.0;
};
Shown shown(double number, int n) {
  const frame::DrumValues d = frame::drum_split(number, n);
  Shown s;
  for (int k = 0; k < n; ++k)
    s.digit[static_cast<std::size_t>(k)] = static_cast<int>(frame::drum_show(d, k) / 100.0);
  s.lowest = frame::drum_show(d, 0);
  return s;
}

// V-51 ----------------------------------------------------------------------

TEST(NvuV51, OneForcedChangePerTurnOfTheSelectorToMinusOne) {
  NvuPanel p;
  NvuState s;
  s.counting = 1;
  const struct {
    int lur, counting;
    int request;  // leg_switch_request after the frame (cleared by the test)
  } frames[] = {
      {0, 1, 0}, {-1, 1, 1}, {-1, 1, 0}, {-1, 1, 0},  // held at -1: once
      {0, 1, 0}, {-1, 0, 0}, {-1, 1, 1},              // armed until the computer counts
      {1, 1, 0}, {-1, 1, 0},                          // through 1, not 0: not armed
      {0, 1, 0}, {-1, 1, 1},
  };
  int i = 0;
  for (const auto& f : frames) {
    p.lur_select = static_cast<std::int8_t>(f.lur);
    s.counting = f.counting;
    s.leg_switch_request = 0;
    nav::nvu_v51_frame(p, s);
    EXPECT_EQ(s.leg_switch_request, f.request) << "frame " << i;
    ++i;
  }
}

TEST(NvuV51, CopiesThePositionsForTheComputer) {
  NvuPanel p;
  NvuState s;
  p.nvu_power_switch = 1;
  p.count_switch = 1;
  p.corr_switch = 1;
  p.counter_select = -2;
  p.lur_select = 4;
  nav::nvu_v51_frame(p, s);
  EXPECT_EQ(p.to_computer.power_switch, 1);
  EXPECT_EQ(p.to_computer.count_switch, 1);
  EXPECT_EQ(p.to_computer.corr_switch, 1);
  EXPECT_EQ(p.to_computer.counter_select, -2);
  EXPECT_EQ(p.to_computer.lur_select, 4);
}

TEST(NvuV51, ButtonsStepTheChosenValue) {
  const struct {
    int select;
    frame::u32 flags;
    double delta;
    double nav::NvuChannel::*field;
    bool active_channel;
  } cases[] = {
      {4, frame::kMouseLeft, 10.0, &nav::NvuChannel::z, true},
      {-4, frame::kMouseRight, 1000.0, &nav::NvuChannel::z, true},
      {3, frame::kMouseLeft, 25.0, &nav::NvuChannel::s, true},
      {-3, frame::kMouseRight, 2000.0, &nav::NvuChannel::s, true},
      {-1, frame::kMouseLeft, 25.0, &nav::NvuChannel::s_aux, true},     // Sм
      {-2, frame::kMouseRight, 1000.0, &nav::NvuChannel::z_aux, true},  // Zм
      {1, frame::kMouseRight, 2000.0, &nav::NvuChannel::s_aux, false},  // Sп
      {2, frame::kMouseLeft, 10.0, &nav::NvuChannel::z_aux, false},     // Zп
  };
  for (const auto& c : cases) {
    for (int dir : {-1, 1}) {
      NvuState s;
      s.powered = 1;
      s.active = 1;
      nav::nvu_v51_adjust(s, c.select, dir, c.flags);
      const nav::NvuChannel& changed = c.active_channel ? s.channel[1] : s.channel[0];
      EXPECT_DOUBLE_EQ(changed.*c.field, dir * c.delta) << c.select << " " << dir;
    }
  }
  NvuState s;
  s.powered = 1;
  nav::nvu_v51_adjust(s, 0, 1, frame::kMouseRight);
  for (const nav::NvuChannel& ch : s.channel)
    EXPECT_EQ(ch.s + ch.z + ch.s_aux + ch.z_aux, 0.0) << "off changes nothing";
  s.powered = 0;
  nav::nvu_v51_adjust(s, 3, 1, frame::kMouseRight);
  EXPECT_EQ(s.channel[0].s, 0.0) << "only while powered";
  s.powered = 1;
  s.channel[0].s = kNaN;
  nav::nvu_v51_adjust(s, 3, 1, frame::kMouseLeft);
  EXPECT_EQ(s.channel[0].s, 25.0) << "a damaged value starts from 0";
}

TEST(NvuV51, PointerAngles) {
  EXPECT_EQ(nav::nvu_counter_select_angle(-4), -210.0);
  EXPECT_EQ(nav::nvu_counter_select_angle(4), 30.0);
  EXPECT_EQ(nav::nvu_lur_select_angle(0), -150.0);
  EXPECT_EQ(nav::nvu_lur_select_angle(5), 0.0);
  EXPECT_EQ(nav::nvu_lur_select_angle(-1), -195.0) << "15 degrees further back";
}

// V-140 -----------------------------------------------------------------------

TEST(NvuV140, ZpuWrapsAboveZeroUpTo360AndShowsOnFourDrums) {
  const struct {
    double zpu;
    std::array<int, 4> digits;  // tenths, units, tens, hundreds
  } cases[] = {
      {0.1 - 0.1, {0, 0, 6, 3}},    // 360.0
      {360.0 + 0.1, {1, 0, 0, 0}},  // 0.1
      {-10.0, {0, 0, 5, 3}},        // 350.0
      {123.4, {4, 3, 2, 1}},       {360.0, {0, 0, 6, 3}},
      {kNaN, {0, 0, 6, 3}},  // a damaged value is north
  };
  for (const auto& c : cases) {
    const double wrapped = nav::nvu_zpu_wrap(c.zpu);
    EXPECT_GT(wrapped, 0.0) << c.zpu;
    EXPECT_LE(wrapped, 360.0) << c.zpu;
    const Shown d = shown(nav::nvu_zpu_drum_number(wrapped), 4);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(d.digit[k], c.digits[k]) << c.zpu << " " << k;
  }
  EXPECT_EQ(nav::nvu_zpu_drum_number(kNaN), 0.0);
  EXPECT_TRUE(std::isfinite(nav::nvu_zpu_drum_number(1e300))) << "saturated, no overflow";
}

TEST(NvuV140, DrumsFollowTheChannelsOnlyWhenRefreshed) {
  NvuPanel p;
  NvuState s;
  s.channel[0].zpu = 45.0;
  s.channel[1].zpu = 270.5;
  nav::nvu_v140_refresh(p, s);
  EXPECT_DOUBLE_EQ(p.zpu_drums[0], 450.0);
  EXPECT_DOUBLE_EQ(p.zpu_drums[1], 2705.0);
  s.channel[0].zpu = 90.0;
  EXPECT_DOUBLE_EQ(p.zpu_drums[0], 450.0);
}

// V-52 and the additional counter ------------------------------------------

TEST(NvuV52, SignedCountsInTheCounterScale) {
  const struct {
    double v, scale;
    std::array<int, 4> digits;  // lowest first
    double lowest;
    bool negative;
  } cases[] = {
      {-12345.0, 0.1, {2, 1, 0, 0}, 234.0, true},  // 0012, a third of the way from 2 to 3
      {-12345.0, 1.0, {3, 2, 1, 0}, 345.0, true},  // 0123
      {12345.0, 1.0, {3, 2, 1, 0}, 345.0, false},
      {0.0, 0.1, {0, 0, 0, 0}, 0.0, false},
  };
  for (const auto& c : cases) {
    const nav::SignedCount n = nav::nvu_signed_count(c.v, c.scale);
    const std::int32_t part = c.negative ? n.negative : n.positive;
    EXPECT_EQ(c.negative ? n.positive : n.negative, 0) << c.v << " " << c.scale;
    const Shown d = shown(nav::nvu_count_drums(part), 4);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(d.digit[k], c.digits[k]) << c.v << " " << k;
    EXPECT_NEAR(d.lowest, c.lowest, 1e-9) << c.v << " " << c.scale;
  }
}

TEST(NvuV52, ValuesBeyondTheDrumsOrNotNumbersAreDefined) {
  for (double v : {kNaN, 1e300, -1e300, std::numeric_limits<double>::infinity()}) {
    const nav::SignedCount n = nav::nvu_signed_count(v, 1.0);
    EXPECT_GE(n.positive, 0) << v;
    EXPECT_GE(n.negative, 0) << v;
    EXPECT_TRUE(std::isfinite(nav::nvu_count_drums(n.positive + 0)));
  }
  EXPECT_EQ(nav::nvu_signed_count(kNaN, 1.0).negative, 0);
  EXPECT_EQ(nav::nvu_signed_count(1e300, 1.0).positive, std::numeric_limits<std::int32_t>::max());
}

TEST(NvuExtraCounter, ShowsTheChosenValueAndHoldsItWhileUnpowered) {
  NvuState s;
  s.active = 1;
  s.channel[1] = {10.0, -1.0, -2.0, -3.0, -4.0};  // the active channel
  s.channel[0] = {20.0, -5.0, -6.0, -7.0, -8.0};
  const struct {
    int select;
    double value;
    int picture;
  } cases[] = {
      {3, -1.0, 1},  {-3, -1.0, 1}, {4, -2.0, 4}, {-4, -2.0, 4}, {-1, -3.0, 2},
      {-2, -4.0, 5}, {1, -7.0, 3},  {2, -8.0, 6}, {0, 0.0, 0},   {9, 0.0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(nav::nvu_extra_source(s, c.select), c.value) << c.select;
    EXPECT_EQ(nav::nvu_extra_picture(c.select), c.picture) << c.select;
  }
  NvuPanel p;
  p.to_computer.counter_select = 3;
  s.powered = 1;
  nav::nvu_extra_frame(p, s);
  EXPECT_EQ(p.extra_value, -1.0);
  s.powered = 0;
  s.channel[1].s = -99.0;
  nav::nvu_extra_frame(p, s);
  EXPECT_EQ(p.extra_value, -1.0);
}

// V-57 ------------------------------------------------------------------------

TEST(NvuV57, RemembersTheComputedWindWhileTheDopplerWorks) {
  const struct {
    int memory, counting;
    double remembered;  // direction after the frame
  } cases[] = {{0, 1, 95.0}, {1, 1, 40.0}, {0, 0, 40.0}};
  for (const auto& c : cases) {
    NvuPanel p;
    NvuState s;
    p.wind_memory_dir = 40.0;
    p.wind_memory_speed = 30.0;
    s.wind_dir = 95.0;
    s.wind_speed = 60.0;
    s.counting = c.counting;
    nav::nvu_v57_frame(p, s, c.memory);
    EXPECT_EQ(p.wind_memory_dir, c.remembered) << c.memory << c.counting;
    EXPECT_EQ(s.mem_wind_dir, p.wind_memory_dir) << "the computer takes the panel's wind";
    EXPECT_EQ(s.mem_wind_speed, p.wind_memory_speed);
  }
}

TEST(NvuV57, KnobsOnlyInMemoryModeWhilePowered) {
  NvuState s;
  s.powered = 1;
  EXPECT_TRUE(nav::nvu_wind_knobs_enabled(s, 1));
  EXPECT_FALSE(nav::nvu_wind_knobs_enabled(s, 0)) << "the doppler works";
  s.powered = 0;
  EXPECT_FALSE(nav::nvu_wind_knobs_enabled(s, 1));
}

TEST(NvuV57, DirectionDisplayWrapsAt360) {
  const struct {
    double delta, dir, shown;
  } cases[] = {
      {0.0, 360.0, 360.0},                      // 360.00 itself stays
      {0.01, 360.0, 0.01},                      // above it wraps
      {20.0, 350.0, 10.0}, {-5.0, 2.0, 357.0},  // below 0
      {-99.0, 0.0, 261.0}, {0.0, kNaN, 0.0},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(nav::nvu_wind_dir_drums(c.delta, c.dir), c.shown, 1e-9) << c.delta << " " << c.dir;
  EXPECT_NEAR(nav::nvu_wind_speed_drums(123.45), 123.45, 1e-9);
}

// Lamps -----------------------------------------------------------------------

TEST(NvuLamps, LegChangeLampAndMemoryLamp) {
  const struct {
    int counting, warn_on, powered, lur;
    bool lit;
  } cases[] = {
      {1, 1, 1, 2, true},   {0, 1, 1, 2, false},
      {1, 0, 1, 2, false},  {0, 0, 1, -1, true},  // the forced-change position while powered
      {0, 0, 0, -1, false},
  };
  for (const auto& c : cases) {
    NvuState s;
    NvuPanel p;
    s.counting = c.counting;
    s.warn_on = c.warn_on;
    s.powered = c.powered;
    p.lur_select = static_cast<std::int8_t>(c.lur);
    EXPECT_EQ(nav::nvu_smena_cho(s, p), c.lit) << c.counting << c.warn_on << c.powered << c.lur;
  }
  NvuState s;
  s.powered = 1;
  EXPECT_TRUE(nav::nvu_pamyat_diss(s, 1));
  EXPECT_FALSE(nav::nvu_pamyat_diss(s, 0));
}

}  // namespace
