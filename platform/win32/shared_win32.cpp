// Win32 backend of the named shared blocks and guards.
//
// A block named N is a file mapping named N backed by the paging file; a
// guard named N is a manual-reset event named N, signalled while free. Taking
// tests the event without waiting and resets it; releasing sets it, and an
// event set twice is simply set. The names are used exactly as given (no
// Global\ or Local\ prefix: the session's namespace).
//
// Windows deletes a mapping or an event with its last handle, so nothing
// outlives its holders and there is nothing to remove: remove_shared_block
// and remove_guard do nothing and return false. The objects get the default
// security of the creating process (its user, plus the system and
// administrators), which shared_object_mode reports as 0600.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "platform/platform.h"

namespace platform {

struct SharedBlock {
  HANDLE mapping;
  void* address;
  std::size_t bytes;
};

struct NamedGuard {
  HANDLE event;
};

namespace {

constexpr DWORD kGuardAccess = EVENT_MODIFY_STATE | SYNCHRONIZE;

// Names that are empty or hold a separator or a NUL are refused, as on POSIX.
bool valid_name(const std::string& name) {
  return !name.empty() && name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

SharedBlock* open_block(const std::string& name, std::size_t bytes, bool create, bool* created) {
  if (created != nullptr) *created = false;
  if (!valid_name(name) || bytes == 0) return nullptr;

  bool made = false;
  HANDLE mapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
  if (mapping == nullptr) {
    if (!create) return nullptr;
    const auto size = static_cast<std::uint64_t>(bytes);
    mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                   static_cast<DWORD>(size >> 32),
                                   static_cast<DWORD>(size & 0xFFFFFFFFu), name.c_str());
    if (mapping == nullptr) return nullptr;
    // Another opener may have made it between the two calls.
    made = ::GetLastError() != ERROR_ALREADY_EXISTS;
  }
  // Fails when `bytes` reaches past an existing mapping (checked per page).
  void* p = ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, bytes);
  if (p == nullptr) {
    ::CloseHandle(mapping);
    return nullptr;
  }
  // A new paging-file mapping reads as zeros already; clear it only when
  // this open made it, never under another holder.
  if (made) std::memset(p, 0, bytes);
  auto* block = new (std::nothrow) SharedBlock{mapping, p, bytes};
  if (block == nullptr) {
    ::UnmapViewOfFile(p);
    ::CloseHandle(mapping);
    return nullptr;
  }
  if (created != nullptr) *created = made;
  return block;
}

NamedGuard* open_guard_object(const std::string& name, bool create, bool* created) {
  if (created != nullptr) *created = false;
  if (!valid_name(name)) return nullptr;

  bool made = false;
  HANDLE event = ::OpenEventA(kGuardAccess, FALSE, name.c_str());
  if (event == nullptr) {
    if (!create) return nullptr;
    event = ::CreateEventA(nullptr, TRUE, TRUE, name.c_str());  // manual reset, free
    if (event == nullptr) return nullptr;
    made = ::GetLastError() != ERROR_ALREADY_EXISTS;
  }
  auto* guard = new (std::nothrow) NamedGuard{event};
  if (guard == nullptr) {
    ::CloseHandle(event);
    return nullptr;
  }
  if (created != nullptr) *created = made;
  return guard;
}

bool object_exists(const std::string& name) {
  if (!valid_name(name)) return false;
  if (HANDLE m = ::OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str())) {
    ::CloseHandle(m);
    return true;
  }
  if (HANDLE e = ::OpenEventA(SYNCHRONIZE, FALSE, name.c_str())) {
    ::CloseHandle(e);
    return true;
  }
  return false;
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
  ::UnmapViewOfFile(block->address);
  ::CloseHandle(block->mapping);
  delete block;
}

bool remove_shared_block(const std::string&) { return false; }

NamedGuard* open_guard(const std::string& name, bool* created) {
  return open_guard_object(name, true, created);
}

NamedGuard* open_existing_guard(const std::string& name) {
  return open_guard_object(name, false, nullptr);
}

bool guard_try_take(NamedGuard* guard) {
  if (guard == nullptr) return false;
  if (::WaitForSingleObject(guard->event, 0) != WAIT_OBJECT_0) return false;
  ::ResetEvent(guard->event);
  return true;
}

void guard_release(NamedGuard* guard) {
  if (guard != nullptr) ::SetEvent(guard->event);
}

bool guard_is_free(const NamedGuard* guard) {
  // A manual-reset event stays signalled when waited on: this only looks.
  return guard != nullptr && ::WaitForSingleObject(guard->event, 0) == WAIT_OBJECT_0;
}

void close_guard(NamedGuard* guard) {
  if (guard == nullptr) return;
  ::CloseHandle(guard->event);
  delete guard;
}

bool remove_guard(const std::string&) { return false; }

int shared_object_mode(const std::string& name) { return object_exists(name) ? 0600 : -1; }

}  // namespace platform
