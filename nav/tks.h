// The course system (TKS): the airliner's heading reference.
//
// Two gyro units (GA 1 "main", GA 2 "control") keep the heading of a free
// platform that drifts with latitude, meridian convergence and a small random
// rate, and read it through a gimbal error when the aircraft banks. Two
// magnetic channels (MK 1, MK 2) add a correction to each gyro heading and
// converge it on the induction compass, whose sensor tilts with bank and
// acceleration. The crew aligns the gyros with the course-setting knob, by
// slewing toward the compass (mode -1) or the astro-compass (mode +1), or
// lets the magnetic channels converge in mode 0.
//
// TKS_sys runs the system at service 6; TKS_Pult, KM5_1, KM5_2 and the six
// breakers are its controls. Everything here steps from explicit inputs, so
// it runs in unit tests without a host; nav/tks_gauges.cpp adapts it to the
// gauges.
#pragma once

#include <cstdint>

namespace frame {
class Module;
}

namespace nav {

// State owned by TKS_sys. Angles in degrees.
struct TksState {
  double ga1_platform = 0.0;      // gyro platform headings, 0..360 (drawn at service 14)
  double ga2_platform = 0.0;
  double ga1_offset = 0.0;        // platform minus the aircraft's true heading
  double ga2_offset = 0.0;
  double ga1_heading = 0.0;       // indicated heading: platform plus gimbal error
  double ga2_heading = 0.0;
  double mk1_correction = 0.0;    // added to the gyro heading to form a magnetic channel
  double mk2_correction = 0.0;
  double mk1_heading = 0.0;       // magnetic channels, 0..360
  double mk2_heading = 0.0;
  double main_heading = 0.0;      // the gyro unit selected for the consumers
  double ga1_random_drift = 0.0;  // degrees per 6 s (drawn at service 14)
  double ga2_random_drift = 0.0;
  double ga1_lon_ref = 0.0;       // longitude of the last meridian-convergence step
  double ga2_lon_ref = 0.0;
  int ga1_powered = 0;            // switch x second bus x main bus
  int ga2_powered = 0;
  int ga1_failed = 0;             // 1 while unpowered
  int ga2_failed = 0;
  int ga1_bank_limit = 0;         // 1 while the stabilised bank is clipped at 40
  int ga2_bank_limit = 0;
  double compass_raw = 0.0;       // compass sensor heading of this frame
  double compass_filtered = 0.0;  // its smoothed value (not wrapped)
  double accel = 0.0;             // smoothed longitudinal acceleration, m/s2, +-10
  double accel_tilt = 0.0;        // pendulum tilt it causes, degrees
  double magnetic_dip = 0.0;      // dip of the earth's field at the aircraft
  double corr_error = 0.0;        // heading error of the slewed gyro, +-180
  int corr_sign = 0;              // its sign, +1 or -1, unchanged at 0
  int drift_phase = 0;            // the 6-second drift scheduler
  int drift_latch = 0;
  double vk90 = 1.0;              // correction enable (PP_ABSU_VK_90 while bound)

  // Inputs taken at the start of service 6 (outside names or their fallbacks).
  int bus27 = 1;                  // course system's main-bus flag
  int bus36 = 1;                  // course system's second-bus flag
  double declination_1 = 0.0;     // declination used by channel 1 and 2
  double declination_2 = 0.0;
  double astro_heading = 0.0;     // target of mode +1
  double auto_latitude = 0.0;     // latitude used when lat_manual is 0
  double latitude_used = 0.0;     // the latitude the gyro drift corrects for

  // Working values the steps keep from frame to frame.
  int mk1_sign = 0;               // signs of the magnetic-channel errors, unchanged at 0
  int mk2_sign = 0;
  double last_tick = 0.0;         // tick count of the previous frame (compass smoothing)
  int accel_primed = 0;           // 1 once a first speed and time were taken
  double accel_speed_prev = 0.0;  // speed (variable 551 x 0.911) and simulated time of the
  double accel_time_prev = 0.0;   // last acceleration sample
  double magnetic_variation = 0.0;  // module variable 82, for the KM-5 readout
  double km5_input_1 = 0.0;       // declinations copied by KM5_1 and KM5_2 every frame
  double km5_input_2 = 0.0;
};

// Panel and breaker positions of the course system, each owned by its gauge.
struct TksPanel {
  double lat_knob = 52.0;          // TKS_Pult latitude knob, -90..90 in steps of 1
  int lat_manual = 1;              // 1 the knob's latitude, 0 the auto latitude
  std::int8_t tks_mode = 0;        // -1 MK, 0 GPK (free gyro), +1 AK
  int consumers_main = 1;          // consumers get GA 1 (1) or GA 2 (0)
  int correction_main = 0;         // correction and course knob act on GA 1 (1) or GA 2 (0)
  std::uint8_t align_rate = 0;     // 120 while the alignment button is held, else 1
  std::uint16_t align_frames = 0;  // 18 after each press, counted down every frame
  std::int8_t course_knob_dir = 0; // +1 or -1 for 12 frames after a course-knob click
  int course_knob_frames = 0;      // frames left of course_knob_dir
  int lat_readout_frames = 0;      // pop-up counter of the latitude readout

