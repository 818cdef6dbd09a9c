#include "gamedata/SlotDescriptor.h"

#include <algorithm>

#include "gamedata/RecordBytes.h"
#include "resfile/ReconObject.h"

namespace tova {

void SlotDescriptor::Read(ByteReader& r, int32_t v) {
  if (v <= 2) {
    x = r.F32();
    y = r.F32();
    z = v == 0 ? static_cast<float>(r.I16()) : r.F32();
    type = r.I16();
    if (v == 2) r.I16();
    params = {0, 0, 0};
    flags = 0;
  } else {
    type = r.I16();
    x = r.F32();
    y = r.F32();
    z = r.F32();
    for (int32_t& p : params) p = r.I32();
    flags = r.I32();
    if (v >= 4) target = r.I32();
    if (v >= 5) {
      for (int32_t& d : distances) d = r.I32();
      objectWord1 = r.I32();
      objectWord2 = r.I32();
    }
    if (v >= 7) tolerance = r.F32();
  }
  if (v >= 8) heightClass = r.I32();
  if (v >= 9) {
    facing = r.I32();
  } else if (flags & (1 << 9)) {
    facing = -3;
    flags &= ~(1 << 9);
  } else if (flags & (1 << 10)) {
    facing = -1;
    flags &= ~(1 << 10);
  }
  if (v >= 10) {
    lastWord = r.I32();
  } else {
    // Older records kept distances in whole tiles. Only values actually read
    // are rescaled; the defaults are already in sixteenths.
    if (v >= 5) {
      for (int32_t& d : distances) d = static_cast<int32_t>(std::clamp<int64_t>(int64_t{d} * 16, INT32_MIN, INT32_MAX));
    }
    if (v >= 7) tolerance *= 1.0f / 16;
  }
}

void SlotDescriptor::Write(ByteWriter& w) const {
  w.I16(type);
  w.F32(x);
  w.F32(y);
  w.F32(z);
  for (int32_t p : params) w.I32(p);
  w.I32(flags);
  w.I32(target);
  for (int32_t d : distances) w.I32(d);
  w.I32(objectWord1);
  w.I32(objectWord2);
  w.F32(tolerance);
  w.I32(heightClass);
  w.I32(facing);
  w.I32(lastWord);
}

std::vector<SlotDescriptor> ParseSlotDescriptors(std::span<const uint8_t> body, int32_t version, bool swapped) {
  ByteReader r(body, swapped);
  const uint32_t count = r.U32();
  r.RequireItems(count, version == 0 ? 12 : 14, "slots");
  std::vector<SlotDescriptor> slots(count);
  for (SlotDescriptor& s : slots) s.Read(r, version);
  return slots;
}

std::vector<uint8_t> SerializeSlotDescriptors(const std::vector<SlotDescriptor>& slots) {
  ByteWriter w;
  w.U32(static_cast<uint32_t>(slots.size()));
  for (const SlotDescriptor& s : slots) s.Write(w);
  return w.Take();
}

std::vector<uint8_t> MakeSlotRecord(const std::vector<SlotDescriptor>& slots) {
  return MakeRecord(SlotDescriptor::kWriteVersion, kTypeSLOT, SerializeSlotDescriptors(slots));
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
  int status = kResOK;
  auto bytes = file_->GetResource(kTypeSLOT, id, SwapReconHeader, &status);
  if (!bytes) return status;
  std::vector<SlotDescriptor> slots;
  try {
    RecordView rec = ParseRecord(*bytes);
    slots = ParseSlotDescriptors(rec.body, rec.version, rec.swapped);
  } catch (const RecordError&) {
    return kResBadData;
  }
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
