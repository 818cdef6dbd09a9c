#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "WinTestHarness.h"
#include "support/GoldenImage.h"
#include "ui/controls/cGZSystemButton.h"
#include "ui/controls/cGZWinMsgBox.h"
#include "ui/controls/cGZWinText.h"
#include "ui/controls/cIGZWinCtrlMgr.h"

namespace {

using namespace tova_test;

class MessageBox : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        cIGZWinCtrlMgr* ctrl = GetWinCtrlMgr();
        ctrl->Init();
        // System buttons of 24 pixels on a 4 x 31 strip.
        cGZBuffer* strip = GZCreateScreenBuffer(4 * 31, 24);
        for (int32_t col = 0; col < 4; ++col)
            strip->FillRect4(strip->MakeColor(60, 90 + 40 * col, 140), col * 31, 0, col * 31 + 31, 24);
        ctrl->SetImage(cIGZWinCtrlMgr::kImageSystemButton, strip, true);
        font.AddRef();
        ctrl->SetFont(cIGZWinCtrlMgr::kFontLabel, &font);
    }
    void TearDown() override {
        WinTest::TearDown();
        GetWinCtrlMgr()->Shutdown();
    }
    cGZWinMsgBox* Make(const char* text, const char* title, uint32_t set, bool autoAnswer = false, int32_t ms = 0) {
        auto* box = new cGZWinMsgBox(cRZString(text), cRZString(title), set, autoAnswer, ms);
        EXPECT_TRUE(root->AddChild(box));
        return box;
    }
    // Runs the box modally; `step` is called after each frame with its number.
    int32_t Run(cGZWinMsgBox* box, std::function<void(int)> step) {
        root->RemoveChild(box);
        int frame = 0;
        screen->afterFrame = [&] { step(++frame); };
        const int32_t result = mgr->DoModal(root, box);
        screen->afterFrame = nullptr;
        return result;
    }
    FakeFont font;
};

TEST_F(MessageBox, AOneLineTextKeepsTheNarrowestWidthAndSitsAt16WithoutATitle) {
    cGZWinMsgBox* box = Make("Saved.", "", 0);
    EXPECT_EQ(box->Width(), 200);
    EXPECT_EQ(box->GetTitleWin(), nullptr);
    EXPECT_EQ(box->GetTextWin()->GetArea().top, 16);
    EXPECT_EQ(box->GetTextWin()->Width(), 200 - 32);
    // Title row none, one line of 12 plus margins, a 24-pixel button, 56.
    EXPECT_EQ(box->Height(), 16 + 24 + 56);
    const cRZRect& button = box->GetFirstButton()->GetArea();
    EXPECT_EQ(button.bottom, box->Height() - 16);
    EXPECT_EQ(button.left, 16 + 34);  // gap (200 - 100 - 32) / 2
    // Centred on the root.
    EXPECT_EQ(box->GetArea().left, (640 - 200) / 2);
}

TEST_F(MessageBox, ATitleWidensTheBoxAndALongTextWidensItInTwoStepsOnly) {
    cGZWinMsgBox* titled = Make("Saved.", "A title that is rather long, forty chars", 0);
    EXPECT_EQ(titled->Width(), 40 * 6 + 4 + 32);
    // Two buttons need more than the narrowest box.
    EXPECT_EQ(Make("Saved.", "", 1)->Width(), 2 * (16 + 100) + 32 + 16);
    EXPECT_EQ(titled->GetTitleWin()->GetArea().top, 16);
    EXPECT_EQ(titled->GetTextWin()->GetArea().top, 16 + 16 + 8);

    const std::string longText(150, 'x');
    cGZWinMsgBox* wide = Make((longText.substr(0, 40) + " " + longText).c_str(), "", 0);
    EXPECT_EQ(wide->Width(), 400);  // 200, then 300, then 400, and no further
    cGZWinMsgBox* middle = Make(std::string(40, 'x').c_str(), "", 0);  // fits at 300
    EXPECT_EQ(middle->Width(), 300);
}

