#include "radio/radio_sys.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "frame/numeric.h"

namespace radio {

namespace {

constexpr double kKmhPerFps = 1.09728;
constexpr double kDegPerAngle16 = 360.0 / 65536.0;
// Beyond this a DME value is no distance the indicators could show.
constexpr double kMaxDmeNm = 9999.0;

// A host value that is not a number leaves `keep` in force.
double finite_or(double v, double keep) { return std::isfinite(v) ? v : keep; }

void take_dme(NavReceiver& r, double nm) {
  const bool present = std::isfinite(nm) && nm >= 0.0 && nm <= kMaxDmeNm;
  if (present && r.breaker_on == 1) {
    r.dme_m = nm * kMetresPerNm;
    r.dme_valid = 1;
  } else {
    // The raw token value as the simulator gives it (-1 without a DME); a
    // value that is no distance reads as no DME.
    r.dme_m = present || nm == -1.0 ? nm : -1.0;
    r.dme_valid = 0;
  }
}

// Steps 10 and 12's selection: the distance of the receiver the switch
// names, or none. The second pilot's channel refuses a DME paired with a
// localizer.
void select_distance(DmeChannel& c, const std::array<NavReceiver, 2>& rx, bool refuse_ils) {
  const int n = c.selector == 0 ? 0 : c.selector == 2 ? 1 : -1;
  if (n < 0) {
    c.valid = 0;
    return;
  }
  const NavReceiver& r = rx[static_cast<std::size_t>(n)];
  if (refuse_ils && r.ils_tuned != 0) {
    c.valid = 0;
    return;
  }
  c.raw_m = r.dme_m;
  c.valid = r.dme_valid;
}

}  // namespace

void dme_smooth(DmeChannel& c, double ground_speed_kmh, int sim_time_moving) {
  const double delta = c.raw_m - c.last_raw_m;
  if (delta != 0.0 || ground_speed_kmh == 0.0) {
    const double frames = std::max(c.frames, 1);
    c.rate = std::clamp(delta * c.valid / frames, -kDmeRateLimit, kDmeRateLimit);
    c.correction = std::clamp((c.raw_m - c.smoothed_m) * c.valid / frames,
                              -kDmeCorrectionLimit, kDmeCorrectionLimit);
    c.frames = 1;
    c.last_raw_m = c.raw_m;
  }
  c.smoothed_m += sim_time_moving * c.valid * (c.correction + c.rate);
  if (!(c.smoothed_m >= 1.0)) c.smoothed_m = 1.0;
  if (c.frames < std::numeric_limits<int>::max()) ++c.frames;
  if (c.raw_m < 0.0) c.rate = c.correction = 0.0;
}

void radio_sys_step(RadioState& s, const RadioInputs& in) {
  auto& rx = s.rx;
  for (std::size_t n = 0; n < 2; ++n) {
    NavReceiver& r = rx[n];
    const RadioInputs::Receiver& v = in.rx[n];
    // 1. Localizer tuned: bit value 2 of the flags word.
    r.ils_tuned = (static_cast<std::uint32_t>(frame::to_int(v.flags)) & 2u) != 0 ? 1 : 0;
  }

  // 2. Markers, through receiver 1's breaker.
  const int marker = frame::to_int(in.marker);
  const bool heard = rx[0].breaker_on == 1;
  s.marker_outer = heard && marker == 1 ? 1 : 0;
  s.marker_middle = heard && marker == 2 ? 1 : 0;
  s.marker_inner = heard && marker == 3 ? 1 : 0;

  for (std::size_t n = 0; n < 2; ++n) {
    NavReceiver& r = rx[n];
    const RadioInputs::Receiver& v = in.rx[n];
    // 3. A station is received.
    r.to_from = frame::to_int(v.to_from);
    r.active = r.to_from != 0 ? r.breaker_on : 0;
    // 4. Glide slope valid, truncated (a value beyond 0..1 counts as its end).
    r.gs_valid = std::clamp(frame::to_int(r.breaker_on * finite_or(v.gs_valid, 0.0)), 0, 1);
    // 5. DME.
    take_dme(r, v.dme_nm);
    // 6. Bearing to the station for the standby compass card, from a VOR.
    if (r.active != 0 && r.ils_tuned == 0 && std::isfinite(v.radial))
      r.bearing_deg = frame::wrap360(v.radial * kDegPerAngle16 + 180.0);
    // 7. Deviation needles.
    r.cdi = finite_or(v.cdi, r.cdi);
  }
  rx[0].gs_needle = finite_or(in.gs_needle_1, rx[0].gs_needle);

  // 8. RMI bearing, from a VOR while the second bus (1 x main bus) is live.
  const int second_bus = 1 * in.main_bus;
  for (std::size_t n = 0; n < 2; ++n) {
    NavReceiver& r = rx[n];
    if (r.active != 0 && r.ils_tuned == 0 && second_bus == 1)
      r.rmi_bearing = finite_or(in.rx[n].rmi, r.rmi_bearing);
  }

  // 9. Signals for the autopilot.
  s.vor_lamp_1 = rx[0].active != 0 && rx[0].ils_tuned == 0 ? 1 : 0;
  s.vor_lamp_2 = rx[1].active != 0 && rx[1].ils_tuned == 0 ? 1 : 0;
  s.loc_lamp_1 = rx[0].active != 0 && rx[0].ils_tuned != 0 ? 1 : 0;
  s.gs_flag_1 = rx[0].gs_valid == 1 ? 1 : 0;

  // 10. The captain's distance.
  select_distance(s.dme[0], rx, false);

  // 11. Ground speed.
  s.ground_speed_kmh = finite_or(in.ground_fps * kKmhPerFps, s.ground_speed_kmh);

  // 12. Smoothing of the captain's channel; the second pilot's selection
  // (no DME paired with a localizer) and smoothing.
  dme_smooth(s.dme[0], s.ground_speed_kmh, s.sim_time_moving);
  select_distance(s.dme[1], rx, true);
  dme_smooth(s.dme[1], s.ground_speed_kmh, s.sim_time_moving);

  // 13. Time check every 21 frames: simulated time moves while the counter
  // changed since the last check.
  if (++s.time_frames > 20) {
    s.time_frames = 0;
    const int now = frame::to_int(in.time_counter);
    s.sim_time_moving = now != s.time_last ? 1 : 0;
    s.time_last = now;
  }
}

void distance_indicator_step(DistanceIndicator& d, const DmeChannel& c, int unit_km_1,
                             int unit_km_2, int rsbn_no_range, double rsbn_range_m) {
  const auto in_unit = [&c](int unit_km) {
    return c.smoothed_m / (1.0 + 0.852 * (1 - unit_km));
  };
  if (c.selector == 0 && c.valid != 0) {
    d.blank = 0;
    d.unit_lamp_km = unit_km_1;
    d.shown = in_unit(unit_km_1);
  } else if (c.selector == 2 && c.valid != 0) {
    d.blank = 0;
    d.unit_lamp_km = unit_km_2;
    d.shown = in_unit(unit_km_2);
  } else if (c.selector == 1 && rsbn_no_range == 0 && std::isfinite(rsbn_range_m)) {
    d.shown = rsbn_range_m;
    d.blank = 0;
    d.unit_lamp_km = 1;
  } else {
    d.blank = 1;
    d.unit_lamp_km = c.selector == 0 ? unit_km_1 : c.selector == 2 ? unit_km_2 : 1;
  }
  if (d.blank != 0) {
    d.digit.fill(kBlankDigit);
    return;
  }
  const std::uint32_t h = frame::saturate_cast<std::uint32_t>(d.shown);
  d.digit[0] = static_cast<int>((h % 1000) / 100);
  d.digit[1] = static_cast<int>((h % 10000 - h % 1000) / 1000);
  d.digit[2] = static_cast<int>((h % 100000 - h % 10000) / 10000);
  d.digit[3] = static_cast<int>((h % 1000000 - h % 100000) / 100000);
}

}  // namespace radio
