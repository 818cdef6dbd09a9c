// A C string in storage that its owner supplies, with the capacity of that
// storage. Every write truncates and keeps the terminating zero, so the fixed
// name fields of records and file names can never overflow.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

class FixedString {
 public:
  FixedString() = default;
  FixedString(char* buffer, int32_t capacity) { Init(buffer, capacity); }

  // Binds the buffer (capacity in bytes, terminator included) and empties it.
  void Init(char* buffer, int32_t capacity);

  int32_t Length() const;
  int32_t Capacity() const { return mCapacity; }
  void Clear();

  // Appends up to `len` bytes of `text` (all of it when len < 0), stopping at
  // its terminator and at the capacity; returns the number of bytes copied.
  int32_t Append(const char* text, int32_t len = -1);
  void Assign(const char* text);
  void AssignString(const FixedString& other);
  int32_t AppendString(const FixedString& other, int32_t len = -1);

  int Compare(const FixedString& other) const;
  // Compares the first min(len, Length()) bytes with A-Z folded; with no
  // difference the result is Length() - len.
  int CompareNoCaseN(const char* text, int32_t len) const;
  int CompareNoCase(const FixedString& other) const;

  // The byte at `position`, 0 outside the text.
  char CharAt(int32_t position) const;
  // Folds A-Z to a-z in place; returns the length.
  int32_t ToLower();
  void AppendChar(char c);
  void AppendInt(int32_t value);
  // The value zero-padded to `width` ("%04d" for width 4); at most 31 bytes.
  void AppendIntPadded(int32_t value, int32_t width);

  // The first index >= start where `text` stands wholly inside; -1 when none.
  int32_t Find(const char* text, int32_t start = 0) const;
  int32_t FindNoCase(const char* text, int32_t start = 0) const;

  const char* GetFirstMember() const { return mText != nullptr ? mText : ""; }
  const char* c_str() const { return GetFirstMember(); }
  char* Buffer() { return mText; }

 private:
  int32_t FindImpl(const char* text, int32_t start, bool foldCase) const;

  char* mText = nullptr;
  int32_t mCapacity = 0;
};

// A FixedString over a buffer of its own.
template <int32_t N>
class FixedStringBuffer : public FixedString {
 public:
  FixedStringBuffer() : FixedString(mStorage, N) {}
  explicit FixedStringBuffer(const char* text) : FixedString(mStorage, N) { Assign(text); }
  FixedStringBuffer(const FixedStringBuffer& other) : FixedString(mStorage, N) { AssignString(other); }
  FixedStringBuffer& operator=(const FixedStringBuffer& other) {
    if (this != &other) AssignString(other);
    return *this;
  }

 private:
  char mStorage[N];
};

// The bounded path length of the data layer (Windows MAX_PATH).
constexpr int32_t kFixedPathCapacity = 260;
using FixedPath = FixedStringBuffer<kFixedPathCapacity>;

// A name of up to 63 bytes with two values, as the behaviour data keeps them.
// Text form: the name, the first value and the second value, each on a line.
struct NamedRecord {
  FixedStringBuffer<64> name;
  int32_t first = 0;
  int32_t second = 0;

  void WriteText(std::ostream& out) const;
  // Reads one whitespace-delimited word (at most 255 bytes, stored truncated)
  // and two decimal values; false when the stream failed.
  bool ReadText(std::istream& in);
};

// The global path buffer and the global list of named records.
FixedString& GlobalPathString();
std::vector<NamedRecord>& GlobalNamedRecords();
