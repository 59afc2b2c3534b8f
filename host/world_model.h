// The host's world: one aircraft flying over the WGS-84 ellipsoid through a
// standard atmosphere, and the radio stations around it. The aircraft state
// is kept in physical units (degrees, metres, km/h, m/s for vertical speed,
// volts) and written every frame into the module variables in the
// simulator's own units and encodings (host/vars.cpp lists them).
//
// No aerodynamics: the aircraft moves kinematically. Each frame of
// simulated time it turns toward a heading target (at the given rate, else
// standard rate with at most 30 degrees of bank; the bank is the coordinated
// bank of the turn), climbs or descends toward an altitude target at a
// vertical speed, accelerates toward an indicated-airspeed target, and
// moves along its track over the ellipsoid (a constant track is a rhumb
// line). Of indicated airspeed, true airspeed, Mach and ground speed the
// one last set holds and the others follow from the atmosphere and the
// wind; of heading and track likewise. On the ground the aircraft rolls
// along its heading (no drift) and never sinks below the terrain. Pitch
// keeps the angle above the flight path that `aircraft pitch` gave it.
//
// Key events that set what the world owns (NAV and COM frequencies, NAV
// courses, the altimeter setting, the transponder code) act at once; every
// event is logged.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/atmosphere.h"
#include "host/radio.h"
#include "host/route.h"
#include "host/world.h"

namespace host {

// What `aircraft` sets and `world KEY` reads. The first group is settable.
enum class WorldKey {
  kLat, kLon, kAlt, kAgl, kHeading, kPitch, kBank, kIas, kTas, kMach, kGs, kTrack, kVs,
  kWindDir, kWindSpeed, kMagvar, kTerrain, kVolts, kSimrate, kOnGround,
  kAltimeter, kCom1, kCom2, kXpdr,
  // read only
  kTurnRate, kDrift, kOat, kPressure, kDensity, kSoundSpeed, kQnh, kTempOffset,
};

// The key named `name` (as `aircraft` and `world` spell it), or nullopt.
std::optional<WorldKey> world_key(std::string_view name);
// Names of every key, for messages.
std::string world_key_names();

struct Setting {
  WorldKey key;
  double value;
};

// `fly` targets; unset members leave the current target alone.
struct FlyTargets {
  std::optional<double> heading;  // degrees true
  std::optional<double> rate;     // degrees per second; unset: standard rate
  std::optional<double> alt;      // metres
  std::optional<double> vs;       // m/s, magnitude; unset: 10
  std::optional<double> ias;      // km/h
  std::optional<double> accel;    // km/h per second; unset: 5
};

struct AtmosphereSettings {
  std::optional<double> qnh;          // hPa
  std::optional<double> temp_offset;  // kelvin (= degrees Celsius)
};

// Parsers for the scenario verbs: the words after the verb. Each checks
// keys and ranges; false with a message on bad input.
bool parse_aircraft(std::span<const std::string> words, std::vector<Setting>* out,
                    std::string* error);
bool parse_fly(std::span<const std::string> words, FlyTargets* out, std::string* error);
bool parse_station(std::span<const std::string> words, Station* out, std::string* error);
bool parse_atmosphere(std::span<const std::string> words, AtmosphereSettings* out,
                      std::string* error);

// Key events the world acts on.
namespace event {
inline constexpr u32 kNav1Frequency = 65708;  // value BCD16
inline constexpr u32 kNav2Frequency = 65709;
inline constexpr u32 kNav1Course = 65716;  // value degrees
inline constexpr u32 kNav2Course = 65717;
inline constexpr u32 kAltimeterSetting = 66040;  // value 16 x hPa
inline constexpr u32 kAltimeterUp = 65883;       // + kAltimeterStep
inline constexpr u32 kAltimeterDown = 65884;
// COM radios: whole MHz (118..136, wrapping) and the fraction (25 kHz
// channels, wrapping inside the MHz without carry), down and up.
inline constexpr u32 kCom1WholeDown = 65636;
inline constexpr u32 kCom1WholeUp = 65637;
inline constexpr u32 kCom1FractionDown = 65638;
inline constexpr u32 kCom1FractionUp = 65639;
inline constexpr u32 kCom2WholeDown = 66436;
inline constexpr u32 kCom2WholeUp = 66437;
inline constexpr u32 kCom2FractionDown = 66438;
inline constexpr u32 kCom2FractionUp = 66440;
// Transponder digits (thousands, hundreds, tens, units) up and down; octal
// digits, 7 up wraps to 0 and 0 down to 7.
inline constexpr u32 kXpdrUp[4] = {65651, 65652, 65653, 65654};
inline constexpr u32 kXpdrDown[4] = {66455, 66456, 66457, 66458};
}  // namespace event

class WorldModel final : public World {
 public:
  static constexpr double kStandardRate = 3.0;       // degrees per second
  static constexpr double kMaxStandardBank = 30.0;   // degrees
  static constexpr double kDefaultClimb = 10.0;      // m/s
  static constexpr double kDefaultAccel = 5.0;       // km/h per second
  static constexpr std::size_t kMaxLogged = 4096;
  static constexpr double kMinAltimeter = 800.0;   // hPa, the setting's range
  static constexpr double kMaxAltimeter = 1200.0;
  static constexpr double kAltimeterStep = 1.0;    // hPa per up/down event
  static constexpr std::uint32_t kComMinKhz = 118000;
  static constexpr std::uint32_t kComMaxKhz = 136975;
  static constexpr std::uint32_t kComChannelKhz = 25;

