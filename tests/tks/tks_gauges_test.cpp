// The course system's gauges inside the airliner module, driven through the
// records as the host drives them: TKS_sys with its registered and bound
// names, TKS_Pult, KM5_1 and the breakers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "frame/gauge.h"
#include "frame/host.h"
#include "frame/state.h"
#include "nav/tks.h"
#include "tests/navcomplex/module_fixture.h"

namespace {

using namespace frame;
using namespace frame::testing;

class TksGauges : public ModuleGauges {
 protected:
  void SetUp() override {
    connect(lookup_with_bound);
    systems() = SystemsState{};
    nav::tks() = nav::TksState{};
    nav::tks_panel() = nav::TksPanel{};
    nav::tks_published() = nav::TksPublished{};
    nav::nav_sensor() = nav::NavSensorValues{};
  }
  void TearDown() override {
    for (const char* g : kGauges) service(g, kPreKill);
  }

  // Panel order: the breakers copy their positions before TKS_sys runs.
  static constexpr const char* kGauges[] = {"AZS_GA1_VKL", "AZS_GA2_VKL", "TKS_sys",
                                            "TKS_Pult",    "KM5_1",       "KM5_2"};

  void start() {
    for (i32 code : {kPreInstall, kPreInitialize, kConnectWindow})
      for (const char* g : kGauges) service(g, code);
  }
  // One frame: the clocks advance, then every gauge's service 6.
  void frame() {
    sim_time += 1.0 / 18.0;
    vars()[604] = sim_time;
    vars()[5] = std::fmod(std::floor(sim_time), 60.0);
    vars()[1] = std::floor(sim_time * 18.0 + 1e-6);
    for (const char* g : kGauges) service(g, kPreUpdate);
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) frame();
  }
  void power_on() {
    click("AZS_GA1_VKL", "azs_ga1_vkl");
    click("AZS_GA2_VKL", "azs_ga2_vkl");
  }

  double sim_time = 0.0;
};

TEST_F(TksGauges, RegistersItsNamesWithTheirTypesAndWithdrawsThemAtKill) {
  const struct {
    const char* name;
    u32 type;
  } names[] = {
      {"PP_TKS_GA_1_KURS", kVarDouble},  {"PP_TKS_GA_2_KURS", kVarDouble},
      {"PP_TKS_GPK_KURS", kVarDouble},   {"PP_TKS_MK_1_KURS", kVarDouble},
      {"PP_TKS_MK_2_KURS", kVarDouble},  {"PP_TKS_GA_1_OTKAZ", kVarFlag},
      {"PP_TKS_GA_2_OTKAZ", kVarFlag},   {"PP_TKS_REZIM", kVarInt},
      {"PP_NVU_ZPU", kVarDouble},        {"PP_NVU_SNOS", kVarDouble},
      {"PP_SOUND_GEAR", kVarInt},        {"PP_SOUND_NE_GOTOV", kVarFlag},
      {"PP_SOUND_SM_ORT", kVarFlag},     {"PP_VPR_OUT", kVarDouble},
  };
  int bus = 1;
  fake.publish("PP_TKS_BUS27", &bus, kVarFlag);  // another module's name
  start();
  for (const auto& n : names) {
    const auto* r = fake.find(n.name);
    ASSERT_NE(r, nullptr) << n.name;
    EXPECT_EQ(r->type, n.type) << n.name;
  }
  frame();
  EXPECT_EQ(reg("PP_SOUND_GEAR"), 0.0) << "gear lever at its start 1, minus 1";
  EXPECT_EQ(reg("PP_VPR_OUT"), 200.0);
  service("TKS_sys", kPreKill);
  for (const auto& n : names) EXPECT_FALSE(fake.registered(n.name)) << n.name;
  EXPECT_TRUE(fake.registered("PP_TKS_BUS27")) << "not ours to withdraw";
}

