#include "smallmods/instruments.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "frame/bcd.h"
#include "frame/numeric.h"
#include "frame/patterns.h"
#include "frame/text.h"

namespace smallmods {

double read(ModuleVar& v) {
  frame::host().lookup_var(&v);
  return v.value;
}

double sane(double v) {
  constexpr double kBound = 1e12;
  if (!std::isfinite(v)) return 0.0;
  return std::clamp(v, -kBound, kBound);
}

// Air data --------------------------------------------------------------------

AirData air_data(double pressure_16mb) {
  // 1 / (1013.2 mb x 16): the pressure ratio of variable 342.
  constexpr double kRatioPerUnit = 6.168574812475326e-5;
  constexpr double kScaleHeight = 44300.0;
  constexpr double kPerMetre = 0.00002257336343115124;  // 1 / 44300
  AirData out;
  if (!(pressure_16mb > 0.0) || !std::isfinite(pressure_16mb)) return out;
  out.press_alt = kScaleHeight * (1.0 - std::pow(pressure_16mb * kRatioPerUnit, 0.190476));
  out.density_ratio = 1.0 / std::pow(1.0 - out.press_alt * kPerMetre, 4.256);
  return out;
}

// Airspeed indicators -----------------------------------------------------------

void speed_indicator_step(SpeedIndicator& s, double ias_knots, double pressure_16mb) {
  s.ias_kmh = sane(ias_knots) * kKmhPerKnot;
  const AirData a = air_data(pressure_16mb);
  s.press_alt = a.press_alt;
  s.density_ratio = a.density_ratio;
}

double ias_needle(const SpeedIndicator& s) {
  return frame::limit(s.ias_kmh, s.limits.ias_lo, s.limits.ias_hi);
}

double tas_needle(const SpeedIndicator& s) {
  // The raw IAS: a speed below the IAS needle's stop still gives its TAS.
  return frame::limit(s.ias_kmh * std::sqrt(s.density_ratio), s.limits.tas_lo, s.limits.tas_hi);
}

void define_speed_indicator(frame::Module& m, const char* gauge, SpeedIndicator& s) {
  frame::GaugeDef& g = m.gauge(gauge);
  const SpeedLimits& l = s.limits;
  frame::needle(g, "ias", frame::format_string("IAS km/h, %g..%g", l.ias_lo, l.ias_hi),
                [&s] { return ias_needle(s); });
  frame::needle(
      g, "tas",
      frame::format_string("TAS km/h (IAS x sqrt density ratio), %g..%g", l.tas_lo, l.tas_hi),
      [&s] { return tas_needle(s); });
  g.every_frame([&s] { speed_indicator_step(s, read(s.ias_var), read(s.pressure_var)); });
}

// Mach indicator --------------------------------------------------------------

void mach_indicator_step(MachIndicator& s, double mach_units) {
  s.mach = sane(mach_units) * kMachPerUnit;
  s.overspeed = mach_needle(s) > s.critical_mach ? 1 : 0;
}

double mach_needle(const MachIndicator& s) { return frame::limit(s.mach, kMachLo, kMachHi); }

void define_mach_indicator(frame::Module& m, MachIndicator& s) {
  frame::GaugeDef& g = m.gauge("MACH_Indicator");
  frame::needle(g, "mach", frame::format_string("Mach, %g..%g", kMachLo, kMachHi),
                [&s] { return mach_needle(s); });
  frame::needle(g, "critical_mach",
                frame::format_string("critical Mach pointer (%.2f)", s.critical_mach),
                [&s] { return s.critical_mach; });
  g.every_frame([&s] { mach_indicator_step(s, read(s.mach_var)); });
}

// Vertical-speed indicator --------------------------------------------------------

void variometer_step(Variometer& s, double vs_units) { s.vs = sane(vs_units) / 256.0; }

double vs_needle(const Variometer& s) { return frame::limit(s.vs, -kVsLimit, kVsLimit); }

void define_variometer(frame::Module& m, Variometer& s) {
  frame::GaugeDef& g = m.gauge("VAR_30");
  frame::needle(g, "vs", frame::format_string("vertical speed m/s, -%g..%g", kVsLimit, kVsLimit),
                [&s] { return vs_needle(s); });
  g.every_frame([&s] { variometer_step(s, read(s.vs_var)); });
}

// Transponder ------------------------------------------------------------------

void transponder_step(Transponder& s, double code_word) {
  s.xpdr_digit = frame::bcd16_digits(frame::bcd16_word(code_word));
}

double xpdr_knob_angle(u32 digit, int k) {
  return static_cast<double>(digit) * 30.0 - ((k % 2) == 0 ? 90.0 : 120.0);
}

bool xpdr_may_step(u32 digit, int dir) { return dir > 0 ? digit < 7 : digit > 0; }

void define_transponder(frame::Module& m, Transponder& s) {
  frame::GaugeDef& g = m.gauge("Transponder");
  static constexpr const char* kPlace[4] = {"1000", "100", "10", "1"};
  for (int k = 0; k < 4; ++k) {
    const auto i = static_cast<std::size_t>(k);
    const std::string label = std::string("xpdr_") + kPlace[i];
    frame::needle(g, label,
                  frame::format_string("knob, degrees: digit x 30 - %d", k % 2 == 0 ? 90 : 120),
                  [&s, i, k] { return xpdr_knob_angle(s.xpdr_digit[i], k); });
    // Each digit's column: up in the upper half, down in the lower.
    const frame::Box col = g.strip(k, 4);
    EventKnob knob;
    knob.dec_event = kXpdrDownEvent[i];
    knob.inc_event = kXpdrUpEvent[i];
    knob.inc_box = frame::Box{col.x, 0, col.w, col.h / 2};
    knob.dec_box = frame::Box{col.x, col.h / 2, col.w, col.h - col.h / 2};
    knob.allowed = [&s, i](int dir) { return xpdr_may_step(s.xpdr_digit[i], dir); };
    event_knob(g, label, std::move(knob));
  }
  g.every_frame([&s] { transponder_step(s, read(s.code_var)); });
}

// Outside-air thermometer --------------------------------------------------------

void thermometer_step(Thermometer& s, double temp_value) { s.temperature = sane(temp_value); }

double temp_needle(const Thermometer& s) { return s.temperature * 256.0; }

void define_thermometer(frame::Module& m, Thermometer& s) {
  frame::GaugeDef& g = m.gauge("AmbTemp");
  frame::needle(g, "temperature", "degrees: variable 350 x 256, 1 per degree C",
                [&s] { return temp_needle(s); });
  g.every_frame([&s] { thermometer_step(s, read(s.temp_var)); });
}

// Knobs that act through key events --------------------------------------------

void event_knob(frame::GaugeDef& g, const std::string& label, EventKnob knob) {
  auto shared = std::make_shared<EventKnob>(std::move(knob));
  for (int dir : {-1, +1}) {
    frame::AreaOptions a;
    a.box = dir > 0 ? shared->inc_box : shared->dec_box;
    if (a.box.w <= 0 || a.box.h <= 0) a.box = g.half(dir > 0);
    a.cursor = dir > 0 ? frame::kCursorUp : frame::kCursorDown;
    a.flags = frame::kMouseLeft | frame::kMouseRepeat;
    g.area(label + (dir > 0 ? "_inc" : "_dec"), a, [shared, dir](u32) {
      if (!shared->allowed || shared->allowed(dir))
        frame::host().trigger_key_event(dir > 0 ? shared->inc_event : shared->dec_event, 0);
      if (shared->after) shared->after();
    });
  }
}

}  // namespace smallmods
