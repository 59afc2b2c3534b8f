// Pure rules of the systems state and the configuration readers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "frame/gauge.h"
#include "frame/profile.h"
#include "frame/state.h"

namespace {

using frame::Config;
using frame::Profile;

TEST(Rules, MainBusNeedsMoreThanTwentyVolts) {
  const struct {
    double volts;
    int powered;
  } cases[] = {
      {19.99, 0},
      {20.0, 0},
      {20.01, 1},
      {28.0, 1},
      {0.0, 0},
      {-28.0, 0},
      {std::numeric_limits<double>::quiet_NaN(), 0},
      {std::numeric_limits<double>::infinity(), 1},
      {-std::numeric_limits<double>::infinity(), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(frame::bus_powered(c.volts), c.powered) << c.volts;
}

TEST(Rules, SoundLevelIsClampedHundredthsOfADecibel) {
  const struct {
    double percent;
    int level;
  } cases[] = {
      {100, 0},        {0, -2000},
      {150, 0},        {70, -600},
      {-5, -2000},     {50, -1000},
      {99.99, 0},      {1e300, 0},
      {-1e300, -2000}, {std::numeric_limits<double>::quiet_NaN(), -2000},
  };
  for (const auto& c : cases) EXPECT_EQ(frame::sound_level(c.percent), c.level) << c.percent;
}

TEST(Rules, CounterScaleIsWholeKilometresOnlyForOne) {
  EXPECT_DOUBLE_EQ(frame::counter_scale(1), 1.0);
  for (int v : {0, 2, -1, 100}) EXPECT_DOUBLE_EQ(frame::counter_scale(v), 0.1) << v;
}

TEST(Rules, BoosterGuardClosesOnlyOverThreeBoostersOn) {
  using frame::BoosterGroup;
  const frame::u32 L = frame::kMouseLeft, R = frame::kMouseRight;
  const struct {
    const char* name;
    BoosterGroup before;
    int index;
    frame::u32 flags;
    BoosterGroup after;
  } cases[] = {
      {"left flips under open guard", {{0, 0, 0}, 1, 0}, 1, L, {{0, 1, 0}, 1, 0}},
      {"left flips back", {{0, 1, 0}, 1, 0}, 1, L, {{0, 0, 0}, 1, 0}},
      {"left under closed guard", {{1, 1, 1}, 0, 1}, 0, L, {{1, 1, 1}, 0, 1}},
      {"right refuses to close", {{1, 1, 0}, 1, 0}, 0, R, {{1, 1, 0}, 1, 0}},
      {"right closes over three on", {{1, 1, 1}, 1, 1}, 2, R, {{1, 1, 1}, 0, 1}},
      {"right opens", {{1, 1, 1}, 0, 1}, 1, R, {{1, 1, 1}, 1, 1}},
      {"booster 3 on sets its flag", {{0, 0, 0}, 1, 0}, 2, L, {{0, 0, 1}, 1, 1}},
      {"booster 3 off clears it", {{0, 0, 1}, 1, 1}, 2, L, {{0, 0, 0}, 1, 0}},
      {"other boosters leave it", {{0, 0, 1}, 1, 1}, 0, L, {{1, 0, 1}, 1, 1}},
      {"index out of range", {{0, 0, 0}, 1, 0}, 3, L, {{0, 0, 0}, 1, 0}},
      {"negative index", {{0, 0, 0}, 1, 0}, -1, R, {{0, 0, 0}, 1, 0}},
      {"no button", {{0, 0, 0}, 1, 0}, 0, 0, {{0, 0, 0}, 1, 0}},
  };
  for (const auto& c : cases) {
    const BoosterGroup got = frame::booster_click(c.before, c.index, c.flags);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(got.sw[i], c.after.sw[i]) << c.name << " switch " << i;
    EXPECT_EQ(got.guard, c.after.guard) << c.name;
    EXPECT_EQ(got.flag3, c.after.flag3) << c.name;
  }
}

// Configuration readers ------------------------------------------------------

Config read_all(const std::string& text) {
  const Profile p = Profile::parse(text);
  Config c{};
  frame::read_nvu_config(p, c);
  frame::read_absu_config(p, c);
  frame::read_msrp_config(p, c);
  frame::read_sound_config(p, c);
  return c;
}

TEST(Config, StartValuesAreTheFileDefaults) {
  const Config start{};
  const Config empty = read_all("");
  EXPECT_EQ(start.nvu_v52_100, empty.nvu_v52_100);
  EXPECT_DOUBLE_EQ(start.nvu_scale, empty.nvu_scale);
  EXPECT_EQ(start.panel_auto, empty.panel_auto);
  EXPECT_DOUBLE_EQ(start.ups_percent, empty.ups_percent);
  EXPECT_EQ(start.ap_hydro_on, empty.ap_hydro_on);
  EXPECT_DOUBLE_EQ(start.msrp_speed_min, empty.msrp_speed_min);
  EXPECT_EQ(start.msrp_one_file, empty.msrp_one_file);
  EXPECT_EQ(start.sound, empty.sound);
  EXPECT_EQ(start.sirena_lev, empty.sirena_lev);
  EXPECT_EQ(start.key_lev, empty.key_lev);
  EXPECT_EQ(start.key_sound_on, empty.key_sound_on);
}

TEST(Config, AbsentKeysGiveDefaults) {
  const Config c = read_all("[system]\nunrelated=5\n[sound]\n");
  EXPECT_EQ(c.nvu_v52_100, 0);
  EXPECT_DOUBLE_EQ(c.nvu_scale, 0.1);
  EXPECT_EQ(c.panel_auto, 1);
  EXPECT_DOUBLE_EQ(c.ups_percent, 67.0);
  EXPECT_EQ(c.ap_hydro_on, 1);
  EXPECT_DOUBLE_EQ(c.msrp_speed_min, 100.0);
  EXPECT_EQ(c.msrp_one_file, 1);
  EXPECT_EQ(c.sound, 1);
  for (int lev : {c.sirena_lev, c.dinamik_lev, c.telefony_lev, c.zvonok_lev, c.key_lev})
    EXPECT_EQ(lev, -600);
  EXPECT_EQ(c.key_sound_on, 1);
}

TEST(Config, DrumScaleFromTruncatedInteger) {
  const struct {
    const char* value;
    int integer;
    double scale;
  } cases[] = {
      {"1", 1, 1.0},     {"1.9", 1, 1.0}, {"abc", 0, 0.1}, {"0", 0, 0.1},    {"2", 2, 0.1},
      {"-1.5", -1, 0.1}, {"", 0, 0.1},    {" 1", 1, 1.0},  {"0.99", 0, 0.1},
  };
  for (const auto& c : cases) {
    const Config got = read_all(std::string("[system]\nnvu_v52_100=") + c.value + "\n");
    EXPECT_EQ(got.nvu_v52_100, c.integer) << c.value;
    EXPECT_DOUBLE_EQ(got.nvu_scale, c.scale) << c.value;
  }
}

TEST(Config, ReadsEveryKeyOfBothSections) {
  const Config c = read_all(
      "[system]\n"
      "nvu_v52_100=1\npanel_auto=0\nups_percent=55.5\nap_hydro_on=0\n"
      "msrp_speed_min=250.25\nmsrp_one_file=0\n"
      "[sound]\n"
      "sound=0\nsirena_lev=100\ndinamik_lev=0\ntelefony_lev=150\nzvonok_lev=-5\n"
      "key_lev=70\nkey_sound_on=0\n");
  EXPECT_DOUBLE_EQ(c.nvu_scale, 1.0);
  EXPECT_EQ(c.panel_auto, 0);
  EXPECT_DOUBLE_EQ(c.ups_percent, 55.5);
  EXPECT_EQ(c.ap_hydro_on, 0);
  EXPECT_DOUBLE_EQ(c.msrp_speed_min, 250.25);
  EXPECT_EQ(c.msrp_one_file, 0);
  EXPECT_EQ(c.sound, 0);
  EXPECT_EQ(c.sirena_lev, 0);
  EXPECT_EQ(c.dinamik_lev, -2000);
  EXPECT_EQ(c.telefony_lev, 0);
  EXPECT_EQ(c.zvonok_lev, -2000);
  EXPECT_EQ(c.key_lev, -600);
  EXPECT_EQ(c.key_sound_on, 0);
}

TEST(Config, KeysAreReadOnlyFromTheirOwnSection) {
  // A sound key in [system] and a system key in [sound] are not seen.
  const Config c = read_all("[system]\nsirena_lev=100\n[sound]\npanel_auto=0\n");
  EXPECT_EQ(c.sirena_lev, -600);
  EXPECT_EQ(c.panel_auto, 1);
}

TEST(Config, DamagedValuesReadAsZero) {
  const Config c = read_all(
      "[system]\nups_percent=x67\nmsrp_one_file=yes\npanel_auto=nan\n"
      "[sound]\nsirena_lev=loud\nkey_sound_on=1e99\n");
  EXPECT_DOUBLE_EQ(c.ups_percent, 0.0);
  EXPECT_EQ(c.msrp_one_file, 0);
  EXPECT_EQ(c.panel_auto, 0);
  EXPECT_EQ(c.sirena_lev, -2000);
  EXPECT_EQ(c.key_sound_on, std::numeric_limits<std::int32_t>::max());
}

}  // namespace
