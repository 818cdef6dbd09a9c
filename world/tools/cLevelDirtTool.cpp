#include "world/tools/cLevelDirtTool.h"

#include <algorithm>

#include "gamedata/Commander.h"
#include "simulation/SoundPlayer.h"
#include "world/tools/BuildToolContext.h"
#include "world/undo/TerrainUndoable.h"

namespace {
constexpr uint32_t kEscape = 27;
constexpr uint8_t kAccepted = 1, kRefused = 2;
}  // namespace

void cLevelDirtTool::Activate() {
    cDirtTool::Activate();
    SetViewCursor(0);
    mCost = 0;
    if (iToolMarkers* m = GetBuildToolContext().markers) {
        if (mCornerMarkers[0] == 0) mCornerMarkers[0] = m->CreateMarker(kMarkerGuid, 3);
        if (mCornerMarkers[1] == 0) mCornerMarkers[1] = m->CreateMarker(kMarkerGuid, 4);
    }
}

void cLevelDirtTool::Deactivate() {
    if (iToolMarkers* m = GetBuildToolContext().markers)
        for (int32_t& id : mCornerMarkers)
            if (id != 0) m->DeleteMarker(id);
    mCornerMarkers[0] = mCornerMarkers[1] = 0;
    ClearRectMarks();
    // A drag only tried the levelling: its cost was never paid, so the
    // gesture ends with nothing to record.
    if (Dragging()) mCost = 0;
    cDirtTool::Deactivate();
}

void cLevelDirtTool::ClearRectMarks() {
    if (c2DArray<uint8_t>* marks = MarkArray()) {
        for (int32_t x = 0; x < kWorldCapacity; ++x)
            for (int32_t y = 0; y < kWorldCapacity; ++y) marks->At(x, y) &= static_cast<uint8_t>(~3);
    }
}

void cLevelDirtTool::MarkRect(const Corners& c, uint8_t bits) {
    ClearRectMarks();
    c2DArray<uint8_t>* marks = MarkArray();
    if (marks == nullptr) return;
    for (int32_t x = std::min(c.start.x, c.end.x); x < std::max(c.start.x, c.end.x); ++x)
        for (int32_t y = std::min(c.start.y, c.end.y); y < std::max(c.start.y, c.end.y); ++y)
            if (x < kWorldCapacity && y < kWorldCapacity) marks->At(x, y) |= bits;
}

cLevelDirtTool::Corners cLevelDirtTool::CornersTo(tova::FinePoint fine) const {
    const TileLocation o = TileLocation::FromFine(DragOrigin(), 1), c = TileLocation::FromFine(fine, 1);
    // The start is the origin tile's corner facing away from the current
    // tile; the end the current tile's far corner.
    const int32_t sx = o.x + (c.x < o.x ? 1 : 0), sy = o.y + (c.y < o.y ? 1 : 0);
    const int32_t ex = c.x + (c.x < o.x ? 0 : 1), ey = c.y + (c.y < o.y ? 0 : 1);
    return {ViewCornerToWorld(sx, sy), ViewCornerToWorld(ex, ey)};
}

bool cLevelDirtTool::Level(const Corners& c, int32_t& cost) {
    mCode = kMsgNone;
    cost = 0;
    SnapshotAltitude();
    bool ok = LevelRect(c.start.x, c.start.y, c.end.x, c.end.y, cost);
    if (ok && !CanAfford(cost)) ok = Refuse(kMsgNoMoney, c.end.x, c.end.y);
    return ok;
}

void cLevelDirtTool::PlaceCornerMarkers(const Corners& c) {
    ShowMarkerAt(mCornerMarkers[0], c.start.x, c.start.y);
    ShowMarkerAt(mCornerMarkers[1], c.end.x, c.end.y);
}

void cLevelDirtTool::HideCornerMarkers() {
    HideMarker(mCornerMarkers[0]);
    HideMarker(mCornerMarkers[1]);
}

void cLevelDirtTool::MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
    cDirtTool::MouseMove(fine, picked, event);
    if (Dragging()) return;
    ClearRectMarks();
    const TileLocation t = World().ViewToWorld(TileLocation::FromFine(fine, 1));
    if (c2DArray<uint8_t>* marks = MarkArray(); marks != nullptr && World().IsInsideGrid(t.x, t.y))
        marks->At(t.x, t.y) |= kAccepted;
}

void cLevelDirtTool::MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
    if (World().IsOutsideLotBounds(TileLocation::FromFine(fine, 1))) return;
    cDirtTool::MouseDown(fine, picked, event);
    if (!Dragging()) return;
    PlaceCornerMarkers(CornersTo(fine));
    Drag(fine, picked, event);
}

void cLevelDirtTool::Drag(tova::FinePoint fine, int32_t, const ToolMouseEvent&) {
    if (!Dragging() || fine == LastDragPosition()) return;
    if (World().IsOutsideLotBounds(TileLocation::FromFine(fine, 1))) return;
    LastDragPosition() = fine;
    const Corners c = CornersTo(fine);
    PlaceCornerMarkers(c);
    int32_t cost = 0;
    const bool ok = Level(c, cost);
    MarkRect(c, ok ? kAccepted : kRefused);
    mCost = ok ? cost : 0;
    UpdateMessage();
    // Only a trial: the world goes back as it was.
    RestoreAltitude();
}

void cLevelDirtTool::MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
    if (Dragging()) {
        const TileLocation here = TileLocation::FromFine(fine, 1);
        const Corners c = CornersTo(World().IsOutsideLotBounds(here) ? LastDragPosition() : fine);
        int32_t cost = 0;
        if (Level(c, cost)) {
            AddPending(cost);
            BookPending();
            mCost = cost;
            MarkChangedTiles();
            tova::Broadcast(tova::cmd::kTerrainChanged, 0);
            tova::PlayUISound("Ui_terrain_level");
        } else {
            mCost = 0;
            RestoreAltitude();
            PlayError();
        }
        HideCornerMarkers();
        ClearRectMarks();
    }
    cDirtTool::MouseUp(fine, picked, event);
    UpdateMessage();
}

bool cLevelDirtTool::KeyDown(uint32_t key, uint32_t flags) {
    if (key != kEscape) return cDirtTool::KeyDown(key, flags);
    ClearRectMarks();
    SubPending(GetPending());
    mCost = 0;
    mCode = kMsgNone;
    mShownCode = -1;
    if (mRecord != nullptr) {
        mRecord->Release();
        mRecord = nullptr;
    }
    EndDrag();
    HideCornerMarkers();
    ShowCursorText("");
    return true;
}
