#pragma once
// Fixed tile geometry: the eight neighbour offsets and the three quarter
// turns of a cell of a 64 by 64 grid.

#include <array>
#include <cstdint>

namespace tova {

struct TileOffset {
  int dx, dy, dlevel;
};

// Order: north, south, west, east, then the diagonals.
constexpr std::array<TileOffset, 8> kNeighbourOffsets = {{
    {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}, {-1, -1, 0}, {1, 1, 0}, {1, -1, 0}, {-1, 1, 0},
}};

constexpr int kRotationGridSize = 64;

struct TileCell {
  uint8_t a, b;
};

// Rotation r (1 to 3 quarter turns) of cell (a, b).
TileCell RotateTile(int rotation, int a, int b);

}  // namespace tova
