// Binary-coded decimal words of the host: four decimal digits in one 16-bit
// value, a nibble each (0x1050 holds 1, 0, 5, 0). NAV and COM frequencies
// travel in this form; the transponder code too, its digits being octal.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace frame {

// The four nibbles of the low 16 bits of `word`, highest first: bits 12-15,
// 8-11, 4-7, 0-3. A nibble may be above 9 in a damaged word; callers that
// show digits decide what such a nibble shows.
std::array<std::uint32_t, 4> bcd16_digits(std::uint32_t word);

// A host value read as a BCD16 word: the fraction is dropped; NaN, an
// infinity, a negative value or one above 0xFFFF gives 0.
std::uint32_t bcd16_word(double value);

// The code (0..9999; beyond, its last four digits) as a BCD16 word.
std::uint32_t bcd16_encode(std::uint32_t code);

// The code of a BCD16 word; nullopt when a digit is above 9 or a bit above
// 15 is set.
std::optional<std::uint32_t> bcd16_decode(std::uint32_t word);

}  // namespace frame
