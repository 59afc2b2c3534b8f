// The two radio altimeters (RV_5M_1 and RV_5M_2): one record per unit and the
// steps that run it, built from one definition with per-unit differences.
//
// Each unit measures the height above ground from 0 to 850 m, has a
// decision-height setting with its lamp and beeper, a warm-up after power-on,
// an automatic zero on the ground and a failure flag. Unit 1 also feeds the
// autopilot: radio altitude, valid flag and the below-decision-height flag.
//
// Readers elsewhere use the records through `radio_altimeters()`; the course
// system publishes `radio_altimeters().rv1.decision_height` as PP_VPR_OUT.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/gauge.h"

namespace frame {
class Module;
}

namespace autopilot {

// Beeper of the decision height: steps on the 18 Hz tick while the aircraft
// is below the decision height.
struct RadioAltimeterBeeper {
  int phase = 0;        // 0 or 2: which tick of four the next step waits for
  int cycles_left = 0;  // tone steps left in this descent below the setting
  int on = 0;           // 1 until the cycles are used up
  int tone = 0;         // 1 while the tone sounds (drives the sound system)
  int second_next = 0;  // 1 when the next step is of the second kind
};

struct RadioAltimeter {
  int power = 0;                   // breaker position (AZS_RV_5M_1 / _2)
  double decision_height = 200.0;  // metres, set by the knob
  double zero_offset = 1.5;        // metres, taken on the ground
  double zero_reference = 0.0;     // the raw height, or the unit's low reference below 10 m
  double measured_height = 0.0;    // metres, 0..850: what the needle shows
  int warmup_offset = 4000;        // metres added until the unit is warm
  std::int8_t zero_countdown = 5;  // ground frames left to take the zero
  int below_dh = 0;                // powered and below the decision height
  int failure = 1;                 // failure flag shown on the dial
  int valid = 0;                   // 1 - failure
  RadioAltimeterBeeper beeper{};
  double pressure_altitude = 0.0;  // metres, from the static pressure
  int lamp_lit = 0;                // decision-height lamp (copied for the virtual cockpit)

  // Autopilot outputs (unit 1 only; unit 2 leaves them at their start).
  double ap_radio_altitude = 0.0;  // measured height when valid, else 3000
  int ap_valid = 0;
  int ap_below_dh = 0;  // valid x below the decision height
};

struct RadioAltimeters {
  RadioAltimeter rv1{};
  RadioAltimeter rv2{};
};

// The module's two radio altimeters.
RadioAltimeters& radio_altimeters();

// What distinguishes the two units.
struct RadioAltimeterUnit {
  double low_zero_reference;  // zero reference used while the raw height is below 10 m
  bool feeds_autopilot;
};
inline constexpr RadioAltimeterUnit kRv1Unit{2.5, true};
inline constexpr RadioAltimeterUnit kRv2Unit{1.5, false};

// Host values a unit reads at service 6.
struct RadioAltimeterInputs {
  double raw_height = 0.0;       // module variable 614, metres
  double bank_deg = 0.0;         // 79, any range (normalised to 0..360)
  double pitch_deg = 0.0;        // 77, signed
  double on_ground = 0.0;        // 60, nonzero (truncated) on the ground
  double static_pressure = 0.0;  // 342, sixteenths of a millibar
  double tick = 0.0;             // 1, the 18 Hz tick
  int main_bus = 1;              // DC bus flag, for the lamp
};

inline constexpr double kRadioAltimeterMax = 850.0;
inline constexpr int kWarmupFull = 4000;

// Decision-height knob: one click down and up.
double decision_height_down(double dh);
double decision_height_up(double dh);

// Pressure altitude in metres from the static pressure in 1/16 mbar; a
// pressure that is not positive and finite gives `previous` (no data yet).
double pressure_altitude(double static_pressure_16th_mbar, double previous);

// One beeper step of a frame: `below` is the below-decision-height flag.
void beeper_step(RadioAltimeterBeeper& b, int below, double tick);

// Measured height from the raw height and attitude; also keeps the zero
// reference. A non-finite raw height leaves the last measurement.
void radio_altimeter_measure(RadioAltimeter& s, const RadioAltimeterUnit& unit,
                             const RadioAltimeterInputs& in);

// The service-6 steps in order (flag, beeper, zero, warm-up, pressure
// altitude, failure and valid, autopilot outputs, lamp), using the height
// measured last frame.
void radio_altimeter_step(RadioAltimeter& s, const RadioAltimeterUnit& unit,
                          const RadioAltimeterInputs& in);

// A whole frame: the steps, then the height measured from this frame's
// inputs, which the needle shows and the next frame's steps use.
void radio_altimeter_frame(RadioAltimeter& s, const RadioAltimeterUnit& unit,
                           const RadioAltimeterInputs& in);

// Service 14: the unit starts cold.
void radio_altimeter_connect(RadioAltimeter& s);

// The dial's non-linearity table: 18 points (value, pixel on a circle of
// radius `r` about (cx, cy)), 0 m at lower left, 100 m at the top, 850 m at
// lower right.
std::vector<frame::NonlinearityPoint> radio_altimeter_scale(frame::i32 cx, frame::i32 cy,
                                                            frame::i32 r);

// RV_5M_1, RV_5M_2: needles, lamp, failure flag, knob areas, services 6, 14.
void define_radio_altimeters(frame::Module& m);

}  // namespace autopilot
