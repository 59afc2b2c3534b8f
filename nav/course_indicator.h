// The course indicators (PNP): PNP_Left for the captain and PNP_right for
// the second pilot, and the navigator's heading indicator USH-3.
//
// A course indicator turns its card to the heading of one gyro unit or one
// magnetic channel of the course system, shows the set heading (ZK) and the
// desired track (ZPU) each with its own knob, a lateral and a glide-slope
// bar from the navigation source its mode selects (receivers, navigation
// computer, outside GPS), the doppler's drift, three flags, four mode lamps
// and two counters. The heading-select error `zk_error` and the track error
// `zpu_error` are the autopilot's inputs.
//
// The two are one design; the right differs in its power switch and
// heading source, its modes (from its own mode buttons, not the autopilot),
// its glide bar's breaker condition, its unpowered pointer and the direction
// in which the set heading follows the other indicator (Key_PNP_ZK_Sel).
// Everything here steps from explicit inputs; nav/pnp_gauges.cpp adapts it
// to the gauges.
#pragma once

#include <array>
#include <cstdint>

#include "frame/patterns.h"
#include "radio/nav_receiver.h"

namespace nav {

// Navigation sources of `mode`.
enum PnpMode : std::int8_t {
  kModeIls = 0,
  kModeVor1 = 1,
  kModeVor2 = 2,
  kModeNvu = 3,
  kModeRsbn = 4,
  kModeNone = 5,
};

struct CourseIndicator {
  int powered = 0;             // gyro switch x second bus x main bus, exactly 1
  double card_target = 0.0;    // heading that drives the card, degrees
  double card = 0.0;           // card as shown; follows the target, never wrapped
  double pointer_target = 0.0; // desired-track pointer
  double pointer = 0.0;
  double zk_set = 0.0;         // set heading, 0..360
  double zpu_set = 0.0;        // set track angle, 0..360
  double zk_error = 0.0;       // card - zk_set, +-180: the autopilot's heading-select error
  double zpu_error = 0.0;      // card_target - zpu_set, +-180: its track error
  std::int8_t mode = kModeNone;
  double lateral_bar = 0.0;    // display units
  double glide_bar = 0.0;
  int course_flag = 0;         // flag K, shown while 1
  int glide_flag = 0;          // flag G
  int heading_flag = 0;        // flag KS (heading system failed)
  double drift_pointer = 0.0;  // doppler drift, degrees
  std::array<int, 3> zpu_drum{};       // lowest first, 100 per digit
  std::array<int, 3> distance_drum{};
  std::int8_t mode_selector = 0;  // right only: its mode buttons, 0..4
  int distance_set = 5;           // left only: the distance knob, 0..999, shown on both

