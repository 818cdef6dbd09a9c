#include "resfile/IFFChunkFile.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <new>
#include <unordered_map>
#include <vector>

IFFChunkFile::~IFFChunkFile() = default;

int IFFChunkFile::Delete(const std::string& path) {
  if (mOpen) return mError = kFlatAlreadyOpen;
  return mError = FlatFile().Delete(path);
}

void IFFChunkFile::GetPath(std::string& out) {
  out.clear();
  if (!Ready()) return;
  mFile.GetPath(out);
  mError = 0;
}

int IFFChunkFile::Flush() {
  if (MappedResFile::Flush() != 0) return mError;
  if (IsWritable() && mFile.Flush() != 0) mError = kFlatOpenFailed;
  return mError;
}

int IFFChunkFile::BeforeChange() {
  mChanged = true;
  return 0;
}

void IFFChunkFile::ForEachEntry(const std::function<void(ResEntry&)>& visit) {
  for (auto& g : mMap.mGroups)
    for (auto& e : g->entries) visit(*e);
}

int IFFChunkFile::OpenFile(const std::string& path, uint8_t* header) {
  if (mOpen) return kFlatAlreadyOpen;
  if (int status = mOpenReadOnly ? mFile.OpenReadOnly(path) : mFile.Open(path)) return status;
  int status = mFile.GetLength(mLength);
  if (status == 0) status = mFile.ReadAt(0, header, kFileHeaderSize);
  if (status != 0) {
    mFile.Close();
    return status;
  }
  mMap.Clear();
  mReplaced.clear();
  mCursor = -1;  // a search must never start beyond this file's end
  mChanged = false;
  mWritable = mFile.IsWritable();
  return 0;
}

int IFFChunkFile::CreateWithHeader(const std::string& path, const uint8_t* header) {
  FlatFile file;
  return file.Create(path, header, kFileHeaderSize);
}

int IFFChunkFile::CloseFile() {
  mMap.Clear();
  mReplaced.clear();
  mOpen = false;
  mWritable = false;
  return mFile.Close();
}

int IFFChunkFile::ReadChunkHeader(int32_t offset, ChunkHeader& out) {
  if (offset < kFileHeaderSize || offset > mLength - mHeaderSize) return kFlatShortRead;
  uint8_t bytes[76];
  if (int status = mFile.ReadAt(offset, bytes, mHeaderSize)) return status;
  DecodeHeader(bytes, out);
  return 0;
}

bool IFFChunkFile::ChunkFits(int32_t offset, const ChunkHeader& h) const {
  return h.size >= static_cast<uint32_t>(mHeaderSize) && h.size <= kMaxChunkSize &&
         static_cast<int64_t>(offset) + h.size <= mLength;
}

int IFFChunkFile::WriteBytes(int32_t offset, const void* data, int32_t n) {
  if (offset < 0 || n < 0 || static_cast<int64_t>(offset) + n > INT32_MAX) return kFlatShortWrite;
  int status = mFile.WriteAt(offset, data, n);
  if (status == 0 && offset + n > mLength) mLength = offset + n;
  return status;
}

bool IFFChunkFile::OwnsChunk(ResType type, const ResEntry& entry, ChunkHeader& h) {
  return ReadChunkHeader(entry.offset, h) == 0 && ChunkFits(entry.offset, h) && !(h.flags & kResFlagFree) &&
         h.type == type;
}

int IFFChunkFile::WriteChunkHeader(int32_t offset, const ChunkHeader& h) {
  if (int status = BeforeChange()) return status;
  uint8_t bytes[76] = {};
  EncodeHeader(h, bytes);
  return WriteBytes(offset, bytes, mHeaderSize);
}

int32_t IFFChunkFile::Walk(const std::function<void(int32_t, const ChunkHeader&)>& visit) {
  int32_t pos = kFileHeaderSize;
  ChunkHeader h;
  while (ReadChunkHeader(pos, h) == 0 && ChunkFits(pos, h)) {
    visit(pos, h);
    pos += static_cast<int32_t>(h.size);
  }
  return pos;
}

