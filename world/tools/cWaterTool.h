// The water tool: drags a rectangle of water on the ground storey, or erases
// it while Ctrl was held before the press. No cost, no undo.
#pragma once

#include <cstdint>

#include "world/tools/cTool.h"

class UndoManager;

class cWaterTool : public cTool {
public:
    cWaterTool(ToolServices& services, UndoManager& undo) : cTool(services), mUndo(undo) {}

    void Activate() override;
    void Deactivate() override;
    void MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void Drag(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseUp(tova::FinePoint, int32_t, const ToolMouseEvent&) override { mIdle = true; }
    // Ctrl switches erasing on and off only between gestures; the key is
    // never reported as handled.
    bool KeyDown(uint32_t key, uint32_t flags) override;
    bool KeyUp(uint32_t key, uint32_t flags) override;
    void Resume() override;
    void Deselect() override { mIdle = true; }

    bool Erasing() const { return mErase != 0; }
    bool Idle() const { return mIdle; }

private:
    [[maybe_unused]] UndoManager& mUndo;  // the set hands it to every drawing tool
    int32_t mErase = 0;
    bool mIdle = true;
    tova::TileLocation mFirst{};
    tova::TileLocation mLast{};
};

// True while the water tool is the current tool.
bool WaterToolActive();
