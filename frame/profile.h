// Profile (INI) files read the way the modules' configuration has always been
// read: "[section]" lines and "key=value" lines, names compared without ASCII
// case, the first section of a name and the first key in it winning, values
// trimmed of blanks and of one pair of enclosing quotes, and every value
// returned through a character buffer of a given size. The text is parsed
// once; lookups do no I/O.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace frame {

class Profile {
 public:
  // Profile of the given file text.
  static Profile parse(std::string_view text);
  // Profile of a file; empty (every lookup gives its default) when the file
  // is missing or unreadable.
  static Profile load(const std::string& path);

  // False for the empty profile of a file that could not be read.
  bool loaded() const { return loaded_; }

  // The value of `key` in `section`, or `def` when the section or key is
  // absent, cut to `buffer` - 1 characters as a buffer of that size holds it.
  std::string get(std::string_view section, std::string_view key, std::string_view def,
                  std::size_t buffer = 16) const;
  bool has(std::string_view section, std::string_view key) const;

  // get(), then converted as a decimal (parse_decimal) or an integer
  // truncated toward zero (parse_int).
  double number(std::string_view section, std::string_view key, std::string_view def,
                std::size_t buffer = 16) const;
  std::int32_t integer(std::string_view section, std::string_view key, std::string_view def,
                       std::size_t buffer = 16) const;

 private:
  struct Section {
    std::vector<std::pair<std::string, std::string>> entries;  // as read
    std::unordered_map<std::string, std::size_t> first;        // folded key -> entry
  };

  const std::string* find(std::string_view section, std::string_view key) const;

  bool loaded_ = false;
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> first_section_;  // folded name -> section
};

}  // namespace frame
