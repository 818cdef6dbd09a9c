// The sprites of one resource file, decoded on first use and kept by id.
// 'SPR#' sprites (run-length channels) are read before 'SPR2' sprites
// (command streams) of the same id; the file's 'PALT' palettes load with the
// first lookup. Frame offsets and sizes are checked once, when an entry is
// built: a frame that would be read outside its resource is dropped (it
// stays empty and is listed with its reason), so the decoders only ever see
// whole frames.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "houseview/PaletteTable.h"
#include "resfile/ResUtil.h"
#include "simulation/ObjectDrawing.h"

class iResFile;

namespace tova {

class FloorShadowMgr;
class PalWrap;
struct SpriteDrawInfo;

// Where each frame of a sprite resource lies, after checking: frames that
// lie outside the resource, overlap the one before or are too short for
// their header come back with size 0 and a reason.
struct SpriteFrameSpan {
  int32_t offset = 0;
  int32_t size = 0;
  std::string dropped;
};
// `count` frames whose offsets follow `table` (the first offset's place);
// frames start after the table and hold at least `minimum` bytes. A count
// larger than the table the resource holds is cut to it (`statedCount` then
// says how many were promised).
std::vector<SpriteFrameSpan> CheckSpriteFrames(const uint8_t* data, int32_t size, int32_t table, uint32_t count,
                                               int32_t minimum);

// Turns an 'SPR#' resource stored in the other byte order around: header,
// offsets and the rectangles of the frames that pass the check.
void SwapSpriteResource(void* data, int32_t size);

class SpriteCacheEntry {
 public:
  enum Channel { kColour = 0, kDepth = 1, kAlphaColour = 2, kAlphaDepth = 3, kAlpha = 4 };

  int32_t GetId() const { return mId; }
  int32_t GetVersion() const { return mVersion; }
  int32_t GetFramesPerChannel() const { return mFramesPerChannel; }
  int32_t GetResourceSize() const { return mSize; }
  bool IsSprite2() const { return mVersion >= 1000; }
  // The sprite's palette (no reference given), or null.
  PalWrap* GetPalette() const { return mPalette; }
  int32_t GetPaletteId() const { return mPaletteId; }
  // A frame's bytes (its header first), or null when the frame is missing
  // or was dropped. 'SPR2' frames have only channel 0.
  const uint8_t* GetFrame(int channel, int32_t frame, int32_t* size = nullptr) const;
  // Writable access for the one in-place edit the floor set-up makes.
  uint8_t* GetFrameForEdit(int channel, int32_t frame, int32_t* size = nullptr);
  // Frames refused while building: {index over all channels, reason}.
  const std::vector<std::pair<int32_t, std::string>>& GetDropped() const { return mDropped; }

  int32_t AddRef() { return ++mRefCount; }
  static void Release(SpriteCacheEntry* entry);

 private:
  friend class SpriteCache;
  SpriteCacheEntry() = default;
  ~SpriteCacheEntry();

  int32_t mId = 0;
  int32_t mFramesPerChannel = 0;
  PalWrap* mPalette = nullptr;
  std::vector<std::vector<uint8_t>> mChannels[5];  // 'SPR#': one copy per frame
  std::vector<uint8_t> mWhole;                      // 'SPR2': the resource
  std::vector<SpriteFrameSpan> mSpans;              // 'SPR2': its checked frames
  int32_t mVersion = 0;
  int32_t mRefCount = 0;
  int32_t mSize = 0;
  int32_t mPaletteId = 0;
  std::vector<std::pair<int32_t, std::string>> mDropped;
};

class SpriteCache {
 public:
  // Opens the resource file of a path (its ".iff" and ".spf") and owns it.
  explicit SpriteCache(const std::string& path);
  // Borrows an open file.
  explicit SpriteCache(iResFile* file);
  ~SpriteCache();
  SpriteCache(const SpriteCache&) = delete;
  SpriteCache& operator=(const SpriteCache&) = delete;

  // The entry of a sprite id, built on first use; null when the file has
  // no such sprite. Valid while the cache holds it.
  SpriteCacheEntry* Find(int32_t id);
  void Flush();
  // 0 for a missing sprite or a version below 500.
  int32_t GetFrameCount(int32_t id);
  ShortRect GetFrameBounds(int32_t id, int32_t frame);

  // Draws frame `frame` of a sprite at screen (x, y) into the sprite target
  // (SpriteTarget.h), z-tested. flags: bit 0 mirrors, bit 2 draws unshaded.
  // The frame's rectangle at that place, clipped or not; the empty rectangle
  // when the sprite or the frame is missing.
  DrawnRect DrawSprite(int32_t id, int32_t frame, int32_t x, int32_t y, uint32_t flags, SpriteDrawInfo& info,
                       bool wantDepth);
  // An 'SPR2' frame whose rows follow the terrain (a depth per screen row).
  DrawnRect DrawSpriteOnTerrain(int32_t id, int32_t frame, int32_t x, int32_t y, uint32_t flags,
                                SpriteDrawInfo& info);

  iResFile* GetFile() const { return mFile; }
  PaletteTable& GetPalettes() { return mPalettes; }
  bool IsOpen() const;

  // Builds the three floor-shadow managers from the floor sprites (base
  // diamonds 0, 256, 512; shadows 768/784 + 32 per zoom step); index 3 - z.
  void BuildFloorShadows(std::unique_ptr<FloorShadowMgr> managers[3]);

 private:
  void LoadPalettes();
  SpriteCacheEntry* BuildSprite(int32_t id, const uint8_t* data, int32_t size);
  SpriteCacheEntry* BuildSprite2(int32_t id, const uint8_t* data, int32_t size);
  PalWrap* ChoosePalette(int32_t paletteId, bool useDefault);

  iResFile* mFile = nullptr;
  bool mOwnsFile = false;
  std::map<int32_t, SpriteCacheEntry*> mEntries;
  PaletteTable mPalettes;
  bool mPalettesLoaded = false;
};

// The registry: one cache per resource file, shared by use count.
SpriteCache* GetSpriteCacheForFile(iResFile* file);
void ReleaseSpriteCacheForFile(SpriteCache* cache);
// How many caches the registry holds (for tests).
int32_t CountRegisteredSpriteCaches();

}  // namespace tova
