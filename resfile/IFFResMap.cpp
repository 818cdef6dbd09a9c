#include "resfile/IFFResMap.h"

#include <algorithm>
#include <cstdint>

#include "resfile/ReconStream.h"

IFFResMap::~IFFResMap() { DisposeHandles(); }

ResGroup* IFFResMap::FindGroup(ResType type) const {
  if (!mIndexValid) BuildIndex();
  auto it = mByType.find(type);
  return it != mByType.end() ? it->second : nullptr;
}

ResGroup* IFFResMap::AddGroup(ResType type) {
  if (ResGroup* g = FindGroup(type)) return g;
  auto g = std::make_unique<ResGroup>();
  g->type = type;
  auto it = mGroups.insert(mNewAtFront ? mGroups.begin() : mGroups.end(), std::move(g));
  mByType[type] = it->get();
  return it->get();
}

ResEntry* IFFResMap::NewEntry(ResType type, ResId id) {
  auto& entries = AddGroup(type)->entries;
  auto it = entries.insert(mNewAtFront ? entries.begin() : entries.end(), std::make_unique<ResEntry>());
  ResEntry* e = it->get();
  e->id = id;
  if (mIndexValid) {
    auto& same = mById[Key(type, id)];
    same.insert(mNewAtFront ? same.begin() : same.end(), e);
  }
  return e;
}

void IFFResMap::SwapGroups(IFFResMap& other) {
  mGroups.swap(other.mGroups);
  mIndexValid = other.mIndexValid = false;
}

void IFFResMap::Reverse() {
  std::reverse(mGroups.begin(), mGroups.end());
  for (auto& g : mGroups) std::reverse(g->entries.begin(), g->entries.end());
  mIndexValid = false;
}

void IFFResMap::BuildIndex() const {
  mByType.clear();
  mById.clear();
  mByHandle.clear();
  for (const auto& g : mGroups) {
    mByType.emplace(g->type, g.get());  // a damaged map may repeat a type: the first counts
    for (const auto& e : g->entries) {
      mById[Key(g->type, e->id)].push_back(e.get());
      if (e->handle) mByHandle.emplace(e->handle, std::make_pair(e.get(), g.get()));
    }
  }
  mIndexValid = true;
}

void IFFResMap::RemoveGroup(ResType type) {
  for (auto it = mGroups.begin(); it != mGroups.end(); ++it) {
    if ((*it)->type == type) {
      for (auto& e : (*it)->entries) DisposeMemHandle(e->handle);
      mGroups.erase(it);
      mIndexValid = false;
      return;
    }
  }
}

ResType IFFResMap::TypeAt(int index) const {
  if (index < 1 || index > CountTypes()) return 0;
  return mGroups[static_cast<size_t>(index - 1)]->type;
}

ResEntry* IFFResMap::FindById(ResType type, ResId id, int variant, bool fallBack) const {
  if (!mIndexValid) BuildIndex();
  auto it = mById.find(Key(type, id));
  if (it == mById.end()) return nullptr;
  if (variant != 0) {
    for (ResEntry* e : it->second)
      if (e->Variant() == variant) return e;
    if (!fallBack) return nullptr;
  }
  for (ResEntry* e : it->second)
    if (e->flags < 256) return e;
  return nullptr;
}

ResEntry* IFFResMap::FindByLabel(ResType type, const std::string& label) const {
  ResGroup* g = FindGroup(type);
  if (!g || label.empty()) return nullptr;
  for (const auto& e : g->entries)
    if (e->flags < 256 && LabelsEqualNoCase(e->label, label)) return e.get();
  return nullptr;
}

ResEntry* IFFResMap::FindByIndex(ResType type, int index) const {
  ResGroup* g = FindGroup(type);
  if (!g || index < 1 || index > static_cast<int>(g->entries.size())) return nullptr;
  return g->entries[static_cast<size_t>(index - 1)].get();
}

ResEntry* IFFResMap::FindByHandle(MemHandle h, ResGroup** group) const {
  if (!h) return nullptr;
  if (!mIndexValid) BuildIndex();
  auto it = mByHandle.find(h);
  if (it == mByHandle.end()) return nullptr;
  if (group) *group = it->second.second;
  return it->second.first;
}

void IFFResMap::SetHandle(ResGroup& group, ResEntry& entry, MemHandle h) {
  if (mIndexValid) {
    auto it = entry.handle ? mByHandle.find(entry.handle) : mByHandle.end();
    if (it != mByHandle.end() && it->second.first == &entry) mByHandle.erase(it);
    if (h) mByHandle.emplace(h, std::make_pair(&entry, &group));
  }
  entry.handle = h;
}

ResEntry* IFFResMap::FindByOffset(int32_t offset) const {
  for (const auto& g : mGroups)
    for (const auto& e : g->entries)
      if (e->offset == offset) return e.get();
  return nullptr;
}

ResGroup* IFFResMap::GroupOf(const ResEntry* entry) const {
  if (mIndexValid && entry->handle) {
    auto it = mByHandle.find(entry->handle);
    if (it != mByHandle.end() && it->second.first == entry) return it->second.second;
  }
  if (mIndexValid) {
    // The (type, id) lists name the entry under its group's type.
    for (const auto& g : mGroups) {
      auto it = mById.find(Key(g->type, entry->id));
      if (it != mById.end() && std::find(it->second.begin(), it->second.end(), entry) != it->second.end()) {
        return g.get();
      }
    }
    return nullptr;
  }
  for (const auto& g : mGroups)
    for (const auto& e : g->entries)
      if (e.get() == entry) return g.get();
  return nullptr;
}

