#include "framework/CTGFileManager.h"

#include <cstring>
#include <mutex>
#include <vector>

#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {

uint32_t LoadLE32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// An archive by name: the last three characters, in any case, are "FAR".
bool HasArchiveSuffix(const CTGString& name) {
  if (name.size() < 3) return false;
  const char* tail = name.c_str() + name.size() - 3;
  return (tail[0] == 'f' || tail[0] == 'F') && (tail[1] == 'a' || tail[1] == 'A') &&
         (tail[2] == 'r' || tail[2] == 'R');
}

// A character as Normalize leaves it.
char NormalizedChar(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return c == '/' ? '\\' : c;
}

bool MatchFrom(const char* p, const char* n) {
  // Iterative, with one backtrack point for the last '*': never recursive.
  // Both sides are compared normalised, in place: the search calls this for
  // every name of a folder.
  const char* starP = nullptr;
  const char* starN = nullptr;
  while (*n != '\0') {
    if (*p == '*') {
      starP = p++;
      starN = n;
    } else if (*p != '\0' && (*p == '?' || NormalizedChar(*p) == NormalizedChar(*n))) {
      ++p;
      ++n;
    } else if (starP != nullptr) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return *p == '\0';
}

struct ArchiveMember {
  std::string name;
  uint32_t size;
  uint32_t reserved;
  uint32_t offset;
};

}  // namespace

