#include <gtest/gtest.h>

#include <limits>

#include "host/expect.h"

namespace host {
namespace {

struct Case {
  Value seen;
  const char* op;
  Value expected;
  double tol;
  bool holds;
};

TEST(Expect, OperatorTable) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Value one = Value::of(1.0), two = Value::of(2.0);
  const Case cases[] = {
      {one, "==", one, 0, true},
      {one, "==", two, 0, false},
      {one, "!=", two, 0, true},
      {one, "!=", one, 0, false},
      {one, "<", two, 0, true},
      {two, "<", two, 0, false},
      {two, "<=", two, 0, true},
      {two, ">", one, 0, true},
      {one, ">", one, 0, false},
      {one, ">=", one, 0, true},
      {one, ">=", two, 0, false},
      {Value::of(1.05), "~", one, 0.1, true},
      {Value::of(0.95), "~", one, 0.1, true},
      {Value::of(1.2), "~", one, 0.1, false},
      {one, "~", one, 0, true},
      // NaN holds nothing but !=.
      {Value::of(nan), "==", Value::of(nan), 0, false},
      {Value::of(nan), "!=", one, 0, true},
      {Value::of(nan), "<", one, 0, false},
      {Value::of(nan), "~", one, 1e9, false},
      // none: equal only to none.
      {Value::none(), "==", Value::none(), 0, true},
      {Value::none(), "!=", Value::none(), 0, false},
      {Value::none(), "==", one, 0, false},
      {Value::none(), "!=", one, 0, true},
      {one, "==", Value::none(), 0, false},
      {one, "!=", Value::none(), 0, true},
      {Value::none(), "<", one, 0, false},
      // Texts: == and != only.
      {Value::of_text("12.5"), "==", Value::of_text("12.5"), 0, true},
      {Value::of_text("12.5"), "==", Value::of_text("12.50"), 0, false},
      {Value::of_text("a"), "!=", Value::of_text("b"), 0, true},
      {Value::of_text("a"), "<", Value::of_text("b"), 0, false},
  };
  for (const Case& c : cases) {
    const auto op = parse_op(c.op);
    ASSERT_TRUE(op.has_value()) << c.op;
    EXPECT_EQ(compare(c.seen, *op, c.expected, c.tol), c.holds)
        << format_value(c.seen) << " " << c.op << " " << format_value(c.expected);
  }
}

TEST(Expect, OperatorsRoundTripAndUnknown) {
  for (const char* op : {"==", "!=", "<", "<=", ">", ">=", "~"})
    EXPECT_STREQ(op_text(*parse_op(op)), op);
  for (const char* bad : {"=", "=<", "~=", "", "eq"}) EXPECT_FALSE(parse_op(bad)) << bad;
}

TEST(Expect, FormatsTenSignificantDigits) {
  EXPECT_EQ(format_value(Value::of(28.0)), "28");
  EXPECT_EQ(format_value(Value::of(1.0 / 3.0)), "0.3333333333");
  EXPECT_EQ(format_value(Value::of(123456789012.0)), "1.23456789e+11");
  EXPECT_EQ(format_value(Value::of(-0.0)), "0");
  EXPECT_EQ(format_value(Value::none()), "none");
  EXPECT_EQ(format_value(Value::of_text("x y")), "x y");
}

}  // namespace
}  // namespace host
