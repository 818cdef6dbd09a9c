#include "simulation/people/FootstepWorld.h"

#include <algorithm>

namespace tova {

namespace {

constexpr int32_t kGroundLevel = 1;
constexpr int32_t kKindTerrain = 0, kKindHard = 1, kKindHardFloor = 2, kKindPuddle = 10, kKindPoolStroke = 11;
constexpr int32_t kPoolCellLimit = 16;
constexpr int32_t kBuiltInFloor = 255;

struct GuidKind {
  uint32_t guid;
  int32_t kind;
};

constexpr GuidKind kObjectKinds[] = {
    {0x05F5E0FF, 9},  {0x3E7470F6, 10}, {0x5C67FC8F, 10}, {0x9BE030B9, 10}, {0x63416BA1, 8}, {0x65274A4F, 6},
    {0x96E3398D, 6},  {0xA2DAA08C, 6},  {0xC02B406A, 6},  {0x7F907075, 7},  {0xBF62F653, 7},
};

int32_t KindOfSoundClass(int32_t soundClass) {
  switch (soundClass) {
    case 0: return 3;
    case 1: return 2;
    case 2: return 4;
    case 3: return 1;
    default: return kKindTerrain;
  }
}

}  // namespace

int32_t FootstepWorld::ObjectSoundKind(uint32_t guid) {
  for (const GuidKind& k : kObjectKinds) {
    if (k.guid == guid) return k.kind;
  }
  return 0;
}

int32_t FootstepWorld::SoundKind(int32_t x, int32_t y, int32_t level) const {
  if (!InGrid(x, y)) return kKindTerrain;
  if (level == kGroundLevel && HasWater(x, y)) return kKindPuddle;
  int32_t found = 0;
  for (uint32_t guid : ObjectGuidsAt(x, y, level)) found = std::max(found, ObjectSoundKind(guid));
  if (found > 0) return found;
  if (level == kGroundLevel && PoolCell(x, y) <= kPoolCellLimit) return HasPool(x, y) ? kKindPoolStroke : kKindHard;
  const int32_t floor = Floor(x, y, level);
  if (floor == 0) return kKindTerrain;
  if (floor == kBuiltInFloor) return kKindHardFloor;
  return KindOfSoundClass(FloorSoundClass(floor));
}

}  // namespace tova
