#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/builder.h"
#include "frame/patterns.h"
#include "tests/frame/fixture.h"

namespace frame {
namespace {

using testing::TestModule;

TEST(Module, TableInOrderClosedByNullWithStubs) {
  TestModule m({{"first", 150}, {"second", 15}, {"third", 60}});
  m.seal();
  LinkageRecord& l = m.linkage();
  EXPECT_EQ(l.module_id, 0x13u);
  EXPECT_EQ(l.version, 0x800u);
  EXPECT_EQ(m.imports().panels.id, 0x0Fu);
  EXPECT_EQ(m.imports().end.id, 0u);
  const char* names[] = {"first", "second", "third"};
  for (int i = 0; i < 3; ++i) {
    GaugeHeader* h = l.gauges[i];
    ASSERT_NE(h, nullptr);
    EXPECT_STREQ(h->name, names[i]);
    EXPECT_EQ(h->version, 0x320u);
    // One root element, a static image, then null.
    ASSERT_NE(h->elements, nullptr);
    EXPECT_EQ(h->elements[0]->kind, kStaticImage);
    EXPECT_EQ(h->elements[1], nullptr);
    // A parent with an empty box first, closed, then the end.
    MouseArea* a = h->mouse_areas;
    EXPECT_EQ(a[0].kind, kAreaParent);
    EXPECT_EQ(a[0].w, 0);
    EXPECT_EQ(a[1].kind, kAreaParentEnd);
    EXPECT_EQ(a[2].kind, kAreaEnd);
  }
  EXPECT_EQ(l.gauges[3], nullptr);
  EXPECT_EQ(l.gauges[0]->size_x_mm, 150u);
  // Gauges without services share one callback; the generic routines are
  // the same for every gauge.
  EXPECT_EQ(l.gauges[0]->callback, l.gauges[1]->callback);
  EXPECT_EQ(l.gauges[0]->update, l.gauges[2]->update);
}

TEST(Module, UnknownNamesAreRecordedNotPlaced) {
  TestModule m({{"known", 15}});
  m.gauge("unknown").every_frame([] {});
  m.seal();
  ASSERT_EQ(m.module().unknown_names().size(), 1u);
  EXPECT_EQ(m.module().unknown_names()[0], "unknown");
  EXPECT_EQ(m.linkage().gauges[1], nullptr);
}

TEST(Module, ServicesRunInDeclarationOrderAndUnknownCodesAreIgnored) {
  TestModule m({{"sys", 15}, {"idle", 15}});
  std::vector<std::string> log;
  GaugeDef& g = m.gauge("sys");
  g.on(kPreInstall, [&] { log.push_back("2"); });
  g.every_frame([&] { log.push_back("6a"); });
  g.every_frame([&] { log.push_back("6b"); });
  g.on(kPreKill, [&] { log.push_back("12"); });
  m.seal();
  EXPECT_NE(m.header("sys")->callback, m.header("idle")->callback);
  for (i32 code : {6, 2, 99, -1, 12, 12, 6}) m.service("sys", code);
  EXPECT_EQ(log, (std::vector<std::string>{"6a", "6b", "2", "12", "12", "6a", "6b"}));
  m.service("idle", 6);  // the empty callback
  m.header("sys")->callback(nullptr, 6, 0);
}

TEST(Module, ElementTreeLabelsAndHideBit) {
  TestModule m({{"g", 80}});
  GaugeDef& g = m.gauge("g");
  Elem lettering = g.lettering();
  Elem parent = g.icon("panel", 1, [] { return 0.0; });
  Elem child = g.needle("needle", "degrees", [] { return 12.5; }, parent);
  int counter = 0;
  popup(g, child, counter);
  m.seal();
  auto e = m.elements("g");
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[1], lettering.record());
  EXPECT_EQ(e[1]->resource_id, e[0]->resource_id + 5);
  EXPECT_EQ(e[1]->draw_flags & kLitBit, kLitBit);
  EXPECT_EQ(e[3], child.record());
  EXPECT_EQ(e[3]->gauge, m.header("g"));
  EXPECT_EQ(m.value("g", 3), 12.5);
  // Pop-up: shown while the counter is above 1.
  counter = 3;
  m.frames("g", 2);
  EXPECT_FALSE(child.hidden());
  m.frames("g", 1);
  EXPECT_TRUE(child.hidden());
}

TEST(Module, TooltipRecordsCarryTextCountAndArguments) {
  TestModule m({{"g", 80}});
  GaugeDef& g = m.gauge("g");
  g.tooltip("USVP Mode (%1!s!)", {TooltipArgSpec{nullptr, [] { return std::string("TAS"); }}});
  int pos = 0;
  toggle(g, "mode", pos);
  m.seal();
  MouseArea* a = m.header("g")->mouse_areas;
  EXPECT_EQ(a[1].kind, kAreaTooltip);
  EXPECT_STREQ(static_cast<const char*>(a[1].handler), "USVP Mode (%1!s!)");
  EXPECT_EQ(a[1].event_id, 1u);
  EXPECT_EQ(a[1].cursor, kCursorNone);
  auto* arg = static_cast<TooltipArg*>(a[1].arg);
  ASSERT_NE(arg, nullptr);
  EXPECT_EQ(arg->scale, 1.0);
  ASSERT_NE(arg->string, nullptr);
  EXPECT_STREQ(arg->string(arg), "TAS");
  EXPECT_EQ(a[2].kind, kAreaChild);
}

// Records the element-list calls a module makes.
std::vector<ElementHeader*> g_forwarded;
void GAU_CALL record_list(ElementHeader* e, u32) { g_forwarded.push_back(e); }

TEST(Module, GenericRoutinesForwardTheFirstGaugesFirstElement) {
  TestModule m({{"first", 80}, {"second", 15}});
  m.seal();
  PanelServices services{};
  services.element_list_update = record_list;
  services.element_list_plot = record_list;
  m.imports().panels.ptr = &services;
  g_forwarded.clear();
  GaugeHeader* second = m.header("second");
  second->update(second->elements[0], 0);
  second->draw(second->elements[0], 0);
  second->kill(second->elements[0], 0);  // left null by the host: a stand-in
  ASSERT_EQ(g_forwarded.size(), 2u);
  EXPECT_EQ(g_forwarded[0], m.header("first")->elements[0]);
  // Without a table the calls go to safe stand-ins.
  m.imports().panels.ptr = nullptr;
  EXPECT_EQ(host().check_named_variable("x"), -1);
  host().trigger_key_event(1, 2);
}

TEST(Module, MirroredAreaWorksTheSourceControl) {
  TestModule m({{"panel", 80}, {"switch", 15}});
  int pos = 0;
  mirror(m.gauge("panel"), *m.module().find("switch"), "sw");  // declared first
  toggle(m.gauge("switch"), "sw", pos);
  m.seal();
  m.click("panel", 0);
  EXPECT_EQ(pos, 1);
}

}  // namespace
}  // namespace frame

