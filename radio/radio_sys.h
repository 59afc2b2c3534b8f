// radio_sys, receiver half: once per frame it turns the simulator's radio
// variables into the receivers' state (localizer, TO/FROM, glide slope,
// DME, bearings, needles), the marker flags and the signals the autopilot
// takes, selects the distance of each crew station's DME1-RSBN-DME2 switch
// and smooths it. The distance indicators ISD_1 and ISD_2 show the result.
//
// The simulator's DME changes in coarse steps (0.1 nm); the smoothed
// distance moves at the rate of the last steps and corrects toward the raw
// value, and it stands still while simulated time does (a pause).
#pragma once

#include <array>
#include <cstdint>

#include "radio/nav_receiver.h"

namespace frame {
class Module;
}

namespace radio {

// One crew station's distance channel: the captain's feeds ISD_1, the
// second pilot's ISD_2.
struct DmeChannel {
  int selector = 0;         // 0 DME of receiver 1, 1 RSBN, 2 DME of receiver 2
  double raw_m = 0.0;       // selected raw distance
  int valid = 0;
  double smoothed_m = 0.0;  // displayed distance, never below 1 once smoothed
  double last_raw_m = 0.0;  // raw_m at its last change
  int frames = 1;           // frames since that change
  double rate = 0.0;        // metres per frame, +-5
  double correction = 0.0;  // metres per frame, +-550
};

inline constexpr double kDmeRateLimit = 5.0;
inline constexpr double kDmeCorrectionLimit = 550.0;
inline constexpr double kMetresPerNm = 1852.0;

// What a distance indicator shows.
struct DistanceIndicator {
  int blank = 1;
  int unit_lamp_km = 1;
  double shown = 0.0;             // metres, or thousandths of a NM (the unit toggle at 0)
  std::array<int, 4> digit{10, 10, 10, 10};  // tenths, units, tens, hundreds; 10 blank
};

inline constexpr int kBlankDigit = 10;

// State of radio_sys and the two distance indicators.
struct RadioState {
  std::array<NavReceiver, 2> rx{receiver_at_start(0), receiver_at_start(1)};
  int marker_outer = 0;  // marker flags (lamps on the annunciators)
  int marker_middle = 0;
  int marker_inner = 0;
  double ground_speed_kmh = 0.0;
  int sim_time_moving = 1;
  int loc_lamp_1 = 0;  // signals for the autopilot
  int vor_lamp_1 = 0;
  int vor_lamp_2 = 0;
  int gs_flag_1 = 0;   // the autopilot's glide-slope flag: receiver 1 gs_valid is 1
  std::array<DmeChannel, 2> dme{};  // [0] captain, [1] second pilot
  std::array<DistanceIndicator, 2> isd{};
  std::uint8_t time_frames = 0;  // frames since the last time check
  int time_last = 0;             // token 557 at the last check

  // KursMP_Select: three toggles that drive only their pictures.
  std::array<int, 3> select_toggle{};
};

// The simulator's radio variables of one frame, as the host gives them.
struct RadioInputs {
  struct Receiver {
    double flags = 0.0;      // back-course flags word (42 / 51)
    double to_from = 0.0;    // 43 / 52
    double gs_valid = 0.0;   // 44 / 53
    double dme_nm = -1.0;    // 31 / 35
    double radial = 0.0;     // 25 / 28, 65536 = 360 degrees
    double cdi = 0.0;        // 40 / 50
    double rmi = 0.0;        // 550 / 59
  };
  std::array<Receiver, 2> rx{};
  double gs_needle_1 = 0.0;  // 41
  double marker = 0.0;       // 354
  double ground_fps = 0.0;   // 551
  double time_counter = 0.0; // 557
  int main_bus = 1;
};

// The thirteen steps of radio_sys.
void radio_sys_step(RadioState& s, const RadioInputs& in);

// One frame of the smoothing of a channel whose raw_m and valid are set.
void dme_smooth(DmeChannel& c, double ground_speed_kmh, int sim_time_moving);

// The distance indicator of one channel: `unit_km_1` and `unit_km_2` are
// the receivers' unit toggles; `rsbn_no_range` and `rsbn_range_m` the
// short-range navigation's outputs.
void distance_indicator_step(DistanceIndicator& d, const DmeChannel& c, int unit_km_1,
                             int unit_km_2, int rsbn_no_range, double rsbn_range_m);

// Module-wide state and the gauges -------------------------------------------

RadioState& radio();

// KursMP_Pult_1/_2, KursMP_ZPU1/2, KursMP_Select (kursmp_gauges.cpp).
void define_kursmp(frame::Module& m);
// radio_sys, ISD_1, ISD_2 (radio_sys_gauges.cpp).
void define_radio_sys(frame::Module& m);
// Both.
void define_receivers(frame::Module& m);

}  // namespace radio
