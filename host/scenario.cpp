#include "host/scenario.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <ostream>

#include "frame/exchanger_protocol.h"
#include "frame/text.h"
#include "host/hooks.h"
#include "host/interrupt.h"
#include "host/lexer.h"
#include "host/panel_cfg.h"
#include "host/xchg.h"
#include "platform/platform.h"

namespace host {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kMaxFrames = 100'000'000;
constexpr std::int64_t kMaxHold = 1'000'000;

struct VerbName {
  const char* word;
  Verb verb;
};
constexpr VerbName kVerbs[] = {
    {"module", Verb::kModule}, {"place", Verb::kPlace},     {"panel", Verb::kPanel},
    {"fps", Verb::kFps},       {"pause", Verb::kPause},     {"simrate", Verb::kSimrate},
    {"var", Verb::kVar},       {"free", Verb::kFree},       {"publish", Verb::kPublish},
    {"unpublish", Verb::kUnpublish}, {"named", Verb::kNamed}, {"file", Verb::kFile},
    {"frames", Verb::kFrames}, {"click", Verb::kClick},     {"attach", Verb::kAttach},
    {"kill", Verb::kKill},     {"print", Verb::kPrint},     {"dump", Verb::kDump},
    {"expect", Verb::kExpect},
    {"realtime", Verb::kRealtime},
    {"aircraft", Verb::kAircraft}, {"fly", Verb::kFly},       {"station", Verb::kStation},
    {"atmosphere", Verb::kAtmosphere}, {"resume", Verb::kResume}, {"event", Verb::kEvent},
    {"seconds", Verb::kSeconds},   {"echo", Verb::kEcho},
    {"route", Verb::kRoute},
};

struct WhatName {
  const char* word;
  What::Kind kind;
};
constexpr WhatName kWhats[] = {
    {"var", What::Kind::kVar},       {"elem", What::Kind::kElem}, {"text", What::Kind::kText},
    {"hidden", What::Kind::kHidden}, {"reg", What::Kind::kReg},   {"named", What::Kind::kNamed},
    {"key", What::Kind::kKey},       {"keys", What::Kind::kKeys}, {"window", What::Kind::kWindow},
    {"slot", What::Kind::kSlot},     {"world", What::Kind::kWorld},
    {"counter", What::Kind::kCounter},
};

bool gauge_what(What::Kind k) {
  return k == What::Kind::kElem || k == What::Kind::kText || k == What::Kind::kHidden;
}

std::string join(const std::vector<std::string>& w, std::size_t begin, std::size_t end) {
  std::string s;
  for (std::size_t i = begin; i < end; ++i) {
    if (i > begin) s.push_back(' ');
    s += w[i];
  }
  return s;
}

// Parses words [begin, end) as one WHAT.
bool parse_single_what(const std::vector<std::string>& w, std::size_t begin, std::size_t end,
                       What* out, std::string* error) {
  if (begin >= end) {
    *error =
        "missing what to look at (var, elem, text, hidden, reg, named, key, keys, window, slot, "
        "world, counter)";
    return false;
  }
  const WhatName* found = nullptr;
  for (const WhatName& n : kWhats)
    if (w[begin] == n.word) found = &n;
  if (found == nullptr) {
    *error = "unknown value '" + w[begin] + "'";
    return false;
  }
  What what;
  what.kind = found->kind;
  what.text = join(w, begin, end);
  const std::size_t n = end - begin - 1;
  if (gauge_what(what.kind)) {
    if (n < 1 || n > 2) {
      *error = std::string(found->word) + " takes GAUGE [E]";
      return false;
    }
    what.gauge = w[begin + 1];
    if (n == 2) what.element = w[begin + 2];
  } else if (what.kind == What::Kind::kCounter) {
    if (n != 2) {
      *error = "counter takes GAUGE FIELD";
      return false;
    }
    what.gauge = w[begin + 1];
    what.element = w[begin + 2];
  } else if (what.kind == What::Kind::kWorld) {
    // world KEY, or world LEGKEY N for leg N of the route.
    const bool leg = n == 2 && leg_key(w[begin + 1]);
    if (!(n == 1 && world_key(w[begin + 1])) && !leg) {
      *error = "world takes KEY (" + world_key_names() + ") or LEGKEY N (" + leg_key_names() + ")";
      return false;
    }
    what.name = w[begin + 1];
    if (leg) {
      const auto number =
          parse_integer(w[begin + 2], 1, static_cast<std::int64_t>(kMaxRoutePoints));
      if (!number) {
        *error = "bad leg number '" + w[begin + 2] + "'";
        return false;
      }
      what.id = static_cast<std::uint32_t>(*number);
    }
  } else if (what.kind == What::Kind::kReg || what.kind == What::Kind::kNamed) {
    if (n != 1) {
      *error = std::string(found->word) + " takes NAME";
      return false;
    }
    what.name = w[begin + 1];
  } else {
    if (n != 1) {
      *error = std::string(found->word) + " takes ID";
      return false;
    }
    std::int64_t hi = what.kind == What::Kind::kVar ? VarTable::kMaxId : 0xFFFFFFFF;
    if (what.kind == What::Kind::kSlot) hi = frame::xchg::kSlots - 1;
    const auto id = parse_integer(w[begin + 1], 0, hi);
    if (!id) {
      if (what.kind == What::Kind::kSlot)
        *error = "bad slot '" + w[begin + 1] + "' (0..117)";
      else
        *error = "bad id '" + w[begin + 1] + "'";
      return false;
    }
    what.id = static_cast<std::uint32_t>(*id);
  }
  *out = std::move(what);
  return true;
}

// Parses words [begin, end) as a WHAT, or as WHAT - WHAT (one "-" word).
bool parse_what(const std::vector<std::string>& w, std::size_t begin, std::size_t end, What* out,
                std::string* error) {
  std::size_t dash = end;
  for (std::size_t i = begin; i < end; ++i) {
    if (w[i] != "-") continue;
    if (dash != end) {
      *error = "one '-' at most: WHAT - WHAT";
      return false;
    }
    dash = i;
  }
  if (dash == end) return parse_single_what(w, begin, end, out, error);
  What left, right;
  if (!parse_single_what(w, begin, dash, &left, error)) return false;
  if (!parse_single_what(w, dash + 1, end, &right, error)) return false;
  if (left.kind == What::Kind::kText || right.kind == What::Kind::kText) {
    *error = "'-' takes numbers, not text";
    return false;
  }
  left.text = join(w, begin, end);
  left.minus = std::make_shared<const What>(std::move(right));
  *out = std::move(left);
  return true;
}

bool parse_expect(const std::vector<std::string>& w, Command* c, std::string* error) {
  // The operator is the first word after the WHAT's kind that is one.
  // Without one: where it belongs, for the message (two words of WHAT, three
  // for the gauge forms with an element).
  std::size_t op_at = 2;
  while (op_at < w.size() && !parse_op(w[op_at])) ++op_at;
  if (op_at >= w.size()) {
    op_at = 2;
    if (w.size() > 2) {
      for (const WhatName& n : kWhats) {
        if (w[0] == n.word && gauge_what(n.kind) && !parse_op(w[2])) op_at = 3;
      }
    }
  }
  if (w.size() < op_at + 2) {
    *error = "expect takes WHAT OP VALUE [TOL]";
    return false;
  }
  if (!parse_what(w, 0, op_at, &c->what, error)) return false;
  const auto op = parse_op(w[op_at]);
  if (!op) {
    *error = "unknown operator '" + w[op_at] + "' (== != < <= > >= ~)";
    return false;
  }
  c->op = *op;
  const std::string& value = w[op_at + 1];
  const std::size_t rest = w.size() - op_at - 2;
  if (c->what.kind == What::Kind::kText) {
    if (c->op != Op::kEq && c->op != Op::kNe) {
      *error = "text compares with == and != only";
      return false;
    }
    c->expected = Value::of_text(value);
  } else if (value == "none") {
    if (c->op != Op::kEq && c->op != Op::kNe) {
      *error = "none compares with == and != only";
      return false;
    }
    c->expected = Value::none();
  } else {
    const auto v = parse_number(value);
    if (!v) {
      *error = "bad number '" + value + "'";
      return false;
    }
    c->expected = Value::of(*v);
  }
  c->expected_text = value;
  if (c->op == Op::kNear) {
    if (rest != 1) {
      *error = "~ takes a tolerance: expect WHAT ~ VALUE TOL";
      return false;
    }
    const auto tol = parse_number(w[op_at + 2]);
    if (!tol || *tol < 0) {
      *error = "bad tolerance '" + w[op_at + 2] + "'";
      return false;
    }
    c->tolerance = *tol;
    c->expected_text += " " + w[op_at + 2];
  } else if (rest != 0) {
    *error = "unexpected '" + w[op_at + 2] + "' after the value";
    return false;
  }
  return true;
}

bool parse_click(const std::vector<std::string>& w, Command* c, std::string* error) {
  std::size_t end = w.size();
  if (end == 0) {
    *error = "click takes GAUGE [AREA] [left|right] [hold N]";
    return false;
  }
  if (end >= 3 && w[end - 2] == "hold") {
    const auto n = parse_integer(w[end - 1], 1, kMaxHold);
    if (!n) {
      *error = "bad hold count '" + w[end - 1] + "'";
      return false;
    }
    c->count = static_cast<std::uint64_t>(*n);
    end -= 2;
  }
  c->button = frame::kMouseLeft;
  if (end >= 2 && (w[end - 1] == "left" || w[end - 1] == "right")) {
    c->button = w[end - 1] == "left" ? frame::kMouseLeft : frame::kMouseRight;
    --end;
  }
  if (end < 1 || end > 2 || w[0] == "hold") {
    *error = "click takes GAUGE [AREA] [left|right] [hold N]";
    return false;
  }
  if (end == 2) c->area = w[1];
  return true;
}

bool want(const std::vector<std::string>& w, std::size_t lo, std::size_t hi, const char* usage,
          std::string* error) {
  if (w.size() >= lo && w.size() <= hi) return true;
  *error = usage;
  return false;
}

bool number_arg(const std::string& word, double lo, double hi, double* out, std::string* error) {
  const auto v = parse_number(word);
  if (!v || *v < lo || *v > hi) {
    *error = "bad number '" + word + "'";
    return false;
  }
  *out = *v;
  return true;
}

bool id_arg(const std::string& word, std::uint32_t* out, std::string* error) {
  const auto v = parse_integer(word, 0, VarTable::kMaxId);
  if (!v) {
    *error = "bad variable id '" + word + "'";
    return false;
  }
  *out = static_cast<std::uint32_t>(*v);
  return true;
}

bool parse_command(Verb verb, std::vector<std::string> w, Command* c, std::string* error) {
  c->verb = verb;
  constexpr double kBig = 1e300;
  switch (verb) {
    case Verb::kModule:
      if (!want(w, 1, 1, "module takes NAME", error)) return false;
      if (w[0].empty() || w[0].find_first_of("/\\") != std::string::npos) {
        *error = "module takes a name, not a path: '" + w[0] + "'";
        return false;
      }
      break;
    case Verb::kPlace:
      if (!want(w, 1, 100000, "place takes GAUGE [GAUGE ...]", error)) return false;
      break;
    case Verb::kPanel:
      if (!want(w, 1, 1, "panel takes FILE", error)) return false;
      break;
    case Verb::kFps:
      if (!want(w, 1, 1, "fps takes N", error)) return false;
      if (!number_arg(w[0], 1e-9, TimeModel::kMaxFps, &c->number, error)) return false;
      break;
    case Verb::kPause: {
      if (!want(w, 0, 1, "pause takes 0 or 1, or nothing", error)) return false;
      if (w.empty()) {
        c->flag = true;
        break;
      }
      const auto v = parse_integer(w[0], 0, 1);
      if (!v) {
        *error = "pause takes 0 or 1";
        return false;
      }
      c->flag = *v == 1;
      break;
    }
    case Verb::kSimrate:
      if (!want(w, 1, 1, "simrate takes X", error)) return false;
      if (!number_arg(w[0], 0, TimeModel::kMaxSimRate, &c->number, error)) return false;
      break;
    case Verb::kVar:
      if (!want(w, 2, 2, "var takes ID VALUE", error)) return false;
      if (!id_arg(w[0], &c->id, error)) return false;
      if (!number_arg(w[1], -kBig, kBig, &c->number, error)) return false;
      break;
    case Verb::kFree:
      if (!want(w, 1, 1, "free takes ID", error)) return false;
      if (!id_arg(w[0], &c->id, error)) return false;
      break;
    case Verb::kPublish: {
      if (!want(w, 3, 3, "publish takes NAME TYPE VALUE", error)) return false;
      const auto type = parse_integer(w[1], 0, 0xFF);
      if (!type || (*type != frame::kVarDouble && *type != frame::kVarFlag &&
                    *type != frame::kVarInt)) {
        *error = "publish type must be 0x21, 0x22 or 0x14: '" + w[1] + "'";
        return false;
      }
      c->id = static_cast<std::uint32_t>(*type);
      if (!number_arg(w[2], -kBig, kBig, &c->number, error)) return false;
      break;
    }
    case Verb::kUnpublish:
      if (!want(w, 1, 1, "unpublish takes NAME", error)) return false;
      break;
    case Verb::kNamed:
      if (!want(w, 2, 2, "named takes NAME VALUE", error)) return false;
      if (!number_arg(w[1], -kBig, kBig, &c->number, error)) return false;
      break;
    case Verb::kFile:
      if (!want(w, 1, 1000000, "file takes PATH LINE...", error)) return false;
      break;
    case Verb::kFrames: {
      if (!want(w, 1, 1, "frames takes N", error)) return false;
      const auto n = parse_integer(w[0], 0, kMaxFrames);
      if (!n) {
        *error = "bad frame count '" + w[0] + "'";
        return false;
      }
      c->count = static_cast<std::uint64_t>(*n);
      break;
    }
    case Verb::kClick:
      if (!parse_click(w, c, error)) return false;
      break;
    case Verb::kAttach:
      if (!want(w, 1, 1, "attach takes GAUGE or all", error)) return false;
      break;
    case Verb::kKill:
      if (!want(w, 0, 0, "kill takes nothing", error)) return false;
      break;
    case Verb::kPrint:
      if (!parse_what(w, 0, w.size(), &c->what, error)) return false;
      break;
    case Verb::kDump:
      if (!want(w, 1, 1, "dump takes GAUGE", error)) return false;
      break;
    case Verb::kEcho:
      break;
    case Verb::kExpect:
      if (!parse_expect(w, c, error)) return false;
      break;
    case Verb::kAircraft: {
      std::vector<Setting> settings;
      if (!parse_aircraft(w, &settings, error)) return false;
      break;
    }
    case Verb::kFly: {
      FlyTargets targets;
      if (!parse_fly(w, &targets, error)) return false;
      break;
    }
    case Verb::kStation: {
      Station station;
      if (!parse_station(w, &station, error)) return false;
      break;
    }
    case Verb::kAtmosphere: {
      AtmosphereSettings settings;
      if (!parse_atmosphere(w, &settings, error)) return false;
      break;
    }
    case Verb::kResume:
      if (!want(w, 0, 0, "resume takes nothing", error)) return false;
      break;
    case Verb::kEvent: {
      if (!want(w, 2, 2, "event takes ID VALUE", error)) return false;
      const auto id = parse_integer(w[0], 0, 0xFFFFFFFF);
      const auto value = parse_integer(w[1], -0x80000000LL, 0xFFFFFFFF);
      if (!id || !value) {
        *error = "event takes an integer ID and VALUE (a negative value as 32-bit two's "
                 "complement)";
        return false;
      }
      c->id = static_cast<std::uint32_t>(*id);
      c->number = static_cast<double>(static_cast<std::uint32_t>(*value & 0xFFFFFFFF));
      break;
    }
    case Verb::kRoute: {
      Route route;
      if (!parse_route(w, &route, error)) return false;
      break;
    }
    case Verb::kSeconds:
      if (!want(w, 1, 1, "seconds takes T", error)) return false;
      if (!number_arg(w[0], 0, 1e8, &c->number, error)) return false;
      break;
    case Verb::kRealtime:
      if (!want(w, 1, 1, "realtime takes on or off", error)) return false;
      if (w[0] != "on" && w[0] != "off") {
        *error = "realtime takes on or off, not '" + w[0] + "'";
        return false;
      }
      c->flag = w[0] == "on";
      break;
  }
  c->args = std::move(w);
  return true;
}

// A path below the simulator folder: backslashes are separators, a leading
// separator is dropped, and no component may climb out.
bool sim_relative(const std::string& given, std::string* out) {
  std::string p = given;
  for (char& ch : p)
    if (ch == '\\') ch = '/';
  while (!p.empty() && p.front() == '/') p.erase(0, 1);
  if (p.empty() || p.back() == '/') return false;
  for (const auto& part : fs::path(p))
    if (part == "..") return false;
  *out = p;
  return true;
}

// Slot n of the run's exchanger block, read as an outside program would but
// without its guard; 0 while there is no block.
double slot_value(std::uint32_t n) {
  return xchg::peek_slot(hooks::name_suffix(), static_cast<int>(n)).value_or(0.0);
}

// What print adds to a slot of a block that does not exist.
std::string slot_note(const What& w) {
  if (w.kind != What::Kind::kSlot) return {};
  if (xchg::peek_slot(hooks::name_suffix(), static_cast<int>(w.id))) return {};
  return " (no exchanger block)";
}

// What an icon shows for its reading: picture n of its series, or nothing.
std::string shown_picture(const ElementInfo& e, const Reading& r) {
  const auto* icon = reinterpret_cast<const frame::IconElement*>(e.record);
  const double v = r.v[0];
  if (v < 0.0) return "nothing";
  if (!(v < static_cast<double>(icon->picture_count)))
    return "beyond " + std::to_string(icon->picture_count) + " pictures";
  return "picture " + std::to_string(static_cast<std::uint32_t>(v));
}

}  // namespace

