// A module built in the test process, and a minimal stand-in for the host's
// calls into it: services, element values and clicks through the records.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "frame/builder.h"
#include "frame/patterns.h"

namespace frame::testing {

// What an element's callback returns: an icon's (0 without one), a needle's,
// a string's, a moving image's y; `other` for any other kind.
inline double element_value(ElementHeader* e, double other) {
  switch (e->kind) {
    case kIcon: {
      auto* r = reinterpret_cast<IconElement*>(e);
      return r->value ? r->value(e) : 0.0;
    }
    case kNeedle:
      return reinterpret_cast<NeedleElement*>(e)->value(e);
    case kString:
      return reinterpret_cast<StringElement*>(e)->value(e);
    case kMovingImage:
      return reinterpret_cast<MovingImageElement*>(e)->value_y(e);
    default:
      return other;
  }
}

class TestModule {
 public:
  explicit TestModule(std::vector<GaugeSpec> table)
      : table_(std::move(table)), module_(linkage_, imports_, table_) {}

  GaugeDef& gauge(const char* name) { return module_.gauge(name); }
  Module& module() { return module_; }
  void seal() { module_.seal(); }
  LinkageRecord& linkage() { return linkage_; }
  ImportTableRecord& imports() { return imports_; }

  GaugeHeader* header(const char* name) {
    for (GaugeHeader** g = linkage_.gauges; *g; ++g)
      if (std::string((*g)->name) == name) return *g;
    return nullptr;
  }
  void service(const char* name, i32 code) {
    GaugeHeader* h = header(name);
    h->callback(h, code, 0);
  }
  void frames(const char* name, int n) {
    for (int i = 0; i < n; ++i) service(name, kPreUpdate);
  }

  // Child areas of a gauge in array order, parents and tooltips skipped.
  std::vector<MouseArea*> areas(const char* name) {
    std::vector<MouseArea*> out;
    for (MouseArea* a = header(name)->mouse_areas; a->kind != kAreaEnd; ++a)
      if (a->kind == kAreaChild) out.push_back(a);
    return out;
  }
  // Clicks child area `index` through its handler record, as the host does.
  void click(const char* name, std::size_t index, u32 flags = kMouseLeft) {
    MouseArea* a = areas(name).at(index);
    PixPoint p{a->x, a->y};
    reinterpret_cast<MouseHandler>(const_cast<void*>(a->handler))(&p, flags);
  }
  // Elements in tree order, root first.
  std::vector<ElementHeader*> elements(const char* name) {
    std::vector<ElementHeader*> out;
    std::function<void(ElementHeader*)> walk = [&](ElementHeader* e) {
      out.push_back(e);
      if (e->children)
        for (ElementHeader** c = e->children; *c; ++c) walk(*c);
    };
    walk(header(name)->elements[0]);
    return out;
  }
  double value(const char* name, std::size_t index) {
    return element_value(elements(name).at(index), 0.0);
  }
  std::string text(const char* name, std::size_t index) {
    ElementHeader* e = elements(name).at(index);
    auto* r = reinterpret_cast<StringElement*>(e);
    r->value(e);
    return r->text;
  }

 private:
  LinkageRecord linkage_{};
  ImportTableRecord imports_{};
  std::vector<GaugeSpec> table_;
  Module module_;
};

}  // namespace frame::testing
