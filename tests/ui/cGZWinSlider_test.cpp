#include <gtest/gtest.h>

#include "WinTestHarness.h"
#include "ui/controls/cGZWinCtrlMgr.h"
#include "ui/controls/cGZWinScrollbar.h"
#include "ui/controls/cGZWinSlider.h"

namespace {

using namespace tova_test;

class ValueControls : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        owner = Add(root, 100, 100, 400, 400);
    }
    int Reports(const cGZWin* control) const {
        int n = 0;
        for (const cGZMessage& m : owner->messages)
            n += m.type == kGZMsgCommand && m.a == cGZWinSlider::kCodeValueChanged &&
                 m.b == reinterpret_cast<intptr_t>(control);
        return n;
    }
    // Control-local points routed as screen points.
    void Mouse(uint32_t type, const cGZWin* control, int32_t x, int32_t y) {
        Route(type, control->GetScreenArea().left + x, control->GetScreenArea().top + y);
    }
    ProbeWin* owner = nullptr;
};

TEST_F(ValueControls, AVerticalSliderAtItsMaximumHasItsThumbAtTheTopAScrollBarAtTheBottom) {
    auto* slider = Add<cGZWinSlider>(owner, 0, 0, 20, 100);
    slider->SetValue(32);
    EXPECT_EQ(slider->GetValue(), 32);
    EXPECT_EQ(slider->GetThumbRect().top, 0);
    slider->SetValue(0);
    EXPECT_EQ(slider->GetThumbRect().bottom, 100);

    // With a strip of four 20 x 10 cells stacked.
    cGZBuffer* strip = GZCreateScreenBuffer(20, 40);
    ASSERT_TRUE(slider->SetImage(strip, true));
    strip->Release();
    EXPECT_TRUE(strip->HasColorKey());
    EXPECT_EQ(slider->ThumbHeight(), 10);
    slider->SetValue(32);
    const cRZRect& thumb = slider->GetThumbRect();
    EXPECT_EQ(thumb.left, 0);
    EXPECT_EQ(thumb.top, 0);
    EXPECT_EQ(thumb.right, 20);
    EXPECT_EQ(thumb.bottom, 10);

    auto* bar = Add<cGZWinScrollbar>(owner, 50, 0, 66, 100);
    bar->SetMax(10);
    bar->SetValue(10);
    EXPECT_EQ(bar->GetThumbRect().bottom, 100 - 16);  // above the second arrow
    bar->SetValue(0);
    EXPECT_EQ(bar->GetThumbRect().top, 16);
}

TEST_F(ValueControls, OneReportPerChangeAndNoneForAChangeMadeDuringOne) {
    auto* slider = Add<cGZWinSlider>(owner, 0, 0, 20, 100);
    slider->SetValue(5);
    slider->SetValue(5);
    EXPECT_EQ(Reports(slider), 1);
    slider->SetValue(99);  // clamped to 32
    slider->SetValue(40);  // clamped to 32 again: unchanged
    EXPECT_EQ(Reports(slider), 2);
    EXPECT_EQ(slider->GetValue(), 32);

    owner->onMessage = [&](const cGZMessage& m) {
        if (m.a == cGZWinSlider::kCodeValueChanged) slider->SetValue(1);
    };
    slider->SetValue(7);
    owner->onMessage = nullptr;
    EXPECT_EQ(slider->GetValue(), 7);
    EXPECT_EQ(Reports(slider), 3);

    // Pulled into range without a report.
    slider->SetMax(3);
    EXPECT_EQ(slider->GetValue(), 3);
    slider->SetMin(-10);
    slider->SetMax(-5);
    EXPECT_EQ(slider->GetValue(), -5);
    EXPECT_EQ(Reports(slider), 3);
}

TEST_F(ValueControls, ValueFromPoint) {
    // A horizontal slider 0-32, 116 wide, thumb 16 wide: the track is 100 long.
    auto* slider = Add<cGZWinSlider>(owner, 0, 0, 116, 16);
    slider->SetOrientation(cGZWinSlider::kHorizontal);
    auto* bar = Add<cGZWinScrollbar>(owner, 0, 50, 132, 66);
    bar->SetOrientation(cGZWinSlider::kHorizontal);
    bar->SetMax(10);  // arrows of 16, track from 16 to 100
    struct Case {
        cGZWinSlider* control;
        int32_t x, value;
    };
    const Case cases[] = {
        {slider, 8, 0},   {slider, 58, 16},  {slider, 108, 33}, {slider, -50, 0},
        {bar, 24, 0},     {bar, 28, 0},      {bar, 29, 1},      {bar, 66, 5},
        {bar, 500, 10},   {bar, 0, 0},
    };
    for (const Case& c : cases) {
        int32_t value = -1;
        ASSERT_TRUE(c.control->ValueFromPoint(value, c.x, 8));
        EXPECT_EQ(value, c.value) << (c.control == slider ? "slider" : "bar") << " at " << c.x;
    }
    // A track without length gives the minimum from any point.
    slider->SetMin(4);
    slider->SetArea(0, 0, 16, 16);
    for (int32_t x : {0, 8, 15, 200}) {
        int32_t value = -1;
        slider->ValueFromPoint(value, x, 8);
        EXPECT_EQ(value, 4);
    }
}

