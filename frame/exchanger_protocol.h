// The data exchanger's layout and names, shared by the module that writes it
// and by any program that reads it.
//
// The block holds 118 slots of one 64-bit IEEE double each, slot n at byte
// 8 n, little-endian. Slots 0..115 each have a guard; a program that uses a
// slot takes its guard without waiting, skips the slot when the guard is
// held, and releases the guard as soon as it has copied or stored the value.
// Slots 116 and 117 have no guard and are not used.
//
// Names are the base names below plus a suffix (empty outside test runs) so
// that parallel test runs never meet; the platform maps them into its
// namespace.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/text.h"

namespace frame::xchg {

inline constexpr std::string_view kBlockName = "$$$KR300VDATAEXCHANGER$$$";
inline constexpr std::string_view kGuardPrefix = "$$$KR300VSECUREEVENT_";
inline constexpr int kSlots = 118;
inline constexpr int kGuardedSlots = 116;
inline constexpr std::size_t kSlotBytes = 8;
inline constexpr std::size_t kBlockBytes = kSlots * kSlotBytes;  // 944
static_assert(kBlockBytes == 944);

inline bool is_slot(int n) { return n >= 0 && n < kSlots; }
inline bool is_guarded_slot(int n) { return n >= 0 && n < kGuardedSlots; }

inline std::string block_name(std::string_view suffix) {
  std::string s(kBlockName);
  s.append(suffix);
  return s;
}

// Name of slot n's guard: the prefix, n in decimal, the suffix. Only
// meaningful for guarded slots.
inline std::string guard_name(int n, std::string_view suffix) {
  char number[16];
  format_text(number, sizeof number - 1, "%d", n);
  std::string s(kGuardPrefix);
  s += number;
  s.append(suffix);
  return s;
}

// Stores v in slot n of a block of kBlockBytes bytes, least significant byte
// first whatever the machine's byte order. The caller checks is_slot.
inline void store_slot(void* block, int n, double v) {
  auto bits = std::bit_cast<std::uint64_t>(v);
  auto* p = static_cast<unsigned char*>(block) + static_cast<std::size_t>(n) * kSlotBytes;
  for (std::size_t i = 0; i < kSlotBytes; ++i) {
    p[i] = static_cast<unsigned char>(bits & 0xFFu);
    bits >>= 8;
  }
}

inline double load_slot(const void* block, int n) {
  const auto* p =
      static_cast<const unsigned char*>(block) + static_cast<std::size_t>(n) * kSlotBytes;
  std::uint64_t bits = 0;
  for (std::size_t i = kSlotBytes; i-- > 0;) bits = (bits << 8) | p[i];
  return std::bit_cast<double>(bits);
}

}  // namespace frame::xchg
