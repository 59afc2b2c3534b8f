// The scenario runner end to end, in process: exit statuses and messages of
// script errors, failing expects and print output. Module behaviour itself
// is checked by the scenarios in tests/scenarios/host, one process each.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/hooks.h"
#include "host/scenario.h"

namespace host {
namespace {

namespace fs = std::filesystem;

class RunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("gaugehost-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(root_);
    hooks::set_sim_root(root_.string());
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  int run(const std::string& text) {
    out_.str("");
    err_.str("");
    RunOptions opt;
    opt.modules_dir = GAU_TEST_MODULE_DIR;
    opt.out = &out_;
    opt.err = &err_;
    Runner r(opt);
    return r.run_text(text, "t.gh", root_.string());
  }

  fs::path root_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(RunnerTest, MalformedLinesAreScriptErrorsWithTheirLine) {
  const char* bad[] = {
      "bogus 1",
      "frames x",
      "frames -1",
      "frames 1.5",
      "fps 0",
      "fps 5000",
      "var 70000 1",
      "var 753",
      "free",
      "simrate -1",
      "pause 2",
      "publish N 0x30 1",
      "publish N 0x21",
      "named N",
      "module ../escape",
      "module",
      "place",
      "panel",
      "attach",
      "kill now",
      "dump",
      "file",
      "click",
      "click G hold 0",
      "click G A left extra",
      "print",
      "print nothing 1",
      "print var",
      "print var 1 2",
      "print elem",
      "print elem G E extra",
      "print key 0x100000000",
      "print \"unterminated",
      "expect var 1",
      "expect var 1 == ",
      "expect var 1 = 2",
      "expect var 1 == abc",
      "expect var 1 ~ 2",
      "expect var 1 ~ 2 -1",
      "expect var 1 == 2 0.5",
      "expect text G < 1",
      "expect key 5 < none",
      "expect elem G E == 1 2",
  };
  for (const char* line : bad) {
    const std::string script = std::string("# header\nfps 18\n") + line + "\nframes 1\n";
    EXPECT_EQ(run(script), 2) << line;
    EXPECT_EQ(err_.str().rfind("t.gh:3: ", 0), 0u) << line << " -> " << err_.str();
  }
}

TEST_F(RunnerTest, RuntimeErrorsStopTheRunSafely) {
  struct Case {
    const char* script;
    const char* message;  // part of the error
  };
  const Case cases[] = {
      {"module nosuch", "cannot load module"},
      {"module testmod\nplace nosuch", "no loaded module has a gauge nosuch"},
      {"module testmod\nplace testmod2!probe", "module testmod2 is not loaded"},
      {"module testmod\nplace testmod!nosuch", "has no gauge nosuch"},
      {"module testmod\nmodule testmod2\nplace switch", "ambiguous"},
      {"module testmod\nexpect elem probe 999 == 0", "no element '999'"},
      {"module testmod\nexpect elem probe nolabel == 0", "no element 'nolabel'"},
      {"module testmod\nexpect elem probe s2.rot == 0", "has no such value"},
      {"module testmod\nexpect elem probe 0 == 0", "has no such value"},  // background
      {"module testmod\nexpect text probe s2 == x", "not a string"},
      {"module testmod\nexpect hidden raw_empty == 0", "no element with a value"},
      {"module testmod\nclick buttons", "is not placed"},
      {"module testmod\nplace buttons\nclick buttons 99", "no area '99'"},
      {"module testmod\nplace probe\nclick probe", "has no mouse area"},
      {"module testmod\nattach buttons", "is not placed"},
      {"module testmod\nplace probe\nkill\nframes 1", "after kill"},
      {"module testmod\nkill\nplace probe", "after kill"},
      {"panel missing.cfg", "cannot read panel file"},
      {"file ../escape x", "below the simulator folder"},
      {"file \\ x", "below the simulator folder"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(c.script), 2) << c.script;
    EXPECT_NE(err_.str().find(c.message), std::string::npos) << c.script << " -> " << err_.str();
  }
}

TEST_F(RunnerTest, FailedExpectsAreCountedAndTheRunGoesOn) {
  const int status = run(
      "expect var 753 == 27\n"
      "expect var 753 == 28\n"
      "expect key 5 != none\n"
      "expect var 1 ~ 10 0.5\n"
      "print var 753\n");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(err_.str(),
            "t.gh:1: expect FAILED: var 753 == 27 (seen 28)\n"
            "t.gh:3: expect FAILED: key 5 != none (seen none)\n"
            "t.gh:4: expect FAILED: var 1 ~ 10 0.5 (seen 0)\n");
  EXPECT_EQ(out_.str(), "var 753 = 28\n");
}

TEST_F(RunnerTest, ScriptWithoutModulesPrintsAndPasses) {
  EXPECT_EQ(run("var 0x2F1 0x1C\n"
                "named \"my light\" 0.5\n"
                "publish PP_X 0x22 7.9\n"
                "print var 753\n"
                "print named \"my light\"\n"
                "print reg PP_X\n"
                "print reg PP_Y\n"
                "print keys 5\n"
                "print window 3\n"
                "unpublish PP_X\n"
                "expect reg PP_X == none\n"
                "frames 18\n"
                "expect var 1 == 18\n"
                "expect var 604 ~ 1 1e-9\n"),
            0)
      << err_.str();
  EXPECT_EQ(out_.str(),
            "var 753 = 28\n"
            "named my light = 0.5\n"
            "reg PP_X = 7\n"
            "reg PP_Y = none\n"
            "keys 5 = 0\n"
            "window 3 = 0\n");
}

TEST_F(RunnerTest, FileWritesBelowTheSimulatorFolder) {
  ASSERT_EQ(run("file \\gauges\\sub\\a.cfg [test] \"value = 2\"\nfile b.txt\n"), 0) << err_.str();
  std::ostringstream got;
  got << std::ifstream(root_ / "gauges/sub/a.cfg").rdbuf();
  EXPECT_EQ(got.str(), "[test]\nvalue = 2\n");
  EXPECT_TRUE(fs::exists(root_ / "b.txt"));
  EXPECT_EQ(fs::file_size(root_ / "b.txt"), 0u);
}

}  // namespace
}  // namespace host
