#pragma once
// What a door, archway or stair writes into the walls of the tiles it
// stands in. The world implements it over its wall layer; the portal finds
// it as a second face of the lot's world.

#include <array>
#include <cstdint>

#include "gamedata/TilePosition.h"

namespace tova {

class iPortalWalls {
 public:
  virtual ~iPortalWalls() = default;
  // The six side entries of the tile's wall cell in world orientation: the
  // sides toward x-1, y-1, x+1, y+1, then the diagonals 16 and 32. A tile
  // off the grid reads all 0.
  virtual std::array<int32_t, 6> GetWallSideEntries(TileLocation tile) const = 0;
  // Writes them back (a tile off the grid is left alone).
  virtual void SetWallSideEntries(TileLocation tile, const std::array<int32_t, 6>& entries) = 0;
  // The walls of the level are rebuilt before they are drawn again.
  virtual void RebuildWalls(int32_t level) = 0;
};

}  // namespace tova
