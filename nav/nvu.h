// The navigation computer (NVU): dead reckoning in orthodromic leg
// coordinates on two counting channels.
//
// A leg's coordinates: S along the leg (metres, 0 at the leg's end point, so
// negative before it and growing toward it), Z across it (metres, positive
// right of the desired track) and the desired track angle ZPU (degrees,
// above 0 up to 360), measured from the heading reference in use: the course
// system's gyro unit, aligned and then free.
//
// The active channel integrates the aircraft's motion along the current leg.
// The other channel holds the next leg; within 80 km of the current leg's
// end it is brought to the aircraft's position in the next leg's frame, so
// that changing legs is an exchange of the active channel, automatic at the
// turn-anticipation distance or forced from the control panel. A beacon of
// the short-range navigation system corrects the active position; the wind
// is computed while the doppler works and replaces it in memory mode.
//
// NVU_Sys runs nvu_step at service 6 (nav/nvu_gauges.cpp); the panels of
// nav/nvu_panels.h set the values and show them. Everything here steps from
// explicit inputs, so it runs in unit tests without a host.
#pragma once

#include <cstdint>

#include "input/key_channels.h"

namespace nav {

// One counting channel: a leg and a position in that leg's coordinates.
struct NvuChannel {
  double zpu = 0.0;  // desired track angle, degrees
  double s = 0.0;    // metres
  double z = 0.0;    // metres
  // The auxiliary pair, in this channel's leg coordinates. On the active
  // channel the beacon pair (Sм, Zм): where the short-range beacon stands.
  // On the other channel the point pair (Sп, Zп): where the current leg's
  // end point lies in the next leg. The roles swap with the channels.
  double s_aux = 0.0;
  double z_aux = 0.0;
};

// State owned by NVU_Sys. Values restored from files and saved flights may
// be anything: `active` is read through nvu_active(), never as an index.
struct NvuState {
  NvuChannel channel[2]{};
  int active = 0;              // 0 channel 1 active, 1 channel 2
  int leg_switch_request = 0;  // exchange the channels at the next frame
  int leg_switched = 0;        // set at each exchange; cleared by the route editor
  int powered = 0;             // main bus x second bus x power switch
  int counting = 0;            // powered, and doppler working or air data valid
  int warn_armed = 0;          // the two stages of the leg-change warning
  int warn_on = 0;
  double s_prev = 0.0;          // active S of the previous frame
  double lur_distance = 0.0;    // turn-anticipation distance, metres
  double heading = 0.0;         // degrees, this frame
  double ground_speed = 0.0;    // km/h, this frame
  double drift = 0.0;           // degrees, this frame
  double track_error = 0.0;     // drift + heading - active ZPU, 0..360
  double tas_filtered = 0.0;    // smoothed true airspeed, km/h
  double wind_speed = 0.0;      // computed while the doppler works, km/h
  double wind_dir = 0.0;        // degrees, the direction the wind blows toward
  double mem_wind_speed = 0.0;  // the wind of memory mode (from the wind panel)
  double mem_wind_dir = 0.0;
  double calc_speed = 0.0;  // ground speed and drift computed in memory mode
  double calc_drift = 0.0;
  double dt = 0.0;       // real time of the frame, seconds
  int time_running = 1;  // 1 when the simulated time advanced since the last frame
  int correcting = 0;    // 1 while the radio correction acts
  double next_s = 0.0;   // the aircraft's position in the next leg's coordinates
  double next_z = 0.0;
  double zpu_minus_heading = 0.0;  // active ZPU - heading of the consumers' gyro unit

  // Copies of step 10, what the consumers read.
  double active_zpu = 0.0;
  double active_s = 0.0;
  double active_z = 0.0;
  double next_zpu = 0.0;
  double beacon_s = 0.0;  // the active channel's auxiliary pair
  double beacon_z = 0.0;
  double point_s = 0.0;  // the other channel's auxiliary pair
  double point_z = 0.0;