int IFFChunkFile::Allocate(int32_t n, int32_t& out) {
  if (int status = BeforeChange()) return status;
  const auto need = static_cast<uint32_t>(n + mHeaderSize);
  int32_t pos = mCursor < 1 || mCursor > mLength ? kFileHeaderSize : mCursor;
  for (;;) {
    ChunkHeader h;
    bool readable = ReadChunkHeader(pos, h) == 0;
    if (!readable || !ChunkFits(pos, h)) {
      // The end of the chain: the new chunk goes here. A damaged chunk ends
      // the chain too, but a map may still list resources behind it: the
      // new chunk then goes at the end of the file, over nothing.
      if (readable) pos = mLength;
      // Positions and sizes are 32-bit: the file never grows past 2^31 - 1.
      if (static_cast<int64_t>(pos) + need > INT32_MAX) return kFlatShortWrite;
      ChunkHeader free;
      free.type = kFreeChunkType;
      free.size = need;
      free.flags = kResFlagFree;
      if (int status = WriteChunkHeader(pos, free)) return status;
      mCursor = out = pos;
      return 0;
    }
    mCursor = pos;
    if (h.flags & kResFlagFree) {
      bool merged = false;
      ChunkHeader next;
      while (ReadChunkHeader(pos + static_cast<int32_t>(h.size), next) == 0 &&
             ChunkFits(pos + static_cast<int32_t>(h.size), next) && (next.flags & kResFlagFree) &&
             h.size + next.size <= kMaxChunkSize) {
        h.size += next.size;
        merged = true;
      }
      if (merged)
        if (int status = WriteChunkHeader(pos, h)) return status;
      bool take = h.size == need;
      if (!take && h.size >= need + static_cast<uint32_t>(mHeaderSize)) {
        ChunkHeader rest;
        rest.type = kFreeChunkType;
        rest.size = h.size - need;
        rest.flags = kResFlagFree;
        if (int status = WriteChunkHeader(pos + static_cast<int32_t>(need), rest)) return status;
        h.size = need;
        if (int status = WriteChunkHeader(pos, h)) return status;
        take = true;
      }
      if (take) {
        mMap.mFreeBytes = mMap.mFreeBytes >= need ? mMap.mFreeBytes - need : 0;
        out = pos;
        return 0;
      }
    }
    pos += static_cast<int32_t>(h.size);
  }
}

int IFFChunkFile::FreeChunk(int32_t offset) {
  ChunkHeader h;
  if (int status = ReadChunkHeader(offset, h)) return status;
  h.type = kFreeChunkType;
  h.flags = static_cast<uint16_t>(h.flags | kResFlagFree);
  mMap.mFreeBytes += h.size;
  return WriteChunkHeader(offset, h);
}

int IFFChunkFile::Compact() {
  // A chain that does not walk cleanly to the end of the file holds bytes
  // the walk cannot place; truncating would lose them.
  if (Walk([](int32_t, const ChunkHeader&) {}) != mLength) return 0;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kCopyBufferSize]);
  if (!buffer) return kResOutOfMemory;
  std::unordered_map<int32_t, ResEntry*> byOffset;
  ForEachEntry([&byOffset](ResEntry& e) {
    if (e.offset != -1) byOffset[e.offset] = &e;
  });
  std::vector<std::pair<int32_t, ChunkHeader>> chunks;
  Walk([&chunks](int32_t pos, const ChunkHeader& h) { chunks.emplace_back(pos, h); });
  int32_t dropped = 0;
  for (const auto& [pos, h] : chunks) {
    if ((h.flags & kResFlagFree) || IsDroppedByCompaction(h)) {
      dropped += static_cast<int32_t>(h.size);
      continue;
    }
    if (dropped == 0) continue;
    for (int32_t done = 0; done < static_cast<int32_t>(h.size); done += kCopyBufferSize) {
      int32_t piece = std::min<int32_t>(kCopyBufferSize, static_cast<int32_t>(h.size) - done);
      int status = mFile.ReadAt(pos + done, buffer.get(), piece);
      if (status == 0) status = mFile.WriteAt(pos - dropped + done, buffer.get(), piece);
      if (status != 0) {
        // Keep the chain walkable up to the chunk that failed and keep the
        // file whole; the error is reported.
        ChunkHeader gap;
        gap.type = kFreeChunkType;
        gap.size = static_cast<uint32_t>(dropped);
        gap.flags = kResFlagFree;
        if (done == 0 && dropped >= mHeaderSize) WriteChunkHeader(pos - dropped, gap);
        return status;
      }
    }
    auto it = byOffset.find(pos);
    if (it != byOffset.end()) it->second->offset = pos - dropped;
  }
  if (dropped > 0) {
    if (int status = mFile.SetLength(mLength - dropped)) return status;
    mLength -= dropped;
  }
  mCursor = -1;
  mMap.mFreeBytes = 0;
  return 0;
}

