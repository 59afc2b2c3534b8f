#include "host/encodings.h"

#include <cmath>

#include "frame/bcd.h"
#include "frame/numeric.h"

namespace host::enc {

std::uint32_t angle16(double deg) {
  const auto units = static_cast<std::uint32_t>(
      frame::saturate_cast<std::int64_t>(std::round(frame::wrap360(deg) * kAngle16PerDeg)));
  return units & 0xFFFFu;  // 359.999 rounds to 65536, which is 0
}

std::uint32_t com_bcd16(std::uint32_t khz) { return frame::bcd16_encode(khz / 10 % 10000); }

}  // namespace host::enc
