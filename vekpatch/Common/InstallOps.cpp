#include "vekpatch/Common/InstallOps.h"

#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/Clock.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "vekpatch/Common/Md5.h"
#include "vekpatch/Common/VekException.h"
#include "vekpatch/Common/VekSettings.h"

namespace vek {

namespace {

constexpr const char* kInstallUnit = "commonlib.cpp";

struct Caches {
  std::mutex mutex;
  std::string installKey;
  std::string installPath;
  std::string downloadDir;
  std::string javaDir[2];
  uint32_t lastError = 0;
};

Caches& Cache() {
  static Caches caches;
  return caches;
}

platform::Registry& Store() { return platform::Registry::Default(); }

// The system's error number for a failure, never 0 (a report of code 0 would
// read as success).
uint32_t ErrnoOr(uint32_t fallback) { return errno != 0 ? static_cast<uint32_t>(errno) : fallback; }

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// A text value; false when the key or value is missing, raises string 19 on
// any other failure. `bufferBytes` counts the terminating zero.
bool ReadText(const std::string& keyPath, const char* value, size_t bufferBytes, std::string& out) {
  platform::RegKey key;
  platform::RegStatus rc = Store().OpenKey(platform::RegRoot::kLocalMachine, keyPath, platform::RegAccess::kRead, key);
  if (rc == platform::kRegNotFound) return false;
  if (rc == platform::kRegSuccess) {
    rc = key.QueryString(value, out, bufferBytes);
    if (rc == platform::kRegNotFound) return false;
  }
  if (rc != platform::kRegSuccess) RaiseVek(static_cast<uint32_t>(rc), 19, kInstallUnit, __LINE__, {keyPath, value});
  return true;
}

}  // namespace

bool GetPatchServer(std::string& host, uint16_t& port) {
  platform::RegKey key;
  platform::RegStatus rc = Store().OpenKey(platform::RegRoot::kLocalMachine, kVekPatchKey, platform::RegAccess::kRead, key);
  if (rc == platform::kRegNotFound) return false;
  std::string value;
  if (rc == platform::kRegSuccess) {
    rc = key.QueryString("PatchServer", value, 128);
    if (rc == platform::kRegNotFound) return false;
  }
  if (rc != platform::kRegSuccess) RaiseVek(static_cast<uint32_t>(rc), 43, kInstallUnit, __LINE__);
  const size_t colon = value.rfind(':');
  if (colon == std::string::npos) RaiseVek(kErrServerSetting, 44, kInstallUnit, __LINE__);
  const std::string digits = value.substr(colon + 1);
  uint32_t number = 0;
  bool valid = !digits.empty() && digits.size() <= 5;
  for (char c : digits) {
    if (c < '0' || c > '9') valid = false;
    else number = number * 10 + static_cast<uint32_t>(c - '0');
  }
  if (!valid || number < 1 || number > 65535) RaiseVek(kErrServerSetting, 44, kInstallUnit, __LINE__);
  host = value.substr(0, colon);
  port = static_cast<uint16_t>(number);
  return true;
}

std::optional<std::string> GetInstallPath(const std::string& key) {
  Caches& c = Cache();
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    if (key == c.installKey && !c.installPath.empty()) return c.installPath;
  }
  std::string value;
  if (!ReadText(key, "InstallPath", 264, value) || value.empty()) return std::nullopt;
  value = WithSlash(value);
  std::lock_guard<std::mutex> lock(c.mutex);
  c.installKey = key;
  c.installPath = value;
  return value;
}

