// Driving the airliner module compiled into a test as the host drives it:
// gauges found by name in its Linkage, elements and mouse areas found by the
// labels the module hands to gaugehost_describe, services through the gauge
// callbacks, clicks through the area handlers, readings through the element
// callbacks, and host variables from a table. module_fixture.cpp defines the
// exported gaugehost_describe; an executable that links it defines no other.
#pragma once

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "frame/gauge.h"
#include "frame/host.h"
#include "tests/frame/fake_host.h"
#include "tests/frame/fixture.h"

extern "C" frame::LinkageRecord Linkage;
extern "C" frame::ImportTableRecord ImportTable;

namespace frame::testing {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The label each record was described with; "" for one never described.
std::unordered_map<const void*, std::string>& labels();

// Host variables by id, as lookup_var reports them.
std::map<u32, double>& vars();
// lookup_var from vars(): an id not in the table reads 0.
void GAU_CALL lookup_by_id(ModuleVar* v);
// As lookup_by_id, and a bound record (id 0) reads the storage it is bound
// to, as the simulator does; an unbound one keeps its value.
void GAU_CALL lookup_with_bound(ModuleVar* v);

// Key events the module sent, in order, as (id, value).
std::vector<std::pair<u32, u32>>& events();
// The values of the events sent with this id.
std::vector<u32> sent(u32 id);

// The gauge of that name in Linkage; null when absent.
GaugeHeader* header(std::string_view name);
// The first element below `root` (root included, tree order) with that label.
ElementHeader* find_element(ElementHeader* root, std::string_view label);
// The same on a gauge's element tree; null when the gauge or label is absent.
ElementHeader* find_element(std::string_view gauge, std::string_view label);
// As find_element, and a test failure when absent.
ElementHeader* element(std::string_view gauge, std::string_view label);
// The child areas of a gauge in array order, parents and tooltips skipped.
std::vector<MouseArea*> child_areas(GaugeHeader* h);
// The child area with that label; null when the gauge or label is absent.
MouseArea* area(std::string_view gauge, std::string_view label);
// Calls an area's handler at its corner, as the host does; its result.
int press(MouseArea* a, u32 flags = kMouseLeft);

// One service of a gauge (a test failure when the gauge is absent).
void service(std::string_view gauge, i32 code);
// Presses the area with that label `times` times; a failure when absent.
void click(std::string_view gauge, std::string_view label, u32 flags = kMouseLeft,
           int times = 1);
// What an icon, needle, string or moving image's callback returns (its y
// value); NaN for another kind or an absent element.
double value(std::string_view gauge, std::string_view label);
// A string element's text after its callback.
std::string text(std::string_view gauge, std::string_view label);
// Whether the element's hide bit is set.
bool hidden(std::string_view gauge, std::string_view label);

// The whole module on a fake host (tests/frame/fake_host.h).
class ModuleGauges : public ::testing::Test {
 protected:
  // Hands the module the fake host's table with `lookup`, and a vars()
  // table with the main bus at 28 V and the simulation at normal rate.
  void connect(void(GAU_CALL* lookup)(ModuleVar*)) {
    fake.table()->lookup_var = lookup;
    ImportTable.panels.ptr = fake.table();
    vars().clear();
    vars()[753] = 28.0;
    vars()[336] = 1.0;
  }
  // The value in a name's registered storage; NaN when not registered.
  double reg(const char* name) const;

  FakeHost fake;
};

}  // namespace frame::testing
