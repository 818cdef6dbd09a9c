#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/File.h"
#include "platform/Path.h"

namespace platform {
namespace {

int64_t ToNs(const timespec& t) { return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec; }

int64_t WallClockNs() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return ToNs(t);
}

// The clock the kernel stamps a folder's change time from.
int64_t StampClockNs() {
  timespec t{};
  if (clock_gettime(CLOCK_REALTIME_COARSE, &t) != 0) return 0;
  return ToNs(t);
}

// Local file systems whose change times come from the kernel's own clock at
// the moment of the change (no server clock, no rounding to seconds).
bool StampsFromKernelClock(const std::string& dirPath) {
  struct statfs fs {};
  if (statfs(dirPath.c_str(), &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53UL:      // ext2, ext3, ext4
    case 0x01021994UL:  // tmpfs
    case 0x9123683EUL:  // btrfs
    case 0x58465342UL:  // xfs
    case 0xF2F52010UL:  // f2fs
    case 0x794C7630UL:  // overlay (stamps of its local upper layer)
      return true;
    default: return false;
  }
}

bool IsReadOnlyMode(mode_t mode) { return (mode & 0222) == 0; }

// The names of one folder, keyed by their case-folded form.
struct FolderNames {
  int64_t changedNs = 0;  // the folder's own change time when scanned
  ino_t inode = 0;
  int64_t scannedNs = 0;  // wall-clock time of the scan
  bool trustMisses = false;  // a name missing here was missing on disk too
  std::unordered_map<std::string, std::string> byFolded;
};

// A folder's change time has the resolution of the file system's clock, so a
// name added in the same tick as our scan may not move it. On file systems
// stamped from the kernel's coarse clock, a scan started once that clock had
// passed the folder's change time is whole: any later change stamps a newer
// time, which the next look-up sees. Elsewhere (rounded or remote stamps) a
// scan made within this window of the folder's last change is trusted only
// for hits.
constexpr int64_t kUnsureWindowNs = 2'000'000'000;

class NameCache {
 public:
  // The on-disk spelling of `name` in `folder` (a resolved path, "" for the
  // working folder), or nothing.
  std::optional<std::string> Find(const std::string& folder, const std::string& name) {
    const std::string dirPath = folder.empty() ? "." : folder;
    struct stat st {};
    if (stat(dirPath.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    const std::string key = AbsolutePath(dirPath);
    const std::string folded = ToLowerAscii(name);
    std::lock_guard lock(mutex_);
    bool scanned = false;
    FolderNames* names = Fresh(key, dirPath, st, &scanned);
    if (names == nullptr) return std::nullopt;
    auto it = names->byFolded.find(folded);
    // A listing made by this very call is as fresh as a second one would be.
    if (it == names->byFolded.end() && !scanned && !names->trustMisses) {
      names = Scan(key, dirPath, st);
      if (names == nullptr) return std::nullopt;
      scanned = true;
      it = names->byFolded.find(folded);
    }
    if (it != names->byFolded.end() && !scanned && !StillThere(dirPath, it->second)) {
      // Removed in the same clock tick as our scan: look again.
      names = Scan(key, dirPath, st);
      if (names == nullptr) return std::nullopt;
      it = names->byFolded.find(folded);
    }
    if (it == names->byFolded.end()) return std::nullopt;
    return it->second;
  }

  void Forget(const std::string& folder) {
    const std::string key = AbsolutePath(folder.empty() ? "." : folder);
    std::lock_guard lock(mutex_);
    folders_.erase(key);
  }

  void ForgetAll() {
    std::lock_guard lock(mutex_);
    folders_.clear();
  }

 private:
  static bool StillThere(const std::string& dirPath, const std::string& name) {
    struct stat st {};
    return lstat((dirPath + "/" + name).c_str(), &st) == 0;
  }

  FolderNames* Fresh(const std::string& key, const std::string& dirPath, const struct stat& st, bool* scanned) {
    auto it = folders_.find(key);
    if (it != folders_.end() && it->second.changedNs == ToNs(st.st_mtim) && it->second.inode == st.st_ino) {
      return &it->second;
    }
    *scanned = true;
    return Scan(key, dirPath, st);
  }

  FolderNames* Scan(const std::string& key, const std::string& dirPath, const struct stat& st) {
    // Read after the folder's stat and before the listing starts: a change
    // the listing misses is stamped at or after this time.
    const int64_t stampedBefore = StampClockNs();
    DIR* dir = opendir(dirPath.c_str());
    if (dir == nullptr) {
      folders_.erase(key);
      return nullptr;
    }
    FolderNames names;
    names.changedNs = ToNs(st.st_mtim);
    names.inode = st.st_ino;
    names.scannedNs = WallClockNs();
    const bool subSecond = names.changedNs % 1'000'000'000 != 0;
    names.trustMisses = names.scannedNs - names.changedNs >= kUnsureWindowNs ||
                        (subSecond && stampedBefore > names.changedNs && StampsFromKernelClock(dirPath));
    while (const dirent* e = readdir(dir)) {
      const std::string_view n = e->d_name;
      if (n == "." || n == "..") continue;
      // Two names that differ only in case: the first in byte order wins, so
      // the choice does not depend on the directory's order.
      auto [it, inserted] = names.byFolded.emplace(ToLowerAscii(n), std::string(n));
      if (!inserted && n < it->second) it->second = std::string(n);
    }
    closedir(dir);
    if (folders_.size() > 4096) folders_.clear();  // bound the memory on huge trees
    return &(folders_[key] = std::move(names));
  }

  std::mutex mutex_;
  std::unordered_map<std::string, FolderNames> folders_;
};

NameCache& Cache() {
  static NameCache cache;
  return cache;
}

std::string Join(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  if (folder == "/") return "/" + std::string(name);
  return folder + "/" + std::string(name);
}

bool LstatOk(const std::string& path, struct stat* st) { return lstat(path.c_str(), st) == 0; }

void ForgetParentOf(const std::string& resolved) {
  Cache().Forget(std::string(ParentOf(resolved)));
}

// The resolved path of the target of a move or copy: its folder resolved, its
// own name as given (so a rename can change the letter case).
std::string ResolveTargetAsGiven(std::string_view path) {
  const std::string native = ToNativeSeparators(path);
  const std::string_view parent = ParentOf(native);
  const std::string_view last = LastPartOf(native);
  if (parent.empty()) return std::string(last);
  return Join(ResolvePath(parent), last);
}

bool CopyContents(int from, int to) {
  char buffer[64 * 1024];
  for (;;) {
    const int64_t n = ReadFully(from, buffer, sizeof buffer);
    if (n <= 0) return n == 0;
    if (WriteFully(to, buffer, static_cast<size_t>(n)) != n) return false;
  }
}

}  // namespace

std::string ResolvePath(std::string_view path) {
  bool absolute = false;
  const std::vector<std::string> parts = SplitPathParts(path, &absolute);
  std::string current = absolute ? "/" : "";
  // Most paths exist as written, or all but their last part do. The system
  // then found each part before, so the walk below would take it as it
  // stands: one or two look-ups instead of one per part.
  if (!parts.empty()) {
    std::string parent = current;
    for (size_t i = 0; i + 1 < parts.size(); ++i) parent = Join(parent, parts[i]);
    std::string whole = Join(parent, parts.back());
    struct stat st {};
    if (LstatOk(whole, &st)) return whole;
    if (parts.size() > 1 && LstatOk(parent, &st)) {
      // Only the last part is not there as written: look for it in its folder.
      const std::string& last = parts.back();
      if (last == "." || last == "..") return whole;
      if (auto found = Cache().Find(parent, last)) return Join(parent, *found);
      return whole;
    }
  }
  bool searching = true;
  for (const std::string& part : parts) {
    if (part == "." || part == ".." || !searching) {
      current = Join(current, part);
      continue;
    }
    const std::string exact = Join(current, part);
    struct stat st {};
    if (LstatOk(exact, &st)) {
      current = exact;
      continue;
    }
    if (auto found = Cache().Find(current, part)) {
      current = Join(current, *found);
    } else {
      current = exact;
      searching = false;  // nothing below a missing part can exist
    }
  }
  return current;
}

void ForgetCachedFolders() { Cache().ForgetAll(); }

void NoteFolderChanged(std::string_view resolvedPath) { ForgetParentOf(std::string(resolvedPath)); }

std::optional<FileStatus> GetFileStatus(std::string_view path) {
  struct stat st {};
  if (stat(ResolvePath(path).c_str(), &st) != 0) return std::nullopt;
  FileStatus status;
  status.isDirectory = S_ISDIR(st.st_mode);
  status.readOnly = IsReadOnlyMode(st.st_mode);
  status.size = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
  status.modifiedNs = ToNs(st.st_mtim);
  status.device = static_cast<uint64_t>(st.st_dev);
  status.inode = static_cast<uint64_t>(st.st_ino);
  return status;
}

bool FileExists(std::string_view path) {
  struct stat st {};
  return !path.empty() && stat(ResolvePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(std::string_view path) {
  struct stat st {};
  return !path.empty() && stat(ResolvePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDirectory(std::string_view path) {
  const std::string resolved = ResolvePath(path);
  if (resolved.empty() || mkdir(resolved.c_str(), 0777) != 0) return false;
  ForgetParentOf(resolved);
  return true;
}

bool CreateDirectories(std::string_view path) {
  bool absolute = false;
  const std::vector<std::string> parts = SplitPathParts(path, &absolute);
  std::string sofar = absolute ? "/" : "";
  for (const std::string& part : parts) {
    sofar = Join(sofar, part);
    if (!DirectoryExists(sofar) && !CreateDirectory(sofar) && !DirectoryExists(sofar)) return false;
  }
  return !parts.empty();
}

bool RemoveDirectory(std::string_view path) {
  const std::string resolved = ResolvePath(path);
  if (resolved.empty() || rmdir(resolved.c_str()) != 0) return false;
  ForgetParentOf(resolved);
  return true;
}

bool DeleteFile(std::string_view path) {
  const std::string resolved = ResolvePath(path);
  struct stat st {};
  if (resolved.empty() || !LstatOk(resolved, &st) || S_ISDIR(st.st_mode)) return false;
  if (S_ISREG(st.st_mode) && IsReadOnlyMode(st.st_mode)) return false;
  if (unlink(resolved.c_str()) != 0) return false;
  ForgetParentOf(resolved);
  return true;
}

bool MoveFile(std::string_view from, std::string_view to) {
  const std::string source = ResolvePath(from);
  const std::string existingTarget = ResolvePath(to);
  const std::string target = ResolveTargetAsGiven(to);
  struct stat src {}, dst {};
  if (source.empty() || target.empty() || !LstatOk(source, &src)) return false;
  bool ok = false;
  if (LstatOk(existingTarget, &dst)) {
    // Only a change of letter case of the same entry may "overwrite". A second
    // hard link of the file is another entry: renaming onto it would report
    // success and change nothing.
    const bool sameFile = dst.st_ino == src.st_ino && dst.st_dev == src.st_dev;
    const bool sameEntry = sameFile && (existingTarget == source || src.st_nlink == 1 || S_ISDIR(src.st_mode));
    if (!sameEntry || target == source) return false;
    ok = rename(source.c_str(), target.c_str()) == 0;
  } else if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
    ok = true;
  } else if ((errno == EINVAL || errno == ENOSYS) && S_ISREG(src.st_mode)) {
    // File systems without no-replace renames: a hard link cannot replace either.
    ok = link(source.c_str(), target.c_str()) == 0 && unlink(source.c_str()) == 0;
  } else if (errno == EXDEV && S_ISREG(src.st_mode)) {
    // Another volume: copy, then delete the original only when the copy is whole.
    ok = CopyFile(source, target, true) && unlink(source.c_str()) == 0;
  }
  if (ok) {
    ForgetParentOf(source);
    ForgetParentOf(target);
  }
  return ok;
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
  const std::string source = ResolvePath(from);
  const std::string existing = ResolvePath(to);
  const std::string target = ResolveTargetAsGiven(to);
  const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat src {};
  if (fstat(in, &src) != 0 || !S_ISREG(src.st_mode)) {
    close(in);
    return false;
  }
  struct stat dst {};
  const bool targetExists = stat(existing.c_str(), &dst) == 0;
  if (targetExists &&
      (failIfExists || !S_ISREG(dst.st_mode) || IsReadOnlyMode(dst.st_mode) ||
       (dst.st_ino == src.st_ino && dst.st_dev == src.st_dev))) {
    close(in);
    return false;
  }
  const std::string& out_path = targetExists ? existing : target;
  const int flags = O_WRONLY | O_CLOEXEC | O_CREAT | (targetExists ? O_TRUNC : O_EXCL);
  const int out = open(out_path.c_str(), flags, 0666);
  if (out < 0) {
    close(in);
    return false;
  }
  bool ok = CopyContents(in, out);
  ok = fchmod(out, src.st_mode & 07777) == 0 && ok;
  ok = close(out) == 0 && ok;
  close(in);
  if (!ok && !targetExists) unlink(out_path.c_str());
  ForgetParentOf(out_path);
  return ok;
}

bool SetReadOnly(std::string_view path, bool readOnly) {
  const std::string resolved = ResolvePath(path);
  struct stat st {};
  if (resolved.empty() || stat(resolved.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  if (readOnly) {
    mode &= ~static_cast<mode_t>(0222);
  } else if (IsReadOnlyMode(mode)) {
    mode |= S_IWUSR;
  }
  return chmod(resolved.c_str(), mode) == 0;
}

bool IsReadOnly(std::string_view path) {
  struct stat st {};
  return stat(ResolvePath(path).c_str(), &st) == 0 && IsReadOnlyMode(st.st_mode);
}

bool SetHidden(std::string_view path, bool) {
  struct stat st {};
  return !path.empty() && stat(ResolvePath(path).c_str(), &st) == 0;
}

std::vector<DirectoryEntry> ListDirectory(std::string_view folder, std::string_view pattern) {
  std::vector<DirectoryEntry> entries;
  std::string dirPath = ResolvePath(folder);
  if (dirPath.empty()) dirPath = ".";
  DIR* dir = opendir(dirPath.c_str());
  if (dir == nullptr) return entries;
  const int dirFd = dirfd(dir);
  while (const dirent* e = readdir(dir)) {
    const std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    if (!MatchWildcard(pattern, name)) continue;
    DirectoryEntry entry;
    entry.name = std::string(name);
    struct stat st {};
    if (fstatat(dirFd, e->d_name, &st, 0) == 0) {
      entry.isDirectory = S_ISDIR(st.st_mode);
      entry.readOnly = IsReadOnlyMode(st.st_mode);
      entry.size = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
    }
    entries.push_back(std::move(entry));
  }
  closedir(dir);
  std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
    const int c = CompareNoCase(a.name, b.name);
    return c != 0 ? c < 0 : a.name < b.name;
  });
  return entries;
}

std::vector<DirectoryEntry> FindFiles(std::string_view patternPath) {
  const std::string native = ToNativeSeparators(patternPath);
  return ListDirectory(ParentOf(native), LastPartOf(native));
}

std::string CurrentDirectory() {
  char cwd[PATH_MAX];
  return getcwd(cwd, sizeof cwd) != nullptr ? std::string(cwd) : std::string(".");
}

bool SetCurrentDirectory(std::string_view path) {
  const std::string resolved = ResolvePath(path);
  return !resolved.empty() && chdir(resolved.c_str()) == 0;
}

}  // namespace platform
