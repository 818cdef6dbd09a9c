#include "world/tools/cNewFloorTool.h"

#include <algorithm>
#include <cmath>

#include "framework/cRZKeyboard.h"
#include "gamedata/Commander.h"
#include "gamedata/RoomManager.h"
#include "simulation/SoundPlayer.h"
#include "world/cFixedWorld.h"
#include "world/tools/BuildToolContext.h"
#include "world/tools/FloorHalves.h"
#include "world/undo/FloorUndoable.h"
#include "world/undo/UndoManager.h"

namespace {
constexpr uint16_t kSplitRoom = 0xFFFB;
constexpr uint8_t kHalfFloor = 255;

int32_t FloorPrice(const cFixedWorld& world, int32_t pattern) { return FloorPatternPrice(world, pattern); }
}  // namespace

int32_t FloorPatternPrice(const cFixedWorld& world, int32_t pattern) {
    const iWorldPrices* prices = world.Services().prices;
    return pattern == 0 || prices == nullptr ? 0 : prices->FloorPrice(pattern);
}

bool FloorCanLay(cFixedWorld& world, TileLocation viewTile) {
    const TileLocation t = world.ViewToWorld(viewTile);
    if (!GetBuildToolContext().buildAnywhere && (world.GetTileFlags(viewTile) & kTileOutsideArea)) return false;
    if (t.level == 1 && world.HasPool(t)) return false;
    const AltitudeCell& c = world.Altitude().At(t.x, t.y);
    if (c.corner[0] != c.corner[1] || c.corner[0] != c.corner[2] || c.corner[0] != c.corner[3]) return false;
    if ((world.GetTileFlags(viewTile) & kTileSupportsUpper) == 0) return false;
    return tool_objects::AllowsFloorUnder(t);
}

bool FloorCanRemove(cFixedWorld& world, TileLocation viewTile) {
    const TileLocation t = world.ViewToWorld(viewTile);
    if (!tool_objects::AllowsFloorRemoval(t)) return false;
    return t.level <= 1 || tool_objects::AllowsStandingWithoutFloor(t);
}

cNewFloorTool::cNewFloorTool(ToolServices& services, UndoManager& undo) : cTool(services), mUndo(undo) {
    FreshRecord();
    mUndo.AddLivePreview(this);
}

cNewFloorTool::~cNewFloorTool() {
    mUndo.RemoveLivePreview(this);
    if (mRecord != nullptr) mRecord->Release();
}

void cNewFloorTool::FreshRecord() {
    if (mRecord != nullptr) mRecord->Release();
    mRecord = new FloorUndoable(*Services().world, this);
    mRecord->AddRef();
}

void cNewFloorTool::Activate() {
    cTool::Activate();
    mHoverPreview = true;
    // Deselect forbids previews and nothing else allows them again, so a
    // tool made current allows them.
    mPreviewAllowed = true;
    SetViewCursor(0);
}

void cNewFloorTool::Deactivate() {
    // A drag cut short leaves nothing unpaid on the lot either.
    WithdrawPreview();
    mDragging = false;
    mHoverPreview = true;
    SetViewCursor(0);
}

void cNewFloorTool::Suspend() {
    mPreviewAllowed = false;
    RevertPreview();
    ShowCursorText("");
}

void cNewFloorTool::RevertPreview() {
    if (!mPreviewApplied) return;
    mRecord->Revert();
    mPreviewApplied = false;
}

void cNewFloorTool::WithdrawPreview() {
    if (mRecord->Count() != 0) mRecord->Revert();
    mPreviewApplied = false;
}

void cNewFloorTool::UpdateSubMode() {
    mSubMode = (ShiftDown() ? 2 : 0) | (CtrlDown() ? 1 : 0);
    SetViewCursor((mSubMode & 1) ? 6 : 0);
}

bool cNewFloorTool::Inside(TileLocation viewTile) const {
    const cFixedWorld& world = *Services().world;
    if (world.IsOutsideLotBounds(viewTile)) return false;
    return GetBuildToolContext().buildAnywhere || (world.GetTileFlags(viewTile) & kTileOutsideArea) == 0;
}

bool cNewFloorTool::CanLay(TileLocation viewTile) const { return FloorCanLay(*Services().world, viewTile); }

bool cNewFloorTool::CanRemove(TileLocation viewTile) const { return FloorCanRemove(*Services().world, viewTile); }

