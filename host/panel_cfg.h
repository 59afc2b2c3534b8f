// The simulator's panel configuration, read for its gauge placements only:
// in every [WindowNN] and [VCockpitNN] section, each gaugeNN=module!gauge,
// x, y[, w[, h]] line in file order. Other sections and keys are skipped;
// ';' and '//' start comments. (frame::Profile answers lookups by key; the
// placements need the file's order, hence this small reader.)
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

struct PanelEntry {
  std::string section;  // as written, e.g. "Window00"
  std::string key;      // e.g. "gauge03"
  std::string module;
  std::string gauge;
  int x = 0, y = 0, w = 0, h = 0;  // absent fields are 0
  int line = 0;
};

// Reads the placements of a panel.cfg text. A gauge line that names no
// module!gauge is an error ("LINE: what"); nothing is returned then.
bool parse_panel_cfg(std::string_view text, std::vector<PanelEntry>* out, std::string* error);

}  // namespace host
