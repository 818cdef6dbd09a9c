#include "world/tools/cNewWallTool.h"

#include <cmath>
#include <numbers>

#include "framework/cRZKeyboard.h"
#include "gamedata/CommandIds.h"
#include "gamedata/Commander.h"
#include "simulation/SoundPlayer.h"
#include "simulation/XViewer.h"
#include "world/cFixedWorld.h"
#include "world/tools/PlacementMessage.h"
#include "world/undo/UndoManager.h"
#include "world/undo/iWallObjects.h"
#include "world/walls/WallManager.h"

namespace {

// Rounds a coordinate in sixteenths of a tile to the nearest grid line.
int32_t NearestLine(int32_t c) {
    const int32_t whole = c >> 4;  // floor for negative values too
    return (c & 15) >= 8 ? whole + 1 : whole;
}

// Cursor mode values by tool mode: draw, erase, rectangle.
constexpr int32_t kCursorModes[3] = {0, 1, 3};

}  // namespace

cNewWallTool::cNewWallTool(ToolServices& services, UndoManager& undo) : cTool(services), mUndo(undo) { NewRecord(); }

cNewWallTool::~cNewWallTool() {
    if (mRecord != nullptr) mRecord->Release();
}

void cNewWallTool::SetObjects(iWallObjects* objects) {
    mObjects = objects;
    NewRecord();
}

void cNewWallTool::NewRecord() {
    if (mRecord != nullptr) mRecord->Release();
    mRecord = new WallUndoable(*this, mObjects);
    mRecord->AddRef();
}

WallPoint cNewWallTool::PointerToPoint(tova::FinePoint fine) const {
    return {NearestLine(fine.x), NearestLine(fine.y), GetViewLevel()};
}

int32_t cNewWallTool::ReadMode() const {
    if (ShiftDown()) return WallUndoable::kRectangle;
    if (CtrlDown()) return WallUndoable::kErase;
    return WallUndoable::kDraw;
}

void cNewWallTool::SetCursorMode(int32_t mode) {
    if (mObjects != nullptr && mCursorMade) mObjects->SetCursorMode(kCursorModes[mode]);
    SetViewCursor(mode == WallUndoable::kErase ? 6 : 0);
}

bool cNewWallTool::MoveCursor(WallPoint p) {
    if (!mCursorShown) {
        if (mObjects != nullptr && mCursorMade) mObjects->HideCursor();
        return false;
    }
    if (p == mCursorPoint) return true;
    mCursorPoint = p;
    bool placed = false;
    if (mObjects != nullptr && mCursorMade) {
        // The corner's fine position, turned from the view into the world
        // over the lot's 1024 sixteenths.
        const cFixedWorld* world = Services().world;
        const int32_t turns = world != nullptr ? (-world->GetRotation()) & 3 : 0;
        const GridPoint w = RotateGridCoords(16 * p.x + 1, 16 * p.y + 1, turns, 1024);
        placed = mObjects->MoveCursor({w.x, w.y}, p.level, 0);
        if (!placed) mObjects->HideCursor();
    }
    if (placed && mRecord->Changed() && Services().world != nullptr)
        Services().world->GetWallManager().RequestRebuild(p.level);
    return placed;
}

void cNewWallTool::ShowMessage(int32_t code, int32_t value) {
    mMessage = code;
    ShowCursorText(PlacementMessageText(code, value));
}

void cNewWallTool::ErrorReport(int32_t code) {
    mRecord->SetError(code);
    ShowMessage(code);
    PlayError();
    mNotDragging = 1;
}

bool cNewWallTool::TileOnLot(tova::TileLocation viewTile) const {
    const cFixedWorld* world = Services().world;
    return world != nullptr && !world->IsOutsideLotBounds(viewTile) &&
           (world->GetTileFlags(tova::TileLocation::At(viewTile.x, viewTile.y, 1)) & kTileOutsideArea) == 0;
}

void cNewWallTool::Activate() {
    cTool::Activate();
    if (mObjects != nullptr && !mCursorMade) {
        mCursorMade = mObjects->CreateCursor("Wall Cursor", GetViewLevel());
        if (!mCursorMade) return;
    }
    SetCursorMode(mMode);
    MoveCursor({0, 0, GetViewLevel()});
}

