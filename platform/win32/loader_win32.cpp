// Win32 backend of the host's module loader. Each DLL is loaded once per
// process whatever name it is loaded under, and keeps its own state.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace platform {

void* load_library(const std::string& path, std::string* error) {
  HMODULE library = ::LoadLibraryA(path.c_str());
  if (library == nullptr && error != nullptr) {
    *error = "cannot load " + path + " (error " + std::to_string(::GetLastError()) + ")";
  }
  return reinterpret_cast<void*>(library);
}

void* library_symbol(void* library, const char* name) {
  if (library == nullptr || name == nullptr) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

void unload_library(void* library) {
  if (library != nullptr) ::FreeLibrary(static_cast<HMODULE>(library));
}

const char* module_suffix() { return ".gau"; }

}  // namespace platform
