// The two halves of a tile split by a diagonal wall, as the floor and pool
// tools see them. Half 0 holds the side toward x-1: above-left of a 0x10
// diagonal (from (x, y+1) to (x+1, y)), below-left of a 0x20 one. Its
// half-tile floor is kept in the wall record's pattern[0], half 1's in
// style[0].
#pragma once

#include <cstdint>

#include "world/WallCell.h"
#include "world/WorldTypes.h"

class cFixedWorld;

namespace floor_halves {
// The half under a point given in world orientation.
int32_t HalfAt(int32_t diagonal, FinePoint worldPoint);
// A point inside the half, in world orientation.
FinePoint PointIn(TileLocation worldTile, int32_t diagonal, int32_t half);
// A view point turned to world orientation.
FinePoint ViewToWorld(const cFixedWorld& world, FinePoint viewPoint);
FinePoint WorldToView(const cFixedWorld& world, FinePoint worldPoint);
int32_t& Pattern(WallInfo& info, int32_t half);
// The room manager's side number of a half, and back.
int32_t SideOf(int32_t diagonal, int32_t half);
int32_t HalfOfSide(int32_t diagonal, int32_t side);
}  // namespace floor_halves
