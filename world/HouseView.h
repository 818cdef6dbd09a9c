// What the walls ask of the house view (the renderer sits above the world):
// zoom, rotation and level, tile-to-screen positions, the per-zoom heights
// of wall pieces, the two sprite draws, the clip rectangle, the
// buildable-only switch, redraws and the wall sprite cache. The view
// implements it; tests use a recording one.
#pragma once

#include <cstdint>
#include <string>

#include "gamedata/ScreenRect.h"
#include "world/WorldTypes.h"

class cPoolLayer;

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

using tova::ScreenRect;

class iHouseView {
public:
    virtual ~iHouseView() = default;

    virtual int32_t GetZoom() const = 0;  // 1 to 3
    virtual int32_t GetRotation() const = 0;
    virtual int32_t GetViewLevel() const = 0;
    // Screen point of a view tile's low corner.
    virtual ScreenPoint TileToScreen(TileLocation viewTile) const = 0;
    // Heights subtracted from a piece's screen y: S(z) for standing pieces,
    // L(z) for lowered ones.
    virtual int32_t StandingHeight(int32_t zoom) const = 0;
    virtual int32_t LoweredHeight(int32_t zoom) const = 0;

    // One sprite of a group and frame at a screen point, with depth and
    // shading, clipped to the current clip rectangle. extraOffset shifts the
    // sprite of a face-2 piece.
    virtual void DrawSprite(int32_t group, int32_t frame, int32_t pattern, int32_t x, int32_t y, int32_t depth,
                            float shade, int32_t extraOffset) = 0;
    // A lowered-corner piece: the piece (group 5119 + z) and its mask
    // (6143 + z), same frame.
    virtual void DrawLoweredCorner(int32_t pieceGroup, int32_t maskGroup, int32_t frame, int32_t x, int32_t y) = 0;
    virtual ScreenRect GetClip() const = 0;
    virtual void SetClip(const ScreenRect& clip) = 0;

    virtual bool BuildableOnly() const = 0;
    virtual bool IsTileBuildable(TileLocation viewTile) const = 0;
    virtual void RedrawTile(TileLocation viewTile) = 0;
    virtual void RedrawAll() = 0;

    // The wall sprite cache of the wallpaper catalogue: the pattern's sprite
    // at a zoom, or false when it has none.
    virtual bool LookUpWallSprite(int32_t pattern, int32_t zoom, int32_t& sprite) const = 0;
    // The wall sprite number of the object standing in a style-22 wall at a
    // world tile and side, or -1 when none.
    virtual int32_t ObjectWallSprite(TileLocation worldTile, int32_t side) const = 0;

    // While a layer is given, the view draws it in place of the world's
    // pool (the pool tool's preview); null goes back to the world's.
    virtual void DrawPoolLayer(const cPoolLayer* /*layer*/) {}
};

// What the walls and the build tools ask of the game shell: the door test
// reads the control panel flag and the current tool.
class iBuildShell {
public:
    virtual ~iBuildShell() = default;
    virtual bool ControlPanelFlag() const = 0;
    virtual int32_t CurrentTool() const = 0;

    // What the build tools ask of the shell; a shell without a house view
    // answers with the defaults.
    virtual int32_t PanelMode() const { return 0; }  // 0 build, 1 buy, ...
    virtual void SetViewCursor(int32_t /*kind*/) {}
    // The view's tool tip at a screen point, and hiding it.
    virtual void ShowToolTip(int32_t /*x*/, int32_t /*y*/, const std::string& /*text*/) {}
    virtual void HideToolTip() {}
    // The mouse position from the window manager; false without one.
    virtual bool GetMousePosition(int32_t& /*x*/, int32_t& /*y*/) const { return false; }
    virtual int32_t GetFloorPattern() const { return 0; }
    virtual void ShowSaleValue(int32_t /*object*/, bool /*shown*/, bool /*refund*/, float /*factor*/) {}
    virtual void ClearSaleValue() {}
    virtual void LeaveBuyTool() {}
};
