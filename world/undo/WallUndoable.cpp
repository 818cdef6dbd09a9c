#include "world/undo/WallUndoable.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "gamedata/CommandIds.h"
#include "gamedata/Commander.h"
#include "simulation/XViewer.h"
#include "world/cFixedWorld.h"
#include "world/tools/cTool.h"
#include "world/undo/ObjectUndoable.h"
#include "world/undo/iWallObjects.h"
#include "world/walls/WallManager.h"

int32_t FenceCovering(int32_t style) {
    switch (style) {
        case 2: return 248;
        case 12: return 249;
        case 13: return 250;
        case 14: return 251;
        default: return -1;
    }
}

bool IsWallObjectStyle(int32_t style) {
    return style == 3 || style == 5 || style == 6 || style == 15 || style == 22;
}

namespace {

constexpr int32_t kCells = kWorldCapacity * kWorldCapacity;

// The tile a wall step from a grid point in a direction belongs to.
WallPoint StepTile(WallPoint p, int32_t direction) {
    switch (direction) {
        case 0:
        case 6: return {p.x, p.y - 1, p.level};
        case 2:
        case 7: return {p.x - 1, p.y, p.level};
        case 4: return {p.x - 1, p.y - 1, p.level};
        default: return p;
    }
}

WallPoint Offset(WallPoint p, int32_t direction, int32_t n = 1) {
    return {p.x + DirectionOffsets[direction].dx * n, p.y + DirectionOffsets[direction].dy * n, p.level};
}

TileLocation Loc(WallPoint p) { return TileLocation::At(p.x, p.y, p.level); }

int32_t Sign(int32_t v) { return (v > 0) - (v < 0); }

// The no-wall and needs-wall bits of an object's wall flags, by side in its
// own frame.
int32_t NoWallBit(int32_t side) {
    switch (side) {
        case kWallSide1: return 0x800;
        case kWallSide8: return 0x400;
        case kWallSide2: return 0x100;
        case kWallSide4: return 0x200;
        default: return 0;
    }
}

int32_t NeedsWallBit(int32_t side) {
    switch (side) {
        case kWallSide1: return 8;
        case kWallSide8: return 4;
        case kWallSide2: return 1;
        case kWallSide4: return 2;
        default: return 0;
    }
}

}  // namespace

WallUndoable::WallUndoable(cTool& tool, iWallObjects* objects)
    : mSnapshot(kCells, WallCell{}), mTool(tool), mObjects(objects) {}

WallUndoable::~WallUndoable() = default;

cFixedWorld& WallUndoable::World() const { return *mTool.Services().world; }

int32_t WallUndoable::Price(int32_t style) const {
    const iWorldPrices* prices = World().Services().prices;
    return prices != nullptr ? prices->WallPrice(style) : 0;
}

bool WallUndoable::InsideUsable(WallPoint tile) const { return !World().IsOutsideLotBounds(Loc(tile)); }

bool WallUndoable::Buildable(WallPoint tile) const {
    // The usable area is marked on the ground storey's flags.
    return (World().GetTileFlags(TileLocation::At(tile.x, tile.y, 1)) & kTileOutsideArea) == 0;
}

WallInfo WallUndoable::InfoAt(WallPoint tile) const { return World().GetWallInfoAtView(Loc(tile)); }

void WallUndoable::Write(WallPoint tile, const WallInfo& info) {
    World().SetWallInfo(World().ViewToWorld(Loc(tile)), info);
    if (XViewer* view = mTool.Services().view) view->InvalidateTile(Loc(tile));
}

void WallUndoable::Begin() {
    if (mChanged) WithdrawLive();
    ClearLists();
    mCost = 0;
    mChanged = 0;
    mLengthX = mLengthY = 0;
    mRemoved = 0;
    if (mStart.level != 0) {
        if (const WallLayer* walls = World().Walls(mStart.level))
            for (int32_t x = 0; x < kWorldCapacity; ++x)
                for (int32_t y = 0; y < kWorldCapacity; ++y) mSnapshot[x * kWorldCapacity + y] = walls->At(x, y);
    }
}

void WallUndoable::Restart() {
    Begin();
    mEnd = mStart;
    mBlocked = 0;
    mError = 0;
    mDirection = kNoDirection;
}

void WallUndoable::SetStart(WallPoint point) {
    mStart = mLastValid = mStartCopy = point;
    mReferenceHeight = static_cast<uint8_t>(World().GetAltitudeCorners(Loc(point)) >> 8);
    Restart();
    mDeleteSoundsPlayed = 0;
    mError = 0;
}

