// Scenario scripts (.gh): parsing into commands, and the runner that drives
// a Host and a Panel through them. The verbs and WHAT forms are listed in
// README.md. Exit status of a run: 0 every expect held, 1 an expect failed,
// 2 a script or load error (the run stops there; the gauges are still
// killed and the modules released).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/expect.h"
#include "host/gauge_model.h"
#include "host/panel.h"
#include "host/services.h"
#include "host/world_model.h"

namespace host {

enum class Verb {
  kModule,
  kPlace,
  kPanel,
  kFps,
  kPause,
  kSimrate,
  kVar,
  kFree,
  kPublish,
  kUnpublish,
  kNamed,
  kFile,
  kFrames,
  kClick,
  kAttach,
  kKill,
  kPrint,
  kDump,
  kExpect,
  kRealtime,
  kAircraft,
  kFly,
  kStation,
  kAtmosphere,
  kResume,
  kEvent,
  kSeconds,
  kEcho,
  kRoute,
};

// What print and expect look at.
struct What {
  enum class Kind { kVar, kElem, kText, kHidden, kReg, kNamed, kKey, kKeys, kWindow, kSlot,
                    kWorld, kCounter };
  Kind kind = Kind::kVar;
  std::uint32_t id = 0;  // var, key, keys, window, slot; world LEGKEY N: the leg N
  std::string gauge;     // elem, text, hidden, counter
  std::string element;   // as written; "" = the first element with a value; counter: FIELD
  std::string name;      // reg, named, world (KEY or LEGKEY)
  std::string text;      // the words as written, for output
  // WHAT - WHAT: the value subtracted from this one (null for a plain WHAT).
  std::shared_ptr<const What> minus;
};

struct Command {
  int line = 0;
  Verb verb = Verb::kKill;
  std::vector<std::string> args;  // the words after the verb
  What what;                      // print, expect
  Op op = Op::kEq;                // expect
  Value expected;                 // expect
  std::string expected_text;      // expect: the value (and tolerance) as written
  double tolerance = 0.0;         // expect ~
  double number = 0.0;            // fps, simrate, var, publish, named; seconds; event: value
  std::uint32_t id = 0;           // var, free; publish: type code; event
  std::uint64_t count = 0;        // frames; click: hold frames (0: a plain click)
  bool flag = false;              // pause, realtime
  std::string area;               // click
  std::uint32_t button = 0;       // click
};

// Parses script text. False with "LINE: what" for the first bad line.
bool parse_script(std::string_view text, std::vector<Command>* out, std::string* error);

struct RunOptions {
  std::string modules_dir;
  std::ostream* out = nullptr;
  std::ostream* err = nullptr;
  // bench: after the script, run this many more frames and report timings.
  std::uint64_t bench_frames = 0;
};

class Runner {
 public:
  explicit Runner(RunOptions options);
  // Runs a script file; the exit status.
  int run_file(const std::string& path);
  // Runs script text; `name` and `folder` stand for the file in messages
  // and relative paths.
  int run_text(std::string_view text, const std::string& name, const std::string& folder);

  Host& host() { return host_; }
  Panel& panel() { return panel_; }
  WorldModel& world() { return world_; }

 private:
  // Each returns false after reporting a script error.
  bool execute(const Command& c);
  bool evaluate(const Command& c, const What& w, Value* out);
  bool element_of(const Command& c, const What& w, GaugeModel** gauge, std::size_t* index,
                  Axis* axis);
  // counter GAUGE FIELD: the count a drum counter shows.
  bool counter_value(const Command& c, const What& w, Value* out);
  GaugeModel* gauge_of(const Command& c, const std::string& ref);
  bool load_panel(const Command& c, const std::string& file);
  bool write_file(const Command& c);
  bool dump(const Command& c);
  bool bench();
  // frames N with realtime on: each frame ends no earlier than 1/fps of wall
  // time after the one before.
  bool paced_frames(const Command& c);
  // aircraft, fly, station, atmosphere, event, route.
  bool world_command(const Command& c);
  bool error(const Command& c, const std::string& what);
  std::string where(const Command& c) const;

  RunOptions opt_;
  WorldModel world_;  // outlives host_ and panel_, which call it
  Host host_;
  Panel panel_;
  std::string name_;
  std::string folder_;
  int failures_ = 0;
  bool realtime_ = false;
};

}  // namespace host
