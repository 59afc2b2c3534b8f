// How the world's physical values become module-variable values: each
// encoding is the inverse of the factor the modules decode the variable
// with (latitude units x 8.998425275576774e-06 = degrees, so the world
// writes degrees / 8.998425275576774e-06).
#pragma once

#include <cstdint>
#include <optional>

namespace host::enc {

// Decode factors, as the modules apply them.
inline constexpr double kLatDegPerUnit = 8.998425275576774e-06;   // 90 / 10001750
inline constexpr double kLonDegPerUnit = 1.2789769243681803e-12;  // 360 / 2^48
inline constexpr double kMachUnits = 20480.0;      // Mach x 20480
inline constexpr double kVsUnits = 256.0;          // m/s x 256
inline constexpr double kPressureUnits = 16.0;     // hPa x 16
inline constexpr double kKmhPerFps = 1.09728;      // feet per second to km/h
inline constexpr double kKmhPerKnot = 1.852;
inline constexpr double kMetresPerNm = 1852.0;
inline constexpr double kMetresPerFoot = 0.3048;
inline constexpr double kHpaPerInHg = 33.8639;
inline constexpr double kAngle16PerDeg = 65536.0 / 360.0;

inline double lat_units(double deg) { return deg / kLatDegPerUnit; }
inline double lon_units(double deg) { return deg / kLonDegPerUnit; }
inline double mach_units(double mach) { return mach * kMachUnits; }
inline double vs_units(double mps) { return mps * kVsUnits; }
inline double pressure_units(double hpa) { return hpa * kPressureUnits; }
inline double fps(double kmh) { return kmh / kKmhPerFps; }
inline double knots(double kmh) { return kmh / kKmhPerKnot; }
// Outside air temperature of variable 350: degrees Celsius / 256. The
// thermometer needle reads 350 x 256, so it turns one degree per degree
// Celsius (0 at 0 C, +-60 degrees at +-60 C).
inline constexpr double kOatUnitsPerCelsius = 1.0 / 256.0;
inline double oat_units(double celsius) { return celsius * kOatUnitsPerCelsius; }

// A 16-bit angle: 65536 is a full turn; the result lies in [0, 65535].
std::uint32_t angle16(double deg);

// Radio frequencies travel as BCD16 words (frame/bcd.h). NAV: a code in
// 10 kHz steps above 100 MHz (1050 = 110.50 MHz, word 0x1050). COM: the
// frequency in kHz (118000..136975, 25 kHz channels) shown to 10 kHz with
// the leading 1 dropped: 118.025 MHz is 0x1802, as the simulator's own word
// cuts the last digit of a 25 kHz channel.
std::uint32_t com_bcd16(std::uint32_t khz);

}  // namespace host::enc
