#include "world/cFixedWorld.h"

#include "world/walls/WallManager.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {

uint32_t RotateLeft(uint32_t v, int32_t bits) {
    bits &= 31;
    return bits == 0 ? v : (v << bits) | (v >> (32 - bits));
}
uint32_t RotateRight(uint32_t v, int32_t bits) {
    bits &= 31;
    return bits == 0 ? v : (v >> bits) | (v << (32 - bits));
}

bool IsFullWallType(int32_t style) { return style == 1 || style == 7 || style == 8 || style == 9 || style == 22; }
// Doors and windows standing in a wall do not stop a box.
bool IsOpeningType(int32_t style) { return style == 3 || style == 5 || style == 6 || style == 15; }

}  // namespace

void TileLightTable::Clear() {
    for (TileLight& e : entries) e = TileLight{{kNoLight, kNoLight, kNoLight, kNoLight}};
}

void TileLightTable::Shift(int32_t dx, int32_t dy) {
    const auto old = entries;
    for (int32_t y = 0; y < kWorldCapacity; ++y) {
        for (int32_t x = 0; x < kWorldCapacity; ++x) {
            const int32_t sx = x - dx, sy = y - dy;
            const bool inside = sx >= 0 && sy >= 0 && sx < kWorldCapacity && sy < kWorldCapacity;
            At(x, y) = inside ? old[static_cast<size_t>(sy * kWorldCapacity + sx)]
                              : TileLight{{kNoLight, kNoLight, kNoLight, kNoLight}};
        }
    }
}

cFixedWorld::cFixedWorld(int32_t size, const WorldServices& services)
    : mServices(services), mWallManager(std::make_unique<WallManager>(*this)) {
    if (size < kMinWorldSize || size > kMaxWorldSize) throw std::invalid_argument("world size must lie in 4..64");
    if (!ResizeLayers(size)) throw std::bad_alloc();
    GetWallTables();
    if (mServices.neighbours) mServices.neighbours->BuildShadingTables();
    mUpperUsed = 0;
    mUpperSupported = 0;
}

cFixedWorld::~cFixedWorld() { ReleaseCountedLayers(); }

void cFixedWorld::ReleaseCountedLayers() {
    if (mPool) mPool->Release();
    if (mWater) mWater->Release();
    mPool = nullptr;
    mWater = nullptr;
}

const cFixedWorld::LevelLayers* cFixedWorld::Level(int32_t level) const {
    return (level == 1 || level == 2) ? &mLevels[level - 1] : nullptr;
}
cFixedWorld::LevelLayers* cFixedWorld::Level(int32_t level) {
    return (level == 1 || level == 2) ? &mLevels[level - 1] : nullptr;
}

c2DArray<uint8_t>* cFixedWorld::Floors(int32_t level) { return Level(level) ? Level(level)->floors.get() : nullptr; }
c2DArray<uint16_t>* cFixedWorld::Rooms(int32_t level) { return Level(level) ? Level(level)->rooms.get() : nullptr; }
c2DArray<uint8_t>* cFixedWorld::Flags(int32_t level) { return Level(level) ? Level(level)->flags.get() : nullptr; }
c2DArray<uint16_t>* cFixedWorld::Objects(int32_t level) {
    return Level(level) ? Level(level)->objects.get() : nullptr;
}
WallLayer* cFixedWorld::Walls(int32_t level) { return Level(level) ? Level(level)->walls.get() : nullptr; }
WallPostLayer* cFixedWorld::WallPosts(int32_t level) { return Level(level) ? Level(level)->posts.get() : nullptr; }
TileLightTable* cFixedWorld::LightTable(int32_t level) { return Level(level) ? Level(level)->light.get() : nullptr; }
cRoofLayer* cFixedWorld::GetRoofLayer(int32_t level) {
    return Level(level) ? Level(level)->roof.get() : nullptr;
}

