#include "simulation/TreeTable.h"

#include <algorithm>

#include "gamedata/ResourceSource.h"
#include "resfile/MappedResFile.h"
#include "resfile/ReconStream.h"
#include "resfile/StringSet.h"

namespace tova {

namespace {

// The names list holds at most this many strings (its count is 16-bit).
constexpr int32_t kMaxNames = 32767;

// The two sets of attenuation values the caller's flag chooses between.
constexpr float kAttenuationSets[2][3] = {{0.002f, 0.02f, 0.1f}, {0.002f, 0.02f, 0.1f}};

// Old layouts give a motive entry's value as one number: word 2 becomes that
// number less word 1. Entries the table does not have are read and dropped.
void SetOldValue(TreeTableEntry& e, int16_t k, int16_t v) {
  if (k < 0 || k >= static_cast<int>(e.motives.size())) return;
  MotiveEntry& m = e.motives[static_cast<size_t>(k)];
  m.range = static_cast<int16_t>(v - m.base);
}

std::string StoredName(const TreeTableEntry& e) {
  std::string text = e.name;
  if (e.flags & TreeTableEntry::kFlagBangName) {
    if (text.empty() || text[0] != '!') text.insert(text.begin(), '!');
  } else if (!text.empty() && text[0] == '!') {
    text.erase(text.begin());
    if (text.empty()) text = " ";
  }
  return text;
}

}  // namespace

TreeTable::TreeTable(int32_t motivesPerEntry) : motivesPerEntry_(std::max(0, motivesPerEntry)) {}

TreeTableEntry TreeTable::NewEntry() const {
  TreeTableEntry e;
  e.motives.resize(static_cast<size_t>(motivesPerEntry_));
  return e;
}

void TreeTable::ReadOldEntry(ReconStream& s, TreeTableEntry& e, int16_t version, int position) {
  int16_t count = 0;
  s.SerializeShorts(&e.checkTree, 1);
  if (version >= 1) s.SerializeShorts(&e.actionTree, 1);
  s.SerializeShorts(&count, 1);
  if (version <= 1) {
    if (!s.CheckCount(count, 4)) return;
    for (int i = 0; i < count; ++i) {
      int16_t pair[2] = {0, 0};
      s.SerializeShorts(pair, 2);
      SetOldValue(e, pair[0], pair[1]);
    }
  } else {
    if (version == 2) {
      int16_t unused = 0;
      s.SerializeFloats(&e.customAttenuation, 1);
      s.SerializeShorts(&unused, 1);
    } else if (version == 3) {
      int16_t flags = 0;
      s.SerializeShorts(&flags, 1);
      e.flags = flags;
      s.SerializeFloats(&e.customAttenuation, 1);
    } else {
      s.SerializeLongs(&e.flags, 1);
      s.SerializeLongs(&e.nameIndex, 1);
      s.SerializeFloats(&e.customAttenuation, 1);
      s.SerializeLongs(&e.tuningMark, 1);
      if (version == 5) s.SerializeLongs(&e.link, 1);
    }
    e.attenuationCode = 0;
    if (!s.CheckCount(count, 2)) return;
    for (int16_t k = 0; k < count; ++k) {
      int16_t v = 0;
      s.SerializeShorts(&v, 1);
      SetOldValue(e, k, v);
    }
  }
  if (version < 4) e.nameIndex = position;
}

void TreeTable::Serialize(ReconStream& s, int16_t count, int16_t version) {
  if (version >= 9) {
    bool packed = s.IsWriting() || s.GetMode() == ReconStream::kMeasure;
    s.SerializeBool(&packed);
    if (packed) s.SetPacked();
  }
  if (s.IsReading()) {
    data_.entries.clear();
    if (!s.CheckCount(count, version >= 6 ? 28 : 4)) return;
    data_.entries.assign(static_cast<size_t>(count), NewEntry());
  }
  if (version == 7) s.UseStringTable(file_, kTypeTTAs, id_);
  for (size_t i = 0; i < data_.entries.size() && !s.Failed(); ++i) {
    TreeTableEntry& e = data_.entries[i];
    if (version < 6) {
      ReadOldEntry(s, e, version, static_cast<int>(i));
      continue;
    }
    s.SerializeShorts(&e.checkTree, 1);
    s.SerializeShorts(&e.actionTree, 1);
    auto motives = static_cast<int32_t>(e.motives.size());
    s.SerializeLongs(&motives, 1);
    if (s.IsReading()) {
      if (!s.CheckCount(motives, 6)) return;
      e.motives.assign(static_cast<size_t>(motives), MotiveEntry{});
    }
    s.SerializeLongs(&e.flags, 1);
    s.SerializeLongs(&e.nameIndex, 1);
    s.SerializeLongs(&e.attenuationCode, 1);
    s.SerializeFloats(&e.customAttenuation, 1);
    s.SerializeLongs(&e.tuningMark, 1);
    s.SerializeLongs(&e.link, 1);
    for (MotiveEntry& m : e.motives) {
      s.SerializeShorts(&m.base, 1);
      s.SerializeShorts(&m.range, 1);
      s.SerializeShorts(&m.modifier, 1);
    }
    if (version == 7) s.SerializeString(e.name);
  }
}

int TreeTable::Load(iResFile* file, ResId id, SwapProc treeSwap) {
  data_.entries.clear();
  data_.changed = false;
  if (!file || !file->IsOpen() || id == 0) return -1;
  MemHandle h = file->GetResource(kTypeTTAB, id, nullptr);
  if (!h) return kResUnknownLabel;
  file_ = file;
  id_ = id;
  std::string label;
  file->GetLabel(h, label);
  const int32_t size = GetMemHandleSize(h);
  int16_t count = -1;
  int16_t version = -1;
  ReconStream s;
  s.InitBuffer(GetMemHandleData(h), size, ReconStream::kRead, !file->IsNative(h));
  s.SerializeShorts(&count, 1);
  s.SerializeShorts(&version, 1);
  if (count < 0 || version < 0 || version > kCurrentVersion) s.Fail();
  if (!s.Failed()) Serialize(s, count, version);
  s.Finish();
  file->ReleaseResource(h);
  if (s.Failed()) {
    data_.entries.clear();
    return -1;
  }
  loadedVersion_ = version;

  if (version >= 8) {
    StringSet names;
    names.SetSource(file, id, kTypeTTAs, false, -1);
    names.Load(false, true);
    for (TreeTableEntry& e : data_.entries) {
      const char* text = e.nameIndex >= 0 && e.nameIndex < kMaxNames ? names.GetString(e.nameIndex + 1) : nullptr;
      e.name = text ? text : "";
      if (!e.name.empty()) continue;
      if (MemHandle tree = file->GetResource(kTypeBHAV, e.actionTree, treeSwap)) file->GetLabel(tree, e.name);
      if (e.name.empty()) e.name = "?" + std::to_string(e.actionTree);
    }
  } else if (file->IsWritable()) {
    // Older tables are brought up to date where they lie; a read-only or
    // archived file is left as it is.
    Save(file, id, label);
  }
  return 0;
}

int TreeTable::Save(iResFile* file, ResId id, const std::string& label) {
  if (id < 1 || !file || !file->IsOpen()) return -1;
  int16_t count = static_cast<int16_t>(std::min<size_t>(data_.entries.size(), 32767));
  data_.entries.resize(static_cast<size_t>(count));
  int16_t version = kCurrentVersion;
  auto run = [&](ReconStream& s) {
    s.SerializeShorts(&count, 1);
    s.SerializeShorts(&version, 1);
    Serialize(s, count, version);
  };
  ReconStream measure;
  measure.InitMeasure();
  run(measure);
  MemHandle h = NewMemHandle(measure.GetPosition());
  if (!h) return kResOutOfMemory;
  std::fill_n(GetMemHandleData(h), GetMemHandleSize(h), uint8_t{0});
  ReconStream write;
  write.InitBuffer(GetMemHandleData(h), GetMemHandleSize(h), ReconStream::kWrite, false);
  run(write);
  write.Finish();
  int status = file->AddResource(h, kTypeTTAB, id, label, true);
  if (status != 0) {
    DisposeMemHandle(h);
    return status;
  }
  status = file->WriteResource(h);
  if (status != 0) {
    DiscardFailedWrite(*file, h);
    return status;
  }
  file->DetachResource(h);
  DisposeMemHandle(h);
  file_ = file;
  id_ = id;

  // Only the current language's list is changed here; saving it merges the
  // other languages from what is stored.
  StringSet names;
  names.SetSource(file, id, kTypeTTAs, false, -1);
  names.Load(false, true);
  bool changed = false;
  for (const TreeTableEntry& e : data_.entries) {
    if (e.nameIndex < 0 || e.nameIndex >= kMaxNames) continue;
    const int n = e.nameIndex + 1;
    if (names.GetCount() < n) {
      names.PadTo(n);
      changed = true;
    }
    const std::string text = StoredName(e);
    const char* stored = names.GetString(n);
    if (stored && text == stored) continue;
    names.SetString(n, text.c_str());
    changed = true;
  }
  return changed ? names.Save() : 0;
}

int TreeTable::Resave() {
  if (!file_ || id_ == 0) return -1;
  std::string label;
  if (MemHandle h = file_->GetResource(kTypeTTAB, id_, nullptr)) {
    file_->GetLabel(h, label);
    file_->ReleaseResource(h);
  }
  return Save(file_, id_, label);
}

float TreeTable::Attenuation(const TreeTableEntry& entry, bool flag) {
  switch (entry.attenuationCode) {
    case 0: return entry.customAttenuation;
    case 1: return 0.0f;
    case 2:
    case 3:
    case 4: return kAttenuationSets[flag ? 1 : 0][entry.attenuationCode - 2];
    default: return 0.02f;
  }
}

float TreeTable::GetAttenuation(int entry, bool flag) const {
  if (entry < 0 || entry >= GetEntryCount()) return 0.02f;
  return Attenuation(data_.entries[static_cast<size_t>(entry)], flag);
}

void TreeTable::CopyEntry(TreeTableEntry& target, const TreeTableEntry& source) {
  target.actionTree = source.actionTree;
  target.checkTree = source.checkTree;
  const size_t n = std::min(target.motives.size(), source.motives.size());
  std::copy_n(source.motives.begin(), n, target.motives.begin());
  target.nameIndex = source.nameIndex;
  target.attenuationCode = source.attenuationCode;
  target.customAttenuation = source.customAttenuation;
  target.flags = source.flags;
  target.link = source.link;
  target.name = source.name;
}

}  // namespace tova
