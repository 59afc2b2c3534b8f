// The receivers' controls: the panels KursMP_Pult_1 and KursMP_Pult_2
// (frequency knobs and toggles), the course selectors KursMP_ZPU1 and
// KursMP_ZPU2, and the mode-lamp panel KursMP_Select. The receivers'
// breakers are AZS_KURS_MP_1/_2 (frame/positions.cpp), copied into
// NavReceiver::breaker_on every frame.
#include <string>

#include "frame/builder.h"
#include "frame/host.h"
#include "frame/patterns.h"
#include "frame/state.h"
#include "radio/nav_receiver.h"
#include "radio/radio_sys.h"

namespace radio {

namespace {

using frame::GaugeDef;
using frame::ModuleVar;
using frame::u32;

// Host tokens and key events of receiver 1 and 2.
struct ReceiverIds {
  u32 freq_token;
  u32 freq_event;
  u32 course_token;
  u32 course_event;
};
constexpr ReceiverIds kIds[2] = {{24, 65708, 45, 65716}, {27, 65709, 54, 65717}};

constinit ModuleVar g_freq[2] = {{24, nullptr, 0, 0.0, 0.0}, {27, nullptr, 0, 0.0, 0.0}};
constinit ModuleVar g_course[2] = {{45, nullptr, 0, 0.0, 0.0}, {54, nullptr, 0, 0.0, 0.0}};

double look(ModuleVar& v, u32 id) {
  v.id = id;
  frame::host().lookup_var(&v);
  return v.value;
}

// A value shown only while the receiver is powered.
double while_powered(const NavReceiver& r, double v) { return r.powered == 1 ? v : -1.0; }

void define_panel(frame::Module& m, int n) {
  GaugeDef& g = m.gauge(n == 0 ? "KursMP_Pult_1" : "KursMP_Pult_2");
  NavReceiver& r = radio().rx[static_cast<std::size_t>(n)];
  const ReceiverIds ids = kIds[n];

  for (int k = 0; k < 4; ++k) {
    const auto digit = static_cast<std::size_t>(k);
    g.icon("freq_digit_" + std::to_string(k), 10,
           [&r, digit] { return while_powered(r, r.freq_digit[digit]); });
  }
  g.icon("panel_lit", 2, [&r] { return while_powered(r, r.panel_lit); });

  const struct {
    const char* label;
    FreqKnob knob;
  } knobs[2][2] = {{{"freq_mhz_dec", FreqKnob::kMhzDown}, {"freq_mhz_inc", FreqKnob::kMhzUp}},
                   {{"freq_khz_dec", FreqKnob::kKhzDown}, {"freq_khz_inc", FreqKnob::kKhzUp}}};
  for (const auto& pair : knobs) {
    g.begin_control();
    for (const auto& k : pair) {
      const bool up = k.knob == FreqKnob::kMhzUp || k.knob == FreqKnob::kKhzUp;
      frame::AreaOptions opt;
      opt.box = g.half(up);
      opt.cursor = up ? frame::kCursorUp : frame::kCursorDown;
      opt.flags = frame::kMouseLeft | frame::kMouseRepeat;
      g.area(k.label, opt, [&r, knob = k.knob](u32) { freq_knob(r, knob); });
    }
  }

  frame::toggle(g, "spare_toggle", r.spare_toggle);
  frame::toggle(g, "freq_lock", r.freq_lock);
  frame::toggle(g, "unit_km", r.unit_km);
  // Three push-buttons without a function.
  for (int k = 1; k <= 3; ++k) {
    g.begin_control();
    g.area("push_" + std::to_string(k), frame::AreaOptions{}, [](u32) {});
  }

  g.every_frame([&r, ids, n] {
    if (const auto bcd = panel_frame_send(r, frame::systems().electrical.main_bus))
      frame::host().trigger_key_event(ids.freq_event, *bcd);
    panel_frame_read(r, look(g_freq[n], ids.freq_token));
  });
}

// The number the three course drums count, from their values.
double obs_drum_number(const NavReceiver& r) {
  return r.obs_drum[0] / 100.0 + r.obs_drum[1] / 10.0 + r.obs_drum[2];
}

void define_course_selector(frame::Module& m, int n) {
  GaugeDef& g = m.gauge(n == 0 ? "KursMP_ZPU1" : "KursMP_ZPU2");
  NavReceiver& r = radio().rx[static_cast<std::size_t>(n)];
  const ReceiverIds ids = kIds[n];

  frame::drums(g, "obs_drum", 3, [&r] { return obs_drum_number(r); });
  // Left knob turns the course down, the right knob up; left button by 1,
  // right button by 10. The event goes out with the new course at once.
  g.begin_control();
  for (int dir : {-1, +1}) {
    frame::AreaOptions opt;
    opt.box = g.half(dir > 0);
    opt.cursor = dir > 0 ? frame::kCursorUp : frame::kCursorDown;
    opt.flags = frame::kMouseLeft | frame::kMouseRight | frame::kMouseRepeat;
    g.area(dir > 0 ? "obs_deg_inc" : "obs_deg_dec", opt, [&r, ids, dir](u32 flags) {
      r.obs_deg = obs_step(r.obs_deg, dir, flags);
      frame::host().trigger_key_event(ids.course_event, static_cast<u32>(r.obs_deg));
    });
  }

  g.every_frame([&r, ids, n] { obs_frame(r, look(g_course[n], ids.course_token)); });
}

void define_select(frame::Module& m) {
  GaugeDef& g = m.gauge("KursMP_Select");
  RadioState& s = radio();
  for (int k = 0; k < 3; ++k)
    frame::toggle(g, "select_toggle_" + std::to_string(k + 1),
                  s.select_toggle[static_cast<std::size_t>(k)]);
  // Mode lamps without the lamp test: lit while the receiver is powered and
  // has its glide slope or its station.
  for (int n = 0; n < 2; ++n) {
    const NavReceiver& r = s.rx[static_cast<std::size_t>(n)];
    const std::string suffix = std::to_string(n + 1);
    g.icon("lamp_gs_" + suffix, 1,
           [&r] { return frame::lamp_picture(r.powered, r.gs_valid != 0, 0); });
    g.icon("lamp_course_" + suffix, 1,
           [&r] { return frame::lamp_picture(r.powered, r.active != 0, 0); });
  }
}

}  // namespace

void define_kursmp(frame::Module& m) {
  for (int n = 0; n < 2; ++n) {
    define_panel(m, n);
    define_course_selector(m, n);
  }
  define_select(m);
}

}  // namespace radio