bool cFixedWorld::CreateLayers() {
    // Everything is built aside first, so a failure keeps the old layers.
    const int32_t n = kWorldCapacity;
    try {
        auto altitude = std::make_unique<c2DArray<AltitudeCell>>(n);
        auto ground = std::make_unique<c2DArray<uint8_t>>(n);
        auto grass = std::make_unique<c2DArray<int8_t>>(n);
        auto target = std::make_unique<c2DArray<int8_t>>(n);
        bool ok = altitude->HasData() && ground->HasData() && grass->HasData() && target->HasData();
        LevelLayers levels[2];
        for (int i = 0; i < 2; ++i) {
            LevelLayers& l = levels[i];
            l.floors = std::make_unique<c2DArray<uint8_t>>(n);
            l.rooms = std::make_unique<c2DArray<uint16_t>>(n);
            l.flags = std::make_unique<c2DArray<uint8_t>>(n);
            l.objects = std::make_unique<c2DArray<uint16_t>>(n);
            l.walls = std::make_unique<WallLayer>(n);
            l.posts = std::make_unique<WallPostLayer>(n);
            l.light = std::make_unique<TileLightTable>();
            l.light->Clear();
            ok = ok && l.floors->HasData() && l.rooms->HasData() && l.flags->HasData() && l.objects->HasData() &&
                 l.walls->HasData() && l.posts->HasData();
        }
        if (!ok) return false;
        // The counted layers are held by one reference each from here on.
        auto makeCounted = []<typename Layer>(Layer* layer) {
            layer->AddRef();
            return std::unique_ptr<Layer, void (*)(Layer*)>(layer, [](Layer* p) { p->Release(); });
        };
        auto pool = makeCounted(new cPoolLayer(n));
        auto water = makeCounted(new cWaterLayer(n));
        if (!pool->HasData() || !water->HasData()) return false;
        pool->Fill(kNoPool);
        water->Fill(kNoPool);
        for (int i = 0; i < 2; ++i) {
            levels[i].roof = std::make_unique<cRoofLayer>(n);
        }

        ReleaseCountedLayers();
        mAltitude = std::move(altitude);
        mGround = std::move(ground);
        mGrass = std::move(grass);
        mTargetGrass = std::move(target);
        for (int i = 0; i < 2; ++i) mLevels[i] = std::move(levels[i]);
        mPool = pool.release();
        mWater = water.release();
    } catch (const std::bad_alloc&) {
        return false;
    }
    NameLayers();
    return true;
}

void cFixedWorld::ResetEdge(int32_t n) {
    const int32_t last = n - 1;
    auto resetTile = [&](int32_t x, int32_t y) {
        mPool->At(x, y) = kNoPool;
        mWater->At(x, y) = kNoPool;
        for (LevelLayers& l : mLevels) {
            l.floors->At(x, y) = 0;
            l.rooms->At(x, y) = 0;
            l.objects->At(x, y) = 0;
            l.walls->At(x, y) = WallCell{};
            l.posts->At(x, y) = 0;
            l.light->At(x, y) = TileLight{{kNoLight, kNoLight, kNoLight, kNoLight}};
        }
    };
    for (int32_t i = 0; i < n; ++i) {
        resetTile(last, i);
        resetTile(i, last);
    }
}

bool cFixedWorld::ResizeLayers(int32_t n) {
    if (n < kMinWorldSize || n > kMaxWorldSize) return false;
    if (n == mSize) return true;
    if (!mAltitude) {
        if (!CreateLayers()) return false;
    } else if (n < mSize) {
        ResetEdge(n);
    }
    mSize = n;
    mPool->SetSize(n);
    mWater->SetSize(n);
    mWallManager->RequestRebuild(0);
    GenerateGrass(0);
    ComputeViewBounds();
    return true;
}

void cFixedWorld::SetRotation(int32_t rotation, bool keepWalls) {
    StoreRotation(rotation & 3);
    ComputeViewBounds();
    if (!keepWalls) mWallManager->SetRotation(GetRotation());
}

