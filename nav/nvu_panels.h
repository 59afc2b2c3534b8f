// The navigation computer's panels: the control panel V-51
// (NVU_V51_Pult), the desired-track panel V-140 (NVU_V140_Pult), the
// coordinate counters V-52 (NVU_V52_1_Pult for channel 1, NVU_V52_2_Pult for
// channel 2), the additional counter (NVU_V52_Dop_Pult), the wind panel V-57
// (NVU_V57_Pult) and the annunciator NVU_Tablo_1 with its single-lamp twins.
//
// The rules the panels apply are plain functions here; nav/nvu_gauges.cpp
// declares the gauges with the frame's patterns. The coordinate drums count
// in the module's counter scale, systems().config.nvu_scale (1.0 or 0.1,
// from `nvu_v52_100`, read by NVU_Sys at service 14).
#pragma once

#include <cstdint>

#include "nav/nvu.h"

namespace frame {
class Module;
}

namespace nav {

// Panel state, each field owned by its panel's gauge.
struct NvuPanel {
  std::int8_t counter_select = 0;  // V-51: -4 Z, -3 S, -2 Zм, -1 Sм, 0 off, 1 Sп, 2 Zп, 3 S, 4 Z
  std::int8_t lur_select = 0;      // V-51: -1 forced change, 0 off, 1..5 (5..25 km)
  int nvu_power_switch = 0;        // V-51 toggles
  int count_switch = 0;
  int corr_switch = 0;
  int forced_armed = 0;          // 1 after the selector stood at 0; a forced change uses it
  double wind_delta = 0.0;       // V-57, -99..99 degrees
  double wind_memory_dir = 0.0;  // V-57: the remembered wind, shown and used in memory mode
  double wind_memory_speed = 0.0;
  int extra_display_on = 0;  // the additional counter's button

  // What V-51 copied this frame for the computer and the additional counter.
  NvuControls to_computer{};
  // V-140's drum numbers (tenths of a degree), recomputed only by its
  // handlers, the route editor and flight load: nvu_v140_refresh.
  double zpu_drums[2] = {0.0, 0.0};
  // The additional counter's value, metres; it stays while unpowered.
  double extra_value = 0.0;
  // Gates of the lamps ДАЛЬН АВТОН and АЗИМ АВТОН. Nothing opens them yet,
  // so only the lamp test lights those lamps.
  int range_autonomous_gate = 0;
  int azimuth_autonomous_gate = 0;
};

// The module's panel state.
NvuPanel& nvu_panel();

// V-51 ----------------------------------------------------------------------

inline constexpr int kCounterSelectMin = -4;
inline constexpr int kCounterSelectMax = 4;
inline constexpr int kLurSelectMin = -1;
inline constexpr int kLurSelectMax = 5;

// The panel's frame: the forced change (one per turn of the selector to -1,
// while the computer counts), then the copies for the computer.
void nvu_v51_frame(NvuPanel& p, NvuState& s);

// The value a V-51 or additional-counter selector position chooses, or null
// at 0 (and for a position outside -4..4): ±3 the active S, ±4 the active Z,
// -1/-2 the beacon pair, 1/2 the point pair.
double* nvu_selected_value(NvuState& s, int counter_select);
// True when the position chooses a Z value (Z, Zм or Zп).
bool nvu_selects_z(int counter_select);
// A click of V-51's minus (dir -1) or plus (+1) button: Z values move 10 m
// (left) or 1000 m (right), S values 25 m or 2000 m; only while powered.
void nvu_v51_adjust(NvuState& s, int counter_select, int dir, std::uint32_t flags);

// Pointer angles.
double nvu_counter_select_angle(int counter_select);
double nvu_lur_select_angle(int lur_select);

// V-140 -----------------------------------------------------------------------

// A ZPU after a change: at or below 0 gets 360 added, above 360 loses 360.
double nvu_zpu_wrap(double zpu);
// The number the four ZPU drums count, in tenths of a degree:
// trunc(ZPU x 1000) / 100 through the checked conversion.
double nvu_zpu_drum_number(double zpu);
// Recomputes both ZPU drum numbers from the channels.
void nvu_v140_refresh(NvuPanel& p, const NvuState& s);

// V-52 and the additional counter ------------------------------------------

// N = trunc(|v| x scale) through the checked conversion, in the part of v's
// sign (v >= 0 positive), the other part 0.
struct SignedCount {
  std::int32_t positive = 0;
  std::int32_t negative = 0;
};
SignedCount nvu_signed_count(double v, double scale);
// What a count's drums show: the lowest drum is N mod 1000 (100 per digit).
inline double nvu_count_drums(std::int32_t n) { return n / 100.0; }
inline constexpr std::int32_t kCountFlag = 100;  // a part's flag or lamp: N above this

// The additional counter's value for a selector position (0 at off).
double nvu_extra_source(const NvuState& s, int counter_select);
// Its seven-picture icon: 0 none, 1 S, 2 Sм, 3 Sп, 4 Z, 5 Zм, 6 Zп.
int nvu_extra_picture(int counter_select);
// Its frame: the chosen value while powered (it stays while unpowered).
void nvu_extra_frame(NvuPanel& p, const NvuState& s);

// V-57 ------------------------------------------------------------------------

// Its frame: while the doppler works (memory flag 0) and the computer counts,
// the remembered wind takes the computed one; then the computer's memory
// wind is set from the remembered wind.
void nvu_v57_frame(NvuPanel& p, NvuState& s, int diss_memory);
// The direction and speed knobs act while the computer is powered and the
// doppler is in memory mode.
bool nvu_wind_knobs_enabled(const NvuState& s, int diss_memory);
// The direction drums' number, in degrees: D = trunc((delta + dir) x 100),
// less 36000 above 36000, plus 36000 below 0; D / 100.
double nvu_wind_dir_drums(double wind_delta, double wind_dir);
// The speed drums' number: trunc(speed x 100) / 100.
double nvu_wind_speed_drums(double speed);

// Lamps ---------------------------------------------------------------------

// СМЕНА ЧО: counting x warn_on is 1, or the selector stands at the forced
// change while powered.
bool nvu_smena_cho(const NvuState& s, const NvuPanel& p);
// ПАМЯТЬ ДИСС: powered and the doppler in memory mode.
bool nvu_pamyat_diss(const NvuState& s, int diss_memory);

// Gauges ----------------------------------------------------------------------

// NVU_Sys and the panels and lamps above.
void define_nvu(frame::Module& m);

}  // namespace nav
