#include "WinTestHarness.h"

using tova_test::ProbeWin;
using tova_test::WinTest;

namespace {

class Fades : public WinTest {};

TEST_F(Fades, FadeInRisesAndEndsWithAMessageToTheParent) {
    ProbeWin* panel = Add(root, 0, 0, 300, 300);
    ProbeWin* w = Add(panel, 10, 10, 110, 110);
    w->Hide();
    Frame();
    w->FadeVisible(true, false, 200);
    EXPECT_TRUE(w->IsFading());
    EXPECT_TRUE(w->TestFlag(kGZWinVisible));
    EXPECT_NE(w->GetOwnBuffer(), nullptr);
    EXPECT_EQ(w->GetAlpha(), 0);
    Advance(100);
    Frame();
    EXPECT_NEAR(w->GetAlpha(), 128, 1);
    Advance(100);
    Frame();  // time up: closed in this frame's composite
    EXPECT_FALSE(w->IsFading());
    EXPECT_EQ(w->GetAlpha(), 255);
    EXPECT_EQ(w->GetOwnBuffer(), nullptr);  // it had none before
    Frame();  // the end message is delivered with the next frame's queue
    ASSERT_EQ(panel->CountOf(kGZMsgFadeDone), 1);
    for (const cGZMessage& m : panel->messages)
        if (m.type == kGZMsgFadeDone) {
            EXPECT_EQ(m.a, reinterpret_cast<intptr_t>(w));
            EXPECT_EQ(m.b, 1);
        }
}

TEST_F(Fades, AReversedFadeNeverJumps) {
    ProbeWin* w = Add(root, 10, 10, 110, 110);
    w->SetFlag(kGZWinWantsOwnBuffer, true);
    Frame();
    w->FadeVisible(true, false, 0);  // visible and not fading: nothing
    EXPECT_FALSE(w->IsFading());
    w->FadeVisible(false, false, 400);
    Advance(100);
    Frame();
    const int before = w->GetAlpha();
    EXPECT_NEAR(before, 191, 1);
    w->FadeVisible(false, false, 400);  // the same direction: nothing
    w->FadeVisible(true, false, 400);   // reversed from where it stands
    EXPECT_EQ(w->GetFadeDirection(), 1);
    EXPECT_NEAR(w->GetAlpha(), before, 1);
    int last = w->GetAlpha();
    for (int i = 0; i < 5; ++i) {
        Advance(20);
        Frame();
        EXPECT_GE(w->GetAlpha(), last);
        EXPECT_LE(w->GetAlpha() - last, 14);  // 20 ms of 400 is 13 steps of 255
        last = w->GetAlpha();
    }
    Advance(100);  // the remaining quarter took 100 ms
    Frame();
    EXPECT_FALSE(w->IsFading());
    EXPECT_NE(w->GetOwnBuffer(), nullptr);  // wanted before the fade: kept
}

TEST_F(Fades, FadeOutHidesTheWindowAtTheEnd) {
    ProbeWin* panel = Add(root, 0, 0, 300, 300);
    ProbeWin* w = Add(panel, 10, 10, 110, 110);
    Frame();
    w->FadeVisible(false, true, 100);
    Advance(100);
    Frame();
    EXPECT_FALSE(w->TestFlag(kGZWinVisible));
    EXPECT_EQ(w->GetFadeBackground(), nullptr);
    Frame();
    EXPECT_EQ(panel->CountOf(kGZMsgFadeDone), 1);
    w->FadeVisible(false, true, 100);  // already hidden: nothing
    EXPECT_FALSE(w->IsFading());
}

TEST_F(Fades, TranslucencyAlphaAndTheDragAlpha) {
    ProbeWin* w = Add(root, 10, 10, 110, 110);
    w->SetTranslucency(true, 100);
    EXPECT_EQ(w->GetAlpha(), 100);
    w->SetTranslucency(false, 0);
    w->SetDragTranslucency(true, 64);
    EXPECT_NE(w->GetOwnBuffer(), nullptr);
    EXPECT_EQ(w->GetAlpha(), 255);  // only while dragged
    w->SetFlag(kGZWinDraggable, true);
    Route(kGZMsgLButtonDown, 20, 20);
    // The alpha is set only while it is still 0: the translucency's 100 stays.
    EXPECT_EQ(w->GetAlpha(), 100);
    ProbeWin* fresh = Add(root, 200, 10, 300, 110);
    fresh->SetDragTranslucency(true, 64);
    fresh->SetDragTranslucency(true, 200);
    fresh->SetFlag(kGZWinDraggable, true);
    Route(kGZMsgLButtonUp, 20, 20);
    Route(kGZMsgLButtonDown, 210, 20);
    EXPECT_EQ(fresh->GetAlpha(), 64);
    Route(kGZMsgLButtonUp, 210, 20);
    w->Hide();
    EXPECT_EQ(w->GetAlpha(), 0);
}

}  // namespace
