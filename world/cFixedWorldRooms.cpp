// Room detection: the rooms layer of a storey is flood-filled between walls,
// each region becoming a numbered room; then the tiles reached from the lot's
// corner are marked outside and the level tiles that can carry building are
// marked supported.
#include <array>
#include <vector>

#include "gamedata/CommandIds.h"
#include "gamedata/RoomManager.h"
#include "world/cFixedWorld.h"
#include "world/walls/WallManager.h"

namespace {

// Rooms-layer markers; a cell below kSplitMarker holds a room number.
constexpr uint16_t kUnvisited = 0xFFFF;
constexpr uint16_t kWholeMarker = 0xFFFC;
constexpr uint16_t kSplitMarker = 0xFFFB;
// A level numbers at most this many rooms: the low 10 bits of an id.
constexpr int32_t kMaxRoomsPerLevel = 1024;

// The four side steps: 0 (0,-1), 1 (0,+1), 2 (-1,0), 3 (+1,0).
constexpr int32_t kStepX[4] = {0, 0, -1, 1};
constexpr int32_t kStepY[4] = {-1, 1, 0, 0};
constexpr int32_t kOpposite[4] = {1, 0, 3, 2};
// The wall side bit of a tile toward each step.
constexpr int32_t kSideBit[4] = {kWallSide2, kWallSide8, kWallSide1, kWallSide4};

// A diagonal divides a tile in two halves. Half 0 holds the side toward x-1:
// above-left of a 0x10 diagonal, below-left of a 0x20 one.
int32_t HalfHolding(int32_t diagonal, int32_t step) {
    if (step == 2) return 0;
    if (step == 3) return 1;
    if (diagonal & kWallDiag16) return step == 0 ? 0 : 1;
    return step == 1 ? 0 : 1;
}
bool HalfOpensTo(int32_t diagonal, int32_t half, int32_t step) { return HalfHolding(diagonal, step) == half; }
// The room manager's side numbers of the halves (its light lookup reads
// them): 4 above-left and 2 below-right of a 0x10 diagonal, 3 below-left
// and 1 above-right of a 0x20 one.
int32_t SplitSide(int32_t diagonal, int32_t half) {
    if (diagonal & kWallDiag16) return half == 0 ? 4 : 2;
    return half == 0 ? 3 : 1;
}

// Walls that close a room but let the outside pass: fences and the like.
bool ClosesOutside(int32_t style) { return style != 2 && style != 12 && style != 13 && style != 14; }

}  // namespace

int32_t cFixedWorld::RecomputeRooms(int32_t level) {
    for (int32_t l = 1; l <= 2; ++l) {
        if (level != 0 && level != l) continue;
        DetectRooms(l);
        MarkOutside(l);
        MarkSupport(l);
    }
    mWallManager->Rebuild(level);
    tova::Broadcast(tova::cmd::kRoomsRecomputed, level);
    return RecomputeRoofs();
}

