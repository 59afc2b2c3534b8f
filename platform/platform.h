// The one seam between the modules (and the host) and the operating system.
// Nothing outside platform/ includes an OS header.
#pragma once

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

// Looks up an optional function exported by the host executable; null when
// absent. Looked up anew at each call: callers cache it.
void* host_symbol(const char* name);

// Reads a whole file; nullopt when it cannot be read.
std::optional<std::string> read_file(const std::string& path);

// Replaces a file so that a crash mid-write leaves the old file or the new
// one, never a mix: write a temporary beside it, flush, rename over it.
bool write_file_atomic(const std::string& path, std::string_view data);

// Shared libraries (the host's module loader). Implemented in loader_*.cpp.
void* load_library(const std::string& path, std::string* error);
void* library_symbol(void* library, const char* name);
void unload_library(void* library);
// File-name ending of a gauge module on this platform: ".so" or ".gau".
const char* module_suffix();

}  // namespace platform
