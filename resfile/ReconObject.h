// Self-saving records. A ReconObject knows its resource type and reads,
// writes or measures its fields through a ReconStream for a given version;
// SimpleReconObject<T> makes any class with such a routine saveable.
//
// A record handle is a 12-byte header {swap byte, three zero bytes, version,
// type code; both little-endian} followed by the body. Each class saves at
// its current version and reads every older layout it knows.
#pragma once

#include <cstdint>

#include "resfile/ReconStream.h"
#include "resfile/iResFile.h"

constexpr int32_t kReconHeaderSize = 12;

class ReconObject {
 public:
  virtual ~ReconObject();
  virtual void Reconstitute(ReconStream& stream, int32_t version);
  virtual ResType GetTypeCode() const;  // 'Rcon'

  // The record as a new handle (measured, then written); null without memory.
  static MemHandle WriteToHandle(ReconObject& object, int32_t version);
  // Reads the record in h. Returns 0, or -1 when the handle is too short or
  // the body ended before the fields did (the object may then be partly
  // filled and must not be trusted).
  static int ReadFromHandle(ReconObject& object, MemHandle h, int32_t* outVersion = nullptr);
  // Replaces the resource of the object's type and id; a failed save leaves
  // no new resource and no handle behind.
  static int SaveToResFile(ReconObject& object, int32_t version, iResFile& file, ResId id);
  // A missing resource gives the file's code and leaves the object untouched.
  static int LoadFromResFile(ReconObject& object, iResFile& file, ResId id,
                             int32_t* outVersion = nullptr);
};

// The swap callback of record resources: marks the header swapped and turns
// its version and type code around; the stream then swaps the body.
void SwapReconHeader(void* data, int32_t size);

// Saves any T that has `void Reconstitute(ReconStream&, int32_t version)`.
// It owns nothing: the T lives elsewhere.
template <class T>
class SimpleReconObject : public ReconObject {
 public:
  SimpleReconObject(T* object, ResType type) : mObject(object), mType(type) {}
  void Reconstitute(ReconStream& stream, int32_t version) override {
    mObject->Reconstitute(stream, version);
  }
  ResType GetTypeCode() const override { return mType; }

 private:
  T* mObject;
  ResType mType;
};
