#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestHarness.h"
#include "support/GoldenImage.h"
#include "ui/controls/cGZSystemButton.h"
#include "ui/controls/cGZWinCheck.h"
#include "ui/controls/cGZWinCtrlMgr.h"
#include "ui/controls/cGZWinGenDlg.h"
#include "ui/controls/cGZWinScrollbar.h"
#include "ui/controls/cGZWinSlider.h"
#include "ui/controls/cGZWinText.h"

namespace {

using namespace tova_test;

struct DialogCall {
    intptr_t code;
    cGZWin* control;
    void* user;
};

void Record(intptr_t code, cGZWin* control, void* user) {
    static_cast<std::vector<DialogCall>*>(user)->push_back({code, control, user});
}

// A striped strip so each control has pixels of its own.
cGZBuffer* Strip(int32_t width, int32_t height, uint8_t shade) {
    cGZBuffer* strip = GZCreateScreenBuffer(width, height);
    for (int32_t x = 0; x < width; x += 4)
        strip->FillRect4(strip->MakeColor(shade, static_cast<uint8_t>(shade / 2 + x % 64), 90), x, 0, x + 2, height);
    return strip;
}

class GenericDialog : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        cIGZWinCtrlMgr* ctrl = GetWinCtrlMgr();
        ctrl->Init();
        ctrl->SetImage(cIGZWinCtrlMgr::kImageSystemButton, Strip(4 * 31, 24, 120), true);
        ctrl->SetImage(cIGZWinCtrlMgr::kImageCheckBox, Strip(6 * 16, 16, 200), true);
        ctrl->SetImage(cIGZWinCtrlMgr::kImageHorizontalSlider, Strip(64, 12, 160), false);
        ctrl->SetImage(cIGZWinCtrlMgr::kImageVerticalSlider, Strip(64, 12, 160), false);
        ctrl->SetImage(cIGZWinCtrlMgr::kImageScrollbar, Strip(64, 16, 90), false);
        font.AddRef();
        ctrl->SetFont(cIGZWinCtrlMgr::kFontLabel, &font);
        font.AddRef();
        ctrl->SetFont(cIGZWinCtrlMgr::kFontDialog, &font);
    }
    void TearDown() override {
        WinTest::TearDown();
        GetWinCtrlMgr()->Shutdown();
    }
    void SetKindNine() {
        // Checks in the top-left 10 x 10, a colour outside it that must never show.
        cGZBuffer* image = GZCreateScreenBuffer(16, 16);
        image->Clear(image->MakeColor(255, 0, 0));
        for (int32_t y = 0; y < 10; ++y)
            for (int32_t x = 0; x < 10; ++x)
                image->FillRect4(((x / 5 + y / 5) & 1) ? image->MakeColor(40, 70, 110) : image->MakeColor(60, 95, 140),
                                 x, y, x + 1, y + 1);
        GetWinCtrlMgr()->SetImage(cIGZWinCtrlMgr::kImageDialogBackground, image, false);
    }
    cGZWinGenDlg* Make(int32_t mode, cGZWin* parent = nullptr) {
        auto* dlg = new cGZWinGenDlg(mode);
        dlg->SetArea(100, 80, 400, 300);
        dlg->SetCallback(&Record, &calls);
        added = (parent ? parent : root)->AddChild(dlg);
        return dlg;
    }
    void Click(cGZWin* control) {
        const cRZRect& a = control->GetScreenArea();
        Route(kGZMsgMouseMove, a.left + 3, a.top + 3);
        Route(kGZMsgLButtonDown, a.left + 3, a.top + 3);
        Route(kGZMsgLButtonUp, a.left + 3, a.top + 3);
        Frame();
    }
    FakeFont font;
    std::vector<DialogCall> calls;
    bool added = false;
};

TEST_F(GenericDialog, BackgroundsNeededByModeAtInit) {
    struct Case {
        int32_t mode;
        bool callerImage;
        bool kindNine;
        bool initialises;
    };
    const Case cases[] = {
        {2, false, false, true},  {3, false, false, true}, {0, false, false, false}, {0, false, true, true},
        {0, true, false, true},   {1, false, true, false}, {1, true, false, true},
    };
    for (const Case& c : cases) {
        GetWinCtrlMgr()->SetImage(cIGZWinCtrlMgr::kImageDialogBackground, nullptr, false);
        if (c.kindNine) SetKindNine();
        auto* dlg = new cGZWinGenDlg(c.mode);
        if (c.callerImage) dlg->SetBackground(GZCreateScreenBuffer(20, 20));
        dlg->SetArea(0, 0, 50, 50);
        const bool ok = root->AddChild(dlg);
        EXPECT_EQ(ok, c.initialises) << "mode " << c.mode << " caller " << c.callerImage << " kind 9 " << c.kindNine;
        if (ok) {
            EXPECT_EQ(dlg->GetOwnBuffer() != nullptr, c.mode == 0 && !c.callerImage);
            EXPECT_EQ(dlg->OwnsBackground(), c.callerImage || c.mode != 0);
            int32_t l, t, r, b;
            dlg->GetMargins(l, t, r, b);
            EXPECT_EQ(t, c.mode == 0 ? 6 : 0);
            mgr->DestroyWin(dlg);
        } else {
            delete dlg;
        }
    }
}

