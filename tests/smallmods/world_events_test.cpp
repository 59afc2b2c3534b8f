// The world as the radio and altimeter panels drive it: their key events
// change the COM frequencies, the transponder code and the altimeter
// setting, and the module variables follow at once.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "host/world_model.h"

namespace host {
namespace {

class Panels : public ::testing::Test {
 protected:
  Panels() { world.publish(vars); }

  static std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> w;
    for (std::string s; in >> s;) w.push_back(s);
    return w;
  }
  bool aircraft(const std::string& text, std::string* why = nullptr) {
    std::vector<Setting> settings;
    std::string error;
    if (!parse_aircraft(words(text), &settings, &error)) {
      if (why) *why = error;
      return false;
    }
    world.set_aircraft(settings);
    world.publish(vars);
    return true;
  }
  void send(u32 id, int times = 1) {
    for (int i = 0; i < times; ++i) world.on_key_event(id, 0, vars);
  }
  double w(WorldKey k) const { return world.value(k); }

  WorldModel world;
  VarTable vars;
};

TEST_F(Panels, ComKnobsWrapTheWholeMegahertzAndTheChannelWithoutCarry) {
  struct Case {
    const char* start;
    u32 event;
    int times;
    double mhz;
    u32 word;
  };
  const Case cases[] = {
      {"com1 122.8", event::kCom1WholeUp, 1, 123.8, 0x2380},
      {"com1 136.5", event::kCom1WholeUp, 1, 118.5, 0x1850},
      {"com1 118.5", event::kCom1WholeDown, 1, 136.5, 0x3650},
      {"com1 122.8", event::kCom1FractionUp, 1, 122.825, 0x2282},
      {"com1 122.95", event::kCom1FractionUp, 2, 122.0, 0x2200},
      {"com1 122.0", event::kCom1FractionDown, 1, 122.975, 0x2297},
      {"com1 118.0", event::kCom1FractionDown, 40, 118.0, 0x1800},  // a full turn
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(aircraft(c.start)) << c.start;
    send(c.event, c.times);
    EXPECT_DOUBLE_EQ(w(WorldKey::kCom1), c.mhz) << c.start;
    EXPECT_EQ(vars.get(var::kCom1Frequency), c.word) << c.start;
  }
}

TEST_F(Panels, EachComRadioHasItsOwnEvents) {
  ASSERT_TRUE(aircraft("com1 122.8 com2 121.5"));
  send(event::kCom2WholeUp);
  send(event::kCom2FractionUp, 3);
  send(event::kCom2FractionDown);
  EXPECT_DOUBLE_EQ(w(WorldKey::kCom1), 122.8);
  EXPECT_DOUBLE_EQ(w(WorldKey::kCom2), 122.55);
  EXPECT_EQ(vars.get(var::kCom2Frequency), 0x2255);
  EXPECT_EQ(vars.get(var::kCom1Frequency), 0x2280);
  send(66439);  // between the COM 2 fraction events: not one of them
  EXPECT_DOUBLE_EQ(w(WorldKey::kCom2), 122.55);
}

TEST_F(Panels, TransponderDigitsAreOctalAndWrap) {
  struct Case {
    const char* start;
    int digit;  // 0 thousands .. 3 units
    int dir;
    double code;
  };
  const Case cases[] = {
      {"xpdr 1200", 0, +1, 2200}, {"xpdr 7200", 0, +1, 200},  {"xpdr 1200", 1, -1, 1100},
      {"xpdr 1000", 1, -1, 1700}, {"xpdr 1277", 3, +1, 1270}, {"xpdr 0", 2, -1, 70},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(aircraft(c.start)) << c.start;
    const auto k = static_cast<std::size_t>(c.digit);
    send(c.dir > 0 ? event::kXpdrUp[k] : event::kXpdrDown[k]);
    EXPECT_EQ(w(WorldKey::kXpdr), c.code) << c.start;
  }
  ASSERT_TRUE(aircraft("xpdr 7531"));
  EXPECT_EQ(vars.get(var::kTransponder), 0x7531);
}

TEST_F(Panels, AltimeterSettingStepsOneHectopascalWithinItsRange) {
  EXPECT_EQ(vars.get(var::kAltimeterHpa), 1013.25);
  send(event::kAltimeterUp, 3);
  EXPECT_EQ(vars.get(var::kAltimeterHpa), 1016.25);
  EXPECT_NEAR(vars.get(var::kAltimeterInHg), 1016.25 / 33.8639, 1e-12);
  send(event::kAltimeterDown, 500);
  EXPECT_EQ(w(WorldKey::kAltimeter), WorldModel::kMinAltimeter);
  world.on_key_event(event::kAltimeterSetting, 1190 * 16, vars);
  send(event::kAltimeterUp, 20);
  EXPECT_EQ(vars.get(var::kAltimeterHpa), WorldModel::kMaxAltimeter);
}

TEST_F(Panels, AircraftSetsTheRadiosOnTheirChannels) {
  ASSERT_TRUE(aircraft("com1 122.81 com2 136.975 xpdr 7777 altimeter 990"));
  EXPECT_DOUBLE_EQ(w(WorldKey::kCom1), 122.8);
  EXPECT_EQ(vars.get(var::kCom2Frequency), 0x3697);
  EXPECT_EQ(vars.get(var::kTransponder), 0x7777);
  EXPECT_EQ(vars.get(var::kAltimeterHpa), 990.0);
  const char* bad[] = {"xpdr 1278",  "xpdr 12.5", "xpdr 10000",
                       "com1 117.9", "com2 137",  "altimeter 1300"};
  for (const char* text : bad) {
    std::string why;
    EXPECT_FALSE(aircraft(text, &why)) << text;
    EXPECT_FALSE(why.empty()) << text;
  }
}

TEST_F(Panels, OutsideTemperatureFor350IsCelsiusOver256) {
  ASSERT_TRUE(aircraft("alt 11019"));
  EXPECT_NEAR(vars.get(var::kOutsideTemperature256) * 256.0, -56.5, 0.01);
  EXPECT_NEAR(vars.get(var::kOutsideTemperature256) * 256.0, vars.get(var::kOutsideTemperature),
              1e-9);
}

}  // namespace
}  // namespace host