bool cNewFloorTool::LayTile(FloorUndoable& record, TileLocation viewTile, uint8_t pattern, bool whole,
                            tova::FinePoint fine) {
    cFixedWorld& world = *Services().world;
    if (!Inside(viewTile) || !CanLay(viewTile)) return false;
    const TileLocation t = world.ViewToWorld(viewTile);
    WallInfo info = world.GetWallInfo(t);
    const int32_t diagonal = info.flags & kWallDiagonals;
    if (diagonal != 0) {
        const int32_t half = floor_halves::HalfAt(diagonal, floor_halves::ViewToWorld(world, fine));
        const bool differs = floor_halves::Pattern(info, half) != pattern ||
                             (whole && floor_halves::Pattern(info, 1 - half) != pattern);
        if (differs) {
            int32_t cost = FloorPrice(world, pattern);
            if (!whole) cost /= 2;
            if (!CanAfford(cost)) {
                mOutOfMoney = true;
                return false;
            }
            mOutOfMoney = false;
            record.AddHalfTileChange(viewTile, cost);
            floor_halves::Pattern(info, half) = pattern;
            if (whole) floor_halves::Pattern(info, 1 - half) = pattern;
            world.SetWallInfo(t, info);
            world.SetFloor(viewTile, (info.pattern[0] != 0 || info.style[0] != 0) ? kHalfFloor : 0);
            RedrawTile(viewTile);
            AddPending(cost);
        }
        mRoomsChanged = true;
        return true;
    }
    const uint8_t old = world.GetFloor(viewTile);
    cPoolLayer& pool = *world.GetPoolLayer();
    const bool marked = t.level == 1 && pool.Contains(t.x, t.y) && pool.At(t.x, t.y) == kPoolMarkCell;
    if (pattern != old || (pattern == 0 && marked)) {
        const int32_t cost = pattern != 0 ? FloorPrice(world, pattern)
                                          : -static_cast<int32_t>(std::lround(0.8 * FloorPrice(world, old)));
        if (!CanAfford(cost)) {
            mOutOfMoney = true;
            return false;
        }
        mOutOfMoney = false;
        if (pattern != 0 ? !CanLay(viewTile) : !CanRemove(viewTile)) return false;
        record.AddTileChange(viewTile, cost);
        world.SetFloor(viewTile, pattern);
        if (marked) pool.At(t.x, t.y) = kNoPoolCell;
        RedrawTile(viewTile);
        AddPending(cost);
    }
    mRoomsChanged = true;
    return true;
}

bool cNewFloorTool::LayRect(tova::FinePoint from, tova::FinePoint to, uint8_t pattern) {
    const int32_t level = GetViewLevel();
    const TileLocation a = TileLocation::FromFine(from, level), b = TileLocation::FromFine(to, level);
    for (int32_t y = std::min(a.y, b.y); y <= std::max(a.y, b.y); ++y)
        for (int32_t x = std::min(a.x, b.x); x <= std::max(a.x, b.x); ++x) {
            const TileLocation tile = TileLocation::At(x, y, level);
            if (!LayTile(*mRecord, tile, pattern, true, tile.GetCenterPoint())) return false;
        }
    return true;
}

bool cNewFloorTool::FillRoom(tova::FinePoint fine, uint8_t pattern) {
    cFixedWorld& world = *Services().world;
    const int32_t level = GetViewLevel();
    const TileLocation viewTile = TileLocation::FromFine(fine, level);
    const TileLocation t = world.ViewToWorld(viewTile);
    tova::RoomManager* rooms = world.Services().rooms;
    uint16_t room = world.GetRoomId(viewTile);
    const int32_t diagonal = world.GetWallInfo(t).flags & kWallDiagonals;
    if (room == kSplitRoom || diagonal != 0) {
        int16_t roomA = 0, roomB = 0;
        int32_t sideA = 0, sideB = 0;
        if (diagonal != 0 && rooms != nullptr && rooms->GetSplitTile(t, roomA, roomB, sideA, sideB)) {
            const int32_t half = floor_halves::HalfAt(diagonal, floor_halves::ViewToWorld(world, fine));
            room = static_cast<uint16_t>(floor_halves::HalfOfSide(diagonal, sideA) == half ? roomA : roomB);
        } else if (room == kSplitRoom) {
            return false;
        }
    }
    // Room number 0 of a level is the space outside.
    if ((room & 0x3FF) == 0) return false;
    c2DArray<uint16_t>* layer = world.Rooms(level);
    if (layer == nullptr) return false;
    const int32_t size = world.GetSize();
    for (int32_t x = 0; x < size; ++x)
        for (int32_t y = 0; y < size; ++y) {
            const TileLocation worldTile = TileLocation::At(x, y, level);
            const TileLocation tile = world.WorldToView(worldTile);
            const uint16_t here = layer->At(x, y);
            if (here == room) {
                if (!LayTile(*mRecord, tile, pattern, true, tile.GetCenterPoint())) return false;
                continue;
            }
            if (here != kSplitRoom || rooms == nullptr) continue;
            int16_t roomA = 0, roomB = 0;
            int32_t sideA = 0, sideB = 0;
            if (!rooms->GetSplitTile(worldTile, roomA, roomB, sideA, sideB)) continue;
            const int32_t d = world.GetWallInfo(worldTile).flags & kWallDiagonals;
            for (const auto& [id, side] : {std::pair{roomA, sideA}, std::pair{roomB, sideB}}) {
                if (static_cast<uint16_t>(id) != room) continue;
                const tova::FinePoint p = floor_halves::WorldToView(
                    world, floor_halves::PointIn(worldTile, d, floor_halves::HalfOfSide(d, side)));
                if (!LayTile(*mRecord, tile, pattern, false, p)) return false;
            }
        }
    return true;
}

