// The aircraft's kinematics, airspeeds and key events, read back through
// the module variables with the modules' own decode factors.
#include <gtest/gtest.h>

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/Rhumb.hpp>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "host/world_model.h"

namespace host {
namespace {

constexpr double kFps = 18.0;
constexpr double kPi = 3.14159265358979323846;

class Flight : public ::testing::Test {
 protected:
  Flight() { world.publish(vars); }

  static std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> w;
    for (std::string s; in >> s;) w.push_back(s);
    return w;
  }
  void aircraft(const std::string& text) {
    std::vector<Setting> settings;
    std::string why;
    ASSERT_TRUE(parse_aircraft(words(text), &settings, &why)) << why;
    world.set_aircraft(settings);
    world.publish(vars);
  }
  void fly(const std::string& text) {
    FlyTargets t;
    std::string why;
    ASSERT_TRUE(parse_fly(words(text), &t, &why)) << why;
    world.fly(t);
    world.publish(vars);
  }
  void run(double seconds, double rate = 1.0) {
    const long n = std::lround(seconds * kFps);
    for (long i = 0; i < n; ++i) world.step(1.0 / kFps, rate / kFps, vars);
  }
  void event(u32 id, u32 value) { world.on_key_event(id, value, vars); }

  // As the modules decode them.
  double lat() const { return vars.get(71) * 8.998425275576774e-06; }
  double lon() const { return vars.get(72) * 1.2789769243681803e-12; }
  double w(WorldKey k) const { return world.value(k); }

