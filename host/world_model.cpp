#include "host/world_model.h"

#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <cmath>

#include "frame/bcd.h"
#include "frame/numeric.h"
#include "frame/text.h"
#include "host/encodings.h"
#include "host/lexer.h"

namespace host {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr double kKmhPerMps = 3.6;
constexpr double kTiny = 1e-9;
constexpr double kMaxAlt = 80000.0;

struct KeyInfo {
  const char* name;
  WorldKey key;
  bool settable;
  double lo;
  double hi;
};
// Ranges of the settable keys; angles outside one turn are wrapped.
constexpr KeyInfo kKeys[] = {
    {"lat", WorldKey::kLat, true, -90.0, 90.0},
    {"lon", WorldKey::kLon, true, -360.0, 360.0},
    {"alt", WorldKey::kAlt, true, -500.0, kMaxAlt},
    {"agl", WorldKey::kAgl, true, 0.0, kMaxAlt},
    {"heading", WorldKey::kHeading, true, -360.0, 720.0},
    {"pitch", WorldKey::kPitch, true, -90.0, 90.0},
    {"bank", WorldKey::kBank, true, -180.0, 360.0},
    {"ias", WorldKey::kIas, true, 0.0, 3000.0},
    {"tas", WorldKey::kTas, true, 0.0, 5000.0},
    {"mach", WorldKey::kMach, true, 0.0, 5.0},
    {"gs", WorldKey::kGs, true, 0.0, 5000.0},
    {"track", WorldKey::kTrack, true, -360.0, 720.0},
    {"vs", WorldKey::kVs, true, -300.0, 300.0},
    {"wind_dir", WorldKey::kWindDir, true, -360.0, 720.0},
    {"wind_speed", WorldKey::kWindSpeed, true, 0.0, 500.0},
    {"magvar", WorldKey::kMagvar, true, -180.0, 180.0},
    {"terrain", WorldKey::kTerrain, true, -500.0, 9000.0},
    {"volts", WorldKey::kVolts, true, 0.0, 1000.0},
    {"simrate", WorldKey::kSimrate, true, 0.0, 128.0},
    {"on_ground", WorldKey::kOnGround, true, 0.0, 1.0},
    {"altimeter", WorldKey::kAltimeter, true, WorldModel::kMinAltimeter,
     WorldModel::kMaxAltimeter},
    {"com1", WorldKey::kCom1, true, 118.0, 136.975},
    {"com2", WorldKey::kCom2, true, 118.0, 136.975},
    {"xpdr", WorldKey::kXpdr, true, 0.0, 7777.0},
    {"turn_rate", WorldKey::kTurnRate, false, 0.0, 0.0},
    {"drift", WorldKey::kDrift, false, 0.0, 0.0},
    {"oat", WorldKey::kOat, false, 0.0, 0.0},
    {"pressure", WorldKey::kPressure, false, 0.0, 0.0},
    {"density", WorldKey::kDensity, false, 0.0, 0.0},
    {"sound_speed", WorldKey::kSoundSpeed, false, 0.0, 0.0},
    {"qnh", WorldKey::kQnh, false, 0.0, 0.0},
    {"temp_offset", WorldKey::kTempOffset, false, 0.0, 0.0},
};

const KeyInfo* key_info(std::string_view name) {
  for (const KeyInfo& k : kKeys)
    if (name == k.name) return &k;
  return nullptr;
}

// A number word within [lo, hi].
bool number_in(const std::string& key, const std::string& word, double lo, double hi,
               double* out, std::string* error) {
  const auto v = parse_number(word);
  if (!v || !std::isfinite(*v)) {
    *error = "bad number '" + word + "' for " + key;
    return false;
  }
  if (*v < lo || *v > hi) {
    *error = key + " " + word + " is out of range (" + frame::format_string("%g", lo) + " to " +
             frame::format_string("%g", hi) + ")";
    return false;
  }
  *out = *v;
  return true;
}

bool pairs(std::span<const std::string> words, const char* verb, std::string* error) {
  if (words.empty() || words.size() % 2 != 0) {
    *error = std::string(verb) + " takes KEY VALUE [KEY VALUE ...]";
    return false;
  }
  return true;
}

// A transponder code: a whole number whose decimal digits are all 0..7.
bool xpdr_code_ok(double v) {
  if (v != std::floor(v)) return false;
  for (auto code = static_cast<std::uint32_t>(v); code != 0; code /= 10)
    if (code % 10 > 7) return false;
  return true;
}

// A COM frequency in MHz on the nearest 25 kHz channel, in kHz.
std::uint32_t com_channel(double mhz) {
  const double channels = std::round(mhz * 1000.0 / WorldModel::kComChannelKhz);
  const auto khz = frame::saturate_cast<std::uint32_t>(channels) * WorldModel::kComChannelKhz;
  return std::clamp(khz, WorldModel::kComMinKhz, WorldModel::kComMaxKhz);
}

double rad(double deg) { return deg * kDeg; }
double deg(double r) { return r / kDeg; }

// Direction (degrees true) of a north/east vector; `fallback` for a null one.
double direction(double north, double east, double fallback) {
  if (std::hypot(north, east) < kTiny) return fallback;
  return frame::wrap360(deg(std::atan2(east, north)));
}

}  // namespace