std::string GetDownloadDir() {
  Caches& c = Cache();
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    if (!c.downloadDir.empty()) return c.downloadDir;
  }
  std::string found;
  try {
    const std::optional<std::string> install = GetInstallPath(kVekPatchKey);
    if (install) {
      for (int n = -1; n <= kLastPatchFolderNumber && found.empty(); ++n) {
        const std::string candidate = *install + "PATCH" + (n < 0 ? std::string() : std::to_string(n)) + "/";
        if (CreateDirectoryPath(candidate)) found = candidate;
      }
    }
  } catch (const VekException&) {
    found.clear();
  }
  if (found.empty()) RaiseVek(kErrDownloadDir, 45, kInstallUnit, __LINE__, {"GetDownloadDir()"});
  std::lock_guard<std::mutex> lock(c.mutex);
  c.downloadDir = found;
  return found;
}

std::optional<std::string> GetHostModulePart(int kind) {
  if (kind < 0 || kind > 2) return std::nullopt;
  const std::string path = platform::ExecutablePath();
  if (path.empty()) RaiseVek(ErrnoOr(2), 55, kInstallUnit, __LINE__);
  const size_t slash = path.rfind('/');
  if (kind == 2) return path;
  if (kind == 0) return slash == std::string::npos ? path : path.substr(slash + 1);
  return slash == std::string::npos ? WithSlash(platform::CurrentDirectory()) : path.substr(0, slash + 1);
}

void DeleteHostCopy() {
  const std::optional<std::string> name = GetHostModulePart(0);
  if (!name) return;
  const std::string copy = GetDownloadDir() + *name;
  if (!platform::FileExists(copy)) return;
  platform::SleepMs(static_cast<uint32_t>(Settings().hostCopyPauseMs));
  errno = 0;
  if (!platform::DeleteFile(copy)) RaiseVek(ErrnoOr(5), 8, kInstallUnit, __LINE__, {copy});
}

bool GetJavaDirectory(int kind, std::string& dir) {
  if (kind != 0 && kind != 1) return false;
  Caches& c = Cache();
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    if (!c.javaDir[kind].empty()) {
      dir = c.javaDir[kind];
      return true;
    }
  }
  std::string list;
  if (kind == 1) {
    if (!ReadText("SOFTWARE\\Microsoft\\Java VM", "Classpath", 261, list)) return false;
  } else {
    std::string version;
    const std::string navigator = "SOFTWARE\\Netscape\\Netscape Navigator";
    if (!ReadText(navigator, "CurrentVersion", 33, version)) return false;
    if (!ReadText(navigator + "\\" + version + "\\Main", "Java Directory", 261, list)) return false;
    list = WithSlash(list) + "Classes";
  }
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    const std::string entry = list.substr(start, end - start);
    start = end + 1;
    if (entry.empty() || entry == ".") continue;
    if (platform::DirectoryExists(entry)) {
      dir = WithSlash(entry);
      std::lock_guard<std::mutex> lock(c.mutex);
      c.javaDir[kind] = dir;
      return true;
    }
  }
  return false;
}

bool FileExists(const std::string& path) { return platform::FileExists(path); }

bool CreateDirectoryPath(std::string path) {
  if (path.empty()) return true;
  path = WithSlash(path);
  // Every folder the path names, outermost first ("/a/", "/a/b/").
  std::vector<std::string> prefixes;
  for (size_t i = 1; i < path.size(); ++i) {
    if (path[i] == '/' && path[i - 1] != '/') prefixes.push_back(path.substr(0, i));
  }
  size_t firstMissing = 0;
  for (size_t i = prefixes.size(); i-- > 0;) {
    const std::optional<platform::FileStatus> status = platform::GetFileStatus(prefixes[i]);
    if (status) {
      if (!status->isDirectory) return false;
      firstMissing = i + 1;
      break;
    }
  }
  for (size_t i = firstMissing; i < prefixes.size(); ++i) {
    errno = 0;
    if (!platform::CreateDirectory(prefixes[i]) && !platform::DirectoryExists(prefixes[i])) {
      RaiseVek(ErrnoOr(5), 2, kInstallUnit, __LINE__, {prefixes[i]});
    }
  }
  return true;
}

