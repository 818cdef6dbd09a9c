#include "gamedata/TilePosition.h"

namespace tova {

namespace {

// [quarter turn - 1][y][x] -> (y, x) of quarter turns 1 to 3; quarter turn 0
// is the identity and needs no table.
struct RotationTable {
  int8_t yx[3][kLotGridSize][kLotGridSize][2];

  RotationTable() {
    constexpr int32_t m = kLotGridSize - 1;
    for (int32_t y = 0; y < kLotGridSize; ++y) {
      for (int32_t x = 0; x < kLotGridSize; ++x) {
        Set(0, y, x, m - x, y);
        Set(1, y, x, m - y, m - x);
        Set(2, y, x, x, m - y);
      }
    }
  }
  void Set(int32_t q, int32_t y, int32_t x, int32_t ny, int32_t nx) {
    yx[q][y][x][0] = static_cast<int8_t>(ny);
    yx[q][y][x][1] = static_cast<int8_t>(nx);
  }
};

const RotationTable& Rotations() {
  static const RotationTable table;
  return table;
}

bool OnLotGrid(int32_t v) { return v >= 0 && v < kLotGridSize; }

}  // namespace

FinePoint FinePoint::Step(int32_t direction) const {
  const GridStep s = kGridSteps[direction & 7];
  return {x + s.dx * 16, y + s.dy * 16};
}

namespace {

bool TileOnBorder(int32_t x, int32_t y, int32_t size) { return x <= 0 || y <= 0 || x >= size - 1 || y >= size - 1; }

bool TileOutsideBounds(int32_t x, int32_t y, const LotBounds& b) {
  return x < b.minX + 1 || x > b.maxX - 1 || y < b.minY + 1 || y > b.maxY - 1;
}

}  // namespace

bool TileLocation::IsOnBorder(int32_t size) const { return TileOnBorder(x, y, size); }

bool TileLocation::IsOutsideBounds(const LotBounds& b) const { return TileOutsideBounds(x, y, b); }

TileLocation TileLocation::Rotate(int32_t quarterTurns) const {
  const int32_t q = quarterTurns & 3;
  if (q == 0) return *this;
  if (OnLotGrid(x) && OnLotGrid(y)) {
    const int8_t* r = Rotations().yx[q - 1][y][x];
    return {r[0], r[1], level};
  }
  // Outside the table (off-lot tiles): the same formulas, worked out.
  constexpr int32_t m = kLotGridSize - 1;
  int32_t ny = y, nx = x;
  if (q == 1) {
    ny = m - x;
    nx = y;
  } else if (q == 2) {
    ny = m - y;
    nx = m - x;
  } else {
    ny = x;
    nx = m - y;
  }
  return {static_cast<int8_t>(ny), static_cast<int8_t>(nx), level};
}

// Points far off the lot have tiles beyond a byte: test them as they are.
bool IsOnBorder(FinePoint point, int32_t size) { return TileOnBorder(point.TileX(), point.TileY(), size); }

bool IsOutsideBounds(FinePoint point, const LotBounds& bounds) {
  return TileOutsideBounds(point.TileX(), point.TileY(), bounds);
}

bool IsBehind(const TileLocation& a, const TileLocation& b) {
  const int32_t sumA = a.y + a.x, sumB = b.y + b.x;
  if (sumA != sumB) return sumA < sumB;
  return a.y - a.x < b.y - b.x;
}

}  // namespace tova