std::optional<WorldKey> world_key(std::string_view name) {
  const KeyInfo* k = key_info(name);
  if (k == nullptr) return std::nullopt;
  return k->key;
}

std::string world_key_names() {
  std::string s;
  for (const KeyInfo& k : kKeys) {
    if (!s.empty()) s += ' ';
    s += k.name;
  }
  return s;
}

bool parse_aircraft(std::span<const std::string> words, std::vector<Setting>* out,
                    std::string* error) {
  if (!pairs(words, "aircraft", error)) return false;
  std::vector<Setting> settings;
  for (std::size_t i = 0; i < words.size(); i += 2) {
    const KeyInfo* k = key_info(words[i]);
    if (k == nullptr || !k->settable) {
      *error = "unknown aircraft key '" + words[i] + "'";
      return false;
    }
    double v = 0.0;
    if (!number_in(words[i], words[i + 1], k->lo, k->hi, &v, error)) return false;
    if (k->key == WorldKey::kOnGround && v != 0.0 && v != 1.0) {
      *error = "on_ground takes 0 or 1";
      return false;
    }
    if (k->key == WorldKey::kXpdr && !xpdr_code_ok(v)) {
      *error = "xpdr takes four octal digits (0000..7777)";
      return false;
    }
    settings.push_back(Setting{k->key, v});
  }
  *out = std::move(settings);
  return true;
}

bool parse_fly(std::span<const std::string> words, FlyTargets* out, std::string* error) {
  if (!pairs(words, "fly", error)) return false;
  FlyTargets t;
  for (std::size_t i = 0; i < words.size(); i += 2) {
    const std::string& key = words[i];
    double v = 0.0;
    std::optional<double>* slot = nullptr;
    double lo = 0.0;
    double hi = 0.0;
    if (key == "heading") {
      slot = &t.heading, lo = -360.0, hi = 720.0;
    } else if (key == "rate") {
      slot = &t.rate, lo = 0.01, hi = 100.0;
    } else if (key == "alt") {
      slot = &t.alt, lo = -500.0, hi = kMaxAlt;
    } else if (key == "vs") {
      slot = &t.vs, lo = 0.01, hi = 300.0;
    } else if (key == "ias") {
      slot = &t.ias, lo = 0.0, hi = 3000.0;
    } else if (key == "accel") {
      slot = &t.accel, lo = 0.01, hi = 1000.0;
    } else {
      *error = "unknown fly key '" + key + "' (heading rate alt vs ias accel)";
      return false;
    }
    if (!number_in(key, words[i + 1], lo, hi, &v, error)) return false;
    *slot = v;
  }
  if ((t.rate && !t.heading) || (t.vs && !t.alt) || (t.accel && !t.ias)) {
    *error = "fly: rate goes with heading, vs with alt, accel with ias";
    return false;
  }
  *out = t;
  return true;
}

