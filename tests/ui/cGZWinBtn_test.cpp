#include <gtest/gtest.h>

#include "WinTestHarness.h"
#include "simulation/SoundPlayer.h"
#include "ui/controls/cGZWinBtn.h"
#include "ui/controls/cIGZWinCtrlMgr.h"

namespace {

using namespace tova_test;

class RecordingSounds : public tova::iSoundPlayer {
public:
    void Play(const std::string& event, int32_t argument) override {
        played.push_back(event);
        arguments.push_back(argument);
    }
    void StopSources(int32_t) override {}
    void ForgetObject(int32_t) override {}
    std::vector<std::string> played;
    std::vector<int32_t> arguments;
};

class Button : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        tova::SetSoundPlayer(&sounds);
        owner = Add(root, 100, 100, 300, 300);
        button = Add<cGZWinBtn>(owner, 10, 10, 50, 30);
        button->SetNotifyDirectly(true);
    }
    void TearDown() override {
        tova::SetSoundPlayer(nullptr);
        WinTest::TearDown();
    }
    // Button-local points routed as screen points.
    void Press(int32_t x = 5, int32_t y = 5) { Route(kGZMsgLButtonDown, 110 + x, 110 + y); }
    void Release(int32_t x = 5, int32_t y = 5) { Route(kGZMsgLButtonUp, 110 + x, 110 + y); }
    int Codes(intptr_t code) const {
        int n = 0;
        for (const cGZMessage& m : owner->messages)
            n += m.type == kGZMsgCommand && m.a == code && m.b == reinterpret_cast<intptr_t>(button);
        return n;
    }

    RecordingSounds sounds;
    ProbeWin* owner = nullptr;
    cGZWinBtn* button = nullptr;
};

