// The navigation computer's gauges: NVU_Sys (the computer itself), the
// panels V-51, V-140, V-52 (both), the additional counter and V-57, and the
// lamps of NVU_Tablo_1 and its single-lamp twins. The gauge callbacks only
// gather inputs, call the steps of nav/nvu.h and nav/nvu_panels.h and show
// the results.
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame/builder.h"
#include "frame/exchanger.h"
#include "frame/host.h"
#include "frame/patterns.h"
#include "frame/state.h"
#include "input/key_channels.h"
#include "nav/diss.h"
#include "nav/nvu.h"
#include "nav/nvu_panels.h"
#include "nav/svs.h"
#include "nav/tks.h"
#include "platform/platform.h"
#include "radio/rsbn.h"

namespace nav {

namespace {

using frame::Elem;
using frame::GaugeDef;
using frame::u32;

// Values of the autopilot system, which is not built yet; each reads the
// autopilot's start value until it exists.
int autopilot_zeroes_ground_speed_not_built() { return 0; }  // the zeroing flag
int autopilot_lat_active_not_built() { return 0; }           // active lateral mode

// The high-resolution counter at the previous frame of NVU_Sys.
struct FrameClock {
  std::int64_t last = 0;
  int primed = 0;
};
constinit FrameClock g_clock{};

constinit frame::ModuleVar g_sim_rate{336, nullptr, 0, 0.0, 0.0};  // 0x150
constinit frame::ModuleVar g_sim_time{604, nullptr, 0, 0.0, 0.0};  // 0x25C

double look(frame::ModuleVar& v, u32 id) {
  v.id = id;
  frame::host().lookup_var(&v);
  return v.value;
}

// The counter's interval since the last frame; the first frame has none
// and counts as a long one.
double counter_interval() {
  const std::int64_t now = platform::perf_counter();
  const double interval = g_clock.primed == 1
                              ? nvu_interval_seconds(now, g_clock.last, platform::perf_frequency())
                              : HUGE_VAL;
  g_clock.last = now;
  g_clock.primed = 1;
  return interval;
}

NvuInputs gather_inputs() {
  const frame::SystemsState& sys = frame::systems();
  const TksState& t = tks();
  const DissState& d = diss();
  const SvsState& a = svs();
  const radio::RsbnState& r = radio::rsbn();
  NvuInputs in;
  in.controls = nvu_panel().to_computer;
  in.main_bus = sys.electrical.main_bus;
  in.second_bus = sys.electrical.second_bus;
  in.main_heading = t.main_heading;
  in.ga1_heading = t.ga1_heading;
  in.ga2_heading = t.ga2_heading;
  in.consumers_main = tks_panel().consumers_main;
  in.diss_speed = d.diss_speed;
  in.diss_drift = d.diss_drift;
  in.diss_memory = d.diss_memory;
  in.diss_test = d.diss_test;
  in.tas = a.tas;
  in.svs_valid = a.svs_valid;
  in.svs_test = a.svs_test_out;
  in.rsbn_ready = r.rsbn_ready;
  in.rsbn_az = r.az;
  in.rsbn_slant_range = r.slant_range_m;
  in.map_angle = r.map_angle_deg;
  in.ap_zero_speed = autopilot_zeroes_ground_speed_not_built();
  in.sim_rate = look(g_sim_rate, 336);
  in.frame_seconds = counter_interval();
  in.sim_time = look(g_sim_time, 604);
  return in;
}

void define_system(frame::Module& m) {
  // Service 14 (the counter scale) is read with the configuration file
  // (frame/systems_state.cpp).
  m.gauge("NVU_Sys").every_frame([] {
    nvu_key_channel(nvu_panel().count_switch, input::key_channel(input::kKeyNvuCounting));
    nvu_step(nvu(), gather_inputs());
  });
}

// An icon lit (picture 0) while `on`, else showing nothing: the panels' own
// lamps, which have no lamp test.
void panel_lamp(GaugeDef& g, const std::string& name, std::function<bool()> on) {
  g.icon("lamp_" + name, 1, [on = std::move(on)] { return on() ? 0.0 : -1.0; });
}

void with_tooltip(GaugeDef& g, const char* text, const std::function<void()>& control) {
  g.begin_parent(g.whole());
  g.tooltip(text);
  control();
  g.end_parent();
}

// V-51 ----------------------------------------------------------------------

void define_v51(frame::Module& m) {
  GaugeDef& g = m.gauge("NVU_V51_Pult");
  NvuPanel& p = nvu_panel();
  NvuState& s = nvu();

  with_tooltip(g, "NVU Counter Selector", [&] {
    frame::stepper(g, "counter_select", p.counter_select, kCounterSelectMin, kCounterSelectMax,
                   -kCounterSelectMin);
  });
  frame::needle(g, "counter_select_pointer", "selector pointer: counter_select x 30 - 90",
                [&p] { return nvu_counter_select_angle(p.counter_select); });
  with_tooltip(g, "Turn Anticipation Preset", [&] {
    frame::stepper(g, "lur_select", p.lur_select, kLurSelectMin, kLurSelectMax, -kLurSelectMin);
  });
  frame::needle(g, "lur_select_pointer", "selector pointer: lur_select x 30 - 150, -195 at -1",
                [&p] { return nvu_lur_select_angle(p.lur_select); });

  with_tooltip(g, "NVU Power Switch",
               [&] { frame::toggle(g, "nvu_power_switch", p.nvu_power_switch); });
  with_tooltip(g, "НВУ auto countering", [&] { frame::toggle(g, "count_switch", p.count_switch); });
  with_tooltip(g, "NVU Correction Mode", [&] { frame::toggle(g, "corr_switch", p.corr_switch); });

  panel_lamp(g, "ispr", [&s] { return s.counting == 1; });
  panel_lamp(g, "korr", [&s] { return s.correcting == 1; });

  // Minus and plus: the value counter_select chooses.
  g.begin_control();
  for (int dir : {-1, +1}) {
    frame::AreaOptions a;
    a.box = g.half(dir > 0);
    a.cursor = dir > 0 ? frame::kCursorUp : frame::kCursorDown;
    a.flags = frame::kMouseLeft | frame::kMouseRight | frame::kMouseRepeat;
    g.area(dir > 0 ? "coordinate_inc" : "coordinate_dec", a,
           [&s, &p, dir](u32 flags) { nvu_v51_adjust(s, p.counter_select, dir, flags); });
  }

  g.every_frame([&p, &s] { nvu_v51_frame(p, s); });
}

// V-140 -----------------------------------------------------------------------

void define_v140(frame::Module& m) {
  GaugeDef& g = m.gauge("NVU_V140_Pult");
  NvuPanel& p = nvu_panel();
  NvuState& s = nvu();
  for (int i = 0; i < 2; ++i) {
    const std::string field = "zpu_" + std::to_string(i + 1);
    double& zpu = s.channel[i].zpu;
    frame::KnobOptions opt;
    // Clamped far outside one turn so that the step itself never clamps;
    // the desired-track wrap follows in on_change.
    opt.range = frame::KnobRange{0.1, 10.0, -360.0, 720.0, false};
    opt.enabled = [&s] { return s.powered == 1; };
    opt.on_change = [&zpu, &p, &s] {
      zpu = nvu_zpu_wrap(zpu);
      nvu_v140_refresh(p, s);
    };
    frame::knob(g, field, zpu, std::move(opt));
    frame::drums(g, field, 4, [&p, i] { return p.zpu_drums[i]; });
    panel_lamp(g, std::to_string(i + 1), [&s, i] { return s.powered == 1 && nvu_active(s) == i; });
  }
}

// V-52 ------------------------------------------------------------------------

struct CounterRow {
  const char* field;
  double NvuChannel::*value;
};
constexpr CounterRow kCounterRows[] = {
    {"s", &NvuChannel::s},
    {"z", &NvuChannel::z},
    {"s_aux", &NvuChannel::s_aux},
    {"z_aux", &NvuChannel::z_aux},
};

double counter_scale() { return frame::systems().config.nvu_scale; }

void define_v52(frame::Module& m, const char* gauge, int channel) {
  GaugeDef& g = m.gauge(gauge);
  const NvuState& s = nvu();
  for (const CounterRow& row : kCounterRows) {
    const double NvuChannel::*value = row.value;
    for (bool positive : {true, false}) {
      const std::string part = std::string(row.field) + (positive ? "_pos" : "_neg");
      auto count = [&s, channel, value, positive] {
        const SignedCount c = nvu_signed_count(s.channel[channel].*value, counter_scale());
        return positive ? c.positive : c.negative;
      };
      frame::drums(g, part, 4, [count] { return nvu_count_drums(count()); });
      g.icon(part + "_flag", 2, [count] { return count() > kCountFlag ? 1.0 : 0.0; });
    }
  }
  // The lower row holds the beacon pair on the active channel's panel and
  // the point pair on the other's.
  panel_lamp(g, "samolet_mayak",
             [&s, channel] { return s.powered == 1 && nvu_active(s) == channel; });
  panel_lamp(g, "punkt", [&s, channel] { return s.powered == 1 && nvu_active(s) != channel; });
}

// The additional counter -----------------------------------------------------

constexpr int kExtraDrums = 5;

void define_extra_counter(frame::Module& m) {
  GaugeDef& g = m.gauge("NVU_V52_Dop_Pult");
  NvuPanel& p = nvu_panel();
  const NvuState& s = nvu();
  frame::toggle(g, "extra_display_on", p.extra_display_on);
  frame::stepper(g, "counter_select", p.counter_select, kCounterSelectMin, kCounterSelectMax,
                 -kCounterSelectMin);
  g.icon("counter_select_value", 7,
         [&p] { return static_cast<double>(nvu_extra_picture(p.to_computer.counter_select)); });

  // The drums and indicators hide with the display.
  auto hidden_with_display = std::make_shared<std::vector<Elem>>();
  for (bool positive : {true, false}) {
    const std::string part = positive ? "extra_value_pos" : "extra_value_neg";
    auto count = [&p, positive] {
      const SignedCount c = nvu_signed_count(p.extra_value, 1.0);
      return positive ? c.positive : c.negative;
    };
    for (Elem e : frame::drums(g, part, kExtraDrums, [count] { return nvu_count_drums(count()); }))
      hidden_with_display->push_back(e);
    hidden_with_display->push_back(g.icon(part + "_flag", 1, [count, &p] {
      return count() > kCountFlag || p.to_computer.counter_select == 0 ? 0.0 : -1.0;
    }));
  }
  g.every_frame([&p, &s, hidden_with_display] {
    nvu_extra_frame(p, s);
    for (const Elem& e : *hidden_with_display) e.hide(p.extra_display_on != 1);
  });
}

// V-57 ------------------------------------------------------------------------

void define_v57(frame::Module& m) {
  GaugeDef& g = m.gauge("NVU_V57_Pult");
  NvuPanel& p = nvu_panel();
  NvuState& s = nvu();
  auto enabled = [&s] { return nvu_wind_knobs_enabled(s, diss().diss_memory); };

  frame::KnobOptions dir;
  dir.range = frame::KnobRange{0.2, 10.0, 0.0, 360.0, true};
  dir.enabled = enabled;
  frame::knob(g, "wind_memory_dir", p.wind_memory_dir, std::move(dir));
  frame::KnobOptions speed;
  speed.range = frame::KnobRange{0.2, 10.0, 0.0, 300.0, false};
  speed.enabled = enabled;
  frame::knob(g, "wind_memory_speed", p.wind_memory_speed, std::move(speed));
  frame::KnobOptions delta;
  delta.range = frame::KnobRange{0.5, 0.5, -99.0, 99.0, false};
  delta.flags = frame::kMouseLeft;
  frame::knob(g, "wind_delta", p.wind_delta, std::move(delta));

  frame::drums(g, "wind_memory_dir", 3,
               [&p] { return nvu_wind_dir_drums(p.wind_delta, p.wind_memory_dir); });
  frame::drums(g, "wind_memory_speed", 3,
               [&p] { return nvu_wind_speed_drums(p.wind_memory_speed); });
  for (bool positive : {true, false}) {
    const std::string part = positive ? "wind_delta_pos" : "wind_delta_neg";
    auto count = [&p, positive] {
      const SignedCount c = nvu_signed_count(p.wind_delta, 100.0);
      return positive ? c.positive : c.negative;
    };
    frame::drums(g, part, 2, [count] { return nvu_count_drums(count()); });
    panel_lamp(g, part, [count] { return count() > kCountFlag; });
  }

  g.every_frame([&p, &s] { nvu_v57_frame(p, s, diss().diss_memory); });
}

// Lamps -----------------------------------------------------------------------

struct NvuLamp {
  const char* name;
  const char* single_gauge;
  bool (*condition)();
};

bool lamp_vor_avtom() { return false; }  // its input is always 0
bool lamp_korr_vkl() { return nvu().correcting == 1; }
bool lamp_daln_avton() {
  return radio::rsbn().no_range == 1 && nvu_panel().range_autonomous_gate == 1;
}
bool lamp_azim_avton() {
  return radio::rsbn().no_azimuth == 1 && nvu_panel().azimuth_autonomous_gate == 1;
}
bool lamp_pamyat_diss() { return nvu_pamyat_diss(nvu(), diss().diss_memory); }
bool lamp_smena_cho() { return nvu_smena_cho(nvu(), nvu_panel()); }

constexpr NvuLamp kLamps[] = {
    {"nvu_vor_avtom", "NVU_Tablo_1_b", lamp_vor_avtom},
    {"korr_vkl", "NVU_Tablo_1_c", lamp_korr_vkl},
    {"daln_avton", "NVU_Tablo_1_d", lamp_daln_avton},
    {"azim_avton", "NVU_Tablo_1_e", lamp_azim_avton},
    {"pamyat_diss", "NVU_Tablo_1_f", lamp_pamyat_diss},
    {"smena_cho", "NVU_Tablo_1_g", lamp_smena_cho},
};
constexpr int kSmenaChoSlot = 55;  // exchanger slot of NVU_Tablo_1_g's lamp

void define_nvu_lamps(frame::Module& m) {
  frame::SystemsState& sys = frame::systems();
  const int& power = sys.electrical.main_bus;
  const int& test = sys.lamp_test.flag;
  GaugeDef& panel = m.gauge("NVU_Tablo_1");
  for (const NvuLamp& l : kLamps) frame::lamp(panel, l.name, power, test, l.condition);
  for (const NvuLamp& l : kLamps) {
    GaugeDef& g = m.gauge(l.single_gauge);
    if (l.condition == lamp_smena_cho) {
      // Its value callback also tells the exchanger whether it is lit.
      g.icon(std::string("lamp_") + l.name, 1, [&power, &test] {
        const double picture = frame::lamp_picture(power, lamp_smena_cho(), test);
        frame::exchanger_write(kSmenaChoSlot, picture == 0.0 ? 1.0 : 0.0);
        return picture;
      });
    } else {
      frame::lamp(g, l.name, power, test, l.condition);
    }
  }
  frame::lamp(m.gauge("NVU_Tablo_SNS"), "sns", power, test, [&sys] {
    return autopilot_lat_active_not_built() == 4 && sys.positions.azs_nav_i21_gps == 2;
  });
}

}  // namespace

void define_nvu(frame::Module& m) {
  define_system(m);
  define_v51(m);
  define_v140(m);
  define_v52(m, "NVU_V52_1_Pult", 0);
  define_v52(m, "NVU_V52_2_Pult", 1);
  define_extra_counter(m);
  define_v57(m);
  define_nvu_lamps(m);
}

}  // namespace nav
