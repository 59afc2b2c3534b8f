// The receivers' panels, radio_sys, the distance indicators and the course
// indicators inside the airliner module, driven through their records by a
// fake host that applies the NAV frequency and course events at once, as
// the simulator does.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "frame/gauge.h"
#include "frame/host.h"
#include "frame/numeric.h"
#include "frame/state.h"
#include "nav/course_indicator.h"
#include "nav/tks.h"
#include "radio/radio_sys.h"
#include "tests/navcomplex/module_fixture.h"

namespace {

using namespace frame;
using namespace frame::testing;

// The simulator's radio stack: frequency and course events act at once.
void GAU_CALL key_event(u32 id, u32 value) {
  events().emplace_back(id, value);
  switch (id) {
    case 65708:
      vars()[24] = value;
      break;
    case 65709:
      vars()[27] = value;
      break;
    case 65716:
      vars()[45] = static_cast<double>(value % 360);
      break;
    case 65717:
      vars()[54] = static_cast<double>(value % 360);
      break;
    default:
      break;
  }
}

class ReceiverGauges : public ModuleGauges {
 protected:
  // Panel order: breakers and switches first, then the systems, then what
  // shows them.
  static constexpr const char* kGauges[] = {
      "AZS_KURS_MP_1", "AZS_KURS_MP_2", "AZS_GA1_VKL",   "AZS_GA2_VKL",     "AZS_DME1_DME2",
      "AZS_DME1_DME2_2P", "Key_PNP_ZK_Sel", "AZS_SAU_STU", "Kontrol_Lamp", "TKS_sys",
      "KursMP_Pult_1", "KursMP_Pult_2", "KursMP_ZPU1",   "KursMP_ZPU2",     "KursMP_Select",
      "radio_sys",     "ISD_1",         "ISD_2",         "PNP_Left",        "PNP_right",
      "USH-3"};

  void SetUp() override {
    fake.table()->trigger_key_event = key_event;
    connect(lookup_by_id);
    systems() = SystemsState{};
    radio::radio() = radio::RadioState{};
    nav::pnp_left() = nav::CourseIndicator{};
    nav::pnp_right() = nav::CourseIndicator{};
    nav::ush3() = nav::Ush3State{};
    nav::autopilot_course_values() = nav::AutopilotCourseValues{};
    nav::tks() = nav::TksState{};
    nav::tks_panel() = nav::TksPanel{};
    events().clear();
    vars()[24] = 0x1050;
    vars()[27] = 0x1390;
    for (i32 code : {kPreInstall, kPreInitialize, kConnectWindow})
      for (const char* g : kGauges) service(g, code);
  }
  void TearDown() override {
    for (const char* g : kGauges) service(g, kPreKill);
  }

  void frames(int n = 1) {
    for (int i = 0; i < n; ++i) {
      time += 1.0 / 18.0;
      vars()[557] = time;
      vars()[604] = time;
      for (const char* g : kGauges) service(g, kPreUpdate);
    }
  }
  void receivers_on() {
    click("AZS_KURS_MP_1", "azs_kurs_mp_1");
    click("AZS_KURS_MP_2", "azs_kurs_mp_2");
    frames();
  }
  void indicators_on() {
    click("AZS_GA1_VKL", "azs_ga1_vkl");
    click("AZS_GA2_VKL", "azs_ga2_vkl");
    frames();
  }

