// The wall manager turns the wall cells of each storey into the display
// model of WallPieces.h, kept in the view rotation and in back-to-front
// order: rebuilt when the wall layout changes, refreshed when only styles or
// wallpapers change. One per world, reached through
// cFixedWorld::GetWallManager.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "world/HouseView.h"
#include "world/walls/WallPieces.h"

class cFixedWorld;

class WallManager {
public:
    explicit WallManager(cFixedWorld& world);
    virtual ~WallManager();
    WallManager(const WallManager&) = delete;
    WallManager& operator=(const WallManager&) = delete;

    // level 1 or 2, or 0 for both.
    void RequestRebuild(int32_t level);
    void RequestRefresh(int32_t level);
    bool RebuildRequested(int32_t level) const;
    bool RefreshRequested(int32_t level) const;

    // Before drawing: saves every wall's entries, then runs the requested
    // rebuilds, else the requested refreshes, and clears the requests.
    void Update();
    void Rebuild(int32_t level);
    void Refresh(int32_t level);
    void SetRotation(int32_t rotation);
    int32_t GetRotation() const { return mRotation; }
    // The post standing at the point (view coordinates), or null.
    WallPost* FindPost(TileLocation point);
    void Sort(int32_t level);
    // The display copy of the wallpaper settling: unset faces and styles get
    // their defaults, fences their fence faces.
    void SettleMirror();

    // Display flags. Walls-down lowers every entry but fences and unset ones.
    void SetWallsDown(int32_t level, bool down);
    // The cutaway set is 64 rows of 64 bits (row y, bit x), in view
    // coordinates. Entries whose bytes changed since the last Update have
    // their tiles redrawn through the view, when there is one.
    void ApplyCutaway(int32_t level, const uint64_t (&tiles)[64]);
    // The post's display masks and caps from its walls' end entries.
    void ComputePostDisplay(WallPost& post);
    void SetView(iHouseView* view) { mView = view; }
    iHouseView* GetView() const { return mView; }
    void SetShell(const iBuildShell* shell) { mShell = shell; }
    // The light of a room value (from the rooms layer) for shading; without
    // one every piece draws at full light.
    void SetShading(std::function<float(int32_t room)> shade) { mShade = std::move(shade); }

    // Draws every wall of the level in list order, then every post, through
    // the view. Entries whose sprite box misses `target` are skipped.
    void DrawLevel(int32_t level, const ScreenRect& target);
    // Draws one post through the view: its lowered and standing pieces from
    // its display masks, then its cap (the first record when both exist).
    void DrawPost(const WallPost& post);

    // A sample wall of one entry with a style and wallpaper on both faces,
    // built in a direction (1, 3, 5 or 6) and drawn with its two posts so
    // that the start point falls on screen point (x, y) at a zoom; answers
    // the rectangle it covers. Needs a view.
    ScreenRect DrawSampleWall(int32_t x, int32_t y, int32_t zoom, int32_t direction, int32_t style, int32_t wallpaper);

    // The level's pieces in back-to-front order (empty for other levels).
    const std::vector<std::unique_ptr<WallPost>>& Posts(int32_t level) const;
    const std::vector<std::unique_ptr<Wall>>& Walls(int32_t level) const;

private:
    struct Level {
        std::vector<std::unique_ptr<WallPost>> posts;
        std::vector<std::unique_ptr<Wall>> walls;
        bool rebuild = true;
        bool refresh = true;
    };

    Level* LevelOf(int32_t level);
    template <typename Fn>
    void ForLevels(int32_t level, Fn fn) {
        for (int32_t l = 1; l <= 2; ++l)
            if (level == 0 || level == l) fn(l, mLevels[l - 1]);
    }
    static void ChooseCaps(WallPost& post);
    void RebuildLevel(int32_t level);
    void BuildWall(Level& level, WallPost& from, int32_t direction);
    // The entries of a run from its start in world orientation, with the
    // stop rule; answers the end point.
    TileLocation FillEntries(Wall& wall);
    WallPost* FindPostIn(Level& level, TileLocation point);
    void TurnPost(WallPost& post, int32_t rotation);
    void TurnWall(Wall& wall, int32_t rotation);
    TileLocation TurnPoint(TileLocation point, int32_t quarterTurns) const;

    void DrawWall(const Wall& wall, const ScreenRect& target);
    void DrawJoint(const Wall& wall, size_t index, int32_t startHeight, ScreenPoint at);
    void DrawCap(const WallCapRecord& cap, const WallEntry& entry, bool lowered, int slot, ScreenPoint post,
                 int32_t height, float shade, int secondFlag);
    float Shade(int32_t room) const { return mShade ? mShade(room) : 1.0f; }
    bool DoorTest() const;

    cFixedWorld& mWorld;
    iHouseView* mView = nullptr;
    const iBuildShell* mShell = nullptr;
    std::function<float(int32_t)> mShade;
    int32_t mRotation = 0;
    Level mLevels[2];
    std::unique_ptr<WallPost> mSamplePosts[2];
    std::unique_ptr<Wall> mSampleWall;
};
