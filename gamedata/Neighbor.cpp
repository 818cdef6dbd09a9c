#include "gamedata/Neighbor.h"

#include "resfile/ReconStream.h"

namespace tova {

int32_t Neighbor::KeptFromVersion(int32_t index) {
  if ((index >= 2 && index <= 7) || (index >= 9 && index <= 18) || (index >= 46 && index <= 55) || index == 58 ||
      index == 60 || index == 61)
    return 1;
  if (index == 56 || index == 57 || index == 63) return 2;
  if (index == 65) return 3;
  if (index == 67 || index == 68) return 4;
  if (index == 69) return 5;
  return 0;
}

void Neighbor::CopyPersonDataTo(int16_t* live) const {
  for (int32_t i = 0; i < kPersonDataCount; ++i) {
    const int32_t from = KeptFromVersion(i);
    if (from != 0 && personDataVersion >= from) live[i] = personData[i];
  }
}

void Neighbor::CopyPersonDataFrom(const int16_t* live) {
  for (int32_t i = 0; i < kPersonDataCount; ++i) {
    if (KeptFromVersion(i) != 0) personData[i] = live[i];
  }
  personDataVersion = kPersonDataVersion;
}

void Neighbor::Reconstitute(ReconStream& s, int32_t chunkVersion) {
  int32_t r = s.IsReading() ? 0 : kRecordVersion;
  if (chunkVersion >= kFirstVersionedChunk) {
    s.SerializeLongs(&r, 1);
    if (r > 1) {
      s.SerializeFixedString(name);
      s.SerializeLongs(&stamp, 1);
    }
    if (r > 0) {
      s.SerializeLongs(&personDataVersion, 1);
      if (personDataVersion != 0) {
        if (r >= 3) {
          s.SerializeShorts(personData, kPersonDataCount);
        } else {
          // Older records kept 64 words and one more that nothing reads.
          s.SerializeShorts(personData, 64);
          int16_t dropped = 0;
          s.SerializeShorts(&dropped, 1);
        }
      }
    }
  }
  if (s.IsReading()) {
    recordVersion_ = r;
    if (r < 2) name.Clear();
  }
  s.SerializeShorts(&id, 1);
  s.SerializeLongs(&guid, 1);
  relationships.Reconstitute(s, chunkVersion);
}

}  // namespace tova
