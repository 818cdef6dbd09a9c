#include <gtest/gtest.h>

#include <string>

#include "support/FakeFont.h"
#include "windows/cWinTextWrap.h"

namespace {

using windows::cWinTextWrap;

// The fake font: 6 pixels a character, 12 a line.
class TextWrapTest : public ::testing::Test {
protected:
    tova_test::FakeFont font;
    cWinTextWrap wrap;
    void SetUp() override {
        wrap.SetFont(&font);
        wrap.SetArea(0, 0, 60, 0);  // ten characters a line
    }
};

TEST_F(TextWrapTest, NoCutoutAndNoTextIsZeroHigh) {
    wrap.SetText("");
    EXPECT_EQ(wrap.Height(), 0);
}

TEST_F(TextWrapTest, TheCutoutRoundsToWholeLinesWithExactlyHalfRoundingDown) {
    const struct {
        int32_t height, rounded;
    } cases[] = {{18, 12}, {19, 24}, {6, 0}, {7, 12}, {24, 24}, {0, 0}};
    for (const auto& c : cases) {
        wrap.SetCutout(30, c.height);
        EXPECT_EQ(wrap.GetCutoutHeight(), c.rounded) << c.height;
    }
}

TEST_F(TextWrapTest, LinesBesideTheCutoutThenFullWidthLinesBelowIt) {
    wrap.SetCutout(30, 24);  // two lines of five characters beside it
    wrap.SetText("aaaa bbbb cccc dddd eeee");
    EXPECT_EQ(wrap.GetLinesBeside(), 2);
    EXPECT_EQ(wrap.GetCharsBeside(), 10) << "aaaa bbbb ";
    EXPECT_EQ(wrap.GetFullLines(), 2) << "cccc dddd / eeee";
    EXPECT_EQ(wrap.Height(), 24 + 2 * 12);
    EXPECT_EQ(wrap.GetArea().left, 0);
    EXPECT_EQ(wrap.Width(), 60);
}

TEST_F(TextWrapTest, AShortTextStaysBesideTheCutout) {
    wrap.SetCutout(30, 24);
    wrap.SetText("aa bb");
    EXPECT_EQ(wrap.GetFullLines(), 0);
    EXPECT_EQ(wrap.GetCharsBeside(), 5);
    EXPECT_EQ(wrap.Height(), 24);
}

TEST_F(TextWrapTest, AppendTextSeparatesParagraphsButNotTheFirst) {
    wrap.AppendText("one");
    EXPECT_EQ(wrap.GetText(), "one");
    wrap.AppendText("two");
    EXPECT_EQ(wrap.GetText(), "one\n\ntwo");
    EXPECT_EQ(wrap.Height(), 3 * 12) << "one, an empty line, two";
}

TEST_F(TextWrapTest, ChangingTheWidthRewraps) {
    wrap.SetText("aaaa bbbb cccc");
    EXPECT_EQ(wrap.Height(), 2 * 12);
    wrap.SetArea(0, 0, 120, 5);
    EXPECT_EQ(wrap.Height(), 12);
}

}  // namespace
