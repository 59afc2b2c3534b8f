// The receivers' panel and course-selector rules, radio_sys's steps, the
// DME smoothing and the distance indicators, without a host.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "frame/bcd.h"
#include "frame/gauge.h"
#include "radio/nav_receiver.h"
#include "radio/radio_sys.h"

namespace radio {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr frame::u32 kLeft = frame::kMouseLeft;
constexpr frame::u32 kRight = frame::kMouseRight;

NavReceiver powered_receiver(std::uint32_t code) {
  NavReceiver r;
  r.breaker_on = 1;
  r.powered = 1;
  r.freq_code = code;
  return r;
}

// Frequency knobs ------------------------------------------------------------

TEST(FreqKnob, StepsWithinTheBandAndNeverWraps) {
  struct Case {
    std::uint32_t code;
    FreqKnob knob;
    std::uint32_t after;  // == code: the click does nothing
  };
  const Case cases[] = {
      {1795, FreqKnob::kMhzUp, 1795},   {1795, FreqKnob::kKhzUp, 1795},
      {1795, FreqKnob::kMhzDown, 1695}, {1795, FreqKnob::kKhzDown, 1790},
      {800, FreqKnob::kMhzDown, 800},   {800, FreqKnob::kKhzDown, 800},
      {800, FreqKnob::kMhzUp, 900},     {800, FreqKnob::kKhzUp, 805},
      {1695, FreqKnob::kMhzUp, 1795},   {895, FreqKnob::kMhzDown, 895},
      {1090, FreqKnob::kKhzUp, 1095},   {1095, FreqKnob::kKhzUp, 1095},
      {1005, FreqKnob::kKhzDown, 1000}, {1004, FreqKnob::kKhzDown, 1004},
      {1753, FreqKnob::kMhzUp, 1753},   {1700, FreqKnob::kMhzUp, 1700},
  };
  for (const Case& c : cases) {
    NavReceiver r = powered_receiver(c.code);
    const bool acted = freq_knob(r, c.knob);
    EXPECT_EQ(r.freq_code, c.after) << c.code << " knob " << static_cast<int>(c.knob);
    EXPECT_EQ(acted, c.after != c.code);
    EXPECT_EQ(r.freq_pending, acted ? 1 : 0);
    EXPECT_TRUE(freq_in_band(r.freq_code));
  }
}

TEST(FreqKnob, RefusedUnpoweredOrLocked) {
  NavReceiver off = powered_receiver(1050);
  off.powered = 0;
  NavReceiver locked = powered_receiver(1050);
  locked.freq_lock = 1;
  for (NavReceiver* r : {&off, &locked}) {
    EXPECT_FALSE(freq_knob(*r, FreqKnob::kMhzUp));
    EXPECT_EQ(r->freq_code, 1050u);
    EXPECT_EQ(r->freq_pending, 0);
  }
}

// Whatever the host reports, a walk over every knob from every in-band code
// only ever sends codes of the band.
TEST(FreqKnob, NoClickEverSendsAFrequencyOutsideTheBand) {
  for (std::uint32_t code = kFreqMin; code <= kFreqMax; ++code) {
    for (FreqKnob k : {FreqKnob::kMhzDown, FreqKnob::kMhzUp, FreqKnob::kKhzDown, FreqKnob::kKhzUp}) {
      NavReceiver r = powered_receiver(code);
      if (freq_knob(r, k)) {
        const auto sent = panel_frame_send(r, 1);
        ASSERT_TRUE(sent.has_value());
        const auto back = frame::bcd16_decode(*sent);
        ASSERT_TRUE(back.has_value());
        ASSERT_TRUE(freq_in_band(*back)) << code;
      }
    }
  }
}

// Panel frame ---------------------------------------------------------------

TEST(PanelFrame, SendsThePendingFrequencyOnceAsBcd) {
  NavReceiver r = powered_receiver(1090);
  ASSERT_TRUE(freq_knob(r, FreqKnob::kKhzUp));
  const auto sent = panel_frame_send(r, 1);
  ASSERT_TRUE(sent.has_value());
  EXPECT_EQ(*sent, 0x1095u);
  EXPECT_EQ(r.freq_pending, 0);
  EXPECT_FALSE(panel_frame_send(r, 1).has_value());
}

TEST(PanelFrame, PowerIsBreakerTimesBus) {
  struct Case {
    int breaker, bus, powered;
  };
  for (const Case c : {Case{1, 1, 1}, Case{1, 0, 0}, Case{0, 1, 0}, Case{0, 0, 0}}) {
    NavReceiver r;
    r.breaker_on = c.breaker;
    panel_frame_send(r, c.bus);
    EXPECT_EQ(r.powered, c.powered);
  }
}

TEST(PanelFrame, FollowsOnlyValidInBandHostFrequencies) {
  struct Case {
    double host;
    std::uint32_t code;  // freq_code afterwards, starting from 1050
  };
  const Case cases[] = {
      {0x1390, 1390},  // followed
      {0x0800, 800},   {0x1795, 1795},
      {0.0, 1050},     // a host before its first update
      {0x1800, 1050},  // 118.00: outside the band
      {0x0795, 1050},  // 107.95
      {0x10A0, 1050},  // not BCD
      {0x11050, 1050}, {-1.0, 1050}, {kNaN, 1050}, {kInf, 1050}, {1e300, 1050},
      {0x1095 + 0.7, 1095},  // the fraction is dropped
  };
  for (const Case& c : cases) {
    NavReceiver r;
    panel_frame_read(r, c.host);
    EXPECT_EQ(r.freq_code, c.code) << c.host;
    EXPECT_EQ(r.panel_lit, 1);
  }
}

TEST(PanelFrame, SplitsTheCodeIntoDigits) {
  NavReceiver r;
  panel_frame_read(r, 0x1795);
  EXPECT_EQ(r.freq_digit, (std::array<int, 4>{5, 9, 7, 1}));
  panel_frame_read(r, 0x0805);
  EXPECT_EQ(r.freq_digit, (std::array<int, 4>{5, 0, 8, 0}));
}

// Course selector -------------------------------------------------------------

TEST(CourseKnob, WrapsAsTheSelectorDoes) {
  struct Case {
    int obs, dir;
    frame::u32 flags;
    int after;
  };
  const Case cases[] = {
      {0, -1, kLeft, 359},   {359, +1, kLeft, 360}, {360, +1, kLeft, 1},
      {5, -1, kRight, 355},  {355, +1, kRight, 5},  {350, +1, kRight, 360},
      {90, +1, kLeft, 91},   {90, -1, kRight, 80},  {0, -1, kRight, 350},
  };
  for (const Case& c : cases)
    EXPECT_EQ(obs_step(c.obs, c.dir, c.flags), c.after) << c.obs << " " << c.dir;
}

TEST(CourseSelector, DrumsLagTheHostCourseByOneFrame) {
  NavReceiver r;
  r.obs_deg = 359;
  obs_frame(r, 90.7);
  EXPECT_EQ(r.obs_drum, (std::array<int, 3>{900, 500, 300}));
  EXPECT_EQ(r.obs_deg, 90);
  obs_frame(r, 90.0);
  EXPECT_EQ(r.obs_drum, (std::array<int, 3>{0, 900, 0}));
}

TEST(CourseSelector, KeepsTheCourseOnABadHostValue) {
  for (double bad : {kNaN, kInf, -1.0, 361.0, 1e12}) {
    NavReceiver r;
    r.obs_deg = 45;
    obs_frame(r, bad);
    EXPECT_EQ(r.obs_deg, 45) << bad;
  }
}

// radio_sys -------------------------------------------------------------------

class RadioSys : public ::testing::Test {
 protected:
  RadioState s;
  RadioInputs in;

