// Values exchanged by name through the host.
//
// Registered names: a gauge publishes its own storage under names at service
// 2 and withdraws them at service 12 (NameOwner). The type code describes the
// storage: 0x21 a double, 0x22 and 0x14 a 32-bit int.
//
// Bound names: a gauge binds module-variable records to names other modules
// publish at service 4 (BoundNames), and may retry the unbound ones later.
// The host keeps a bound record's ptr at the publisher's storage and nulls it
// when the name is withdrawn, so every read goes through read_double /
// read_int, which fall back to the reader's own value while ptr is null.
// At service 12 a reader only forgets its bindings: names other modules
// published are theirs to withdraw.
//
// Host named variables: NamedVar keeps the id of one name, -1 until it was
// looked up.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "frame/host.h"

namespace frame {

static_assert(sizeof(int) == 4, "0x22 and 0x14 names are 32-bit int storage");

// One name a gauge registers, with the storage it owns.
struct OwnedName {
  const char* name;
  u32 type;
  void* storage;
};

// 0x21 over a double.
inline OwnedName owned_double(const char* name, double& storage) {
  return OwnedName{name, kVarDouble, &storage};
}
// 0x22 over an int. A 0x22 name whose value is a 0.0/1.0 flag (the gyro
// failure flags PP_TKS_GA_1_OTKAZ and PP_TKS_GA_2_OTKAZ) is stored as an int
// 0/1 too, so that a reader going by the code reads the right value.
inline OwnedName owned_flag(const char* name, int& storage) {
  return OwnedName{name, kVarFlag, &storage};
}
// 0x14 over an int.
inline OwnedName owned_int(const char* name, int& storage) {
  return OwnedName{name, kVarInt, &storage};
}

// The names one gauge registers.
class NameOwner {
 public:
  NameOwner(std::initializer_list<OwnedName> names) : names_(names) {}

  // Service 2: registers every name (again, when called twice).
  void register_all();
  // Service 12: withdraws these names, only if this owner registered them;
  // a second call, or one before register_all, does nothing.
  void unregister_all();
  bool registered() const { return registered_; }
  std::span<const OwnedName> names() const { return names_; }

 private:
  std::vector<OwnedName> names_;
  bool registered_ = false;
};

// A module-variable record bound by name. Lives as long as the module: the
// host keeps its address.
struct BoundVar {
  const char* name;
  ModuleVar var{0, nullptr, 0, 0.0, 0.0};
  bool bound() const { return var.ptr != nullptr; }
};

// The names one gauge binds.
class BoundNames {
 public:
  BoundNames(std::initializer_list<BoundVar*> vars) : vars_(vars) {}

  // Service 4: binds every record.
  void bind_all();
  // Binds again the records whose ptr is still (or again) null, for readers
  // that retry every frame.
  void retry_unbound();
  // Service 12: clears the records' pointers; withdraws nothing.
  void unbind_all();
  bool all_bound() const;

 private:
  std::vector<BoundVar*> vars_;
};

// The bound value read as its type code says; `fallback` while unbound, for
// an unknown type code, and for a double that is not finite. read_int takes
// a double through the checked conversion.
double read_double(const BoundVar& v, double fallback);
std::int32_t read_int(const BoundVar& v, std::int32_t fallback);

// A host named variable.
struct NamedVar {
  const char* name;
  i32 id = -1;

  // Looks the name up and registers it when absent; keeps and returns the id
  // (-1 while the host gives none).
  i32 ensure();
  // Sends v, looking the name up first while the id is -1. False when there
  // is still no id (nothing was sent).
  bool set(double v);
};

}  // namespace frame
