// Win32 backend of the platform seam: paths below the simulator's folder,
// the performance counter, host hooks found in the running executable, the
// environment and the process, and whole-file input and output.
//
// The Windows file system ignores case, so module_path only joins the parts.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/os.h"
#include "platform/platform.h"

namespace platform {
namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

// WriteFile takes a 32-bit count: write in chunks well below it.
bool write_all(HANDLE file, std::string_view data) {
  constexpr std::size_t kChunk = 1u << 20;
  while (!data.empty()) {
    const auto want = static_cast<DWORD>(std::min(data.size(), kChunk));
    DWORD done = 0;
    if (!::WriteFile(file, data.data(), want, &done, nullptr) || done == 0) return false;
    data.remove_prefix(done);
  }
  return true;
}

}  // namespace

std::string os::executable_folder() {
  const std::string exe = executable_path();
  const std::size_t slash = exe.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".\\") : exe.substr(0, slash + 1);
}

char os::separator() { return '\\'; }

std::int64_t os::counter() {
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  return static_cast<std::int64_t>(now.QuadPart);
}

std::int64_t os::frequency() {
  LARGE_INTEGER f{};
  if (!::QueryPerformanceFrequency(&f) || f.QuadPart <= 0) return 1;
  return static_cast<std::int64_t>(f.QuadPart);
}


std::string module_path(std::string_view relative) {
  std::string path = sim_root();
  std::size_t pos = 0;
  while (pos < relative.size()) {
    std::size_t end = pos;
    while (end < relative.size() && !is_separator(relative[end])) ++end;
    const std::string_view component = relative.substr(pos, end - pos);
    const bool separator_follows = end < relative.size();
    pos = end + 1;
    if (component.empty()) continue;  // leading or doubled separator
    path.append(component);
    if (separator_follows) path.push_back('\\');
  }
  return path;
}




std::optional<std::string> env(const char* name) {
  if (name == nullptr || *name == '\0') return std::nullopt;
  // The needed size includes the terminating NUL; a value may change between
  // the two calls, so go round until it fits.
  for (int round = 0; round < 4; ++round) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD need = ::GetEnvironmentVariableA(name, nullptr, 0);
    if (need == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    std::string value(need, '\0');
    ::SetLastError(ERROR_SUCCESS);
    const DWORD got = ::GetEnvironmentVariableA(name, value.data(), need);
    if (got == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    if (got < need) {
      value.resize(got);
      return value;
    }
  }
  return std::nullopt;
}

std::string executable_path() {
  std::vector<char> buf(MAX_PATH);
  for (;;) {
    const DWORD size = static_cast<DWORD>(buf.size());
    const DWORD n = ::GetModuleFileNameA(nullptr, buf.data(), size);
    if (n == 0) return {};
    if (n < size) return std::string(buf.data(), n);
    if (buf.size() >= (1u << 16)) return {};  // longer than any Windows path
    buf.resize(buf.size() * 2);
  }
}

std::int64_t process_id() { return static_cast<std::int64_t>(::GetCurrentProcessId()); }

void* host_symbol(const char* name) {
  if (name == nullptr) return nullptr;
  HMODULE exe = ::GetModuleHandleA(nullptr);
  if (exe == nullptr) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(exe, name));
}

std::optional<std::string> read_file(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;  // also a folder
  std::string data;
  std::vector<char> chunk(65536);
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &n, nullptr)) {
      ::CloseHandle(file);
      return std::nullopt;
    }
    if (n == 0) break;
    data.append(chunk.data(), n);
  }
  ::CloseHandle(file);
  return data;
}

bool write_file_atomic(const std::string& path, std::string_view data) {
  if (path.empty() || is_separator(path.back())) return false;
  // A temporary name unique to this process and call, in the same folder so
  // that the final move is a rename on one volume.
  static LONG serial = 0;
  const LONG n = ::InterlockedIncrement(&serial);
  const std::string temp =
      path + ".tmp." + std::to_string(process_id()) + "." + std::to_string(n);
  HANDLE file = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = write_all(file, data);
  ok = ok && ::FlushFileBuffers(file);
  ok = ::CloseHandle(file) && ok;
  ok = ok && ::MoveFileExA(temp.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) {
    ::DeleteFileA(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace platform
