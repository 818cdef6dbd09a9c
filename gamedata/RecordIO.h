#pragma once
// Self-saving records over resource bytes: the record layer's header and
// stream, for data that comes from a ResourceSource rather than a handle.
// Loads go into a fresh object first, so a damaged record never leaves a
// half-read object behind.

#include <cstdint>
#include <span>
#include <vector>

#include "gamedata/ResourceSource.h"
#include "resfile/ReconObject.h"

namespace tova {

// Reads a whole record (header and body); kResBadData when it is too short
// or its fields run past its end.
int ReadRecordBytes(ReconObject& object, std::span<const uint8_t> bytes, int32_t* outVersion = nullptr);
// The record at `version`; empty when it cannot be made.
std::vector<uint8_t> WriteRecordBytes(ReconObject& object, int32_t version);
// A record of the given version and type around body bytes made elsewhere.
std::vector<uint8_t> MakeRecord(int32_t version, uint32_t type, const std::vector<uint8_t>& body);

// Record resource (type, id) of the file into `object`: the file's status, or
// kResBadData when damaged.
int LoadRecord(ResourceSource& file, uint32_t type, int16_t id, ReconObject& object, int32_t* outVersion = nullptr);
// Writes the record under (type, id), keeping an existing label.
int SaveRecord(ResourceSource& file, uint32_t type, int16_t id, ReconObject& object, int32_t version);

// Plain streams without a record header (draw groups): `serialize(stream)`
// runs once to read, or twice (measure, write) to write.
template <typename Serialize>
bool ReadPlain(std::span<const uint8_t> bytes, Serialize serialize) {
  ReconStream s;
  s.InitBuffer(const_cast<uint8_t*>(bytes.data()), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
  serialize(s);
  return !s.Failed();
}

template <typename Serialize>
std::vector<uint8_t> WritePlain(Serialize serialize) {
  ReconStream measure;
  measure.InitMeasure();
  serialize(measure);
  std::vector<uint8_t> out(static_cast<size_t>(measure.GetPosition()));
  ReconStream write;
  write.InitBuffer(out.data(), static_cast<int32_t>(out.size()), ReconStream::kWrite, false);
  serialize(write);
  if (write.Failed()) out.clear();
  return out;
}

// A vector of records saved as a 32-bit count and each item; reading resizes
// to the count (new items take their defaults) after checking that it fits.
template <typename T, int32_t MinItemBytes>
struct ReconStreamVector {
  std::vector<T> items;
  void Reconstitute(ReconStream& s, int32_t version) {
    uint32_t count = static_cast<uint32_t>(items.size());
    s.SerializeLongs(&count, 1);
    if (s.IsReading()) {
      if (!s.CheckCount(count, MinItemBytes)) return;
      items.resize(count);
    }
    for (T& item : items) {
      if (s.Failed()) return;
      item.Reconstitute(s, version);
    }
  }
};

}  // namespace tova