  void SetUp() override {
    s.rx[0].breaker_on = 1;
    s.rx[1].breaker_on = 1;
    in.ground_fps = 200.0;
  }
  void step(int frames = 1) {
    for (int i = 0; i < frames; ++i) radio_sys_step(s, in);
  }
};

TEST_F(RadioSys, LocalizerTOFromAndGlideSlope) {
  in.rx[0].flags = 2.0 + 4.0;  // other bits do not matter
  in.rx[0].to_from = 1.0;
  in.rx[0].gs_valid = 1.0;
  in.rx[1].flags = 1.0;
  in.rx[1].to_from = 2.0;
  in.rx[1].gs_valid = 0.6;  // truncated
  step();
  EXPECT_EQ(s.rx[0].ils_tuned, 1);
  EXPECT_EQ(s.rx[1].ils_tuned, 0);
  EXPECT_EQ(s.rx[0].active, 1);
  EXPECT_EQ(s.rx[1].active, 1);
  EXPECT_EQ(s.rx[0].gs_valid, 1);
  EXPECT_EQ(s.rx[1].gs_valid, 0);
  EXPECT_EQ(s.loc_lamp_1, 1);
  EXPECT_EQ(s.vor_lamp_1, 0);
  EXPECT_EQ(s.vor_lamp_2, 1);
  EXPECT_EQ(s.gs_flag_1, 1);

  s.rx[0].breaker_on = 0;  // no station without the breaker
  step();
  EXPECT_EQ(s.rx[0].active, 0);
  EXPECT_EQ(s.rx[0].gs_valid, 0);
  EXPECT_EQ(s.loc_lamp_1, 0);
  EXPECT_EQ(s.gs_flag_1, 0);
}

TEST_F(RadioSys, MarkersOnlyThroughReceiverOnesBreaker) {
  struct Case {
    double marker;
    int breaker;
    int outer, middle, inner;
  };
  const Case cases[] = {{1, 1, 1, 0, 0}, {2, 1, 0, 1, 0}, {3, 1, 0, 0, 1}, {0, 1, 0, 0, 0},
                        {1, 0, 0, 0, 0}, {2, 0, 0, 0, 0}, {3, 0, 0, 0, 0}, {kNaN, 1, 0, 0, 0},
                        {4, 1, 0, 0, 0}};
  for (const Case& c : cases) {
    s.rx[0].breaker_on = c.breaker;
    in.marker = c.marker;
    step();
    EXPECT_EQ(s.marker_outer, c.outer) << c.marker << " " << c.breaker;
    EXPECT_EQ(s.marker_middle, c.middle);
    EXPECT_EQ(s.marker_inner, c.inner);
  }
}

TEST_F(RadioSys, DmeInMetresWhilePresentAndBreakerOn) {
  struct Case {
    double nm;
    int breaker;
    double dme_m;
    int valid;
  };
  const Case cases[] = {{10.0, 1, 18520.0, 1}, {0.0, 1, 0.0, 1},  {-1.0, 1, -1.0, 0},
                        {10.0, 0, 10.0, 0},    {kNaN, 1, -1.0, 0}, {kInf, 1, -1.0, 0},
                        {-5.0, 1, -1.0, 0},    {1e300, 1, -1.0, 0}};
  for (const Case& c : cases) {
    s.rx[1].breaker_on = c.breaker;
    in.rx[1].dme_nm = c.nm;
    step();
    EXPECT_DOUBLE_EQ(s.rx[1].dme_m, c.dme_m) << c.nm;
    EXPECT_EQ(s.rx[1].dme_valid, c.valid) << c.nm;
  }
}

TEST_F(RadioSys, BearingsOnlyFromAReceivedVor) {
  in.rx[0].to_from = 1.0;
  in.rx[0].radial = 16384.0;  // 90 degrees
  in.rx[0].rmi = 123.0;
  step();
  EXPECT_DOUBLE_EQ(s.rx[0].bearing_deg, 270.0);
  EXPECT_DOUBLE_EQ(s.rx[0].rmi_bearing, 123.0);

  in.rx[0].radial = 49152.0;  // 270: 450 wraps to 90
  step();
  EXPECT_DOUBLE_EQ(s.rx[0].bearing_deg, 90.0);

  // A localizer, no station, a dead second bus, or a bad value: kept.
  in.rx[0].radial = 0.0;
  in.rx[0].rmi = 10.0;
  in.rx[0].flags = 2.0;
  step();
  in.rx[0].flags = 0.0;
  in.rx[0].to_from = 0.0;
  step();
  in.rx[0].to_from = 1.0;
  in.main_bus = 0;
  step();
  EXPECT_DOUBLE_EQ(s.rx[0].bearing_deg, 180.0) << "bearing does not need the bus";
  EXPECT_DOUBLE_EQ(s.rx[0].rmi_bearing, 123.0);
  in.main_bus = 1;
  in.rx[0].radial = kNaN;
  in.rx[0].rmi = kNaN;
  step();
  EXPECT_DOUBLE_EQ(s.rx[0].bearing_deg, 180.0);
  EXPECT_DOUBLE_EQ(s.rx[0].rmi_bearing, 123.0);
}

TEST_F(RadioSys, NeedlesCopiedAndKeptOnNaN) {
  in.rx[0].cdi = -63.5;
  in.rx[1].cdi = 12.0;
  in.gs_needle_1 = 40.0;
  step();
  EXPECT_DOUBLE_EQ(s.rx[0].cdi, -63.5);
  EXPECT_DOUBLE_EQ(s.rx[1].cdi, 12.0);
  EXPECT_DOUBLE_EQ(s.rx[0].gs_needle, 40.0);
  in.rx[0].cdi = kNaN;
  in.gs_needle_1 = kInf;
  step();
  EXPECT_DOUBLE_EQ(s.rx[0].cdi, -63.5);
  EXPECT_DOUBLE_EQ(s.rx[0].gs_needle, 40.0);
}

TEST_F(RadioSys, GroundSpeedInKmh) {
  in.ground_fps = 100.0;
  step();
  EXPECT_DOUBLE_EQ(s.ground_speed_kmh, 109.728);
  in.ground_fps = kNaN;
  step();
  EXPECT_DOUBLE_EQ(s.ground_speed_kmh, 109.728);
}

// The distance channels: which receiver each crew station's switch selects.
TEST_F(RadioSys, ChannelSelection) {
  struct Case {
    int selector;
    bool ils_1;
    int captain_valid;
    int second_valid;
  };
  const Case cases[] = {
      {0, false, 1, 1},
      {0, true, 1, 0},  // an ILS-DME: the captain's shows it, the second pilot's does not
      {2, false, 1, 1}, {1, false, 0, 0}, {7, false, 0, 0}, {-1, false, 0, 0},
  };
  for (const Case& c : cases) {
    RadioState fresh;
    s = fresh;
    s.rx[0].breaker_on = s.rx[1].breaker_on = 1;
    s.dme[0].selector = s.dme[1].selector = c.selector;
    for (auto& r : in.rx) {
      r.dme_nm = 5.0;
      r.to_from = 1.0;
      r.flags = 0.0;
    }
    in.rx[0].flags = c.ils_1 ? 2.0 : 0.0;
    step();
    EXPECT_EQ(s.dme[0].valid, c.captain_valid) << c.selector << " " << c.ils_1;
    EXPECT_EQ(s.dme[1].valid, c.second_valid) << c.selector << " " << c.ils_1;
  }
}

TEST_F(RadioSys, SimTimeMovingCheckedEveryTwentyOneFrames) {
  in.rx[0].dme_nm = 10.0;
  in.time_counter = 1.0;
  step(21);  // the first check: the counter moved from 0 to 1
  EXPECT_EQ(s.sim_time_moving, 1);
  step(20);  // unchanged, but no check yet
  EXPECT_EQ(s.sim_time_moving, 1);
  step(1);
  EXPECT_EQ(s.sim_time_moving, 0);
  in.time_counter = 2.9;  // whole seconds
  step(20);
  EXPECT_EQ(s.sim_time_moving, 0);
  step(1);
  EXPECT_EQ(s.sim_time_moving, 1);
}

TEST_F(RadioSys, PausedSimulationStopsTheSmoothedDistance) {
  // Flying: the counter moves, the distance settles toward 10 nm.
  in.rx[0].dme_nm = 10.0;
  for (int i = 0; i < 90; ++i) {
    in.time_counter = i / 18.0;
    step();
  }
  const double flying = s.dme[0].smoothed_m;
  EXPECT_GT(flying, 1.0);
  // The simulator's distance steps on but its clock stands (paused): after
  // more than 21 frames the smoothed distance stands still.
  in.rx[0].dme_nm = 9.0;
  step(22);
  const double paused = s.dme[0].smoothed_m;
  step(30);
  EXPECT_DOUBLE_EQ(s.dme[0].smoothed_m, paused);
  EXPECT_EQ(s.sim_time_moving, 0);
  // Time moves again: so does the distance.
  for (int i = 0; i < 22; ++i) {
    in.time_counter = 10.0 + i;
    step();
  }
  EXPECT_LT(s.dme[0].smoothed_m, paused);
}

// DME smoothing ------------------------------------------------------------------

TEST(DmeSmooth, RateAndCorrectionLimits) {
  struct Case {
    double raw, smoothed, last_raw;
    int frames;
    double rate, correction, after;
  };
  const Case cases[] = {
      // a change of 185 m after 10 frames: rate 18.5 limited to 5; correction
      // (raw - smoothed) / 10
      {10185.0, 10000.0, 10000.0, 10, 5.0, 18.5, 10023.5},
      {9815.0, 10000.0, 10000.0, 10, -5.0, -18.5, 9976.5},
      // far off: correction limited to 550
      {20000.0, 1.0, 19900.0, 1, 5.0, 550.0, 556.0},
      {1.0, 20000.0, 100.0, 1, -5.0, -550.0, 19445.0},
      // small steps pass unlimited
      {1003.0, 1000.0, 1000.0, 1, 3.0, 3.0, 1006.0},
  };
  for (const Case& c : cases) {
    DmeChannel ch;
    ch.valid = 1;
    ch.raw_m = c.raw;
    ch.smoothed_m = c.smoothed;
    ch.last_raw_m = c.last_raw;
    ch.frames = c.frames;
    dme_smooth(ch, 500.0, 1);
    EXPECT_DOUBLE_EQ(ch.rate, c.rate) << c.raw;
    EXPECT_DOUBLE_EQ(ch.correction, c.correction) << c.raw;
    EXPECT_DOUBLE_EQ(ch.smoothed_m, c.after) << c.raw;
    EXPECT_EQ(ch.frames, 2);
    EXPECT_DOUBLE_EQ(ch.last_raw_m, c.raw);
  }
}

TEST(DmeSmooth, BetweenStepsKeepsMovingAtTheLastRate) {
  DmeChannel ch;
  ch.valid = 1;
  ch.raw_m = ch.last_raw_m = 5000.0;
  ch.smoothed_m = 5000.0;
  ch.rate = -4.0;
  ch.correction = 1.0;
  ch.frames = 3;
  dme_smooth(ch, 500.0, 1);
  EXPECT_DOUBLE_EQ(ch.smoothed_m, 4997.0);
  EXPECT_EQ(ch.frames, 4);
  // At zero ground speed the rate is recomputed every frame: it comes to rest.
  dme_smooth(ch, 0.0, 1);
  EXPECT_DOUBLE_EQ(ch.rate, 0.0);
}

TEST(DmeSmooth, NeverBelowOneAndStillWithoutSignal) {
  DmeChannel ch;
  ch.valid = 1;
  ch.raw_m = 0.0;
  ch.smoothed_m = 300.0;
  ch.last_raw_m = 100.0;
  dme_smooth(ch, 500.0, 1);
  EXPECT_DOUBLE_EQ(ch.smoothed_m, 1.0);

  DmeChannel none;  // no DME: raw -1, invalid
  none.raw_m = -1.0;
  none.smoothed_m = 7000.0;
  dme_smooth(none, 500.0, 1);
  EXPECT_DOUBLE_EQ(none.smoothed_m, 7000.0);
  EXPECT_DOUBLE_EQ(none.rate, 0.0);
  EXPECT_DOUBLE_EQ(none.correction, 0.0);
}

// Distance indicator ---------------------------------------------------------------

TEST(DistanceIndicator, UnitsAndDigits) {
  struct Case {
    int selector;
    int valid;
    double smoothed;
    int unit_km_1, unit_km_2;
    int no_range;
    double rsbn_m;
    int blank, lamp_km;
    std::array<int, 4> digits;
  };
  const Case cases[] = {
      {0, 1, 18520.0, 0, 1, 1, 0.0, 0, 0, {0, 0, 1, 0}},    // 10.0 NM
      {0, 1, 18520.0, 1, 0, 1, 0.0, 0, 1, {5, 8, 1, 0}},    // 18.5 km
      {2, 1, 123456.0, 1, 1, 1, 0.0, 0, 1, {4, 3, 2, 1}},   // 123.4 km
      {2, 1, 18520.0, 1, 0, 1, 0.0, 0, 0, {0, 0, 1, 0}},    // receiver 2's toggle
      {1, 0, 0.0, 0, 0, 0, 45678.0, 0, 1, {6, 5, 4, 0}},    // RSBN, always km
      {1, 0, 0.0, 0, 0, 1, 45678.0, 1, 1, {10, 10, 10, 10}},  // RSBN without range
      {0, 0, 5000.0, 0, 1, 1, 0.0, 1, 0, {10, 10, 10, 10}},   // blank, receiver 1's unit
      {2, 0, 5000.0, 0, 1, 1, 0.0, 1, 1, {10, 10, 10, 10}},
      {0, 1, 1.0e12, 1, 1, 1, 0.0, 0, 1, {2, 7, 6, 9}},     // huge: saturated, no overflow
  };
  for (const Case& c : cases) {
    DistanceIndicator d;
    DmeChannel ch;
    ch.selector = c.selector;
    ch.valid = c.valid;
    ch.smoothed_m = c.smoothed;
    distance_indicator_step(d, ch, c.unit_km_1, c.unit_km_2, c.no_range, c.rsbn_m);
    EXPECT_EQ(d.blank, c.blank) << c.selector << " " << c.smoothed;
    EXPECT_EQ(d.unit_lamp_km, c.lamp_km) << c.selector << " " << c.smoothed;
    EXPECT_EQ(d.digit, c.digits) << c.selector << " " << c.smoothed;
  }
}

TEST(DistanceIndicator, BlankKeepsTheLastShownValue) {
  DistanceIndicator d;
  DmeChannel ch;
  ch.valid = 1;
  ch.smoothed_m = 2000.0;
  distance_indicator_step(d, ch, 1, 1, 1, 0.0);
  ch.valid = 0;
  distance_indicator_step(d, ch, 1, 1, 1, 0.0);
  EXPECT_EQ(d.blank, 1);
  EXPECT_DOUBLE_EQ(d.shown, 2000.0);
}

}  // namespace
}  // namespace radio
