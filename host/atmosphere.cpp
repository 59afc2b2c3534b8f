#include "host/atmosphere.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace host::atmo {
namespace {

// Layers of the standard: base geopotential altitude (m), base temperature
// (K), lapse rate (K/m).
struct Layer {
  double base;
  double temperature;
  double lapse;
};
constexpr std::array kLayers{
    Layer{0.0, 288.15, -0.0065}, Layer{11000.0, 216.65, 0.0},   Layer{20000.0, 216.65, 0.001},
    Layer{32000.0, 228.65, 0.0028}, Layer{47000.0, 270.65, 0.0}, Layer{51000.0, 270.65, -0.0028},
    Layer{71000.0, 214.65, -0.002},
};

constexpr double kMaxMach = 10.0;

double layer_top(std::size_t i) {
  return i + 1 < kLayers.size() ? kLayers[i + 1].base : kMaxAltitude;
}

// Pressure `dh` above the base of a layer whose base is at `tb` and `pb`.
double climb(const Layer& l, double tb, double pb, double dh) {
  if (l.lapse == 0.0) return pb * std::exp(-kG0 * dh / (kR * tb));
  return pb * std::pow((tb + l.lapse * dh) / tb, -kG0 / (kR * l.lapse));
}

struct Point {
  double pressure;
  double temperature;
};

// Pressure and temperature at a geopotential altitude of the standard with
// `offset` kelvin added everywhere, 1013.25 hPa at sea level.
Point profile(double h, double offset) {
  h = std::clamp(h, kMinAltitude, kMaxAltitude);
  double p = kP0;
  for (std::size_t i = 0; i < kLayers.size(); ++i) {
    const Layer& l = kLayers[i];
    const double tb = l.temperature + offset;
    const double top = layer_top(i);
    if (h <= top || i + 1 == kLayers.size()) {
      const double dh = h - l.base;  // negative below sea level: layer 0 extended
      return Point{climb(l, tb, p, dh), tb + l.lapse * dh};
    }
    p = climb(l, tb, p, top - l.base);
  }
  return Point{p, kLayers.back().temperature + offset};  // not reached
}

// Impact pressure over static pressure for a Mach number.
double impact_ratio(double mach) {
  const double m2 = mach * mach;
  if (mach <= 1.0) return std::pow(1.0 + 0.2 * m2, 3.5) - 1.0;
  return std::pow(1.2 * m2, 3.5) * std::pow(6.0 / (7.0 * m2 - 1.0), 2.5) - 1.0;
}

double usable_mach(double mach) {
  if (!(mach > 0.0)) return 0.0;  // also NaN
  return std::min(mach, kMaxMach);
}

// The Mach number whose impact ratio is `r`.
double mach_of_ratio(double r) {
  if (!(r > 0.0)) return 0.0;
  static const double at_one = impact_ratio(1.0);
  if (r <= at_one) return std::sqrt(5.0 * (std::pow(r + 1.0, 2.0 / 7.0) - 1.0));
  static const double at_max = impact_ratio(kMaxMach);
  if (r >= at_max) return kMaxMach;
  // Supersonic: the ratio grows with Mach; bisect.
  double lo = 1.0;
  double hi = kMaxMach;
  for (int i = 0; i < 60 && hi - lo > 1e-13; ++i) {
    const double mid = 0.5 * (lo + hi);
    (impact_ratio(mid) < r ? lo : hi) = mid;
  }
  return 0.5 * (lo + hi);
}

}  // namespace

double geopotential(double z) { return kEarthRadius * z / (kEarthRadius + z); }
double geometric(double h) { return kEarthRadius * h / (kEarthRadius - h); }

Air air_at(double geometric_m, double qnh_hpa, double temp_offset) {
  geometric_m = std::isfinite(geometric_m) ? std::clamp(geometric_m, -10000.0, 200000.0) : 0.0;
  if (!(qnh_hpa > 0.0) || !std::isfinite(qnh_hpa)) qnh_hpa = kStandardQnh;
  if (!std::isfinite(temp_offset)) temp_offset = 0.0;
  const Point pt = profile(geopotential(geometric_m), temp_offset);
  Air air;
  air.pressure = pt.pressure * qnh_hpa / kStandardQnh;
  air.temperature = pt.temperature;
  air.density = air.pressure / (kR * air.temperature);
  air.sound_speed = std::sqrt(kGamma * kR * air.temperature);
  return air;
}

double standard_pressure(double h) { return profile(h, 0.0).pressure; }

double pressure_altitude(double p) {
  if (!(p > 0.0)) return kMaxAltitude;  // also NaN
  double pb = kP0;
  for (std::size_t i = 0; i < kLayers.size(); ++i) {
    const Layer& l = kLayers[i];
    const double tb = l.temperature;
    const double p_top = climb(l, tb, pb, layer_top(i) - l.base);
    if (p >= p_top || i + 1 == kLayers.size()) {
      double h = 0.0;
      if (l.lapse == 0.0)
        h = l.base - kR * tb / kG0 * std::log(p / pb);
      else
        h = l.base + tb / l.lapse * (std::pow(p / pb, -kR * l.lapse / kG0) - 1.0);
      return std::clamp(h, kMinAltitude, kMaxAltitude);
    }
    pb = p_top;
  }
  return kMaxAltitude;  // not reached
}

double sea_level_sound_speed() {
  static const double a0 = std::sqrt(kGamma * kR * kT0);
  return a0;
}

double impact_pressure(double mach, double p) {
  if (!(p > 0.0)) return 0.0;
  return p * impact_ratio(usable_mach(mach));
}

double mach_from_impact(double qc, double p) {
  if (!(p > 0.0)) return qc > 0.0 ? kMaxMach : 0.0;
  return mach_of_ratio(qc / p);
}

double cas_from_mach(double mach, double p) {
  return sea_level_sound_speed() * mach_from_impact(impact_pressure(mach, p), kP0);
}

double mach_from_cas(double cas_mps, double p) {
  return mach_from_impact(impact_pressure(cas_mps / sea_level_sound_speed(), kP0), p);
}

}  // namespace host::atmo
