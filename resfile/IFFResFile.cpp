#include "resfile/IFFResFile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "resfile/ReconObject.h"
#include "resfile/ResUtil.h"

namespace {

const char kHeader[] = "IFF FILE 1.0:TYPE FOLLOWED BY SIZE\0 HOLLIS VANTREK & ORVEL 1996";
static_assert(sizeof(kHeader) == 64, "63 bytes of text and the terminator");
constexpr ResType kNames = TypeCode("NAME");

void KeepOrder(void*, int32_t) {}

}  // namespace

void IFFNameList::Reconstitute(ReconStream& stream, int32_t) {
  auto count = static_cast<int32_t>(entries.size());
  stream.SerializeLongs(&count, 1);
  if (stream.IsReading()) {
    entries.clear();
    if (!stream.CheckCount(count, 6)) return;
    entries.resize(static_cast<size_t>(count));
  }
  for (auto& [index, label] : entries) {
    stream.SerializeLongs(&index, 1);
    stream.SerializeString(label);
  }
}

IFFResFile::IFFResFile() : IFFChunkFile(kChunkHeaderSize) {
  mMap.mNewAtFront = true;
  mInternal.mNewAtFront = true;
}

IFFResFile::~IFFResFile() {
  if (mOpen) Close();
  mInternal.Clear();
}

void IFFResFile::EncodeHeader(const ChunkHeader& h, uint8_t* out) const {
  WriteU32BE(out, h.type);
  WriteU32BE(out + 4, h.size);
  WriteU16BE(out + 8, static_cast<uint16_t>(h.id));
  WriteU16BE(out + 10, h.flags);
  WriteU32BE(out + 12, static_cast<uint32_t>(h.labelIndex));
}

void IFFResFile::DecodeHeader(const uint8_t* in, ChunkHeader& h) const {
  h.type = ReadU32BE(in);
  h.size = ReadU32BE(in + 4);
  h.id = static_cast<ResId>(ReadU16BE(in + 8));
  h.flags = ReadU16BE(in + 10);
  h.labelIndex = static_cast<int32_t>(ReadU32BE(in + 12));
}

void IFFResFile::ForEachEntry(const std::function<void(ResEntry&)>& visit) {
  IFFChunkFile::ForEachEntry(visit);
  for (auto& g : mInternal.mGroups)
    for (auto& e : g->entries) visit(*e);
}

void IFFResFile::Swap() {
  mMap.SwapGroups(mInternal);
  mSwapped = !mSwapped;
}

int32_t IFFResFile::NextLabelIndex() const {
  const IFFResMap& pub = mSwapped ? mInternal : mMap;
  int32_t highest = 0;
  for (const auto& g : pub.mGroups)
    for (const auto& e : g->entries) highest = std::max(highest, e->labelIndex);
  if (highest < INT32_MAX) return highest + 1;
  // A damaged file can hold the largest index already: take the lowest free one instead.
  std::vector<int32_t> used;
  for (const auto& g : pub.mGroups)
    for (const auto& e : g->entries)
      if (e->labelIndex > 0) used.push_back(e->labelIndex);
  std::sort(used.begin(), used.end());
  int32_t next = 1;
  for (int32_t u : used) {
    if (u > next) break;
    if (u == next) ++next;
  }
  return next;
}

int IFFResFile::Create(const std::string& path) {
  if (mOpen) return mError = kFlatAlreadyOpen;
  if (int status = CreateWithHeader(path, reinterpret_cast<const uint8_t*>(kHeader))) return mError = status;
  // A new file carries an empty name list.
  if (Open(path) == 0) Close();
  return mError = 0;
}

int IFFResFile::Open(const std::string& path) {
  uint8_t header[kFileHeaderSize];
  if (int status = OpenFile(path, header)) return mError = status;
  if (std::memcmp(header, kHeader, 64) != 0) {
    mFile.Close();
    return mError = kResBadHeader;
  }
  mOpen = true;
  mInternal.Clear();
  mSwapped = false;
  // Found in file order and turned round once: putting each new entry in
  // front as it is found would cost time growing with the square of the count.
  mMap.mNewAtFront = mInternal.mNewAtFront = false;
  Walk([this](int32_t pos, const ChunkHeader& h) {
    if (h.flags & kResFlagFree) {
      mMap.mFreeBytes += h.size;
      return;
    }
    ResEntry* e = (h.flags & kResFlagInternal ? mInternal : mMap).NewEntry(h.type, h.id);
    e->offset = pos;
    e->flags = e->storedFlags = h.flags;
    e->labelIndex = h.labelIndex;
  });
  mMap.mNewAtFront = mInternal.mNewAtFront = true;
  mMap.Reverse();
  mInternal.Reverse();
  LoadNames();
  mChanged = false;
  return mError = 0;
}