void cFixedWorld::ComputeViewBounds() {
    const int32_t m = mSize - 1;
    const GridPoint corners[4] = {{0, 0}, {m, 0}, {m, m}, {0, m}};
    bool first = true;
    for (const GridPoint& c : corners) {
        const GridPoint v = RotateGridCoords(c.x, c.y, GetRotation(), kWorldCapacity);
        if (first) {
            mViewBounds = {v.x, v.x, v.y, v.y};
            first = false;
        }
        mViewBounds.minX = std::min(mViewBounds.minX, v.x);
        mViewBounds.maxX = std::max(mViewBounds.maxX, v.x);
        mViewBounds.minY = std::min(mViewBounds.minY, v.y);
        mViewBounds.maxY = std::max(mViewBounds.maxY, v.y);
    }
}

TileLocation cFixedWorld::ViewToWorld(TileLocation view) const {
    const GridPoint p = RotateGridCoords(view.x, view.y, (-GetRotation()) & 3, kWorldCapacity);
    return TileLocation::At(p.x, p.y, view.level);
}

TileLocation cFixedWorld::WorldToView(TileLocation world) const {
    const GridPoint p = RotateGridCoords(world.x, world.y, GetRotation(), kWorldCapacity);
    return TileLocation::At(p.x, p.y, world.level);
}

float cFixedWorld::GetAltitudeAt(FinePoint point) const {
    const int32_t x = point.TileX(), y = point.TileY();
    if (!mAltitude->Contains(x, y)) return 0.0f;
    const AltitudeCell& c = mAltitude->At(x, y);
    const float a00 = c.corner[1], a10 = c.corner[2], a11 = c.corner[3], a01 = c.corner[0];
    const float fx = static_cast<float>(point.x & 15);
    const float fy = static_cast<float>(point.y & 15);
    if (fx == fy) return a00 + fx * (a11 - a00) / 16.0f;
    if (fx > fy) return a00 + fx * (a10 - a00) / 16.0f + fy * (a11 - a10) / 16.0f;
    return a00 + fy * (a01 - a00) / 16.0f + fx * (a11 - a01) / 16.0f;
}

uint32_t cFixedWorld::GetAltitudeCorners(TileLocation viewTile) const {
    const TileLocation w = ViewToWorld(viewTile);
    if (!mAltitude->Contains(w.x, w.y)) return 0;
    return RotateLeft(mAltitude->At(w.x, w.y).Packed(), 8 * GetRotation());
}

void cFixedWorld::SetAltitudeCorners(TileLocation viewTile, uint32_t packedCorners) {
    const TileLocation w = ViewToWorld(viewTile);
    const int32_t x = w.x, y = w.y;
    if (!mAltitude->Contains(x, y)) return;
    const AltitudeCell v = AltitudeCell::FromPacked(RotateRight(packedCorners, 8 * GetRotation()));
    mAltitude->At(x, y) = v;
    // Each shared corner goes into the neighbours that hold it; neighbours
    // outside the layer are skipped.
    auto put = [&](int32_t nx, int32_t ny, int byte, uint8_t value) {
        if (mAltitude->Contains(nx, ny)) mAltitude->At(nx, ny).corner[byte] = value;
    };
    put(x - 1, y, 2, v.corner[1]);
    put(x - 1, y, 3, v.corner[0]);
    put(x, y - 1, 0, v.corner[1]);
    put(x, y - 1, 3, v.corner[2]);
    put(x + 1, y, 1, v.corner[2]);
    put(x + 1, y, 0, v.corner[3]);
    put(x, y + 1, 1, v.corner[0]);
    put(x, y + 1, 2, v.corner[3]);
    put(x + 1, y - 1, 0, v.corner[2]);
    put(x - 1, y + 1, 2, v.corner[0]);
    put(x + 1, y + 1, 1, v.corner[3]);
    put(x - 1, y - 1, 3, v.corner[1]);
}

void cFixedWorld::SetCornerHeight(int32_t x, int32_t y, uint8_t height) {
    auto put = [&](int32_t cx, int32_t cy, int byte) {
        if (mAltitude->Contains(cx, cy)) mAltitude->At(cx, cy).corner[byte] = height;
    };
    put(x, y, 1);
    put(x - 1, y, 2);
    put(x, y - 1, 0);
    put(x - 1, y - 1, 3);
}

