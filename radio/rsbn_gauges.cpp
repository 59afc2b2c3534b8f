// The RSBN gauges: the invisible system gauge RSBN_SYS, the channel panel
// (RSBN_Pult and its second placement RSBN_Pult_2), the azimuth-range
// indicator RSBN_PPDA and the map-angle setter UgolKarty. The power and
// identification switches are breakers of the systems state
// (frame/positions.cpp); RSBN_SYS reads their positions every frame.
#include <cmath>
#include <cstdint>
#include <string>

#include "frame/builder.h"
#include "frame/host.h"
#include "frame/patterns.h"
#include "frame/state.h"
#include "radio/rsbn.h"

namespace radio {

namespace {

constinit RsbnState g_rsbn{};
constinit BeaconTable g_beacons{};
constinit PanelGate g_panel_gate{};

// Host values RSBN_SYS looks up every frame.
constexpr frame::u32 kTickVar = 1;
constexpr frame::u32 kLatVar = 71;
constexpr frame::u32 kLonVar = 72;
constexpr frame::u32 kAltVar = 73;
constexpr frame::u32 kBusVoltsVar = 753;

constinit frame::ModuleVar g_tick{kTickVar, nullptr, 0, 0.0, 0.0};
constinit frame::ModuleVar g_lat{kLatVar, nullptr, 0, 0.0, 0.0};
constinit frame::ModuleVar g_lon{kLonVar, nullptr, 0, 0.0, 0.0};
constinit frame::ModuleVar g_alt{kAltVar, nullptr, 0, 0.0, 0.0};
constinit frame::ModuleVar g_bus{kBusVoltsVar, nullptr, 0, 0.0, 0.0};

double look_up(frame::ModuleVar& v, frame::u32 id) {
  v.id = id;
  frame::host().lookup_var(&v);
  return v.value;
}

void rsbn_sys_frame() {
  const frame::Positions& p = frame::systems().positions;
  RsbnInputs in;
  in.bus_volts = look_up(g_bus, kBusVoltsVar);
  in.tick = look_up(g_tick, kTickVar);
  in.lat_deg = look_up(g_lat, kLatVar) * kLatUnitDeg;
  in.lon_deg = look_up(g_lon, kLonVar) * kLonUnitDeg;
  in.alt_m = look_up(g_alt, kAltVar);
  in.master_switch = p.azs_rsbn_vkl;
  in.ident_switch = p.azs_rsbn_opozn;
  rsbn_step(g_rsbn, g_beacons, in);
  if (g_rsbn.reload_file != 0) {
    load_beacon_file(g_beacons);
    g_rsbn.reload_file = 0;
  }
  rsbn_publish(g_rsbn);
}

void define_system(frame::Module& m) {
  frame::GaugeDef& g = m.gauge("RSBN_SYS");
  g.on(frame::kConnectWindow, [] { g_rsbn.reload_file = 1; });
  g.every_frame(rsbn_sys_frame);
}

// A needle reading that is always a number.
double shown(double v) { return std::isfinite(v) ? v : 0.0; }

void define_panel(frame::Module& m) {
  constexpr const char* kPlacements[2] = {"RSBN_Pult", "RSBN_Pult_2"};
  constexpr int kAreas = 7;
  for (int placement = 0; placement < 2; ++placement) {
    frame::GaugeDef& g = m.gauge(kPlacements[placement]);
    RsbnState& s = g_rsbn;
    frame::needle(g, "channel_tens", "tens knob pointer, degrees",
                  [&s] { return s.channel_tens * 30.0 - 150.0; });
    frame::needle(g, "channel_units", "units knob pointer, degrees",
                  [&s] { return s.channel_units * 30.0 + 120.0; });

    const struct {
      const char* field;
      std::uint8_t RsbnState::*digit;
      int max;
    } knobs[] = {{"channel_tens", &RsbnState::channel_tens, 4},
                 {"channel_units", &RsbnState::channel_units, 9}};
    int area = 0;
    for (const auto& k : knobs) {
      std::uint8_t& digit = s.*k.digit;
      const int max = k.max;
      for (int dir : {-1, +1}) {
        frame::AreaOptions opt;
        opt.box = g.strip(area++, kAreas);
        opt.cursor = dir > 0 ? frame::kCursorUp : frame::kCursorDown;
        opt.flags = frame::kMouseLeft | frame::kMouseRepeat;
        g.area(std::string(k.field) + (dir > 0 ? "_inc" : "_dec"), opt,
               [&digit, dir, max](frame::u32) { rsbn_channel_step(digit, dir, max); });
      }
    }

    const struct {
      const char* field;
      int RsbnState::*flag;
      RsbnTest which;
    } buttons[] = {{"test_az", &RsbnState::test_az, RsbnTest::kAzimuth},
                   {"test_az_fine", &RsbnState::test_az_fine, RsbnTest::kAzimuthFine},
                   {"test_range", &RsbnState::test_range, RsbnTest::kRange}};
    for (const auto& b : buttons) {
      const int& flag = s.*b.flag;
      g.icon(b.field, 2, [&flag] { return flag != 0 ? 1.0 : 0.0; });
      frame::AreaOptions opt;
      opt.box = g.strip(area++, kAreas);
      opt.flags = frame::kMouseLeft | frame::kMouseRepeat;
      g.area(b.field, opt, [&s, which = b.which](frame::u32) { rsbn_press_test(s, which); });
    }

    g.every_frame([&s, placement] {
      if (panel_gate_turn(g_panel_gate, placement)) rsbn_panel_frame(s);
    });
  }
}

void define_indicator(frame::Module& m) {
  frame::GaugeDef& g = m.gauge("RSBN_PPDA");
  const RsbnState& s = g_rsbn;
  frame::needle(g, "az", "azimuth needle: azimuth - 90 degrees",
                [&s] { return shown(ppda_readings(s).az_coarse); });
  frame::needle(g, "az_fine", "fine azimuth needle, one turn per 10 degrees",
                [&s] { return shown(ppda_readings(s).az_fine); });
  frame::drums(g, "slant_range_m", 4, [&s] { return ppda_drum_number(ppda_readings(s)); });
}

void define_map_angle(frame::Module& m) {
  frame::GaugeDef& g = m.gauge("UgolKarty");
  double& angle = g_rsbn.map_angle_deg;
  frame::needle(g, "map_angle_deg", "map angle, degrees", [&angle] { return shown(angle); });
  frame::needle(g, "map_angle_deg_fine", "map angle x 36 (one turn per 10 degrees)",
                [&angle] { return shown(angle * 36.0); });
  frame::KnobOptions opt;
  opt.range = frame::KnobRange{0.1, 5.0, 0.0, 360.0, true};
  frame::knob(g, "map_angle_deg", angle, opt);
}

}  // namespace

RsbnState& rsbn() { return g_rsbn; }
BeaconTable& rsbn_beacons() { return g_beacons; }
PanelGate& rsbn_panel_gate() { return g_panel_gate; }

void define_rsbn(frame::Module& m) {
  define_system(m);
  define_panel(m);
  define_indicator(m);
  define_map_angle(m);
}

}  // namespace radio
