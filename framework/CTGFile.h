// CTGFile: an open data file from CTGFileManager, either a plain file or a
// member read in place from a shared archive handle. Reads of typed values go
// through a 4096-byte read-ahead buffer. The typed format, shared by every
// writer of such files: 32-bit integers little-endian; a string is a length
// byte L (0-254) followed by L bytes, or 255, a 32-bit length N and N bytes;
// no terminator is stored.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/CTGString.h"

namespace platform {
class File;
}
class CTGFileManager;

class CTGFile {
 public:
  CTGFile(const CTGString& path, std::shared_ptr<platform::File> handle, int64_t size, int64_t base, bool shared,
          bool writable, CTGFileManager* owner);
  ~CTGFile();
  CTGFile(const CTGFile&) = delete;
  CTGFile& operator=(const CTGFile&) = delete;

  const CTGString& Path() const { return mPath; }
  int32_t GetSize() const { return static_cast<int32_t>(mSize); }
  bool IsShared() const { return mShared; }
  bool IsWritable() const { return mWritable; }

  // Unbuffered: the number of bytes read or written (0 on failure). Reads stop
  // at the end; writes need a writable file and extend the size.
  int32_t Read(void* buffer, int32_t count);
  int32_t Write(const void* buffer, int32_t count);
  // False when the position lies past the size.
  bool Seek(int32_t position);
  // The logical position, buffered reads included.
  int32_t GetPosition() const;
  // Refused for archive members and files opened for reading.
  bool SetLength(int32_t length);
  bool Flush();

  // Buffered, whole or nothing.
  bool ReadBytes(void* buffer, int32_t count);
  bool WriteBytes(const void* buffer, int32_t count);
  bool ReadByte(uint8_t* value);
  bool ReadInt32(int32_t* value);
  bool WriteInt32(int32_t value);
  // A typed string into a buffer of `capacity` bytes, terminated; fails (and
  // stores an empty string) when the stored length does not fit.
  bool ReadString(char* buffer, uint32_t capacity);
  // A typed string of at most maxLength bytes.
  bool ReadString(std::string& text, uint32_t maxLength = 1u << 24);
  bool WriteString(const char* text);
  bool WriteString(const std::string& text);

 private:
  void DropBuffer();
  bool ReadStoredLength(uint32_t* length);

  CTGString mPath;
  std::shared_ptr<platform::File> mHandle;
  int64_t mSize;
  int64_t mBase;
  int64_t mPosition = 0;  // where the next unbuffered read or write goes
  bool mShared;
  bool mWritable;
  CTGFileManager* mOwner;
  // Read-ahead: the buffered bytes end at file position mBufferEnd.
  std::vector<uint8_t> mBuffer;
  bool mBuffered = false;
  int64_t mBufferEnd = 0;
  size_t mCursor = 0;
};
