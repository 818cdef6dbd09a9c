// The resource container of object files, sprite files, saved houses, the
// neighbourhood, families and options: IFF 2.x. Chunks carry 76-byte headers
// with the label; version 2.5 files also carry the resource map ('rsmp' id 0,
// its offset in the file header) so that opening needs no scan. Version 2.0
// files, and 2.5 files whose map is missing or stale, are scanned.
//
// The first change after opening frees the old map chunk and writes map
// offset 0 into the header, so a file abandoned without Close still opens
// (by scanning). Close writes a fresh map, after compacting when more than
// 10,239 bytes are free.
#pragma once

#include <string>

#include "resfile/IFFChunkFile.h"

class IFFResFile2 : public IFFChunkFile {
 public:
  static constexpr int32_t kChunkHeaderSize = 76;

  IFFResFile2();
  ~IFFResFile2() override;

  int Create(const std::string& path) override;
  int Open(const std::string& path) override;
  int Close() override;

  // Of the open file: 0x200 or 0x205, and whether the map was used.
  int GetVersion() const { return mVersion; }
  bool OpenedByMap() const { return mOpenedByMap; }

 protected:
  void EncodeHeader(const ChunkHeader& h, uint8_t* out) const override;
  void DecodeHeader(const uint8_t* in, ChunkHeader& h) const override;
  int BeforeChange() override;
  bool IsDroppedByCompaction(const ChunkHeader& h) const override;

 private:
  int WriteFileHeader(int32_t mapOffset);
  bool ReadMap(int32_t offset);
  void Scan();
  int WriteMap();

  int32_t mHeaderMapOffset = 0;  // what the header on disk says
  int32_t mMapChunk = 0;         // the map chunk that was read and trusted
  int mVersion = 0;
  bool mOpenedByMap = false;
};

// The 64-byte header of a new 2.5 file with the given map offset.
void MakeIFF2Header(uint8_t* out, int32_t mapOffset);
