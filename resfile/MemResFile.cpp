#include "resfile/MemResFile.h"

#include <cstring>

MemResFile::MemResFile() {
  mOpen = true;
  mWritable = true;
}

MemResFile::~MemResFile() { mMap.Clear(); }

int MemResFile::Create(const std::string&) {
  if (mOpen) return mError = kFlatAlreadyOpen;
  mMap.Clear();
  mChunks.clear();
  return mError = 0;
}

int MemResFile::Delete(const std::string& path) { return Create(path); }

int MemResFile::Open(const std::string& path) {
  if (mOpen) return mError = kFlatAlreadyOpen;
  mOpen = true;
  mPath = path;
  return mError = 0;
}

int MemResFile::Close() {
  if (!Ready()) return mError;
  int status = IsWritable() ? Flush() : 0;
  // What never reached storage goes: a new entry with its handle, a
  // replacement back to the stored data and its label. Entries are removed
  // through the map, which keeps its lookup index and its groups right.
  std::vector<ResEntry*> unwritten;
  for (auto& g : mMap.mGroups) {
    for (auto& e : g->entries) {
      if (IsReplaced(*e)) e->label = mReplaced[e.get()].label;
      DisposeMemHandle(e->handle);
      mMap.SetHandle(*g, *e, nullptr);
      e->flags = e->storedFlags;
      if (e->offset == -1) unwritten.push_back(e.get());
    }
  }
  for (ResEntry* e : unwritten) mMap.RemoveEntry(e);
  mReplaced.clear();
  mOpen = false;
  return mError = status;
}

void MemResFile::AddStored(ResType type, ResId id, const void* data, int32_t size,
                           const std::string& label, uint16_t flags) {
  ResEntry& e = *mMap.NewEntry(type, id);
  e.flags = e.storedFlags = flags;
  e.label = ClampLabel(label);
  e.offset = mNextOffset++;
  auto* bytes = static_cast<const uint8_t*>(data);
  mChunks[e.offset].assign(bytes, bytes + (size > 0 ? size : 0));
}

bool MemResFile::GetStored(ResType type, ResId id, std::vector<uint8_t>& out, int variant) const {
  ResEntry* e = mMap.FindById(type, id, variant, false);
  if (!e || e->offset == -1) return false;
  out = mChunks.at(e->offset);
  return true;
}

int MemResFile::ReadData(const ResGroup&, const ResEntry& entry, MemHandle& out) {
  auto it = mChunks.find(entry.offset);
  if (it == mChunks.end()) return kResBadData;
  out = NewMemHandle(static_cast<int32_t>(it->second.size()));
  if (!out) return kResOutOfMemory;
  if (!it->second.empty()) std::memcpy(GetMemHandleData(out), it->second.data(), it->second.size());
  return 0;
}

int MemResFile::WriteData(const ResGroup&, ResEntry& entry, MemHandle h) {
  if (mFailWrite) {
    int code = mFailWrite;
    mFailWrite = 0;
    return code;
  }
  if (entry.offset == -1) entry.offset = mNextOffset++;
  const uint8_t* data = GetMemHandleData(h);
  mChunks[entry.offset].assign(data, data + GetMemHandleSize(h));
  return 0;
}

int MemResFile::FreeData(const ResGroup&, ResEntry& entry) {
  mChunks.erase(entry.offset);
  return 0;
}
