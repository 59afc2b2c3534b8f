// The seam for a world model: something that plays the simulated aircraft
// and its surroundings. The host steps it once per frame, after the time
// model and before the gauges' service 6, and hands it every key event a
// module sends. Without one, the variables keep their catalogue defaults
// (plus the time model's values) and what scenarios set.
#pragma once

#include <optional>

#include "host/vars.h"

namespace host {

class World {
 public:
  virtual ~World() = default;
  // One frame: `real_dt` real seconds and `sim_dt` simulated seconds (0 while
  // paused) since the previous frame. Writes go through VarTable::set, which
  // leaves ids held by the scenario untouched.
  virtual void step(double real_dt, double sim_dt, VarTable& vars) = 0;
  // A key event, applied at once (modules expect the effect immediately).
  virtual void on_key_event(u32 /*id*/, u32 /*value*/, VarTable& /*vars*/) {}
  // aircraft_varget; nullopt leaves the host's answer (0).
  virtual std::optional<double> aircraft_var(i32 /*code*/, i32 /*unit*/, i32 /*index*/) {
    return std::nullopt;
  }
};

}  // namespace host
