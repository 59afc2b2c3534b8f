// RSBN short-range navigation: azimuth of the aircraft from a ground beacon
// and its range to it. The simulator has no such beacons, so the system
// carries its own database (beacon_file.h) and computes both geometrically
// from the aircraft's position, smooths them and reports when they have
// settled, which permits the navigation computer's position correction.
//
// Module-wide state is one RsbnState, stepped by:
//   rsbn_step      RSBN_SYS every frame: power, beacon search, geometry,
//                  smoothing, readiness (before the file reload)
//   rsbn_publish   RSBN_SYS every frame, after the file reload
//   rsbn_panel_frame   the channel panel, once per frame
//   ppda_*         what the azimuth-range indicator shows
#pragma once

#include <cstdint>

#include "radio/beacon_file.h"

namespace frame {
class Module;
}

namespace radio {

struct RsbnState {
  // Switches. `master_on` and `ident_on` follow the positions of
  // AZS_RSBN_VKL(_M) and AZS_RSBN_Opozn(_M) (systems().positions), copied by
  // RSBN_SYS at the start of each frame: work the switches there.
  int master_on = 0;
  int ident_on = 0;  // read only by the sound system
  int bus_live = 0;  // bus voltage above 20 V
  int powered = 0;   // master_on x bus_live

  // Channel panel
  std::uint8_t channel_tens = 2;   // 0..4
  std::uint8_t channel_units = 7;  // 0..9
  std::uint8_t selected_channel = 27;
  int route_channel = 0;  // set by the route editor; 0 none, 1..49 overrides the knobs

  int reload_file = 0;  // read the beacon file at the next frame

  // Beacon search
  int found = 0;
  int beacon_index = 0;  // 1-based
  double beacon_lat = 0.0;
  double beacon_lon = 0.0;
  double beacon_elev = 0.0;

  // Geometry
  double az_raw = 0.0;            // degrees, 0..360: bearing of the aircraft from the beacon
  double ground_range_raw = 0.0;  // metres, great circle
  double height_m = 0.0;          // above the beacon, never negative
  int in_range_az = 0;            // inside line of sight (gates the azimuth)
  int in_range_dist = 0;          // the same, gating the distance

  // Smoothed outputs
  double az = 0.0;            // degrees
  double ground_range = 0.0;  // metres
  double slant_range_m = 0.0;
  int az_settle_count = 0;  // consecutive settled frames, up to 10
  int range_settle_count = 0;
  int az_ready = 0;
  int range_ready = 0;
  int rsbn_ready = 0;  // az_ready x range_ready: the navigation computer may correct
  // 1 - in_range_dist and 1 - in_range_az; 1 already before the first frame,
  // as nothing is in range then.
  int no_range = 1;
  int no_azimuth = 1;

  double map_angle_deg = 0.0;  // UgolKarty or the route editor; 0..360

  // Panel test buttons: held for 16 frames after the last press.
  int test_az = 0;
  int test_az_fine = 0;
  int test_range = 0;
  std::uint8_t test_countdown = 0;
};

// One frame's host values, already in degrees and metres.
struct RsbnInputs {
  double bus_volts = 0.0;
  double tick = 0.0;  // 18 Hz tick counter
  double lat_deg = 0.0;
  double lon_deg = 0.0;
  double alt_m = 0.0;
  int master_switch = 0;  // switch positions
  int ident_switch = 0;
};

// Host units of the aircraft position: latitude in metres north of the
// equator (90 / 10001750 degrees per unit) and longitude in 2^48 parts of a
// turn.
inline constexpr double kLatUnitDeg = 8.998425275576774e-6;
inline constexpr double kLonUnitDeg = 1.2789769243681803e-12;

// The constants the system works with.
inline constexpr double kSearchRadiusKm = 450.0;
inline constexpr double kSearchEarthKm = 6370.1448204;   // radius of the search's sphere
inline constexpr double kRangeEarthM = 6391344.259;      // radius of the measured range
inline constexpr double kLatRadPerDeg = 0.01745329237161969;
inline constexpr double kLonRadPerDeg = 0.01745329267623711;
inline constexpr double kAzDegPerRad = 57.295779;
inline constexpr int kSearchTicks = 36;  // search every 36 ticks (2 s)
inline constexpr int kSettleFrames = 10;
inline constexpr std::uint8_t kTestFrames = 16;

// Aircraft minus beacon longitude in (-180, 180], 0 replaced by 0.0001 so
// that the azimuth's division never meets 0.
double rsbn_lon_diff(double aircraft_lon, double beacon_lon);
// Great-circle distance as the beacon search measures it, in km.
double rsbn_search_distance_km(double lat_a, double lon_a, double lat_b, double lon_b);
// Great-circle distance as the range measurement gives it, in metres.
double rsbn_ground_range_m(double lat_a, double lon_a, double lat_b, double lon_b);
// True bearing of the aircraft (a) from the beacon (b), degrees 0..360.
double rsbn_azimuth_deg(double lat_a, double lon_a, double lat_b, double lon_b);
// Line-of-sight range at a height above the beacon, metres.
double rsbn_line_of_sight_m(double height_m);

// First record on `channel` within the search radius of the aircraft, as a
// 0-based index, or -1.
int rsbn_search(const BeaconTable& beacons, int channel, double lat_deg, double lon_deg);

// Power, search (on ticks that are multiples of 36), geometry and smoothing.
// Readiness needs a followed beacon: while none is found or the aircraft is
// beyond line of sight both settle counters and ready flags are 0. A
// position that is not finite measures nothing; the raw values keep their
// last contents then, as they do without a beacon.
void rsbn_step(RsbnState& s, const BeaconTable& beacons, const RsbnInputs& in);
// Flags the other systems read: no_range, no_azimuth, rsbn_ready.
void rsbn_publish(RsbnState& s);

// Channel panel ---------------------------------------------------------------

// Route override, selected channel, test countdown.
void rsbn_panel_frame(RsbnState& s);
void rsbn_channel_step(std::uint8_t& digit, int dir, int max);
enum class RsbnTest { kAzimuth, kAzimuthFine, kRange };
void rsbn_press_test(RsbnState& s, RsbnTest which);

// The channel panel has two placements sharing one state. Its per-frame work
// runs once per frame whichever of them is placed: the placement that ran it
// last goes on running it; another takes over when it is called a second
// time without the work having run in between (the leader is gone). One
// gauge placed twice calls with the same header both times, so its two
// calls cannot be told from two frames.
struct PanelGate {
  int leader = -1;
  int waiting[2] = {0, 0};
};
bool panel_gate_turn(PanelGate& gate, int placement);

// Azimuth-range indicator ---------------------------------------------------------

struct PpdaReadings {
  double az_coarse = 0.0;  // needle angle
  double az_fine = 0.0;    // needle angle, one turn per 10 degrees
  int range_m = 0;         // what the range drums count
};
PpdaReadings ppda_readings(const RsbnState& s);
// The number the four range drums count, in units of the lowest drum (0.1 km).
inline double ppda_drum_number(const PpdaReadings& r) { return r.range_m / 100.0; }

// Module-wide state and the gauges -------------------------------------------------

RsbnState& rsbn();
BeaconTable& rsbn_beacons();
PanelGate& rsbn_panel_gate();

// RSBN_SYS, RSBN_Pult, RSBN_Pult_2, RSBN_PPDA and UgolKarty.
void define_rsbn(frame::Module& m);

}  // namespace radio
