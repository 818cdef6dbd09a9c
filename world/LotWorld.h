// The world as the lot's data reads it: rooms, the house and the live
// objects reach the layers of a cFixedWorld through this iLotWorld.
#pragma once

#include "gamedata/LotInterfaces.h"
#include "world/cFixedWorld.h"
#include "world/walls/PortalWallWriter.h"

// Portals write their walls through its cPortalWallWriter face.
class cLotWorld : public tova::iLotWorld, public cPortalWallWriter {
public:
    explicit cLotWorld(cFixedWorld& world) : cPortalWallWriter(world), mWorld(world) {}

    int32_t GetSize() const override { return mWorld.GetSize(); }
    tova::LotBounds GetBounds() const override;
    int32_t GetViewRotation() const override { return mWorld.GetRotation(); }
    int16_t GetRoomId(TileLocation tile) const override;
    bool HasFloor(TileLocation tile) const override;
    uint8_t GetTileFlags(TileLocation tile) const override;
    tova::LotWallSides GetWallSides(TileLocation tile) const override;
    uint8_t GetPoolValue(TileLocation tile) const override;
    uint32_t GetCornerHeights(TileLocation tile) const override;
    // The world keeps no always-lit mark of its own.
    bool IsTileAlwaysLit(TileLocation) const override { return false; }
    int16_t GetObjectIdAt(TileLocation tile) const override;
    // Tells the light table of the source's storey: a lit lamp of strength
    // 1 is added to the tiles of its room around it; a source without light
    // is removed from them.
    void AddTileLight(TileLocation tile, int32_t value, bool withAmount) override;

    // Placement queries of the live objects.
    void SetObjectIdAt(TileLocation tile, int16_t id) override;
    bool HasWater(TileLocation tile) const override { return mWorld.HasWater(tile); }
    bool WallPlacementTest(FinePoint point, int32_t level, int32_t direction, int32_t flags,
                           int32_t& reason) const override;
    // A box that crosses a wall blocks the way.
    int32_t RoutingTest(const tova::LotBox& box, int32_t level) const override;
    void SetTileFlagBits(TileLocation tile, uint8_t bits, bool on) override;

    cFixedWorld& World() { return mWorld; }

private:
    bool OnGrid(TileLocation tile) const { return mWorld.IsInsideGrid(tile.x, tile.y); }

    cFixedWorld& mWorld;
};
