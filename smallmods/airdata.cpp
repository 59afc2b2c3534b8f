#include "smallmods/airdata.h"

#include <cmath>

#include "frame/numeric.h"
#include "frame/text.h"

namespace smallmods {

double metres_factor(double unit_setting) {
  return frame::to_int(unit_setting) == 2 ? 1.0 : kMetresPerFoot;
}

double feet_factor(double unit_setting) {
  return frame::to_int(unit_setting) == 2 ? kFeetPerMetre : 1.0;
}

double pressure_counter(double setting) { return std::trunc(sane(setting) * 100.0) / 100.0; }

double altitude_counter(double altitude) { return std::trunc(sane(altitude) * 10.0) / 100.0; }

// Altimeter ---------------------------------------------------------------------

void altimeter_step(Altimeter& s, double indicated_alt, double setting_inhg, double unit_setting) {
  s.units_factor = metres_factor(unit_setting);
  s.altitude = sane(indicated_alt) * s.units_factor;
  s.setting_inhg = sane(setting_inhg);
  s.press_dev = (s.setting_inhg * kMmHgPerInHg - 760.0) * 3.0;
}

double altimeter_needle_1000(const Altimeter& s) {
  return (frame::to_int(s.altitude) % 1000) * 0.36 - 90.0;
}

double altimeter_needle_10000(const Altimeter& s) {
  return frame::to_int(s.altitude) * 0.036 - 90.0;
}

double altimeter_pressure_scale(const Altimeter& s) {
  return s.setting_inhg * kMmHgPerInHg - 710.0;
}

double altimeter_mark_1000(const Altimeter& s) {
  return (frame::to_int(s.press_dev * -1.44) % 1000) - 90.0;
}

double altimeter_mark_10000(const Altimeter& s) { return s.press_dev * -0.144 - 90.0; }

// UVID_F --------------------------------------------------------------------------

void uvid_step(FeetAltimeter& s, double indicated_alt, double setting_hpa, double unit_setting,
               double bus_volts) {
  s.units_factor = feet_factor(unit_setting);
  s.altitude =
      (s.uvid_setting_hpa - sane(setting_hpa)) * kFeetPerHpa + sane(indicated_alt) * s.units_factor;
  s.powered = sane(bus_volts) != 0.0 ? 1 : 0;
}

double uvid_needle(const FeetAltimeter& s) { return s.altitude * 0.36 - 90.0; }

double uvid_flag(const FeetAltimeter& s) { return s.powered ? -1.0 : 0.0; }

// UVO -----------------------------------------------------------------------------

void uvo_step(Uvo& s, double indicated_alt, double setting_inhg, double unit_setting) {
  s.units_factor = metres_factor(unit_setting);
  s.altitude = sane(indicated_alt) * s.units_factor;
  s.setting_mmhg = sane(setting_inhg) * kMmHgPerInHg;
}

double uvo_needle(const Uvo& s) { return s.altitude * 0.36 - 90.0; }

// UM_1 and US_I ----------------------------------------------------------------------

double um1_needle(const MachMeter& s) {
  return frame::limit(s.mach_units * 0.017578125 + 36.0, 144.0, 396.0);
}

double usi_needle(const CombinedSpeed& s) {
  return frame::limit(s.ias_kmh, 125.0, 1000.0) * 0.4 - 140.0;
}

// Gauges ------------------------------------------------------------------------------

namespace {

void define_altimeter(frame::Module& m, Altimeter& s) {
  frame::GaugeDef& g = m.gauge("Altimeter");
  frame::needle(g, "altitude_1000", "degrees: (m mod 1000) x 0.36 - 90",
                [&s] { return altimeter_needle_1000(s); });
  frame::needle(g, "altitude_10000", "degrees: m x 0.036 - 90",
                [&s] { return altimeter_needle_10000(s); });
  // The pressure window: the scale and its two reference marks.
  const frame::Elem window[] = {
      frame::needle(g, "press_scale", "degrees: setting mm Hg - 710",
                    [&s] { return altimeter_pressure_scale(s); }),
      frame::needle(g, "press_dev", "mark, degrees: (press_dev x -1.44 mod 1000) - 90",
                    [&s] { return altimeter_mark_1000(s); }),
      frame::needle(g, "press_dev_coarse", "mark, degrees: press_dev x -0.144 - 90",
                    [&s] { return altimeter_mark_10000(s); }),
  };
  for (const frame::Elem& e : window) e.hide(true);

  const auto open_window = [&s] { s.press_window = kPressWindowFrames; };
  frame::AreaOptions centre;
  centre.box = g.strip(1, 3);
  g.area("press_window", centre, [&s](u32) { s.press_window = kPressWindowFrames; });
  EventKnob knob;
  knob.dec_event = kAltimeterDownEvent;
  knob.inc_event = kAltimeterUpEvent;
  knob.dec_box = g.strip(0, 3);
  knob.inc_box = g.strip(2, 3);
  knob.after = open_window;
  event_knob(g, "altimeter_setting", std::move(knob));

  g.every_frame([&s, window] {
    altimeter_step(s, read(s.alt_var), read(s.inhg_var), read(s.units_var));
    // Shown while positive, so a click shows it for 120 frames.
    for (const frame::Elem& e : window) e.hide(s.press_window <= 0);
    if (s.press_window > 0) --s.press_window;
  });
}

void define_uvid(frame::Module& m, FeetAltimeter& s) {
  frame::GaugeDef& g = m.gauge("UVID_F");
  frame::needle(g, "altitude", "degrees: ft x 0.36 - 90 (one turn per 1000 ft)",
                [&s] { return uvid_needle(s); });
  g.set_meaning(g.icon("fail_flag", 1, [&s] { return uvid_flag(s); }),
                "0 shown: no bus voltage (753); -1 hidden");
  frame::drums(g, "uvid_setting_hpa", kCounterDrums,
               [&s] { return pressure_counter(s.uvid_setting_hpa); });
  frame::drums(g, "altitude", kCounterDrums, [&s] { return altitude_counter(s.altitude); });
  frame::KnobOptions knob;
  knob.range = frame::KnobRange{kUvidStepHpa, kUvidStepHpa, kUvidMinHpa, kUvidMaxHpa, false};
  knob.flags = frame::kMouseLeft;
  frame::knob(g, "uvid_setting_hpa", s.uvid_setting_hpa, knob);
  g.every_frame(
      [&s] { uvid_step(s, read(s.alt_var), read(s.hpa_var), read(s.units_var), read(s.bus_var)); });
}

void define_uvo(frame::Module& m, Uvo& s) {
  frame::GaugeDef& g = m.gauge("UVO");
  frame::needle(g, "altitude", "degrees: m x 0.36 - 90", [&s] { return uvo_needle(s); });
  frame::drums(g, "setting_mmhg", kCounterDrums, [&s] { return pressure_counter(s.setting_mmhg); });
  frame::drums(g, "altitude", kCounterDrums, [&s] { return altitude_counter(s.altitude); });
  EventKnob knob;
  knob.dec_event = kAltimeterDownEvent;
  knob.inc_event = kAltimeterUpEvent;
  event_knob(g, "altimeter_setting", std::move(knob));
  g.every_frame([&s] { uvo_step(s, read(s.alt_var), read(s.inhg_var), read(s.units_var)); });
}

void define_um1(frame::Module& m, MachMeter& s) {
  frame::GaugeDef& g = m.gauge("UM_1");
  frame::needle(g, "mach", "degrees: Mach x 360 + 36, 144..396", [&s] { return um1_needle(s); });
  g.every_frame([&s] { s.mach_units = sane(read(s.mach_var)); });
}

void define_usi(frame::Module& m, CombinedSpeed& s) {
  frame::GaugeDef& g = m.gauge("US_I");
  frame::needle(g, "ias", "degrees: IAS km/h (125..1000) x 0.4 - 140",
                [&s] { return usi_needle(s); });
  g.every_frame([&s] { s.ias_kmh = sane(read(s.ias_var)) * kKmhPerKnot; });
}

}  // namespace

void define_airdata(frame::Module& m, AirdataState& s) {
  define_speed_indicator(m, "KUS_700_1100", s.kus_700_1100);
  define_speed_indicator(m, "KUS_1200", s.kus_1200);
  define_mach_indicator(m, s.mach);
  define_altimeter(m, s.altimeter);
  define_variometer(m, s.var_30);
  define_uvid(m, s.uvid_f);
  define_uvo(m, s.uvo);
  define_um1(m, s.um_1);
  define_usi(m, s.us_i);
}

}  // namespace smallmods
