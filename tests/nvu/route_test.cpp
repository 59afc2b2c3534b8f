// The world model's routes: the true position in a leg's coordinates, the
// desired tracks against a free gyro, the `route` verb and the WHAT forms
// the navigation computer's scenarios use (world LEGKEY N, WHAT - WHAT).
#include "host/route.h"

#include <gtest/gtest.h>

#include <GeographicLib/Geodesic.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "host/scenario.h"
#include "tests/host/run_script.h"

namespace host {
namespace {

const GeographicLib::Geodesic& wgs84() { return GeographicLib::Geodesic::WGS84(); }

RoutePoint direct(const RoutePoint& from, double azimuth, double metres) {
  RoutePoint p;
  wgs84().Direct(from.lat, from.lon, azimuth, metres, p.lat, p.lon);
  return p;
}

double value(const Route& r, LegKey key, int leg, const RoutePoint& at) {
  return leg_value(r, key, leg, at.lat, at.lon).value_or(1e300);
}

TEST(Route, PositionInALegsCoordinates) {
  // A leg 100 km north along the meridian 10 E.
  const RoutePoint a{50.0, 10.0};
  const RoutePoint b = direct(a, 0.0, 100000.0);
  Route r;
  r.points = {a, b};
  const RoutePoint mid = direct(a, 0.0, 50000.0);
  const struct {
    const char* where;
    RoutePoint at;
    double s, z;
  } cases[] = {
      {"start", a, -100000.0, 0.0},
      {"end", b, 0.0, 0.0},
      {"2 km east of half way", direct(mid, 90.0, 2000.0), -50000.0, 2000.0},
      {"3 km west of half way", direct(mid, 270.0, 3000.0), -50000.0, -3000.0},
      {"5 km past the end", direct(b, 0.0, 5000.0), 5000.0, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(value(r, LegKey::kS, 1, c.at), c.s, 2.0) << c.where;
    EXPECT_NEAR(value(r, LegKey::kZ, 1, c.at), c.z, 2.0) << c.where;
  }
  EXPECT_DOUBLE_EQ(value(r, LegKey::kZpu, 1, a), 360.0) << "north is 360";
}

TEST(Route, DesiredTracksTurnWithTheMeridianConvergence) {
  // 120 km on an initial course of 30 from 52 N 30 E, then a leg whose
  // course at its start is 90 degrees right of the first leg's course at
  // its end: against the gyro aligned at the start, 30 and 120.
  const RoutePoint a{52.0, 30.0};
  RoutePoint b;
  double arrival = 0.0;
  wgs84().Direct(a.lat, a.lon, 30.0, 120000.0, b.lat, b.lon, arrival);
  const RoutePoint c = direct(b, arrival + 90.0, 100000.0);
  Route r;
  r.points = {a, b, c};
  EXPECT_NEAR(arrival - 30.0, 0.708, 0.001) << "the convergence of the first leg";
  EXPECT_NEAR(value(r, LegKey::kZpu, 1, a), 30.0, 1e-6);
  EXPECT_NEAR(value(r, LegKey::kZpu, 2, a), 120.0, 1e-6);
  // On the equator nothing converges.
  Route eq;
  eq.points = {{0.0, 0.0}, {0.0, 1.0}, direct({0.0, 1.0}, 45.0, 50000.0)};
  EXPECT_NEAR(value(eq, LegKey::kZpu, 2, {0.0, 0.0}), 45.0, 1e-6);
  // The end point of leg 1 in leg 2's coordinates: S = -100 km.
  EXPECT_NEAR(value(r, LegKey::kS, 2, b), -100000.0, 1.0);
  EXPECT_NEAR(value(r, LegKey::kZ, 2, b), 0.0, 1.0);
  EXPECT_FALSE(leg_value(r, LegKey::kS, 3, 52.0, 30.0)) << "no third leg";
  EXPECT_FALSE(leg_value(r, LegKey::kS, 0, 52.0, 30.0));
  EXPECT_FALSE(leg_value(Route{}, LegKey::kS, 1, 52.0, 30.0));
}

TEST(Route, ParseRefusesWhatIsNoRoute) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"50", "10"},               // one point
      {"50", "10", "51"},         // odd
      {"91", "10", "51", "10"},   // latitude
      {"50", "10", "51", "x"},    // not a number
      {"50", "400", "51", "10"},  // longitude
      {"50", "10", "50", "10"},   // a leg without length
      {"50", "nan", "51", "10"},
  };
  for (const auto& words : bad) {
    Route r;
    std::string why;
    EXPECT_FALSE(parse_route(words, &r, &why)) << words.size();
    EXPECT_FALSE(why.empty());
  }
  std::vector<std::string> many;
  for (int i = 0; i < 101; ++i) {
    many.push_back(std::to_string(i * 0.1));
    many.push_back("0");
  }
  Route r;
  std::string why;
  EXPECT_FALSE(parse_route(many, &r, &why)) << "101 points";
  many.resize(200);
  EXPECT_TRUE(parse_route(many, &r, &why)) << why;
  EXPECT_EQ(r.legs(), 99);
  const std::vector<std::string> wrapped = {"50", "350", "51", "-10"};
  EXPECT_TRUE(parse_route(wrapped, &r, &why));
  EXPECT_DOUBLE_EQ(r.points[0].lon, -10.0) << "longitudes are wrapped";
}

using host::script::Outcome;
using host::script::run;

TEST(RouteVerbs, WorldReadsTheAircraftOnALeg) {
  const Outcome o =
      run("route 50 10 51 10\n"
          "aircraft lat 50.5 lon 10 alt 1000 heading 0 tas 500\n"
          "expect world s 1 ~ -55600 300\n"
          "expect world z 1 ~ 0 1\n"
          "expect world zpu 1 == 360\n"
          "expect world s 1 - world s 1 == 0\n"
          "print world lat - world lon\n"
          "seconds 10\n"
          "expect world s 1 ~ -54211 300\n");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("world lat - world lon = 40.5"), std::string::npos) << o.out;
}

TEST(RouteVerbs, MistakesAreScriptErrors) {
  const char* bad[] = {
      "route 50 10\n",
      "print world s\n",
      "print world s x\n",
      "print world s 0\n",
      "print world q 1\n",
      "print world lat 1\n",
      "print world s 1 - \n",
      "print - world lat\n",
      "print world lat - world lat - world lat\n",
      "print text X - world lat\n",
      "print counter G\n",
      "route 50 10 51 10\nprint world s 2\n",  // no such leg: found when it runs
      "print world s 1\n",                     // no route
  };
  for (const char* text : bad) {
    const Outcome o = run(text);
    EXPECT_EQ(o.status, 2) << text;
    EXPECT_FALSE(o.err.empty()) << text;
  }
}

}  // namespace
}  // namespace host
