#include "frame/text.h"

#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <limits>

#include "frame/numeric.h"

namespace frame {
namespace {

// The size argument for snprintf: the capacity plus the terminator. No
// object is larger than PTRDIFF_MAX bytes, so a larger capacity (SIZE_MAX
// from a caller that means "no limit") is clamped there; that also keeps
// capacity + 1 from wrapping to 0.
std::size_t buffer_size(std::size_t capacity) {
  constexpr auto kLargestObject =
      static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max());
  return capacity < kLargestObject ? capacity + 1 : kLargestObject;
}

// vsnprintf into buf[0..capacity]; returns the characters kept.
std::size_t bounded_vformat(char* buf, std::size_t capacity, const char* fmt, va_list args) {
  if (buf == nullptr) return 0;
  buf[0] = '\0';
  if (fmt == nullptr || capacity == 0) return 0;
  const std::size_t size = buffer_size(capacity);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
  const int n = std::vsnprintf(buf, size, fmt, args);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  if (n < 0) {
    buf[0] = '\0';
    return 0;
  }
  const auto written = static_cast<std::size_t>(n);
  return written < size ? written : size - 1;
}

enum class Arg { none, signed_int, unsigned_int, floating };

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Skips up to three digits; false when there are more.
bool skip_number(const char*& p) {
  int digits = 0;
  while (is_digit(*p)) {
    if (++digits > 3) return false;
    ++p;
  }
  return true;
}

// Which argument `fmt` needs, or none when it is not one numeric conversion.
Arg value_format_arg(const char* fmt) {
  if (fmt == nullptr) return Arg::none;
  Arg found = Arg::none;
  for (const char* p = fmt; *p != '\0'; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    if (found != Arg::none) return Arg::none;  // a second conversion

    bool alternate = false;
    while (*p == '-' || *p == '+' || *p == ' ' || *p == '0' || *p == '#') {
      alternate = alternate || *p == '#';
      ++p;
    }
    if (!skip_number(p)) return Arg::none;
    if (*p == '.') {
      ++p;
      if (!skip_number(p)) return Arg::none;
    }
    const bool long_modifier = *p == 'l';
    if (long_modifier) ++p;
    switch (*p) {
      case 'd':
      case 'i':
      case 'u':
        // '#' has no meaning for these.
        if (alternate || long_modifier) return Arg::none;
        found = *p == 'u' ? Arg::unsigned_int : Arg::signed_int;
        break;
      case 'o':
      case 'x':
      case 'X':
        if (long_modifier) return Arg::none;
        found = Arg::unsigned_int;
        break;
      case 'f':
      case 'F':
      case 'e':
      case 'E':
      case 'g':
      case 'G':
        found = Arg::floating;
        break;
      default:  // '*', 'n', 's', 'c', 'p', other length modifiers, end of text
        return Arg::none;
    }
  }
  return found;
}

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
// The format has been checked against the argument's type.
template <class T>
std::size_t format_checked(char* buf, std::size_t capacity, const char* fmt, T value) {
  const std::size_t size = buffer_size(capacity);
  const int n = std::snprintf(buf, size, fmt, value);
  if (n < 0) {
    buf[0] = '\0';
    return 0;
  }
  const auto written = static_cast<std::size_t>(n);
  return written < size ? written : size - 1;
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

}  // namespace

std::size_t format_text(char* buf, std::size_t capacity, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const std::size_t n = bounded_vformat(buf, capacity, fmt, args);
  va_end(args);
  return n;
}

bool is_value_format(const char* fmt) { return value_format_arg(fmt) != Arg::none; }

std::size_t format_value(char* buf, std::size_t capacity, const char* fmt, double v) {
  if (buf == nullptr) return 0;
  buf[0] = '\0';
  if (capacity == 0) return 0;
  switch (value_format_arg(fmt)) {
    case Arg::signed_int:
      return format_checked(buf, capacity, fmt, to_int(v));
    case Arg::unsigned_int:
      // Same bits as the signed value, as a display of a negative one expects.
      return format_checked(buf, capacity, fmt, static_cast<unsigned>(to_int(v)));
    case Arg::floating:
      return format_checked(buf, capacity, fmt, std::isfinite(v) ? v : 0.0);
    case Arg::none:
      break;
  }
  return 0;
}

std::string format_string(const char* fmt, ...) {
  if (fmt == nullptr) return {};
  va_list args;
  va_start(args, fmt);
  va_list measure;
  va_copy(measure, args);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
  const int n = std::vsnprintf(nullptr, 0, fmt, measure);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  va_end(measure);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<std::size_t>(n));
    bounded_vformat(out.data(), out.size(), fmt, args);
  }
  va_end(args);
  return out;
}

}  // namespace frame
