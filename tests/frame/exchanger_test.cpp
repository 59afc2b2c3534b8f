#include "frame/exchanger.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <random>
#include <string>

#include "platform/hooks.h"
#include "platform/platform.h"
#include "tests/frame/exchange_support.h"

namespace frame::testing {

std::string& name_suffix_setting() {
  static std::string s = [] {
    std::random_device rd;
    const auto t = std::chrono::steady_clock::now().time_since_epoch().count();
    return "_xt" + std::to_string(rd()) + "_" + std::to_string(static_cast<unsigned long long>(t));
  }();
  return s;
}

}  // namespace frame::testing

extern "C" __attribute__((visibility("default"))) const char* gaugehost_name_suffix() {
  return frame::testing::name_suffix_setting().c_str();
}

namespace frame {
namespace {

using testing::name_suffix_setting;

class ExchangerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(platform::host_symbol(GAUGEHOST_NAME_SUFFIX), nullptr);
    ASSERT_EQ(platform::name_suffix(), name_suffix_setting());
    testing::remove_exchanger_objects();
  }
  void TearDown() override {
    exchanger_close();
    platform::close_guard(other_guard_);
    platform::close_shared_block(other_block_);
    testing::remove_exchanger_objects();
  }

  // The block as another program opens it.
  void* other_block(bool* created = nullptr) {
    if (!other_block_)
      other_block_ = platform::open_shared_block(xchg::block_name(name_suffix_setting()),
                                                 xchg::kBlockBytes, created);
    return platform::block_address(other_block_);
  }
  platform::NamedGuard* other_guard(int n) {
    platform::close_guard(other_guard_);
    other_guard_ = platform::open_guard(xchg::guard_name(n, name_suffix_setting()));
    return other_guard_;
  }

  platform::SharedBlock* other_block_ = nullptr;
  platform::NamedGuard* other_guard_ = nullptr;
};

TEST_F(ExchangerTest, AFreshBlockIsCreatedAndReadsZeros) {
  exchanger_open();
  ASSERT_TRUE(exchanger().open);
  EXPECT_TRUE(exchanger().created);
  for (int n = 0; n < xchg::kSlots; ++n) EXPECT_EQ(exchanger_read(n), 0.0) << "slot " << n;
}

TEST_F(ExchangerTest, OpeningKeepsWhatAnotherOpenerWrote) {
  bool created = false;
  void* block = other_block(&created);
  ASSERT_NE(block, nullptr);
  ASSERT_TRUE(created);
  xchg::store_slot(block, 5, 12.5);
  xchg::store_slot(block, 117, -3.0);

  exchanger_open();
  ASSERT_TRUE(exchanger().open);
  EXPECT_FALSE(exchanger().created);
  EXPECT_EQ(exchanger_read(5), 12.5);
  EXPECT_EQ(exchanger_read(117), -3.0);
}

TEST_F(ExchangerTest, WritesReachOtherOpenersAsLittleEndianDoubles) {
  exchanger_open();
  void* block = other_block();
  ASSERT_NE(block, nullptr);
  ASSERT_EQ(exchanger_write(3, 1.0), 1);
  const unsigned char expected[8] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
  EXPECT_EQ(std::memcmp(static_cast<unsigned char*>(block) + 24, expected, 8), 0);
  EXPECT_EQ(xchg::load_slot(block, 3), 1.0);
}

TEST_F(ExchangerTest, AHeldGuardSkipsItsSlotOnlyAndNeverWaits) {
  exchanger_open();
  ASSERT_TRUE(exchanger().open);
  platform::NamedGuard* g63 = other_guard(63);
  ASSERT_TRUE(platform::guard_try_take(g63));

  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < 100; ++round) {
    for (int n = 0; n < xchg::kGuardedSlots; ++n)
      ASSERT_EQ(exchanger_write(n, n + 0.5), n == 63 ? 0 : 1) << "slot " << n;
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(exchanger_read(63), 0.0);
  EXPECT_EQ(exchanger_read(62), 62.5);
  EXPECT_FALSE(platform::guard_is_free(g63));  // the skipped write left it held

  platform::guard_release(g63);
  EXPECT_EQ(exchanger_write(63, 7.0), 1);
  EXPECT_EQ(exchanger_read(63), 7.0);
}

TEST_F(ExchangerTest, AWriteLeavesItsGuardFreeButNeverMoreThanFree) {
  exchanger_open();
  platform::NamedGuard* g = other_guard(10);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(exchanger_write(10, i), 1);
  platform::guard_release(g);  // a stray release on top
  EXPECT_TRUE(platform::guard_try_take(g));
  EXPECT_FALSE(platform::guard_try_take(g));  // one holder at a time, however often released
  EXPECT_EQ(exchanger_write(10, 9.0), 0);
  platform::guard_release(g);
}

