#include "nav/sensor_gauges.h"

#include <memory>
#include <string>

#include "frame/builder.h"
#include "frame/host.h"
#include "frame/names.h"
#include "frame/patterns.h"
#include "frame/state.h"
#include "nav/diss.h"
#include "nav/svs.h"
#include "nav/usvp.h"

namespace nav {

namespace {

using frame::ModuleVar;

constinit ModuleVar g_ground_speed{551, nullptr, 0, 0.0, 0.0};  // 0x227, ft/s
constinit ModuleVar g_second_speed{552, nullptr, 0, 0.0, 0.0};  // 0x228, ft/s
constinit ModuleVar g_north_speed{554, nullptr, 0, 0.0, 0.0};   // 0x22A, ft/s
constinit ModuleVar g_east_speed{555, nullptr, 0, 0.0, 0.0};    // 0x22B, ft/s
constinit ModuleVar g_pitch{77, nullptr, 0, 0.0, 0.0};          // 0x4D, degrees
constinit ModuleVar g_bank{79, nullptr, 0, 0.0, 0.0};           // 0x4F, degrees
constinit ModuleVar g_true_heading{86, nullptr, 0, 0.0, 0.0};   // 0x56, degrees
constinit ModuleVar g_mach{64, nullptr, 0, 0.0, 0.0};           // 0x40, 1/20480
constinit ModuleVar g_oat{341, nullptr, 0, 0.0, 0.0};           // 0x155, Celsius

double look(ModuleVar& v) {
  frame::host().lookup_var(&v);
  return v.value;
}

DissInputs read_diss_inputs() {
  DissInputs in;
  in.ground_speed_fps = look(g_ground_speed);
  in.second_speed_fps = look(g_second_speed);
  in.north_fps = look(g_north_speed);
  in.east_fps = look(g_east_speed);
  in.pitch_deg = look(g_pitch);
  in.bank_deg = look(g_bank);
  in.true_heading_deg = look(g_true_heading);
  return in;
}

void define_doppler(frame::Module& m) {
  frame::GaugeDef& g = m.gauge("AZS_DISS_PIT");
  DissState& s = diss();
  auto names = std::make_shared<frame::NameOwner>(std::initializer_list<frame::OwnedName>{
      frame::owned_double("PP_DISS_SKOR", s.pp_diss_skor),
      frame::owned_double("PP_DISS_SNOS", s.pp_diss_snos),
      frame::owned_flag("PP_DISS_PAM", s.pp_diss_pam),
  });
  g.on(frame::kPreInstall, [names] { names->register_all(); });
  g.every_frame([&s] {
    s.diss_mode = frame::systems().positions.azs_diss_rezim;
    diss_step(s, read_diss_inputs());
  });
  g.on(frame::kPreKill, [names] { names->unregister_all(); });
}

void define_air_data(frame::Module& m) {
  frame::GaugeDef& g = m.gauge("SVS_Control");
  SvsState& s = svs();
  g.area("svs_test_frames", frame::AreaOptions{}, [&s](frame::u32) { svs_start_test(s); });
  g.every_frame([&s] { svs_step(s, SvsInputs{look(g_mach), look(g_oat)}); });
}

void define_speed_indicator(frame::Module& m) {
  frame::GaugeDef& g = m.gauge("USVP");
  UsvpState& s = usvp();
  g.tooltip("USVP Mode (%1!s!)",
            {frame::TooltipArgSpec{{}, [&s] { return std::string(usvp_mode_name(s.usvp_mode)); }}});
  frame::toggle(g, "usvp_mode", s.usvp_mode);
  frame::needle(g, "needle", "speed shown, degrees: km/h x 0.36 - 90", [&s] { return s.needle; });
  g.every_frame([&s] { usvp_step(s, diss(), svs()); });
}

}  // namespace

void define_nav_sensors(frame::Module& m) {
  define_doppler(m);
  define_air_data(m);
  define_speed_indicator(m);
}

}  // namespace nav
