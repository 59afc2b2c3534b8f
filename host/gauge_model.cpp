#include "host/gauge_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_set>

#include "host/labels.h"

namespace host {
namespace {

using frame::ElementHeader;
using frame::MouseArea;

void describe(const void* record, std::string* label, std::string* meaning) {
  if (const Label* l = find_label(record)) {
    *label = l->label;
    if (meaning != nullptr) *meaning = l->meaning;
  }
}

void walk(ElementHeader* e, int depth, std::unordered_set<const ElementHeader*>& seen,
          std::vector<ElementInfo>& out) {
  if (e == nullptr || depth > kMaxDepth || out.size() >= kMaxElements) return;
  if (!seen.insert(e).second) return;  // a cycle or a shared node: once only
  ElementInfo info{e, e->kind, depth, {}, {}};
  describe(e, &info.label, &info.meaning);
  out.push_back(std::move(info));
  if (e->children == nullptr) return;
  for (std::size_t i = 0; i < kMaxElements && e->children[i] != nullptr; ++i) {
    if (out.size() >= kMaxElements) return;
    walk(e->children[i], depth + 1, seen, out);
  }
}

void read_areas(MouseArea* areas, std::vector<AreaInfo>& out) {
  if (areas == nullptr) return;
  // One entry per open parent: the last tooltip seen in it.
  std::vector<const char*> tips;
  for (std::size_t i = 0; i < kMaxAreaRecords; ++i) {
    MouseArea& a = areas[i];
    switch (a.kind) {
      case frame::kAreaEnd:
        return;
      case frame::kAreaParent:
        tips.push_back(nullptr);
        break;
      case frame::kAreaParentEnd:
        if (!tips.empty()) tips.pop_back();
        break;
      case frame::kAreaTooltip:
        if (tips.empty()) tips.push_back(nullptr);
        tips.back() = static_cast<const char*>(a.handler);
        break;
      case frame::kAreaChild: {
        AreaInfo info{&a, {}, {}};
        describe(&a, &info.label, nullptr);
        for (auto it = tips.rbegin(); it != tips.rend(); ++it) {
          if (*it != nullptr) {
            info.tooltip = module_text(*it);
            break;
          }
        }
        out.push_back(std::move(info));
        break;
      }
      default:
        break;  // unknown kinds are skipped
    }
  }
}

template <class Rec>
Rec* as(ElementHeader* e) {
  return reinterpret_cast<Rec*>(e);
}

double call(frame::ElementCallback f, ElementHeader* e) { return f != nullptr ? f(e) : 0.0; }

bool is_index(std::string_view s, std::size_t* out) {
  if (s.empty()) return false;
  std::size_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  *out = v;
  return true;
}

}  // namespace

std::string module_text(const char* s, std::size_t max) {
  if (s == nullptr) return {};
  std::size_t n = 0;
  while (n < max && s[n] != '\0') ++n;
  return std::string(s, n);
}

GaugeModel read_gauge(frame::GaugeHeader* header, std::string module, std::size_t index) {
  GaugeModel g;
  g.header = header;
  g.module = std::move(module);
  g.name = module_text(header->name);
  g.index = index;
  if (header->elements != nullptr) {
    std::unordered_set<const ElementHeader*> seen;
    walk(header->elements[0], 0, seen, g.elements);
  }
  read_areas(header->mouse_areas, g.areas);
  for (std::size_t i = 0; i < g.elements.size(); ++i) {
    if (has_value_callback(g.elements[i])) {
      g.first_valued = i;
      break;
    }
  }
  g.readings.resize(g.elements.size());
  return g;
}

bool has_value_callback(const ElementInfo& e) {
  ElementHeader* r = e.record;
  switch (e.kind) {
    case frame::kNeedle:
      return as<frame::NeedleElement>(r)->value != nullptr;
    case frame::kString:
      return as<frame::StringElement>(r)->value != nullptr;
    case frame::kIcon:
      return as<frame::IconElement>(r)->value != nullptr;
    case frame::kSlider:
      return as<frame::SliderElement>(r)->value_x || as<frame::SliderElement>(r)->value_y;
    case frame::kMovingImage:
      return as<frame::MovingImageElement>(r)->value_x ||
             as<frame::MovingImageElement>(r)->value_y;
    case frame::kSprite: {
      auto* s = as<frame::SpriteElement>(r);
      return s->value_x || s->value_y || s->value_rot;
    }
    default:
      return false;
  }
}

Reading evaluate(const ElementInfo& e) {
  Reading out;
  ElementHeader* r = e.record;
  switch (e.kind) {
    case frame::kNeedle:
      out.count = 1;
      out.v[0] = call(as<frame::NeedleElement>(r)->value, r);
      break;
    case frame::kString:
      out.count = 1;
      out.v[0] = call(as<frame::StringElement>(r)->value, r);
      break;
    case frame::kIcon:
      out.count = 1;
      out.v[0] = call(as<frame::IconElement>(r)->value, r);
      break;
    case frame::kSlider: {
      auto* s = as<frame::SliderElement>(r);
      out.count = 2;
      out.v[0] = call(s->value_x, r);
      out.v[1] = call(s->value_y, r);
      break;
    }
    case frame::kMovingImage: {
      auto* m = as<frame::MovingImageElement>(r);
      out.count = 2;
      out.v[0] = call(m->value_x, r);
      out.v[1] = call(m->value_y, r);
      break;
    }
    case frame::kSprite: {
      auto* s = as<frame::SpriteElement>(r);
      out.count = 3;
      out.v[0] = call(s->value_x, r);
      out.v[1] = call(s->value_y, r);
      out.v[2] = call(s->value_rot, r);
      break;
    }
    default:
      break;  // static images and unknown kinds show no value
  }
  return out;
}

void evaluate_all(GaugeModel& model) {
  const std::size_t n = model.elements.size();
  for (std::size_t i = 0; i < n; ++i) model.readings[i] = evaluate(model.elements[i]);
}

std::string element_text(const ElementInfo& e) {
  if (e.kind != frame::kString) return {};
  auto* s = as<frame::StringElement>(e.record);
  if (s->text == nullptr) return {};
  const std::size_t cap = std::min<std::size_t>(s->capacity, kMaxTextLength);
  return module_text(s->text, cap);
}

bool element_hidden(const ElementInfo& e) { return (e.record->draw_flags & frame::kHideBit) != 0; }

const char* kind_name(std::uint32_t kind) {
  switch (kind) {
    case frame::kStaticImage:
      return "static";
    case frame::kNeedle:
      return "needle";
    case frame::kString:
      return "string";
    case frame::kSlider:
      return "slider";
    case frame::kIcon:
      return "icon";
    case frame::kMovingImage:
      return "moving";
    case frame::kSprite:
      return "sprite";
    default:
      return "unknown";
  }
}

bool reading_value(const Reading& r, Axis axis, double* out) {
  switch (axis) {
    case Axis::kMain:
      if (r.count == 0) return false;
      *out = r.count == 1 ? r.v[0] : r.v[1];
      return true;
    case Axis::kX:
      if (r.count < 2) return false;
      *out = r.v[0];
      return true;
    case Axis::kY:
      if (r.count < 2) return false;
      *out = r.v[1];
      return true;
    case Axis::kRot:
      if (r.count < 3) return false;
      *out = r.v[2];
      return true;
  }
  return false;
}

std::size_t find_element(const GaugeModel& g, std::string_view ref) {
  if (ref.empty()) return g.first_valued;
  std::size_t index = 0;
  if (is_index(ref, &index)) return index < g.elements.size() ? index : GaugeModel::npos;
  for (std::size_t i = 0; i < g.elements.size(); ++i)
    if (g.elements[i].label == ref) return i;
  return GaugeModel::npos;
}

std::size_t find_area(const GaugeModel& g, std::string_view ref) {
  if (ref.empty()) return g.areas.empty() ? GaugeModel::npos : 0;
  std::size_t index = 0;
  if (is_index(ref, &index)) return index < g.areas.size() ? index : GaugeModel::npos;
  for (std::size_t i = 0; i < g.areas.size(); ++i)
    if (g.areas[i].label == ref) return i;
  return GaugeModel::npos;
}

}  // namespace host
