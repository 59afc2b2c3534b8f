// The airliner module: its gauge table, the two exported records, module
// init and deinit, and the static initialiser that declares the gauges.
#include <iterator>

#include "frame/builder.h"
#include "frame/gauge.h"
#include "frame/named_gauges.h"
#include "frame/state.h"
#include "radio/rsbn.h"
#include "nav/sensor_gauges.h"
#include "nav/tks.h"
#include "nav/course_indicator.h"
#include "radio/radio_sys.h"
#include "nav/nvu_panels.h"
#include "autopilot/radio_altimeter.h"

namespace {

// The joystick layer starts in init and is released in deinit; until it
// exists, both do nothing.
void GAU_CALL navcomplex_init() {}
void GAU_CALL navcomplex_deinit() {}

}  // namespace

// The only two exported symbols. Constant-initialised; the module's static
// initialiser fills the gauge table.
extern "C" {
GAU_EXPORT frame::LinkageRecord Linkage = {
    frame::kModuleId, navcomplex_init, navcomplex_deinit, 0, 0, frame::kModuleVersion, {}};
GAU_EXPORT frame::ImportTableRecord ImportTable = {{frame::kImportPanelServices, nullptr},
                                                   {0, nullptr}};
}

namespace frame {

namespace {

// The gauge table in the order the host sees it, with design widths in mm.
constexpr GaugeSpec kGaugeTable[] = {
    {"KursMP_Pult_1", 100},
    {"KursMP_Pult_2", 100},
    {"ISD_1", 80},
    {"ISD_2", 80},
    {"KursMP_Select", 60},
    {"KursMP_ZPU1", 80},
    {"KursMP_ZPU2", 80},
    {"ARK15_1_Pult", 120},
    {"ARK15_2_Pult", 120},
    {"VBE_1", 80},
    {"VBE_2", 80},
    {"VBE_VC", 80},
    {"AZS_VBE_1_M", 15},
    {"AZS_VBE_2_M", 15},
    {"Tablo_Trim", 50},
    {"Tablo_Trim_B", 50},
    {"Tablo_6a", 50},
    {"Tablo_6a_b", 50},
    {"NVU_Tablo_1", 50},
    {"NVU_Tablo_1_b", 50},
    {"NVU_Tablo_1_c", 50},
    {"NVU_Tablo_1_d", 50},
    {"NVU_Tablo_1_e", 50},
    {"NVU_Tablo_1_f", 50},
    {"NVU_Tablo_1_g", 50},
    {"NVU_Tablo_SNS", 50},
    {"FortOpen", 20},
    {"STABMANUAL", 30},
    {"CG", 20},
    {"VC_ICON_1", 60},
    {"VC_ICON_2", 60},
    {"VC_ICON_3", 60},
    {"TKS_Pult", 150},
    {"AZS_GA1_VKL", 15},
    {"AZS_GA2_VKL", 15},
    {"USH-3", 80},
    {"NVU_V51_Pult", 150},
    {"NVU_V140_Pult", 120},
    {"NVU_V52_1_Pult", 150},
    {"AZS_Korr_BGMK_1", 15},
    {"AZS_Korr_BGMK_2", 15},
    {"AZS_Arret_GA_1", 15},
    {"AZS_Arret_GA_2", 15},
    {"AZS_Obogrev_GA", 15},
    {"AZS_PNP_Left_GMK", 15},
    {"AZS_PNP_Right_GMK", 15},
    {"AZS_AVAR_LIGHT", 15},
    {"AZS_DISS_PIT", 15},
    {"AZS_DISS_SUSHA", 15},
    {"AZS_DISS_REZIM", 15},
    {"SVS_Control", 40},
    {"AZS_SVS_PIT", 15},
    {"AZS_SVS_Obogr", 15},
    {"USVP", 80},
    {"NVU_V57_Pult", 120},
    {"PNP_Left", 100},
    {"NVU_Sys", 15},
    {"NVU_V52_2_Pult", 150},
    {"PKP_Left", 100},
    {"RSBN_SYS", 15},
    {"RSBN_PPDA", 80},
    {"RSBN_Pult", 120},
    {"RSBN_Pult_2", 120},
    {"AZS_RSBN_VKL", 15},
    {"AZS_RSBN_Opozn", 15},
    {"AZS_RSBN_VKL_M", 15},
    {"AZS_RSBN_Opozn_M", 15},
    {"UgolKarty", 60},
    {"ABSU_Pult", 150},
    {"AZS_PKP_L", 15},
    {"AZS_PKP_P", 15},
    {"AZS_MGV_K", 15},
    {"AZS_SAU_STU", 15},
    {"AZS_BKK_Pit", 15},
    {"AZS_BKK_Test", 15},
    {"Key_PNP_ZK_Sel", 15},
    {"RV_5M_1", 80},
    {"AZS_RV_5M_1", 15},
    {"AZS_RV_5M_2", 15},
    {"ABSU_sys", 15},
    {"ABSU_analog_test", 100},
    {"TKS_sys", 15},
    {"IKU", 80},
    {"KM5_1", 80},
    {"KM5_2", 80},
    {"Tablo_1", 50},
    {"Tablo_3", 50},
    {"Tablo_2", 50},
    {"Tablo_71", 50},
    {"Tablo_72", 50},
    {"Tablo_73", 50},
    {"Tablo_74", 50},
    {"Tablo_75", 50},
    {"AZS_AUASP_KONTROL", 15},
    {"AZS_FARY_Kr", 15},
    {"AZS_LAND_TAXI_Kr", 15},
    {"AZS_FARY_F", 15},
    {"AZS_LAND_TAXI_F", 15},
    {"AZS_FARY_Pol", 15},
    {"AZS_DME1_DME2", 15},
    {"AZS_AUASP", 15},
    {"AZS_UVID", 15},
    {"AZS_EUP", 15},
    {"AZS_AGR", 15},
    {"AZS_KURS_MP_1", 15},
    {"AZS_KURS_MP_2", 15},
    {"AZS_Mikron_1", 15},
    {"AZS_Mikron_2", 15},
    {"AZS_ARK1_VOR1", 15},
    {"AZS_ARK1_VOR2", 15},
    {"AZS_UKV_1", 15},
    {"AZS_UKV_2", 15},
    {"AZS_KOLESO", 15},
    {"AZS_ANO", 15},
    {"AZS_Problesk", 15},
    {"AZS_PITO", 15},
    {"AZS_Vent_l", 15},
    {"AZS_spu", 15},
    {"AZS_sgs", 15},
    {"AZS_sd75_1", 15},
    {"AZS_sd75_2", 15},
    {"AZS_mars", 15},
    {"AZS_obogr_1", 15},
    {"AZS_obogr_2", 15},
    {"AZS_obogr_3", 15},
    {"AZS_vent_p", 15},
    {"AZS_PanelLight", 15},
    {"Kontrol_Lamp", 15},
    {"USH_DB", 80},
    {"ADF_SYS", 15},
    {"COM_1_fr", 100},
    {"COM_2_fr", 100},
    {"radio_sys", 15},
    {"PNP_right", 100},
    {"UVID_F", 80},
    {"UVO", 80},
    {"UM_1", 80},
    {"AUASP", 80},
    {"US_I", 80},
    {"EUP", 80},
    {"DME", 80},
    {"SPU_Pult", 100},
    {"US_I_2P", 80},
    {"DME_2P", 80},
    {"AZS_DME1_DME2_2P", 15},
    {"UVO_2P", 80},
    {"IKU_2P", 80},
    {"RV_5M_2", 80},
    {"ABSU_PanOtl", 150},
    {"AT_Pult", 150},
    {"RUD", 100},
    {"IN_3", 60},
    {"PKP_Right", 100},
    {"NVU_V52_Dop_Pult", 150},
    {"SOUND", 15},
    {"AZS_Sirena", 15},
    {"AZS_Dinamik", 15},
    {"AZS_Bustery", 15},
    {"AZS_Dek_1", 15},
    {"AZS_Dek_2", 15},
    {"AZS_Dek_3", 15},
    {"AZS_RazvKol", 15},
    {"GearKran", 40},
    {"Tablo_201", 50},
    {"Tablo_203", 50},
    {"Tablo_271", 50},
    {"Tablo_272", 50},
    {"Tablo_273", 50},
    {"Tablo_274", 50},
    {"Tablo_275", 50},
    {"GearKran_2P", 40},
    {"VirtNav", 150},
    {"z_stab", 40},
    {"z_stab_p", 40},
    {"z_stab_ruchn", 60},
    {"AZS_dempf_rysk", 15},
    {"AZS_I21_N1", 15},
    {"AZS_NAV_I21_GPS", 15},
    {"Tablo_Stab", 50},
    {"AP_Service", 150},
    {"AP_Service_Icon", 20},
    {"SaweFlight", 60},
    {"MSRP_64_SYS", 15},
    {"MSRP_64_Pult", 120},
    {"UPS", 60},
    {"ABSU_demo", 635},
    {"HydroInOut", 15},
    {"HydroTest", 150},
    {"AZS_ProdUpr", 15},
    {"Tablonn_71", 50},
    {"Tablonn_72", 50},
    {"tablonn_73", 50},
    {"tablonn_74", 50},
    {"tablonn_75", 50},
    {"tablonn_271", 50},
    {"tablonn_272", 50},
    {"tablonn_273", 50},
    {"tablonn_274", 50},
    {"tablonn_275", 50},
    {"JoySYS", 15},
    {"JoyService2", 150},
};

static_assert(std::size(kGaugeTable) == 201);

void define_all(Module& m) {
  // The electrical flags first: TKS_sys recomputes them before any other work
  // of its service 6.
  define_systems_state(m);
  define_positions(m);
  define_lamps(m);
  define_named_gauges(m);
  radio::define_rsbn(m);
  nav::define_nav_sensors(m);
  autopilot::define_radio_altimeters(m);
  nav::define_tks(m);
  nav::define_nvu(m);
  radio::define_receivers(m);
  nav::define_course_indicators(m);
}

}  // namespace

Module& navcomplex_module() {
  static Module m(Linkage, ImportTable, kGaugeTable, navcomplex_init, navcomplex_deinit);
  static const bool sealed = [] {
    define_all(m);
    m.seal();
    return true;
  }();
  (void)sealed;
  return m;
}

namespace {
// Builds the module when the library is loaded, before the host reads Linkage.
[[maybe_unused]] const bool g_module_built = (navcomplex_module(), true);
}  // namespace

}  // namespace frame
