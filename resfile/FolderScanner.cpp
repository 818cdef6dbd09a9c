#include "resfile/FolderScanner.h"

#include <cstring>
#include <string_view>

#include "framework/CTGFileManager.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "resfile/PathHelpers.h"

namespace {

bool EqualsFolded(char a, char b) {
  if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
  if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
  return a == b;
}

bool MatchesAt(const char* text, const char* part, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (!EqualsFolded(text[i], part[i])) return false;
  }
  return true;
}

}  // namespace

int FolderScanner::Scan(const char* path) {
  FixedPath folder;
  folder.Assign(path != nullptr ? path : "");
  char* text = folder.Buffer();
  for (int32_t i = 0; i < folder.Length(); ++i) {
    if (text[i] == '/') text[i] = '\\';
  }
  if (folder.Length() > 0 && folder.CharAt(folder.Length() - 1) != '\\') folder.Append("\\");
  CTGFileManager& manager = CTGFileManager::Global();
  if (manager.HasDirectory(folder.c_str())) {
    ScanRegistered(manager, folder);
    return 0;
  }
  VisitedFolders visited;
  return ScanDisk(folder, visited);
}

namespace {

// The entries of a registered folder (its path ends in '\'), collected first:
// the callbacks may register or open files meanwhile.
std::vector<std::pair<FixedPath, bool>> Collect(CTGFileManager& manager, const FixedString& folder) {
  FixedPath pattern;
  pattern.AssignString(folder);
  pattern.Append("*");
  std::vector<std::pair<FixedPath, bool>> found;
  CTGFindRecord record;
  for (bool ok = manager.FindFirst(pattern.c_str(), record); ok; ok = manager.FindNext(record)) {
    FixedPath full;
    full.AssignString(folder);
    full.Append(record.name.c_str());
    found.emplace_back(full, record.directoryFlag);
  }
  return found;
}

}  // namespace

void FolderScanner::ScanRegistered(CTGFileManager& manager, const FixedString& folder) {
  for (auto& [full, isFolder] : Collect(manager, folder)) {
    if (!isFolder) {
      VisitFile(full.c_str());
    } else if (EnterFolder(full.c_str())) {
      full.Append("\\");
      ScanRegistered(manager, full);
    }
  }
}

int FolderScanner::ScanDisk(const FixedString& folder, VisitedFolders& visited) {
  FixedPath dir;
  dir.AssignString(folder);
  if (dir.Length() > 0 && dir.CharAt(dir.Length() - 1) != '\\') dir.Append("\\");
  const auto status = platform::GetFileStatus(dir.Length() > 0 ? dir.c_str() : ".");
  if (status && status->isDirectory && !visited.emplace(status->device, status->inode).second) return 0;
  CTGFileManager manager;
  if (!manager.AddDirectory(dir.c_str(), false, true)) return -1;
  for (auto& [full, isFolder] : Collect(manager, dir)) {
    if (!isFolder) {
      VisitFile(full.c_str());
    } else if (EnterFolder(full.c_str())) {
      full.Append("\\");
      // A folder that exists only inside an archive is walked through this
      // manager's tables.
      if (ScanDisk(full, visited) != 0 && manager.HasDirectory(full.c_str())) ScanRegistered(manager, full);
    }
  }
  manager.CloseAll();
  return 0;
}

MatchFolderScanner::MatchFolderScanner(const char* prefix, const char* suffix, bool recurse) : mRecurse(recurse) {
  mPrefix.Assign(prefix);
  mSuffix.Assign(suffix);
}

void MatchFolderScanner::VisitFile(const char* path) {
  FixedPath name;
  GetFileNameOfPath(path, name);
  const auto length = static_cast<size_t>(name.Length());
  const auto prefixLength = static_cast<size_t>(mPrefix.Length());
  const auto suffixLength = static_cast<size_t>(mSuffix.Length());
  if (prefixLength > 0 && (length < prefixLength || !MatchesAt(name.c_str(), mPrefix.c_str(), prefixLength))) return;
  if (suffixLength > 0 &&
      (length < suffixLength || !MatchesAt(name.c_str() + length - suffixLength, mSuffix.c_str(), suffixLength))) {
    return;
  }
  FixedPath full;
  full.Assign(path);
  mMatches.push_back(full);
}

int WriteHandleToFile(MemHandle handle, const char* path) {
  if (path == nullptr) return -1;
  const uint8_t* data = GetMemHandleData(handle);
  const int32_t size = GetMemHandleSize(handle);
  if (size > 0 && data == nullptr) return -1;
  // Through a temporary renamed over the target: a failed write leaves an
  // older file whole.
  std::string_view bytes(reinterpret_cast<const char*>(data), size > 0 ? static_cast<size_t>(size) : 0);
  return platform::SaveFileAtomically(path, bytes) ? 0 : -1;
}
