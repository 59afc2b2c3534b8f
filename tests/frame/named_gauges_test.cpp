#include "frame/named_gauges.h"

#include <gtest/gtest.h>

#include "frame/exchanger.h"
#include "tests/frame/exchange_support.h"
#include "tests/frame/fake_host.h"
#include "tests/frame/fixture.h"

namespace frame {
namespace {

using testing::FakeHost;
using testing::TestModule;

class NamedGauges : public ::testing::Test {
 protected:
  NamedGauges() {
    cockpit_flags() = CockpitFlags{};
    cockpit_names() = CockpitNames{};
    testing::remove_exchanger_objects();
    define_named_gauges(module_.module());
    module_.seal();
    module_.imports().panels.ptr = fake_.table();
  }
  ~NamedGauges() override {
    exchanger_close();
    testing::remove_exchanger_objects();
  }
  // One frame: the two gauges that send the window flag.
  void frame() {
    module_.service("STABMANUAL", kPreUpdate);
    module_.service("CG", kPreUpdate);
  }

  FakeHost fake_;
  TestModule module_{{{"FortOpen", 20},
                      {"STABMANUAL", 30},
                      {"CG", 20},
                      {"HydroInOut", 15},
                      {"AZS_SAU_STU", 15}}};
};

TEST_F(NamedGauges, AllGaugesAreInTheTable) {
  EXPECT_TRUE(module_.module().unknown_names().empty());
}

TEST_F(NamedGauges, FortOpenClicksReachKlappfensterAgreeWithinAFrame) {
  ASSERT_EQ(module_.areas("FortOpen").size(), 1u);
  const struct {
    u32 button;
    double expected;
  } clicks[] = {{kMouseLeft, 1.0}, {kMouseLeft, 1.0}, {kMouseRight, 0.0}, {kMouseLeft, 1.0}};
  for (const auto& c : clicks) {
    module_.click("FortOpen", 0, c.button);
    frame();
    EXPECT_EQ(fake_.named("KlappfensterAgree"), c.expected) << "button " << c.button;
  }
}

TEST_F(NamedGauges, AChangeIsSentOnceByWhicheverGaugeRunsFirst) {
  frame();
  EXPECT_EQ(fake_.set_calls, 0);  // 0 equals the value last sent
  module_.click("FortOpen", 0, kMouseLeft);
  for (int i = 0; i < 5; ++i) frame();
  EXPECT_EQ(fake_.set_calls, 1);
  EXPECT_EQ(cockpit_flags().klappfenster_sent, 1);
}

TEST_F(NamedGauges, TheSenderRegistersTheNameAtEveryService) {
  for (i32 code : {kPreInstall, kPreInitialize, kConnectWindow, kPreUpdate, kPreKill}) {
    const int before = fake_.check_calls;
    module_.service("CG", code);
    EXPECT_EQ(fake_.check_calls, before + 1) << "service " << code;
  }
  EXPECT_TRUE(fake_.has_named("KlappfensterAgree"));
  EXPECT_FALSE(fake_.has_named("azs_sau_stu"));  // only AZS_SAU_STU makes that one
}

TEST_F(NamedGauges, AFlagTheHostCouldNotTakeIsSentLater) {
  fake_.refuse_named = true;
  module_.click("FortOpen", 0, kMouseLeft);
  frame();
  EXPECT_EQ(cockpit_flags().klappfenster_sent, 0);
  fake_.refuse_named = false;
  frame();
  EXPECT_EQ(fake_.named("KlappfensterAgree"), 1.0);
}

TEST_F(NamedGauges, HydroInOutOpensTheExchangerAtTwoAndClosesItAtTwelve) {
  EXPECT_EQ(exchanger_write(27, 1.0), 0);
  module_.service("HydroInOut", kPreInstall);
  EXPECT_EQ(exchanger_write(27, 1.0), 1);
  module_.service("HydroInOut", kPreKill);
  EXPECT_EQ(exchanger_write(27, 1.0), 0);
  module_.service("HydroInOut", kPreKill);  // twice: harmless
  EXPECT_FALSE(exchanger().open);
}

TEST_F(NamedGauges, AzsSauStuCreatesItsNamedVariableAtFourteen) {
  EXPECT_EQ(cockpit_names().azs_sau_stu.id, -1);
  module_.service("AZS_SAU_STU", kConnectWindow);
  EXPECT_TRUE(fake_.has_named("azs_sau_stu"));
  EXPECT_GE(cockpit_names().azs_sau_stu.id, 0);
}

}  // namespace
}  // namespace frame