bool parse_script(std::string_view text, std::vector<Command>* out, std::string* error) {
  std::vector<Command> commands;
  std::vector<std::string> words;
  int line_no = 0;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    const std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
    ++line_no;
    std::string why;
    if (!split_line(line, &words, &why)) {
      *error = std::to_string(line_no) + ": " + why;
      return false;
    }
    if (words.empty()) continue;
    const VerbName* verb = nullptr;
    for (const VerbName& v : kVerbs)
      if (words[0] == v.word) verb = &v;
    if (verb == nullptr) {
      *error = std::to_string(line_no) + ": unknown verb '" + words[0] + "'";
      return false;
    }
    Command c;
    c.line = line_no;
    if (!parse_command(verb->verb, std::vector<std::string>(words.begin() + 1, words.end()), &c,
                       &why)) {
      *error = std::to_string(line_no) + ": " + why;
      return false;
    }
    commands.push_back(std::move(c));
  }
  *out = std::move(commands);
  return true;
}

// Runner ---------------------------------------------------------------------

Runner::Runner(RunOptions options) : opt_(std::move(options)), panel_(host_) {
  // The world is always there: a scenario that places nothing still flies.
  host_.set_world(&world_);
  world_.publish(host_.vars());
}

std::string Runner::where(const Command& c) const {
  return name_ + ":" + std::to_string(c.line) + ": ";
}

