// A headless world for window tests: a 640x480 screen in 5-6-5 that records
// dirty rectangles, a manager started on a framework whose frame step runs
// the manager's three frame steps, a headless host window (cursors, the
// pointer), the fake font service, the manual millisecond clock, and a root
// window that, like the main window, draws a grey background and redraws
// every frame.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "framework/cGZFrameWorkW95.h"
#include "gamedata/FrameClock.h"
#include "platform/Clock.h"
#include "platform/HostWindow.h"
#include "platform/PngFile.h"
#include "support/FakeFont.h"
#include "ui/GZHostWindow.h"
#include "ui/GZMessageTypes.h"
#include "ui/cGZWin.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZWinGraphics.h"

namespace tova_test {

class HeadlessScreen : public cIGZFrameWorkGraphics, public cIGZWinGraphics {
public:
    // cIGZSystemService
    int32_t GetServiceID() const override { return kGZGraphicSystemServiceID; }
    void SetRunning(bool) override {}
    bool Init() override { return true; }
    bool OnTick(uint32_t) override { return true; }
    bool Shutdown() override { return true; }
    // cIGZFrameWorkGraphics: one frame = the manager's three steps.
    bool Update() override {
        ++frames;
        FrameClock::Global().TickAt(platform::TimeMs());
        if (cGZWinMgrW95* mgr = GZWinMgr()) {
            mgr->DeliverTimers();
            mgr->DeliverQueued();
            mgr->Plot();
        }
        if (afterFrame) afterFrame();
        return true;
    }
    int HoldDrawing() override { return 1; }
    int ReleaseDrawing() override { return 0; }
    void SetShuttingDown() override {}
    void ReleaseExclusiveMode() override {}
    void DestroyMainWindow() override {}
    void ShowWarningBox(const char*, const char*) override {}
    // cIGZWinGraphics
    cGZBuffer* CreateBuffer() override { return new cGZBuffer; }
    PixelFormat GetScreenFormat() const override { return {cGZBuffer::kFormat565, 16}; }
    uint32_t MakeColor(uint8_t r, uint8_t g, uint8_t b) const override {
        return cGZBuffer::MakeColorFor(cGZBuffer::kFormat565, r, g, b);
    }
    void AddScreenDirtyRect(const cRZRect& rect) override { dirty.push_back(rect); }
    bool HasPresenter() const override { return true; }

    int frames = 0;
    std::vector<cRZRect> dirty;
    std::function<void()> afterFrame;
};

// The root: a grey background, redrawn every frame.
class TestRoot : public cGZWin {
public:
    bool Draw(bool) override {
        if (cGZBuffer* b = GetDrawBuffer()) b->FillRect(MakeColor(96, 96, 96), GetBufferArea());
        return true;
    }
    bool Update(bool force) override {
        const bool drawn = cGZWin::Update(force);
        Invalidate();
        return drawn;
    }
};

// A window that fills itself with one colour and records what reaches it.
class ProbeWin : public cGZWin {
public:
    explicit ProbeWin(uint32_t rgb = 0x4080C0) : mRgb(rgb) {}
    bool Draw(bool) override {
        ++draws;
        if (cGZBuffer* b = GetDrawBuffer())
            b->FillRect(MakeColor(mRgb >> 16 & 0xFF, mRgb >> 8 & 0xFF, mRgb & 0xFF), GetBufferArea());
        return true;
    }
    bool DoMessage(const cGZMessage& m) override {
        messages.push_back(m);
        if (onMessage) onMessage(m);
        return cGZWin::DoMessage(m);
    }
    bool Init() override { return failInit ? false : cGZWin::Init(); }
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t mods) override {
        lastDown = {x, y};
        ++lbuttonDowns;
        return consumes || cGZWin::OnLButtonDown(x, y, mods);
    }
    bool OnKeyDown(uint32_t key, uint32_t mods) override {
        keys.push_back(key);
        return consumes || cGZWin::OnKeyDown(key, mods);
    }
    int CountOf(uint32_t type) const {
        int n = 0;
        for (const cGZMessage& m : messages) n += m.type == type;
        return n;
    }

    uint32_t mRgb;
    int draws = 0;
    int lbuttonDowns = 0;
    bool consumes = true;
    bool failInit = false;
    std::pair<int32_t, int32_t> lastDown{-1, -1};
    std::vector<uint32_t> keys;
    std::vector<cGZMessage> messages;
    std::function<void(const cGZMessage&)> onMessage;
};

class WinTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetManualClock(true);
        platform::AdvanceManualClock(1000);
        GZSetAppActive(true);
        host = platform::HostWindow::CreateHeadless({"test", 640, 480});
        GZSetHostWindow(host.get());
        GZSetFontSys(&fonts);
        mgr = std::make_unique<cGZWinMgrW95>();
        cGZFrameWorkProviders providers;
        providers.createGraphicSystem = [] { return new HeadlessScreen; };
        RZSetFrameWorkProviders(providers);
        mgr->RegisterAsProvider();
        framework = std::make_unique<cGZFrameWorkW95>();
        screen = dynamic_cast<HeadlessScreen*>(&framework->GetGraphicsObject());
        GZSetWinGraphics(screen);
        framework->SetMessageDispatcher([this](const platform::QueuedMessage& m) { dispatched.push_back(m); });
        mgr->Startup(framework.get());
        platform::MessageQueue::Current()->Clear();
        root = new TestRoot;
        root->SetArea(0, 0, 640, 480);
        root->Init();
        root->SetOwnBuffer(true);
        mgr->SetRootWin(root);
        mgr->SetFocus(root);
    }

    void TearDown() override {
        if (mgr->IsWin(root)) mgr->DestroyWin(root);
        mgr.reset();
        GZSetWinGraphics(nullptr);
        framework.reset();
        RZSetFrameWorkProviders({});
        GZSetFontSys(nullptr);
        GZSetHostWindow(nullptr);
        host.reset();
        platform::MessageQueue::Current()->Clear();
        platform::SetTimeMsOffsetForTest(0);
        platform::SetManualClock(false);
    }

    template <class W = ProbeWin, class... Args>
    W* Add(cGZWin* parent, int32_t l, int32_t t, int32_t r, int32_t b, Args&&... args) {
        auto* w = new W(std::forward<Args>(args)...);
        w->SetArea(l, t, r, b);
        EXPECT_TRUE(parent->AddChild(w));
        return w;
    }
    void Frame() { framework->Tick(); }
    void Advance(uint32_t ms) { platform::AdvanceManualClock(ms); }
    bool Route(uint32_t type, intptr_t a = 0, intptr_t b = 0, intptr_t c = 0) {
        return mgr->RouteMessage({type, a, b, c});
    }
    platform::Image Screen() const {
        return platform::ImageFromSurface(*root->GetOwnBuffer()->GetSurface()->Surface());
    }

    std::unique_ptr<platform::HostWindow> host;
    FakeFontSys fonts;
    std::unique_ptr<cGZWinMgrW95> mgr;
    std::unique_ptr<cGZFrameWorkW95> framework;
    HeadlessScreen* screen = nullptr;
    TestRoot* root = nullptr;
    std::vector<platform::QueuedMessage> dispatched;
};

}  // namespace tova_test
