#include "resfile/ReconStream.h"

#include <cstring>

#include "resfile/FixedString.h"
#include "resfile/ResUtil.h"
#include "resfile/StringSet.h"

namespace {

enum { kKind8 = 0, kKind16 = 1, kKind32 = 2 };
constexpr int kWidths[3][4] = {{2, 4, 6, 8}, {5, 8, 13, 16}, {6, 11, 21, 32}};

uint32_t SignMask(int width) { return 0xFFFFFFFFu << (width - 1); }

}  // namespace

ReconStream::ReconStream() = default;
ReconStream::~ReconStream() = default;

void ReconStream::InitBuffer(void* buffer, int32_t capacity, int mode, bool swap) {
  mBuffer = static_cast<uint8_t*>(buffer);
  mCapacity = buffer && capacity > 0 ? capacity : 0;
  mPosition = 0;
  mMode = mode;
  mSwap = swap;
  mStringTableFlag = false;
  mTable.reset();
  mCounter = 0;
  mPacked = false;
  mMask = 0;
  mMark = 0;
  mHasMark = false;
  mFailed = false;
}

void ReconStream::InitMeasure() { InitBuffer(nullptr, 0, kMeasure, false); }

int ReconStream::Finish() {
  int status = 0;
  if (mMode == kWrite && mTable) status = mTable->Save();
  mTable.reset();
  return status;
}

void ReconStream::UseStringTable(iResFile* file, ResType type, ResId id) {
  mStringTableFlag = true;
  if (mMode == kMeasure) return;
  mTable = std::make_unique<StringSet>();
  mTable->SetSource(file, id, type, false, kLanguageCurrent);
  if (mMode == kRead) mTable->Load(false, true);
}

void ReconStream::SetPacked() { mPacked = true; }

int32_t ReconStream::Remaining() const {
  return mMode == kMeasure || mPosition >= mCapacity ? 0 : mCapacity - mPosition;
}

bool ReconStream::CheckCount(int64_t count, int32_t plainBytes) {
  if (mMode != kRead) return true;
  if (mFailed || count < 0) {
    mFailed = true;
    return false;
  }
  int64_t availableBits = static_cast<int64_t>(Remaining()) * 8;
  for (uint8_t m = mMask; m; m >>= 1) ++availableBits;
  int64_t neededBits = mPacked ? count : count * plainBytes * 8;
  if (neededBits > availableBits) mFailed = true;
  return !mFailed;
}

bool ReconStream::Need(int64_t at, int32_t n) {
  if (mMode == kMeasure) return false;
  if (mFailed || at < 0 || at + n > mCapacity) {
    mFailed = true;
    return false;
  }
  return true;
}

uint32_t ReconStream::Bits(uint32_t value, int n) {
  uint32_t result = 0;
  for (int i = n - 1; i >= 0; --i) {
    if (mMask == 0) {
      // A new byte starts; the position always counts the partial byte.
      if (Need(mPosition, 1) && mMode == kWrite) mBuffer[mPosition] = 0;
      ++mPosition;
      mMask = 0x80;
    }
    bool bit = false;
    if (mMode != kMeasure && !mFailed) {
      uint8_t& byte = mBuffer[mPosition - 1];
      if (mMode == kWrite) {
        if ((value >> i) & 1u) byte = static_cast<uint8_t>(byte | mMask);
      } else {
        bit = (byte & mMask) != 0;
      }
    }
    result = (result << 1) | (bit ? 1u : 0u);
    mMask = static_cast<uint8_t>(mMask >> 1);
  }
  return result;
}

int32_t ReconStream::Packed(int32_t value, int kind) {
  if (mMode == kRead) {
    if (!Bits(0, 1)) return 0;
    int width = kWidths[kind][Bits(0, 2)];
    uint32_t u = Bits(0, width);
    if (u & SignMask(width)) u |= SignMask(width);
    return static_cast<int32_t>(u);
  }
  Bits(value != 0, 1);
  if (value == 0) return value;
  int c = 0;
  for (; c < 3; ++c) {
    uint32_t high = static_cast<uint32_t>(value) & SignMask(kWidths[kind][c]);
    if (high == 0 || high == SignMask(kWidths[kind][c])) break;
  }
  int width = kWidths[kind][c];
  Bits(static_cast<uint32_t>(c), 2);
  uint32_t low = width == 32 ? 0xFFFFFFFFu : ((1u << width) - 1);
  Bits(static_cast<uint32_t>(value) & low, width);
  return value;
}

void ReconStream::SerializeBytes(void* p, int32_t n) {
  auto* bytes = static_cast<uint8_t*>(p);
  if (n <= 0) return;
  if (mPacked) {
    for (int32_t i = 0; i < n; ++i)
      bytes[i] = static_cast<uint8_t>(Packed(static_cast<int8_t>(bytes[i]), kKind8));
    return;
  }
  if (Need(mPosition, n)) {
    if (mMode == kWrite)
      std::memcpy(mBuffer + mPosition, bytes, static_cast<size_t>(n));
    else
      std::memcpy(bytes, mBuffer + mPosition, static_cast<size_t>(n));
  } else if (mMode == kRead) {
    std::memset(bytes, 0, static_cast<size_t>(n));
  }
  mPosition += n;
}

void ReconStream::SerializeBool(bool* p) {
  uint8_t b = *p ? 1 : 0;
  SerializeBytes(&b, 1);
  *p = b != 0;
}