  // Flags the breaker gauges copy their positions into every frame.
  int ga1_switch = 0;              // AZS_GA1_VKL, AZS_GA2_VKL: unit power
  int ga2_switch = 0;
  int stab1_switch = 0;            // AZS_Arret_GA_1, AZS_Arret_GA_2: bank stabilisation
  int stab2_switch = 0;
  int bgmk1_switch = 0;            // AZS_Korr_BGMK_1, AZS_Korr_BGMK_2: magnetic correction
  int bgmk2_switch = 0;

  // The correction mechanisms KM5_1 and KM5_2.
  double km5_declination_1 = 0.0;  // declination knobs, -175..175
  double km5_declination_2 = 0.0;
  int km5_power_1 = 0;             // power toggles
  int km5_power_2 = 0;
  int km5_display_1 = 0;           // second-display toggles (magnetic variation)
  int km5_display_2 = 0;
  double km5_needle_1 = -90.0;     // compass needles, frozen while their channel is unpowered
  double km5_needle_2 = -90.0;
};

// Copies made at the start of TKS_sys's service 6, before the heading update:
// what the registered names and the other gauges read, one frame behind.
struct TksPublished {
  double ga1_heading = 0.0;        // PP_TKS_GA_1_KURS
  double ga2_heading = 0.0;        // PP_TKS_GA_2_KURS
  double mk1_heading = 0.0;        // PP_TKS_MK_1_KURS
  double mk2_heading = 0.0;        // PP_TKS_MK_2_KURS
  double main_heading = 0.0;       // PP_TKS_GPK_KURS
  int ga1_failed = 0;              // PP_TKS_GA_1_OTKAZ
  int ga2_failed = 0;              // PP_TKS_GA_2_OTKAZ
  int tks_mode = 0;                // PP_TKS_REZIM
  // Values of other systems that the course system republishes.
  double nvu_zpu = 0.0;            // PP_NVU_ZPU
  double nvu_snos = 0.0;           // PP_NVU_SNOS
  int sound_gear = 0;              // PP_SOUND_GEAR
  int sound_ne_gotov = 0;          // PP_SOUND_NE_GOTOV
  int sound_sm_ort = 0;            // PP_SOUND_SM_ORT
  double vpr_out = 200.0;          // PP_VPR_OUT
};

// One outside navigation sensor (I-21 N1, I-21 N2 or GPS N1).
struct NavSensor {
  int ready = 0;                     // _GOT
  double lateral_deviation = 0.0;    // _LBU
  double deviation_difference = 0.0; // _LBU_DIF
  double track_difference = 0.0;     // _PU_DELTA
};

// Local copies of the three sensors and the one selected for the autopilot.
struct NavSensorValues {
  NavSensor i21_n1{};
  NavSensor i21_n2{};
  NavSensor gps_n1{};
  NavSensor selected{};
};

// Values of other systems that TKS_sys republishes. Each reads its owner's
// start value until the owner exists (see foreign_values in tks_gauges.cpp).
struct TksForeign {
  double nvu_zpu = 0.0;               // navigation computer: desired track of the active leg
  double nvu_z = 0.0;                 // navigation computer: cross-track Z of the active leg, m
  int gear_lever = 1;                 // GearKran lever picture (0 up, 1 neutral, 2 down)
  int ap_not_ready = 0;               // autopilot's not-ready flag
  int nvu_leg_warning = 0;            // navigation computer: counting x warn_on
  double rv1_decision_height = 200.0; // radio altimeter 1 decision height, m
};

// Banks the gimbal error needs, from the autopilot system: the left and right
// attitude directors (stabilised banks of GA 1 and GA 2) and the vertical gyro.
struct GimbalBanks {
  double left_director = 0.0;
  double right_director = 0.0;
  double vertical_gyro = 0.0;
};

// Host values as the module variables give them.
struct TksRawHost {
  double latitude = 0.0;          // 71, 360/40007000 degree units
  double longitude = 0.0;         // 72, 360/2^48 degree units
  double bank = 0.0;              // 79, degrees
  double magnetic_heading = 0.0;  // 81
  double magnetic_variation = 0.0;// 82
  double true_heading = 0.0;      // 86
  double sim_rate = 1.0;          // 336
  double clock_seconds = 0.0;     // 5
  double tick = 0.0;              // 1, 18 Hz tick count
  double ground_speed = 0.0;      // 551, feet per second
  double sim_time = 0.0;          // 604, seconds
};

// The same in degrees and checked: a value that is not finite leaves the
// previous one in force.
struct TksHostValues {
  double latitude = 0.0;          // degrees
  double longitude = 0.0;         // degrees
  double bank = 0.0;              // degrees, -180..180
  double magnetic_heading = 0.0;
  double magnetic_variation = 0.0;
  double true_heading = 0.0;
  double sim_rate = 1.0;          // 0..128
  double clock_seconds = 0.0;
  double tick = 0.0;
  double ground_speed = 0.0;      // feet per second
  double sim_time = 0.0;
};

inline constexpr double kLatitudeUnit = 8.998425275576774e-06;    // 360 / 40007000
inline constexpr double kLongitudeUnit = 1.2789769243681803e-12;  // 360 / 2^48
inline constexpr double kMaxSimRate = 128.0;

// Folds the raw host values into `h`.
void take_host_values(TksHostValues& h, const TksRawHost& raw);

// Inputs of one frame of the heading update.
struct TksInputs {
  TksHostValues host{};
  int main_bus = 1;    // the module's bus flags (compass smoothing, KM-5 needles)
  int second_bus = 1;
  GimbalBanks banks{};
};

// Service 14: the initial errors from the tick count t. The remainders of t
// by 359, 319, 131 and 84 place the platforms and the magnetic corrections,
// those by 9 and 17 the random drifts; both longitude references start at
// the current longitude. Deterministic: the same tick gives the same gyros.
void tks_seed(TksState& s, double tick, double longitude);

// Step 3: the copies for other gauges and the registered names, made from
// the previous frame's headings.
void tks_publish(TksPublished& out, TksState& s, const TksPanel& p, const TksForeign& f);

// Step 2's selection: GPS N1 with AZS_NAV_I21_GPS at 2, else I-21 N1 with
// AZS_I21_N1 at 1 and I-21 N2 at 0.
void select_sensor(NavSensorValues& v, int nav_i21_gps, int i21_n1);

// Steps 4 to 19 of service 6: gyro power and platforms, gimbal error, drift,
// slewing, magnetic channels, compass sensor and acceleration, failure flags.
// The step-1 inputs (bus27, bus36, declinations, vk90, astro heading, auto
// latitude) are set in `s` before.
void tks_step(TksState& s, const TksPanel& p, const TksInputs& in);

// Parts of the step, for their own tests ------------------------------------

// Gimbal error of a platform heading p (0..360) under a bank difference g.
double gimbal_error(double platform, double bank_difference);

// Step 9: true on the frame the 6-second drift applies.
bool drift_due(TksState& s, double clock_seconds);

// Compass sensor heading (0..360) for a magnetic heading, bank and pendulum
// tilt at a latitude; also returns the dip through `dip`.
double compass_sensor(double magnetic_heading, double bank, double tilt, double latitude,
                      double* dip);

// Offset reduced by 360 while above 360 (an unpowered gyro's offset).
double reduce_above_360(double deg);

// TKS_Pult ---------------------------------------------------------------

inline constexpr int kAlignFrames = 18;
inline constexpr std::uint8_t kAlignRate = 120;
inline constexpr int kLatReadoutFrames = 90;
inline constexpr int kCourseKnobFrames = 12;

// A press (or a held repeat) of the alignment button.
void align_press(TksPanel& p);
// The panel's frame: counts the alignment and course-knob counters down; the
// alignment rate is 1 whenever align_frames is 0.
void tks_pult_frame(TksPanel& p);
// A click on the course-setting knob (dir +1 increase side, -1 decrease):
// in mode 0 moves the offset of the unit correction_main selects, by 0.1
// (left) or 1.5 (right) degrees; in every mode starts the knob's picture.
void course_knob_click(TksPanel& p, TksState& s, int dir, std::uint32_t flags);

// KM5 ----------------------------------------------------------------------

// A click on a KM-5 power toggle: switching off also clears the display toggle.
void km5_power_click(int& power, int& display);
// The display toggle acts only while the unit is powered.
void km5_display_click(int& display, int powered);

// The module's records.
TksState& tks();
TksPanel& tks_panel();
TksPublished& tks_published();
NavSensorValues& nav_sensor();

// TKS_sys, TKS_Pult, KM5_1, KM5_2. Declared after the systems state, so that
// TKS_sys recomputes the bus flags before its own work.
void define_tks(frame::Module& m);

}  // namespace nav
