#include "GraphicWorld.h"

#include <cstring>

#include "platform/Presenter.h"
#include "platform/WindowMessages.h"
#include "ui/graphics/cGZBufferSurfaceW95DX.h"

namespace tova_test {
namespace {

class CountingWin : public cGZWin {
public:
    bool Draw(bool) override {
        ++draws;
        return true;
    }
    bool OnCommand(intptr_t code, intptr_t) override {
        commands.push_back(code);
        return true;
    }
    bool OnTimer(intptr_t value) override {
        timers.push_back(value);
        return true;
    }
    int draws = 0;
    std::vector<intptr_t> commands;
    std::vector<intptr_t> timers;
};

platform::DisplayDriver Driver(uint8_t first, const std::string& description) {
    platform::DisplayDriver d;
    d.guid[0] = first;
    d.description = description;
    d.name = "d" + std::to_string(first);
    return d;
}

TEST_F(GraphicWorld, StartsWindowedAndRunning) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(graphics->GetState(), cGZGraphicSystem::kRunning);
    EXPECT_FALSE(graphics->IsFullScreen());
    EXPECT_TRUE(graphics->IsPrimaryDriver());
    const uint8_t zeros[16] = {};
    EXPECT_EQ(std::memcmp(graphics->GetDriverGuid(), zeros, 16), 0);
    EXPECT_EQ(mgr->GetRootWin(), &Main());
    EXPECT_EQ(Main().GetDrawBuffer(), &graphics->GetScreenBuffer());
    EXPECT_EQ(graphics->GetScreenFormat().code, cGZBuffer::kFormat565);
    int32_t major = 0, minor = 0;
    EXPECT_FALSE(graphics->GetDirectXVersion(major, minor));
    EXPECT_EQ(GZGetWinGraphics(), graphics);
}

TEST_F(GraphicWorld, DesktopDepthOrSizeDecidesFullScreen) {
    struct Case {
        int32_t desktopW, desktopH, fixedDepth;
        bool full;
    } cases[] = {
        {1024, 768, 32, true},   // requested 16 on a fixed 32-bit desktop
        {1024, 768, 0, false},   // the desktop follows the request
        {600, 400, 0, true},     // too small for the window
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desktopW);
        display.SetDesktop(c.desktopW, c.desktopH, c.fixedDepth);
        cGZGraphicSystemW95 gs;
        gs.SetHostWindow(host.get());
        gs.SetDisplay(&display);
        ASSERT_TRUE(gs.Init());
        EXPECT_EQ(gs.IsFullScreen(), c.full);
        gs.Shutdown();
    }
}

TEST_F(GraphicWorld, MissingModeFallsBackToWindowed) {
    cGZGraphicSystem::SetWindowed(false);
    display.SetModes({{1024, 768, 16}});
    cGZGraphicSystem::SetRequestedMode(800, 600, 16);
    // The headless display adds the requested size to its list; a display
    // listing another depth only does not offer it.
    display.SetDesktop(1024, 768, 32);
    cGZGraphicSystem::SetRequestedMode(640, 480, 32);
    ASSERT_TRUE(Start());
    EXPECT_FALSE(graphics->IsFullScreen());
}

