#include "frame/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/platform.h"

namespace {

struct LookupCase {
  const char* name;
  std::string text;
  const char* section;
  const char* key;
  const char* def;
  std::size_t buffer;
  std::string expected;
};

TEST(Profile, LooksUpValuesLikeTheProfileApi) {
  const std::string cfg = "[system]\r\nnvu_v52_100=1.9\r\npanel_auto=0\r\n[sound]\r\nsirena_lev=100\r\n";
  const LookupCase cases[] = {
      {"plain", cfg, "system", "panel_auto", "1", 16, "0"},
      {"other section", cfg, "sound", "sirena_lev", "70", 16, "100"},
      {"case of names ignored", cfg, "SYSTEM", "Panel_Auto", "1", 16, "0"},
      {"absent key", cfg, "system", "ups_percent", "67", 16, "67"},
      {"absent section", cfg, "nosuch", "panel_auto", "1", 16, "1"},
      {"key of another section", cfg, "sound", "panel_auto", "1", 16, "1"},
      {"LF only", "[a]\nk=v\n", "a", "k", "d", 16, "v"},
      {"no final line end", "[a]\nk=v", "a", "k", "d", 16, "v"},
      {"lone CR at end", "[a]\nk=v\r", "a", "k", "d", 16, "v"},
      {"blanks trimmed", "  [ a ]  \n \t k \t= \t v w \t\n", "a", "k", "d", 16, "v w"},
      {"double quotes", "[a]\nk= \"  v \" \n", "a", "k", "d", 16, "  v "},
      {"single quotes", "[a]\nk='v'\n", "a", "k", "d", 16, "v"},
      {"only one quote pair", "[a]\nk=\"\"v\"\"\n", "a", "k", "d", 16, "\"v\""},
      {"unbalanced quote kept", "[a]\nk=\"v\n", "a", "k", "d", 16, "\"v"},
      {"mixed quotes kept", "[a]\nk=\"v'\n", "a", "k", "d", 16, "\"v'"},
      {"empty value stays empty", "[a]\nk=\n", "a", "k", "d", 16, ""},
      {"empty quoted value", "[a]\nk=\"\"\n", "a", "k", "d", 16, ""},
      {"value with '='", "[a]\nk=x=y\n", "a", "k", "d", 16, "x=y"},
      {"first key wins", "[a]\nk=1\nK=2\n", "a", "k", "d", 16, "1"},
      {"first section wins", "[a]\nk=1\n[A]\nk=2\n", "a", "k", "d", 16, "1"},
      {"repeated section not searched", "[a]\nx=1\n[b]\n[a]\nk=2\n", "a", "k", "d", 16, "d"},
      {"key before any section", "k=1\n[a]\n", "a", "k", "d", 16, "d"},
      {"comment line", "[a]\n;k=1\nk=2\n", "a", "k", "d", 16, "2"},
      {"indented comment", "[a]\n  ;k=1\n", "a", "k", "d", 16, "d"},
      {"line without '='", "[a]\nk\nk=2\n", "a", "k", "d", 16, "2"},
      {"unclosed section header", "[a]\n[b\nk=1\n", "a", "k", "d", 16, "1"},
      {"cut to 15 characters", "[a]\nk=0123456789abcdefgh\n", "a", "k", "d", 16,
       "0123456789abcde"},
      {"default cut too", "", "a", "k", "0123456789abcdefgh", 16, "0123456789abcde"},
      {"buffer of 1", "[a]\nk=v\n", "a", "k", "d", 1, ""},
      {"buffer of 0", "[a]\nk=v\n", "a", "k", "d", 0, ""},
      {"larger buffer", "[a]\nk=0123456789abcdefgh\n", "a", "k", "d", 64, "0123456789abcdefgh"},
      {"NUL ends the value", std::string("[a]\nk=12\0 34\nj=5\n", 16), "a", "k", "d", 16, "12"},
      {"line after NUL read", std::string("[a]\nk=12\0 34\nj=5\n", 16), "a", "j", "d", 16, "5"},
      {"empty text", "", "a", "k", "d", 16, "d"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const frame::Profile p = frame::Profile::parse(c.text);
    EXPECT_EQ(p.get(c.section, c.key, c.def, c.buffer), c.expected);
  }
}

TEST(Profile, ConvertsValuesAsNumbers) {
  const frame::Profile p = frame::Profile::parse(
      "[system]\nnvu_v52_100=1.9\nups_percent=67.5\nmsrp_speed_min=abc\nneg=-3.7\n");
  EXPECT_EQ(p.integer("system", "nvu_v52_100", "0"), 1);
  EXPECT_EQ(p.integer("system", "neg", "0"), -3);
  EXPECT_DOUBLE_EQ(p.number("system", "ups_percent", "67"), 67.5);
  EXPECT_DOUBLE_EQ(p.number("system", "msrp_speed_min", "100"), 0.0);  // not a number
  EXPECT_EQ(p.integer("system", "panel_auto", "1"), 1);                 // default
  EXPECT_TRUE(p.has("SYSTEM", "NVU_V52_100"));
  EXPECT_FALSE(p.has("system", "panel_auto"));
}

TEST(Profile, SurvivesVeryLongLines) {
  const std::string text = "[a]\nk=" + std::string(200000, '7') + "\nj=" + std::string(70000, 'x') +
                           "\n[b\n" + std::string(100000, '[') + "\nm=1\n";
  const frame::Profile p = frame::Profile::parse(text);
  EXPECT_EQ(p.get("a", "k", "d"), std::string(15, '7'));
  EXPECT_EQ(p.get("a", "j", "d", 70001), std::string(70000, 'x'));
  EXPECT_EQ(p.get("a", "m", "d"), "1");
}

TEST(Profile, LoadsThroughThePlatform) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("profile_test_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "kr300_gau.cfg").string();

  const frame::Profile missing = frame::Profile::load(path);
  EXPECT_FALSE(missing.loaded());
  EXPECT_EQ(missing.get("system", "panel_auto", "1"), "1");
  EXPECT_EQ(missing.integer("sound", "sirena_lev", "70"), 70);

  ASSERT_TRUE(platform::write_file_atomic(path, "[sound]\r\nsirena_lev=100\r\n"));
  const frame::Profile present = frame::Profile::load(path);
  EXPECT_TRUE(present.loaded());
  EXPECT_EQ(present.integer("sound", "sirena_lev", "70"), 100);
  EXPECT_EQ(present.integer("sound", "key_lev", "70"), 70);

  const frame::Profile folder_as_file = frame::Profile::load(folder.string());
  EXPECT_FALSE(folder_as_file.loaded());

  std::filesystem::remove_all(folder);
}

}  // namespace