bool cFixedWorld::IsOutsideWorld(int32_t fineX, int32_t fineY) const {
    const int32_t tx = fineX >> 4, ty = fineY >> 4;
    return tx < 0 || ty < 0 || tx >= mSize || ty >= mSize;
}

bool cFixedWorld::HasWater(TileLocation tile) const {
    return tile.level == 1 && mWater->Contains(tile.x, tile.y) && mWater->At(tile.x, tile.y) != kNoPool;
}

bool cFixedWorld::HasPool(TileLocation tile) const {
    return tile.level == 1 && mPool->Contains(tile.x, tile.y) && mPool->At(tile.x, tile.y) < kPoolMark;
}

bool cFixedWorld::IsPoolOrMarked(TileLocation tile) const {
    return tile.level == 1 && mPool->Contains(tile.x, tile.y) && mPool->At(tile.x, tile.y) <= kPoolMark;
}

WallInfo cFixedWorld::GetWallInfo(TileLocation tile) const {
    const LevelLayers* l = Level(tile.level);
    if (!l) return WallInfo{};
    return ExpandWallCell(*l->walls, tile.x, tile.y, mSize);
}

WallInfo cFixedWorld::GetWallInfoAtView(TileLocation viewTile) const {
    WallInfo info = GetWallInfo(ViewToWorld(viewTile));
    info.RotateTo(GetRotation());
    return info;
}

void cFixedWorld::SetWallInfo(TileLocation tile, const WallInfo& info) {
    LevelLayers* l = Level(tile.level);
    if (!l) return;
    WriteWallInfo(*l->walls, *l->posts, tile.x, tile.y, mSize, info);
}

uint8_t cFixedWorld::GetCornerWallMask(int32_t x, int32_t y, int32_t level) const {
    const LevelLayers* l = Level(level);
    return l ? ComputeWallPostMask(*l->walls, x, y, mSize) : 0;
}

bool cFixedWorld::BoxCrossesWall(const FineBox& box, int32_t level) const {
    for (int32_t y = box.minY >> 4; y <= (box.maxY - 1) >> 4; ++y) {
        for (int32_t x = box.minX >> 4; x <= (box.maxX - 1) >> 4; ++x) {
            if (!IsInsideGrid(x, y)) continue;
            const WallInfo w = GetWallInfo(TileLocation::At(x, y, level));
            struct Test {
                int32_t side, value, low, high;
            };
            const Test tests[4] = {
                {kWallSide1, 16 * x, box.minX, box.maxX},
                {kWallSide2, 16 * y, box.minY, box.maxY},
                {kWallDiag16, 16 * (x + y + 1), box.minX + box.minY, box.maxX + box.maxY},
                {kWallDiag32, 16 * (y - x), box.minY - box.maxX, box.maxY - box.minX},
            };
            for (const Test& t : tests) {
                if (!w.Has(t.side) || IsOpeningType(w.Style(t.side))) continue;
                if (t.value > t.low && t.value < t.high) return true;
            }
        }
    }
    return false;
}

bool cFixedWorld::FitsWalls(FinePoint point, int32_t level, int32_t facing, int32_t flags,
                            int32_t& errorCode) const {
    WallInfo w = GetWallInfo(TileLocation::FromFine(point, level));
    const bool diagonal = w.HasDiagonal();
    const int32_t turn = (-facing) & 7;
    if (turn >= 2) w.Rotate(turn >> 1);
    if ((flags & kNeedsDiagonal) && !diagonal) {
        errorCode = kPlaceNeedsDiagonal;
        return false;
    }
    if (diagonal && !(flags & kAllowsDiagonal)) {
        errorCode = kPlaceWallInTheWay;
        return false;
    }
    if (flags == 0) return true;
    const bool corner = (w.Has(kWallSide1) && w.Has(kWallSide2)) || (w.Has(kWallSide1) && w.Has(kWallSide8)) ||
                        (w.Has(kWallSide2) && w.Has(kWallSide4)) || (w.Has(kWallSide4) && w.Has(kWallSide8));
    if ((flags & kNeedsCorner) && !corner) {
        errorCode = kPlaceNeedsCorner;
        return false;
    }
    if ((flags & kNotInCorner) && corner) {
        errorCode = kPlaceNotInCorner;
        return false;
    }
    struct SideRule {
        int32_t side, needs, refuses;
    };
    static constexpr SideRule kRules[4] = {
        {kWallSide2, kNeedsWallSide2, kRefusesWallSide2},
        {kWallSide1, kNeedsWallSide1, kRefusesWallSide1},
        {kWallSide4, kNeedsWallSide4, kRefusesWallSide4},
        {kWallSide8, kNeedsWallSide8, kRefusesWallSide8},
    };
    for (const SideRule& r : kRules) {
        const bool present = w.Has(r.side);
        const bool full = present && IsFullWallType(w.Style(r.side));
        if ((flags & r.refuses) && present) {
            errorCode = kPlaceWallInTheWay;
            return false;
        }
        if ((flags & r.needs) && !full) {
            errorCode = present ? kPlaceNeedsFullWall : kPlaceNeedsWall;
            return false;
        }
    }
    return true;
}

