#include "ui/graphics/cGZGraphicSystemW95.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/cGZCheatCodeManager.h"
#include "framework/cGZFrameWork.h"
#include "platform/HostWindow.h"
#include "platform/MessageBox.h"
#include "platform/Presenter.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/cIGZUIApp.h"
#include "ui/graphics/cGZBufferSurfaceW95DX.h"

cGZGraphicSystemW95::cGZGraphicSystemW95() : mMainWindow(this) {}

cGZGraphicSystemW95::~cGZGraphicSystemW95() {
    if (GZGetWinGraphics() == this) GZSetWinGraphics(nullptr);
    if (mnState == kRunning) Shutdown();
}

bool cGZGraphicSystemW95::ChooseDriver() {
    const Settings& s = GetSettings();
    mnChosen = 0;
    const bool configured = std::any_of(s.driverIdentity.begin(), s.driverIdentity.end(), [](uint8_t b) { return b; });
    if (configured) {
        const std::string text(reinterpret_cast<const char*>(s.driverIdentity.data()),
                               strnlen(reinterpret_cast<const char*>(s.driverIdentity.data()), 32));
        for (size_t i = 0; i < mDrivers.size(); ++i) {
            const auto& d = mDrivers[i].info;
            if (std::equal(d.guid.begin(), d.guid.end(), s.driverIdentity.begin()) ||
                (!text.empty() && d.description.find(text) != std::string::npos)) {
                mnChosen = i;
                break;
            }
        }
    }
    mGuid = mDrivers[mnChosen].info.guid;
    mbPrimary = std::all_of(mGuid.begin(), mGuid.end(), [](uint8_t b) { return b == 0; });
    return true;
}

bool cGZGraphicSystemW95::Init() {
    const Settings& s = GetSettings();
    const int32_t screenFormat = cGZBuffer::GetScreenFormat();
    bool wantFull = !s.windowed;
    if (!mpHost) {
        mpOwnHost = platform::HostWindow::Create({"", s.width, s.height, platform::WindowFrame::Caption});
        mpHost = mpOwnHost.get();
    }
    if (!mpHost) return false;
    if (!mpDisplay) {
        if (!mpHost->IsHeadless()) mpOwnDisplay = platform::Display::CreateSdl();
        if (!mpOwnDisplay) mpOwnDisplay = std::make_unique<platform::HeadlessDisplay>();
        mpDisplay = mpOwnDisplay.get();
    }
    mDrivers.clear();
    for (const platform::DisplayDriver& d : mpDisplay->Drivers())
        mDrivers.push_back({d, mpDisplay->Modes(s.width, s.height)});
    if (mDrivers.empty()) return false;
    ChooseDriver();

    mDesktop = mpDisplay->Desktop(s.bits);
    if (!mbPrimary || mDesktop.bitsPerPixel != s.bits || mDesktop.width < s.width || mDesktop.height < s.height)
        wantFull = true;
    mScreenRect = {0, 0, s.width, s.height};
    if (wantFull) {
        const auto& modes = mDrivers[mnChosen].modes;
        if (std::find(modes.begin(), modes.end(), platform::DisplayMode{s.width, s.height, s.bits}) == modes.end())
            wantFull = false;
    }
    cGZBufferSurfaceW95DX::SetVideoMemoryFree(mpDisplay->VideoMemoryFree());
    cGZBufferSurfaceW95DX::sSystemMemoryOnly = s.systemMemoryOnly;

    mMainWindow.SetHostWindow(mpHost);
    if (!mMainWindow.Init()) return false;
    mbFullScreen = false;
    if (wantFull) SetFullScreen(true);
    else mMainWindow.SetWindowedStyle();

    const platform::PixelLayout layout =
        screenFormat == cGZBuffer::kFormat555 ? platform::PixelLayout::Rgb555 : platform::PixelLayout::Rgb565;
    mpPresenter = mpHost->CreatePresenter(s.width, s.height, layout);
    if (!mpPresenter) return false;
    mScreen.SetPrimaryPresenter(mpPresenter.get());
    mScreen.SetSystemMemoryOnly(s.systemMemoryOnly);
    mScreen.SetFullScreen(mbFullScreen);
    mScreen.SetPresenterRects(&mMainWindow.PresenterRect(0), &mMainWindow.PresenterRect(1));
    if (!mScreen.InitScreen(s.width, s.height, s.screenSetting, screenFormat, 16, nullptr, s.bufferCount,
                            s.textureReserve, s.keepSystemCopy))
        return false;
    if (!mScreen.IsFlipping() && !s.keepSystemCopy) mMainWindow.SetScreenBuffer(&mScreen);
    // The application's start-up divides the screen: nothing for the first list, everything for the second.
    mMainWindow.PresenterRect(0) = {};
    mMainWindow.PresenterRect(1) = mScreenRect;
    if (!mbFullScreen) mMainWindow.OnWin32Move();
    GZSetWinGraphics(this);
    mnState = kRunning;
    if (cGZWinMgrW95* mgr = GZWinMgr(); mgr && mMainWindow.GetCheatCodeManager())
        mgr->RegisterTipsCheat(*mMainWindow.GetCheatCodeManager());
    return true;
}

