#include "gamedata/SlotDescriptor.h"

#include <algorithm>


namespace tova {

void SlotDescriptor::Reconstitute(ReconStream& s, int32_t v) {
  if (v <= 2) {
    s.SerializeFloats(&x, 1);
    s.SerializeFloats(&y, 1);
    if (v == 0) {
      int16_t whole = static_cast<int16_t>(z);
      s.SerializeShorts(&whole, 1);
      z = whole;
    } else {
      s.SerializeFloats(&z, 1);
    }
    s.SerializeShorts(&type, 1);
    if (v == 2) {
      int16_t unused = 0;
      s.SerializeShorts(&unused, 1);
    }
    if (s.IsReading()) {
      params = {0, 0, 0};
      flags = 0;
    }
  } else {
    s.SerializeShorts(&type, 1);
    s.SerializeFloats(&x, 1);
    s.SerializeFloats(&y, 1);
    s.SerializeFloats(&z, 1);
    s.SerializeLongs(params.data(), 3);
    s.SerializeLongs(&flags, 1);
    if (v >= 4) s.SerializeLongs(&target, 1);
    if (v >= 5) {
      s.SerializeLongs(distances.data(), 3);
      s.SerializeLongs(&objectWord1, 1);
      s.SerializeLongs(&objectWord2, 1);
    }
    if (v >= 7) s.SerializeFloats(&tolerance, 1);
  }
  if (v >= 8) s.SerializeLongs(&heightClass, 1);
  if (v >= 9) s.SerializeLongs(&facing, 1);
  if (v >= 10) s.SerializeLongs(&lastWord, 1);
  if (!s.IsReading()) return;
  if (v < 9) {
    if (flags & (1 << 9)) {
      facing = -3;
      flags &= ~(1 << 9);
    } else if (flags & (1 << 10)) {
      facing = -1;
      flags &= ~(1 << 10);
    }
  }
  if (v < 10) {
    // Older records kept distances in whole tiles. Only values actually read
    // are rescaled; the defaults are already in sixteenths.
    if (v >= 5) {
      for (int32_t& d : distances) d = static_cast<int32_t>(std::clamp<int64_t>(int64_t{d} * 16, INT32_MIN, INT32_MAX));
    }
    if (v >= 7) tolerance *= 1.0f / 16;
  }
}

std::vector<uint8_t> MakeSlotRecord(std::vector<SlotDescriptor> slots) {
  SlotDescriptorVector vector{std::move(slots)};
  SimpleReconObject<SlotDescriptorVector> record(&vector, kTypeSLOT);
  return WriteRecordBytes(record, SlotDescriptor::kWriteVersion);
}

void ObjectSlot::SetHeightClass(int32_t h) {
  heightClass = h;
  switch (h) {
    case 0: heightClass = z != 0 ? 5 : 1; break;
    case 1: z = 0; break;
    case 2: z = 2.5f; break;
    case 3:
    case 8: z = 4.0f; break;
    case 4: z = 4.05f; break;
    default: break;
  }
}

namespace {
// A new runtime record at the descriptor's position.
template <typename Slot>
Slot& Placed(std::vector<Slot>& list, const SlotDescriptor& d, int32_t index) {
  Slot& s = list.emplace_back();
  s.x = d.x;
  s.y = d.y;
  s.z = d.z;
  s.slotIndex = index;
  return s;
}
}  // namespace

int SlotLoader::Load(int16_t id, std::vector<ObjectSlot>* objectSlots, std::vector<RoutingSlot>* routingSlots,
                     std::vector<SlotPoint>* slotPoints) {
  if (!file_) return kFlatNotOpen;
  SlotDescriptorVector read;
  SimpleReconObject<SlotDescriptorVector> record(&read, kTypeSLOT);
  const int status = LoadRecord(*file_, kTypeSLOT, id, record);
  if (status != kResOK) return status;
  const std::vector<SlotDescriptor>& slots = read.items;
  for (size_t i = 0; i < slots.size(); ++i) {
    const SlotDescriptor& d = slots[i];
    const int32_t index = static_cast<int32_t>(i + 1);
    if (d.type == kSlotObject && objectSlots) {
      ObjectSlot& s = Placed(*objectSlots, d, index);
      s.objectWord1 = d.objectWord1;
      s.objectWord2 = d.objectWord2;
      s.heightClass = d.heightClass;
    } else if (d.type == kSlotRouting && routingSlots) {
      RoutingSlot& s = Placed(*routingSlots, d, index);
      s.params = d.params;
      s.flags = d.flags;
      s.target = d.target;
      s.distances = d.distances;
      s.tolerance = d.tolerance;
      s.facing = d.facing;
      s.lastWord = d.lastWord;
    } else if (d.type == kSlotPoint && slotPoints) {
      Placed(*slotPoints, d, index);
    }
  }
  return kResOK;
}

}  // namespace tova
