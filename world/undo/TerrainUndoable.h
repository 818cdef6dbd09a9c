// The undo record of one terrain gesture: the altitude and grass of every
// tile as they were when the gesture began. Undo and redo both exchange the
// snapshots with the world, so each restores what the other left.
#pragma once

#include <cstdint>
#include <vector>

#include "world/cFixedWorld.h"
#include "world/undo/Undoable.h"

class cTool;

class TerrainUndoable : public Undoable {
public:
    // Snapshots the world now.
    TerrainUndoable(cFixedWorld& world, cTool* tool);

    void SetAmount(int32_t amount) { mAmount = amount; }
    int32_t GetAmount() const { return mAmount; }

protected:
    int32_t DoUndo() override;
    int32_t DoRedo() override;

private:
    void Swap();

    cFixedWorld& mWorld;
    cTool* mTool;
    int32_t mAmount = 0;
    int32_t mSize;
    std::vector<AltitudeCell> mAltitude;  // index x * size + y
    std::vector<int8_t> mGrass;
};
