// The short-range navigation beacon database: 255 beacon records read from
// the user-edited profile file `\gauges\ZOR_RSBN_CFG\rsbn_dat.cfg`, section
// [rsbn], keys rsbn_1 .. rsbn_255.
//
// A value holds six numbers and five separators in this order:
//   channel , lat_deg * lat_min_x100 , lon_deg * lon_min_x100 , elevation
// e.g. "27,55*4530,37*1200,150": channel 27, 55 deg 45.30 min N, 37 deg 12.00
// min E, 150 m. The minutes are added to the degrees whatever the sign of the
// degrees ("-2*3000" is -1.5 deg).
//
// The file is edited by hand, so a value is taken only when it reads safely:
// blanks may surround each number, but every separator must be there in its
// place, every number must be a plain decimal (optional sign, digits, an
// optional fraction and exponent; no "nan", "inf" or hex) that a double
// holds, and nothing but blanks may follow the elevation. Any other value
// leaves its record as it was. Numbers are read the same whatever the
// process locale is.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace frame {
class Profile;
}

namespace radio {

struct Beacon {
  double beacon_channel = 0.0;
  double lat_deg = 0.0;  // north positive
  double lon_deg = 0.0;  // east positive
  double elevation_m = 0.0;
};

inline constexpr int kBeaconCount = 255;
using BeaconTable = std::array<Beacon, kBeaconCount>;

inline constexpr const char* kBeaconPath = "\\gauges\\ZOR_RSBN_CFG\\rsbn_dat.cfg";
inline constexpr const char* kBeaconSection = "rsbn";
inline constexpr const char* kBeaconKeyPrefix = "rsbn_";
// A value is read into a buffer of 47 characters and the terminator; longer
// values are cut there.
inline constexpr std::size_t kBeaconValueBuffer = 48;
// What the reader gets for a missing key, and the channel that marks a
// record as absent.
inline constexpr const char* kBeaconAbsent = "-2";

enum class BeaconValue {
  kRecord,    // a well-formed value: the record was set
  kAbsent,    // first number -2 (or a missing key): record left as it was
  kRejected,  // malformed: record left as it was
};

// Parses one value into `out`, which is written only for kRecord.
BeaconValue parse_beacon(std::string_view value, Beacon& out);

struct BeaconReadCounts {
  int records = 0;
  int absent = 0;
  int rejected = 0;
};

// Reads keys rsbn_1 .. rsbn_255 of `profile` into `table` (key N into entry
// N - 1); entries whose value is absent or rejected keep their contents.
BeaconReadCounts read_beacons(const frame::Profile& profile, BeaconTable& table);

// Loads the beacon file below the simulator's folder and reads it into
// `table`. A missing or unreadable file reads as all keys missing.
BeaconReadCounts load_beacon_file(BeaconTable& table);

}  // namespace radio
