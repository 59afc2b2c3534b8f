#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/hooks.h"
#include "platform/platform.h"
#include "tests/platform/sim_root_hook.h"

namespace fs = std::filesystem;

namespace {

// What this executable's gaugehost_sim_root reports; empty reports null.
std::string& g_sim_root = platform::testing::sim_root_dir();

void touch(const fs::path& p) {
  fs::create_directories(p.parent_path());
  std::ofstream(p) << "x";
}

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A simulator folder with names in mixed case, reported by the hook.
class SimFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("path_test_" + std::to_string(std::random_device{}()));
    touch(root_ / "Gauges/Kr300V_CFG/kr300_gau.cfg");
    touch(root_ / "Gauges/Kr300V_CFG/Joy.cfg");
    touch(root_ / "Gauges/Kr300V_CFG/joy.cfg");
    touch(root_ / "Gauges/Kr300V_CFG/JOY.CFG");
    touch(root_ / "Gauges/ZOR_RSBN_CFG/rsbn_dat.cfg");
    g_sim_root = root_.string();  // without the final separator on purpose
  }
  void TearDown() override {
    g_sim_root.clear();
    fs::remove_all(root_);
  }
  std::string root() const { return root_.string() + "/"; }

  fs::path root_;
};

TEST_F(SimFolder, RootComesFromTheHostAndEndsInASeparator) {
  EXPECT_NE(platform::host_symbol(GAUGEHOST_SIM_ROOT), nullptr);
  EXPECT_EQ(platform::sim_root(), root());
}

TEST_F(SimFolder, ModulePathMatchesComponentsIgnoringCase) {
  const struct {
    const char* relative;
    const char* expected;  // below the root
  } cases[] = {
      {"\\gauges\\kr300v_cfg\\KR300_GAU.CFG", "Gauges/Kr300V_CFG/kr300_gau.cfg"},
      {"\\Gauges\\Kr300v_cfg\\kr300_gau.cfg", "Gauges/Kr300V_CFG/kr300_gau.cfg"},
      {"\\gauges\\ZOR_RSBN_CFG\\rsbn_dat.cfg", "Gauges/ZOR_RSBN_CFG/rsbn_dat.cfg"},
      // The exact name wins; otherwise the first match in byte order.
      {"\\Gauges\\Kr300V_CFG\\joy.cfg", "Gauges/Kr300V_CFG/joy.cfg"},
      {"\\Gauges\\Kr300V_CFG\\JOY.CFG", "Gauges/Kr300V_CFG/JOY.CFG"},
      {"\\Gauges\\Kr300V_CFG\\jOy.CfG", "Gauges/Kr300V_CFG/JOY.CFG"},
      // Missing components are kept as given, also the folders below them.
      {"\\gauges\\kr300v_cfg\\MSRP\\out.txt", "Gauges/Kr300V_CFG/MSRP/out.txt"},
      {"\\gauges\\NoSuch\\Gauges\\File.dat", "Gauges/NoSuch/Gauges/File.dat"},
      {"\\gauges\\kr300v_cfg\\MSRP\\", "Gauges/Kr300V_CFG/MSRP/"},
      // Separators of either kind, leading or doubled.
      {"gauges/kr300v_cfg//kr300_gau.cfg", "Gauges/Kr300V_CFG/kr300_gau.cfg"},
      {"\\\\gauges\\", "Gauges/"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.relative);
    EXPECT_EQ(platform::module_path(c.relative), root() + c.expected);
  }
}

TEST_F(SimFolder, WriteReplacesTheFileWhole) {
  const std::string path = platform::module_path("\\gauges\\kr300v_cfg\\flight_i.dat");
  ASSERT_TRUE(platform::write_file_atomic(path, "first"));
  EXPECT_EQ(platform::read_file(path), "first");
  ASSERT_TRUE(platform::write_file_atomic(path, std::string("a\0b", 3)));
  EXPECT_EQ(platform::read_file(path), std::string("a\0b", 3));
  ASSERT_TRUE(platform::write_file_atomic(path, ""));
  EXPECT_EQ(platform::read_file(path), "");
  // Nothing is left beside it.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(root_ / "Gauges/Kr300V_CFG")) ++entries;
  EXPECT_EQ(entries, 5);
}

