// cRZFile: the framework's named file with open/close, positioning, whole and
// partial reads and writes, and file-system operations on its own path. Names
// are found whatever their letter case and '\' separates folders (platform
// file layer). Reference-counted through cIGZFile.
#pragma once

#include <cstdint>

#include "framework/cRZString.h"
#include "platform/File.h"

class cIGZFile {
 public:
  enum Access : uint32_t { kRead = 1, kWrite = 2 };
  enum Disposition : uint32_t { kCreateNew = 0, kCreateAlways, kOpenExisting, kOpenAlways, kTruncateExisting };
  enum Origin : uint32_t { kBegin = 0, kCurrent = 1, kEnd = 2 };

  virtual bool Open(uint32_t access, uint32_t disposition, uint32_t share) = 0;
  virtual bool IsOpen() const = 0;
  virtual bool Close() = 0;
  virtual uint32_t GetPosition() const = 0;
  virtual uint32_t GetSize() const = 0;
  virtual bool SetSize(uint32_t size) = 0;
  virtual uint32_t SeekToBegin() = 0;
  virtual uint32_t SeekToEnd() = 0;
  virtual uint32_t SeekRelative(int32_t offset) = 0;
  virtual uint32_t SeekAbsolute(uint32_t position) = 0;
  virtual uint32_t Seek(int32_t offset, uint32_t origin) = 0;
  virtual bool Read(void* buffer, uint32_t count) = 0;
  virtual bool ReadSome(void* buffer, uint32_t& count) = 0;
  virtual bool Write(const void* buffer, uint32_t count) = 0;
  virtual bool WriteSome(const void* buffer, uint32_t& count) = 0;
  virtual bool Flush() = 0;
  virtual bool Delete() = 0;
  virtual bool Rename(const cRZString& newPath) = 0;
  virtual bool Exists() const = 0;
  virtual bool CopyFrom(cIGZFile& other, bool failIfExists) = 0;
  virtual bool CopyFromPath(const cRZString& path, bool failIfExists) = 0;
  virtual const cRZString& PathString() const = 0;
  virtual void GetPath(cRZString& out) const = 0;
  virtual const char* GetPathCString() const = 0;
  virtual void SetPath(const char* path) = 0;
  virtual void SetPath(const cRZString& path) = 0;
  virtual ~cIGZFile() = default;
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;
};

class cRZFile : public cIGZFile {
 public:
  // Seek failures answer this position.
  static constexpr uint32_t kInvalidPosition = 0xFFFFFFFFu;

  // Linked into the global list of files (CloseAllFiles closes them).
  explicit cRZFile(const char* path = nullptr);
  // Not linked.
  explicit cRZFile(const cRZString& path);
  ~cRZFile() override;
  cRZFile(const cRZFile&) = delete;
  cRZFile& operator=(const cRZFile&) = delete;

  bool Open(uint32_t access, uint32_t disposition, uint32_t share) override;
  bool IsOpen() const override { return mOpen; }
  bool Close() override;
  uint32_t GetPosition() const override;
  uint32_t GetSize() const override;
  bool SetSize(uint32_t size) override;
  uint32_t SeekToBegin() override { return Seek(0, kBegin); }
  uint32_t SeekToEnd() override { return Seek(0, kEnd); }
  uint32_t SeekRelative(int32_t offset) override { return Seek(offset, kCurrent); }
  uint32_t SeekAbsolute(uint32_t position) override;
  // Origins other than 0-2 leave the position and answer it.
  uint32_t Seek(int32_t offset, uint32_t origin) override;
  bool Read(void* buffer, uint32_t count) override;
  bool ReadSome(void* buffer, uint32_t& count) override;
  bool Write(const void* buffer, uint32_t count) override;
  bool WriteSome(const void* buffer, uint32_t& count) override;
  bool Flush() override;
  bool Delete() override;
  // The path becomes the new one only when the move succeeded, so a later
  // Delete can never remove the file that blocked the move.
  bool Rename(const cRZString& newPath) override;
  bool Exists() const override;
  bool CopyFrom(cIGZFile& other, bool failIfExists) override;
  bool CopyFromPath(const cRZString& path, bool failIfExists) override;
  const cRZString& PathString() const override { return mPath; }
  void GetPath(cRZString& out) const override { out = mPath; }
  const char* GetPathCString() const override { return mPath.c_str(); }
  void SetPath(const char* path) override { mPath = path; }
  void SetPath(const cRZString& path) override { mPath = path; }
  uint32_t AddRef() override;
  uint32_t Release() override;

 private:
  friend void CloseAllFiles();
  void Unlink();

  cRZString mPath;
  bool mOpen = false;
  platform::File mHandle;
  uint32_t mRefCount = 0;
  bool mLinked = false;
  cRZFile* mNext = nullptr;
};

// True for an existing regular file.
bool FileExists(const cRZString& path);
bool CopyFilePath(const cRZString& from, const cRZString& to, bool failIfExists);
// Mask bit 0: read-only attribute; bit 1: hidden (no such attribute on Linux:
// accepted and ignored). Sets the masked bits on or off as `value` says.
bool SetFileAttributeBits(const cRZString& path, uint32_t mask, bool value);
// The name without its extension; true when not empty.
bool GetFileTitle(const cRZString& path, cRZString& title);
// The drive and directory part; true when not empty.
bool GetFileDirectory(const cRZString& path, cRZString& directory);
// Closes every file of the global list and takes them out of it; the objects
// themselves belong to their owners and are not deleted.
void CloseAllFiles();
