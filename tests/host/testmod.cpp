// A small gauge module for the host's tests. It uses every host service the
// real modules use and shows what it saw in its elements, so that scenario
// expects can check the host's side of each contract. Built twice: testmod,
// and testmod2 (TESTMOD_SECOND) whose gauges share testmod's names, for the
// ambiguous-name rules.
#include <cstdint>
#include <iterator>

#include "frame/builder.h"
#include "frame/gauge.h"
#include "frame/patterns.h"
#include "frame/profile.h"
#include "platform/platform.h"

#if defined(TESTMOD_SECOND)
#define TESTMOD_PREFIX "TESTMOD2_"
#else
#define TESTMOD_PREFIX "TESTMOD_"
#endif

namespace {

using namespace frame;

// Key events the module sends.
constexpr u32 kKeySwitch = 0x11000;  // switch position, on change
constexpr u32 kKeyClick = 0x12000;   // value 5, from the "key" area
constexpr u32 kKeyFrame = 0x13000;   // every frame of probe: its frame count
constexpr u32 kWindow = 7;           // panel window of the "window" area

struct State {
  int pos = 0;
  int last_pos = 0;
  int seq = 0;  // service-6 calls of switch and probe, in order
  int switch_seq = 0;
  int probe_seq = 0;
  int services[16] = {};
  int frames = 0;
  std::int32_t reg_int = 0;
  double reg_double = 0.0;
  ModuleVar bus{753, nullptr, 0, 0.0, 0.0};
  ModuleVar tick{1, nullptr, 0, 0.0, 0.0};
  ModuleVar sim{604, nullptr, 0, 0.0, 0.0};
  ModuleVar rate{336, nullptr, 0, 0.0, 0.0};
  ModuleVar ext{0, nullptr, 0, 0.0, 0.0};
  double ext_value = -1.0;  // -1 while the bound name is absent
  i32 named_id = -2;
  double dt = 0.0;
  std::int64_t last_counter = 0;
  double cfg = 0.0;
  int rep = 0;
  int once = 0;
  int right = 0;
  int inner = 0;
  int init_calls = 0;
  int deinit_calls = 0;
};

State s;

void GAU_CALL testmod_init() { ++s.init_calls; }
void GAU_CALL testmod_deinit() { ++s.deinit_calls; }

}  // namespace

extern "C" {
GAU_EXPORT frame::LinkageRecord Linkage = {frame::kModuleId, testmod_init, testmod_deinit, 0, 0,
                                           frame::kModuleVersion, {}};
GAU_EXPORT frame::ImportTableRecord ImportTable = {{frame::kImportPanelServices, nullptr},
                                                   {0, nullptr}};
}

