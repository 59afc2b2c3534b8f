// The navigation computer's steps without a host: dead reckoning, the
// leg-change warning and exchange, preparing the next leg, radio
// correction, wind and memory mode, frame time and the checks on bad values.
#include "nav/nvu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using nav::NvuInputs;
using nav::NvuState;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A powered, counting computer flying its active leg's track (ZPU 90,
// heading 90, no drift) on a working doppler, 10 m per frame.
struct Nvu : ::testing::Test {
  NvuState s{};
  NvuInputs in{};

  void SetUp() override {
    in.controls.power_switch = 1;
    in.controls.count_switch = 1;
    in.diss_memory = 0;
    in.diss_speed = 720.0;  // 200 m/s
    in.main_heading = 90.0;
    in.ga1_heading = 90.0;
    in.ga2_heading = 90.0;
    in.tas = 700.0;
    in.svs_valid = 1;
    in.frame_seconds = 0.05;
    s.channel[0].zpu = 90.0;
    s.channel[1].zpu = 180.0;
  }
  void frame() {
    in.sim_time += 0.05;
    nav::nvu_step(s, in);
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) frame();
  }
  nav::NvuChannel& active() { return nav::nvu_active_channel(s); }
  nav::NvuChannel& other() { return nav::nvu_other_channel(s); }
};

// Dead reckoning ---------------------------------------------------------------

TEST_F(Nvu, CountsAlongTheTrackErrorScaledByTheSimulationRate) {
  const struct {
    double heading, drift, rate;
    double ds, dz;  // metres per frame
  } cases[] = {
      {90.0, 0.0, 1.0, 10.0, 0.0},    // on track
      {80.0, 10.0, 1.0, 10.0, 0.0},   // crabbing: track = heading + drift
      {180.0, 0.0, 1.0, 0.0, 10.0},   // 90 degrees right of the leg
      {0.0, 0.0, 1.0, 0.0, -10.0},    // left
      {90.0, 0.0, 4.0, 40.0, 0.0},    // four times the rate
      {90.0, 0.0, 1e9, 1280.0, 0.0},  // a rate beyond 128 counts as 128
  };
  for (const auto& c : cases) {
    SetUp();
    s = NvuState{};
    s.channel[0].zpu = 90.0;
    in.main_heading = c.heading;
    in.diss_drift = c.drift;
    in.sim_rate = c.rate;
    frame();
    EXPECT_NEAR(s.channel[0].s, c.ds, 1e-6) << c.heading << " " << c.drift << " " << c.rate;
    EXPECT_NEAR(s.channel[0].z, c.dz, 1e-6) << c.heading << " " << c.drift << " " << c.rate;
  }
}

TEST_F(Nvu, StandsStillWhileTheSimulatedTimeDoesNot) {
  frame();
  const double s0 = active().s;
  for (int i = 0; i < 5; ++i) nav::nvu_step(s, in);  // the clock stands
  EXPECT_EQ(s.time_running, 0);
  EXPECT_NEAR(active().s, s0 + 10.0, 1e-9) << "one frame of lag: the frame after the last tick";
  frame();
  frame();
  EXPECT_EQ(s.time_running, 1);
}

TEST_F(Nvu, NeedsPowerCountingAndTheCountingSwitch) {
  const struct {
    int main_bus, power, count, memory, svs_valid;
    int powered, counting;
    bool moves;
  } cases[] = {
      {1, 1, 1, 0, 0, 1, 1, true},
      {1, 1, 0, 0, 0, 1, 1, false},  // СЧИСЛ off: counting but no dead reckoning
      {0, 1, 1, 0, 1, 0, 0, false},  // bus dead
      {1, 0, 1, 0, 1, 0, 0, false},  // switched off
      {1, 1, 1, 1, 1, 1, 1, true},   // memory mode on the air data
      {1, 1, 1, 1, 0, 1, 0, false},  // memory mode without air data
  };
  for (const auto& c : cases) {
    s = NvuState{};
    s.channel[0].zpu = 90.0;
    s.calc_speed = 720.0;
    in.main_bus = c.main_bus;
    in.controls.power_switch = c.power;
    in.controls.count_switch = c.count;
    in.diss_memory = c.memory;
    in.svs_valid = c.svs_valid;
    frame();
    EXPECT_EQ(s.powered, c.powered) << c.main_bus << c.power << c.count << c.memory;
    EXPECT_EQ(s.counting, c.counting) << c.main_bus << c.power << c.count << c.memory;
    EXPECT_EQ(s.channel[0].s != 0.0, c.moves) << c.main_bus << c.power << c.count << c.memory;
  }
}