  WorldModel world;
  VarTable vars;
};

TEST_F(Flight, OneHourNorthEndsAtTheGeodesicDestination) {
  aircraft("lat 55.75 lon 37.60 alt 3000 heading 0 gs 800");
  run(3600.0);
  double lat2 = 0.0, lon2 = 0.0;
  GeographicLib::Geodesic::WGS84().Direct(55.75, 37.60, 0.0, 800000.0, lat2, lon2);
  EXPECT_NEAR(lat(), lat2, 1e-5);
  EXPECT_NEAR(lon(), 37.60, 1e-9);
  EXPECT_NEAR(vars.get(73), 3000.0, 1e-9);
}

TEST_F(Flight, ConstantHeadingFliesARhumbLine) {
  aircraft("lat 55.75 lon 37.60 alt 3000 heading 45 gs 800");
  run(3600.0);
  double lat2 = 0.0, lon2 = 0.0;
  GeographicLib::Rhumb::WGS84().Direct(55.75, 37.60, 45.0, 800000.0, lat2, lon2);
  EXPECT_NEAR(lat(), lat2, 1e-4);
  EXPECT_NEAR(lon(), lon2, 1e-4);
}

TEST_F(Flight, CrossesTheDateLineAndThePole) {
  aircraft("lat 10 lon 179.9 alt 3000 heading 90 gs 900");
  run(120.0);
  EXPECT_LT(lon(), -179.0);
  aircraft("lat 89.99 lon 0 heading 0 gs 900");
  run(120.0);
  EXPECT_TRUE(std::isfinite(lat()) && lat() <= 90.0 && lat() > 89.0);
}

// The wind triangle: drift, ground speed and the four velocity variables.
TEST_F(Flight, WindTriangle) {
  struct Case {
    const char* setup;
    double heading;  // expected
    double track;
    double gs;
  };
  const double d = 180.0 / kPi;
  const Case cases[] = {
      // 100 km/h from the left at 800 true: atan(100/800)
      {"heading 0 tas 800 wind_dir 270 wind_speed 100", 0.0, std::atan(0.125) * d,
       std::hypot(800.0, 100.0)},
      // the same wind with the ground speed held: asin(100/800)
      {"heading 0 gs 800 wind_dir 270 wind_speed 100", 0.0, std::asin(0.125) * d, 800.0},
      {"heading 0 tas 800 wind_dir 0 wind_speed 100", 0.0, 0.0, 700.0},
      {"heading 90 tas 500 wind_dir 45 wind_speed 100", 90.0,
       90.0 + std::atan2(100 * std::sin(kPi / 4), 500 - 100 * std::cos(kPi / 4)) * d,
       std::hypot(100 * std::sin(kPi / 4), 500 - 100 * std::cos(kPi / 4))},
      // holding a track: crab into a wind from the north
      {"track 90 tas 500 wind_dir 0 wind_speed 100", 90.0 - std::asin(0.2) * d, 90.0,
       std::sqrt(500.0 * 500.0 - 100.0 * 100.0)},
  };
  for (const Case& c : cases) {
    aircraft(std::string("lat 50 lon 10 alt 3000 ") + c.setup);
    EXPECT_NEAR(w(WorldKey::kHeading), c.heading, 1e-9) << c.setup;
    EXPECT_NEAR(w(WorldKey::kTrack), c.track, 1e-9) << c.setup;
    EXPECT_NEAR(w(WorldKey::kGs), c.gs, 1e-9) << c.setup;
    const double drift = (c.track - c.heading) / d;
    EXPECT_NEAR(vars.get(551) * 1.09728, c.gs * std::cos(drift), 1e-9) << c.setup;
    EXPECT_NEAR(vars.get(552) * 1.09728, c.gs * std::sin(drift), 1e-9) << c.setup;
    EXPECT_NEAR(vars.get(554) * 1.09728, c.gs * std::cos(c.track / d), 1e-9) << c.setup;
    EXPECT_NEAR(vars.get(555) * 1.09728, c.gs * std::sin(c.track / d), 1e-9) << c.setup;
    EXPECT_NEAR(vars.get(86), c.heading, 1e-9);
  }
}

TEST_F(Flight, OnTheGroundThereIsNoDrift) {
  aircraft("lat 50 lon 10 alt 0 heading 0 gs 100 wind_dir 270 wind_speed 50");
  EXPECT_EQ(vars.get(60), 1.0);
  EXPECT_EQ(w(WorldKey::kTrack), 0.0);
  EXPECT_NEAR(vars.get(552), 0.0, 1e-12);
}

// Climbing at a held IAS: true airspeed grows, Mach stays TAS over the
// speed of sound, the IAS variable stays put.
TEST_F(Flight, HeldIasThroughAClimb) {
  aircraft("lat 50 lon 10 alt 500 heading 0 ias 500");
  fly("alt 11019 vs 25");
  double last_tas = 0.0;
  for (int i = 0; i < 9; ++i) {
    run(50.0);
    const double tas = w(WorldKey::kTas);
    EXPECT_NEAR(vars.get(61) * 1.852, 500.0, 1e-9);
    const double a = w(WorldKey::kSoundSpeed);  // km/h
    EXPECT_NEAR(vars.get(64) / 20480.0 * a, tas, 1e-6);
    EXPECT_NEAR(a, std::sqrt(1.4 * 287.05287 * (vars.get(341) + 273.15)) * 3.6, 1e-6);
    EXPECT_GT(tas, last_tas);
    last_tas = tas;
  }
  EXPECT_NEAR(vars.get(73), 11019.0, 1e-9);
  EXPECT_EQ(vars.get(65), 0.0);  // levelled off
  EXPECT_NEAR(vars.get(342) / 16.0, 226.3, 0.2);
  EXPECT_NEAR(vars.get(341), -56.5, 0.01);
}

TEST_F(Flight, ClimbsDescendsAndStopsOnTheTerrain) {
  aircraft("lat 50 lon 10 terrain 200 agl 0 heading 0 tas 300");
  EXPECT_EQ(vars.get(60), 1.0);
  fly("alt 1200 vs 5");
  run(100.0);
  EXPECT_NEAR(vars.get(73), 700.0, 1e-6);
  EXPECT_NEAR(vars.get(614), 500.0, 1e-6);
  EXPECT_NEAR(vars.get(65) / 256.0, 5.0, 1e-12);
  EXPECT_EQ(vars.get(60), 0.0);
  // Climbing nose up: pitch negative, the flight-path angle.
  const double gamma = std::asin(5.0 / (300.0 / 3.6)) * 180.0 / kPi;
  EXPECT_NEAR(vars.get(77), -gamma, 1e-9);
  run(101.0);
  EXPECT_EQ(vars.get(73), 1200.0);
  EXPECT_EQ(vars.get(65), 0.0);
  EXPECT_NEAR(vars.get(77), 0.0, 1e-12);
  aircraft("vs -20");
  run(100.0);
  EXPECT_EQ(vars.get(73), 200.0);
  EXPECT_EQ(vars.get(60), 1.0);
  EXPECT_EQ(vars.get(614), 0.0);
  EXPECT_EQ(vars.get(65), 0.0);
}

TEST_F(Flight, PitchKeepsItsAngleAboveTheFlightPath) {
  aircraft("lat 50 lon 10 alt 1000 heading 0 tas 360 pitch -3");
  EXPECT_NEAR(vars.get(77), -3.0, 1e-12);
  aircraft("vs 5");
  EXPECT_NEAR(vars.get(77), -3.0 - std::asin(5.0 / 100.0) * 180.0 / kPi, 1e-9);
}

TEST_F(Flight, TurnsTowardAHeading) {
  struct Case {
    const char* setup;
    const char* target;
    double rate;  // expected, degrees per second; positive right
  };
  const double g = 9.80665;
  const Case cases[] = {
      // slow: standard rate, 3 degrees per second
      {"heading 0 tas 300", "heading 90", 3.0},
      // fast: standard rate would need more than 30 degrees of bank
      {"heading 0 tas 800", "heading 90",
       g * std::tan(30.0 * kPi / 180.0) / (800.0 / 3.6) * 180.0 / kPi},
      // the shorter way round, at the given rate
      {"heading 10 tas 300", "heading 280 rate 1", -1.0},
  };
  for (const Case& c : cases) {
    aircraft(std::string("lat 50 lon 10 alt 3000 bank 0 ") + c.setup);
    fly(c.target);
    run(1.0);
    EXPECT_NEAR(w(WorldKey::kTurnRate), c.rate, 1e-9) << c.setup;
    const double tas = w(WorldKey::kTas) / 3.6;
    const double bank = std::atan(tas * c.rate * kPi / 180.0 / g) * 180.0 / kPi;
    // Right turn: right wing down, negative bank, delivered as 360 - bank.
    EXPECT_NEAR(w(WorldKey::kBank), -bank, 1e-9) << c.setup;
    double v79 = vars.get(79);
    if (v79 > 180.0) v79 -= 360.0;
    EXPECT_NEAR(v79, -bank, 1e-9) << c.setup;
    run(200.0);
    EXPECT_EQ(w(WorldKey::kTurnRate), 0.0) << c.setup;
    EXPECT_EQ(vars.get(79), 0.0) << c.setup;
  }
  EXPECT_EQ(vars.get(86), 280.0);
  aircraft("magvar 10");
  EXPECT_EQ(vars.get(81), 270.0);
  EXPECT_EQ(vars.get(82), 10.0);
}

TEST_F(Flight, AcceleratesTowardAnIas) {
  aircraft("lat 50 lon 10 alt 3000 heading 0 tas 400");
  fly("ias 500 accel 10");
  const double start = w(WorldKey::kIas);
  run(2.0);
  EXPECT_NEAR(w(WorldKey::kIas), start + 20.0, 1e-6);
  run(60.0);
  EXPECT_NEAR(w(WorldKey::kIas), 500.0, 1e-9);
}

TEST_F(Flight, PausedTimeMovesNothing) {
  aircraft("lat 50 lon 10 alt 3000 heading 0 gs 800");
  fly("heading 90 alt 5000");
  const double before = vars.get(71);
  for (int i = 0; i < 36; ++i) world.step(1.0 / kFps, 0.0, vars);
  EXPECT_EQ(vars.get(71), before);
  EXPECT_EQ(vars.get(86), 0.0);
  EXPECT_EQ(vars.get(73), 3000.0);
}

TEST_F(Flight, HeldVariablesStayWhereTheScenarioPutThem) {
  aircraft("lat 50 lon 10 alt 3000 heading 0 ias 400");
  vars.hold(61, 123.0);
  vars.hold(753, 12.0);
  run(1.0);
  EXPECT_EQ(vars.get(61), 123.0);
  EXPECT_EQ(vars.get(753), 12.0);
  vars.release(61);
  run(0.1);
  EXPECT_NEAR(vars.get(61) * 1.852, 400.0, 1e-9);
}

TEST_F(Flight, KeyEventsActAtOnce) {
  struct Case {
    u32 id;
    u32 value;
    u32 var;
    double expected;
  };
  const Case cases[] = {
      {65708, 0x1130, 24, 0x1130},     // NAV1 113.30
      {65708, 0x10A0, 24, 0x1130},     // not BCD: ignored
      {65708, 0x12345, 24, 0x1130},    // beyond 16 bits: ignored
      {65709, 0x0915, 27, 0x0915},     // NAV2 109.15
      {65716, 365, 45, 5.0},           // courses wrap
      {65716, 0xFFFFFFFF, 45, 359.0},  // -1
      {65717, 90, 54, 90.0},
      {66040, 16 * 1000, 75, 1000.0},  // altimeter setting, 16 x hPa
      {66040, 16 * 100, 75, 1000.0},   // out of range: ignored
      {65615, 1, 24, 0x1130},          // anything else: logged only
  };
  for (const Case& c : cases) {
    event(c.id, c.value);
    EXPECT_EQ(vars.get(c.var), c.expected) << c.id << " " << c.value;
  }
  EXPECT_EQ(world.events().size(), std::size(cases));
  EXPECT_EQ(world.events().back().id, 65615u);
  EXPECT_NEAR(vars.get(76), 1000.0 / 33.8639, 1e-9);
}

// The altimeter: standard pressure altitude against its setting, in feet
// unless the unit setting (335) is 2.
TEST_F(Flight, IndicatedAltitude) {
  aircraft("lat 50 lon 10 alt 0 heading 0 tas 0");
  EXPECT_NEAR(vars.get(74), 0.0, 1e-6);
  event(66040, 16 * 1000);  // 1000 hPa lies 110.9 m above 1013.25
  EXPECT_NEAR(vars.get(74), -110.9 / 0.3048, 0.5);
  vars.hold(335, 2.0);
  world.publish(vars);
  EXPECT_NEAR(vars.get(74), -110.9, 0.1);
  event(66040, static_cast<u32>(16 * 1013.25));
  aircraft("alt 11019");  // geometric: the altimeter shows geopotential
  EXPECT_NEAR(vars.get(74), 11000.0, 0.1);
}

TEST(WorldParse, RejectsBadSettings) {
  const char* bad[] = {
      "",          "lat",         "lat 91",        "lat x",   "bogus 1",  "turn_rate 1",
      "on_ground 2", "mach 6",    "ias -1",        "lat nan", "lat 1e999",
  };
  for (const char* text : bad) {
    std::istringstream in(text);
    std::vector<std::string> w;
    for (std::string s; in >> s;) w.push_back(s);
    std::vector<Setting> out;
    std::string why;
    EXPECT_FALSE(parse_aircraft(w, &out, &why)) << text;
    EXPECT_FALSE(why.empty()) << text;
  }
  const char* bad_fly[] = {"rate 3", "heading 90 rate 0", "vs 5", "accel 1", "alt", "climb 5"};
  for (const char* text : bad_fly) {
    std::istringstream in(text);
    std::vector<std::string> w;
    for (std::string s; in >> s;) w.push_back(s);
    FlyTargets t;
    std::string why;
    EXPECT_FALSE(parse_fly(w, &t, &why)) << text;
  }
}

}  // namespace
}  // namespace host
