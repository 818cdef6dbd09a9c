#include "framework/cRZFile.h"

#include <mutex>

#include "framework/cRZPath.h"
#include "platform/FileSystem.h"

namespace {

std::mutex gListLock;
cRZFile* gFirstFile = nullptr;

}  // namespace

cRZFile::cRZFile(const char* path) : mPath(path) {
  std::lock_guard lock(gListLock);
  mNext = gFirstFile;
  gFirstFile = this;
  mLinked = true;
}

cRZFile::cRZFile(const cRZString& path) : mPath(path) {}

cRZFile::~cRZFile() {
  Close();
  Unlink();
}

void cRZFile::Unlink() {
  std::lock_guard lock(gListLock);
  if (!mLinked) return;
  for (cRZFile** link = &gFirstFile; *link != nullptr; link = &(*link)->mNext) {
    if (*link == this) {
      *link = mNext;
      break;
    }
  }
  mNext = nullptr;
  mLinked = false;
}

bool cRZFile::Open(uint32_t access, uint32_t disposition, uint32_t share) {
  if (mOpen) return true;
  if (disposition > kTruncateExisting) return false;
  // Share modes cannot be enforced between processes here; the game never
  // relies on a refused second open.
  (void)share;
  unsigned platformAccess = 0;
  if (access & kRead) platformAccess |= platform::File::kRead;
  if (access & kWrite) platformAccess |= platform::File::kWrite;
  if (!mHandle.Open(mPath, platformAccess, static_cast<platform::File::Disposition>(disposition))) return false;
  mOpen = true;
  return true;
}

bool cRZFile::Close() {
  if (!mOpen) return false;
  mOpen = false;
  mHandle.Close();
  return true;
}

uint32_t cRZFile::GetPosition() const {
  if (!mOpen) return 0;
  const int64_t pos = mHandle.Position();
  return pos < 0 ? 0 : static_cast<uint32_t>(pos);
}

uint32_t cRZFile::GetSize() const {
  if (!mOpen) return 0;
  const int64_t size = mHandle.Size();
  return size < 0 ? 0 : static_cast<uint32_t>(size);
}

bool cRZFile::SetSize(uint32_t size) { return mOpen && mHandle.Truncate(size); }

uint32_t cRZFile::SeekAbsolute(uint32_t position) {
  if (!mOpen) return kInvalidPosition;
  const int64_t pos = mHandle.Seek(position, platform::File::Origin::kBegin);
  return pos < 0 ? kInvalidPosition : static_cast<uint32_t>(pos);
}

uint32_t cRZFile::Seek(int32_t offset, uint32_t origin) {
  if (!mOpen) return kInvalidPosition;
  if (origin > kEnd) return GetPosition();
  const platform::File::Origin o = origin == kBegin    ? platform::File::Origin::kBegin
                                   : origin == kCurrent ? platform::File::Origin::kCurrent
                                                        : platform::File::Origin::kEnd;
  const int64_t pos = mHandle.Seek(offset, o);
  return pos < 0 ? kInvalidPosition : static_cast<uint32_t>(pos);
}

bool cRZFile::Read(void* buffer, uint32_t count) {
  uint32_t got = count;
  return ReadSome(buffer, got) && got == count;
}

bool cRZFile::ReadSome(void* buffer, uint32_t& count) {
  if (!mOpen) {
    count = 0;
    return false;
  }
  const int64_t got = mHandle.Read(buffer, count);
  count = got < 0 ? 0 : static_cast<uint32_t>(got);
  return got >= 0;
}

bool cRZFile::Write(const void* buffer, uint32_t count) {
  uint32_t written = count;
  return WriteSome(buffer, written) && written == count;
}

bool cRZFile::WriteSome(const void* buffer, uint32_t& count) {
  if (!mOpen) {
    count = 0;
    return false;
  }
  const int64_t written = mHandle.Write(buffer, count);
  count = written < 0 ? 0 : static_cast<uint32_t>(written);
  return written >= 0;
}

bool cRZFile::Flush() { return mOpen && mHandle.Flush(); }

bool cRZFile::Delete() {
  Close();
  return platform::DeleteFile(mPath);
}

bool cRZFile::Rename(const cRZString& newPath) {
  Close();
  if (!platform::MoveFile(mPath, newPath)) return false;
  mPath = newPath;
  return true;
}

bool cRZFile::Exists() const { return platform::FileExists(mPath); }

bool cRZFile::CopyFrom(cIGZFile& other, bool failIfExists) {
  Close();
  return platform::CopyFile(other.PathString(), mPath, failIfExists);
}

bool cRZFile::CopyFromPath(const cRZString& path, bool failIfExists) {
  return platform::CopyFile(path, mPath, failIfExists);
}

uint32_t cRZFile::AddRef() { return ++mRefCount; }

uint32_t cRZFile::Release() {
  // A count already at 0 (an object nobody took a reference to) stays.
  if (mRefCount == 0) return 0;
  const uint32_t count = --mRefCount;
  if (count == 0) delete this;
  return count;
}

bool FileExists(const cRZString& path) { return platform::FileExists(path); }

bool CopyFilePath(const cRZString& from, const cRZString& to, bool failIfExists) {
  return platform::CopyFile(from, to, failIfExists);
}

bool SetFileAttributeBits(const cRZString& path, uint32_t mask, bool value) {
  if (!platform::GetFileStatus(path).has_value()) return false;
  bool ok = true;
  if (mask & 1) ok = platform::SetReadOnly(path, value) && ok;
  if (mask & 2) ok = platform::SetHidden(path, value) && ok;
  return ok;
}

bool GetFileTitle(const cRZString& path, cRZString& title) {
  cRZString drive, directory, extension;
  cRZPath::SplitFullPath(path, drive, directory, title, extension);
  return !title.empty();
}

bool GetFileDirectory(const cRZString& path, cRZString& directory) {
  cRZString drive, dir, name, extension;
  cRZPath::SplitFullPath(path, drive, dir, name, extension);
  directory = drive + dir;
  return !directory.empty();
}

void CloseAllFiles() {
  std::lock_guard lock(gListLock);
  while (gFirstFile != nullptr) {
    cRZFile* file = gFirstFile;
    gFirstFile = file->mNext;
    file->mNext = nullptr;
    file->mLinked = false;
    file->Close();
  }
}
