// NAV receivers and marker beacons: needles, TO/FROM, DME, ranges, and an
// approach flown through the markers.
#include <gtest/gtest.h>

#include <GeographicLib/Geodesic.hpp>

#include <cmath>
#include <vector>

#include "frame/numeric.h"
#include "host/world_model.h"

namespace host {
namespace {

const GeographicLib::Geodesic& geo() { return GeographicLib::Geodesic::WGS84(); }

// The point `distance` metres from (lat, lon) along `azimuth`.
Position at(double lat, double lon, double azimuth, double distance, double alt,
            double heading = 0.0) {
  Position p;
  geo().Direct(lat, lon, azimuth, distance, p.lat, p.lon);
  p.alt = alt;
  p.heading = heading;
  return p;
}

Station vor(StationType type = StationType::kVorDme) {
  Station s;
  s.type = type;
  s.id = "VOR";
  s.lat = 55.0;
  s.lon = 37.0;
  s.elev = 200.0;
  s.freq_code = 1130;  // 111.30
  s.range_km = default_range_km(type);
  s.dme = type == StationType::kVorDme;
  return s;
}

// Runway 09 (or another course): threshold, landing east.
Station ils(double course = 90.0) {
  Station s;
  s.type = StationType::kIls;
  s.id = "ILS";
  s.lat = 55.0;
  s.lon = 37.0;
  s.elev = 150.0;
  s.freq_code = 1095;  // 110.95
  s.range_km = default_range_km(StationType::kIls);
  s.course = course;
  s.width = 5.0;
  s.gs_angle = 3.0;
  s.dme = true;
  return s;
}

constexpr double kPi = 3.14159265358979323846;

TEST(Vor, NeedleAndToFrom) {
  struct Case {
    double obs;
    double radial;  // where the aircraft is, seen from the station
    double cdi;
    int to_from;
  };
  const Case cases[] = {
      {0.0, 180.0, 0.0, 1},     {0.0, 190.0, 127.0, 1},   {0.0, 170.0, -127.0, 1},
      {0.0, 185.0, 63.5, 1},    {0.0, 175.0, -63.5, 1},   {0.0, 200.0, 127.0, 1},
      {0.0, 10.0, -127.0, 2},   {0.0, 355.0, 63.5, 2},    {0.0, 0.0, 0.0, 2},
      // aircraft south of the course line: right of an eastbound course,
      // left of a westbound one
      {90.0, 265.0, -63.5, 1},  {270.0, 265.0, 63.5, 2},  {45.0, 50.0, -63.5, 2},
  };
  const std::vector<Station> stations{vor()};
  for (const Case& c : cases) {
    const Position p = at(55.0, 37.0, c.radial, 30000.0, 3000.0);
    const NavSignal s = receive_nav(stations, 1130, c.obs, p, 0.0);
    ASSERT_TRUE(s.received);
    EXPECT_NEAR(frame::wrap180(s.radial - c.radial), 0.0, 1e-6) << c.obs << " " << c.radial;
    EXPECT_NEAR(s.cdi, c.cdi, 1e-6) << c.obs << " " << c.radial;
    EXPECT_EQ(s.to_from, c.to_from) << c.obs << " " << c.radial;
    EXPECT_FALSE(s.localizer);
  }
}

TEST(Vor, RadialsAreMagnetic) {
  Station st = vor();
  st.magvar = 10.0;  // east
  const std::vector<Station> stations{st};
  const Position p = at(55.0, 37.0, 190.0, 30000.0, 3000.0);
  EXPECT_NEAR(receive_nav(stations, 1130, 0.0, p, 0.0).radial, 180.0, 1e-6);
  // Without its own variation the station takes the world's.
  const std::vector<Station> plain{vor()};
  EXPECT_NEAR(receive_nav(plain, 1130, 0.0, p, -5.0).radial, 195.0, 1e-6);
}

TEST(Vor, DmeBearingAndRange) {
  const std::vector<Station> stations{vor()};
  // 10 nm south at the station's elevation, heading east: the station is
  // straight left.
  Position p = at(55.0, 37.0, 180.0, 18520.0, 200.0, 90.0);
  p.alt = 400.0;  // 200 m above it: slant range barely longer
  NavSignal s = receive_nav(stations, 1130, 0.0, p, 0.0);
  ASSERT_TRUE(s.received);
  EXPECT_NEAR(s.dme_nm, 10.0, 1e-9);
  EXPECT_NEAR(s.rmi_bearing, 270.0, 0.2);
  // A plain VOR has no DME.
  const std::vector<Station> no_dme{vor(StationType::kVor)};
  EXPECT_EQ(receive_nav(no_dme, 1130, 0.0, p, 0.0).dme_nm, -1.0);
  // Another frequency: nothing.
  s = receive_nav(stations, 1140, 0.0, p, 0.0);
  EXPECT_FALSE(s.received);
  EXPECT_EQ(s.to_from, 0);
  EXPECT_EQ(s.dme_nm, -1.0);
  // Line of sight: 100 km out needs about 400 m above the station.
  EXPECT_FALSE(receive_nav(stations, 1130, 0.0, at(55.0, 37.0, 0.0, 100000.0, 400.0), 0.0)
                   .received);
  EXPECT_TRUE(receive_nav(stations, 1130, 0.0, at(55.0, 37.0, 0.0, 100000.0, 800.0), 0.0)
                  .received);
  // Service range: 240 km even at altitude.
  EXPECT_TRUE(receive_nav(stations, 1130, 0.0, at(55.0, 37.0, 0.0, 235000.0, 10000.0), 0.0)
                  .received);
  EXPECT_FALSE(receive_nav(stations, 1130, 0.0, at(55.0, 37.0, 0.0, 245000.0, 10000.0), 0.0)
                   .received);
}

TEST(Vor, NearestOfTwoOnOneFrequency) {
  Station far = vor();
  far.id = "FAR";
  far.lat = 56.0;
  const std::vector<Station> stations{far, vor()};
  const NavSignal s = receive_nav(stations, 1130, 0.0, at(55.0, 37.0, 0.0, 20000.0, 3000.0), 0.0);
  ASSERT_NE(s.station, nullptr);
  EXPECT_EQ(s.station->id, "VOR");
}

// Localizer needle: full scale at half the sector width, positive with the
// aircraft left of the course (north of runway 09's centre line).
TEST(Ils, LocalizerNeedle) {
  const std::vector<Station> stations{ils()};
  double loc_lat = 0.0, loc_lon = 0.0;
  geo().Direct(55.0, 37.0, 90.0, 3000.0, loc_lat, loc_lon);
  struct Case {
    double bearing_from_loc;
    double cdi;
    int to_from;
  };
  const Case cases[] = {
      {270.0, 0.0, 1},   {272.5, 127.0, 1}, {267.5, -127.0, 1}, {271.25, 63.5, 1},
      {268.75, -63.5, 1}, {275.0, 127.0, 1},
      // back course, behind the localizer: the needle keeps its sides
      {88.75, 63.5, 2},  {91.25, -63.5, 2},
  };
  for (const Case& c : cases) {
    const Position p = at(loc_lat, loc_lon, c.bearing_from_loc, 15000.0, 1000.0, 90.0);
    const NavSignal s = receive_nav(stations, 1095, 0.0, p, 0.0);
    ASSERT_TRUE(s.received) << c.bearing_from_loc;
    EXPECT_TRUE(s.localizer);
    EXPECT_NEAR(s.cdi, c.cdi, 1e-6) << c.bearing_from_loc;
    EXPECT_EQ(s.to_from, c.to_from) << c.bearing_from_loc;
  }
  // Beyond 35 degrees off either course, and beyond 25 nm: no localizer.
  EXPECT_FALSE(receive_nav(stations, 1095, 0.0, at(loc_lat, loc_lon, 0.0, 15000.0, 1000.0), 0.0)
                   .received);
  EXPECT_FALSE(
      receive_nav(stations, 1095, 0.0, at(loc_lat, loc_lon, 270.0, 47000.0, 3000.0), 0.0).received);
}

TEST(Ils, GlideSlopeNeedle) {
  const std::vector<Station> stations{ils()};
  double gs_lat = 0.0, gs_lon = 0.0;
  geo().Direct(55.0, 37.0, 90.0, 300.0, gs_lat, gs_lon);
  struct Case {
    double elevation_deg;  // of the aircraft seen from the glide-slope origin
    double needle;
  };
  const Case cases[] = {
      {3.0, 0.0}, {2.3, 119.0}, {3.7, -119.0}, {3.35, -59.5}, {2.65, 59.5}, {1.0, 119.0},
  };
  const double d = 8000.0;
  for (const Case& c : cases) {
    const double alt = 150.0 + d * std::tan(c.elevation_deg * kPi / 180.0);
    const NavSignal s = receive_nav(stations, 1095, 0.0, at(gs_lat, gs_lon, 270.0, d, alt), 0.0);
    ASSERT_TRUE(s.gs_valid) << c.elevation_deg;
    EXPECT_NEAR(s.gs_needle, c.needle, 1e-6) << c.elevation_deg;
  }
  // Beyond 10 nm, or more than 8 degrees off the approach: not valid.
  NavSignal s = receive_nav(stations, 1095, 0.0, at(gs_lat, gs_lon, 270.0, 19000.0, 1150.0), 0.0);
  EXPECT_TRUE(s.received);
  EXPECT_FALSE(s.gs_valid);
  EXPECT_EQ(s.gs_needle, 0.0);
  EXPECT_FALSE(
      receive_nav(stations, 1095, 0.0, at(gs_lat, gs_lon, 260.0, 8000.0, 570.0), 0.0).gs_valid);
  // A localizer alone.
  Station loc = ils();
  loc.gs_angle = 0.0;
  const std::vector<Station> only{loc};
  EXPECT_FALSE(
      receive_nav(only, 1095, 0.0, at(gs_lat, gs_lon, 270.0, 8000.0, 570.0), 0.0).gs_valid);
}

// Runway 36: along a meridian, where the constant heading the world flies
// is also the localizer's geodesic.
class Approach : public ::testing::Test {
 protected:
  void SetUp() override {
    world.add_station(ils(0.0));
    const struct {
      const char* id;
      double from_threshold;
      MarkerKind kind;
    } markers[] = {{"OM", 7200.0, MarkerKind::kOuter},
                   {"MM", 1050.0, MarkerKind::kMiddle},
                   {"IM", 300.0, MarkerKind::kInner}};
    for (const auto& m : markers) {
      Station st;
      st.type = StationType::kMarker;
      st.id = m.id;
      geo().Direct(55.0, 37.0, 180.0, m.from_threshold, st.lat, st.lon);
      st.elev = 150.0;
      st.kind = m.kind;
      world.add_station(st);
    }
    Station v = vor();
    geo().Direct(55.0, 37.0, 0.0, 6000.0, v.lat, v.lon);  // beyond the far end
    world.add_station(v);
  }
  void place(double from_threshold, double alt, double gs_kmh, double vs) {
    const Position p = at(55.0, 37.0, 180.0, from_threshold, alt);
    const Setting s[] = {{WorldKey::kLat, p.lat}, {WorldKey::kLon, p.lon},
                         {WorldKey::kAlt, alt},   {WorldKey::kHeading, 0.0},
                         {WorldKey::kGs, gs_kmh}, {WorldKey::kVs, vs}};
    world.set_aircraft(s);
  }
  WorldModel world;
  VarTable vars;
};

// Down the glide path at 250 km/h: the needles stay centred, the markers
// come 1, 2, 3, the DME counts down.
TEST_F(Approach, MarkersInOrderOnTheGlidePath) {
  world.on_key_event(event::kNav1Frequency, 0x1095, vars);
  world.on_key_event(event::kNav2Frequency, 0x1130, vars);
  world.on_key_event(event::kNav2Course, 0, vars);
  const double tan3 = std::tan(3.0 * kPi / 180.0);
  const double gs = 250.0;
  const double start = 12000.0;
  place(start, 150.0 + (start + 300.0) * tan3, gs, -gs / 3.6 * tan3);
  std::vector<int> heard;
  double last_dme = 1e9;
  for (int frame = 0; frame < 18 * 170; ++frame) {
    world.step(1.0 / 18, 1.0 / 18, vars);
    if (vars.get(60) == 1.0) break;
    const int m = static_cast<int>(vars.get(354));
    if (m != 0 && (heard.empty() || heard.back() != m)) heard.push_back(m);
    ASSERT_EQ(vars.get(42), 2.0);
    ASSERT_EQ(vars.get(43), 1.0);
    ASSERT_NEAR(vars.get(40), 0.0, 0.5);
    if (vars.get(44) == 1.0) {
      ASSERT_NEAR(vars.get(41), 0.0, 2.0) << frame;
    }
    ASSERT_LE(vars.get(31), last_dme);
    last_dme = vars.get(31);
  }
  EXPECT_EQ(heard, (std::vector<int>{1, 2, 3}));
  EXPECT_LT(last_dme, 0.3);
  // The VOR/DME on NAV2 lies ahead: TO, and it counts down too.
  EXPECT_EQ(vars.get(52), 1.0);
  EXPECT_EQ(vars.get(51), 0.0);
}

TEST_F(Approach, ToFromFlipsOverTheVor) {
  world.on_key_event(event::kNav2Frequency, 0x1130, vars);
  world.on_key_event(event::kNav2Course, 0, vars);
  const Station& v = world.stations().back();
  const Position p = at(v.lat, v.lon, 180.0, 5000.0, 1000.0);
  const Setting s[] = {{WorldKey::kLat, p.lat}, {WorldKey::kLon, p.lon},
                       {WorldKey::kAlt, 1000.0}, {WorldKey::kHeading, 0.0},
                       {WorldKey::kGs, 360.0}};
  world.set_aircraft(s);
  world.publish(vars);
  EXPECT_EQ(vars.get(52), 1.0);
  const double dme_before = vars.get(35);
  for (int i = 0; i < 18 * 40; ++i) world.step(1.0 / 18, 1.0 / 18, vars);
  EXPECT_EQ(vars.get(52), 1.0);
  EXPECT_LT(vars.get(35), dme_before);
  for (int i = 0; i < 18 * 20; ++i) world.step(1.0 / 18, 1.0 / 18, vars);
  EXPECT_EQ(vars.get(52), 2.0);
  EXPECT_NEAR(vars.get(50), 0.0, 1.0);
  // North of the station: radial 0 as a 16-bit angle.
  EXPECT_NEAR(frame::wrap180(vars.get(28) * 360.0 / 65536.0), 0.0, 0.5);
}

TEST(Markers, ConeAboveEachMarker) {
  Station m;
  m.type = StationType::kMarker;
  m.lat = 50.0;
  m.lon = 10.0;
  m.elev = 100.0;
  m.kind = MarkerKind::kMiddle;
  const std::vector<Station> stations{m};
  // At 300 m above it the cone is 50 + 300 tan 40 = 302 m wide.
  EXPECT_EQ(marker_state(stations, at(50.0, 10.0, 0.0, 290.0, 400.0)), 2);
  EXPECT_EQ(marker_state(stations, at(50.0, 10.0, 0.0, 320.0, 400.0)), 0);
  EXPECT_EQ(marker_state(stations, at(50.0, 10.0, 0.0, 0.0, 50.0)), 0);  // below it
  EXPECT_EQ(marker_state({}, at(50.0, 10.0, 0.0, 0.0, 400.0)), 0);
}

}  // namespace
}  // namespace host