bool Runner::error(const Command& c, const std::string& what) {
  opt_.out->flush();
  *opt_.err << where(c) << what << "\n";
  return false;
}

int Runner::run_file(const std::string& path) {
  const auto text = platform::read_file(path);
  if (!text) {
    *opt_.err << path << ": cannot read the script\n";
    return 2;
  }
  const fs::path folder = fs::path(path).parent_path();
  return run_text(*text, path, folder.empty() ? std::string(".") : folder.string());
}

int Runner::run_text(std::string_view text, const std::string& name, const std::string& folder) {
  name_ = name;
  folder_ = folder;
  failures_ = 0;
  std::vector<Command> commands;
  std::string why;
  if (!parse_script(text, &commands, &why)) {
    *opt_.err << name_ << ":" << why << "\n";
    return 2;
  }
  bool ok = true;
  for (const Command& c : commands) {
    if (!execute(c)) {
      ok = false;
      break;
    }
  }
  if (ok && opt_.bench_frames > 0) ok = bench();
  panel_.finish();
  opt_.out->flush();
  if (!ok) return 2;
  return failures_ > 0 ? 1 : 0;
}

GaugeModel* Runner::gauge_of(const Command& c, const std::string& ref) {
  std::string why;
  GaugeModel* g = panel_.resolve(ref, &why);
  if (g == nullptr) error(c, why);
  return g;
}

