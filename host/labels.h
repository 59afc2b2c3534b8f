// Labels and meanings of element and mouse-area records, as modules report
// them through gaugehost_describe when they seal their tables (which may be
// while the library is still being opened). Keyed by record address.
#pragma once

#include <string>

namespace host {

struct Label {
  std::string label;
  std::string meaning;
};

// Records (or replaces) the description of `record`. Null record: ignored;
// null texts read as empty.
void remember_label(const void* record, const char* label, const char* meaning);
// The description of `record`, or null.
const Label* find_label(const void* record);
// Forgets every description (modules unloaded).
void forget_labels();

}  // namespace host
