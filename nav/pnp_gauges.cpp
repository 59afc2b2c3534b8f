// The course indicators PNP_Left and PNP_right and the heading indicator
// USH-3. Each runs its whole logic in its gauge callback at service 6; the
// elements only return what the records hold.
#include <memory>
#include <string>
#include <vector>

#include "frame/builder.h"
#include "frame/host.h"
#include "frame/patterns.h"
#include "frame/state.h"
#include "nav/course_indicator.h"
#include "nav/diss.h"
#include "nav/nvu.h"
#include "nav/tks.h"
#include "radio/radio_sys.h"

namespace nav {

namespace {

using frame::Elem;
using frame::GaugeDef;
using frame::ModuleVar;
using frame::u32;

constinit CourseIndicator g_left{};
constinit CourseIndicator g_right{};
constinit Ush3State g_ush3{};
constinit AutopilotCourseValues g_autopilot{};

constexpr u32 kMagneticHeadingVar = 81;
constinit ModuleVar g_magnetic_heading{kMagneticHeadingVar, nullptr, 0, 0.0, 0.0};

double look(ModuleVar& v, u32 id) {
  v.id = id;
  frame::host().lookup_var(&v);
  return v.value;
}

// The navigation computer's values the indicators read (NVU_Sys's record).
NvuIndicatorValues nvu_values_for_indicators() {
  const NvuState& n = nvu();
  return NvuIndicatorValues{n.powered, n.counting, n.active_z, n.zpu_minus_heading};
}

PnpInputs inputs(bool right) {
  const frame::SystemsState& sys = frame::systems();
  const frame::Positions& p = sys.positions;
  const TksState& t = tks();
  const DissState& d = diss();
  const NavSensor& gps = nav_sensor().gps_n1;
  PnpInputs in;
  in.gyro_switch = right ? p.azs_ga2_vkl : p.azs_ga1_vkl;
  in.second_bus = sys.electrical.second_bus;
  in.main_bus = sys.electrical.main_bus;
  in.gyro_source = right ? p.azs_pnp_right_gmk : p.azs_pnp_left_gmk;
  in.gyro_heading = right ? t.ga2_heading : t.ga1_heading;
  in.magnetic_heading = right ? t.mk2_heading : t.mk1_heading;
  in.gyro_failed = right ? t.ga2_failed : t.ga1_failed;
  in.diss_memory = d.diss_memory;
  in.diss_drift = d.diss_drift;
  in.rx = radio::radio().rx;
  in.nvu = nvu_values_for_indicators();
  in.gps = GpsValues{p.azs_nav_i21_gps == 2 ? 1 : 0, gps.lateral_deviation, gps.track_difference};
  in.host_magnetic_heading = look(g_magnetic_heading, kMagneticHeadingVar);
  in.ap = g_autopilot;
  in.selected_track_error = selected_track_error(g_autopilot, g_left, g_right);
  in.zk_sel = p.key_pnp_zk_sel;
  in.other_zk_error = right ? g_left.zk_error : g_right.zk_error;
  in.distance_set = g_left.distance_set;
  return in;
}

double flag_picture(int flag) { return flag - 1.0; }

void define_indicator(frame::Module& m, bool right) {
  GaugeDef& g = m.gauge(right ? "PNP_right" : "PNP_Left");
  CourseIndicator& c = right ? g_right : g_left;
  const frame::Positions& pos = frame::systems().positions;

  g.lettering();
  frame::needle(g, "deviation_scale", "pointer - card, 0..360",
                [&c] { return pnp_readings(c).deviation_scale; });
  const Elem to = frame::needle(g, "to_triangle", "pointer - card - 90, 0..360",
                                [&c] { return pnp_readings(c).to_triangle; });
  const Elem from = frame::needle(g, "from_triangle", "pointer - card + 90, 0..360",
                                  [&c] { return pnp_readings(c).from_triangle; });
  g.sprite("lateral_bar", "shift lateral_bar within +-60, rotation pointer - card",
           [&c] { return pnp_readings(c).lateral_x; }, [] { return 0.0; },
           [&c] { return pnp_readings(c).lateral_rot; });
  Elem glide_bar = g.moving("glide_bar", "shift glide_bar within +-119", nullptr,
                             [&c] { return pnp_readings(c).glide_y; }, 0.0, kGlideBarLimit);
  g.set_moving_range(glide_bar, 0.0, 0.0, -kGlideBarLimit, kGlideBarLimit);
  g.icon("course_flag", 1, [&c] { return flag_picture(c.course_flag); });
  g.icon("glide_flag", 1, [&c] { return flag_picture(c.glide_flag); });
  g.sprite("card", "rotation: card, degrees (not wrapped)", [] { return 0.0; },
           [] { return 0.0; }, [&c] { return c.card; });
  frame::needle(g, "zk_marker", "set heading - card - 90, 0..360",
                [&c] { return pnp_readings(c).zk_marker_90; });
  frame::needle(g, "zk_marker_2", "set heading - card, 0..360",
                [&c] { return pnp_readings(c).zk_marker; });
  frame::needle(g, "zpu_pointer", "pointer - card - 90, 0..360",
                [&c] { return pnp_readings(c).zpu_pointer; });
  frame::needle(g, "drift_pointer", "drift within +-20, - 90",
                [&c] { return pnp_readings(c).drift; });
  frame::drums(g, "zpu_drum", 3, [&c] { return drum_number(c.zpu_drum); });
  frame::drums(g, "distance_drum", 3, [&c] { return drum_number(c.distance_drum); });
  if (right)
    g.icon("distance_flag", 1, [] { return 0.0; });
  else
    g.icon("landing_armed", 1, [] { return g_autopilot.landing_armed == 0 ? 0.0 : -1.0; });
  g.icon("zpu_flag", 1, [right, &pos] {
    return zpu_red_flag(right, g_autopilot, pos.azs_sau_stu) ? 0.0 : -1.0;
  });
  const struct {
    const char* label;
    std::int8_t a, b;
  } lamps[] = {{"lamp_sp", kModeIls, kModeIls},
               {"lamp_vor", kModeVor1, kModeVor2},
               {"lamp_nv", kModeNvu, kModeNvu},
               {"lamp_rsbn", kModeRsbn, kModeRsbn}};
  for (const auto& l : lamps)
    g.icon(l.label, 1, [&c, a = l.a, b = l.b] {
      return frame::lamp_picture(c.powered, c.mode == a || c.mode == b, 0);
    });
  g.icon("heading_flag", 1, [&c] { return flag_picture(c.heading_flag); });

  // Knobs. The set-heading knob works on the indicator Key_PNP_ZK_Sel
  // selects, while it is powered; the track knob while the autopilot has
  // power.
  frame::KnobOptions zk;
  zk.range = kZkKnob;
  zk.enabled = [&c, &pos, right] {
    return c.powered == 1 && pos.key_pnp_zk_sel == (right ? 1 : 0);
  };
  frame::knob(g, "zk_set", c.zk_set, std::move(zk));
  frame::KnobOptions zpu;
  zpu.range = kZpuKnob;
  zpu.enabled = [&pos] { return pos.azs_sau_stu == 1; };
  frame::knob(g, "zpu_set", c.zpu_set, std::move(zpu));

  if (!right) {
    g.begin_control();
    for (int dir : {-1, +1}) {
      frame::AreaOptions opt;
      opt.box = g.half(dir > 0);
      opt.cursor = dir > 0 ? frame::kCursorUp : frame::kCursorDown;
      opt.flags = frame::kMouseLeft | frame::kMouseRight | frame::kMouseRepeat;
      g.area(dir > 0 ? "distance_set_inc" : "distance_set_dec", opt,
             [&c, dir](u32 flags) { c.distance_set = distance_knob(c.distance_set, dir, flags); });
    }
    // The distance counter arms the autopilot's landing mode.
    g.begin_control();
    frame::AreaOptions arm;
    arm.cursor = frame::kCursorNone;
    g.area("landing_armed", arm, [](u32) {
      g_autopilot.landing_armed = g_autopilot.landing_armed != 0 ? 0 : 1;
    });
  } else {
    // Mode buttons along the lamp captions: SP, VOR (left half receiver 1,
    // right half receiver 2), NV, RSBN (none).
    const struct {
      int value;
      frame::i32 cursor;
    } buttons[] = {{4, frame::kCursorHand},
                   {2, frame::kCursorDown},
                   {3, frame::kCursorUp},
                   {1, frame::kCursorHand},
                   {0, frame::kCursorHand}};
    g.begin_control();
    int k = 0;
    for (const auto& b : buttons) {
      frame::AreaOptions opt;
      opt.box = g.strip(k++, 5);
      opt.cursor = b.cursor;
      g.area("mode_selector=" + std::to_string(b.value), opt,
             [&c, v = b.value](u32) { c.mode_selector = static_cast<std::int8_t>(v); });
    }
  }

  g.every_frame([&c, right, to, from] {
    course_indicator_step(c, right, inputs(right));
    to.hide(c.show_to == 0);
    from.hide(c.show_from == 0);
  });
}

void define_ush3(frame::Module& m) {
  GaugeDef& g = m.gauge("USH-3");
  Ush3State& s = g_ush3;
  frame::needle(g, "ga1_heading", "GA 1 heading - 90, 0..360",
                [&s] { return ush3_needles(s).ga1; });
  frame::needle(g, "track", "GA 1 heading + drift - 90, 0..360",
                [&s] { return ush3_needles(s).track; });
  frame::needle(g, "ga2_heading", "GA 2 heading - 90, 0..360",
                [&s] { return ush3_needles(s).ga2; });
  g.icon("mode_picture", 3,
         [&s] { return s.main_bus == 1 ? static_cast<double>(s.mode_picture) : -1.0; });

  // The digital readout: a panel and four headings, shown by a toggle worked
  // by a click on the dial.
  const Elem panel = g.icon("readout_on", 1, [] { return 0.0; });
  const struct {
    const char* label;
    double Ush3State::*value;
  } texts[] = {{"ga1_heading_text", &Ush3State::ga1_heading},
               {"ga2_heading_text", &Ush3State::ga2_heading},
               {"mk1_heading_text", &Ush3State::mk1_heading},
               {"mk2_heading_text", &Ush3State::mk2_heading}};
  auto readout = std::make_shared<std::vector<Elem>>();
  readout->push_back(panel);
  for (const auto& t : texts)
    readout->push_back(frame::text_display(g, t.label, 6, "%3.1f",
                                           [&s, v = t.value] { return s.*v; }));
  g.begin_control();
  frame::AreaOptions dial;
  dial.flags = frame::kMouseLeft | frame::kMouseRepeat;
  g.area("readout_on", dial, [&s](u32) { s.readout_on = s.readout_on != 0 ? 0 : 1; });

  g.every_frame([&s, readout] {
    const TksState& t = tks();
    const TksPanel& p = tks_panel();
    Ush3Inputs in;
    in.ga1_heading = t.ga1_heading;
    in.ga2_heading = t.ga2_heading;
    in.mk1_heading = t.mk1_heading;
    in.mk2_heading = t.mk2_heading;
    in.tks_mode = p.tks_mode;
    in.consumers_main = p.consumers_main;
    in.correction_main = p.correction_main;
    in.main_bus = frame::systems().electrical.main_bus;
    in.diss_memory = diss().diss_memory;
    in.diss_drift = diss().diss_drift;
    ush3_step(s, in);
    for (const Elem& e : *readout) e.hide(s.readout_on == 0);
  });
}

}  // namespace

CourseIndicator& pnp_left() { return g_left; }
CourseIndicator& pnp_right() { return g_right; }
Ush3State& ush3() { return g_ush3; }
AutopilotCourseValues& autopilot_course_values() { return g_autopilot; }

void define_course_indicators(frame::Module& m) {
  define_indicator(m, false);
  define_indicator(m, true);
  define_ush3(m);
}

}  // namespace nav