// ---- direction and snapping ----

int32_t WallUndoable::ChooseDirection(WallPoint s, WallPoint e) {
    const int32_t dx = e.x - s.x, dy = e.y - s.y;
    const int32_t ax = std::abs(dx), ay = std::abs(dy);
    const int32_t hs = std::abs(dx - dy) / 2, ht = std::abs(dx + dy) / 2;
    if (dx == 0 && dy == 0) return kNoDirection;
    if (ax < ay && hs >= ax && ht >= ax) return dy >= 0 ? 1 : 0;
    if (ay < ax && hs >= ay && ht >= ay) return dx >= 0 ? 3 : 2;
    if (hs < ax && hs < ay && hs < ht) return dx + dy >= 0 ? 5 : 4;
    return dx - dy < 0 ? 7 : 6;
}

WallPoint WallUndoable::Snap(WallPoint s, WallPoint e, int32_t direction) {
    e.level = s.level;
    switch (direction) {
        case 0:
        case 1:
            e.x = s.x;
            if ((direction == 0 && e.y > s.y) || (direction == 1 && e.y < s.y)) e = s;
            break;
        case 2:
        case 3:
            e.y = s.y;
            if ((direction == 2 && e.x > s.x) || (direction == 3 && e.x < s.x)) e = s;
            break;
        case 4:
        case 5: {
            // The line keeps x - y; an odd distance first takes one step in x.
            int32_t k = (e.x - e.y) - (s.x - s.y);
            if (k % 2 != 0) {
                e.x -= Sign(k);
                k -= Sign(k);
            }
            e.x -= k / 2;
            e.y += k / 2;
            const int32_t sum = e.x + e.y, startSum = s.x + s.y;
            if ((direction == 5 && sum < startSum) || (direction == 4 && sum > startSum)) e = s;
            break;
        }
        case 6:
        case 7: {
            // The line keeps x + y.
            int32_t k = (e.x + e.y) - (s.x + s.y);
            if (k % 2 != 0) {
                e.x -= Sign(k);
                k -= Sign(k);
            }
            e.x -= k / 2;
            e.y -= k / 2;
            const int32_t diff = e.x - e.y, startDiff = s.x - s.y;
            if ((direction == 6 && diff < startDiff) || (direction == 7 && diff > startDiff)) e = s;
            break;
        }
        default: e = s; break;
    }
    return e;
}

// ---- the rules ----

bool WallUndoable::ObjectsBusy(WallPoint tile) const {
    if (mObjects == nullptr) return false;
    for (const WallObjectInfo& o : mObjects->ObjectsAt(World().ViewToWorld(Loc(tile))))
        if (o.person || o.inUse) return true;
    return false;
}

bool WallUndoable::CheckTile(WallPoint tile, int32_t side) {
    const bool diagonal = (side & kWallDiagonals) != 0 || side == 0;
    const WallPoint across = diagonal ? tile : [&] {
        const TileLocation t = StepAcrossSide(Loc(tile), side);
        return WallPoint{t.x, t.y, tile.level};
    }();
    if (!InsideUsable(tile) || !Buildable(tile) || !InsideUsable(across) || !Buildable(across)) {
        Fail(kWallErrorOffLot);
        return false;
    }
    if (ObjectsBusy(tile) || (!diagonal && ObjectsBusy(across))) {
        Fail(kWallErrorInTheWay);
        return false;
    }
    return true;
}

bool WallUndoable::FlatAt(WallPoint tile) const {
    const uint32_t c = World().GetAltitudeCorners(Loc(tile));
    for (int32_t i = 0; i < 4; ++i)
        if (((c >> (8 * i)) & 0xFF) != mReferenceHeight) return false;
    return true;
}

int32_t WallUndoable::SideInFrame(int32_t side, int32_t facing) const {
    const int32_t turns = ((((8 - facing) % 8 + 8) % 8) / 2 - World().GetRotation()) & 3;
    return static_cast<int32_t>(GetWallTables().sideRotation[turns][side & 63]);
}

