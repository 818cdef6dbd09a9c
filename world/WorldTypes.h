// Positions on the lot: tiles, fine points, grid rotation and the eight grid
// directions the world, the walls and the rooms step by.
#pragma once

#include <cstdint>

#include "gamedata/TilePosition.h"

// Tiles and fine points are shared with rooms and the live objects.
using tova::FinePoint;
using tova::TileLocation;

// Every grid stores 64 by 64 tiles; a lot uses the leading size by size.
constexpr int32_t kWorldCapacity = 64;
constexpr int32_t kMinWorldSize = 4;
constexpr int32_t kMaxWorldSize = kWorldCapacity;

struct GridPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const GridPoint&, const GridPoint&) = default;
};

// Turns (x, y) by quarter turns inside a gridSize square:
// 1 -> (m-y, x), 2 -> (m-x, m-y), 3 -> (y, m-x) with m = gridSize-1.
inline GridPoint RotateGridCoords(int32_t x, int32_t y, int32_t quarterTurns, int32_t gridSize) {
    const int32_t m = gridSize - 1;
    switch (quarterTurns & 3) {
        case 1: return {m - y, x};
        case 2: return {m - x, m - y};
        case 3: return {y, m - x};
        default: return {x, y};
    }
}

struct DirectionOffset {
    int8_t dx;
    int8_t dy;
    int8_t dlevel;
};

// 0 (0,-1), 1 (0,+1), 2 (-1,0), 3 (+1,0), 4 (-1,-1), 5 (+1,+1), 6 (+1,-1), 7 (-1,+1).
inline constexpr DirectionOffset DirectionOffsets[8] = {
    {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}, {-1, -1, 0}, {1, 1, 0}, {1, -1, 0}, {-1, 1, 0},
};