void ReconStream::SerializeShorts(int16_t* p, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (mPacked) {
      p[i] = static_cast<int16_t>(Packed(p[i], kKind16));
      continue;
    }
    if (Need(mPosition, 2)) {
      uint8_t* at = mBuffer + mPosition;
      if (mMode == kWrite) {
        uint16_t v = static_cast<uint16_t>(p[i]);
        mSwap ? WriteU16BE(at, v) : WriteU16LE(at, v);
      } else {
        p[i] = static_cast<int16_t>(mSwap ? ReadU16BE(at) : ReadU16LE(at));
      }
    } else if (mMode == kRead) {
      p[i] = 0;
    }
    mPosition += 2;
  }
}

uint32_t ReconStream::Word32At(int32_t at) {
  if (!Need(at, 4)) return 0;
  return mSwap ? ReadU32BE(mBuffer + at) : ReadU32LE(mBuffer + at);
}

void ReconStream::PutWord32At(int32_t at, uint32_t value) {
  if (!Need(at, 4)) return;
  mSwap ? WriteU32BE(mBuffer + at, value) : WriteU32LE(mBuffer + at, value);
}

void ReconStream::SerializeLongs(int32_t* p, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (mPacked) {
      p[i] = Packed(p[i], kKind32);
      continue;
    }
    if (mMode == kWrite)
      PutWord32At(mPosition, static_cast<uint32_t>(p[i]));
    else if (mMode == kRead)
      p[i] = static_cast<int32_t>(Word32At(mPosition));
    mPosition += 4;
  }
}

void ReconStream::SerializeFloats(float* p, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    uint32_t bits;
    std::memcpy(&bits, &p[i], 4);
    if (mPacked) {
      bits = static_cast<uint32_t>(Packed(static_cast<int32_t>(bits), kKind32));
    } else {
      // Floats keep their bytes whatever the swap flag says.
      if (Need(mPosition, 4)) {
        if (mMode == kWrite)
          std::memcpy(mBuffer + mPosition, &bits, 4);
        else
          std::memcpy(&bits, mBuffer + mPosition, 4);
      } else if (mMode == kRead) {
        bits = 0;
      }
      mPosition += 4;
    }
    if (mMode == kRead) std::memcpy(&p[i], &bits, 4);
  }
}

void ReconStream::SerializeString(std::string& s) {
  if (mStringTableFlag) {
    ++mCounter;
    if (mMode == kWrite && mTable) {
      mTable->SetString(mCounter, s.c_str(), -1);
    } else if (mMode == kRead) {
      const char* text = mTable ? mTable->GetString(mCounter, -1) : nullptr;
      s = text ? text : "";
    }
    return;
  }
  if (mPacked) mMask = 0;
  size_t length = s.size();
  if (mMode == kRead) {
    s.clear();
    length = 0;
    if (Need(mPosition, 1)) {
      const void* end = std::memchr(mBuffer + mPosition, 0, static_cast<size_t>(mCapacity - mPosition));
      if (!end) {
        mFailed = true;  // no terminator before the end of the record
      } else {
        length = static_cast<size_t>(static_cast<const uint8_t*>(end) - (mBuffer + mPosition));
        s.assign(reinterpret_cast<const char*>(mBuffer + mPosition), length);
      }
    }
  } else if (mMode == kWrite) {
    // A text longer than the stream can hold can only be a writer's mistake.
    if (length < 0x7FFFFFFF && Need(mPosition, static_cast<int32_t>(length + 1)))
      std::memcpy(mBuffer + mPosition, s.c_str(), length + 1);
  }
  mPosition += static_cast<int32_t>(length) + 1;
  // The pad byte is not written; a missing pad at the very end is harmless.
  if (mPosition & 1) ++mPosition;
}

void ReconStream::SerializeFixedString(char* buffer, int32_t capacity) {
  if (!buffer || capacity <= 0) return;
  std::string s;
  if (mMode != kRead) s.assign(buffer, strnlen(buffer, static_cast<size_t>(capacity)));
  SerializeString(s);
  if (mMode == kRead) {
    size_t n = s.size() < static_cast<size_t>(capacity) ? s.size() : static_cast<size_t>(capacity - 1);
    std::memcpy(buffer, s.data(), n);
    buffer[n] = 0;
  }
}

void ReconStream::SerializeFixedString(FixedString& text) {
  SerializeFixedString(text.Buffer(), text.Capacity());
}

void ReconStream::BeginBlock() {
  if (mPacked) mMask = 0;
  if (mMode == kWrite) {
    if (mHasMark) PutWord32At(mMark, static_cast<uint32_t>(mPosition));
    mMark = mPosition;
    mHasMark = true;
    PutWord32At(mPosition, 0);
  } else if (mMode == kRead) {
    uint32_t next = Word32At(mPosition);
    // The next mark lies after this one and inside the record, or is 0.
    if (next != 0 && (next < static_cast<uint32_t>(mPosition) + 4 || next > static_cast<uint32_t>(mCapacity)))
      mFailed = true;
    mMark = static_cast<int32_t>(next);
    mHasMark = next != 0 && !mFailed;
  }
  mPosition += 4;
}

void ReconStream::SkipToBlockEnd() {
  if (mPacked) mMask = 0;
  if (mMode != kRead || mFailed) return;
  // The last block has no next mark: it ends with the record.
  mPosition = mHasMark ? mMark : mCapacity;
}
