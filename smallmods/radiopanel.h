// The radio instrument module `radiopanel`: the shared airspeed, Mach and
// vertical-speed instruments, the transponder and the thermometer
// (smallmods/instruments.h), and its two VHF radio panels COM_1 and COM_2.
// A radio panel shows the simulator's frequency word on four drums and
// tunes it through key events; its switch is a position of its own.
#pragma once

#include <array>

#include "frame/builder.h"
#include "smallmods/instruments.h"

namespace smallmods {

// One radio panel: the four BCD digits of its frequency word (highest
// first) and its switch.
struct ComPanel {
  std::array<u32, 4> com_digit{};
  int com_toggle = 0;
  ModuleVar freq_var = module_var(0);
};

// What tells COM_1 and COM_2 apart.
struct ComPanelSpec {
  const char* gauge;
  const char* toggle_label;                              // the position's name
  u32 whole_down, whole_up, fraction_down, fraction_up;  // key events
};
inline constexpr ComPanelSpec kCom1Panel{"COM_1", "com_toggle_1", 65636, 65637, 65638, 65639};
inline constexpr ComPanelSpec kCom2Panel{"COM_2", "com_toggle_2", 66436, 66437, 66438, 66440};

void com_step(ComPanel& s, double freq_word);
// The number the four drums show: the digits, a nibble above 9 shown as 9.
double com_drum_number(const ComPanel& s);
void define_com_panel(frame::Module& m, const ComPanelSpec& spec, ComPanel& s);

// Everything the module keeps, once per module.
struct RadiopanelState {
  SpeedIndicator kus_700_1100{.limits = kKus700_1100Limits};  // press_alt_a, density_ratio_a
  SpeedIndicator kus_1200{.limits = kKus1200Limits};          // press_alt_b, density_ratio_b
  MachIndicator mach{.critical_mach = 0.88};
  Variometer var_30{};
  ComPanel com_1{.freq_var = module_var(var::kCom1)};
  ComPanel com_2{.freq_var = module_var(var::kCom2)};
  Transponder transponder{};
  Thermometer amb_temp{};
};

// Declares all eight gauges of the module on `m`, on the records of `s`.
void define_radiopanel(frame::Module& m, RadiopanelState& s);

}  // namespace smallmods
