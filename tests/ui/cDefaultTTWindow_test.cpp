#include "WinTestHarness.h"

#include "ui/cDefaultTTWindow.h"

using tova_test::ProbeWin;
using tova_test::WinTest;

namespace {

class Tooltips : public WinTest {
protected:
    ProbeWin* TipWin(int32_t l, int32_t t, int32_t r, int32_t b, const char* text) {
        ProbeWin* w = Add(root, l, t, r, b);
        w->SetToolTipText(cRZString(text));
        return w;
    }
    cDefaultTTWindow* Tip() { return dynamic_cast<cDefaultTTWindow*>(mgr->GetCurrentToolTip()); }
    // Hover, wait for the delay and the growth: the tip is up.
    void BringUp(int32_t x, int32_t y) {
        host->SimulateMouseMove(x, y);
        Route(kGZMsgMouseMove, x, y);
        Advance(750);
        Frame();
        Advance(150);
        Frame();
        ASSERT_EQ(mgr->GetToolTipState(), cGZWinMgrW95::kTTUp);
    }
};

TEST_F(Tooltips, WaitsForTheDelayThenGrowsAndShows) {
    TipWin(100, 100, 200, 150, "Hello");
    host->SimulateMouseMove(120, 130);
    Route(kGZMsgMouseMove, 120, 130);
    ASSERT_NE(Tip(), nullptr);
    Advance(749);
    Frame();
    EXPECT_EQ(mgr->GetToolTipState(), cGZWinMgrW95::kTTWaitingDown);
    EXPECT_FALSE(Tip()->TestFlag(kGZWinVisible));
    Advance(1);
    Frame();
    EXPECT_EQ(mgr->GetToolTipState(), cGZWinMgrW95::kTTMotoringUp);
    Advance(75);  // half the grow time
    Frame();
    EXPECT_TRUE(Tip()->TestFlag(kGZWinVisible));
    EXPECT_EQ(Tip()->GetTextAlpha(), 128);
    // "Hello" is 5 cells of 6 plus 6; the line 12 plus 2; above the window
    // at the pointer's x.
    const cRZRect area = Tip()->GetScreenArea();
    EXPECT_EQ(area.right - area.left, 36);
    EXPECT_EQ(area.bottom - area.top, 14);
    EXPECT_EQ(area.left, 120);
    EXPECT_EQ(area.bottom, 99);
    Advance(75);
    Frame();
    EXPECT_EQ(mgr->GetToolTipState(), cGZWinMgrW95::kTTUp);
    EXPECT_EQ(Tip()->GetTextAlpha(), 255);
    EXPECT_TRUE(mgr->DrewTip());
}

TEST_F(Tooltips, GoesDownAfterFiveSecondsUnlessMarked) {
    TipWin(100, 100, 200, 150, "Hello");
    BringUp(120, 130);
    Advance(5000);
    Frame();
    EXPECT_EQ(mgr->GetToolTipState(), cGZWinMgrW95::kTTUp);
    Advance(1);
    Frame();
    EXPECT_EQ(mgr->GetToolTipState(), cGZWinMgrW95::kTTDown);
    EXPECT_FALSE(Tip()->TestFlag(kGZWinVisible));

    ProbeWin* other = TipWin(300, 100, 400, 150, "Other");
    BringUp(320, 130);
    Tip()->SetFlag(kGZWinToolTipNoLimit, true);
    Advance(20000);
    Frame();
    EXPECT_EQ(mgr->GetToolTipState(), cGZWinMgrW95::kTTUp);
    Tip()->SetFlag(kGZWinToolTipNoLimit, false);
    (void)other;
}

TEST_F(Tooltips, ALeftPressHidesTheTipUnlessTheWindowKeepsIt) {
    ProbeWin* w = TipWin(100, 100, 200, 150, "Hello");
    BringUp(120, 130);
    w->SetFlag(kGZWinKeepsToolTip, true);
    Route(kGZMsgLButtonDown, 120, 130);
    EXPECT_EQ(mgr->GetToolTipState(), cGZWinMgrW95::kTTUp);
    w->SetFlag(kGZWinKeepsToolTip, false);
    Route(kGZMsgLButtonDown, 120, 130);
    EXPECT_EQ(mgr->GetToolTipState(), cGZWinMgrW95::kTTDown);
    EXPECT_EQ(mgr->GetCurrentToolTip(), nullptr);
    Advance(2000);  // resting on the same window brings nothing back
    Frame();
    EXPECT_EQ(mgr->GetCurrentToolTip(), nullptr);
}

TEST_F(Tooltips, MovingFromOneTipWindowToAnotherGrowsTheNewTipAtOnce) {
    TipWin(100, 100, 200, 150, "One");
    TipWin(200, 100, 300, 150, "Two two");
    BringUp(120, 130);
    host->SimulateMouseMove(220, 130);
    Route(kGZMsgMouseMove, 220, 130);
    EXPECT_EQ(mgr->GetToolTipState(), cGZWinMgrW95::kTTMotoringUp);
    Advance(75);
    Frame();
    ASSERT_TRUE(Tip()->TestFlag(kGZWinVisible));
    EXPECT_EQ(Tip()->GetText(), cRZString("Two two"));
    EXPECT_EQ(Tip()->GetScreenArea().left, 250);  // the window's centre: not at the cursor
    // Moving on to a window without a tip takes it down after that window's delay.
    Advance(75);
    Frame();
    host->SimulateMouseMove(500, 400);
    Route(kGZMsgMouseMove, 500, 400);
    EXPECT_EQ(mgr->GetCurrentToolTip(), nullptr);
}

TEST_F(Tooltips, TheTextImageIsRebuiltOnlyOnChange) {
    auto* tip = new cDefaultTTWindow;
    ASSERT_TRUE(tip->Init(cRZString("Same")));
    cGZBuffer* image = tip->GetTextImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(tip->Width(), 4 * 6 + 6);
    tip->SetText(cRZString("Same"), cDefaultTTWindow::kBlackText);
    EXPECT_EQ(tip->GetTextImage(), image);
    EXPECT_TRUE(tip->TakesBackground());
    EXPECT_FALSE(tip->SetColourChoice(cDefaultTTWindow::kBlackText));
    EXPECT_TRUE(tip->SetColourChoice(cDefaultTTWindow::kRedText));
    tip->SetText(cRZString("Longer text"));
    EXPECT_EQ(tip->Width(), 11 * 6 + 6);
    EXPECT_EQ(tip->GetTextImage()->Width(), 11 * 6 + 6);
    EXPECT_EQ(fonts.mLast.size, 7);
    EXPECT_EQ(fonts.mLast.face, 1);
    mgr->DestroyWin(tip);
}

TEST_F(Tooltips, TheSharedFontGoesBackWithTheLastTooltipWindow) {
    auto* tip = new cDefaultTTWindow;
    ASSERT_TRUE(tip->Init(cRZString("x")));
    const int32_t releases = fonts.mnReleases;
    mgr->DestroyWin(tip);
    EXPECT_EQ(fonts.mnReleases, releases + 1);
    EXPECT_EQ(cDefaultTTWindow::GetSharedFont(), nullptr);
    fonts.mbRefuse = true;
    auto* failing = new cDefaultTTWindow;
    EXPECT_FALSE(failing->Init(cRZString("x")));
    mgr->DestroyWin(failing);
}

TEST_F(Tooltips, PositionGoesBelowAWindowAtTheTop) {
    ProbeWin* w = TipWin(100, 2, 200, 40, "Top");
    auto* tip = new cDefaultTTWindow;
    ASSERT_TRUE(tip->Init(cRZString("Top")));
    int32_t x = 0, y = 0;
    w->GetToolTipPos(tip, false, x, y);
    EXPECT_EQ(x, 150);
    EXPECT_EQ(y, 42);
    mgr->DestroyWin(tip);
}

}  // namespace
