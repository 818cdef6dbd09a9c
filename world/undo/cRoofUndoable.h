// The undo record of a change of the house's roof settings (texture and
// slope). Made before the change, it keeps the settings of that moment;
// undo and redo both swap them with the current ones.
#pragma once

#include <string>

#include "world/undo/Undoable.h"

class cRoofUndoable : public Undoable {
public:
    cRoofUndoable();

    const std::string& Texture() const { return mTexture; }
    float Slope() const { return mSlope; }

protected:
    int32_t DoUndo() override { return Swap(); }
    int32_t DoRedo() override { return Swap(); }

private:
    int32_t Swap();

    std::string mTexture;
    float mSlope;
};
