// RSBN: search, geometry, smoothing, readiness, the channel panel and the
// azimuth-range indicator, stepped from explicit inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "frame/numeric.h"
#include "frame/patterns.h"
#include "radio/rsbn.h"

namespace radio {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Latitude `km` north of `lat` on the search's own sphere and degree factor.
double north_of(double lat, double km) { return lat + km / kSearchEarthKm / kLatRadPerDeg; }

Beacon beacon(double channel, double lat, double lon, double elev = 0.0) {
  return Beacon{channel, lat, lon, elev};
}

// An aircraft near one beacon on channel 27, master on, bus live.
class Rsbn : public ::testing::Test {
 protected:
  static constexpr double kLat = 55.0;
  static constexpr double kLon = 37.0;

  void SetUp() override {
    table[0] = beacon(27, kLat, kLon, 150.0);
    in.bus_volts = 28.0;
    in.master_switch = 1;
    in.lat_deg = north_of(kLat, 100.0);
    in.lon_deg = kLon;
    in.alt_m = 6150.0;
    in.tick = 36;
  }
  // One RSBN_SYS frame; the tick advances by one (a search every 36).
  void frame() {
    rsbn_step(s, table, in);
    rsbn_publish(s);
    in.tick += 1;
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) frame();
  }
  // Runs to the next search tick (inclusive).
  void to_next_search() {
    do {
      frame();
    } while (static_cast<long>(in.tick - 1) % kSearchTicks != 0);
  }

  RsbnState s;
  BeaconTable table{};
  RsbnInputs in;
};

// Channel panel -------------------------------------------------------------------

TEST(RsbnPanel, KnobsStopAtZeroAndFortyNine) {
  RsbnState s;
  for (int i = 0; i < 12; ++i) {
    rsbn_channel_step(s.channel_tens, +1, 4);
    rsbn_channel_step(s.channel_units, +1, 9);
  }
  rsbn_panel_frame(s);
  EXPECT_EQ(s.selected_channel, 49);
  for (int i = 0; i < 12; ++i) {
    rsbn_channel_step(s.channel_tens, -1, 4);
    rsbn_channel_step(s.channel_units, -1, 9);
  }
  rsbn_panel_frame(s);
  EXPECT_EQ(s.selected_channel, 0);
}

TEST(RsbnPanel, RouteChannelOverridesTheKnobsEveryFrame) {
  const struct {
    int route;
    int tens, units;  // after each frame; no channel leaves the knobs at 2 and 7
    bool overrides;
  } cases[] = {
      {35, 3, 5, true}, {49, 4, 9, true},  {1, 0, 1, true},     {10, 1, 0, true},
      {0, 2, 7, false}, {50, 2, 7, false}, {-1, 2, 7, false}, {1000, 2, 7, false},
  };
  for (const auto& c : cases) {
    RsbnState s;
    s.route_channel = c.route;
    for (int frame = 0; frame < 3; ++frame) {
      rsbn_panel_frame(s);
      // The pilot's turn of the knob before this frame stands only without a route.
      const int units = c.overrides ? c.units : c.units - frame;
      EXPECT_EQ(s.channel_tens, c.tens) << c.route;
      EXPECT_EQ(s.channel_units, units) << c.route;
      EXPECT_EQ(s.selected_channel, c.tens * 10 + units) << c.route;
      rsbn_channel_step(s.channel_units, -1, 9);
    }
  }
}

TEST(RsbnPanel, DigitsFromElsewhereAreKeptInRange) {
  RsbnState s;
  s.channel_tens = 200;
  s.channel_units = 255;
  rsbn_panel_frame(s);
  EXPECT_EQ(s.selected_channel, 49);
}