bool WallUndoable::CheckDrawStep(WallPoint tile, int32_t side) {
    if (!CheckTile(tile, side)) return false;
    const bool diagonal = (side & kWallDiagonals) != 0;
    const bool fence = IsFenceWallStyle(mStyle);
    const TileLocation acrossLoc = diagonal ? Loc(tile) : StepAcrossSide(Loc(tile), side);
    const WallPoint across{acrossLoc.x, acrossLoc.y, tile.level};
    if (!fence && (!FlatAt(tile) || (!diagonal && !FlatAt(across)))) {
        Fail(kWallErrorUneven);
        return false;
    }
    if (!Buildable(tile)) return false;
    const WallInfo info = InfoAt(tile);
    if (!info.CanAddWall(side)) return false;

    // Support.
    if ((World().GetTileFlags(Loc(tile)) & kTileSupportsUpper) == 0 && !(fence && tile.level == 1)) {
        if (diagonal || (World().GetTileFlags(acrossLoc) & kTileSupportsUpper) == 0) {
            Fail(kWallErrorNoSupport);
            return false;
        }
    }

    // Objects against the wall, and pools.
    const cFixedWorld& world = World();
    if (!diagonal) {
        if (mObjects != nullptr) {
            for (const auto& [where, s] : {std::pair{tile, side}, std::pair{across, OppositeSide(side)}})
                for (const WallObjectInfo& o : mObjects->ObjectsAt(world.ViewToWorld(Loc(where))))
                    if (!o.person && (o.wallFlags & NoWallBit(SideInFrame(s, o.facing))) != 0) {
                        Fail(kWallErrorInTheWay);
                        return false;
                    }
        }
        if (world.HasPoolAtView(Loc(tile)) && world.HasPoolAtView(acrossLoc)) {
            Fail(kWallErrorPool);
            return false;
        }
    } else {
        if (mObjects != nullptr)
            for (const WallObjectInfo& o : mObjects->ObjectsAt(world.ViewToWorld(Loc(tile))))
                if (o.type != kObjectTypeUnderDiagonal) {
                    Fail(kWallErrorInTheWay);
                    return false;
                }
        if (world.HasPoolAtView(Loc(tile))) {
            Fail(kWallErrorPool);
            return false;
        }
    }

    // Free corners: a wall may not end at a corner that a neighbour's
    // diagonal leaves open, nor a diagonal cut through a wall's end.
    const auto holds = [&](int32_t dx, int32_t dy, int32_t bits) {
        const WallPoint n{tile.x + dx, tile.y + dy, tile.level};
        return InsideUsable(n) && (InfoAt(n).flags & bits) != 0;
    };
    bool refused = false;
    switch (side) {
        case kWallSide1:
            refused = holds(-1, -1, kWallDiag16) || holds(0, 1, kWallDiag16) || holds(0, -1, kWallDiag32) ||
                      holds(-1, 1, kWallDiag32);
            break;
        case kWallSide2:
            refused = holds(-1, -1, kWallDiag16) || holds(1, 0, kWallDiag16) || holds(-1, 0, kWallDiag32) ||
                      holds(1, -1, kWallDiag32);
            break;
        case kWallDiag16:
            refused = holds(-1, -1, kWallSide4 | kWallSide8) || holds(1, 1, kWallSide1 | kWallSide2);
            break;
        case kWallDiag32:
            refused = holds(-1, 1, kWallSide2 | kWallSide4) || holds(1, -1, kWallSide1 | kWallSide8);
            break;
        default: break;
    }
    if (refused) return false;

    // Money for a wall that is not there yet.
    if (!info.Has(side)) {
        if (!mTool.CanAfford(Price(mStyle))) {
            mBlocked = 1;
            return false;
        }
        mBlocked = 0;
    }
    return true;
}

bool WallUndoable::CheckEraseStep(WallPoint tile, int32_t side) {
    if (!InfoAt(tile).Has(side)) return false;
    if ((side & kWallDiagonals) != 0 || mObjects == nullptr) return true;
    const cFixedWorld& world = World();
    for (const WallObjectInfo& o : mObjects->ObjectsAt(world.ViewToWorld(Loc(tile)))) {
        if (o.type == kObjectTypeInWall) {
            if (!mObjects->AllowsWallRemoval(o.id)) {
                Fail(kWallErrorObjectRefuses);
                return false;
            }
        } else if (!o.person && (o.wallFlags & NeedsWallBit(SideInFrame(side, o.facing))) != 0) {
            Fail(kWallErrorInTheWay);
            return false;
        }
    }
    const TileLocation across = StepAcrossSide(Loc(tile), side);
    for (const WallObjectInfo& o : mObjects->ObjectsAt(world.ViewToWorld(across)))
        if (o.type != kObjectTypeInWall && !o.person &&
            (o.wallFlags & NeedsWallBit(SideInFrame(OppositeSide(side), o.facing))) != 0) {
            Fail(kWallErrorInTheWay);
            return false;
        }
    return true;
}

