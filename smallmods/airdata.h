// The air-data module `airdata`: the shared airspeed, Mach and vertical-speed
// instruments (smallmods/instruments.h) and its own altimeters and speed
// gauges: the metric altimeter `Altimeter` with its pressure window, the feet
// altimeter `UVID_F` with its own pressure setting, the metric altimeter
// `UVO` on the simulator's setting, the Mach meter `UM_1` and the combined
// speed indicator `US_I`. Everything reads the simulator directly; the only
// state of its own is the UVID_F setting, the pressure window's frames and
// what each gauge computed at its last service 6.
#pragma once

#include "frame/builder.h"
#include "frame/patterns.h"
#include "smallmods/instruments.h"

namespace smallmods {

// Key events of the simulator's altimeter setting (value 0).
inline constexpr u32 kAltimeterUpEvent = 65883;    // 0x1015B
inline constexpr u32 kAltimeterDownEvent = 65884;  // 0x1015C

inline constexpr double kMmHgPerInHg = 25.4;
inline constexpr double kFeetPerMetre = 3.28084;
inline constexpr double kMetresPerFoot = 0.3048;

// Unit factors from variable 335 (truncated): metres for Altimeter and UVO (1.0
// when it is 2, metric with metres, else 0.3048 from feet), feet for UVID_F
// (3.28084 when it is 2, else 1.0).
double metres_factor(double unit_setting);
double feet_factor(double unit_setting);

// Counter numbers for the frame's drum split (units of the lowest drum): a
// pressure counter shows the setting to 0.01 with its units drum turning
// (truncate(setting x 100) / 100); an altitude counter turns its lowest drum
// at the tens (truncate(altitude x 10) / 100), negative altitudes rolling
// back from the top as on an odometer.
inline constexpr int kCounterDrums = 4;
double pressure_counter(double setting);
double altitude_counter(double altitude);

// Altimeter ---------------------------------------------------------------------

inline constexpr int kPressWindowFrames = 120;

struct Altimeter {
  double units_factor = kMetresPerFoot;
  int press_window = 0;    // frames the pressure window stays visible
  double press_dev = 0.0;  // (setting mm Hg - 760) x 3
  double altitude = 0.0;   // variable 74 x units_factor, metres
  double setting_inhg = 0.0;
  ModuleVar alt_var = module_var(var::kIndicatedAltitude);
  ModuleVar inhg_var = module_var(var::kAltimeterInHg);
  ModuleVar units_var = module_var(var::kUnitSetting);
};
void altimeter_step(Altimeter& s, double indicated_alt, double setting_inhg, double unit_setting);
// Needles, degrees: (truncate(alt) mod 1000) x 0.36 - 90 and truncate(alt) x
// 0.036 - 90; the pressure scale setting mm Hg - 710; the reference marks
// (truncate(press_dev x -1.44) mod 1000) - 90 and press_dev x -0.144 - 90.
double altimeter_needle_1000(const Altimeter& s);
double altimeter_needle_10000(const Altimeter& s);
double altimeter_pressure_scale(const Altimeter& s);
double altimeter_mark_1000(const Altimeter& s);
double altimeter_mark_10000(const Altimeter& s);

// UVID_F: feet altimeter with its own setting --------------------------------------

inline constexpr double kUvidMinHpa = 940.0;
inline constexpr double kUvidMaxHpa = 1090.0;
inline constexpr double kUvidStepHpa = 0.5;
inline constexpr double kFeetPerHpa = 29.527559;

struct FeetAltimeter {
  double uvid_setting_hpa = 1013.0;
  double units_factor = 1.0;
  double altitude = 0.0;  // feet
  int powered = 0;        // variable 753 not zero
  ModuleVar alt_var = module_var(var::kIndicatedAltitude);
  ModuleVar hpa_var = module_var(var::kAltimeterHpa);
  ModuleVar units_var = module_var(var::kUnitSetting);
  ModuleVar bus_var = module_var(var::kMainBus);
};
// altitude = (uvid_setting_hpa - variable 75) x 29.527559 + variable 74 x units_factor
void uvid_step(FeetAltimeter& s, double indicated_alt, double setting_hpa, double unit_setting,
               double bus_volts);
// One turn per 1000 ft: altitude x 0.36 - 90.
double uvid_needle(const FeetAltimeter& s);
// The failure flag: hidden (-1) while the bus has a voltage, shown (0) without.
double uvid_flag(const FeetAltimeter& s);

// UVO: metric altimeter on the simulator's setting ------------------------------------

struct Uvo {
  double units_factor = kMetresPerFoot;
  double altitude = 0.0;      // metres
  double setting_mmhg = 0.0;  // variable 76 x 25.4
  ModuleVar alt_var = module_var(var::kIndicatedAltitude);
  ModuleVar inhg_var = module_var(var::kAltimeterInHg);
  ModuleVar units_var = module_var(var::kUnitSetting);
};
void uvo_step(Uvo& s, double indicated_alt, double setting_inhg, double unit_setting);
double uvo_needle(const Uvo& s);  // altitude x 0.36 - 90

// UM_1 and US_I ----------------------------------------------------------------------

struct MachMeter {
  double mach_units = 0.0;  // variable 64
  ModuleVar mach_var = module_var(var::kMach);
};
// variable 64 x 0.017578125 + 36 (360 degrees per Mach, plus 36), within 144..396.
double um1_needle(const MachMeter& s);

struct CombinedSpeed {
  double ias_kmh = 0.0;  // variable 61 x 1.852
  ModuleVar ias_var = module_var(var::kIas);
};
// IAS within 125..1000 km/h, x 0.4 - 140.
double usi_needle(const CombinedSpeed& s);

// The module ------------------------------------------------------------------------

// Everything the module keeps, once per module.
struct AirdataState {
  SpeedIndicator kus_700_1100{.limits = kKus700_1100Limits};  // press_alt_a, density_ratio_a
  SpeedIndicator kus_1200{.limits = kKus1200Limits};          // press_alt_b, density_ratio_b
  MachIndicator mach{.critical_mach = 0.82};
  Altimeter altimeter{};
  Variometer var_30{};
  FeetAltimeter uvid_f{};
  Uvo uvo{};
  MachMeter um_1{};
  CombinedSpeed us_i{};
};

// Declares all nine gauges of the module on `m`, on the records of `s`.
void define_airdata(frame::Module& m, AirdataState& s);

}  // namespace smallmods