bool Runner::element_of(const Command& c, const What& w, GaugeModel** gauge, std::size_t* index,
                        Axis* axis) {
  GaugeModel* g = gauge_of(c, w.gauge);
  if (g == nullptr) return false;
  *axis = Axis::kMain;
  std::size_t i = find_element(*g, w.element);
  if (i == GaugeModel::npos && !w.element.empty()) {
    // E.x, E.y, E.rot: one axis of a slider, moving image or sprite.
    static constexpr std::pair<const char*, Axis> kAxes[] = {
        {".x", Axis::kX}, {".y", Axis::kY}, {".rot", Axis::kRot}};
    for (const auto& [suffix, a] : kAxes) {
      const std::string_view s(suffix);
      if (w.element.size() > s.size() && w.element.ends_with(s)) {
        i = find_element(*g, std::string_view(w.element).substr(0, w.element.size() - s.size()));
        *axis = a;
        break;
      }
    }
  }
  if (i == GaugeModel::npos) {
    if (w.element.empty())
      return error(c, "gauge " + g->qualified() + " has no element with a value");
    return error(c, "gauge " + g->qualified() + " has no element '" + w.element + "' (" +
                        std::to_string(g->elements.size()) + " elements)");
  }
  *gauge = g;
  *index = i;
  return true;
}

