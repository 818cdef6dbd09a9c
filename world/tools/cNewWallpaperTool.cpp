#include "world/tools/cNewWallpaperTool.h"

#include "framework/cRZKeyboard.h"
#include "simulation/SoundPlayer.h"
#include "simulation/XViewer.h"
#include "world/cFixedWorld.h"
#include "world/tools/PlacementMessage.h"
#include "world/undo/UndoManager.h"
#include "world/undo/iWallObjects.h"
#include "world/walls/WallManager.h"

cNewWallpaperTool::cNewWallpaperTool(ToolServices& services, UndoManager& undo) : cTool(services), mUndo(undo) {
    NewRecord();
    mUndo.AddLivePreview(this);
}

cNewWallpaperTool::~cNewWallpaperTool() {
    mUndo.RemoveLivePreview(this);
    if (mRecord != nullptr) mRecord->Release();
}

void cNewWallpaperTool::NewRecord() {
    if (mRecord != nullptr) mRecord->Release();
    mRecord = new WallpaperUndoable(*this);
    mRecord->AddRef();
    mRecord->SetWallpaper(mWallpaper);
}

void cNewWallpaperTool::SelectWallpaper(int32_t wallpaper) {
    mWallpaper = wallpaper == 255 ? 1 : wallpaper;
    mRecord->SetWallpaper(mWallpaper);
}

int32_t cNewWallpaperTool::ReadMode() const {
    return (ShiftDown() ? 2 : 0) | (CtrlDown() ? 1 : 0);
}

void cNewWallpaperTool::SetCursorMode() {
    if (mObjects != nullptr && mCursorMade) mObjects->SetCursorMode(2);
    SetViewCursor((mMode & 1) != 0 ? 6 : 0);
}

void cNewWallpaperTool::ShowMessage(int32_t code, int32_t value) {
    mError = code;
    ShowCursorText(PlacementMessageText(code, value));
}

bool cNewWallpaperTool::OnLot(tova::FinePoint fine) const {
    const cFixedWorld* world = Services().world;
    return world != nullptr && !world->IsOutsideLotBounds(TileLocation::FromFine(fine, GetViewLevel()));
}

cNewWallpaperTool::Face cNewWallpaperTool::FaceUnder(tova::FinePoint fine, const ToolMouseEvent& event) const {
    Face face;
    face.tile = TileLocation::FromFine(fine, GetViewLevel());
    const cFixedWorld* world = Services().world;
    if (world == nullptr) return face;
    const WallInfo info = world->GetWallInfoAtView(face.tile);
    if (info.Has(kWallSide2) && !info.Has(kWallSide1)) {
        face.side = kWallSide2;
    } else if (info.Has(kWallSide2) && info.Has(kWallSide1)) {
        // Both back sides: the one nearer the pointer on screen.
        int32_t ax = 0, ay = 0;
        if (XViewer* view = Services().view) view->WorldToScreen(face.tile.Corner(), ax, ay);
        face.side = ay < event.y ? kWallSide2 : kWallSide1;
    } else if (info.Has(kWallSide1)) {
        face.side = kWallSide1;
    } else if (info.Has(kWallDiag16)) {
        face.side = kWallDiag16;
    }
    return face;
}

void cNewWallpaperTool::MoveCursor(const Face& face, tova::FinePoint fine) {
    if (mObjects == nullptr || !mCursorMade) return;
    if (!mCursorShown || face.side == 0) {
        mObjects->HideCursor();
        return;
    }
    if (face.side == kWallDiag16) fine = {fine.x | 15, fine.y | 15};
    const cFixedWorld* world = Services().world;
    const int32_t rotation = world != nullptr ? world->GetRotation() : 0;
    const GridPoint w = RotateGridCoords(fine.x, fine.y, (-rotation) & 3, 1024);
    const int32_t f = face.side == kWallSide1 ? 3 : 0;
    const int32_t facing = ((((4 - rotation) & 3) + f) * 2 + 8) % 8;
    if (!mObjects->MoveCursor({w.x, w.y}, GetViewLevel(), facing)) mObjects->HideCursor();
}

bool cNewWallpaperTool::ApplyHere(const Face& face, tova::FinePoint fine, bool showRefusal) {
    if (mMode >= WallpaperUndoable::kPaintRoom) return mRecord->RoomApply(fine, GetViewLevel(), mMode);
    if (face.side == 0) return false;
    int32_t message = 0;
    if (!mRecord->CanPaint(face.tile, mMode, face.side, face.kind, message)) {
        if (showRefusal && message != 0) ShowMessage(message);
        return false;
    }
    mRecord->Apply(face.tile, mMode, face.side, face.kind);
    return true;
}

void cNewWallpaperTool::Activate() {
    cTool::Activate();
    if (mObjects != nullptr && !mCursorMade) {
        mCursorMade = mObjects->CreateCursor("Wall Cursor", GetViewLevel());
        if (mCursorMade) mObjects->SetCursorMode(2);
    }
    HideCursor();
    mNotDragging = 1;
}

