// What the world needs of the rest of the game, as small interfaces the
// owners implement: the simulation's random generator, the command
// broadcast list, the prices of walls, wallpapers, floors and pool tiles, and
// the neighbours that keep derived data (objects, rooms, walls, roofs,
// shading). Each pointer may be null: the world then uses its own random
// generator, broadcasts to nobody, counts everything as free and skips the
// neighbour's part.
#pragma once

#include <cstdint>
#include <memory>

#include "world/c2DArray.h"

class cFixedWorld;

class iWorldRandom {
public:
    virtual ~iWorldRandom() = default;
    virtual uint32_t GetSeed() const = 0;
    virtual void SetSeed(uint32_t seed) = 0;
    virtual uint32_t Next() = 0;
};

// The game's linear congruential generator: seed = seed x 1103515245 + 12345
// (mod 2^32); each draw is the full product shifted right by 16. Used when no
// generator is given.
class cWorldRandom : public iWorldRandom {
public:
    explicit cWorldRandom(uint32_t seed = 0) : mSeed(seed) {}
    uint32_t GetSeed() const override { return mSeed; }
    void SetSeed(uint32_t seed) override { mSeed = seed; }
    uint32_t Next() override {
        const uint64_t product = static_cast<uint64_t>(mSeed) * 1103515245u + 12345u;
        mSeed = static_cast<uint32_t>(product);
        return static_cast<uint32_t>(product >> 16);
    }

private:
    uint32_t mSeed;
};

class iCommandSink {
public:
    virtual ~iCommandSink() = default;
    // Hands the command to every receiver; true when any handled it.
    virtual bool Broadcast(int32_t command, intptr_t argument) = 0;
};

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
    // The wall manager follows the view rotation.
    virtual void SetWallRotation(int32_t rotation) {}
    // The renderer's shading tables, built once when a world is made.
    virtual void BuildShadingTables() {}
    // The roof layer of a level (1 or 2); none when roofs are not kept.
    virtual std::unique_ptr<iRoofLayer> CreateRoofLayer(int32_t level) { return nullptr; }
    // The pool and water layers: byte layers of the given size, 255 = none.
    // Null makes the world use a plain counted byte layer.
    virtual cArray<uint8_t>* CreatePoolLayer(int32_t size) { return nullptr; }
    virtual cArray<uint8_t>* CreateWaterLayer(int32_t size) { return nullptr; }
};

struct WorldServices {
    iWorldRandom* random = nullptr;
    iCommandSink* commands = nullptr;
    const iWorldPrices* prices = nullptr;
    iWorldNeighbours* neighbours = nullptr;
};
