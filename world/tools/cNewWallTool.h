// The wall tool: draws, erases (Ctrl) and boxes (Shift) walls by dragging
// between grid points. It turns pointer events into points, keeps the 3D
// wall cursor on the point under the pointer, drives its current
// WallUndoable through the drag, shows placement messages and hands each
// finished drag to the undo manager.
#pragma once

#include <cstdint>

#include "world/tools/cTool.h"
#include "world/undo/WallUndoable.h"

class UndoManager;
class iWallObjects;

class cNewWallTool : public cTool {
public:
    cNewWallTool(ToolServices& services, UndoManager& undo);
    ~cNewWallTool() override;

    // The live objects (the wall cursor, objects against walls); none by
    // default. The current record takes them when it is made.
    void SetObjects(iWallObjects* objects);

    void Activate() override;
    void Deactivate() override;
    void MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void Drag(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    // The catalogue's wall style (0 keeps the current one).
    void SetParameter(int16_t value) override;
    // Shift and Ctrl run the last event again, so a drag restarts in the
    // new mode.
    bool KeyDown(uint32_t key, uint32_t flags) override;
    bool KeyUp(uint32_t key, uint32_t flags) override;
    int32_t PredicateB() override { return 1; }
    void Deselect() override;

    void SelectStyle(int32_t style);
    void ShowCursor() { mCursorShown = 1; }
    void HideCursor();
    bool IsBlocked() const { return mRecord != nullptr && mRecord->Blocked(); }

    int32_t Style() const { return mStyle; }
    int32_t Wallpaper() const { return mWallpaper; }
    int32_t Mode() const { return mMode; }
    bool Dragging() const { return mNotDragging == 0; }
    int32_t MessageCode() const { return mMessage; }
    WallUndoable& Record() { return *mRecord; }
    // A pointer position in sixteenths of a tile to the nearest grid point
    // on the view's level.
    WallPoint PointerToPoint(tova::FinePoint fine) const;
    // The one-step direction of a short drag from its screen movement, or
    // -1 for none.
    static int32_t StepDirection(int32_t dx, int32_t dy);

private:
    void NewRecord();
    int32_t ReadMode() const;
    void SetCursorMode(int32_t mode);
    bool MoveCursor(WallPoint point);
    void ErrorReport(int32_t code);
    void ShowMessage(int32_t code, int32_t value = 0);
    bool TileOnLot(tova::TileLocation viewTile) const;
    void RerunLastEvent();

    iWallObjects* mObjects = nullptr;
    bool mCursorMade = false;
    WallPoint mDragStart;
    WallPoint mCursorPoint;
    tova::FinePoint mLastFine{};
    ToolMouseEvent mLastEvent;
    int32_t mDownX = 0, mDownY = 0;
    WallUndoable* mRecord = nullptr;
    int32_t mStyle = 1;
    int32_t mWallpaper = 1;
    UndoManager& mUndo;
    int32_t mMode = 0;
    uint8_t mNotDragging = 1;
    uint8_t mCursorShown = 0;
    int32_t mMessage = 0;
};
