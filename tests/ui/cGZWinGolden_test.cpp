// Pictures of the window tree as the draw pass composes it on the headless
// 640x480 screen.
#include "WinTestHarness.h"

#include "support/GoldenImage.h"

using tova_test::ProbeWin;
using tova_test::WinTest;

namespace {

// A framed label drawn with the fake font.
class Label : public ProbeWin {
public:
    explicit Label(uint32_t rgb) : ProbeWin(rgb) {}
    bool Draw(bool force) override {
        ProbeWin::Draw(force);
        cGZBuffer* b = GetDrawBuffer();
        if (!b) return true;
        b->FrameRect(GetBufferArea(), MakeColor(0, 0, 0), 1);
        cIGZFontSys::FontRequest request{1, 7, 0, 0};
        cIGZFont* font = GZGetFontSys()->GetFont(request);
        font->SetColor(MakeColor(255, 255, 255));
        const std::string& text = GetText();
        font->DrawText(*b, GetBufferArea().left + 4, GetBufferArea().top + 3, text.c_str(),
                       static_cast<int32_t>(text.size()), nullptr, -1, -1);
        GZGetFontSys()->ReleaseFont(font);
        return true;
    }
};

class Goldens : public WinTest {
protected:
    Label* MakeLabel(cGZWin* parent, int32_t l, int32_t t, int32_t r, int32_t b, uint32_t rgb, const char* text) {
        Label* w = Add<Label>(parent, l, t, r, b, rgb);
        w->SetText(cRZString(text));
        return w;
    }
};

TEST_F(Goldens, TreeWithOwnBuffers) {
    Label* panel = MakeLabel(root, 40, 40, 340, 260, 0x305070, "Panel (own buffer)");
    panel->SetFlag(kGZWinWantsOwnBuffer, true);
    MakeLabel(panel, 20, 30, 150, 80, 0xA04040, "Child A");
    MakeLabel(panel, 100, 60, 260, 120, 0x40A040, "Child B over A");
    // A child sticking out of the panel is clipped to its buffer.
    MakeLabel(panel, 200, 160, 400, 240, 0xC0A040, "Clipped");
    auto* keyed = Add<ProbeWin>(root, 380, 60, 500, 180, 0x000000);
    keyed->SetFlag(kGZWinColorKeyed, true);
    keyed->SetFlag(kGZWinWantsOwnBuffer, true);
    // Draws only a disc: the rest of its buffer stays transparent.
    struct Disc : cGZWin {
        bool Draw(bool) override {
            cGZBuffer* b = GetDrawBuffer();
            b->Clear(GZTransparentColor());
            b->FillCircle(10, 10, 110, MakeColor(230, 230, 60));
            return true;
        }
    };
    mgr->DestroyWin(keyed);
    auto* disc = Add<Disc>(root, 380, 60, 500, 180);
    disc->SetFlag(kGZWinColorKeyed, true);
    disc->SetFlag(kGZWinWantsOwnBuffer, true);
    Label* top = MakeLabel(root, 300, 200, 460, 240, 0x704080, "Stays on top");
    top->SetFlag(kGZWinStayOnTop, true);
    root->MoveChildToTop(top);
    MakeLabel(root, 260, 180, 420, 300, 0x808080, "Added later");
    Frame();
    EXPECT_TRUE(tova_test::MatchesGolden(Screen(), "ui/golden/windows_tree.png"));
}

TEST_F(Goldens, FadeHalfWay) {
    MakeLabel(root, 60, 60, 260, 160, 0xC04040, "Under");
    Label* w = MakeLabel(root, 120, 100, 360, 220, 0x2060C0, "Fading in");
    w->Hide();
    Frame();
    w->FadeVisible(true, false, 200);
    Frame();
    Advance(100);
    Frame();
    ASSERT_NEAR(w->GetAlpha(), 128, 1);
    EXPECT_TRUE(tova_test::MatchesGolden(Screen(), "ui/golden/windows_fade_half.png"));
}

TEST_F(Goldens, TranslucentDrag) {
    MakeLabel(root, 200, 100, 400, 300, 0xE0E040, "Under the glass");
    Label* glass = MakeLabel(root, 20, 20, 220, 120, 0x2040A0, "Glass");
    glass->SetFlag(kGZWinDraggable, true);
    glass->SetDragTranslucency(true, 128);
    Frame();
    Route(kGZMsgLButtonDown, 30, 30);
    for (int i = 1; i <= 8; ++i) {
        Route(kGZMsgMouseMove, 30 + 30 * i, 30 + 15 * i);
        Frame();
    }
    ASSERT_EQ(glass->GetArea().left, 260);
    EXPECT_TRUE(tova_test::MatchesGolden(Screen(), "ui/golden/windows_drag_translucent.png"));
    Route(kGZMsgLButtonUp, 270, 150);
    Frame();
    EXPECT_EQ(glass->GetAlpha(), 255);
}

TEST_F(Goldens, GrowingTooltip) {
    Label* button = MakeLabel(root, 200, 200, 320, 240, 0x406080, "Button");
    button->SetToolTipText(cRZString("A helpful tip"));
    host->SimulateMouseMove(230, 220);
    Route(kGZMsgMouseMove, 230, 220);
    Advance(750);
    Frame();
    Advance(75);
    Frame();
    ASSERT_EQ(mgr->GetToolTipState(), cGZWinMgrW95::kTTMotoringUp);
    EXPECT_TRUE(tova_test::MatchesGolden(Screen(), "ui/golden/windows_tooltip_growing.png"));
}

}  // namespace