TEST_F(ValueControls, DraggingTheSliderFollowsThePointerUntilRelease) {
    auto* slider = Add<cGZWinSlider>(owner, 0, 0, 116, 16);
    slider->SetOrientation(cGZWinSlider::kHorizontal);
    Mouse(kGZMsgLButtonDown, slider, 58, 8);
    EXPECT_EQ(slider->GetValue(), 16);
    EXPECT_EQ(mgr->GetCapture(), slider);
    Mouse(kGZMsgMouseMove, slider, 300, 8);  // outside, still captured
    EXPECT_EQ(slider->GetValue(), 32);
    Mouse(kGZMsgLButtonUp, slider, 8, 8);
    EXPECT_EQ(slider->GetValue(), 0);
    EXPECT_EQ(mgr->GetCapture(), nullptr);

    slider->SetEnabled(false);
    Mouse(kGZMsgLButtonDown, slider, 58, 8);
    Mouse(kGZMsgLButtonUp, slider, 58, 8);
    EXPECT_EQ(slider->GetValue(), 0);
}

TEST_F(ValueControls, ScrollBarPartsAndSteps) {
    auto* bar = Add<cGZWinScrollbar>(owner, 0, 0, 16, 116);  // vertical: arrows 16, track 16..84
    bar->SetMax(10);
    bar->SetPageStep(4);
    bar->SetValue(5);  // thumb at 16 + 68 * 5 / 10 = 50
    struct Hit {
        int32_t y, part;
    };
    for (const Hit& h : {Hit{0, 1}, Hit{15, 1}, Hit{30, 3}, Hit{50, 5}, Hit{65, 5}, Hit{66, 4}, Hit{100, 2},
                         Hit{115, 2}}) {
        int32_t part = -1;
        EXPECT_TRUE(bar->HitPart(part, 8, h.y));
        EXPECT_EQ(part, h.part) << "at " << h.y;
    }
    int32_t part = -1;
    EXPECT_FALSE(bar->HitPart(part, 8, 116));
    EXPECT_EQ(part, 0);

    bar->PageDown();
    EXPECT_EQ(bar->GetValue(), 9);
    bar->PageDown();
    EXPECT_EQ(bar->GetValue(), 10);
    const int before = Reports(bar);
    bar->LineDown();  // already at the end
    EXPECT_EQ(Reports(bar), before);
    bar->PageUp();
    bar->LineUp();
    EXPECT_EQ(bar->GetValue(), 5);
    cIGZWinScrollbar* steps = bar;
    steps->LineUp();
    EXPECT_EQ(bar->GetValue(), 4);

    // Dragging the thumb.
    Mouse(kGZMsgLButtonDown, bar, 8, bar->GetThumbRect().top + 8);
    EXPECT_EQ(bar->GetPressedPart(), cGZWinScrollbar::kPartThumb);
    Mouse(kGZMsgMouseMove, bar, 8, 500);
    EXPECT_EQ(bar->GetValue(), 10);
    Mouse(kGZMsgLButtonUp, bar, 8, 0);
    EXPECT_EQ(bar->GetValue(), 0);
    EXPECT_EQ(bar->GetPressedPart(), cGZWinScrollbar::kPartNone);
}

TEST_F(ValueControls, HoldingTheSecondArrowRepeatsEvery200MsWhileOnIt) {
    auto* bar = Add<cGZWinScrollbar>(owner, 0, 0, 16, 116);
    bar->SetMax(100);
    Frame();
    Mouse(kGZMsgLButtonDown, bar, 8, 110);
    EXPECT_EQ(bar->GetValue(), 1);  // at once
    // Frames every 50 ms: a step once more than 200 ms have passed.
    const int32_t expected[] = {1, 1, 1, 1, 2, 2, 2, 2, 2, 3};
    for (int32_t want : expected) {
        Advance(50);
        Frame();
        EXPECT_EQ(bar->GetValue(), want);
    }
    // Off the arrow the repeat pauses; back on it, it goes on.
    Mouse(kGZMsgMouseMove, bar, 8, 50);
    EXPECT_FALSE(bar->IsPointerOverPressedPart());
    for (int i = 0; i < 10; ++i) {
        Advance(50);
        Frame();
    }
    EXPECT_EQ(bar->GetValue(), 3);
    Mouse(kGZMsgMouseMove, bar, 8, 110);
    Frame();
    EXPECT_EQ(bar->GetValue(), 4);
    Mouse(kGZMsgLButtonUp, bar, 8, 110);
    Advance(500);
    Frame();
    Frame();
    EXPECT_EQ(bar->GetValue(), 4);
}

