#include "frame/text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr char kGuard = '\x5a';

// A buffer of `capacity` characters plus terminator, followed by guard bytes
// that no call may touch.
template <std::size_t Capacity>
struct Guarded {
  std::array<char, Capacity + 1 + 8> bytes;
  Guarded() { bytes.fill(kGuard); }
  char* buf() { return bytes.data(); }
  bool guard_intact() const {
    for (std::size_t i = Capacity + 1; i < bytes.size(); ++i) {
      if (bytes[i] != kGuard) return false;
    }
    return true;
  }
};

struct ValueCase {
  const char* fmt;
  double v;
  const char* expected;
};

TEST(FormatValue, FormatsOneCheckedConversion) {
  const ValueCase cases[] = {
      {"%3d", 42.9, " 42"},
      {"%3d", -42.9, "-42"},
      {"%2d", kNaN, " 0"},
      {"%6d", 1e300, "214748"},  // saturated, then cut to the capacity
      {"%03d", 7.0, "007"},
      {"%i", 12.0, "12"},
      {"%u", 3.0, "3"},
      {"%x", 255.0, "ff"},
      {"%X", -1.0, "FFFFFF"},
      {"%o", 8.0, "10"},
      {"%3.1f", 2.25, "2.2"},
      {"%4.1f", -0.05, "-0.1"},
      {"%4.2f", kNaN, "0.00"},
      {"%5.1f", kInf, "  0.0"},
      {"%5.1f", -kInf, "  0.0"},
      {"%lf", 1.5, "1.5000"},
      {"%.0e", 1500.0, "2e+03"},
      {"%g", 0.5, "0.5"},
      {"%-4d|", 5.0, "5   |"},
      {"%+d", 5.0, "+5"},
      {"FL%03d", 90.0, "FL090"},
      {"%d%%", 70.0, "70%"},
      {"%%%d", 1.0, "%1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fmt);
    Guarded<6> g;
    const std::size_t n = frame::format_value(g.buf(), 6, c.fmt, c.v);
    EXPECT_STREQ(g.buf(), c.expected);
    EXPECT_EQ(n, std::strlen(c.expected));
    EXPECT_TRUE(g.guard_intact());
  }
}

TEST(FormatValue, RejectsFormatsItCannotCheck) {
  const char* const bad[] = {
      nullptr, "", "text", "%%", "%d %d", "%f%d", "%*d", "%.*f", "%n", "%s", "%c", "%p",
      "%ld", "%lld", "%hd", "%Lf", "%zd", "%#d", "%1234d", "%.1234f", "%", "abc%", "%5",
      "%q",
  };
  for (const char* fmt : bad) {
    SCOPED_TRACE(fmt == nullptr ? "(null)" : fmt);
    Guarded<6> g;
    EXPECT_EQ(frame::format_value(g.buf(), 6, fmt, 12.0), 0u);
    EXPECT_STREQ(g.buf(), "");
    EXPECT_TRUE(g.guard_intact());
    EXPECT_FALSE(frame::is_value_format(fmt));
  }
  EXPECT_TRUE(frame::is_value_format("%4.1f"));
}

TEST(FormatValue, WideConversionsStayInTheBuffer) {
  Guarded<6> g;
  EXPECT_EQ(frame::format_value(g.buf(), 6, "%999.999f", 1e300), 6u);
  EXPECT_STREQ(g.buf(), "100000");
  EXPECT_TRUE(g.guard_intact());
}

TEST(FormatText, CutsAtTheCapacity) {
  const struct {
    std::size_t capacity;
    const char* expected;
  } cases[] = {{0, ""}, {1, "a"}, {5, "abc-1"}, {6, "abc-12"}, {7, "abc-12"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.capacity);
    std::array<char, 16> bytes;
    bytes.fill(kGuard);
    const std::size_t n = frame::format_text(bytes.data(), c.capacity, "%s-%d", "abc", 12);
    EXPECT_STREQ(bytes.data(), c.expected);
    EXPECT_EQ(n, std::strlen(c.expected));
    for (std::size_t i = n + 1; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], kGuard) << "byte " << i;
  }
  EXPECT_EQ(frame::format_text(nullptr, 4, "%d", 1), 0u);
}

TEST(FormatString, BuildsTheWholeText) {
  EXPECT_EQ(frame::format_string("%s=%d", "key", 42), "key=42");
  EXPECT_EQ(frame::format_string("%s", std::string(5000, 'x').c_str()), std::string(5000, 'x'));
  EXPECT_EQ(frame::format_string("%s", ""), "");
}

}  // namespace