bool parse_station(std::span<const std::string> words, Station* out, std::string* error) {
  if (words.size() < 2 || words.size() % 2 != 0) {
    *error = "station takes TYPE ID KEY VALUE [KEY VALUE ...]";
    return false;
  }
  Station st;
  const std::string& type = words[0];
  if (type == "vor") {
    st.type = StationType::kVor;
  } else if (type == "vordme") {
    st.type = StationType::kVorDme;
  } else if (type == "ils") {
    st.type = StationType::kIls;
  } else if (type == "ndb") {
    st.type = StationType::kNdb;
  } else if (type == "marker") {
    st.type = StationType::kMarker;
  } else {
    *error = "unknown station type '" + type + "' (vor vordme ils ndb marker)";
    return false;
  }
  st.id = words[1];
  st.range_km = default_range_km(st.type);
  const bool nav = st.type == StationType::kVor || st.type == StationType::kVorDme ||
                   st.type == StationType::kIls;
  const bool is_ils = st.type == StationType::kIls;
  bool has_lat = false, has_lon = false, has_freq = false, has_course = false, has_kind = false;
  for (std::size_t i = 2; i < words.size(); i += 2) {
    const std::string& key = words[i];
    const std::string& word = words[i + 1];
    double v = 0.0;
    auto num = [&](double lo, double hi) { return number_in(key, word, lo, hi, &v, error); };
    if (key == "lat") {
      if (!num(-90.0, 90.0)) return false;
      st.lat = v, has_lat = true;
    } else if (key == "lon") {
      if (!num(-360.0, 360.0)) return false;
      st.lon = frame::wrap180(v), has_lon = true;
    } else if (key == "elev") {
      if (!num(-500.0, 9000.0)) return false;
      st.elev = v;
    } else if (key == "freq" && nav) {
      // MHz, 108.00 to 117.95 in 10 kHz steps.
      if (!num(108.0, 117.95)) return false;
      const double code = std::round((v - 100.0) * 100.0);
      if (std::fabs((v - 100.0) * 100.0 - code) > 1e-6) {
        *error = "freq " + word + " is not on a 10 kHz step";
        return false;
      }
      st.freq_code = static_cast<std::uint32_t>(code), has_freq = true;
    } else if (key == "freq" && st.type == StationType::kNdb) {
      if (!num(190.0, 1750.0)) return false;  // kHz
      st.ndb_khz = v, has_freq = true;
    } else if (key == "range" && st.type != StationType::kMarker) {
      if (!num(0.1, 2000.0)) return false;  // km
      st.range_km = v;
    } else if (key == "magvar" && nav) {
      if (!num(-180.0, 180.0)) return false;
      st.magvar = v;
    } else if (key == "course" && is_ils) {
      if (!num(-360.0, 720.0)) return false;
      st.course = frame::wrap360(v), has_course = true;
    } else if (key == "width" && is_ils) {
      if (!num(0.5, 45.0)) return false;
      st.width = v;
    } else if (key == "gs_angle" && is_ils) {
      if (!num(0.0, 10.0)) return false;
      st.gs_angle = v;
    } else if (key == "loc_dist" && is_ils) {
      if (!num(0.0, 20000.0)) return false;
      st.loc_dist = v;
    } else if (key == "gs_dist" && is_ils) {
      if (!num(0.0, 5000.0)) return false;
      st.gs_dist = v;
    } else if (key == "dme" && is_ils) {
      if (!num(0.0, 1.0) || (v != 0.0 && v != 1.0)) {
        *error = "dme takes 0 or 1";
        return false;
      }
      st.dme = v == 1.0;
    } else if (key == "kind" && st.type == StationType::kMarker) {
      if (word == "outer") {
        st.kind = MarkerKind::kOuter;
      } else if (word == "middle") {
        st.kind = MarkerKind::kMiddle;
      } else if (word == "inner") {
        st.kind = MarkerKind::kInner;
      } else {
        *error = "marker kind is outer, middle or inner, not '" + word + "'";
        return false;
      }
      has_kind = true;
    } else {
      *error = "station " + type + " takes no key '" + key + "'";
      return false;
    }
  }
  std::string missing;
  if (!has_lat) missing += " lat";
  if (!has_lon) missing += " lon";
  if (st.type != StationType::kMarker && !has_freq) missing += " freq";
  if (is_ils && !has_course) missing += " course";
  if (st.type == StationType::kMarker && !has_kind) missing += " kind";
  if (!missing.empty()) {
    *error = "station " + type + " " + st.id + " needs" + missing;
    return false;
  }
  if (st.type == StationType::kVorDme) st.dme = true;
  *out = std::move(st);
  return true;
}

bool parse_atmosphere(std::span<const std::string> words, AtmosphereSettings* out,
                      std::string* error) {
  if (!pairs(words, "atmosphere", error)) return false;
  AtmosphereSettings a;
  for (std::size_t i = 0; i < words.size(); i += 2) {
    double v = 0.0;
    if (words[i] == "qnh") {
      if (!number_in("qnh", words[i + 1], 850.0, 1100.0, &v, error)) return false;
      a.qnh = v;
    } else if (words[i] == "temp_offset") {
      if (!number_in("temp_offset", words[i + 1], -100.0, 100.0, &v, error)) return false;
      a.temp_offset = v;
    } else {
      *error = "unknown atmosphere key '" + words[i] + "' (qnh temp_offset)";
      return false;
    }
  }
  *out = a;
  return true;
}

// WorldModel -------------------------------------------------------------------

