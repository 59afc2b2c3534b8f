// The systems state, its rules, the configuration readers and the gauges
// that keep the electrical flags and read the configuration file.
#include <cmath>

#include "frame/builder.h"
#include "frame/numeric.h"
#include "frame/profile.h"
#include "frame/state.h"
#include "platform/platform.h"

namespace frame {

namespace {

constinit SystemsState g_systems{};

// Main bus voltage. Looked up by TKS_sys at service 6; the flags it leaves
// are what every other gauge reads.
constexpr u32 kMainBusVolts = 753;  // 0x2F1
constinit ModuleVar g_bus_volts{kMainBusVolts, nullptr, 0, 0.0, 0.0};

void update_electrical() {
  g_bus_volts.id = kMainBusVolts;
  host().lookup_var(&g_bus_volts);
  const double v = g_bus_volts.value;
  Electrical& e = g_systems.electrical;
  e.main_bus_volts = std::isnan(v) ? 0.0 : v;
  e.main_bus = bus_powered(v);
  e.second_bus = 1;
}

Profile load_config() { return Profile::load(platform::module_path(kConfigPath)); }

}  // namespace

SystemsState& systems() { return g_systems; }

int bus_powered(double volts) { return volts > 20.0 ? 1 : 0; }

int sound_level(double percent) {
  const double level = percent * 20.0 - 2000.0;
  if (!(level > -2000.0)) return -2000;  // also NaN
  if (level > 0.0) return 0;
  return to_int(level);
}

double counter_scale(int nvu_v52_100) { return nvu_v52_100 == 1 ? 1.0 : 0.1; }

BoosterGroup booster_click(BoosterGroup s, int index, u32 flags) {
  if (index < 0 || index > 2) return s;
  if (flags & kMouseRight) {
    if (s.guard == 0)
      s.guard = 1;
    else if (s.sw[0] == 1 && s.sw[1] == 1 && s.sw[2] == 1)
      s.guard = 0;
  } else if ((flags & kMouseLeft) && s.guard != 0) {
    int& w = s.sw[index];
    w = w != 0 ? 0 : 1;
    if (index == 2) s.flag3 = w;
  }
  return s;
}

void read_nvu_config(const Profile& p, Config& c) {
  c.nvu_v52_100 = p.integer("system", "nvu_v52_100", "0");
  c.nvu_scale = counter_scale(c.nvu_v52_100);
}

void read_absu_config(const Profile& p, Config& c) {
  c.panel_auto = p.integer("system", "panel_auto", "1");
  c.ups_percent = p.number("system", "ups_percent", "67");
  c.ap_hydro_on = p.integer("system", "ap_hydro_on", "1");
}

void read_msrp_config(const Profile& p, Config& c) {
  c.msrp_speed_min = p.number("system", "msrp_speed_min", "100");
  c.msrp_one_file = p.integer("system", "msrp_one_file", "1");
}

void read_sound_config(const Profile& p, Config& c) {
  c.sound = p.integer("sound", "sound", "1");
  c.sirena_lev = sound_level(p.number("sound", "sirena_lev", "70"));
  c.dinamik_lev = sound_level(p.number("sound", "dinamik_lev", "70"));
  c.telefony_lev = sound_level(p.number("sound", "telefony_lev", "70"));
  c.zvonok_lev = sound_level(p.number("sound", "zvonok_lev", "70"));
  c.key_lev = sound_level(p.number("sound", "key_lev", "70"));
  c.key_sound_on = p.integer("sound", "key_sound_on", "1");
}

void define_systems_state(Module& m) {
  m.gauge("TKS_sys").every_frame(update_electrical);

  // Each reading gauge loads the file once when its window is attached.
  m.gauge("NVU_Sys").on(kConnectWindow, [] { read_nvu_config(load_config(), g_systems.config); });
  m.gauge("ABSU_sys").on(kConnectWindow, [] { read_absu_config(load_config(), g_systems.config); });
  m.gauge("MSRP_64_SYS").on(kConnectWindow, [] {
    read_msrp_config(load_config(), g_systems.config);
  });
  m.gauge("SOUND").on(kConnectWindow, [] { read_sound_config(load_config(), g_systems.config); });
}

}  // namespace frame