TEST_F(SimFolder, FailedWriteLeavesTheOldStateAlone) {
  // Into a folder that does not exist.
  const std::string missing = platform::module_path("\\gauges\\nosuch\\f.dat");
  EXPECT_FALSE(platform::write_file_atomic(missing, "data"));
  EXPECT_FALSE(fs::exists(root_ / "Gauges/nosuch"));

  // Over a non-empty folder: the rename fails, the temporary goes away.
  const fs::path folder = root_ / "Gauges/Kr300V_CFG";
  EXPECT_FALSE(platform::write_file_atomic(folder.string(), "data"));
  EXPECT_TRUE(fs::is_directory(folder));
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(root_ / "Gauges")) ++entries;
  EXPECT_EQ(entries, 2);
  EXPECT_EQ(slurp(folder / "kr300_gau.cfg"), "x");

  EXPECT_FALSE(platform::write_file_atomic("", "data"));
  EXPECT_FALSE(platform::write_file_atomic(folder.string() + "/", "data"));
}

TEST_F(SimFolder, ReadFailsForMissingFilesAndFolders) {
  EXPECT_EQ(platform::read_file(platform::module_path("\\gauges\\kr300v_cfg\\kr300_gau.cfg")), "x");
  EXPECT_EQ(platform::read_file(root() + "none.cfg"), std::nullopt);
  EXPECT_EQ(platform::read_file(root() + "Gauges"), std::nullopt);
  EXPECT_EQ(platform::read_file(""), std::nullopt);
}

TEST(Platform, RootFallsBackToTheExecutableFolder) {
  g_sim_root.clear();  // the hook reports null
  const std::string root = platform::sim_root();
  ASSERT_FALSE(root.empty());
  EXPECT_EQ(root.back(), '/');
  EXPECT_TRUE(fs::exists(root + "support_tests"));
}

TEST(Platform, ExecutablePathNamesThisProgram) {
  const fs::path exe = platform::executable_path();
  EXPECT_TRUE(exe.is_absolute()) << exe;
  EXPECT_EQ(exe.filename(), "support_tests");
}

// gaugehost tells an unset GAUGEHOST_NAME_SUFFIX (a suffix of its own) from
// an empty one (the real names).
TEST(Platform, EnvironmentTellsUnsetFromEmpty) {
  const char* const name = "GAU_PATH_TEST_VARIABLE";
  ::unsetenv(name);
  EXPECT_EQ(platform::env(name), std::nullopt);
  ::setenv(name, "", 1);
  EXPECT_EQ(platform::env(name), "");
  ::setenv(name, "_x1", 1);
  EXPECT_EQ(platform::env(name), "_x1");
  ::unsetenv(name);
  EXPECT_EQ(platform::env(nullptr), std::nullopt);
  EXPECT_EQ(platform::env(""), std::nullopt);
}

TEST(Platform, CounterRunsForwardWithoutHostHooks) {
  EXPECT_EQ(platform::host_symbol(GAUGEHOST_PERF_COUNTER), nullptr);
  EXPECT_EQ(platform::host_symbol("no_such_symbol_anywhere"), nullptr);
  EXPECT_EQ(platform::host_symbol(nullptr), nullptr);
  EXPECT_EQ(platform::perf_frequency(), 1'000'000'000);
  const std::int64_t a = platform::perf_counter();
  const std::int64_t b = platform::perf_counter();
  EXPECT_GT(a, 0);
  EXPECT_GE(b, a);
  EXPECT_EQ(platform::name_suffix(), "");
}

}  // namespace
