// Declaring a module's gauges as data. A `Module` owns the records of one
// gauge module: its gauge table (in the order given), every element and
// mouse-area record, and the closures behind the callbacks. Subsystems add to
// the gauges by name through `GaugeDef`; the pattern helpers in patterns.h
// build on it. `seal()` lays out the records the host reads.
//
// Record callbacks are plain function pointers: an element callback finds its
// closure through the element it is given; a gauge callback through its
// header; a mouse handler, which is given only the point and the flags, is one
// of a pool of small trampolines, each bound to one area.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/gauge.h"
#include "frame/host.h"

namespace frame {

class Module;
class GaugeDef;

// One entry of a module's gauge table.
struct GaugeSpec {
  const char* name;
  u32 size_mm;
};

// A rectangle in gauge pixels.
struct Box {
  i32 x = 0, y = 0, w = 0, h = 0;
};

// Handle to one display element of a gauge.
class Elem {
 public:
  Elem() = default;
  explicit Elem(ElementHeader* rec) : rec_(rec) {}
  ElementHeader* record() const { return rec_; }
  explicit operator bool() const { return rec_ != nullptr; }
  bool hidden() const { return rec_ && (rec_->draw_flags & kHideBit); }
  void hide(bool on) const {
    if (!rec_) return;
    if (on)
      rec_->draw_flags |= kHideBit;
    else
      rec_->draw_flags &= ~kHideBit;
  }

 private:
  ElementHeader* rec_ = nullptr;
};

using ValueFn = std::function<double()>;
// Formats into a buffer of `capacity` characters (plus the terminator) and
// returns the element's value.
using TextFn = std::function<double(char* buf, std::size_t capacity)>;
// A click: the flags word the host passed (left, right, repeat bits).
using ClickFn = std::function<void(u32 flags)>;
using ServiceFn = std::function<void()>;

// Optional description of an element, for tools: what its value means.
struct ElemInfo {
  std::string label;
  std::string meaning;
};

struct AreaOptions {
  Box box{};            // empty: the helper lays the area out
  i32 cursor = kCursorHand;
  u32 flags = kMouseLeft;
  u32 help_id = 0;
  u32 event_id = 0;
};

struct TooltipArgSpec {
  ValueFn number;                          // numeric argument, or
  std::function<std::string()> string;     // text argument
};

class GaugeDef {
 public:
  struct ElemCtx;  // closures of one element (opaque)
  struct GaugeNode;  // header record and its owner (opaque)
  const std::string& name() const { return name_; }
  u32 size_mm() const { return size_mm_; }
  // Nominal bitmap size in pixels, used to lay out areas.
  i32 width() const { return width_; }
  i32 height() const { return height_; }
  GaugeHeader* header() const;
  Elem background() const { return Elem(root_); }

  // Elements. Each is a child of `parent` (default: the background), in
  // declaration order. Labels follow the module's labelling convention.
  Elem icon(std::string label, u32 pictures, ValueFn value, Elem parent = {});
  // An icon with one picture and no callback: always shown.
  Elem lettering(std::string label = "lettering", Elem parent = {});
  Elem needle(std::string label, std::string meaning, ValueFn value, Elem parent = {});
  Elem text(std::string label, u32 capacity, TextFn value, Elem parent = {});
  Elem slider(std::string label, std::string meaning, ValueFn x, ValueFn y, Elem parent = {});
  Elem moving(std::string label, std::string meaning, ValueFn x, ValueFn y, double max_x,
              double max_y, Elem parent = {});
  Elem sprite(std::string label, std::string meaning, ValueFn x, ValueFn y, ValueFn rot,
              Elem parent = {});
  // Attaches the radio-altimeter style non-linearity table to a needle.
  void set_nonlinearity(Elem needle, std::vector<NonlinearityPoint> points);
  void set_meaning(Elem e, std::string meaning);
  // Sets both ranges of a moving image (they start at 0..max_x, 0..max_y).
  void set_moving_range(Elem e, double min_x, double max_x, double min_y, double max_y);

  // Mouse areas, in declaration order inside the root parent.
  void area(std::string label, AreaOptions opt, ClickFn on_click);
  void tooltip(std::string text, std::vector<TooltipArgSpec> args = {});
  // Starts the areas of a new control. When a gauge has several controls,
  // seal() gives each its own cell of a grid over the gauge and fits the
  // boxes its areas were given (relative to the whole gauge) into that cell,
  // so no two controls overlap. The pattern helpers call it themselves.
  void begin_control();
  // Opens and closes a nested parent area (a control's box); opening one
  // also starts a new control.
  void begin_parent(Box box);
  void end_parent();
  // The click closure of one of this gauge's areas, for click panels.
  const ClickFn* find_area(std::string_view label) const;

