// The RSBN gauges driven as the host drives them: services through the gauge
// callbacks, clicks through the mouse-area records, readings through the
// element callbacks, host values through a stand-in lookup_var, and the
// beacon file from a simulator folder of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "frame/host.h"
#include "frame/state.h"
#include "platform/platform.h"
#include "radio/rsbn.h"
#include "tests/frame/fixture.h"
#include "tests/platform/sim_root_hook.h"

namespace fs = std::filesystem;

namespace radio {
namespace {

// The simulator folder the module finds through gaugehost_sim_root.
std::string& g_sim_root = platform::testing::sim_root_dir();

using frame::testing::TestModule;

// The aircraft as the host reports it, in the host's units.
struct Aircraft {
  double lat_deg = 0.0, lon_deg = 0.0, alt_m = 0.0;
  double volts = 28.0;
  double tick = 0.0;
};
Aircraft g_aircraft;

void GAU_CALL fake_lookup(frame::ModuleVar* v) {
  if (!v) return;
  switch (v->id) {
    case 1: v->value = g_aircraft.tick; break;
    case 71: v->value = g_aircraft.lat_deg / kLatUnitDeg; break;
    case 72: v->value = g_aircraft.lon_deg / kLonUnitDeg; break;
    case 73: v->value = g_aircraft.alt_m; break;
    case 753: v->value = g_aircraft.volts; break;
    default: v->value = 0.0;
  }
}

// Element and area indexes in declaration order.
enum PultArea { kTensDec, kTensInc, kUnitsDec, kUnitsInc, kTestAz, kTestAzFine, kTestRange };
enum PpdaElem { kAzNeedle = 1, kAzFine, kDrum0, kDrum1, kDrum2, kDrum3 };

constexpr double kBeaconLat = 55.755;  // 55 deg 45.30 min
constexpr double kBeaconLon = 37.2;
constexpr double kBeaconElev = 150.0;

class RsbnGauges : public ::testing::Test {
 protected:
  RsbnGauges()
      : m_({{"RSBN_SYS", 15}, {"RSBN_PPDA", 80}, {"RSBN_Pult", 120}, {"RSBN_Pult_2", 120},
            {"UgolKarty", 60}}) {}

  void SetUp() override {
    rsbn() = RsbnState{};
    rsbn_beacons() = BeaconTable{};
    rsbn_panel_gate() = PanelGate{};
    frame::systems() = frame::SystemsState{};
    g_aircraft = Aircraft{};
    services_.lookup_var = fake_lookup;
    define_rsbn(m_.module());
    m_.seal();
    m_.imports().panels.ptr = &services_;

    root_ = fs::temp_directory_path() / ("rsbn_gauges_" + std::to_string(platform::process_id()));
    fs::create_directories(root_ / "gauges" / "ZOR_RSBN_CFG");
    g_sim_root = root_.string();
    write_beacons("[rsbn]\nrsbn_1=27,55*4530,37*1200,150\n");
  }
  void TearDown() override {
    g_sim_root.clear();
    fs::remove_all(root_);
  }

  void write_beacons(const std::string& text) {
    std::ofstream(root_ / "gauges" / "ZOR_RSBN_CFG" / "rsbn_dat.cfg") << text;
  }
  // The aircraft `km` north of the beacon (south when negative), `height` above it.
  void place(double km, double height) {
    g_aircraft.lat_deg = kBeaconLat + km * 1000.0 / kRangeEarthM / kLatRadPerDeg;
    g_aircraft.lon_deg = kBeaconLon;
    g_aircraft.alt_m = kBeaconElev + height;
  }
  // One frame at 18 frames a second: one tick, the placed gauges in order.
  void frame(const std::vector<const char*>& placed = {"RSBN_SYS", "RSBN_Pult", "RSBN_PPDA"}) {
    g_aircraft.tick += 1.0;
    for (const char* g : placed) m_.service(g, frame::kPreUpdate);
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) frame();
  }
  void master(int on) { frame::systems().positions.azs_rsbn_vkl = on; }
  // What the range drums show, in km (d3 d2 d1 . d0).
  double drums_km() {
    return std::floor(m_.value("RSBN_PPDA", kDrum3) / 100.0 + 0.001) * 100.0 +
           std::floor(m_.value("RSBN_PPDA", kDrum2) / 100.0 + 0.001) * 10.0 +
           std::floor(m_.value("RSBN_PPDA", kDrum1) / 100.0 + 0.001) +
           std::floor(m_.value("RSBN_PPDA", kDrum0) / 100.0 + 0.001) / 10.0;
  }

