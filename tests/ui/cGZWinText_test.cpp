#include <gtest/gtest.h>

#include "WinTestHarness.h"
#include "ui/controls/cGZWinText.h"

namespace {

using namespace tova_test;

class RecordingText : public cGZWinText {
public:
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t) override {
        downs.push_back({x, y});
        return true;
    }
    std::vector<std::pair<int32_t, int32_t>> downs;
};

class StaticText : public WinTest {};

TEST_F(StaticText, ADefaultLabelHandsAClickToItsParentInTheParentsCoordinates) {
    ProbeWin* parent = Add(root, 100, 100, 300, 300);
    RecordingText* label = Add<RecordingText>(parent, 10, 20, 110, 40);
    Route(kGZMsgLButtonDown, 115, 125);
    EXPECT_EQ(parent->CountOf(kGZMsgLButtonDown), 1);
    EXPECT_EQ(parent->lastDown, std::make_pair(15, 25));
    EXPECT_TRUE(label->downs.empty());
    Route(kGZMsgLButtonUp, 115, 125);

    label->SetTextFlag(cGZWinText::kFlagPassThrough, false);
    Route(kGZMsgLButtonDown, 116, 127);
    EXPECT_EQ(parent->CountOf(kGZMsgLButtonDown), 1);
    ASSERT_EQ(label->downs.size(), 1u);
    EXPECT_EQ(label->downs[0], std::make_pair(6, 7));
}

TEST_F(StaticText, AlignmentsPlaceTheTextRectangle) {
    FakeFont font;
    auto* label = Add<cGZWinText>(root, 0, 0, 100, 40);
    label->SetTextFlag(cGZWinText::kFlagWrap, false);
    label->SetFont(&font);
    label->SetText(cRZString("Hi"));
    struct Case {
        int32_t code, horizontal;
        cRZRect rect;
    };
    // Top codes inset by the margins; centred codes put the 12-high extent
    // in the middle.
    const Case cases[] = {{0, 0, {2, 2, 98, 38}},  {1, 0, {2, 14, 98, 26}}, {2, 1, {2, 2, 98, 38}},
                          {3, 1, {2, 14, 98, 26}}, {4, 2, {2, 2, 98, 38}},  {5, 2, {2, 14, 98, 26}}};
    for (const Case& c : cases) {
        label->SetAlignment(c.code);
        EXPECT_EQ(label->GetAlignment(), c.code);
        EXPECT_EQ(label->GetHorizontalAlignment(), c.horizontal) << c.code;
        const cRZRect& r = label->GetTextRect();
        EXPECT_TRUE(r.left == c.rect.left && r.top == c.rect.top && r.right == c.rect.right &&
                    r.bottom == c.rect.bottom)
            << "code " << c.code << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    label->SetAlignment(6);  // out of range: nothing changes
    EXPECT_EQ(label->GetAlignment(), 5);
    EXPECT_EQ(label->GetHorizontalAlignment(), 2);
    EXPECT_EQ(label->GetTextRect().top, 14);
}

TEST_F(StaticText, AWrappedLabelSizesToItsLinesAndSnapsToWholeLines) {
    FakeFont font;
    auto* label = Add<cGZWinText>(root, 0, 0, 40, 10);
    label->SetFont(&font);
    // Six 6-pixel cells fit in 40 - 2 x 2: three lines.
    label->SetTextChars("aaaaa bbbbb ccccc");
    label->SizeToText();
    EXPECT_EQ(label->Width(), 40);
    EXPECT_EQ(label->Height(), 3 * 12 + 4);

    label->SnapHeightToLines();
    EXPECT_EQ(label->Height(), 36);
    label->SnapHeightToLines();
    EXPECT_EQ(label->Height(), 36);

    label->SetMargins(0, 5);
    label->SizeToText();
    EXPECT_EQ(label->Height(), 3 * 12 + 10);
}

TEST_F(StaticText, DrawsOpaqueBackgroundAndTextColourOrNothingWithoutAFont) {
    FakeFont font;
    auto* label = Add<cGZWinText>(root, 20, 20, 80, 40);
    label->SetFillColor(label->MakeColor(0, 0, 255));
    Frame();
    const platform::Image before = Screen();
    EXPECT_EQ(before.At(30, 30)[2], before.At(5, 5)[2]);  // no font: the root's grey stays

    label->SetFont(&font);
    label->SetTextColor(label->MakeColor(255, 0, 0));
    label->SetTextChars("I");
    Frame();
    const platform::Image image = Screen();
    EXPECT_EQ(image.At(21, 21)[2], 255);  // the blue background
    // The 'I' glyph's middle column runs down x = 2 + 2, from y = 2 + 2.
    const uint8_t* ink = image.At(20 + 2 + 2, 20 + 2 + 4);
    EXPECT_EQ(ink[0], 255);
    EXPECT_EQ(ink[2], 0);
    EXPECT_EQ(font.GetColor(), 0xFFFFu);  // the font's own colour restored
}

}  // namespace