WorldModel::WorldModel() {
  settle_ground();
  derive();
}

Position WorldModel::position() const { return Position{lat_, lon_, alt_, heading_}; }

double WorldModel::standard_rate() const {
  const double v = tas_ / kKmhPerMps;
  if (v < 1.0) return kStandardRate;
  const double limit = deg(atmo::kG0 * std::tan(rad(kMaxStandardBank)) / v);
  return std::min(kStandardRate, limit);
}

double WorldModel::flight_path_angle() const {
  const double h = air_h_ / kKmhPerMps;
  if (std::fabs(vs_) < kTiny && h < kTiny) return 0.0;
  return deg(std::atan2(vs_, h));
}

void WorldModel::settle_ground() {
  if (alt_ <= terrain_) {
    alt_ = terrain_;
    if (vs_ < 0.0) vs_ = 0.0;
    on_ground_ = true;
  } else {
    on_ground_ = false;
  }
}

void WorldModel::derive() {
  if (on_ground_ && steer_ == Steer::kTrack) heading_ = track_;  // no crab on the wheels
  air_ = atmo::air_at(alt_, qnh_, temp_offset_);
  const double a = air_.sound_speed * kKmhPerMps;  // km/h
  const double vs_kmh = vs_ * kKmhPerMps;
  // Wind blows from wind_dir_: its vector points the other way.
  const double w_n = -wind_speed_ * std::cos(rad(wind_dir_));
  const double w_e = -wind_speed_ * std::sin(rad(wind_dir_));
  auto unit = [](double dir, double* n, double* e) {
    *n = std::cos(rad(dir));
    *e = std::sin(rad(dir));
  };
  double g_n = 0.0, g_e = 0.0;  // ground velocity, km/h

  if (hold_ != SpeedHold::kGs) {
    switch (hold_) {
      case SpeedHold::kIas:
        ias_ = held_speed_;
        mach_ = atmo::mach_from_cas(ias_ / kKmhPerMps, air_.pressure);
        tas_ = mach_ * a;
        break;
      case SpeedHold::kTas:
        tas_ = held_speed_;
        mach_ = tas_ / a;
        break;
      case SpeedHold::kMach:
        mach_ = held_speed_;
        tas_ = mach_ * a;
        break;
      case SpeedHold::kGs:
        break;
    }
    air_h_ = std::sqrt(std::max(0.0, tas_ * tas_ - vs_kmh * vs_kmh));
    double h_n = 0.0, h_e = 0.0;
    if (on_ground_ || steer_ == Steer::kHeading) {
      unit(heading_, &h_n, &h_e);
      if (on_ground_) {
        const double gs = std::max(0.0, air_h_ + w_n * h_n + w_e * h_e);
        g_n = gs * h_n, g_e = gs * h_e;
      } else {
        g_n = air_h_ * h_n + w_n, g_e = air_h_ * h_e + w_e;
      }
    } else {
      // Hold the track: crab into the crosswind.
      double t_n = 0.0, t_e = 0.0;
      unit(track_, &t_n, &t_e);
      const double along = w_n * t_n + w_e * t_e;
      const double cross = -w_n * t_e + w_e * t_n;  // to the right of the track
      const double rest = air_h_ * air_h_ - cross * cross;
      const double gs = std::max(0.0, along + (rest > 0.0 ? std::sqrt(rest) : 0.0));
      g_n = gs * t_n, g_e = gs * t_e;
      heading_ = direction(g_n - w_n, g_e - w_e, heading_);
    }
  } else {
    const double gs = held_speed_;
    double h_n = 0.0, h_e = 0.0;
    if (on_ground_ || steer_ == Steer::kHeading) {
      unit(heading_, &h_n, &h_e);
      const double w_along = w_n * h_n + w_e * h_e;
      if (on_ground_) {
        air_h_ = std::max(0.0, gs - w_along);
        g_n = gs * h_n, g_e = gs * h_e;
      } else {
        // |air_h x heading + wind| = gs; no solution: the nearest there is.
        const double disc = gs * gs - wind_speed_ * wind_speed_ + w_along * w_along;
        air_h_ = std::max(0.0, -w_along + (disc > 0.0 ? std::sqrt(disc) : 0.0));
        g_n = air_h_ * h_n + w_n, g_e = air_h_ * h_e + w_e;
      }
    } else {
      double t_n = 0.0, t_e = 0.0;
      unit(track_, &t_n, &t_e);
      g_n = gs * t_n, g_e = gs * t_e;
      air_h_ = std::hypot(g_n - w_n, g_e - w_e);
      heading_ = direction(g_n - w_n, g_e - w_e, heading_);
    }
    tas_ = std::hypot(air_h_, vs_kmh);
    mach_ = tas_ / a;
  }
  if (hold_ != SpeedHold::kIas) ias_ = atmo::cas_from_mach(mach_, air_.pressure) * kKmhPerMps;
  v_north_ = g_n;
  v_east_ = g_e;
  gs_ = std::hypot(g_n, g_e);
  if (on_ground_ || steer_ == Steer::kHeading) track_ = direction(g_n, g_e, heading_);

  // Attitude: the coordinated bank of the turn, else the bank the scenario
  // set; a right turn lowers the right wing (negative bank).
  if (turn_rate_ != 0.0) {
    const double v = tas_ / kKmhPerMps;
    bank_ = -deg(std::atan(v * rad(turn_rate_) / atmo::kG0));
  } else {
    bank_ = set_bank_;
  }
  pitch_ = -(flight_path_angle() + above_path_);
}

