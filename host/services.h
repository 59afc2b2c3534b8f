// The host side of the panel services: one Host holds what the services
// act on (module variables, names, key events, windows, clocks, the world
// model), and one table of C entry points reaches the current Host through
// a single pointer. Every entry tolerates null arguments and a missing Host.
#pragma once

#include <array>
#include <cstdint>

#include "frame/host.h"
#include "host/events.h"
#include "host/names.h"
#include "host/time_model.h"
#include "host/vars.h"
#include "host/world.h"

namespace host {

// The element-list services, in table order; the host only counts calls.
enum ListService : std::size_t {
  kListQuery,
  kListInstall,
  kListInitialize,
  kListUpdate,
  kListGenerate,
  kListPlot,
  kListKill,
  kListServiceCount
};

class Host {
 public:
  // Becomes the current host (the one the service table reaches).
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // The table whose address goes into a module's import record.
  static const frame::PanelServices* services();
  static Host* current();
  void make_current();

  VarTable& vars() { return vars_; }
  Names& names() { return names_; }
  TimeModel& time() { return time_; }
  KeyLog& keys() { return keys_; }
  Windows& windows() { return windows_; }
  const std::array<std::uint64_t, kListServiceCount>& list_calls() const { return list_calls_; }

  // Not owned; null: no world model.
  void set_world(World* world) { world_ = world; }
  World* world() const { return world_; }

  // Advances the clocks and the world model by one frame.
  void step();

  // The operations behind the service table.
  void count_list_call(ListService s) { ++list_calls_[s]; }
  void key_event(std::uint32_t id, std::uint32_t value);
  void lookup(frame::ModuleVar* record) const;
  double aircraft_var(std::int32_t code, std::int32_t unit, std::int32_t index);

 private:
  VarTable vars_;
  Names names_;
  TimeModel time_;
  KeyLog keys_;
  Windows windows_;
  World* world_ = nullptr;
  std::array<std::uint64_t, kListServiceCount> list_calls_{};
};

// Unit name to unit code; 0 for an unknown or null name.
std::int32_t units_enum(const char* name);

}  // namespace host
