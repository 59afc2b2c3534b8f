#include "host/services.h"

#include <string_view>

#include "host/hooks.h"

namespace host {
namespace {

Host* g_host = nullptr;

// Names from a module are C strings of unknown origin: bound their length.
constexpr std::size_t kMaxName = 256;
std::string_view name_of(const char* s) {
  if (s == nullptr) return {};
  std::size_t n = 0;
  while (n < kMaxName && s[n] != '\0') ++n;
  return std::string_view(s, n);
}

template <ListService S>
void GAU_CALL list_service(frame::ElementHeader*, frame::u32) {
  if (g_host) g_host->count_list_call(S);
}

void GAU_CALL window_toggle(frame::u32 id) {
  if (g_host) g_host->windows().toggle(id);
}

void GAU_CALL trigger_key(frame::u32 id, frame::u32 value) {
  if (g_host) g_host->key_event(id, value);
}

void GAU_CALL register_var(void* storage, frame::u32 type, const char* name) {
  if (g_host) g_host->names().register_var(name_of(name), storage, type);
}

void GAU_CALL initialize_var(frame::ModuleVar* record, const char* name) {
  if (g_host && name) g_host->names().bind(record, name_of(name));
}

void GAU_CALL lookup_var(frame::ModuleVar* record) {
  if (g_host) g_host->lookup(record);
}

void GAU_CALL unregister_var(const char* name) {
  if (g_host && name) g_host->names().unregister_var(name_of(name));
}

frame::i32 GAU_CALL check_named(const char* name) {
  if (!g_host || !name) return -1;
  return g_host->names().check_named(name_of(name));
}

frame::i32 GAU_CALL register_named(const char* name) {
  if (!g_host || !name || !*name) return -1;
  return g_host->names().register_named(name_of(name));
}

void GAU_CALL set_named(frame::i32 id, double value) {
  if (g_host) g_host->names().set_named(id, value);
}

frame::i32 GAU_CALL get_units(const char* name) { return units_enum(name); }

double GAU_CALL varget(frame::i32 code, frame::i32 unit, frame::i32 index) {
  return g_host ? g_host->aircraft_var(code, unit, index) : 0.0;
}

constexpr frame::PanelServices kTable{
    list_service<kListQuery>,
    list_service<kListInstall>,
    list_service<kListInitialize>,
    list_service<kListUpdate>,
    list_service<kListGenerate>,
    list_service<kListPlot>,
    list_service<kListKill>,
    window_toggle,
    trigger_key,
    register_var,
    initialize_var,
    lookup_var,
    unregister_var,
    check_named,
    register_named,
    set_named,
    get_units,
    varget,
};

struct UnitName {
  const char* name;
  std::int32_t code;
};
// The host's own numbering; modules only pass the codes back.
constexpr UnitName kUnits[] = {
    {"number", 1},   {"radian", 2},  {"Frequency BCD16", 3}, {"degrees", 4},
    {"feet", 5},     {"meters", 6},  {"knots", 7},           {"bool", 8},
    {"percent", 9},  {"volts", 10},  {"seconds", 11},        {"feet per second", 12},
    {"millibars", 13}, {"inches of mercury", 14}, {"celsius", 15}, {"position", 16},
};

}  // namespace

std::int32_t units_enum(const char* name) {
  if (name == nullptr) return 0;
  const std::string_view n = name_of(name);
  for (const UnitName& u : kUnits)
    if (n == u.name) return u.code;
  return 0;
}

Host::Host() {
  time_.publish(vars_);
  make_current();
}

Host::~Host() {
  if (g_host == this) {
    g_host = nullptr;
    hooks::set_clock(nullptr);
  }
}

const frame::PanelServices* Host::services() { return &kTable; }
Host* Host::current() { return g_host; }

void Host::make_current() {
  g_host = this;
  hooks::set_clock(&time_);
}

void Host::step() {
  const TimeModel::Step s = time_.advance(vars_);
  if (world_) world_->step(s.real_dt, s.sim_dt, vars_);
}

void Host::key_event(std::uint32_t id, std::uint32_t value) {
  keys_.add(time_.frames(), id, value);
  if (world_) world_->on_key_event(id, value, vars_);
}

void Host::lookup(frame::ModuleVar* record) const {
  if (record == nullptr) return;
  double v = 0.0;
  if (record->id != 0)
    v = vars_.get(record->id);
  else if (record->ptr != nullptr)
    v = read_storage(record->ptr, record->type);
  record->prev = record->value;
  record->value = v;
}

double Host::aircraft_var(std::int32_t code, std::int32_t unit, std::int32_t index) {
  if (world_) {
    if (auto v = world_->aircraft_var(code, unit, index)) return *v;
  }
  return 0.0;
}

}  // namespace host