bool WallUndoable::RemoveWallObjects(WallPoint tile, int32_t side, int32_t& refund) {
    refund = 0;
    if (mObjects == nullptr) return false;
    for (const WallObjectInfo& o : mObjects->ObjectsAt(World().ViewToWorld(Loc(tile)))) {
        if (o.type != kObjectTypeInWall || (o.wallFlags & NeedsWallBit(SideInFrame(side, o.facing))) == 0) continue;
        refund = static_cast<int32_t>(std::lround(mObjects->GetSaleValue(o.id) * 0.8));
        // The wall's record books the refund; the object's own record only
        // puts the object back and takes it away again.
        auto* record = new ObjectUndoable(mObjects->UndoObjects(), o.id, ObjectUndoable::kRemoved, 0, &mTool);
        if (mMode == kErase) AddAfter(record);
        else AddBefore(record);
        mObjects->DeleteSelf(o.id);
        ++mRemoved;
        return true;
    }
    return false;
}

void WallUndoable::PlainInSnapshot(WallPoint tile, int32_t side) {
    // Undo brings back a plain wall, into which the object's own undo puts
    // the object back (and redo finds the plain wall the object leaves).
    const int32_t worldSide =
        static_cast<int32_t>(GetWallTables().sideRotation[(4 - World().GetRotation()) & 3][side]);
    TileLocation holder = World().ViewToWorld(Loc(tile));
    if (worldSide == kWallSide4) holder.x = static_cast<int8_t>(holder.x + 1);
    if (worldSide == kWallSide8) holder.y = static_cast<int8_t>(holder.y + 1);
    if (holder.x < 0 || holder.y < 0 || holder.x >= kWorldCapacity || holder.y >= kWorldCapacity) return;
    WallCell& cell = mSnapshot[holder.x * kWorldCapacity + holder.y];
    if (worldSide == kWallSide1 || worldSide == kWallSide4) cell.style1 = kWallStylePlain;
    else cell.style2 = kWallStylePlain;
}

void WallUndoable::ApplyStep(WallPoint tile, int32_t side) {
    WallInfo info = InfoAt(tile);
    const bool diagonal = (side & kWallDiagonals) != 0;
    int32_t delta = 0;
    bool changed = false, added = false;
    if (mMode == kDraw || mMode == kRectangle) {
        if (!info.Has(side)) {
            delta = Price(mStyle);
            info.flags |= side;
            if (diagonal) {
                info.style[0] = 0;
                info.pattern[0] = 0;
            }
            info.style[WallSideIndex(side)] = mStyle;
            info.SetPattern(side, 0, mWallpaper);
            if (mStyle == kWallStyleUnsettled && diagonal)
                for (int32_t kind : DiagonalFaceKinds(side)) info.SetPattern(side, kind, kWallStyleUnsettled);
            changed = added = true;
        } else if (IsWallObjectStyle(info.Style(side))) {
            int32_t refund = 0;
            if (RemoveWallObjects(tile, side, refund)) {
                PlainInSnapshot(tile, side);
                delta = -refund;
                ++mRemoved;
                info = InfoAt(tile);
                changed = true;
            }
        }
    } else if (info.Has(side)) {
        int32_t refund = 0;
        if (IsWallObjectStyle(info.Style(side)) && RemoveWallObjects(tile, side, refund)) {
            PlainInSnapshot(tile, side);
            info = InfoAt(tile);
        }
        if (diagonal && World().GetFloor(Loc(tile)) == 255)
            World().SetFloor(Loc(tile), static_cast<uint8_t>(info.pattern[0]));
        delta = -refund - static_cast<int32_t>(Price(info.Style(side)) * 0.8);
        info.flags &= ~side;
        ++mRemoved;
        changed = true;
    }
    if (!changed) return;
    mChanged = 1;
    mCost += delta;
    mTool.AddPending(delta);
    Write(tile, info);
    if (added && mStyle == kWallStyleUnsettled && !diagonal) {
        const TileLocation a = StepAcrossSide(Loc(tile), side);
        const WallPoint across{a.x, a.y, tile.level};
        WallInfo other = InfoAt(across);
        other.SetPattern(OppositeSide(side), 0, kWallStyleUnsettled);
        Write(across, other);
    }
}

