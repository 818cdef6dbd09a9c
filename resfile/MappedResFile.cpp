#include "resfile/MappedResFile.h"

bool MappedResFile::Ready() {
  if (mOpen) return true;
  mError = kFlatNotOpen;
  return false;
}

MemHandle MappedResFile::Load(ResGroup& group, ResEntry& entry, SwapProc swap) {
  mError = 0;
  if (!entry.handle) {
    MemHandle h = nullptr;
    int status = ReadData(group, entry, h);
    if (status != 0) {
      // Nothing half-filled is kept: the next ask reads again.
      DisposeMemHandle(h);
      mError = status;
      return nullptr;
    }
    mMap.SetHandle(group, entry, h);
  }
  // Foreign data is turned once, by the first load that brings the callback
  // (an earlier one without it, a chain's existence check, leaves it as is).
  if (!(entry.flags & kResFlagNative) && swap) {
    swap(GetMemHandleData(entry.handle), GetMemHandleSize(entry.handle));
    entry.flags = static_cast<uint16_t>(entry.flags | kResFlagNative);
  }
  return entry.handle;
}

int MappedResFile::WriteEntry(const ResGroup& group, ResEntry& entry) {
  int status = WriteData(group, entry, entry.handle);
  if (status == 0) {
    mReplaced.erase(&entry);
    entry.storedFlags = entry.flags;
    SyncFile();
  }
  return status;
}

bool MappedResFile::IsReplaced(const ResEntry& entry) const {
  auto it = mReplaced.find(&entry);
  return it != mReplaced.end() && entry.handle && it->second.handle == entry.handle;
}

int MappedResFile::DropReplacement(MemHandle h) {
  if (!Ready()) return mError;
  ResGroup* g = nullptr;
  ResEntry* e = mMap.FindByHandle(h, &g);
  if (!e || !IsReplaced(*e)) return mError = kResNotFound;
  e->label = mReplaced[e].label;
  mReplaced.erase(e);
  mMap.SetHandle(*g, *e, nullptr);
  e->flags = e->storedFlags;
  DisposeMemHandle(h);
  return mError = 0;
}

void DiscardFailedWrite(iResFile& file, MemHandle h) {
  auto* mapped = dynamic_cast<MappedResFile*>(&file);
  if (!mapped || mapped->DropReplacement(h) != 0) file.DeleteResource(h);
}

int MappedResFile::Suspend() {
  if (!Ready()) return mError;
  GetPath(mSuspendedPath);
  return Close();
}

int MappedResFile::Resume() {
  if (mSuspendedPath.empty()) return mError = kFlatOpenFailed;
  std::string path;
  path.swap(mSuspendedPath);
  return Open(path);
}

int MappedResFile::Flush() {
  if (!Ready()) return mError;
  int first = 0;
  for (auto g = mMap.mGroups.rbegin(); g != mMap.mGroups.rend(); ++g) {
    for (auto e = (*g)->entries.rbegin(); e != (*g)->entries.rend(); ++e) {
      if (!NeedsWrite(**e)) continue;
      int status = WriteEntry(**g, **e);
      if (status != 0 && first == 0) first = status;
    }
  }
  if (first == 0 && SyncFile() != 0) first = kFlatOpenFailed;
  return mError = first;
}

int MappedResFile::CountTypes() {
  if (!Ready()) return 0;
  mError = 0;
  return mMap.CountTypes();
}

ResType MappedResFile::GetTypeAt(int index) {
  if (!Ready()) return 0;
  ResType type = mMap.TypeAt(index);
  mError = type ? 0 : kResBadTypeIndex;
  return type;
}

int MappedResFile::CountResources(ResType type) {
  if (!Ready()) return 0;
  mError = 0;
  ResGroup* g = mMap.FindGroup(type);
  return g ? static_cast<int>(g->entries.size()) : 0;
}

MemHandle MappedResFile::GetResource(ResType type, ResId id, SwapProc swap) {
  return GetResourceVariant(type, id, 0, swap);
}

MemHandle MappedResFile::LoadFound(ResType type, ResEntry* e, int missing, SwapProc swap) {
  if (!e) {
    mError = missing;
    return nullptr;
  }
  return Load(*mMap.FindGroup(type), *e, swap);
}

MemHandle MappedResFile::GetResourceVariant(ResType type, ResId id, int variant, SwapProc swap) {
  if (!Ready()) return nullptr;
  return LoadFound(type, mMap.FindById(type, id, variant, true), kResNotFound, swap);
}

MemHandle MappedResFile::GetNamedResource(ResType type, const std::string& label, SwapProc swap) {
  if (!Ready()) return nullptr;
  return LoadFound(type, mMap.FindByLabel(type, label), kResUnknownLabel, swap);
}

MemHandle MappedResFile::GetIndexedResource(ResType type, int index, SwapProc swap) {
  if (!Ready()) return nullptr;
  return LoadFound(type, mMap.FindByIndex(type, index), kResNotFound, swap);
}

int MappedResFile::GetLabel(MemHandle h, std::string& out) {
  out.clear();
  if (!Ready()) return mError;
  ResEntry* e = mMap.FindByHandle(h);
  if (!e) return mError = kResNotFound;
  out = e->label;
  return mError = 0;
}

ResType MappedResFile::GetType(MemHandle h) {
  if (!Ready()) return 0;
  ResGroup* g = nullptr;
  if (!mMap.FindByHandle(h, &g)) {
    mError = kResNotFound;
    return 0;
  }
  mError = 0;
  return g->type;
}

int MappedResFile::GetId(MemHandle h, ResId& out) {
  if (!Ready()) return mError;
  ResEntry* e = mMap.FindByHandle(h);
  if (!e) return mError = kResNotFound;
  out = e->id;
  return mError = 0;
}

