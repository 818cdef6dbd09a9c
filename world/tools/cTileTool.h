// The tile tool: paints the ground storey's usable-area mark tile by tile or
// as a rectangle, or changes the grass of the tiles dragged over. No cost,
// no undo.
#pragma once

#include <cstdint>

#include "world/tools/cTool.h"

class cTileTool : public cTool {
public:
    enum SubTool : int32_t { kAreaPainter = 0, kGrassPainter = 1 };
    enum State : int32_t { kIdle = 0, kHovering = 1, kPainting = 2, kPaintingRect = 3 };

    explicit cTileTool(ToolServices& services) : cTool(services) {}

    // Bits 0-3 choose the painter (other values only hover); the value
    // shifted right by 4 is the grass step.
    void SetParameter(int16_t value) override;
    void Activate() override;
    void Deactivate() override { mState = kIdle; }
    void MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    // Event flag 0x200 paints a rectangle from the pressed tile.
    void MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void Drag(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    // Event flag 1 cancels the gesture: the marks come back as they were.
    void MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;

    State GetState() const { return static_cast<State>(mState); }

private:
    int32_t SubToolOf() const { return mParameter & 15; }
    tova::TileLocation TileOf(tova::FinePoint fine) const;
    bool Inside(tova::TileLocation viewTile) const;
    void PaintMark(tova::TileLocation viewTile);
    void PaintGrass(tova::TileLocation viewTile);
    void TakeSnapshot();
    void RestoreSnapshot();

    int32_t mParameter = 0;
    tova::TileLocation mHovered{-1, -1, 1};
    tova::TileLocation mStart{};
    tova::TileLocation mCurrent{};
    int32_t mState = kIdle;
    int32_t mPaintValue = 0;
    bool mSnapshotTaken = false;
    uint8_t mSnapshot[64][64] = {};  // bit 0x20 of each ground-storey flag, by world tile
};
