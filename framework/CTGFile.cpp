#include "framework/CTGFile.h"

#include <algorithm>
#include <cstring>

#include "framework/CTGFileManager.h"
#include "platform/File.h"

namespace {
constexpr int64_t kReadAhead = 4096;
}

CTGFile::CTGFile(const CTGString& path, std::shared_ptr<platform::File> handle, int64_t size, int64_t base,
                 bool shared, bool writable, CTGFileManager* owner)
    : mPath(path),
      mHandle(std::move(handle)),
      mSize(size),
      mBase(base),
      mShared(shared),
      mWritable(writable && !shared),
      mOwner(owner) {}

CTGFile::~CTGFile() = default;

void CTGFile::DropBuffer() {
  if (mBuffered) mPosition = GetPosition();
  mBuffer.clear();
  mBuffered = false;
  mCursor = 0;
}

int32_t CTGFile::Read(void* buffer, int32_t count) {
  if (!mHandle || buffer == nullptr || count <= 0) return 0;
  // Unbuffered reads continue from the logical position.
  DropBuffer();
  const int64_t wanted = std::min<int64_t>(count, mSize - mPosition);
  if (wanted <= 0) return 0;
  const int64_t got = mHandle->ReadAt(buffer, static_cast<size_t>(wanted), mBase + mPosition);
  if (got <= 0) return 0;
  mPosition += got;
  return static_cast<int32_t>(got);
}

int32_t CTGFile::Write(const void* buffer, int32_t count) {
  if (!mHandle || !mWritable || buffer == nullptr || count <= 0) return 0;
  // Bytes read ahead are not the position: write where the caller is.
  DropBuffer();
  const int64_t written = mHandle->WriteAt(buffer, static_cast<size_t>(count), mBase + mPosition);
  if (written <= 0) return 0;
  mPosition += written;
  if (mPosition > mSize) mSize = mPosition;
  return static_cast<int32_t>(written);
}

bool CTGFile::Seek(int32_t position) {
  DropBuffer();
  if (!mHandle || position < 0 || position > mSize) return false;
  mPosition = position;
  return true;
}

int32_t CTGFile::GetPosition() const {
  if (!mHandle) return 0;
  if (mBuffered) return static_cast<int32_t>(mBufferEnd - static_cast<int64_t>(mBuffer.size() - mCursor));
  return static_cast<int32_t>(mPosition);
}

bool CTGFile::SetLength(int32_t length) {
  // An archive member lives inside another file: it never changes length.
  if (!mHandle || !mWritable || length < 0) return false;
  DropBuffer();
  if (!mHandle->Truncate(mBase + length)) return false;
  // Growing or shrinking, the file position ends at the new length.
  mPosition = length;
  if (mOwner != nullptr) mOwner->UpdateSize(mPath, static_cast<uint32_t>(length));
  mSize = length;
  return true;
}

bool CTGFile::Flush() { return mHandle && mHandle->Flush(); }

bool CTGFile::ReadBytes(void* buffer, int32_t count) {
  if (!mHandle || count < 0 || (buffer == nullptr && count > 0)) return false;
  if (!mBuffered) {
    mBuffered = true;
    mBufferEnd = mPosition;
    mCursor = 0;
  }
  auto* out = static_cast<uint8_t*>(buffer);
  size_t wanted = static_cast<size_t>(count);
  while (wanted > 0) {
    const size_t available = mBuffer.size() - mCursor;
    const size_t take = std::min(available, wanted);
    if (take > 0) {
      std::memcpy(out, mBuffer.data() + mCursor, take);
      out += take;
      mCursor += take;
      wanted -= take;
    }
    if (wanted == 0) break;
    const int64_t remaining = mSize - mBufferEnd;
    if (remaining < 1) return false;
    const int64_t length = std::min(kReadAhead, remaining);
    mBuffer.resize(static_cast<size_t>(length));
    if (mHandle->ReadAt(mBuffer.data(), mBuffer.size(), mBase + mBufferEnd) != length) {
      mBuffer.clear();
      mCursor = 0;
      return false;
    }
    mCursor = 0;
    mBufferEnd += length;
  }
  return true;
}

bool CTGFile::WriteBytes(const void* buffer, int32_t count) { return count >= 0 && Write(buffer, count) == count; }

bool CTGFile::ReadByte(uint8_t* value) { return value != nullptr && ReadBytes(value, 1); }

bool CTGFile::ReadInt32(int32_t* value) {
  uint8_t b[4];
  if (value == nullptr || !ReadBytes(b, 4)) return false;
  *value = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                                static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
  return true;
}

bool CTGFile::WriteInt32(int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                        static_cast<uint8_t>(v >> 24)};
  return WriteBytes(b, 4);
}

bool CTGFile::ReadStoredLength(uint32_t* length) {
  uint8_t first = 0;
  if (!ReadByte(&first)) return false;
  if (first != 255) {
    *length = first;
    return true;
  }
  int32_t escaped = 0;
  if (!ReadInt32(&escaped)) return false;
  *length = static_cast<uint32_t>(escaped);
  return true;
}

bool CTGFile::ReadString(char* buffer, uint32_t capacity) {
  if (buffer == nullptr || capacity == 0) return false;
  buffer[0] = '\0';
  uint32_t length = 0;
  if (!ReadStoredLength(&length)) return false;
  if (length >= capacity) return false;  // the terminator needs a byte too
  if (!ReadBytes(buffer, static_cast<int32_t>(length))) {
    buffer[0] = '\0';
    return false;
  }
  buffer[length] = '\0';
  return true;
}

bool CTGFile::ReadString(std::string& text, uint32_t maxLength) {
  text.clear();
  uint32_t length = 0;
  if (!ReadStoredLength(&length)) return false;
  // Never allocate more than the file can still deliver.
  if (length > maxLength || static_cast<int64_t>(length) > mSize - GetPosition()) return false;
  text.resize(length);
  if (!ReadBytes(text.data(), static_cast<int32_t>(length))) {
    text.clear();
    return false;
  }
  return true;
}

bool CTGFile::WriteString(const char* text) {
  if (text == nullptr) text = "";
  return WriteString(std::string(text));
}

bool CTGFile::WriteString(const std::string& text) {
  if (text.size() > 0x7FFFFFFFu) return false;
  const auto length = static_cast<uint32_t>(text.size());
  if (length < 255) {
    const auto byte = static_cast<uint8_t>(length);
    if (!WriteBytes(&byte, 1)) return false;
  } else {
    const uint8_t escape = 255;
    if (!WriteBytes(&escape, 1) || !WriteInt32(static_cast<int32_t>(length))) return false;
  }
  return length == 0 || WriteBytes(text.data(), static_cast<int32_t>(length));
}
