// A house view for tests and tools: the view's isometric tile arithmetic
// (a tile is 16 << z wide and 8 << z high at zoom step z) and a log of every
// sprite call and redraw, with no pixels. As a viewer it turns a screen
// point into a position with the same arithmetic at the current level's
// ground (no heights) and logs tool changes.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "simulation/XViewer.h"
#include "world/HouseView.h"

namespace tova_test {

class RecordingViewer : public iHouseView, public XViewer {
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

    tova::ScreenRect viewport{0, 0, 800, 600};
    int32_t picked = 0;  // what Pick answers
    int picks = 0;
    std::vector<std::string> toolChanges;

    int32_t GetZoom() const override { return zoom; }
    int32_t GetRotation() const override { return rotation; }

    // Viewer side. A fine position (x, y) in sixteenths of a tile.
    void WorldToScreen(tova::FinePoint fine, int32_t& x, int32_t& y) const override {
        x = origin.x + (fine.x - fine.y) * (8 << zoom) / 16;
        y = origin.y + (fine.x + fine.y) * (4 << zoom) / 16;
    }
    void ScreenToWorld(tova::FinePoint& out, int32_t x, int32_t y, int32_t) const override {
        // Inverse of the above: a = x - ox = (fx - fy) * 8z/16, b = y - oy = (fx + fy) * 4z/16.
        const int32_t a = (x - origin.x) * 16 / (8 << zoom), b = (y - origin.y) * 16 / (4 << zoom);
        out.x = (a + b) / 2;
        out.y = (b - a) / 2;
    }
    void DrawObjectLabels() override {}
    tova::ScreenRect GetViewportArea() const override { return viewport; }
    int32_t GetViewWord() const override { return 0; }
    XViewer* GetViewObject() override { return this; }
    void InvalidateRect(const tova::ScreenRect&) override { ++redrawAll; }
    void GetScrollOffset(int32_t& x, int32_t& y) const override {
        x = origin.x;
        y = origin.y;
    }
    int32_t LookUpDepth(int32_t, int32_t) const override { return 0; }
    int32_t Pick(int32_t, int32_t, int32_t, int32_t) override {
        ++picks;
        return picked;
    }
    void NewCurrentTool(XTool* tool) override { toolChanges.push_back(tool ? "new" : "new none"); }
    void OldCurrentTool(XTool* tool) override { toolChanges.push_back(tool ? "old" : "old none"); }
    int32_t GetCurrentLevel() const override { return level; }
    void Draw() override {}
    void InvalidateTile(tova::TileLocation t) override { redrawnTiles.push_back(t); }
    void CentreOn(int32_t, int32_t, int32_t) override {}
    void InvalidateView() override { ++redrawAll; }
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
