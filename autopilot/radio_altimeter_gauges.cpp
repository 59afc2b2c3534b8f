// RV_5M_1 and RV_5M_2: the dial (height needle and decision-height index on
// the non-linear scale), the decision-height lamp, the failure flag and the
// two knob areas. Service 6 reads the host's values and runs the unit's
// frame; service 14 starts it cold.
#include <array>

#include "autopilot/radio_altimeter.h"
#include "frame/builder.h"
#include "frame/host.h"
#include "frame/patterns.h"
#include "frame/state.h"

namespace autopilot {

namespace {

constexpr frame::u32 kRawHeight = 614;       // 0x266, metres
constexpr frame::u32 kBank = 79;             // 0x4F, degrees
constexpr frame::u32 kPitch = 77;            // 0x4D, degrees
constexpr frame::u32 kOnGround = 60;         // 0x3C
constexpr frame::u32 kStaticPressure = 342;  // 0x156, 1/16 mbar
constexpr frame::u32 kTick = 1;

// The host values one unit reads; each unit keeps its own copies.
struct HostVars {
  frame::ModuleVar raw_height{kRawHeight, nullptr, 0, 0.0, 0.0};
  frame::ModuleVar bank{kBank, nullptr, 0, 0.0, 0.0};
  frame::ModuleVar pitch{kPitch, nullptr, 0, 0.0, 0.0};
  frame::ModuleVar on_ground{kOnGround, nullptr, 0, 0.0, 0.0};
  frame::ModuleVar static_pressure{kStaticPressure, nullptr, 0, 0.0, 0.0};
  frame::ModuleVar tick{kTick, nullptr, 0, 0.0, 0.0};
};
constinit std::array<HostVars, 2> g_vars{};

double look(frame::ModuleVar& v) {
  frame::host().lookup_var(&v);
  return v.value;
}

RadioAltimeterInputs read_inputs(HostVars& v) {
  RadioAltimeterInputs in;
  in.raw_height = look(v.raw_height);
  in.bank_deg = look(v.bank);
  in.pitch_deg = look(v.pitch);
  in.on_ground = look(v.on_ground);
  in.static_pressure = look(v.static_pressure);
  in.tick = look(v.tick);
  in.main_bus = frame::systems().electrical.main_bus;
  return in;
}

void define_unit(frame::Module& m, const char* name, RadioAltimeter& s,
                 const RadioAltimeterUnit& unit, HostVars& vars) {
  frame::GaugeDef& g = m.gauge(name);
  const auto scale = radio_altimeter_scale(g.width() / 2, g.height() / 2, g.width() * 3 / 8);

  frame::Elem index = frame::needle(g, "decision_height", "decision height setting, metres",
                                    [&s] { return s.decision_height; });
  g.set_nonlinearity(index, scale);
  frame::Elem height = frame::needle(g, "measured_height", "radio height shown, metres 0..850",
                                     [&s] { return s.measured_height; });
  g.set_nonlinearity(height, scale);
  g.set_meaning(g.icon("failure", 1, [&s] { return s.failure == 1 ? 0.0 : -1.0; }),
                "failure flag: 0 shown, -1 hidden");
  g.set_meaning(g.icon("lamp_vpr", 1, [&s] { return s.lamp_lit == 1 ? 0.0 : -1.0; }),
                "decision-height lamp: 0 lit, -1 dark");

  for (int dir : {-1, +1}) {
    frame::AreaOptions a;
    a.box = g.half(dir > 0);
    a.cursor = dir > 0 ? frame::kCursorUp : frame::kCursorDown;
    a.flags = frame::kMouseLeft | frame::kMouseRepeat;
    g.area(dir > 0 ? "decision_height_inc" : "decision_height_dec", a, [&s, dir](frame::u32) {
      s.decision_height =
          dir > 0 ? decision_height_up(s.decision_height) : decision_height_down(s.decision_height);
    });
  }

  g.every_frame([&s, &unit, &vars] { radio_altimeter_frame(s, unit, read_inputs(vars)); });
  g.on(frame::kConnectWindow, [&s] { radio_altimeter_connect(s); });
}

}  // namespace

void define_radio_altimeters(frame::Module& m) {
  RadioAltimeters& r = radio_altimeters();
  define_unit(m, "RV_5M_1", r.rv1, kRv1Unit, g_vars[0]);
  define_unit(m, "RV_5M_2", r.rv2, kRv2Unit, g_vars[1]);
}

}  // namespace autopilot
