#include "world/LotWorld.h"

tova::LotBounds cLotWorld::GetBounds() const {
    const int32_t last = mWorld.GetSize() - 1;
    return tova::LotBounds{0, last, 0, last};
}

int16_t cLotWorld::GetRoomId(TileLocation tile) const {
    const c2DArray<uint16_t>* rooms = mWorld.Rooms(tile.level);
    return rooms && OnGrid(tile) ? static_cast<int16_t>(rooms->At(tile.x, tile.y)) : 0;
}

bool cLotWorld::HasFloor(TileLocation tile) const {
    cFixedWorld& world = mWorld;
    const c2DArray<uint8_t>* floors = world.Floors(tile.level);
    const WallLayer* walls = world.Walls(tile.level);
    if (!floors || !walls || !OnGrid(tile)) return false;
    if (floors->At(tile.x, tile.y) != 0) return true;
    // A tile split by a diagonal keeps the floors of its two halves in its
    // wall cell.
    const WallCell& cell = walls->At(tile.x, tile.y);
    return (cell.mask & kWallDiagonals) != 0 && (cell.style1 != 0 || cell.paper1 != 0);
}

uint8_t cLotWorld::GetTileFlags(TileLocation tile) const {
    const c2DArray<uint8_t>* flags = mWorld.Flags(tile.level);
    return flags && OnGrid(tile) ? flags->At(tile.x, tile.y) : 0;
}

tova::LotWallSides cLotWorld::GetWallSides(TileLocation tile) const {
    tova::LotWallSides sides;
    if (!OnGrid(tile) || (tile.level != 1 && tile.level != 2)) return sides;
    const WallInfo info = mWorld.GetWallInfo(tile);
    sides.flags = info.flags & (kWallSides | kWallDiagonals);
    for (int32_t index = 0; index < 4; ++index) {
        const int32_t side = 1 << index;
        if (!info.Has(side)) continue;
        sides.kind[index] = info.style[index];
        sides.covered[index] = info.GetPattern(side, 0) != 0;
    }
    for (const int32_t diagonal : {kWallDiag16, kWallDiag32}) {
        if (!info.Has(diagonal)) continue;
        const int32_t index = WallSideIndex(diagonal);
        sides.kind[index] = info.style[index];
        for (const int32_t kind : DiagonalFaceKinds(diagonal)) {
            if (info.GetPattern(diagonal, kind) != 0) sides.covered[index] = true;
        }
    }
    return sides;
}

uint8_t cLotWorld::GetPoolValue(TileLocation tile) const {
    const cArray<uint8_t>* pool = mWorld.GetPoolLayer();
    return pool && OnGrid(tile) ? pool->At(tile.x, tile.y) : kNoPool;
}

uint32_t cLotWorld::GetCornerHeights(TileLocation tile) const {
    if (!OnGrid(tile)) return 0;
    return mWorld.Altitude().At(tile.x, tile.y).Packed();
}

int16_t cLotWorld::GetObjectIdAt(TileLocation tile) const {
    const c2DArray<uint16_t>* objects = mWorld.Objects(tile.level);
    return objects && OnGrid(tile) ? static_cast<int16_t>(objects->At(tile.x, tile.y)) : 0;
}

void cLotWorld::AddTileLight(TileLocation tile, int32_t value, bool withAmount) {
    TileLightTable* table = mWorld.LightTable(tile.level);
    if (!table || !OnGrid(tile)) return;
    // A lit lamp of strength 1 reaches the floors of its room; a source
    // without light (a lamp switched off) leaves them.
    if (withAmount) {
        if (value == 1) table->AddLight(tile, mWorld);
    } else {
        table->RemoveLight(tile, mWorld);
    }
}

void cLotWorld::SetObjectIdAt(TileLocation tile, int16_t id) {
    c2DArray<uint16_t>* objects = mWorld.Objects(tile.level);
    if (objects && OnGrid(tile)) objects->At(tile.x, tile.y) = static_cast<uint16_t>(id);
}

bool cLotWorld::WallPlacementTest(FinePoint point, int32_t level, int32_t direction, int32_t flags,
                                  int32_t& reason) const {
    return mWorld.FitsWalls(point, level, direction, flags, reason);
}

int32_t cLotWorld::RoutingTest(const tova::LotBox& box, int32_t level) const {
    return mWorld.BoxCrossesWall(FineBox{box.minX, box.maxX, box.minY, box.maxY}, level) ? 1 : 0;
}

void cLotWorld::SetTileFlagBits(TileLocation tile, uint8_t bits, bool on) {
    c2DArray<uint8_t>* flags = mWorld.Flags(tile.level);
    if (!flags || !OnGrid(tile)) return;
    uint8_t& cell = flags->At(tile.x, tile.y);
    cell = on ? static_cast<uint8_t>(cell | bits) : static_cast<uint8_t>(cell & ~bits);
}
