// A house view for tests and tools: the view's isometric tile arithmetic
// (a tile is 16 << z wide and 8 << z high at zoom step z) and a log of every
// sprite call and redraw, with no pixels.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "world/HouseView.h"

namespace tova_test {

class RecordingViewer : public iHouseView {
public:
    int32_t zoom = 1;
    int32_t rotation = 0;
    int32_t level = 1;
    ScreenPoint origin{400, 100};
    bool buildableOnly = false;
    ScreenRect clip{-800, -600, 800, 600};
    std::vector<std::string> log;
    std::vector<TileLocation> redrawnTiles;
    int redrawAll = 0;
    int32_t objectWallSprite = -1;  // what ObjectWallSprite answers
    mutable std::vector<std::string> objectQueries;

    int32_t GetZoom() const override { return zoom; }
    int32_t GetRotation() const override { return rotation; }
    int32_t GetViewLevel() const override { return level; }
    ScreenPoint TileToScreen(TileLocation t) const override {
        return {origin.x + (t.x - t.y) * (8 << zoom), origin.y + (t.x + t.y) * (4 << zoom)};
    }
    int32_t StandingHeight(int32_t z) const override { return 20 << z; }
    int32_t LoweredHeight(int32_t z) const override { return 6 << z; }
    void DrawSprite(int32_t group, int32_t frame, int32_t pattern, int32_t x, int32_t y, int32_t depth, float shade,
                    int32_t extraOffset) override {
        char line[160];
        std::snprintf(line, sizeof line, "sprite g%d f%d p%d at %d,%d depth %d shade %.2f off %d clip %d..%d", group,
                      frame, pattern, x, y, depth, shade, extraOffset, clip.left, clip.right);
        log.push_back(line);
    }
    void DrawLoweredCorner(int32_t pieceGroup, int32_t maskGroup, int32_t frame, int32_t x, int32_t y) override {
        char line[120];
        std::snprintf(line, sizeof line, "corner g%d/%d f%d at %d,%d clip %d..%d", pieceGroup, maskGroup, frame, x, y,
                      clip.left, clip.right);
        log.push_back(line);
    }
    ScreenRect GetClip() const override { return clip; }
    void SetClip(const ScreenRect& c) override { clip = c; }
    bool BuildableOnly() const override { return buildableOnly; }
    bool IsTileBuildable(TileLocation) const override { return true; }
    void RedrawTile(TileLocation t) override { redrawnTiles.push_back(t); }
    void RedrawAll() override { ++redrawAll; }
    bool LookUpWallSprite(int32_t pattern, int32_t z, int32_t& sprite) const override {
        sprite = pattern * 4 + z;
        return pattern < 200;
    }
    int32_t ObjectWallSprite(TileLocation t, int32_t side) const override {
        objectQueries.push_back(std::to_string(t.x) + "," + std::to_string(t.y) + " side " + std::to_string(side));
        return objectWallSprite;
    }
};

}  // namespace tova_test
