#include "host/vars.h"

#include <algorithm>
#include <array>

namespace host {
namespace {

// The catalogue, by ascending id. Time values follow the table in README.md
// ("Time"): the tick follows real time, the clock and the simulated seconds
// follow simulated time.
constexpr std::array kCatalogue{
    VarInfo{var::kTick, "18 Hz tick", "count",
            "integer count of 1/18 s of real time; runs while paused", 0.0},
    VarInfo{var::kClockHour, "clock hour", "hours",
            "hour of the simulated time of day (0..23); day starts 12:00:00", 12.0},
    VarInfo{var::kClockMinute, "clock minute", "minutes",
            "minute of the simulated time of day (0..59)", 0.0},
    VarInfo{var::kClockSecond, "clock seconds", "seconds",
            "whole second of the simulated time of day (0..59); stops while paused", 0.0},
    VarInfo{var::kSimRate, "simulation rate", "factor",
            "multiplier of simulated time; `simrate X` sets it", 1.0},
    VarInfo{var::kTimeCounter, "time counter", "seconds",
            "simulated seconds since start, double; stops while paused", 0.0},
    VarInfo{var::kSimTime, "sim time, s", "seconds",
            "simulated seconds since start, double; stops while paused", 0.0},
    VarInfo{var::kMainBus, "main bus voltage", "volts",
            "double; 28 so that a scenario starts with a live bus", 28.0},
};

static_assert(std::is_sorted(kCatalogue.begin(), kCatalogue.end(),
                             [](const VarInfo& a, const VarInfo& b) { return a.id < b.id; }),
              "catalogue rows by ascending id");

}  // namespace

std::span<const VarInfo> var_catalogue() { return kCatalogue; }

const VarInfo* find_var(u32 id) {
  const auto it = std::lower_bound(kCatalogue.begin(), kCatalogue.end(), id,
                                   [](const VarInfo& row, u32 key) { return row.id < key; });
  return (it != kCatalogue.end() && it->id == id) ? &*it : nullptr;
}

VarTable::VarTable() {
  for (const VarInfo& row : kCatalogue) set(row.id, row.initial);
}

VarTable::Slot* VarTable::slot(u32 id) {
  if (id > kMaxId) return nullptr;
  if (id >= slots_.size()) slots_.resize(static_cast<std::size_t>(id) + 1);
  return &slots_[id];
}

double VarTable::get(u32 id) const { return id < slots_.size() ? slots_[id].value : 0.0; }

void VarTable::set(u32 id, double value) {
  if (Slot* s = slot(id); s != nullptr && !s->held) s->value = value;
}

void VarTable::hold(u32 id, double value) {
  if (Slot* s = slot(id); s != nullptr) {
    s->value = value;
    s->held = true;
  }
}

void VarTable::release(u32 id) {
  if (id < slots_.size()) slots_[id].held = false;
}

bool VarTable::held(u32 id) const { return id < slots_.size() && slots_[id].held; }

}  // namespace host