  // Services. Several functions for one service run in declaration order;
  // the pattern helpers add theirs when they are declared.
  void on(Service service, ServiceFn fn);
  void every_frame(ServiceFn fn) { on(kPreUpdate, std::move(fn)); }
  bool has_services() const;

  // Lays out the next area box of a row of `n` equal strips (left to right).
  Box strip(int index, int n) const;
  // The same for a column of `n` equal rows (top to bottom).
  Box row(int index, int n) const;
  Box half(bool right) const;
  Box whole() const { return Box{0, 0, width_, height_}; }

 private:
  friend class Module;
  GaugeDef(Module& module, std::string name, u32 size_mm);
  void run(i32 service);
  static void GAU_CALL dispatch(GaugeHeader* h, i32 service, u32 extra);
  ElemCtx* ctx_of(Elem e) const;
  template <class Rec>
  Rec* add(u32 kind, Elem parent, std::string label, std::string meaning, ElemCtx** ctx);
  void seal();

  struct AreaEntry {
    u32 kind;
    Box box;
    AreaOptions opt;
    std::string label;
    ClickFn* fn = nullptr;
    std::string tip;
    std::vector<TooltipArgSpec> tip_specs;
    int control = -1;
  };
  void lay_out_controls();
  Module& module_;
  std::string name_;
  u32 size_mm_;
  i32 width_, height_;
  GaugeNode* node_ = nullptr;
  ElementHeader* root_ = nullptr;
  std::vector<std::pair<ElementHeader*, ElemCtx*>> elems_;
  std::deque<AreaEntry> areas_;
  std::deque<ClickFn> clicks_;
  std::array<std::vector<ServiceFn>, 16> services_{};
  std::vector<MouseArea> area_records_;
  std::vector<ElementHeader*> root_list_;
  int open_parents_ = 0;
  int control_ = -1;
  int controls_ = 0;
};

class Module {
 public:
  // The table order and sizes; every gauge starts as a stub (background and
  // an empty parent area). `linkage` and `imports` are the module's exports.
  Module(LinkageRecord& linkage, ImportTableRecord& imports, std::span<const GaugeSpec> table,
         ModuleFn init = nullptr, ModuleFn deinit = nullptr);
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // The gauge of that name. A name not in the table is a definition error:
  // it is recorded in `unknown_names()` and a detached gauge is returned.
  GaugeDef& gauge(std::string_view name);
  const GaugeDef* find(std::string_view name) const;
  const std::vector<std::string>& unknown_names() const { return unknown_; }
  std::size_t gauge_count() const { return table_.size(); }

  // Builds the records the host reads and fills the gauge table.
  void seal();
  bool sealed() const { return sealed_; }

  // Describes a record to a host that wants labels (see platform/hooks.h).
  void describe(const void* record, const std::string& label, const std::string& meaning) const;

  const PanelServices* services() const;
  // The closure behind a tooltip argument record of this module.
  const TooltipArgSpec* tooltip_spec(const TooltipArg* rec) const;
  std::deque<std::unique_ptr<GaugeDef>>& gauges() { return table_; }

 private:
  friend class GaugeDef;
  struct Holder {
    virtual ~Holder() = default;
  };
  template <class T>
  struct HolderT final : Holder {
    T value{};
  };
  template <class T>
  T* make() {
    auto h = std::make_unique<HolderT<T>>();
    T* p = &h->value;
    owned_.push_back(std::move(h));
    return p;
  }
  std::size_t take_slot(const ClickFn* fn);

  LinkageRecord& linkage_;
  ImportTableRecord& imports_;
  std::deque<std::unique_ptr<GaugeDef>> table_;
  std::deque<std::unique_ptr<GaugeDef>> detached_;
  std::vector<std::string> unknown_;
  std::vector<std::unique_ptr<Holder>> owned_;
  std::vector<std::size_t> slots_;
  std::vector<std::pair<const TooltipArg*, const TooltipArgSpec*>> tip_specs_;
  std::vector<std::string> errors_;
  bool sealed_ = false;

 public:
  ~Module();
  // Definition errors other than unknown names (e.g. out of area slots).
  const std::vector<std::string>& errors() const { return errors_; }
};

// The module whose frame this code is (one per shared library).
Module* current_module();

// The host's service table, or a table of safe stand-ins while the host has
// not provided one (calls then do nothing and return defaults).
const PanelServices& host();

// How many mouse-area trampolines one module may use.
inline constexpr std::size_t kAreaSlots = 1024;

}  // namespace frame