void IFFResFile::LoadNames() {
  mNamesChanged = true;
  IFFNameList names;
  Swap();
  if (MemHandle old = GetResource(kNames, 0, KeepOrder)) {
    // Older form: {index (little-endian), length byte, characters} to the end.
    const uint8_t* p = GetMemHandleData(old);
    int32_t size = GetMemHandleSize(old), pos = 0;
    while (pos + 5 <= size && pos + 5 + p[pos + 4] <= size) {
      int n = p[pos + 4];
      names.entries.emplace_back(static_cast<int32_t>(ReadU32LE(p + pos)),
                                 std::string(reinterpret_cast<const char*>(p + pos + 5), static_cast<size_t>(n)));
      pos += 5 + n;
    }
    ReleaseResource(old);
    // Left changed: the first flush of a writable file stores the current form.
  } else {
    SimpleReconObject<IFFNameList> record(&names, kNames);
    if (ReconObject::LoadFromResFile(record, *this, 1) == 0) mNamesChanged = false;
  }
  Swap();
  std::unordered_map<int32_t, const std::string*> byIndex;
  for (const auto& [index, label] : names.entries) byIndex.emplace(index, &label);  // the first of an index counts
  for (auto& g : mMap.mGroups) {
    for (auto& e : g->entries) {
      if (e->labelIndex == -1) continue;
      auto it = byIndex.find(e->labelIndex);
      if (it != byIndex.end()) e->label = ClampLabel(*it->second);
    }
  }
  mError = 0;
}

int IFFResFile::SaveNames() {
  if (!mNamesChanged || !IsWritable()) return 0;
  IFFNameList names;
  for (const auto& g : mMap.mGroups)
    for (const auto& e : g->entries)
      if (e->labelIndex != -1 && !e->label.empty()) names.entries.emplace_back(e->labelIndex, e->label);
  Swap();
  SimpleReconObject<IFFNameList> record(&names, kNames);
  int status = ReconObject::SaveToResFile(record, 0, *this, 1);
  if (status == 0) {
    if (ResEntry* old = mMap.FindById(kNames, 0, 0, false)) {
      MemHandle h = old->handle ? old->handle : GetResource(kNames, 0, KeepOrder);
      if (h) DeleteResource(h);
    }
    mNamesChanged = false;
  }
  Swap();
  mError = 0;
  return status;
}

int IFFResFile::Flush() {
  if (!Ready()) return mError;
  int names = SaveNames();
  int status = IFFChunkFile::Flush();
  return mError = status != 0 ? status : names;
}

int IFFResFile::Close() {
  if (!Ready()) return mError;
  int status = IsWritable() ? Flush() : 0;
  mMap.DisposeHandles();
  mInternal.DisposeHandles();
  if (status == 0 && IsWritable() && mMap.mFreeBytes > kCompactAbove) status = Compact();
  mInternal.Clear();
  int closed = CloseFile();
  return mError = status != 0 ? status : closed;
}

MemHandle IFFResFile::GetResourceVariant(ResType type, ResId id, int variant, SwapProc swap) {
  if (variant != 0) return iResFile::GetResourceVariant(type, id, variant, swap);
  return MappedResFile::GetResourceVariant(type, id, 0, swap);
}

int IFFResFile::AddResource(MemHandle h, ResType type, ResId id, const std::string& label, bool native) {
  int status = MappedResFile::AddResourceVariant(h, type, id, label, 0, native);
  if (status != 0) return status;
  ResEntry* e = mMap.FindByHandle(h);
  if (mSwapped) e->flags = static_cast<uint16_t>(e->flags | kResFlagInternal);
  e->labelIndex = e->label.empty() ? -1 : NextLabelIndex();
  mNamesChanged = true;
  return mError = 0;
}

int IFFResFile::DeleteResource(MemHandle h) {
  int status = MappedResFile::DeleteResource(h);
  if (status == 0) mNamesChanged = true;
  return status;
}

int IFFResFile::SetIdAndLabel(MemHandle h, ResId id, const std::string& label, int variant) {
  if (variant != 0) return mError = kResNoVariants;
  if (!Ready()) return mError;
  ResEntry* e = mMap.FindByHandle(h);
  if (e && IsWritable() && !label.empty() && e->labelIndex == -1) e->labelIndex = NextLabelIndex();
  int status = MappedResFile::SetIdAndLabel(h, id, label, 0);
  if (status == 0) mNamesChanged = true;
  return status;
}