void cNewWallTool::Deactivate() {
    if (mObjects != nullptr && mCursorMade) mObjects->DeleteCursor();
    mCursorMade = false;
    // A drag cut short takes its unpaid walls and their money away.
    if (!mNotDragging) {
        mRecord->Restart();
        mNotDragging = 1;
        if (Services().world != nullptr) Services().world->GetWallManager().RequestRebuild(GetViewLevel());
        tova::Broadcast(tova::cmd::kWallsChanged, 0);
    }
}

void cNewWallTool::HideCursor() {
    mCursorShown = 0;
    if (mObjects != nullptr && mCursorMade) mObjects->HideCursor();
    ShowMessage(0);
}

void cNewWallTool::SetParameter(int16_t value) {
    if (value > 0) SelectStyle(value);
}

void cNewWallTool::SelectStyle(int32_t style) {
    mStyle = style;
    switch (style) {
        case 1: mWallpaper = 255; break;
        case 12: mWallpaper = 249; break;
        case 13: mWallpaper = 250; break;
        case 14: mWallpaper = 251; break;
        default: mWallpaper = 248; break;
    }
}

void cNewWallTool::MouseMove(tova::FinePoint fine, int32_t, const ToolMouseEvent& event) {
    mLastFine = fine;
    mLastEvent = event;
    mMode = ReadMode();
    SetCursorMode(mMode);
    const WallPoint p = PointerToPoint(fine);
    if (mRecord->CheckTile(p, 0)) MoveCursor(p);
}

void cNewWallTool::MouseDown(tova::FinePoint fine, int32_t, const ToolMouseEvent& event) {
    cFixedWorld* world = Services().world;
    const int32_t level = GetViewLevel();
    const tova::TileLocation tile = tova::TileLocation::FromFine(fine, level);
    if (world == nullptr || !TileOnLot(tile)) {
        ErrorReport(kWallErrorOffLot);
        return;
    }
    mNotDragging = 0;
    mLastFine = fine;
    mLastEvent = event;
    const WallPoint p = PointerToPoint(fine);
    mMode = ReadMode();
    if (mRecord->CheckTile(p, 0)) {
        if (level >= 2 && mMode != WallUndoable::kErase) {
            int32_t unsupported = 0;
            for (const auto& [dx, dy] : {std::pair{0, 0}, std::pair{0, -1}, std::pair{-1, -1}, std::pair{-1, 0}}) {
                const tova::TileLocation t = tova::TileLocation::At(p.x + dx, p.y + dy, level);
                if (!TileOnLot(t) || (world->GetTileFlags(t) & kTileSupportsUpper) == 0) ++unsupported;
            }
            if (unsupported == 4) {
                ErrorReport(kWallErrorNoSupport);
                return;
            }
        }
        mRecord->SetStart(p);
        if (mStyle == kWallStylePlain) mRecord->SetStyle(kWallStyleUnsettled, kWallStyleUnsettled);
        else mRecord->SetStyle(mStyle, mWallpaper);
        mRecord->SetMode(mMode);
    } else {
        // A start refused on the ground storey, for erasing or on a
        // supported tile is no error of the player's: nothing starts.
        if (level == 1 || mMode == WallUndoable::kErase ||
            (world->GetTileFlags(tova::TileLocation::At(p.x, p.y, level)) & kTileSupportsUpper) != 0) {
            mNotDragging = 1;
            return;
        }
        ErrorReport(kWallErrorNoSupport);
        return;
    }
    SetCursorMode(mMode);
    mDragStart = p;
    MoveCursor(p);
    mDownX = event.x;
    mDownY = event.y;
    DragOrigin() = fine;
    if (mMode != WallUndoable::kErase) tova::PlayUISound("UI_bld_dragtool_mousedown");
}

int32_t cNewWallTool::StepDirection(int32_t dx, int32_t dy) {
    if (dy == 0) return dx > 0 ? 5 : dx < 0 ? 4 : -1;
    const double a = std::atan(static_cast<double>(dx) / dy) * 180.0 / std::numbers::pi;
    if (a > 67.5) return dx > 0 ? 5 : 4;
    if (a > 22.5) return dy < 0 ? 2 : 3;
    if (a > -22.5) return dy > 0 ? 6 : 7;
    if (a > -67.5) return dy > 0 ? 0 : 1;
    return dx > 0 ? 5 : 4;
}