void cFixedWorld::Shift(int32_t dx, int32_t dy) {
    if (dx == 0 && dy == 0) return;
    if (mServices.neighbours) mServices.neighbours->ShiftObjects(dx, dy);
    const int32_t n = mSize;
    mAltitude->Shift(dx, dy, AltitudeCell{{0, 0, 0, 0}}, n);
    mGround->Shift(dx, dy, 0, n);
    mGrass->Shift(dx, dy, 0, n);
    mTargetGrass->Shift(dx, dy, 0, n);
    mPool->Shift(dx, dy, kNoPool, n);
    mWater->Shift(dx, dy, kNoPool, n);
    for (LevelLayers& l : mLevels) {
        l.floors->Shift(dx, dy, 0, n);
        l.flags->Shift(dx, dy, 0, n);
        l.posts->Shift(dx, dy, 0, n);
        l.rooms->Shift(dx, dy, 0, n);
        l.objects->Shift(dx, dy, 0, n);
        l.walls->Shift(dx, dy, WallCell{}, n);
        l.light->Shift(dx, dy);
        // Walls that pointed at a tile now filled from outside lose that side.
        for (int32_t x = 0; x < n; ++x) {
            for (int32_t y = 0; y < n; ++y) {
                const int32_t sx = x - dx, sy = y - dy;
                if (sx >= 0 && sy >= 0 && sx < n && sy < n) continue;
                auto clear = [&](int32_t tx, int32_t ty, uint8_t bit) {
                    if (IsInsideGrid(tx, ty)) l.walls->At(tx, ty).mask &= static_cast<uint8_t>(~bit);
                };
                clear(x, y + 1, kWallSide2);
                clear(x + 1, y, kWallSide1);
                clear(x - 1, y, kWallSide4);
                clear(x, y - 1, kWallSide8);
            }
        }
    }
}

