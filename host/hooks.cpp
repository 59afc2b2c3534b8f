#include "host/hooks.h"

#include <cstdint>
#include <type_traits>

#include "host/labels.h"
#include "host/time_model.h"
#include "platform/hooks.h"

namespace host::hooks {
namespace {

struct State {
  std::string sim_root;
  std::string name_suffix;
  const TimeModel* clock = nullptr;
};

State& state() {
  static State s;
  return s;
}

}  // namespace

void set_sim_root(const std::string& folder) {
  std::string root = folder;
  if (root.empty() || root.back() != '/') root.push_back('/');
  state().sim_root = std::move(root);
}

const std::string& sim_root() { return state().sim_root; }

void set_clock(const TimeModel* clock) { state().clock = clock; }

const TimeModel* clock() { return state().clock; }

void set_name_suffix(const std::string& suffix) { state().name_suffix = suffix; }

const std::string& name_suffix() { return state().name_suffix; }

}  // namespace host::hooks

#define GAUGEHOST_EXPORT __attribute__((visibility("default")))

extern "C" {

GAUGEHOST_EXPORT const char* gaugehost_sim_root() {
  const std::string& root = host::hooks::sim_root();
  return root.empty() ? nullptr : root.c_str();
}

GAUGEHOST_EXPORT std::int64_t gaugehost_perf_counter() {
  const host::TimeModel* clock = host::hooks::clock();
  return clock != nullptr ? clock->counter() : 0;
}

GAUGEHOST_EXPORT std::int64_t gaugehost_perf_frequency() { return host::TimeModel::kFrequency; }

GAUGEHOST_EXPORT const char* gaugehost_name_suffix() {
  return host::hooks::name_suffix().c_str();
}

GAUGEHOST_EXPORT void gaugehost_describe(const void* record, const char* label,
                                         const char* meaning) {
  host::remember_label(record, label, meaning);
}

}  // extern "C"

// The exported functions must match the types the modules call them by.
static_assert(std::is_same_v<decltype(&gaugehost_sim_root), gaugehost_sim_root_fn>);
static_assert(std::is_same_v<decltype(&gaugehost_perf_counter), gaugehost_perf_counter_fn>);
static_assert(std::is_same_v<decltype(&gaugehost_perf_frequency), gaugehost_perf_frequency_fn>);
static_assert(std::is_same_v<decltype(&gaugehost_name_suffix), gaugehost_name_suffix_fn>);
static_assert(std::is_same_v<decltype(&gaugehost_describe), gaugehost_describe_fn>);
