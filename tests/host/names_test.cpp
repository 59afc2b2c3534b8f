#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "host/names.h"
#include "host/services.h"

namespace host {
namespace {

using frame::ModuleVar;

ModuleVar bound_record() { return ModuleVar{0, reinterpret_cast<void*>(0x1), 0, 0.0, 0.0}; }

TEST(Names, BindingStaysEmptyUntilRegistered) {
  Names n;
  ModuleVar rec = bound_record();  // a stale pointer must be cleared
  n.bind(&rec, "PP_X");
  EXPECT_EQ(rec.ptr, nullptr);

  double storage = 4.5;
  n.register_var("PP_X", &storage, frame::kVarDouble);
  EXPECT_EQ(rec.ptr, &storage);
  EXPECT_EQ(rec.type, frame::kVarDouble);

  n.unregister_var("PP_X");
  EXPECT_EQ(rec.ptr, nullptr);
  EXPECT_FALSE(n.read("PP_X").has_value());

  // Registered again (a module placed again): the old binding fills again.
  std::int32_t other = 3;
  n.register_var("PP_X", &other, frame::kVarInt);
  EXPECT_EQ(rec.ptr, &other);
  EXPECT_EQ(rec.type, frame::kVarInt);
}

TEST(Names, BindAfterRegisterAndRebind) {
  Names n;
  std::int32_t a = 7;
  double b = 0.25;
  n.register_var("A", &a, frame::kVarInt);
  n.register_var("B", &b, frame::kVarDouble);
  ModuleVar rec = bound_record();
  n.bind(&rec, "A");
  EXPECT_EQ(rec.ptr, &a);
  n.bind(&rec, "A");  // idempotent
  EXPECT_EQ(n.binding_count(), 1u);
  n.bind(&rec, "B");  // the record follows its latest name only
  EXPECT_EQ(rec.ptr, &b);
  EXPECT_EQ(n.binding_count(), 1u);
  n.unregister_var("A");
  EXPECT_EQ(rec.ptr, &b);
  n.unregister_var("B");
  EXPECT_EQ(rec.ptr, nullptr);
}

TEST(Names, NullArgumentsAreIgnored) {
  Names n;
  n.register_var("N", nullptr, frame::kVarInt);
  EXPECT_FALSE(n.registered("N"));
  n.bind(nullptr, "N");
  EXPECT_EQ(n.binding_count(), 0u);
  n.unregister_var("never-registered");
}

TEST(Names, PublishOwnsStableStorageAndUpdatesInPlace) {
  Names n;
  ModuleVar rec = bound_record();
  n.bind(&rec, "HYDRO_P");
  n.publish("HYDRO_P", frame::kVarDouble, 210.5);
  ASSERT_NE(rec.ptr, nullptr);
  void* first = rec.ptr;
  EXPECT_EQ(read_storage(rec.ptr, rec.type), 210.5);

  for (int i = 0; i < 100; ++i) n.publish("OTHER_" + std::to_string(i), frame::kVarInt, i);
  n.publish("HYDRO_P", frame::kVarDouble, 99.0);
  EXPECT_EQ(rec.ptr, first);
  EXPECT_EQ(read_storage(rec.ptr, rec.type), 99.0);
  EXPECT_EQ(n.read("OTHER_42"), 42.0);

  // Integers: truncated toward zero, read back as int32.
  n.publish("GEAR_KEY", frame::kVarFlag, -2.9);
  EXPECT_EQ(n.read("GEAR_KEY"), -2.0);
  n.publish("GEAR_KEY", frame::kVarFlag, 1e30);  // saturates, no UB
  EXPECT_EQ(n.read("GEAR_KEY"), 2147483647.0);
}

TEST(Names, NamedVariablesAreIdempotent) {
  Names n;
  EXPECT_EQ(n.check_named("light"), -1);
  EXPECT_EQ(n.register_named("light"), 0);
  EXPECT_EQ(n.register_named("door"), 1);
  EXPECT_EQ(n.register_named("light"), 0);
  EXPECT_EQ(n.check_named("door"), 1);
  n.set_named(1, 0.5);
  n.set_named(-1, 9.0);  // bad ids change nothing
  n.set_named(2, 9.0);
  EXPECT_EQ(n.named("door"), 0.5);
  EXPECT_EQ(n.named("light"), 0.0);
  EXPECT_FALSE(n.named("absent").has_value());
}

TEST(HostServices, LookupReadsTableOrBoundStorage) {
  Host h;
  const frame::PanelServices& s = *Host::services();

  ModuleVar bus{753, nullptr, 0, 0.0, 0.0};
  s.lookup_var(&bus);
  EXPECT_EQ(bus.value, 28.0);
  h.vars().hold(753, 12.0);
  s.lookup_var(&bus);
  EXPECT_EQ(bus.value, 12.0);
  EXPECT_EQ(bus.prev, 28.0);

  ModuleVar unknown{4000, nullptr, 0, 5.0, 0.0};
  s.lookup_var(&unknown);
  EXPECT_EQ(unknown.value, 0.0);

  ModuleVar empty{0, nullptr, 0, 3.0, 0.0};  // bound, name absent
  s.lookup_var(&empty);
  EXPECT_EQ(empty.value, 0.0);
  EXPECT_EQ(empty.prev, 3.0);

  std::int32_t flag = 1;
  s.register_var_by_name(&flag, frame::kVarFlag, "FLAG");
  ModuleVar rec{0, nullptr, 0, 0.0, 0.0};
  s.initialize_var_by_name(&rec, "FLAG");
  flag = 6;
  s.lookup_var(&rec);
  EXPECT_EQ(rec.value, 6.0);

  s.lookup_var(nullptr);
  s.initialize_var_by_name(nullptr, "FLAG");
  s.initialize_var_by_name(&rec, nullptr);
  s.register_var_by_name(&flag, frame::kVarInt, nullptr);
  s.unregister_var_by_name(nullptr);
  EXPECT_EQ(s.check_named_variable(nullptr), -1);
  EXPECT_EQ(s.register_named_variable(nullptr), -1);
  EXPECT_EQ(s.check_named_variable("x"), -1);
  EXPECT_EQ(s.register_named_variable("x"), 0);
  EXPECT_EQ(s.register_named_variable("x"), 0);
  EXPECT_EQ(s.get_units_enum("radian"), 2);
  EXPECT_EQ(s.get_units_enum("no such unit"), 0);
  EXPECT_EQ(s.get_units_enum(nullptr), 0);
  EXPECT_EQ(s.aircraft_varget(1, 2, 0), 0.0);
}

TEST(HostServices, KeyEventsReachTheLogAndTheWorld) {
  struct Recorder : World {
    int steps = 0;
    std::vector<std::pair<u32, u32>> keys;
    void step(double, double, VarTable& vars) override {
      ++steps;
      vars.set(753, 20.0);  // the scenario's hold wins
      vars.set(71, 1.5);
    }
    void on_key_event(u32 id, u32 value, VarTable&) override { keys.emplace_back(id, value); }
    std::optional<double> aircraft_var(i32 code, i32, i32) override {
      return code == 9 ? std::optional<double>(4.0) : std::nullopt;
    }
  };
  Host h;
  Recorder world;
  h.set_world(&world);
  const frame::PanelServices& s = *Host::services();
  h.vars().hold(753, 27.0);
  h.step();
  EXPECT_EQ(world.steps, 1);
  EXPECT_EQ(h.vars().get(753), 27.0);
  EXPECT_EQ(h.vars().get(71), 1.5);

  h.keys().begin();
  s.trigger_key_event(65001, 3);
  s.trigger_key_event(65002, 1);
  s.trigger_key_event(65001, 4);
  EXPECT_EQ(h.keys().last(65001), 4u);
  EXPECT_EQ(h.keys().count(65001), 2u);
  EXPECT_EQ(h.keys().count(65003), 0u);
  EXPECT_FALSE(h.keys().last(65003).has_value());
  ASSERT_EQ(h.keys().events().size(), 3u);
  EXPECT_EQ(h.keys().events()[1].id, 65002u);
  EXPECT_EQ(h.keys().events()[1].frame, 1u);
  EXPECT_EQ(world.keys.size(), 3u);
  h.keys().begin();
  EXPECT_EQ(h.keys().count(65001), 0u);

  EXPECT_EQ(s.aircraft_varget(9, 0, 0), 4.0);
  EXPECT_EQ(s.aircraft_varget(8, 0, 0), 0.0);

  s.panel_window_toggle(3);
  EXPECT_TRUE(h.windows().open(3));
  s.panel_window_toggle(3);
  EXPECT_FALSE(h.windows().open(3));
  EXPECT_EQ(h.windows().log().size(), 2u);
}

TEST(HostServices, NoCurrentHostMeansSafeDefaults) {
  { Host h; }  // gone: the table must not reach it
  const frame::PanelServices& s = *Host::services();
  ModuleVar v{753, nullptr, 0, 1.0, 0.0};
  s.lookup_var(&v);
  EXPECT_EQ(v.value, 1.0);
  s.trigger_key_event(1, 1);
  s.panel_window_toggle(1);
  EXPECT_EQ(s.check_named_variable("x"), -1);
  EXPECT_EQ(s.register_named_variable("x"), -1);
  s.element_list_update(nullptr, 0);
}

}  // namespace
}  // namespace host
