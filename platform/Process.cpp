#include "platform/Process.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/FileSystem.h"

namespace platform {

uint32_t ProcessId() { return static_cast<uint32_t>(getpid()); }

std::string ExecutablePath() {
  std::vector<char> buffer(4096);
  for (int i = 0; i < 4; ++i) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(n));
    buffer.resize(buffer.size() * 2);
  }
  return std::string();
}

bool VolumeFreeBytes(std::string_view path, uint64_t& freeBytes) {
  const std::string native = ResolvePath(path);
  struct statvfs info {};
  int rc;
  do {
    rc = statvfs(native.c_str(), &info);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) return false;
  freeBytes = static_cast<uint64_t>(info.f_bavail) * static_cast<uint64_t>(info.f_frsize);
  return true;
}

}  // namespace platform
