#include "frame/exchanger.h"

#include <cstring>
#include <string>

#include "platform/platform.h"

namespace frame {
namespace {
Exchanger g_exchanger;
// A module unloaded without its service 12 still lets go of the block.
struct CloseAtUnload {
  ~CloseAtUnload() { exchanger_close(); }
} g_close_at_unload;
}  // namespace

Exchanger& exchanger() { return g_exchanger; }

void exchanger_open() {
  Exchanger& x = g_exchanger;
  exchanger_close();
  const std::string suffix = platform::name_suffix();
  for (int n = 0; n < xchg::kGuardedSlots; ++n)
    x.guards[static_cast<std::size_t>(n)] = platform::open_guard(xchg::guard_name(n, suffix));

  bool created = false;
  x.mapping = platform::open_shared_block(xchg::block_name(suffix), xchg::kBlockBytes, &created);
  if (x.mapping == nullptr) {
    exchanger_close();  // the guards are of no use without the block
    return;
  }
  x.address = platform::block_address(x.mapping);
  x.created = created;
  if (created) std::memset(x.address, 0, xchg::kBlockBytes);
  x.open = true;
}

int exchanger_write(int n, double v) {
  Exchanger& x = g_exchanger;
  if (!x.open || x.address == nullptr || !xchg::is_guarded_slot(n)) return 0;
  platform::NamedGuard* guard = x.guards[static_cast<std::size_t>(n)];
  if (!platform::guard_try_take(guard)) return 0;  // null or held elsewhere
  xchg::store_slot(x.address, n, v);
  platform::guard_release(guard);
  return 1;
}

std::optional<double> exchanger_read(int n) {
  const Exchanger& x = g_exchanger;
  if (!x.open || x.address == nullptr || !xchg::is_slot(n)) return std::nullopt;
  return xchg::load_slot(x.address, n);
}

void exchanger_close() {
  Exchanger& x = g_exchanger;
  x.open = false;
  x.address = nullptr;
  x.created = false;
  platform::close_shared_block(x.mapping);
  x.mapping = nullptr;
  for (auto*& guard : x.guards) {
    platform::close_guard(guard);
    guard = nullptr;
  }
}

}  // namespace frame
