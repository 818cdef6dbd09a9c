// What the world needs of the subsystems above it, as small interfaces they
// implement: the prices of walls, wallpapers, floors and pool tiles, and the
// neighbours that keep derived data (objects, rooms, walls, roofs, shading).
// Each pointer may be null: the world then counts everything as free and
// skips the neighbour's part. Random numbers and command broadcasts come
// from the game data below (SimRandom, Commander).
#pragma once

#include <cstdint>
#include <memory>

#include "world/c2DArray.h"

class cFixedWorld;

class iWorldPrices {
public:
    virtual ~iWorldPrices() = default;
    virtual int32_t WallPrice(int32_t wallType) const = 0;
    virtual int32_t WallpaperPrice(int32_t pattern) const = 0;
    virtual int32_t FloorPrice(int32_t pattern) const = 0;
    virtual int32_t PoolTilePrice() const = 0;
};

// A storey's roof layer; the roof model derives from it.
class iRoofLayer {
public:
    virtual ~iRoofLayer() = default;
};

class iWorldNeighbours {
public:
    virtual ~iWorldNeighbours() = default;
    // Moves every object on the lot by whole tiles (before the layers move).
    virtual void ShiftObjects(int32_t dx, int32_t dy) {}
    // Room detection of a level (0 = both).
    virtual void RecomputeRooms(cFixedWorld& world, int32_t level) {}
    // The renderer's shading tables, built once when a world is made.
    virtual void BuildShadingTables() {}
    // The roof layer of a level (1 or 2); none when roofs are not kept.
    virtual std::unique_ptr<iRoofLayer> CreateRoofLayer(int32_t level) { return nullptr; }
};

struct WorldServices {
    const iWorldPrices* prices = nullptr;
    iWorldNeighbours* neighbours = nullptr;
};
