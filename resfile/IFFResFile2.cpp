#include "resfile/IFFResFile2.h"

#include <cstring>

#include "resfile/ReconObject.h"
#include "resfile/ResUtil.h"

namespace {

const char kTemplate[] = "IFF FILE 2.5:TYPE FOLLOWED BY SIZE\0 HOLLIS VANTREK & ORVEL 1";
static_assert(sizeof(kTemplate) == 61, "60 bytes of text and the terminator");
constexpr ResType kMapType = TypeCode("rsmp");

}  // namespace

void MakeIFF2Header(uint8_t* out, int32_t mapOffset) {
  std::memcpy(out, kTemplate, 60);
  WriteU32BE(out + 60, static_cast<uint32_t>(mapOffset));
}

IFFResFile2::IFFResFile2() : IFFChunkFile(kChunkHeaderSize) {}

IFFResFile2::~IFFResFile2() {
  if (mOpen) Close();
}

void IFFResFile2::EncodeHeader(const ChunkHeader& h, uint8_t* out) const {
  WriteU32BE(out, h.type);
  WriteU32BE(out + 4, h.size);
  WriteU16BE(out + 8, static_cast<uint16_t>(h.id));
  WriteU16BE(out + 10, h.flags);
  std::memset(out + 12, 0, 64);
  std::memcpy(out + 12, h.label.data(), std::min<size_t>(h.label.size(), kMaxLabelLength));
}

void IFFResFile2::DecodeHeader(const uint8_t* in, ChunkHeader& h) const {
  h.type = ReadU32BE(in);
  h.size = ReadU32BE(in + 4);
  h.id = static_cast<ResId>(ReadU16BE(in + 8));
  h.flags = ReadU16BE(in + 10);
  h.label.assign(reinterpret_cast<const char*>(in + 12), strnlen(reinterpret_cast<const char*>(in + 12), 63));
}

bool IFFResFile2::IsDroppedByCompaction(const ChunkHeader& h) const { return h.type == kMapType; }

int IFFResFile2::BeforeChange() {
  mChanged = true;
  // The header must stop naming a map before the chain changes under it.
  return mHeaderMapOffset != 0 ? WriteFileHeader(0) : 0;
}

int IFFResFile2::WriteFileHeader(int32_t mapOffset) {
  if (mHeaderMapOffset != 0) {
    int32_t oldMap = mMapChunk;
    mHeaderMapOffset = 0;  // before freeing, which writes a chunk header
    mMapChunk = 0;
    // Only a map that was read and trusted is freed: a stale offset may
    // point at a real resource.
    if (oldMap != 0)
      if (int status = FreeChunk(oldMap)) return status;
  }
  uint8_t header[kFileHeaderSize];
  MakeIFF2Header(header, mapOffset);
  int status = WriteBytes(0, header, kFileHeaderSize);
  if (status != 0) return status;
  mHeaderMapOffset = mMapChunk = mapOffset;
  mChanged = true;
  return 0;
}

int IFFResFile2::Create(const std::string& path) {
  if (mOpen) return mError = kFlatAlreadyOpen;
  uint8_t header[kFileHeaderSize];
  MakeIFF2Header(header, 0);
  return mError = CreateWithHeader(path, header);
}

int IFFResFile2::Open(const std::string& path) {
  uint8_t header[kFileHeaderSize];
  if (int status = OpenFile(path, header)) return mError = status;
  bool matches = true;
  for (int i = 0; i < 60; ++i)
    if (i != 9 && i != 11 && header[i] != static_cast<uint8_t>(kTemplate[i])) matches = false;
  int version = (header[9] - '0') * 256 + (header[11] - '0');
  if (!matches || (version != 0x200 && version != 0x205)) {
    mFile.Close();
    return mError = kResBadHeader;
  }
  mVersion = version;
  mOpen = true;
  mHeaderMapOffset = static_cast<int32_t>(ReadU32BE(header + 60));
  mMapChunk = 0;
  mOpenedByMap = false;
  if (version == 0x205 && mHeaderMapOffset != 0 && ReadMap(mHeaderMapOffset)) {
    mMapChunk = mHeaderMapOffset;
    mOpenedByMap = true;
  } else {
    Scan();
  }
  mMap.RemoveGroup(kMapType);
  mChanged = false;
  return mError = 0;
}

bool IFFResFile2::ReadMap(int32_t offset) {
  ChunkHeader h;
  if (ReadChunkHeader(offset, h) != 0 || !ChunkFits(offset, h) || (h.flags & kResFlagFree) ||
      h.type != kMapType)
    return false;
  MemHandle data = NewMemHandle(static_cast<int32_t>(h.size) - kChunkHeaderSize);
  if (!data || mFile.ReadAt(offset + kChunkHeaderSize, GetMemHandleData(data), GetMemHandleSize(data)) != 0) {
    DisposeMemHandle(data);
    return false;
  }
  if (!(h.flags & kResFlagNative)) SwapReconHeader(GetMemHandleData(data), GetMemHandleSize(data));
  SimpleReconObject<IFFResMap> record(&mMap, kMapType);
  bool ok = ReconObject::ReadFromHandle(record, data) == 0;
  DisposeMemHandle(data);
  if (ok && mMap.FindById(kMapType, 0, 0, false)) ok = false;  // a map listing a map
  // Every entry must at least have room for its chunk header in the file.
  for (const auto& g : mMap.mGroups)
    for (const auto& e : g->entries)
      if (e->offset < kFileHeaderSize || e->offset > mLength - kChunkHeaderSize) ok = false;
  if (!ok) mMap.Clear();
  return ok;
}

void IFFResFile2::Scan() {
  mMap.Clear();
  Walk([this](int32_t pos, const ChunkHeader& h) {
    if (h.flags & kResFlagFree) {
      mMap.mFreeBytes += h.size;
      return;
    }
    ResEntry* e = mMap.NewEntry(h.type, h.id);
    e->offset = pos;
    e->flags = e->storedFlags = h.flags;
    e->label = h.label;
  });
}

int IFFResFile2::WriteMap() {
  mMap.RemoveGroup(kMapType);
  SimpleReconObject<IFFResMap> record(&mMap, kMapType);
  MemHandle h = ReconObject::WriteToHandle(record, 0);
  if (!h) return kResOutOfMemory;
  if (int status = AddResource(h, kMapType, 0, std::string(), true)) {
    DisposeMemHandle(h);
    return status;
  }
  if (int status = WriteResource(h)) return status;
  ResEntry* e = mMap.FindByHandle(h);
  return e && e->offset != -1 ? WriteFileHeader(e->offset) : kResBadData;
}

int IFFResFile2::Close() {
  if (!Ready()) return mError;
  int status = 0;
  if (IsWritable() && mChanged) {
    status = Flush();
    if (status == 0 && mHeaderMapOffset == 0 && mMap.mFreeBytes > kCompactAbove) status = Compact();
    if (status == 0) status = WriteMap();
    if (status == 0 && mFile.Flush() != 0) status = kFlatOpenFailed;
  }
  int closed = CloseFile();
  return mError = status != 0 ? status : closed;
}

