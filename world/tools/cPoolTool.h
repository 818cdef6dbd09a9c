// The pool tool: drags out a rectangle of pool on the ground storey, or
// erases pool while Ctrl is held. While it is active the world's pool is
// emptied and the view draws the tool's preview layer instead, which also
// holds the deck ring (cells 16) around the pool. Each drag that changes
// something becomes one cPoolUndoable.
#pragma once

#include <cstdint>

#include "world/cPoolLayer.h"
#include "world/tools/cTool.h"

class UndoManager;
class cPoolUndoable;

class cPoolTool : public cTool {
public:
    enum Mode : int32_t { kBuild = 0, kErase = 1 };
    // Status codes of the last step.
    enum : int32_t {
        kStatusOk = 0,
        kStatusOutside = 1,
        kStatusWall = 7,
        kStatusObject = 11,
        kStatusUneven = 17,
        kStatusNoMoney = 21,
        kStatusCost = 26,
        kStatusBuilt = 27,
        kStatusErased = 28,
        kStatusWrongMode = 31,
        kStatusPersonInRoom = 44,
        kStatusHeldByObject = 45,
    };

    cPoolTool(ToolServices& services, UndoManager& undo);
    ~cPoolTool() override;

    void Activate() override;
    void Deactivate() override;
    void MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void Drag(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    // Ctrl switches to erasing (and back) between gestures; never handled.
    bool KeyDown(uint32_t key, uint32_t flags) override;
    bool KeyUp(uint32_t key, uint32_t flags) override;
    void Resume() override;
    void Suspend() override;
    int32_t PredicateB() override { return 1; }

    // Redraws after an undo or redo changed the layers.
    void Refresh();
    cPoolLayer* Preview() const { return mPreview; }
    cPoolLayer* Base() const { return mBase; }
    int32_t GetMode() const { return mMode; }
    int32_t GetStatus() const { return mStatus; }
    int32_t GetCount() const { return mCount; }
    bool Idle() const { return mIdle; }
    int32_t Price() const;
    // 80 % of the price of n tiles, to the nearest unit.
    int32_t Refund(int32_t tiles) const;

    // Marks the deck ring (16) around the pool of a layer, clearing the old
    // marks first.
    static void ComputeDeck(cFixedWorld& world, cPoolLayer& layer);

private:
    void SetMode(int32_t mode);
    TileRect RectTo(tova::FinePoint fine) const;
    bool InsideBounds(TileLocation viewTile) const;
    bool BuildTest(const TileRect& rect);
    bool EraseTest(const TileRect& rect);
    void DragStep(tova::FinePoint fine);
    void ShowStatus();
    void DropPending();

    UndoManager& mUndo;
    int32_t mMode = kBuild;
    cPoolUndoable* mPending = nullptr;
    cPoolLayer* mPreview = nullptr;
    cPoolLayer* mBase = nullptr;
    TileRect mRect{};
    TileLocation mPressTile{};
    int32_t mCount = 0;
    uint8_t mReference[4] = {};
    int32_t mStatus = kStatusOk;
    bool mActive = false;
    bool mIdle = true;
};

// True while the pool tool is the current tool.
bool PoolToolLive();
