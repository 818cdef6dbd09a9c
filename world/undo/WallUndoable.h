// One wall drag: the engine that edits the wall cells live while the player
// drags, and afterwards the undo record of that drag. Every new pointer
// position withdraws the previous attempt (by exchanging the level's cells
// with the snapshot taken at its start) and builds the run again. Points are
// grid points and sides are tile sides in view coordinates; the snapshot
// holds the level's cells as stored (world coordinates).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "world/WallCell.h"
#include "world/undo/Undoable.h"

class cTool;
class cFixedWorld;
class iWallObjects;

// A grid point or a tile on a level, view coordinates.
struct WallPoint {
    int32_t x = 0, y = 0, level = 0;
    friend bool operator==(const WallPoint&, const WallPoint&) = default;
};

// Placement errors of the wall rules (the tool adds 25 and 26).
enum : int32_t {
    kWallErrorOffLot = 1,
    kWallErrorInTheWay = 11,
    kWallErrorUneven = 17,
    kWallErrorPool = 29,
    kWallErrorNoSupport = 32,
    kWallErrorObjectRefuses = 35,
};

class WallUndoable : public Undoable {
public:
    enum Mode : int32_t { kDraw = 0, kErase = 1, kRectangle = 2 };
    static constexpr int32_t kNoDirection = 8;

    // The tool books the money and plays the sounds; objects may be null (a
    // lot without live objects).
    WallUndoable(cTool& tool, iWallObjects* objects);
    ~WallUndoable() override;

    // Withdraws the live edit and takes a fresh snapshot of the level.
    void Begin();
    void Restart();
    void SetStart(WallPoint point);
    void SetStyle(int32_t style, int32_t wallpaper) {
        mStyle = style;
        mWallpaper = wallpaper;
    }
    void SetMode(int32_t mode) { mMode = mode; }
    // The lot test of one step (side 0: the tile alone).
    bool CheckTile(WallPoint tile, int32_t side);
    // Builds the run from the start toward the point; false when refused.
    bool DragTo(WallPoint point);
    // After the drag: unsettled faces and styles get their defaults.
    void SettleWallpapers();

    // The direction a drag from start to point takes, and the point snapped
    // onto that direction's line (exposed for the tool and for tests).
    static int32_t ChooseDirection(WallPoint start, WallPoint point);
    static WallPoint Snap(WallPoint start, WallPoint point, int32_t direction);
    // Tells the level its walls changed; walls on the ground also change
    // what holds up the storey above.
    static void BroadcastBuilt(int32_t level);

    bool Changed() const { return mChanged != 0; }
    bool Blocked() const { return mBlocked != 0; }
    int32_t Cost() const { return mCost; }
    int32_t Error() const { return mError; }
    void SetError(int32_t error) { mError = error; }
    int32_t Direction() const { return mDirection; }
    WallPoint Start() const { return mStart; }
    WallPoint End() const { return mEnd; }
    WallPoint LastValidEnd() const { return mLastValid; }
    int32_t Mode() const { return mMode; }
    int32_t RunLengthX() const { return mLengthX; }
    int32_t RunLengthY() const { return mLengthY; }
    int32_t RemovedCount() const { return mRemoved; }

protected:
    int32_t DoUndo() override;
    int32_t DoRedo() override;

private:
    bool BuildRun(WallPoint from, WallPoint to, int32_t direction);
    bool CheckDrawStep(WallPoint tile, int32_t side);
    bool CheckEraseStep(WallPoint tile, int32_t side);
    void ApplyStep(WallPoint tile, int32_t side);
    // Sells the first wall object standing in the side; its refund (0 when
    // none was there) and whether one went.
    bool RemoveWallObjects(WallPoint tile, int32_t side, int32_t& refund);
    void PlainInSnapshot(WallPoint tile, int32_t side);
    bool DragRectangle(WallPoint point);
    bool BuildRectangle(WallPoint corner);
    int32_t Exchange();
    void WithdrawLive();
    void Fail(int32_t error) {
        if (mError == 0) mError = error;
    }
    cFixedWorld& World() const;
    int32_t Price(int32_t style) const;
    bool Buildable(WallPoint tile) const;
    bool InsideUsable(WallPoint tile) const;
    WallInfo InfoAt(WallPoint tile) const;
    void Write(WallPoint tile, const WallInfo& info);
    bool ObjectsBusy(WallPoint tile) const;
    bool FlatAt(WallPoint tile) const;
    // An object's wall bits for a side of the view, turned into its frame.
    int32_t SideInFrame(int32_t side, int32_t facing) const;

    std::vector<WallCell> mSnapshot;  // 64 by 64, [x * 64 + y]
    uint8_t mChanged = 0;
    int32_t mCost = 0;
    WallPoint mStart;
    uint8_t mReferenceHeight = 0;
    WallPoint mEnd;
    int32_t mDirection = 0;
    int32_t mStyle = 0;
    int32_t mWallpaper = 0;
    int32_t mMode = kDraw;
    cTool& mTool;
    iWallObjects* mObjects;
    WallPoint mLastValid;
    WallPoint mStartCopy;
    int32_t mRemoved = 0;
    int32_t mDeleteSoundsPlayed = 0;
    int32_t mLengthX = 0, mLengthY = 0;
    uint8_t mBlocked = 0;
    int32_t mError = 0;
};

// The fixed covering of a fence style (248-251), or -1.
int32_t FenceCovering(int32_t style);
// Gives the level's unsettled wall faces and styles their defaults and
// every fence face its covering, as the wall tool leaves a finished drag;
// `touched` hears of each tile rewritten.
void SettleWallFaces(cFixedWorld& world, int32_t level, const std::function<void(TileLocation)>& touched = {});
// Styles written into a wall by an object standing in it.
bool IsWallObjectStyle(int32_t style);