TEST(RsbnPanel, TestButtonHoldsSixteenFramesAfterTheLastPress) {
  RsbnState s;
  rsbn_press_test(s, RsbnTest::kRange);
  for (int f = 0; f < 8; ++f) rsbn_panel_frame(s);
  rsbn_press_test(s, RsbnTest::kRange);  // held: the area repeats; this is the last press
  for (int f = 1; f <= 16; ++f) {
    rsbn_panel_frame(s);
    ASSERT_EQ(s.test_range, 1) << "frame " << f << " after the last press";
  }
  rsbn_panel_frame(s);
  EXPECT_EQ(s.test_range, 0);
  EXPECT_EQ(s.test_az, 0);
  EXPECT_EQ(s.test_az_fine, 0);
}

// Which placements run the panel's frame work, frame by frame.
TEST(RsbnPanel, GateRunsTheWorkOncePerFrameWhateverIsPlaced) {
  using Frame = std::vector<int>;  // the placements called, in panel order
  const struct {
    const char* what;
    std::vector<Frame> frames;
    std::vector<int> runs;  // how often the work ran in each frame
  } cases[] = {
      {"first alone", {{0}, {0}, {0}}, {1, 1, 1}},
      {"second alone", {{1}, {1}, {1}}, {1, 1, 1}},
      {"both", {{0, 1}, {0, 1}, {0, 1}}, {1, 1, 1}},
      {"both, second first", {{1, 0}, {1, 0}, {1, 0}}, {1, 1, 1}},
      {"first removed", {{0, 1}, {0, 1}, {1}, {1}}, {1, 1, 1, 1}},
      {"second added", {{0}, {0}, {0, 1}, {0, 1}}, {1, 1, 1, 1}},
      // The leader called after the other and then removed: one frame
      // passes before the other can tell it is gone.
      {"later leader removed", {{0}, {1, 0}, {1, 0}, {1}, {1}}, {1, 1, 1, 0, 1}},
  };
  for (const auto& c : cases) {
    PanelGate gate;
    for (std::size_t f = 0; f < c.frames.size(); ++f) {
      int runs = 0;
      for (int p : c.frames[f]) runs += panel_gate_turn(gate, p) ? 1 : 0;
      EXPECT_EQ(runs, c.runs[f]) << c.what << ", frame " << f;
    }
  }
  PanelGate gate;
  EXPECT_FALSE(panel_gate_turn(gate, 2));
  EXPECT_FALSE(panel_gate_turn(gate, -1));
}

// Search ------------------------------------------------------------------------------

TEST_F(Rsbn, BeaconWithinFourHundredFiftyKmIsFoundAndBeyondIsNot) {
  const struct {
    double km;
    int found;
  } cases[] = {{449.0, 1}, {451.0, 0}, {0.0, 1}, {10.0, 1}};
  for (const auto& c : cases) {
    table[0] = beacon(27, north_of(in.lat_deg, c.km), kLon);
    EXPECT_NEAR(rsbn_search_distance_km(in.lat_deg, in.lon_deg, table[0].lat_deg, table[0].lon_deg),
                c.km, 0.01);
    s.found = 1 - c.found;
    frame();
    EXPECT_EQ(s.found, c.found) << c.km;
    in.tick = 36;
  }
}

TEST_F(Rsbn, FirstMatchingRecordWins) {
  table[0] = beacon(12, in.lat_deg, kLon);           // right place, wrong channel
  table[3] = beacon(27, north_of(in.lat_deg, 500), kLon);  // right channel, too far
  table[5] = beacon(27, north_of(in.lat_deg, 300), kLon);
  table[9] = beacon(27, north_of(in.lat_deg, 5), kLon);
  EXPECT_EQ(rsbn_search(table, 27, in.lat_deg, in.lon_deg), 5);
  frame();
  EXPECT_EQ(s.found, 1);
  EXPECT_EQ(s.beacon_index, 6);
  EXPECT_DOUBLE_EQ(s.beacon_lat, table[5].lat_deg);
  EXPECT_EQ(rsbn_search(table, 13, in.lat_deg, in.lon_deg), -1);
}

