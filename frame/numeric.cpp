#include "frame/numeric.h"

#include <charconv>
#include <cfloat>
#include <string>
#include <system_error>

namespace frame {

std::int32_t to_int(double v) { return saturate_cast<std::int32_t>(v); }

double wrap360(double deg) {
  if (!std::isfinite(deg)) return 0.0;
  double r = std::fmod(deg, 360.0);
  if (r < 0.0) r += 360.0;
  // A tiny negative remainder rounds up to exactly 360 when shifted; -0
  // becomes +0.
  if (r >= 360.0 || r == 0.0) r = 0.0;
  return r;
}

double wrap180(double deg) {
  const double r = wrap360(deg);
  return r >= 180.0 ? r - 360.0 : r;
}

double wrap360_upper(double deg) {
  const double r = wrap360(deg);
  return r == 0.0 ? 360.0 : r;
}

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double parse_decimal(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;

  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }

  const std::size_t int_begin = i;
  while (i < s.size() && is_digit(s[i])) ++i;
  const std::string_view int_digits = s.substr(int_begin, i - int_begin);

  std::string_view frac_digits;
  if (i < s.size() && s[i] == '.') {
    const std::size_t frac_begin = i + 1;
    std::size_t j = frac_begin;
    while (j < s.size() && is_digit(s[j])) ++j;
    frac_digits = s.substr(frac_begin, j - frac_begin);
    if (!int_digits.empty() || !frac_digits.empty()) i = j;
  }
  if (int_digits.empty() && frac_digits.empty()) return 0.0;

  // The exponent counts only when at least one digit follows e[+-].
  std::string_view exp_text;
  std::int64_t exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    bool exp_negative = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
      exp_negative = s[j] == '-';
      ++j;
    }
    const std::size_t digits_begin = j;
    while (j < s.size() && is_digit(s[j])) {
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (s[j] - '0');
      ++j;
    }
    if (j > digits_begin) {
      exp_text = s.substr(i, j - i);
      if (exp_negative) exponent = -exponent;
    }
  }

  // Normalised copy for from_chars: no sign, at least one integer digit.
  std::string text;
  text.reserve(int_digits.size() + frac_digits.size() + exp_text.size() + 2);
  if (int_digits.empty()) {
    text.push_back('0');
  } else {
    text.append(int_digits);
  }
  if (!frac_digits.empty()) {
    text.push_back('.');
    text.append(frac_digits);
  }
  text.append(exp_text);

  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value,
                                         std::chars_format::general);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    // Decide overflow or underflow from the decimal position of the first
    // significant digit.
    std::int64_t position = 0;
    const std::size_t lead = int_digits.find_first_not_of('0');
    if (lead != std::string_view::npos) {
      position = static_cast<std::int64_t>(int_digits.size() - lead) - 1;
    } else {
      const std::size_t first = frac_digits.find_first_not_of('0');
      position = first == std::string_view::npos ? -1 : -static_cast<std::int64_t>(first) - 1;
    }
    value = position + exponent > 0 ? DBL_MAX : 0.0;
  } else if (ec != std::errc{}) {
    value = 0.0;
  }
  if (std::isinf(value)) value = DBL_MAX;
  return negative ? -value : value;
}

std::int32_t parse_int(std::string_view s) { return to_int(parse_decimal(s)); }

}  // namespace frame
