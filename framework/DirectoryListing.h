// DirectoryListing: the names in one folder that match a Win32 wildcard, kept
// in a locked list (the loading thread may fill it while the sound system
// reads it). "." and ".." are listed only when asked for, by name.
#pragma once

#include <cstdint>
#include <list>

#include "framework/cRZString.h"
#include "platform/Sync.h"

class DirectoryListing {
 public:
  enum Kind : uint32_t { kDirectory = 4, kFile = 8 };
  // ListInto flags.
  enum : uint32_t { kListDot = 1, kListDotDot = 2, kListDirectories = 4, kListFiles = 8 };

  struct Item {
    uint32_t kind = kFile;
    cRZString name;
    uint32_t value = 0;
  };

  // The directory gets a trailing '\' when it ends in neither separator.
  DirectoryListing(const cRZString& directory, bool scanNow, bool includeDotDot, bool includeDot);

  // An empty pattern means "*.*".
  void SetPattern(const cRZString& pattern, bool scanNow);
  // Fills the list afresh; false (list empty) when the folder cannot be read.
  bool Scan();
  // The same search, appending to the caller's list what the flags select.
  bool ListInto(std::list<Item>& list, uint32_t flags);
  // Exact comparison with every item's name.
  bool Contains(const cRZString& name);

  std::list<Item> Items();
  size_t Count();
  const cRZString& Directory() const { return mDirectory; }
  const cRZString& Pattern() const { return mPattern; }

 private:
  bool Search(std::list<Item>& out, bool files, bool directories, bool dotDot, bool dot) const;

  platform::CriticalSection mLock;
  std::list<Item> mItems;
  cRZString mDirectory;
  cRZString mPattern = "*.*";
  bool mIncludeDotDot;
  bool mIncludeDot;
};
