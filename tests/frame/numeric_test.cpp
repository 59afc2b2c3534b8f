#include "frame/numeric.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct DecimalCase {
  std::string text;
  double expected;
};

TEST(ParseDecimal, ReadsOnlyTheLeadingDecimalNumber) {
  const DecimalCase cases[] = {
      {"0", 0.0},
      {"67", 67.0},
      {"1.9", 1.9},
      {"-1.9", -1.9},
      {"+2.5", 2.5},
      {".5", 0.5},
      {"-.25", -0.25},
      {"7.", 7.0},
      {"  \t42", 42.0},
      {"1e3", 1000.0},
      {"2.5E-2", 0.025},
      {"1e+2x", 100.0},
      {"1e", 1.0},   // exponent without digits is not part of the number
      {"1e+", 1.0},
      {"3.e1", 30.0},
      {"12abc", 12.0},
      {"70 ; comment", 70.0},
      {"1,5", 1.0},  // the decimal point is always '.'
      {"", 0.0},
      {"abc", 0.0},
      {".", 0.0},
      {"-", 0.0},
      {"+ 5", 0.0},
      {"\n5", 0.0},  // only spaces and tabs are skipped
      {"e5", 0.0},
      {"inf", 0.0},
      {"-INFINITY", 0.0},
      {"nan", 0.0},
      {"NAN(123)", 0.0},
      {"0x10", 0.0},
      {"0x1p3", 0.0},
      {"1e400", DBL_MAX},
      {"-1e400", -DBL_MAX},
      {"1e99999999999999999999", DBL_MAX},
      {"0.0000001e-400", 0.0},
      {"1e-99999999999999999999", 0.0},
      {"0e999999", 0.0},
      {"000000000000000000000000000012.5", 12.5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("text \"" + c.text + "\"");
    const double v = frame::parse_decimal(c.text);
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_DOUBLE_EQ(v, c.expected);
  }
}

TEST(ParseDecimal, SurvivesVeryLongDigitStrings) {
  EXPECT_EQ(frame::parse_decimal(std::string(100000, '9')), DBL_MAX);
  EXPECT_DOUBLE_EQ(frame::parse_decimal("0." + std::string(100000, '0') + "1e100000"), 0.1);
  EXPECT_DOUBLE_EQ(frame::parse_decimal("1" + std::string(100000, '0') + "e-100000"), 1.0);
}

TEST(ParseInt, TruncatesTowardZeroAndSaturates) {
  const struct {
    const char* text;
    std::int32_t expected;
  } cases[] = {
      {"1.9", 1},          {"-1.9", -1},         {"0.99", 0},
      {"70", 70},          {"abc", 0},           {"99999999999", INT32_MAX},
      {"-99999999999", INT32_MIN},               {"1e400", INT32_MAX},
      {"2147483647.9", INT32_MAX},               {"-2147483648.9", INT32_MIN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(frame::parse_int(c.text), c.expected);
  }
}

TEST(ToInt, HandlesNaNInfinityAndRangeLimits) {
  const struct {
    double v;
    std::int32_t expected;
  } cases[] = {
      {kNaN, 0},
      {kInf, INT32_MAX},
      {-kInf, INT32_MIN},
      {1e300, INT32_MAX},
      {-1e300, INT32_MIN},
      {2147483647.0, INT32_MAX},
      {2147483648.0, INT32_MAX},
      {-2147483648.0, INT32_MIN},
      {-2147483649.0, INT32_MIN},
      {3.99, 3},
      {-3.99, -3},
      {-0.5, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.v);
    EXPECT_EQ(frame::to_int(c.v), c.expected);
  }
}

TEST(SaturateCast, UsesTheLimitsOfEachType) {
  EXPECT_EQ(frame::saturate_cast<std::int8_t>(200.0), INT8_MAX);
  EXPECT_EQ(frame::saturate_cast<std::int8_t>(-200.0), INT8_MIN);
  EXPECT_EQ(frame::saturate_cast<std::int8_t>(-1.7), -1);
  EXPECT_EQ(frame::saturate_cast<std::int16_t>(40000.0), INT16_MAX);
  EXPECT_EQ(frame::saturate_cast<std::uint8_t>(-5.0), 0);
  EXPECT_EQ(frame::saturate_cast<std::uint8_t>(255.9), 255);
  EXPECT_EQ(frame::saturate_cast<std::uint8_t>(256.0), 255);
  EXPECT_EQ(frame::saturate_cast<std::uint32_t>(kNaN), 0u);
  EXPECT_EQ(frame::saturate_cast<std::uint32_t>(5e9), UINT32_MAX);
  EXPECT_EQ(frame::saturate_cast<std::int64_t>(1e19), INT64_MAX);
  EXPECT_EQ(frame::saturate_cast<std::int64_t>(-1e19), INT64_MIN);
  // 2^63 and 2^64 are the first doubles beyond the range; the one below 2^63 fits.
  EXPECT_EQ(frame::saturate_cast<std::int64_t>(std::ldexp(1.0, 63)), INT64_MAX);
  EXPECT_EQ(frame::saturate_cast<std::int64_t>(std::ldexp(1.0, 63) - 1024.0),
            INT64_MAX - 1023);
  EXPECT_EQ(frame::saturate_cast<std::uint64_t>(std::ldexp(1.0, 64)), UINT64_MAX);
  EXPECT_EQ(frame::saturate_cast<std::uint64_t>(kInf), UINT64_MAX);
}

TEST(WrapAngles, BringAnglesIntoTheirRange) {
  const struct {
    double deg;
    double w360;
    double w180;
  } cases[] = {
      {0.0, 0.0, 0.0},
      {-10.0, 350.0, -10.0},
      {-360.0, 0.0, 0.0},
      {360.0, 0.0, 0.0},
      {725.5, 5.5, 5.5},
      {180.0, 180.0, -180.0},
      {-180.0, 180.0, -180.0},
      {190.0, 190.0, -170.0},
      {-1e-20, 0.0, 0.0},  // 360 - 1e-20 rounds to 360, which is out of range
      {1e300, 0.0, 0.0},  // a multiple of 360 in double precision
      {-1e300, 0.0, 0.0},
      {3.6e15 + 40.5, 40.5, 40.5},
      {kNaN, 0.0, 0.0},
      {kInf, 0.0, 0.0},
      {-kInf, 0.0, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.deg);
    const double a = frame::wrap360(c.deg);
    const double b = frame::wrap180(c.deg);
    EXPECT_DOUBLE_EQ(a, c.w360);
    EXPECT_DOUBLE_EQ(b, c.w180);
    EXPECT_GE(a, 0.0);
    EXPECT_LT(a, 360.0);
    EXPECT_GE(b, -180.0);
    EXPECT_LT(b, 180.0);
  }
}

TEST(WrapAngles, UpperWrapKeepsNorthAt360) {
  const struct {
    double deg, wrapped;
  } cases[] = {
      {0.0, 360.0}, {360.0, 360.0}, {720.0, 360.0}, {-360.0, 360.0}, {0.5, 0.5},
      {359.5, 359.5}, {-10.0, 350.0}, {725.5, 5.5}, {1e300, 360.0}, {kNaN, 360.0},
      {kInf, 360.0},
  };
  for (const auto& c : cases) {
    const double w = frame::wrap360_upper(c.deg);
    EXPECT_DOUBLE_EQ(w, c.wrapped) << c.deg;
    EXPECT_GT(w, 0.0) << c.deg;
    EXPECT_LE(w, 360.0) << c.deg;
  }
}

}  // namespace
