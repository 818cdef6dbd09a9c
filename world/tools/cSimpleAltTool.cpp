#include "world/tools/cSimpleAltTool.h"

#include <algorithm>

#include "gamedata/Commander.h"
#include "gamedata/SimRandom.h"
#include "simulation/SoundPlayer.h"
#include "world/tools/BuildToolContext.h"

namespace {
constexpr int32_t kRoughenPicks = 7;
constexpr int32_t kDx[4] = {0, 0, -1, 1}, kDy[4] = {-1, 1, 0, 0};
}  // namespace

void cSimpleAltTool::Activate() {
    cDirtTool::Activate();
    if (iToolMarkers* m = GetBuildToolContext().markers; m != nullptr && mAltMarker == 0)
        mAltMarker = m->CreateMarker(kMarkerGuid, 0);
}

void cSimpleAltTool::Deactivate() {
    if (iToolMarkers* m = GetBuildToolContext().markers; m != nullptr && mAltMarker != 0) m->DeleteMarker(mAltMarker);
    mAltMarker = 0;
    cDirtTool::Deactivate();
}

void cSimpleAltTool::ReadKeys(tova::FinePoint fine) {
    mShift = ShiftDown();
    mCtrl = CtrlDown();
    mStep = mShift ? -mDirection : mDirection;
    if (iToolMarkers* m = GetBuildToolContext().markers; m != nullptr && mAltMarker != 0)
        m->SetVariant(mAltMarker, mStep <= 0 ? 1 : 0);
    SetViewCursor(0);
    const TileLocation t = World().ViewToWorld(TileLocation::FromFine(fine, 1));
    ShowMarkerAt(mAltMarker, t.x, t.y);
}

bool cSimpleAltTool::Inside(tova::FinePoint fine) const {
    return !World().IsOutsideLotBounds(TileLocation::FromFine(fine, 1));
}

void cSimpleAltTool::MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
    cDirtTool::MouseMove(fine, picked, event);
    ReadKeys(fine);
}

void cSimpleAltTool::MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
    cDirtTool::MouseDown(fine, picked, event);
    if (!Dragging() || !Inside(fine)) return;
    ReadKeys(fine);
    mCost = 0;
    ApplyStep(fine);
    mNextRepeat = Now() + kFirstRepeatMs;
}

void cSimpleAltTool::Drag(tova::FinePoint fine, int32_t, const ToolMouseEvent&) {
    if (!Dragging() || static_cast<int32_t>(Now() - mNextRepeat) < 0 || !Inside(fine)) return;
    LastDragPosition() = fine;
    ReadKeys(fine);
    ApplyStep(fine);
    mNextRepeat = Now() + kRepeatMs;
}

void cSimpleAltTool::MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
    HideMarker(mAltMarker);
    cDirtTool::MouseUp(fine, picked, event);
}

bool cSimpleAltTool::StepCorner(int32_t x, int32_t y, int32_t& cost) {
    const int32_t h = Height(x, y);
    const int32_t target = std::clamp(h + mStep, 0, kMaxHeight);
    if (target == h) return Refuse(mStep > 0 ? kMsgAtTop : kMsgAtBottom, x, y);
    if (!CornerCheck(x, y)) return false;
    SetHeight(x, y, target, cost);
    return Smooth(x, y, x, y, cost);
}

bool cSimpleAltTool::MoveToward(int32_t x, int32_t y, int32_t& cost) {
    int32_t sum = 0, count = 0;
    for (int32_t step = 0; step < 4; ++step) {
        const int32_t nx = x + kDx[step], ny = y + kDy[step];
        if (!CornerInside(nx, ny)) continue;
        sum += Height(nx, ny);
        ++count;
    }
    const int32_t h = Height(x, y);
    const int32_t average = count != 0 ? sum / count : h;
    const int32_t target = std::clamp(h + (average - h) / 2 + mStep, 0, kMaxHeight);
    if (target == h) return true;
    if (!CornerCheck(x, y)) return false;
    SetHeight(x, y, target, cost);
    // Smoothed at once, so no step ever leaves a slope steeper than 5.
    return Smooth(x, y, x, y, cost);
}

bool cSimpleAltTool::Roughen(int32_t x, int32_t y, int32_t& cost) {
    for (int32_t pick = 0; pick < kRoughenPicks; ++pick) {
        const int32_t px = x + tova::RandomSignedLow(4);
        const int32_t py = y + tova::RandomSignedLow(4);
        if (!CornerInside(px, py)) continue;
        for (int32_t step = 0; step < 4; ++step) {
            const int32_t nx = px + kDx[step], ny = py + kDy[step];
            if (CornerInside(nx, ny) && !MoveToward(nx, ny, cost)) return false;
        }
        if (!MoveToward(px, py, cost) || !MoveToward(px, py, cost)) return false;
    }
    return true;
}

void cSimpleAltTool::ApplyStep(tova::FinePoint fine) {
    const TileLocation tile = TileLocation::FromFine(fine, 1);
    const GridPoint c = ViewCornerToWorld(tile.x, tile.y);
    SnapshotAltitude();
    mCode = kMsgNone;
    int32_t cost = 0;
    bool ok = CornerInside(c.x, c.y) && (mCtrl ? Roughen(c.x, c.y, cost) : StepCorner(c.x, c.y, cost));
    if (ok && !CanAfford(cost)) ok = Refuse(kMsgNoMoney, c.x, c.y);
    if (ok) {
        AddPending(cost);
        BookPending();
        mCost += cost;
        MarkChangedTiles();
        tova::Broadcast(tova::cmd::kTerrainChanged, 0);
        tova::PlayUISound(mStep > 0 ? "Ui_terrain_raise" : "Ui_terrain_lower");
    } else {
        RestoreAltitude();
        PlayError();
    }
    UpdateMessage();
}
