#include "host/lexer.h"

#include <charconv>
#include <cmath>

#include "frame/numeric.h"

namespace host {
namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

// Hexadecimal integer after an optional sign: "0x1F", "-0x10".
std::optional<double> parse_hex(std::string_view w) {
  bool negative = false;
  if (!w.empty() && (w.front() == '-' || w.front() == '+')) {
    negative = w.front() == '-';
    w.remove_prefix(1);
  }
  if (w.size() < 3 || w[0] != '0' || (w[1] != 'x' && w[1] != 'X')) return std::nullopt;
  w.remove_prefix(2);
  std::uint64_t v = 0;
  const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v, 16);
  if (ec != std::errc() || end != w.data() + w.size()) return std::nullopt;
  const double d = static_cast<double>(v);
  return negative ? -d : d;
}

// Checks decimal syntax; the conversion itself is the shared parse_decimal.
bool decimal_syntax(std::string_view w) {
  std::size_t i = 0;
  if (i < w.size() && (w[i] == '-' || w[i] == '+')) ++i;
  std::size_t digits = 0;
  while (i < w.size() && digit(w[i])) ++i, ++digits;
  if (i < w.size() && w[i] == '.') {
    ++i;
    while (i < w.size() && digit(w[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < w.size() && (w[i] == 'e' || w[i] == 'E')) {
    ++i;
    if (i < w.size() && (w[i] == '-' || w[i] == '+')) ++i;
    std::size_t exp_digits = 0;
    while (i < w.size() && digit(w[i])) ++i, ++exp_digits;
    if (exp_digits == 0) return false;
  }
  return i == w.size();
}

}  // namespace

bool split_line(std::string_view line, std::vector<std::string>* words, std::string* error) {
  words->clear();
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && blank(line[i])) ++i;
    if (i >= line.size() || line[i] == '#') break;
    std::string word;
    while (i < line.size() && !blank(line[i]) && line[i] != '#') {
      if (line[i] != '"') {
        word.push_back(line[i++]);
        continue;
      }
      ++i;  // opening quote
      bool closed = false;
      while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
          word.push_back(line[i++]);
          continue;
        }
        word.push_back(c);
      }
      if (!closed) {
        *error = "unterminated quote";
        return false;
      }
    }
    words->push_back(std::move(word));
  }
  return true;
}

std::optional<double> parse_number(std::string_view w) {
  if (auto hex = parse_hex(w)) return hex;
  if (!decimal_syntax(w)) return std::nullopt;
  const double v = frame::parse_decimal(w);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<std::int64_t> parse_integer(std::string_view w, std::int64_t lo, std::int64_t hi) {
  const std::optional<double> v = parse_number(w);
  if (!v || *v != std::floor(*v)) return std::nullopt;
  if (*v < static_cast<double>(lo) || *v > static_cast<double>(hi)) return std::nullopt;
  return static_cast<std::int64_t>(*v);
}

}  // namespace host
