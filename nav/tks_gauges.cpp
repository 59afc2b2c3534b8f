// The course system's gauges: TKS_sys (the system itself, its registered and
// bound names), the control panel TKS_Pult and the correction mechanisms
// KM5_1 and KM5_2. The breakers copy their positions into TksPanel
// (frame/positions.cpp).
#include <cmath>
#include <memory>
#include <string>

#include "autopilot/radio_altimeter.h"
#include "frame/builder.h"
#include "frame/host.h"
#include "frame/names.h"
#include "frame/patterns.h"
#include "frame/state.h"
#include "nav/nvu.h"
#include "nav/tks.h"

namespace nav {

namespace {

using frame::BoundVar;
using frame::GaugeDef;
using frame::ModuleVar;
using frame::u32;

// Host value cache: the values TKS_sys took this frame (the previous ones
// where the host gave something that is not finite).
constinit TksHostValues g_host{};

// Module variables TKS_sys looks up.
struct HostRecords {
  ModuleVar latitude{71, nullptr, 0, 0.0, 0.0};
  ModuleVar longitude{72, nullptr, 0, 0.0, 0.0};
  ModuleVar bank{79, nullptr, 0, 0.0, 0.0};
  ModuleVar magnetic_heading{81, nullptr, 0, 0.0, 0.0};
  ModuleVar magnetic_variation{82, nullptr, 0, 0.0, 0.0};
  ModuleVar true_heading{86, nullptr, 0, 0.0, 0.0};
  ModuleVar sim_rate{336, nullptr, 0, 0.0, 0.0};
  ModuleVar clock_seconds{5, nullptr, 0, 0.0, 0.0};
  ModuleVar tick{1, nullptr, 0, 0.0, 0.0};
  ModuleVar ground_speed{551, nullptr, 0, 0.0, 0.0};
  ModuleVar sim_time{604, nullptr, 0, 0.0, 0.0};
};
constinit HostRecords g_vars{};

double look(ModuleVar& v) {
  frame::host().lookup_var(&v);
  return v.value;
}

TksRawHost read_host() {
  HostRecords& r = g_vars;
  TksRawHost raw;
  raw.latitude = look(r.latitude);
  raw.longitude = look(r.longitude);
  raw.bank = look(r.bank);
  raw.magnetic_heading = look(r.magnetic_heading);
  raw.magnetic_variation = look(r.magnetic_variation);
  raw.true_heading = look(r.true_heading);
  raw.sim_rate = look(r.sim_rate);
  raw.clock_seconds = look(r.clock_seconds);
  raw.tick = look(r.tick);
  raw.ground_speed = look(r.ground_speed);
  raw.sim_time = look(r.sim_time);
  return raw;
}

// Names other modules of the aircraft publish. Bound at service 4, bound
// again every frame while absent; the local values stand in meanwhile.
struct OutsideNames {
  BoundVar km5_1{"PP_TKS_KM5_1_SKLON"};
  BoundVar km5_2{"PP_TKS_KM5_2_SKLON"};
  BoundVar vk90{"PP_ABSU_VK_90"};
  BoundVar ak_kurs{"PP_AK_KURS"};
  BoundVar nk_schirota{"PP_NK_SCHIROTA"};
  BoundVar bus27{"PP_TKS_BUS27"};
  BoundVar bus36{"PP_TKS_BUS36"};
};
constinit OutsideNames g_outside{};

struct SensorNames {
  BoundVar got;
  BoundVar lbu;
  BoundVar lbu_dif;
  BoundVar pu_delta;
};
constinit SensorNames g_i21_n1{{"I21_N1_GOT"}, {"I21_N1_LBU"}, {"I21_N1_LBU_DIF"},
                               {"I21_N1_PU_DELTA"}};
constinit SensorNames g_i21_n2{{"I21_N2_GOT"}, {"I21_N2_LBU"}, {"I21_N2_LBU_DIF"},
                               {"I21_N2_PU_DELTA"}};
constinit SensorNames g_gps_n1{{"GPS_N1_GOT"}, {"GPS_N1_LBU"}, {"GPS_N1_LBU_DIF"},
                               {"GPS_N1_PU_DELTA"}};

void copy_sensor(NavSensor& local, const SensorNames& n) {
  local.ready = frame::read_int(n.got, local.ready);
  local.lateral_deviation = frame::read_double(n.lbu, local.lateral_deviation);
  local.deviation_difference = frame::read_double(n.lbu_dif, local.deviation_difference);
  local.track_difference = frame::read_double(n.pu_delta, local.track_difference);
}

// Decision height of radio altimeter 1 (RV_5M_1), metres; its record starts
// at 200.
double rv1_decision_height() {
  const double dh = autopilot::radio_altimeters().rv1.decision_height;
  return std::isfinite(dh) ? dh : 200.0;
}

// Values of systems that are not built yet. Each reads its owner's start
// value until the owner exists; the line is then replaced by a read of the
// owner's record.
TksForeign foreign_values() {
  TksForeign f;
  const NvuState& nvu_state = nvu();
  f.nvu_zpu = nvu_state.active_zpu;  // navigation computer: active leg's desired track
  f.nvu_z = nvu_state.active_z;      // navigation computer: active leg's Z
  f.gear_lever = 1;         // gear lever GearKran, not built
  f.ap_not_ready = 0;       // autopilot's not-ready flag, not built
  f.nvu_leg_warning = nvu_leg_warning(nvu_state);  // navigation computer: counting x warn_on
  f.rv1_decision_height = rv1_decision_height();
  return f;
}

// The banks of the gimbal error, until the autopilot system (its attitude
// directors and vertical gyro) exists: level.
GimbalBanks gimbal_banks_not_built() { return GimbalBanks{}; }

// Service 4: bind the outside names and clear the local sensor copies.
void bind_outside(frame::BoundNames& bound) {
  bound.bind_all();
  NavSensorValues& v = nav_sensor();
  v.i21_n1 = v.i21_n2 = v.gps_n1 = v.selected = NavSensor{};
}

// Service 14: the initial errors, from the tick count and longitude now.
void seed_errors() {
  const double tick = look(g_vars.tick);
  const double lon = look(g_vars.longitude) * kLongitudeUnit;
  tks_seed(tks(), tick, std::isfinite(lon) ? lon : g_host.longitude);
}

// Service 6, after the bus flags (frame/systems_state.cpp).
void tks_frame(frame::BoundNames& bound) {
  TksState& s = tks();
  TksPanel& p = tks_panel();
  const frame::SystemsState& sys = frame::systems();
  const frame::Electrical& e = sys.electrical;
  take_host_values(g_host, read_host());

  // 1. The course system's bus flags, declinations, correction enable, astro
  // heading and auto latitude: the outside names while bound, else local.
  const OutsideNames& o = g_outside;
  s.bus27 = frame::read_int(o.bus27, e.main_bus);
  s.bus36 = frame::read_int(o.bus36, e.second_bus);
  s.declination_1 = frame::read_double(o.km5_1, s.km5_input_1);
  s.declination_2 = frame::read_double(o.km5_2, s.km5_input_2);
  s.vk90 = frame::read_double(o.vk90, s.vk90);
  s.astro_heading = frame::read_double(o.ak_kurs, g_host.true_heading);
  s.auto_latitude = frame::read_double(o.nk_schirota, p.lat_knob);

  // 2. Sensor copies, binding again what is still absent, and the selection.
  NavSensorValues& v = nav_sensor();
  copy_sensor(v.i21_n1, g_i21_n1);
  copy_sensor(v.i21_n2, g_i21_n2);
  copy_sensor(v.gps_n1, g_gps_n1);
  bound.retry_unbound();
  select_sensor(v, sys.positions.azs_nav_i21_gps, sys.positions.azs_i21_n1);

  // 3. Copies of the previous frame's headings.
  tks_publish(tks_published(), s, p, foreign_values());

  // 4 to 19.
  TksInputs in;
  in.host = g_host;
  in.main_bus = e.main_bus;
  in.second_bus = e.second_bus;
  in.banks = gimbal_banks_not_built();
  tks_step(s, p, in);
}

void define_tks_sys(frame::Module& m) {
  GaugeDef& g = m.gauge("TKS_sys");
  TksPublished& pub = tks_published();
  auto names = std::make_shared<frame::NameOwner>(frame::NameOwner{
      frame::owned_double("PP_TKS_GA_1_KURS", pub.ga1_heading),
      frame::owned_double("PP_TKS_GA_2_KURS", pub.ga2_heading),
      frame::owned_double("PP_TKS_GPK_KURS", pub.main_heading),
      frame::owned_double("PP_TKS_MK_1_KURS", pub.mk1_heading),
      frame::owned_double("PP_TKS_MK_2_KURS", pub.mk2_heading),
      frame::owned_flag("PP_TKS_GA_1_OTKAZ", pub.ga1_failed),
      frame::owned_flag("PP_TKS_GA_2_OTKAZ", pub.ga2_failed),
      frame::owned_int("PP_TKS_REZIM", pub.tks_mode),
      frame::owned_double("PP_NVU_ZPU", pub.nvu_zpu),
      frame::owned_double("PP_NVU_SNOS", pub.nvu_snos),
      frame::owned_int("PP_SOUND_GEAR", pub.sound_gear),
      frame::owned_flag("PP_SOUND_NE_GOTOV", pub.sound_ne_gotov),
      frame::owned_flag("PP_SOUND_SM_ORT", pub.sound_sm_ort),
      frame::owned_double("PP_VPR_OUT", pub.vpr_out),
  });
  OutsideNames& o = g_outside;
  auto bound = std::make_shared<frame::BoundNames>(frame::BoundNames{
      &o.km5_1,           &o.km5_2,           &o.vk90,           &o.ak_kurs,
      &o.nk_schirota,     &o.bus27,           &o.bus36,          &g_i21_n1.got,
      &g_i21_n1.lbu,      &g_i21_n1.lbu_dif,  &g_i21_n1.pu_delta, &g_i21_n2.got,
      &g_i21_n2.lbu,      &g_i21_n2.lbu_dif,  &g_i21_n2.pu_delta, &g_gps_n1.got,
      &g_gps_n1.lbu,      &g_gps_n1.lbu_dif,  &g_gps_n1.pu_delta,
  });
  g.on(frame::kPreInstall, [names] { names->register_all(); });
  g.on(frame::kPreInitialize, [bound] { bind_outside(*bound); });
  g.on(frame::kConnectWindow, seed_errors);
  g.every_frame([bound] { tks_frame(*bound); });
  // Names other modules published are theirs to withdraw: forget the bindings.
  g.on(frame::kPreKill, [names, bound] {
    names->unregister_all();
    bound->unbind_all();
  });
}

// A toggle whose art has three pictures: 2 when on, else 0.
void three_picture_toggle(GaugeDef& g, const std::string& label, int& pos) {
  g.icon(label, 3, [&pos] { return pos != 0 ? 2.0 : 0.0; });
  g.area(label, frame::AreaOptions{}, [&pos](u32) { pos = pos != 0 ? 0 : 1; });
}

void define_tks_pult(frame::Module& m) {
  GaugeDef& g = m.gauge("TKS_Pult");
  TksPanel& p = tks_panel();
  frame::SystemsState& sys = frame::systems();

  // Latitude knob: a needle and a rotating scale, and the "%3d" readout that
  // shows for 90 frames after each touch.
  g.needle("lat_knob", "latitude knob x 5", [&p] { return 5.0 * p.lat_knob; });
  g.needle("lat_knob_scale", "latitude scale, latitude knob x 1.5",
           [&p] { return 1.5 * p.lat_knob; });
  const frame::Elem readout =
      frame::text_display(g, "lat_knob_text", 3, "%3d", [&p] { return p.lat_knob; });
  frame::popup(g, readout, p.lat_readout_frames);
  g.begin_parent(g.whole());
  g.tooltip("TKS Latitude Knob");
  frame::KnobOptions lat;
  lat.range = frame::KnobRange{1.0, 1.0, -90.0, 90.0, false};
  lat.flags = frame::kMouseLeft;
  lat.on_change = [&p] { p.lat_readout_frames = kLatReadoutFrames; };
  frame::knob(g, "lat_knob", p.lat_knob, std::move(lat));
  g.area("lat_knob_text", frame::AreaOptions{},
         [&p](u32) { p.lat_readout_frames = kLatReadoutFrames; });
  g.end_parent();

  // Course-setting knob: moves the selected gyro's offset in mode 0; its
  // picture turns on every click.
  g.icon("course_knob_dir", 3, [&p] { return p.course_knob_dir + 1.0; });
  for (int dir : {-1, +1}) {
    frame::AreaOptions a;
    a.box = g.half(dir > 0);
    a.cursor = dir > 0 ? frame::kCursorUp : frame::kCursorDown;
    a.flags = frame::kMouseLeft | frame::kMouseRight | frame::kMouseRepeat;
    g.area(dir > 0 ? "course_knob_dir_inc" : "course_knob_dir_dec", a,
           [dir](u32 flags) { course_knob_click(tks_panel(), tks(), dir, flags); });
  }

  g.begin_parent(g.whole());
  g.tooltip("TKS Mode Selector");
  frame::selector(g, "tks_mode", p.tks_mode, {-1, 0, 1}, 1);
  g.end_parent();

  three_picture_toggle(g, "lat_manual", p.lat_manual);

  g.begin_parent(g.whole());
  g.tooltip("TKS User Switch");
  frame::toggle(g, "consumers_main", p.consumers_main);
  g.end_parent();

  g.begin_parent(g.whole());
  g.tooltip("TKS Main/Control selector");
  frame::toggle(g, "correction_main", p.correction_main);
  g.end_parent();

  // Alignment button: held, it keeps the rate at 120.
  g.begin_parent(g.whole());
  g.tooltip("TKS Alignment Button");
  g.icon("align_rate", 2, [&p] { return p.align_rate > 1 ? 1.0 : 0.0; });
  g.area("align_rate", frame::AreaOptions{.flags = frame::kMouseLeft | frame::kMouseRepeat},
         [&p](u32) { align_press(p); });
  g.end_parent();

  // Lamps O (GA 1) and K (GA 2): unit failed or its stabilised bank clipped.
  frame::lamp(g, "o", sys.electrical.main_bus, sys.lamp_test.flag,
              [] { return tks().ga1_failed != 0 || tks().ga1_bank_limit != 0; });
  frame::lamp(g, "k", sys.electrical.main_bus, sys.lamp_test.flag,
              [] { return tks().ga2_failed != 0 || tks().ga2_bank_limit != 0; });

  g.every_frame([&p] { tks_pult_frame(p); });
}

// The correction mechanism of channel `unit` (1 or 2).
struct Km5Fields {
  const char* gauge;
  const char* suffix;
  int TksPanel::*power;
  int TksPanel::*display;
  double TksPanel::*declination;
  double TksPanel::*needle;
  int TksPanel::*gyro_switch;
  double TksState::*input;
};

constexpr Km5Fields kKm5[] = {
    {"KM5_1", "1", &TksPanel::km5_power_1, &TksPanel::km5_display_1,
     &TksPanel::km5_declination_1, &TksPanel::km5_needle_1, &TksPanel::ga1_switch,
     &TksState::km5_input_1},
    {"KM5_2", "2", &TksPanel::km5_power_2, &TksPanel::km5_display_2,
     &TksPanel::km5_declination_2, &TksPanel::km5_needle_2, &TksPanel::ga2_switch,
     &TksState::km5_input_2},
};

int unit_powered(int position) {
  const frame::Electrical& e = frame::systems().electrical;
  return (position != 0 ? 1 : 0) * e.main_bus * e.second_bus == 1 ? 1 : 0;
}

void define_km5(frame::Module& m, const Km5Fields& f) {
  GaugeDef& g = m.gauge(f.gauge);
  TksPanel& p = tks_panel();
  int& power = p.*f.power;
  int& display = p.*f.display;
  double& declination = p.*f.declination;
  double& needle = p.*f.needle;
  const int& gyro_switch = p.*f.gyro_switch;
  double& input = tks().*f.input;
  const std::string n = f.suffix;

  const std::string power_label = "km5_power_" + n;
  g.icon(power_label, 2, [&power] { return power != 0 ? 1.0 : 0.0; });
  g.area(power_label, frame::AreaOptions{}, [&power, &display](u32) {
    km5_power_click(power, display);
  });
  const std::string display_label = "km5_display_" + n;
  g.icon(display_label, 2, [&display] { return display != 0 ? 1.0 : 0.0; });
  g.area(display_label, frame::AreaOptions{}, [&display, &power](u32) {
    km5_display_click(display, unit_powered(power));
  });

  frame::KnobOptions knob;
  knob.range = frame::KnobRange{0.1, 2.0, -175.0, 175.0, false};
  frame::knob(g, "km5_declination_" + n, declination, std::move(knob));

  g.needle("km5_needle_" + n, "filtered compass - 90, held while the channel is unpowered",
           [&needle] { return needle; });
  g.needle("km5_declination_" + n, "declination - 90",
           [&declination] { return declination - 90.0; });
  const frame::Elem declination_text = frame::text_display(
      g, "km5_declination_" + n + "_text", 6, "%4.1f", [&declination] { return declination; });
  const frame::Elem variation_text = frame::text_display(
      g, "magnetic_variation", 6, "%4.1f", [] { return tks().magnetic_variation; });

  g.every_frame([&, declination_text, variation_text] {
    input = declination;
    if (unit_powered(gyro_switch)) needle = tks().compass_filtered - 90.0;
    const bool on = unit_powered(power) == 1;
    declination_text.hide(!on);
    variation_text.hide(!(on && display != 0));
  });
}

}  // namespace

void define_tks(frame::Module& m) {
  define_tks_sys(m);
  define_tks_pult(m);
  for (const Km5Fields& f : kKm5) define_km5(m, f);
}

}  // namespace nav
