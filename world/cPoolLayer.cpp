#include "world/cPoolLayer.h"

#include <algorithm>

namespace {

// Side neighbours in the order the layers visit them (directions 2, 0, 3,
// 1), with this tile's bit and the neighbour's opposite bit.
struct Link {
    int dx, dy;
    uint8_t mine, theirs;
};
constexpr Link kLinks[4] = {{-1, 0, 0x02, 0x08}, {0, -1, 0x01, 0x04}, {1, 0, 0x08, 0x02}, {0, 1, 0x04, 0x01}};

bool Inside(int x, int y, int32_t size) { return x >= 0 && y >= 0 && x < size && y < size; }

// Adds a tile and links it with every member neighbour; members are the
// cells `isMember` accepts. Neighbours off the lot are ignored.
template <typename IsMember>
void AddTile(c2DArray<uint8_t>& layer, int32_t size, TileLocation tile, IsMember isMember) {
    if (!Inside(tile.x, tile.y, size) || isMember(layer.At(tile.x, tile.y))) return;
    uint8_t cell = 0;
    for (const Link& l : kLinks) {
        const int nx = tile.x + l.dx, ny = tile.y + l.dy;
        if (!Inside(nx, ny, size) || !isMember(layer.At(nx, ny))) continue;
        cell |= l.mine;
        layer.At(nx, ny) |= l.theirs;
    }
    layer.At(tile.x, tile.y) = cell;
}

template <typename IsMember>
void RemoveTile(c2DArray<uint8_t>& layer, int32_t size, TileLocation tile, IsMember isMember) {
    if (!Inside(tile.x, tile.y, size) || !isMember(layer.At(tile.x, tile.y))) return;
    layer.At(tile.x, tile.y) = kNoPoolCell;
    for (const Link& l : kLinks) {
        const int nx = tile.x + l.dx, ny = tile.y + l.dy;
        if (Inside(nx, ny, size) && isMember(layer.At(nx, ny))) layer.At(nx, ny) &= static_cast<uint8_t>(~l.theirs);
    }
}

template <typename Fn>
void ForRect(const TileRect& rect, Fn fn) {
    for (int32_t y = rect.start.y; y < rect.endY; ++y)
        for (int32_t x = rect.start.x; x < rect.endX; ++x) fn(TileLocation::At(x, y, rect.start.level));
}

bool IsPool(uint8_t cell) { return cell < kPoolMarkCell; }
bool IsWater(uint8_t cell) { return cell != kNoPoolCell; }

struct CornerRule {
    uint8_t need;
    int dx1, dy1;
    uint8_t forbid1, require1;
    int dx2, dy2;
    uint8_t forbid2, require2;
    uint8_t bit;
};
constexpr CornerRule kCornerRules[4] = {
    {0x03, -1, 0, 0x01, 0x08, 0, -1, 0x02, 0x04, 0x01},
    {0x06, -1, 0, 0x04, 0x08, 0, 1, 0x02, 0x01, 0x02},
    {0x09, 0, -1, 0x08, 0x04, 1, 0, 0x01, 0x02, 0x08},
    {0x0C, 0, 1, 0x08, 0x01, 1, 0, 0x04, 0x02, 0x04},
};

}  // namespace

cPoolLayer::cPoolLayer(int32_t size) : cArray<uint8_t>(kWorldCapacity), mSize(size) { Fill(kNoPoolCell); }

void cPoolLayer::Clear() {
    for (int32_t y = 0; y < mSize; ++y)
        for (int32_t x = 0; x < mSize; ++x) At(x, y) = kNoPoolCell;
}

void cPoolLayer::AddPoolTile(TileLocation tile) { AddTile(*this, mSize, tile, IsPool); }
void cPoolLayer::RemovePoolTile(TileLocation tile) { RemoveTile(*this, mSize, tile, IsPool); }
void cPoolLayer::AddPoolRect(const TileRect& rect) {
    ForRect(rect, [this](TileLocation t) { AddPoolTile(t); });
}
void cPoolLayer::RemovePoolRect(const TileRect& rect) {
    ForRect(rect, [this](TileLocation t) { RemovePoolTile(t); });
}

void cPoolLayer::Assign(const cPoolLayer& other) {
    const int32_t n = std::min(Rows(), other.Rows());
    for (int32_t y = 0; y < n; ++y)
        for (int32_t x = 0; x < n; ++x) At(x, y) = other.At(x, y);
}

uint8_t cPoolLayer::GetOverlapMask(TileLocation tile, int32_t rotation) const {
    const int32_t turns = rotation & 3;
    if (turns != 0) {
        const GridPoint w = RotateGridCoords(tile.x, tile.y, (-turns) & 3, kWorldCapacity);
        tile = TileLocation::At(w.x, w.y, tile.level);
    }
    if (!Inside(tile.x, tile.y, mSize)) return 0;
    const uint8_t c = At(tile.x, tile.y);
    uint8_t mask = 0;
    for (const CornerRule& r : kCornerRules) {
        const int x1 = tile.x + r.dx1, y1 = tile.y + r.dy1, x2 = tile.x + r.dx2, y2 = tile.y + r.dy2;
        if ((c & r.need) != r.need || !Inside(x1, y1, mSize) || !Inside(x2, y2, mSize)) continue;
        const uint8_t n1 = At(x1, y1), n2 = At(x2, y2);
        if ((n1 & r.forbid1) == 0 && (n1 & r.require1) != 0 && (n2 & r.forbid2) == 0 && (n2 & r.require2) != 0)
            mask |= r.bit;
    }
    for (int32_t i = 0; i < turns; ++i) mask = static_cast<uint8_t>(((mask >> 1) | (mask << 3)) & 0x0F);
    return mask;
}

void cPoolLayer::ClearMarks(c2DArray<uint8_t>& snapshot) {
    for (int32_t y = 0; y < snapshot.Rows(); ++y)
        for (int32_t x = 0; x < snapshot.Columns(); ++x)
            if (snapshot.At(x, y) == kPoolMarkCell) snapshot.At(x, y) = kNoPoolCell;
}

std::unique_ptr<cPoolLayer> cPoolLayer::MakeLayerFromSnapshot(const c2DArray<uint8_t>& snapshot) {
    auto layer = std::make_unique<cPoolLayer>(std::min(snapshot.Rows(), kWorldCapacity));
    layer->CopyFrom(snapshot);
    return layer;
}

cWaterLayer::cWaterLayer(int32_t size) : cArray<uint8_t>(kWorldCapacity), mSize(size) { Fill(kNoPoolCell); }

void cWaterLayer::Clear() {
    for (int32_t y = 0; y < mSize; ++y)
        for (int32_t x = 0; x < mSize; ++x) At(x, y) = kNoPoolCell;
}

void cWaterLayer::AddWaterTile(TileLocation tile) { AddTile(*this, mSize, tile, IsWater); }
void cWaterLayer::RemoveWaterTile(TileLocation tile) { RemoveTile(*this, mSize, tile, IsWater); }
void cWaterLayer::AddWaterRect(const TileRect& rect) {
    ForRect(rect, [this](TileLocation t) { AddWaterTile(t); });
}