void WorldModel::turn(double dt) {
  if (!target_heading_) {
    turn_rate_ = 0.0;
    return;
  }
  const double rate = target_rate_.value_or(standard_rate());
  double diff = frame::wrap180(*target_heading_ - heading_);
  if (diff == -180.0) diff = 180.0;  // straight behind: turn right
  if (std::fabs(diff) <= rate * dt) {
    heading_ = *target_heading_;
    turn_rate_ = 0.0;
    target_heading_.reset();
    target_rate_.reset();
    return;
  }
  turn_rate_ = diff > 0.0 ? rate : -rate;
  heading_ = frame::wrap360(heading_ + turn_rate_ * dt);
}

void WorldModel::climb(double dt) {
  if (target_alt_) {
    const double diff = *target_alt_ - alt_;
    if (std::fabs(diff) <= climb_rate_ * dt) {
      alt_ = *target_alt_;
      vs_ = 0.0;
      target_alt_.reset();
    } else {
      vs_ = diff > 0.0 ? climb_rate_ : -climb_rate_;
      alt_ += vs_ * dt;
    }
  } else {
    alt_ += vs_ * dt;
  }
  alt_ = std::min(alt_, kMaxAlt);
  settle_ground();
  // A target below the terrain is reached on the ground.
  if (target_alt_ && on_ground_ && *target_alt_ <= terrain_) {
    target_alt_.reset();
    vs_ = 0.0;
  }
}

void WorldModel::accelerate(double dt) {
  if (!target_ias_) return;
  const double diff = *target_ias_ - held_speed_;
  if (std::fabs(diff) <= accel_ * dt) {
    held_speed_ = *target_ias_;
    target_ias_.reset();
  } else {
    held_speed_ += diff > 0.0 ? accel_ * dt : -accel_ * dt;
  }
}

void WorldModel::move(double dt) {
  const double distance = gs_ / kKmhPerMps * dt;
  if (distance <= 0.0) return;
  double lat2 = lat_, lon2 = lon_;
  GeographicLib::Geodesic::WGS84().Direct(lat_, lon_, track_, distance, lat2, lon2);
  if (std::isfinite(lat2) && std::isfinite(lon2)) {
    lat_ = std::clamp(lat2, -90.0, 90.0);
    lon_ = frame::wrap180(lon2);
  }
}

void WorldModel::step(double /*real_dt*/, double sim_dt, VarTable& vars) {
  if (sim_dt > 0.0 && std::isfinite(sim_dt)) {
    sim_time_ += sim_dt;
    turn(sim_dt);
    accelerate(sim_dt);
    climb(sim_dt);
    derive();
    move(sim_dt);
  } else {
    derive();
  }
  publish(vars);
}

void WorldModel::on_key_event(u32 id, u32 value, VarTable& vars) {
  ++events_seen_;
  if (log_.size() < kMaxLogged) log_.push_back(LoggedEvent{sim_time_, id, value});
  switch (id) {
    case event::kNav1Frequency:
    case event::kNav2Frequency:
      if (const auto code = frame::bcd16_decode(value))
        nav_freq_[id == event::kNav1Frequency ? 0 : 1] = *code;
      break;
    case event::kNav1Course:
    case event::kNav2Course:
      nav_obs_[id == event::kNav1Course ? 0 : 1] =
          frame::wrap360(static_cast<double>(static_cast<std::int32_t>(value)));
      break;
    case event::kAltimeterSetting: {
      const double hpa = static_cast<double>(value) / enc::kPressureUnits;
      if (hpa >= kMinAltimeter && hpa <= kMaxAltimeter) altimeter_hpa_ = hpa;
      break;
    }
    case event::kAltimeterUp:
    case event::kAltimeterDown: {
      const double step = id == event::kAltimeterUp ? kAltimeterStep : -kAltimeterStep;
      altimeter_hpa_ = std::clamp(altimeter_hpa_ + step, kMinAltimeter, kMaxAltimeter);
      break;
    }
    default:
      if (!radio_event(id)) return;  // logged only
  }
  publish(vars);
}

