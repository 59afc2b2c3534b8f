// POSIX backend of the platform seam: paths below the simulator's folder,
// the monotonic counter, host hooks found in the running executable, the
// environment and the process, and whole-file input and output.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "platform/os.h"
#include "platform/platform.h"

namespace platform {

std::string os::executable_folder() {
  const std::string exe = executable_path();
  const std::size_t slash = exe.rfind('/');
  return slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1);
}

namespace {

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_folded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

bool exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` (ending in '/') whose name equals `name` ignoring
// ASCII case; the first in byte order when several do. Empty when none.
std::string find_folded(const std::string& folder, std::string_view name) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return {};
  std::string best;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view candidate(entry->d_name);
    if (candidate == "." || candidate == "..") continue;
    if (!same_folded(candidate, name)) continue;
    if (best.empty() || candidate < best) best.assign(candidate);
  }
  ::closedir(dir);
  return best;
}

bool write_all(int fd, std::string_view data) {
  const char* p = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace


std::string module_path(std::string_view relative) {
  std::string path = sim_root();
  std::size_t pos = 0;
  while (pos < relative.size()) {
    std::size_t end = pos;
    while (end < relative.size() && relative[end] != '\\' && relative[end] != '/') ++end;
    const std::string_view component = relative.substr(pos, end - pos);
    const bool separator_follows = end < relative.size();
    pos = end + 1;
    if (component.empty()) continue;  // leading or doubled separator

    // A component missing under every spelling is kept as given (the caller
    // may be about to create it); the folders below it then match nothing.
    std::string next = path;
    next.append(component);
    if (!exists(next)) {
      const std::string match = find_folded(path, component);
      if (!match.empty()) next = path + match;
    }
    path = std::move(next);
    if (separator_follows) path.push_back('/');
  }
  return path;
}




char os::separator() { return '/'; }

std::int64_t os::counter() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

std::int64_t os::frequency() { return 1'000'000'000; }

std::optional<std::string> env(const char* name) {
  if (name == nullptr || *name == '\0') return std::nullopt;
  const char* v = std::getenv(name);
  if (v == nullptr) return std::nullopt;
  return std::string(v);
}

std::string executable_path() {
  std::vector<char> buf(4096);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return {};
    const auto length = static_cast<std::size_t>(n);
    if (length < buf.size()) return std::string(buf.data(), length);
    if (buf.size() >= (1u << 20)) return {};
    buf.resize(buf.size() * 2);
  }
}

std::int64_t process_id() { return static_cast<std::int64_t>(::getpid()); }

void* host_symbol(const char* name) {
  if (name == nullptr) return nullptr;
  return ::dlsym(RTLD_DEFAULT, name);
}

std::optional<std::string> read_file(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string data;
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;  // also a folder (EISDIR)
    }
    if (n == 0) break;
    data.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return data;
}

bool write_file_atomic(const std::string& path, std::string_view data) {
  if (path.empty() || path.back() == '/') return false;
  std::string temp = path + ".tmp.XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;

  // mkstemp creates the file private; keep the old file's mode, or give a new
  // one the usual mode of a user file.
  struct stat old {};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  bool ok = ::fchmod(fd, mode) == 0;
  ok = ok && write_all(fd, data);
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }

  // Make the rename itself durable; the data is already in place if this fails.
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

}  // namespace platform