bool Runner::evaluate(const Command& c, const What& w, Value* out) {
  if (w.minus) {
    What left = w;
    left.minus.reset();
    Value a, b;
    if (!evaluate(c, left, &a) || !evaluate(c, *w.minus, &b)) return false;
    if (a.kind == Value::Kind::kNone || b.kind == Value::Kind::kNone) {
      *out = Value::none();
    } else if (a.kind != Value::Kind::kNumber || b.kind != Value::Kind::kNumber) {
      return error(c, "'-' takes numbers");
    } else {
      *out = Value::of(a.number - b.number);
    }
    return true;
  }
  switch (w.kind) {
    case What::Kind::kVar:
      *out = Value::of(host_.vars().get(w.id));
      return true;
    case What::Kind::kReg: {
      const auto v = host_.names().read(w.name);
      *out = v ? Value::of(*v) : Value::none();
      return true;
    }
    case What::Kind::kNamed: {
      const auto v = host_.names().named(w.name);
      *out = v ? Value::of(*v) : Value::none();
      return true;
    }
    case What::Kind::kKey: {
      const auto v = host_.keys().last(w.id);
      *out = v ? Value::of(*v) : Value::none();
      return true;
    }
    case What::Kind::kKeys:
      *out = Value::of(static_cast<double>(host_.keys().count(w.id)));
      return true;
    case What::Kind::kWindow:
      *out = Value::of(host_.windows().open(w.id) ? 1.0 : 0.0);
      return true;
    case What::Kind::kSlot:
      *out = Value::of(slot_value(w.id));
      return true;
    case What::Kind::kWorld: {
      if (w.id == 0) {
        *out = Value::of(world_.value(*world_key(w.name)));
        return true;
      }
      const auto v = world_.leg_value(*leg_key(w.name), static_cast<int>(w.id));
      if (!v)
        return error(c, "the route has no leg " + std::to_string(w.id) + " (" +
                            std::to_string(world_.route().legs()) + " legs)");
      *out = Value::of(*v);
      return true;
    }
    case What::Kind::kCounter:
      return counter_value(c, w, out);
    case What::Kind::kElem:
    case What::Kind::kText:
    case What::Kind::kHidden:
      break;
  }
  GaugeModel* g = nullptr;
  std::size_t i = 0;
  Axis axis = Axis::kMain;
  if (!element_of(c, w, &g, &i, &axis)) return false;
  const ElementInfo& e = g->elements[i];
  if (w.kind == What::Kind::kHidden) {
    *out = Value::of(element_hidden(e) ? 1.0 : 0.0);
    return true;
  }
  const std::vector<Reading>& readings = panel_.readings(*g);
  if (w.kind == What::Kind::kText) {
    if (e.kind != frame::kString)
      return error(c, "element " + std::to_string(i) + " of " + g->qualified() + " is a " +
                          kind_name(e.kind) + ", not a string");
    *out = Value::of_text(element_text(e));
    return true;
  }
  double v = 0.0;
  if (!reading_value(readings[i], axis, &v))
    return error(c, "element " + std::to_string(i) + " of " + g->qualified() + " (" +
                        kind_name(e.kind) + ") has no such value");
  *out = Value::of(v);
  return true;
}

