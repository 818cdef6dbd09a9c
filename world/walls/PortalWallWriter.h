// The wall sides a door, archway or stair writes, over the wall layer of a
// cFixedWorld: a side's entry is the style of its wall, and a change asks the
// wall manager to rebuild the storey.
#pragma once

#include "simulation/people/PortalWalls.h"
#include "world/WorldTypes.h"

class cFixedWorld;

class cPortalWallWriter : public tova::iPortalWalls {
public:
    explicit cPortalWallWriter(cFixedWorld& world) : mWalls(world) {}

    std::array<int32_t, 6> GetWallSideEntries(TileLocation tile) const override;
    void SetWallSideEntries(TileLocation tile, const std::array<int32_t, 6>& entries) override;
    void RebuildWalls(int32_t level) override;

private:
    cFixedWorld& mWalls;
};
