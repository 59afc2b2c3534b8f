// What a system may ask of the joystick layer's key-channel table: whether a
// channel has a button assigned, how it switches, and whether the button is
// down. The table itself comes with the joystick layer; until then every
// channel reads "not assigned", so nothing a system does on a key channel
// ever happens.
#pragma once

namespace input {

// One key channel as its readers see it.
struct KeyChannelView {
  bool assigned = false;  // a button is assigned to the channel
  int switch_mode = 0;    // 0: a press sets the switch; 1: the switch follows the button
  int state = 0;          // 1 while the button is down
};

// Key channel 53, "NVU SCHISL": the navigation computer's counting switch.
inline constexpr int kKeyNvuCounting = 53;

// The channel's view. Not assigned while the joystick layer does not exist.
inline KeyChannelView key_channel(int /*channel*/) { return KeyChannelView{}; }

}  // namespace input
