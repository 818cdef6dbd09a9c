#include <gtest/gtest.h>

#include "WinTestHarness.h"
#include "ui/controls/cGZWinBtn.h"
#include "ui/controls/cGZWinCheck.h"
#include "ui/controls/cGZWinCtrlMgr.h"

namespace {

using namespace tova_test;

class CheckBox : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        ctrl.Init();
        owner = Add(root, 100, 100, 300, 300);
    }
    void TearDown() override {
        WinTest::TearDown();
        ctrl.Shutdown();
    }
    int Toggles(const cGZWin* check) const {
        int n = 0;
        for (const cGZMessage& m : owner->messages)
            n += m.type == kGZMsgCommand && m.a == cGZWinCheck::kCodeToggled &&
                 m.b == reinterpret_cast<intptr_t>(check);
        return n;
    }
    cGZWinCtrlMgr ctrl;
    FakeFont font;
    ProbeWin* owner = nullptr;
};

TEST_F(CheckBox, WithoutAKindOneStripTheFactoryReturnsItUnconfigured) {
    ctrl.SetFont(cIGZWinCtrlMgr::kFontLabel, &font);
    cGZWinCheck* check = ctrl.CreateCheckBox(5, cRZString("Check"));
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->GetCommandValue(), 0);
    EXPECT_STREQ(check->GetText().c_str(), "");
    EXPECT_EQ(check->GetLabelFont(), nullptr);
    EXPECT_EQ(check->GetBoxStrip(), nullptr);
    delete check;
    ctrl.SetFont(cIGZWinCtrlMgr::kFontLabel, nullptr);
}

TEST_F(CheckBox, AClickOnTheBoxFlipsItAndQueuesCode28) {
    ctrl.SetFont(cIGZWinCtrlMgr::kFontLabel, &font);
    cGZBuffer* strip = GZCreateScreenBuffer(6 * 16, 16);
    ctrl.SetImage(cIGZWinCtrlMgr::kImageCheckBox, strip, true);
    cGZWinCheck* check = ctrl.CreateCheckBox(5, cRZString("Check"));
    EXPECT_TRUE(strip->HasColorKey());
    check->SetArea(10, 10, 20, 20);
    ASSERT_TRUE(owner->AddChild(check));
    // Box, gap of 6 and the label, as high as the taller of box and font.
    EXPECT_EQ(check->Width(), 16 + 6 + 5 * FakeFont::kAdvance);
    EXPECT_EQ(check->Height(), 16);
    EXPECT_EQ(check->GetCommandValue(), 5);
    EXPECT_FALSE(check->IsChecked());

    Route(kGZMsgLButtonDown, 115, 115);
    Route(kGZMsgLButtonUp, 115, 115);
    EXPECT_TRUE(check->IsChecked());
    EXPECT_EQ(Toggles(check), 0);  // queued, not yet delivered
    Frame();
    EXPECT_EQ(Toggles(check), 1);

    // A click on the label is not a click on the box.
    Route(kGZMsgLButtonDown, 140, 115);
    Route(kGZMsgLButtonUp, 140, 115);
    Route(kGZMsgLButtonDown, 115, 115);
    Route(kGZMsgLButtonUp, 115, 115);
    Frame();
    EXPECT_FALSE(check->IsChecked());
    EXPECT_EQ(Toggles(check), 2);

    check->SetChecked(true);
    EXPECT_TRUE(check->IsChecked());
    check->SetEnabled(false);
    EXPECT_EQ(check->GetBox()->GetFrameColumn(), 5);
    ctrl.SetFont(cIGZWinCtrlMgr::kFontLabel, nullptr);
}

}  // namespace
