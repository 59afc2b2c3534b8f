// Words and numbers of scenario lines. A line splits at blanks; double
// quotes group (\" and \\ inside them stand for " and \); '#' outside quotes
// starts a comment. Numbers are decimal (sign, digits, fraction, exponent)
// or hexadecimal with 0x.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// Splits one line; false with a message for an unterminated quote.
bool split_line(std::string_view line, std::vector<std::string>* words, std::string* error);

// The whole word as a number; nullopt when it is not one.
std::optional<double> parse_number(std::string_view word);
// The whole word as an integer in [lo, hi]; nullopt otherwise (also for a
// fraction).
std::optional<std::int64_t> parse_integer(std::string_view word, std::int64_t lo, std::int64_t hi);

}  // namespace host
