// Each encoding of the world round-trips through the factor the modules
// decode it with. The factors here are written out as the modules use
// them, not taken from the host's constants.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "host/encodings.h"

namespace host::enc {
namespace {

struct Case {
  const char* what;
  std::function<double(double)> encode;
  std::function<double(double)> decode;  // as a module reads the variable
  double values[3];
  double tolerance;
};

TEST(Encodings, RoundTripThroughTheModulesFactors) {
  const Case cases[] = {
      {"latitude 71", lat_units, [](double v) { return v * 8.998425275576774e-06; },
       {55.75, -33.9, 89.99}, 1e-12},
      {"longitude 72", lon_units, [](double v) { return v * 1.2789769243681803e-12; },
       {37.6, -122.4, 179.99}, 1e-12},
      {"Mach 64", mach_units, [](double v) { return v * 4.8828125e-05; }, {0.82, 0.0, 1.5}, 1e-12},
      {"vertical speed 65", vs_units, [](double v) { return v / 256.0; }, {-3.6, 0.0, 25.0}, 1e-12},
      {"pressure 342", pressure_units, [](double v) { return v / 16.0; }, {226.3, 1013.25, 5.5},
       1e-12},
      {"speed 551 (km/h)", fps, [](double v) { return v * 1.09728; }, {800.0, 0.0, 250.0}, 1e-9},
      {"ias 61 (km/h)", knots, [](double v) { return v * 1.852; }, {463.0, 0.0, 1000.0}, 1e-9},
      {"outside air 350 (C)", oat_units, [](double v) { return v * 256.0; }, {-56.5, 0.0, 45.0},
       1e-12},
      {"radial 25", [](double d) { return static_cast<double>(angle16(d)); },
       [](double v) {
         const double d = v * 360.0 / 65536.0;
         return d < 0.0 ? d + 360.0 : d;
       },
       {0.0, 180.0, 271.40625}, 1e-9},
  };
  for (const Case& c : cases) {
    for (double v : c.values) EXPECT_NEAR(c.decode(c.encode(v)), v, c.tolerance) << c.what << " " << v;
  }
}

TEST(Encodings, Angle16WrapsAndRounds) {
  EXPECT_EQ(angle16(90.0), 16384u);
  EXPECT_EQ(angle16(-90.0), 49152u);
  EXPECT_EQ(angle16(360.0), 0u);
  EXPECT_EQ(angle16(359.999), 0u);  // rounds to a full turn
  EXPECT_EQ(angle16(std::nan("")), 0u);
  // A radial is within half a unit of its angle.
  EXPECT_NEAR(angle16(123.456) * 360.0 / 65536.0, 123.456, 360.0 / 65536.0 / 2);
}

// COM words as the radio panels split them: four digits after the leading
// 1, a 25 kHz channel cut to 10 kHz.
TEST(Encodings, ComFrequencyWord) {
  struct Pair {
    std::uint32_t khz;
    std::uint32_t word;
  };
  const Pair pairs[] = {{118000, 0x1800}, {118025, 0x1802}, {122800, 0x2280},
                        {121975, 0x2197}, {136975, 0x3697}};
  for (const Pair& p : pairs) EXPECT_EQ(com_bcd16(p.khz), p.word) << p.khz;
}

}  // namespace
}  // namespace host::enc