TEST(ButtonFrameColumn, FollowsTheTable) {
    struct Case {
        int32_t columns;
        bool enabled, on, hover;
        int32_t column;
    };
    const Case cases[] = {
        {0, true, true, true, 0},   {1, true, true, true, 0},   {2, true, false, false, 0},
        {2, true, false, true, 1},  {2, true, true, false, 1},  {2, false, true, true, 0},
        {4, true, false, false, 0}, {4, true, false, true, 2},  {4, true, true, true, 1},
        {4, false, true, false, 3}, {6, true, false, true, 2},  {6, true, true, false, 1},
        {6, true, true, true, 3},   {6, false, false, false, 4}, {6, false, true, false, 5},
        {3, true, true, true, 3},   {3, false, true, false, 0}, {5, true, false, true, 2},
        {7, false, true, true, 5},  {5, false, false, false, 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cGZWinBtn::ComputeFrameColumn(c.columns, c.enabled, c.on, c.hover), c.column)
            << c.columns << " columns, enabled " << c.enabled << " on " << c.on << " hover " << c.hover;
}

TEST_F(Button, ClickCodesPerNotifyModeAndOneShot) {
    struct Case {
        int32_t mode;
        bool oneShot;
        int afterPress, afterRelease;
    };
    const Case cases[] = {{0, false, 0, 1}, {1, false, 1, 1}, {2, false, 1, 2}, {2, true, 1, 1}};
    for (const Case& c : cases) {
        owner->messages.clear();
        button->mnNotifyMode = c.mode;
        button->SetOneShot(c.oneShot);
        Press();
        EXPECT_EQ(Codes(cGZWinBtn::kCodeClick), c.afterPress) << "mode " << c.mode;
        Release();
        EXPECT_EQ(Codes(cGZWinBtn::kCodeClick), c.afterRelease) << "mode " << c.mode;
        EXPECT_EQ(cGZWinBtn::GetLastClickedButton(), button);
    }
    button->SetOneShot(false);
}

TEST_F(Button, AReleaseOutsideSendsNoClickAndQueuedClicksArriveNextFrame) {
    Press();
    button->OnMouseLeave(60, 5, nullptr);
    Route(kGZMsgLButtonUp, 400, 400);
    EXPECT_EQ(Codes(cGZWinBtn::kCodeClick), 0);

    button->SetNotifyDirectly(false);
    Press();
    Release();
    EXPECT_EQ(Codes(cGZWinBtn::kCodeClick), 0);
    Frame();
    EXPECT_EQ(Codes(cGZWinBtn::kCodeClick), 1);
}

TEST_F(Button, ToggleKindsOnPressReleaseEnterAndLeave) {
    struct Case {
        int32_t kind, mode;
        int32_t afterPress, afterLeave, afterEnter, afterRelease;
    };
    // Press, drag out, drag back in, release inside.
    const Case cases[] = {
        {0, 0, 1, 0, 1, 0},
        {1, 0, 1, 0, 1, 0},  // a press that changed the state is undone by leave and by release
        {2, 0, 1, 0, 1, 1},  // flipped on press, leave and enter; the release keeps it
        {3, 0, 0, 0, 0, 0},
        {0, 1, 1, 1, 1, 0},
    };
    for (const Case& c : cases) {
        button->mnToggleKind = c.kind;
        button->mnNotifyMode = c.mode;
        button->SetState(0);
        Press();
        EXPECT_EQ(button->GetState(), c.afterPress) << "kind " << c.kind << " mode " << c.mode;
        Route(kGZMsgMouseMove, 400, 400);
        EXPECT_FALSE(button->IsPointerInside());
        EXPECT_EQ(button->GetState(), c.afterLeave) << "kind " << c.kind << " mode " << c.mode;
        Route(kGZMsgMouseMove, 115, 115);
        EXPECT_TRUE(button->IsPointerInside());
        EXPECT_EQ(button->GetState(), c.afterEnter) << "kind " << c.kind << " mode " << c.mode;
        Release();
        EXPECT_EQ(button->GetState(), c.afterRelease) << "kind " << c.kind << " mode " << c.mode;
    }
}

TEST_F(Button, SoundMaskNineAndDefaultSounds) {
    button->OnMouseEnter(5, 5, nullptr);
    Press();
    Release();
    EXPECT_EQ(sounds.played, std::vector<std::string>{"UI_click"});
    EXPECT_EQ(sounds.arguments, std::vector<int32_t>{tova::kUISoundArgument});

    button->SetEnabled(false);
    Press();
    EXPECT_EQ(sounds.played.back(), "UI_error");
    EXPECT_EQ(Codes(cGZWinBtn::kCodeClick), 1);  // the enabled click only

    sounds.played.clear();
    button->SetEnabled(true);
    button->mnSoundMask = 15;
    cGZWinBtn::SetDefaultSounds("in", "down", nullptr, nullptr);
    button->SetSounds(nullptr, nullptr, "up", nullptr);
    button->OnMouseLeave(60, 5, nullptr);
    button->OnMouseEnter(5, 5, nullptr);
    Press();
    Release();
    EXPECT_EQ(sounds.played, (std::vector<std::string>{"in", "down", "up"}));
    cGZWinBtn::SetDefaultSounds(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(cGZWinBtn::GetDefaultSound(cGZWinBtn::kSoundPress), "UI_click");
    EXPECT_EQ(cGZWinBtn::GetDefaultSound(cGZWinBtn::kSoundEnter), "");
}

TEST_F(Button, FlashCodeAfterTheDurationOnTheManualClockAndLeaveCode) {
    button->mnFlashMask = cGZWinBtn::kFlashOnPress;
    button->mnFlashDuration = 500;
    Press();
    Frame();
    Advance(400);
    Frame();
    EXPECT_EQ(Codes(cGZWinBtn::kCodeFlash), 0);
    Advance(200);
    Frame();
    EXPECT_EQ(Codes(cGZWinBtn::kCodeFlash), 1);
    EXPECT_FALSE(button->IsTiming());
    Release();

    button->mnFlashMask = cGZWinBtn::kFlashOnEnter;
    button->OnMouseEnter(5, 5, nullptr);
    EXPECT_TRUE(button->IsTiming());
    button->OnMouseLeave(60, 5, nullptr);
    EXPECT_EQ(Codes(cGZWinBtn::kCodeLeftWhileTiming), 1);
    EXPECT_FALSE(button->IsTiming());
}

TEST_F(Button, DoubleAndRightClickCodes) {
    Route(kGZMsgRButtonDown, 115, 115);
    EXPECT_EQ(Codes(cGZWinBtn::kCodeRightClick), 1);
    Route(kGZMsgRButtonUp, 115, 115);

    button->SetReportDoubleClick(true);
    Route(kGZMsgLButtonDblClk, 115, 115);
    EXPECT_EQ(Codes(cGZWinBtn::kCodeDoubleClick), 1);
    EXPECT_EQ(Codes(cGZWinBtn::kCodeClick), 0);

    button->SetEnabled(false);
    Route(kGZMsgRButtonDown, 115, 115);
    Route(kGZMsgRButtonUp, 115, 115);
    EXPECT_EQ(Codes(cGZWinBtn::kCodeRightClick), 1);
}

TEST_F(Button, StripGridSizesTheButtonAndCellsOutsideTheGridDrawNothing) {
    cGZBuffer* strip = GZCreateScreenBuffer(30, 10);
    ASSERT_NE(strip, nullptr);
    for (int32_t col = 0; col < 3; ++col)
        strip->FillRect4(strip->MakeColor(col == 0 ? 255 : 0, col == 1 ? 255 : 0, col == 2 ? 255 : 0), col * 10, 0,
                         col * 10 + 10, 10);
    button->SetImageStrip(strip, 3, 0);  // 0 rows count as 1
    strip->Release();
    EXPECT_EQ(button->Width(), 10);
    EXPECT_EQ(button->Height(), 10);
    EXPECT_EQ(button->GetRows(), 1);

    button->SetState(1);
    Frame();
    EXPECT_EQ(Screen().At(115, 115)[1], 255);  // column 1: green
    button->OnMouseEnter(5, 5, nullptr);  // on with hover: column 3 of 3
    Frame();
    EXPECT_EQ(button->GetFrameColumn(), 3);
    const platform::Image image = Screen();
    EXPECT_EQ(image.At(115, 115)[1], image.At(150, 150)[1]);  // the owner's colour shows through
}

TEST_F(Button, CaptionColoursBeyondTheColumnsTheyWereSetForAreTheDefaults) {
    GetWinCtrlMgr()->SetDefaultCaptionColours(6, {11, 12, 13, 14});
    button->SetImageStrip(nullptr, 2, 1);
    const uint32_t own[2] = {1, 2};
    const std::pair<int32_t, int32_t> offsets[2] = {{0, 0}, {2, 2}};
    button->SetCaptionColours(own);
    button->SetCaptionOffsets(offsets);
    button->SetImageStrip(nullptr, 6, 1);
    EXPECT_EQ(button->GetCaptionColour(1), 2u);
    EXPECT_EQ(button->GetCaptionColour(3), 14u);
    EXPECT_EQ(button->GetCaptionColour(5), 14u);
    EXPECT_EQ(button->GetCaptionOffset(1), std::make_pair(2, 2));
    EXPECT_EQ(button->GetCaptionOffset(4), std::make_pair(0, 0));
    GetWinCtrlMgr()->SetDefaultCaptionColours(6, {0, 0, 0, 0});
}

TEST_F(Button, ASavedBackgroundIsPutBackUnderEachDraw) {
    cGZBuffer* strip = GZCreateScreenBuffer(20, 10);
    strip->Clear(strip->MakeColor(255, 0, 255));
    strip->FillRect4(strip->MakeColor(0, 255, 0), 0, 0, 10, 10);  // column 0 solid, column 1 all key
    strip->SetColorKey(strip->MakeColor(255, 0, 255));
    button->SetImageStrip(strip, 2, 1);
    strip->Release();
    EXPECT_FALSE(button->GetSaveBackground());
    button->SetSaveBackground(true);
    Frame();
    EXPECT_EQ(Screen().At(115, 115)[1], 255);
    // The owner turns red; the see-through column shows the copy made first.
    owner->mRgb = 0xFF0000;
    button->SetState(1);
    button->mnToggleKind = 3;
    button->SetFrameColumn(1);
    button->Invalidate();
    Frame();
    const platform::Image image = Screen();
    EXPECT_EQ(image.At(150, 150)[0], 255);
    EXPECT_NEAR(image.At(115, 115)[0], 0x40, 8);
    EXPECT_NEAR(image.At(115, 115)[2], 0xC0, 8);
    button->SetSaveBackground(false);
    button->SetImageStrip(nullptr, 1, 1);
    EXPECT_TRUE(button->GetSaveBackground());  // no strip: on by itself
}

TEST_F(Button, CaptionDrawsInTheColumnsColourAtItsOffset) {
    FakeFont font;
    button->SetImageStrip(nullptr, 4, 1);
    button->SetFont(&font, false);
    const uint32_t red = button->MakeColor(255, 0, 0);
    const uint32_t colours[4] = {red, red, red, red};
    const std::pair<int32_t, int32_t> offsets[4] = {{3, 1}, {0, 0}, {0, 0}, {0, 0}};
    button->SetCaptionColours(colours);
    button->SetCaptionOffsets(offsets);
    button->SetCaptionWrapped(false);
    button->SetCaptionAlignment(0);
    button->mCaptionRect = {0, 0, 40, 20};
    button->mbCaptionRectSet = true;
    button->SetText(cRZString("I"));
    Frame();
    const platform::Image image = Screen();
    // The 'I' has its stem in its third column, rows 2-8 of the cell.
    const uint8_t* stem = image.At(110 + 3 + 2, 110 + 1 + 5);
    EXPECT_EQ(stem[0], 255);
    EXPECT_EQ(stem[1], 0);
    EXPECT_EQ(image.At(110 + 2, 110 + 5)[1], image.At(150, 150)[1]);  // not at the unshifted place
    EXPECT_EQ(font.GetColor(), 0xFFFFu);
}

}  // namespace
