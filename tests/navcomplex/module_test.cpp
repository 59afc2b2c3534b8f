// The airliner module as the host sees it: its gauge table and records, and
// the breakers, switches and lamps worked through their records (clicks
// through the mouse-area handlers, services through the gauge callbacks,
// pictures through the element callbacks).
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "frame/builder.h"
#include "frame/gauge.h"
#include "frame/host.h"
#include "frame/state.h"
#include "nav/tks.h"
#include "radio/radio_sys.h"
#include "tests/navcomplex/module_fixture.h"
#include "tests/platform/sim_root_hook.h"

namespace {

using namespace frame;
using namespace frame::testing;
using platform::testing::sim_root_dir;

constexpr const char* kExpectedTable[] = {
    "KursMP_Pult_1",
    "KursMP_Pult_2",
    "ISD_1",
    "ISD_2",
    "KursMP_Select",
    "KursMP_ZPU1",
    "KursMP_ZPU2",
    "ARK15_1_Pult",
    "ARK15_2_Pult",
    "VBE_1",
    "VBE_2",
    "VBE_VC",
    "AZS_VBE_1_M",
    "AZS_VBE_2_M",
    "Tablo_Trim",
    "Tablo_Trim_B",
    "Tablo_6a",
    "Tablo_6a_b",
    "NVU_Tablo_1",
    "NVU_Tablo_1_b",
    "NVU_Tablo_1_c",
    "NVU_Tablo_1_d",
    "NVU_Tablo_1_e",
    "NVU_Tablo_1_f",
    "NVU_Tablo_1_g",
    "NVU_Tablo_SNS",
    "FortOpen",
    "STABMANUAL",
    "CG",
    "VC_ICON_1",
    "VC_ICON_2",
    "VC_ICON_3",
    "TKS_Pult",
    "AZS_GA1_VKL",
    "AZS_GA2_VKL",
    "USH-3",
    "NVU_V51_Pult",
    "NVU_V140_Pult",
    "NVU_V52_1_Pult",
    "AZS_Korr_BGMK_1",
    "AZS_Korr_BGMK_2",
    "AZS_Arret_GA_1",
    "AZS_Arret_GA_2",
    "AZS_Obogrev_GA",
    "AZS_PNP_Left_GMK",
    "AZS_PNP_Right_GMK",
    "AZS_AVAR_LIGHT",
    "AZS_DISS_PIT",
    "AZS_DISS_SUSHA",
    "AZS_DISS_REZIM",
    "SVS_Control",
    "AZS_SVS_PIT",
    "AZS_SVS_Obogr",
    "USVP",
    "NVU_V57_Pult",
    "PNP_Left",
    "NVU_Sys",
    "NVU_V52_2_Pult",
    "PKP_Left",
    "RSBN_SYS",
    "RSBN_PPDA",
    "RSBN_Pult",
    "RSBN_Pult_2",
    "AZS_RSBN_VKL",
    "AZS_RSBN_Opozn",
    "AZS_RSBN_VKL_M",
    "AZS_RSBN_Opozn_M",
    "UgolKarty",
    "ABSU_Pult",
    "AZS_PKP_L",
    "AZS_PKP_P",
    "AZS_MGV_K",
    "AZS_SAU_STU",
    "AZS_BKK_Pit",
    "AZS_BKK_Test",
    "Key_PNP_ZK_Sel",
    "RV_5M_1",
    "AZS_RV_5M_1",
    "AZS_RV_5M_2",
    "ABSU_sys",
    "ABSU_analog_test",
    "TKS_sys",
    "IKU",
    "KM5_1",
    "KM5_2",
    "Tablo_1",
    "Tablo_3",
    "Tablo_2",
    "Tablo_71",
    "Tablo_72",
    "Tablo_73",
    "Tablo_74",
    "Tablo_75",
    "AZS_AUASP_KONTROL",
    "AZS_FARY_Kr",
    "AZS_LAND_TAXI_Kr",
    "AZS_FARY_F",
    "AZS_LAND_TAXI_F",
    "AZS_FARY_Pol",
    "AZS_DME1_DME2",
    "AZS_AUASP",
    "AZS_UVID",
    "AZS_EUP",
    "AZS_AGR",
    "AZS_KURS_MP_1",
    "AZS_KURS_MP_2",
    "AZS_Mikron_1",
    "AZS_Mikron_2",
    "AZS_ARK1_VOR1",
    "AZS_ARK1_VOR2",
    "AZS_UKV_1",
    "AZS_UKV_2",
    "AZS_KOLESO",
    "AZS_ANO",
    "AZS_Problesk",
    "AZS_PITO",
    "AZS_Vent_l",
    "AZS_spu",
    "AZS_sgs",
    "AZS_sd75_1",
    "AZS_sd75_2",
    "AZS_mars",
    "AZS_obogr_1",
    "AZS_obogr_2",
    "AZS_obogr_3",
    "AZS_vent_p",
    "AZS_PanelLight",
    "Kontrol_Lamp",
    "USH_DB",
    "ADF_SYS",
    "COM_1_fr",
    "COM_2_fr",
    "radio_sys",
    "PNP_right",
    "UVID_F",
    "UVO",
    "UM_1",
    "AUASP",
    "US_I",
    "EUP",
    "DME",
    "SPU_Pult",
    "US_I_2P",
    "DME_2P",
    "AZS_DME1_DME2_2P",
    "UVO_2P",
    "IKU_2P",
    "RV_5M_2",
    "ABSU_PanOtl",
    "AT_Pult",
    "RUD",
    "IN_3",
    "PKP_Right",
    "NVU_V52_Dop_Pult",
    "SOUND",
    "AZS_Sirena",
    "AZS_Dinamik",
    "AZS_Bustery",
    "AZS_Dek_1",
    "AZS_Dek_2",
    "AZS_Dek_3",
    "AZS_RazvKol",
    "GearKran",
    "Tablo_201",
    "Tablo_203",
    "Tablo_271",
    "Tablo_272",
    "Tablo_273",
    "Tablo_274",
    "Tablo_275",
    "GearKran_2P",
    "VirtNav",
    "z_stab",
    "z_stab_p",
    "z_stab_ruchn",
    "AZS_dempf_rysk",
    "AZS_I21_N1",
    "AZS_NAV_I21_GPS",
    "Tablo_Stab",
    "AP_Service",
    "AP_Service_Icon",
    "SaweFlight",
    "MSRP_64_SYS",
    "MSRP_64_Pult",
    "UPS",
    "ABSU_demo",
    "HydroInOut",
    "HydroTest",
    "AZS_ProdUpr",
    "Tablonn_71",
    "Tablonn_72",
    "tablonn_73",
    "tablonn_74",
    "tablonn_75",
    "tablonn_271",
    "tablonn_272",
    "tablonn_273",
    "tablonn_274",
    "tablonn_275",
    "JoySYS",
    "JoyService2",
};

// A stand-in host: the one service the module's state needs, and the main
// bus voltage it reports.
double g_volts = 28.0;
void GAU_CALL fake_lookup(ModuleVar* var) {
  if (var && var->id == 753) var->value = g_volts;
}
PanelServices make_services() {
  PanelServices s{};
  s.lookup_var = fake_lookup;
  return s;
}
PanelServices g_services = make_services();

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

class Navcomplex : public ::testing::Test {
 protected:
  void SetUp() override {
    systems() = SystemsState{};
    ImportTable.panels.ptr = &g_services;
    g_volts = 28.0;
  }

