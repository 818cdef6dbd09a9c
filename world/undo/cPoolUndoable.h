// The undo record of one pool drag: the pool layer before and after it and
// the tiles added (positive) or removed (negative). Money follows the
// count: a pool tile costs its price, and removing one gives back 80 %.
#pragma once

#include <cstdint>

#include "world/undo/Undoable.h"

class cFixedWorld;
class cPoolLayer;
class cPoolTool;

class cPoolUndoable : public Undoable {
public:
    // Takes a reference to the before layer.
    cPoolUndoable(cFixedWorld& world, cPoolTool* tool, cPoolLayer* before);
    ~cPoolUndoable() override;

    // Takes a reference to the after layer.
    void SetAfter(cPoolLayer* after, int32_t count);
    int32_t GetCount() const { return mCount; }
    cPoolLayer* GetBefore() const { return mBefore; }
    cPoolLayer* GetAfter() const { return mAfter; }

protected:
    int32_t DoUndo() override;
    int32_t DoRedo() override;

private:
    void Restore(const cPoolLayer& layer);

    cFixedWorld& mWorld;
    cPoolTool* mTool;
    cPoolLayer* mBefore;
    cPoolLayer* mAfter = nullptr;
    int32_t mCount = 0;
};
