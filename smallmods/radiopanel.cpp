#include "smallmods/radiopanel.h"

#include <algorithm>

#include "frame/bcd.h"
#include "frame/patterns.h"

namespace smallmods {

void com_step(ComPanel& s, double freq_word) {
  s.com_digit = frame::bcd16_digits(frame::bcd16_word(freq_word));
}

double com_drum_number(const ComPanel& s) {
  double n = 0.0;
  for (const u32 d : s.com_digit) n = n * 10.0 + std::min<u32>(d, 9);
  return n;
}

void define_com_panel(frame::Module& m, const ComPanelSpec& spec, ComPanel& s) {
  frame::GaugeDef& g = m.gauge(spec.gauge);
  frame::drums(g, "com_digit", 4, [&s] { return com_drum_number(s); });
  g.set_meaning(g.icon("lamp_com", 1, [] { return 0.0; }), "always lit (0)");
  // Left to right: the switch, the whole-MHz knob, the fraction knob.
  frame::toggle(g, spec.toggle_label, s.com_toggle, g.strip(0, 3));
  const frame::Box whole = g.strip(1, 3);
  const frame::Box fraction = g.strip(2, 3);
  const auto lower = [](frame::Box b) {
    return frame::Box{b.x, b.y + b.h / 2, b.w, b.h - b.h / 2};
  };
  const auto upper = [](frame::Box b) { return frame::Box{b.x, b.y, b.w, b.h / 2}; };
  event_knob(g, "whole_mhz",
             EventKnob{spec.whole_down, spec.whole_up, lower(whole), upper(whole), {}, {}});
  event_knob(
      g, "fraction",
      EventKnob{spec.fraction_down, spec.fraction_up, lower(fraction), upper(fraction), {}, {}});
  g.every_frame([&s] { com_step(s, read(s.freq_var)); });
}

void define_radiopanel(frame::Module& m, RadiopanelState& s) {
  define_speed_indicator(m, "KUS_700_1100", s.kus_700_1100);
  define_speed_indicator(m, "KUS_1200", s.kus_1200);
  define_mach_indicator(m, s.mach);
  define_variometer(m, s.var_30);
  define_com_panel(m, kCom1Panel, s.com_1);
  define_com_panel(m, kCom2Panel, s.com_2);
  define_transponder(m, s.transponder);
  define_thermometer(m, s.amb_temp);
}

}  // namespace smallmods