  // Kept from frame to frame.
  double sim_rate = 1.0;       // the last usable simulation rate
  double sim_time_prev = 0.0;  // variable 604 of the previous frame
};

// The control panel's positions as V-51 copies them each frame (one frame
// of lag), read by the computer and the additional counter.
struct NvuControls {
  int power_switch = 0;    // NVU power
  int count_switch = 0;    // СЧИСЛ: dead reckoning on
  int corr_switch = 0;     // КОРР: radio correction on
  int counter_select = 0;  // -4 Z, -3 S, -2 Zм, -1 Sм, 0 off, 1 Sп, 2 Zп, 3 S, 4 Z
  int lur_select = 0;      // p: -1 forced change, 0 off, 1..5 for 5..25 km
};

// One frame's inputs from the other systems and the host.
struct NvuInputs {
  NvuControls controls{};
  int main_bus = 1;  // the module's bus flags
  int second_bus = 1;
  double main_heading = 0.0;  // the course system's heading for the consumers, degrees
  double ga1_heading = 0.0;   // the two gyro headings
  double ga2_heading = 0.0;
  int consumers_main = 1;         // the course system's consumers switch: 1 GA 1, 0 GA 2
  double diss_speed = 0.0;        // doppler ground speed, km/h
  double diss_drift = 0.0;        // doppler drift angle, degrees
  int diss_memory = 1;            // 1 while the doppler is in memory mode
  int diss_test = 0;              // 1 while its selector is at test
  double tas = 0.0;               // air-data true airspeed, km/h
  int svs_valid = 0;              // air-data computer valid
  int svs_test = 0;               // air-data test running
  int rsbn_ready = 0;             // the short-range system may correct
  double rsbn_az = 0.0;           // bearing of the aircraft from the beacon, degrees true
  double rsbn_slant_range = 0.0;  // metres
  double map_angle = 0.0;         // map angle set on UgolKarty, degrees
  int ap_zero_speed = 0;          // the autopilot system zeroes the computed ground speed
  double sim_rate = 1.0;          // variable 336
  double frame_seconds = 0.0;     // the counter's interval since the last frame, s
  double sim_time = 0.0;          // variable 604, seconds
};

inline constexpr double kNvuRadPerDeg = 0.01745329237161969;
inline constexpr double kNvuDegPerRad = 57.3;  // the wind formulas' factor
inline constexpr double kKmhToMps = 0.2777777777777778;
inline constexpr double kNvuLongFrame = 1.0;      // s: a longer interval is a pause
inline constexpr double kNvuLongFrameDt = 0.055;  // s: what such an interval counts as
inline constexpr double kNvuMaxSimRate = 128.0;
inline constexpr double kNvuLurStep = 5000.0;        // m per anticipation step
inline constexpr double kNvuWarnDistance = 2000.0;   // m of warning before the change
inline constexpr double kNvuPrepareFrom = -80000.0;  // active S from which the next leg follows
inline constexpr double kNvuSnap = 500.0;            // m: a nearer target is taken at once
inline constexpr double kNvuPrepareStep = 300.0;     // m per frame
inline constexpr double kNvuCorrectStep = 150.0;     // m per frame
inline constexpr double kNvuTasGain = 0.005;         // of the error per frame
inline constexpr double kNvuCalmWind = 1.0;          // km/h: no direction below
inline constexpr double kNvuMinCalcSpeed = 72.0;     // km/h: a slower memory speed is 0

// The module's navigation computer.
NvuState& nvu();

// The active channel as 0 or 1, whatever `active` holds (1 is channel 2).
int nvu_active(const NvuState& s);
NvuChannel& nvu_active_channel(NvuState& s);
NvuChannel& nvu_other_channel(NvuState& s);
const NvuChannel& nvu_active_channel(const NvuState& s);
const NvuChannel& nvu_other_channel(const NvuState& s);

// 1 while the computer counts and its leg-change warning is on
// (PP_SOUND_SM_ORT).
int nvu_leg_warning(const NvuState& s);

// Key channel 53 on the panel's counting switch: in switch mode 0 a pressed
// button sets it to 1 (a released one changes nothing); in mode 1 the switch
// follows the button. An unassigned channel does nothing.
void nvu_key_channel(int& count_switch, const input::KeyChannelView& key);

// Seconds from counter reading `last` to `now` at `frequency` ticks per
// second; infinite for an unknown (zero or negative) frequency. Any two
// readings give a defined result (negative when the counter went back).
double nvu_interval_seconds(std::int64_t now, std::int64_t last, std::int64_t frequency);
// Step 6: the frame time an interval counts as. An interval above 1 s
// (pause, loading), a negative one or one that is not finite counts as
// 0.055 s.
double nvu_frame_dt(double interval_seconds);

// `value` moved toward `target` by `step` (metres), or onto it when within
// 500 m. A target that is not finite leaves the value; a value that is not
// finite takes the target.
double nvu_move_toward(double value, double target, double step);

// Step 11: the aircraft's position (s, z) on the active leg converted into
// the next leg's coordinates, given the two ZPUs and the point pair.
struct NvuPoint {
  double s = 0.0;
  double z = 0.0;
};
NvuPoint nvu_next_leg_position(double s, double z, double active_zpu, double next_zpu,
                               double point_s, double point_z);

// Step 9 on the active S with the selector at p: warning and automatic change.
void nvu_leg_change(NvuState& s, int p);

// Step 15's memory-mode ground speed (km/h) and drift (degrees) from the
// remembered wind (blowing toward `wind_dir`), the heading and the true
// airspeed; below 72 km/h both 0.
struct NvuSpeed {
  double speed = 0.0;
  double drift = 0.0;
};
NvuSpeed nvu_memory_speed(double wind_speed, double wind_dir, double heading, double tas);

// Step 15's wind while the doppler works: speed (km/h) and the direction it
// blows toward (degrees; 0 below 1 km/h), from the doppler's ground speed
// and drift, the heading and the true airspeed.
struct NvuWind {
  double speed = 0.0;
  double dir = 0.0;
};
NvuWind nvu_doppler_wind(double ground_speed, double drift, double heading, double tas);

// One service 6, steps 1 to 16 (the key channel acts on the panel before).
void nvu_step(NvuState& s, const NvuInputs& in);

}  // namespace nav
