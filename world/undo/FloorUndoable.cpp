#include "world/undo/FloorUndoable.h"

#include "gamedata/Commander.h"
#include "world/cFixedWorld.h"
#include "simulation/XViewer.h"
#include "world/tools/cTool.h"

FloorUndoable::Entry* FloorUndoable::Find(TileLocation worldTile) {
    for (Entry& e : mEntries)
        if (e.tile == worldTile) return &e;
    return nullptr;
}

FloorUndoable::Entry& FloorUndoable::Record(TileLocation viewTile, int32_t cost) {
    const TileLocation t = mWorld.ViewToWorld(viewTile);
    if (Entry* e = Find(t)) {
        e->cost += cost;
        return *e;
    }
    Entry e;
    e.tile = t;
    e.cost = cost;
    e.floor = mWorld.GetFloor(viewTile);
    e.poolMark = t.level == 1 && mWorld.GetPoolLayer()->Contains(t.x, t.y) &&
                 mWorld.GetPoolLayer()->At(t.x, t.y) == kPoolMarkCell;
    mEntries.push_back(e);
    return mEntries.back();
}

void FloorUndoable::AddTileChange(TileLocation viewTile, int32_t cost) { Record(viewTile, cost); }

void FloorUndoable::AddHalfTileChange(TileLocation viewTile, int32_t cost) {
    Entry& e = Record(viewTile, cost);
    if (e.hasWall) return;
    e.wall = mWorld.GetWallInfo(e.tile);
    e.hasWall = true;
}

int32_t FloorUndoable::TotalCost() const {
    int32_t sum = 0;
    for (const Entry& e : mEntries) sum += e.cost;
    return sum;
}

void FloorUndoable::ApplyEntry(Entry& e) {
    const TileLocation view = mWorld.WorldToView(e.tile);
    const uint8_t floor = mWorld.GetFloor(view);
    mWorld.SetFloor(view, e.floor);
    e.floor = floor;
    if (e.hasWall) {
        const WallInfo wall = mWorld.GetWallInfo(e.tile);
        mWorld.SetWallInfo(e.tile, e.wall);
        e.wall = wall;
    }
    cPoolLayer& pool = *mWorld.GetPoolLayer();
    if (e.tile.level == 1 && pool.Contains(e.tile.x, e.tile.y)) {
        uint8_t& cell = pool.At(e.tile.x, e.tile.y);
        const bool marked = cell == kPoolMarkCell;
        // Only a mark or an empty cell is exchanged: real pool is never
        // under a floor.
        if (cell == kPoolMarkCell || cell == kNoPoolCell) cell = e.poolMark ? kPoolMarkCell : kNoPoolCell;
        e.poolMark = marked;
    }
    if (mTool != nullptr && mTool->Services().view != nullptr) mTool->Services().view->InvalidateTile(view);
    mRoomsChanged = true;
}

void FloorUndoable::Finish() {
    // A record still being built is a preview: nothing is booked and the
    // rooms are recounted when the gesture ends.
    if (GetState() == kNew) return;
    if (mTool != nullptr && mTool->GetPending() != 0) mTool->BookPending();
    if (mRoomsChanged) {
        mRoomsChanged = false;
        tova::Broadcast(tova::cmd::kBuildChanged, 0);
    }
}

int32_t FloorUndoable::DoUndo() {
    for (auto it = mEntries.rbegin(); it != mEntries.rend(); ++it) {
        ApplyEntry(*it);
        if (mTool != nullptr) mTool->SubPending(it->cost);
    }
    Finish();
    return 0;
}

int32_t FloorUndoable::DoRedo() {
    for (Entry& e : mEntries) {
        ApplyEntry(e);
        if (mTool != nullptr) mTool->AddPending(e.cost);
    }
    Finish();
    return 0;
}

void FloorUndoable::Revert() {
    DoUndo();
    mEntries.clear();
}
