// The module's end of the data exchanger: the shared block of cockpit values
// that any program on the machine can read (layout and names in
// exchanger_protocol.h). Opened by `HydroInOut` at service 2 and closed at
// its service 12; between those, gauges write slots at service 6 or from
// their value callbacks. The module never waits for a slot: a slot whose
// guard somebody else holds is skipped for that frame.
#pragma once

#include <array>
#include <optional>

#include "frame/exchanger_protocol.h"

namespace platform {
struct SharedBlock;
struct NamedGuard;
}  // namespace platform

namespace frame {

struct Exchanger {
  bool open = false;
  void* address = nullptr;                      // the mapped block
  platform::SharedBlock* mapping = nullptr;
  std::array<platform::NamedGuard*, xchg::kGuardedSlots> guards{};  // null: not opened
  bool created = false;  // this open made the block (and zero-filled it)
};

// The module's one exchanger.
Exchanger& exchanger();

// Opens the guards and the block under the host's name suffix. A block that
// already exists keeps its contents; one this call creates is zero-filled.
// Opening an open exchanger closes it first. On failure it stays closed.
void exchanger_open();
// Stores v in slot n (0..115) through its guard: 1 when written; 0 when the
// exchanger is closed, n is outside 0..115, the slot's guard could not be
// opened, or somebody else holds it.
int exchanger_write(int n, double v);
// The value in slot n (0..117) without taking its guard; nullopt while closed
// or for other n.
std::optional<double> exchanger_read(int n);
// Unmaps the block and closes every guard. Harmless when closed.
void exchanger_close();

}  // namespace frame
