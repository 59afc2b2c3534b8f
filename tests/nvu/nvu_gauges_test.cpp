// The navigation computer's gauges inside the airliner module, driven
// through the records as the host drives them: NVU_Sys with the host's
// counter, the panels' areas and drums, the lamps and exchanger slot 55,
// and the course system publishing the active leg.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/exchanger.h"
#include "frame/gauge.h"
#include "frame/host.h"
#include "frame/state.h"
#include "nav/diss.h"
#include "nav/nvu.h"
#include "nav/nvu_panels.h"
#include "nav/svs.h"
#include "nav/tks.h"
#include "radio/rsbn.h"
#include "tests/navcomplex/module_fixture.h"

namespace {
// The host's high-resolution counter, 10^7 ticks per second.
std::int64_t g_counter = 0;
}  // namespace

extern "C" __attribute__((visibility("default"))) std::int64_t gaugehost_perf_counter() {
  return g_counter;
}
extern "C" __attribute__((visibility("default"))) std::int64_t gaugehost_perf_frequency() {
  return 10'000'000;
}

namespace {

using namespace frame;

using namespace frame::testing;

class NvuGauges : public ModuleGauges {
 protected:
  void SetUp() override {
    connect(lookup_with_bound);
    systems() = SystemsState{};
    nav::nvu() = nav::NvuState{};
    nav::nvu_panel() = nav::NvuPanel{};
    nav::tks() = nav::TksState{};
    nav::tks_panel() = nav::TksPanel{};
    nav::diss() = nav::DissState{};
    nav::svs() = nav::SvsState{};
    radio::rsbn() = radio::RsbnState{};
    start();
  }
  void TearDown() override {
    for (const char* g : kGauges) service(g, kPreKill);
    exchanger_close();
  }

  // Panel order: breakers and sensors, then the systems, then the panels.
  static constexpr const char* kGauges[] = {
      "AZS_DISS_PIT",     "AZS_DISS_REZIM", "AZS_SVS_PIT",   "SVS_Control",    "TKS_sys",
      "NVU_Sys",          "NVU_V51_Pult",   "NVU_V140_Pult", "NVU_V52_1_Pult", "NVU_V52_2_Pult",
      "NVU_V52_Dop_Pult", "NVU_V57_Pult",   "NVU_Tablo_1",   "NVU_Tablo_1_b",  "NVU_Tablo_1_c",
      "NVU_Tablo_1_d",    "NVU_Tablo_1_e",  "NVU_Tablo_1_f", "NVU_Tablo_1_g",  "NVU_Tablo_SNS",
      "Kontrol_Lamp",
  };

  void start() {
    for (i32 code : {kPreInstall, kPreInitialize, kConnectWindow})
      for (const char* g : kGauges) service(g, code);
  }
  // One frame: the clocks advance (counter by `frame_ticks`), then every
  // gauge's service 6.
  void frame() {
    sim_time += 1.0 / 18.0;
    g_counter += frame_ticks;
    vars()[604] = sim_time;
    for (const char* g : kGauges) service(g, kPreUpdate);
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) frame();
  }
  // Drum values FIELD_d0 .. FIELD_d{n-1}, lowest first.
  static std::vector<double> drums(std::string_view gauge, const std::string& field, int n) {
    std::vector<double> v;
    for (int k = 0; k < n; ++k) v.push_back(value(gauge, field + "_d" + std::to_string(k)));
    return v;
  }
  static void expect_drums(const std::vector<double>& got, const std::vector<double>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < got.size(); ++k) EXPECT_NEAR(got[k], want[k], 1e-6) << "drum " << k;
  }
  // The computer switched on and seen powered (V-51 copies one frame later,
  // and NVU_Sys runs before V-51).
  void power_on() {
    click("NVU_V51_Pult", "nvu_power_switch");
    frames(2);
    ASSERT_EQ(nav::nvu().powered, 1);
  }

  double sim_time = 0.0;
  std::int64_t frame_ticks = 555'556;  // 1/18 s
};

// NVU_Sys ---------------------------------------------------------------------

TEST_F(NvuGauges, FrameTimeComesFromTheHostCounter) {
  frames(2);
  EXPECT_NEAR(nav::nvu().dt, 0.0555556, 1e-9);
  frame_ticks = 20'000'000;  // a 2 s frame (a pause, a load)
  frame();
  EXPECT_DOUBLE_EQ(nav::nvu().dt, 0.055);
  frame_ticks = 10'000'000;
  frame();
  EXPECT_DOUBLE_EQ(nav::nvu().dt, 1.0);
}

