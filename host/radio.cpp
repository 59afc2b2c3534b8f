#include "host/radio.h"

#include <GeographicLib/Geocentric.hpp>
#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <cmath>

#include "frame/numeric.h"
#include "host/encodings.h"

namespace host {
namespace {

constexpr double kAntennaHeight = 10.0;     // m above the station's elevation
constexpr double kHorizonPerRootM = 4120.0;  // radio horizon, m per sqrt(m) of height
constexpr double kLocCoverageDeg = 35.0;     // either side of the front and back course
constexpr double kGsRange = 10.0 * enc::kMetresPerNm;
constexpr double kGsCoverageDeg = 8.0;
constexpr double kMarkerBaseRadius = 50.0;
constexpr double kMarkerSlope = 0.83909963117728;  // tan 40 degrees
constexpr double kPi = 3.14159265358979323846;

const GeographicLib::Geodesic& geodesic() { return GeographicLib::Geodesic::WGS84(); }

struct Leg {
  double distance;  // m over the ellipsoid
  double azimuth;   // at the start, toward the end, degrees true
  double back;      // at the end, toward the start, degrees true
};

Leg leg(double lat1, double lon1, double lat2, double lon2) {
  double s12 = 0.0;
  double azi1 = 0.0;
  double azi2 = 0.0;
  geodesic().Inverse(lat1, lon1, lat2, lon2, s12, azi1, azi2);
  return Leg{s12, frame::wrap360(azi1), frame::wrap360(azi2 + 180.0)};
}

void advance(double lat, double lon, double azimuth, double distance, double* lat2,
             double* lon2) {
  geodesic().Direct(lat, lon, azimuth, distance, *lat2, *lon2);
}

double slant_range(double lat1, double lon1, double h1, double lat2, double lon2, double h2) {
  const GeographicLib::Geocentric& earth = GeographicLib::Geocentric::WGS84();
  double x1 = 0.0, y1 = 0.0, z1 = 0.0, x2 = 0.0, y2 = 0.0, z2 = 0.0;
  earth.Forward(lat1, lon1, h1, x1, y1, z1);
  earth.Forward(lat2, lon2, h2, x2, y2, z2);
  return std::hypot(x2 - x1, y2 - y1, z2 - z1);
}

double horizon(double height_above_station) {
  return kHorizonPerRootM *
         (std::sqrt(kAntennaHeight) + std::sqrt(std::max(0.0, height_above_station)));
}

double dme_nm(const Station& st, double lat, double lon, const Position& ac) {
  const double m = slant_range(lat, lon, st.elev, ac.lat, ac.lon, ac.alt);
  return std::round(m / enc::kMetresPerNm * 10.0) / 10.0;
}

// Needle and TO/FROM for a course `obs` and a radial, both magnetic. The
// needle is space-fixed: with the aircraft left of the course line (looking
// along the course) it shows right, positive, on either side of the station.
void course_deviation(double obs, double radial, double full_scale_deg, NavSignal* s) {
  const double off = frame::wrap180(obs - radial);
  const bool to = std::fabs(off) > 90.0;
  s->to_from = to ? 1 : 2;
  const double dev = to ? frame::wrap180(radial + 180.0 - obs) : off;
  s->cdi = std::clamp(kCdiFullScale * dev / full_scale_deg, -kCdiFullScale, kCdiFullScale);
}

double variation(const Station& st, double world) { return st.magvar.value_or(world); }

std::optional<NavSignal> vor(const Station& st, double obs, const Position& ac, double world_var,
                             double* distance) {
  const Leg l = leg(st.lat, st.lon, ac.lat, ac.lon);
  if (l.distance > st.range_km * 1000.0 || l.distance > horizon(ac.alt - st.elev))
    return std::nullopt;
  NavSignal s;
  s.received = true;
  s.radial = frame::wrap360(l.azimuth - variation(st, world_var));
  course_deviation(obs, s.radial, kVorFullScaleDeg, &s);
  s.rmi_bearing = frame::wrap360(l.back - ac.heading);
  if (st.type == StationType::kVorDme) s.dme_nm = dme_nm(st, st.lat, st.lon, ac);
  *distance = l.distance;
  return s;
}

std::optional<NavSignal> ils(const Station& st, const Position& ac, double world_var,
                             double* distance) {
  const double course_true = frame::wrap360(st.course + variation(st, world_var));
  double loc_lat = 0.0, loc_lon = 0.0;
  advance(st.lat, st.lon, course_true, st.loc_dist, &loc_lat, &loc_lon);
  const Leg l = leg(loc_lat, loc_lon, ac.lat, ac.lon);
  const double off_front = frame::wrap180(l.azimuth - (course_true + 180.0));
  const double off_back = frame::wrap180(l.azimuth - course_true);
  if (l.distance > st.range_km * 1000.0 || l.distance > horizon(ac.alt - st.elev) ||
      std::min(std::fabs(off_front), std::fabs(off_back)) > kLocCoverageDeg)
    return std::nullopt;
  NavSignal s;
  s.received = true;
  s.localizer = true;
  s.radial = frame::wrap360(l.azimuth - variation(st, world_var));
  course_deviation(st.course, s.radial, st.width / 2.0, &s);
  s.rmi_bearing = frame::wrap360(l.back - ac.heading);
  if (st.gs_angle > 0.0) {
    double gs_lat = 0.0, gs_lon = 0.0;
    advance(st.lat, st.lon, course_true, st.gs_dist, &gs_lat, &gs_lon);
    const Leg g = leg(gs_lat, gs_lon, ac.lat, ac.lon);
    const double off = frame::wrap180(g.azimuth - (course_true + 180.0));
    if (g.distance <= kGsRange && std::fabs(off) <= kGsCoverageDeg) {
      const double elevation = std::atan2(ac.alt - st.elev, g.distance) * 180.0 / kPi;
      s.gs_valid = true;
      s.gs_needle = std::clamp(kGsFullScale * (st.gs_angle - elevation) / kGsFullScaleDeg,
                               -kGsFullScale, kGsFullScale);
    }
  }
  if (st.dme) s.dme_nm = dme_nm(st, st.lat, st.lon, ac);
  *distance = l.distance;
  return s;
}

}  // namespace

double default_range_km(StationType type) {
  switch (type) {
    case StationType::kVor:
    case StationType::kVorDme:
      return 240.0;  // 130 nm
    case StationType::kIls:
      return 46.0;  // 25 nm
    case StationType::kNdb:
      return 150.0;
    case StationType::kMarker:
      return 0.0;
  }
  return 0.0;
}

const char* station_type_name(StationType type) {
  switch (type) {
    case StationType::kVor:
      return "vor";
    case StationType::kVorDme:
      return "vordme";
    case StationType::kIls:
      return "ils";
    case StationType::kNdb:
      return "ndb";
    case StationType::kMarker:
      return "marker";
  }
  return "?";
}

NavSignal receive_nav(std::span<const Station> stations, std::uint32_t freq_code, double obs,
                      const Position& ac, double magvar) {
  NavSignal best;
  double best_distance = 0.0;
  for (const Station& st : stations) {
    if (st.freq_code != freq_code) continue;
    double distance = 0.0;
    std::optional<NavSignal> s;
    if (st.type == StationType::kVor || st.type == StationType::kVorDme)
      s = vor(st, obs, ac, magvar, &distance);
    else if (st.type == StationType::kIls)
      s = ils(st, ac, magvar, &distance);
    if (s && (!best.received || distance < best_distance)) {
      best = *s;
      best.station = &st;
      best_distance = distance;
    }
  }
  return best;
}

int marker_state(std::span<const Station> stations, const Position& ac) {
  int state = 0;
  double nearest = 0.0;
  for (const Station& st : stations) {
    if (st.type != StationType::kMarker) continue;
    const double height = ac.alt - st.elev;
    if (height < 0.0) continue;
    const double d = leg(st.lat, st.lon, ac.lat, ac.lon).distance;
    if (d > kMarkerBaseRadius + height * kMarkerSlope) continue;
    if (state == 0 || d < nearest) {
      state = static_cast<int>(st.kind);
      nearest = d;
    }
  }
  return state;
}

}  // namespace host
