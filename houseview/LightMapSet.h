// The light map: every light image the wall and floor draws add to their
// pixels, made from the lamp range and falloff distances of the lighting
// settings and kept in the cache file "GameData/lightmap.dat".
//
// The cache has no header: its layout follows wholly from R, N and F, in
// this order: the wall falloff tables d = 0..D-1; the side-0 strips of zoom
// 1 (d = 0..D-1), zoom 2, zoom 3; the side-1 strips the same; the floor
// images of zoom 1, 2, 3. Build therefore checks the file's size against the
// total the settings give; a short, long or stale file is deleted and the
// tables computed and written again. A good file is kept open and each
// table read on its first use; a read that fails then computes the table.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "houseview/LightMapImages.h"
#include "houseview/LightingSettings.h"

class CTGFile;

namespace tova {

// One wall offset's image of a strip.
struct WallStripImage {
  const uint8_t* bytes = nullptr;  // null when there is none
  int32_t width = 0;               // Wz
  int32_t rows = 0;                // Rz
  int32_t scale = 0;               // 1 << zoom
};

// The bounding box of one tile's diamond inside a floor light image.
struct FloorTileImage {
  const uint8_t* bytes = nullptr;  // null when the zoom has no image or the tile lies outside it
  int32_t stride = 0;              // the image's width
};

class LightMapSet {
 public:
  explicit LightMapSet(const LightingSettings& settings = gLightingSettings);
  ~LightMapSet();
  LightMapSet(const LightMapSet&) = delete;
  LightMapSet& operator=(const LightMapSet&) = delete;

  // The cache file; empty (the default) means "GameData/lightmap.dat" in
  // the running game's data root.
  void SetCachePath(std::string path) { mCachePath = std::move(path); }
  std::string CachePath() const;

  // Makes every table, reading or writing the cache. True on failure (a
  // table could not be allocated, or the settings give no usable light
  // map), as callers have always tested it; new code calls MakeTables.
  bool Build();
  // True when every table is in memory or waits in the cache file.
  bool MakeTables() { return !Build(); }
  // Frees every table and closes the cache file.
  void Clear();

  // Loads the strip from the cache first when needed. zoom 1..3, side 0/1.
  WallStripImage GetWallStrip(int32_t offset, int32_t distance, int32_t zoom, int32_t side);
  bool HasWallStrip(int32_t offset, int32_t distance, int32_t zoom, int32_t side) const;
  // The diamond of the tile at offset (a, b) from the lamp's tile.
  FloorTileImage GetFloorTile(int32_t a, int32_t b, int32_t zoom);
  // The reach of the zoom's floor image in tiles (0 without one).
  int32_t GetFloorRadius(int32_t zoom) const;

  // Whole tables, loaded on demand (null when absent): for tools and tests.
  const WallFalloffTable* GetFalloffTable(int32_t distance);
  const WallLightStrip* GetStrip(int32_t distance, int32_t zoom, int32_t side);
  const FloorLightImage* GetFloorImage(int32_t zoom);

  // What the last Build found and did.
  int32_t DistanceCount() const { return static_cast<int32_t>(mFalloff.size()); }
  int64_t TotalBytes() const { return mTotalBytes; }
  bool ReadFromCache() const { return mFromCache; }
  // Computed tables that could not be written leave only this message.
  const std::string& CacheError() const { return mCacheError; }
  // Tables read from the cache so far.
  int32_t TablesRead() const { return mTablesRead; }

 private:
  bool Allocate();
  void AssignOffsets();
  void ComputeAll();
  void WriteCache();
  bool ReadInto(uint8_t* bytes, int64_t offset, int64_t size);
  bool EnsureFalloff(WallFalloffTable& table);
  bool EnsureStrip(WallLightStrip& strip);
  bool EnsureFloor(FloorLightImage& image);
  WallLightStrip* Strip(int32_t distance, int32_t zoom, int32_t side);

  const LightingSettings& mSettings;
  std::string mCachePath;
  std::vector<WallFalloffTable> mFalloff;
  std::vector<WallLightStrip> mStrips[2][3];  // [side][zoom - 1][d]
  std::vector<FloorLightImage> mFloors;       // [zoom - 1]
  // Owned here, not closed through the file manager: the global set may
  // outlive the manager at exit.
  std::unique_ptr<CTGFile> mFile;
  int64_t mTotalBytes = 0;
  bool mFromCache = false;
  std::string mCacheError;
  int32_t mTablesRead = 0;
  // The settings the tables were made with.
  double mNear = 0, mFar = 0, mRange = 0;
};

// The one light map of the game, built with the shade tables.
LightMapSet& GetLightMapSet();

}  // namespace tova
