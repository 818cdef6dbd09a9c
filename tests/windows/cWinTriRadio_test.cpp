#include <gtest/gtest.h>

#include "../ui/WinTestHarness.h"
#include "ui/controls/cGZWinBtn.h"
#include "ui/controls/cGZWinText.h"
#include "windows/cWinTriRadio.h"
#include "windows/cWinTriText.h"

namespace {

using namespace tova_test;
using windows::cWinTriRadio;
using windows::cWinTriText;

class TriControls : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        owner = Add(root, 10, 10, 400, 200);
    }
    int Changes(const cGZWin* radio) const {
        int n = 0;
        for (const cGZMessage& m : owner->messages)
            n += m.type == kGZMsgCommand && m.a == cWinTriRadio::kCodeChanged && m.b == reinterpret_cast<intptr_t>(radio);
        return n;
    }
    void Click(cGZWinBtn* button) {
        button->OnLButtonDown(2, 2, 0);
        button->OnLButtonUp(2, 2, 0);
        Frame();
    }
    ProbeWin* owner = nullptr;
    FakeFont font;
};

TEST_F(TriControls, ARadioWithoutAStripDoesNotInitialise) {
    cWinTriRadio radio(nullptr);
    EXPECT_FALSE(radio.Init());
}

TEST_F(TriControls, TheRadioPlacesItsButtonsLeftCentredAndRightAndAClickSelectsAndTellsTheOwner) {
    cGZBuffer* strip = GZCreateScreenBuffer(6 * 20, 20);
    ASSERT_NE(strip, nullptr);
    auto* radio = new cWinTriRadio(strip);
    strip->Release();
    radio->SetArea(0, 0, 200, 30);
    ASSERT_TRUE(owner->AddChild(radio));
    EXPECT_EQ(radio->GetButton(0)->GetArea().left, 0);
    EXPECT_EQ(radio->GetButton(1)->GetArea().left, 90);
    EXPECT_EQ(radio->GetButton(2)->GetArea().left, 180);
    EXPECT_EQ(radio->GetButton(2)->GetArea().top, 5);
    radio->SetArea(0, 0, 300, 20);
    EXPECT_EQ(radio->GetButton(2)->GetArea().left, 280);

    Click(radio->GetButton(1));
    EXPECT_EQ(radio->GetSelected(), 1);
    EXPECT_EQ(radio->GetButton(1)->GetState(), 1);
    EXPECT_EQ(radio->GetButton(0)->GetState(), 0);
    EXPECT_EQ(Changes(radio), 1);
    Click(radio->GetButton(1));
    EXPECT_EQ(radio->GetSelected(), 1) << "the selected button stays selected";
    EXPECT_EQ(Changes(radio), 2) << "and still tells the owner";
    radio->Select(2);
    EXPECT_EQ(radio->GetButton(1)->GetState(), 0);
    EXPECT_EQ(radio->GetButton(2)->GetState(), 1);
}

TEST_F(TriControls, TheTriTextSplitsItsWidthInThirds) {
    auto* tri = new cWinTriText;
    tri->SetFont(&font);
    tri->SetArea(0, 0, 100, 16);
    ASSERT_TRUE(owner->AddChild(tri));
    tri->SetTexts("a", "b", "c");
    EXPECT_EQ(tri->GetText(1)->GetArea().left, 33);
    EXPECT_EQ(tri->GetText(2)->GetArea().right, 100);
    EXPECT_EQ(tri->GetText(2)->GetArea().left, 66);
    EXPECT_EQ(tri->GetText(0)->Height(), 16);
    EXPECT_EQ(tri->GetText(1)->GetAlignment(), 2);
    EXPECT_EQ(tri->GetText(0)->GetText(), "a");
}

}  // namespace
