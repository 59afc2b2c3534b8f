// A stand-in for the host's name services, strict where the simulator is: a
// binding is filled only if the name is registered when the record is bound,
// and emptied when the name is withdrawn. Counts the calls it gets.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "frame/host.h"

namespace frame::testing {

class FakeHost {
 public:
  struct Registered {
    std::string name;
    void* storage;
    u32 type;
  };
  struct Binding {
    ModuleVar* record;
    std::string name;
  };
  struct Named {
    std::string name;
    double value;
  };

  FakeHost() {
    current() = this;
    table_.register_var_by_name = &s_register;
    table_.initialize_var_by_name = &s_bind;
    table_.unregister_var_by_name = &s_unregister;
    table_.check_named_variable = &s_check;
    table_.register_named_variable = &s_register_named;
    table_.set_named_variable_value = &s_set_named;
  }
  ~FakeHost() {
    if (current() == this) current() = nullptr;
  }
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  // The service table to hand to a module (entries left null get the
  // frame's stand-ins).
  PanelServices* table() { return &table_; }

  // Another module's registration.
  void publish(const std::string& name, void* storage, u32 type) { reg(storage, type, name); }

  bool registered(const std::string& name) const { return find(name) != nullptr; }
  const Registered* find(const std::string& name) const {
    for (const Registered& r : registered_)
      if (r.name == name) return &r;
    return nullptr;
  }
  // Value of a host named variable; NaN when absent.
  double named(const std::string& name) const {
    for (const Named& n : named_)
      if (n.name == name) return n.value;
    return std::nan("");
  }
  bool has_named(const std::string& name) const { return find_named(name) >= 0; }
  // A named variable the host already has (as another gauge made it).
  std::int32_t add_named(const std::string& name, double value) {
    named_.push_back(Named{name, value});
    return static_cast<std::int32_t>(named_.size() - 1);
  }

  // While set, the host gives no ids (check and register return -1).
  bool refuse_named = false;

  int unregister_calls = 0;
  int check_calls = 0;
  int register_named_calls = 0;
  int set_calls = 0;

 private:
  static FakeHost*& current() {
    static FakeHost* h = nullptr;
    return h;
  }

  void reg(void* storage, u32 type, const std::string& name) {
    std::erase_if(registered_, [&](const Registered& r) { return r.name == name; });
    registered_.push_back(Registered{name, storage, type});
  }
  void unreg(const std::string& name) {
    ++unregister_calls;
    std::erase_if(registered_, [&](const Registered& r) { return r.name == name; });
    for (Binding& b : bindings_)
      if (b.name == name) b.record->ptr = nullptr;
  }
  void bind(ModuleVar* rec, const std::string& name) {
    std::erase_if(bindings_, [&](const Binding& b) { return b.record == rec; });
    bindings_.push_back(Binding{rec, name});
    const Registered* r = find(name);
    rec->ptr = r ? r->storage : nullptr;
    if (r) rec->type = r->type;
  }
  std::int32_t find_named(const std::string& name) const {
    for (std::size_t i = 0; i < named_.size(); ++i)
      if (named_[i].name == name) return static_cast<std::int32_t>(i);
    return -1;
  }
  std::int32_t check(const std::string& name) {
    ++check_calls;
    return refuse_named ? -1 : find_named(name);
  }
  std::int32_t register_named(const std::string& name) {
    ++register_named_calls;
    if (refuse_named) return -1;
    const std::int32_t id = find_named(name);
    return id >= 0 ? id : add_named(name, 0.0);
  }
  void set_named(std::int32_t id, double v) {
    ++set_calls;
    if (id >= 0 && static_cast<std::size_t>(id) < named_.size())
      named_[static_cast<std::size_t>(id)].value = v;
  }

  static void GAU_CALL s_register(void* storage, u32 type, const char* name) {
    if (current() && name && storage) current()->reg(storage, type, name);
  }
  static void GAU_CALL s_bind(ModuleVar* rec, const char* name) {
    if (current() && rec && name) current()->bind(rec, name);
  }
  static void GAU_CALL s_unregister(const char* name) {
    if (current() && name) current()->unreg(name);
  }
  static i32 GAU_CALL s_check(const char* name) {
    return current() && name ? current()->check(name) : -1;
  }
  static i32 GAU_CALL s_register_named(const char* name) {
    return current() && name ? current()->register_named(name) : -1;
  }
  static void GAU_CALL s_set_named(i32 id, double v) {
    if (current()) current()->set_named(id, v);
  }

  PanelServices table_{};
  std::vector<Registered> registered_;
  std::vector<Binding> bindings_;
  std::vector<Named> named_;
};

}  // namespace frame::testing