TEST_F(GenericDialog, FailsWithoutTheControlFontAndMakesAWhiteTitleFontOtherwise) {
    GetWinCtrlMgr()->SetFont(cIGZWinCtrlMgr::kFontDialog, nullptr);
    cGZWinGenDlg* without = Make(2);
    EXPECT_FALSE(added);
    delete without;

    font.AddRef();
    GetWinCtrlMgr()->SetFont(cIGZWinCtrlMgr::kFontDialog, &font);
    cGZWinGenDlg* dlg = Make(2);
    ASSERT_TRUE(added);
    EXPECT_EQ(fonts.mLast.face, 1);
    EXPECT_EQ(fonts.mLast.size, 10);
    EXPECT_EQ(dlg->GetTitleFont()->GetColor(), dlg->MakeColor(255, 255, 255));
    const int32_t released = fonts.mnReleases;
    mgr->DestroyWin(dlg);
    EXPECT_EQ(fonts.mnReleases, released + 1);  // the title font went back
}

TEST_F(GenericDialog, EveryAddedControlCarriesItsOwnAddressAndItsClicksReachTheCallback) {
    SetKindNine();
    cGZWinGenDlg* dlg = Make(0);
    ASSERT_TRUE(added);
    cIGZWinGenDlg* gen = dlg;
    cGZSystemButton* button = gen->AddButton({10, 30, 110, 54}, cRZString("OK"));
    cGZWinCheck* check = gen->AddCheckBox({10, 70, 150, 86}, cRZString("Check"));
    cGZWinSlider* vertical = gen->AddSlider({200, 30, 212, 150}, 0, 10, 4, 2);
    cGZWinSlider* horizontal = gen->AddSlider({10, 100, 150, 112}, 0, 10, 20, 1);
    cGZWinScrollbar* bar = gen->AddScrollbar({220, 30, 236, 150}, 5, 50, 1, 2);
    cGZWinText* text = gen->AddText({10, 120, 150, 140}, cRZString("Label"), 0, false);
    const std::vector<cGZWin*> controls{button, check, vertical, horizontal, bar, text};
    for (cGZWin* c : controls) {
        EXPECT_EQ(c->GetCommandValue(), reinterpret_cast<intptr_t>(c));
        EXPECT_EQ(c->GetParent(), dlg);
    }
    EXPECT_STREQ(vertical->GetText().c_str(), "Vertical Slider");
    EXPECT_STREQ(horizontal->GetText().c_str(), "Horizontal Slider");
    EXPECT_STREQ(bar->GetText().c_str(), "Vertical Scrollbar");
    EXPECT_EQ(vertical->GetOrientation(), cGZWinSlider::kVertical);
    EXPECT_EQ(horizontal->GetOrientation(), cGZWinSlider::kHorizontal);
    EXPECT_EQ(vertical->GetValue(), 4);
    EXPECT_EQ(horizontal->GetValue(), 10);  // clamped into the range
    EXPECT_EQ(bar->GetMin(), 5);
    EXPECT_EQ(bar->GetValue(), 5);
    // The text: at the bottom of the children, opaque, not reorderable, passing the mouse on.
    EXPECT_EQ(dlg->GetChildren().back(), text);
    EXPECT_TRUE(text->TestTextFlag(cGZWinText::kFlagOpaque));
    EXPECT_TRUE(text->TestTextFlag(cGZWinText::kFlagPassThrough));
    EXPECT_FALSE(text->TestFlag(kGZWinReorderable));
    EXPECT_EQ(text->GetFont(), dlg->GetTitleFont());
    EXPECT_FALSE(gen->AddText({0, 0, 10, 10}, cRZString("Clear"), 0, true)->TestTextFlag(cGZWinText::kFlagOpaque));

    Frame();
    Click(button);
    Click(check);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].code, 1);
    EXPECT_EQ(calls[0].control, button);
    EXPECT_EQ(calls[0].user, &calls);
    bool checkReported = false;
    for (const DialogCall& c : calls) checkReported |= c.control == check;
    EXPECT_TRUE(checkReported);
    mgr->DestroyWin(dlg);
}

