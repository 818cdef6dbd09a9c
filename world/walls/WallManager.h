// The wall manager turns the wall cells of each storey into the display
// model of WallPieces.h, kept in the view rotation and in back-to-front
// order: rebuilt when the wall layout changes, refreshed when only styles or
// wallpapers change. One per world, reached through
// cFixedWorld::GetWallManager.
#pragma once

#include <memory>
#include <vector>

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
    void ForLevels(int32_t level, Fn fn);
    void RebuildLevel(int32_t level);
    void BuildWall(Level& level, WallPost& from, int32_t direction);
    // The entries of a run from its start in world orientation, with the
    // stop rule; answers the end point.
    TileLocation FillEntries(Wall& wall);
    WallPost* FindPostIn(Level& level, TileLocation point);
    void TurnPost(WallPost& post, int32_t rotation);
    void TurnWall(Wall& wall, int32_t rotation);
    TileLocation TurnPoint(TileLocation point, int32_t quarterTurns) const;

    cFixedWorld& mWorld;
    int32_t mRotation = 0;
    Level mLevels[2];
};
