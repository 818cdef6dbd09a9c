#include "houseview/LightMapSet.h"

#include <cmath>
#include <cstdlib>
#include <new>

#include "framework/CTGFileManager.h"
#include "gamedata/GlobalContext.h"
#include "platform/AtomicFile.h"

namespace tova {

namespace {

// Beyond 16 tiles a lamp would reach past any lot, and the tables grow
// with the square of the range; at or below the lamp's height the floor has
// no reach at all.
constexpr double kLightMapLongestRange = 48.0;

bool LightMapSettingsUsable(double range, double nearDistance, double farDistance) {
  return std::isfinite(range) && std::isfinite(nearDistance) && std::isfinite(farDistance) &&
         range > LightMapGeometry::kLampHeight && range <= kLightMapLongestRange && nearDistance > 0.0 &&
         farDistance > nearDistance;
}

}  // namespace

LightMapSet::LightMapSet(const LightingSettings& settings) : mSettings(settings) {}

LightMapSet::~LightMapSet() { Clear(); }

std::string LightMapSet::CachePath() const {
  if (!mCachePath.empty()) return mCachePath;
  const std::string root = gGlobalContext != nullptr ? gGlobalContext->dataRoot : std::string();
  return root + GetDataDirName(0) + "lightmap.dat";
}

bool LightMapSet::Build() {
  Clear();
  mRange = mSettings.lightRange;
  mNear = mSettings.falloffNear;
  mFar = mSettings.falloffFar;
  if (!LightMapSettingsUsable(mRange, mNear, mFar)) return true;
  try {
    if (!Allocate()) return true;
  } catch (const std::bad_alloc&) {
    return true;
  }
  AssignOffsets();

  CTGFileManager& files = CTGFileManager::Global();
  const std::string path = CachePath();
  if (CTGFile* file = files.Open(path.c_str(), false)) {
    if (file->GetSize() == mTotalBytes) {
      mFile.reset(file);
      mFromCache = true;
      return false;
    }
    // A file of another size was made with other settings or cut short.
    files.Close(file);
    files.Delete(path.c_str());
  }
  try {
    ComputeAll();
  } catch (const std::bad_alloc&) {
    return true;
  }
  WriteCache();
  return false;
}

bool LightMapSet::Allocate() {
  const int32_t count = LightMapGeometry::DistanceCount(mRange);
  if (count <= 0) return false;
  mFalloff.resize(static_cast<size_t>(count));
  for (int32_t d = 0; d < count; ++d) {
    WallFalloffTable& table = mFalloff[static_cast<size_t>(d)];
    table.distance = d;
    table.tiles = LightMapGeometry::WallTiles(mRange, d);
    table.width = 64 * table.tiles;
    for (int32_t side = 0; side < 2; ++side) {
      for (int32_t zoom = 1; zoom <= 3; ++zoom) {
        WallLightStrip strip;
        strip.reach = table.tiles - 1;
        strip.distance = d;
        strip.zoom = zoom;
        strip.scale = 1 << zoom;
        strip.side = side;
        strip.rows = LightMapGeometry::StripRows(zoom);
        strip.width = LightMapGeometry::StripWidth(zoom);
        mStrips[side][zoom - 1].push_back(strip);
      }
    }
  }
  const int32_t floorTiles = LightMapGeometry::FloorTiles(mRange);
  for (int32_t zoom = 1; zoom <= 3; ++zoom) {
    FloorLightImage image;
    image.zoom = zoom;
    image.tileWidth = LightMapGeometry::TileWidth(zoom);
    image.width = (2 * floorTiles + 1) * image.tileWidth;
    image.height = image.width / 2;
    mFloors.push_back(image);
  }
  return true;
}

void LightMapSet::AssignOffsets() {
  int64_t offset = 0;
  for (WallFalloffTable& table : mFalloff) {
    table.fileOffset = offset;
    offset += table.Size();
  }
  for (auto& side : mStrips) {
    for (auto& zoom : side) {
      for (WallLightStrip& strip : zoom) {
        strip.fileOffset = offset;
        offset += strip.Size();
      }
    }
  }
  for (FloorLightImage& image : mFloors) {
    image.fileOffset = offset;
    offset += image.Size();
  }
  mTotalBytes = offset;
}

void LightMapSet::ComputeAll() {
  for (WallFalloffTable& table : mFalloff) table.Compute(mNear, mFar);
  for (auto& side : mStrips)
    for (auto& zoom : side)
      for (WallLightStrip& strip : zoom) strip.Cut(mFalloff[static_cast<size_t>(strip.distance)]);
  for (FloorLightImage& image : mFloors) image.Compute(mRange);
}

void LightMapSet::WriteCache() {
  platform::AtomicFile file(CachePath());
  bool ok = file.Begin();
  auto put = [&](const std::vector<uint8_t>& bytes) { ok = ok && file.Write(bytes.data(), bytes.size()); };
  for (const WallFalloffTable& table : mFalloff) put(table.bytes);
  for (const auto& side : mStrips)
    for (const auto& zoom : side)
      for (const WallLightStrip& strip : zoom) put(strip.images);
  for (const FloorLightImage& image : mFloors) put(image.bytes);
  ok = ok && file.Commit();
  // The tables stay in memory either way; only the next run pays.
  if (!ok) mCacheError = file.Error().empty() ? "cannot write " + CachePath() : file.Error();
}

void LightMapSet::Clear() {
  mFalloff.clear();
  for (auto& side : mStrips)
    for (auto& zoom : side) zoom.clear();
  mFloors.clear();
  mFile.reset();
  mTotalBytes = 0;
  mFromCache = false;
  mCacheError.clear();
  mTablesRead = 0;
}

bool LightMapSet::ReadInto(uint8_t* bytes, int64_t offset, int64_t size) {
  if (mFile == nullptr || offset < 0 || size < 0 || offset + size > mFile->GetSize()) return false;
  if (!mFile->Seek(static_cast<int32_t>(offset))) return false;
  return mFile->Read(bytes, static_cast<int32_t>(size)) == size;
}

bool LightMapSet::EnsureFalloff(WallFalloffTable& table) {
  if (!table.bytes.empty()) return true;
  try {
    table.bytes.assign(static_cast<size_t>(table.Size()), 0);
    if (ReadInto(table.bytes.data(), table.fileOffset, table.Size())) {
      ++mTablesRead;
    } else {
      table.Compute(mNear, mFar);
    }
  } catch (const std::bad_alloc&) {
    table.bytes.clear();
    return false;
  }
  return true;
}

bool LightMapSet::EnsureStrip(WallLightStrip& strip) {
  if (!strip.images.empty()) return true;
  try {
    strip.images.assign(static_cast<size_t>(strip.Size()), 0);
    bool read = true;
    const int64_t imageSize = strip.ImageSize();
    for (int32_t i = 0; read && i < 2 * strip.reach + 1; ++i)
      read = ReadInto(&strip.images[static_cast<size_t>(i * imageSize)], strip.fileOffset + i * imageSize, imageSize);
    if (read) {
      ++mTablesRead;
      return true;
    }
    WallFalloffTable& table = mFalloff[static_cast<size_t>(strip.distance)];
    if (!EnsureFalloff(table)) {
      strip.images.clear();
      return false;
    }
    strip.Cut(table);
  } catch (const std::bad_alloc&) {
    strip.images.clear();
    return false;
  }
  return true;
}

bool LightMapSet::EnsureFloor(FloorLightImage& image) {
  if (!image.bytes.empty()) return true;
  try {
    image.bytes.assign(static_cast<size_t>(image.Size()), 0);
    if (ReadInto(image.bytes.data(), image.fileOffset, image.Size())) {
      ++mTablesRead;
    } else {
      image.Compute(mRange);
    }
  } catch (const std::bad_alloc&) {
    image.bytes.clear();
    return false;
  }
  return true;
}

WallLightStrip* LightMapSet::Strip(int32_t distance, int32_t zoom, int32_t side) {
  if (side < 0 || side > 1 || zoom < 1 || zoom > 3) return nullptr;
  std::vector<WallLightStrip>& strips = mStrips[side][zoom - 1];
  if (distance < 0 || distance >= static_cast<int32_t>(strips.size())) return nullptr;
  return &strips[static_cast<size_t>(distance)];
}

bool LightMapSet::HasWallStrip(int32_t offset, int32_t distance, int32_t zoom, int32_t side) const {
  if (side < 0 || side > 1 || zoom < 1 || zoom > 3) return false;
  const std::vector<WallLightStrip>& strips = mStrips[side][zoom - 1];
  if (distance < 0 || distance >= static_cast<int32_t>(strips.size())) return false;
  return std::abs(offset) <= strips[static_cast<size_t>(distance)].reach;
}

WallStripImage LightMapSet::GetWallStrip(int32_t offset, int32_t distance, int32_t zoom, int32_t side) {
  if (!HasWallStrip(offset, distance, zoom, side)) return {};
  WallLightStrip& strip = *Strip(distance, zoom, side);
  if (!EnsureStrip(strip)) return {};
  const size_t index = static_cast<size_t>(offset + strip.reach);
  return WallStripImage{&strip.images[index * static_cast<size_t>(strip.ImageSize())], strip.width, strip.rows,
                        strip.scale};
}

FloorTileImage LightMapSet::GetFloorTile(int32_t a, int32_t b, int32_t zoom) {
  if (zoom < 1 || zoom > static_cast<int32_t>(mFloors.size())) return {};
  FloorLightImage& image = mFloors[static_cast<size_t>(zoom - 1)];
  const int32_t k = image.Radius();
  const int32_t t = image.tileWidth;
  const int64_t row = int64_t{2 * k + a + b} * t / 4;
  const int64_t column = int64_t{2 * k + a - b} * t / 2;
  // A tile whose diamond box leaves the image gets no light from it.
  if (row < 0 || column < 0 || row + t / 2 > image.height || column + t > image.width) return {};
  if (!EnsureFloor(image)) return {};
  return FloorTileImage{&image.bytes[static_cast<size_t>(row * image.width + column)], image.width};
}

int32_t LightMapSet::GetFloorRadius(int32_t zoom) const {
  if (zoom < 1 || zoom > static_cast<int32_t>(mFloors.size())) return 0;
  return mFloors[static_cast<size_t>(zoom - 1)].Radius();
}

const WallFalloffTable* LightMapSet::GetFalloffTable(int32_t distance) {
  if (distance < 0 || distance >= DistanceCount()) return nullptr;
  WallFalloffTable& table = mFalloff[static_cast<size_t>(distance)];
  return EnsureFalloff(table) ? &table : nullptr;
}

const WallLightStrip* LightMapSet::GetStrip(int32_t distance, int32_t zoom, int32_t side) {
  WallLightStrip* strip = Strip(distance, zoom, side);
  return strip != nullptr && EnsureStrip(*strip) ? strip : nullptr;
}

const FloorLightImage* LightMapSet::GetFloorImage(int32_t zoom) {
  if (zoom < 1 || zoom > static_cast<int32_t>(mFloors.size())) return nullptr;
  FloorLightImage& image = mFloors[static_cast<size_t>(zoom - 1)];
  return EnsureFloor(image) ? &image : nullptr;
}

LightMapSet& GetLightMapSet() {
  static LightMapSet set;
  return set;
}

}  // namespace tova
