// What both IFF containers share: a 64-byte file header, then a chain of
// chunks, each a big-endian header followed by the resource's bytes. Free
// space stays in the chain as free chunks ('XXXX', flag 0x04) that the
// next-fit allocator reuses, splits and merges; compaction at close squeezes
// them out. The two versions differ in their chunk header (76 bytes with the
// label in 2.x, 16 bytes with a name-list index in 1.0) and in what they keep
// besides the chunks.
//
// Nothing in the chain is trusted: a chunk whose size is below its header
// size, above 2^30 or past the end of the file ends every walk over the
// chain, and such a chain is never compacted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "resfile/FlatFile.h"
#include "resfile/MappedResFile.h"

struct ChunkHeader {
  ResType type = 0;
  uint32_t size = 0;  // of the whole chunk, header included
  ResId id = 0;
  uint16_t flags = 0;
  std::string label;        // 2.x
  int32_t labelIndex = -1;  // 1.0
};

constexpr ResType kFreeChunkType = TypeCode("XXXX");

class IFFChunkFile : public MappedResFile {
 public:
  static constexpr int32_t kFileHeaderSize = 64;
  static constexpr uint32_t kMaxChunkSize = 0x40000000;
  static constexpr int32_t kCopyBufferSize = 51200;
  static constexpr uint32_t kCompactAbove = 10239;

  ~IFFChunkFile() override;

  int Delete(const std::string& path) override;
  void GetPath(std::string& out) override;
  // Writes what is pending, then makes the file durable.
  int Flush() override;

  uint32_t GetFreeBytes() const { return mMap.mFreeBytes; }
  // Later opens are read-only even when the file could be written.
  void SetOpenReadOnly(bool readOnly) { mOpenReadOnly = readOnly; }
  // Where a walk of the chunk chain stops, and the file's length: the two
  // are equal when every byte of an open file lies in a sound chunk. Tools
  // tell damage from them; a writer should not add to a chain cut short.
  int32_t ChainEnd() { return Walk([](int32_t, const ChunkHeader&) {}); }
  int32_t GetLength() const { return mLength; }

 protected:
  explicit IFFChunkFile(int32_t chunkHeaderSize) : mHeaderSize(chunkHeaderSize) {}

  virtual void EncodeHeader(const ChunkHeader& h, uint8_t* out) const = 0;
  virtual void DecodeHeader(const uint8_t* in, ChunkHeader& h) const = 0;
  // Runs before anything in the file changes (marks the file changed).
  int BeforeChange() override;
  // Chunks that compaction drops besides the free ones.
  virtual bool IsDroppedByCompaction(const ChunkHeader&) const { return false; }
  // Every entry whose chunk offset compaction must follow.
  virtual void ForEachEntry(const std::function<void(ResEntry&)>& visit);

  // Opens the file, reads its 64-byte header (closing again when that
  // fails) and resets what belonged to any earlier file.
  int OpenFile(const std::string& path, uint8_t* header);
  // A new file holding only the given 64-byte header; never over an old one.
  static int CreateWithHeader(const std::string& path, const uint8_t* header);
  // Forgets every entry and handle and closes the file.
  int CloseFile();

  int ReadChunkHeader(int32_t offset, ChunkHeader& out);
  bool ChunkFits(int32_t offset, const ChunkHeader& h) const;
  // Whether the entry's offset starts a sound, live chunk of the type: a
  // damaged map may name any position, and nothing is freed or overwritten
  // there unless it does.
  bool OwnsChunk(ResType type, const ResEntry& entry, ChunkHeader& h);
  int WriteChunkHeader(int32_t offset, const ChunkHeader& h);
  int WriteBytes(int32_t offset, const void* data, int32_t n);
  // Visits each sound chunk from offset 64; returns where the walk stopped.
  int32_t Walk(const std::function<void(int32_t, const ChunkHeader&)>& visit);
  int Allocate(int32_t n, int32_t& out);
  int FreeChunk(int32_t offset);
  int Compact();

  int ReadData(const ResGroup& group, const ResEntry& entry, MemHandle& out) override;
  int WriteData(const ResGroup& group, ResEntry& entry, MemHandle h) override;
  int FreeData(const ResGroup& group, ResEntry& entry) override;
  int RewriteHeader(const ResGroup& group, const ResEntry& entry) override;

  FlatFile mFile;
  const int32_t mHeaderSize;
  int32_t mLength = 0;  // the file's length, kept as it is written
  int32_t mCursor = -1;  // where the last allocation search stopped
  bool mChanged = false;
  bool mOpenReadOnly = false;
};
