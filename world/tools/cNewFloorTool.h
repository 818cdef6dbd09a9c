// The floor tool: lays and removes floor patterns on one tile, a dragged
// rectangle or every tile of the room under the cursor, on the view's level.
// Changes go into the world at once (the hover shows a live preview) and
// are collected in one FloorUndoable pushed when the mouse goes up.
// Shift chooses the room, Ctrl removal.
#pragma once

#include <cstdint>

#include "world/tools/cTool.h"
#include "world/undo/UndoManager.h"

class FloorUndoable;
class cFixedWorld;

// The floor tests of one view tile on its level, shared with the move tool.
bool FloorCanLay(cFixedWorld& world, TileLocation viewTile);
bool FloorCanRemove(cFixedWorld& world, TileLocation viewTile);
// A pattern's price from the world's prices (0 for none).
int32_t FloorPatternPrice(const cFixedWorld& world, int32_t pattern);

class cNewFloorTool : public cTool, public iLivePreview {
public:
    enum SubMode : int32_t { kLayTiles = 0, kRemoveTiles = 1, kLayRoom = 2, kRemoveRoom = 3 };

    cNewFloorTool(ToolServices& services, UndoManager& undo);
    ~cNewFloorTool() override;

    void Activate() override;
    void Deactivate() override;
    void SetParameter(int16_t value) override { mPattern = static_cast<uint8_t>(value); }
    void Init() override { mPattern = 0; }
    void MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void Drag(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    // Shift and Ctrl make the preview follow the keys; nothing is handled.
    bool KeyDown(uint32_t key, uint32_t flags) override;
    bool KeyUp(uint32_t key, uint32_t flags) override;
    void Resume() override { mPreviewAllowed = true; }
    void Suspend() override;
    void Deselect() override { mPreviewAllowed = false; }
    bool ShowsStatusText() override { return mOutOfMoney; }
    int32_t PredicateB() override { return 1; }
    // Takes the unbooked tiles (the hover preview, or a drag not yet
    // pushed) off the lot before an undo or redo.
    void WithdrawPreview() override;

    // The tile tests, on a view tile of its level.
    bool CanLay(TileLocation viewTile) const;
    bool CanRemove(TileLocation viewTile) const;
    // Lays the pattern (0 removes) on one view tile into the record; the
    // fine point chooses the half of a tile split by a diagonal wall unless
    // whole. False when the tile refuses or the money does not reach.
    bool LayTile(FloorUndoable& record, TileLocation viewTile, uint8_t pattern, bool whole, tova::FinePoint fine);

    int32_t GetSubMode() const { return mSubMode; }
    uint8_t GetPattern() const { return mPattern; }
    bool PreviewApplied() const { return mPreviewApplied; }
    const FloorUndoable& Record() const { return *mRecord; }

private:
    void UpdateSubMode();
    void FreshRecord();
    void RevertPreview();
    // The action of the sub-mode at the point, into the current record.
    bool ApplyAt(tova::FinePoint fine);
    bool LayRect(tova::FinePoint from, tova::FinePoint to, uint8_t pattern);
    bool FillRoom(tova::FinePoint fine, uint8_t pattern);
    bool Inside(TileLocation viewTile) const;
    void BroadcastRooms();

    UndoManager& mUndo;
    FloorUndoable* mRecord = nullptr;
    uint8_t mPattern = 0;
    bool mPreviewApplied = false;
    bool mHoverPreview = true;
    bool mOutOfMoney = false;
    bool mRoomsChanged = false;
    bool mDragging = false;
    int32_t mSubMode = kLayTiles;
    tova::FinePoint mLast{};
    ToolMouseEvent mLastEvent{};
    bool mPreviewAllowed = true;
};
