// What the shell asks of the house view built beside it: the view as the
// world's tools (iHouseView) and the lot's data (tova::iLotView) see it, plus the frame drawing, the wall
// mode, scrolling, centring on a tile, the tile under a screen point, the
// busy test and a picture of its buffer. Until one is installed the main
// view draws a flat ground.
#pragma once

#include <cstdint>
#include <optional>

#include "gamedata/LotInterfaces.h"
#include "world/HouseView.h"

class cGZBuffer;

namespace shell {

class iLotView : public ::iHouseView, public tova::iLotView {
public:
    struct Tile {
        int32_t x = 0, y = 0, level = 1;
    };

    // Draws the lot into the buffer (the main view's frame).
    virtual void DrawFrame(cGZBuffer& target) = 0;
    virtual void SetWallMode(int32_t mode) = 0;
    virtual int32_t GetWallMode() const = 0;
    virtual void Scroll(int32_t dx, int32_t dy) = 0;
    virtual void CenterOnTile(const Tile& tile) = 0;
    // The tile under a screen point; none off the lot.
    virtual std::optional<Tile> ScreenToTile(int32_t x, int32_t y) const = 0;
    // True while the view is still making its picture (loading, rotating).
    virtual bool IsBusy() const = 0;
    // The last frame's buffer (null before the first).
    virtual const cGZBuffer* Picture() const = 0;

    // What the control-panel state hands on; a view without them keeps
    // these answers.
    virtual void SetZoom(int32_t /*zoom*/) {}
    virtual void SetRotation(int32_t /*rotation*/) {}
    virtual void SetLevel(int32_t /*level*/, bool /*force*/) {}
    virtual void SetWallsDown(bool /*on*/) {}
    virtual void SetCutaway(bool /*on*/) {}
    virtual void SetRoofVisible(bool /*on*/) {}
    virtual bool AreWallsDown() const { return false; }
    virtual bool IsCutaway() const { return false; }
    virtual bool IsRoofVisible() const { return false; }
    // Rebuilds the lot's picture for a mode of the control panel.
    virtual void RefreshForMode(int32_t /*mode*/) {}
    // The camera mode's frame shown over the view.
    virtual void SetCameraFlag(bool /*on*/) {}
};

// The installed view; null until the renderer lands.
iLotView* GetLotView();
void SetLotView(iLotView* view);

}  // namespace shell
