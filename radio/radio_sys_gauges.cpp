// radio_sys (the invisible gauge that runs the receivers' half of the radio
// system) and the distance indicators ISD_1 and ISD_2. The DME1-RSBN-DME2
// switches are selectors of the systems state (frame/positions.cpp), copied
// into DmeChannel::selector every frame.
#include <string>

#include "frame/builder.h"
#include "frame/host.h"
#include "frame/patterns.h"
#include "frame/state.h"
#include "radio/radio_sys.h"
#include "radio/rsbn.h"

namespace radio {

namespace {

using frame::GaugeDef;
using frame::ModuleVar;
using frame::u32;

constinit RadioState g_radio{};

// The simulator's radio variables radio_sys looks up.
struct HostRecords {
  struct Receiver {
    ModuleVar flags, to_from, gs_valid, dme, radial, cdi, rmi;
  };
  Receiver rx[2] = {
      {{42, nullptr, 0, 0.0, 0.0}, {43, nullptr, 0, 0.0, 0.0}, {44, nullptr, 0, 0.0, 0.0},
       {31, nullptr, 0, 0.0, 0.0}, {25, nullptr, 0, 0.0, 0.0}, {40, nullptr, 0, 0.0, 0.0},
       {550, nullptr, 0, 0.0, 0.0}},
      {{51, nullptr, 0, 0.0, 0.0}, {52, nullptr, 0, 0.0, 0.0}, {53, nullptr, 0, 0.0, 0.0},
       {35, nullptr, 0, 0.0, 0.0}, {28, nullptr, 0, 0.0, 0.0}, {50, nullptr, 0, 0.0, 0.0},
       {59, nullptr, 0, 0.0, 0.0}},
  };
  ModuleVar gs_needle{41, nullptr, 0, 0.0, 0.0};
  ModuleVar marker{354, nullptr, 0, 0.0, 0.0};
  ModuleVar ground_speed{551, nullptr, 0, 0.0, 0.0};
  ModuleVar time_counter{557, nullptr, 0, 0.0, 0.0};
};
constinit HostRecords g_vars{};
constexpr u32 kIds[2][7] = {{42, 43, 44, 31, 25, 40, 550}, {51, 52, 53, 35, 28, 50, 59}};

double look(ModuleVar& v, u32 id) {
  v.id = id;
  frame::host().lookup_var(&v);
  return v.value;
}

RadioInputs read_host() {
  RadioInputs in;
  for (std::size_t n = 0; n < 2; ++n) {
    HostRecords::Receiver& rec = g_vars.rx[n];
    RadioInputs::Receiver& v = in.rx[n];
    const u32* id = kIds[n];
    v.flags = look(rec.flags, id[0]);
    v.to_from = look(rec.to_from, id[1]);
    v.gs_valid = look(rec.gs_valid, id[2]);
    v.dme_nm = look(rec.dme, id[3]);
    v.radial = look(rec.radial, id[4]);
    v.cdi = look(rec.cdi, id[5]);
    v.rmi = look(rec.rmi, id[6]);
  }
  in.gs_needle_1 = look(g_vars.gs_needle, 41);
  in.marker = look(g_vars.marker, 354);
  in.ground_fps = look(g_vars.ground_speed, 551);
  in.time_counter = look(g_vars.time_counter, 557);
  in.main_bus = frame::systems().electrical.main_bus;
  return in;
}

void define_system(frame::Module& m) {
  m.gauge("radio_sys").every_frame([] { radio_sys_step(g_radio, read_host()); });
}

// ISD_1 shows the captain's channel with receiver 1's power, ISD_2 the
// second pilot's with receiver 2's.
void define_indicator(frame::Module& m, int n) {
  GaugeDef& g = m.gauge(n == 0 ? "ISD_1" : "ISD_2");
  const auto i = static_cast<std::size_t>(n);
  DistanceIndicator& d = g_radio.isd[i];
  const NavReceiver& r = g_radio.rx[i];
  const int& lamp_test = frame::systems().lamp_test.flag;

  for (int k = 0; k < 4; ++k) {
    const auto digit = static_cast<std::size_t>(k);
    g.icon("digit_" + std::to_string(k), 11,
           [&d, &r, digit] { return r.powered == 1 ? d.digit[digit] : -1.0; });
  }
  // Unit lamps of the lamp pattern: the lamp test lights them too.
  g.icon("lamp_km", 1,
         [&d, &r, &lamp_test] { return frame::lamp_picture(r.powered, d.unit_lamp_km != 0, lamp_test); });
  g.icon("lamp_nm", 1,
         [&d, &r, &lamp_test] { return frame::lamp_picture(r.powered, d.unit_lamp_km == 0, lamp_test); });

  g.every_frame([&d, i] {
    const RsbnState& rsbn_state = rsbn();
    distance_indicator_step(d, g_radio.dme[i], g_radio.rx[0].unit_km, g_radio.rx[1].unit_km,
                            rsbn_state.no_range, rsbn_state.slant_range_m);
  });
}

}  // namespace

RadioState& radio() { return g_radio; }

void define_radio_sys(frame::Module& m) {
  define_system(m);
  define_indicator(m, 0);
  define_indicator(m, 1);
}

void define_receivers(frame::Module& m) {
  define_kursmp(m);
  define_radio_sys(m);
}

}  // namespace radio
