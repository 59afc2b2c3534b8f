// Instruments that several modules carry: the airspeed indicators
// KUS_700_1100 and KUS_1200, the Mach indicator with its critical-Mach
// pointer, the vertical-speed indicator VAR_30, the transponder panel and
// the outside-air thermometer AmbTemp. Each instrument is a record of what it
// keeps, a pure step from the host values it reads, needle formulas over the
// record, and a define function that declares its gauge on a module. A module
// owns one record per instrument in its own state, so two modules carrying
// the same instrument share its code and nothing else.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "frame/builder.h"
#include "frame/host.h"

namespace smallmods {

using frame::ModuleVar;
using frame::u32;

// Module variables the instruments read.
namespace var {
inline constexpr u32 kCom1 = 23;                 // COM 1 frequency, BCD16
inline constexpr u32 kTransponder = 38;          // code, BCD16 of octal digits
inline constexpr u32 kIas = 61;                  // indicated airspeed, knots
inline constexpr u32 kMach = 64;                 // Mach x 20480
inline constexpr u32 kVerticalSpeed = 65;        // m/s x 256
inline constexpr u32 kIndicatedAltitude = 74;    // feet, metres when 335 is 2
inline constexpr u32 kAltimeterHpa = 75;         // altimeter setting, hPa
inline constexpr u32 kAltimeterInHg = 76;        // altimeter setting, inches of mercury
inline constexpr u32 kUnitSetting = 335;         // 2: metric with metres
inline constexpr u32 kStaticPressure = 342;      // mb x 16
inline constexpr u32 kOutsideTemperature = 350;  // needle reads it x 256
inline constexpr u32 kMainBus = 753;             // volts
inline constexpr u32 kCom2 = 870;                // COM 2 frequency, BCD16
}  // namespace var

constexpr ModuleVar module_var(u32 id) { return ModuleVar{id, nullptr, 0, 0.0, 0.0}; }

// The host's current value of `v`.
double read(ModuleVar& v);

// A host value made safe for the formulas: NaN and infinities read as 0,
// finite values beyond +-1e12 as that bound.
double sane(double v);

// Air data --------------------------------------------------------------------

inline constexpr double kKmhPerKnot = 1.852;
inline constexpr double kMachPerUnit = 0.000048828125;  // 1 / 20480

// Pressure altitude (metres, 44300-m model of the troposphere) and the
// density ratio rho0 / rho = 1 / (1 - h / 44300)^4.256, from the static
// pressure in mb x 16. A pressure of 0 or less, or not a number, is no data:
// altitude 0, ratio 1 (a host before its first update reports 0).
struct AirData {
  double press_alt = 0.0;
  double density_ratio = 1.0;
};
AirData air_data(double pressure_16mb);

// Airspeed indicators -----------------------------------------------------------

// The stops of the two needles, km/h.
struct SpeedLimits {
  double ias_lo, ias_hi;
  double tas_lo, tas_hi;
};
inline constexpr SpeedLimits kKus700_1100Limits{0.0, 750.0, 370.0, 1100.0};
inline constexpr SpeedLimits kKus1200Limits{100.0, 1200.0, 100.0, 1200.0};

// One airspeed indicator with its own pressure altitude and density ratio
// (press_alt_a / density_ratio_a of KUS_700_1100, _b of KUS_1200).
struct SpeedIndicator {
  SpeedLimits limits{};
  double ias_kmh = 0.0;  // variable 61 x 1.852, before the stops
  double press_alt = 0.0;
  double density_ratio = 1.0;
  ModuleVar ias_var = module_var(var::kIas);
  ModuleVar pressure_var = module_var(var::kStaticPressure);
};
void speed_indicator_step(SpeedIndicator& s, double ias_knots, double pressure_16mb);
// IAS within its stops, km/h.
double ias_needle(const SpeedIndicator& s);
// TAS = raw IAS x sqrt(density ratio) within its stops, km/h. Compressibility
// is ignored, as on the instrument.
double tas_needle(const SpeedIndicator& s);
void define_speed_indicator(frame::Module& m, const char* gauge, SpeedIndicator& s);

// Mach indicator --------------------------------------------------------------

inline constexpr double kMachLo = 0.44;
inline constexpr double kMachHi = 1.04;

// The Mach needle and the critical-Mach pointer, which the module fixes
// (0.82 in airdata, 0.88 in radiopanel) or reads from its configuration.
struct MachIndicator {
  double critical_mach = 0.0;
  double mach = 0.0;  // variable 64 / 20480, before the stops
  int overspeed = 0;  // 1 while the needle reads above critical_mach
  ModuleVar mach_var = module_var(var::kMach);
};
void mach_indicator_step(MachIndicator& s, double mach_units);
double mach_needle(const MachIndicator& s);
void define_mach_indicator(frame::Module& m, MachIndicator& s);

// Vertical-speed indicator VAR_30 ------------------------------------------------

inline constexpr double kVsLimit = 40.0;  // m/s either way

struct Variometer {
  double vs = 0.0;  // variable 65 / 256, m/s, before the stops
  ModuleVar vs_var = module_var(var::kVerticalSpeed);
};
void variometer_step(Variometer& s, double vs_units);
double vs_needle(const Variometer& s);
void define_variometer(frame::Module& m, Variometer& s);

// Transponder ------------------------------------------------------------------

// The code's four digits as the host word holds them, thousands first.
struct Transponder {
  std::array<u32, 4> xpdr_digit{};
  ModuleVar code_var = module_var(var::kTransponder);
};
inline constexpr u32 kXpdrUpEvent[4] = {65651, 65652, 65653, 65654};    // 0x10073..
inline constexpr u32 kXpdrDownEvent[4] = {66455, 66456, 66457, 66458};  // 0x10397..
void transponder_step(Transponder& s, double code_word);
// Knob image of digit k (0 thousands .. 3 units): digit x 30 - 90 for the
// thousands and tens knobs, - 120 for the hundreds and units.
double xpdr_knob_angle(u32 digit, int k);
// Octal digits: up only below 7, down only above 0.
bool xpdr_may_step(u32 digit, int dir);
void define_transponder(frame::Module& m, Transponder& s);

// Outside-air thermometer AmbTemp ------------------------------------------------

struct Thermometer {
  double temperature = 0.0;  // variable 350 as read
  ModuleVar temp_var = module_var(var::kOutsideTemperature);
};
void thermometer_step(Thermometer& s, double temp_value);
// Variable 350 x 256, degrees of needle turn.
double temp_needle(const Thermometer& s);
void define_thermometer(frame::Module& m, Thermometer& s);

// Knobs that act through key events --------------------------------------------

// A pair of areas FIELD_dec / FIELD_inc, repeating while held, that send their
// key event (value 0). `allowed` (may be empty) decides per click whether the
// event goes; `after` runs after every click, sent or not.
struct EventKnob {
  u32 dec_event = 0;
  u32 inc_event = 0;
  frame::Box dec_box{};
  frame::Box inc_box{};
  std::function<bool(int dir)> allowed{};
  std::function<void()> after{};
};
void event_knob(frame::GaugeDef& g, const std::string& label, EventKnob knob);

}  // namespace smallmods
