// The two KURS-MP VOR/ILS receivers (receiver 1 is the simulator's NAV1,
// receiver 2 its NAV2): what each receiver keeps, and the rules of its
// control panel (KursMP_Pult_1/_2) and course selector (KursMP_ZPU1/2).
//
// The simulator does the radio propagation. A receiver tunes its frequency
// and course through key events, reads back what the simulator computes and
// adds the aircraft's power and switching logic; radio_sys (radio_sys.h)
// turns the simulator's signals into the fields below every frame.
//
// Frequencies are codes in 10 kHz steps above 100 MHz: 1050 is 110.50 MHz.
// The host speaks them as BCD16 words (frame/bcd.h).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace radio {

struct NavReceiver {
  int breaker_on = 0;            // AZS_KURS_MP_1 / _2, copied by the breaker every frame
  int powered = 0;               // breaker_on x main bus, by the panel gauge
  std::uint32_t freq_code = 1050;  // 800 (108.00) .. 1795 (117.95)
  int freq_pending = 0;          // a knob changed freq_code; the event is not sent yet
  int freq_lock = 0;             // panel toggle: blocks the frequency knobs
  int unit_km = 1;               // panel toggle: distance indicators in km (1) or NM (0)
  int spare_toggle = 1;          // panel toggle without a function
  std::array<int, 4> freq_digit{};  // [0] tens of kHz .. [3] tens of MHz above 100
  int panel_lit = 0;             // 1 from the first frame; shown while powered
  int obs_deg = 0;               // selected course (ZPU), whole degrees
  std::array<int, 3> obs_drum{};  // course drums, lowest first, 100 per digit
  int ils_tuned = 0;             // a localizer is tuned (flags word bit value 2)
  int to_from = 0;               // 0 none, 1 TO, 2 FROM
  int active = 0;                // breaker_on while a station is received
  int gs_valid = 0;              // breaker_on x glide slope valid
  double cdi = 0.0;              // lateral needle, the simulator's units
  double gs_needle = 0.0;        // glide-slope needle (receiver 1)
  double bearing_deg = 0.0;      // bearing to the station, for the standby compass card
  double rmi_bearing = 0.0;      // the simulator's RMI bearing, copied while allowed
  double dme_m = -1.0;           // DME distance, metres; the raw token value without a DME
  int dme_valid = 0;             // a distance is present and the breaker is on
};

inline constexpr std::uint32_t kFreqMin = 800;   // 108.00 MHz
inline constexpr std::uint32_t kFreqMax = 1795;  // 117.95 MHz
inline constexpr bool freq_in_band(std::uint32_t code) {
  return code >= kFreqMin && code <= kFreqMax;
}

// The start state of receiver n (0 or 1): receiver 2 starts on 113.90 MHz.
constexpr NavReceiver receiver_at_start(int n) {
  NavReceiver r{};
  if (n == 1) r.freq_code = 1390;
  return r;
}

// Frequency knobs -------------------------------------------------------------

enum class FreqKnob { kMhzDown, kMhzUp, kKhzDown, kKhzUp };

// A click on a frequency knob. The knobs never wrap: MHz up only while the
// MHz part is below 117, MHz down above 108, kHz up below .95, kHz down
// above .04; and never to a code outside the band. Acts only while powered
// and not locked; an accepted step sets freq_pending. True when it acted.
bool freq_knob(NavReceiver& r, FreqKnob knob);

// Panel frame, steps 1 and 2: power, and the set-frequency event owed by a
// knob. Returns the BCD16 value to send (and clears freq_pending), or
// nothing. `main_bus` is the module's main bus flag.
std::optional<std::uint32_t> panel_frame_send(NavReceiver& r, int main_bus);

// Panel frame, steps 3 and 4: follows the host's frequency (a host value,
// read as a BCD16 word) and splits the code into digits. A value that is not
// valid BCD or lies outside the band (a host at 0 before its first update)
// keeps the last valid code.
void panel_frame_read(NavReceiver& r, double host_freq);

// Course selector -------------------------------------------------------------

// The course after a click on the course knob (dir -1 left knob, +1 right
// knob; right button 10 degrees, else 1). Below 0 adds 360, above 360
// subtracts 360: 0 - 1 gives 359, 359 + 1 gives 360 (sent as it is).
int obs_step(int obs_deg, int dir, std::uint32_t flags);

// The course selector's frame: the drums from the course as it stands, then
// the host's course (truncated) into obs_deg. A host course that is not a
// number within 0..360 keeps the last one.
void obs_frame(NavReceiver& r, double host_course);

}  // namespace radio
