// The byte intensity images of the light map and how each is computed.
// World units: a tile is 3 wide and a lamp stands 5 above its floor. Zoom
// 1, 2, 3 (3 the closest): a tile diamond is 32, 64 or 128 pixels wide.
//   - A wall falloff table per distance index d: a lamp d + 1/2 tiles in
//     front of a wall, the light on the wall plane (64 columns per tile,
//     232 rows, the top row the highest point).
//   - Wall light strips: a falloff table cut with the 2:1 isometric slant,
//     per side, zoom and d, one image per wall offset -K..K.
//   - A floor light image per zoom: the lamp's light on the floor around
//     its tile, as a diamond-squashed picture.
#pragma once

#include <cstdint>
#include <vector>

namespace tova {

// Inverse square between near n (255) and far f (0); 0 for anything that
// is not a number.
uint8_t FalloffByte(double distance, double nearDistance, double farDistance);

// The light map's measures for a lamp range R (R = 12 gives D = 4,
// n(d) = 5, 5, 4, 3, floor reach 3 tiles).
struct LightMapGeometry {
  static constexpr int32_t kWallRows = 232;
  static constexpr double kLampHeight = 5.0;

  static int32_t DistanceCount(double range);                // D
  static int32_t WallTiles(double range, int32_t distance);  // n(d)
  static double FloorReach(double range);                    // e = sqrt(R^2 - 25)
  static int32_t FloorTiles(double range);                   // f
  static int32_t StripRows(int32_t zoom) { return (58 << (zoom - 1)) + (8 << zoom); }
  static int32_t StripWidth(int32_t zoom) { return 16 << (zoom - 1); }
  static int32_t TileWidth(int32_t zoom) { return 128 >> (3 - zoom); }
};

struct WallFalloffTable {
  std::vector<uint8_t> bytes;  // empty until computed or read
  int32_t distance = 0;        // d
  int32_t tiles = 0;           // n(d)
  int32_t width = 0;           // 64 n(d)
  int32_t height = LightMapGeometry::kWallRows;
  int64_t fileOffset = 0;

  int64_t Size() const { return int64_t{width} * height; }
  void Compute(double nearDistance, double farDistance);
};

struct WallLightStrip {
  std::vector<uint8_t> images;  // 2K + 1 images of rows x width, o = -K..K
  int32_t reach = 0;            // K = n(d) - 1
  int32_t distance = 0;         // d, the falloff table it is cut from
  int32_t zoom = 1;
  int32_t scale = 2;            // 1 << zoom
  int32_t side = 0;
  int32_t rows = 0;             // 74, 148, 296
  int32_t width = 0;            // 16, 32, 64
  int64_t fileOffset = 0;

  int64_t ImageSize() const { return int64_t{rows} * width; }
  int64_t Size() const { return (2 * int64_t{reach} + 1) * ImageSize(); }
  // Cuts every image from the distance's falloff table (which must be
  // computed or read).
  void Cut(const WallFalloffTable& table);
};

struct FloorLightImage {
  std::vector<uint8_t> bytes;
  int32_t zoom = 1;
  int32_t width = 0;      // (2f + 1) T
  int32_t height = 0;     // width / 2
  int32_t tileWidth = 0;  // T
  int64_t fileOffset = 0;

  int64_t Size() const { return int64_t{width} * height; }
  // The reach in tiles: K = (width / T - 1) / 2.
  int32_t Radius() const { return tileWidth > 0 ? (width / tileWidth - 1) / 2 : 0; }
  void Compute(double range);
};

}  // namespace tova
