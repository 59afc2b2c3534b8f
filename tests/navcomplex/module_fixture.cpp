#include "tests/navcomplex/module_fixture.h"

#include <cstring>

// Exported as gaugehost does, so that the module hands over its labels.
extern "C" __attribute__((visibility("default"))) void gaugehost_describe(const void* record,
                                                                          const char* label,
                                                                          const char*) {
  frame::testing::labels()[record] = label ? label : "";
}

namespace frame::testing {

std::unordered_map<const void*, std::string>& labels() {
  static std::unordered_map<const void*, std::string> m;
  return m;
}

std::map<u32, double>& vars() {
  static std::map<u32, double> m;
  return m;
}

void GAU_CALL lookup_by_id(ModuleVar* v) {
  if (!v) return;
  v->prev = v->value;
  const auto it = vars().find(v->id);
  v->value = it != vars().end() ? it->second : 0.0;
}

void GAU_CALL lookup_with_bound(ModuleVar* v) {
  if (!v || v->id != 0) {
    lookup_by_id(v);
    return;
  }
  v->prev = v->value;
  if (v->ptr == nullptr) return;
  if (v->type == kVarDouble)
    std::memcpy(&v->value, v->ptr, sizeof(double));
  else
    v->value = *static_cast<const int*>(v->ptr);
}

std::vector<std::pair<u32, u32>>& events() {
  static std::vector<std::pair<u32, u32>> e;
  return e;
}

std::vector<u32> sent(u32 id) {
  std::vector<u32> out;
  for (const auto& [event, v] : events())
    if (event == id) out.push_back(v);
  return out;
}

GaugeHeader* header(std::string_view name) {
  for (GaugeHeader** g = Linkage.gauges; *g; ++g)
    if (name == (*g)->name) return *g;
  return nullptr;
}

ElementHeader* find_element(ElementHeader* root, std::string_view label) {
  if (labels()[root] == label) return root;
  if (root->children)
    for (ElementHeader** c = root->children; *c; ++c)
      if (ElementHeader* f = find_element(*c, label)) return f;
  return nullptr;
}

ElementHeader* find_element(std::string_view gauge, std::string_view label) {
  GaugeHeader* h = header(gauge);
  return h ? find_element(h->elements[0], label) : nullptr;
}

ElementHeader* element(std::string_view gauge, std::string_view label) {
  ElementHeader* e = find_element(gauge, label);
  EXPECT_NE(e, nullptr) << gauge << " " << label;
  return e;
}

std::vector<MouseArea*> child_areas(GaugeHeader* h) {
  std::vector<MouseArea*> out;
  for (MouseArea* a = h->mouse_areas; a->kind != kAreaEnd; ++a)
    if (a->kind == kAreaChild) out.push_back(a);
  return out;
}

MouseArea* area(std::string_view gauge, std::string_view label) {
  GaugeHeader* h = header(gauge);
  if (!h) return nullptr;
  for (MouseArea* a : child_areas(h))
    if (labels()[a] == label) return a;
  return nullptr;
}

int press(MouseArea* a, u32 flags) {
  PixPoint p{a->x, a->y};
  return reinterpret_cast<MouseHandler>(const_cast<void*>(a->handler))(&p, flags);
}

void service(std::string_view gauge, i32 code) {
  GaugeHeader* h = header(gauge);
  ASSERT_NE(h, nullptr) << gauge;
  h->callback(h, code, 0);
}

void click(std::string_view gauge, std::string_view label, u32 flags, int times) {
  ASSERT_NE(header(gauge), nullptr);
  MouseArea* a = area(gauge, label);
  if (!a) FAIL() << "no area " << label << " on " << gauge;
  for (int i = 0; i < times; ++i) press(a, flags);
}

double value(std::string_view gauge, std::string_view label) {
  ElementHeader* e = element(gauge, label);
  return e ? element_value(e, kNaN) : kNaN;
}

std::string text(std::string_view gauge, std::string_view label) {
  auto* e = reinterpret_cast<StringElement*>(element(gauge, label));
  e->value(&e->hdr);
  return e->text;
}

bool hidden(std::string_view gauge, std::string_view label) {
  return (element(gauge, label)->draw_flags & kHideBit) != 0;
}

double ModuleGauges::reg(const char* name) const {
  const auto* r = fake.find(name);
  if (!r) return kNaN;
  if (r->type == kVarDouble) return *static_cast<const double*>(r->storage);
  return *static_cast<const int*>(r->storage);
}

}  // namespace frame::testing