TEST_F(ValueControls, StripsSizeTheControlsAcrossTheirTracks) {
    auto* slider = Add<cGZWinSlider>(owner, 0, 0, 100, 50);
    EXPECT_FALSE(slider->SetImage(nullptr, false));
    slider->SetOrientation(cGZWinSlider::kHorizontal);
    cGZBuffer* four = GZCreateScreenBuffer(4 * 10, 18);
    ASSERT_TRUE(slider->SetImage(four, false));
    four->Release();
    EXPECT_FALSE(four->HasColorKey());
    EXPECT_EQ(slider->Height(), 18);
    EXPECT_EQ(slider->ThumbWidth(), 10);
    slider->SetArea(0, 0, 120, 90);
    EXPECT_EQ(slider->Height(), 18);
    EXPECT_EQ(slider->GetTrackEnd(), 110);

    auto* bar = Add<cGZWinScrollbar>(owner, 0, 100, 50, 300);
    cGZBuffer* twelve = GZCreateScreenBuffer(12 * 14, 14);
    ASSERT_TRUE(bar->SetImage(twelve, true));
    twelve->Release();
    EXPECT_EQ(bar->Width(), 14);
    EXPECT_EQ(bar->ArrowHeight(), 14);
    EXPECT_EQ(bar->GetTrackStart(), 14);
    EXPECT_EQ(bar->GetTrackEnd(), 200 - 28);
}

TEST_F(ValueControls, TheFactoryMakesEachKindOnItsStrip) {
    cGZWinCtrlMgr ctrl;
    ctrl.Init();
    ctrl.SetImage(cIGZWinCtrlMgr::kImageHorizontalSlider, GZCreateScreenBuffer(40, 12), true);
    ctrl.SetImage(cIGZWinCtrlMgr::kImageScrollbar, GZCreateScreenBuffer(12 * 16, 16), false);
    cGZWinSlider* h = ctrl.CreateHorizontalSlider(3, cRZString("h"));
    cGZWinSlider* v = ctrl.CreateVerticalSlider(4, cRZString("v"));
    cGZWinScrollbar* hs = ctrl.CreateHorizontalScrollbar(5, cRZString("hs"));
    cGZWinScrollbar* vs = ctrl.CreateVerticalScrollbar(6, cRZString("vs"));
    EXPECT_EQ(h->GetOrientation(), cGZWinSlider::kHorizontal);
    EXPECT_EQ(h->GetImage(), ctrl.GetImage(cIGZWinCtrlMgr::kImageHorizontalSlider));
    EXPECT_TRUE(h->GetImage()->HasColorKey());
    EXPECT_EQ(h->Height(), 12);
    EXPECT_EQ(v->GetOrientation(), cGZWinSlider::kVertical);
    EXPECT_EQ(v->GetImage(), nullptr);  // no kind-3 strip
    EXPECT_EQ(hs->GetOrientation(), cGZWinSlider::kHorizontal);
    EXPECT_EQ(vs->GetImage(), hs->GetImage());
    EXPECT_FALSE(vs->GetImage()->HasColorKey());
    EXPECT_EQ(vs->Width(), 16);
    EXPECT_EQ(vs->GetCommandValue(), 6);
    for (cGZWin* w : {static_cast<cGZWin*>(h), static_cast<cGZWin*>(v), static_cast<cGZWin*>(hs),
                      static_cast<cGZWin*>(vs)})
        root->AddChild(w);
    ctrl.Shutdown();
}

TEST_F(ValueControls, PlainShapesWithoutAStrip) {
    auto* slider = Add<cGZWinSlider>(owner, 0, 0, 100, 20);
    slider->SetOrientation(cGZWinSlider::kHorizontal);
    slider->SetFillColor(slider->MakeColor(0, 0, 0));
    slider->SetValue(32);  // thumb at the right end, 20 x 20
    Frame();
    const platform::Image image = Screen();
    EXPECT_EQ(image.At(100 + 90, 110)[0], 255);  // the thumb in the inverse colour
    EXPECT_EQ(image.At(100 + 40, 110)[0], 255);  // the line through the middle
    EXPECT_EQ(image.At(100 + 40, 103)[0], 0);    // the background
}

}  // namespace