  TestModule m_;
  frame::PanelServices services_{};
  fs::path root_;
};

TEST_F(RsbnGauges, FileIsReadAfterConnectionAndSwitchesComeFromThePositions) {
  m_.service("RSBN_SYS", frame::kConnectWindow);
  EXPECT_EQ(rsbn().reload_file, 1);
  frame();
  EXPECT_EQ(rsbn().reload_file, 0);
  EXPECT_DOUBLE_EQ(rsbn_beacons()[0].lat_deg, kBeaconLat);
  EXPECT_DOUBLE_EQ(rsbn_beacons()[0].elevation_m, kBeaconElev);

  master(1);
  frame::systems().positions.azs_rsbn_opozn = 1;
  frame();
  EXPECT_EQ(rsbn().master_on, 1);
  EXPECT_EQ(rsbn().ident_on, 1);
  EXPECT_EQ(rsbn().powered, 1);
  g_aircraft.volts = std::nan("");
  frame();
  EXPECT_EQ(rsbn().bus_live, 0);
  EXPECT_EQ(rsbn().powered, 0);

  // Edited file: read again only after the next connection.
  write_beacons("[rsbn]\nrsbn_1=5,0*0,0*0,0\n");
  frames(3);
  EXPECT_DOUBLE_EQ(rsbn_beacons()[0].beacon_channel, 27);
  m_.service("RSBN_SYS", frame::kConnectWindow);
  frame();
  EXPECT_DOUBLE_EQ(rsbn_beacons()[0].beacon_channel, 5);
}

// A flight north past the beacon at 900 km/h, 6000 m above it.
TEST_F(RsbnGauges, IndicatorFollowsAndReadinessComesAndGoesWithTheBeacon) {
  constexpr double kKmPerFrame = 900.0 / 3600.0 / 18.0;
  double km = -30.0;
  place(km, 6000.0);
  master(1);
  m_.service("RSBN_SYS", frame::kConnectWindow);
  auto fly = [&](int n) {
    for (int i = 0; i < n; ++i) {
      km += kKmPerFrame;
      place(km, 6000.0);
      frame();
    }
  };

  // The first search (tick 36) finds the beacon; readiness needs settling.
  int to_ready = 0;
  while (rsbn().rsbn_ready == 0 && to_ready < 2000) {
    fly(1);
    ++to_ready;
  }
  ASSERT_EQ(rsbn().rsbn_ready, 1);
  EXPECT_GT(to_ready, 36 + kSettleFrames);
  EXPECT_EQ(rsbn().beacon_index, 1);
  EXPECT_NEAR(m_.value("RSBN_PPDA", kAzNeedle), 180.0 - 90.0, 0.2) << "south of the beacon";
  const double slant = std::hypot(-km, 6.0);
  EXPECT_NEAR(drums_km(), slant, 0.15);

  // Another channel: lost at the next search, ready at once 0; the indicator
  // stops where it was.
  m_.click("RSBN_Pult", kUnitsInc);
  fly(37);
  EXPECT_EQ(rsbn().selected_channel, 28);
  EXPECT_EQ(rsbn().found, 0);
  EXPECT_EQ(rsbn().rsbn_ready, 0);
  EXPECT_EQ(rsbn().no_range, 1);
  const double frozen = drums_km();
  fly(200);
  EXPECT_DOUBLE_EQ(drums_km(), frozen);
  EXPECT_EQ(rsbn().rsbn_ready, 0);

  // Back on 27 and on past the beacon: north of it the azimuth reads 0.
  m_.click("RSBN_Pult", kUnitsDec);
  fly(static_cast<int>((30.0 - km) / kKmPerFrame));  // to 30 km north
  EXPECT_EQ(rsbn().rsbn_ready, 1);
  EXPECT_NEAR(m_.value("RSBN_PPDA", kAzNeedle), 0.0 - 90.0, 0.2);
  EXPECT_NEAR(drums_km(), std::hypot(km, 6.0), 0.15);

  // Down to the beacon's height 50 km out: beyond line of sight (40 km).
  km = 50.0;
  place(km, 0.0);
  frame();
  EXPECT_EQ(rsbn().in_range_dist, 0);
  EXPECT_EQ(rsbn().rsbn_ready, 0);
  EXPECT_EQ(rsbn().no_azimuth, 1);
}

TEST_F(RsbnGauges, EitherPanelPlacementRunsTheTestCountdownOncePerFrame) {
  const std::vector<std::vector<const char*>> panels = {
      {"RSBN_SYS", "RSBN_Pult", "RSBN_PPDA"},
      {"RSBN_SYS", "RSBN_Pult_2", "RSBN_PPDA"},
      {"RSBN_SYS", "RSBN_Pult", "RSBN_Pult_2", "RSBN_PPDA"},
      {"RSBN_Pult_2", "RSBN_PPDA", "RSBN_SYS", "RSBN_Pult"},
  };
  master(1);
  place(-30.0, 6000.0);
  for (const auto& placed : panels) {
    frame(placed);
    const bool first_panel = std::find(placed.begin(), placed.end(), std::string_view("RSBN_Pult")) !=
                             placed.end();
    m_.click(first_panel ? "RSBN_Pult" : "RSBN_Pult_2", kTestRange);
    int shown = 0;
    for (int f = 0; f < 40; ++f) {
      frame(placed);
      if (std::fabs(drums_km() - 2.0) < 1e-9) ++shown;
    }
    EXPECT_EQ(shown, 16) << placed.size() << " gauges, first " << placed.front();
    EXPECT_EQ(rsbn().test_range, 0);
  }
}

TEST_F(RsbnGauges, RangeTestShowsTwoKilometresOnlyWithTheMasterOn) {
  place(-30.0, 6000.0);
  m_.service("RSBN_SYS", frame::kConnectWindow);
  master(1);
  frames(300);
  const double real = drums_km();
  EXPECT_NEAR(real, std::hypot(30.0, 6.0), 0.15);
  for (int held = 0; held < 30; ++held) {  // held: the area repeats each frame
    m_.click("RSBN_Pult", kTestRange);
    frame();
    ASSERT_DOUBLE_EQ(drums_km(), 2.0);
  }
  // Released: the last press holds for 16 frames, the one above included.
  frames(15);
  EXPECT_DOUBLE_EQ(drums_km(), 2.0);
  frame();
  EXPECT_DOUBLE_EQ(drums_km(), real) << "the real range once 16 frames have passed";

  master(0);
  frame();
  m_.click("RSBN_Pult", kTestRange);
  frame();
  EXPECT_DOUBLE_EQ(drums_km(), real);
}

TEST_F(RsbnGauges, KnobPointersAndMapAngle) {
  frame();
  for (int i = 0; i < 6; ++i) m_.click("RSBN_Pult_2", kTensInc);
  frame();
  EXPECT_EQ(rsbn().channel_tens, 4);
  EXPECT_DOUBLE_EQ(m_.value("RSBN_Pult", 1), 4 * 30.0 - 150.0);
  EXPECT_DOUBLE_EQ(m_.value("RSBN_Pult", 2), 7 * 30.0 + 120.0);

  // UgolKarty: left knob -0.1 / -5, right knob +0.1 / +5, wrapping at 0 and 360.
  m_.click("UgolKarty", 0, frame::kMouseLeft);
  EXPECT_NEAR(rsbn().map_angle_deg, 359.9, 1e-9);
  m_.click("UgolKarty", 1, frame::kMouseRight);
  EXPECT_NEAR(rsbn().map_angle_deg, 4.9, 1e-9);
  EXPECT_NEAR(m_.value("UgolKarty", 1), 4.9, 1e-9);
  EXPECT_NEAR(m_.value("UgolKarty", 2), 4.9 * 36.0, 1e-9);
}

}  // namespace
}  // namespace radio
