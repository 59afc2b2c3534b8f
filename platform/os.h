// What each backend (posix/, win32/) provides to the platform code that is
// the same everywhere (host_hooks.cpp). Internal to platform/.
#pragma once

#include <cstdint>
#include <string>

namespace platform::os {

// Folder of the running executable, ending in the separator.
std::string executable_folder();
// The path separator the simulator folder ends in.
char separator();
// The operating system's high-resolution counter and its frequency (> 0).
std::int64_t counter();
std::int64_t frequency();

}  // namespace platform::os
