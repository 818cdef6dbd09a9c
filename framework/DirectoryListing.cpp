#include "framework/DirectoryListing.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/Path.h"

DirectoryListing::DirectoryListing(const cRZString& directory, bool scanNow, bool includeDotDot, bool includeDot)
    : mDirectory(directory), mIncludeDotDot(includeDotDot), mIncludeDot(includeDot) {
  if (mDirectory.empty() || (mDirectory.back() != '\\' && mDirectory.back() != '/')) mDirectory += '\\';
  if (scanNow) Scan();
}

void DirectoryListing::SetPattern(const cRZString& pattern, bool scanNow) {
  {
    platform::ScopedLock lock(mLock);
    mPattern = pattern.empty() ? cRZString("*.*") : pattern;
  }
  if (scanNow) Scan();
}

bool DirectoryListing::Search(std::list<Item>& out, bool files, bool directories, bool dotDot, bool dot) const {
  if (!platform::DirectoryExists(mDirectory)) return false;
  // The disk never reports "." and ".."; Windows did when the pattern matched
  // them, first in the listing. Those asked for are listed the same way.
  const bool allNames = mPattern == "*.*" || mPattern == "*";
  auto addDots = [&] {
    if (dotDot) out.push_back({kDirectory, cRZString(".."), 0});
    if (dot) out.push_back({kDirectory, cRZString("."), 0});
  };
  if (allNames) addDots();
  for (const auto& entry : platform::ListDirectory(mDirectory, mPattern)) {
    if (entry.isDirectory ? !directories : !files) continue;
    out.push_back({entry.isDirectory ? uint32_t{kDirectory} : uint32_t{kFile}, cRZString(entry.name), 0});
  }
  if (!allNames) addDots();
  return true;
}

bool DirectoryListing::Scan() {
  platform::ScopedLock lock(mLock);
  mItems.clear();
  return Search(mItems, true, true, mIncludeDotDot, mIncludeDot);
}

bool DirectoryListing::ListInto(std::list<Item>& list, uint32_t flags) {
  platform::ScopedLock lock(mLock);
  return Search(list, flags & kListFiles, flags & kListDirectories, flags & kListDotDot, flags & kListDot);
}

bool DirectoryListing::Contains(const cRZString& name) {
  platform::ScopedLock lock(mLock);
  return std::any_of(mItems.begin(), mItems.end(), [&](const Item& item) { return item.name == name; });
}

std::list<DirectoryListing::Item> DirectoryListing::Items() {
  platform::ScopedLock lock(mLock);
  return mItems;
}

size_t DirectoryListing::Count() {
  platform::ScopedLock lock(mLock);
  return mItems.size();
}