TEST_F(MessageBox, TwoQuickKeysEndItOnceWithTheFirstChoice) {
    cGZWinMsgBox* box = Make("Quit?", "", 1);
    cGZSystemButton* ok = box->GetFirstButton();
    const int32_t result = Run(box, [&](int frame) {
        if (frame == 2) {
            box->OnKeyDown(13, 0);
            EXPECT_TRUE(box->IsPressing());
            EXPECT_EQ(ok->GetState(), 1);
            box->OnKeyDown(27, 0);  // refused while the press runs
        }
        if (frame < 200) Advance(10);
    });
    EXPECT_EQ(result, cGZWinMsgBox::kIdOk);
    mgr->DestroyWin(box);
}

TEST_F(MessageBox, TheYesAndNoLettersChooseInTheYesNoSets) {
    struct Case {
        uint32_t set;
        uint8_t letter;
        int32_t id;
    };
    for (const Case& c : {Case{2, 'n', 2}, Case{3, 'N', 2}, Case{3, 'y', 4}, Case{2, 27, 2}}) {
        cGZWinMsgBox* box = Make("Really?", "", c.set);
        const int32_t result = Run(box, [&](int frame) {
            if (frame == 2) {
                if (c.letter == 27)
                    box->OnKeyDown(27, 0);
                else
                    box->OnChar(c.letter);
            }
            if (frame < 200) Advance(10);
        });
        EXPECT_EQ(result, c.id) << "set " << c.set << " letter " << c.letter;
        mgr->DestroyWin(box);
    }
}

TEST_F(MessageBox, TheTimeOutPressesTheFirstButtonVisiblyAndEndsWithItsId) {
    cGZWinMsgBox* box = Make("Autosave in 1 s", "", 2, true, 1000);
    cGZSystemButton* yes = box->GetFirstButton();
    int pressedFrame = -1;
    const uint32_t start = platform::TimeMs();
    const int32_t result = Run(box, [&](int frame) {
        if (pressedFrame < 0 && box->IsPressing()) {
            pressedFrame = frame;
            EXPECT_EQ(yes->GetState(), 1);
            EXPECT_GE(platform::TimeMs() - start, 1000u);
        }
        if (frame < 400) Advance(10);
    });
    EXPECT_EQ(result, cGZWinMsgBox::kIdYes);
    EXPECT_GT(pressedFrame, 0);
    EXPECT_GE(platform::TimeMs() - start, 1200u);
    mgr->DestroyWin(box);
}

TEST_F(MessageBox, MatchesTheGolden) {
    Make("The lot has no door. People cannot leave or enter the house.", "Build mode", 3);
    Frame();
    EXPECT_TRUE(MatchesGolden(Screen(), "ui/golden/message_box.png"));
}

TEST_F(MessageBox, AFrameImageCoversTheBoxFromItsTopLeftThird) {
    cGZBuffer* frame = GZCreateScreenBuffer(48, 48);
    frame->Clear(frame->MakeColor(90, 60, 30));
    frame->FillRect4(frame->MakeColor(200, 190, 160), 16, 16, 32, 32);
    GetWinCtrlMgr()->SetImage(5, frame, false);
    cGZWinMsgBox* box = Make("Framed.", "", 0);
    Frame();
    const platform::Image image = Screen();
    const cRZRect& area = box->GetScreenArea();
    // Colours come back through 5-6-5: near, not equal.
    EXPECT_NEAR(image.At(area.left + 2, area.top + 2)[0], 90, 8);       // a corner cell
    EXPECT_NEAR(image.At(area.left + 100, area.bottom - 3)[0], 90, 8);  // the bottom edge, tiled
    EXPECT_NEAR(image.At(area.left + 20, area.top + 45)[1], 190, 8);    // the centre, tiled
}

TEST_F(MessageBox, ADialogHandsAKeyToTheChildWithThatHotKey) {
    auto* dialog = Add<cGZWinDlg>(root, 0, 0, 100, 100);
    auto* child = Add(dialog, 0, 0, 10, 10);
    child->SetHotKey('S' | 2u << 16);
    EXPECT_TRUE(dialog->OnKeyDown('S', 2));
    EXPECT_EQ(child->keys, std::vector<uint32_t>{'S'});
    EXPECT_EQ(mgr->GetFocus(), child);
    EXPECT_FALSE(dialog->OnKeyDown('T', 0));
}

}  // namespace