TEST_F(Rsbn, SearchRunsEveryThirtySixTicksWhilePowered) {
  in.tick = 35;
  frame();
  EXPECT_EQ(s.found, 0) << "no search before tick 36";
  frame();
  EXPECT_EQ(s.found, 1);
  // The beacon moves off the channel: found holds until the next search.
  table[0].beacon_channel = 28;
  frames(35);
  EXPECT_EQ(s.found, 1);
  frame();
  EXPECT_EQ(s.found, 0);

  table[0].beacon_channel = 27;
  to_next_search();
  ASSERT_EQ(s.found, 1);
  in.bus_volts = 20.0;  // 20 V is no power
  frame();
  EXPECT_EQ(s.found, 0) << "power off drops the beacon at once";
  EXPECT_EQ(s.bus_live, 0);
  in.bus_volts = 28.0;
  in.master_switch = 0;
  to_next_search();
  EXPECT_EQ(s.found, 0);
  EXPECT_EQ(s.powered, 0);
}

// Geometry ----------------------------------------------------------------------------

TEST(RsbnGeometry, LineOfSight) {
  EXPECT_DOUBLE_EQ(rsbn_line_of_sight_m(12000.0), 420000.0);
  EXPECT_DOUBLE_EQ(rsbn_line_of_sight_m(0.0), 40000.0);
  EXPECT_DOUBLE_EQ(rsbn_line_of_sight_m(-50.0), 40000.0);
}

TEST_F(Rsbn, InRangeFollowsLineOfSightAboveTheBeacon) {
  const struct {
    double height, km;
    int in_range;
  } cases[] = {
      {12000.0, 415.0, 1}, {12000.0, 425.0, 0}, {0.0, 39.0, 1},
      {0.0, 41.0, 0},      {-300.0, 39.0, 1},  // below the beacon counts as on it
  };
  for (const auto& c : cases) {
    // Ranges in the measurement's own radius.
    table[0] = beacon(27, kLat, kLon, 150.0);
    in.lat_deg = kLat + c.km * 1000.0 / kRangeEarthM / kLatRadPerDeg;
    in.alt_m = 150.0 + c.height;
    in.tick = 36;
    frame();
    ASSERT_EQ(s.found, 1);
    EXPECT_NEAR(s.ground_range_raw, c.km * 1000.0, 1.0);
    EXPECT_DOUBLE_EQ(s.height_m, std::max(c.height, 0.0));
    EXPECT_EQ(s.in_range_az, c.in_range) << c.height << " m, " << c.km << " km";
    EXPECT_EQ(s.in_range_dist, c.in_range);
    EXPECT_EQ(s.no_range, 1 - c.in_range);
    EXPECT_EQ(s.no_azimuth, 1 - c.in_range);
  }
}

TEST(RsbnGeometry, AzimuthIsTheBearingOfTheAircraftFromTheBeacon) {
  const struct {
    double dlat, dlon;
    double az;
  } cases[] = {
      {0.5, 0.0, 0.0},  {0.0, 0.5, 90.0},  {-0.5, 0.0, 180.0},
      {0.0, -0.5, 270.0}, {0.3, 0.5, 45.0}, {-0.3, -0.5, 225.0},
  };
  for (const auto& c : cases) {
    const double az = rsbn_azimuth_deg(55.0 + c.dlat, 37.0 + c.dlon, 55.0, 37.0);
    EXPECT_GE(az, 0.0);
    EXPECT_LE(az, 360.0);
    // Quadrant and rough direction (at 55 N a degree of longitude is short).
    const double diff = std::fabs(frame::wrap180(az - c.az));
    EXPECT_LT(diff, 25.0) << c.dlat << " " << c.dlon << ": " << az;
    if (c.dlat == 0.0 || c.dlon == 0.0) {
      EXPECT_LT(diff, 0.5) << az;
    }
  }
}

