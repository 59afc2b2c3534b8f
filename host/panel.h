// The panel: loaded modules, the gauges placed on it in panel order, and the
// phases the host drives them through.
//
//   start   service 2 (and the install routine) for every placed gauge, then
//           4 (and initialize) for all, then 14 for all
//   frame   clocks and world one step, then for each placement in order:
//           service 6, the update routine, every element callback
//   click   the area's handler; no frame passes
//   attach  service 14 again
//   kill    service 12 (and the kill routine) for every started placement
//   finish  kill if not done, module deinit in load order, unload
//
// A gauge placed after the start gets its 2, 4 and 14 at once. A gauge may
// be placed more than once; each placement gets every service.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/gauge_model.h"
#include "host/loader.h"
#include "host/services.h"

namespace host {

class Panel {
 public:
  explicit Panel(Host& host) : host_(host) {}
  ~Panel() { finish(); }
  Panel(const Panel&) = delete;
  Panel& operator=(const Panel&) = delete;

  // Loads module `name` from `folder` (again: nothing to do).
  bool load(const std::string& folder, const std::string& name, std::string* error);
  const LoadedModule* module(std::string_view name) const;
  const std::vector<std::unique_ptr<LoadedModule>>& modules() const { return modules_; }

  // "module!gauge", or a bare gauge name found in exactly one module.
  GaugeModel* resolve(std::string_view ref, std::string* error);
  // A gauge of one module by name: exact, else ignoring ASCII case.
  GaugeModel* find_gauge(const LoadedModule& m, std::string_view gauge);

  enum class State { kIdle, kStarted, kKilled };
  State state() const { return state_; }

  // Each of these returns false (with a message) after kill.
  bool place(GaugeModel& gauge, std::string* error);
  bool start(std::string* error);
  bool run_frames(std::uint64_t n, std::string* error);
  // Calls the area's handler with `button` (kMouseLeft or kMouseRight) when
  // the area takes that button. hold > 0: on `hold` consecutive frames,
  // every frame when the area repeats, else only the first.
  bool click(const AreaInfo& area, frame::u32 button, std::uint64_t hold,
             std::string* error);
  // Service 14 again for the placements of `gauge`, or all when null.
  bool attach(GaugeModel* gauge, std::string* error);
  void kill();
  void finish();

  bool placed(const GaugeModel& gauge) const;
  std::size_t placement_count() const { return placements_.size(); }

  // Readings as the last frame left them; evaluated afresh when something
  // may have changed since (see invalidate) or the gauge never ran.
  const std::vector<Reading>& readings(GaugeModel& gauge);
  // Marks every stored reading stale (a click, a changed variable...).
  void invalidate() { ++epoch_; }

  struct Timings {
    std::chrono::nanoseconds load{0};
    std::chrono::nanoseconds service2{0};
    std::chrono::nanoseconds service4{0};
    std::chrono::nanoseconds service14{0};
  };
  const Timings& timings() const { return timings_; }

 private:
  struct Placement {
    GaugeModel* gauge;
    frame::GaugeHeader* header;
    frame::ElementHeader* first;
    bool started;
  };

  bool alive(std::string* error) const;
  static void service(const Placement& p, frame::i32 code);
  void start_one(Placement& p);
  void one_frame();

  Host& host_;
  std::vector<std::unique_ptr<LoadedModule>> modules_;
  std::vector<Placement> placements_;
  State state_ = State::kIdle;
  std::uint64_t epoch_ = 0;
  Timings timings_;
};

}  // namespace host
