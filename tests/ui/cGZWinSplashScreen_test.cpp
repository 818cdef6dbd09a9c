#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "WinTestHarness.h"
#include "platform/MessageQueue.h"
#include "platform/WindowMessages.h"
#include "support/GoldenImage.h"
#include "ui/cIGZUIApp.h"
#include "ui/controls/cGZWinSplashScreen.h"

namespace {

using namespace tova_test;

class SplashApp : public cIGZUIApp {
public:
    void OnSplashImageEnded(int32_t index) override { ended.push_back(index); }
    void OnCloseRequest() override {}
    void OnActivate(bool) override {}
    void OnDisplayDepthChanged() override {}
    bool HandlePrivateMessage(uint32_t, intptr_t, intptr_t) override { return false; }
    intptr_t GetCheatManagerValue() override { return 0; }
    void ShowTextWindow(const char*, const char*) override {}
    void OnMovieEnded(int32_t) override {}
    bool TranslucentMessageBoxes() override { return false; }

    std::vector<int32_t> ended;
};

cGZBuffer* Picture(int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b) {
    cGZBuffer* picture = GZCreateScreenBuffer(width, height);
    picture->Clear(picture->MakeColor(r, g, b));
    picture->FillRect4(picture->MakeColor(255, 255, 255), width / 4, height / 4, width * 3 / 4, height * 3 / 4);
    return picture;
}

class Splash : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        GZSetUIApp(&app);
    }
    void TearDown() override {
        GZSetUIApp(nullptr);
        WinTest::TearDown();
    }
    // Images of the given delays (-1 = none), over the whole root.
    cGZWinSplashScreen* Make(std::vector<int32_t> delays, bool skippable = false) {
        auto* splash = new cGZWinSplashScreen;
        for (size_t i = 0; i < delays.size(); ++i) {
            if (delays[i] < 0) continue;
            const cRZString caption(("Image " + std::to_string(i)).c_str());
            splash->SetImage(static_cast<int32_t>(i), Picture(200, 120, 40, static_cast<uint8_t>(60 * i), 120),
                             delays[i], &caption);
        }
        splash->SetFont(&font);
        splash->SetSkippable(skippable);
        splash->SetArea(0, 0, 640, 480);
        splash->SetOwnBuffer(true);
        EXPECT_TRUE(root->AddChild(splash));
        return splash;
    }
    // Frames every 10 ms for the time given.
    void RunFor(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) {
            Advance(10);
            Frame();
        }
    }
    SplashApp app;
    FakeFont font;
};

TEST_F(Splash, ImagesFollowTheirDelaysAndTheApplicationHearsWhichEnded) {
    cGZWinSplashScreen* splash = Make({500, 300, 0});
    Frame();
    RunFor(490);
    EXPECT_TRUE(app.ended.empty());
    RunFor(20);
    EXPECT_EQ(app.ended, std::vector<int32_t>{0});
    EXPECT_EQ(splash->GetCurrentImage(), 1);
    RunFor(310);
    EXPECT_EQ(app.ended, (std::vector<int32_t>{0, 1}));
    // Delay 0: stays until skipped.
    RunFor(5000);
    EXPECT_EQ(splash->GetCurrentImage(), 2);
    EXPECT_EQ(app.ended.size(), 2u);
}

TEST_F(Splash, OneImageHasNoTimer) {
    cGZWinSplashScreen* splash = Make({300});
    RunFor(3000);
    EXPECT_TRUE(app.ended.empty());
    EXPECT_EQ(splash->GetCurrentImage(), 0);
}

TEST_F(Splash, SkippingWorksOnlyAfterTheFirstSecondOfDrawingAndWhenAllowed) {
    struct Case {
        bool skippable;
        uint32_t waitMs;
        uint32_t type;  // key down or press
        uint32_t key;
        bool skips;
    };
    const Case cases[] = {
        {true, 500, kGZMsgKeyDown, 27, false},  {true, 990, kGZMsgLButtonDown, 0, false},
        {true, 1000, kGZMsgKeyDown, 27, true},  {true, 1200, kGZMsgKeyDown, 13, true},
        {true, 1200, kGZMsgLButtonDown, 0, true}, {true, 1200, kGZMsgKeyDown, 32, false},
        {false, 1500, kGZMsgKeyDown, 27, false},
    };
    for (const Case& c : cases) {
        app.ended.clear();
        cGZWinSplashScreen* splash = Make({0, 0}, c.skippable);
        mgr->SetFocus(splash);
        Frame();  // the first draw
        Advance(c.waitMs);
        splash->DoMessage({c.type, static_cast<intptr_t>(c.key), 0, 0});
        EXPECT_EQ(splash->GetCurrentImage(), c.skips ? 1 : 0) << c.waitMs << " key " << c.key;
        EXPECT_EQ(app.ended.size(), c.skips ? 1u : 0u);
        // Skippable: one advance per showing.
        splash->DoMessage({c.type, static_cast<intptr_t>(c.key), 0, 0});
        EXPECT_EQ(splash->GetCurrentImage(), c.skips ? 1 : 0);
        mgr->DestroyWin(splash);
    }
}

