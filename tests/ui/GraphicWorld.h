// A headless world around the real graphic system: a settable headless
// display, a headless host window, the window manager and the framework, a
// recording application, a recording 3D presenter and a movie player that
// ends after a number of steps.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/cGZFrameWorkW95.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/HostWindow.h"
#include "support/FakeFont.h"
#include "ui/GZHostWindow.h"
#include "ui/cGZMainWindowW95.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/cIGZUIApp.h"
#include "ui/graphics/cGZGraphicSystemW95.h"
#include "ui/graphics/cIGZPresenter3D.h"

namespace tova_test {

class RecordingUIApp : public cIGZUIApp {
public:
    void OnSplashImageEnded(int32_t) override {}
    void OnCloseRequest() override { ++closes; }
    void OnActivate(bool active) override { activations.push_back(active); }
    void OnDisplayDepthChanged() override { ++depthChanges; }
    bool HandlePrivateMessage(uint32_t message, intptr_t, intptr_t) override {
        privates.push_back(message);
        return handlePrivate;
    }
    intptr_t GetCheatManagerValue() override { return 0; }
    void ShowTextWindow(const char*, const char*) override {}
    void OnMovieEnded(int32_t code) override { movieEnds.push_back(code); }
    bool TranslucentMessageBoxes() override { return false; }

    int closes = 0;
    int depthChanges = 0;
    bool handlePrivate = true;
    std::vector<bool> activations;
    std::vector<uint32_t> privates;
    std::vector<int32_t> movieEnds;
};

class RecordingPresenter3D : public cIGZPresenter3D {
public:
    bool Present() override {
        ++presents;
        return true;
    }
    void SetPresentRects(const cRZRect& view) override { views.push_back(view); }
    void SetPaintRect(const cRZRect& rect) override { paints.push_back(rect); }
    cGZDirtyRegion& DirtyList(int index) override { return lists[index & 1]; }

    int presents = 0;
    std::vector<cRZRect> views;
    std::vector<cRZRect> paints;
    cGZDirtyRegion lists[2];
};

class StepsMoviePlayer : public cIGZMoviePlayer {
public:
    explicit StepsMoviePlayer(int steps) : left(steps) {}
    bool OpenAndStart(const char* name, const cGZMovieParams& p) override {
        opened = name;
        params = p;
        return openWorks;
    }
    bool HasEnded() override { return left-- <= 0; }
    void Stop() override { ++stops; }
    bool Present() override {
        ++presents;
        return true;
    }

    int left;
    int presents = 0;
    bool openWorks = true;
    int stops = 0;
    std::string opened;
    cGZMovieParams params;
};

class GraphicWorld : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetManualClock(true);
        platform::AdvanceManualClock(1000);
        GZSetAppActive(true);
        GZSetUIApp(&app);
        cGZGraphicSystem::GetSettings() = {};
        host = platform::HostWindow::CreateHeadless({"test", 640, 480});
        GZSetFontSys(&fonts);
        mgr = std::make_unique<cGZWinMgrW95>();
        cGZFrameWorkProviders providers;
        providers.createGraphicSystem = GZCreateGraphicSystem;
        RZSetFrameWorkProviders(providers);
        mgr->RegisterAsProvider();
        framework = std::make_unique<cGZFrameWorkW95>();
        graphics = dynamic_cast<cGZGraphicSystemW95*>(&framework->GetGraphicsObject());
        ASSERT_NE(graphics, nullptr);
        graphics->SetFramework(framework.get());
        graphics->SetHostWindow(host.get());
        graphics->SetDisplay(&display);
        mgr->Startup(framework.get());
        platform::MessageQueue::Current()->Clear();
    }

    void TearDown() override {
        if (graphics) graphics->Shutdown();
        mgr.reset();
        framework.reset();
        GZSetWinGraphics(nullptr);
        RZSetFrameWorkProviders({});
        GZSetFontSys(nullptr);
        GZSetHostWindow(nullptr);
        GZSetUIApp(nullptr);
        GZSetAppActive(true);
        host.reset();
        cGZGraphicSystem::GetSettings() = {};
        platform::MessageQueue::Current()->Clear();
        platform::SetManualClock(false);
    }

    bool Start() { return graphics->Init(); }
    cGZMainWindowW95& Main() { return graphics->GetMainWindow(); }
    intptr_t Proc(uint32_t message, intptr_t w = 0, intptr_t l = 0, bool* defaulted = nullptr) {
        return Main().WindowProc(message, w, l, defaulted);
    }

    RecordingUIApp app;
    platform::HeadlessDisplay display;
    std::unique_ptr<platform::HostWindow> host;
    FakeFontSys fonts;
    std::unique_ptr<cGZWinMgrW95> mgr;
    std::unique_ptr<cGZFrameWorkW95> framework;
    cGZGraphicSystemW95* graphics = nullptr;
};

}  // namespace tova_test
