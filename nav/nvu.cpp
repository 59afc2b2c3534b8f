#include "nav/nvu.h"

#include <algorithm>
#include <cmath>

#include "frame/numeric.h"

namespace nav {

namespace {

constinit NvuState g_nvu{};

// A value restored from a damaged file or flight, or left by a host value
// that was not a number, starts again from 0.
void keep_finite(double& v) {
  if (!std::isfinite(v)) v = 0.0;
}
double finite_or(double v, double fallback) { return std::isfinite(v) ? v : fallback; }

double asin_deg(double ratio) { return std::asin(std::clamp(ratio, -1.0, 1.0)) * kNvuDegPerRad; }

// The step's own copy of its inputs, every number finite.
NvuInputs checked(const NvuInputs& raw, const NvuState& s) {
  NvuInputs in = raw;
  in.main_heading = finite_or(raw.main_heading, s.heading);
  in.ga1_heading = finite_or(raw.ga1_heading, 0.0);
  in.ga2_heading = finite_or(raw.ga2_heading, 0.0);
  in.diss_speed = finite_or(raw.diss_speed, 0.0);
  in.diss_drift = finite_or(raw.diss_drift, 0.0);
  in.tas = finite_or(raw.tas, s.tas_filtered);
  in.rsbn_az = finite_or(raw.rsbn_az, 0.0);
  in.rsbn_slant_range = finite_or(raw.rsbn_slant_range, 0.0);
  in.map_angle = finite_or(raw.map_angle, 0.0);
  in.sim_rate =
      std::isfinite(raw.sim_rate) ? std::clamp(raw.sim_rate, 0.0, kNvuMaxSimRate) : s.sim_rate;
  // A simulated time that is not a number is a clock that stands still.
  in.sim_time = finite_or(raw.sim_time, s.sim_time_prev);
  in.controls.lur_select = std::clamp(raw.controls.lur_select, -1, 5);
  return in;
}

void keep_state_finite(NvuState& s) {
  for (NvuChannel& c : s.channel) {
    keep_finite(c.zpu);
    keep_finite(c.s);
    keep_finite(c.z);
    keep_finite(c.s_aux);
    keep_finite(c.z_aux);
  }
  keep_finite(s.s_prev);
  keep_finite(s.tas_filtered);
  keep_finite(s.mem_wind_speed);
  keep_finite(s.mem_wind_dir);
  keep_finite(s.calc_speed);
  keep_finite(s.calc_drift);
  keep_finite(s.track_error);
}

}  // namespace

NvuState& nvu() { return g_nvu; }

int nvu_active(const NvuState& s) { return s.active == 1 ? 1 : 0; }
NvuChannel& nvu_active_channel(NvuState& s) { return s.channel[nvu_active(s)]; }
NvuChannel& nvu_other_channel(NvuState& s) { return s.channel[1 - nvu_active(s)]; }
const NvuChannel& nvu_active_channel(const NvuState& s) { return s.channel[nvu_active(s)]; }
const NvuChannel& nvu_other_channel(const NvuState& s) { return s.channel[1 - nvu_active(s)]; }

int nvu_leg_warning(const NvuState& s) { return s.counting == 1 && s.warn_on == 1 ? 1 : 0; }

void nvu_key_channel(int& count_switch, const input::KeyChannelView& key) {
  if (!key.assigned) return;
  if (key.switch_mode == 0) {
    if (key.state == 1) count_switch = 1;
  } else if (key.switch_mode == 1) {
    count_switch = key.state;
  }
}

double nvu_interval_seconds(std::int64_t now, std::int64_t last, std::int64_t frequency) {
  if (frequency <= 0) return HUGE_VAL;
  // In doubles: no overflow whatever the readings.
  return (static_cast<double>(now) - static_cast<double>(last)) / static_cast<double>(frequency);
}

double nvu_frame_dt(double interval) {
  if (!(interval >= 0.0 && interval <= kNvuLongFrame)) return kNvuLongFrameDt;
  return interval;
}

double nvu_move_toward(double value, double target, double step) {
  if (!std::isfinite(target)) return value;
  if (!std::isfinite(value)) return target;
  const double d = target - value;
  if (d > -kNvuSnap && d < kNvuSnap) return target;
  return d > 0.0 ? value + step : value - step;
}

NvuPoint nvu_next_leg_position(double s, double z, double active_zpu, double next_zpu,
                               double point_s, double point_z) {
  const double d = (next_zpu - active_zpu) * kNvuRadPerDeg;
  const double sin_d = std::sin(d);
  const double cos_d = std::cos(d);
  return NvuPoint{sin_d * z + cos_d * s + point_s, cos_d * z + point_z - sin_d * s};
}

void nvu_leg_change(NvuState& s, int p) {
  const double pos = nvu_active_channel(s).s;
  const double v = pos + s.lur_distance + kNvuWarnDistance;
  if (v < 0.0) {
    s.warn_armed = 1;
    s.warn_on = 0;
  }
  if (pos > s.s_prev) {
    // The last 2000 m before the anticipation point: the warning.
    if (v > 0.0 && s.warn_armed == 1 && s.warn_on == 0 && p > 0) {
      s.warn_on = 1;
      s.warn_armed = 0;
    }
    // The anticipation point: exchange the channels at the next frame.
    if (pos + s.lur_distance > 0.0 && s.warn_on == 1 && p > 0) {
      s.warn_on = 0;
      s.leg_switch_request = 1;
    }
  }
  s.s_prev = pos;
}

NvuSpeed nvu_memory_speed(double wind_speed, double wind_dir, double heading, double tas) {
  const double e = (wind_dir - heading) / kNvuDegPerRad;
  const double wx = std::cos(e) * wind_speed + tas;
  const double wy = std::sin(e) * wind_speed;
  NvuSpeed r;
  r.speed = std::hypot(wx, wy);
  if (!(r.speed >= kNvuMinCalcSpeed)) return NvuSpeed{};
  r.drift = asin_deg(wy / r.speed);
  return r;
}

NvuWind nvu_doppler_wind(double ground_speed, double drift, double heading, double tas) {
  const double a = (drift + heading) / kNvuDegPerRad;
  const double h = heading / kNvuDegPerRad;
  const double ux = std::sin(a) * ground_speed - std::sin(h) * tas;
  const double uy = std::cos(a) * ground_speed - std::cos(h) * tas;
  NvuWind w;
  w.speed = std::hypot(ux, uy);
  if (w.speed > kNvuCalmWind) {
    w.dir = asin_deg(ux / w.speed);
    if (uy < 0.0) w.dir = 180.0 - w.dir;
  }
  return w;
}

void nvu_step(NvuState& s, const NvuInputs& raw) {
  keep_state_finite(s);
  const NvuInputs in = checked(raw, s);
  const NvuControls& c = in.controls;
  const int p = c.lur_select;

  // 1. Turn-anticipation distance.
  s.lur_distance = p > 0 ? p * kNvuLurStep : 0.0;

  // 2. For the course indicators, from last frame's active ZPU.
  const double consumers_gyro = in.consumers_main != 0 ? in.ga1_heading : in.ga2_heading;
  s.zpu_minus_heading = s.active_zpu - consumers_gyro;

  // 3. Heading, and ground speed and drift: the doppler's, or in memory mode
  // those computed from the remembered wind.
  s.heading = in.main_heading;
  if (in.diss_memory == 0) {
    s.ground_speed = in.diss_speed;
    s.drift = in.diss_drift;
  } else {
    s.ground_speed = s.calc_speed;
    s.drift = s.calc_drift;
  }

  // 4. Power and counting.
  s.powered = in.main_bus == 1 && in.second_bus == 1 && c.power_switch == 1 ? 1 : 0;
  s.counting = s.powered == 1 && (in.diss_memory == 0 || in.svs_valid == 1) ? 1 : 0;

  // 5. The exchange asked for last frame.
  if (s.leg_switch_request == 1) {
    s.active = 1 - nvu_active(s);
    s.leg_switch_request = 0;
    s.leg_switched = 1;
  }

  // 6. Simulation rate and frame time.
  s.sim_rate = in.sim_rate;
  s.dt = nvu_frame_dt(in.frame_seconds);

  // 7. Track error.
  NvuChannel& a = nvu_active_channel(s);
  if (s.counting == 1) s.track_error = frame::wrap360(s.drift + s.heading - a.zpu);

  // 8. Dead reckoning.
  if (s.counting == 1 && c.count_switch == 1) {
    const double k = s.time_running * s.dt * s.sim_rate * s.ground_speed * kKmhToMps;
    const double te = s.track_error * kNvuRadPerDeg;
    a.s += std::cos(te) * k;
    a.z += std::sin(te) * k;
  }

  // 9. Leg-change warning and automatic change.
  nvu_leg_change(s, p);

  // 10. Copies.
  NvuChannel& o = nvu_other_channel(s);
  s.active_zpu = a.zpu;
  s.active_s = a.s;
  s.active_z = a.z;
  s.next_zpu = o.zpu;
  s.beacon_s = a.s_aux;
  s.beacon_z = a.z_aux;
  s.point_s = o.s_aux;
  s.point_z = o.z_aux;

  // 11. The position in the next leg's coordinates.
  const NvuPoint next =
      nvu_next_leg_position(s.active_s, s.active_z, s.active_zpu, s.next_zpu, s.point_s, s.point_z);
  s.next_s = next.s;
  s.next_z = next.z;

  // 12. The next channel follows the aircraft over the last 80 km.
  if (s.active_s > kNvuPrepareFrom && s.counting == 1 && c.count_switch == 1) {
    o.s = nvu_move_toward(o.s, s.next_s, kNvuPrepareStep);
    o.z = nvu_move_toward(o.z, s.next_z, kNvuPrepareStep);
  }

  // 13. Radio correction toward the beacon's fix; needs no counting.
  if (in.rsbn_ready == 1 && c.corr_switch == 1 && s.powered == 1) {
    s.correcting = 1;
    const double theta = (in.rsbn_az - in.map_angle) * kNvuRadPerDeg;
    const double d = in.rsbn_slant_range;
    a.s = nvu_move_toward(a.s, std::cos(theta) * d + s.beacon_s, kNvuCorrectStep);
    a.z = nvu_move_toward(a.z, std::sin(theta) * d + s.beacon_z, kNvuCorrectStep);
  } else {
    s.correcting = 0;
  }

  // 14. True airspeed filter.
  s.tas_filtered += kNvuTasGain * (in.tas - s.tas_filtered);

  // 15. Wind while the doppler works; ground speed and drift from the
  // remembered wind in memory mode.
  if (s.counting == 1) {
    if (in.diss_memory == 0 && in.diss_test == 0) {
      const NvuWind w = nvu_doppler_wind(in.diss_speed, in.diss_drift, s.heading, s.tas_filtered);
      s.wind_speed = w.speed;
      s.wind_dir = w.dir;
    } else if (in.diss_memory != 0 && in.svs_test == 0) {
      NvuSpeed m = nvu_memory_speed(s.mem_wind_speed, s.mem_wind_dir, s.heading, s.tas_filtered);
      if (in.ap_zero_speed == 1) m = NvuSpeed{};
      s.calc_speed = m.speed;
      s.calc_drift = m.drift;
    }
  }

  // 16. Whether the simulated time ran.
  s.time_running = in.sim_time != s.sim_time_prev ? 1 : 0;
  s.sim_time_prev = in.sim_time;
}

}  // namespace nav
