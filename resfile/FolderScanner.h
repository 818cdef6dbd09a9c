// Folder walkers of the data layer. FolderScanner visits every file under a
// folder, entering the sub-folders it accepts; folders registered with the
// data-file manager (archive members included) are walked through its
// tables, any other folder is read from the disk through a private manager
// that maps the archives it finds. MatchFolderScanner collects the paths whose
// file names have a given prefix and suffix.
#pragma once

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "resfile/FixedString.h"
#include "resfile/MemHandle.h"

class CTGFileManager;

class FolderScanner {
 public:
  virtual ~FolderScanner() = default;
  // Whether to walk into a sub-folder (its path without a trailing '\').
  virtual bool EnterFolder(const char* folder) { return true; }
  virtual void VisitFile(const char* path) = 0;

  // 0 when the folder could be searched, -1 when it could not.
  int Scan(const char* path);

 private:
  // Device and inode of the disk folders one scan has entered: a folder
  // reached again through a link is not walked twice.
  using VisitedFolders = std::set<std::pair<uint64_t, uint64_t>>;

  void ScanRegistered(CTGFileManager& manager, const FixedString& folder);
  int ScanDisk(const FixedString& folder, VisitedFolders& visited);
};

class MatchFolderScanner : public FolderScanner {
 public:
  MatchFolderScanner(const char* prefix, const char* suffix, bool recurse);

  bool EnterFolder(const char*) override { return mRecurse; }
  // Keeps the path when its file name begins with the prefix (when there is
  // one) and ends with the suffix (when there is one), without regard to case.
  void VisitFile(const char* path) override;

  const std::vector<FixedPath>& Matches() const { return mMatches; }

 private:
  FixedStringBuffer<32> mPrefix;
  FixedStringBuffer<32> mSuffix;
  std::vector<FixedPath> mMatches;
  bool mRecurse;
};

// Writes the handle's bytes as the whole file (an older file stays whole
// until they are all written); 0 on success, -1 when the file cannot be
// created or the write falls short.
int WriteHandleToFile(MemHandle handle, const char* path);