void cNewWallTool::Drag(tova::FinePoint fine, int32_t, const ToolMouseEvent& event) {
    if (mNotDragging) return;
    const int32_t level = GetViewLevel();
    if (!TileOnLot(tova::TileLocation::FromFine(fine, level))) {
        mRecord->SetError(kWallErrorOffLot);
        ShowMessage(kWallErrorOffLot);
        return;
    }
    const int32_t mode = ReadMode();
    if (mode != mMode) {
        mMode = mode;
        mRecord->SetMode(mode);
        mRecord->Restart();
        SetCursorMode(mode);
    } else if (fine == mLastFine) {
        return;
    }
    mLastFine = fine;
    mLastEvent = event;

    // The screen size of a tile gives the threshold of a short drag.
    int32_t threshold = 0;
    if (XViewer* view = Services().view) {
        int32_t lx = 0, ly = 0, rx = 0, ry = 0, tx = 0, ty = 0, bx = 0, by = 0;
        view->WorldToScreen({0, 16}, lx, ly);
        view->WorldToScreen({16, 0}, rx, ry);
        view->WorldToScreen({0, 0}, tx, ty);
        view->WorldToScreen({16, 16}, bx, by);
        const int32_t w = std::abs(rx - lx), h = std::abs(by - ty);
        threshold = (w * w + h * h) / 4;
    }
    const int32_t sdx = event.x - mDownX, sdy = event.y - mDownY;
    const int32_t distance = sdx * sdx + sdy * sdy;
    mRecord->Restart();

    WallPoint e = PointerToPoint(fine);
    const WallPoint start = mRecord->Start();
    if (e == start && distance > threshold) {
        const int32_t d = StepDirection(sdx, sdy);
        if (d >= 0) e = {start.x + DirectionOffsets[d].dx, start.y + DirectionOffsets[d].dy, start.level};
    }
    if (!mRecord->CheckTile(e, 0)) e = mCursorPoint;
    const bool ok = mRecord->DragTo(e);
    MoveCursor(mRecord->End());
    if (ok) {
        if (Services().world != nullptr) Services().world->GetWallManager().RequestRebuild(level);
    } else {
        // Falling back to the start restarts the record; the refusal still
        // has to be shown.
        const int32_t error = mRecord->Error();
        mRecord->DragTo(mRecord->End());
        if (mRecord->Error() == 0) mRecord->SetError(error);
    }
    tova::Broadcast(tova::cmd::kWallsChanged, 0);
    if (mRecord->Error() != 0) ShowMessage(mRecord->Error());
    else if (mRecord->Blocked()) ShowMessage(25);
    else if (mRecord->Cost() != 0) ShowMessage(26, mRecord->Cost());
}

void cNewWallTool::MouseUp(tova::FinePoint, int32_t, const ToolMouseEvent&) {
    if (mNotDragging) return;
    if (mRecord->Blocked()) {
        mRecord->Restart();
    } else if (mRecord->Changed()) {
        if (mMode == WallUndoable::kErase) PlayDelete();
        else tova::PlayUISound("UI_bld_dragtool_mouseup");
        WallUndoable::BroadcastBuilt(GetViewLevel());
        mRecord->SettleWallpapers();
        mUndo.Push(mRecord);
        NewRecord();
    } else {
        mRecord->Begin();
    }
    mNotDragging = 1;
}

void cNewWallTool::RerunLastEvent() {
    if (mNotDragging) MouseMove(mLastFine, 0, mLastEvent);
    else Drag(mLastFine, 0, mLastEvent);
}

bool cNewWallTool::KeyDown(uint32_t key, uint32_t) {
    if (key != cRZKeyboard::kVKShift && key != cRZKeyboard::kVKControl) return false;
    RerunLastEvent();
    return true;
}

bool cNewWallTool::KeyUp(uint32_t key, uint32_t) {
    // Letting go of the key changes the mode back just as pressing it did.
    if (key != cRZKeyboard::kVKShift && key != cRZKeyboard::kVKControl) return false;
    RerunLastEvent();
    return true;
}

void cNewWallTool::Deselect() {
    HideCursor();
    mRecord->Restart();
    mNotDragging = 1;
    const int32_t level = GetViewLevel();
    if (Services().world != nullptr) Services().world->GetWallManager().RequestRebuild(level);
    if (GetPending() != 0) BookPending();
    tova::Broadcast(tova::cmd::kWallsChanged, 0);
    tova::Broadcast(tova::cmd::kBuildChanged, level);
    ShowMessage(0);
    mRecord->SetError(0);
}