bool cNewFloorTool::ApplyAt(tova::FinePoint fine) {
    const uint8_t pattern = (mSubMode & 1) ? 0 : mPattern;
    if (mSubMode >= kLayRoom) return FillRoom(fine, pattern);
    const TileLocation tile = TileLocation::FromFine(fine, GetViewLevel());
    return LayTile(*mRecord, tile, pattern, false, fine);
}

void cNewFloorTool::MouseMove(tova::FinePoint fine, int32_t, const ToolMouseEvent& event) {
    mLast = fine;
    mLastEvent = event;
    if (!mHoverPreview) return;
    DragOrigin() = fine;
    const TileLocation tile = TileLocation::FromFine(fine, GetViewLevel());
    if (!Inside(tile)) {
        RevertPreview();
        return;
    }
    UpdateSubMode();
    RevertPreview();
    if (!mPreviewAllowed) return;
    if (ApplyAt(fine) && mRecord->Count() != 0) {
        mPreviewApplied = true;
    } else {
        mRecord->Revert();
        mPreviewApplied = false;
    }
}

void cNewFloorTool::MouseDown(tova::FinePoint fine, int32_t, const ToolMouseEvent& event) {
    mLast = fine;
    mLastEvent = event;
    DragOrigin() = fine;
    mHoverPreview = false;
    mDragging = true;
    const TileLocation tile = TileLocation::FromFine(fine, GetViewLevel());
    if (Services().world->IsOutsideLotBounds(tile)) return;
    UpdateSubMode();
    if ((mSubMode & 1) == 0) {
        if (mPreviewApplied && mRecord->Count() != 0)
            tova::PlayUISound("UI_bld_dragtool_mousedown");
        else
            PlayError();
    }
    RevertPreview();
}

void cNewFloorTool::Drag(tova::FinePoint fine, int32_t, const ToolMouseEvent& event) {
    mLast = fine;
    mLastEvent = event;
    if (!mDragging) return;
    LastDragPosition() = fine;
    const int32_t before = mSubMode;
    mSubMode = (ShiftDown() ? 2 : 0) | (CtrlDown() ? 1 : 0);
    if (mSubMode != before) SetViewCursor((mSubMode & 1) ? 6 : 0);
    mRecord->Revert();
    bool ok;
    if (mSubMode < kLayRoom) {
        const uint8_t pattern = (mSubMode & 1) ? 0 : mPattern;
        const TileLocation a = TileLocation::FromFine(DragOrigin(), GetViewLevel());
        const TileLocation b = TileLocation::FromFine(fine, GetViewLevel());
        ok = a == b ? LayTile(*mRecord, a, pattern, false, fine) : LayRect(DragOrigin(), fine, pattern);
    } else {
        ok = FillRoom(fine, (mSubMode & 1) ? 0 : mPattern);
    }
    if (!ok) mRecord->Revert();
}

void cNewFloorTool::MouseUp(tova::FinePoint fine, int32_t, const ToolMouseEvent& event) {
    mLast = fine;
    mLastEvent = event;
    RevertPreview();
    if (mDragging && mRecord->Count() != 0) {
        if (mRecord->Count() > 1 && mSubMode == kLayTiles) tova::PlayUISound("UI_bld_dragtool_mouseup");
        if (mSubMode & 1) PlayDelete();
        mRoomsChanged = true;
        mRecord->MarkDone();
        mUndo.Push(mRecord);
        FreshRecord();
    }
    mDragging = false;
    mHoverPreview = true;
    if (mRoomsChanged) BroadcastRooms();
}

void cNewFloorTool::BroadcastRooms() {
    mRoomsChanged = false;
    const int32_t level = GetViewLevel();
    tova::Broadcast(tova::cmd::kBuildChanged, level);
    if (level == 1) tova::Broadcast(tova::cmd::kBuildChanged, 2);
}

bool cNewFloorTool::KeyDown(uint32_t key, uint32_t) {
    if (key != cRZKeyboard::kVKShift && key != cRZKeyboard::kVKControl) return false;
    if (mDragging)
        Drag(mLast, 0, mLastEvent);
    else
        MouseMove(mLast, 0, mLastEvent);
    return false;
}

bool cNewFloorTool::KeyUp(uint32_t key, uint32_t flags) { return KeyDown(key, flags); }
