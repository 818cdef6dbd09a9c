#include <algorithm>
#include <cmath>

#include "gamedata/RoomManager.h"
#include "world/RendererShading.h"
#include "world/cFixedWorld.h"

namespace {

constexpr uint16_t kTileLightSplitRoom = 0xFFFB;

// The one or two rooms of a world tile: a tile split by a diagonal wall
// answers the rooms of its halves (when the room manager knows them).
struct TileLightRooms {
    uint16_t a = 0, b = 0;
    bool Shares(const TileLightRooms& o) const { return a == o.a || a == o.b || b == o.a || b == o.b; }
};

TileLightRooms RoomsForTileLight(cFixedWorld& world, TileLocation tile) {
    const uint16_t id = world.Rooms(tile.level)->At(tile.x, tile.y);
    TileLightRooms rooms{id, id};
    tova::RoomManager* manager = world.Services().rooms;
    if (id == kTileLightSplitRoom && manager != nullptr) {
        int16_t roomA = 0, roomB = 0;
        int32_t sideA = 0, sideB = 0;
        manager->GetRoomsAtTile(tile, roomA, roomB, sideA, sideB);
        rooms = {static_cast<uint16_t>(roomA), static_cast<uint16_t>(roomB)};
    }
    return rooms;
}

// round(R / 3), kept where a signed byte holds every offset.
int32_t TileLightRadius() {
    const float range = tova::RendererLampRange();
    if (!std::isfinite(range) || range <= 0.0f) return 0;
    return static_cast<int32_t>(std::min(std::lround(range / 3.0f), 63L));
}

bool IsTileLightInterior(const cFixedWorld& world, int32_t x, int32_t y) {
    return x >= 1 && y >= 1 && x <= world.GetSize() - 2 && y <= world.GetSize() - 2;
}

bool TileLightPairIs(const int8_t* pair, int32_t dx, int32_t dy) { return pair[0] == dx && pair[1] == dy; }

void SetTileLightPair(int8_t* pair, int32_t dx, int32_t dy) {
    pair[0] = static_cast<int8_t>(dx);
    pair[1] = static_cast<int8_t>(dy);
}

int32_t TileLightLength(const int8_t* pair) { return pair[0] * pair[0] + pair[1] * pair[1]; }

// Calls visit(entry, dx, dy) for every tile of the lamp's square inside
// the lot's border.
template <typename Visit>
void ForTileLightSquare(TileLightTable& table, const cFixedWorld& world, TileLocation lamp, Visit visit) {
    if (!IsTileLightInterior(world, lamp.x, lamp.y)) return;
    const int32_t r = TileLightRadius();
    for (int32_t dy = -r; dy <= r; ++dy) {
        for (int32_t dx = -r; dx <= r; ++dx) {
            const int32_t x = lamp.x + dx, y = lamp.y + dy;
            if (!IsTileLightInterior(world, x, y)) continue;
            visit(table.At(x, y), TileLocation::At(x, y, lamp.level), dx, dy);
        }
    }
}

}  // namespace

void TileLightTable::AddLight(TileLocation lamp, cFixedWorld& world) {
    if (world.Rooms(lamp.level) == nullptr) return;
    const TileLightRooms lampRooms = RoomsForTileLight(world, lamp);
    ForTileLightSquare(*this, world, lamp, [&](TileLight& entry, TileLocation tile, int32_t dx, int32_t dy) {
        if (!RoomsForTileLight(world, tile).Shares(lampRooms)) return;
        int8_t* first = &entry.offset[0];
        int8_t* second = &entry.offset[2];
        // A lamp counted again when its room is scored again keeps its one place.
        if (entry.Count() >= 1 && TileLightPairIs(first, dx, dy)) return;
        if (entry.Count() == 2 && TileLightPairIs(second, dx, dy)) return;
        const int32_t length = dx * dx + dy * dy;
        switch (entry.Count()) {
            case 0: SetTileLightPair(first, dx, dy); break;
            case 1: SetTileLightPair(second, dx, dy); break;
            default:
                if (length < TileLightLength(first)) {
                    SetTileLightPair(first, dx, dy);
                } else if (length < TileLightLength(second)) {
                    SetTileLightPair(second, dx, dy);
                }
                break;
        }
    });
}

void TileLightTable::RemoveLight(TileLocation lamp, cFixedWorld& world) {
    if (world.Rooms(lamp.level) == nullptr) return;
    ForTileLightSquare(*this, world, lamp, [&](TileLight& entry, TileLocation, int32_t dx, int32_t dy) {
        int8_t* first = &entry.offset[0];
        int8_t* second = &entry.offset[2];
        switch (entry.Count()) {
            case 1:
                if (TileLightPairIs(first, dx, dy)) entry = kNoTileLight;
                break;
            case 2:
                if (TileLightPairIs(first, dx, dy)) {
                    SetTileLightPair(first, second[0], second[1]);
                    SetTileLightPair(second, kNoLight, kNoLight);
                } else if (TileLightPairIs(second, dx, dy)) {
                    SetTileLightPair(second, kNoLight, kNoLight);
                }
                break;
            default: break;
        }
    });
}

TileLight cFixedWorld::GetTileLights(TileLocation viewTile) const {
    const TileLocation t = ViewToWorld(viewTile);
    const LevelLayers* level = Level(t.level);
    const TileLightTable* table = level != nullptr ? level->light.get() : nullptr;
    if (table == nullptr || t.x < 0 || t.y < 0 || t.x >= kWorldCapacity || t.y >= kWorldCapacity) return kNoTileLight;
    TileLight entry = table->entries[static_cast<size_t>(t.y * kWorldCapacity + t.x)];
    // Turned with the view: each quarter turn takes (dx, dy) to (-dy, dx).
    const int32_t turns = GetRotation() & 3;
    for (int32_t pair = 0; pair < 2; ++pair) {
        int8_t* p = &entry.offset[pair * 2];
        if (p[0] == kNoLight && p[1] == kNoLight) continue;
        for (int32_t i = 0; i < turns; ++i) SetTileLightPair(p, -p[1], p[0]);
    }
    return entry;
}
