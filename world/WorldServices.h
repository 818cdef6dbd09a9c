// What the world needs of the subsystems above it, as small interfaces they
// implement: the prices of walls, wallpapers, floors and pool tiles, and the
// neighbours that keep derived data (objects, rooms, walls, roofs, shading).
// Each pointer may be null: the world then counts everything as free and
// skips the neighbour's part. Random numbers and command broadcasts come
// from the game data below (SimRandom, Commander).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "world/RendererShading.h"
#include "world/WorldTypes.h"
#include "world/c2DArray.h"

class cFixedWorld;
namespace tova {
class RoomManager;
}

class iWorldPrices {
public:
    virtual ~iWorldPrices() = default;
    virtual int32_t WallPrice(int32_t wallType) const = 0;
    virtual int32_t WallpaperPrice(int32_t pattern) const = 0;
    virtual int32_t FloorPrice(int32_t pattern) const = 0;
    virtual int32_t PoolTilePrice() const = 0;
};

class iWorldNeighbours {
public:
    virtual ~iWorldNeighbours() = default;
    // Moves every object on the lot by whole tiles (before the layers move).
    virtual void ShiftObjects(int32_t dx, int32_t dy) {}
    // True when an object standing on the tile (world orientation) wants
    // no roof above it.
    virtual bool StandsUnderNoRoof(TileLocation tile) const { return false; }
    // The renderer's shading tables, built when a world is made, through
    // what the renderer installed (nothing before it did).
    virtual void BuildShadingTables() { tova::BuildRendererShadingTables(); }
};

struct WorldServices {
    const iWorldPrices* prices = nullptr;
    iWorldNeighbours* neighbours = nullptr;
    // The rooms of the house; room detection records its rooms there.
    tova::RoomManager* rooms = nullptr;
    // One line of the developer's debug log.
    std::function<void(const std::string&)> debugLog;
};
