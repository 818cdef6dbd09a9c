#include "WinTestHarness.h"

#include "framework/cGZCheatCodeManager.h"
#include "ui/cIGZUIApp.h"

using tova_test::ProbeWin;
using tova_test::WinTest;

namespace {

// Records what the window framework asks of the application.
class RecordingUIApp : public cIGZUIApp {
public:
    void OnSplashImageEnded(int32_t) override {}
    void OnCloseRequest() override {}
    void OnActivate(bool) override {}
    void OnDisplayDepthChanged() override {}
    bool HandlePrivateMessage(uint32_t, intptr_t, intptr_t) override { return false; }
    intptr_t GetCheatManagerValue() override { return 0; }
    void ShowTextWindow(const char* text, const char* title) override {
        texts.push_back(text);
        titles.push_back(title);
    }
    void OnMovieEnded(int32_t) override {}
    bool TranslucentMessageBoxes() override { return false; }

    std::vector<std::string> texts, titles;
};

class ManagerExtras : public WinTest {};

TEST_F(ManagerExtras, TheTipsCommandShowsTheStateThroughTheApplication) {
    RecordingUIApp app;
    GZSetUIApp(&app);
    cGZCheatCodeManager cheats(false);
    mgr->RegisterTipsCheat(cheats);
    ASSERT_TRUE(cheats.IsRegistered("tips"));
    EXPECT_EQ(cheats.GetUsage(cRZString("tips"))->c_str(), std::string("Usage: tips"));
    cheats.ExecuteCheatLine("tips");
    ASSERT_EQ(app.titles.size(), 1u);
    EXPECT_EQ(app.titles[0], "ToolTip Internal State");
    EXPECT_EQ(app.texts[0].rfind("kTTWaitingDown\n", 0), 0u);
    GZSetUIApp(nullptr);
}

TEST_F(ManagerExtras, AlwaysRedrawWindowsArePresentedEveryFrameUnlessSwitchedOff) {
    ProbeWin* view = Add(root, 10, 20, 110, 120);
    ProbeWin* inner = Add(view, 5, 5, 20, 20);
    view->SetAlwaysRedraw(true);
    EXPECT_TRUE(inner->TestFlag(kGZWinAlwaysRedraw));
    auto countForced = [&] {
        int n = 0;
        for (const cRZRect& r : screen->dirty)
            n += r.left == 10 && r.top == 20 && r.right == 110 && r.bottom == 120;
        return n;
    };
    screen->dirty.clear();
    Frame();
    const int first = countForced();
    EXPECT_GE(first, 1);
    // Switched off, only the window's own drawing adds its rectangle (once).
    mgr->SetAlwaysRedrawPassOff(true);
    screen->dirty.clear();
    Frame();
    EXPECT_EQ(countForced(), first - 1);
    // A hidden ancestor keeps it out of the pass.
    mgr->SetAlwaysRedrawPassOff(false);
    view->SetScreenInvalidationOff(true);  // only forced rectangles get through
    screen->dirty.clear();
    Frame();
    EXPECT_EQ(countForced(), 1);
    view->Hide();
    screen->dirty.clear();
    Frame();
    EXPECT_EQ(countForced(), 0);
}

TEST_F(ManagerExtras, SendWinMessageClipboardAndTheAttachedWindow) {
    ProbeWin* w = Add(root, 100, 100, 200, 150);
    EXPECT_TRUE(mgr->SendWinMessage(w, kGZMsgTimer, 3));
    EXPECT_EQ(w->CountOf(kGZMsgTimer), 1);
    EXPECT_FALSE(mgr->SendWinMessage(nullptr, kGZMsgTimer, 3));
    mgr->SetClipboardText(cRZString("copied"), true);
    EXPECT_EQ(mgr->GetClipboardText(), cRZString("copied"));
    EXPECT_TRUE(mgr->IsClipboardOwned());

    ProbeWin* bubble = Add(root, 0, 0, 40, 20);
    bubble->Hide();
    mgr->SetAttachedWin(bubble);
    w->ShowAttachedWin(true);
    EXPECT_TRUE(bubble->TestFlag(kGZWinVisible));
    EXPECT_EQ(bubble->GetArea().left, 130);   // centred over the window
    EXPECT_EQ(bubble->GetArea().bottom, 97);  // 3 pixels above its top
    EXPECT_EQ(root->GetChildren().front(), bubble);
    // A modal loop hides it and shows it again afterwards.
    auto* dialog = new ProbeWin;
    bool hiddenDuring = false;
    screen->afterFrame = [&] {
        hiddenDuring = !bubble->TestFlag(kGZWinVisible);
        mgr->PostWinMessage(kGZMsgEndModal, dialog, 0);
    };
    mgr->DoModal(root, dialog);
    EXPECT_TRUE(hiddenDuring);
    EXPECT_TRUE(bubble->TestFlag(kGZWinVisible));
    w->ShowAttachedWin(false);
    EXPECT_FALSE(bubble->TestFlag(kGZWinVisible));
    mgr->DestroyWin(dialog);
}

}  // namespace