TEST_F(NvuGauges, SwitchesReachTheComputerOneFrameLater) {
  click("NVU_V51_Pult", "nvu_power_switch");
  frame();
  EXPECT_EQ(nav::nvu().powered, 0) << "NVU_Sys ran before V-51 copied";
  frame();
  EXPECT_EQ(nav::nvu().powered, 1);
  click("AZS_SVS_PIT", "azs_svs_pit");  // memory mode on the air data
  frames(2);
  EXPECT_EQ(nav::nvu().counting, 1);
  EXPECT_EQ(value("NVU_V51_Pult", "lamp_ispr"), 0.0);
  EXPECT_EQ(value("NVU_V51_Pult", "lamp_korr"), -1.0);
}

TEST_F(NvuGauges, CourseSystemPublishesTheActiveLeg) {
  nav::nvu().channel[1].zpu = 123.0;
  nav::nvu().channel[1].z = -450.0;
  nav::nvu().active = 1;
  frames(2);  // NVU_Sys copies, TKS_sys publishes the next frame
  EXPECT_EQ(reg("PP_NVU_ZPU"), 123.0);
  EXPECT_EQ(reg("PP_NVU_SNOS"), -450.0);
  EXPECT_EQ(reg("PP_SOUND_SM_ORT"), 0.0);
  nav::nvu().counting = 1;
  nav::nvu().warn_on = 1;
  service("TKS_sys", kPreUpdate);
  EXPECT_EQ(reg("PP_SOUND_SM_ORT"), 1.0);
}

// V-51 ----------------------------------------------------------------------

TEST_F(NvuGauges, SelectorsStopAtTheirEnds) {
  nav::NvuPanel& p = nav::nvu_panel();
  click("NVU_V51_Pult", "counter_select_inc", kMouseLeft, 10);
  EXPECT_EQ(p.counter_select, 4);
  EXPECT_EQ(value("NVU_V51_Pult", "counter_select_pointer"), 30.0);
  click("NVU_V51_Pult", "counter_select_dec", kMouseLeft, 10);
  EXPECT_EQ(p.counter_select, -4);
  click("NVU_V52_Dop_Pult", "counter_select_inc", kMouseLeft, 9);
  EXPECT_EQ(p.counter_select, 4) << "the additional counter steps the same selector";
  click("NVU_V51_Pult", "lur_select_inc", kMouseLeft, 10);
  EXPECT_EQ(p.lur_select, 5);
  click("NVU_V51_Pult", "lur_select_dec", kMouseLeft, 10);
  EXPECT_EQ(p.lur_select, -1);
  EXPECT_EQ(value("NVU_V51_Pult", "lur_select_pointer"), -195.0);
}

TEST_F(NvuGauges, ButtonsActOnTheChosenValueWhilePowered) {
  click("NVU_V51_Pult", "counter_select_inc", kMouseLeft, 3);  // S
  click("NVU_V51_Pult", "coordinate_dec", kMouseRight);
  EXPECT_EQ(nav::nvu().channel[0].s, 0.0) << "unpowered";
  power_on();
  click("NVU_V51_Pult", "coordinate_dec", kMouseRight, 2);
  click("NVU_V51_Pult", "coordinate_inc", kMouseLeft);
  EXPECT_EQ(nav::nvu().channel[0].s, -3975.0);
  click("NVU_V51_Pult", "counter_select_dec", kMouseLeft, 2);  // Sп: the other channel
  click("NVU_V51_Pult", "coordinate_dec", kMouseRight);
  EXPECT_EQ(nav::nvu().channel[1].s_aux, -2000.0);
}

TEST_F(NvuGauges, OneForcedChangePerTurnToMinusOne) {
  click("AZS_SVS_PIT", "azs_svs_pit");
  power_on();
  frames(2);
  ASSERT_EQ(nav::nvu().counting, 1);
  click("NVU_V51_Pult", "lur_select_dec");
  frames(20);
  EXPECT_EQ(nav::nvu().active, 1) << "one change, however long the selector stays";
  EXPECT_EQ(nav::nvu().leg_switched, 1);
  EXPECT_EQ(value("NVU_Tablo_1", "lamp_smena_cho"), 0.0) << "lit at the forced position";
  click("NVU_V51_Pult", "lur_select_inc");
  frames(2);
  click("NVU_V51_Pult", "lur_select_dec");
  frames(2);
  EXPECT_EQ(nav::nvu().active, 0) << "back at 0 re-arms it";
}

