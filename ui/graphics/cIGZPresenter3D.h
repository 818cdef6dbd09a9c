// The 3D presenter of people's scenes as the screen buffer sees it: once
// attached it puts the frame on the screen itself and keeps two dirty-
// rectangle lists that the windows' changed rectangles are sorted into (the
// character renderer implements it).
#pragma once

#include "framework/cRZRect.h"
#include "ui/graphics/cGZDirtyRegion.h"

class cIGZPresenter3D {
public:
    virtual bool Present() = 0;
    // The screen buffer's view rectangle changed.
    virtual void SetPresentRects(const cRZRect& view) = 0;
    // The part of the window the host asked to repaint.
    virtual void SetPaintRect(const cRZRect& rect) = 0;
    // List 0 or 1.
    virtual cGZDirtyRegion& DirtyList(int index) = 0;

protected:
    virtual ~cIGZPresenter3D() = default;
};
