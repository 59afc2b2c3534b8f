#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "host/lexer.h"

namespace host {
namespace {

struct SplitCase {
  const char* line;
  std::vector<std::string> words;
  bool ok;
};

TEST(SplitLine, WordsQuotesAndComments) {
  const SplitCase cases[] = {
      {"", {}, true},
      {"   \t ", {}, true},
      {"# only a comment", {}, true},
      {"frames 10", {"frames", "10"}, true},
      {"  var\t753   28.5  ", {"var", "753", "28.5"}, true},
      {"frames 10 # run a bit", {"frames", "10"}, true},
      {"frames 10# glued comment", {"frames", "10"}, true},
      {"file a.cfg \"x = 1\" \"\"", {"file", "a.cfg", "x = 1", ""}, true},
      {"print \"say \\\"hi\\\"\"", {"print", "say \"hi\""}, true},
      {"print \"back\\\\slash\"", {"print", "back\\slash"}, true},
      {"print \"a # not a comment\"", {"print", "a # not a comment"}, true},
      {"print pre\"fix mid\"post", {"print", "prefix midpost"}, true},
      {"print \"c:\\path\"", {"print", "c:\\path"}, true},  // other escapes stay
      {"line with CR\r", {"line", "with", "CR"}, true},
      {"print \"unterminated", {}, false},
      {"print \"ends in escape\\\"", {}, false},
  };
  for (const SplitCase& c : cases) {
    std::vector<std::string> words;
    std::string error;
    const bool ok = split_line(c.line, &words, &error);
    EXPECT_EQ(ok, c.ok) << c.line;
    if (ok) {
      EXPECT_EQ(words, c.words) << c.line;
    } else {
      EXPECT_FALSE(error.empty()) << c.line;
    }
  }
}

struct NumberCase {
  const char* word;
  std::optional<double> value;
};

TEST(ParseNumber, DecimalAndHex) {
  const NumberCase cases[] = {
      {"0", 0.0},          {"18", 18.0},        {"-3", -3.0},      {"+2.5", 2.5},
      {".5", 0.5},         {"5.", 5.0},         {"1e3", 1000.0},   {"2.5E-1", 0.25},
      {"0x1F", 31.0},      {"0X10", 16.0},      {"-0x10", -16.0},  {"0x150", 336.0},
      {"0xFFFFFFFF", 4294967295.0},
      {"", std::nullopt},  {"-", std::nullopt}, {".", std::nullopt}, {"1e", std::nullopt},
      {"12abc", std::nullopt}, {"0x", std::nullopt}, {"0xG", std::nullopt},
      {"nan", std::nullopt}, {"inf", std::nullopt}, {"1,5", std::nullopt},
      {" 1", std::nullopt},
  };
  for (const NumberCase& c : cases) EXPECT_EQ(parse_number(c.word), c.value) << c.word;
}

TEST(ParseInteger, RangeAndFractions) {
  EXPECT_EQ(parse_integer("0x2F1", 0, 0xFFFF), 753);
  EXPECT_EQ(parse_integer("10.0", 0, 100), 10);
  EXPECT_EQ(parse_integer("10.5", 0, 100), std::nullopt);
  EXPECT_EQ(parse_integer("-1", 0, 100), std::nullopt);
  EXPECT_EQ(parse_integer("101", 0, 100), std::nullopt);
  EXPECT_EQ(parse_integer("1e300", 0, 100), std::nullopt);
}

}  // namespace
}  // namespace host
