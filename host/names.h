// Variables exchanged by name: registered variables (a module's storage
// under a name, with a type code), the module-variable records bound to
// such names, and the host's named variables.
//
// A binding stays empty (ptr null) until someone registers its name, and is
// emptied again when the name is withdrawn, so a reader that checks ptr
// never reads storage that is gone.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/host.h"

namespace host {

class Names {
 public:
  // register_var_by_name: `storage` stays the registrant's. Registering a
  // name again replaces its storage and type. Null storage or name: ignored.
  void register_var(std::string_view name, void* storage, std::uint32_t type);
  // unregister_var_by_name: withdraws the name and empties its bindings.
  void unregister_var(std::string_view name);
  // initialize_var_by_name: binds `record` (again, if it was bound before)
  // and fills ptr and type when the name is registered.
  void bind(frame::ModuleVar* record, std::string_view name);

  // Registers `name` as another module would, with host-owned storage that
  // keeps its address for the host's lifetime. Again: updates it in place.
  // Types 0x22 and 0x14 store a 32-bit integer, 0x21 a double.
  void publish(std::string_view name, std::uint32_t type, double value);

  bool registered(std::string_view name) const;
  // The registered value read as its type says (0x21 double, others int32);
  // nullopt when the name is not registered.
  std::optional<double> read(std::string_view name) const;
  std::size_t binding_count() const { return bindings_.size(); }

  // Host named variables: ids from 0 in order of registration.
  std::int32_t check_named(std::string_view name) const;  // -1 when absent
  std::int32_t register_named(std::string_view name);     // idempotent
  void set_named(std::int32_t id, double value);           // bad id: ignored
  std::optional<double> named(std::string_view name) const;

  // Drops every registration and binding (before modules are unloaded).
  void forget_modules();

 private:
  struct Registered {
    std::string name;
    void* storage;
    std::uint32_t type;
  };
  struct Binding {
    frame::ModuleVar* record;
    std::string name;
  };
  // Storage of a published name, large enough for either type so that a
  // reader that takes a 0x22 name as a double stays inside it.
  union Cell {
    double d;
    std::int32_t i;
  };
  struct Published {
    std::string name;
    Cell cell;
  };
  struct Named {
    std::string name;
    double value;
  };

  Registered* find(std::string_view name);
  const Registered* find(std::string_view name) const;
  void fill_bindings(std::string_view name, void* storage, std::uint32_t type);

  std::vector<Registered> registered_;
  std::vector<Binding> bindings_;
  std::deque<Published> published_;  // deque: cell addresses stay put
  std::vector<Named> named_;
};

// Reads storage of a registered type: 0x21 as a double, anything else as a
// 32-bit integer. Null storage reads 0.
double read_storage(const void* storage, std::uint32_t type);

}  // namespace host