bool WorldModel::radio_event(u32 id) {
  struct ComEvent {
    u32 id;
    std::size_t radio;
    int whole;     // MHz
    int fraction;  // channels
  };
  static constexpr ComEvent kCom[] = {
      {event::kCom1WholeDown, 0, -1, 0},    {event::kCom1WholeUp, 0, 1, 0},
      {event::kCom1FractionDown, 0, 0, -1}, {event::kCom1FractionUp, 0, 0, 1},
      {event::kCom2WholeDown, 1, -1, 0},    {event::kCom2WholeUp, 1, 1, 0},
      {event::kCom2FractionDown, 1, 0, -1}, {event::kCom2FractionUp, 1, 0, 1},
  };
  for (const ComEvent& e : kCom) {
    if (e.id != id) continue;
    std::uint32_t& khz = com_khz_[e.radio];
    constexpr int kLowMhz = static_cast<int>(kComMinKhz / 1000);
    constexpr int kMhzSpan = static_cast<int>(kComMaxKhz / 1000) - kLowMhz + 1;
    constexpr int kChannel = static_cast<int>(kComChannelKhz);
    int mhz = static_cast<int>(khz / 1000) - kLowMhz + e.whole;
    mhz = (mhz % kMhzSpan + kMhzSpan) % kMhzSpan + kLowMhz;
    int frac = static_cast<int>(khz % 1000) + e.fraction * kChannel;
    frac = (frac % 1000 + 1000) % 1000;
    khz = static_cast<std::uint32_t>(mhz * 1000 + frac);
    return true;
  }
  for (std::size_t k = 0; k < xpdr_.size(); ++k) {
    if (id == event::kXpdrUp[k]) {
      xpdr_[k] = (xpdr_[k] + 1) % 8;
      return true;
    }
    if (id == event::kXpdrDown[k]) {
      xpdr_[k] = (xpdr_[k] + 7) % 8;
      return true;
    }
  }
  return false;
}

void WorldModel::set_aircraft(std::span<const Setting> settings) {
  std::optional<double> pitch;
  for (const Setting& s : settings) {
    const double v = s.value;
    switch (s.key) {
      case WorldKey::kLat:
        lat_ = v;
        break;
      case WorldKey::kLon:
        lon_ = frame::wrap180(v);
        break;
      case WorldKey::kAlt:
        alt_ = v;
        break;
      case WorldKey::kAgl:
        alt_ = terrain_ + v;
        break;
      case WorldKey::kHeading:
        heading_ = frame::wrap360(v);
        steer_ = Steer::kHeading;
        target_heading_.reset();
        turn_rate_ = 0.0;
        break;
      case WorldKey::kTrack:
        track_ = frame::wrap360(v);
        steer_ = Steer::kTrack;
        target_heading_.reset();
        turn_rate_ = 0.0;
        break;
      case WorldKey::kPitch:
        pitch = v;
        break;
      case WorldKey::kBank:
        set_bank_ = frame::wrap180(v);
        break;
      case WorldKey::kIas:
      case WorldKey::kTas:
      case WorldKey::kMach:
      case WorldKey::kGs:
        hold_ = s.key == WorldKey::kIas   ? SpeedHold::kIas
                : s.key == WorldKey::kTas ? SpeedHold::kTas
                : s.key == WorldKey::kMach ? SpeedHold::kMach
                                           : SpeedHold::kGs;
        held_speed_ = v;
        target_ias_.reset();
        break;
      case WorldKey::kVs:
        vs_ = v;
        target_alt_.reset();
        break;
      case WorldKey::kWindDir:
        wind_dir_ = frame::wrap360(v);
        break;
      case WorldKey::kWindSpeed:
        wind_speed_ = v;
        break;
      case WorldKey::kMagvar:
        magvar_ = v;
        break;
      case WorldKey::kTerrain:
        terrain_ = v;
        break;
      case WorldKey::kVolts:
        volts_ = v;
        break;
      case WorldKey::kSimrate:
        simrate_ = v;
        break;
      case WorldKey::kOnGround:
        if (v == 1.0) {
          alt_ = terrain_;
          vs_ = 0.0;
          target_alt_.reset();
        }
        break;
      case WorldKey::kAltimeter:
        altimeter_hpa_ = v;
        break;
      case WorldKey::kCom1:
      case WorldKey::kCom2:
        com_khz_[s.key == WorldKey::kCom1 ? 0 : 1] = com_channel(v);
        break;
      case WorldKey::kXpdr: {
        auto code = frame::saturate_cast<std::uint32_t>(v);
        for (std::size_t k = xpdr_.size(); k-- > 0; code /= 10) xpdr_[k] = code % 10;
        break;
      }
      default:
        break;  // read-only keys never get here
    }
  }
  settle_ground();
  derive();
  if (pitch) {
    above_path_ = -*pitch - flight_path_angle();
    derive();
  }
}

