// The world's accessors by view tile, used by the build tools.
#include "world/cFixedWorld.h"

namespace {
template <class Layer>
auto CellAt(Layer* layer, TileLocation tile) -> decltype(&layer->At(0, 0)) {
    return layer != nullptr && layer->Contains(tile.x, tile.y) ? &layer->At(tile.x, tile.y) : nullptr;
}
template <class Layer>
auto ReadCell(Layer* layer, TileLocation tile) {
    const auto* cell = CellAt(layer, tile);
    return cell != nullptr ? *cell : 0;
}
}  // namespace

// Each reads the layer of the view tile's level at the matching world tile.
#define TOVA_VIEW_READER(Name, Type, field)                                        \
    Type cFixedWorld::Name(TileLocation viewTile) const {                          \
        const TileLocation t = ViewToWorld(viewTile);                              \
        return ReadCell(Level(t.level) ? Level(t.level)->field.get() : nullptr, t); \
    }
TOVA_VIEW_READER(GetFloor, uint8_t, floors)
TOVA_VIEW_READER(GetTileFlags, uint8_t, flags)
TOVA_VIEW_READER(GetRoomId, uint16_t, rooms)
TOVA_VIEW_READER(GetObjectId, uint16_t, objects)
#undef TOVA_VIEW_READER

void cFixedWorld::SetFloor(TileLocation viewTile, uint8_t floor) {
    const TileLocation t = ViewToWorld(viewTile);
    if (uint8_t* cell = CellAt(Floors(t.level), t)) *cell = floor;
}

void cFixedWorld::SetTileFlags(TileLocation viewTile, uint8_t flags) {
    const TileLocation t = ViewToWorld(viewTile);
    if (uint8_t* cell = CellAt(Flags(t.level), t)) *cell = flags;
}

bool cFixedWorld::IsBorderTile(TileLocation tile) const {
    return tile.x <= 0 || tile.y <= 0 || tile.x >= mSize - 1 || tile.y >= mSize - 1;
}

bool cFixedWorld::IsOutsideLotBounds(TileLocation viewTile) const {
    const ViewBounds& b = mViewBounds;
    return viewTile.x < b.minX + 1 || viewTile.x > b.maxX - 1 || viewTile.y < b.minY + 1 || viewTile.y > b.maxY - 1;
}
