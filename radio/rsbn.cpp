#include "radio/rsbn.h"

#include <algorithm>
#include <cmath>

#include "frame/numeric.h"
#include "frame/state.h"

namespace radio {

namespace {

// cos of the central angle between a and b, kept inside acos's domain: next
// to the beacon rounding can carry it just above 1.
double central_cos(double lat_a, double lon_a, double lat_b, double lon_b) {
  const double dl = rsbn_lon_diff(lon_a, lon_b) * kLonRadPerDeg;
  const double pa = lat_a * kLatRadPerDeg;
  const double pb = lat_b * kLatRadPerDeg;
  const double c = std::cos(dl) * std::cos(pa) * std::cos(pb) + std::sin(pa) * std::sin(pb);
  return std::clamp(c, -1.0, 1.0);  // NaN stays NaN
}

bool is_search_tick(double tick) {
  if (!std::isfinite(tick)) return false;
  return frame::saturate_cast<std::int64_t>(tick) % kSearchTicks == 0;
}

// Counts frames whose smoothing error stays below `limit`; ready once ten in
// a row, and then only with the master switch on.
void settle(double error, double limit, int master_on, int& count, int& ready) {
  if (-limit < error && error < limit) {
    count = std::min(count + 1, kSettleFrames);
    ready = count == kSettleFrames ? master_on : 0;
  } else {
    count = 0;
    ready = 0;
  }
}

}  // namespace

double rsbn_lon_diff(double aircraft_lon, double beacon_lon) {
  // The shared wrap gives [-180, 180); this system's convention keeps +180
  // and sends -180 there.
  double d = frame::wrap180(aircraft_lon - beacon_lon);
  if (d == -180.0) d = 180.0;
  if (d == 0.0) d = 0.0001;
  return d;
}

double rsbn_search_distance_km(double lat_a, double lon_a, double lat_b, double lon_b) {
  return std::acos(central_cos(lat_a, lon_a, lat_b, lon_b)) * kSearchEarthKm;
}

double rsbn_ground_range_m(double lat_a, double lon_a, double lat_b, double lon_b) {
  return std::fabs(std::acos(central_cos(lat_a, lon_a, lat_b, lon_b))) * kRangeEarthM;
}

double rsbn_azimuth_deg(double lat_a, double lon_a, double lat_b, double lon_b) {
  const double dl_deg = rsbn_lon_diff(lon_a, lon_b);
  const double dl = dl_deg * kLonRadPerDeg;
  // The azimuth converts the aircraft latitude with the longitude factor.
  const double pa = lat_a * kLonRadPerDeg;
  const double pb = lat_b * kLatRadPerDeg;
  double e = (std::tan(pa) * std::cos(pb) - std::cos(dl) * std::sin(pb)) / std::sin(dl);
  if (std::isnan(e)) return e;
  e = std::clamp(e, -1'000'000.0, 1'000'000.0);
  // atan(1/E) with 1/0 taken as the infinity of E's sign.
  double a = e == 0.0 ? std::copysign(90.0, e) : std::atan(1.0 / e) * kAzDegPerRad;
  if ((dl_deg > 0.0 && e < 0.0) || (dl_deg < 0.0 && e > 0.0)) a += 180.0;
  if (a > 360.0) a -= 360.0;
  if (a < 0.0) a += 360.0;
  return a;
}

double rsbn_line_of_sight_m(double height_m) {
  return (380.0 * std::sqrt(std::max(height_m, 0.0) / 12000.0) + 40.0) * 1000.0;
}

int rsbn_search(const BeaconTable& beacons, int channel, double lat_deg, double lon_deg) {
  for (int i = 0; i < kBeaconCount; ++i) {
    const Beacon& b = beacons[static_cast<std::size_t>(i)];
    if (b.beacon_channel != static_cast<double>(channel)) continue;
    if (rsbn_search_distance_km(lat_deg, lon_deg, b.lat_deg, b.lon_deg) < kSearchRadiusKm)
      return i;
  }
  return -1;
}

void rsbn_step(RsbnState& s, const BeaconTable& beacons, const RsbnInputs& in) {
  // 1. Power.
  s.master_on = in.master_switch != 0 ? 1 : 0;
  s.ident_on = in.ident_switch != 0 ? 1 : 0;
  s.bus_live = frame::bus_powered(in.bus_volts);
  s.powered = s.master_on * s.bus_live;

  // 2. A position the host could not give measures nothing this frame.
  const bool position_ok =
      std::isfinite(in.lat_deg) && std::isfinite(in.lon_deg) && std::isfinite(in.alt_m);

  // 3. Beacon search, every 36 ticks while powered.
  if (s.powered == 0) {
    s.found = 0;
  } else if (is_search_tick(in.tick)) {
    const int i = position_ok ? rsbn_search(beacons, s.selected_channel, in.lat_deg, in.lon_deg)
                              : -1;
    s.found = i >= 0 ? 1 : 0;
    if (i >= 0) {
      const Beacon& b = beacons[static_cast<std::size_t>(i)];
      s.beacon_index = i + 1;
      s.beacon_lat = b.lat_deg;
      s.beacon_lon = b.lon_deg;
      s.beacon_elev = b.elevation_m;
    }
  }

  // 4. Geometry. Without a beacon, or without a finite measurement, the raw
  // values keep their last contents and nothing is in range.
  int in_range = 0;
  if (s.found != 0 && position_ok) {
    const double range = rsbn_ground_range_m(in.lat_deg, in.lon_deg, s.beacon_lat, s.beacon_lon);
    const double az = rsbn_azimuth_deg(in.lat_deg, in.lon_deg, s.beacon_lat, s.beacon_lon);
    double h = in.alt_m - s.beacon_elev;
    if (!(h > 0.0)) h = 0.0;
    if (std::isfinite(range) && std::isfinite(az) && std::isfinite(h)) {
      s.ground_range_raw = range;
      s.az_raw = az;
      s.height_m = h;
      in_range = rsbn_line_of_sight_m(h) > range ? 1 : 0;
    }
  }
  s.in_range_az = in_range;
  s.in_range_dist = in_range;

  // 5. Azimuth smoothing. Deliberately without wrap-around: a jump across
  // north swings the smoothed azimuth the long way round, as the real
  // indicator's servo does.
  if (!std::isfinite(s.az)) s.az = s.az_raw;
  const double d = s.az_raw - s.az;
  if (-0.1 < d && d < 0.1) {
    s.az = s.az_raw;
  } else {
    s.az += s.in_range_az * d * 0.1;
  }
  settle(s.az_raw - s.az, 0.15, s.master_on, s.az_settle_count, s.az_ready);

  // 6. Distance smoothing: 5 % of the error, at least 20 m a frame, and a
  // snap within 100 m.
  if (!std::isfinite(s.ground_range)) s.ground_range = s.ground_range_raw;
  const double dd = s.ground_range_raw - s.ground_range;
  double step = dd * 0.05;
  if (step > 0.0 && step < 20.0) step = 20.0;
  if (step < 0.0 && step > -20.0) step = -20.0;
  if (-100.0 < dd && dd < 100.0) {
    s.ground_range = s.ground_range_raw;
  } else {
    s.ground_range += s.in_range_dist * step;
  }
  settle(s.ground_range_raw - s.ground_range, 0.15, s.master_on, s.range_settle_count,
         s.range_ready);

  // A value that no longer follows a beacon is not ready, however still it
  // stands: otherwise the navigation computer would go on correcting toward
  // a frozen fix.
  if (s.found == 0 || s.in_range_az == 0) {
    s.az_settle_count = 0;
    s.az_ready = 0;
  }
  if (s.found == 0 || s.in_range_dist == 0) {
    s.range_settle_count = 0;
    s.range_ready = 0;
  }

  // 7. Slant range (hypot: no overflow for a huge height).
  s.slant_range_m = std::hypot(s.ground_range, s.height_m);
}

void rsbn_publish(RsbnState& s) {
  s.no_range = 1 - s.in_range_dist;
  s.no_azimuth = 1 - s.in_range_az;
  s.rsbn_ready = s.range_ready * s.az_ready;
}

void rsbn_panel_frame(RsbnState& s) {
  // A route channel overrides the knobs on every frame; one outside 1..49
  // is no channel and leaves them alone.
  if (s.route_channel >= 1 && s.route_channel <= 49) {
    const int units = s.route_channel % 10;
    s.channel_units = static_cast<std::uint8_t>(units);
    s.channel_tens = static_cast<std::uint8_t>((s.route_channel - units) / 10);
  }
  // Digits restored from a file may be anything.
  s.channel_tens = std::min<std::uint8_t>(s.channel_tens, 4);
  s.channel_units = std::min<std::uint8_t>(s.channel_units, 9);
  s.selected_channel = static_cast<std::uint8_t>(s.channel_tens * 10 + s.channel_units);

  if (s.test_countdown > 0) {
    --s.test_countdown;
  } else {
    s.test_az = 0;
    s.test_az_fine = 0;
    s.test_range = 0;
  }
}

void rsbn_channel_step(std::uint8_t& digit, int dir, int max) {
  const int v = std::clamp(static_cast<int>(digit) + (dir < 0 ? -1 : 1), 0, max);
  digit = static_cast<std::uint8_t>(v);
}

void rsbn_press_test(RsbnState& s, RsbnTest which) {
  switch (which) {
    case RsbnTest::kAzimuth:
      s.test_az = 1;
      break;
    case RsbnTest::kAzimuthFine:
      s.test_az_fine = 1;
      break;
    case RsbnTest::kRange:
      s.test_range = 1;
      break;
  }
  s.test_countdown = kTestFrames;
}

bool panel_gate_turn(PanelGate& g, int placement) {
  if (placement < 0 || placement > 1) return false;
  if (g.leader == placement || g.leader < 0 || g.waiting[placement] >= 1) {
    g.leader = placement;
    g.waiting[0] = 0;
    g.waiting[1] = 0;
    return true;
  }
  ++g.waiting[placement];
  return false;
}

PpdaReadings ppda_readings(const RsbnState& s) {
  const bool on = s.master_on != 0;
  const bool test_az = on && s.test_az != 0;
  PpdaReadings r;
  r.az_coarse = (test_az ? 94.5 : s.az) - 90.0;
  r.range_m = on && s.test_range != 0 ? 2000 : frame::to_int(s.slant_range_m);
  int h = test_az ? 94500 : frame::to_int(s.az * 1000.0);
  if (on && s.test_az_fine != 0) h = h - h % 10000 + 1000;
  r.az_fine = (h % 10000) * 0.036 - 90.0;
  return r;
}

}  // namespace radio
