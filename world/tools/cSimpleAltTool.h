// The raise and lower tools: while the button is held the corner under the
// cursor moves one unit up (or down) at once, again after 400 ms and then
// every 100 ms; Shift turns the direction round and Ctrl roughens the
// ground around the point instead.
#pragma once

#include "world/tools/cDirtTool.h"

class cSimpleAltTool : public cDirtTool {
public:
    static constexpr uint32_t kFirstRepeatMs = 400;
    static constexpr uint32_t kRepeatMs = 100;

    cSimpleAltTool(ToolServices& services, UndoManager& undo, int32_t direction)
        : cDirtTool(services, undo), mDirection(direction), mStep(direction) {}

    // The tool acts on a timer while the mouse stands still.
    int32_t WantsEveryDrag() override { return 1; }
    void Activate() override;
    void Deactivate() override;
    void MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void Drag(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;

    int32_t GetDirection() const { return mDirection; }

private:
    void ReadKeys(tova::FinePoint fine);
    bool Inside(tova::FinePoint fine) const;
    void ApplyStep(tova::FinePoint fine);
    bool StepCorner(int32_t x, int32_t y, int32_t& cost);
    bool Roughen(int32_t x, int32_t y, int32_t& cost);
    bool MoveToward(int32_t x, int32_t y, int32_t& cost);

    int32_t mDirection;
    int32_t mStep;
    bool mShift = false;
    bool mCtrl = false;
    uint32_t mNextRepeat = 0;
    int32_t mAltMarker = 0;
};
