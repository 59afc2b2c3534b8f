#include "frame/builder.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <utility>

#include "platform/hooks.h"
#include "platform/platform.h"

namespace frame {

// Closures and description of one element. An element record sits at the
// start of an ElemNode, followed by a pointer to its context, so that the
// record the host hands to a callback leads back to the closure.
struct GaugeDef::ElemCtx {
  ValueFn v0, v1, v2;
  TextFn text;
  char* buf = nullptr;
  u32 capacity = 0;
  std::string label;
  std::string meaning;
  std::vector<ElementHeader*> kids;
  std::vector<NonlinearityPoint> nonlinearity;
};

struct GaugeDef::GaugeNode {
  GaugeHeader hdr;
  GaugeDef* def;
};

namespace {

template <class Rec>
struct ElemNode {
  Rec rec;
  GaugeDef::ElemCtx* ctx;
};

static_assert(std::is_standard_layout_v<ElemNode<IconElement>>);
static_assert(std::is_standard_layout_v<ElemNode<SpriteElement>>);

Module* g_module = nullptr;

template <class Rec>
auto* node_of(ElementHeader* e) {
  return reinterpret_cast<ElemNode<Rec>*>(e);
}

double call(const ValueFn& f) { return f ? f() : 0.0; }

template <class Rec, int Which>
double GAU_CALL value_cb(ElementHeader* e) {
  if (!e) return 0.0;
  auto* ctx = node_of<Rec>(e)->ctx;
  if (!ctx) return 0.0;
  if constexpr (Which == 0) return call(ctx->v0);
  if constexpr (Which == 1) return call(ctx->v1);
  return call(ctx->v2);
}

double GAU_CALL text_cb(ElementHeader* e) {
  if (!e) return 0.0;
  auto* ctx = node_of<StringElement>(e)->ctx;
  if (!ctx || !ctx->buf) return 0.0;
  ctx->buf[0] = '\0';
  double v = ctx->text ? ctx->text(ctx->buf, ctx->capacity) : 0.0;
  ctx->buf[ctx->capacity] = '\0';
  return v;
}

// Mouse handlers are given only the point and the flags, so each child area
// gets one of a pool of trampolines; slot I calls the closure bound to it.
const ClickFn* g_slot_fns[kAreaSlots] = {};

template <std::size_t I>
i32 GAU_CALL trampoline(PixPoint*, u32 flags) {
  if (const ClickFn* fn = g_slot_fns[I]; fn && *fn) (*fn)(flags);
  return 1;
}

template <std::size_t... I>
constexpr std::array<MouseHandler, sizeof...(I)> make_trampolines(std::index_sequence<I...>) {
  return {&trampoline<I>...};
}
constexpr auto kTrampolines = make_trampolines(std::make_index_sequence<kAreaSlots>{});

i32 GAU_CALL noop_click(PixPoint*, u32) { return 1; }

double GAU_CALL tooltip_number(TooltipArg* t) {
  const TooltipArgSpec* spec = g_module ? g_module->tooltip_spec(t) : nullptr;
  return (spec && spec->number) ? spec->number() : 0.0;
}

const char* GAU_CALL tooltip_string(TooltipArg* t) {
  static std::string out;
  const TooltipArgSpec* spec = g_module ? g_module->tooltip_spec(t) : nullptr;
  out = (spec && spec->string) ? spec->string() : std::string();
  return out.c_str();
}

// The seven generic routines forward to the host's element-list services
// with the first element of the module's first gauge.
ElementHeader* first_element() {
  if (!g_module || g_module->gauges().empty()) return nullptr;
  GaugeHeader* h = g_module->gauges().front()->header();
  return (h && h->elements) ? h->elements[0] : nullptr;
}
void GAU_CALL gen_query(ElementHeader*, u32) { host().element_list_query(first_element(), 0); }
void GAU_CALL gen_install(ElementHeader*, u32 x) { host().element_list_install(first_element(), x); }
void GAU_CALL gen_initialize(ElementHeader*, u32) {
  host().element_list_initialize(first_element(), 0);
}
void GAU_CALL gen_update(ElementHeader*, u32) { host().element_list_update(first_element(), 0); }
void GAU_CALL gen_generate(ElementHeader*, u32 x) {
  host().element_list_generate(first_element(), x);
}
void GAU_CALL gen_draw(ElementHeader*, u32) { host().element_list_plot(first_element(), 0); }
void GAU_CALL gen_kill(ElementHeader*, u32) { host().element_list_kill(first_element(), 0); }

void GAU_CALL empty_callback(GaugeHeader*, i32, u32) {}

// Stand-ins used while the host has not written its service table, and for
// any entry it left null: calls do nothing and return defaults.
void GAU_CALL s_list(ElementHeader*, u32) {}
void GAU_CALL s_window(u32) {}
void GAU_CALL s_key(u32, u32) {}
void GAU_CALL s_reg(void*, u32, const char*) {}
void GAU_CALL s_init(ModuleVar*, const char*) {}
void GAU_CALL s_lookup(ModuleVar*) {}
void GAU_CALL s_unreg(const char*) {}
i32 GAU_CALL s_check(const char*) { return -1; }
i32 GAU_CALL s_regnamed(const char*) { return -1; }
void GAU_CALL s_set(i32, double) {}
i32 GAU_CALL s_units(const char*) { return 0; }
double GAU_CALL s_varget(i32, i32, i32) { return 0.0; }

constexpr PanelServices kStandIn{s_list,    s_list,   s_list,  s_list,   s_list,  s_list,
                                 s_list,    s_window, s_key,   s_reg,    s_init,  s_lookup,
                                 s_unreg,   s_check,  s_regnamed, s_set, s_units, s_varget};

template <class F>
void fill(F& dst, F src, F fallback) {
  dst = src ? src : fallback;
}

}  // namespace

Module* current_module() { return g_module; }

const PanelServices& host() {
  static const void* source = nullptr;
  static PanelServices safe = kStandIn;
  const void* now = g_module ? g_module->services() : nullptr;
  if (now != source) {
    source = now;
    safe = kStandIn;
    if (now) {
      const auto& h = *static_cast<const PanelServices*>(now);
      fill(safe.element_list_query, h.element_list_query, kStandIn.element_list_query);
      fill(safe.element_list_install, h.element_list_install, kStandIn.element_list_install);
      fill(safe.element_list_initialize, h.element_list_initialize,
           kStandIn.element_list_initialize);
      fill(safe.element_list_update, h.element_list_update, kStandIn.element_list_update);
      fill(safe.element_list_generate, h.element_list_generate, kStandIn.element_list_generate);
      fill(safe.element_list_plot, h.element_list_plot, kStandIn.element_list_plot);
      fill(safe.element_list_kill, h.element_list_kill, kStandIn.element_list_kill);
      fill(safe.panel_window_toggle, h.panel_window_toggle, kStandIn.panel_window_toggle);
      fill(safe.trigger_key_event, h.trigger_key_event, kStandIn.trigger_key_event);
      fill(safe.register_var_by_name, h.register_var_by_name, kStandIn.register_var_by_name);
      fill(safe.initialize_var_by_name, h.initialize_var_by_name,
           kStandIn.initialize_var_by_name);
      fill(safe.lookup_var, h.lookup_var, kStandIn.lookup_var);
      fill(safe.unregister_var_by_name, h.unregister_var_by_name,
           kStandIn.unregister_var_by_name);
      fill(safe.check_named_variable, h.check_named_variable, kStandIn.check_named_variable);
      fill(safe.register_named_variable, h.register_named_variable,
           kStandIn.register_named_variable);
      fill(safe.set_named_variable_value, h.set_named_variable_value,
           kStandIn.set_named_variable_value);
      fill(safe.get_units_enum, h.get_units_enum, kStandIn.get_units_enum);
      fill(safe.aircraft_varget, h.aircraft_varget, kStandIn.aircraft_varget);
    }
  }
  return safe;
}

// GaugeDef -----------------------------------------------------------------

GaugeDef::GaugeDef(Module& module, std::string name, u32 size_mm)
    : module_(module), name_(std::move(name)), size_mm_(size_mm) {
  width_ = static_cast<i32>(std::clamp<u32>(size_mm, 10, 640) * 4);
  height_ = width_;
  node_ = module_.make<GaugeNode>();
  node_->def = this;
  GaugeHeader& h = node_->hdr;
  h.version = kGaugeHeaderVersion;
  h.name = name_.c_str();
  h.query = gen_query;
  h.install = gen_install;
  h.initialize = gen_initialize;
  h.update = gen_update;
  h.generate = gen_generate;
  h.draw = gen_draw;
  h.kill = gen_kill;
  h.size_x_mm = size_mm_;
  h.callback = empty_callback;
  ElemCtx* ctx = nullptr;
  auto* root = add<StaticImageElement>(kStaticImage, Elem{}, "background", "", &ctx);
  root->hdr.resource_id = 0x1000;
  root->hdr.draw_flags = 3;
}

GaugeHeader* GaugeDef::header() const { return &node_->hdr; }

template <class Rec>
Rec* GaugeDef::add(u32 kind, Elem parent, std::string label, std::string meaning,
                   ElemCtx** ctx_out) {
  auto* node = module_.make<ElemNode<Rec>>();
  auto* ctx = module_.make<ElemCtx>();
  node->ctx = ctx;
  ctx->label = std::move(label);
  ctx->meaning = std::move(meaning);
  ElementHeader& e = node->rec.hdr;
  e.kind = kind;
  e.resource_id = 0x1000 + 5 * static_cast<u32>(elems_.size());
  e.gauge = &node_->hdr;
  e.draw_flags = 3;
  elems_.emplace_back(&e, ctx);
  if (root_ == nullptr) {
    root_ = &e;
  } else {
    ElemCtx* pc = ctx_of(parent ? parent : Elem(root_));
    if (!pc) pc = ctx_of(Elem(root_));
    pc->kids.push_back(&e);
  }
  *ctx_out = ctx;
  return &node->rec;
}

GaugeDef::ElemCtx* GaugeDef::ctx_of(Elem e) const {
  for (const auto& [rec, ctx] : elems_)
    if (rec == e.record()) return ctx;
  return nullptr;
}

Elem GaugeDef::icon(std::string label, u32 pictures, ValueFn value, Elem parent) {
  ElemCtx* ctx = nullptr;
  auto* r = add<IconElement>(kIcon, parent, std::move(label), "picture", &ctx);
  r->picture_count = std::max<u32>(pictures, 1);
  if (value) {
    ctx->v0 = std::move(value);
    r->value = value_cb<IconElement, 0>;
  }
  return Elem(&r->hdr);
}

Elem GaugeDef::lettering(std::string label, Elem parent) {
  ElemCtx* ctx = nullptr;
  auto* r = add<IconElement>(kIcon, parent, std::move(label), "always shown", &ctx);
  r->picture_count = 1;
  r->hdr.resource_id = root_->resource_id + 5;
  r->hdr.draw_flags = 0x4003;
  return Elem(&r->hdr);
}

Elem GaugeDef::needle(std::string label, std::string meaning, ValueFn value, Elem parent) {
  ElemCtx* ctx = nullptr;
  auto* r = add<NeedleElement>(kNeedle, parent, std::move(label), std::move(meaning), &ctx);
  ctx->v0 = std::move(value);
  r->value = value_cb<NeedleElement, 0>;
  r->hdr.draw_flags = 0x4083;
  return Elem(&r->hdr);
}

Elem GaugeDef::text(std::string label, u32 capacity, TextFn value, Elem parent) {
  ElemCtx* ctx = nullptr;
  auto* r = add<StringElement>(kString, parent, std::move(label), "text", &ctx);
  capacity = std::clamp<u32>(capacity, 1, 65);
  auto* storage = module_.make<std::vector<char>>();
  storage->assign(capacity + 1u, '\0');
  ctx->buf = storage->data();
  ctx->capacity = capacity;
  ctx->text = std::move(value);
  r->hdr.resource_id = kNoBitmap;
  r->hdr.draw_flags = 6;
  r->value = text_cb;
  r->text = ctx->buf;
  r->capacity = capacity;
  r->fg_color = 0x00FFFFFF;
  r->font = "Courier New";
  r->font_weight = 700;
  r->charset = 1;
  r->text_format = 0x25;
  return Elem(&r->hdr);
}

Elem GaugeDef::slider(std::string label, std::string meaning, ValueFn x, ValueFn y, Elem parent) {
  ElemCtx* ctx = nullptr;
  auto* r = add<SliderElement>(kSlider, parent, std::move(label), std::move(meaning), &ctx);
  ctx->v0 = std::move(x);
  ctx->v1 = std::move(y);
  r->value_x = value_cb<SliderElement, 0>;
  r->value_y = value_cb<SliderElement, 1>;
  r->scale_x = r->scale_y = 1.0;
  return Elem(&r->hdr);
}

Elem GaugeDef::moving(std::string label, std::string meaning, ValueFn x, ValueFn y, double max_x,
                      double max_y, Elem parent) {
  ElemCtx* ctx = nullptr;
  auto* r =
      add<MovingImageElement>(kMovingImage, parent, std::move(label), std::move(meaning), &ctx);
  ctx->v0 = std::move(x);
  ctx->v1 = std::move(y);
  r->value_x = value_cb<MovingImageElement, 0>;
  r->value_y = value_cb<MovingImageElement, 1>;
  r->max_x = max_x;
  r->max_y = max_y;
  return Elem(&r->hdr);
}

Elem GaugeDef::sprite(std::string label, std::string meaning, ValueFn x, ValueFn y, ValueFn rot,
                      Elem parent) {
  ElemCtx* ctx = nullptr;
  auto* r = add<SpriteElement>(kSprite, parent, std::move(label), std::move(meaning), &ctx);
  ctx->v0 = std::move(x);
  ctx->v1 = std::move(y);
  ctx->v2 = std::move(rot);
  r->value_x = value_cb<SpriteElement, 0>;
  r->value_y = value_cb<SpriteElement, 1>;
  r->value_rot = value_cb<SpriteElement, 2>;
  r->scale_x = r->scale_y = r->scale_rot = 1.0;
  r->hdr.draw_flags = 0x4083;
  return Elem(&r->hdr);
}

void GaugeDef::set_nonlinearity(Elem needle_elem, std::vector<NonlinearityPoint> points) {
  ElemCtx* ctx = ctx_of(needle_elem);
  if (!ctx || needle_elem.record()->kind != kNeedle) return;
  ctx->nonlinearity = std::move(points);
  auto* r = reinterpret_cast<NeedleElement*>(needle_elem.record());
  r->nonlinearity = ctx->nonlinearity.data();
  r->nonlinearity_count = static_cast<u32>(ctx->nonlinearity.size());
}

void GaugeDef::set_moving_range(Elem e, double min_x, double max_x, double min_y,
                                double max_y) {
  if (!e || e.record()->kind != kMovingImage) return;
  auto* r = reinterpret_cast<MovingImageElement*>(e.record());
  r->min_x = min_x;
  r->max_x = max_x;
  r->min_y = min_y;
  r->max_y = max_y;
}

void GaugeDef::set_meaning(Elem e, std::string meaning) {
  if (ElemCtx* ctx = ctx_of(e)) ctx->meaning = std::move(meaning);
}

void GaugeDef::area(std::string label, AreaOptions opt, ClickFn on_click) {
  AreaEntry a;
  a.kind = kAreaChild;
  a.box = (opt.box.w > 0 && opt.box.h > 0) ? opt.box : whole();
  a.opt = opt;
  a.label = std::move(label);
  a.fn = &clicks_.emplace_back(std::move(on_click));
  a.control = control_;
  areas_.push_back(std::move(a));
}

void GaugeDef::begin_control() { control_ = controls_++; }

void GaugeDef::tooltip(std::string text_, std::vector<TooltipArgSpec> args) {
  AreaEntry a;
  a.kind = kAreaTooltip;
  a.tip = std::move(text_);
  a.tip_specs = std::move(args);
  areas_.push_back(std::move(a));
}

void GaugeDef::begin_parent(Box box) {
  begin_control();
  AreaEntry a;
  a.kind = kAreaParent;
  a.box = box;
  a.control = control_;
  areas_.push_back(std::move(a));
  ++open_parents_;
}

void GaugeDef::end_parent() {
  if (open_parents_ == 0) return;
  AreaEntry a;
  a.kind = kAreaParentEnd;
  areas_.push_back(std::move(a));
  --open_parents_;
}

const ClickFn* GaugeDef::find_area(std::string_view label) const {
  for (const auto& a : areas_)
    if (a.kind == kAreaChild && a.label == label) return a.fn;
  return nullptr;
}

void GaugeDef::on(Service service, ServiceFn fn) {
  auto code = static_cast<std::size_t>(service);
  if (code < services_.size() && fn) services_[code].push_back(std::move(fn));
}

bool GaugeDef::has_services() const {
  return std::any_of(services_.begin(), services_.end(),
                     [](const auto& v) { return !v.empty(); });
}

void GaugeDef::run(i32 service) {
  if (service < 0 || static_cast<std::size_t>(service) >= services_.size()) return;
  for (auto& fn : services_[static_cast<std::size_t>(service)]) fn();
}

void GAU_CALL GaugeDef::dispatch(GaugeHeader* h, i32 service, u32) {
  if (!h) return;
  auto* node = reinterpret_cast<GaugeNode*>(h);
  if (node->def) node->def->run(service);
}

Box GaugeDef::strip(int index, int n) const {
  n = std::max(n, 1);
  index = std::clamp(index, 0, n - 1);
  i32 w = width_ / n;
  return Box{index * w, 0, w, height_};
}

Box GaugeDef::row(int index, int n) const {
  n = std::max(n, 1);
  index = std::clamp(index, 0, n - 1);
  i32 h = height_ / n;
  return Box{0, index * h, width_, h};
}

Box GaugeDef::half(bool right_half) const {
  i32 w = width_ / 2;
  return Box{right_half ? w : 0, 0, w, height_};
}

void GaugeDef::lay_out_controls() {
  // The controls that have areas, in order of declaration.
  std::vector<int> order;
  for (const auto& a : areas_)
    if ((a.kind == kAreaChild || a.kind == kAreaParent) &&
        std::find(order.begin(), order.end(), a.control) == order.end())
      order.push_back(a.control);
  const int n = static_cast<int>(order.size());
  if (n <= 1 || width_ <= 0 || height_ <= 0) return;
  const int cols = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
  const int rows = (n + cols - 1) / cols;
  const i32 cw = width_ / cols, ch = height_ / rows;
  for (auto& a : areas_) {
    if (a.kind != kAreaChild && a.kind != kAreaParent) continue;
    const auto k = static_cast<int>(std::find(order.begin(), order.end(), a.control) - order.begin());
    const i32 cx = (k % cols) * cw, cy = (k / cols) * ch;
    a.box = Box{cx + a.box.x * cw / width_, cy + a.box.y * ch / height_, a.box.w * cw / width_,
                a.box.h * ch / height_};
  }
}

void GaugeDef::seal() {
  while (open_parents_ > 0) end_parent();
  lay_out_controls();
  // Element lists: null-terminated children, one root.
  for (auto& [rec, ctx] : elems_) {
    if (!ctx->kids.empty()) {
      ctx->kids.push_back(nullptr);
      rec->children = ctx->kids.data();
    }
  }
  root_list_ = {root_, nullptr};
  node_->hdr.elements = root_list_.data();

  // Mouse areas: the root parent, the entries, its end, the array's end.
  area_records_.clear();
  area_records_.push_back(MouseArea{kAreaParent, 0, 0, 0, 0, kCursorNone, 0, 0, 0, nullptr, nullptr});
  for (auto& a : areas_) {
    MouseArea m{};
    m.kind = a.kind;
    m.cursor = kCursorNone;
    switch (a.kind) {
      case kAreaChild: {
        m.x = a.box.x;
        m.y = a.box.y;
        m.w = a.box.w;
        m.h = a.box.h;
        m.cursor = a.opt.cursor;
        m.help_id = a.opt.help_id;
        m.flags = a.opt.flags;
        m.event_id = a.opt.event_id;
        std::size_t slot = module_.take_slot(a.fn);
        m.handler = slot < kAreaSlots ? reinterpret_cast<const void*>(kTrampolines[slot])
                                      : reinterpret_cast<const void*>(&noop_click);
        break;
      }
      case kAreaTooltip:
        m.handler = a.tip.c_str();
        m.event_id = static_cast<u32>(a.tip_specs.size());
        break;
      case kAreaParent:
        m.x = a.box.x;
        m.y = a.box.y;
        m.w = a.box.w;
        m.h = a.box.h;
        break;
      default:
        break;
    }
    area_records_.push_back(m);
  }
  area_records_.push_back(MouseArea{kAreaParentEnd, 0, 0, 0, 0, kCursorNone, 0, 0, 0, nullptr, nullptr});
  area_records_.push_back(MouseArea{kAreaEnd, 0, 0, 0, 0, kCursorNone, 0, 0, 0, nullptr, nullptr});
  // Tooltip arguments: one contiguous array of records per tooltip; each
  // record's callback finds its closure through the module's side table.
  std::size_t i = 1;
  for (auto& a : areas_) {
    if (a.kind == kAreaTooltip && !a.tip_specs.empty()) {
      auto* arr = module_.make<std::vector<TooltipArg>>();
      arr->resize(a.tip_specs.size());
      for (std::size_t j = 0; j < arr->size(); ++j) {
        TooltipArg& t = (*arr)[j];
        t.scale = 1.0;
        if (a.tip_specs[j].string)
          t.string = tooltip_string;
        else
          t.number = tooltip_number;
        module_.tip_specs_.emplace_back(&t, &a.tip_specs[j]);
      }
      area_records_[i].arg = arr->data();
    }
    ++i;
  }
  node_->hdr.mouse_areas = area_records_.data();
  node_->hdr.callback = has_services() ? &GaugeDef::dispatch : empty_callback;

  for (auto& [rec, ctx] : elems_) module_.describe(rec, ctx->label, ctx->meaning);
  std::size_t k = 1;
  for (auto& a : areas_) {
    if (a.kind == kAreaChild) module_.describe(&area_records_[k], a.label, "");
    ++k;
  }
}

// Module -------------------------------------------------------------------

Module::Module(LinkageRecord& linkage, ImportTableRecord& imports,
               std::span<const GaugeSpec> table, ModuleFn init, ModuleFn deinit)
    : linkage_(linkage), imports_(imports) {
  g_module = this;
  linkage_.module_id = kModuleId;
  linkage_.init = init;
  linkage_.deinit = deinit;
  linkage_.flags = 0;
  linkage_.status = 0;
  linkage_.version = kModuleVersion;
  imports_.panels.id = kImportPanelServices;
  imports_.end = ImportEntry{0, nullptr};
  for (const auto& spec : table)
    table_.push_back(std::unique_ptr<GaugeDef>(new GaugeDef(*this, spec.name, spec.size_mm)));
  if (table_.size() >= kMaxGauges) errors_.push_back("gauge table longer than its record");
}

Module::~Module() {
  for (std::size_t s : slots_)
    if (s < kAreaSlots) g_slot_fns[s] = nullptr;
  if (g_module == this) g_module = nullptr;
}

GaugeDef& Module::gauge(std::string_view name) {
  for (auto& g : table_)
    if (g->name() == name) return *g;
  unknown_.emplace_back(name);
  detached_.push_back(std::unique_ptr<GaugeDef>(new GaugeDef(*this, std::string(name), 15)));
  return *detached_.back();
}

const GaugeDef* Module::find(std::string_view name) const {
  for (const auto& g : table_)
    if (g->name() == name) return g.get();
  return nullptr;
}

std::size_t Module::take_slot(const ClickFn* fn) {
  for (std::size_t s = 0; s < kAreaSlots; ++s) {
    if (g_slot_fns[s] == nullptr) {
      g_slot_fns[s] = fn;
      slots_.push_back(s);
      return s;
    }
  }
  errors_.push_back("out of mouse-area slots");
  return kAreaSlots;
}

void Module::seal() {
  if (sealed_) return;
  for (auto& g : table_) g->seal();
  std::size_t n = std::min(table_.size(), kMaxGauges - 1);
  for (std::size_t i = 0; i < n; ++i) linkage_.gauges[i] = table_[i]->header();
  linkage_.gauges[n] = nullptr;
  sealed_ = true;
}

void Module::describe(const void* record, const std::string& label,
                      const std::string& meaning) const {
  static auto* fn =
      reinterpret_cast<gaugehost_describe_fn>(platform::host_symbol(GAUGEHOST_DESCRIBE));
  if (fn) fn(record, label.c_str(), meaning.c_str());
}

const TooltipArgSpec* Module::tooltip_spec(const TooltipArg* rec) const {
  for (const auto& [r, spec] : tip_specs_)
    if (r == rec) return spec;
  return nullptr;
}

const PanelServices* Module::services() const {
  return static_cast<const PanelServices*>(imports_.panels.ptr);
}

}  // namespace frame
