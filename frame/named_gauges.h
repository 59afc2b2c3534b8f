// The airliner's gauges that work the data exchanger and host named
// variables directly: the sliding-window click spot and the callback that
// publishes its flag, the exchanger's open and close, and the autopilot
// breaker's named variable.
#pragma once

#include "frame/names.h"

namespace frame {

class Module;

// The cockpit sliding window. `klappfenster` (owner `FortOpen`; the joystick
// layer also sets it) is 1 while the window is open. `klappfenster_sent` is
// the value last sent to KlappfensterAgree, shared by every gauge that sends
// it (`STABMANUAL`, `CG`, later `HydroInOut`), so that a change goes out once.
struct CockpitFlags {
  int klappfenster = 0;
  int klappfenster_sent = 0;
};

// Host named variables of this group, ids -1 until looked up.
struct CockpitNames {
  NamedVar klappfenster_agree{"KlappfensterAgree"};
  NamedVar azs_sau_stu{"azs_sau_stu"};
};

CockpitFlags& cockpit_flags();
CockpitNames& cockpit_names();

// Click on FortOpen's one area: left opens the window (1), right closes it (0).
void klappfenster_click(CockpitFlags& f, u32 flags);
// Sends the window flag to KlappfensterAgree when it differs from the value
// last sent, and remembers it once it went out. A service-6 step.
void send_klappfenster(CockpitFlags& f, NamedVar& agree);

// FortOpen, STABMANUAL, CG, HydroInOut (exchanger open and close) and the
// service 14 of AZS_SAU_STU.
void define_named_gauges(Module& m);

}  // namespace frame
