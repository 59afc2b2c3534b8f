#include "host/route.h"

#include <GeographicLib/Geodesic.hpp>
#include <algorithm>
#include <cmath>

#include "frame/numeric.h"
#include "host/lexer.h"

namespace host {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
// Radius of the sphere that turns geodesic distances into the angles of the
// along- and cross-track triangle; the result depends on it only in the
// square of distance over radius.
constexpr double kEarthRadius = 6371008.8;
constexpr double kMinLeg = 1.0;  // metres

struct Geodesic {
  double distance = 0.0;  // metres
  double azi1 = 0.0;      // azimuth at the start, degrees
  double azi2 = 0.0;      // forward azimuth at the end
};

Geodesic inverse(const RoutePoint& a, const RoutePoint& b) {
  Geodesic g;
  GeographicLib::Geodesic::WGS84().Inverse(a.lat, a.lon, b.lat, b.lon, g.distance, g.azi1, g.azi2);
  return g;
}

}  // namespace

bool parse_route(std::span<const std::string> words, Route* out, std::string* error) {
  if (words.size() < 4 || words.size() % 2 != 0 || words.size() > 2 * kMaxRoutePoints) {
    *error = "route takes LAT LON LAT LON [LAT LON ...] (2 to 100 points)";
    return false;
  }
  Route r;
  for (std::size_t i = 0; i < words.size(); i += 2) {
    const auto lat = parse_number(words[i]);
    const auto lon = parse_number(words[i + 1]);
    if (!lat || !(*lat >= -90.0 && *lat <= 90.0)) {
      *error = "route: bad latitude '" + words[i] + "' (-90 to 90)";
      return false;
    }
    if (!lon || !(*lon >= -360.0 && *lon <= 360.0)) {
      *error = "route: bad longitude '" + words[i + 1] + "' (-360 to 360)";
      return false;
    }
    r.points.push_back(RoutePoint{*lat, frame::wrap180(*lon)});
  }
  for (int n = 1; n <= r.legs(); ++n) {
    const auto i = static_cast<std::size_t>(n);
    if (!(inverse(r.points[i - 1], r.points[i]).distance >= kMinLeg)) {
      *error = "route: leg " + std::to_string(n) + " has no length";
      return false;
    }
  }
  *out = std::move(r);
  return true;
}

std::optional<LegKey> leg_key(std::string_view name) {
  if (name == "s") return LegKey::kS;
  if (name == "z") return LegKey::kZ;
  if (name == "zpu") return LegKey::kZpu;
  return std::nullopt;
}

std::string leg_key_names() { return "s z zpu"; }

std::optional<double> leg_value(const Route& route, LegKey key, int leg, double lat, double lon) {
  if (leg < 1 || leg > route.legs()) return std::nullopt;
  const auto n = static_cast<std::size_t>(leg);
  const RoutePoint& start = route.points[n - 1];
  const RoutePoint& end = route.points[n];
  const Geodesic g = inverse(start, end);

  if (key == LegKey::kZpu) {
    double turned = 0.0;  // the gyro's turn against true north before this leg
    for (std::size_t k = 1; k < n; ++k) {
      const Geodesic earlier = inverse(route.points[k - 1], route.points[k]);
      turned += frame::wrap180(earlier.azi2 - earlier.azi1);
    }
    return frame::wrap360_upper(g.azi1 - turned);
  }

  // The aircraft seen from the leg's end point: the spherical right
  // triangle of its distance and its bearing off the leg's direction there.
  const Geodesic to_aircraft = inverse(end, RoutePoint{lat, lon});
  const double delta = to_aircraft.distance / kEarthRadius;
  const double theta = (to_aircraft.azi1 - g.azi2) * kDeg;
  if (key == LegKey::kS)
    return kEarthRadius * std::atan2(std::sin(delta) * std::cos(theta), std::cos(delta));
  return kEarthRadius * std::asin(std::clamp(std::sin(delta) * std::sin(theta), -1.0, 1.0));
}

}  // namespace host
