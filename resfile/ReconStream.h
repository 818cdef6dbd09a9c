// The stream through which every saved object writes and reads its fields.
// One routine per class runs in three modes (measure, write, read) and the
// position moves identically in all of them, so a measure pass gives exactly
// the size the write pass fills and writer and reader cannot disagree.
//
// Encodings: plain little-endian, byte-swapped (data from a big-endian
// machine; floats are never swapped), and bit-packed integers for records of
// many small numbers. Strings are inline (zero-terminated, padded to an even
// position) or entries of an attached string table.
//
// Reading and writing never leave the buffer: the first access past its end
// sets a sticky failure, after which reads give zeros and empty text and
// writes do nothing. Loaders check Failed() and refuse the record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "resfile/iResFile.h"

class FixedString;
class StringSet;

class ReconStream {
 public:
  enum Mode { kRead = 0, kWrite = 1, kMeasure = 2 };

  ReconStream();
  ~ReconStream();
  ReconStream(const ReconStream&) = delete;
  ReconStream& operator=(const ReconStream&) = delete;

  void InitBuffer(void* buffer, int32_t capacity, int mode, bool swap);
  void InitMeasure();
  // Saves an attached string table (write mode) and drops it. Returns the
  // save's status, else 0.
  int Finish();
  // Strings from now on are entries 1, 2, 3 ... of the string table of this
  // type and id in the file (loaded in read mode, saved by Finish in write
  // mode); nothing of them goes into the stream.
  void UseStringTable(iResFile* file, ResType type, ResId id);
  void SetPacked();

  void SerializeBytes(void* p, int32_t n);
  void SerializeBool(bool* p);
  void SerializeShorts(int16_t* p, int32_t n);
  void SerializeShorts(uint16_t* p, int32_t n) { SerializeShorts(reinterpret_cast<int16_t*>(p), n); }
  void SerializeLongs(int32_t* p, int32_t n);
  void SerializeLongs(uint32_t* p, int32_t n) { SerializeLongs(reinterpret_cast<int32_t*>(p), n); }
  void SerializeFloats(float* p, int32_t n);
  void SerializeString(std::string& s);
  // A zero-terminated text in caller storage of the given capacity (the
  // terminator included); reading cuts what does not fit.
  void SerializeFixedString(char* buffer, int32_t capacity);
  void SerializeFixedString(FixedString& text);

  void BeginBlock();
  void SkipToBlockEnd();

  int GetMode() const { return mMode; }
  bool IsReading() const { return mMode == kRead; }
  bool IsWriting() const { return mMode == kWrite; }
  bool IsPacked() const { return mPacked; }
  int32_t GetPosition() const { return mPosition; }
  bool Failed() const { return mFailed; }
  // Bytes left after the position (read and write modes).
  int32_t Remaining() const;
  // In read mode: whether count values of at least plainBytes bytes each (one
  // bit each when packed) can still be read; a negative or impossible count
  // sets the failure. Other modes: true. Loaders call it before allocating
  // anything sized from the stream.
  bool CheckCount(int64_t count, int32_t plainBytes);
  // Marks the record bad (a loader found values it cannot accept).
  void Fail() { mFailed = true; }

 private:
  bool Need(int64_t at, int32_t n);
  uint32_t Bits(uint32_t value, int n);
  int32_t Packed(int32_t value, int kind);
  uint32_t Word32At(int32_t at);
  void PutWord32At(int32_t at, uint32_t value);

  uint8_t* mBuffer = nullptr;
  int32_t mCapacity = 0;
  int32_t mPosition = 0;
  int mMode = kMeasure;
  bool mSwap = false;
  bool mStringTableFlag = false;
  std::unique_ptr<StringSet> mTable;
  int32_t mCounter = 0;
  bool mPacked = false;
  uint8_t mMask = 0;
  int32_t mMark = 0;
  // A mark at position 0 is still a mark, so "no mark" is kept apart.
  bool mHasMark = false;
  bool mFailed = false;
};
