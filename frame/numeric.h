// Checked number conversions shared by every module: double to integer,
// angle wrapping, and locale-independent decimal text to number.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

namespace frame {

// Converts to an integer type, truncating toward zero; values beyond the
// type's range give its limit, NaN gives 0. Never undefined behaviour.
template <class T>
constexpr T saturate_cast(double v) {
  static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool>, "integer target only");
  // 2^digits is exact as a double: it is max()+1 and, for signed T, -min().
  double limit = 1.0;
  for (int i = 0; i < std::numeric_limits<T>::digits; ++i) limit *= 2.0;
  if (!(v == v)) return T{0};  // NaN
  if (v >= limit) return std::numeric_limits<T>::max();
  if constexpr (std::is_signed_v<T>) {
    if (v <= -limit) return std::numeric_limits<T>::min();
  } else {
    if (v <= 0.0) return T{0};
  }
  return static_cast<T>(v);
}

// The one checked double-to-int conversion of the modules.
std::int32_t to_int(double v);

inline bool is_finite(double v) { return std::isfinite(v); }

// `v` held within [lo, hi], as an instrument's stops hold its needle ("limited
// to lo..hi"); NaN gives lo: a needle without a reading rests on its lower
// stop. Infinities give the stop on their side.
inline double limit(double v, double lo, double hi) {
  if (!(v >= lo)) return lo;
  return v > hi ? hi : v;
}

// Angle in [0, 360); NaN and infinities give 0.
double wrap360(double deg);
// Angle in [-180, 180); NaN and infinities give 0.
double wrap180(double deg);
// Angle in (0, 360]: as wrap360, except that a multiple of 360 gives 360 (the
// convention of desired-track values, where north is 360); NaN and
// infinities give 360.
double wrap360_upper(double deg);

// Decimal text to double, independent of the process locale: optional blanks
// (space, tab), optional sign, digits with an optional '.' fraction, optional
// exponent. Whatever follows the number is ignored; text that does not start
// with a number (also "inf", "nan") gives 0, hexadecimal reads only its
// leading "0". A value beyond the double range gives +-DBL_MAX.
double parse_decimal(std::string_view s);

// parse_decimal, then to_int: "1.9" -> 1, "-1.9" -> -1, saturating.
std::int32_t parse_int(std::string_view s);

}  // namespace frame