namespace {

constexpr GaugeSpec kTable[] = {
    {"switch", 15},
    {"probe", 100},
    {"buttons", 60},
#if defined(TESTMOD_SECOND)
    {"only2", 20},
#endif
};

double count(int service) { return static_cast<double>(s.services[service]); }

void define_switch(Module& m) {
  GaugeDef& g = m.gauge("switch");
  toggle(g, "pos", s.pos);
  g.needle("seq", "order of service 6 among switch and probe", [] { return s.switch_seq; });
  g.every_frame([] {
    s.switch_seq = ++s.seq;
    if (s.pos != s.last_pos) host().trigger_key_event(kKeySwitch, static_cast<u32>(s.pos));
    s.last_pos = s.pos;
  });
}

void define_probe(Module& m) {
  GaugeDef& g = m.gauge("probe");
  g.needle("s2", "service 2 calls", [] { return count(2); });
  g.needle("s4", "service 4 calls", [] { return count(4); });
  g.needle("s14", "service 14 calls", [] { return count(14); });
  g.needle("s6", "service 6 calls", [] { return count(6); });
  g.needle("s12", "service 12 calls", [] { return count(12); });
  g.needle("seq", "order of service 6 among switch and probe", [] { return s.probe_seq; });
  g.needle("bus", "volts, var 753", [] { return s.bus.value; });
  g.needle("bus_prev", "previous lookup of var 753", [] { return s.bus.prev; });
  g.needle("tick", "var 1", [] { return s.tick.value; });
  g.needle("sim", "var 604", [] { return s.sim.value; });
  g.needle("ext", "bound TESTMOD_EXT, -1 while absent", [] { return s.ext_value; });
  g.needle("named_id", "id of testmod_named", [] { return s.named_id; });
  g.needle("dt", "seconds between frames by the counter", [] { return s.dt; });
  g.needle("cfg", "[test] value of gauges/testmod.cfg", [] { return s.cfg; });
  g.needle("init", "module init calls", [] { return s.init_calls; });
  text_display(g, "readout", 6, "%4.1f", [] { return s.bus.value; });
  Elem low = g.icon("low_bus", 1, [] { return 0.0; });
  g.icon("blank", 2, [] { return -1.0; });
  g.slider("slide", "x frames, y 2 x frames", [] { return s.frames; },
           [] { return 2.0 * s.frames; });
  g.sprite("card", "x 1, y 2, rot 3", [] { return 1.0; }, [] { return 2.0; },
           [] { return 3.0; });
  Elem box = g.icon("box", 1, nullptr);
  g.moving("drum", "y 500", [] { return 0.0; }, [] { return 500.0; }, 0.0, 1000.0, box);

  g.on(kPreInstall, [] {
    ++s.services[2];
    host().register_var_by_name(&s.reg_int, kVarInt, TESTMOD_PREFIX "INT");
    host().register_var_by_name(&s.reg_double, kVarDouble, TESTMOD_PREFIX "DBL");
  });
  g.on(kPreInitialize, [] {
    ++s.services[4];
    host().initialize_var_by_name(&s.ext, TESTMOD_PREFIX "EXT");
  });
  g.on(kConnectWindow, [] {
    ++s.services[14];
    s.named_id = host().check_named_variable("testmod_named");
    if (s.named_id == -1) s.named_id = host().register_named_variable("testmod_named");
    const Profile p = Profile::load(platform::module_path("\\gauges\\testmod.cfg"));
    s.cfg = p.number("test", "value", "0");
  });
  g.every_frame([low] {
    ++s.services[6];
    ++s.frames;
    s.probe_seq = ++s.seq;
    host().lookup_var(&s.bus);
    host().lookup_var(&s.tick);
    host().lookup_var(&s.sim);
    host().lookup_var(&s.rate);
    if (s.ext.ptr != nullptr) {
      host().lookup_var(&s.ext);
      s.ext_value = s.ext.value;
    } else {
      s.ext_value = -1.0;
    }
    low.hide(s.bus.value >= 20.0);
    s.reg_int = s.frames;
    s.reg_double = 0.5 * s.frames;
    host().set_named_variable_value(s.named_id, s.frames);
    host().trigger_key_event(kKeyFrame, static_cast<u32>(s.frames));
    const std::int64_t now = platform::perf_counter();
    s.dt = static_cast<double>(now - s.last_counter) /
           static_cast<double>(platform::perf_frequency());
    s.last_counter = now;
  });
  g.on(kPreKill, [] {
    ++s.services[12];
    host().unregister_var_by_name(TESTMOD_PREFIX "INT");
    host().unregister_var_by_name(TESTMOD_PREFIX "DBL");
  });
}

void define_buttons(Module& m) {
  GaugeDef& g = m.gauge("buttons");
  g.needle("rep", "calls of the repeating area", [] { return s.rep; });
  g.needle("once", "calls of the single area", [] { return s.once; });
  g.needle("right", "calls of the right-button area", [] { return s.right; });
  g.needle("inner", "calls of the nested area", [] { return s.inner; });

  g.tooltip("Window toggle");
  AreaOptions plain;
  g.area("window", plain, [](u32) { host().panel_window_toggle(kWindow); });
  g.area("key", plain, [](u32) { host().trigger_key_event(kKeyClick, 5); });
  AreaOptions repeat;
  repeat.flags = kMouseLeft | kMouseRepeat;
  g.area("rep", repeat, [](u32) { ++s.rep; });
  g.area("once", plain, [](u32) { ++s.once; });
  AreaOptions right;
  right.flags = kMouseRight;
  g.area("right_only", right, [](u32 flags) {
    if (flags & kMouseRight) ++s.right;
  });
  g.begin_parent(Box{0, 0, 10, 10});
  g.tooltip("Inner %1!d!", {TooltipArgSpec{[] { return s.inner; }, {}}});
  g.area("inner", plain, [](u32) { ++s.inner; });
  g.end_parent();
  g.area("after", plain, [](u32) {});
}

// Records written by hand with the holes a damaged module could have: no
// callbacks, null lists, a cycle in the element tree, a string without a
// buffer, a child area without a handler, a tooltip without text.
IconElement g_raw_icon{};
StringElement g_raw_string{};
StaticImageElement g_raw_root{};
ElementHeader* g_raw_children[] = {&g_raw_icon.hdr, &g_raw_root.hdr, &g_raw_string.hdr, nullptr};
ElementHeader* g_raw_list[] = {&g_raw_root.hdr, nullptr};
MouseArea g_raw_areas[] = {
    {kAreaParent, 0, 0, 0, 0, kCursorNone, 0, 0, 0, nullptr, nullptr},
    {kAreaTooltip, 0, 0, 0, 0, kCursorNone, 0, 0, 0, nullptr, nullptr},
    {kAreaChild, 0, 0, 10, 10, kCursorHand, 0, kMouseLeft, 0, nullptr, nullptr},
    {kAreaParentEnd, 0, 0, 0, 0, kCursorNone, 0, 0, 0, nullptr, nullptr},
    {kAreaEnd, 0, 0, 0, 0, kCursorNone, 0, 0, 0, nullptr, nullptr},
};
GaugeHeader g_raw{};
GaugeHeader g_raw_empty{};

void add_raw_gauges(std::size_t n) {
  g_raw_icon.hdr.kind = kIcon;
  g_raw_icon.picture_count = 1;
  g_raw_string.hdr.kind = kString;
  g_raw_string.capacity = 8;
  g_raw_root.hdr.kind = kStaticImage;
  g_raw_root.hdr.children = g_raw_children;
  g_raw.version = kGaugeHeaderVersion;
  g_raw.name = "raw";
  g_raw.elements = g_raw_list;
  g_raw.mouse_areas = g_raw_areas;
  g_raw_empty.version = kGaugeHeaderVersion;
  g_raw_empty.name = "raw_empty";
  if (n + 2 < kMaxGauges) {
    Linkage.gauges[n] = &g_raw;
    Linkage.gauges[n + 1] = &g_raw_empty;
    Linkage.gauges[n + 2] = nullptr;
  }
}

Module& testmod() {
  static Module m(Linkage, ImportTable, kTable, testmod_init, testmod_deinit);
  static const bool sealed = [] {
    define_switch(m);
    define_probe(m);
    define_buttons(m);
    m.seal();
    add_raw_gauges(std::size(kTable));
    return true;
  }();
  (void)sealed;
  return m;
}

[[maybe_unused]] const bool g_built = (testmod(), true);

}  // namespace
