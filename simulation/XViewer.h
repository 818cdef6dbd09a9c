// The base of every view onto the lot. Live viewers sit in one program-wide
// list (newest first) so that the world, the objects and the build tools can
// reach every view at once: a tile or the whole view to redraw, a change of
// the current build tool. The house view derives from it; the list is the
// only one in the program.
#pragma once

#include <cstdint>

#include "gamedata/LotInterfaces.h"
#include "gamedata/TilePosition.h"

class iLightingRig;

// The two operations of a build or buy tool that making it the current
// tool calls; the world's tools implement them.
class XTool {
public:
    virtual ~XTool() = default;
    // Called when the tool becomes the current tool.
    virtual void Activate() = 0;
    // Called when it stops being the current tool.
    virtual void Deactivate() = 0;
};

class XViewer {
public:
    XViewer() = default;
    // Unlinks the viewer when it is listed.
    virtual ~XViewer();
    XViewer(const XViewer&) = delete;
    XViewer& operator=(const XViewer&) = delete;

    // Links the viewer at the head of the list unless it is there already.
    void Register();
    // Takes the viewer off the list; during a broadcast it is skipped at
    // once and unlinked when the broadcast ends.
    void Unregister();
    bool IsRegistered() const;

    // Screen point of a fine position (x = h, y = v, sixteenths of a tile).
    virtual void WorldToScreen(tova::FinePoint fine, int32_t& x, int32_t& y) const = 0;
    // The fine position under a screen point.
    virtual void ScreenToWorld(tova::FinePoint& out, int32_t x, int32_t y, int32_t flag) const = 0;
    virtual void DrawObjectLabels() = 0;
    // The view's rectangle on screen.
    virtual tova::ScreenRect GetViewportArea() const = 0;
    virtual int32_t GetViewWord() const = 0;
    virtual XViewer* GetViewObject() = 0;
    virtual int32_t GetRotation() const = 0;
    virtual void InvalidateRect(const tova::ScreenRect& rect) = 0;
    virtual void GetScrollOffset(int32_t& x, int32_t& y) const = 0;
    virtual int32_t LookUpDepth(int32_t x, int32_t y) const = 0;
    // The id of the object under a screen point on a level, 0 for none.
    virtual int32_t Pick(int32_t x, int32_t y, int32_t level, int32_t flag) = 0;
    // A tool became current (possibly none), a tool stopped being current.
    virtual void NewCurrentTool(XTool* tool) = 0;
    virtual void OldCurrentTool(XTool* tool) = 0;
    virtual iLightingRig* GetLightingRig() { return nullptr; }
    virtual int32_t GetCurrentLevel() const { return 1; }
    virtual void Draw() = 0;
    // A view tile (or area of tiles) to redraw.
    virtual void InvalidateTile(tova::TileLocation area) = 0;
    virtual void CentreOn(int32_t v, int32_t h, int32_t level) = 0;
    virtual void InvalidateView() = 0;

    // The listed viewers, newest first.
    static XViewer* First();
    XViewer* Next() const { return mNext; }

private:
    friend class ViewerWalk;
    XViewer* mNext = nullptr;
    bool mRemoved = false;
};

// Every listed viewer redraws the area (after rooms or portals changed).
void NotifyViewersWorldChanged(tova::TileLocation area);
// Every listed viewer redraws its whole view.
void RedrawAllViewers();
// The current tool (null for none): the old one is deactivated, the new one
// activated, then every viewer hears of the old tool and of the new one.
void SetCurrentTool(XTool* tool);
XTool* CurrentTool();
