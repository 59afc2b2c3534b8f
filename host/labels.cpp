#include "host/labels.h"

#include <unordered_map>

namespace host {
namespace {

// Labels come from module code: keep them to a sane length.
constexpr std::size_t kMaxText = 512;

std::string bounded(const char* s) {
  if (s == nullptr) return {};
  std::size_t n = 0;
  while (n < kMaxText && s[n] != '\0') ++n;
  return std::string(s, n);
}

std::unordered_map<const void*, Label>& table() {
  static std::unordered_map<const void*, Label> t;
  return t;
}

}  // namespace

void remember_label(const void* record, const char* label, const char* meaning) {
  if (record == nullptr) return;
  table()[record] = Label{bounded(label), bounded(meaning)};
}

const Label* find_label(const void* record) {
  const auto it = table().find(record);
  return it == table().end() ? nullptr : &it->second;
}

void forget_labels() { table().clear(); }

}  // namespace host