// V-140 -----------------------------------------------------------------------

TEST_F(NvuGauges, V140WrapsAndItsDrumsChangeOnlyInItsHandlers) {
  click("NVU_V140_Pult", "zpu_1_inc");
  EXPECT_EQ(nav::nvu().channel[0].zpu, 0.0) << "unpowered";
  power_on();
  click("NVU_V140_Pult", "zpu_1_inc");
  click("NVU_V140_Pult", "zpu_1_dec");
  EXPECT_EQ(nav::nvu().channel[0].zpu, 360.0) << "0.1 - 0.1";
  EXPECT_EQ(drums("NVU_V140_Pult", "zpu_1", 4), (std::vector<double>{0, 0, 600, 300}));
  click("NVU_V140_Pult", "zpu_1_inc");
  EXPECT_NEAR(nav::nvu().channel[0].zpu, 0.1, 1e-9) << "360 + 0.1";
  EXPECT_EQ(drums("NVU_V140_Pult", "zpu_1", 4), (std::vector<double>{100, 0, 0, 0}));
  click("NVU_V140_Pult", "zpu_2_inc", kMouseRight, 3);
  EXPECT_EQ(drums("NVU_V140_Pult", "zpu_2", 4), (std::vector<double>{0, 0, 300, 0}));
  EXPECT_EQ(value("NVU_V140_Pult", "lamp_1"), 0.0);
  EXPECT_EQ(value("NVU_V140_Pult", "lamp_2"), -1.0);

  // A ZPU written from outside (a flight load) shows after a refresh only.
  nav::nvu().channel[1].zpu = 250.0;
  frames(3);
  EXPECT_EQ(drums("NVU_V140_Pult", "zpu_2", 4), (std::vector<double>{0, 0, 300, 0}));
  nav::nvu_v140_refresh(nav::nvu_panel(), nav::nvu());
  EXPECT_EQ(drums("NVU_V140_Pult", "zpu_2", 4), (std::vector<double>{0, 0, 500, 200}));
}

// V-52 ------------------------------------------------------------------------

TEST_F(NvuGauges, V52ShowsMinus12345InBothScales) {
  nav::nvu().channel[0].s = -12345.0;
  // Scale 0.1 (the default): 0012, the lowest drum a third of the way to 3.
  const std::vector<double> tenth = drums("NVU_V52_1_Pult", "s_neg", 4);
  EXPECT_NEAR(tenth[0], 234.0, 1e-9);
  EXPECT_EQ(tenth[1], 100.0);
  EXPECT_EQ(tenth[2], 0.0);
  EXPECT_EQ(tenth[3], 0.0);
  EXPECT_EQ(drums("NVU_V52_1_Pult", "s_pos", 4), (std::vector<double>{0, 0, 0, 0}));
  EXPECT_EQ(value("NVU_V52_1_Pult", "s_neg_flag"), 1.0);
  EXPECT_EQ(value("NVU_V52_1_Pult", "s_pos_flag"), 0.0);
  systems().config.nvu_scale = 1.0;
  const std::vector<double> metres = drums("NVU_V52_1_Pult", "s_neg", 4);
  EXPECT_NEAR(metres[0], 345.0, 1e-9);
  EXPECT_EQ(metres[1], 200.0);
  EXPECT_EQ(metres[2], 100.0);
  EXPECT_EQ(metres[3], 0.0);
}

TEST_F(NvuGauges, V52LampsSayWhichPairTheLowerRowHolds) {
  for (const char* g : {"NVU_V52_1_Pult", "NVU_V52_2_Pult"}) {
    EXPECT_EQ(value(g, "lamp_samolet_mayak"), -1.0) << g << " unpowered";
    EXPECT_EQ(value(g, "lamp_punkt"), -1.0) << g << " unpowered";
  }
  power_on();
  EXPECT_EQ(value("NVU_V52_1_Pult", "lamp_samolet_mayak"), 0.0);
  EXPECT_EQ(value("NVU_V52_2_Pult", "lamp_punkt"), 0.0);
  nav::nvu().active = 1;
  EXPECT_EQ(value("NVU_V52_1_Pult", "lamp_punkt"), 0.0);
  EXPECT_EQ(value("NVU_V52_2_Pult", "lamp_samolet_mayak"), 0.0);
  EXPECT_EQ(value("NVU_V52_2_Pult", "lamp_punkt"), -1.0);
}

