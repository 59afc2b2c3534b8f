// The ICAO standard atmosphere and the airspeeds that depend on it.
//
// Altitudes given to air_at are geometric (above mean sea level); the
// layers of the standard are in geopotential altitude. A non-standard day
// is the standard shifted two ways: the temperature offset is added at
// every altitude (pressure follows from the hydrostatic equation with the
// warmer or colder air), and the whole pressure profile is scaled so that
// the pressure at sea level is the given QNH. Between -5 km and the top of
// the table (84,852 m geopotential) values follow the standard; beyond,
// the altitude is clamped.
//
// Airspeeds: calibrated airspeed (which the host reports as indicated)
// follows from the impact pressure with compressibility, subsonic and
// supersonic (Rayleigh pitot); true airspeed = Mach x speed of sound.
#pragma once

namespace host::atmo {

inline constexpr double kP0 = 101325.0;        // Pa, sea level
inline constexpr double kT0 = 288.15;          // K
inline constexpr double kG0 = 9.80665;         // m/s^2
inline constexpr double kR = 287.05287;        // J/(kg K), dry air
inline constexpr double kGamma = 1.4;
inline constexpr double kEarthRadius = 6356766.0;  // m, for geopotential altitude
inline constexpr double kStandardQnh = 1013.25;    // hPa
inline constexpr double kMinAltitude = -5000.0;    // m geopotential
inline constexpr double kMaxAltitude = 84852.0;    // m geopotential

double geopotential(double geometric_m);
double geometric(double geopotential_m);

struct Air {
  double pressure = kP0;      // Pa
  double temperature = kT0;   // K
  double density = 1.225;     // kg/m^3
  double sound_speed = 340.294;  // m/s
};

// The air at a geometric altitude; qnh in hPa, temp_offset in kelvin.
Air air_at(double geometric_m, double qnh_hpa = kStandardQnh, double temp_offset = 0.0);

// Standard-day pressure at a geopotential altitude (Pa), and its inverse:
// the pressure altitude (geopotential metres) of a pressure, as an
// altimeter scale reads it.
double standard_pressure(double geopotential_m);
double pressure_altitude(double pressure_pa);

// Speed of sound at sea level on a standard day, m/s.
double sea_level_sound_speed();

// Impact pressure of a Mach number in air of static pressure p (Pa), and
// back. Negative and NaN Mach numbers count as 0; Mach is at most 10.
double impact_pressure(double mach, double p);
double mach_from_impact(double qc, double p);

// Calibrated airspeed (m/s) of a Mach number at static pressure p, and back.
double cas_from_mach(double mach, double p);
double mach_from_cas(double cas_mps, double p);

}  // namespace host::atmo