int MappedResFile::GetVariant(MemHandle h) {
  if (!Ready()) return 0;
  ResEntry* e = mMap.FindByHandle(h);
  mError = e ? 0 : kResNotFound;
  return e ? e->Variant() : 0;
}

int MappedResFile::MakeUniqueLabel(ResType type, std::string& label) {
  if (!Ready()) return mError;
  // Labels are stored cut to 63 characters, so a longer one would clash
  // with its cut form, and the counter must fit inside the 63 or a label
  // of full length would be found again forever.
  const std::string kept = ClampLabel(label);
  label = kept;
  for (int i = 0; mMap.FindByLabel(type, label); ++i) {
    std::string counter = std::to_string(i);
    label = kept.substr(0, kMaxLabelLength - counter.size()) + counter;
  }
  return mError = 0;
}

ResId MappedResFile::GetUnusedId(ResType type) {
  if (!Ready()) return 0;
  mError = 0;
  return mMap.UnusedId(type);
}

int MappedResFile::DetachResource(MemHandle h) {
  if (!Ready()) return mError;
  ResGroup* g = nullptr;
  ResEntry* e = mMap.FindByHandle(h, &g);
  if (!e) return mError = kResUnknownLabel;
  mError = 0;
  if (NeedsWrite(*e)) {
    // A resource that was never written would be lost with its handle.
    if (!IsWritable()) return mError = kResNotWritable;
    if (int status = WriteEntry(*g, *e)) return mError = status;
  }
  mReplaced.erase(e);
  mMap.SetHandle(*g, *e, nullptr);
  e->flags = e->storedFlags;
  return mError = 0;
}

bool MappedResFile::IsNative(MemHandle h) {
  if (!Ready()) return true;
  ResEntry* e = mMap.FindByHandle(h);
  if (!e) {
    mError = kResUnknownLabel;
    return true;
  }
  mError = 0;
  return (e->flags & kResFlagNative) != 0;
}

int MappedResFile::ChangeId(MemHandle h, ResId id) {
  std::string label;
  if (GetLabel(h, label) != 0) return mError;
  int variant = GetVariant(h);
  return SetIdAndLabel(h, id, label, variant);
}

int MappedResFile::AddResource(MemHandle h, ResType type, ResId id, const std::string& label,
                               bool native) {
  return AddResourceVariant(h, type, id, label, 0, native);
}

int MappedResFile::AddResourceVariant(MemHandle h, ResType type, ResId id,
                                      const std::string& label, int variant, bool native) {
  if (!Ready()) return mError;
  if (!IsWritable()) return mError = kResNotWritable;
  if (!h || variant < 0 || variant > 255) return mError = kResBadData;
  // Pending additions make the file changed, so Close writes them.
  if (int status = BeforeChange()) return mError = status;
  mError = 0;
  // Only the same id and variant is replaced: a new variant never takes the
  // place of the default resource.
  ResEntry* e = mMap.FindById(type, id, variant, false);
  // The handle may already belong to another entry of this file: two
  // entries holding one handle would free it twice.
  if (ResEntry* owner = mMap.FindByHandle(h); owner && owner != e) return mError = kResBadData;
  bool replacedBefore = e && IsReplaced(*e);
  std::string storedLabel = e ? e->label : std::string();
  if (e) {
    // The old chunk stays the entry's until the new data is written: the
    // write frees it then, and a failed write leaves it in place.
    if (e->handle != h) DisposeMemHandle(e->handle);
  } else {
    e = mMap.NewEntry(type, id);
    e->storedFlags = 0;
  }
  e->id = id;
  e->flags = static_cast<uint16_t>((variant << 8) | (native ? kResFlagNative : 0));
  mMap.SetHandle(*mMap.FindGroup(type), *e, h);
  e->label = ClampLabel(label);
  if (replacedBefore)
    mReplaced[e].handle = h;
  else if (e->offset != -1)
    mReplaced[e] = Replacement{h, storedLabel};
  else
    mReplaced.erase(e);
  return mError;
}

int MappedResFile::WriteResource(MemHandle h) {
  if (!Ready()) return mError;
  if (!IsWritable()) return mError = kResNotWritable;
  ResGroup* g = nullptr;
  ResEntry* e = mMap.FindByHandle(h, &g);
  if (!e) return mError = kResUnknownLabel;
  return mError = WriteEntry(*g, *e);
}

int MappedResFile::DeleteResource(MemHandle h) {
  if (!Ready()) return mError;
  if (!IsWritable()) return mError = kResNotWritable;
  ResGroup* g = nullptr;
  ResEntry* e = mMap.FindByHandle(h, &g);
  if (!e) return mError = kResUnknownLabel;
  if (e->offset != -1) {
    if (int status = FreeData(*g, *e)) return mError = status;
  }
  DisposeMemHandle(e->handle);
  mReplaced.erase(e);
  mMap.RemoveEntry(e);
  SyncFile();
  return mError = 0;
}

int MappedResFile::SetIdAndLabel(MemHandle h, ResId id, const std::string& label, int) {
  if (!Ready()) return mError;
  if (!IsWritable()) return mError = kResNotWritable;
  ResGroup* g = nullptr;
  ResEntry* e = mMap.FindByHandle(h, &g);
  if (!e) return mError = kResUnknownLabel;
  std::string clamped = ClampLabel(label);
  bool changed = e->id != id || e->label != clamped;
  mMap.SetId(*g, *e, id);
  e->label = clamped;
  mError = 0;
  if (changed && e->offset != -1) mError = RewriteHeader(*g, *e);
  SyncFile();
  return mError;
}