TEST(RsbnGeometry, LongitudeDifferenceAcrossTheDateLine) {
  EXPECT_DOUBLE_EQ(rsbn_lon_diff(179.0, -179.0), -2.0);
  EXPECT_DOUBLE_EQ(rsbn_lon_diff(-179.0, 179.0), 2.0);
  EXPECT_DOUBLE_EQ(rsbn_lon_diff(10.0, -170.0), 180.0);
  EXPECT_DOUBLE_EQ(rsbn_lon_diff(-170.0, 10.0), 180.0);
  EXPECT_DOUBLE_EQ(rsbn_lon_diff(37.0, 37.0), 0.0001);
  // A beacon longitude beyond 180 from a hand-edited file.
  EXPECT_NEAR(rsbn_lon_diff(-160.0, 200.0), 0.0001, 1e-9);
}

TEST(RsbnGeometry, NearlyOverTheBeaconGivesAFiniteRange) {
  // A point where the cosine of the central angle rounds above 1.
  const double lat_a = 55.904200000000003, lat_b = 55.904200300000007;
  const double lon_b = 37.0, lon_a = 37.0 + 1e-9;
  const double dl = rsbn_lon_diff(lon_a, lon_b) * kLonRadPerDeg;
  const double pa = lat_a * kLatRadPerDeg, pb = lat_b * kLatRadPerDeg;
  ASSERT_GT(std::cos(dl) * std::cos(pa) * std::cos(pb) + std::sin(pa) * std::sin(pb), 1.0);
  const double r = rsbn_ground_range_m(lat_a, lon_a, lat_b, lon_b);
  EXPECT_TRUE(std::isfinite(r));
  EXPECT_LT(r, 1.0);
  EXPECT_TRUE(std::isfinite(rsbn_search_distance_km(lat_a, lon_a, lat_b, lon_b)));
}

// Smoothing ---------------------------------------------------------------------------

TEST_F(Rsbn, RangeMovesAtLeastTwentyMetresAFrameAndSnapsWithinOneHundred) {
  frame();
  ASSERT_EQ(s.in_range_dist, 1);
  const double raw = s.ground_range_raw;
  const struct {
    double error;  // raw - smoothed before the frame
    double after;  // the error after it
  } cases[] = {
      {300.0, 280.0}, {-300.0, -280.0}, {1000.0, 950.0}, {-2000.0, -1900.0},
      {100.0, 80.0},  {99.0, 0.0},      {-99.9, 0.0},
  };
  for (const auto& c : cases) {
    s.ground_range = raw - c.error;
    frame();
    ASSERT_DOUBLE_EQ(s.ground_range_raw, raw);
    EXPECT_NEAR(raw - s.ground_range, c.after, 1e-6) << c.error;
  }
}

TEST_F(Rsbn, AzimuthMovesATenthOfItsErrorWithoutWrappingAcrossNorth) {
  frame();
  const double raw = s.az_raw;
  const struct {
    double az, after;
  } cases[] = {
      {raw - 10.0, raw - 9.0}, {raw + 0.05, raw},
      // 1 degree east of north seen from 359 swings back the long way.
      {raw + 358.0, raw + 358.0 - 35.8},
  };
  for (const auto& c : cases) {
    s.az = c.az;
    frame();
    EXPECT_NEAR(s.az, c.after, 1e-9);
  }
}

TEST_F(Rsbn, OutOfRangeValuesStopFollowingButStillSnap) {
  frame();
  const double raw = s.ground_range_raw;
  in.alt_m = 150.0;  // on the ground 100 km out: beyond line of sight
  s.ground_range = raw - 5000.0;
  s.az = s.az_raw - 20.0;
  const double az = s.az;
  frame();
  EXPECT_EQ(s.in_range_dist, 0);
  EXPECT_DOUBLE_EQ(s.ground_range, raw - 5000.0);
  EXPECT_DOUBLE_EQ(s.az, az);
  s.ground_range = raw - 50.0;
  frame();
  EXPECT_DOUBLE_EQ(s.ground_range, s.ground_range_raw);
}

// Readiness ---------------------------------------------------------------------------

