#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <random>
#include <string>

#include "platform/platform.h"

namespace {

// Names unique to this process and test.
std::string unique_name(const char* what) {
  static const std::string run = [] {
    std::random_device rd;
    return std::to_string(rd()) + "_" +
           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  }();
  return std::string("$$$gau_shared_test_") + what + "_" + run;
}

class SharedObjects : public ::testing::Test {
 protected:
  void TearDown() override {
    platform::remove_shared_block(block_);
    platform::remove_guard(guard_);
  }
  const std::string block_ = unique_name("block");
  const std::string guard_ = unique_name("guard");
};

TEST_F(SharedObjects, OnlyTheFirstOpenerCreatesAndTheBlockOutlivesItsHolders) {
  bool created = false;
  platform::SharedBlock* a = platform::open_shared_block(block_, 944, &created);
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(created);
  EXPECT_EQ(platform::block_size(a), 944u);
  auto* pa = static_cast<unsigned char*>(platform::block_address(a));
  for (std::size_t i = 0; i < 944; ++i) ASSERT_EQ(pa[i], 0) << i;
  pa[943] = 0x5A;

  platform::SharedBlock* b = platform::open_shared_block(block_, 944, &created);
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(created);
  EXPECT_EQ(static_cast<unsigned char*>(platform::block_address(b))[943], 0x5A);
  platform::close_shared_block(a);
  platform::close_shared_block(b);

  // No holder left: on POSIX the block and its contents stay until removed.
  platform::SharedBlock* c = platform::open_shared_block(block_, 944, &created);
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(created);
  EXPECT_EQ(static_cast<unsigned char*>(platform::block_address(c))[943], 0x5A);
  platform::close_shared_block(c);

  EXPECT_TRUE(platform::remove_shared_block(block_));
  EXPECT_FALSE(platform::remove_shared_block(block_));
  EXPECT_EQ(platform::shared_object_mode(block_), -1);
  c = platform::open_shared_block(block_, 944, &created);
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(created);
  EXPECT_EQ(static_cast<unsigned char*>(platform::block_address(c))[943], 0);
  platform::close_shared_block(c);
}

TEST_F(SharedObjects, AnExistingObjectTooSmallIsExtendedNotMappedPastItsEnd) {
  // A 4-byte object under the block's name, as a creator that has not sized
  // it yet would leave it: touching all 944 bytes must not fault.
  platform::NamedGuard* small = platform::open_guard(block_);
  ASSERT_NE(small, nullptr);
  bool created = true;
  platform::SharedBlock* b = platform::open_shared_block(block_, 944, &created);
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(created);
  auto* p = static_cast<unsigned char*>(platform::block_address(b));
  p[943] = 1;
  EXPECT_EQ(p[100], 0);
  platform::close_shared_block(b);
  platform::close_guard(small);
}

TEST_F(SharedObjects, BadNamesAndSizesOpenNothing) {
  const struct {
    const char* name;
    std::size_t bytes;
  } cases[] = {{"", 944}, {"a/b", 944}, {"/lead", 944}, {"trail/", 944}, {"zero", 0}};
  for (const auto& c : cases) {
    bool created = true;
    EXPECT_EQ(platform::open_shared_block(c.name, c.bytes, &created), nullptr) << c.name;
    EXPECT_FALSE(created) << c.name;
    if (c.bytes != 0) {
      EXPECT_EQ(platform::open_guard(c.name), nullptr) << c.name;
    }
    EXPECT_EQ(platform::shared_object_mode(c.name), -1) << c.name;
  }
  // Null handles are accepted everywhere.
  EXPECT_EQ(platform::block_address(nullptr), nullptr);
  EXPECT_EQ(platform::block_size(nullptr), 0u);
  platform::close_shared_block(nullptr);
  EXPECT_FALSE(platform::guard_try_take(nullptr));
  EXPECT_FALSE(platform::guard_is_free(nullptr));
  platform::guard_release(nullptr);
  platform::close_guard(nullptr);
}

TEST_F(SharedObjects, AGuardHasOneHolderAndReleasingNeverCountsAboveFree) {
  bool created = false;
  platform::NamedGuard* mine = platform::open_guard(guard_, &created);
  ASSERT_NE(mine, nullptr);
  EXPECT_TRUE(created);
  platform::NamedGuard* theirs = platform::open_guard(guard_, &created);
  ASSERT_NE(theirs, nullptr);
  EXPECT_FALSE(created);
  EXPECT_TRUE(platform::guard_is_free(theirs));  // created free

  EXPECT_TRUE(platform::guard_try_take(mine));
  EXPECT_FALSE(platform::guard_try_take(theirs));
  EXPECT_FALSE(platform::guard_try_take(mine));
  // Released by both, as two releasers racing would: still one take only.
  platform::guard_release(mine);
  platform::guard_release(theirs);
  platform::guard_release(mine);
  EXPECT_TRUE(platform::guard_try_take(theirs));
  EXPECT_FALSE(platform::guard_try_take(mine));
  platform::guard_release(theirs);

  // A guard left held by a holder that went away stays held (until released
  // by name, as `xchg reset` does).
  EXPECT_TRUE(platform::guard_try_take(theirs));
  platform::close_guard(theirs);
  platform::NamedGuard* later = platform::open_guard(guard_);
  EXPECT_FALSE(platform::guard_is_free(later));
  platform::guard_release(later);
  EXPECT_TRUE(platform::guard_is_free(mine));
  platform::close_guard(later);
  platform::close_guard(mine);
}

TEST_F(SharedObjects, OpeningOnlyWhatExistsCreatesNothing) {
  EXPECT_EQ(platform::open_existing_block(block_, 944), nullptr);
  EXPECT_EQ(platform::open_existing_guard(guard_), nullptr);
  EXPECT_EQ(platform::shared_object_mode(block_), -1);
  EXPECT_EQ(platform::shared_object_mode(guard_), -1);
  for (const char* bad : {"", "a/b"}) {
    EXPECT_EQ(platform::open_existing_block(bad, 944), nullptr) << bad;
    EXPECT_EQ(platform::open_existing_guard(bad), nullptr) << bad;
  }

  // Once they exist, the same objects: contents and guard state are shared.
  platform::SharedBlock* made = platform::open_shared_block(block_, 944, nullptr);
  platform::NamedGuard* mine = platform::open_guard(guard_);
  ASSERT_NE(made, nullptr);
  ASSERT_NE(mine, nullptr);
  static_cast<unsigned char*>(platform::block_address(made))[7] = 0x42;
  ASSERT_TRUE(platform::guard_try_take(mine));
  platform::SharedBlock* found = platform::open_existing_block(block_, 944);
  platform::NamedGuard* theirs = platform::open_existing_guard(guard_);
  ASSERT_NE(found, nullptr);
  ASSERT_NE(theirs, nullptr);
  EXPECT_EQ(static_cast<unsigned char*>(platform::block_address(found))[7], 0x42);
  EXPECT_FALSE(platform::guard_try_take(theirs));
  platform::guard_release(mine);
  EXPECT_TRUE(platform::guard_try_take(theirs));
  platform::close_shared_block(found);
  platform::close_shared_block(made);
  platform::close_guard(theirs);
  platform::close_guard(mine);
}

TEST_F(SharedObjects, ObjectsAreCreatedOwnerOnlyWhateverTheUmask) {
  const mode_t saved = ::umask(0277);  // would leave 0400 of a plain 0600 create
  platform::SharedBlock* b = platform::open_shared_block(block_, 944, nullptr);
  platform::NamedGuard* g = platform::open_guard(guard_);
  ::umask(saved);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(g, nullptr);
  for (const std::string& name : {block_, guard_}) {
    EXPECT_EQ(platform::shared_object_mode(name), 0600) << name;
    // The same through the file system, where Linux shows the objects.
    struct stat st {};
    if (::stat(("/dev/shm/" + name).c_str(), &st) == 0) {
      EXPECT_EQ(st.st_mode & 07777, 0600u) << name;
    }
  }
  platform::close_shared_block(b);
  platform::close_guard(g);
}

}  // namespace
