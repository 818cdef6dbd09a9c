#pragma once
// Places on the lot: FinePoint, a point in sixteenths of a tile, and
// TileLocation, a tile with its storey. Objects store a FinePoint and a
// level; every per-tile layer of the world is indexed by a TileLocation.
// Rooms, the world, the live objects and the house share these one copy.

#include <cstdint>

namespace tova {

// Every per-tile grid holds 64 by 64 tiles; a lot uses the leading part.
constexpr int32_t kLotGridSize = 64;

// A point in sixteenths of a tile; (-16, -16) is "not on the lot".
struct FinePoint {
  int32_t x = 0;
  int32_t y = 0;

  static constexpr int32_t kOffLot = -16;

  // The corner of a tile: tile << 4 on both axes.
  static FinePoint FromTile(int32_t tileX, int32_t tileY) { return {tileX * 16, tileY * 16}; }
  static FinePoint OffLot() { return {kOffLot, kOffLot}; }

  int32_t TileX() const { return x >> 4; }
  int32_t TileY() const { return y >> 4; }
  bool IsOffLot() const { return x == kOffLot && y == kOffLot; }

  // One whole tile further in grid direction 0..7 (any value taken modulo 8).
  FinePoint Step(int32_t direction) const;

  friend bool operator==(const FinePoint&, const FinePoint&) = default;
};

// The usable bounds of a lot: minimum and maximum tile on each axis.
struct LotBounds {
  int32_t minX = 0, maxX = 0, minY = 0, maxY = 0;
};

// A tile on a storey (level 1 the ground storey, 2 the upper one), stored as
// three signed bytes y, x, level. Tiles run 0 to 63; a lot of size n uses 1
// to n-2.
struct TileLocation {
  int8_t y = 0;
  int8_t x = 0;
  int8_t level = 1;

  static TileLocation At(int32_t tileX, int32_t tileY, int32_t level) {
    return {static_cast<int8_t>(tileY), static_cast<int8_t>(tileX), static_cast<int8_t>(level)};
  }
  static TileLocation FromFine(FinePoint point, int32_t level) { return At(point.TileX(), point.TileY(), level); }

  // The middle of the tile: tile * 16 + 8 on both axes.
  FinePoint GetCenterPoint() const { return {x * 16 + 8, y * 16 + 8}; }
  FinePoint Corner() const { return FinePoint::FromTile(x, y); }

  // On the border: a coordinate at 0 or less, or at size-1 or more.
  bool IsOnBorder(int32_t size) const;
  // Outside the bounds narrowed by one tile on each side.
  bool IsOutsideBounds(const LotBounds& bounds) const;

  // Turned by quarter turns (0..3, taken modulo 4) inside the 64-tile grid,
  // as (y, x): 1 -> (63-x, y), 2 -> (63-y, 63-x), 3 -> (x, 63-y). The level
  // stays.
  TileLocation Rotate(int32_t quarterTurns) const;

  // Sums y and x; the level of this tile stays.
  TileLocation operator+(const TileLocation& other) const {
    return {static_cast<int8_t>(y + other.y), static_cast<int8_t>(x + other.x), level};
  }
  friend bool operator==(const TileLocation&, const TileLocation&) = default;
};

// Border tests of a point, through its tile.
bool IsOnBorder(FinePoint point, int32_t size);
bool IsOutsideBounds(FinePoint point, const LotBounds& bounds);

// Draw order: a comes before b when its y + x is smaller, on equal sums
// when its y - x is smaller.
bool IsBehind(const TileLocation& a, const TileLocation& b);

// The grid step of direction d (0..7): 0 x-1; 1 y+1 x-1; 2 y+1; 3 y+1 x+1;
// 4 x+1; 5 y-1 x+1; 6 y-1; 7 y-1 x-1.
struct GridStep {
  int8_t dy;
  int8_t dx;
};
inline constexpr GridStep kGridSteps[8] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};

}  // namespace tova
