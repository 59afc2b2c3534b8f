// libFuzzer target for the beacon file: the input is taken both as one
// beacon value and as a whole profile file read into the table. Whatever it
// holds, parsing must neither crash nor leave a record that is not finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/profile.h"
#include "radio/beacon_file.h"

namespace {

bool finite(const radio::Beacon& b) {
  return std::isfinite(b.beacon_channel) && std::isfinite(b.lat_deg) &&
         std::isfinite(b.lon_deg) && std::isfinite(b.elevation_m);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  radio::Beacon b{1.0, 2.0, 3.0, 4.0};
  const radio::BeaconValue v = radio::parse_beacon(text, b);
  if (!finite(b)) __builtin_trap();
  if (v != radio::BeaconValue::kRecord &&
      (b.beacon_channel != 1.0 || b.lat_deg != 2.0 || b.lon_deg != 3.0 || b.elevation_m != 4.0))
    __builtin_trap();  // a value that was not taken changed the record

  radio::BeaconTable table{};
  const radio::BeaconReadCounts c = radio::read_beacons(frame::Profile::parse(text), table);
  if (c.records + c.absent + c.rejected != radio::kBeaconCount) __builtin_trap();
  for (const radio::Beacon& r : table)
    if (!finite(r)) __builtin_trap();
  return 0;
}