void cFixedWorld::DetectRooms(int32_t level) {
    LevelLayers& layers = *Level(level);
    tova::RoomManager* manager = mServices.rooms;
    if (manager) manager->ClearRooms(level);
    if (level == 2) mUpperUsed = 0;
    c2DArray<uint16_t>& rooms = *layers.rooms;
    c2DArray<uint8_t>& flags = *layers.flags;
    c2DArray<uint8_t>& floors = *layers.floors;
    const WallLayer& walls = *layers.walls;
    rooms.FillCells(kUnvisited);
    for (int32_t x = 0; x < kWorldCapacity; ++x) {
        uint8_t* row = flags.Row(x);
        for (int32_t y = 0; y < kWorldCapacity; ++y) row[y] &= kTileKeptFlag | kTileOutsideArea;
    }

    // The owner of each half (whole tiles use half 0); -1 not reached yet,
    // -2 a region past the numbering cap.
    constexpr int32_t kFree = -1, kUnnumbered = -2;
    static thread_local std::array<std::array<std::array<int32_t, 2>, kWorldCapacity>, kWorldCapacity> owner;
    const int32_t n = mSize;
    // Only the lot's own tiles are ever reached.
    for (int32_t x = 0; x < n; ++x)
        for (int32_t y = 0; y < n; ++y) owner[x][y] = {kFree, kFree};

    auto diagonalOf = [&](int32_t x, int32_t y) { return walls.At(x, y).mask & kWallDiagonals; };
    auto hasPool = [&](int32_t x, int32_t y) { return level == 1 && mPool->At(x, y) < kPoolMark; };
    int32_t counter = 0;
    bool capLogged = false;
    struct Half {
        int32_t x, y, half;
    };
    std::vector<Half> stack;
    tova::RoomTiles tiles;

    auto fill = [&](int32_t sx, int32_t sy, int32_t sh) {
        int32_t id = kUnnumbered;
        if (counter < kMaxRoomsPerLevel) {
            id = static_cast<uint16_t>((level + 63) * 1024 + counter);
            ++counter;
        } else if (!capLogged) {
            capLogged = true;
            if (mServices.debugLog)
                mServices.debugLog("level " + std::to_string(level) + " has more than 1024 rooms; the rest stay unnumbered");
        }
        const bool floorKind = floors.At(sx, sy) != 0;
        const bool poolKind = hasPool(sx, sy);
        tiles.clear();
        auto claim = [&](int32_t x, int32_t y, int32_t half) {
            owner[x][y][half] = id;
            stack.push_back({x, y, half});
            const int32_t diagonal = diagonalOf(x, y);
            // A tile both of whose halves join the room is listed once.
            if (!diagonal || owner[x][y][1 - half] != id)
                tiles.push_back({static_cast<int8_t>(x), static_cast<int8_t>(y), static_cast<int8_t>(level)});
            if (diagonal && manager && id != kUnnumbered)
                manager->AddSplitTile(TileLocation::At(x, y, level), static_cast<int16_t>(id), SplitSide(diagonal, half));
        };
        claim(sx, sy, sh);
        while (!stack.empty()) {
            const Half h = stack.back();
            stack.pop_back();
            const int32_t diagonal = diagonalOf(h.x, h.y);
            for (int32_t step = 0; step < 4; ++step) {
                if (diagonal && !HalfOpensTo(diagonal, h.half, step)) continue;
                const int32_t nx = h.x + kStepX[step], ny = h.y + kStepY[step];
                if (nx < 0 || ny < 0 || nx >= n || ny >= n) continue;
                const WallCell& cell = walls.At(nx, ny);
                if (cell.mask & kSideBit[kOpposite[step]]) continue;
                if (level == 2 && (floors.At(nx, ny) != 0) != floorKind) continue;
                if (level == 1 && hasPool(nx, ny) != poolKind) continue;
                const int32_t nd = cell.mask & kWallDiagonals;
                const int32_t nh = nd ? HalfHolding(nd, kOpposite[step]) : 0;
                if (owner[nx][ny][nh] != kFree) continue;
                claim(nx, ny, nh);
            }
        }
        if (id != kUnnumbered && manager) manager->GetOrCreateRoom(static_cast<int16_t>(id)).AssignTiles(tiles);
    };

    // The whole-lot walks go along rows directly, their bounds settled once
    // per row.
    for (int32_t x = 0; x < n; ++x) {
        const uint16_t* objectRow = layers.objects->Row(x);
        const uint8_t* floorRow = floors.Row(x);
        const WallCell* wallRow = walls.Row(x);
        ComputeWallPostRow(walls, x, n, layers.posts->Row(x), n);
        for (int32_t y = 0; y < n; ++y) {
            if (level == 2 && (objectRow[y] != 0 || floorRow[y] != 0 || wallRow[y].mask != 0)) mUpperUsed = 1;
            const int32_t halves = (wallRow[y].mask & kWallDiagonals) ? 2 : 1;
            for (int32_t half = 0; half < halves; ++half)
                if (owner[x][y][half] == kFree) fill(x, y, half);
        }
    }

    for (int32_t x = 0; x < n; ++x) {
        const WallCell* wallRow = walls.Row(x);
        uint16_t* roomRow = rooms.Row(x);
        for (int32_t y = 0; y < n; ++y) {
            const int32_t a = owner[x][y][0];
            const int32_t b = (wallRow[y].mask & kWallDiagonals) ? owner[x][y][1] : a;
            uint16_t value = kWholeMarker;
            if (a != b) {
                value = kSplitMarker;
            } else if (a >= 0) {
                value = static_cast<uint16_t>(a);
            }
            roomRow[y] = value;
        }
    }
    mRoomCount[level - 1] = counter;
}

