// A route for the world model: the end points of the legs a scenario flies,
// and where the aircraft truly is in a leg's coordinates, so that a scenario
// can hold the navigation computer's counted position against the truth.
//
// Leg N runs from point N-1 to point N along the great circle (the
// geodesic of the WGS-84 ellipsoid). Its coordinates are the navigation
// computer's: S along the leg, 0 at the leg's end point and negative before
// it; Z across it, positive to the right; both in metres, measured as the
// along-track and cross-track distances of the aircraft from the leg's great
// circle.
//
// The desired track of a leg is measured from a free gyro's reference: the
// gyro aligned on true north at the route's first point and carried along
// the legs, where it turns against true north by the meridian convergence.
// Along a great circle the convergence is exactly the turn of the circle's
// true course, so a leg's desired track is its true course at its start less
// the turn of the true course over every earlier leg.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct RoutePoint {
  double lat = 0.0;  // degrees, WGS-84
  double lon = 0.0;
};

struct Route {
  std::vector<RoutePoint> points;
  int legs() const { return points.size() < 2 ? 0 : static_cast<int>(points.size()) - 1; }
};

inline constexpr std::size_t kMaxRoutePoints = 100;

// `route LAT LON LAT LON [LAT LON ...]`: two to 100 points; each leg must
// have a length (consecutive points apart). False with a message otherwise.
bool parse_route(std::span<const std::string> words, Route* out, std::string* error);

// What `world KEY N` reads on leg N.
enum class LegKey {
  kS,    // along-track coordinate of the aircraft, metres
  kZ,    // cross-track coordinate, metres
  kZpu,  // the leg's desired track against the gyro reference, degrees (0, 360]
};
std::optional<LegKey> leg_key(std::string_view name);
std::string leg_key_names();

// The value on leg `leg` (1-based) for an aircraft at lat, lon; nullopt
// when the route has no such leg.
std::optional<double> leg_value(const Route& route, LegKey key, int leg, double lat, double lon);

}  // namespace host
