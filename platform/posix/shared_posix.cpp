// POSIX backend of the named shared blocks and guards.
//
// A block named N is the shared-memory object "/N". A guard is a shared-memory
// object of its own holding one 32-bit word: 0 free, 1 held. It is taken by an
// atomic compare-and-swap from 0 to 1 and released by storing 0, so releasing
// twice, or two releasers racing, still leaves it exactly free; a semaphore
// released by "post when its value reads 0" could reach 2 when two releasers
// both read 0. Zero also being what a fresh object holds, a guard is free the
// moment it exists, with no window in which a second opener sees it held.
//
// Objects are created with mode 0600 and set to it again with fchmod, since
// the process umask may have taken bits from the create call. They persist
// until unlinked: a reader that died holding a guard leaves it held until
// somebody releases it (any holder of the name can), and a block keeps its
// last values for the next opener.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace platform {

struct SharedBlock {
  void* address;
  std::size_t bytes;
};

struct NamedGuard {
  std::int32_t* word;
};

namespace {

using GuardWord = std::int32_t;
static_assert(std::atomic_ref<GuardWord>::is_always_lock_free,
              "guards live in memory shared between processes");
constexpr GuardWord kFree = 0;
constexpr GuardWord kHeld = 1;
constexpr mode_t kMode = 0600;

// "/" + name; nullopt for names that are empty or hold a separator or a NUL.
std::optional<std::string> object_name(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos ||
      name.find('\0') != std::string::npos)
    return std::nullopt;
  return "/" + name;
}

// Opens `name` read-write, creating it when absent and `create` is set, and
// makes it at least `bytes` long. Returns the descriptor or -1.
int open_object(const std::string& name, std::size_t bytes, bool create, bool* created) {
  *created = false;
  const auto path = object_name(name);
  if (!path || bytes == 0) return -1;

  int fd = -1;
  bool made = false;
  if (!create) {
    fd = ::shm_open(path->c_str(), O_RDWR | O_CLOEXEC, 0);
    if (fd < 0) return -1;
  }
  // Create exclusively first, so that "created" is never claimed for an
  // object another opener made. An object unlinked between the two calls
  // sends us round again; three rounds are plenty.
  for (int round = 0; create && round < 3 && fd < 0; ++round) {
    fd = ::shm_open(path->c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kMode);
    if (fd >= 0) {
      made = true;
      break;
    }
    if (errno != EEXIST) return -1;
    fd = ::shm_open(path->c_str(), O_RDWR | O_CLOEXEC, 0);
    if (fd < 0 && errno != ENOENT) return -1;
  }
  if (fd < 0) return -1;

  auto fail = [&] {
    ::close(fd);
    if (made) ::shm_unlink(path->c_str());
    return -1;
  };
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail();
  if (made) {
    if (::fchmod(fd, kMode) != 0) return fail();
  } else if (st.st_uid != ::geteuid()) {
    return fail();  // somebody else's object under our name
  }
  // The creator sizes a new object; an opener that comes before it has done
  // so extends it the same way. Extending only adds zeros; a larger object
  // is left as it is.
  if (st.st_size < 0 || static_cast<std::size_t>(st.st_size) < bytes) {
    if (::ftruncate(fd, static_cast<off_t>(bytes)) != 0) return fail();
  }
  *created = made;
  return fd;
}

void* map_object(int fd, std::size_t bytes) {
  void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  ::close(fd);  // the mapping stays valid
  return p == MAP_FAILED ? nullptr : p;
}

bool unlink_object(const std::string& name) {
  const auto path = object_name(name);
  return path && ::shm_unlink(path->c_str()) == 0;
}

SharedBlock* open_block(const std::string& name, std::size_t bytes, bool create, bool* created) {
  bool made = false;
  if (created != nullptr) *created = false;
  const int fd = open_object(name, bytes, create, &made);
  if (fd < 0) return nullptr;
  void* p = map_object(fd, bytes);
  if (p == nullptr) {
    if (made) unlink_object(name);
    return nullptr;
  }
  if (made) std::memset(p, 0, bytes);
  auto* block = new (std::nothrow) SharedBlock{p, bytes};
  if (block == nullptr) {
    ::munmap(p, bytes);
    return nullptr;
  }
  if (created != nullptr) *created = made;
  return block;
}

NamedGuard* open_guard_object(const std::string& name, bool create, bool* created) {
  bool made = false;
  if (created != nullptr) *created = false;
  const int fd = open_object(name, sizeof(GuardWord), create, &made);
  if (fd < 0) return nullptr;
  void* p = map_object(fd, sizeof(GuardWord));
  if (p == nullptr) {
    if (made) unlink_object(name);
    return nullptr;
  }
  auto* guard = new (std::nothrow) NamedGuard{static_cast<GuardWord*>(p)};
  if (guard == nullptr) {
    ::munmap(p, sizeof(GuardWord));
    return nullptr;
  }
  if (created != nullptr) *created = made;
  return guard;
}

}  // namespace

SharedBlock* open_shared_block(const std::string& name, std::size_t bytes, bool* created) {
  return open_block(name, bytes, true, created);
}

SharedBlock* open_existing_block(const std::string& name, std::size_t bytes) {
  return open_block(name, bytes, false, nullptr);
}

void* block_address(const SharedBlock* block) { return block ? block->address : nullptr; }

std::size_t block_size(const SharedBlock* block) { return block ? block->bytes : 0; }

void close_shared_block(SharedBlock* block) {
  if (block == nullptr) return;
  ::munmap(block->address, block->bytes);
  delete block;
}

bool remove_shared_block(const std::string& name) { return unlink_object(name); }

NamedGuard* open_guard(const std::string& name, bool* created) {
  return open_guard_object(name, true, created);
}

NamedGuard* open_existing_guard(const std::string& name) {
  return open_guard_object(name, false, nullptr);
}

bool guard_try_take(NamedGuard* guard) {
  if (guard == nullptr) return false;
  GuardWord expected = kFree;
  return std::atomic_ref<GuardWord>(*guard->word)
      .compare_exchange_strong(expected, kHeld, std::memory_order_acq_rel,
                               std::memory_order_relaxed);
}

void guard_release(NamedGuard* guard) {
  if (guard == nullptr) return;
  std::atomic_ref<GuardWord>(*guard->word).store(kFree, std::memory_order_release);
}

bool guard_is_free(const NamedGuard* guard) {
  if (guard == nullptr) return false;
  return std::atomic_ref<GuardWord>(*guard->word).load(std::memory_order_acquire) == kFree;
}

void close_guard(NamedGuard* guard) {
  if (guard == nullptr) return;
  ::munmap(guard->word, sizeof(GuardWord));
  delete guard;
}

bool remove_guard(const std::string& name) { return unlink_object(name); }

int shared_object_mode(const std::string& name) {
  const auto path = object_name(name);
  if (!path) return -1;
  const int fd = ::shm_open(path->c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (fd < 0) return -1;
  struct stat st {};
  const int rc = ::fstat(fd, &st);
  ::close(fd);
  return rc == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

}  // namespace platform