TEST_F(TksGauges, NamesShowTheHeadingsOneFrameBehind) {
  vars()[1] = 1234.0;  // the tick at service 14 draws the initial errors
  start();
  EXPECT_DOUBLE_EQ(nav::tks().ga1_platform, 157.0);
  EXPECT_DOUBLE_EQ(nav::tks().ga2_platform, 277.0);
  frame();  // unpowered: the platforms hold
  power_on();
  click("KM5_1", "km5_power_1");
  for (int i = 0; i < 40; ++i) {
    const nav::TksState before = nav::tks();
    vars()[86] = 3.0 * i;  // turning
    frame();
    EXPECT_DOUBLE_EQ(reg("PP_TKS_GA_1_KURS"), before.ga1_heading) << i;
    EXPECT_DOUBLE_EQ(reg("PP_TKS_GA_2_KURS"), before.ga2_heading) << i;
    EXPECT_DOUBLE_EQ(reg("PP_TKS_MK_1_KURS"), before.mk1_heading) << i;
    EXPECT_DOUBLE_EQ(reg("PP_TKS_MK_2_KURS"), before.mk2_heading) << i;
    EXPECT_DOUBLE_EQ(reg("PP_TKS_GPK_KURS"), before.ga1_heading) << i;
    EXPECT_EQ(reg("PP_TKS_GA_1_OTKAZ"), before.ga1_failed) << i;
  }
  EXPECT_EQ(reg("PP_TKS_GA_1_OTKAZ"), 0.0);
  EXPECT_NEAR(nav::tks().ga1_heading, 157.0 + 3.0 * 39, 0.05) << "plus one drift step";
  click("TKS_Pult", "tks_mode=-1");
  click("TKS_Pult", "consumers_main");
  frames(2);
  EXPECT_EQ(reg("PP_TKS_REZIM"), -1.0);
  EXPECT_DOUBLE_EQ(reg("PP_TKS_GPK_KURS"), nav::tks_published().ga2_heading);
}

TEST_F(TksGauges, OutsideNamesReplaceTheLocalValuesWhileBound) {
  int bus27 = 0;
  double vk90 = 0.0, ak = kNaN, sklon = 5.0, lat = 10.0;
  fake.publish("PP_TKS_BUS27", &bus27, kVarFlag);
  fake.publish("PP_AK_KURS", &ak, kVarDouble);
  start();
  power_on();
  frame();
  EXPECT_EQ(nav::tks().ga1_powered, 0) << "PP_TKS_BUS27 is 0";
  EXPECT_EQ(nav::tks().ga1_failed, 1);
  vars()[86] = 77.0;
  frame();
  EXPECT_DOUBLE_EQ(nav::tks().astro_heading, 77.0) << "a NaN astro heading: the true heading";
  ak = 123.0;
  frame();
  EXPECT_DOUBLE_EQ(nav::tks().astro_heading, 123.0);
  bus27 = 1;
  frame();
  EXPECT_EQ(nav::tks().ga1_powered, 1);

  // Names that appear after service 4 are bound by the next frames.
  fake.publish("PP_ABSU_VK_90", &vk90, kVarDouble);
  fake.publish("PP_TKS_KM5_1_SKLON", &sklon, kVarDouble);
  fake.publish("PP_NK_SCHIROTA", &lat, kVarDouble);
  frames(2);
  EXPECT_DOUBLE_EQ(nav::tks().vk90, 0.0);
  EXPECT_DOUBLE_EQ(nav::tks().declination_1, 5.0);
  EXPECT_DOUBLE_EQ(nav::tks().auto_latitude, 10.0);
  click("TKS_Pult", "tks_mode=1");
  const double offset = nav::tks().ga2_offset;
  frames(10);
  EXPECT_DOUBLE_EQ(nav::tks().ga2_offset, offset) << "vk90 0 stops the slewing";

  // Withdrawn: the local values again (vk90 keeps its last value).
  fake.table()->unregister_var_by_name("PP_TKS_KM5_1_SKLON");  // as their owner does
  fake.table()->unregister_var_by_name("PP_TKS_BUS27");
  frame();
  EXPECT_DOUBLE_EQ(nav::tks().declination_1, nav::tks_panel().km5_declination_1);
  EXPECT_EQ(nav::tks().bus27, systems().electrical.main_bus);
}

