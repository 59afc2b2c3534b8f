#include "host/xchg.h"

#include <charconv>
#include <chrono>
#include <memory>
#include <ostream>
#include <thread>

#include "frame/exchanger_protocol.h"
#include "host/interrupt.h"
#include "host/lexer.h"
#include "platform/platform.h"

namespace host::xchg {
namespace {

namespace proto = frame::xchg;
using Clock = std::chrono::steady_clock;

constexpr int kDone = 0;
constexpr int kRefused = 1;  // busy guard, absent block
constexpr int kUsageError = 2;

// A reader or writer may wait a moment for a guard: the module holds one
// only while it stores a value. (The module itself never waits.)
constexpr auto kTakeFor = std::chrono::milliseconds(10);
// --watch without --count stops after an hour of rounds.
constexpr std::int64_t kWatchRounds = 3600;
constexpr std::int64_t kMaxCount = 1'000'000;
constexpr double kMaxHoldSeconds = 86400.0;

const char* const kUsage =
    "usage: gaugehost xchg dump [--watch] [--count N]\n"
    "       gaugehost xchg read N\n"
    "       gaugehost xchg write N VALUE\n"
    "       gaugehost xchg hold N SECONDS\n"
    "       gaugehost xchg reset\n"
    "       gaugehost xchg remove\n"
    "Slots 0..117 (0..115 guarded, for write and hold). Names end in\n"
    "$GAUGEHOST_NAME_SUFFIX (nothing when unset).\n";

struct CloseBlock {
  void operator()(platform::SharedBlock* b) const { platform::close_shared_block(b); }
};
struct CloseGuard {
  void operator()(platform::NamedGuard* g) const { platform::close_guard(g); }
};
using BlockPtr = std::unique_ptr<platform::SharedBlock, CloseBlock>;
using GuardPtr = std::unique_ptr<platform::NamedGuard, CloseGuard>;

std::string env_suffix() { return platform::env(kSuffixVariable).value_or(""); }

// The shortest text that reads back as the same double.
std::string number_text(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("?");
}

// Takes the guard without blocking, trying again until kTakeFor has passed.
bool take(platform::NamedGuard* g) {
  if (g == nullptr) return false;
  const auto until = Clock::now() + kTakeFor;
  for (;;) {
    if (platform::guard_try_take(g)) return true;
    if (Clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// Slot n copied under its guard (slots 116 and 117 have none); nullopt when
// the guard stays held or could not be opened.
std::optional<double> copy_slot(const void* block, int n, const std::string& suffix) {
  if (!proto::is_guarded_slot(n)) return proto::load_slot(block, n);
  GuardPtr g(platform::open_guard(proto::guard_name(n, suffix)));
  if (!take(g.get())) return std::nullopt;
  const double v = proto::load_slot(block, n);
  platform::guard_release(g.get());
  return v;
}

std::ostream& fail(std::ostream& err) { return err << "gaugehost xchg: "; }

int usage(std::ostream& err, const std::string& why) {
  fail(err) << why << "\n" << kUsage;
  return kUsageError;
}

// One round of dump: "SLOT VALUE", or "SLOT busy" for a slot whose guard
// stayed held. False when interrupted midway.
bool print_slots(const void* block, const std::string& suffix, std::ostream& out) {
  for (int n = 0; n < proto::kSlots; ++n) {
    if (InterruptScope::raised()) return false;
    const auto v = copy_slot(block, n, suffix);
    out << n << ' ' << (v ? number_text(*v) : std::string("busy")) << '\n';
  }
  return true;
}

int dump(bool watch, std::int64_t rounds, std::ostream& out, std::ostream& err) {
  const std::string suffix = env_suffix();
  const std::string name = proto::block_name(suffix);
  InterruptScope interrupt;  // never die between taking a guard and releasing it
  bool seen = false;
  auto next = Clock::now();
  for (std::int64_t round = 0; round < rounds; ++round) {
    if (round > 0) {
      next += std::chrono::seconds(1);
      if (!sleep_until(next)) break;
      out << '\n';
    }
    // Opened afresh every round, so a block removed and made anew is seen.
    BlockPtr block(platform::open_existing_block(name, proto::kBlockBytes));
    if (!block) {
      if (!watch) {
        fail(err) << "no block " << name << "\n";
        return kRefused;
      }
      out << "no block " << name << "\n";
    } else {
      seen = true;
      if (!print_slots(platform::block_address(block.get()), suffix, out)) break;
    }
    out.flush();
  }
  out.flush();
  return seen ? kDone : kRefused;
}

int read(int n, std::ostream& out, std::ostream& err) {
  const std::string suffix = env_suffix();
  const std::string name = proto::block_name(suffix);
  BlockPtr block(platform::open_existing_block(name, proto::kBlockBytes));
  if (!block) {
    fail(err) << "no block " << name << "\n";
    return kRefused;
  }
  const auto v = copy_slot(platform::block_address(block.get()), n, suffix);
  if (!v) {
    fail(err) << "slot " << n << " busy: its guard is held\n";
    return kRefused;
  }
  out << number_text(*v) << "\n";
  return kDone;
}

int write(int n, double v, std::ostream& err) {
  const std::string suffix = env_suffix();
  const std::string name = proto::block_name(suffix);
  // Made zero-filled when it does not exist yet, as any opener does.
  BlockPtr block(platform::open_shared_block(name, proto::kBlockBytes, nullptr));
  if (!block) {
    fail(err) << "cannot open or create block " << name << "\n";
    return kUsageError;
  }
  GuardPtr g(platform::open_guard(proto::guard_name(n, suffix)));
  if (!g) {
    fail(err) << "cannot open or create guard " << proto::guard_name(n, suffix) << "\n";
    return kUsageError;
  }
  if (!take(g.get())) {
    fail(err) << "slot " << n << " busy: its guard is held\n";
    return kRefused;
  }
  proto::store_slot(platform::block_address(block.get()), n, v);
  platform::guard_release(g.get());
  return kDone;
}

int hold(int n, double seconds, std::ostream& out, std::ostream& err) {
  const std::string name = proto::guard_name(n, env_suffix());
  GuardPtr g(platform::open_guard(name));
  if (!g) {
    fail(err) << "cannot open or create guard " << name << "\n";
    return kUsageError;
  }
  InterruptScope interrupt;  // an interrupted hold still releases
  if (!take(g.get())) {
    fail(err) << "guard " << n << " is held by somebody else\n";
    return kRefused;
  }
  out << "holding guard " << n << " for " << number_text(seconds) << " s" << std::endl;
  const auto span =
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  const bool full = sleep_until(Clock::now() + span);
  platform::guard_release(g.get());
  out << (full ? "released guard " : "interrupted; released guard ") << n << std::endl;
  return kDone;
}

int reset(std::ostream& out) {
  const std::string suffix = env_suffix();
  int released = 0;
  for (int n = 0; n < proto::kGuardedSlots; ++n) {
    GuardPtr g(platform::open_existing_guard(proto::guard_name(n, suffix)));
    if (g && !platform::guard_is_free(g.get())) {
      platform::guard_release(g.get());
      ++released;
    }
  }
  out << "released " << released << (released == 1 ? " guard\n" : " guards\n");
  return kDone;
}

std::optional<int> slot_arg(const std::string& word, int last) {
  const auto v = parse_integer(word, 0, last);
  if (!v) return std::nullopt;
  return static_cast<int>(*v);
}

}  // namespace

std::optional<double> peek_slot(const std::string& suffix, int n) {
  if (!proto::is_slot(n)) return std::nullopt;
  BlockPtr block(platform::open_existing_block(proto::block_name(suffix), proto::kBlockBytes));
  if (!block) return std::nullopt;
  return proto::load_slot(platform::block_address(block.get()), n);
}

int remove_objects(const std::string& suffix) {
  int removed = platform::remove_shared_block(proto::block_name(suffix)) ? 1 : 0;
  for (int n = 0; n < proto::kGuardedSlots; ++n)
    if (platform::remove_guard(proto::guard_name(n, suffix))) ++removed;
  return removed;
}

int command(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return usage(err, "no xchg command");
  const std::string& verb = args[0];
  const std::size_t n = args.size() - 1;
  const int last_slot = proto::kSlots - 1;
  const int last_guarded = proto::kGuardedSlots - 1;

  if (verb == "help" || verb == "--help" || verb == "-h") {
    out << kUsage;
    return kDone;
  }
  if (verb == "dump") {
    bool watch = false;
    std::int64_t count = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "--watch") {
        watch = true;
      } else if (args[i] == "--count" && i + 1 < args.size()) {
        const auto c = parse_integer(args[++i], 1, kMaxCount);
        if (!c) return usage(err, "bad count '" + args[i] + "'");
        count = *c;
        watch = true;
      } else {
        return usage(err, "dump takes [--watch] [--count N], not '" + args[i] + "'");
      }
    }
    return dump(watch, watch ? (count > 0 ? count : kWatchRounds) : 1, out, err);
  }
  if (verb == "read") {
    if (n != 1) return usage(err, "read takes N");
    const auto slot = slot_arg(args[1], last_slot);
    if (!slot) return usage(err, "bad slot '" + args[1] + "' (0..117)");
    return read(*slot, out, err);
  }
  if (verb == "write") {
    if (n != 2) return usage(err, "write takes N VALUE");
    const auto slot = slot_arg(args[1], last_guarded);
    if (!slot) return usage(err, "bad slot '" + args[1] + "' (0..115 have guards)");
    const auto v = parse_number(args[2]);
    if (!v) return usage(err, "bad value '" + args[2] + "'");
    return write(*slot, *v, err);
  }
  if (verb == "hold") {
    if (n != 2) return usage(err, "hold takes N SECONDS");
    const auto slot = slot_arg(args[1], last_guarded);
    if (!slot) return usage(err, "bad slot '" + args[1] + "' (0..115 have guards)");
    const auto s = parse_number(args[2]);
    if (!s || *s < 0.0 || *s > kMaxHoldSeconds)
      return usage(err, "bad time '" + args[2] + "' (0..86400 seconds)");
    return hold(*slot, *s, out, err);
  }
  if (verb == "reset" || verb == "remove") {
    if (n != 0) return usage(err, verb + " takes nothing");
    if (verb == "reset") return reset(out);
    const int removed = remove_objects(env_suffix());
    out << "removed " << removed << (removed == 1 ? " object\n" : " objects\n");
    return kDone;
  }
  return usage(err, "unknown xchg command '" + verb + "'");
}

}  // namespace host::xchg
