// The simulator folder, the counter and the name suffix: the host's optional
// exports when it has them (platform/hooks.h), else the operating system's.
#include <algorithm>
#include <string>

#include "platform/hooks.h"
#include "platform/os.h"
#include "platform/platform.h"

namespace platform {
namespace {

// The optional host hooks, looked up once. A counter without its frequency
// (or the reverse) is useless, so the pair is taken only together.
struct Hooks {
  gaugehost_sim_root_fn sim_root = nullptr;
  gaugehost_perf_counter_fn perf_counter = nullptr;
  gaugehost_perf_frequency_fn perf_frequency = nullptr;
  gaugehost_name_suffix_fn name_suffix = nullptr;
};

template <class Fn>
Fn hook(const char* name) {
  return reinterpret_cast<Fn>(host_symbol(name));
}

const Hooks& hooks() {
  static const Hooks h = [] {
    Hooks found;
    found.sim_root = hook<gaugehost_sim_root_fn>(GAUGEHOST_SIM_ROOT);
    found.perf_counter = hook<gaugehost_perf_counter_fn>(GAUGEHOST_PERF_COUNTER);
    found.perf_frequency = hook<gaugehost_perf_frequency_fn>(GAUGEHOST_PERF_FREQUENCY);
    if (found.perf_counter == nullptr || found.perf_frequency == nullptr) {
      found.perf_counter = nullptr;
      found.perf_frequency = nullptr;
    }
    found.name_suffix = hook<gaugehost_name_suffix_fn>(GAUGEHOST_NAME_SUFFIX);
    return found;
  }();
  return h;
}

bool is_separator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string sim_root() {
  std::string root;
  if (hooks().sim_root != nullptr) {
    if (const char* r = hooks().sim_root(); r != nullptr) root = r;
  }
  if (root.empty()) {
    static const std::string exe_folder = os::executable_folder();
    root = exe_folder;
  }
  if (!is_separator(root.back())) root.push_back(os::separator());
  return root;
}

std::int64_t perf_counter() {
  if (hooks().perf_counter != nullptr) return hooks().perf_counter();
  return os::counter();
}

std::int64_t perf_frequency() {
  // Callers divide by it: never let a broken host give them zero.
  if (hooks().perf_frequency != nullptr) return std::max<std::int64_t>(hooks().perf_frequency(), 1);
  return os::frequency();
}

std::string name_suffix() {
  if (hooks().name_suffix != nullptr) {
    if (const char* s = hooks().name_suffix(); s != nullptr) return s;
  }
  return {};
}

}  // namespace platform
