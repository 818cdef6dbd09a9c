// The undo record of floor changes: one entry per tile changed, in the order
// the tiles were first changed. An entry keeps the values to write on its
// next apply (floor byte, pool mark and, for a tile split by a diagonal wall,
// the wall record holding the half-tile floors); applying exchanges them
// with the world's, so applying twice restores. The record is made while the
// tiles change, so it is pushed already done.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/WallCell.h"
#include "world/WorldTypes.h"
#include "world/undo/Undoable.h"

class cFixedWorld;
class cTool;

class FloorUndoable : public Undoable {
public:
    // The tool books the money; either may be null in tests of the record.
    FloorUndoable(cFixedWorld& world, cTool* tool) : mWorld(world), mTool(tool) {}

    // Records a view tile about to change: a new entry takes the tile's
    // present values; a tile already recorded only adds the cost.
    void AddTileChange(TileLocation viewTile, int32_t cost);
    // The same for a tile with a diagonal wall; its wall record is kept too
    // (an entry made without one takes it now).
    void AddHalfTileChange(TileLocation viewTile, int32_t cost);
    // Undoes every change and forgets them (a preview going away). Money is
    // taken back but not booked.
    void Revert();

    size_t Count() const { return mEntries.size(); }
    int32_t TotalCost() const;
    bool RoomsChanged() const { return mRoomsChanged; }
    void ClearRoomsChanged() { mRoomsChanged = false; }

protected:
    int32_t DoUndo() override;
    int32_t DoRedo() override;

private:
    struct Entry {
        TileLocation tile;  // world orientation
        WallInfo wall;
        int32_t cost = 0;
        uint8_t floor = 0;
        bool hasWall = false;
        bool poolMark = false;
    };
    Entry* Find(TileLocation worldTile);
    Entry& Record(TileLocation viewTile, int32_t cost);
    void ApplyEntry(Entry& entry);
    void Finish();

    cFixedWorld& mWorld;
    cTool* mTool;
    std::vector<Entry> mEntries;
    bool mRoomsChanged = false;
};
