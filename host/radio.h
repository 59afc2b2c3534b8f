// Radio stations of the world and what a NAV receiver tuned to one of them
// shows: the propagation the simulator does for the modules.
//
// Reception: a VOR, VOR/DME or ILS is received when the receiver's
// frequency matches, the aircraft lies within the station's service range
// and within line of sight (radio horizon 4.12 km x (sqrt(h1) + sqrt(h2)),
// heights in metres: the antenna 10 m above the station, the aircraft above
// the station's elevation). A localizer is received only within 35 degrees
// of its front or back course. Of several stations on one frequency the
// nearest received one wins. Marker beacons need no tuning.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace host {

enum class StationType { kVor, kVorDme, kIls, kNdb, kMarker };
enum class MarkerKind { kOuter = 1, kMiddle = 2, kInner = 3 };

struct Station {
  StationType type = StationType::kVor;
  std::string id;
  double lat = 0.0;   // degrees; ILS: the runway threshold
  double lon = 0.0;
  double elev = 0.0;  // metres above sea level
  std::uint32_t freq_code = 0;  // VOR, ILS: 10 kHz steps above 100 MHz (1050 = 110.50)
  double ndb_khz = 0.0;         // NDB
  double range_km = 0.0;        // service range
  std::optional<double> magvar;  // degrees east; unset: the world's variation
  // ILS
  double course = 0.0;    // localizer course (landing direction), degrees magnetic
  double width = 5.0;     // full width of the course sector, degrees
  double gs_angle = 3.0;  // glide-slope angle; 0: no glide slope
  double loc_dist = 3000.0;  // threshold to the localizer antenna along the course, m
  double gs_dist = 300.0;    // threshold to the glide-slope origin along the course, m
  bool dme = false;          // ILS: a DME at the threshold (a VOR/DME always has one)
  // Marker
  MarkerKind kind = MarkerKind::kOuter;
};

double default_range_km(StationType type);
const char* station_type_name(StationType type);

// Where the aircraft is: degrees, metres above sea level, true heading.
struct Position {
  double lat = 0.0;
  double lon = 0.0;
  double alt = 0.0;
  double heading = 0.0;
};

// What a NAV receiver shows.
struct NavSignal {
  bool received = false;
  bool localizer = false;  // the station is an ILS
  int to_from = 0;         // 0 nothing received, 1 TO, 2 FROM
  double radial = 0.0;     // degrees magnetic from the station (ILS: the localizer antenna)
  double cdi = 0.0;        // lateral needle, +-127; positive: the course lies to the right
  double gs_needle = 0.0;  // +-119; positive: the aircraft is below the glide path
  bool gs_valid = false;
  double dme_nm = -1.0;       // slant range in 0.1 nm steps; -1: no DME received
  double rmi_bearing = 0.0;   // bearing of the station relative to the heading, 0..360
  const Station* station = nullptr;
};

inline constexpr double kVorFullScaleDeg = 10.0;  // VOR needle full scale
inline constexpr double kCdiFullScale = 127.0;
inline constexpr double kGsFullScaleDeg = 0.7;
inline constexpr double kGsFullScale = 119.0;

// The receiver tuned to `freq_code` with course `obs` (degrees magnetic).
// `magvar` is the world's variation, for stations without their own.
NavSignal receive_nav(std::span<const Station> stations, std::uint32_t freq_code, double obs,
                      const Position& aircraft, double magvar);

// The marker beacon overhead: 0 none, 1 outer, 2 middle, 3 inner. A marker
// is heard inside a cone above it: radius 50 m + height x tan 40 degrees;
// of several, the nearest.
int marker_state(std::span<const Station> stations, const Position& aircraft);

}  // namespace host