TEST_F(NvuGauges, AdditionalCounterHidesWithItsButtonAndHoldsWhileUnpowered) {
  frame();
  EXPECT_TRUE(hidden("NVU_V52_Dop_Pult", "extra_value_neg_d0"));
  EXPECT_TRUE(hidden("NVU_V52_Dop_Pult", "extra_value_pos_flag"));
  click("NVU_V52_Dop_Pult", "extra_display_on");
  power_on();
  EXPECT_FALSE(hidden("NVU_V52_Dop_Pult", "extra_value_neg_d4"));
  EXPECT_EQ(value("NVU_V52_Dop_Pult", "extra_value_pos_flag"), 0.0) << "nothing chosen";
  nav::nvu().channel[0].z = -54321.0;
  click("NVU_V52_Dop_Pult", "counter_select_inc", kMouseLeft, 4);  // Z
  frames(2);
  EXPECT_EQ(value("NVU_V52_Dop_Pult", "counter_select_value"), 4.0);
  expect_drums(drums("NVU_V52_Dop_Pult", "extra_value_neg", 5), {321, 400, 500, 0, 0});
  EXPECT_EQ(value("NVU_V52_Dop_Pult", "extra_value_neg_flag"), 0.0);
  EXPECT_EQ(value("NVU_V52_Dop_Pult", "extra_value_pos_flag"), -1.0);
  click("NVU_V51_Pult", "nvu_power_switch");
  frames(2);
  nav::nvu().channel[0].z = 0.0;
  frames(2);
  EXPECT_NEAR(value("NVU_V52_Dop_Pult", "extra_value_neg_d0"), 321.0, 1e-6)
      << "stays while unpowered";
}

// V-57 ------------------------------------------------------------------------

TEST_F(NvuGauges, V57KnobsDoNothingWhileTheDopplerWorks) {
  // The doppler working: powered, work mode, 600 km/h north.
  vars()[551] = vars()[554] = 600.0 / nav::kFpsToKmh;
  click("AZS_DISS_PIT", "azs_diss_pit");
  click("AZS_DISS_REZIM", "azs_diss_rezim=2");
  power_on();
  frames(3);
  ASSERT_EQ(nav::diss().diss_memory, 0);
  nav::NvuPanel& p = nav::nvu_panel();
  const double dir = p.wind_memory_dir;
  const double speed = p.wind_memory_speed;
  click("NVU_V57_Pult", "wind_memory_dir_inc", kMouseRight);
  click("NVU_V57_Pult", "wind_memory_speed_inc", kMouseRight);
  EXPECT_EQ(p.wind_memory_dir, dir);
  EXPECT_EQ(p.wind_memory_speed, speed);
  click("NVU_V57_Pult", "wind_delta_dec");
  EXPECT_EQ(p.wind_delta, -0.5) << "the delta knob acts at any time";

  click("AZS_DISS_REZIM", "azs_diss_rezim=1");  // standby: memory mode
  frames(2);
  ASSERT_EQ(nav::diss().diss_memory, 1);
  EXPECT_NEAR(p.wind_memory_speed, 600.0, 1e-6) << "the doppler's wind: no air data, all of it";
  p.wind_memory_dir = 355.0;
  click("NVU_V57_Pult", "wind_memory_dir_inc", kMouseRight);
  click("NVU_V57_Pult", "wind_memory_speed_inc");
  EXPECT_NEAR(p.wind_memory_dir, 5.0, 1e-9) << "wraps above 360";
  EXPECT_EQ(p.wind_memory_speed, 300.0) << "limited to 300";
  p.wind_memory_speed = 100.0;
  click("NVU_V57_Pult", "wind_memory_speed_dec", kMouseRight);
  EXPECT_NEAR(p.wind_memory_speed, 90.0, 1e-9);
  frame();
  EXPECT_NEAR(nav::nvu().mem_wind_dir, 5.0, 1e-9) << "reaches the computer every frame";
  EXPECT_EQ(drums("NVU_V57_Pult", "wind_memory_dir", 3), (std::vector<double>{450, 0, 0}));
  EXPECT_EQ(drums("NVU_V57_Pult", "wind_delta_neg", 2), (std::vector<double>{50, 0}));
  EXPECT_EQ(value("NVU_V57_Pult", "lamp_wind_delta_neg"), -1.0) << "0.5 is not above 1";
}

