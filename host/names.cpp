#include "host/names.h"

#include <algorithm>
#include <cstring>

#include "frame/numeric.h"

namespace host {

double read_storage(const void* storage, std::uint32_t type) {
  if (storage == nullptr) return 0.0;
  if (type == frame::kVarDouble) {
    double d;
    std::memcpy(&d, storage, sizeof d);
    return d;
  }
  std::int32_t i;
  std::memcpy(&i, storage, sizeof i);
  return static_cast<double>(i);
}

Names::Registered* Names::find(std::string_view name) {
  for (Registered& r : registered_)
    if (r.name == name) return &r;
  return nullptr;
}

const Names::Registered* Names::find(std::string_view name) const {
  for (const Registered& r : registered_)
    if (r.name == name) return &r;
  return nullptr;
}

void Names::fill_bindings(std::string_view name, void* storage, std::uint32_t type) {
  for (Binding& b : bindings_) {
    if (b.name != name) continue;
    b.record->ptr = storage;
    if (storage != nullptr) b.record->type = type;
  }
}

void Names::register_var(std::string_view name, void* storage, std::uint32_t type) {
  if (storage == nullptr || name.empty()) return;
  if (Registered* r = find(name)) {
    r->storage = storage;
    r->type = type;
  } else {
    registered_.push_back(Registered{std::string(name), storage, type});
  }
  fill_bindings(name, storage, type);
}

void Names::unregister_var(std::string_view name) {
  std::erase_if(registered_, [&](const Registered& r) { return r.name == name; });
  fill_bindings(name, nullptr, 0);
}

void Names::bind(frame::ModuleVar* record, std::string_view name) {
  if (record == nullptr) return;
  auto it = std::find_if(bindings_.begin(), bindings_.end(),
                         [&](const Binding& b) { return b.record == record; });
  if (it == bindings_.end()) {
    bindings_.push_back(Binding{record, std::string(name)});
  } else {
    it->name.assign(name);
  }
  const Registered* r = find(name);
  record->ptr = r != nullptr ? r->storage : nullptr;
  if (r != nullptr) record->type = r->type;
}

void Names::publish(std::string_view name, std::uint32_t type, double value) {
  if (name.empty()) return;
  auto it = std::find_if(published_.begin(), published_.end(),
                         [&](const Published& p) { return p.name == name; });
  if (it == published_.end()) {
    published_.push_back(Published{std::string(name), Cell{0.0}});
    it = std::prev(published_.end());
  }
  it->cell.d = 0.0;
  if (type == frame::kVarDouble)
    it->cell.d = value;
  else
    it->cell.i = frame::to_int(value);
  register_var(name, &it->cell, type);
}

bool Names::registered(std::string_view name) const { return find(name) != nullptr; }

std::optional<double> Names::read(std::string_view name) const {
  const Registered* r = find(name);
  if (r == nullptr) return std::nullopt;
  return read_storage(r->storage, r->type);
}

std::int32_t Names::check_named(std::string_view name) const {
  for (std::size_t i = 0; i < named_.size(); ++i)
    if (named_[i].name == name) return static_cast<std::int32_t>(i);
  return -1;
}

std::int32_t Names::register_named(std::string_view name) {
  if (const std::int32_t id = check_named(name); id >= 0) return id;
  named_.push_back(Named{std::string(name), 0.0});
  return static_cast<std::int32_t>(named_.size() - 1);
}

void Names::set_named(std::int32_t id, double value) {
  if (id < 0 || static_cast<std::size_t>(id) >= named_.size()) return;
  named_[static_cast<std::size_t>(id)].value = value;
}

std::optional<double> Names::named(std::string_view name) const {
  const std::int32_t id = check_named(name);
  if (id < 0) return std::nullopt;
  return named_[static_cast<std::size_t>(id)].value;
}

void Names::forget_modules() {
  registered_.clear();
  bindings_.clear();
}

}  // namespace host