  // What the gauge callback leaves for the elements.
  int show_to = 0;             // TO and FROM triangles
  int show_from = 0;
  double zk_marker = 0.0;      // set heading relative to the card, kept while unpowered
};

// The autopilot's values the indicators read. The autopilot owns this
// record when it is built; until then it holds their start values, and
// the left indicator's landing-arm area writes `landing_armed` here.
struct AutopilotCourseValues {
  int approach_armed = 0;
  int landing_armed = 0;
  int lat_mode = 0;       // 4: NVU
  int course_source = 0;  // whose track error the autopilot flies: 0 left, 2 right
};

// The navigation computer's values the indicators read.
struct NvuIndicatorValues {
  int powered = 0;
  int counting = 0;
  double active_z = 0.0;           // metres, positive right of the desired track
  double zpu_minus_heading = 0.0;  // degrees
};

// The outside GPS sensor, with AZS_NAV_I21_GPS at 2.
struct GpsValues {
  int selected = 0;           // AZS_NAV_I21_GPS is 2
  double lateral_deviation = 0.0;  // GPS_N1_LBU (x 1.852 gives metres)
  double track_difference = 0.0;   // GPS_N1_PU_DELTA, degrees
};

// One frame's inputs of an indicator.
struct PnpInputs {
  int gyro_switch = 0;           // AZS_GA1_VKL (left), AZS_GA2_VKL (right)
  int second_bus = 1;
  int main_bus = 1;
  int gyro_source = 0;           // AZS_PNP_Left_GMK / _Right_GMK: 1 gyro, 0 magnetic
  double gyro_heading = 0.0;     // GA 1 (left) or GA 2 (right)
  double magnetic_heading = 0.0; // MK 1 or MK 2
  int gyro_failed = 0;           // ga1_failed or ga2_failed
  int diss_memory = 1;
  double diss_drift = 0.0;
  std::array<radio::NavReceiver, 2> rx{};
  NvuIndicatorValues nvu{};
  GpsValues gps{};
  double host_magnetic_heading = 0.0;  // module variable 81
  AutopilotCourseValues ap{};
  double selected_track_error = 0.0;   // see selected_track_error()
  int zk_sel = 0;                      // Key_PNP_ZK_Sel: 0 left, 1 right selected
  double other_zk_error = 0.0;         // the other indicator's zk_error
  int distance_set = 5;                // the left indicator's distance knob
};

inline constexpr double kSlewStep = 2.5;   // degrees per frame
inline constexpr double kSnapWithin = 4.0; // degrees
inline constexpr double kCdiToBar = 0.51;
inline constexpr double kNvuZToBar = -0.005;              // per metre
inline constexpr double kGpsToBar = -0.009260000000000001;  // -0.005 x 1.852
inline constexpr double kLateralBarLimit = 60.0;
inline constexpr double kGlideBarLimit = 119.0;

// The track error the autopilot flies: the zpu_error of the indicator that
// course_source picks (left at 0, right at 2), otherwise 0.
double selected_track_error(const AutopilotCourseValues& ap, const CourseIndicator& left,
                            const CourseIndicator& right);

// The right indicator's mode for its mode_selector: 0 none, 1 NVU, 2 VOR 1,
// 3 VOR 2, 4 ILS; anything else none.
std::int8_t right_mode(int mode_selector);

// `value` moved toward `target` by 2.5 x powered degrees, or onto it within
// 4 degrees (the shorter way round).
double slew(double value, double target, int powered);

// Service 6 of the left (right = false) or right indicator.
void course_indicator_step(CourseIndicator& c, bool right, const PnpInputs& in);

// Knobs ----------------------------------------------------------------------

// Set heading and set track: left button 0.5 / 1, right 3 / 5 degrees,
// wrapped into 0..360.
inline constexpr frame::KnobRange kZkKnob{0.5, 3.0, 0.0, 360.0, true};
inline constexpr frame::KnobRange kZpuKnob{1.0, 5.0, 0.0, 360.0, true};
// The distance knob: +1 below 999, +10 below 989, -1 above 0, -10 above 9;
// otherwise unchanged.
int distance_knob(int distance_set, int dir, std::uint32_t flags);

// Element values ------------------------------------------------------------------

struct PnpReadings {
  double deviation_scale = 0.0;  // pointer - card, 0..360
  double to_triangle = 0.0;
  double from_triangle = 0.0;
  double lateral_x = 0.0;        // lateral bar, +-60
  double lateral_rot = 0.0;
  double glide_y = 0.0;          // glide bar, +-119
  double zk_marker = 0.0;        // the two marker needles
  double zk_marker_90 = 0.0;
  double zpu_pointer = 0.0;
  double drift = 0.0;
};
PnpReadings pnp_readings(const CourseIndicator& c);

// The number a drum counter of three drums shows for its drum values.
double drum_number(const std::array<int, 3>& drums);

// Red flag over the ZPU counter: hidden while the autopilot is not in NVU
// mode, does not fly the other indicator's track and has power.
bool zpu_red_flag(bool right, const AutopilotCourseValues& ap, int sau_stu);

// USH-3 -----------------------------------------------------------------------

struct Ush3State {
  double ga1_heading = 0.0;
  double ga2_heading = 0.0;
  double mk1_heading = 0.0;
  double mk2_heading = 0.0;
  int tks_mode = 0;
  int main_bus = 0;
  double drift = 0.0;
  int mode_picture = 1;  // 0 MK, 1 GPK, 2 AK
  int readout_on = 0;    // the digital readout toggle
};

struct Ush3Inputs {
  double ga1_heading = 0.0;
  double ga2_heading = 0.0;
  double mk1_heading = 0.0;
  double mk2_heading = 0.0;
  int tks_mode = 0;
  int consumers_main = 1;
  int correction_main = 0;
  int main_bus = 1;
  int diss_memory = 1;
  double diss_drift = 0.0;
};

void ush3_step(Ush3State& s, const Ush3Inputs& in);

// Needle values: GA 1, track (GA 1 + drift), GA 2, each - 90 and wrapped.
struct Ush3Needles {
  double ga1 = 0.0;
  double track = 0.0;
  double ga2 = 0.0;
};
Ush3Needles ush3_needles(const Ush3State& s);

// Module-wide records and the gauges ----------------------------------------------

CourseIndicator& pnp_left();
CourseIndicator& pnp_right();
Ush3State& ush3();
AutopilotCourseValues& autopilot_course_values();

// PNP_Left, PNP_right and USH-3.
void define_course_indicators(frame::Module& m);

}  // namespace nav