void cNewWallpaperTool::Deactivate() {
    mNotDragging = 1;
    HideCursor();
    if (Services().world != nullptr) Services().world->GetWallManager().RequestRefresh(GetViewLevel());
}

void cNewWallpaperTool::HideCursor() {
    mCursorShown = 0;
    if (mObjects != nullptr && mCursorMade) mObjects->HideCursor();
    if (mNotDragging) mRecord->Reset();
    ShowMessage(0);
}

void cNewWallpaperTool::WithdrawPreview() {
    if (mRecord->Entries().empty()) return;
    mRecord->Reset();
    ShowMessage(0);
    if (Services().world != nullptr) Services().world->GetWallManager().RequestRefresh(GetViewLevel());
}

void cNewWallpaperTool::MouseMove(tova::FinePoint fine, int32_t, const ToolMouseEvent& event) {
    if (!OnLot(fine)) return;
    ShowMessage(0);
    mLastFine = fine;
    mLastEvent = event;
    mMode = ReadMode();
    SetCursorMode();
    const Face face = FaceUnder(fine, event);
    MoveCursor(face, fine);
    mRecord->Reset();
    if (mMode >= WallpaperUndoable::kPaintRoom) {
        if (!mRecord->RoomApply(fine, GetViewLevel(), mMode)) {
            mRecord->Reset();
            mRecord->SetBlocked();
        }
    } else {
        ApplyHere(face, fine, false);
    }
    if (Services().world != nullptr) Services().world->GetWallManager().RequestRefresh(GetViewLevel());
    if (GetPending() != 0) ShowMessage(kShowCost, GetPending());
}

void cNewWallpaperTool::MouseDown(tova::FinePoint fine, int32_t, const ToolMouseEvent& event) {
    if (!OnLot(fine)) return;
    mLastFine = fine;
    mLastEvent = event;
    mNotDragging = 0;
    DragOrigin() = fine;
    const Face face = FaceUnder(fine, event);
    mMode = ReadMode();
    MoveCursor(face, fine);
    if (face.side == 0) {
        ShowMessage(GetViewLevel() >= 2 ? kNoFaceUpstairs : kNoFace);
        PlayError();
        return;
    }
    ShowMessage(0);
    mRecord->Reset();
    const bool changed = ApplyHere(face, fine, true);
    if (changed && (mMode & 1) != 0) PlayDelete();
    if (mRecord->Entries().empty()) PlayError();
    else if ((mMode & 1) == 0) tova::PlayUISound("UI_bld_dragtool_mousedown");
}

void cNewWallpaperTool::Drag(tova::FinePoint fine, int32_t, const ToolMouseEvent& event) {
    if (mNotDragging) return;
    if (!OnLot(fine)) {
        tova::PlayUISound("UI_error");
        return;
    }
    const int32_t mode = ReadMode();
    mLastFine = fine;
    mLastEvent = event;
    if (mode != mMode) {
        mMode = mode;
        mRecord->Reset();
        SetCursorMode();
        return;
    }
    const Face face = FaceUnder(fine, event);
    MoveCursor(face, fine);
    // A stroke stopped by money changes nothing more.
    if (mRecord->Blocked()) return;
    mError = 0;
    if (ApplyHere(face, fine, true) && (mMode & 1) != 0) PlayDelete();
    if (Services().world != nullptr) Services().world->GetWallManager().RequestRefresh(GetViewLevel());
    if (mError == 0 && GetPending() != 0) ShowMessage(kShowCost, GetPending());
}

void cNewWallpaperTool::MouseUp(tova::FinePoint fine, int32_t, const ToolMouseEvent& event) {
    if (mNotDragging) return;
    const cFixedWorld* world = Services().world;
    if (OnLot(fine) && world != nullptr &&
        (world->GetTileFlags(TileLocation::At(fine.x >> 4, fine.y >> 4, 1)) & kTileOutsideArea) == 0 &&
        !mRecord->Blocked())
        ApplyHere(FaceUnder(fine, event), fine, false);
    if (!mRecord->Entries().empty()) {
        if (mRecord->Entries().size() > 1 && mMode == WallpaperUndoable::kPaint)
            tova::PlayUISound("UI_bld_dragtool_mouseup");
        mUndo.Push(mRecord);
        NewRecord();
    }
    mNotDragging = 1;
}

void cNewWallpaperTool::RerunLastEvent() {
    if (mNotDragging) MouseMove(mLastFine, 0, mLastEvent);
    else Drag(mLastFine, 0, mLastEvent);
}

bool cNewWallpaperTool::KeyDown(uint32_t key, uint32_t) {
    if (key != cRZKeyboard::kVKShift && key != cRZKeyboard::kVKControl) return false;
    RerunLastEvent();
    return true;
}

bool cNewWallpaperTool::KeyUp(uint32_t key, uint32_t) {
    if (key != cRZKeyboard::kVKShift && key != cRZKeyboard::kVKControl) return false;
    RerunLastEvent();
    return true;
}