TEST_F(GenericDialog, CommandsGoToTheCallbackNeverToTheParentAndAZeroValueChildEndsTheLoopWithZero) {
    SetKindNine();
    ProbeWin* parent = Add(root, 0, 0, 640, 480);
    cGZWinGenDlg* dlg = Make(0, parent);
    ASSERT_TRUE(added);
    cGZWinSlider* slider = dlg->AddSlider({10, 100, 150, 112}, 0, 10, 0, 1);
    slider->SetValue(7);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].code, cGZWinSlider::kCodeValueChanged);
    EXPECT_EQ(calls[0].control, slider);
    // A click from a window that is not a child does nothing.
    ProbeWin* stranger = Add(root, 0, 0, 5, 5);
    dlg->DoMessage({kGZMsgCommand, 1, reinterpret_cast<intptr_t>(stranger), 0});
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(parent->CountOf(kGZMsgCommand), 0);

    // A plain child with command value 0 ends the modal run with 0.
    ProbeWin* closer = Add(dlg, 10, 10, 40, 30);
    int frame = 0;
    screen->afterFrame = [&] {
        if (++frame == 2) dlg->DoMessage({kGZMsgCommand, 1, reinterpret_cast<intptr_t>(closer), 0});
    };
    parent->RemoveChild(dlg);
    const int32_t result = mgr->DoModal(parent, dlg);
    screen->afterFrame = nullptr;
    // Taken out of the tree by its modal run: destroyed by whoever ran it.
    mgr->DestroyWin(dlg);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(parent->CountOf(kGZMsgCommand), 0);
}

TEST_F(GenericDialog, WhileNotModalTheMouseReachesTheParentInItsCoordinates) {
    ProbeWin* parent = Add(root, 20, 10, 600, 460);
    parent->consumes = false;
    cGZWinGenDlg* dlg = Make(2, parent);
    ASSERT_TRUE(added);
    for (uint32_t type : {kGZMsgLButtonDown, kGZMsgLButtonUp, kGZMsgMouseMove}) {
        parent->messages.clear();
        dlg->DoMessage({type, 5, 7, 0});
        ASSERT_EQ(parent->CountOf(type), 1) << type;
        EXPECT_EQ(parent->messages[0].a, 100 + 5);
        EXPECT_EQ(parent->messages[0].b, 80 + 7);
    }
    // Modal: a press takes the capture, a release drops it, nothing reaches the parent.
    dlg->BeginModal();
    parent->messages.clear();
    dlg->DoMessage({kGZMsgLButtonDown, 5, 7, 0});
    EXPECT_EQ(mgr->GetCapture(), dlg);
    dlg->DoMessage({kGZMsgMouseMove, 6, 7, 0});
    dlg->DoMessage({kGZMsgLButtonUp, 5, 7, 0});
    EXPECT_EQ(mgr->GetCapture(), nullptr);
    EXPECT_TRUE(parent->messages.empty());
    dlg->EndModal();
}

TEST_F(GenericDialog, ModeZeroWithItsTitleMatchesTheGolden) {
    SetKindNine();
    cGZWinGenDlg::SetDefaultMargins(6, 20, 6, 6);
    cGZWinGenDlg* dlg = Make(0);
    cGZWinGenDlg::SetDefaultMargins(6, 6, 6, 6);
    ASSERT_TRUE(added);
    dlg->SetText(cRZString("Generic"));
    dlg->AddButton({20, 170, 120, 194}, cRZString("OK"));
    dlg->AddCheckBox({20, 40, 160, 56}, cRZString("Check"));
    dlg->AddSlider({20, 80, 200, 92}, 0, 10, 5, 1);
    dlg->AddText({20, 110, 200, 130}, cRZString("Some text"), 0, false);
    Frame();
    EXPECT_TRUE(MatchesGolden(Screen(), "ui/golden/generic_dialog.png"));
    mgr->DestroyWin(dlg);
}

TEST_F(GenericDialog, ModesOneAndTwoDrawTheImageOrTheFill) {
    cGZWinGenDlg* image = new cGZWinGenDlg(1);
    cGZBuffer* picture = GZCreateScreenBuffer(8, 8);
    picture->Clear(picture->MakeColor(250, 200, 0));
    image->SetBackground(picture);
    image->SetArea(10, 10, 30, 30);
    ASSERT_TRUE(root->AddChild(image));
    cGZWinGenDlg* fill = Make(2);
    fill->SetFillColor(fill->MakeColor(0, 200, 100));
    Frame();
    const platform::Image shot = Screen();
    auto rgb = [&](int32_t x, int32_t y) {
        const uint8_t* p = shot.At(x, y);
        return std::vector<int>{p[0] >> 3, p[1] >> 2, p[2] >> 3};
    };
    // The picture from its origin, then the window's own background beyond it.
    EXPECT_EQ(rgb(12, 12), (std::vector<int>{250 >> 3, 200 >> 2, 0}));
    EXPECT_EQ(rgb(17, 17), (std::vector<int>{250 >> 3, 200 >> 2, 0}));
    EXPECT_NE(rgb(19, 19), (std::vector<int>{250 >> 3, 200 >> 2, 0}));
    EXPECT_EQ(rgb(200, 200), (std::vector<int>{0, 200 >> 2, 100 >> 3}));
    mgr->DestroyWin(image);
    mgr->DestroyWin(fill);
}

}  // namespace
