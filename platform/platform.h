// The one seam between the modules (and the host) and the operating system.
// Nothing outside platform/ includes an OS header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Folder of the simulator, ending in a separator: the host's
// gaugehost_sim_root when it exports one, else the running executable's folder.
std::string sim_root();

// Full path of a file below the simulator's folder. `relative` uses
// backslashes (`\gauges\Kr300v_cfg\kr300_gau.cfg`); they become separators. On
// POSIX a component that does not exist under its exact name is matched
// case-insensitively against the folder's entries.
std::string module_path(std::string_view relative);

// High-resolution counter and its frequency (ticks per second).
std::int64_t perf_counter();
std::int64_t perf_frequency();

// Suffix for names of shared objects; empty outside a test host.
std::string name_suffix();

// The value of environment variable `name`; nullopt when it is not set (an
// empty value is set and empty).
std::optional<std::string> env(const char* name);

// Full path of the running executable; empty when the system does not say.
std::string executable_path();

// Identifier of the running process, for names unique to it.
std::int64_t process_id();

// Looks up an optional function exported by the host executable; null when
// absent. Looked up anew at each call: callers cache it.
void* host_symbol(const char* name);

// Reads a whole file; nullopt when it cannot be read.
std::optional<std::string> read_file(const std::string& path);

// Replaces a file so that a crash mid-write leaves the old file or the new
// one, never a mix: write a temporary beside it, flush, rename over it.
bool write_file_atomic(const std::string& path, std::string_view data);

// Named shared memory and named try-locks, for the data exchanger and any
// program that reads it. Names are plain text without separators ('$' is
// fine); each backend maps them into its own namespace. Objects are created
// readable and writable by the owning user only. Implemented in shared_*.cpp.
//
// POSIX: a block or guard named N is the shared-memory object "/N". Unlike a
// Windows mapping or event, it outlives its last holder: it stays, with its
// contents, until remove_shared_block / remove_guard (or a reboot). An
// existing object owned by another user is refused.
//
// Windows: a block is a paging-file mapping and a guard a manual-reset event,
// both named exactly N. They vanish with their last handle, so the remove
// functions do nothing there and return false.
struct SharedBlock;
// Opens the block `name` and maps its first `bytes` bytes, creating it filled
// with zeros when it does not exist. `*created` (may be null) is true only
// when this call made the object, never when another opener made it first.
// Null when the name is empty or holds a separator, or on any failure.
SharedBlock* open_shared_block(const std::string& name, std::size_t bytes, bool* created);
// Address and size of the mapping; null and 0 for a null block.
void* block_address(const SharedBlock* block);
std::size_t block_size(const SharedBlock* block);
// As open_shared_block, but only when the block already exists: null when it
// does not, and nothing is created.
SharedBlock* open_existing_block(const std::string& name, std::size_t bytes);
// Unmaps and frees the handle; null does nothing. The object itself stays.
void close_shared_block(SharedBlock* block);
// Deletes the named block; holders keep their mappings. False when absent.
bool remove_shared_block(const std::string& name);

// A guard is a flag that is either free or held. Taking never waits, and
// releasing sets it free however often it is called: it never counts above
// free the way a semaphore posted twice would.
struct NamedGuard;
// Opens the guard `name`, creating it free when it does not exist. Null as
// open_shared_block.
NamedGuard* open_guard(const std::string& name, bool* created = nullptr);
// As open_guard, but only when the guard already exists.
NamedGuard* open_existing_guard(const std::string& name);
// Takes a free guard and returns true; false at once when it is held (or for
// a null guard).
bool guard_try_take(NamedGuard* guard);
// Sets the guard free, whoever held it. Null does nothing.
void guard_release(NamedGuard* guard);
// True while the guard is free (a snapshot, for tools). Null: false.
bool guard_is_free(const NamedGuard* guard);
void close_guard(NamedGuard* guard);
bool remove_guard(const std::string& name);

// Permission bits of a named block or guard (0600 = rw for the owner only);
// -1 when it does not exist.
int shared_object_mode(const std::string& name);

// Shared libraries (the host's module loader). Implemented in loader_*.cpp.
void* load_library(const std::string& path, std::string* error);
void* library_symbol(void* library, const char* name);
void unload_library(void* library);
// File-name ending of a gauge module on this platform: ".so" or ".gau".
const char* module_suffix();

}  // namespace platform
