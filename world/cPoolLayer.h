// The pool and water layers of the ground storey: one byte per tile, 255 for
// none, else 0-15 with a bit for each side neighbour of the same pool (or
// water) so the renderer picks edge pieces without looking around: 0x01
// (x, y-1), 0x02 (x-1, y), 0x04 (x, y+1), 0x08 (x+1, y). The pool layer
// also knows 16, a tile the pool tool marked while dragging, which counts as
// no pool for the links. Both are counted 'Arry' layers of the world.
#pragma once

#include <cstdint>
#include <memory>

#include "world/WorldTypes.h"
#include "world/c2DArray.h"

// Tiles from start (inclusive) to the end corner (exclusive), row by row;
// empty when the end is not beyond the start on both axes.
struct TileRect {
    TileLocation start;
    int32_t endX = 0;
    int32_t endY = 0;
};

inline constexpr uint8_t kNoPoolCell = 255;
inline constexpr uint8_t kPoolMarkCell = 16;

class cPoolLayer : public cArray<uint8_t> {
public:
    explicit cPoolLayer(int32_t size);

    void Clear();
    void AddPoolTile(TileLocation tile);
    void AddPoolRect(const TileRect& rect);
    void RemovePoolTile(TileLocation tile);
    void RemovePoolRect(const TileRect& rect);
    // Copies the common square of another pool layer.
    void Assign(const cPoolLayer& other);
    // The inner-corner mask of a tile: 0x01 when (x-1, y-1) is missing from a
    // pool around it on both sides, 0x02 (x-1, y+1), 0x04 (x+1, y+1), 0x08
    // (x+1, y-1). With a rotation the tile is a view tile and the bits come
    // back in view order.
    uint8_t GetOverlapMask(TileLocation tile, int32_t rotation) const;

    static void ClearMarks(c2DArray<uint8_t>& snapshot);
    static std::unique_ptr<cPoolLayer> MakeLayerFromSnapshot(const c2DArray<uint8_t>& snapshot);

    int32_t Size() const { return mSize; }
    void SetSize(int32_t size) { mSize = size; }

private:
    int32_t mSize;
};

class cWaterLayer : public cArray<uint8_t> {
public:
    explicit cWaterLayer(int32_t size);

    void Clear();
    void AddWaterTile(TileLocation tile);
    void AddWaterRect(const TileRect& rect);
    void RemoveWaterTile(TileLocation tile);
    void SetSize(int32_t size) { mSize = size; }

private:
    int32_t mSize;
};