namespace frame {
namespace {

bool overlap(const MouseArea& a, const MouseArea& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

TEST(Module, ControlsOfOneGaugeGetCellsThatDoNotOverlap) {
  TestModule m({{"panel", 100}, {"single", 15}});
  int a = 0, b = 0;
  double k = 0;
  std::int8_t lever = 0;
  GaugeDef& g = m.gauge("panel");
  toggle(g, "a", a);
  toggle(g, "b", b);
  knob(g, "k", k, {});
  selector(g, "lever", lever, {-1, 0, 1}, 1);
  toggle(m.gauge("single"), "a", a);
  m.seal();
  auto areas = m.areas("panel");
  ASSERT_EQ(areas.size(), 7u);
  for (std::size_t i = 0; i < areas.size(); ++i) {
    EXPECT_GT(areas[i]->w, 0);
    EXPECT_GT(areas[i]->h, 0);
    for (std::size_t j = i + 1; j < areas.size(); ++j)
      EXPECT_FALSE(overlap(*areas[i], *areas[j])) << i << " and " << j;
  }
  // A gauge with one control keeps the whole box.
  MouseArea* only = m.areas("single")[0];
  GaugeDef& single = m.gauge("single");
  EXPECT_EQ(only->w, single.width());
  EXPECT_EQ(only->h, single.height());
}

}  // namespace
}  // namespace frame