TEST_F(Splash, OnceTheImageIsShownOnlyTheTextAreasAreMarkedDirty) {
    cGZWinSplashScreen* splash = Make({0, 0}, true);
    Frame();
    splash->SetStatusText(cRZString("Loading"));
    RunFor(300);
    screen->dirty.clear();
    RunFor(100);
    ASSERT_FALSE(screen->dirty.empty());
    for (const cRZRect& r : screen->dirty) EXPECT_GE(r.top, 480 - 4 * FakeFont::kLineHeight);
    // A new image is marked whole again; a skip flushes the input waiting.
    Advance(1000);
    platform::MessageQueue::Current()->Post(platform::kMsgKeyDown, 27, 0);  // a second skip typed ahead
    ASSERT_TRUE(platform::MessageQueue::Current()->HasInput());
    splash->DoMessage({kGZMsgKeyDown, 13, 0, 0});
    EXPECT_EQ(splash->GetCurrentImage(), 1);
    EXPECT_FALSE(platform::MessageQueue::Current()->HasInput());
    screen->dirty.clear();
    Frame();
    bool whole = false;
    for (const cRZRect& r : screen->dirty) whole |= r.top == 0 && r.bottom == 480;
    EXPECT_TRUE(whole);
}

TEST_F(Splash, AnIndexOutsideTheFourIsIgnored) {
    auto* splash = new cGZWinSplashScreen;
    cGZBuffer* picture = Picture(4, 4, 1, 2, 3);
    picture->AddRef();
    for (int32_t index : {-1, 4, 1000}) splash->SetImage(index, picture, 100, nullptr);
    delete splash;  // would release a stored image
    EXPECT_EQ(picture->Release(), 1);
    EXPECT_EQ(picture->Release(), 0);
}

TEST_F(Splash, MessagesPostedTogetherSlideInOneAfterTheOtherEachOverOneSecond) {
    cGZWinSplashScreen* splash = Make({0});
    Frame();
    splash->SetStatusText(cRZString("Loading 1"));
    splash->SetStatusText(cRZString("Loading 2"));
    Advance(300);
    splash->SetStatusText(cRZString("Loading 3"));
    EXPECT_EQ(splash->GetPendingCount(), 2u);
    EXPECT_STREQ(splash->GetStatusText().c_str(), "Loading 1");
    Frame();  // the slide starts here
    EXPECT_FLOAT_EQ(splash->GetNewTextPosition(), 1.0f);
    RunFor(500);
    EXPECT_NEAR(splash->GetNewTextPosition(), 0.5f, 0.02f);
    EXPECT_NEAR(splash->GetOldTextPosition(), -0.5f, 0.02f);
    RunFor(510);
    EXPECT_STREQ(splash->GetStatusText().c_str(), "Loading 2");
    EXPECT_STREQ(splash->GetOldText().c_str(), "Loading 1");
    EXPECT_EQ(splash->GetPendingCount(), 1u);
    RunFor(1000);
    EXPECT_STREQ(splash->GetStatusText().c_str(), "Loading 3");
    EXPECT_EQ(splash->GetPendingCount(), 0u);
    RunFor(1010);
    EXPECT_FLOAT_EQ(splash->GetNewTextPosition(), 0.0f);
    EXPECT_FLOAT_EQ(splash->GetOldTextPosition(), -1.0f);
    // Nothing runs now: a new text starts at once.
    splash->SetStatusText(cRZString("Done"));
    EXPECT_STREQ(splash->GetStatusText().c_str(), "Done");
}

TEST_F(Splash, TextsFromASecondThreadAreNeverHalfEntered) {
    // Texts of one repeated letter: a half-entered one would mix letters or lengths.
    std::set<std::string> posted;
    for (char ch = 'a'; ch <= 'z'; ++ch) posted.insert(std::string(static_cast<size_t>(ch - 'a' + 1), ch));
    cGZWinSplashScreen* splash = Make({0});
    splash->SetStatusText(cRZString("early"));  // before any draw
    posted.insert("early");
    posted.insert("");
    std::atomic<bool> done{false};
    std::thread loader([&] {
        for (int round = 0; round < 20; ++round)
            for (const std::string& text : posted)
                if (!text.empty() && text != "early") splash->SetStatusText(cRZString(text.c_str()));
        done = true;
    });
    int frames = 0;
    int changes = 0;
    std::string current = splash->GetStatusText().c_str();
    while (!done || frames < 300) {
        Advance(7);
        Frame();
        ++frames;
        const std::string now = splash->GetStatusText().c_str();
        EXPECT_EQ(posted.count(now), 1u) << now;
        EXPECT_EQ(posted.count(splash->GetOldText().c_str()), 1u);
        if (now != current) ++changes, current = now;
    }
    loader.join();
    // Nothing lost: every text was entered or waits in the queue.
    EXPECT_GT(changes, 0);
    EXPECT_EQ(static_cast<size_t>(changes) + splash->GetPendingCount(), 20u * 26u);
}

TEST_F(Splash, ATextAfterShutdownIsSafe) {
    cGZWinSplashScreen* splash = Make({0});
    splash->AddRef();
    mgr->DestroyWin(splash);
    splash->SetStatusText(cRZString("late"));
    EXPECT_STREQ(splash->GetStatusText().c_str(), "late");
    splash->Release();
}

TEST_F(Splash, MidSlideMatchesTheGolden) {
    cGZWinSplashScreen* splash = Make({0});
    Frame();
    splash->SetStatusText(cRZString("Loading the neighbourhood"));
    Frame();
    RunFor(1100);
    splash->SetStatusText(cRZString("Loading people"));
    Frame();
    RunFor(400);
    EXPECT_TRUE(MatchesGolden(Screen(), "ui/golden/splash_mid_slide.png"));
}

}  // namespace