bool WallUndoable::BuildRun(WallPoint from, WallPoint to, int32_t direction) {
    const int32_t side = WallDirectionToSide(direction);
    WallPoint tile = StepTile(from, direction);
    const WallPoint last = StepTile(to, direction);
    // A run never needs more steps than the grid is wide.
    for (int32_t guard = 0; !(tile == last) && guard < kWorldCapacity * 2; ++guard) {
        if (!(mMode == kErase ? CheckEraseStep(tile, side) : CheckDrawStep(tile, side))) return false;
        ApplyStep(tile, side);
        tile = Offset(tile, direction);
    }
    return tile == last;
}

bool WallUndoable::DragTo(WallPoint point) {
    if (mMode == kRectangle) return DragRectangle(point);
    if (mDirection == kNoDirection) {
        mDirection = ChooseDirection(mStart, point);
        if (mDirection == kNoDirection) {
            Restart();
            return true;
        }
    }
    point = Snap(mStart, point, mDirection);
    if (point == mStart) {
        Restart();
        return true;
    }
    Begin();
    if (BuildRun(mStart, point, mDirection)) {
        mEnd = mLastValid = point;
        mLengthX = std::abs(mStart.x - point.x);
        mLengthY = std::abs(mStart.y - point.y);
        if (mLengthX == mLengthY) mLengthX = 0;
        for (; mDeleteSoundsPlayed < mRemoved; ++mDeleteSoundsPlayed) mTool.PlayDelete();
        return true;
    }
    mTool.PlayError();
    // A blocked drag keeps the point it could not pay for, so building again
    // to its end stays blocked until the button goes up.
    mEnd = mBlocked ? point : mLastValid;
    return false;
}

bool WallUndoable::BuildRectangle(WallPoint p) {
    const WallPoint s = mStart;
    if (p.x == s.x || p.y == s.y) {
        const int32_t direction = ChooseDirection(s, p);
        return direction == kNoDirection || BuildRun(s, p, direction);
    }
    const int32_t alongX = p.x > s.x ? 3 : 2, alongY = p.y > s.y ? 1 : 0;
    const WallPoint c1{p.x, s.y, s.level}, c2{s.x, p.y, s.level};
    return BuildRun(s, c1, alongX) && BuildRun(c1, p, alongY) && BuildRun(p, c2, alongX ^ 1) &&
           BuildRun(c2, s, alongY ^ 1);
}

bool WallUndoable::DragRectangle(WallPoint point) {
    point.level = mStart.level;
    if (point == mStart) {
        Restart();
        return true;
    }
    if (point == mEnd) return true;
    Begin();
    if (BuildRectangle(point)) {
        mEnd = mLastValid = point;
        mLengthX = std::abs(mStart.x - point.x);
        mLengthY = std::abs(mStart.y - point.y);
        return true;
    }
    mTool.PlayError();
    const uint8_t blocked = mBlocked;
    Begin();
    mEnd = point;
    if (!(mLastValid == mStart)) BuildRectangle(mLastValid);
    mBlocked = blocked;
    return false;
}

// ---- settling ----

