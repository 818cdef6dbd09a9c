#include "resfile/KeyedArrayList.h"

#include "resfile/ReconStream.h"

const KeyedArrayList::Array* KeyedArrayList::Find(int32_t id) const {
  for (const auto& slot : mSlots)
    if (slot && slot->id == id) return &*slot;
  return nullptr;
}

KeyedArrayList::Array* KeyedArrayList::Find(int32_t id) {
  return const_cast<Array*>(static_cast<const KeyedArrayList*>(this)->Find(id));
}

int32_t KeyedArrayList::GetIdAt(int index) const {
  if (index < 0 || index >= GetCount() || !mSlots[static_cast<size_t>(index)]) return 0;
  return mSlots[static_cast<size_t>(index)]->id;
}

bool KeyedArrayList::IsSlotEmpty(int index) const {
  return index < 0 || index >= GetCount() || !mSlots[static_cast<size_t>(index)];
}

int KeyedArrayList::GetSize(int32_t id) const {
  const Array* a = Find(id);
  return a ? static_cast<int>(a->values.size()) : 0;
}

void KeyedArrayList::AddArray(int32_t id) {
  mSlots.emplace_back(Array{id, {}});
}

void KeyedArrayList::SetSize(int32_t id, int n) {
  if (n < 0) n = 0;
  Array* a = Find(id);
  if (!a) {
    AddArray(id);
    a = &*mSlots.back();
  }
  a->values.resize(static_cast<size_t>(n), 0);
}

int32_t KeyedArrayList::GetValue(int32_t id, int index) const {
  const Array* a = Find(id);
  if (!a || index < 0 || index >= static_cast<int>(a->values.size())) return 0;
  return a->values[static_cast<size_t>(index)];
}

void KeyedArrayList::SetValue(int32_t id, int index, int32_t value) {
  Array* a = Find(id);
  if (!a || index < 0 || index >= static_cast<int>(a->values.size())) return;
  a->values[static_cast<size_t>(index)] = value;
}

void KeyedArrayList::RemoveArray(int32_t id) {
  for (auto it = mSlots.begin(); it != mSlots.end(); ++it) {
    if (*it && (*it)->id == id) {
      mSlots.erase(it);
      return;
    }
  }
}

void KeyedArrayList::SerializeValues(ReconStream& stream, Array& array) {
  auto count = static_cast<int32_t>(array.values.size());
  stream.SerializeLongs(&count, 1);
  if (stream.IsReading()) {
    if (!stream.CheckCount(count, 4)) {
      array.values.clear();
      return;
    }
    array.values.assign(static_cast<size_t>(count), 0);
  }
  if (count > 0) stream.SerializeLongs(array.values.data(), count);
}

void KeyedArrayList::Reconstitute(ReconStream& stream, int32_t version) {
  int32_t first = -1;
  stream.SerializeLongs(&first, 1);
  if (stream.IsReading() && first >= 0) {
    // Older layout: a count of arrays, each appended.
    mSlots.clear();
    if (!stream.CheckCount(first, 4)) return;
    for (int32_t i = 0; i < first && !stream.Failed(); ++i) {
      Array a;
      if (version > 0) stream.SerializeLongs(&a.id, 1);
      SerializeValues(stream, a);
      mSlots.emplace_back(std::move(a));
    }
    return;
  }
  auto slots = static_cast<int32_t>(mSlots.size());
  stream.SerializeLongs(&slots, 1);
  if (stream.IsReading()) {
    if (!stream.CheckCount(slots, 4)) {
      mSlots.clear();
      return;
    }
    mSlots.resize(static_cast<size_t>(slots));
  }
  for (int32_t i = 0; i < slots && !stream.Failed(); ++i) {
    auto& slot = mSlots[static_cast<size_t>(i)];
    int32_t present = slot ? 1 : 0;
    stream.SerializeLongs(&present, 1);
    if (stream.IsReading()) {
      if (!present) {
        slot.reset();
        continue;
      }
      if (!slot) slot.emplace();
    }
    if (!present) continue;
    if (version > 0) stream.SerializeLongs(&slot->id, 1);
    SerializeValues(stream, *slot);
  }
}
