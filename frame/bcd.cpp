#include "frame/bcd.h"

#include <cmath>

namespace frame {

std::array<std::uint32_t, 4> bcd16_digits(std::uint32_t word) {
  return {(word >> 12) & 0xFu, (word >> 8) & 0xFu, (word >> 4) & 0xFu, word & 0xFu};
}

std::uint32_t bcd16_word(double value) {
  if (!std::isfinite(value) || value < 0.0 || value >= 65536.0) return 0;
  return static_cast<std::uint32_t>(value);
}

std::uint32_t bcd16_encode(std::uint32_t code) {
  code %= 10000;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 16; shift += 4) {
    out |= (code % 10) << shift;
    code /= 10;
  }
  return out;
}

std::optional<std::uint32_t> bcd16_decode(std::uint32_t word) {
  if (word > 0xFFFFu) return std::nullopt;
  std::uint32_t code = 0;
  for (const std::uint32_t digit : bcd16_digits(word)) {
    if (digit > 9) return std::nullopt;
    code = code * 10 + digit;
  }
  return code;
}

}  // namespace frame
