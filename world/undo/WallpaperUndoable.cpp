#include "world/undo/WallpaperUndoable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <utility>

#include "simulation/XViewer.h"
#include "world/cFixedWorld.h"
#include "world/tools/cTool.h"
#include "world/walls/WallManager.h"

namespace {

// The four side steps: (0,-1), (0,+1), (-1,0), (+1,0), the wall side toward
// each and the step back.
constexpr int32_t kSideStepX[4] = {0, 0, -1, 1};
constexpr int32_t kSideStepY[4] = {-1, 1, 0, 0};
constexpr int32_t kStepSide[4] = {kWallSide2, kWallSide8, kWallSide1, kWallSide4};
constexpr int32_t kSideOpposite[4] = {1, 0, 3, 2};

// A diagonal splits its tile in two halves; half 0 holds the side toward
// x-1 (above-left of diagonal 16, below-left of diagonal 32).
int32_t HalfHoldingSide(int32_t diagonal, int32_t step) {
    if (step == 2) return 0;
    if (step == 3) return 1;
    if (diagonal & kWallDiag16) return step == 0 ? 0 : 1;
    return step == 1 ? 0 : 1;
}

// The face kind of a diagonal that looks into a half.
int32_t KindFacing(int32_t diagonal, int32_t half) {
    if (diagonal & kWallDiag16) return half == 0 ? 4 : 2;
    return half == 0 ? 3 : 1;
}

}  // namespace

cFixedWorld& WallpaperUndoable::World() const { return *mTool.Services().world; }

int32_t WallpaperUndoable::Price(int32_t wallpaper) const {
    const iWorldPrices* prices = World().Services().prices;
    return prices != nullptr ? prices->WallpaperPrice(wallpaper) : 0;
}

void WallpaperUndoable::Remember(TileLocation viewTile, int32_t cost) {
    const TileLocation tile = World().ViewToWorld(viewTile);
    for (Entry& e : mEntries)
        if (e.tile.x == tile.x && e.tile.y == tile.y && e.tile.level == tile.level) {
            e.cost += cost;
            return;
        }
    mEntries.push_back(Entry{tile, World().GetWallInfo(tile), cost});
}

void WallpaperUndoable::Reset() {
    Exchange(true);
    mEntries.clear();
    mBlocked = 0;
    mPickState = 8;
}

bool WallpaperUndoable::CanPaint(TileLocation viewTile, int32_t mode, int32_t side, int32_t kind, int32_t& message) {
    cFixedWorld& world = World();
    if (world.IsOutsideLotBounds(viewTile) ||
        (world.GetTileFlags(TileLocation::At(viewTile.x, viewTile.y, 1)) & kTileOutsideArea) != 0)
        return false;
    const WallInfo info = world.GetWallInfoAtView(viewTile);
    if (!info.Has(side)) return false;
    const int32_t target = Target(mode);
    if (info.GetPattern(side, kind) == target) return false;
    if (IsFenceWallStyle(info.Style(side))) {
        message = kMessageFence;
        return false;
    }
    // Stripping a room is tested too: a refund is always affordable.
    if (mode != kStrip && !mTool.CanAfford(Price(target))) {
        mBlocked = 1;
        return false;
    }
    return true;
}

void WallpaperUndoable::Apply(TileLocation viewTile, int32_t mode, int32_t side, int32_t kind) {
    cFixedWorld& world = World();
    WallInfo info = world.GetWallInfoAtView(viewTile);
    const int32_t target = Target(mode), old = info.GetPattern(side, kind);
    if (old == target) return;
    const bool painting = mode == kPaint || mode == kPaintRoom;
    const int32_t cost = painting ? Price(target) : -static_cast<int32_t>(std::lround(Price(old) * 0.8));
    Remember(viewTile, cost);
    info.SetPattern(side, kind, target);
    world.SetWallInfo(world.ViewToWorld(viewTile), info);
    if (XViewer* view = mTool.Services().view) view->InvalidateTile(viewTile);
    mTool.AddPending(cost);
}