// A drum counter's drums are moving images FIELD_d0 (lowest) upward; the
// lowest shows the count modulo 1000, each higher one a digit (x 100) of the
// thousands upward, rolling on with the lowest at a carry. The count is the
// lowest drum's value plus the whole digits of the others. A counter split
// by sign has a FIELD_pos and a FIELD_neg counter: their difference.
bool Runner::counter_value(const Command& c, const What& w, Value* out) {
  GaugeModel* g = gauge_of(c, w.gauge);
  if (g == nullptr) return false;
  const std::vector<Reading>& readings = panel_.readings(*g);
  auto count = [&](const std::string& field, double* value) {
    double n = 0.0;
    double place = 1000.0;
    int drums = 0;
    constexpr int kMaxDrums = 8;
    for (int k = 0; k < kMaxDrums; ++k) {
      const std::size_t i = find_element(*g, field + "_d" + std::to_string(k));
      if (i == GaugeModel::npos) break;
      double v = 0.0;
      if (!reading_value(readings[i], Axis::kMain, &v) || !std::isfinite(v)) v = 0.0;
      if (k == 0) {
        n = v;
      } else {
        n += std::floor(v / 100.0) * place;
        place *= 10.0;
      }
      ++drums;
    }
    *value = n;
    return drums > 0;
  };
  double pos = 0.0, neg = 0.0;
  if (count(w.element + "_pos", &pos) && count(w.element + "_neg", &neg)) {
    *out = Value::of(pos - neg);
    return true;
  }
  double n = 0.0;
  if (!count(w.element, &n))
    return error(c, "gauge " + g->qualified() + " has no drum counter '" + w.element + "' (" +
                        w.element + "_d0, or " + w.element + "_pos_d0 and " + w.element +
                        "_neg_d0)");
  *out = Value::of(n);
  return true;
}

bool Runner::load_panel(const Command& c, const std::string& file) {
  const fs::path path = fs::path(file).is_absolute() ? fs::path(file) : fs::path(folder_) / file;
  const auto text = platform::read_file(path.string());
  if (!text) return error(c, "cannot read panel file " + path.string());
  std::vector<PanelEntry> entries;
  std::string why;
  if (!parse_panel_cfg(*text, &entries, &why)) return error(c, path.string() + ":" + why);
  for (const PanelEntry& e : entries) {
    const LoadedModule* m = panel_.module(e.module);
    if (m == nullptr) {
      // Stock gauges of the simulator are not ours to run: skip them.
      if (!fs::exists(module_file(opt_.modules_dir, e.module))) {
        opt_.out->flush();
        *opt_.err << where(c) << path.string() << ":" << e.line << ": no module " << e.module
                  << " in " << opt_.modules_dir << ", " << e.gauge << " skipped\n";
        continue;
      }
      if (!panel_.load(opt_.modules_dir, e.module, &why)) return error(c, why);
      m = panel_.module(e.module);
    }
    GaugeModel* g = panel_.find_gauge(*m, e.gauge);
    if (g == nullptr)
      return error(c, path.string() + ":" + std::to_string(e.line) + ": module " + m->name +
                          " has no gauge " + e.gauge);
    if (!panel_.place(*g, &why)) return error(c, why);
  }
  return true;
}

bool Runner::write_file(const Command& c) {
  std::string relative;
  if (!sim_relative(c.args[0], &relative))
    return error(c, "file path must lie below the simulator folder: '" + c.args[0] + "'");
  const fs::path path = fs::path(hooks::sim_root()) / relative;
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  std::string data;
  for (std::size_t i = 1; i < c.args.size(); ++i) data += c.args[i] + "\n";
  if (!platform::write_file_atomic(path.string(), data))
    return error(c, "cannot write " + path.string());
  return true;
}

