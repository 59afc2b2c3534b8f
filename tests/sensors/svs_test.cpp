// The air-data computer's frame and test, and the speed indicator's needle.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "nav/diss.h"
#include "nav/svs.h"
#include "nav/usvp.h"

namespace {

using nav::SvsInputs;
using nav::SvsState;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

SvsInputs at(double mach, double oat_c) { return SvsInputs{mach * 20480.0, oat_c}; }

double expected_tas(double mach, double oat_c) { return std::sqrt(oat_c + 273.15) * mach * 72.0; }

TEST(AirData, TrueAirspeedFromMachAndTemperature) {
  struct Case {
    double mach, oat;
  };
  constexpr Case kCases[] = {{0.0, 15.0}, {0.3, 15.0}, {0.8, -56.5}, {0.5, 40.0}};
  for (const Case& c : kCases) {
    SvsState s;
    s.svs_power = 1;
    nav::svs_step(s, at(c.mach, c.oat));
    nav::svs_step(s, at(c.mach, c.oat));  // tas follows tas_raw a frame later
    EXPECT_NEAR(s.mach, c.mach, 1e-12);
    EXPECT_NEAR(s.tas, expected_tas(c.mach, c.oat), 1e-9) << c.mach << " " << c.oat;
    EXPECT_EQ(s.svs_valid, 1);
  }
}

TEST(AirData, TestGives900For16FramesThenTheComputedValue) {
  SvsState s;
  s.svs_power = 1;
  const SvsInputs in = at(0.5, 15.0);
  nav::svs_step(s, in);
  nav::svs_start_test(s);
  int frames_at_900 = 0;
  for (int i = 0; i < 30; ++i) {
    nav::svs_step(s, in);
    if (s.tas == nav::kSvsTestSpeed) {
      ++frames_at_900;
    } else {
      EXPECT_NEAR(s.tas, expected_tas(0.5, 15.0), 1e-9) << "frame " << i;
      // Once over, it does not come back.
      EXPECT_TRUE(frames_at_900 == 0 || frames_at_900 == 16) << "frame " << i;
    }
  }
  EXPECT_EQ(frames_at_900, 16);
  EXPECT_EQ(s.svs_test, 0);
}

TEST(AirData, UnpoweredKeepsItsSpeedAndIsInvalid) {
  SvsState s;
  s.svs_power = 1;
  nav::svs_step(s, at(0.5, 15.0));
  nav::svs_step(s, at(0.5, 15.0));
  const double before = s.tas;
  s.svs_power = 0;
  nav::svs_step(s, at(0.8, 15.0));
  nav::svs_step(s, at(0.8, 15.0));
  EXPECT_EQ(s.tas, before);
  EXPECT_EQ(s.svs_valid, 0);
  // The test runs its frames unpowered too, but feeds nothing.
  nav::svs_start_test(s);
  nav::svs_step(s, at(0.8, 15.0));
  nav::svs_step(s, at(0.8, 15.0));
  EXPECT_EQ(s.tas, before);
}

TEST(AirData, HostValuesWithoutDataKeepThePreviousValue) {
  struct Case {
    double mach_raw, oat;
  };
  const Case kCases[] = {{kNaN, 15.0},
                         {0.5 * 20480.0, kNaN},
                         {0.5 * 20480.0, -273.15},
                         {0.5 * 20480.0, -300.0},
                         {std::numeric_limits<double>::infinity(), 15.0}};
  for (const Case& c : kCases) {
    SvsState s;
    s.svs_power = 1;
    nav::svs_step(s, at(0.3, 15.0));
    const double raw = s.tas_raw;
    nav::svs_step(s, SvsInputs{c.mach_raw, c.oat});
    EXPECT_TRUE(std::isfinite(s.tas_raw)) << c.mach_raw << " " << c.oat;
    EXPECT_TRUE(std::isfinite(s.mach));
    if (!std::isfinite(c.oat) || c.oat <= -273.15 || std::isnan(c.mach_raw)) {
      EXPECT_EQ(s.tas_raw, raw) << c.mach_raw << " " << c.oat;
    }
  }
}

TEST(SpeedIndicator, NeedleFollowsTheSelectedSourceWhileItIsGood) {
  struct Case {
    const char* name;
    int mode;
    int diss_memory, diss_test, svs_valid;
    double angle;  // after the step, from -90 (0 km/h) before it
  };
  // Doppler 500 km/h, air data 800 km/h.
  constexpr Case kCases[] = {
      {"ground speed, doppler working", 0, 0, 0, 1, 500 * 0.36 - 90},
      {"ground speed, doppler in test", 0, 1, 1, 1, 500 * 0.36 - 90},
      {"ground speed, doppler in memory", 0, 1, 0, 1, -90.0},
      {"TAS, air data valid", 1, 1, 0, 1, 800 * 0.36 - 90},
      {"TAS, air data unpowered", 1, 0, 0, 0, -90.0},
  };
  for (const Case& c : kCases) {
    nav::UsvpState u;
    u.usvp_mode = c.mode;
    nav::DissState d;
    d.diss_speed = 500.0;
    d.diss_memory = c.diss_memory;
    d.diss_test = c.diss_test;
    SvsState a;
    a.tas = 800.0;
    a.svs_valid = c.svs_valid;
    nav::usvp_step(u, d, a);
    EXPECT_NEAR(u.needle, c.angle, 1e-9) << c.name;
    EXPECT_EQ(u.ground_speed, 500.0) << c.name;
    EXPECT_EQ(u.tas, 800.0) << c.name;
  }
}

TEST(SpeedIndicator, ModeNamesOfTheTooltip) {
  EXPECT_STREQ(nav::usvp_mode_name(0), "Groundspeed");
  EXPECT_STREQ(nav::usvp_mode_name(1), "TAS");
  EXPECT_EQ(nav::usvp_angle(1000.0), 270.0);  // one turn from -90
}

}  // namespace