void SettleWallFaces(cFixedWorld& world, int32_t level, const std::function<void(TileLocation)>& touched) {
    const int32_t size = world.GetSize();
    for (int32_t x = 0; x < size; ++x)
        for (int32_t y = 0; y < size; ++y) {
            const TileLocation here = TileLocation::At(x, y, level);
            WallInfo info = world.GetWallInfo(here);
            bool changed = false;
            for (int32_t bit = 1; bit <= kWallDiag32; bit <<= 1) {
                if (!info.Has(bit)) continue;
                const int32_t index = WallSideIndex(bit);
                const int32_t g = FenceCovering(info.style[index]);
                const auto settle = [&](WallInfo& record, int32_t side, int32_t kind, int32_t styleIndex) {
                    bool c = false;
                    if (record.GetPattern(side, kind) == kWallStyleUnsettled) {
                        record.SetPattern(side, kind, 0);
                        record.style[styleIndex] = kWallStylePlain;
                        c = true;
                    }
                    if (g >= 0 && record.GetPattern(side, kind) != g) {
                        record.SetPattern(side, kind, g);
                        c = true;
                    }
                    return c;
                };
                if (bit & kWallDiagonals) {
                    for (int32_t kind : DiagonalFaceKinds(bit)) changed |= settle(info, bit, kind, index);
                    continue;
                }
                changed |= settle(info, bit, 0, index);
                const TileLocation n = StepAcrossSide(here, bit);
                if (!world.IsInsideGrid(n.x, n.y)) continue;
                WallInfo other = world.GetWallInfo(n);
                const int32_t opposite = OppositeSide(bit), oppositeIndex = WallSideIndex(opposite);
                bool theirs = settle(other, opposite, 0, oppositeIndex);
                // Both records carry the shared wall's style; they must
                // agree before either is written.
                if (info.style[index] == kWallStyleUnsettled || other.style[oppositeIndex] == kWallStyleUnsettled) {
                    if (info.style[index] == kWallStylePlain || other.style[oppositeIndex] == kWallStylePlain) {
                        info.style[index] = other.style[oppositeIndex] = kWallStylePlain;
                        changed = theirs = true;
                    }
                }
                if (theirs) {
                    world.SetWallInfo(n, other);
                    if (touched) touched(n);
                }
            }
            if (changed) {
                world.SetWallInfo(here, info);
                if (touched) touched(here);
            }
        }
}

void WallUndoable::SettleWallpapers() {
    cFixedWorld& world = World();
    SettleWallFaces(world, mStart.level, [&](TileLocation tile) {
        if (XViewer* view = mTool.Services().view) view->InvalidateTile(world.WorldToView(tile));
    });
    world.GetWallManager().SettleMirror();
}

// ---- undo and redo ----

int32_t WallUndoable::Exchange() {
    cFixedWorld& world = World();
    const int32_t level = mStart.level;
    WallLayer* walls = world.Walls(level);
    WallPostLayer* posts = world.WallPosts(level);
    if (walls == nullptr || posts == nullptr) return 0;
    const int32_t size = world.GetSize();
    for (int32_t x = 0; x < kWorldCapacity; ++x)
        for (int32_t y = 0; y < kWorldCapacity; ++y) {
            WallCell& saved = mSnapshot[x * kWorldCapacity + y];
            WallCell& now = walls->At(x, y);
            if (std::memcmp(&saved, &now, sizeof(WallCell)) == 0) continue;
            std::swap(saved, now);
            for (int32_t px = x; px <= x + 1; ++px)
                for (int32_t py = y; py <= y + 1; ++py)
                    if (posts->Contains(px, py)) posts->At(px, py) = ComputeWallPostMask(*walls, px, py, size);
            if (XViewer* view = mTool.Services().view)
                view->InvalidateTile(world.WorldToView(TileLocation::At(x, y, level)));
        }
    world.GetWallManager().RequestRebuild(level);
    return 0;
}

void WallUndoable::WithdrawLive() {
    // The undo below with the record still new: objects sold during the
    // attempt come back and the money of the attempt leaves the pending sum.
    Exchange();
    UndoBeforeList();
    UndoAfterList();
    mTool.SubPending(mCost);
}

void WallUndoable::BroadcastBuilt(int32_t level) {
    tova::Broadcast(tova::cmd::kBuildChanged, level);
    if (level == 1) tova::Broadcast(tova::cmd::kBuildChanged, 2);
}

int32_t WallUndoable::DoUndo() {
    if (GetState() == kNew && !mChanged) return 0;
    // Walls first, then the objects that stood in them go back in.
    Exchange();
    if (const int32_t r = UndoBeforeList(); r != 0) return r;
    if (const int32_t r = UndoAfterList(); r != 0) return r;
    mTool.SubPending(mCost);
    if (GetState() == kNew && !mBlocked) return 0;
    mTool.BookPending();
    BroadcastBuilt(mStart.level);
    tova::Broadcast(tova::cmd::kWallsChanged, 0);
    return 0;
}

int32_t WallUndoable::DoRedo() {
    if (GetState() == kNew && !mChanged) return 0;
    // The objects leave their walls first, so the exchange finds the plain
    // walls they leave behind.
    if (const int32_t r = RedoAfterList(); r != 0) return r;
    if (const int32_t r = RedoBeforeList(); r != 0) return r;
    Exchange();
    mTool.AddPending(mCost);
    if (GetState() == kNew) return 0;
    mTool.BookPending();
    BroadcastBuilt(mStart.level);
    tova::Broadcast(tova::cmd::kWallsChanged, 0);
    return 0;
}