bool Runner::dump(const Command& c) {
  GaugeModel* g = gauge_of(c, c.args[0]);
  if (g == nullptr) return false;
  const std::vector<Reading>& readings = panel_.readings(*g);
  std::ostream& out = *opt_.out;
  out << "dump " << g->qualified() << ": " << g->elements.size() << " elements\n";
  for (std::size_t i = 0; i < g->elements.size(); ++i) {
    const ElementInfo& e = g->elements[i];
    const Reading& r = readings[i];
    std::string values;
    static constexpr const char* kAxisNames[] = {"x=", "y=", "rot="};
    if (r.count == 1) {
      values = format_value(Value::of(r.v[0]));
    } else {
      for (std::uint32_t k = 0; k < r.count; ++k) {
        if (k > 0) values.push_back(' ');
        values.append(kAxisNames[k]).append(format_value(Value::of(r.v[k])));
      }
    }
    if (values.empty()) values.push_back('-');
    if (e.kind == frame::kIcon) values.append(" (").append(shown_picture(e, r)).append(")");
    std::string label(static_cast<std::size_t>(e.depth) * 2, ' ');
    label.append(e.label.empty() ? "-" : e.label);
    out << frame::format_string("  %3zu %-24s %-7s %-28s hidden=%d", i, label.c_str(),
                                kind_name(e.kind), values.c_str(), element_hidden(e) ? 1 : 0);
    if (e.kind == frame::kString) out << " text=\"" << element_text(e) << "\"";
    out << "\n";
  }
  return true;
}

bool Runner::bench() {
  using Clock = std::chrono::steady_clock;
  auto fail = [&](const std::string& what) {
    opt_.out->flush();
    *opt_.err << name_ << ": bench: " << what << "\n";
    return false;
  };
  std::string why;
  if (panel_.state() == Panel::State::kKilled)
    return fail("the script killed the gauges; nothing left to time");
  if (!panel_.start(&why)) return fail(why);
  const auto t0 = Clock::now();
  if (!panel_.run_frames(opt_.bench_frames, &why)) return fail(why);
  const auto t1 = Clock::now();
  const auto ms = [](std::chrono::nanoseconds ns) {
    return std::chrono::duration<double, std::milli>(ns).count();
  };
  const Panel::Timings& t = panel_.timings();
  const double per_frame_us = std::chrono::duration<double, std::micro>(t1 - t0).count() /
                              static_cast<double>(opt_.bench_frames);
  std::ostream& out = *opt_.out;
  out << frame::format_string("placements   %zu\n", panel_.placement_count());
  out << frame::format_string("load         %.3f ms\n", ms(t.load));
  out << frame::format_string("service 2    %.3f ms\n", ms(t.service2));
  out << frame::format_string("service 4    %.3f ms\n", ms(t.service4));
  out << frame::format_string("service 14   %.3f ms\n", ms(t.service14));
  out << frame::format_string("frame        %.3f us (%llu frames)\n", per_frame_us,
                              static_cast<unsigned long long>(opt_.bench_frames));
  return true;
}

bool Runner::paced_frames(const Command& c) {
  using Clock = std::chrono::steady_clock;
  constexpr double kLongestFrame = 60.0;  // seconds; slower rates are paced at this
  std::string why;
  if (c.count == 0) return panel_.run_frames(0, &why) || error(c, why);
  InterruptScope interrupt;  // Ctrl+C ends the run through its usual cleanup
  const auto period = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(std::min(1.0 / host_.time().fps(), kLongestFrame)));
  auto next = Clock::now();
  for (std::uint64_t k = 0; k < c.count; ++k) {
    if (!panel_.run_frames(1, &why)) return error(c, why);
    next += period;
    // More than a frame behind (slow gauges): go on from now, no burst.
    const auto now = Clock::now();
    if (now > next + period) next = now;
    if (!sleep_until(next)) return error(c, "interrupted");
  }
  return true;
}

bool Runner::world_command(const Command& c) {
  std::string why;
  switch (c.verb) {
    case Verb::kAircraft: {
      std::vector<Setting> settings;
      if (!parse_aircraft(c.args, &settings, &why)) return error(c, why);
      world_.set_aircraft(settings);
      break;
    }
    case Verb::kFly: {
      FlyTargets targets;
      if (!parse_fly(c.args, &targets, &why)) return error(c, why);
      world_.fly(targets);
      break;
    }
    case Verb::kStation: {
      Station station;
      if (!parse_station(c.args, &station, &why)) return error(c, why);
      world_.add_station(std::move(station));
      break;
    }
    case Verb::kAtmosphere: {
      AtmosphereSettings settings;
      if (!parse_atmosphere(c.args, &settings, &why)) return error(c, why);
      world_.set_atmosphere(settings);
      break;
    }
    case Verb::kEvent:
      // Straight to the world: the key log keeps what the modules send.
      world_.on_key_event(c.id, static_cast<std::uint32_t>(c.number), host_.vars());
      break;
    case Verb::kRoute: {
      Route route;
      if (!parse_route(c.args, &route, &why)) return error(c, why);
      world_.set_route(std::move(route));
      break;
    }
    default:
      return error(c, "not a world command");
  }
  world_.publish(host_.vars());
  return true;
}