TEST_F(ExchangerTest, WritesThatDoNotLandReturnZero) {
  enum Phase { kBeforeOpen, kOpen, kAfterClose };
  const struct {
    Phase phase;
    int slot;
  } cases[] = {
      {kBeforeOpen, 0}, {kOpen, -1},       {kOpen, 116},  {kOpen, 117},
      {kOpen, INT_MAX}, {kOpen, INT_MIN},  {kAfterClose, 0}, {kAfterClose, 63},
  };
  for (const auto& c : cases) {
    exchanger_close();
    if (c.phase != kBeforeOpen) exchanger_open();
    if (c.phase == kAfterClose) exchanger_close();
    EXPECT_EQ(exchanger_write(c.slot, 1.0), 0) << "phase " << c.phase << " slot " << c.slot;
  }
  // Nothing was stored by any of them.
  void* block = other_block();
  ASSERT_NE(block, nullptr);
  for (int n = 0; n < xchg::kSlots; ++n) EXPECT_EQ(xchg::load_slot(block, n), 0.0) << n;
  EXPECT_EQ(exchanger_read(0), std::nullopt);  // closed
}

TEST_F(ExchangerTest, ASlotWhoseGuardDidNotOpenIsNeverWritten) {
  exchanger_open();
  auto& guard = exchanger().guards[7];
  platform::close_guard(guard);
  guard = nullptr;
  EXPECT_EQ(exchanger_write(7, 1.0), 0);
  EXPECT_EQ(exchanger_read(7), 0.0);
  EXPECT_EQ(exchanger_write(8, 1.0), 1);
}

TEST_F(ExchangerTest, OpenAndCloseRepeatSafely) {
  exchanger_close();  // before any open
  exchanger_open();
  ASSERT_EQ(exchanger_write(1, 4.0), 1);
  exchanger_open();  // again while open: reopens the same block
  ASSERT_TRUE(exchanger().open);
  EXPECT_FALSE(exchanger().created);
  EXPECT_EQ(exchanger_read(1), 4.0);
  EXPECT_EQ(exchanger_write(1, 5.0), 1);
  exchanger_close();
  exchanger_close();
  EXPECT_FALSE(exchanger().open);
  EXPECT_EQ(exchanger().mapping, nullptr);
  for (auto* g : exchanger().guards) EXPECT_EQ(g, nullptr);
  EXPECT_EQ(exchanger_write(1, 6.0), 0);
}

TEST_F(ExchangerTest, AnOpenThatFailsLeavesItClosed) {
  const std::string saved = name_suffix_setting();
  name_suffix_setting() = "/bad";  // no name may hold a separator
  exchanger_open();
  const bool opened = exchanger().open;
  const bool any_guard = [] {
    for (auto* g : exchanger().guards)
      if (g) return true;
    return false;
  }();
  const int wrote = exchanger_write(0, 1.0);
  name_suffix_setting() = saved;
  EXPECT_FALSE(opened);
  EXPECT_FALSE(any_guard);
  EXPECT_EQ(wrote, 0);
}

TEST_F(ExchangerTest, BlockAndGuardsArePrivateToTheUser) {
  exchanger_open();
  ASSERT_TRUE(exchanger().open);
  const std::string& s = name_suffix_setting();
  EXPECT_EQ(platform::shared_object_mode(xchg::block_name(s)), 0600);
  for (int n : {0, 63, 115}) EXPECT_EQ(platform::shared_object_mode(xchg::guard_name(n, s)), 0600);
}

TEST(ExchangerProtocol, NamesAndLayout) {
  EXPECT_EQ(xchg::block_name(""), "$$$KR300VDATAEXCHANGER$$$");
  EXPECT_EQ(xchg::guard_name(0, ""), "$$$KR300VSECUREEVENT_0");
  EXPECT_EQ(xchg::guard_name(115, "_t1"), "$$$KR300VSECUREEVENT_115_t1");
  unsigned char block[xchg::kBlockBytes] = {};
  xchg::store_slot(block, 117, -2.0);  // the last slot ends at byte 944
  const unsigned char expected[8] = {0, 0, 0, 0, 0, 0, 0, 0xC0};
  EXPECT_EQ(std::memcmp(block + 936, expected, 8), 0);
  EXPECT_EQ(xchg::load_slot(block, 117), -2.0);
}

}  // namespace
}  // namespace frame