bool StaysInsideFolder(std::string_view path) {
  if (!path.empty() && (path[0] == '\\' || path[0] == '/')) return false;
  if (path.size() >= 2 && path[1] == ':') return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = path.size();
    if (path.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

bool MatchDataFilePattern(const char* pattern, const char* name) {
  if (pattern == nullptr || name == nullptr) return false;
  if (std::strlen(pattern) >= 512 || std::strlen(name) >= 512) return false;
  return MatchFrom(pattern, name);
}

CTGFileManager::~CTGFileManager() = default;

CTGFileManager& CTGFileManager::Global() {
  static CTGFileManager manager;
  return manager;
}

CTGString CTGFileManager::Normalize(const char* name) {
  CTGString out(name);
  for (char& c : out) c = NormalizedChar(c);
  return out;
}

void CTGFileManager::SplitName(const CTGString& normalized, CTGString& directory, CTGString& file) {
  const size_t slash = normalized.rfind('\\');
  if (slash == std::string::npos) {
    directory.clear();
    file = normalized;
  } else {
    directory = normalized.substr(0, slash + 1);
    file = normalized.substr(slash + 1);
  }
}

std::string CTGFileManager::LastError() const {
  std::shared_lock lock(mLock);
  return mErrors.empty() ? std::string() : mErrors.back();
}

std::vector<std::string> CTGFileManager::Errors() const {
  std::shared_lock lock(mLock);
  return mErrors;
}

void CTGFileManager::SetError(std::string message) {
  std::unique_lock lock(mLock);
  mErrors.push_back(std::move(message));
}

bool CTGFileManager::AddDirectory(const char* directory, bool recurse, bool mapArchives) {
  CTGString dir = Normalize(directory);
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  VisitedFolders visited;
  return AddDirectoryWalk(dir, recurse, mapArchives, visited);
}

bool CTGFileManager::AddDirectoryWalk(const CTGString& dir, bool recurse, bool mapArchives,
                                      VisitedFolders& visited) {
  if (dir.size() > kMaxPath) return false;
  const std::string listed = dir.empty() ? "." : dir;
  const auto status = platform::GetFileStatus(listed);
  if (!status || !status->isDirectory) return false;
  // Entered already in this walk, under another name.
  if (!visited.emplace(status->device, status->inode).second) return true;
  // "." and ".." never come back from the listing, whatever the order.
  const auto entries = platform::ListDirectory(listed, "*");
  {
    std::unique_lock lock(mLock);
    mDirectories[dir];  // the folder is registered even when empty
  }
  for (const auto& e : entries) {
    const CTGString name = Normalize(e.name.c_str());
    const CTGString full = dir + name;
    if (full.size() > kMaxPath) continue;
    if (e.isDirectory) {
      {
        std::unique_lock lock(mLock);
        CTGFileEntry entry;
        entry.writable = !e.readOnly;
        entry.directory = true;
        mDirectories[dir][name] = entry;
      }
      if (recurse) AddDirectoryWalk(full + "\\", recurse, mapArchives, visited);
    } else if (!HasArchiveSuffix(name)) {
      std::unique_lock lock(mLock);
      CTGFileEntry entry;
      entry.path = name;
      entry.writable = !e.readOnly;
      mDirectories[dir][name] = entry;  // a loose file replaces a member
    } else if (mapArchives) {
      MapArchive(full.c_str());
    }
  }
  return true;
}

bool CTGFileManager::MapArchive(const char* path) {
  const CTGString archive = Normalize(path);
  CTGString archiveDir, archiveName;
  SplitName(archive, archiveDir, archiveName);
  auto fail = [&](const std::string& why) {
    SetError("Couldn't map archive '" + archive + "': " + why);
    return false;
  };
  auto handle = std::make_shared<platform::File>();
  if (archive.size() > kMaxPath || !handle->Open(archive, platform::File::kRead,
                                                 platform::File::Disposition::kOpenExisting)) {
    SetError("Couldn't Open file '" + archive + "' for mapping.");
    return false;
  }
  const int64_t fileSize = handle->Size();
  uint8_t header[16];
  if (fileSize < 16 || handle->ReadAt(header, 16, 0) != 16) return fail("shorter than its header");
  const uint64_t dirOffset = LoadLE32(header + 12);
  uint8_t word[16];
  if (dirOffset + 4 > static_cast<uint64_t>(fileSize) || handle->ReadAt(word, 4, static_cast<int64_t>(dirOffset)) != 4) {
    return fail("directory offset past the end");
  }
  // Unsigned: a count with the top bit set is damage, not an empty archive.
  const uint32_t count = LoadLE32(word);
  if (count == 0) return true;  // an empty archive
  // Each entry takes at least 16 bytes: a larger count cannot be true.
  const uint64_t dirBytes = static_cast<uint64_t>(fileSize) - dirOffset - 4;
  if (count > dirBytes / 16) return fail("entry count larger than the directory");

  // Read and check the whole directory before registering anything.
  std::vector<ArchiveMember> members;
  members.reserve(count);
  int64_t at = static_cast<int64_t>(dirOffset) + 4;
  for (uint32_t i = 0; i < count; ++i) {
    if (handle->ReadAt(word, 16, at) != 16) return fail("directory entry " + std::to_string(i) + " cut short");
    ArchiveMember m;
    m.size = LoadLE32(word);
    m.reserved = LoadLE32(word + 4);
    m.offset = LoadLE32(word + 8);
    const uint32_t nameLength = LoadLE32(word + 12);
    at += 16;
    if (nameLength > kMaxMemberName) return fail("entry " + std::to_string(i) + " name too long");
    if (static_cast<uint64_t>(m.offset) + m.size > static_cast<uint64_t>(fileSize)) {
      return fail("entry " + std::to_string(i) + " data past the end");
    }
    m.name.resize(nameLength);
    if (nameLength > 0 && handle->ReadAt(m.name.data(), nameLength, at) != static_cast<int64_t>(nameLength)) {
      return fail("entry " + std::to_string(i) + " name cut short");
    }
    at += nameLength;
    if (!StaysInsideFolder(m.name)) return fail("entry " + std::to_string(i) + " name leaves the archive's folder");
    members.push_back(std::move(m));
  }

  std::unique_lock lock(mLock);
  mArchives[archive] = handle;
  for (const ArchiveMember& m : members) {
    const CTGString memberPath = Normalize((archiveDir + m.name).c_str());
    CTGString dir, file;
    SplitName(memberPath, dir, file);
    if (file.empty() || memberPath.size() > kMaxPath) continue;
    FileTable& table = mDirectories[dir];
    if (table.count(file) != 0) continue;  // a loose file or an earlier archive wins
    CTGFileEntry entry;
    entry.path = archive;
    entry.handle = handle;
    entry.offset = m.offset;
    entry.reserved = m.reserved;
    entry.size = m.size;
    entry.shared = true;
    table[file] = entry;
    // Make the member's folders visible in their parents, up to a folder
    // that was registered already.
    CTGString up = dir;
    while (!up.empty()) {
      up.pop_back();  // the trailing '\'
      CTGString parent, name;
      SplitName(up, parent, name);
      if (name.empty()) break;
      const bool parentKnown = mDirectories.count(parent) != 0;
      if (!parentKnown && parent.empty()) break;
      FileTable& parentTable = mDirectories[parent];
      if (parentTable.count(name) == 0) {
        CTGFileEntry folder;
        folder.writable = true;
        folder.directory = true;
        parentTable[name] = folder;
      }
      if (parentKnown) break;
      up = parent;
    }
  }
  return true;
}

bool CTGFileManager::HasDirectory(const char* directory) const {
  const CTGString dir = Normalize(directory);
  std::shared_lock lock(mLock);
  return mDirectories.count(dir) != 0;
}

bool CTGFileManager::FindLocked(const CTGString& normalized, CTGFileEntry* entry) const {
  if (normalized.size() > kMaxPath) return false;
  CTGString dir, file;
  SplitName(normalized, dir, file);
  const auto d = mDirectories.find(dir);
  if (d == mDirectories.end()) return false;
  const auto f = d->second.find(file);
  if (f == d->second.end()) return false;
  if (entry != nullptr) *entry = f->second;
  return true;
}

bool CTGFileManager::Find(const char* name, CTGFileEntry* entry) const {
  const CTGString normalized = Normalize(name);
  std::shared_lock lock(mLock);
  return FindLocked(normalized, entry);
}

void CTGFileManager::AddEntryLocked(const CTGString& normalized, bool writable) {
  CTGString dir, file;
  SplitName(normalized, dir, file);
  const auto d = mDirectories.find(dir);
  if (d == mDirectories.end() || file.empty()) return;
  CTGFileEntry entry;
  entry.path = file;
  entry.writable = writable;
  d->second[file] = entry;
}

void CTGFileManager::RemoveEntryLocked(const CTGString& normalized) {
  CTGString dir, file;
  SplitName(normalized, dir, file);
  const auto d = mDirectories.find(dir);
  if (d != mDirectories.end()) d->second.erase(file);
}

CTGFile* CTGFileManager::Open(const char* name, bool write) {
  const CTGString normalized = Normalize(name);
  if (normalized.empty() || normalized.size() > kMaxPath) return nullptr;
  CTGFileEntry entry;
  bool registered;
  {
    std::shared_lock lock(mLock);
    registered = FindLocked(normalized, &entry);
  }
  if (registered && entry.directory) return nullptr;
  if (registered && entry.shared) {
    if (write) return nullptr;
    return new CTGFile(normalized, entry.handle, entry.size, entry.offset, true, false, this);
  }
  auto handle = std::make_shared<platform::File>();
  const unsigned access = platform::File::kRead | (write ? platform::File::kWrite : 0u);
  if (!handle->Open(name, access, platform::File::Disposition::kOpenExisting)) return nullptr;
  const int64_t size = handle->Size();
  if (size < 0 || size > 0x7FFFFFFF) return nullptr;  // sizes and positions are 32-bit
  return new CTGFile(normalized, std::move(handle), size, 0, false, write, this);
}

void CTGFileManager::Close(CTGFile* file) { delete file; }

bool CTGFileManager::Create(const char* name) {
  const CTGString normalized = Normalize(name);
  if (normalized.empty() || normalized.size() > kMaxPath) return false;
  {
    std::shared_lock lock(mLock);
    if (FindLocked(normalized, nullptr)) return false;
  }
  platform::File file;
  if (!file.Open(name, platform::File::kWrite, platform::File::Disposition::kCreateAlways)) return false;
  file.Close();
  std::unique_lock lock(mLock);
  AddEntryLocked(normalized, true);
  return true;
}

bool CTGFileManager::Delete(const char* name) {
  const CTGString normalized = Normalize(name);
  CTGFileEntry entry;
  bool registered;
  {
    std::shared_lock lock(mLock);
    registered = FindLocked(normalized, &entry);
  }
  if (registered && entry.shared) return false;
  const bool deleted = platform::DeleteFile(name);
  // The entry goes when the file is gone, also when it had vanished before.
  if (registered && (deleted || !platform::FileExists(name))) {
    std::unique_lock lock(mLock);
    RemoveEntryLocked(normalized);
  }
  return deleted;
}

bool CTGFileManager::IsArchiveMember(const CTGString& normalized) const {
  CTGFileEntry entry;
  std::shared_lock lock(mLock);
  return FindLocked(normalized, &entry) && entry.shared;
}

bool CTGFileManager::Move(const char* from, const char* to) {
  const CTGString source = Normalize(from);
  const CTGString target = Normalize(to);
  if (IsArchiveMember(source)) return false;
  if (target.size() > kMaxPath || !platform::MoveFile(from, to)) return false;
  std::unique_lock lock(mLock);
  RemoveEntryLocked(source);
  AddEntryLocked(target, true);
  return true;
}

bool CTGFileManager::Copy(const char* from, const char* to) {
  const CTGString source = Normalize(from);
  const CTGString target = Normalize(to);
  if (IsArchiveMember(source)) return false;
  if (target.size() > kMaxPath || !platform::CopyFile(from, to, true)) return false;
  std::unique_lock lock(mLock);
  AddEntryLocked(target, !platform::IsReadOnly(to));
  return true;
}

bool CTGFileManager::Exists(const char* name) const {
  if (Find(name)) return true;
  return name != nullptr && std::strlen(name) <= kMaxPath && platform::FileExists(name);
}

bool CTGFileManager::FindFrom(CTGFindRecord& record, bool first) const {
  std::shared_lock lock(mLock);
  const auto d = mDirectories.find(record.directory);
  if (d == mDirectories.end()) return false;
  // Continue after the last name found, so changes to the table between
  // calls cannot leave a dangling cursor.
  auto it = first ? d->second.begin() : d->second.upper_bound(record.name);
  for (; it != d->second.end(); ++it) {
    if (MatchDataFilePattern(record.pattern.c_str(), it->first.c_str())) {
      record.name = it->first;
      record.directoryFlag = it->second.directory;
      record.writable = it->second.writable;
      return true;
    }
  }
  return false;
}

bool CTGFileManager::FindFirst(const char* patternPath, CTGFindRecord& record) const {
  const CTGString normalized = Normalize(patternPath);
  if (normalized.size() > kMaxPath) return false;
  SplitName(normalized, record.directory, record.pattern);
  record.name.clear();
  return FindFrom(record, true);
}

bool CTGFileManager::FindNext(CTGFindRecord& record) const { return FindFrom(record, false); }

void CTGFileManager::CloseAll() {
  std::unique_lock lock(mLock);
  mDirectories.clear();
  mArchives.clear();
  mErrors.clear();
}

void CTGFileManager::UpdateSize(const CTGString& path, uint32_t size) {
  CTGString dir, file;
  SplitName(path, dir, file);
  std::unique_lock lock(mLock);
  const auto d = mDirectories.find(dir);
  if (d == mDirectories.end()) return;
  const auto f = d->second.find(file);
  if (f != d->second.end()) f->second.size = size;
}