bool WallpaperUndoable::RoomApply(tova::FinePoint pointer, int32_t level, int32_t mode) {
    cFixedWorld& world = World();
    const int32_t size = world.GetSize();
    const auto onGrid = [&](int32_t x, int32_t y) {
        if (x < 0 || y < 0 || x >= kWorldCapacity || y >= kWorldCapacity) return false;
        const TileLocation w = world.ViewToWorld(TileLocation::At(x, y, level));
        return w.x >= 0 && w.y >= 0 && w.x < size && w.y < size;
    };
    const int32_t sx = pointer.x >> 4, sy = pointer.y >> 4;
    if (!onGrid(sx, sy)) return true;
    // The half under the pointer of a split tile.
    const int32_t startDiagonal = world.GetWallInfoAtView(TileLocation::At(sx, sy, level)).flags & kWallDiagonals;
    const int32_t fx = pointer.x & 15, fy = pointer.y & 15;
    int32_t startHalf = 0;
    if (startDiagonal & kWallDiag16) startHalf = fx + fy < 16 ? 0 : 1;
    else if (startDiagonal & kWallDiag32) startHalf = fx < fy ? 0 : 1;

    // The room: every tile half reached from there without crossing a wall.
    static thread_local std::array<std::array<std::array<bool, 2>, kWorldCapacity>, kWorldCapacity> seen;
    for (auto& column : seen)
        for (auto& halves : column) halves = {false, false};
    struct Half {
        int32_t x, y, half;
    };
    std::vector<Half> stack{{sx, sy, startHalf}}, room;
    seen[sx][sy][startHalf] = true;
    while (!stack.empty()) {
        const Half h = stack.back();
        stack.pop_back();
        room.push_back(h);
        const WallInfo info = world.GetWallInfoAtView(TileLocation::At(h.x, h.y, level));
        const int32_t diagonal = info.flags & kWallDiagonals;
        for (int32_t step = 0; step < 4; ++step) {
            if (diagonal && HalfHoldingSide(diagonal, step) != h.half) continue;
            if (info.Has(kStepSide[step])) continue;
            const int32_t nx = h.x + kSideStepX[step], ny = h.y + kSideStepY[step];
            if (!onGrid(nx, ny)) continue;
            const int32_t nd = world.GetWallInfoAtView(TileLocation::At(nx, ny, level)).flags & kWallDiagonals;
            const int32_t nh = nd ? HalfHoldingSide(nd, kSideOpposite[step]) : 0;
            if (seen[nx][ny][nh]) continue;
            seen[nx][ny][nh] = true;
            stack.push_back({nx, ny, nh});
        }
    }

    // Each face that looks into the room, tile by tile in grid order.
    std::sort(room.begin(), room.end(), [](const Half& a, const Half& b) {
        return std::tie(a.x, a.y, a.half) < std::tie(b.x, b.y, b.half);
    });
    for (const Half& h : room) {
        const TileLocation tile = TileLocation::At(h.x, h.y, level);
        const WallInfo info = world.GetWallInfoAtView(tile);
        if (info.flags == 0) continue;
        for (int32_t bit = 1; bit <= kWallDiag32; bit <<= 1) {
            if (!info.Has(bit)) continue;
            const int32_t kind = (bit & kWallDiagonals) ? KindFacing(bit, h.half) : 0;
            int32_t message = 0;
            if (CanPaint(tile, mode, bit, kind, message)) Apply(tile, mode, bit, kind);
            else if (mBlocked) return false;
        }
    }
    return true;
}

void WallpaperUndoable::Exchange(bool undo) {
    cFixedWorld& world = World();
    const auto swapOne = [&](Entry& e) {
        const WallInfo now = world.GetWallInfo(e.tile);
        world.SetWallInfo(e.tile, e.before);
        e.before = now;
        if (XViewer* view = mTool.Services().view) view->InvalidateTile(world.WorldToView(e.tile));
        if (undo) mTool.SubPending(e.cost);
        else mTool.AddPending(e.cost);
    };
    if (undo)
        for (auto it = mEntries.rbegin(); it != mEntries.rend(); ++it) swapOne(*it);
    else
        for (Entry& e : mEntries) swapOne(e);
}

int32_t WallpaperUndoable::DoUndo() {
    Exchange(true);
    if (GetState() != kNew) mTool.BookPending();
    World().GetWallManager().RequestRefresh(0);
    return 0;
}

int32_t WallpaperUndoable::DoRedo() {
    Exchange(false);
    if (GetState() != kNew) mTool.BookPending();
    World().GetWallManager().RequestRefresh(0);
    return 0;
}
