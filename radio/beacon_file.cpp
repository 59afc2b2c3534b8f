#include "radio/beacon_file.h"

#include <cfloat>
#include <cmath>
#include <string>

#include "frame/numeric.h"
#include "frame/profile.h"
#include "platform/platform.h"

namespace radio {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

void skip_blanks(std::string_view s, std::size_t& i) {
  while (i < s.size() && is_blank(s[i])) ++i;
}

std::size_t skip_digits(std::string_view s, std::size_t i) {
  while (i < s.size() && is_digit(s[i])) ++i;
  return i;
}

// Reads one number at `i`: blanks, a plain decimal ([+-] digits [. digits]
// [e [+-] digits], or a fraction alone), blanks. Leaves `i` after it. False
// when there is no such number or a double cannot hold it; the shared
// conversion gives +-DBL_MAX for an overflow, which counts as unreadable.
bool read_number(std::string_view s, std::size_t& i, double& out) {
  skip_blanks(s, i);
  const std::size_t begin = i;
  std::size_t j = i;
  if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
  const std::size_t int_begin = j;
  j = skip_digits(s, j);
  bool digits = j > int_begin;
  if (j < s.size() && s[j] == '.') {
    const std::size_t frac_end = skip_digits(s, j + 1);
    digits = digits || frac_end > j + 1;
    j = frac_end;
  }
  if (!digits) return false;
  if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
    std::size_t k = j + 1;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
    const std::size_t exp_end = skip_digits(s, k);
    if (exp_end == k) return false;  // "1e" or "1e+": not a plain number
    j = exp_end;
  }
  const double v = frame::parse_decimal(s.substr(begin, j - begin));
  if (!std::isfinite(v) || std::fabs(v) >= DBL_MAX) return false;
  i = j;
  skip_blanks(s, i);
  out = v;
  return true;
}

constexpr char kSeparators[5] = {',', '*', ',', '*', ','};

}  // namespace

BeaconValue parse_beacon(std::string_view value, Beacon& out) {
  double n[6] = {};
  std::size_t i = 0;
  if (!read_number(value, i, n[0])) return BeaconValue::kRejected;
  if (n[0] == -2.0) return BeaconValue::kAbsent;
  for (int k = 0; k < 5; ++k) {
    if (i >= value.size() || value[i] != kSeparators[k]) return BeaconValue::kRejected;
    ++i;
    if (!read_number(value, i, n[k + 1])) return BeaconValue::kRejected;
  }
  if (i != value.size()) return BeaconValue::kRejected;

  Beacon b;
  b.beacon_channel = n[0];
  b.lat_deg = n[1] + n[2] / 100.0 / 60.0;
  b.lon_deg = n[3] + n[4] / 100.0 / 60.0;
  b.elevation_m = n[5];
  // Two huge finite numbers can still add up beyond the double range.
  if (!std::isfinite(b.lat_deg) || !std::isfinite(b.lon_deg)) return BeaconValue::kRejected;
  out = b;
  return BeaconValue::kRecord;
}

BeaconReadCounts read_beacons(const frame::Profile& profile, BeaconTable& table) {
  BeaconReadCounts counts;
  for (int n = 1; n <= kBeaconCount; ++n) {
    const std::string key = kBeaconKeyPrefix + std::to_string(n);
    const std::string v = profile.get(kBeaconSection, key, kBeaconAbsent, kBeaconValueBuffer);
    switch (parse_beacon(v, table[static_cast<std::size_t>(n - 1)])) {
      case BeaconValue::kRecord:
        ++counts.records;
        break;
      case BeaconValue::kAbsent:
        ++counts.absent;
        break;
      case BeaconValue::kRejected:
        ++counts.rejected;
        break;
    }
  }
  return counts;
}

BeaconReadCounts load_beacon_file(BeaconTable& table) {
  return read_beacons(frame::Profile::load(platform::module_path(kBeaconPath)), table);
}

}  // namespace radio
