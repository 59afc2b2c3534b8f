// Comparisons of scenario expects. A seen value is a number, a text or
// "none" (no such event, no such name). Numbers compare exactly except with
// ~, which takes a tolerance; texts take only == and !=; none equals only
// none.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace host {

enum class Op { kEq, kNe, kLt, kLe, kGt, kGe, kNear };

std::optional<Op> parse_op(std::string_view word);
const char* op_text(Op op);

struct Value {
  enum class Kind { kNone, kNumber, kText } kind = Kind::kNone;
  double number = 0.0;
  std::string text;

  static Value none() { return Value{}; }
  static Value of(double v) { return Value{Kind::kNumber, v, {}}; }
  static Value of_text(std::string t) { return Value{Kind::kText, 0.0, std::move(t)}; }
};

// Whether `seen OP expected` holds; `tolerance` is used by ~ only. Values of
// different kinds are equal never, and ordered never.
bool compare(const Value& seen, Op op, const Value& expected, double tolerance);

// A value as print shows it: numbers with up to 10 significant digits.
std::string format_value(const Value& v);

}  // namespace host
