// What the framework asks of the subsystems that stand above it: the graphic
// system, the sound system, the font service and the window manager. The
// program registers providers that create the real ones before FrameworkMain;
// without a provider the framework uses a quiet stand-in, so a framework
// without a display or sound still runs (tests, the demo, batch tools).
#pragma once

#include <functional>

#include "framework/cGZSystemService.h"

class cIGZFrameWork;

// The graphic system's per-frame step: the window manager's draw pass and the
// presentation of the screen. Draws nothing while drawing is held.
class cIGZGraphicSystem {
public:
    virtual bool Update() = 0;

protected:
    virtual ~cIGZGraphicSystem() = default;
};

// The graphic system as the framework owns it: a service (id 1000000) with the
// calls of shutdown, exit and fatal errors.
class cIGZFrameWorkGraphics : public cIGZSystemService, public cIGZGraphicSystem {
public:
    // Raise / lower the drawing-hold count; each answers the new count.
    virtual int HoldDrawing() = 0;
    virtual int ReleaseDrawing() = 0;
    virtual void SetShuttingDown() = 0;
    virtual void ReleaseExclusiveMode() = 0;
    virtual void DestroyMainWindow() = 0;
    // A warning box that waits for the user (stderr without a display).
    virtual void ShowWarningBox(const char* text, const char* caption) = 0;
};

// The one window manager; the framework starts it during Init.
class cIGZWinMgr {
public:
    virtual bool Startup(cIGZFrameWork* framework) = 0;

protected:
    virtual ~cIGZWinMgr() = default;
};

// Creators of the neighbours. Each object made is owned by the framework and
// deleted through its virtual destructor.
struct cGZFrameWorkProviders {
    std::function<cIGZFrameWorkGraphics*()> createGraphicSystem;
    std::function<cIGZSystemService*()> createSoundSystem;  // id 500000
    std::function<cIGZSystemService*()> createFontSystem;   // id 1100000
    cIGZWinMgr* windowManager = nullptr;  // a global object, not owned
};

void RZSetFrameWorkProviders(const cGZFrameWorkProviders& providers);
const cGZFrameWorkProviders& RZGetFrameWorkProviders();
