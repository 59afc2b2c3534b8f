// The airliner's module-wide systems state: electrical flags, lamp test,
// circuit-breaker and switch positions, the power flags the breaker gauges
// copy them into, and the configuration file's options.
//
// Every value exists once, from module load to unload, and has one owner (the
// gauge that writes it at service 6 or in its mouse handlers). All members
// have constant initialisers, so the state is ready before any static
// initialiser of the module runs.
//
// Position fields are named after their gauge, lower case ('-' becomes '_'):
// `AZS_GA1_VKL` -> `azs_ga1_vkl`; a guard adds `_guard`. The same name is the
// label of the element and mouse area that show and change the position
// (guarded switches with one guard and one switch use `guard` and `switch`).
#pragma once

#include <cstdint>

#include "frame/gauge.h"

namespace frame {

class Module;
class Profile;

// Electrical flags (owner `TKS_sys`, recomputed at the start of its service 6
// from the host's main bus voltage).
struct Electrical {
  int main_bus = 1;             // 1 while the main bus voltage is above 20 V
  double main_bus_volts = 0.0;  // module variable 753
  int second_bus = 1;           // always 1
};

// Lamp test (owner `Kontrol_Lamp`): `flag` is 1 while the button's hold runs.
struct LampTest {
  int flag = 0;
  int counter = 0;  // frames left of the hold
};

// Circuit-breaker, switch and selector positions. Start 0 unless given;
// guards start open (1).
struct Positions {
  // Course system
  int azs_ga1_vkl = 0;      // channel 1 power
  int azs_ga2_vkl = 0;      // channel 2 power
  int azs_korr_bgmk_1 = 0;  // magnetic correction power, channel 1
  int azs_korr_bgmk_2 = 0;
  int azs_arret_ga_1 = 0;  // gyro bank stabilisation, unit 1
  int azs_arret_ga_2 = 0;
  int azs_obogrev_ga = 0;     // heating (saved only)
  int azs_pnp_left_gmk = 0;   // left course indicator source: 1 gyro, 0 magnetic
  int azs_pnp_right_gmk = 0;  // right course indicator source
  int azs_i21_n1 = 1;         // navigation sensor: 1 I-21 N1, 0 N2
  int azs_nav_i21_gps = 0;    // navigation source: 0 computer, 2 GPS

  // Doppler and air data
  int azs_diss_pit = 0;            // doppler power
  int azs_diss_susha = 0;          // land/sea
  std::int8_t azs_diss_rezim = 1;  // 0 test, 1 standby, 2 work
  int azs_svs_pit = 0;             // air-data computer power
  int azs_svs_obogr = 0;           // air-data heating

  // Short-range navigation; `AZS_RSBN_VKL_M` and `AZS_RSBN_Opozn_M` work the
  // same positions as their unsuffixed twins. RSBN_SYS reads both every frame
  // (radio::RsbnState master_on, ident_on).
  int azs_rsbn_vkl = 0;
  int azs_rsbn_opozn = 0;

  // Autopilot and attitude breakers (guarded)
  int azs_pkp_l = 0;
  int azs_pkp_l_guard = 1;
  int azs_pkp_p = 0;
  int azs_pkp_p_guard = 1;
  int azs_mgv_k = 0;
  int azs_mgv_k_guard = 1;
  int azs_sau_stu = 0;
  int azs_sau_stu_guard = 1;
  int azs_bkk_pit = 0;
  int azs_bkk_pit_guard = 1;
  int azs_bkk_test = 1;  // attitude monitor test: 0, 1 rest, 2
  int azs_bkk_test_guard = 1;
  int azs_produpr = 0;  // longitudinal control
  int azs_produpr_guard = 1;
  int azs_dempf_rysk = 1;  // yaw damper
  int key_pnp_zk_sel = 0;  // set heading followed: 0 left, 1 right indicator

  // Radio altimeters, receivers, radios
  int azs_rv_5m_1 = 0;
  int azs_rv_5m_2 = 0;
  int azs_kurs_mp_1 = 0;
  int azs_kurs_mp_2 = 0;
  int azs_dme1_dme2 = 0;     // 0 DME 1, 1 RSBN, 2 DME 2
  int azs_dme1_dme2_2p = 0;  // second pilot's
  int azs_mikron_1 = 0;
  int azs_mikron_2 = 0;
  int azs_ark1_vor1 = 0;  // pointer mode: 1 VOR, 0 ADF
  int azs_ark1_vor2 = 0;
  int azs_ukv_1 = 0;
  int azs_ukv_2 = 0;

  // Instruments
  int azs_vbe_1_m = 0;
  int azs_vbe_2_m = 0;
  int azs_auasp = 0;
  int azs_auasp_kontrol = 1;  // test switch: 0, 1 rest, 2
  int azs_uvid = 0;
  int azs_eup = 0;
  int azs_agr = 0;

  // Nosewheel and boosters (guarded)
  int azs_koleso = 0;  // nosewheel 10/63 degree selector
  int azs_koleso_guard = 1;
  int azs_razvkol = 0;  // nosewheel steering power
  int azs_razvkol_guard = 1;
  int azs_bustery_1 = 0;
  int azs_bustery_2 = 0;
  int azs_bustery_3 = 0;
  int azs_bustery_guard = 1;
  int azs_bustery_3_flag = 0;  // set by switching booster 3 on, cleared by off