// Lamps -----------------------------------------------------------------------

constexpr const char* kNvuLamps[][2] = {
    {"NVU_Tablo_1", "lamp_nvu_vor_avtom"},   {"NVU_Tablo_1", "lamp_korr_vkl"},
    {"NVU_Tablo_1", "lamp_daln_avton"},      {"NVU_Tablo_1", "lamp_azim_avton"},
    {"NVU_Tablo_1", "lamp_pamyat_diss"},     {"NVU_Tablo_1", "lamp_smena_cho"},
    {"NVU_Tablo_1_b", "lamp_nvu_vor_avtom"}, {"NVU_Tablo_1_c", "lamp_korr_vkl"},
    {"NVU_Tablo_1_d", "lamp_daln_avton"},    {"NVU_Tablo_1_e", "lamp_azim_avton"},
    {"NVU_Tablo_1_f", "lamp_pamyat_diss"},   {"NVU_Tablo_1_g", "lamp_smena_cho"},
    {"NVU_Tablo_SNS", "lamp_sns"},
};

TEST_F(NvuGauges, LampTestLightsTheAnnunciatorsAndSlot55FollowsItsLamp) {
  exchanger_open();
  frame();
  for (const auto& l : kNvuLamps) EXPECT_EQ(value(l[0], l[1]), -1.0) << l[0] << " " << l[1];
  EXPECT_EQ(exchanger_read(55).value_or(-1.0), 0.0);
  click("Kontrol_Lamp", "lamp_test");
  for (const auto& l : kNvuLamps) EXPECT_EQ(value(l[0], l[1]), 0.0) << l[0] << " " << l[1];
  EXPECT_EQ(exchanger_read(55).value_or(-1.0), 1.0);
  // The panels' own lamps have no lamp test.
  EXPECT_EQ(value("NVU_V51_Pult", "lamp_ispr"), -1.0);
  EXPECT_EQ(value("NVU_V140_Pult", "lamp_1"), -1.0);
  EXPECT_EQ(value("NVU_V52_1_Pult", "lamp_samolet_mayak"), -1.0);
  frames(20);
  EXPECT_EQ(value("NVU_Tablo_1_g", "lamp_smena_cho"), -1.0);
  EXPECT_EQ(exchanger_read(55).value_or(-1.0), 0.0);
  // Unpowered lamps stay dark through the test.
  systems().electrical.main_bus = 0;
  click("Kontrol_Lamp", "lamp_test");
  for (const auto& l : kNvuLamps) EXPECT_EQ(value(l[0], l[1]), -1.0) << l[0] << " " << l[1];
}

TEST_F(NvuGauges, LampConditionsComeFromTheirSystems) {
  power_on();
  nav::nvu().correcting = 1;
  EXPECT_EQ(value("NVU_Tablo_1", "lamp_korr_vkl"), 0.0);
  EXPECT_EQ(value("NVU_Tablo_1_c", "lamp_korr_vkl"), 0.0);
  nav::diss().diss_memory = 1;
  EXPECT_EQ(value("NVU_Tablo_1_f", "lamp_pamyat_diss"), 0.0);
  radio::rsbn().no_range = 1;
  radio::rsbn().no_azimuth = 1;
  EXPECT_EQ(value("NVU_Tablo_1_d", "lamp_daln_avton"), -1.0) << "its gate stays closed";
  EXPECT_EQ(value("NVU_Tablo_1_e", "lamp_azim_avton"), -1.0);
  systems().positions.azs_nav_i21_gps = 2;
  EXPECT_EQ(value("NVU_Tablo_SNS", "lamp_sns"), -1.0) << "no autopilot mode yet";
  click("NVU_V51_Pult", "lur_select_dec");
  EXPECT_EQ(value("NVU_Tablo_1_g", "lamp_smena_cho"), 0.0);
}

}  // namespace