int IFFChunkFile::ReadData(const ResGroup& group, const ResEntry& entry, MemHandle& out) {
  ChunkHeader h;
  int status = ReadChunkHeader(entry.offset, h);
  if (status != 0) return kResBadData;
  if (!ChunkFits(entry.offset, h) || h.type != group.type) return kResBadData;
  out = NewMemHandle(static_cast<int32_t>(h.size) - mHeaderSize);
  if (!out) return kResOutOfMemory;
  return mFile.ReadAt(entry.offset + mHeaderSize, GetMemHandleData(out), GetMemHandleSize(out));
}

int IFFChunkFile::WriteData(const ResGroup& group, ResEntry& entry, MemHandle h) {
  int32_t n = GetMemHandleSize(h);
  if (n < 0 || static_cast<uint32_t>(n) > kMaxChunkSize - static_cast<uint32_t>(mHeaderSize))
    return kResBadData;
  int32_t offset = entry.offset;
  int32_t oldChunk = -1;  // freed once the new chunk is written
  if (offset != -1) {
    ChunkHeader old;
    if (!OwnsChunk(group.type, entry, old)) {
      offset = -1;  // no chunk of this resource there: write the resource elsewhere
    } else if (old.size != static_cast<uint32_t>(n + mHeaderSize) || IsReplaced(entry)) {
      // New data never goes over the old: a failed write must leave it whole.
      oldChunk = offset;
      offset = -1;
    }
  }
  const int32_t lengthBefore = mLength;
  if (offset == -1)
    if (int status = Allocate(n, offset)) return status;
  ChunkHeader header;
  header.type = group.type;
  header.size = static_cast<uint32_t>(n + mHeaderSize);
  header.id = entry.id;
  header.flags = entry.flags;
  header.label = entry.label;
  header.labelIndex = entry.labelIndex;
  int status = WriteChunkHeader(offset, header);
  if (status == 0) status = WriteBytes(offset + mHeaderSize, GetMemHandleData(h), n);
  if (status != 0) {
    // The new chunk is given back (cut off when it was added at the end);
    // the entry keeps the old one.
    if (offset >= lengthBefore && mFile.SetLength(offset) == 0)
      mLength = offset;
    else if (offset != entry.offset)
      FreeChunk(offset);
    return status;
  }
  entry.offset = offset;
  return oldChunk != -1 ? FreeChunk(oldChunk) : 0;
}

int IFFChunkFile::FreeData(const ResGroup& group, ResEntry& entry) {
  ChunkHeader h;
  // Nothing of this resource is stored there: the bytes belong to others.
  if (!OwnsChunk(group.type, entry, h)) return 0;
  return FreeChunk(entry.offset);
}

int IFFChunkFile::RewriteHeader(const ResGroup& group, const ResEntry& entry) {
  ChunkHeader h;
  if (!OwnsChunk(group.type, entry, h)) return kResBadData;
  h.id = entry.id;
  h.label = entry.label;
  h.labelIndex = entry.labelIndex;
  return WriteChunkHeader(entry.offset, h);
}