void cFixedWorld::MarkOutside(int32_t level) {
    LevelLayers& layers = *Level(level);
    c2DArray<uint8_t>& flags = *layers.flags;
    const int32_t n = mSize;
    struct Entry {
        int32_t x, y, from;  // from: the step that led here, -1 at the start
    };
    std::vector<Entry> stack{{0, 0, -1}};
    while (!stack.empty()) {
        const Entry e = stack.back();
        stack.pop_back();
        uint8_t& f = flags.At(e.x, e.y);
        if (f & kTileReachedOutside) continue;
        f |= kTileReachedOutside | kTileReachedOutside2;
        const WallInfo info = GetWallInfo(TileLocation::At(e.x, e.y, level));
        const int32_t diagonal = info.flags & kWallDiagonals;
        const bool split = diagonal && e.from >= 0 && ClosesOutside(info.style[WallSideIndex(diagonal & kWallDiag16 ? kWallDiag16 : kWallDiag32)]);
        int32_t half = 0;
        if (split) {
            half = HalfHolding(diagonal, kOpposite[e.from]);
            f |= (diagonal & kWallDiag16) ? kTileOutsideHalfA : kTileOutsideHalfB;
        }
        for (int32_t step = 0; step < 4; ++step) {
            if (split && !HalfOpensTo(diagonal, half, step)) continue;
            const int32_t nx = e.x + kStepX[step], ny = e.y + kStepY[step];
            if (nx < 0 || ny < 0 || nx >= n || ny >= n) continue;
            if (flags.At(nx, ny) & kTileReachedOutside) continue;
            const int32_t side = kSideBit[step];
            if (info.Has(side) && ClosesOutside(info.Style(side))) continue;
            stack.push_back({nx, ny, step});
        }
    }
}

void cFixedWorld::MarkSupport(int32_t level) {
    c2DArray<uint8_t>& flags = *Level(level)->flags;
    c2DArray<uint8_t>& lower = *mLevels[0].flags;
    c2DArray<uint8_t>& upperFloors = *mLevels[1].floors;
    const int32_t n = mSize;
    iHouseView* view = mWallManager->GetView();
    auto lowerOpen = [&](int32_t x, int32_t y, bool adjacent) {
        const uint8_t f = lower.At(x, y);
        return (f & kTileReachedOutside2) == 0 || (adjacent && (f & kTileKeptFlag) != 0);
    };
    for (int32_t x = 1; x < n - 1; ++x) {
        for (int32_t y = 1; y < n - 1; ++y) {
            const AltitudeCell& c = mAltitude->At(x, y);
            if (c.corner[0] != c.corner[1] || c.corner[0] != c.corner[2] || c.corner[0] != c.corner[3]) continue;
            bool supported = level == 1;
            if (level == 2) {
                const uint8_t below = lower.At(x, y);
                supported = (below & kTileReachedOutside2) == 0 || (below & kTileKeptFlag) != 0;
                if (!supported) {
                    bool floorBeside = false;
                    for (int32_t step = 0; step < 4; ++step) {
                        const int32_t nx = x + kStepX[step], ny = y + kStepY[step];
                        if (IsInsideGrid(nx, ny) && upperFloors.At(nx, ny) != 0) floorBeside = true;
                    }
                    bool held = false;
                    for (int32_t dx = -2; dx <= 2 && floorBeside && !held; ++dx) {
                        for (int32_t dy = -2; dy <= 2 && !held; ++dy) {
                            if ((dx == 0 && dy == 0) || !IsInsideGrid(x + dx, y + dy)) continue;
                            const bool adjacent = dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
                            held = lowerOpen(x + dx, y + dy, adjacent);
                        }
                    }
                    supported = floorBeside && held;
                }
            }
            if (!supported) continue;
            flags.At(x, y) |= kTileSupportsUpper;
            if (level == 2) mUpperSupported = 1;
            if (view) view->RedrawTile(WorldToView(TileLocation::At(x, y, level)));
        }
    }
}

int32_t cFixedWorld::RecomputeRoofs() {
    mLevels[1].roof->RecomputeRoof(*this, 2, nullptr);
    return mLevels[0].roof->RecomputeRoof(*this, 1, mLevels[1].roof.get());
}