  // Lights
  int azs_fary_kr = 0;
  int azs_fary_f = 0;
  int azs_fary_pol = 0;
  std::int8_t azs_land_taxi_kr = 1;  // 2 landing, 1 off, 0 taxi
  std::int8_t azs_land_taxi_f = 1;
  int azs_ano = 0;
  int azs_problesk = 0;
  int azs_pito = 0;
  int azs_panellight = 0;

  // Sound, cabin and the remaining breakers
  int azs_sirena = 1;   // sound 2
  int azs_dinamik = 1;  // sound 1
  int azs_dek_1 = 0;    // fasten seat belts
  int azs_dek_2 = 0;    // no smoking
  int azs_dek_3 = 0;    // exit
  int azs_vent_l = 0;
  int azs_vent_p = 0;
  int azs_spu = 0;
  int azs_sgs = 0;
  int azs_sd75_1 = 0;
  int azs_sd75_2 = 0;
  int azs_mars = 0;
  std::int8_t azs_obogr_1 = 1;  // window heat: 2, 1, 0
  std::int8_t azs_obogr_2 = 1;
  std::int8_t azs_obogr_3 = 1;
};

// Frame counters of the spring-loaded switches.
struct SwitchTimers {
  int azs_bkk_test = 0;
  int azs_auasp_kontrol = 0;
};

// Power flags: the breaker gauges copy their positions here at service 6;
// the owning systems multiply them with the bus flags. Systems that keep the
// flag in their own record are fed through it instead (frame/positions.cpp).
struct UnitPower {
  int pkp_left_power = 0;    // AZS_PKP_L
  int pkp_right_power = 0;   // AZS_PKP_P
  int mgv_power = 0;         // AZS_MGV_K
  int absu_power = 0;        // AZS_SAU_STU
  int bkk_power = 0;         // AZS_BKK_Pit
  int vbe1_power = 0;        // AZS_VBE_1_M
  int vbe2_power = 0;        // AZS_VBE_2_M
  int auasp_power = 0;       // AZS_AUASP
  int uvid_power = 0;        // AZS_UVID
  int eup_power = 0;         // AZS_EUP
  int mikron1_power = 0;     // AZS_Mikron_1
  int mikron2_power = 0;     // AZS_Mikron_2
  int ukv1_power = 0;        // AZS_UKV_1
  int ukv2_power = 0;        // AZS_UKV_2
  int steering_power = 0;    // AZS_RazvKol
};

// Options of `\gauges\Kr300v_cfg\kr300_gau.cfg`. They hold the file's
// defaults until the reading gauges' service 14 has run.
struct Config {
  // [system], read by NVU_Sys
  int nvu_v52_100 = 0;
  double nvu_scale = 0.1;  // metres to drum units: 1.0 when nvu_v52_100 is 1
  // [system], read by ABSU_sys
  int panel_auto = 1;
  double ups_percent = 67.0;
  int ap_hydro_on = 1;
  // [system], read by MSRP_64_SYS
  double msrp_speed_min = 100.0;
  int msrp_one_file = 1;
  // [sound], read by SOUND; levels in hundredths of a decibel, -2000..0
  int sound = 1;
  int sirena_lev = -600;
  int dinamik_lev = -600;
  int telefony_lev = -600;
  int zvonok_lev = -600;
  int key_lev = -600;
  int key_sound_on = 1;
};

struct SystemsState {
  Electrical electrical{};
  LampTest lamp_test{};
  Positions positions{};
  SwitchTimers timers{};
  UnitPower power{};
  Config config{};
};

// The one systems state of the module.
SystemsState& systems();
// The airliner's module, built when the library is loaded.
Module& navcomplex_module();

// Rules ---------------------------------------------------------------------

// Main bus flag of a voltage: 1 above 20.0 V (20.0 itself is unpowered); NaN 0.
int bus_powered(double volts);
// Sound level of a volume percentage: percent * 20 - 2000, within -2000..0.
int sound_level(double percent);
// Drum scale of the `nvu_v52_100` option: 1.0 for 1, else 0.1.
double counter_scale(int nvu_v52_100);

// A click on one of the three booster switches (index 0..2) under their
// common guard: left flips the switch while the guard is open; right opens a
// closed guard, and closes an open one only when all three are on.
struct BoosterGroup {
  int sw[3];
  int guard;
  int flag3;  // follows booster 3's clicks
};
BoosterGroup booster_click(BoosterGroup s, int index, u32 flags);

// Configuration readers, one per reading gauge; each takes the profile that
// gauge loaded, so one file read serves all its keys.
inline constexpr const char* kConfigPath = "\\gauges\\Kr300v_cfg\\kr300_gau.cfg";
void read_nvu_config(const Profile& p, Config& c);
void read_absu_config(const Profile& p, Config& c);
void read_msrp_config(const Profile& p, Config& c);
void read_sound_config(const Profile& p, Config& c);

// Gauge definitions ------------------------------------------------------------

// TKS_sys's electrical step (service 6) and the configuration reads of
// NVU_Sys, ABSU_sys, MSRP_64_SYS and SOUND (service 14). Declared before any
// other work of those gauges, so the bus flags are fresh when the course
// system runs.
void define_systems_state(Module& m);
// Every breaker, switch and selector of the position table.
void define_positions(Module& m);
// The annunciator lamp gauges.
void define_lamps(Module& m);

}  // namespace frame