TEST_F(TksGauges, SelectedSensorSetIsCopiedForTheAutopilot) {
  int gps_got = 1, n1_got = 0;
  double gps_lbu = 3.5, n1_lbu = 1.5, n2_lbu = 2.5;
  fake.publish("GPS_N1_GOT", &gps_got, kVarFlag);
  fake.publish("GPS_N1_LBU", &gps_lbu, kVarDouble);
  fake.publish("I21_N1_GOT", &n1_got, kVarFlag);
  fake.publish("I21_N1_LBU", &n1_lbu, kVarDouble);
  start();
  frame();
  EXPECT_DOUBLE_EQ(nav::nav_sensor().selected.lateral_deviation, 1.5) << "I-21 N1 at start";
  systems().positions.azs_nav_i21_gps = 2;
  frame();
  EXPECT_EQ(nav::nav_sensor().selected.ready, 1);
  EXPECT_DOUBLE_EQ(nav::nav_sensor().selected.lateral_deviation, 3.5);
  systems().positions.azs_nav_i21_gps = 0;
  systems().positions.azs_i21_n1 = 0;
  fake.publish("I21_N2_LBU", &n2_lbu, kVarDouble);  // bound again on the next frame
  frames(2);
  EXPECT_DOUBLE_EQ(nav::nav_sensor().selected.lateral_deviation, 2.5);
  // Service 4 clears the local copies.
  service("TKS_sys", kPreInitialize);
  EXPECT_DOUBLE_EQ(nav::nav_sensor().i21_n2.lateral_deviation, 0.0);
}

TEST_F(TksGauges, HostValuesThatAreNotFiniteNeverReachTheHeadings) {
  start();
  power_on();
  click("KM5_1", "km5_power_1");
  vars()[71] = 52.0 / nav::kLatitudeUnit;
  vars()[81] = 40.0;
  vars()[86] = 50.0;
  frames(18 * 7);
  for (u32 id : {71u, 72u, 79u, 81u, 82u, 86u, 336u, 5u, 551u, 604u}) vars()[id] = kNaN;
  click("TKS_Pult", "tks_mode=1");
  frames(18 * 7);
  for (u32 id : {71u, 72u, 79u, 81u, 82u, 86u, 336u, 551u}) vars()[id] = 1e300;
  frames(18 * 7);
  const nav::TksState& s = nav::tks();
  for (double v : {s.ga1_heading, s.ga2_heading, s.mk1_heading, s.mk2_heading,
                   s.compass_filtered, s.accel_tilt, reg("PP_TKS_GA_1_KURS")})
    EXPECT_TRUE(std::isfinite(v));
  EXPECT_EQ(text("KM5_1", "magnetic_variation").size(), 6u) << "bounded to the capacity";
}

TEST_F(TksGauges, LampsOAndKShowAFailedOrClippedUnitOnTheLiveBus) {
  start();
  frame();
  EXPECT_EQ(value("TKS_Pult", "lamp_o"), 0.0) << "GA 1 unpowered";
  EXPECT_EQ(value("TKS_Pult", "lamp_k"), 0.0);
  power_on();
  frame();
  EXPECT_EQ(value("TKS_Pult", "lamp_o"), -1.0);
  EXPECT_EQ(value("TKS_Pult", "lamp_k"), -1.0);
  nav::tks().ga2_bank_limit = 1;
  EXPECT_EQ(value("TKS_Pult", "lamp_k"), 0.0);
  vars()[753] = 20.0;
  click("AZS_GA1_VKL", "azs_ga1_vkl");
  frame();
  EXPECT_EQ(value("TKS_Pult", "lamp_o"), -1.0) << "dark without the main bus";
}

TEST_F(TksGauges, LatitudeKnobReadoutPopsUpForNinetyFrames) {
  start();
  frame();
  EXPECT_TRUE(hidden("TKS_Pult", "lat_knob_text"));
  EXPECT_EQ(value("TKS_Pult", "lat_knob"), 5.0 * 52.0);
  for (int i = 0; i < 50; ++i) click("TKS_Pult", "lat_knob_inc");
  EXPECT_DOUBLE_EQ(nav::tks_panel().lat_knob, 90.0);
  frame();
  EXPECT_FALSE(hidden("TKS_Pult", "lat_knob_text"));
  EXPECT_EQ(text("TKS_Pult", "lat_knob_text"), " 90");
  frames(88);
  EXPECT_FALSE(hidden("TKS_Pult", "lat_knob_text"));
  frame();
  EXPECT_TRUE(hidden("TKS_Pult", "lat_knob_text"));
  nav::tks_panel().lat_knob = -89.7;  // a restored value that is not whole
  click("TKS_Pult", "lat_knob_text");
  frame();
  EXPECT_EQ(text("TKS_Pult", "lat_knob_text"), "-89");
  EXPECT_DOUBLE_EQ(value("TKS_Pult", "lat_knob_scale"), 1.5 * -89.7);
}

