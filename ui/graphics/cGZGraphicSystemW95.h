// The graphic system over the platform display: picks the display driver,
// decides between full screen and window, makes the main window and the
// screen buffer, runs the frame (the window manager's timers, queued
// messages and draw pass, then the present), switches full screen on
// request and plays movies through the movie player.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Display.h"
#include "ui/cGZMainWindowW95.h"
#include "ui/graphics/cGZGraphicSystem.h"
#include "ui/graphics/cGZScreenBuffer.h"
#include "ui/graphics/cIGZMoviePlayer.h"

namespace platform {
class HostWindow;
class Presenter;
}

class cGZGraphicSystemW95 : public cGZGraphicSystem {
public:
    struct Driver {
        platform::DisplayDriver info;
        std::vector<platform::DisplayMode> modes;
    };

    cGZGraphicSystemW95();
    ~cGZGraphicSystemW95() override;

    // What Init works on; made from the environment when not given (a real
    // display and window when one is there, headless otherwise). Not owned.
    void SetDisplay(platform::Display* display) { mpDisplay = display; }
    void SetHostWindow(platform::HostWindow* host) { mpHost = host; }
    void SetMoviePlayer(cIGZMoviePlayer* player) { mpPlayer = player; }

    bool Init() override;
    bool Shutdown() override;
    bool Update() override;
    void SetShuttingDown() override { mnState = kShuttingDown; }
    void ReleaseExclusiveMode() override { SetFullScreen(false); }
    void DestroyMainWindow() override { mMainWindow.Shutdown(); }
    void ShowWarningBox(const char* text, const char* caption) override;

    // cIGZWinGraphics
    cGZBuffer* CreateBuffer() override { return new (std::nothrow) cGZBuffer; }
    PixelFormat GetScreenFormat() const override;
    uint32_t MakeColor(uint8_t red, uint8_t green, uint8_t blue) const override;
    void AddScreenDirtyRect(const cRZRect& rect) override { mScreen.AddDirtyRect(rect); }
    bool HasPresenter() const override { return mScreen.GetPresenter() != nullptr; }

    bool SetFullScreen(bool on);
    bool IsFullScreen() const { return mbFullScreen; }
    bool IsPalettised() const;
    void StopDrawing() { mbDrawingStopped = true; }
    bool IsDrawingStopped() const { return mbDrawingStopped; }
    platform::DisplayMode GetDesktopMode() const;
    platform::DisplayMode GetRequestedMode() const;
    cGZMainWindowW95& GetMainWindow() { return mMainWindow; }
    cGZScreenBuffer& GetScreenBuffer() { return mScreen; }
    platform::HostWindow* GetHostWindow() const { return mpHost; }
    platform::Presenter* GetPresenter() const { return mpPresenter.get(); }
    const std::vector<Driver>& GetDrivers() const { return mDrivers; }
    const Driver* GetChosenDriver() const { return mnChosen < mDrivers.size() ? &mDrivers[mnChosen] : nullptr; }
    bool IsPrimaryDriver() const { return mbPrimary; }
    // The chosen driver's identity (16 zero bytes for the primary display).
    const uint8_t* GetDriverGuid() const { return mGuid.data(); }
    // There is no driver layer to ask for a version here.
    bool ProbeDirectXVersion(uint32_t& version, uint32_t& platformId) const;
    bool GetDirectXVersion(int32_t& major, int32_t& minor) const;
    bool IsInVideoMemory() const { return mScreen.IsInVideoMemory(); }

    bool PlayMovie(const char* fileName, const cGZMovieParams& params);
    bool IsMoviePlaying();
    void StopMovie(int32_t code);

private:
    bool ChooseDriver();

    bool mbFullScreen = true;
    platform::DisplayMode mDesktop{};
    std::recursive_mutex mSwitch;
    std::vector<Driver> mDrivers;
    size_t mnChosen = 0;
    std::array<uint8_t, 16> mGuid{};
    cGZScreenBuffer mScreen;
    cGZMainWindowW95 mMainWindow;
    bool mbPrimary = false;
    bool mbDrawingStopped = false;
    bool mbMoviePlaying = false;
    cGZMovieParams mMovieParams{};
    cIGZMoviePlayer* mpPlayer = nullptr;

    platform::Display* mpDisplay = nullptr;
    platform::HostWindow* mpHost = nullptr;
    std::unique_ptr<platform::Display> mpOwnDisplay;
    std::unique_ptr<platform::HostWindow> mpOwnHost;
    std::unique_ptr<platform::Presenter> mpPresenter;
};

// The provider the framework makes the graphic system with.
cIGZFrameWorkGraphics* GZCreateGraphicSystem();