  double time = 0.0;
};

// Frequency panels --------------------------------------------------------------

TEST_F(ReceiverGauges, FrequencyKnobsTuneThroughTheSimulator) {
  receivers_on();
  click("KursMP_Pult_1", "freq_khz_inc");
  click("KursMP_Pult_1", "freq_mhz_inc");
  EXPECT_TRUE(sent(65708).empty()) << "the event waits for the panel's frame";
  frames();
  EXPECT_EQ(sent(65708), (std::vector<u32>{0x1155}));
  EXPECT_EQ(radio::radio().rx[0].freq_code, 1155u);
  EXPECT_EQ(value("KursMP_Pult_1", "freq_digit_3"), 1.0);
  EXPECT_EQ(value("KursMP_Pult_1", "freq_digit_2"), 1.0);
  EXPECT_EQ(value("KursMP_Pult_1", "freq_digit_1"), 5.0);
  EXPECT_EQ(value("KursMP_Pult_1", "freq_digit_0"), 5.0);
  frames();
  EXPECT_EQ(sent(65708).size(), 1u) << "sent once";
}

TEST_F(ReceiverGauges, KnobsAtTheBandEdgesSendNothing) {
  struct Case {
    double host;
    const char* knobs[2];
  };
  const Case cases[] = {{0x1795, {"freq_mhz_inc", "freq_khz_inc"}},
                        {0x0800, {"freq_mhz_dec", "freq_khz_dec"}}};
  receivers_on();
  for (const Case& c : cases) {
    vars()[27] = c.host;
    frames();
    events().clear();
    for (const char* k : c.knobs) click("KursMP_Pult_2", k);
    frames();
    EXPECT_TRUE(sent(65709).empty()) << c.host;
    EXPECT_DOUBLE_EQ(vars()[27], c.host);
  }
}

TEST_F(ReceiverGauges, LockedOrUnpoweredPanelsRefuseTheKnobs) {
  click("KursMP_Pult_1", "freq_mhz_inc");  // breaker off
  frames();
  EXPECT_TRUE(sent(65708).empty());
  EXPECT_EQ(value("KursMP_Pult_1", "freq_digit_0"), -1.0) << "dark without power";
  receivers_on();
  click("KursMP_Pult_1", "freq_lock");
  click("KursMP_Pult_1", "freq_mhz_inc");
  frames();
  EXPECT_TRUE(sent(65708).empty());
  EXPECT_EQ(value("KursMP_Pult_1", "panel_lit"), 1.0);
}

TEST_F(ReceiverGauges, AHostAtZeroKeepsTheLastValidFrequency) {
  receivers_on();
  vars()[24] = 0.0;
  vars()[27] = kNaN;
  frames();
  EXPECT_EQ(radio::radio().rx[0].freq_code, 1050u);
  EXPECT_EQ(radio::radio().rx[1].freq_code, 1390u);
  click("KursMP_Pult_1", "freq_khz_dec");
  frames();
  EXPECT_EQ(sent(65708), (std::vector<u32>{0x1045}));
}

// Course selectors ----------------------------------------------------------------

TEST_F(ReceiverGauges, CourseKnobsSendTheWrappedCourseAtOnce) {
  struct Case {
    double host;
    const char* area;
    u32 flags;
    u32 sent;
  };
  const Case cases[] = {{0.0, "obs_deg_dec", kMouseLeft, 359},
                        {359.0, "obs_deg_inc", kMouseLeft, 360},
                        {5.0, "obs_deg_dec", kMouseRight, 355},
                        {355.0, "obs_deg_inc", kMouseRight, 5}};
  for (const Case& c : cases) {
    vars()[45] = c.host;
    frames();
    events().clear();
    click("KursMP_ZPU1", c.area, c.flags);
    EXPECT_EQ(sent(65716), (std::vector<u32>{c.sent})) << c.host << " " << c.area;
  }
  vars()[54] = 123.0;
  frames(2);
  EXPECT_EQ(value("KursMP_ZPU2", "obs_drum_d0"), 300.0);
  EXPECT_EQ(value("KursMP_ZPU2", "obs_drum_d1"), 200.0);
  EXPECT_EQ(value("KursMP_ZPU2", "obs_drum_d2"), 100.0);
}

// radio_sys and the distance indicators ---------------------------------------------

TEST_F(ReceiverGauges, MarkerFlagsNeedReceiverOnesBreaker) {
  vars()[354] = 1.0;
  frames();
  EXPECT_EQ(radio::radio().marker_outer, 0);
  receivers_on();
  EXPECT_EQ(radio::radio().marker_outer, 1);
}

TEST_F(ReceiverGauges, DistanceIndicatorsByCrewStation) {
  receivers_on();
  vars()[42] = 2.0;  // an ILS with DME on receiver 1
  vars()[43] = 1.0;
  vars()[31] = 10.0;
  vars()[551] = 0.0;  // standing: the smoothing settles on the distance
  frames(60);
  // Both switches at DME 1: the captain's shows 18.5 km, the second pilot's is blank.
  EXPECT_EQ(value("ISD_1", "digit_2"), 1.0);
  EXPECT_EQ(value("ISD_1", "digit_1"), 8.0);
  EXPECT_EQ(value("ISD_1", "digit_0"), 5.0);
  EXPECT_EQ(value("ISD_1", "lamp_km"), 0.0);
  EXPECT_EQ(value("ISD_1", "lamp_nm"), -1.0);
  for (const char* d : {"digit_0", "digit_1", "digit_2", "digit_3"})
    EXPECT_EQ(value("ISD_2", d), 10.0) << d;

  // The second pilot on DME 2, receiver 2 in nautical miles: 10.0 NM.
  vars()[53] = 0.0;
  vars()[52] = 1.0;
  vars()[35] = 10.05;
  click("AZS_DME1_DME2_2P", "azs_dme1_dme2_2p=2");
  click("KursMP_Pult_2", "unit_km");
  frames(60);
  EXPECT_EQ(radio::radio().dme[1].selector, 2);
  EXPECT_EQ(value("ISD_2", "digit_2"), 1.0);
  EXPECT_EQ(value("ISD_2", "digit_1"), 0.0);
  EXPECT_EQ(value("ISD_2", "digit_0"), 0.0);
  EXPECT_EQ(value("ISD_2", "lamp_nm"), 0.0);
  EXPECT_EQ(value("ISD_2", "lamp_km"), -1.0);

  // Without power the digits and lamps go dark.
  click("AZS_KURS_MP_1", "azs_kurs_mp_1");
  frames();
  EXPECT_EQ(value("ISD_1", "digit_0"), -1.0);
  EXPECT_EQ(value("ISD_1", "lamp_km"), -1.0);
}

TEST_F(ReceiverGauges, LampTestLightsTheDistanceLampsButNotTheModeLamps) {
  receivers_on();
  click("Kontrol_Lamp", "lamp_test");
  frames();
  EXPECT_EQ(value("ISD_1", "lamp_km"), 0.0);
  EXPECT_EQ(value("ISD_1", "lamp_nm"), 0.0);
  EXPECT_EQ(value("KursMP_Select", "lamp_gs_1"), -1.0) << "its own formula: no lamp test";
  EXPECT_EQ(value("KursMP_Select", "lamp_course_2"), -1.0);
  click("AZS_KURS_MP_2", "azs_kurs_mp_2");
  frames();
  EXPECT_EQ(value("ISD_2", "lamp_km"), -1.0) << "an unpowered lamp stays dark";
  frames(25);
  EXPECT_EQ(value("ISD_1", "lamp_nm"), -1.0);
}

TEST_F(ReceiverGauges, ModeLampsShowGlideSlopeAndStation) {
  receivers_on();
  vars()[43] = 1.0;
  vars()[44] = 1.0;
  frames();
  EXPECT_EQ(value("KursMP_Select", "lamp_gs_1"), 0.0);
  EXPECT_EQ(value("KursMP_Select", "lamp_course_1"), 0.0);
  EXPECT_EQ(value("KursMP_Select", "lamp_course_2"), -1.0);
}

// Whatever the host reports, the receivers keep a valid state and every
// element shows a number.
TEST_F(ReceiverGauges, HostValuesThatAreNoNumbersOrHuge) {
  receivers_on();
  indicators_on();
  click("PNP_right", "mode_selector=4");
  const u32 ids[] = {24, 25, 27, 28, 31, 35, 40, 41, 42, 43, 44, 45, 50,
                     51, 52, 53, 54, 59, 81, 354, 550, 551, 557};
  const double inf = std::numeric_limits<double>::infinity();
  for (double bad : {kNaN, inf, -inf, 1e300, -1e300, 4294967296.0, -2147483649.0}) {
    for (u32 id : ids) vars()[id] = bad;
    frames(25);
    const radio::RadioState& r = radio::radio();
    for (const radio::NavReceiver& rx : r.rx) {
      EXPECT_TRUE(radio::freq_in_band(rx.freq_code)) << bad;
      EXPECT_GE(rx.obs_deg, 0) << bad;
      EXPECT_LE(rx.obs_deg, 360) << bad;
      EXPECT_TRUE(std::isfinite(rx.cdi) && std::isfinite(rx.bearing_deg) &&
                  std::isfinite(rx.rmi_bearing) && std::isfinite(rx.dme_m))
          << bad;
    }
    for (const radio::DmeChannel& c : r.dme) EXPECT_TRUE(std::isfinite(c.smoothed_m)) << bad;
    for (const char* g : {"PNP_Left", "PNP_right"})
      for (const char* e : {"deviation_scale", "zk_marker", "zpu_pointer", "drift_pointer",
                            "glide_bar", "zpu_drum_d0"}) {
        EXPECT_TRUE(std::isfinite(value(g, e))) << g << " " << e << " " << bad;
      }
    for (const char* d : {"digit_0", "digit_1", "digit_2", "digit_3"}) {
      const double v = value("ISD_1", d);
      EXPECT_TRUE(v == -1.0 || (v >= 0.0 && v <= 10.0)) << d << " " << bad;
    }
  }
}

// Course indicators ---------------------------------------------------------------------

TEST_F(ReceiverGauges, ZkSelectorDecidesWhichKnobWorksAndWhoFollows) {
  indicators_on();
  nav::CourseIndicator& left = nav::pnp_left();
  nav::CourseIndicator& right = nav::pnp_right();
  click("PNP_Left", "zk_set_inc");
  EXPECT_DOUBLE_EQ(left.zk_set, 0.5);
  const double right_before = right.zk_set;
  click("PNP_right", "zk_set_inc");
  EXPECT_DOUBLE_EQ(right.zk_set, right_before) << "the right's knob waits for the key";

  click("Key_PNP_ZK_Sel", "key_pnp_zk_sel");
  frames();
  click("PNP_Left", "zk_set_inc", kMouseRight);
  const double before = left.zk_set;
  click("PNP_Left", "zk_set_inc");
  EXPECT_DOUBLE_EQ(left.zk_set, before) << "the left knob does nothing";
  const double right_set = right.zk_set;
  click("PNP_right", "zk_set_inc", kMouseRight);
  EXPECT_DOUBLE_EQ(right.zk_set, frame::wrap360(right_set + 3.0));
  frames(2);
  // The left follows: its marker shows the right's set heading relative to its own card.
  EXPECT_NEAR(nav::pnp_readings(left).zk_marker, frame::wrap360(-right.zk_error), 1e-9);
  EXPECT_NEAR(frame::wrap180(left.zk_set - left.card_target), -right.zk_error, 1e-9);
}

TEST_F(ReceiverGauges, TrackKnobNeedsTheAutopilotsPower) {
  click("PNP_Left", "zpu_set_inc");
  EXPECT_DOUBLE_EQ(nav::pnp_left().zpu_set, 0.0);
  click("AZS_SAU_STU", "switch");  // guard starts open
  frames();
  click("PNP_Left", "zpu_set_dec", kMouseRight);
  EXPECT_DOUBLE_EQ(nav::pnp_left().zpu_set, 355.0);
  frames();
  EXPECT_EQ(value("PNP_Left", "zpu_flag"), -1.0) << "hidden: the autopilot flies this track";
}

TEST_F(ReceiverGauges, DistanceKnobAndLandingArm) {
  nav::CourseIndicator& left = nav::pnp_left();
  left.distance_set = 989;
  click("PNP_Left", "distance_set_inc", kMouseRight);
  EXPECT_EQ(left.distance_set, 989);
  click("PNP_Left", "distance_set_inc");
  EXPECT_EQ(left.distance_set, 990);
  left.distance_set = 9;
  click("PNP_Left", "distance_set_dec", kMouseRight);
  EXPECT_EQ(left.distance_set, 9);
  frames();
  EXPECT_EQ(value("PNP_right", "distance_drum_d0"), 900.0) << "shown on both indicators";

  EXPECT_EQ(value("PNP_Left", "landing_armed"), 0.0);
  click("PNP_Left", "landing_armed");
  EXPECT_EQ(nav::autopilot_course_values().landing_armed, 1);
  EXPECT_EQ(value("PNP_Left", "landing_armed"), -1.0);
  EXPECT_EQ(value("PNP_right", "distance_flag"), 0.0);
}

TEST_F(ReceiverGauges, TrianglesShowAndHideByTheHideBit) {
  indicators_on();
  receivers_on();
  click("PNP_right", "mode_selector=3");  // VOR of receiver 2
  vars()[52] = 2.0;                       // FROM
  frames();
  EXPECT_EQ(nav::pnp_right().mode, nav::kModeVor2);
  EXPECT_EQ(value("PNP_right", "lamp_vor"), 0.0);
  EXPECT_TRUE(hidden("PNP_right", "to_triangle"));
  EXPECT_FALSE(hidden("PNP_right", "from_triangle"));
  vars()[52] = 1.0;
  frames();
  EXPECT_FALSE(hidden("PNP_right", "to_triangle"));
  EXPECT_TRUE(hidden("PNP_right", "from_triangle"));
  vars()[51] = 2.0;  // a localizer on receiver 2
  frames();
  EXPECT_TRUE(hidden("PNP_right", "to_triangle"));
  EXPECT_TRUE(hidden("PNP_Left", "to_triangle")) << "the left has no source (mode 5)";
}

TEST_F(ReceiverGauges, RightModeButtons) {
  indicators_on();
  const struct {
    const char* area;
    std::int8_t mode;
    const char* lamp;
  } buttons[] = {{"mode_selector=4", nav::kModeIls, "lamp_sp"},
                 {"mode_selector=2", nav::kModeVor1, "lamp_vor"},
                 {"mode_selector=1", nav::kModeNvu, "lamp_nv"},
                 {"mode_selector=0", nav::kModeNone, nullptr}};
  for (const auto& b : buttons) {
    click("PNP_right", b.area);
    frames();
    EXPECT_EQ(nav::pnp_right().mode, b.mode) << b.area;
    for (const char* lamp : {"lamp_sp", "lamp_vor", "lamp_nv", "lamp_rsbn"})
      EXPECT_EQ(value("PNP_right", lamp), b.lamp && std::string_view(lamp) == b.lamp ? 0.0 : -1.0)
          << b.area << " " << lamp;
  }
}

TEST_F(ReceiverGauges, Ush3ReadoutToggle) {
  const char* const readout[] = {"readout_on", "ga1_heading_text", "ga2_heading_text",
                                 "mk1_heading_text", "mk2_heading_text"};
  frames();
  for (const char* e : readout) EXPECT_TRUE(hidden("USH-3", e)) << e;
  click("USH-3", "readout_on");
  frames();
  for (const char* e : readout) EXPECT_FALSE(hidden("USH-3", e)) << e;
  EXPECT_EQ(value("USH-3", "mode_picture"), 1.0) << "free gyro";
  vars()[753] = 0.0;  // no main bus: the mode picture goes out
  frames();
  EXPECT_EQ(value("USH-3", "mode_picture"), -1.0);
}

}  // namespace
