// The circuit breakers, switches and selectors of the systems state, each a
// small gauge built from the frame's patterns. A click changes a position;
// where the position powers a unit, the gauge copies it into the unit's power
// flag at every service 6, and the owning system reads the flag from there.
#include <string>
#include <tuple>

#include "autopilot/radio_altimeter.h"
#include "frame/builder.h"
#include "frame/patterns.h"
#include "frame/state.h"
#include "nav/diss.h"
#include "nav/svs.h"
#include "nav/tks.h"
#include "radio/radio_sys.h"

namespace frame {

namespace {

// A two-picture toggle. `power` names the unit flag it feeds, or is null;
// `unit_power`, where the flag lives in its system's own record instead.
struct ToggleRow {
  const char* gauge;
  const char* label;  // the position's field name
  int Positions::*position;
  int UnitPower::*power;
  const char* tooltip;
  int& (*unit_power)() = nullptr;
};

// Power flags kept in their systems' records.
int& diss_power() { return nav::diss().diss_power; }
int& svs_power() { return nav::svs().svs_power; }
int& rv1_power() { return autopilot::radio_altimeters().rv1.power; }
int& rv2_power() { return autopilot::radio_altimeters().rv2.power; }
// The receivers' breakers feed NavReceiver::breaker_on.
int& kurs_mp1_breaker() { return radio::radio().rx[0].breaker_on; }
int& kurs_mp2_breaker() { return radio::radio().rx[1].breaker_on; }
// The course system's breakers feed the flags TKS_sys reads.
int& tks_ga1_switch() { return nav::tks_panel().ga1_switch; }
int& tks_ga2_switch() { return nav::tks_panel().ga2_switch; }
int& tks_bgmk1_switch() { return nav::tks_panel().bgmk1_switch; }
int& tks_bgmk2_switch() { return nav::tks_panel().bgmk2_switch; }
int& tks_stab1_switch() { return nav::tks_panel().stab1_switch; }
int& tks_stab2_switch() { return nav::tks_panel().stab2_switch; }

constexpr ToggleRow kToggles[] = {
    // Course system
    {"AZS_GA1_VKL", "azs_ga1_vkl", &Positions::azs_ga1_vkl, nullptr, nullptr, &tks_ga1_switch},
    {"AZS_GA2_VKL", "azs_ga2_vkl", &Positions::azs_ga2_vkl, nullptr, nullptr, &tks_ga2_switch},
    {"AZS_Korr_BGMK_1", "azs_korr_bgmk_1", &Positions::azs_korr_bgmk_1, nullptr, nullptr,
     &tks_bgmk1_switch},
    {"AZS_Korr_BGMK_2", "azs_korr_bgmk_2", &Positions::azs_korr_bgmk_2, nullptr, nullptr,
     &tks_bgmk2_switch},
    {"AZS_Arret_GA_1", "azs_arret_ga_1", &Positions::azs_arret_ga_1, nullptr,
     "Main Gyro Bank Stab", &tks_stab1_switch},
    {"AZS_Arret_GA_2", "azs_arret_ga_2", &Positions::azs_arret_ga_2, nullptr,
     "Standby Gyro Bank Stab", &tks_stab2_switch},
    {"AZS_Obogrev_GA", "azs_obogrev_ga", &Positions::azs_obogrev_ga, nullptr, nullptr},
    {"AZS_PNP_Left_GMK", "azs_pnp_left_gmk", &Positions::azs_pnp_left_gmk, nullptr, nullptr},
    {"AZS_PNP_Right_GMK", "azs_pnp_right_gmk", &Positions::azs_pnp_right_gmk, nullptr, nullptr},
    {"AZS_I21_N1", "azs_i21_n1", &Positions::azs_i21_n1, nullptr, nullptr},
    // Doppler and air data
    {"AZS_DISS_PIT", "azs_diss_pit", &Positions::azs_diss_pit, nullptr, nullptr, &diss_power},
    {"AZS_DISS_SUSHA", "azs_diss_susha", &Positions::azs_diss_susha, nullptr, nullptr},
    {"AZS_SVS_PIT", "azs_svs_pit", &Positions::azs_svs_pit, nullptr, nullptr, &svs_power},
    {"AZS_SVS_Obogr", "azs_svs_obogr", &Positions::azs_svs_obogr, nullptr, nullptr},
    // Short-range navigation: the _M gauges work the same positions as their
    // three-picture twins below; RSBN_SYS reads the positions every frame.
    {"AZS_RSBN_VKL_M", "azs_rsbn_vkl", &Positions::azs_rsbn_vkl, nullptr, "RSBN Master Power"},
    {"AZS_RSBN_Opozn_M", "azs_rsbn_opozn", &Positions::azs_rsbn_opozn, nullptr,
     "RSBN ID System Power"},
    // Autopilot
    {"Key_PNP_ZK_Sel", "key_pnp_zk_sel", &Positions::key_pnp_zk_sel, nullptr, nullptr},
    {"AZS_dempf_rysk", "azs_dempf_rysk", &Positions::azs_dempf_rysk, nullptr, nullptr},
    // Radio altimeters, receivers, radios
    {"AZS_RV_5M_1", "azs_rv_5m_1", &Positions::azs_rv_5m_1, nullptr, nullptr, &rv1_power},
    {"AZS_RV_5M_2", "azs_rv_5m_2", &Positions::azs_rv_5m_2, nullptr, nullptr, &rv2_power},
    {"AZS_KURS_MP_1", "azs_kurs_mp_1", &Positions::azs_kurs_mp_1, nullptr,
     "Course-MP N1 (NAV1) Power", &kurs_mp1_breaker},
    {"AZS_KURS_MP_2", "azs_kurs_mp_2", &Positions::azs_kurs_mp_2, nullptr,
     "Course-MP N2 (NAV2) Power", &kurs_mp2_breaker},
    {"AZS_Mikron_1", "azs_mikron_1", &Positions::azs_mikron_1, &UnitPower::mikron1_power,
     "Micron 1 power"},
    {"AZS_Mikron_2", "azs_mikron_2", &Positions::azs_mikron_2, &UnitPower::mikron2_power,
     "Micron 2 power"},
    {"AZS_ARK1_VOR1", "azs_ark1_vor1", &Positions::azs_ark1_vor1, nullptr,
     "VOR/ADF 1 Pointer Mode"},
    {"AZS_ARK1_VOR2", "azs_ark1_vor2", &Positions::azs_ark1_vor2, nullptr,
     "VOR/ADF 2 Pointer Mode"},
    {"AZS_UKV_1", "azs_ukv_1", &Positions::azs_ukv_1, &UnitPower::ukv1_power, "COMM 1 Power"},
    {"AZS_UKV_2", "azs_ukv_2", &Positions::azs_ukv_2, &UnitPower::ukv2_power, "COMM 2 Power"},
    // Instruments
    {"AZS_VBE_1_M", "azs_vbe_1_m", &Positions::azs_vbe_1_m, &UnitPower::vbe1_power, nullptr},
    {"AZS_VBE_2_M", "azs_vbe_2_m", &Positions::azs_vbe_2_m, &UnitPower::vbe2_power, nullptr},
    {"AZS_AUASP", "azs_auasp", &Positions::azs_auasp, &UnitPower::auasp_power, "AoA/G-Meter Power"},
    {"AZS_UVID", "azs_uvid", &Positions::azs_uvid, &UnitPower::uvid_power,
     "Electrical Altimeter Power"},
    {"AZS_EUP", "azs_eup", &Positions::azs_eup, &UnitPower::eup_power, "Turn Coordinator Power"},
    {"AZS_AGR", "azs_agr", &Positions::azs_agr, nullptr, nullptr},
    // Lights acting on the simulator
    {"AZS_ANO", "azs_ano", &Positions::azs_ano, nullptr, "NAV Lights"},
    {"AZS_Problesk", "azs_problesk", &Positions::azs_problesk, nullptr, "Beacon Lights"},
    {"AZS_PITO", "azs_pito", &Positions::azs_pito, nullptr, "Pitot Heat Switch"},
    {"AZS_PanelLight", "azs_panellight", &Positions::azs_panellight, nullptr, "Panel Lights"},
    // Sound, cabin signs, fans, intercom and recorder breakers
    {"AZS_Sirena", "azs_sirena", &Positions::azs_sirena, nullptr, "Sound 2"},
    {"AZS_Dinamik", "azs_dinamik", &Positions::azs_dinamik, nullptr, "Sound 1"},
    {"AZS_Dek_1", "azs_dek_1", &Positions::azs_dek_1, nullptr, "Fasten Seat Belts Switch"},
    {"AZS_Dek_2", "azs_dek_2", &Positions::azs_dek_2, nullptr, "No smoking Switch"},
    {"AZS_Dek_3", "azs_dek_3", &Positions::azs_dek_3, nullptr, "Exit sign Switch"},
    {"AZS_Vent_l", "azs_vent_l", &Positions::azs_vent_l, nullptr, nullptr},
    {"AZS_vent_p", "azs_vent_p", &Positions::azs_vent_p, nullptr, nullptr},
    {"AZS_spu", "azs_spu", &Positions::azs_spu, nullptr, nullptr},
    {"AZS_sgs", "azs_sgs", &Positions::azs_sgs, nullptr, nullptr},
    {"AZS_sd75_1", "azs_sd75_1", &Positions::azs_sd75_1, nullptr, nullptr},
    {"AZS_sd75_2", "azs_sd75_2", &Positions::azs_sd75_2, nullptr, nullptr},
    {"AZS_mars", "azs_mars", &Positions::azs_mars, nullptr, nullptr},
};

// Toggles whose art has three pictures: the icon shows 2 x position.
constexpr ToggleRow kThreePictureToggles[] = {
    {"AZS_FARY_Kr", "azs_fary_kr", &Positions::azs_fary_kr, nullptr,
     "Landing Lights Position Switch"},
    {"AZS_FARY_F", "azs_fary_f", &Positions::azs_fary_f, nullptr, "Landing Lights Position Switch"},
    {"AZS_FARY_Pol", "azs_fary_pol", &Positions::azs_fary_pol, nullptr, nullptr},
    {"AZS_RSBN_VKL", "azs_rsbn_vkl", &Positions::azs_rsbn_vkl, nullptr, "RSBN Master Power"},
    {"AZS_RSBN_Opozn", "azs_rsbn_opozn", &Positions::azs_rsbn_opozn, nullptr,
     "RSBN ID System Power"},
};

struct GuardedRow {
  const char* gauge;
  int Positions::*sw;
  int Positions::*guard;
  int UnitPower::*power;
  bool close_sets_on;
  const char* tooltip;
  bool repeat = false;  // the area repeats while held
};

constexpr GuardedRow kGuarded[] = {
    {"AZS_PKP_L", &Positions::azs_pkp_l, &Positions::azs_pkp_l_guard, &UnitPower::pkp_left_power,
     true, nullptr},
    {"AZS_PKP_P", &Positions::azs_pkp_p, &Positions::azs_pkp_p_guard, &UnitPower::pkp_right_power,
     true, nullptr},
    {"AZS_MGV_K", &Positions::azs_mgv_k, &Positions::azs_mgv_k_guard, &UnitPower::mgv_power, true,
     nullptr},
    {"AZS_SAU_STU", &Positions::azs_sau_stu, &Positions::azs_sau_stu_guard, &UnitPower::absu_power,
     true, nullptr},
    {"AZS_BKK_Pit", &Positions::azs_bkk_pit, &Positions::azs_bkk_pit_guard, &UnitPower::bkk_power,
     true, nullptr},
    {"AZS_ProdUpr", &Positions::azs_produpr, &Positions::azs_produpr_guard, nullptr, true, nullptr,
     true},
    {"AZS_KOLESO", &Positions::azs_koleso, &Positions::azs_koleso_guard, nullptr, true,
     "Nosewheel 10/63 Deg. Selector", true},
    // Closing this guard leaves the switch as it is.
    {"AZS_RazvKol", &Positions::azs_razvkol, &Positions::azs_razvkol_guard,
     &UnitPower::steering_power, false, "Nosewheel Steering Mode Power", true},
};

void copy_to_power(GaugeDef& g, const int& position, int UnitPower::*power) {
  if (!power) return;
  int& flag = systems().power.*power;
  g.every_frame([&position, &flag] { flag = position; });
}

void copy_to_power(GaugeDef& g, const int& position, int& (*unit_power)()) {
  if (!unit_power) return;
  int& flag = unit_power();
  g.every_frame([&position, &flag] { flag = position; });
}

void tip(GaugeDef& g, const char* text) {
  if (text) g.tooltip(text);
}

void define_toggles(Module& m) {
  Positions& p = systems().positions;
  for (const ToggleRow& r : kToggles) {
    GaugeDef& g = m.gauge(r.gauge);
    tip(g, r.tooltip);
    toggle(g, r.label, p.*r.position);
    copy_to_power(g, p.*r.position, r.power);
    copy_to_power(g, p.*r.position, r.unit_power);
  }
  for (const ToggleRow& r : kThreePictureToggles) {
    GaugeDef& g = m.gauge(r.gauge);
    tip(g, r.tooltip);
    int& pos = p.*r.position;
    g.icon(r.label, 3, [&pos] { return pos != 0 ? 2.0 : 0.0; });
    g.area(r.label, AreaOptions{}, [&pos](u32) { pos = pos != 0 ? 0 : 1; });
  }
}

void define_guarded(Module& m) {
  Positions& p = systems().positions;
  for (const GuardedRow& r : kGuarded) {
    GaugeDef& g = m.gauge(r.gauge);
    GuardedOptions opt;
    opt.close_sets_on = r.close_sets_on;
    opt.repeat = r.repeat;
    tip(g, r.tooltip);
    guarded(g, p.*r.guard, p.*r.sw, opt);
    copy_to_power(g, p.*r.sw, r.power);
  }
}

// The attitude monitor's test switch: a spring-loaded switch (0, 1 rest, 2)
// under a guard. Left clicks move it only while the guard is open; a right
// click flips the guard, and closing it returns the switch to rest.
void define_bkk_test(Module& m) {
  constexpr int kRest = 1;
  constexpr int kHoldFrames = 14;
  GaugeDef& g = m.gauge("AZS_BKK_Test");
  int& guard = systems().positions.azs_bkk_test_guard;
  int& sw = systems().positions.azs_bkk_test;
  int& counter = systems().timers.azs_bkk_test;
  g.icon("guard", 2, [&guard] { return guard != 0 ? 1.0 : 0.0; });
  g.icon("switch", 3, [&sw] { return static_cast<double>(sw); });
  int i = 0;
  for (int v : {2, 0}) {
    AreaOptions opt;
    opt.flags = kMouseLeft | kMouseRight;
    opt.box = g.strip(i++, 2);
    g.area("switch=" + std::to_string(v), opt, [&guard, &sw, &counter, v](u32 flags) {
      if (flags & kMouseRight) {
        guard = guard != 0 ? 0 : 1;
        if (guard == 0) {
          sw = kRest;
          counter = 0;
        }
      } else if ((flags & kMouseLeft) && guard != 0) {
        sw = v;
        counter = kHoldFrames;
      }
    });
  }
  g.every_frame([&sw, &counter] {
    if (counter > 0 && --counter == 0) sw = kRest;
  });
}

// Three booster switches under one guard.
void define_boosters(Module& m) {
  GaugeDef& g = m.gauge("AZS_Bustery");
  Positions& p = systems().positions;
  int* const sw[3] = {&p.azs_bustery_1, &p.azs_bustery_2, &p.azs_bustery_3};
  static const char* const kLabels[3] = {"azs_bustery_1", "azs_bustery_2", "azs_bustery_3"};
  g.tooltip("Booster Switches");
  g.icon("guard", 2, [&p] { return p.azs_bustery_guard != 0 ? 1.0 : 0.0; });
  for (int i = 0; i < 3; ++i) {
    int& s = *sw[i];
    g.icon(kLabels[i], 2, [&s] { return s != 0 ? 1.0 : 0.0; });
  }
  for (int i = 0; i < 3; ++i) {
    AreaOptions opt;
    opt.flags = kMouseLeft | kMouseRight;
    opt.box = g.strip(i, 3);
    g.area(kLabels[i], opt, [&p, i](u32 flags) {
      BoosterGroup b{{p.azs_bustery_1, p.azs_bustery_2, p.azs_bustery_3},
                     p.azs_bustery_guard,
                     p.azs_bustery_3_flag};
      b = booster_click(b, i, flags);
      p.azs_bustery_1 = b.sw[0];
      p.azs_bustery_2 = b.sw[1];
      p.azs_bustery_3 = b.sw[2];
      p.azs_bustery_guard = b.guard;
      p.azs_bustery_3_flag = b.flag3;
    });
  }
}

void define_selectors(Module& m) {
  Positions& p = systems().positions;
  // Three-position levers: the areas set 2, 1 and 0 in turn.
  selector(m.gauge("AZS_DISS_REZIM"), "azs_diss_rezim", p.azs_diss_rezim, {2, 1, 0}, 0, Layout::kRows);
  selector(m.gauge("AZS_obogr_1"), "azs_obogr_1", p.azs_obogr_1, {2, 1, 0}, 0, Layout::kRows);
  selector(m.gauge("AZS_obogr_2"), "azs_obogr_2", p.azs_obogr_2, {2, 1, 0}, 0, Layout::kRows);
  selector(m.gauge("AZS_obogr_3"), "azs_obogr_3", p.azs_obogr_3, {2, 1, 0}, 0, Layout::kRows);
  selector(m.gauge("AZS_NAV_I21_GPS"), "azs_nav_i21_gps", p.azs_nav_i21_gps, {2, 1, 0}, 0, Layout::kRows);
  for (auto [name, label, pos] :
       {std::tuple{"AZS_LAND_TAXI_Kr", "azs_land_taxi_kr", &p.azs_land_taxi_kr},
        std::tuple{"AZS_LAND_TAXI_F", "azs_land_taxi_f", &p.azs_land_taxi_f}}) {
    GaugeDef& g = m.gauge(name);
    g.tooltip("Landing Lights Switch");
    selector(g, label, *pos, {2, 1, 0}, 0, Layout::kRows);
  }
  // Distance source: left, middle and right zones; copied every frame into
  // the selector of the captain's and the second pilot's distance channel.
  radio::RadioState& receivers = radio::radio();
  for (auto [name, label, pos, channel] :
       {std::tuple{"AZS_DME1_DME2", "azs_dme1_dme2", &p.azs_dme1_dme2, &receivers.dme[0]},
        std::tuple{"AZS_DME1_DME2_2P", "azs_dme1_dme2_2p", &p.azs_dme1_dme2_2p,
                   &receivers.dme[1]}}) {
    GaugeDef& g = m.gauge(name);
    g.tooltip("DME1-RSBN-DME2 Switch");
    selector(g, label, *pos, {0, 1, 2});
    g.every_frame([pos, channel] { channel->selector = *pos; });
  }
}

void define_momentary(Module& m) {
  SystemsState& s = systems();
  // Angle-of-attack indicator test: upper 2, lower 0, back to 1 after 16
  // frames; held clicks repeat.
  GaugeDef& auasp = m.gauge("AZS_AUASP_KONTROL");
  auasp.tooltip("AUASP Test Switch");
  spring(auasp, "azs_auasp_kontrol", s.positions.azs_auasp_kontrol, s.timers.azs_auasp_kontrol, 1,
         16, {{2}, {0}}, kMouseLeft | kMouseRepeat);
  // Lamp test: every powered lamp lights while the 20-frame hold runs.
  spring(m.gauge("Kontrol_Lamp"), "lamp_test", s.lamp_test.flag, s.lamp_test.counter, 0, 20, {{1}});
}

}  // namespace

void define_positions(Module& m) {
  define_toggles(m);
  define_guarded(m);
  define_bkk_test(m);
  define_boosters(m);
  define_selectors(m);
  define_momentary(m);
  // The closed guard of the emergency-lighting switch: a picture only.
  m.gauge("AZS_AVAR_LIGHT").lettering();
}

}  // namespace frame
