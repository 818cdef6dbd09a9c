#include "world/walls/PortalWallWriter.h"

#include "world/cFixedWorld.h"
#include "world/walls/WallManager.h"

std::array<int32_t, 6> cPortalWallWriter::GetWallSideEntries(TileLocation tile) const {
    std::array<int32_t, 6> entries{};
    if (!mWalls.IsInsideGrid(tile.x, tile.y)) return entries;
    const WallInfo info = mWalls.GetWallInfo(tile);
    for (size_t n = 0; n < entries.size(); ++n) entries[n] = info.style[n];
    return entries;
}

void cPortalWallWriter::SetWallSideEntries(TileLocation tile, const std::array<int32_t, 6>& entries) {
    if (!mWalls.IsInsideGrid(tile.x, tile.y)) return;
    WallInfo info = mWalls.GetWallInfo(tile);
    for (size_t n = 0; n < entries.size(); ++n) info.style[n] = entries[n];
    mWalls.SetWallInfo(tile, info);
}

void cPortalWallWriter::RebuildWalls(int32_t level) { mWalls.GetWallManager().RequestRebuild(level); }
