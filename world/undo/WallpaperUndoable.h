// One wallpaper stroke: the faces painted or stripped, kept per tile as the
// tile's walls before the stroke first touched it and the money moved for
// it. It also performs the live preview under the pointer, and becomes the
// undo entry of the stroke. Tiles and sides are in view coordinates.
#pragma once

#include <cstdint>
#include <vector>

#include "world/WallCell.h"
#include "world/undo/Undoable.h"

class cTool;
class cFixedWorld;

class WallpaperUndoable : public Undoable {
public:
    // Paint one face, strip one face, paint a room, strip a room.
    enum Mode : int32_t { kPaint = 0, kStrip = 1, kPaintRoom = 2, kStripRoom = 3 };
    enum Message : int32_t { kNoMessage = 0, kMessageFence = 46 };

    struct Entry {
        TileLocation tile;  // world coordinates
        WallInfo before;
        int32_t cost = 0;
    };

    explicit WallpaperUndoable(cTool& tool) : mTool(tool) {}

    void SetWallpaper(int32_t wallpaper) { mWallpaper = wallpaper; }
    int32_t GetWallpaper() const { return mWallpaper; }
    // Adds the cost to the tile's entry, or makes one with its walls now.
    void Remember(TileLocation viewTile, int32_t cost);
    // Withdraws the live changes and empties the record.
    void Reset();
    bool CanPaint(TileLocation viewTile, int32_t mode, int32_t side, int32_t kind, int32_t& message);
    void Apply(TileLocation viewTile, int32_t mode, int32_t side, int32_t kind);
    // Every face that looks into the room holding the pointer (a fine
    // position in view coordinates); false when money stopped it.
    bool RoomApply(tova::FinePoint pointer, int32_t level, int32_t mode);

    const std::vector<Entry>& Entries() const { return mEntries; }
    bool Blocked() const { return mBlocked != 0; }
    void SetBlocked() { mBlocked = 1; }

protected:
    int32_t DoUndo() override;
    int32_t DoRedo() override;

private:
    // Exchanges each entry's walls with the tile's present ones and moves
    // the pending money (in reverse order for undo).
    void Exchange(bool undo);
    cFixedWorld& World() const;
    int32_t Price(int32_t wallpaper) const;
    int32_t Target(int32_t mode) const { return mode == kStrip || mode == kStripRoom ? 0 : mWallpaper; }

    // Growable: a long stroke, or one that changes level, needs as many
    // entries as tiles it touches.
    std::vector<Entry> mEntries;
    int32_t mPickState = 8;
    int32_t mWallpaper = 1;
    cTool& mTool;
    uint8_t mBlocked = 0;
};