void WorldModel::fly(const FlyTargets& t) {
  if (t.heading) {
    if (steer_ == Steer::kTrack) steer_ = Steer::kHeading;  // heading_ is the crab heading
    target_heading_ = frame::wrap360(*t.heading);
    target_rate_ = t.rate;
  }
  if (t.alt) {
    target_alt_ = *t.alt;
    climb_rate_ = t.vs.value_or(kDefaultClimb);
  }
  if (t.ias) {
    if (hold_ != SpeedHold::kIas) {
      hold_ = SpeedHold::kIas;
      held_speed_ = ias_;
    }
    target_ias_ = *t.ias;
    accel_ = t.accel.value_or(kDefaultAccel);
  }
  derive();
}

void WorldModel::add_station(Station station) {
  for (Station& s : stations_) {
    if (s.id == station.id) {
      s = std::move(station);
      return;
    }
  }
  stations_.push_back(std::move(station));
}

void WorldModel::set_atmosphere(const AtmosphereSettings& a) {
  if (a.qnh) qnh_ = *a.qnh;
  if (a.temp_offset) temp_offset_ = *a.temp_offset;
  derive();
}

NavSignal WorldModel::nav(int n) const {
  const std::size_t i = n == 0 ? 0 : 1;
  return receive_nav(stations_, nav_freq_[i], nav_obs_[i], position(), magvar_);
}

double WorldModel::value(WorldKey key) const {
  switch (key) {
    case WorldKey::kLat:
      return lat_;
    case WorldKey::kLon:
      return lon_;
    case WorldKey::kAlt:
      return alt_;
    case WorldKey::kAgl:
      return alt_ - terrain_;
    case WorldKey::kHeading:
      return heading_;
    case WorldKey::kPitch:
      return pitch_;
    case WorldKey::kBank:
      return bank_;
    case WorldKey::kIas:
      return ias_;
    case WorldKey::kTas:
      return tas_;
    case WorldKey::kMach:
      return mach_;
    case WorldKey::kGs:
      return gs_;
    case WorldKey::kTrack:
      return track_;
    case WorldKey::kVs:
      return vs_;
    case WorldKey::kWindDir:
      return wind_dir_;
    case WorldKey::kWindSpeed:
      return wind_speed_;
    case WorldKey::kMagvar:
      return magvar_;
    case WorldKey::kTerrain:
      return terrain_;
    case WorldKey::kVolts:
      return volts_;
    case WorldKey::kSimrate:
      return simrate_;
    case WorldKey::kOnGround:
      return on_ground_ ? 1.0 : 0.0;
    case WorldKey::kAltimeter:
      return altimeter_hpa_;
    case WorldKey::kCom1:
      return com_khz_[0] / 1000.0;
    case WorldKey::kCom2:
      return com_khz_[1] / 1000.0;
    case WorldKey::kXpdr:
      return xpdr_[0] * 1000.0 + xpdr_[1] * 100.0 + xpdr_[2] * 10.0 + xpdr_[3];
    case WorldKey::kTurnRate:
      return turn_rate_;
    case WorldKey::kDrift:
      return gs_ > kTiny ? frame::wrap180(track_ - heading_) : 0.0;
    case WorldKey::kOat:
      return air_.temperature - 273.15;
    case WorldKey::kPressure:
      return air_.pressure / 100.0;
    case WorldKey::kDensity:
      return air_.density;
    case WorldKey::kSoundSpeed:
      return air_.sound_speed * kKmhPerMps;
    case WorldKey::kQnh:
      return qnh_;
    case WorldKey::kTempOffset:
      return temp_offset_;
  }
  return 0.0;
}