TEST_F(Rsbn, ReadyAfterTenSettledFramesAndOnlyWithTheMasterOn) {
  frame();
  int frames_to_ready = 1;
  while (s.rsbn_ready == 0 && frames_to_ready < 1000) {
    frame();
    ++frames_to_ready;
  }
  ASSERT_EQ(s.rsbn_ready, 1);
  EXPECT_EQ(s.az_settle_count, kSettleFrames);
  EXPECT_EQ(s.range_settle_count, kSettleFrames);
  EXPECT_GT(frames_to_ready, kSettleFrames);
}

// The readiness must drop whenever the values stop following a beacon:
// otherwise the navigation computer corrects toward a frozen fix.
TEST_F(Rsbn, ReadinessDropsAtOnceWhenTheBeaconIsLost) {
  const struct {
    const char* what;
    void (*lose)(RsbnInputs&, BeaconTable&);
    bool at_search;  // takes effect at the next search tick
  } cases[] = {
      {"channel changed", [](RsbnInputs&, BeaconTable& t) { t[0].beacon_channel = 30; }, true},
      {"beacon beyond 450 km", [](RsbnInputs& i, BeaconTable&) { i.lat_deg += 5.0; }, true},
      {"master off", [](RsbnInputs& i, BeaconTable&) { i.master_switch = 0; }, false},
      {"bus dead", [](RsbnInputs& i, BeaconTable&) { i.bus_volts = 0.0; }, false},
      {"below line of sight", [](RsbnInputs& i, BeaconTable&) { i.alt_m = 150.0; }, false},
      {"position not a number", [](RsbnInputs& i, BeaconTable&) { i.lat_deg = kNaN; }, false},
  };
  for (const auto& c : cases) {
    SetUp();
    s = RsbnState{};
    frames(300);
    ASSERT_EQ(s.rsbn_ready, 1) << c.what;
    c.lose(in, table);
    if (c.at_search) {
      in.tick = 72;
      frames(1);
    } else {
      frame();
    }
    EXPECT_EQ(s.rsbn_ready, 0) << c.what;
    EXPECT_EQ(s.az_ready, 0) << c.what;
    EXPECT_EQ(s.range_ready, 0) << c.what;
    EXPECT_EQ(s.az_settle_count, 0) << c.what;
    EXPECT_EQ(s.range_settle_count, 0) << c.what;
    EXPECT_EQ(s.no_range, 1) << c.what;
    frames(40);
    EXPECT_EQ(s.rsbn_ready, 0) << c.what << ": stays down";
    EXPECT_TRUE(std::isfinite(s.az) && std::isfinite(s.slant_range_m)) << c.what;
  }
}

TEST_F(Rsbn, HostValuesThatAreNotNumbersAreSafe) {
  const struct {
    const char* what;
    double RsbnInputs::*field;
    double value;
  } cases[] = {
      {"tick NaN", &RsbnInputs::tick, kNaN},       {"tick huge", &RsbnInputs::tick, 1e300},
      {"volts NaN", &RsbnInputs::bus_volts, kNaN}, {"lat inf", &RsbnInputs::lat_deg, kInf},
      {"lon NaN", &RsbnInputs::lon_deg, kNaN},     {"lon huge", &RsbnInputs::lon_deg, 1e300},
      {"alt NaN", &RsbnInputs::alt_m, kNaN},       {"alt huge", &RsbnInputs::alt_m, 1e300},
      {"alt -inf", &RsbnInputs::alt_m, -kInf},
  };
  for (const auto& c : cases) {
    SetUp();
    s = RsbnState{};
    frames(60);
    in.*c.field = c.value;
    for (int i = 0; i < 80; ++i) {
      rsbn_step(s, table, in);
      rsbn_publish(s);
      if (std::isfinite(in.tick) && in.tick < 1e15) in.tick += 1;
      const PpdaReadings r = ppda_readings(s);
      ASSERT_TRUE(std::isfinite(s.az) && std::isfinite(s.ground_range)) << c.what;
      ASSERT_FALSE(std::isnan(s.slant_range_m)) << c.what;
      ASSERT_TRUE(std::isfinite(r.az_coarse) && std::isfinite(r.az_fine)) << c.what;
    }
  }
}

