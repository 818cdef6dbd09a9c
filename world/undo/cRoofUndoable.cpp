#include "world/undo/cRoofUndoable.h"

#include "world/roofs/cRoofMeshFactory.h"

cRoofUndoable::cRoofUndoable() : mTexture(GetRoofTexture()), mSlope(GetRoofSlope()) {}

int32_t cRoofUndoable::Swap() {
    const std::string texture = GetRoofTexture();
    const float slope = GetRoofSlope();
    SetRoofTexture(mTexture);
    SetRoofSlope(mSlope);
    mTexture = texture;
    mSlope = slope;
    return 0;
}