TEST(NvuFrameTime, LongAndImpossibleIntervalsCountAs55Milliseconds) {
  const struct {
    double interval, dt;
  } cases[] = {
      {0.05, 0.05},   {1.0, 1.0},    {1.0001, 0.055}, {2.0, 0.055},
      {-0.01, 0.055}, {kNaN, 0.055}, {kInf, 0.055},   {0.0, 0.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(nav::nvu_frame_dt(c.interval), c.dt) << c.interval;
}

TEST(NvuFrameTime, CounterReadingsOfAnyKindGiveAnInterval) {
  EXPECT_DOUBLE_EQ(nav::nvu_interval_seconds(20'000'000, 0, 10'000'000), 2.0);
  EXPECT_DOUBLE_EQ(nav::nvu_interval_seconds(0, 555'556, 10'000'000), -0.0555556);
  EXPECT_TRUE(std::isinf(nav::nvu_interval_seconds(5, 0, 0))) << "no frequency: a long frame";
  const double wide = nav::nvu_interval_seconds(std::numeric_limits<std::int64_t>::max(),
                                                std::numeric_limits<std::int64_t>::min(), 1);
  EXPECT_GT(wide, 1.0);
  EXPECT_DOUBLE_EQ(nav::nvu_frame_dt(wide), 0.055);
}

TEST_F(Nvu, ATwoSecondFrameCountsAs55Milliseconds) {
  in.frame_seconds = 2.0;
  frame();
  EXPECT_DOUBLE_EQ(s.dt, 0.055);
  EXPECT_NEAR(active().s, 200.0 * 0.055, 1e-9);
}

// Leg change -------------------------------------------------------------------

// Runs S up from `from` by 10 m a frame and records where the warning came
// on and where the exchange was asked for.
struct LegChange {
  double warn_at = kNaN;
  double change_at = kNaN;
  int changes = 0;
};

TEST_F(Nvu, TenKilometreAnticipationWarnsFrom12kmAndExchangesAt10km) {
  in.controls.lur_select = 2;
  active().s = -13000.0;
  LegChange seen;
  for (int i = 0; i < 400 && seen.changes == 0; ++i) {
    frame();
    if (std::isnan(seen.warn_at) && s.warn_on == 1) seen.warn_at = s.active_s;
    if (s.leg_switch_request == 1) {
      seen.change_at = s.active_s;
      ++seen.changes;
    }
  }
  EXPECT_EQ(s.lur_distance, 10000.0);
  EXPECT_GT(seen.warn_at, -12000.0);
  EXPECT_LE(seen.warn_at, -11990.0);
  EXPECT_GT(seen.change_at, -10000.0);
  EXPECT_LE(seen.change_at, -9990.0);
  EXPECT_EQ(s.warn_on, 0);
  EXPECT_EQ(nav::nvu_leg_warning(s), 0);
  // The exchange comes with the next frame.
  EXPECT_EQ(s.active, 0);
  frame();
  EXPECT_EQ(s.active, 1);
  EXPECT_EQ(s.leg_switch_request, 0);
  EXPECT_EQ(s.leg_switched, 1);
}

TEST_F(Nvu, WithoutAnticipationSRunsThroughZeroWithoutAChange) {
  for (int p : {0, -1}) {
    s = NvuState{};
    s.channel[0].zpu = 90.0;
    in.controls.lur_select = p;
    s.channel[0].s = -3000.0;
    for (int i = 0; i < 600; ++i) {
      frame();
      EXPECT_EQ(s.warn_on, 0) << p;
      EXPECT_EQ(s.leg_switch_request, 0) << p;
    }
    EXPECT_GT(s.channel[0].s, 2000.0) << p;
    EXPECT_EQ(s.active, 0) << p;
  }
}

TEST_F(Nvu, WarningComesOnlyWhileSGrows) {
  in.controls.lur_select = 1;
  active().s = -6500.0;     // inside the warning stretch, but armed only behind it
  in.main_heading = 270.0;  // flying back: S falls
  frames(20);
  EXPECT_EQ(s.warn_on, 0);
  EXPECT_EQ(s.warn_armed, 0);
  in.main_heading = 90.0;
  active().s = -8000.0;  // behind the stretch: armed
  frame();
  EXPECT_EQ(s.warn_armed, 1);
  frames(120);
  EXPECT_EQ(s.warn_on, 1);
}

TEST(NvuLegChange, AnActiveValueFromAFileIsOneOfTheTwoChannels) {
  NvuState s;
  for (int bad : {-1, 2, 77}) {
    s.active = bad;
    EXPECT_EQ(nav::nvu_active(s), 0) << bad;
    EXPECT_EQ(&nav::nvu_active_channel(s), &s.channel[0]) << bad;
    EXPECT_EQ(&nav::nvu_other_channel(s), &s.channel[1]) << bad;
  }
  s.active = 77;
  s.leg_switch_request = 1;
  nav::nvu_step(s, NvuInputs{});
  EXPECT_EQ(s.active, 1);
}

// Next leg ------------------------------------------------------------------------

TEST(NvuNextLeg, PositionInTheNextLegsFrame) {
  const struct {
    double s, z, zpu, next_zpu, point_s, point_z;
    double next_s, next_z;
  } cases[] = {
      {0.0, 0.0, 90.0, 180.0, -50000.0, 300.0, -50000.0, 300.0},     // at the end point
      {-1000.0, 0.0, 90.0, 180.0, -50000.0, 0.0, -50000.0, 1000.0},  // right turn: behind is right
      {-1000.0, 0.0, 90.0, 0.0, -50000.0, 0.0, -50000.0, -1000.0},   // left turn
      {-1000.0, 200.0, 90.0, 90.0, -50000.0, 0.0, -51000.0, 200.0},  // straight on
  };
  for (const auto& c : cases) {
    const nav::NvuPoint p =
        nav::nvu_next_leg_position(c.s, c.z, c.zpu, c.next_zpu, c.point_s, c.point_z);
    EXPECT_NEAR(p.s, c.next_s, 1e-3) << c.s << " " << c.next_zpu;
    EXPECT_NEAR(p.z, c.next_z, 1e-3) << c.s << " " << c.next_zpu;
  }
}

TEST_F(Nvu, TheNextChannelIsPreparedFrom80kmBeforeTheEnd) {
  in.diss_speed = 0.0;  // hold S where it is set
  const struct {
    double s;
    bool prepared;
  } cases[] = {{-80001.0, false}, {-79999.0, true}};
  for (const auto& c : cases) {
    s = NvuState{};
    s.channel[0].zpu = 90.0;
    s.channel[1].zpu = 90.0;
    s.channel[1].s_aux = -100000.0;  // the point pair: straight on
    s.channel[0].s = c.s;
    frame();
    EXPECT_EQ(s.channel[1].s != 0.0, c.prepared) << c.s;
  }
}

TEST_F(Nvu, PreparingMoves300mAFrameAndSnapsWithin500m) {
  in.diss_speed = 0.0;
  s.channel[1].zpu = 90.0;
  s.channel[1].s_aux = -60000.0;
  active().s = -10000.0;  // the next channel's target: S = -70000
  other().s = -71000.0;
  other().z = 450.0;
  frame();
  EXPECT_DOUBLE_EQ(other().s, -70700.0);
  EXPECT_DOUBLE_EQ(other().z, 0.0) << "within 500 m: onto the target";
  frame();
  EXPECT_DOUBLE_EQ(other().s, -70400.0);
  frame();
  EXPECT_DOUBLE_EQ(other().s, -70000.0) << "within 500 m: onto the target";
  in.controls.count_switch = 0;
  other().s = -75000.0;
  frame();
  EXPECT_DOUBLE_EQ(other().s, -75000.0) << "not while the counting switch is off";
}

// Radio correction ------------------------------------------------------------------

TEST_F(Nvu, ABeaconFix600mOffPulls150mThenSnaps) {
  in.controls.count_switch = 0;  // the counted position stays where it is
  in.controls.corr_switch = 1;
  in.rsbn_ready = 1;
  in.map_angle = 90.0;
  in.rsbn_az = 270.0;  // the aircraft behind the beacon, on the leg
  in.rsbn_slant_range = 9400.0;
  active().s = -50000.0;
  active().s_aux = -40000.0;  // the beacon pair
  frame();                    // step 10 copies the beacon pair
  EXPECT_EQ(s.correcting, 1);
  EXPECT_NEAR(active().s, -49850.0, 1e-6);
  frame();
  EXPECT_NEAR(active().s, -49400.0, 1e-6) << "450 m off: onto the fix";
  EXPECT_NEAR(active().z, 0.0, 1e-3);
  in.rsbn_slant_range = 8400.0;  // the fix jumps 1 km: 150 m a frame again
  frame();
  EXPECT_NEAR(active().s, -49250.0, 1e-6);
}

TEST_F(Nvu, CorrectionNeedsReadinessSwitchAndPowerButNotCounting) {
  const struct {
    int ready, corr, power, memory, svs_valid;
    int correcting;
  } cases[] = {
      {1, 1, 1, 1, 0, 1},  // powered, not counting
      {0, 1, 1, 0, 1, 0},
      {1, 0, 1, 0, 1, 0},
      {1, 1, 0, 0, 1, 0},
  };
  in.controls.count_switch = 0;  // nothing but the correction moves S
  for (const auto& c : cases) {
    s = NvuState{};
    in.rsbn_ready = c.ready;
    in.controls.corr_switch = c.corr;
    in.controls.power_switch = c.power;
    in.diss_memory = c.memory;
    in.svs_valid = c.svs_valid;
    in.rsbn_slant_range = 5000.0;
    frame();
    EXPECT_EQ(s.correcting, c.correcting) << c.ready << c.corr << c.power << c.memory;
    EXPECT_EQ(s.channel[0].s != 0.0, c.correcting == 1) << c.ready << c.corr << c.power;
  }
}

// Wind and memory mode ----------------------------------------------------------------

TEST(NvuWind, DopplerWindIsGroundMinusAirVelocity) {
  const struct {
    double gs, drift, heading, tas;
  } cases[] = {
      {600.0, 0.0, 0.0, 500.0},   // tail wind
      {400.0, 0.0, 90.0, 500.0},  // head wind
      {510.0, 10.0, 0.0, 500.0},  // from the left
      {510.0, -8.0, 200.0, 500.0}, {700.0, 5.0, 300.0, 800.0},
  };
  for (const auto& c : cases) {
    const nav::NvuWind w = nav::nvu_doppler_wind(c.gs, c.drift, c.heading, c.tas);
    const double rad = 3.14159265358979323846 / 180.0;
    const double east =
        c.gs * std::sin((c.heading + c.drift) * rad) - c.tas * std::sin(c.heading * rad);
    const double north =
        c.gs * std::cos((c.heading + c.drift) * rad) - c.tas * std::cos(c.heading * rad);
    EXPECT_NEAR(w.speed, std::hypot(east, north), 0.2) << c.heading;
    double dir = std::atan2(east, north) / rad;
    double got = w.dir;
    if (dir < 0) dir += 360.0;
    if (got < 0) got += 360.0;
    EXPECT_NEAR(got, dir, 0.1) << c.heading;
  }
  EXPECT_EQ(nav::nvu_doppler_wind(500.5, 0.0, 0.0, 500.0).dir, 0.0) << "calm below 1 km/h";
}

TEST(NvuWind, MemorySpeedFromTheRememberedWind) {
  const struct {
    double wind, toward, heading, tas;
    double speed, drift;
  } cases[] = {
      {0.0, 0.0, 123.0, 500.0, 500.0, 0.0},
      {100.0, 40.0, 40.0, 500.0, 600.0, 0.0},     // tail wind
      {100.0, 130.0, 40.0, 500.0, 509.9, 11.31},  // from the left: drift right
      {100.0, 270.0, 0.0, 500.0, 509.9, -11.31},
      {0.0, 0.0, 0.0, 71.0, 0.0, 0.0},  // below 72 km/h: standing
  };
  for (const auto& c : cases) {
    const nav::NvuSpeed m = nav::nvu_memory_speed(c.wind, c.toward, c.heading, c.tas);
    EXPECT_NEAR(m.speed, c.speed, 0.1) << c.wind << " " << c.toward;
    EXPECT_NEAR(m.drift, c.drift, 0.02) << c.wind << " " << c.toward;
  }
}

TEST_F(Nvu, MemoryModeWithNoWindFliesTheTrueAirspeed) {
  in.diss_memory = 1;
  in.tas = 500.0;
  // Preset filter: 500 at once; from 0 the filter takes a long run.
  for (bool preset : {true, false}) {
    s = NvuState{};
    if (preset) s.tas_filtered = 500.0;
    frames(preset ? 2 : 4000);
    EXPECT_NEAR(s.calc_speed, 500.0, 1e-3) << preset;
    EXPECT_NEAR(s.calc_drift, 0.0, 1e-9) << preset;
    EXPECT_NEAR(s.ground_speed, 500.0, 1e-3) << preset;
  }
  in.ap_zero_speed = 1;
  frame();
  EXPECT_EQ(s.calc_speed, 0.0) << "the autopilot zeroes it";
}

TEST_F(Nvu, WindIsComputedWhileTheDopplerWorksAndNotInItsTest) {
  s.tas_filtered = 700.0;
  in.diss_speed = 800.0;  // 100 km/h of tail wind
  frame();
  EXPECT_NEAR(s.wind_speed, 100.0, 0.1);
  EXPECT_NEAR(s.wind_dir, 90.0, 0.1);
  in.diss_test = 1;
  in.diss_speed = 710.0;
  frame();
  EXPECT_NEAR(s.wind_speed, 100.0, 0.1) << "kept through the doppler's test";
}

// Course indicators -------------------------------------------------------------------

TEST_F(Nvu, ZpuMinusHeadingUsesLastFramesZpuAndTheConsumersGyro) {
  in.ga1_heading = 80.0;
  in.ga2_heading = 70.0;
  frame();  // copies ZPU 90
  EXPECT_DOUBLE_EQ(s.zpu_minus_heading, -80.0) << "no ZPU copied before the first frame";
  active().zpu = 100.0;
  frame();
  EXPECT_DOUBLE_EQ(s.zpu_minus_heading, 10.0);
  in.consumers_main = 0;
  frame();
  EXPECT_DOUBLE_EQ(s.zpu_minus_heading, 30.0);
}

// Key channel 53 ---------------------------------------------------------------------

TEST(NvuKeyChannel, SetsOrFollowsTheCountingSwitch) {
  const struct {
    input::KeyChannelView key;
    int before, after;
  } cases[] = {
      {{false, 1, 1}, 0, 0},  // not assigned: nothing
      {{true, 0, 1}, 0, 1},   // mode 0: a press sets it
      {{true, 0, 0}, 1, 1},   // mode 0: a released key changes nothing
      {{true, 1, 0}, 1, 0},   // mode 1: follows the key
      {{true, 1, 1}, 0, 1},
  };
  for (const auto& c : cases) {
    int sw = c.before;
    nav::nvu_key_channel(sw, c.key);
    EXPECT_EQ(sw, c.after) << c.key.assigned << c.key.switch_mode << c.key.state;
  }
  EXPECT_FALSE(input::key_channel(input::kKeyNvuCounting).assigned);
}

// Bad values ------------------------------------------------------------------------

TEST_F(Nvu, HostValuesThatAreNotNumbersLeaveTheCountFinite) {
  frame();
  in.main_heading = kNaN;
  in.diss_speed = kInf;
  in.diss_drift = kNaN;
  in.tas = kNaN;
  in.sim_rate = kNaN;
  in.sim_time = kNaN;
  in.frame_seconds = kNaN;
  in.rsbn_ready = 1;
  in.controls.corr_switch = 1;
  in.rsbn_az = kInf;
  in.rsbn_slant_range = kNaN;
  frames(5);
  for (const nav::NvuChannel& c : s.channel) {
    EXPECT_TRUE(std::isfinite(c.s));
    EXPECT_TRUE(std::isfinite(c.z));
  }
  EXPECT_TRUE(std::isfinite(s.tas_filtered));
  EXPECT_TRUE(std::isfinite(s.track_error));
  EXPECT_DOUBLE_EQ(s.heading, 90.0) << "a heading that is not a number leaves the last one";
}

TEST_F(Nvu, DamagedStoredValuesStartAgainFromZero) {
  s.channel[0].s = kNaN;
  s.channel[0].zpu = kInf;
  s.channel[1].z_aux = -kInf;
  s.mem_wind_dir = kNaN;
  in.controls.lur_select = 99;  // a selector restored from a damaged file
  frame();
  EXPECT_TRUE(std::isfinite(s.channel[0].s));
  EXPECT_EQ(s.channel[0].zpu, 0.0);
  EXPECT_EQ(s.channel[1].z_aux, 0.0);
  EXPECT_EQ(s.mem_wind_dir, 0.0);
  EXPECT_EQ(s.lur_distance, 25000.0) << "the selector's last position";
}

TEST(NvuMoveToward, StepsSnapsAndRefusesNonNumbers) {
  EXPECT_DOUBLE_EQ(nav::nvu_move_toward(0.0, 1000.0, 150.0), 150.0);
  EXPECT_DOUBLE_EQ(nav::nvu_move_toward(0.0, -1000.0, 150.0), -150.0);
  EXPECT_DOUBLE_EQ(nav::nvu_move_toward(0.0, 499.0, 150.0), 499.0);
  EXPECT_DOUBLE_EQ(nav::nvu_move_toward(0.0, 500.0, 150.0), 150.0);
  EXPECT_DOUBLE_EQ(nav::nvu_move_toward(7.0, kNaN, 150.0), 7.0);
  EXPECT_DOUBLE_EQ(nav::nvu_move_toward(kNaN, 3.0, 150.0), 3.0);
}

}  // namespace
