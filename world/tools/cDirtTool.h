// The base of the terrain tools: the working arrays they share (a snapshot
// of the heights and a byte of marks per corner), the gesture's cost, the
// message shown at the cursor with a marker object on the lot, and the
// gesture's undo record. Heights live on the corner points of the tiles
// (65 by 65 at most) and run from 0 to 64; a changed corner clears the
// grass of the tiles around it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/c2DArray.h"
#include "world/cFixedWorld.h"
#include "world/tools/cTool.h"

class TerrainUndoable;
class UndoManager;

class cDirtTool : public cTool {
public:
    // Message codes.
    enum : int32_t {
        kMsgNone = 0,
        kMsgCannotChange = 1,
        kMsgAtTop = 2,
        kMsgAtBottom = 3,
        kMsgGroupOutside = 5,
        kMsgNoMoney = 6,
        kMsgGroundOnly = 8,
    };
    static constexpr uint32_t kMarkerGuid = 0x2F39B7A6;
    static constexpr int32_t kMaxStep = 5;
    static constexpr int32_t kMaxHeight = 64;

    cDirtTool(ToolServices& services, UndoManager& undo);
    ~cDirtTool() override;

    void Activate() override;
    void Deactivate() override;
    void MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    // '1' to '9' send commands 154 to 162, 'h' 800 and 'o' 188.
    bool Char(uint32_t character, uint32_t flags, int32_t repeat) override;
    int32_t PredicateB() override { return 1; }
    bool HidesCostReadout() override { return true; }
    // A shortcut the view passes on: with any of the low 16 flag bits set
    // it goes to Char.
    bool ForwardShortcut(uint32_t character, uint32_t flags);

    int32_t GetMessageCode() const { return mCode; }
    TileLocation GetMessageTile() const { return mMessageTile; }
    int32_t GetGestureCost() const { return mCost; }
    bool Dragging() const { return mDragging; }

    // The texts of the message codes, entries 0 to 6 of string set 149 of
    // the interface texts; loaded by the first terrain tool made.
    static const std::vector<std::string>& MessageTexts();
    // The shared arrays while a terrain tool is active, else null.
    static c2DArray<AltitudeCell>* Scratch();
    static c2DArray<uint8_t>* MarkArray();

protected:
    cFixedWorld& World() const { return *Services().world; }
    int32_t Height(int32_t x, int32_t y) const { return World().Altitude().At(x, y).corner[1]; }
    bool CornerInside(int32_t x, int32_t y) const;
    // The corner point of a view tile (its corner byte 1) in world corner
    // coordinates.
    GridPoint ViewCornerToWorld(int32_t x, int32_t y) const;
    // Whether the corner may change; a refusing tile becomes the message
    // tile with code 1.
    bool CornerCheck(int32_t x, int32_t y);
    bool Refuse(int32_t code, int32_t x, int32_t y);
    // Moves a corner, counting the cost.
    void SetHeight(int32_t x, int32_t y, int32_t height, int32_t& cost);
    // Flattens the corners from (x0, y0) to (x1, y1) (any order) to the
    // height of the first; false with a message code when refused. The world
    // is changed either way: callers restore the scratch on refusal.
    bool LevelRect(int32_t sx, int32_t sy, int32_t ex, int32_t ey, int32_t& cost);
    // Brings the corners around the rectangle to within 5 of their
    // neighbours, outward from its edge.
    bool Smooth(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t& cost);
    void SnapshotAltitude();
    void RestoreAltitude();
    // Clears the grass around every corner that differs from the snapshot.
    void MarkChangedTiles();
    void UpdateMessage();
    void ShowMarkerAt(int32_t marker, int32_t x, int32_t y);
    void HideMarker(int32_t marker);
    void EndDrag();
    uint32_t Now() const;

    UndoManager& mUndo;
    int32_t mCost = 0;
    TileLocation mMessageTile{};
    int32_t mCode = 0;
    int32_t mShownCode = -1;
    uint32_t mMessageUntil = 0;
    TerrainUndoable* mRecord = nullptr;
    int32_t mMarker = 0;
    bool mDragging = false;
};