TEST_F(GraphicWorld, DriverIdentityByGuidByTextOrNone) {
    display.SetDrivers({Driver(0, "primary"), Driver(7, "second card"), Driver(9, "third card")});
    uint8_t identity[32] = {};
    struct Case {
        const char* text;
        uint8_t guidFirst;
        size_t chosen;
    } cases[] = {{"", 9, 2}, {"second", 0, 1}, {"", 0, 0}, {"nothing like it", 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::memset(identity, 0, sizeof identity);
        if (c.guidFirst) identity[0] = c.guidFirst;
        else std::strncpy(reinterpret_cast<char*>(identity), c.text, 31);
        cGZGraphicSystem::SetDriverIdentity(identity);
        cGZGraphicSystemW95 gs;
        gs.SetHostWindow(host.get());
        gs.SetDisplay(&display);
        ASSERT_TRUE(gs.Init());
        ASSERT_NE(gs.GetChosenDriver(), nullptr);
        EXPECT_EQ(gs.GetChosenDriver() - gs.GetDrivers().data(), static_cast<ptrdiff_t>(c.chosen));
        EXPECT_EQ(gs.IsPrimaryDriver(), c.chosen == 0);
        // A secondary driver cannot show a window: full screen.
        EXPECT_EQ(gs.IsFullScreen(), c.chosen != 0);
        gs.Shutdown();
    }
}

TEST_F(GraphicWorld, SetFullScreenWithCurrentStateDoesNothing) {
    ASSERT_TRUE(Start());
    cGZBuffer* surfaceOwner = &graphics->GetScreenBuffer();
    cGZBufferColorSurfaceW95DX* before = surfaceOwner->GetSurface();
    EXPECT_TRUE(graphics->SetFullScreen(false));
    EXPECT_EQ(surfaceOwner->GetSurface(), before);
    EXPECT_TRUE(graphics->SetFullScreen(true));
    EXPECT_TRUE(graphics->IsFullScreen());
    EXPECT_TRUE(host->IsFullScreen());
    EXPECT_EQ(Main().GetStyleFlags(), 0u);
    EXPECT_TRUE(graphics->GetScreenBuffer().IsValid());
}

TEST_F(GraphicWorld, HeldDrawingNeitherDeliversNorDraws) {
    ASSERT_TRUE(Start());
    auto* w = new CountingWin;
    w->SetArea(10, 10, 100, 100);
    Main().AddChild(w);
    mgr->QueueMessage(w, 3, 42, 0);
    graphics->HoldDrawing();
    graphics->Update();
    EXPECT_TRUE(w->commands.empty());
    EXPECT_EQ(w->draws, 0);
    graphics->ReleaseDrawing();
    graphics->Update();
    EXPECT_EQ(w->commands, std::vector<intptr_t>{42});
    EXPECT_GT(w->draws, 0);
}

TEST_F(GraphicWorld, AfterStopDrawingMessagesRunAndFramesPresentWithoutDrawing) {
    ASSERT_TRUE(Start());
    auto* w = new CountingWin;
    w->SetArea(10, 10, 100, 100);
    Main().AddChild(w);
    graphics->Update();
    const int drawn = w->draws;
    auto* presenter = dynamic_cast<platform::HeadlessPresenter*>(graphics->GetPresenter());
    ASSERT_NE(presenter, nullptr);
    presenter->ClearLog();
    graphics->StopDrawing();
    mgr->QueueMessage(w, 3, 7, 0);
    mgr->SetTimer(w, 10, 99);
    w->InvalidateAll();
    platform::AdvanceManualClock(20);
    graphics->Update();
    graphics->Update();
    EXPECT_EQ(w->commands, std::vector<intptr_t>{7});
    EXPECT_FALSE(w->timers.empty());
    EXPECT_EQ(w->draws, drawn);
    EXPECT_EQ(presenter->Log().size(), 2u);
}

TEST_F(GraphicWorld, DepthChangeWhileWindowedStopsDrawingAndTellsTheApplication) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(Proc(platform::kMsgDisplayChange, 16), 0);
    EXPECT_FALSE(graphics->IsDrawingStopped());
    EXPECT_EQ(Proc(platform::kMsgDisplayChange, 24), 1);
    EXPECT_TRUE(graphics->IsDrawingStopped());
    EXPECT_EQ(app.depthChanges, 1);
}

TEST_F(GraphicWorld, DepthChangeInFullScreenIsIgnored) {
    ASSERT_TRUE(Start());
    graphics->SetFullScreen(true);
    EXPECT_EQ(Proc(platform::kMsgDisplayChange, 24), 0);
    EXPECT_FALSE(graphics->IsDrawingStopped());
}

TEST_F(GraphicWorld, JustEndedMovieStopsWithZeroAndStillAnswersPlaying) {
    ASSERT_TRUE(Start());
    StepsMoviePlayer player(2);
    graphics->SetMoviePlayer(&player);
    ASSERT_TRUE(graphics->PlayMovie("intro.mov", {320, 240, true, false, false}));
    EXPECT_EQ(player.params.x, 0);
    EXPECT_EQ(player.params.y, 120);
    EXPECT_TRUE(graphics->IsMoviePlaying());  // one step left
    EXPECT_TRUE(graphics->IsMoviePlaying());  // ends now: stopped with 0, still true
    EXPECT_EQ(app.movieEnds, std::vector<int32_t>{0});
    EXPECT_FALSE(graphics->IsMoviePlaying());
    graphics->StopMovie(1);  // nothing to stop: only the cursor comes back
    EXPECT_EQ(app.movieEnds.size(), 1u);
    EXPECT_EQ(player.stops, 1);
}

TEST_F(GraphicWorld, UpdateShowsTheMoviesFramesInsteadOfTheWindows) {
    ASSERT_TRUE(Start());
    StepsMoviePlayer player(100);
    graphics->SetMoviePlayer(&player);
    ASSERT_TRUE(graphics->PlayMovie("intro.mov", {320, 240, false, false, false}));
    graphics->Update();
    graphics->Update();
    EXPECT_EQ(player.presents, 2);
}

TEST_F(GraphicWorld, KeyOrDeactivationStopsAMovieWithOne) {
    ASSERT_TRUE(Start());
    StepsMoviePlayer player(100);
    graphics->SetMoviePlayer(&player);
    ASSERT_TRUE(graphics->PlayMovie("intro.mov", {320, 240, false, false, false}));
    Proc(platform::kMsgActivateApp, 0);
    EXPECT_EQ(app.movieEnds, std::vector<int32_t>{1});
    EXPECT_FALSE(graphics->PlayMovie("intro.mov", {320, 240, false, false, false}));  // inactive
    EXPECT_EQ(app.movieEnds, (std::vector<int32_t>{1, 0}));
}

