#include "WinTestHarness.h"

#include "ui/cGZWinTutorialHighlight.h"

using tova_test::WinTest;

namespace {

class Highlight : public WinTest {
protected:
    // A strip of `frames` 8x8 cells, cell i filled with grey level 40 * (i + 1).
    cGZBuffer* Strip(int32_t frames) {
        cGZBuffer* strip = GZCreateScreenBuffer(8 * std::max(frames, 1), 8);
        for (int32_t i = 0; i < frames; ++i)
            strip->FillRect4(GZScreenColor(40 * (i + 1), 40 * (i + 1), 40 * (i + 1)), 8 * i, 0, 8 * i + 8, 8);
        return strip;
    }
    cGZWinTutorialHighlight* Make(int32_t frames, float fps) {
        auto* h = new cGZWinTutorialHighlight;
        h->Hide();
        EXPECT_TRUE(root->AddChild(h));
        cGZBuffer* strip = Strip(frames);
        h->SetStrip(strip, frames, fps);
        strip->Release();
        return h;
    }
    std::vector<int32_t> Play(cGZWinTutorialHighlight* h, int ticks) {
        std::vector<int32_t> seen{h->GetFrame()};
        for (int i = 0; i < ticks; ++i) {
            Advance(h->GetPeriodMs());
            Frame();
            seen.push_back(h->GetFrame());
        }
        return seen;
    }
};

TEST_F(Highlight, FourFramesPlayForwardAndBack) {
    cGZWinTutorialHighlight* h = Make(4, 6.0f);
    EXPECT_EQ(h->Width(), 8);
    EXPECT_EQ(h->GetPeriodMs(), 167u);
    h->Show();
    EXPECT_TRUE(h->IsTimerRunning());
    EXPECT_EQ(Play(h, 7), (std::vector<int32_t>{0, 1, 2, 3, 2, 1, 0, 1}));
    // The cell shown is the current frame's (frame 1: grey 80).
    uint8_t r, g, b;
    cGZBuffer* screenBuffer = root->GetOwnBuffer();
    ASSERT_TRUE(screenBuffer->Lock(4));
    screenBuffer->SplitColor(screenBuffer->GetBits()[2 * screenBuffer->GetPitch() + 2], r, g, b);
    screenBuffer->Unlock(4);
    EXPECT_EQ(r, 80 & 0xF8);
    h->Hide();
    EXPECT_FALSE(h->IsTimerRunning());
    EXPECT_FALSE(mgr->HasTimer(h));
}

TEST_F(Highlight, ZeroFramesPerSecondNeverAnimates) {
    cGZWinTutorialHighlight* h = Make(4, 0.0f);
    h->Show();
    EXPECT_FALSE(h->IsTimerRunning());
    Advance(5000);
    Frame();
    EXPECT_EQ(h->GetFrame(), 0);
}

TEST_F(Highlight, FewerThanTwoFramesShowFrameZeroAndStayStill) {
    for (int32_t frames : {0, 1}) {
        cGZWinTutorialHighlight* h = Make(frames, 6.0f);
        h->Show();
        EXPECT_FALSE(h->IsTimerRunning()) << frames;
        EXPECT_EQ(Play(h, 3), (std::vector<int32_t>{0, 0, 0, 0})) << frames;
        mgr->DestroyWin(h);
    }
}

}  // namespace
