#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/time_model.h"
#include "host/vars.h"

namespace host {
namespace {

class TimeTest : public ::testing::Test {
 protected:
  void run(int frames) {
    for (int i = 0; i < frames; ++i) t.advance(vars);
  }
  VarTable vars;
  TimeModel t;
};

TEST_F(TimeTest, OneSecondAtTheDefaultRate) {
  t.publish(vars);
  EXPECT_EQ(vars.get(var::kMainBus), 28.0);
  EXPECT_EQ(vars.get(var::kSimRate), 1.0);
  EXPECT_EQ(vars.get(var::kClockHour), 12.0);
  run(18);
  EXPECT_EQ(vars.get(var::kTick), 18.0);
  EXPECT_EQ(t.counter(), 18 * 555556);  // frequency/fps per frame
  EXPECT_NEAR(vars.get(var::kSimTime), 1.0, 1e-12);
  EXPECT_NEAR(vars.get(var::kTimeCounter), 1.0, 1e-12);
  EXPECT_EQ(vars.get(var::kClockSecond), 1.0);
}

TEST_F(TimeTest, PauseStopsSimulatedTimeOnly) {
  run(9);
  t.set_paused(true);
  const double sim = vars.get(var::kSimTime);
  const std::int64_t counter = t.counter();
  run(18);
  EXPECT_EQ(vars.get(var::kSimTime), sim);
  EXPECT_EQ(vars.get(var::kClockSecond), 0.0);
  EXPECT_EQ(vars.get(var::kTick), 27.0);
  EXPECT_EQ(t.counter(), counter + 18 * 555556);
  t.set_paused(false);
  run(9);
  EXPECT_NEAR(vars.get(var::kSimTime), 1.0, 1e-12);
}

TEST_F(TimeTest, SimulationRateScalesSimulatedTime) {
  struct Case {
    double rate;
    double sim_after_one_second;
  };
  const Case cases[] = {{2.0, 2.0},
                        {0.25, 0.25},
                        {0.0, 0.0},
                        {-1.0, 0.0},
                        {std::numeric_limits<double>::quiet_NaN(), 0.0},
                        {1e9, TimeModel::kMaxSimRate}};
  for (const Case& c : cases) {
    VarTable v;
    TimeModel clock;
    v.hold(var::kSimRate, c.rate);
    for (int i = 0; i < 18; ++i) clock.advance(v);
    EXPECT_NEAR(v.get(var::kSimTime), c.sim_after_one_second, 1e-9) << c.rate;
    EXPECT_EQ(v.get(var::kTick), 18.0) << c.rate;
  }
}

TEST_F(TimeTest, TickFollowsRealTimeAtOtherFrameRates) {
  ASSERT_TRUE(t.set_fps(30));
  run(5);  // 1/6 s: exactly 3 ticks, not 2.999...
  EXPECT_EQ(vars.get(var::kTick), 3.0);
  EXPECT_EQ(t.counter(), 5 * 333333);
  ASSERT_TRUE(t.set_fps(9));
  run(1);
  EXPECT_EQ(vars.get(var::kTick), 5.0);
}

TEST_F(TimeTest, RejectsUnusableFrameRates) {
  for (double fps : {0.0, -18.0, 1e6, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity()}) {
    EXPECT_FALSE(t.set_fps(fps)) << fps;
    EXPECT_EQ(t.fps(), TimeModel::kDefaultFps);
  }
}

TEST_F(TimeTest, ClockRollsOverMinutesAndTheDay) {
  ASSERT_TRUE(t.set_fps(1));
  vars.hold(var::kSimRate, TimeModel::kMaxSimRate);
  const int frames = 12 * 3600 / 128 + 1;  // just past midnight
  run(frames);
  const double sim = frames * 128.0;
  const double of_day = std::fmod(12 * 3600.0 + sim, 86400.0);
  EXPECT_EQ(vars.get(var::kClockHour), std::floor(of_day / 3600));
  EXPECT_EQ(vars.get(var::kClockMinute), std::floor(std::fmod(of_day, 3600) / 60));
  EXPECT_EQ(vars.get(var::kClockSecond), std::fmod(std::floor(of_day), 60));
  EXPECT_LT(vars.get(var::kClockHour), 1.0);
}

TEST(VarTable, HeldValuesResistTheWorldUntilFreed) {
  VarTable v;
  v.hold(604, 100.0);
  v.set(604, 1.0);
  EXPECT_EQ(v.get(604), 100.0);
  EXPECT_TRUE(v.held(604));
  v.release(604);
  EXPECT_EQ(v.get(604), 100.0);  // until the world writes it
  v.set(604, 1.0);
  EXPECT_EQ(v.get(604), 1.0);
  // Outside the table: reads 0, writes dropped.
  v.hold(VarTable::kMaxId + 1, 5.0);
  EXPECT_EQ(v.get(VarTable::kMaxId + 1), 0.0);
  EXPECT_FALSE(v.held(VarTable::kMaxId + 1));
  EXPECT_EQ(v.get(0xFFFFFFFFu), 0.0);
}

TEST(VarTable, CatalogueIsOrderedAndFindable) {
  const auto rows = var_catalogue();
  ASSERT_FALSE(rows.empty());
  for (const VarInfo& row : rows) {
    ASSERT_EQ(find_var(row.id), &row);
    EXPECT_EQ(VarTable().get(row.id), row.initial) << row.name;
  }
  EXPECT_EQ(find_var(2), nullptr);
  EXPECT_STREQ(find_var(604)->name, "sim time, s");
}

}  // namespace
}  // namespace host
