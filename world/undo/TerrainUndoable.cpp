#include "world/undo/TerrainUndoable.h"

#include <algorithm>
#include <utility>

#include "gamedata/Commander.h"
#include "simulation/XViewer.h"
#include "world/tools/cTool.h"

TerrainUndoable::TerrainUndoable(cFixedWorld& world, cTool* tool)
    : mWorld(world), mTool(tool), mSize(world.GetSize()) {
    mAltitude.reserve(static_cast<size_t>(mSize * mSize));
    mGrass.reserve(static_cast<size_t>(mSize * mSize));
    for (int32_t x = 0; x < mSize; ++x)
        for (int32_t y = 0; y < mSize; ++y) {
            mAltitude.push_back(world.Altitude().At(x, y));
            mGrass.push_back(world.Grass().At(x, y));
        }
}

void TerrainUndoable::Swap() {
    // A world resized since the snapshot only exchanges the common square.
    const int32_t n = std::min(mSize, mWorld.GetSize());
    XViewer* view = mTool != nullptr ? mTool->Services().view : nullptr;
    for (int32_t x = 0; x < n; ++x)
        for (int32_t y = 0; y < n; ++y) {
            const size_t i = static_cast<size_t>(x * mSize + y);
            AltitudeCell& a = mWorld.Altitude().At(x, y);
            int8_t& g = mWorld.Grass().At(x, y);
            if (a == mAltitude[i] && g == mGrass[i]) continue;
            std::swap(a, mAltitude[i]);
            std::swap(g, mGrass[i]);
            if (view == nullptr) continue;
            for (int32_t dx = -1; dx <= 1; ++dx)
                for (int32_t dy = -1; dy <= 1; ++dy)
                    if (mWorld.IsInsideGrid(x + dx, y + dy))
                        view->InvalidateTile(mWorld.WorldToView(TileLocation::At(x + dx, y + dy, 1)));
        }
    tova::Broadcast(tova::cmd::kTerrainChanged, 0);
}

int32_t TerrainUndoable::DoUndo() {
    Swap();
    if (mTool != nullptr) {
        mTool->SubPending(mAmount);
        if (mTool->GetPending() != 0) mTool->BookPending();
    }
    return 0;
}

int32_t TerrainUndoable::DoRedo() {
    Swap();
    if (mTool != nullptr) {
        mTool->AddPending(mAmount);
        if (mTool->GetPending() != 0) mTool->BookPending();
    }
    return 0;
}
