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
};

// Every module variable the host knows, by ascending id. Later world models
// add their rows here.
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
