// POSIX backend of the host's module loader: shared objects opened with
// dlopen, each in its own symbol scope so that two modules built from the
// same sources keep separate state.
#include <dlfcn.h>

#include <string>

#include "platform/platform.h"

namespace platform {

void* load_library(const std::string& path, std::string* error) {
  ::dlerror();  // clear a stale message
  void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr && error != nullptr) {
    const char* why = ::dlerror();
    *error = why != nullptr ? why : "cannot load " + path;
  }
  return library;
}

void* library_symbol(void* library, const char* name) {
  if (library == nullptr || name == nullptr) return nullptr;
  return ::dlsym(library, name);
}

void unload_library(void* library) {
  if (library != nullptr) ::dlclose(library);
}

const char* module_suffix() { return ".so"; }

}  // namespace platform
