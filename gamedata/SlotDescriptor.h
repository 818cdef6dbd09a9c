#pragma once
// Slots ('SLOT'): the places on and around an object that matter to the
// simulation. The stored array of SlotDescriptor records is sorted at load
// into object slots (containment), slot points and routing goals.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "gamedata/GraphicCycle.h"
#include "gamedata/RecordIO.h"
#include "gamedata/ResourceSource.h"

namespace tova {

enum SlotType : int16_t { kSlotUnset = -1, kSlotObject = 0, kSlotPoint = 1, kSlotRouting = 3 };

struct SlotDescriptor {
  static constexpr int32_t kWriteVersion = 10;

  int16_t type = kSlotUnset;
  float x = 0, y = 0, z = 0;
  int32_t objectWord1 = 0, objectWord2 = 0;  // used by object slots
  int32_t heightClass = 0;
  std::array<int32_t, 3> params = {0, 0, 0};
  int32_t flags = 0;  // bits 0-7: the eight allowed directions
  int32_t target = -1;
  std::array<int32_t, 3> distances = {16, 16, 16};  // sixteenths of a tile
  float tolerance = 0.1875f;
  int32_t facing = -2;
  int32_t lastWord = 16;

  // One record at the array's version, in every mode of the record stream.
  void Reconstitute(ReconStream& s, int32_t version);
  bool operator==(const SlotDescriptor&) const = default;
};

// The stored array: a count and that many records at the record's version
// (the smallest, version 0, takes 12 bytes).
using SlotDescriptorVector = ReconStreamVector<SlotDescriptor, 12>;
std::vector<uint8_t> MakeSlotRecord(std::vector<SlotDescriptor> slots);

// Tiles to sixteenths, truncated and kept within 32 bits.
inline int32_t Sixteenths(float tiles) {
  const float v = tiles * 16;
  if (!(v > -2147483648.0f)) return INT32_MIN;
  if (!(v < 2147483648.0f)) return INT32_MAX;
  return static_cast<int32_t>(v);
}

// A routing goal: where a person stands, and facing which way, to use an object.
struct RoutingSlot {
  float x = 0, y = 0, z = 0;
  int32_t slotIndex = -1;  // 1-based position in the 'SLOT' array
  std::array<int32_t, 3> params = {0, 0, 0};
  int32_t flags = 0;
  int32_t target = -1;
  std::array<int32_t, 3> distances = {16, 16, 16};
  float tolerance = 0.1875f;
  int32_t facing = -2;
  int32_t lastWord = 16;
  std::array<int32_t, 8> paramArray = {};

  void ClearDirections() { flags &= ~0xFF; }
  void EnableDirection(int d) {
    if (d >= 0 && d <= 7) flags |= 1 << d;
  }
  void SetFlagBit0() { flags |= 1; }
  void SetFacingMode3() { facing = -3; }
  void SetFacingDefault() { facing = -2; }
  void SetFacing(int d) {
    if (d >= 0 && d <= 7) facing = d;
  }
  void SetDistances(int32_t a, int32_t b, int32_t c) { distances = {a, b, c}; }
  void SetDistancesTiles(float a, float b, float c) { distances = {Sixteenths(a), Sixteenths(b), Sixteenths(c)}; }
  void SetParam(int i, int32_t v) {
    if (i >= 0 && i < static_cast<int>(paramArray.size())) paramArray[static_cast<size_t>(i)] = v;
  }
};

// A containment slot where another object sits.
struct ObjectSlot {
  float x = 0, y = 0, z = 0;
  int32_t slotIndex = -1;
  int16_t word = 0;
  int32_t objectWord1 = 0, objectWord2 = 0;
  int32_t heightClass = 0;
  int32_t defaultValue = 50;

  void SetHeightClass(int32_t h);
};

// A plain point, with a small graphic cycle the live object may draw there.
struct SlotPoint {
  float x = 0, y = 0, z = 0;
  int32_t slotIndex = -1;
  GraphicCycle cycle;
  int32_t iconSprite1 = 0, iconSprite2 = 0;
};

class SlotLoader {
 public:
  explicit SlotLoader(ResourceSource* file) : file_(file) {}
  // Reads 'SLOT' id and appends each entry, in array order, to the list of
  // its type (any list may be null; other types are dropped). The file's
  // status, kResBadData when damaged.
  int Load(int16_t id, std::vector<ObjectSlot>* objectSlots, std::vector<RoutingSlot>* routingSlots,
           std::vector<SlotPoint>* slotPoints);

 private:
  ResourceSource* file_;
};

}  // namespace tova