  WorldModel();

  void step(double real_dt, double sim_dt, VarTable& vars) override;
  void on_key_event(u32 id, u32 value, VarTable& vars) override;

  // Scenario settings, as the parsers above produce them, in order.
  void set_aircraft(std::span<const Setting> settings);
  void fly(const FlyTargets& targets);
  // A station with the id of an earlier one replaces it.
  void add_station(Station station);
  void set_atmosphere(const AtmosphereSettings& settings);

  // Writes every module variable the world produces; held ids stay.
  void publish(VarTable& vars) const;
  double value(WorldKey key) const;

  struct LoggedEvent {
    double sim_time;
    u32 id;
    u32 value;
  };
  // The first kMaxLogged events; events_seen() counts all.
  const std::vector<LoggedEvent>& events() const { return log_; }
  std::uint64_t events_seen() const { return events_seen_; }
  const std::vector<Station>& stations() const { return stations_; }
  // NAV receiver n (0 or 1) as the world computes it now.
  NavSignal nav(int n) const;

  // The route of `route` (host/route.h): a new one replaces the old.
  void set_route(Route route) { route_ = std::move(route); }
  const Route& route() const { return route_; }
  // Where the aircraft is on leg `leg` of the route now; nullopt without it.
  std::optional<double> leg_value(LegKey key, int leg) const {
    return host::leg_value(route_, key, leg, lat_, lon_);
  }

 private:
  enum class SpeedHold { kIas, kTas, kMach, kGs };
  enum class Steer { kHeading, kTrack };

  void derive();           // air data, speeds, velocities, attitude
  void settle_ground();    // alt not below the terrain; the on-ground flag
  void turn(double dt);
  void climb(double dt);
  void accelerate(double dt);
  void move(double dt);
  bool radio_event(u32 id);  // COM and transponder events; false: not one
  double standard_rate() const;
  double flight_path_angle() const;  // degrees, positive climbing
  Position position() const;

  // Aircraft
  double lat_ = 0.0;
  double lon_ = 0.0;
  double alt_ = 0.0;
  double terrain_ = 0.0;
  double heading_ = 0.0;  // true
  double track_ = 0.0;
  Steer steer_ = Steer::kHeading;
  SpeedHold hold_ = SpeedHold::kTas;
  double held_speed_ = 0.0;  // km/h, or Mach
  double vs_ = 0.0;          // m/s
  double above_path_ = 0.0;  // pitch above the flight path, degrees nose up
  double set_bank_ = 0.0;    // bank while not turning, positive left wing down
  double turn_rate_ = 0.0;   // degrees per second, positive to the right
  double wind_dir_ = 0.0;    // from, degrees true
  double wind_speed_ = 0.0;  // km/h
  double magvar_ = 0.0;      // degrees east
  double volts_ = 28.0;
  double simrate_ = 1.0;
  bool on_ground_ = true;

  // Targets
  std::optional<double> target_heading_;
  std::optional<double> target_rate_;
  std::optional<double> target_alt_;
  double climb_rate_ = kDefaultClimb;
  std::optional<double> target_ias_;
  double accel_ = kDefaultAccel;

  // Atmosphere and settings
  double qnh_ = atmo::kStandardQnh;
  double temp_offset_ = 0.0;
  double altimeter_hpa_ = atmo::kStandardQnh;

  // Derived each frame
  atmo::Air air_;
  double ias_ = 0.0;  // km/h
  double tas_ = 0.0;  // km/h
  double mach_ = 0.0;
  double gs_ = 0.0;        // km/h
  double air_h_ = 0.0;     // horizontal airspeed, km/h
  double v_north_ = 0.0;   // ground velocity, km/h
  double v_east_ = 0.0;
  double pitch_ = 0.0;     // positive nose down
  double bank_ = 0.0;      // positive left wing down, -180..180

  // Radios
  std::vector<Station> stations_;
  std::array<std::uint32_t, 2> nav_freq_{1050, 1390};
  std::array<double, 2> nav_obs_{0.0, 0.0};
  std::array<std::uint32_t, 2> com_khz_{122800, 121500};
  std::array<std::uint32_t, 4> xpdr_{1, 2, 0, 0};  // octal digits, thousands first

  double sim_time_ = 0.0;
  std::vector<LoggedEvent> log_;
  std::uint64_t events_seen_ = 0;
  Route route_;
};

}  // namespace host
