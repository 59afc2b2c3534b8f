// The instruments of the air-data and radio modules as pure steps: host
// values in, needle and drum values out, against the instruments' formulas
// worked by hand.
#include "smallmods/instruments.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "frame/numeric.h"
#include "frame/patterns.h"
#include "smallmods/airdata.h"
#include "smallmods/radiopanel.h"

namespace smallmods {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kSeaLevel = 1013.2 * 16.0;  // variable 342 at the model's sea level
constexpr double k5000m = 540.48 * 16.0;     // standard day at 5000 m
constexpr double k10000m = 264.999 * 16.0;   // standard day at 10000 m

TEST(Limit, HoldsWithinTheStopsAndRestsNaNOnTheLowerOne) {
  struct Case {
    double v, lo, hi, expected;
  };
  const Case cases[] = {
      {5.0, 0.0, 10.0, 5.0},      {-1.0, 0.0, 10.0, 0.0},  {11.0, 0.0, 10.0, 10.0},
      {0.0, 0.0, 10.0, 0.0},      {10.0, 0.0, 10.0, 10.0}, {kNaN, 370.0, 1100.0, 370.0},
      {kNaN, -40.0, 40.0, -40.0}, {kInf, 0.0, 10.0, 10.0}, {-kInf, 0.0, 10.0, 0.0},
  };
  for (const Case& c : cases) EXPECT_EQ(frame::limit(c.v, c.lo, c.hi), c.expected) << c.v;
}

TEST(AirData, PressureAltitudeAndDensityRatio) {
  struct Case {
    const char* what;
    double pressure;
    double press_alt, alt_tol;
    double ratio, ratio_tol;
  };
  const Case cases[] = {
      {"sea level of the model", kSeaLevel, 0.0, 1e-9, 1.0, 1e-12},
      {"5000 m standard", k5000m, 4997.5, 0.1, 1.66434, 1e-5},
      {"10000 m standard", k10000m, 9986.8, 0.1, 2.96601, 1e-5},
      // No data: a host before its first update, or a broken value.
      {"zero", 0.0, 0.0, 0.0, 1.0, 0.0},
      {"negative", -16.0, 0.0, 0.0, 1.0, 0.0},
      {"NaN", kNaN, 0.0, 0.0, 1.0, 0.0},
      {"infinite", kInf, 0.0, 0.0, 1.0, 0.0},
  };
  for (const Case& c : cases) {
    const AirData a = air_data(c.pressure);
    EXPECT_NEAR(a.press_alt, c.press_alt, c.alt_tol) << c.what;
    EXPECT_NEAR(a.density_ratio, c.ratio, c.ratio_tol) << c.what;
  }
}

TEST(SpeedIndicator, NeedlesKeepTheirStopsAndTasUsesTheRawIas) {
  struct Case {
    const char* what;
    SpeedLimits limits;
    double ias_knots, pressure;
    double ias, tas;
  };
  const double tas_300kt_5000m = 555.6 * std::sqrt(1.6643448655813);
  const Case cases[] = {
      {"700: at rest", kKus700_1100Limits, 0.0, kSeaLevel, 0.0, 370.0},
      {"1200: at rest", kKus1200Limits, 0.0, kSeaLevel, 100.0, 100.0},
      {"700: before the first update", kKus700_1100Limits, 0.0, 0.0, 0.0, 370.0},
      {"700: 300 kt at 5000 m", kKus700_1100Limits, 300.0, k5000m, 555.6, tas_300kt_5000m},
      {"1200: 300 kt at 5000 m", kKus1200Limits, 300.0, k5000m, 555.6, tas_300kt_5000m},
      {"700: 300 kt, no pressure", kKus700_1100Limits, 300.0, 0.0, 555.6, 555.6},
      // Below the IAS stop the TAS still follows the airspeed.
      {"1200: 50 kt at 10000 m", kKus1200Limits, 50.0, k10000m, 100.0, 159.4768},
      {"700: 500 kt at sea level", kKus700_1100Limits, 500.0, kSeaLevel, 750.0, 926.0},
      {"700: 700 kt at 10000 m", kKus700_1100Limits, 700.0, k10000m, 750.0, 1100.0},
      {"1200: 700 kt at sea level", kKus1200Limits, 700.0, kSeaLevel, 1200.0, 1200.0},
      {"700: NaN airspeed", kKus700_1100Limits, kNaN, kSeaLevel, 0.0, 370.0},
      {"1200: NaN pressure", kKus1200Limits, 300.0, kNaN, 555.6, 555.6},
      {"1200: negative airspeed", kKus1200Limits, -50.0, kSeaLevel, 100.0, 100.0},
  };
  for (const Case& c : cases) {
    SpeedIndicator s{.limits = c.limits};
    speed_indicator_step(s, c.ias_knots, c.pressure);
    EXPECT_NEAR(ias_needle(s), c.ias, 1e-9) << c.what;
    EXPECT_NEAR(tas_needle(s), c.tas, 1e-3) << c.what;
  }
}

TEST(SpeedIndicator, NeverBelowItsTasStopBeforeAnyFrame) {
  EXPECT_EQ(tas_needle(SpeedIndicator{.limits = kKus700_1100Limits}), 370.0);
  EXPECT_EQ(tas_needle(SpeedIndicator{.limits = kKus1200Limits}), 100.0);
}

TEST(MachIndicator, NeedleStopsAndOverspeed) {
  struct Case {
    double units, needle;
    int overspeed;  // against 0.82
  };
  const Case cases[] = {
      {0.0, 0.44, 0},     {16384.0, 0.8, 0},  {16793.0, 16793.0 / 20480.0, 0},
      {17408.0, 0.85, 1}, {30000.0, 1.04, 1}, {kNaN, 0.44, 0},
      {-kInf, 0.44, 0},
  };
  for (const Case& c : cases) {
    MachIndicator s{.critical_mach = 0.82};
    mach_indicator_step(s, c.units);
    EXPECT_NEAR(mach_needle(s), c.needle, 1e-12) << c.units;
    EXPECT_EQ(s.overspeed, c.overspeed) << c.units;
    EXPECT_EQ(s.critical_mach, 0.82);
  }
}

TEST(Variometer, MetresPerSecondWithinForty) {
  const std::array<std::array<double, 2>, 6> cases{
      {{0.0, 0.0}, {2560.0, 10.0}, {-1280.0, -5.0}, {20480.0, 40.0}, {-1e9, -40.0}, {kNaN, 0.0}}};
  for (const auto& [units, needle] : cases) {
    Variometer s;
    variometer_step(s, units);
    EXPECT_EQ(vs_needle(s), needle) << units;
  }
}

TEST(Transponder, OctalDigitsStepOnlyWithinZeroToSeven) {
  for (u32 d = 0; d <= 7; ++d) {
    EXPECT_EQ(xpdr_may_step(d, +1), d < 7) << d;
    EXPECT_EQ(xpdr_may_step(d, -1), d > 0) << d;
  }
  // A damaged nibble can go down, never up.
  EXPECT_FALSE(xpdr_may_step(9, +1));
  EXPECT_TRUE(xpdr_may_step(9, -1));
}

TEST(Transponder, DigitsAndKnobImagesFromTheCodeWord) {
  struct Case {
    double word;
    std::array<u32, 4> digits;
    std::array<double, 4> knobs;
  };
  const Case cases[] = {
      {0x1200, {1, 2, 0, 0}, {-60.0, -60.0, -90.0, -120.0}},
      {0x7531, {7, 5, 3, 1}, {120.0, 30.0, 0.0, -90.0}},
      {0x0000, {0, 0, 0, 0}, {-90.0, -120.0, -90.0, -120.0}},
      {kNaN, {0, 0, 0, 0}, {-90.0, -120.0, -90.0, -120.0}},
      {-1.0, {0, 0, 0, 0}, {-90.0, -120.0, -90.0, -120.0}},
  };
  for (const Case& c : cases) {
    Transponder s;
    transponder_step(s, c.word);
    EXPECT_EQ(s.xpdr_digit, c.digits) << c.word;
    for (int k = 0; k < 4; ++k)
      EXPECT_EQ(xpdr_knob_angle(s.xpdr_digit[static_cast<std::size_t>(k)], k),
                c.knobs[static_cast<std::size_t>(k)])
          << c.word << " knob " << k;
  }
}

TEST(ComPanel, SplitsTheFrequencyWordIntoFourDrums) {
  struct Case {
    double word;
    std::array<u32, 4> digits;
    double drums;  // the number the drums show
  };
  const Case cases[] = {
      {0x2280, {2, 2, 8, 0}, 2280.0},                                      // 122.80
      {0x1802, {1, 8, 0, 2}, 1802.0},                                      // 118.025 cut to 118.02
      {0x3697, {3, 6, 9, 7}, 3697.0}, {0x2A8F, {2, 0xA, 8, 0xF}, 2989.0},  // damaged nibbles show 9
      {kNaN, {0, 0, 0, 0}, 0.0},      {70000.0, {0, 0, 0, 0}, 0.0},
  };
  for (const Case& c : cases) {
    ComPanel s;
    com_step(s, c.word);
    EXPECT_EQ(s.com_digit, c.digits) << c.word;
    EXPECT_EQ(com_drum_number(s), c.drums) << c.word;
    // Whole digits: drum k shows digit k from the lowest, no roll between them.
    const frame::DrumValues d = frame::drum_split(com_drum_number(s), 4);
    for (int k = 0; k < 4; ++k)
      EXPECT_EQ(frame::drum_show(d, k),
                std::min<u32>(c.digits[3 - static_cast<std::size_t>(k)], 9) * 100.0)
          << c.word << " drum " << k;
  }
}

// What the four drums of a counter show, lowest first, odometer carry included.
std::array<double, 4> shown(double number) {
  const frame::DrumValues d = frame::drum_split(number, kCounterDrums);
  std::array<double, 4> out{};
  for (int k = 0; k < 4; ++k) out[static_cast<std::size_t>(k)] = frame::drum_show(d, k);
  return out;
}

TEST(Counters, PressureCounterTurnsItsUnitsDrum) {
  struct Case {
    double setting;
    std::array<double, 4> drums;
  };
  const Case cases[] = {
      {1013.0, {300.0, 100.0, 0.0, 100.0}},  {940.0, {0.0, 400.0, 900.0, 0.0}},
      {1090.0, {0.0, 900.0, 0.0, 100.0}},    {1013.5, {350.0, 100.0, 0.0, 100.0}},
      {760.006, {0.0, 600.0, 700.0, 0.0}},    // cut to hundredths
      {1009.75, {975.0, 75.0, 0.0, 100.0}},   // 9 to 0: the tens drum rolls along
      {999.75, {975.0, 975.0, 975.0, 75.0}},  // a chain of 9s rolls together
  };
  for (const Case& c : cases) {
    const auto got = shown(pressure_counter(c.setting));
    for (std::size_t k = 0; k < 4; ++k)
      EXPECT_NEAR(got[k], c.drums[k], 1e-6) << c.setting << " drum " << k;
  }
}

TEST(Counters, AltitudeCounterTurnsAtTheTensAndRollsBackBelowZero) {
  struct Case {
    double altitude;
    std::array<double, 4> drums;
  };
  const Case cases[] = {
      {0.0, {0.0, 0.0, 0.0, 0.0}},
      {12345.5, {455.0, 300.0, 200.0, 100.0}},
      {3280.84, {808.0, 200.0, 300.0, 0.0}},
      {995.0, {950.0, 950.0, 50.0, 0.0}},      // 0990 rolling to 1000
      {-0.5, {995.0, 995.0, 995.0, 995.0}},    // just below zero: 9999.5 tens, rolling
      {-120.0, {800.0, 800.0, 900.0, 900.0}},  // 99880
      {kNaN, {0.0, 0.0, 0.0, 0.0}},
  };
  for (const Case& c : cases) {
    const auto got = shown(altitude_counter(c.altitude));
    for (std::size_t k = 0; k < 4; ++k)
      EXPECT_NEAR(got[k], c.drums[k], 1e-6) << c.altitude << " drum " << k;
  }
}

TEST(UnitFactors, MetricWithMetresIsTwoTruncated) {
  struct Case {
    double setting, metres, feet;
  };
  const Case cases[] = {
      {2.0, 1.0, 3.28084}, {2.9, 1.0, 3.28084}, {0.0, 0.3048, 1.0},
      {1.0, 0.3048, 1.0},  {3.0, 0.3048, 1.0},  {kNaN, 0.3048, 1.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(metres_factor(c.setting), c.metres) << c.setting;
    EXPECT_EQ(feet_factor(c.setting), c.feet) << c.setting;
  }
}

TEST(Altimeter, NeedlesPressureScaleAndMarks) {
  struct Case {
    const char* what;
    double alt, inhg, units;
    double n1000, n10000, scale, mark, mark_coarse;
  };
  const double std_inhg = 1013.25 / 33.8639;  // 759.97 mm Hg
  const double dev = (std_inhg * 25.4 - 760.0) * 3.0;
  const Case cases[] = {
      {"metres used unscaled", 1234.5, std_inhg, 2.0, 234 * 0.36 - 90.0, 1234 * 0.036 - 90.0,
       std_inhg * 25.4 - 710.0, -90.0, dev * -0.144 - 90.0},
      {"feet to metres", 1000.0, std_inhg, 0.0, 304 * 0.36 - 90.0, 304 * 0.036 - 90.0,
       std_inhg * 25.4 - 710.0, -90.0, dev * -0.144 - 90.0},
      // press_dev (762 - 760) x 3 = 6: marks truncate(-8.64) - 90 and -0.864 - 90.
      {"below sea level", -123.4, 30.0, 2.0, -123 * 0.36 - 90.0, -123 * 0.036 - 90.0, 52.0, -98.0,
       -90.864},
      // Everything 0: press_dev -2280, truncate(3283.2) mod 1000 = 283.
      {"no data", kNaN, kNaN, kNaN, -90.0, -90.0, -710.0, 193.0, 238.32},
  };
  for (const Case& c : cases) {
    Altimeter s;
    altimeter_step(s, c.alt, c.inhg, c.units);
    EXPECT_NEAR(altimeter_needle_1000(s), c.n1000, 1e-9) << c.what;
    EXPECT_NEAR(altimeter_needle_10000(s), c.n10000, 1e-9) << c.what;
    EXPECT_NEAR(altimeter_pressure_scale(s), c.scale, 1e-9) << c.what;
    EXPECT_NEAR(altimeter_mark_1000(s), c.mark, 1e-9) << c.what;
    EXPECT_NEAR(altimeter_mark_10000(s), c.mark_coarse, 1e-9) << c.what;
  }
}

TEST(Uvid, FeetFromItsOwnSettingAndTheFailureFlag) {
  struct Case {
    const char* what;
    double setting, alt, hpa, units, volts;
    double feet, flag;
  };
  const Case cases[] = {
      {"metres multiplied to feet", 1013.0, 1000.0, 1013.0, 2.0, 28.0, 3280.84, -1.0},
      {"feet unscaled", 1013.0, 1000.0, 1013.0, 0.0, 28.0, 1000.0, -1.0},
      {"own setting 10 hPa above", 1013.0, 0.0, 1003.0, 0.0, 28.0, 295.27559, -1.0},
      {"own setting at its stop", 940.0, 500.0, 1013.0, 0.0, 27.0, 500.0 - 73.0 * 29.527559, -1.0},
      {"no bus", 1013.0, 0.0, 1013.0, 0.0, 0.0, 0.0, 0.0},
      {"no bus value", 1013.0, 0.0, 1013.0, 0.0, kNaN, 0.0, 0.0},
  };
  for (const Case& c : cases) {
    FeetAltimeter s;
    s.uvid_setting_hpa = c.setting;
    uvid_step(s, c.alt, c.hpa, c.units, c.volts);
    EXPECT_NEAR(s.altitude, c.feet, 1e-9) << c.what;
    EXPECT_NEAR(uvid_needle(s), c.feet * 0.36 - 90.0, 1e-9) << c.what;
    EXPECT_EQ(uvid_flag(s), c.flag) << c.what;
  }
}

TEST(Uvo, MetresAndTheSettingInMillimetres) {
  Uvo s;
  uvo_step(s, 1000.0, 29.92, 0.0);
  EXPECT_NEAR(s.altitude, 304.8, 1e-9);
  EXPECT_NEAR(uvo_needle(s), 304.8 * 0.36 - 90.0, 1e-9);
  EXPECT_NEAR(s.setting_mmhg, 759.968, 1e-9);
  uvo_step(s, 1000.0, 29.92, 2.0);
  EXPECT_NEAR(s.altitude, 1000.0, 1e-9);
}

TEST(MachMeterAndCombinedSpeed, DegreesWithinTheirStops) {
  struct Case {
    double mach_units, um1;
  };
  const Case mach[] = {
      {0.0, 144.0}, {10240.0, 216.0}, {16384.0, 324.0}, {30000.0, 396.0}, {kNaN, 144.0}};
  for (const Case& c : mach)
    EXPECT_NEAR(um1_needle(MachMeter{.mach_units = sane(c.mach_units)}), c.um1, 1e-9)
        << c.mach_units;
  struct Speed {
    double kmh, usi;
  };
  const Speed speed[] = {{0.0, -90.0}, {500.0, 60.0}, {1000.0, 260.0}, {2000.0, 260.0}};
  for (const Speed& c : speed)
    EXPECT_NEAR(usi_needle(CombinedSpeed{.ias_kmh = c.kmh}), c.usi, 1e-9) << c.kmh;
}

TEST(Thermometer, OneDegreeOfTurnPerDegreeCelsius) {
  const std::array<std::array<double, 2>, 4> cases{
      {{15.0 / 256.0, 15.0}, {-56.5 / 256.0, -56.5}, {0.0, 0.0}, {kNaN, 0.0}}};
  for (const auto& [value, needle] : cases) {
    Thermometer s;
    thermometer_step(s, value);
    EXPECT_NEAR(temp_needle(s), needle, 1e-12) << value;
  }
}

}  // namespace
}  // namespace smallmods