  // A click the area's handler accepts.
  static void click(std::string_view gauge, std::string_view label, u32 flags = kMouseLeft) {
    MouseArea* a = area(gauge, label);
    ASSERT_NE(a, nullptr) << gauge << " " << label;
    EXPECT_EQ(press(a, flags), 1);
  }
  static void frames(std::string_view gauge, int n) {
    for (int i = 0; i < n; ++i) service(gauge, kPreUpdate);
  }
  static double picture(std::string_view gauge, std::string_view label) {
    ElementHeader* e = find_element(gauge, label);
    EXPECT_NE(e, nullptr) << gauge << " " << label;
    if (!e || e->kind != kIcon) return std::numeric_limits<double>::quiet_NaN();
    auto* icon = reinterpret_cast<IconElement*>(e);
    return icon->value ? icon->value(e) : 0.0;
  }
  static Positions& pos() { return systems().positions; }
};

// Gauge table ------------------------------------------------------------------

TEST_F(Navcomplex, TableHoldsTheGaugesInOrder) {
  std::size_t n = 0;
  while (n < kMaxGauges && Linkage.gauges[n]) ++n;
  ASSERT_EQ(n, std::size(kExpectedTable));
  std::set<std::string> seen;
  for (std::size_t i = 0; i < n; ++i) {
    EXPECT_STREQ(Linkage.gauges[i]->name, kExpectedTable[i]) << "entry " << i;
    EXPECT_TRUE(seen.insert(Linkage.gauges[i]->name).second) << Linkage.gauges[i]->name;
  }
  EXPECT_TRUE(navcomplex_module().unknown_names().empty())
      << "first unknown: " << navcomplex_module().unknown_names().front();
}

TEST_F(Navcomplex, ModuleAndImportRecords) {
  EXPECT_EQ(Linkage.module_id, kModuleId);
  EXPECT_EQ(Linkage.version, kModuleVersion);
  EXPECT_EQ(Linkage.flags, 0u);
  EXPECT_EQ(Linkage.status, 0u);
  ASSERT_NE(Linkage.init, nullptr);
  ASSERT_NE(Linkage.deinit, nullptr);
  Linkage.init();
  Linkage.deinit();
  EXPECT_EQ(ImportTable.panels.id, kImportPanelServices);
  EXPECT_EQ(ImportTable.end.id, 0u);
  EXPECT_EQ(ImportTable.end.ptr, nullptr);
}

TEST_F(Navcomplex, EveryGaugeHasARootImageAndAParentArea) {
  for (GaugeHeader** g = Linkage.gauges; *g; ++g) {
    GaugeHeader* h = *g;
    SCOPED_TRACE(h->name);
    EXPECT_EQ(h->version, kGaugeHeaderVersion);
    EXPECT_GE(h->size_x_mm, 15u);
    EXPECT_LE(h->size_x_mm, 635u);
    ASSERT_NE(h->elements, nullptr);
    ASSERT_NE(h->elements[0], nullptr);
    EXPECT_EQ(h->elements[0]->kind, kStaticImage);
    EXPECT_EQ(h->elements[1], nullptr);
    ASSERT_NE(h->mouse_areas, nullptr);
    EXPECT_EQ(h->mouse_areas[0].kind, kAreaParent);
    ASSERT_NE(h->callback, nullptr);
    for (auto fn : {h->query, h->install, h->initialize, h->update, h->generate, h->draw, h->kill})
      EXPECT_NE(fn, nullptr);
    // Every service code, known or not, is safe on every gauge.
    for (i32 code : {0, 2, 4, 14, 12, 99, -1}) h->callback(h, code, 0);
  }
}

// Labels: the state field a control shows or changes, `guard` / `switch` on
// guarded switches, FIELD=VALUE on areas that set a fixed position. The
// breakers' fields are named after their gauges.
TEST_F(Navcomplex, AreaLabelsFollowTheConvention) {
  const std::regex field_rule("[a-z0-9_]+(=-?[0-9]+)?");
  for (GaugeHeader** g = Linkage.gauges; *g; ++g) {
    const std::string own = lower((*g)->name);
    const bool breaker = own.rfind("azs_", 0) == 0 || own == "key_pnp_zk_sel" ||
                         own == "kontrol_lamp";
    for (MouseArea* a : child_areas(*g)) {
      const std::string& l = labels()[a];
      SCOPED_TRACE(std::string((*g)->name) + " area " + l);
      EXPECT_TRUE(std::regex_match(l, field_rule));
      EXPECT_NE(l, "left");
      EXPECT_NE(l, "right");
      EXPECT_NE(l, "hold");
      if (!breaker) continue;
      const std::string base = l.substr(0, l.find('='));
      const bool ok = base == own || base == "switch" || base == "lamp_test" ||
                      base.rfind(own + "_", 0) == 0 ||  // azs_bustery_1
                      own == base + "_m";               // AZS_RSBN_VKL_M
      EXPECT_TRUE(ok) << "label names no state field of the gauge";
    }
  }
}

// Electrical flags ---------------------------------------------------------------

TEST_F(Navcomplex, TksSysRecomputesTheBusFlagsEveryFrame) {
  const struct {
    double volts;
    int main_bus;
    double copied;
  } cases[] = {
      {19.99, 0, 19.99},
      {20.0, 0, 20.0},
      {20.01, 1, 20.01},
      {28.0, 1, 28.0},
      {std::numeric_limits<double>::quiet_NaN(), 0, 0.0},
      {1e300, 1, 1e300},
  };
  for (const auto& c : cases) {
    g_volts = c.volts;
    systems().electrical.second_bus = 0;
    service("TKS_sys", kPreUpdate);
    EXPECT_EQ(systems().electrical.main_bus, c.main_bus) << c.volts;
    EXPECT_DOUBLE_EQ(systems().electrical.main_bus_volts, c.copied) << c.volts;
    EXPECT_EQ(systems().electrical.second_bus, 1);
  }
}

TEST_F(Navcomplex, BusFlagsStartPoweredUntilTksSysRuns) {
  const SystemsState fresh{};
  EXPECT_EQ(fresh.electrical.main_bus, 1);
  EXPECT_EQ(fresh.electrical.second_bus, 1);
  g_volts = 0.0;
  service("TKS_sys", kPreInstall);
  service("TKS_sys", kConnectWindow);
  EXPECT_EQ(systems().electrical.main_bus, 1);
}

// Switches ----------------------------------------------------------------------

TEST_F(Navcomplex, Ga1SwitchPowersCourseSystemChannelOne) {
  EXPECT_EQ(picture("AZS_GA1_VKL", "azs_ga1_vkl"), 0.0);
  click("AZS_GA1_VKL", "azs_ga1_vkl");
  EXPECT_EQ(pos().azs_ga1_vkl, 1);
  EXPECT_EQ(nav::tks_panel().ga1_switch, 0) << "copied at service 6, not in the click";
  service("AZS_GA1_VKL", kPreUpdate);
  EXPECT_EQ(nav::tks_panel().ga1_switch, 1);
  EXPECT_EQ(picture("AZS_GA1_VKL", "azs_ga1_vkl"), 1.0);
  click("AZS_GA1_VKL", "azs_ga1_vkl");
  service("AZS_GA1_VKL", kPreUpdate);
  EXPECT_EQ(nav::tks_panel().ga1_switch, 0);
  EXPECT_EQ(picture("AZS_GA1_VKL", "azs_ga1_vkl"), 0.0);
}

TEST_F(Navcomplex, PowerFlagFollowsPositionsSetElsewhere) {
  // The joystick layer and flight load write positions directly.
  pos().azs_kurs_mp_2 = 1;
  service("AZS_KURS_MP_2", kPreUpdate);
  EXPECT_EQ(radio::radio().rx[1].breaker_on, 1);
  EXPECT_EQ(picture("AZS_KURS_MP_2", "azs_kurs_mp_2"), 1.0);
  pos().azs_kurs_mp_2 = 7;  // any nonzero value is on
  EXPECT_EQ(picture("AZS_KURS_MP_2", "azs_kurs_mp_2"), 1.0);
  click("AZS_KURS_MP_2", "azs_kurs_mp_2");
  EXPECT_EQ(pos().azs_kurs_mp_2, 0);
}

TEST_F(Navcomplex, TwinGaugesShareOnePosition) {
  click("AZS_RSBN_VKL_M", "azs_rsbn_vkl");
  EXPECT_EQ(pos().azs_rsbn_vkl, 1);
  EXPECT_EQ(picture("AZS_RSBN_VKL", "azs_rsbn_vkl"), 2.0) << "its art has three pictures";
  click("AZS_RSBN_Opozn", "azs_rsbn_opozn");
  EXPECT_EQ(picture("AZS_RSBN_Opozn_M", "azs_rsbn_opozn"), 1.0);
}

TEST_F(Navcomplex, StartPositions) {
  EXPECT_EQ(picture("AZS_Sirena", "azs_sirena"), 1.0);
  EXPECT_EQ(picture("AZS_Dinamik", "azs_dinamik"), 1.0);
  EXPECT_EQ(picture("AZS_dempf_rysk", "azs_dempf_rysk"), 1.0);
  EXPECT_EQ(picture("AZS_I21_N1", "azs_i21_n1"), 1.0);
  EXPECT_EQ(picture("AZS_DISS_REZIM", "azs_diss_rezim"), 1.0);
  EXPECT_EQ(picture("AZS_LAND_TAXI_Kr", "azs_land_taxi_kr"), 1.0);
  EXPECT_EQ(picture("AZS_obogr_3", "azs_obogr_3"), 1.0);
  EXPECT_EQ(picture("AZS_AUASP_KONTROL", "azs_auasp_kontrol"), 1.0);
  EXPECT_EQ(picture("AZS_BKK_Test", "switch"), 1.0);
  for (const char* g :
       {"AZS_PKP_L", "AZS_SAU_STU", "AZS_KOLESO", "AZS_RazvKol", "AZS_BKK_Test", "AZS_Bustery"})
    EXPECT_EQ(picture(g, "guard"), 1.0) << g << ": guards start open";
}

TEST_F(Navcomplex, LandingLightToggleShowsTwiceItsPosition) {
  click("AZS_FARY_Kr", "azs_fary_kr");
  EXPECT_EQ(pos().azs_fary_kr, 1);
  EXPECT_EQ(picture("AZS_FARY_Kr", "azs_fary_kr"), 2.0);
  click("AZS_FARY_Kr", "azs_fary_kr");
  EXPECT_EQ(picture("AZS_FARY_Kr", "azs_fary_kr"), 0.0);
}

struct GuardedCase {
  const char* gauge;
  int Positions::*sw;
  int Positions::*guard;
  bool close_sets_on;
};

class GuardedSwitch : public Navcomplex, public ::testing::WithParamInterface<GuardedCase> {};

TEST_P(GuardedSwitch, GuardRules) {
  const GuardedCase& c = GetParam();
  int& sw = pos().*c.sw;
  int& guard = pos().*c.guard;
  click(c.gauge, "switch", kMouseLeft);
  EXPECT_EQ(sw, 1) << "left flips the switch under an open guard";
  click(c.gauge, "switch", kMouseLeft);
  EXPECT_EQ(sw, 0);
  click(c.gauge, "switch", kMouseRight);
  EXPECT_EQ(guard, 0);
  EXPECT_EQ(sw, c.close_sets_on ? 1 : 0) << "closing the guard";
  EXPECT_EQ(picture(c.gauge, "guard"), 0.0);
  EXPECT_EQ(picture(c.gauge, "switch"), static_cast<double>(sw));
  const int closed_sw = sw;
  click(c.gauge, "switch", kMouseLeft);
  EXPECT_EQ(sw, closed_sw) << "left does nothing while the guard is closed";
  click(c.gauge, "switch", kMouseRight);
  EXPECT_EQ(guard, 1);
  EXPECT_EQ(sw, closed_sw) << "opening the guard leaves the switch";
  // A switch that is on stays on when the guard closes, on every member.
  sw = 1;
  click(c.gauge, "switch", kMouseRight);
  EXPECT_EQ(sw, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Members, GuardedSwitch,
    ::testing::Values(
        GuardedCase{"AZS_PKP_L", &Positions::azs_pkp_l, &Positions::azs_pkp_l_guard, true},
        GuardedCase{"AZS_PKP_P", &Positions::azs_pkp_p, &Positions::azs_pkp_p_guard, true},
        GuardedCase{"AZS_MGV_K", &Positions::azs_mgv_k, &Positions::azs_mgv_k_guard, true},
        GuardedCase{"AZS_SAU_STU", &Positions::azs_sau_stu, &Positions::azs_sau_stu_guard, true},
        GuardedCase{"AZS_BKK_Pit", &Positions::azs_bkk_pit, &Positions::azs_bkk_pit_guard, true},
        GuardedCase{"AZS_ProdUpr", &Positions::azs_produpr, &Positions::azs_produpr_guard, true},
        GuardedCase{"AZS_KOLESO", &Positions::azs_koleso, &Positions::azs_koleso_guard, true},
        GuardedCase{"AZS_RazvKol", &Positions::azs_razvkol, &Positions::azs_razvkol_guard, false}),
    [](const auto& p) { return std::string(p.param.gauge); });

TEST_F(Navcomplex, GuardedBreakersCopyTheirSwitchIntoUnitPower) {
  pos().azs_sau_stu = 1;
  pos().azs_razvkol = 1;
  service("AZS_SAU_STU", kPreUpdate);
  service("AZS_RazvKol", kPreUpdate);
  EXPECT_EQ(systems().power.absu_power, 1);
  EXPECT_EQ(systems().power.steering_power, 1);
}

TEST_F(Navcomplex, AttitudeMonitorTestSwitchSpringsBackAfter14Frames) {
  click("AZS_BKK_Test", "switch=2");
  EXPECT_EQ(pos().azs_bkk_test, 2);
  EXPECT_EQ(picture("AZS_BKK_Test", "switch"), 2.0);
  frames("AZS_BKK_Test", 13);
  EXPECT_EQ(pos().azs_bkk_test, 2);
  frames("AZS_BKK_Test", 1);
  EXPECT_EQ(pos().azs_bkk_test, 1);

  click("AZS_BKK_Test", "switch=0");
  frames("AZS_BKK_Test", 5);
  click("AZS_BKK_Test", "switch=0");  // a new click restarts the hold
  frames("AZS_BKK_Test", 13);
  EXPECT_EQ(pos().azs_bkk_test, 0);
  frames("AZS_BKK_Test", 1);
  EXPECT_EQ(pos().azs_bkk_test, 1);
}

TEST_F(Navcomplex, AttitudeMonitorTestSwitchUnderItsGuard) {
  click("AZS_BKK_Test", "switch=2");
  click("AZS_BKK_Test", "switch=0", kMouseRight);  // closing returns it to rest
  EXPECT_EQ(pos().azs_bkk_test_guard, 0);
  EXPECT_EQ(pos().azs_bkk_test, 1);
  click("AZS_BKK_Test", "switch=2");
  EXPECT_EQ(pos().azs_bkk_test, 1) << "the closed guard holds the switch";
  frames("AZS_BKK_Test", 20);
  EXPECT_EQ(pos().azs_bkk_test, 1);
  click("AZS_BKK_Test", "switch=2", kMouseRight);
  EXPECT_EQ(pos().azs_bkk_test_guard, 1);
}

TEST_F(Navcomplex, BoosterGroupThroughItsAreas) {
  click("AZS_Bustery", "azs_bustery_1");
  click("AZS_Bustery", "azs_bustery_2");
  click("AZS_Bustery", "azs_bustery_1", kMouseRight);
  EXPECT_EQ(pos().azs_bustery_guard, 1) << "refuses to close with booster 3 off";
  click("AZS_Bustery", "azs_bustery_3");
  EXPECT_EQ(pos().azs_bustery_3_flag, 1);
  click("AZS_Bustery", "azs_bustery_2", kMouseRight);
  EXPECT_EQ(pos().azs_bustery_guard, 0);
  EXPECT_EQ(picture("AZS_Bustery", "guard"), 0.0);
  click("AZS_Bustery", "azs_bustery_3");
  EXPECT_EQ(pos().azs_bustery_3, 1) << "closed guard";
  for (const char* l : {"azs_bustery_1", "azs_bustery_2", "azs_bustery_3"})
    EXPECT_EQ(picture("AZS_Bustery", l), 1.0) << l;
}

TEST_F(Navcomplex, SelectorAreasSetFixedPositions) {
  const struct {
    const char* gauge;
    const char* field;
    std::function<int()> value;
    std::vector<int> values;
  } cases[] = {
      {"AZS_DISS_REZIM", "azs_diss_rezim", [] { return int{pos().azs_diss_rezim}; }, {2, 1, 0}},
      {"AZS_obogr_1", "azs_obogr_1", [] { return int{pos().azs_obogr_1}; }, {2, 1, 0}},
      {"AZS_obogr_2", "azs_obogr_2", [] { return int{pos().azs_obogr_2}; }, {2, 1, 0}},
      {"AZS_obogr_3", "azs_obogr_3", [] { return int{pos().azs_obogr_3}; }, {2, 1, 0}},
      {"AZS_LAND_TAXI_Kr",
       "azs_land_taxi_kr",
       [] { return int{pos().azs_land_taxi_kr}; },
       {2, 1, 0}},
      {"AZS_LAND_TAXI_F", "azs_land_taxi_f", [] { return int{pos().azs_land_taxi_f}; }, {2, 1, 0}},
      {"AZS_NAV_I21_GPS", "azs_nav_i21_gps", [] { return pos().azs_nav_i21_gps; }, {2, 1, 0}},
      {"AZS_DME1_DME2", "azs_dme1_dme2", [] { return pos().azs_dme1_dme2; }, {0, 1, 2}},
      {"AZS_DME1_DME2_2P", "azs_dme1_dme2_2p", [] { return pos().azs_dme1_dme2_2p; }, {0, 1, 2}},
  };
  for (const auto& c : cases) {
    const std::vector<MouseArea*> areas = child_areas(header(c.gauge));
    ASSERT_EQ(areas.size(), c.values.size()) << c.gauge;
    for (std::size_t i = 0; i < areas.size(); ++i) {
      const int v = c.values[i];
      EXPECT_EQ(labels()[areas[i]], std::string(c.field) + "=" + std::to_string(v)) << c.gauge;
      click(c.gauge, labels()[areas[i]]);
      EXPECT_EQ(c.value(), v) << c.gauge;
      EXPECT_EQ(picture(c.gauge, c.field), static_cast<double>(v)) << c.gauge;
    }
  }
  // The two crew stations' distance selectors are separate positions.
  click("AZS_DME1_DME2", "azs_dme1_dme2=2");
  click("AZS_DME1_DME2_2P", "azs_dme1_dme2_2p=0");
  EXPECT_EQ(pos().azs_dme1_dme2, 2);
}

TEST_F(Navcomplex, AoaTestSwitchRepeatsAndSpringsBackAfter16Frames) {
  MouseArea* up = area("AZS_AUASP_KONTROL", "azs_auasp_kontrol=2");
  ASSERT_NE(up, nullptr);
  EXPECT_NE(up->flags & kMouseRepeat, 0u);
  click("AZS_AUASP_KONTROL", "azs_auasp_kontrol=0");
  frames("AZS_AUASP_KONTROL", 15);
  EXPECT_EQ(pos().azs_auasp_kontrol, 0);
  frames("AZS_AUASP_KONTROL", 1);
  EXPECT_EQ(pos().azs_auasp_kontrol, 1);
}

TEST_F(Navcomplex, EmergencyLightGuardIsOnlyAPicture) {
  EXPECT_TRUE(child_areas(header("AZS_AVAR_LIGHT")).empty());
  EXPECT_EQ(header("AZS_AVAR_LIGHT")->elements[0]->children[0]->kind, kIcon);
}

// Lamps -------------------------------------------------------------------------

// The navigation computer's lamps have names of their own (nvu_gauge_tests).
constexpr const char* kLamps[] = {
    "Tablo_1",       "Tablo_2",       "Tablo_3",       "Tablo_6a",      "Tablo_6a_b",
    "Tablo_71",      "Tablo_72",      "Tablo_73",      "Tablo_74",      "Tablo_75",
    "Tablo_201",     "Tablo_203",     "Tablo_271",     "Tablo_272",     "Tablo_273",
    "Tablo_274",     "Tablo_275",     "Tablo_Trim",    "Tablo_Trim_B",  "Tablo_Stab",
    "Tablonn_71",    "Tablonn_72",    "tablonn_73",    "tablonn_74",    "tablonn_75",
    "tablonn_271",   "tablonn_272",   "tablonn_273",   "tablonn_274",   "tablonn_275",
};

TEST_F(Navcomplex, LampTestLightsEveryPoweredLamp) {
  for (const char* g : kLamps) EXPECT_EQ(picture(g, "lamp_" + lower(g)), -1.0) << g;
  click("Kontrol_Lamp", "lamp_test");
  EXPECT_EQ(systems().lamp_test.flag, 1);
  for (const char* g : kLamps) EXPECT_EQ(picture(g, "lamp_" + lower(g)), 0.0) << g;
  g_volts = 20.0;
  service("TKS_sys", kPreUpdate);
  for (const char* g : kLamps) EXPECT_EQ(picture(g, "lamp_" + lower(g)), -1.0) << g << " unpowered";
}

// The hold ends in Kontrol_Lamp's 20th service 6 after the click. A lamp
// drawn before that gauge in the frame sees the flag for 20 frames, one drawn
// after it for 19.
TEST_F(Navcomplex, LampTestHoldCountsFramesOfKontrolLamp) {
  click("Kontrol_Lamp", "lamp_test");
  int lit_before = 0, lit_after = 0;
  for (int f = 0; f < 25; ++f) {
    if (picture("Tablo_71", "lamp_tablo_71") == 0.0) ++lit_before;
    service("Kontrol_Lamp", kPreUpdate);
    if (picture("Tablo_72", "lamp_tablo_72") == 0.0) ++lit_after;
  }
  EXPECT_EQ(lit_before, 20);
  EXPECT_EQ(lit_after, 19);
  EXPECT_EQ(systems().lamp_test.flag, 0);
  EXPECT_EQ(picture("Kontrol_Lamp", "lamp_test"), 0.0);
}

// Configuration file ---------------------------------------------------------------

class ConfigFile : public Navcomplex {
 protected:
  void SetUp() override {
    Navcomplex::SetUp();
    root_ = std::filesystem::path(::testing::TempDir()) /
            ("navcomplex_cfg_" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "gauges" / "Kr300v_cfg");
    sim_root_dir() = root_.string() + "/";
  }
  void TearDown() override {
    sim_root_dir().clear();
    std::filesystem::remove_all(root_);
  }
  void write(const std::string& text) {
    std::ofstream(root_ / "gauges" / "Kr300v_cfg" / "kr300_gau.cfg", std::ios::binary) << text;
  }
  std::filesystem::path root_;
};

TEST_F(ConfigFile, EachReaderTakesItsKeysAtService14) {
  write(
      "[system]\r\nnvu_v52_100=1.9\r\npanel_auto=0\r\nups_percent=80\r\nap_hydro_on=0\r\n"
      "msrp_speed_min=300\r\nmsrp_one_file=0\r\n[sound]\r\nsound=0\r\nsirena_lev=100\r\n"
      "key_sound_on=0\r\n");
  const Config& c = systems().config;
  service("NVU_Sys", kPreUpdate);  // only service 14 reads
  EXPECT_DOUBLE_EQ(c.nvu_scale, 0.1);

  service("NVU_Sys", kConnectWindow);
  EXPECT_DOUBLE_EQ(c.nvu_scale, 1.0);
  EXPECT_EQ(c.panel_auto, 1) << "ABSU_sys has not read yet";

  service("ABSU_sys", kConnectWindow);
  EXPECT_EQ(c.panel_auto, 0);
  EXPECT_DOUBLE_EQ(c.ups_percent, 80.0);
  EXPECT_EQ(c.ap_hydro_on, 0);
  EXPECT_DOUBLE_EQ(c.msrp_speed_min, 100.0);

  service("MSRP_64_SYS", kConnectWindow);
  EXPECT_DOUBLE_EQ(c.msrp_speed_min, 300.0);
  EXPECT_EQ(c.msrp_one_file, 0);
  EXPECT_EQ(c.sound, 1);

  service("SOUND", kConnectWindow);
  EXPECT_EQ(c.sound, 0);
  EXPECT_EQ(c.sirena_lev, 0);
  EXPECT_EQ(c.dinamik_lev, -600);
  EXPECT_EQ(c.key_sound_on, 0);
}

TEST_F(ConfigFile, ChangeTakesEffectWhenTheWindowIsAttachedAgain) {
  write("[system]\nnvu_v52_100=1\n");
  service("NVU_Sys", kConnectWindow);
  EXPECT_DOUBLE_EQ(systems().config.nvu_scale, 1.0);
  write("[system]\nnvu_v52_100=0\n");
  EXPECT_DOUBLE_EQ(systems().config.nvu_scale, 1.0);
  service("NVU_Sys", kConnectWindow);
  EXPECT_DOUBLE_EQ(systems().config.nvu_scale, 0.1);
}

TEST_F(ConfigFile, MissingOrDamagedFileLeavesDefaults) {
  systems().config.panel_auto = 5;
  service("ABSU_sys", kConnectWindow);  // no file
  EXPECT_EQ(systems().config.panel_auto, 1);
  const char damaged[] = "\0\xff[sys\ntem]\n=\n[[system]]\npanel_auto\n";
  write(std::string(damaged, sizeof damaged - 1));
  service("ABSU_sys", kConnectWindow);
  EXPECT_EQ(systems().config.panel_auto, 1);
  EXPECT_DOUBLE_EQ(systems().config.ups_percent, 67.0);
}

}  // namespace
