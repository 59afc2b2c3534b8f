// Module variables as the host keeps them: a table of values by id, the one
// catalogue that names every id the host drives (unit, encoding, start
// value), and the "held" mark a scenario puts on an id it sets so that the
// world model leaves it alone until it is freed.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace host {

using u32 = std::uint32_t;
using i32 = std::int32_t;

// One row of the catalogue.
struct VarInfo {
  u32 id;
  const char* name;
  const char* unit;
  const char* notes;  // encoding, and what drives the value
  double initial;     // value at start
  const char* source; // "time" (the clocks), "world" (the world model), "setting"
};

// Every module variable the host knows, by ascending id.
std::span<const VarInfo> var_catalogue();
// The catalogue row of `id`, or null.
const VarInfo* find_var(u32 id);

// Ids the host itself drives.
namespace var {
inline constexpr u32 kTick = 1;          // 18 Hz tick count
inline constexpr u32 kClockHour = 3;     // simulated clock
inline constexpr u32 kClockMinute = 4;
inline constexpr u32 kClockSecond = 5;
inline constexpr u32 kSimRate = 336;     // simulation rate
inline constexpr u32 kTimeCounter = 557; // simulated seconds
inline constexpr u32 kSimTime = 604;     // simulated seconds
inline constexpr u32 kMainBus = 753;     // main bus voltage
// The world model's aircraft, atmosphere and radios.
inline constexpr u32 kCom1Frequency = 23;
inline constexpr u32 kNav1Frequency = 24;
inline constexpr u32 kNav1Radial = 25;
inline constexpr u32 kNav2Frequency = 27;
inline constexpr u32 kNav2Radial = 28;
inline constexpr u32 kNav1Dme = 31;
inline constexpr u32 kNav2Dme = 35;
inline constexpr u32 kTransponder = 38;
inline constexpr u32 kNav1Cdi = 40;
inline constexpr u32 kNav1Gs = 41;
inline constexpr u32 kNav1Flags = 42;
inline constexpr u32 kNav1ToFrom = 43;
inline constexpr u32 kNav1GsValid = 44;
inline constexpr u32 kNav1Obs = 45;
inline constexpr u32 kNav2Cdi = 50;
inline constexpr u32 kNav2Flags = 51;
inline constexpr u32 kNav2ToFrom = 52;
inline constexpr u32 kNav2GsValid = 53;
inline constexpr u32 kNav2Obs = 54;
inline constexpr u32 kNav2Rmi = 59;
inline constexpr u32 kOnGround = 60;
inline constexpr u32 kIas = 61;
inline constexpr u32 kMach = 64;
inline constexpr u32 kVerticalSpeed = 65;
inline constexpr u32 kLatitude = 71;
inline constexpr u32 kLongitude = 72;
inline constexpr u32 kAltitude = 73;
inline constexpr u32 kIndicatedAltitude = 74;
inline constexpr u32 kAltimeterHpa = 75;
inline constexpr u32 kAltimeterInHg = 76;
inline constexpr u32 kPitch = 77;
inline constexpr u32 kBank = 79;
inline constexpr u32 kMagneticHeading = 81;
inline constexpr u32 kMagneticVariation = 82;
inline constexpr u32 kTrueHeading = 86;
inline constexpr u32 kUnitSetting = 335;
inline constexpr u32 kOutsideTemperature = 341;
inline constexpr u32 kStaticPressure = 342;
inline constexpr u32 kOutsideTemperature256 = 350;
inline constexpr u32 kMarker = 354;
inline constexpr u32 kNav1Rmi = 550;
inline constexpr u32 kGroundAlong = 551;
inline constexpr u32 kGroundAcross = 552;
inline constexpr u32 kVelocityNorth = 554;
inline constexpr u32 kVelocityEast = 555;
inline constexpr u32 kRadioHeight = 614;
inline constexpr u32 kCom2Frequency = 870;
inline constexpr u32 kNav2Gs = 882;
}  // namespace var

class VarTable {
 public:
  // Largest id the table stores; reads above it give 0, writes are dropped.
  static constexpr u32 kMaxId = 0xFFFF;

  // Starts with the catalogue's initial values.
  VarTable();

  double get(u32 id) const;
  // A write by the world model: ignored while the id is held.
  void set(u32 id, double value);
  // A write by the scenario: sets the value and holds it.
  void hold(u32 id, double value);
  // Gives a held id back to the world model; its value stays until the
  // world writes it.
  void release(u32 id);
  bool held(u32 id) const;

 private:
  struct Slot {
    double value = 0.0;
    bool held = false;
  };
  Slot* slot(u32 id);

  std::vector<Slot> slots_;  // grows to the largest id written
};

}  // namespace host