TEST_F(GraphicWorld, ScreenBufferInitScreenTwiceAndClipping) {
    ASSERT_TRUE(Start());
    cGZScreenBuffer& screen = graphics->GetScreenBuffer();
    cGZBufferColorSurfaceW95DX* surface = screen.GetSurface();
    EXPECT_TRUE(screen.InitScreen(640, 480, 1, 7, 16, nullptr, 1, 0, false));
    EXPECT_EQ(screen.GetSurface(), surface);
    screen.SetViewRect({0, 0, 640, 480});
    int32_t x = -5, y = 9999;
    screen.ClipPointToView(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 480);
    cGZScreenBuffer plain;
    EXPECT_FALSE(plain.InitScreen(0, 480, 1, 7, 16, nullptr, 1, 0, false));
    ASSERT_TRUE(plain.Init(8, 8, 7, 16, nullptr, 0, 0));
    EXPECT_FALSE(plain.InitScreen(640, 480, 1, 7, 16, nullptr, 1, 0, false));
}

TEST(ScreenBuffer, ReserveAboveTheBudgetEndsInSystemMemory) {
    struct Case {
        uint64_t budget;
        uint32_t reserve;
        bool video;
    } cases[] = {{64ull << 20, 0x20000, true}, {640 * 480 * 2 + 0x10000, 0x20000, false}, {1ull << 20, 8u << 20, false}};
    const uint64_t saved = cGZBufferSurfaceW95DX::VideoMemoryFree();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reserve);
        cGZBufferSurfaceW95DX::SetVideoMemoryFree(c.budget);
        auto presenter = platform::HeadlessPresenter::Create(640, 480, platform::PixelLayout::Rgb565);
        cGZScreenBuffer screen;
        screen.SetPrimaryPresenter(presenter.get());
        ASSERT_TRUE(screen.InitScreen(640, 480, 1, 7, 16, nullptr, 1, c.reserve, false));
        EXPECT_EQ(screen.IsInVideoMemory(), c.video);
        EXPECT_EQ(screen.IsVideoAllowed(), c.video);
        screen.Shutdown();
        // Every probe and the screen's own video memory came back.
        EXPECT_EQ(cGZBufferSurfaceW95DX::VideoMemoryFree(), c.budget);
    }
    cGZBufferSurfaceW95DX::SetVideoMemoryFree(saved);
}

TEST(ScreenBuffer, SelectBufferFlipsOnlyWithTwoBuffers) {
    auto presenter = platform::HeadlessPresenter::Create(64, 48, platform::PixelLayout::Rgb565);
    cGZScreenBuffer two;
    two.SetPrimaryPresenter(presenter.get());
    ASSERT_TRUE(two.InitScreen(64, 48, 1, 7, 16, nullptr, 2, 0, false));
    EXPECT_EQ(two.GetBufferCount(), 2u);
    EXPECT_EQ(two.GetCurrentBuffer(), 1);
    cGZBufferColorSurfaceW95DX* front = two.GetSurface();
    EXPECT_TRUE(two.SelectBuffer(1));
    EXPECT_EQ(two.GetSurface(), front);
    EXPECT_TRUE(two.SelectBuffer(2));
    EXPECT_NE(two.GetSurface(), front);
    cGZScreenBuffer one;
    one.SetPrimaryPresenter(presenter.get());
    ASSERT_TRUE(one.InitScreen(64, 48, 1, 7, 16, nullptr, 1, 0, false));
    front = one.GetSurface();
    EXPECT_TRUE(one.SelectBuffer(5));
    EXPECT_EQ(one.GetSurface(), front);
    EXPECT_EQ(one.GetCurrentBuffer(), 5);
}

TEST_F(GraphicWorld, DirtyRectanglesGoToBothPresenterLists) {
    ASSERT_TRUE(Start());
    cGZScreenBuffer& screen = graphics->GetScreenBuffer();
    screen.AddDirtyRect({0, 0, 10, 10});  // no presenter: nothing happens
    RecordingPresenter3D presenter;
    screen.SetPresenter(&presenter);
    ASSERT_EQ(presenter.views.size(), 1u);
    Main().PresenterRect(0) = {0, 0, 320, 480};
    Main().PresenterRect(1) = {320, 0, 640, 480};
    graphics->AddScreenDirtyRect({300, 100, 340, 120});
    graphics->AddScreenDirtyRect({400, 10, 404, 20});
    ASSERT_EQ(presenter.lists[0].Count(), 1u);
    EXPECT_EQ(presenter.lists[0][0].left, 300);
    EXPECT_EQ(presenter.lists[0][0].right, 320);
    ASSERT_EQ(presenter.lists[1].Count(), 2u);
    EXPECT_EQ(presenter.lists[1][0].left, 320);
    graphics->Update();
    EXPECT_EQ(presenter.presents, 1);
    Proc(platform::kMsgPaint);
    EXPECT_EQ(presenter.paints.size(), 1u);
    screen.SetPresenter(nullptr);
}

}  // namespace
}  // namespace tova_test
