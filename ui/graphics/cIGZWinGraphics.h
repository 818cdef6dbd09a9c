// What windows need of the graphic system: new buffers in the screen's
// format, colours of that format, and the screen buffer's dirty rectangles.
// The graphic system installs itself here when it starts; tests install a
// headless screen.
#pragma once

#include <cstdint>

#include "framework/cRZRect.h"
#include "ui/graphics/cGZBuffer.h"

class cIGZWinGraphics {
public:
    // A new, empty buffer (the caller initialises it) with no reference
    // taken; null when out of memory.
    virtual cGZBuffer* CreateBuffer() = 0;
    virtual PixelFormat GetScreenFormat() const = 0;
    virtual uint32_t MakeColor(uint8_t red, uint8_t green, uint8_t blue) const = 0;
    // The screen buffer's AddDirtyRect (root coordinates); nothing while no
    // presenter is attached.
    virtual void AddScreenDirtyRect(const cRZRect& rect) = 0;
    // Whether the screen buffer has the 3D presenter attached.
    virtual bool HasPresenter() const = 0;

protected:
    virtual ~cIGZWinGraphics() = default;
};

cIGZWinGraphics* GZGetWinGraphics();
void GZSetWinGraphics(cIGZWinGraphics* graphics);

// The screen's pixel format, from the installed graphic system or the
// buffers' screen format.
PixelFormat GZScreenFormat();
// A colour in the screen format.
uint32_t GZScreenColor(uint8_t red, uint8_t green, uint8_t blue);
// The transparent colour key of the screen format (red 255, green 0, blue 255).
uint32_t GZTransparentColor();
// A buffer of the given size in the screen format with one reference taken,
// or null (no graphic system, zero size, failed creation).
cGZBuffer* GZCreateScreenBuffer(int32_t width, int32_t height);
