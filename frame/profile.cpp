#include "frame/profile.h"

#include "frame/numeric.h"
#include "platform/platform.h"

namespace frame {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string folded(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v.remove_prefix(1);
    v.remove_suffix(1);
  }
  return v;
}

std::string truncated(std::string_view s, std::size_t buffer) {
  if (buffer == 0) return {};
  return std::string(s.substr(0, buffer - 1));
}

}  // namespace

Profile Profile::parse(std::string_view text) {
  Profile p;
  p.loaded_ = true;
  // Keys before the first section, or in a repeated one, belong nowhere.
  constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);
  std::size_t current = kNowhere;

  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;

    if (const std::size_t nul = line.find('\0'); nul != std::string_view::npos) {
      line = line.substr(0, nul);
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = trim(line);
    if (line.empty() || line.front() == ';') continue;

    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      if (close != std::string_view::npos) {
        // A repeated section is skipped with its keys: the first one wins.
        const std::string name = folded(trim(line.substr(1, close - 1)));
        if (p.first_section_.try_emplace(name, p.sections_.size()).second) {
          current = p.sections_.size();
          p.sections_.emplace_back();
        } else {
          current = kNowhere;
        }
        continue;
      }
      // No closing bracket: read as an ordinary line.
    }

    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || current == kNowhere) continue;
    const std::string_view key = trim(line.substr(0, eq));
    if (key.empty()) continue;
    const std::string_view value = unquote(trim(line.substr(eq + 1)));
    Section& sec = p.sections_[current];
    sec.entries.emplace_back(std::string(key), std::string(value));
    sec.first.try_emplace(folded(key), sec.entries.size() - 1);
  }
  return p;
}

Profile Profile::load(const std::string& path) {
  if (auto text = platform::read_file(path)) return parse(*text);
  return Profile{};
}

const std::string* Profile::find(std::string_view section, std::string_view key) const {
  const auto s = first_section_.find(folded(section));
  if (s == first_section_.end()) return nullptr;
  const Section& sec = sections_[s->second];
  const auto k = sec.first.find(folded(key));
  if (k == sec.first.end()) return nullptr;
  return &sec.entries[k->second].second;
}

std::string Profile::get(std::string_view section, std::string_view key, std::string_view def,
                         std::size_t buffer) const {
  const std::string* value = find(section, key);
  return truncated(value != nullptr ? std::string_view(*value) : def, buffer);
}

bool Profile::has(std::string_view section, std::string_view key) const {
  return find(section, key) != nullptr;
}

double Profile::number(std::string_view section, std::string_view key, std::string_view def,
                       std::size_t buffer) const {
  return parse_decimal(get(section, key, def, buffer));
}

std::int32_t Profile::integer(std::string_view section, std::string_view key,
                              std::string_view def, std::size_t buffer) const {
  return parse_int(get(section, key, def, buffer));
}

}  // namespace frame
