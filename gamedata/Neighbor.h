#pragma once
// One person the neighbourhood knows, kept across lots: the person's GUID,
// name, relationships to other neighbours by neighbour id, and a copy of the
// live person's data words that must outlive the lot the person stood on.

#include <cstdint>

#include "resfile/FixedString.h"
#include "resfile/KeyedArrayList.h"

class ReconStream;

namespace tova {

constexpr int32_t kPersonDataCount = 80;
// Person data words the neighbourhood reads itself.
enum : int32_t {
  kPersonDataFamily = 61,
  kPersonDataLot = 67,
  kPersonDataQuery2 = 58,
};

class Neighbor {
 public:
  // The record version written into the neighbours chunk.
  static constexpr int32_t kRecordVersion = 4;
  // Person-data version a copy from a live person gets.
  static constexpr int32_t kPersonDataVersion = 5;
  // Chunks from this version on carry the record version and what it adds.
  static constexpr int32_t kFirstVersionedChunk = 30;

  // The person-data version from which a word is copied back into a live
  // person; 0 for words the neighbour does not keep.
  static int32_t KeptFromVersion(int32_t index);

  // Copies every kept word whose version this neighbour's data has reached
  // into `live` (kPersonDataCount words).
  void CopyPersonDataTo(int16_t* live) const;
  // Takes every kept word from `live` and marks the data as current.
  void CopyPersonDataFrom(const int16_t* live);

  // Reads or writes the record within a neighbours chunk of that version.
  void Reconstitute(ReconStream& stream, int32_t chunkVersion);
  // The record version last read (0 for chunks before versioned records).
  int32_t ReadRecordVersion() const { return recordVersion_; }

  int16_t id = 0;
  int32_t guid = 0;
  KeyedArrayList relationships;
  int32_t personDataVersion = 0;
  int32_t stamp = 0;
  int32_t friendCount = 0;
  int32_t changed = 0;
  FixedStringBuffer<64> name;
  int16_t personData[kPersonDataCount] = {};

 private:
  int32_t recordVersion_ = kRecordVersion;
};

}  // namespace tova
