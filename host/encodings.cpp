#include "host/encodings.h"

#include <cmath>

#include "frame/numeric.h"

namespace host::enc {

std::uint32_t angle16(double deg) {
  const auto units = static_cast<std::uint32_t>(
      frame::saturate_cast<std::int64_t>(std::round(frame::wrap360(deg) * kAngle16PerDeg)));
  return units & 0xFFFFu;  // 359.999 rounds to 65536, which is 0
}

std::uint32_t bcd16(std::uint32_t code) {
  code %= 10000;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 16; shift += 4) {
    out |= (code % 10) << shift;
    code /= 10;
  }
  return out;
}

std::optional<std::uint32_t> decode_bcd16(std::uint32_t bcd) {
  if (bcd > 0xFFFFu) return std::nullopt;
  std::uint32_t code = 0;
  for (int shift = 12; shift >= 0; shift -= 4) {
    const std::uint32_t digit = (bcd >> shift) & 0xFu;
    if (digit > 9) return std::nullopt;
    code = code * 10 + digit;
  }
  return code;
}

}  // namespace host::enc
