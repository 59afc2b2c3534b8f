#include "host/panel_cfg.h"

#include "frame/numeric.h"

namespace host {
namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// `s` is `prefix` (any case) followed by one or more digits.
bool prefix_digits(std::string_view s, std::string_view prefix) {
  if (s.size() <= prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (fold(s[i]) != prefix[i]) return false;
  for (std::size_t i = prefix.size(); i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

std::string_view strip_comment(std::string_view s) {
  const std::size_t slashes = s.find("//");
  if (slashes != std::string_view::npos) s = s.substr(0, slashes);
  const std::size_t semi = s.find(';');
  if (semi != std::string_view::npos) s = s.substr(0, semi);
  return trim(s);
}

}  // namespace

bool parse_panel_cfg(std::string_view text, std::vector<PanelEntry>* out, std::string* error) {
  std::vector<PanelEntry> found;
  std::string section;
  bool placing = false;
  int line_no = 0;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
    ++line_no;
    line = strip_comment(line);
    if (line.empty()) continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      section = std::string(trim(line.substr(1, close == std::string_view::npos ? line.size() - 1
                                                                                  : close - 1)));
      placing = prefix_digits(section, "window") || prefix_digits(section, "vcockpit");
      continue;
    }
    if (!placing) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = trim(line.substr(0, eq));
    if (!prefix_digits(key, "gauge")) continue;

    std::string_view value = trim(line.substr(eq + 1));
    const std::size_t comma = value.find(',');
    const std::string_view ref = trim(value.substr(0, comma));
    const std::size_t bang = ref.find('!');
    if (bang == std::string_view::npos || bang == 0 || bang + 1 == ref.size()) {
      *error = std::to_string(line_no) + ": " + std::string(key) +
               " does not name a gauge as module!gauge";
      return false;
    }
    PanelEntry e;
    e.section = section;
    e.key = std::string(key);
    e.module = std::string(trim(ref.substr(0, bang)));
    e.gauge = std::string(trim(ref.substr(bang + 1)));
    e.line = line_no;
    int* fields[] = {&e.x, &e.y, &e.w, &e.h};
    std::string_view rest = comma == std::string_view::npos ? std::string_view{}
                                                            : value.substr(comma + 1);
    for (int* f : fields) {
      if (rest.empty()) break;
      const std::size_t c = rest.find(',');
      *f = frame::parse_int(trim(rest.substr(0, c)));
      rest = c == std::string_view::npos ? std::string_view{} : rest.substr(c + 1);
    }
    found.push_back(std::move(e));
  }
  *out = std::move(found);
  return true;
}

}  // namespace host
