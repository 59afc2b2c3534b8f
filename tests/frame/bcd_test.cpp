#include "frame/bcd.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

namespace {

using Digits = std::array<std::uint32_t, 4>;

struct WordCase {
  std::uint32_t code;
  std::uint32_t word;
  Digits digits;  // highest first
};

// Codes that round-trip, including the NAV, COM and transponder forms.
TEST(Bcd16, EncodesSplitsAndDecodes) {
  const WordCase cases[] = {
      {0, 0x0000, {0, 0, 0, 0}},    {9999, 0x9999, {9, 9, 9, 9}},
      {1050, 0x1050, {1, 0, 5, 0}},                                // NAV 110.50
      {800, 0x0800, {0, 8, 0, 0}},  {1802, 0x1802, {1, 8, 0, 2}},  // COM 118.02(5)
      {3697, 0x3697, {3, 6, 9, 7}},                                // COM 136.97(5)
      {7777, 0x7777, {7, 7, 7, 7}},                                // transponder
      {1200, 0x1200, {1, 2, 0, 0}},
  };
  for (const WordCase& c : cases) {
    EXPECT_EQ(frame::bcd16_encode(c.code), c.word) << c.code;
    EXPECT_EQ(frame::bcd16_decode(c.word), c.code) << c.code;
    EXPECT_EQ(frame::bcd16_digits(c.word), c.digits) << c.code;
  }
}

TEST(Bcd16, RefusesWordsThatAreNotDecimal) {
  const std::uint32_t bad[] = {0x10A0, 0x000F, 0xF000, 0x1F050, 0x10000};
  for (std::uint32_t w : bad) EXPECT_EQ(frame::bcd16_decode(w), std::nullopt) << std::hex << w;
  // Encoding keeps the last four digits; splitting looks at 16 bits only.
  EXPECT_EQ(frame::bcd16_encode(12345), 0x2345u);
  EXPECT_EQ(frame::bcd16_digits(0x1ABCD), (Digits{0xA, 0xB, 0xC, 0xD}));
}

TEST(Bcd16, HostValuesOutsideAWordReadAsZero) {
  struct Case {
    double value;
    std::uint32_t word;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {{4704.0, 0x1260}, {4704.9, 0x1260}, {65535.0, 0xFFFF},
                        {65536.0, 0},     {-1.0, 0},        {nan, 0},
                        {inf, 0},         {-inf, 0},        {1e300, 0}};
  for (const Case& c : cases) EXPECT_EQ(frame::bcd16_word(c.value), c.word) << c.value;
}

}  // namespace
