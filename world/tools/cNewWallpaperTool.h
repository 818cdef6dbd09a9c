// The wallpaper tool: covers wall faces with the chosen wallpaper one face
// at a time by clicking and dragging (Shift: every face of a room at once);
// Ctrl strips wallpaper off again. Hovering previews the change live.
#pragma once

#include <cstdint>

#include "world/tools/cTool.h"
#include "world/undo/UndoManager.h"
#include "world/undo/WallpaperUndoable.h"

class iWallObjects;

class cNewWallpaperTool : public cTool, public iLivePreview {
public:
    enum Message : int32_t { kNoFace = 6, kNoFaceUpstairs = 34, kShowCost = 26 };

    cNewWallpaperTool(ToolServices& services, UndoManager& undo);
    ~cNewWallpaperTool() override;

    // The live objects that carry the wall cursor; none by default.
    void SetObjects(iWallObjects* objects) { mObjects = objects; }

    void Activate() override;
    // The preview, or a stroke not pushed yet, leaves the walls with the
    // tool: nothing unpaid stays painted.
    void Deactivate() override;
    void MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void Drag(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void SetParameter(int16_t value) override { SelectWallpaper(static_cast<uint8_t>(value)); }
    bool KeyDown(uint32_t key, uint32_t flags) override;
    bool KeyUp(uint32_t key, uint32_t flags) override;
    int32_t PredicateB() override { return 1; }
    void Deselect() override { HideCursor(); }
    // Takes the unbooked faces (the hover preview, or a stroke not yet
    // pushed) off the walls before an undo or redo.
    void WithdrawPreview() override;

    void SelectWallpaper(int32_t wallpaper);
    void ClearWallpaperChoice() { SelectWallpaper(1); }
    void ShowCursor() { mCursorShown = 1; }
    void HideCursor();
    bool IsBlocked() const { return mRecord != nullptr && mRecord->Blocked(); }

    int32_t Wallpaper() const { return mWallpaper; }
    int32_t Mode() const { return mMode; }
    int32_t MessageCode() const { return mError; }
    WallpaperUndoable& Record() { return *mRecord; }

    // The face under a pointer: its side (0 none) and the kind of a
    // diagonal's face (0 its default).
    struct Face {
        int32_t side = 0;
        int32_t kind = 0;
        TileLocation tile;
    };
    Face FaceUnder(tova::FinePoint fine, const ToolMouseEvent& event) const;

private:
    void NewRecord();
    int32_t ReadMode() const;
    void SetCursorMode();
    void MoveCursor(const Face& face, tova::FinePoint fine);
    // A room in the room modes, else the one face; false when refused.
    bool ApplyHere(const Face& face, tova::FinePoint fine, bool showRefusal);
    void ShowMessage(int32_t code, int32_t value = 0);
    bool OnLot(tova::FinePoint fine) const;
    void RerunLastEvent();

    iWallObjects* mObjects = nullptr;
    bool mCursorMade = false;
    WallpaperUndoable* mRecord = nullptr;
    UndoManager& mUndo;
    int32_t mWallpaper = 1;
    int32_t mMode = 0;
    tova::FinePoint mLastFine{};
    ToolMouseEvent mLastEvent;
    int32_t mError = 0;
    uint8_t mNotDragging = 1;
    uint8_t mCursorShown = 0;
};