// Indicator ---------------------------------------------------------------------------

double drum(const PpdaReadings& r, int k) {
  return frame::drum_show(frame::drum_split(ppda_drum_number(r), 4), k);
}

TEST(RsbnIndicator, RangeTestShowsTwoKilometresWhileTheMasterIsOn) {
  RsbnState s;
  s.slant_range_m = 123456.7;
  s.master_on = 1;
  s.test_range = 1;
  PpdaReadings r = ppda_readings(s);
  EXPECT_EQ(r.range_m, 2000);
  EXPECT_NEAR(drum(r, 0), 0.0, 1e-9);
  EXPECT_NEAR(drum(r, 1), 200.0, 1e-9);  // 2 km
  EXPECT_NEAR(drum(r, 2), 0.0, 1e-9);
  EXPECT_NEAR(drum(r, 3), 0.0, 1e-9);
  s.master_on = 0;
  r = ppda_readings(s);
  EXPECT_EQ(r.range_m, 123456);
  EXPECT_NEAR(drum(r, 0), 456.0, 1e-6);
  EXPECT_NEAR(drum(r, 1), 300.0, 1e-9);
  EXPECT_NEAR(drum(r, 2), 200.0, 1e-9);
  EXPECT_NEAR(drum(r, 3), 100.0, 1e-9);
}

TEST(RsbnIndicator, RangeDrumsCarryLikeAnOdometer) {
  const struct {
    double slant;
    double d[4];
  } cases[] = {
      {9960.0, {960.0, 960.0, 60.0, 0.0}},     // 9.96 km: 9 -> 10 rolls over
      {99950.0, {950.0, 950.0, 950.0, 50.0}},  // 99.95 km
      {19960.0, {960.0, 960.0, 160.0, 0.0}},   // 19.96 km: the 10 km drum rolls 1 -> 2
      {905.0, {905.0, 5.0, 0.0, 0.0}},
  };
  for (const auto& c : cases) {
    RsbnState s;
    s.slant_range_m = c.slant;
    const PpdaReadings r = ppda_readings(s);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(drum(r, k), c.d[k], 1e-6) << c.slant << " d" << k;
  }
}

TEST(RsbnIndicator, AzimuthNeedlesAndTheirTests) {
  const struct {
    double az;
    int master, test_az, test_fine;
    double coarse, fine;
  } cases[] = {
      {123.456, 1, 0, 0, 33.456, 3456 * 0.036 - 90.0},
      {123.456, 1, 1, 0, 4.5, 4500 * 0.036 - 90.0},      // 94.5 degrees
      {123.456, 1, 0, 1, 33.456, 1000 * 0.036 - 90.0},  // fine test: one degree
      {123.456, 1, 1, 1, 4.5, 1000 * 0.036 - 90.0},
      {123.456, 0, 1, 1, 33.456, 3456 * 0.036 - 90.0},  // tests need the master
  };
  for (const auto& c : cases) {
    RsbnState s;
    s.az = c.az;
    s.master_on = c.master;
    s.test_az = c.test_az;
    s.test_az_fine = c.test_fine;
    const PpdaReadings r = ppda_readings(s);
    EXPECT_NEAR(r.az_coarse, c.coarse, 1e-9);
    EXPECT_NEAR(r.az_fine, c.fine, 1e-9);
  }
}

TEST(RsbnIndicator, HugeAndMissingRangesGoThroughTheCheckedConversion) {
  RsbnState s;
  s.slant_range_m = 1e300;
  EXPECT_EQ(ppda_readings(s).range_m, std::numeric_limits<std::int32_t>::max());
  s.slant_range_m = kNaN;
  EXPECT_EQ(ppda_readings(s).range_m, 0);
  s.az = 1e300;
  EXPECT_TRUE(std::isfinite(ppda_readings(s).az_fine));
}

}  // namespace
}  // namespace radio
