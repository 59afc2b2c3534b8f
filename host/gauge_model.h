// A gauge as the host sees it, read once from the module's records: the
// element tree flattened in depth-first order (root 0) and the child mouse
// areas in array order, with the labels the module described. Reading is
// defensive: null lists are empty, cycles and runaway lists are cut.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/gauge.h"

namespace host {

struct ElementInfo {
  frame::ElementHeader* record;
  std::uint32_t kind;
  int depth;  // root 0
  std::string label;
  std::string meaning;
};

struct AreaInfo {
  frame::MouseArea* record;
  std::string label;
  std::string tooltip;  // nearest tooltip before it in its parent or an enclosing one
};

// The value(s) an element showed: `count` 0 (static image), 1 (needle,
// string, icon), 2 (slider, moving image: x, y) or 3 (sprite: x, y, rot).
struct Reading {
  std::uint32_t count = 0;
  double v[3] = {0.0, 0.0, 0.0};
};

// Which value of a reading: the main one (y where there are two or three),
// or one axis.
enum class Axis { kMain, kX, kY, kRot };

struct GaugeModel {
  frame::GaugeHeader* header = nullptr;
  std::string module;  // name of the module it came from
  std::string name;
  std::size_t index = 0;  // in the module's gauge table
  std::vector<ElementInfo> elements;
  std::vector<AreaInfo> areas;
  std::size_t first_valued = npos;  // first element with a value callback

  // Readings of the last evaluation, and the host epoch they belong to.
  std::vector<Reading> readings;
  std::uint64_t epoch = ~std::uint64_t{0};

  static constexpr std::size_t npos = ~std::size_t{0};

  std::string qualified() const { return module + "!" + name; }
  frame::ElementHeader* first_element() const {
    return header != nullptr && header->elements != nullptr ? header->elements[0] : nullptr;
  }
};

// Limits that keep a damaged module from making the host loop or grow.
inline constexpr std::size_t kMaxElements = 4096;
inline constexpr int kMaxDepth = 64;
inline constexpr std::size_t kMaxAreaRecords = 4096;
inline constexpr std::size_t kMaxTextLength = 1024;

// Reads the gauge's records. `header` must be non-null.
GaugeModel read_gauge(frame::GaugeHeader* header, std::string module, std::size_t index);

// Calls the element's value callbacks (null ones read 0).
Reading evaluate(const ElementInfo& e);
// Evaluates every element into model.readings.
void evaluate_all(GaugeModel& model);

// The element's text buffer (strings), bounded by its capacity.
std::string element_text(const ElementInfo& e);
bool element_hidden(const ElementInfo& e);
bool has_value_callback(const ElementInfo& e);

const char* kind_name(std::uint32_t kind);
// Value of a reading along an axis; false when the element has no such value.
bool reading_value(const Reading& r, Axis axis, double* out);

// Element by 0-based index or label ("" means the first valued element);
// npos when none.
std::size_t find_element(const GaugeModel& g, std::string_view ref);
// Child area by 0-based index or label ("" means the first); npos when none.
std::size_t find_area(const GaugeModel& g, std::string_view ref);

// Bounded copy of a C string from module memory.
std::string module_text(const char* s, std::size_t max = kMaxTextLength);

}  // namespace host