uint32_t GetDiskShortfallKB(const std::string& path, uint32_t neededKB) {
  if (path.size() < 3) RaiseVek(kErrInvalidArgument, 54, kInstallUnit, __LINE__, {path});
  // The volume is asked through the nearest folder that exists.
  std::string probe = path;
  while (probe.size() > 1 && probe.back() == '/') probe.pop_back();
  while (!platform::GetFileStatus(probe)) {
    const size_t slash = probe.rfind('/');
    if (slash == std::string::npos) {
      probe = ".";
      break;
    }
    probe = slash == 0 ? "/" : probe.substr(0, slash);
  }
  uint64_t freeBytes = 0;
  errno = 0;
  if (!platform::VolumeFreeBytes(probe, freeBytes)) {
    RaiseVek(ErrnoOr(3), 54, kInstallUnit, __LINE__, {path});
  }
  const uint64_t freeKB = freeBytes / 1024;
  return freeKB < neededKB ? static_cast<uint32_t>(neededKB - freeKB) : 0;
}

bool FilesIdentical(const std::string& a, const std::string& b) {
  platform::File fa, fb;
  if (!fa.Open(a, platform::File::kRead, platform::File::Disposition::kOpenExisting) ||
      !fb.Open(b, platform::File::kRead, platform::File::Disposition::kOpenExisting)) {
    return false;
  }
  if (fa.Size() != fb.Size()) return false;
  std::vector<char> ba(65536), bb(65536);
  for (;;) {
    const int64_t na = fa.Read(ba.data(), ba.size());
    const int64_t nb = fb.Read(bb.data(), bb.size());
    if (na < 0 || nb < 0 || na != nb) return false;
    if (na == 0) return true;
    if (std::memcmp(ba.data(), bb.data(), static_cast<size_t>(na)) != 0) return false;
  }
}

bool Md5Digest(const std::string& path, std::string& out) {
  platform::File f;
  if (!f.Open(path, platform::File::kRead, platform::File::Disposition::kOpenExisting)) return false;
  Md5 md5;
  std::vector<char> buffer(65536);
  for (;;) {
    const int64_t n = f.Read(buffer.data(), buffer.size());
    if (n < 0) return false;
    if (n == 0) break;
    md5.Update(buffer.data(), static_cast<size_t>(n));
  }
  out = md5.HexDigest();
  return true;
}

uint32_t ReadRegistryDword(const std::string& keyPath, const std::string& value) {
  platform::RegKey key;
  platform::RegStatus rc = Store().OpenKey(platform::RegRoot::kLocalMachine, keyPath, platform::RegAccess::kRead, key);
  if (rc == platform::kRegNotFound) return 1033;
  uint32_t number = 1033;
  if (rc == platform::kRegSuccess) {
    rc = key.QueryDword(value, number);
    if (rc == platform::kRegNotFound) return 1033;
  }
  if (rc != platform::kRegSuccess) RaiseVek(static_cast<uint32_t>(rc), 19, kInstallUnit, __LINE__, {keyPath, value});
  return number;
}

std::string GetRegistryVersion(const std::string& keyPath, const std::string& value) {
  std::string text;
  if (!ReadText(keyPath, value.c_str(), 17, text)) return "0.0";
  return text;
}

std::string GetFileProductVersion(const std::string&) { return "0"; }

bool ReplaceFileAtRestart(const std::string& source, const std::string& target) {
  std::lock_guard<std::mutex> lock(Cache().mutex);
  Cache().lastError = (source.empty() || target.empty()) ? 87 : 120;
  return false;
}

uint32_t LastInstallError() {
  std::lock_guard<std::mutex> lock(Cache().mutex);
  return Cache().lastError;
}

void ResetInstallCaches() {
  Caches& c = Cache();
  std::lock_guard<std::mutex> lock(c.mutex);
  c.installKey.clear();
  c.installPath.clear();
  c.downloadDir.clear();
  c.javaDir[0].clear();
  c.javaDir[1].clear();
  c.lastError = 0;
}

}  // namespace vek