bool cGZGraphicSystemW95::SetFullScreen(bool on) {
    if (on == mbFullScreen) return true;
    std::lock_guard lock(mSwitch);
    if (mnState != kNotStarted) mScreen.FreeSurface();
    if (mpHost) mpHost->SetFullScreen(on);
    mbFullScreen = on;
    mScreen.SetFullScreen(on);
    if (mnState != kShuttingDown) {
        if (mnState != kNotStarted) {
            mScreen.UpdateMemoryPolicy();
            mScreen.Recreate();
        }
        if (on) mMainWindow.SetFullScreenStyle();
        else mMainWindow.SetWindowedStyle();
    }
    return true;
}

bool cGZGraphicSystemW95::Update() {
    if (mnHoldCount != 0) return true;
    cGZWinMgrW95* mgr = GZWinMgr();
    if (mgr) {
        mgr->DeliverTimers();
        mgr->DeliverQueued();
    }
    if (IsMoviePlaying()) {
        if (mpPlayer && mpPlayer->HasEnded()) StopMovie(0);
        else if (mpPlayer) mpPlayer->Present();
        return true;
    }
    if (mScreen.IsValid() && !mbDrawingStopped && mgr) mgr->Plot();
    mScreen.Present();
    return true;
}

bool cGZGraphicSystemW95::Shutdown() {
    mnState = kShuttingDown;
    mMainWindow.Shutdown();
    SetFullScreen(false);
    mScreen.Shutdown();
    mpPresenter.reset();
    mDrivers.clear();
    if (GZGetWinGraphics() == this) GZSetWinGraphics(nullptr);
    return true;
}

void cGZGraphicSystemW95::ShowWarningBox(const char* text, const char* caption) {
    platform::ShowWarningBox(caption ? caption : "", text ? text : "");
}

PixelFormat cGZGraphicSystemW95::GetScreenFormat() const {
    const PixelFormat f = mScreen.GetPixelFormat();
    return mScreen.IsScreenInitialised() ? f : PixelFormat{cGZBuffer::GetScreenFormat(), 16};
}

uint32_t cGZGraphicSystemW95::MakeColor(uint8_t red, uint8_t green, uint8_t blue) const {
    return cGZBuffer::MakeColorFor(GetScreenFormat().code, red, green, blue);
}

bool cGZGraphicSystemW95::IsPalettised() const {
    const int32_t code = GetScreenFormat().code;
    return code == cGZBuffer::kFormatIndex4 || code == cGZBuffer::kFormatIndex8;
}

platform::DisplayMode cGZGraphicSystemW95::GetDesktopMode() const { return mDesktop; }

platform::DisplayMode cGZGraphicSystemW95::GetRequestedMode() const {
    return {GetSettings().width, GetSettings().height, GetSettings().bits};
}

bool cGZGraphicSystemW95::ProbeDirectXVersion(uint32_t& version, uint32_t& platformId) const {
    version = 0;
    platformId = 0;
    return false;
}

bool cGZGraphicSystemW95::GetDirectXVersion(int32_t& major, int32_t& minor) const {
    uint32_t version = 0, platformId = 0;
    if (!ProbeDirectXVersion(version, platformId)) return false;
    major = static_cast<int32_t>(version >> 8 & 0xFF);
    minor = static_cast<int32_t>(version & 0xFF);
    return true;
}

bool cGZGraphicSystemW95::PlayMovie(const char* fileName, const cGZMovieParams& params) {
    cIGZUIApp* app = GZGetUIApp();
    if (!GZIsAppActive() || !mpPlayer) {
        if (app) app->OnMovieEnded(0);
        return false;
    }
    mMainWindow.HideCursorOver(true);
    const uint32_t black = MakeColor(0, 0, 0);
    mScreen.Clear(black);
    mMovieParams = params;
    const int32_t w = params.width * (params.doubleWidth ? 2 : 1);
    const int32_t h = params.height * (params.doubleHeight ? 2 : 1);
    mMovieParams.x = (mScreenRect.right - w) / 2;
    mMovieParams.y = (mScreenRect.bottom - h) / 2;
    mMovieParams.windowed = !mbFullScreen;
    mbMoviePlaying = true;
    if (!mpPlayer->OpenAndStart(fileName, mMovieParams)) StopMovie(0);
    else if (mpPlayer->HasEnded()) StopMovie(0);
    return mbMoviePlaying;
}

bool cGZGraphicSystemW95::IsMoviePlaying() {
    if (!mbMoviePlaying) return false;
    if (mpPlayer && mpPlayer->HasEnded()) StopMovie(0);
    return true;
}

void cGZGraphicSystemW95::StopMovie(int32_t code) {
    if (mbMoviePlaying) {
        mbMoviePlaying = false;
        if (mpPlayer) mpPlayer->Stop();
        mScreen.Clear(MakeColor(0, 0, 0));
        mMovieParams = {};
        if (cIGZUIApp* app = GZGetUIApp()) app->OnMovieEnded(code);
    }
    mMainWindow.HideCursorOver(false);
}

cIGZFrameWorkGraphics* GZCreateGraphicSystem() { return new (std::nothrow) cGZGraphicSystemW95; }