int32_t cFixedWorld::ComputeValue(bool& builtSomething) const {
    builtSomething = false;
    const iWorldPrices* prices = mServices.prices;
    auto wallPrice = [&](int32_t t) { return prices ? prices->WallPrice(t) : 0; };
    auto paperPrice = [&](int32_t p) { return prices ? prices->WallpaperPrice(p) : 0; };
    auto floorPrice = [&](int32_t p) { return prices ? prices->FloorPrice(p) : 0; };
    int64_t wallTotal = 0;
    int64_t value = 0;
    // The rows are walked directly, their bounds settled once per row, and a
    // tile with no wall is not expanded: a checked access per cell and an
    // expansion per tile cost most of a lot's valuation.
    for (int32_t level = 1; level <= 2; ++level) {
        const LevelLayers& l = mLevels[level - 1];
        const WallLayer& walls = *l.walls;
        for (int32_t x = 0; x < mSize; ++x) {
            // The usable area is marked on the ground storey.
            const uint8_t* tileFlags = mLevels[0].flags->Row(x);
            const uint8_t* floors = l.floors->Row(x);
            const uint8_t* pool = level == 1 ? mPool->Row(x) : nullptr;
            const bool wallRow = walls.HasData() && x < walls.Rows();
            const WallCell* wallCells = wallRow ? walls.Row(x) : nullptr;
            const int32_t wallColumns = wallRow ? std::min(mSize, walls.Columns()) : 0;
            for (int32_t y = 0; y < mSize; ++y) {
                if (tileFlags[y] & kTileOutsideArea) continue;
                bool diagonal = false;
                if (y < wallColumns && (wallCells[y].mask & (kWallSides | kWallDiagonals))) {
                    const WallInfo w = ExpandWallCell(walls, x, y, mSize);
                    diagonal = w.HasDiagonal();
                    for (int32_t side = 1; side < 64; side <<= 1) {
                        if (!w.Has(side)) continue;
                        builtSomething = true;
                        const int32_t type = w.Style(side);
                        wallTotal += wallPrice(type);
                        if (type == 1 || type == 7 || type == 8 || type == 9) {
                            if (side < kWallDiag16) {
                                value += paperPrice(w.pattern[WallSideIndex(side)]);
                            } else {
                                for (int32_t k : DiagonalFaceKinds(side)) value += paperPrice(w.pattern[WallFaceSlot(side, k)]);
                            }
                        }
                    }
                    if (floors[y] == 255 && diagonal) {
                        // The two half-tile floors of a diagonal tile.
                        for (int32_t half : {w.pattern[0], w.style[0]}) {
                            if (half != 0) value += floorPrice(half) / 2;
                        }
                    }
                }
                const uint8_t floor = floors[y];
                if (floor != 0) builtSomething = true;
                if (floor != 0 && floor != 255) value += floorPrice(floor);
                if (pool) {
                    if (pool[y] <= kPoolMark) builtSomething = true;
                    if (pool[y] < kPoolMark && prices) value += prices->PoolTilePrice();
                }
            }
        }
    }
    return static_cast<int32_t>(wallTotal / 2 + value);
}

void cFixedWorld::MarkOutsideArea(int32_t left, int32_t top, int32_t bottomMargin, int32_t rightMargin) {
    c2DArray<uint8_t>& flags = *mLevels[0].flags;
    for (int32_t x = 0; x < mSize; ++x) {
        for (int32_t y = 0; y < mSize; ++y) {
            const bool inside = x >= left + 1 && x < mSize - rightMargin - 1 && y >= top + 1 && y < mSize - bottomMargin - 1;
            if (inside) {
                flags.At(x, y) &= static_cast<uint8_t>(~kTileOutsideArea);
            } else {
                flags.At(x, y) |= kTileOutsideArea;
            }
        }
    }
}

int16_t cFixedWorld::DoCommand(int32_t command, intptr_t argument) {
    // Receivers compare the low 16 bits of the command.
    const int16_t id = static_cast<int16_t>(command);
    switch (id) {
        case kCmdRecomputeRooms:
            RecomputeRooms(static_cast<int32_t>(argument));
            return 1;
        case kCmdFlattenTerrain:
            FlattenTerrain();
            tova::Broadcast(kCmdTerrainChanged, 0);
            tova::Broadcast(kCmdLotChanged, 0);
            return 1;
        case kCmdRandomTerrain:
            RandomTerrain();
            tova::Broadcast(kCmdTerrainChanged, 0);
            tova::Broadcast(kCmdLotChanged, 0);
            return 1;
        case kCmdFillGround:
        case kCmdClearGround:
            mGround->FillCells(id == kCmdFillGround ? 4 : 0);
            tova::Broadcast(kCmdLotChanged, 0);
            return 1;
        case kCmdRandomGround:
            RandomGround(80);
            return 1;
        case kCmdGrowGrass:
            GrowGrass(static_cast<int32_t>(argument));
            tova::Broadcast(kCmdGrassGrew, 0);
            tova::Broadcast(kCmdLotChanged, 0);
            return 1;
        case kCmdShiftWorld: {
            const auto dx = static_cast<int8_t>(argument & 0xFF);
            const auto dy = static_cast<int8_t>((argument >> 16) & 0xFF);
            Shift(dx, dy);
            return 1;
        }
        default:
            return 0;
    }
}