bool Runner::execute(const Command& c) {
  std::string why;
  // Only print, dump and expect leave the readings as the last frame left them.
  if (c.verb != Verb::kPrint && c.verb != Verb::kDump && c.verb != Verb::kExpect &&
      c.verb != Verb::kEcho)
    panel_.invalidate();
  switch (c.verb) {
    case Verb::kModule:
      if (!panel_.load(opt_.modules_dir, c.args[0], &why)) return error(c, why);
      return true;
    case Verb::kPlace:
      // A gauge placed after the start runs 2, 4 and 14 at once.
      if (panel_.state() == Panel::State::kStarted) host_.keys().begin();
      for (const std::string& ref : c.args) {
        GaugeModel* g = gauge_of(c, ref);
        if (g == nullptr) return false;
        if (!panel_.place(*g, &why)) return error(c, why);
      }
      return true;
    case Verb::kPanel:
      if (panel_.state() == Panel::State::kStarted) host_.keys().begin();
      return load_panel(c, c.args[0]);
    case Verb::kFps:
      host_.time().set_fps(c.number);
      return true;
    case Verb::kPause:
      host_.time().set_paused(c.flag);
      return true;
    case Verb::kSimrate:
      host_.vars().hold(var::kSimRate, c.number);
      return true;
    case Verb::kVar:
      host_.vars().hold(c.id, c.number);
      return true;
    case Verb::kFree:
      host_.vars().release(c.id);
      return true;
    case Verb::kPublish:
      host_.names().publish(c.args[0], c.id, c.number);
      return true;
    case Verb::kUnpublish:
      host_.names().unregister_var(c.args[0]);
      return true;
    case Verb::kNamed:
      host_.names().set_named(host_.names().register_named(c.args[0]), c.number);
      return true;
    case Verb::kFile:
      return write_file(c);
    case Verb::kFrames:
      host_.keys().begin();
      if (realtime_) return paced_frames(c);
      if (!panel_.run_frames(c.count, &why)) return error(c, why);
      return true;
    case Verb::kClick: {
      GaugeModel* g = gauge_of(c, c.args[0]);
      if (g == nullptr) return false;
      if (!panel_.placed(*g)) return error(c, "gauge " + g->qualified() + " is not placed");
      const std::size_t a = find_area(*g, c.area);
      if (a == GaugeModel::npos) {
        if (c.area.empty()) return error(c, "gauge " + g->qualified() + " has no mouse area");
        return error(c, "gauge " + g->qualified() + " has no area '" + c.area + "' (" +
                            std::to_string(g->areas.size()) + " areas)");
      }
      host_.keys().begin();
      if (!panel_.click(g->areas[a], c.button, c.count, &why)) return error(c, why);
      return true;
    }
    case Verb::kAttach: {
      GaugeModel* g = nullptr;
      if (c.args[0] != "all") {
        g = gauge_of(c, c.args[0]);
        if (g == nullptr) return false;
        if (!panel_.placed(*g)) return error(c, "gauge " + g->qualified() + " is not placed");
      }
      host_.keys().begin();
      if (!panel_.attach(g, &why)) return error(c, why);
      return true;
    }
    case Verb::kKill:
      host_.keys().begin();
      panel_.kill();
      return true;
    case Verb::kPrint: {
      Value v;
      if (!evaluate(c, c.what, &v)) return false;
      *opt_.out << c.what.text << " = " << format_value(v) << slot_note(c.what) << "\n";
      return true;
    }
    case Verb::kDump:
      return dump(c);
    case Verb::kEcho: {
      std::string line;
      for (const std::string& a : c.args) line += (line.empty() ? "" : " ") + a;
      *opt_.out << line << "\n";
      return true;
    }
    case Verb::kRealtime:
      realtime_ = c.flag;
      return true;
    case Verb::kAircraft:
    case Verb::kFly:
    case Verb::kStation:
    case Verb::kAtmosphere:
    case Verb::kEvent:
    case Verb::kRoute:
      return world_command(c);
    case Verb::kResume:
      host_.time().set_paused(false);
      return true;
    case Verb::kSeconds: {
      // Frames of real time at the current rate; like frames N otherwise.
      Command f = c;
      f.count = static_cast<std::uint64_t>(std::min(
          static_cast<std::int64_t>(std::llround(c.number * host_.time().fps())), kMaxFrames));
      host_.keys().begin();
      if (realtime_) return paced_frames(f);
      if (!panel_.run_frames(f.count, &why)) return error(c, why);
      return true;
    }
    case Verb::kExpect: {
      Value v;
      if (!evaluate(c, c.what, &v)) return false;
      if (!compare(v, c.op, c.expected, c.tolerance)) {
        ++failures_;
        opt_.out->flush();
        *opt_.err << where(c) << "expect FAILED: " << c.what.text << " " << op_text(c.op) << " "
                  << c.expected_text << " (seen " << format_value(v) << ")\n";
      }
      return true;
    }
  }
  return true;
}

}  // namespace host
