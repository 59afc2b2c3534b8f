#include "frame/names.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/builder.h"
#include "frame/numeric.h"

namespace frame {

void NameOwner::register_all() {
  for (const OwnedName& n : names_)
    if (n.name != nullptr && n.storage != nullptr)
      host().register_var_by_name(n.storage, n.type, n.name);
  registered_ = true;
}

void NameOwner::unregister_all() {
  if (!registered_) return;
  for (const OwnedName& n : names_)
    if (n.name != nullptr) host().unregister_var_by_name(n.name);
  registered_ = false;
}

namespace {
void bind(BoundVar& v) {
  if (v.name == nullptr) return;
  v.var.id = 0;
  host().initialize_var_by_name(&v.var, v.name);
}
}  // namespace

void BoundNames::bind_all() {
  for (BoundVar* v : vars_)
    if (v != nullptr) bind(*v);
}

void BoundNames::retry_unbound() {
  for (BoundVar* v : vars_)
    if (v != nullptr && !v->bound()) bind(*v);
}

void BoundNames::unbind_all() {
  for (BoundVar* v : vars_)
    if (v != nullptr) v->var.ptr = nullptr;
}

bool BoundNames::all_bound() const {
  return std::all_of(vars_.begin(), vars_.end(),
                     [](const BoundVar* v) { return v != nullptr && v->bound(); });
}

namespace {
// The bound storage as a double; false while unbound or for an unknown code.
bool load(const BoundVar& v, double* out) {
  if (v.var.ptr == nullptr) return false;
  switch (v.var.type) {
    case kVarDouble:
      std::memcpy(out, v.var.ptr, sizeof(double));
      return std::isfinite(*out);
    case kVarFlag:
    case kVarInt: {
      std::int32_t i = 0;
      std::memcpy(&i, v.var.ptr, sizeof i);
      *out = static_cast<double>(i);
      return true;
    }
    default:
      return false;
  }
}
}  // namespace

double read_double(const BoundVar& v, double fallback) {
  double d = 0.0;
  return load(v, &d) ? d : fallback;
}

std::int32_t read_int(const BoundVar& v, std::int32_t fallback) {
  double d = 0.0;
  return load(v, &d) ? to_int(d) : fallback;
}

i32 NamedVar::ensure() {
  if (name == nullptr) return id = -1;
  id = host().check_named_variable(name);
  if (id < 0) id = host().register_named_variable(name);
  if (id < 0) id = -1;
  return id;
}

bool NamedVar::set(double v) {
  if (id < 0) ensure();
  if (id < 0) return false;
  host().set_named_variable_value(id, v);
  return true;
}

}  // namespace frame
