#include "radio/nav_receiver.h"

#include <cmath>

#include "frame/bcd.h"
#include "frame/gauge.h"
#include "frame/numeric.h"
#include "frame/patterns.h"

namespace radio {

bool freq_knob(NavReceiver& r, FreqKnob knob) {
  if (r.powered != 1 || r.freq_lock != 0) return false;
  const std::uint32_t code = r.freq_code;
  const std::uint32_t khz = code % 100;
  const std::uint32_t mhz = code - khz;
  std::uint32_t next = code;
  switch (knob) {
    case FreqKnob::kMhzUp:
      if (mhz < 1700) next = code + 100;
      break;
    case FreqKnob::kMhzDown:
      if (mhz > 800) next = code - 100;
      break;
    case FreqKnob::kKhzUp:
      if (khz < 95) next = code + 5;
      break;
    case FreqKnob::kKhzDown:
      if (khz > 4) next = code - 5;
      break;
  }
  if (next == code || !freq_in_band(next)) return false;
  r.freq_code = next;
  r.freq_pending = 1;
  return true;
}

std::optional<std::uint32_t> panel_frame_send(NavReceiver& r, int main_bus) {
  r.powered = r.breaker_on * main_bus == 1 ? 1 : 0;
  if (r.freq_pending != 1) return std::nullopt;
  r.freq_pending = 0;
  return frame::bcd16_encode(r.freq_code);
}

void panel_frame_read(NavReceiver& r, double host_freq) {
  const auto code = frame::bcd16_decode(frame::bcd16_word(host_freq));
  if (code && freq_in_band(*code)) r.freq_code = *code;
  r.panel_lit = 1;
  std::uint32_t c = r.freq_code;
  for (int& digit : r.freq_digit) {
    digit = static_cast<int>(c % 10);
    c /= 10;
  }
}

int obs_step(int obs_deg, int dir, std::uint32_t flags) {
  const frame::KnobRange course{1.0, 10.0, 0.0, 360.0, true};
  return frame::to_int(frame::knob_step(obs_deg, dir, flags, course));
}

void obs_frame(NavReceiver& r, double host_course) {
  const frame::DrumValues d = frame::drum_split(r.obs_deg, 3);
  for (int k = 0; k < 3; ++k)
    r.obs_drum[static_cast<std::size_t>(k)] = frame::to_int(d.v[static_cast<std::size_t>(k)]);
  if (std::isfinite(host_course) && host_course >= 0.0 && host_course <= 360.0)
    r.obs_deg = frame::to_int(host_course);
}

}  // namespace radio
