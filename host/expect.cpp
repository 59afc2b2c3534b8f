#include "host/expect.h"

#include <cmath>

#include "frame/text.h"

namespace host {

std::optional<Op> parse_op(std::string_view w) {
  if (w == "==") return Op::kEq;
  if (w == "!=") return Op::kNe;
  if (w == "<") return Op::kLt;
  if (w == "<=") return Op::kLe;
  if (w == ">") return Op::kGt;
  if (w == ">=") return Op::kGe;
  if (w == "~") return Op::kNear;
  return std::nullopt;
}

const char* op_text(Op op) {
  switch (op) {
    case Op::kEq:
      return "==";
    case Op::kNe:
      return "!=";
    case Op::kLt:
      return "<";
    case Op::kLe:
      return "<=";
    case Op::kGt:
      return ">";
    case Op::kGe:
      return ">=";
    case Op::kNear:
      return "~";
  }
  return "?";
}

bool compare(const Value& seen, Op op, const Value& expected, double tolerance) {
  using K = Value::Kind;
  if (seen.kind != expected.kind) return op == Op::kNe;
  if (seen.kind == K::kNone) return op == Op::kEq;
  if (seen.kind == K::kText) {
    if (op == Op::kEq) return seen.text == expected.text;
    if (op == Op::kNe) return seen.text != expected.text;
    return false;
  }
  const double a = seen.number;
  const double b = expected.number;
  switch (op) {
    case Op::kEq:
      return a == b;
    case Op::kNe:
      return a != b;
    case Op::kLt:
      return a < b;
    case Op::kLe:
      return a <= b;
    case Op::kGt:
      return a > b;
    case Op::kGe:
      return a >= b;
    case Op::kNear:
      return std::fabs(a - b) <= tolerance;
  }
  return false;
}

std::string format_value(const Value& v) {
  switch (v.kind) {
    case Value::Kind::kNone:
      return "none";
    case Value::Kind::kText:
      return v.text;
    case Value::Kind::kNumber:
      break;
  }
  // Print -0 as 0: the sign of a zero is noise in a scenario.
  return frame::format_string("%.10g", v.number == 0.0 ? 0.0 : v.number);
}

}  // namespace host