void IFFResMap::IndexById(const ResGroup& group, ResEntry* entry) const {
  auto& same = mById[Key(group.type, entry->id)];
  if (same.empty()) {
    same.push_back(entry);
    return;
  }
  // Another entry has this id (a variant): keep the list in map order.
  size_t before = 0;
  for (const auto& e : group.entries) {
    if (e.get() == entry) break;
    if (e->id == entry->id) ++before;
  }
  same.insert(same.begin() + static_cast<std::ptrdiff_t>(std::min(before, same.size())), entry);
}

void IFFResMap::UnindexById(ResType type, const ResEntry* entry) const {
  auto it = mById.find(Key(type, entry->id));
  if (it == mById.end()) return;
  auto& same = it->second;
  same.erase(std::remove(same.begin(), same.end(), entry), same.end());
  if (same.empty()) mById.erase(it);
}

void IFFResMap::SetId(ResGroup& group, ResEntry& entry, ResId id) {
  if (entry.id == id) return;
  if (mIndexValid) UnindexById(group.type, &entry);
  entry.id = id;
  if (mIndexValid) IndexById(group, &entry);
}

void IFFResMap::RemoveEntry(ResEntry* entry) {
  ResGroup* group = entry ? GroupOf(entry) : nullptr;
  if (!group) return;
  if (mIndexValid) {
    UnindexById(group->type, entry);
    if (entry->handle) {
      auto it = mByHandle.find(entry->handle);
      if (it != mByHandle.end() && it->second.first == entry) mByHandle.erase(it);
    }
  }
  // Deletes often go from the end: look there first.
  auto holds = [entry](const auto& e) { return e.get() == entry; };
  auto it = std::find_if(group->entries.rbegin(), group->entries.rend(), holds);
  if (it == group->entries.rend()) {
    // A damaged map that repeats a type: the entry is in a later group of it.
    group = nullptr;
    for (const auto& g : mGroups) {
      it = std::find_if(g->entries.rbegin(), g->entries.rend(), holds);
      if (it != g->entries.rend()) {
        group = g.get();
        break;
      }
    }
    if (!group) return;
  }
  auto& entries = group->entries;
  entries.erase(std::next(it).base());
  if (!entries.empty()) return;
  const ResType type = group->type;
  mGroups.erase(std::find_if(mGroups.begin(), mGroups.end(), [group](const auto& g) { return g.get() == group; }));
  if (mIndexValid) {
    // A damaged map may repeat a type: the next group of it takes over.
    mByType.erase(type);
    for (const auto& g : mGroups) {
      if (g->type == type) {
        mByType.emplace(type, g.get());
        break;
      }
    }
  }
}

ResId IFFResMap::UnusedId(ResType type) const {
  ResGroup* g = FindGroup(type);
  int highest = 128;
  if (g)
    for (const auto& e : g->entries) highest = std::max<int>(highest, e->id);
  if (highest < INT16_MAX) return static_cast<ResId>(highest + 1);
  // The largest id is taken (only odd or damaged files get there): the
  // first free id from 129 on, going round through the negative ones.
  std::vector<bool> used(65536);
  for (const auto& e : g->entries) used[static_cast<uint16_t>(e->id)] = true;
  for (int i = 0; i < 65536; ++i) {
    auto id = static_cast<ResId>(129 + i);
    if (!used[static_cast<uint16_t>(id)]) return id;
  }
  return static_cast<ResId>(highest + 1);  // every id is taken
}

void IFFResMap::DisposeHandles() {
  for (auto& g : mGroups)
    for (auto& e : g->entries) {
      DisposeMemHandle(e->handle);
      e->handle = nullptr;
    }
  mByHandle.clear();
}

void IFFResMap::Clear() {
  DisposeHandles();
  mGroups.clear();
  mFreeBytes = 0;
  mIndexValid = false;
}

void IFFResMap::Reconstitute(ReconStream& stream, int32_t) {
  stream.SerializeLongs(&mFreeBytes, 1);
  auto groups = static_cast<int32_t>(mGroups.size());
  stream.SerializeLongs(&groups, 1);
  if (stream.IsReading()) {
    Clear();
    if (!stream.CheckCount(groups, 8)) return;
    // Entries are filled in below; the index is built at the first lookup.
    mGroups.reserve(static_cast<size_t>(groups));
    for (int32_t i = 0; i < groups; ++i) mGroups.push_back(std::make_unique<ResGroup>());
  }
  for (auto& g : mGroups) {
    if (stream.Failed()) return;
    auto count = static_cast<int32_t>(g->entries.size());
    stream.SerializeLongs(&g->type, 1);
    stream.SerializeLongs(&count, 1);
    if (stream.IsReading()) {
      // Each entry takes at least 10 bytes: offset, id, flags, empty label.
      if (!stream.CheckCount(count, 10)) return;
      for (int32_t i = 0; i < count; ++i) g->entries.push_back(std::make_unique<ResEntry>());
    }
    for (auto& e : g->entries) {
      stream.SerializeLongs(&e->offset, 1);
      stream.SerializeShorts(&e->id, 1);
      stream.SerializeShorts(&e->storedFlags, 1);
      stream.SerializeString(e->label);
      if (stream.IsReading()) {
        e->label = ClampLabel(e->label);
        e->flags = e->storedFlags;
      }
    }
  }
}