void WorldModel::publish(VarTable& vars) const {
  const double pressure_hpa = air_.pressure / 100.0;
  // Body axes: along the heading, and across it to the right.
  const double h_n = std::cos(rad(heading_));
  const double h_e = std::sin(rad(heading_));
  const double along = v_north_ * h_n + v_east_ * h_e;
  const double across = -v_north_ * h_e + v_east_ * h_n;

  vars.set(var::kOnGround, on_ground_ ? 1.0 : 0.0);
  vars.set(var::kIas, enc::knots(ias_));
  vars.set(var::kMach, enc::mach_units(mach_));
  vars.set(var::kVerticalSpeed, enc::vs_units(vs_));
  vars.set(var::kLatitude, enc::lat_units(lat_));
  vars.set(var::kLongitude, enc::lon_units(lon_));
  vars.set(var::kAltitude, alt_);
  vars.set(var::kAltimeterHpa, altimeter_hpa_);
  vars.set(var::kAltimeterInHg, altimeter_hpa_ / enc::kHpaPerInHg);
  // The altimeter: standard pressure altitude against the setting it has.
  const double setting = vars.get(var::kAltimeterHpa);
  double indicated = atmo::pressure_altitude(air_.pressure) -
                     atmo::pressure_altitude(std::isfinite(setting) ? setting * 100.0 : atmo::kP0);
  if (frame::saturate_cast<std::int32_t>(vars.get(var::kUnitSetting)) != 2)
    indicated /= enc::kMetresPerFoot;
  vars.set(var::kIndicatedAltitude, indicated);
  vars.set(var::kPitch, pitch_);
  vars.set(var::kBank, frame::wrap360(bank_));
  vars.set(var::kMagneticHeading, frame::wrap360(heading_ - magvar_));
  vars.set(var::kMagneticVariation, magvar_);
  vars.set(var::kTrueHeading, heading_);
  vars.set(var::kSimRate, simrate_);
  vars.set(var::kOutsideTemperature, air_.temperature - 273.15);
  vars.set(var::kOutsideTemperature256, enc::oat_units(air_.temperature - 273.15));
  vars.set(var::kStaticPressure, enc::pressure_units(pressure_hpa));
  vars.set(var::kGroundAlong, enc::fps(along));
  vars.set(var::kGroundAcross, enc::fps(across));
  vars.set(var::kVelocityNorth, enc::fps(v_north_));
  vars.set(var::kVelocityEast, enc::fps(v_east_));
  vars.set(var::kRadioHeight, alt_ - terrain_);
  vars.set(var::kMainBus, volts_);

  struct NavIds {
    u32 freq, radial, dme, cdi, gs, flags, to_from, gs_valid, obs, rmi;
  };
  static constexpr NavIds kNav[2] = {
      {var::kNav1Frequency, var::kNav1Radial, var::kNav1Dme, var::kNav1Cdi, var::kNav1Gs,
       var::kNav1Flags, var::kNav1ToFrom, var::kNav1GsValid, var::kNav1Obs, var::kNav1Rmi},
      {var::kNav2Frequency, var::kNav2Radial, var::kNav2Dme, var::kNav2Cdi, var::kNav2Gs,
       var::kNav2Flags, var::kNav2ToFrom, var::kNav2GsValid, var::kNav2Obs, var::kNav2Rmi},
  };
  for (int n = 0; n < 2; ++n) {
    const NavIds& ids = kNav[n];
    const NavSignal s = nav(n);
    vars.set(ids.freq, frame::bcd16_encode(nav_freq_[static_cast<std::size_t>(n)]));
    vars.set(ids.obs, nav_obs_[static_cast<std::size_t>(n)]);
    vars.set(ids.radial, s.received ? enc::angle16(s.radial) : 0.0);
    vars.set(ids.dme, s.dme_nm);
    vars.set(ids.cdi, s.cdi);
    vars.set(ids.gs, s.gs_needle);
    vars.set(ids.flags, s.localizer ? 2.0 : 0.0);
    vars.set(ids.to_from, s.to_from);
    vars.set(ids.gs_valid, s.gs_valid ? 1.0 : 0.0);
    vars.set(ids.rmi, s.rmi_bearing);
  }
  vars.set(var::kMarker, marker_state(stations_, position()));
  vars.set(var::kCom1Frequency, enc::com_bcd16(com_khz_[0]));
  vars.set(var::kCom2Frequency, enc::com_bcd16(com_khz_[1]));
  vars.set(var::kTransponder,
           frame::bcd16_encode(xpdr_[0] * 1000 + xpdr_[1] * 100 + xpdr_[2] * 10 + xpdr_[3]));
}

}  // namespace host
