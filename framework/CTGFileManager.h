// CTGFileManager: the game opens its data files by name through one global
// manager. It keeps, for every registered data folder, a table of the files in
// it; a file is either loose on disk or a member of an archive whose name ends
// in "FAR", registered as if it were a file of its own folder. Names are
// normalised (A-Z folded to a-z, '/' turned into '\'); a loose file always wins
// over an archive member of the same path, and the first archive to register a
// member wins over later ones.
//
// Archive layout (little-endian): 8 bytes signature ("FAR!byAZ"), 4 bytes
// version, 4 bytes offset of the directory; the directory is a 32-bit count
// and per entry: size, a second size word, data offset, name length, name.
//
// The tables are guarded by a reader/writer lock, so the loading thread may
// register folders while the main thread looks names up.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/CTGFile.h"
#include "framework/CTGString.h"

namespace platform {
class File;
}

struct CTGFileEntry {
  CTGString path;  // the archive's path for a member, else the file's own name
  std::shared_ptr<platform::File> handle;  // the archive handle of a member
  uint32_t offset = 0;
  uint32_t reserved = 0;
  uint32_t size = 0;
  bool shared = false;
  bool writable = false;
  bool directory = false;
};

struct CTGFindRecord {
  CTGString directory;
  CTGString pattern;
  CTGString name;  // the name found
  bool directoryFlag = false;
  bool writable = false;
};

class CTGFileManager {
 public:
  // Names longer than this are not found and cannot be registered.
  static constexpr size_t kMaxPath = 259;
  // Longest archive member name accepted.
  static constexpr uint32_t kMaxMemberName = 2047;

  CTGFileManager() = default;
  ~CTGFileManager();
  CTGFileManager(const CTGFileManager&) = delete;
  CTGFileManager& operator=(const CTGFileManager&) = delete;

  // The one manager of the program.
  static CTGFileManager& Global();

  // "a/B\\C.IFF" -> "a\\b\\c.iff".
  static CTGString Normalize(const char* name);
  // Splits at the last '\': directory (with the '\') and file name.
  static void SplitName(const CTGString& normalized, CTGString& directory, CTGString& file);

  // Registers the files of a folder (its path ends in '\'; one is added when
  // missing); false when it cannot be listed. A recursive walk enters each
  // real folder once: a folder reached again through a link is listed in its
  // parent but not walked, so link loops cost nothing.
  bool AddDirectory(const char* directory, bool recurse, bool mapArchives);
  // Registers the members of an archive; false, with LastError() telling why,
  // when it cannot be opened or its directory is damaged (then nothing of it
  // is registered).
  bool MapArchive(const char* path);
  bool HasDirectory(const char* directory) const;

  // A new CTGFile, or null (missing file; archive member asked for writing).
  CTGFile* Open(const char* name, bool write);
  void Close(CTGFile* file);
  bool Create(const char* name);
  bool Delete(const char* name);
  bool Move(const char* from, const char* to);
  // Never overwrites an existing destination.
  bool Copy(const char* from, const char* to);
  bool Exists(const char* name) const;
  bool Find(const char* name, CTGFileEntry* entry = nullptr) const;
  // Wildcard search ('*', '?', case-insensitive) over one registered folder's
  // table in name order.
  bool FindFirst(const char* patternPath, CTGFindRecord& record) const;
  bool FindNext(CTGFindRecord& record) const;
  // Drops every table and the manager's archive handles (open members keep
  // theirs until closed).
  void CloseAll();

  // Sets the registered size of a file (CTGFile::SetLength).
  void UpdateSize(const CTGString& path, uint32_t size);

  std::string LastError() const;
  // Every archive refused since the manager was made or last closed all, one
  // message each, in the order they were met.
  std::vector<std::string> Errors() const;

 private:
  using FileTable = std::map<CTGString, CTGFileEntry>;
  // Device and inode of the folders one walk has entered.
  using VisitedFolders = std::set<std::pair<uint64_t, uint64_t>>;

  bool AddDirectoryWalk(const CTGString& dir, bool recurse, bool mapArchives, VisitedFolders& visited);

  bool IsArchiveMember(const CTGString& normalized) const;
  bool FindLocked(const CTGString& normalized, CTGFileEntry* entry) const;
  void AddEntryLocked(const CTGString& normalized, bool writable);
  void RemoveEntryLocked(const CTGString& normalized);
  bool FindFrom(CTGFindRecord& record, bool first) const;
  void SetError(std::string message);

  mutable std::shared_mutex mLock;
  std::map<CTGString, FileTable> mDirectories;
  std::map<CTGString, std::shared_ptr<platform::File>> mArchives;
  std::vector<std::string> mErrors;
};

// A relative path that stays below the folder it is taken from: not absolute,
// no drive, and no ".." part, with '\\' or '/' as separators.
bool StaysInsideFolder(std::string_view path);

// Wildcard match of the data-file layer: '*' any run, '?' exactly one
// character, case-insensitive; names of 512 bytes or more never match.
bool MatchDataFilePattern(const char* pattern, const char* name);
