// The standard atmosphere against the published table, non-standard days
// against the hydrostatic equation, and the airspeed relations.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/atmosphere.h"

namespace host::atmo {
namespace {

struct TableRow {
  double geopotential_m;
  double pressure_pa;
  double temperature_k;
};
// ICAO standard atmosphere, layer bases and one point inside the first layer.
constexpr TableRow kTable[] = {
    {0.0, 101325.0, 288.15},      {5000.0, 54019.9, 255.65},  {11000.0, 22632.1, 216.65},
    {20000.0, 5474.89, 216.65},   {32000.0, 868.019, 228.65}, {47000.0, 110.906, 270.65},
    {51000.0, 66.9389, 270.65},   {71000.0, 3.95642, 214.65},
};

TEST(Atmosphere, FollowsTheStandardTable) {
  for (const TableRow& row : kTable) {
    const Air air = air_at(geometric(row.geopotential_m));
    EXPECT_NEAR(air.pressure / row.pressure_pa, 1.0, 2e-5) << row.geopotential_m;
    EXPECT_NEAR(air.temperature, row.temperature_k, 1e-6) << row.geopotential_m;
    EXPECT_NEAR(standard_pressure(row.geopotential_m) / row.pressure_pa, 1.0, 2e-5);
  }
}

TEST(Atmosphere, NamedPointsInHectopascalAndCelsius) {
  struct Case {
    const char* what;
    double geometric_m;
    double hpa;
    double celsius;
  };
  const Case cases[] = {
      {"sea level", 0.0, 1013.25, 15.0},
      {"geopotential 5000 m", geometric(5000.0), 540.2, -17.5},
      {"geometric 11019 m (geopotential 11000)", 11019.0, 226.3, -56.5},
  };
  for (const Case& c : cases) {
    const Air air = air_at(c.geometric_m);
    EXPECT_NEAR(air.pressure / 100.0, c.hpa, 0.05) << c.what;
    EXPECT_NEAR(air.temperature - 273.15, c.celsius, 0.01) << c.what;
  }
  const Air sl = air_at(0.0);
  EXPECT_NEAR(sl.density, 1.225, 1e-4);
  EXPECT_NEAR(sl.sound_speed, 340.294, 1e-3);
  EXPECT_NEAR(geopotential(11019.0), 11000.0, 0.1);
}

// dp/dH = -p g0 / (R T) with the model's own temperatures, integrated from
// sea level: the pressures must agree on warm, cold and high-QNH days and
// across layer boundaries.
TEST(Atmosphere, NonStandardDaysAreHydrostatic) {
  struct Day {
    double qnh;
    double offset;
  };
  const Day days[] = {{1013.25, 0.0}, {1013.25, 20.0}, {1030.0, -15.0}, {980.0, 35.0}};
  for (const Day& d : days) {
    EXPECT_NEAR(air_at(0.0, d.qnh, d.offset).pressure, d.qnh * 100.0, 1e-6);
    EXPECT_NEAR(air_at(0.0, d.qnh, d.offset).temperature, kT0 + d.offset, 1e-9);
    double p = d.qnh * 100.0;
    const double step = 5.0;
    for (double h = 0.0; h < 30000.0; h += step) {
      // Midpoint rule in geopotential altitude.
      const double t = air_at(geometric(h + step / 2), d.qnh, d.offset).temperature;
      p *= std::exp(-kG0 * step / (kR * t));
      const double at = h + step;
      if (std::fmod(at, 2500.0) == 0.0) {
        EXPECT_NEAR(air_at(geometric(at), d.qnh, d.offset).pressure / p, 1.0, 1e-6)
            << "qnh " << d.qnh << " offset " << d.offset << " at " << at;
      }
    }
  }
  // Warm air weighs less: the pressure aloft is higher than standard.
  EXPECT_GT(air_at(5000.0, 1013.25, 20.0).pressure, air_at(5000.0).pressure);
}

TEST(Atmosphere, PressureAltitudeInvertsTheStandard) {
  for (double h : {-1000.0, 0.0, 800.0, 5000.0, 11000.0, 15000.0, 25000.0, 40000.0, 50000.0,
                   60000.0, 80000.0}) {
    EXPECT_NEAR(pressure_altitude(standard_pressure(h)), h, 1e-4) << h;
  }
  // 1000 hPa lies about 111 m up.
  EXPECT_NEAR(pressure_altitude(100000.0), 110.9, 0.1);
  EXPECT_EQ(pressure_altitude(0.0), kMaxAltitude);
  EXPECT_EQ(pressure_altitude(std::numeric_limits<double>::quiet_NaN()), kMaxAltitude);
}

TEST(Atmosphere, BadInputIsSafe) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Air a = air_at(nan, nan, nan);
  EXPECT_NEAR(a.pressure, kP0, 1e-6);
  const Air deep = air_at(-1e9);
  const Air high = air_at(1e9);
  EXPECT_TRUE(std::isfinite(deep.pressure) && deep.pressure > kP0);
  EXPECT_TRUE(std::isfinite(high.pressure) && high.pressure > 0.0);
  EXPECT_EQ(mach_from_cas(nan, kP0), 0.0);
  EXPECT_EQ(cas_from_mach(-1.0, kP0), 0.0);
  EXPECT_EQ(mach_from_impact(1000.0, 0.0), 10.0);
}

// IAS -> Mach -> TAS -> Mach -> IAS at several altitudes and speeds, sub-
// and supersonic.
TEST(Airspeed, RoundTripsAtSeveralAltitudes) {
  for (double alt : {0.0, 3000.0, 11019.0, 20000.0}) {
    const Air air = air_at(alt);
    for (double cas_kmh : {150.0, 500.0, 900.0, 1500.0, 2500.0}) {
      const double mach = mach_from_cas(cas_kmh / 3.6, air.pressure);
      const double tas = mach * air.sound_speed;
      const double back = cas_from_mach(tas / air.sound_speed, air.pressure) * 3.6;
      EXPECT_NEAR(back, cas_kmh, 1e-6) << "alt " << alt << " cas " << cas_kmh;
      EXPECT_GE(tas * 3.6, cas_kmh - 1e-6);  // never slower than indicated up high
    }
  }
}

TEST(Airspeed, KnownValues) {
  const double a0 = sea_level_sound_speed();
  // At sea level on a standard day indicated is true.
  EXPECT_NEAR(mach_from_cas(200.0, kP0) * a0, 200.0, 1e-9);
  // Mach 1 at sea level indicates the speed of sound.
  EXPECT_NEAR(cas_from_mach(1.0, kP0), a0, 1e-9);
  EXPECT_NEAR(impact_pressure(1.0, kP0) / kP0, 0.892929, 1e-6);
  // Mach 0.8 at 11 km indicates about 265 knots.
  EXPECT_NEAR(cas_from_mach(0.8, 22632.1) / 0.514444, 265.2, 0.3);
  // Slow flight: compressibility vanishes, CAS ~ TAS x sqrt(density ratio).
  const Air air = air_at(5000.0);
  const double tas = 100.0 / 3.6;
  EXPECT_NEAR(cas_from_mach(tas / air.sound_speed, air.pressure),
              tas * std::sqrt(air.density / 1.225), tas * 2e-3);
  // Supersonic: the pitot branch joins at Mach 1 and inverts beyond it.
  EXPECT_NEAR(impact_pressure(1.0 + 1e-9, kP0), impact_pressure(1.0, kP0), 1e-3);
  for (double m : {1.2, 2.0, 3.5})
    EXPECT_NEAR(mach_from_impact(impact_pressure(m, 5000.0), 5000.0), m, 1e-9);
  // Beyond Mach 10 the model stops.
  EXPECT_EQ(mach_from_cas(2500.0 / 3.6, air_at(45000.0).pressure), 10.0);
}

}  // namespace
}  // namespace host::atmo