TEST_F(TksGauges, AlignmentButtonHeldInModePlusOneAlignsTheSelectedGyro) {
  vars()[1] = 1234.0;
  vars()[71] = 52.0 / nav::kLatitudeUnit;  // the knob's latitude: no latitude drift
  vars()[86] = 80.0;
  start();
  frame();
  power_on();
  click("TKS_Pult", "correction_main");  // GA 1
  click("TKS_Pult", "tks_mode=1");
  frame();
  EXPECT_EQ(nav::tks_panel().align_rate, 1);
  for (int i = 0; i < 18 * 20; ++i) {
    click("TKS_Pult", "align_rate");
    frame();
  }
  EXPECT_NEAR(nav::tks().ga1_heading, 80.0, 0.02) << "astro heading = true heading";
  EXPECT_NEAR(nav::tks().ga2_heading, 277.0, 0.01) << "GA 2 left alone";
  frames(18);
  EXPECT_EQ(nav::tks_panel().align_rate, 1);
}

TEST_F(TksGauges, Km5ShowsDeclinationAndVariationOnlyWhilePowered) {
  start();
  vars()[82] = -7.3;
  frame();
  EXPECT_TRUE(hidden("KM5_1", "km5_declination_1_text"));
  EXPECT_TRUE(hidden("KM5_1", "magnetic_variation"));
  click("KM5_1", "km5_display_1");
  EXPECT_EQ(nav::tks_panel().km5_display_1, 0) << "acts only while powered";
  click("KM5_1", "km5_power_1");
  click("KM5_1", "km5_display_1");
  for (int i = 0; i < 3; ++i) click("KM5_1", "km5_declination_1_inc", kMouseRight);
  click("KM5_1", "km5_declination_1_dec");
  frame();
  EXPECT_FALSE(hidden("KM5_1", "km5_declination_1_text"));
  EXPECT_FALSE(hidden("KM5_1", "magnetic_variation"));
  EXPECT_EQ(text("KM5_1", "km5_declination_1_text"), " 5.9");
  EXPECT_EQ(text("KM5_1", "magnetic_variation"), "-7.3");
  EXPECT_NEAR(nav::tks().km5_input_1, 5.9, 1e-12);
  EXPECT_NEAR(value("KM5_1", "km5_declination_1"), 5.9 - 90.0, 1e-12);
  frame();
  EXPECT_NEAR(nav::tks().declination_1, 5.9, 1e-12) << "TKS_sys takes the KM-5 declination";
  for (int i = 0; i < 100; ++i) click("KM5_1", "km5_declination_1_dec", kMouseRight);
  EXPECT_DOUBLE_EQ(nav::tks_panel().km5_declination_1, -175.0);

  click("KM5_1", "km5_power_1");
  frame();
  EXPECT_EQ(nav::tks_panel().km5_display_1, 0) << "switching off clears the second display";
  EXPECT_TRUE(hidden("KM5_1", "km5_declination_1_text"));
}

TEST_F(TksGauges, Km5CompassNeedleHoldsWhileItsChannelIsUnpowered) {
  start();
  vars()[71] = 50.0 / nav::kLatitudeUnit;
  vars()[81] = 120.0;
  power_on();
  frames(18 * 10);
  EXPECT_NEAR(value("KM5_1", "km5_needle_1"), 120.0 - 90.0, 0.01);
  EXPECT_NEAR(value("KM5_2", "km5_needle_2"), 120.0 - 90.0, 0.01);
  click("AZS_GA2_VKL", "azs_ga2_vkl");
  vars()[81] = 200.0;
  frames(18 * 10);
  EXPECT_NEAR(value("KM5_1", "km5_needle_1"), 200.0 - 90.0, 0.01);
  EXPECT_NEAR(value("KM5_2", "km5_needle_2"), 120.0 - 90.0, 0.01) << "frozen";
}

}  // namespace
