// The ".ffn" font on synthetic fonts: loading and the atlas, metrics, line
// breaking, and drawing (colour table, selection, underline, shadow,
// mnemonics, text boxes) into 16-bit buffers of both pixel layouts.
#include "ui/graphics/cGZFont.h"

#include <gtest/gtest.h>

#include <memory>

#include "FontFixtures.h"
#include "platform/PngFile.h"
#include "support/GoldenImage.h"
#include "ui/graphics/cGZBuffer.h"

using tova_test::FontBytes;
using tova_test::Buffer;
using tova_test::GlyphShape;
using tova_test::Picture;
using tova_test::Pixel;
using tova_test::Pixels;

namespace {

struct FontDeleter {
    void operator()(cGZFont* font) const { delete font; }
};
using FontPtr = std::unique_ptr<cGZFont, FontDeleter>;

class FontTest : public ::testing::Test {
protected:
    FontPtr Make(const std::vector<GlyphShape>& glyphs, const std::string& name = "font.ffn") {
        folder.Write(name, FontBytes(glyphs));
        return FontPtr(new cGZFont((folder / name).c_str(), 12, 0));
    }
    FontPtr Ascii() {
        FontPtr font = Make(tova_test::AsciiGlyphs());
        EXPECT_TRUE(font->Load());
        font->SetColor(0xFFFF);
        return font;
    }
    tova_test::TempFolder folder;
};

TEST_F(FontTest, LoadFailsWithoutExtensionFileOrGlyphs) {
    folder.Write("noext", FontBytes({{'A', 2, 2}}));
    EXPECT_FALSE(cGZFont((folder / "noext").c_str(), 12, 0).Load()) << "a path without an extension";
    EXPECT_FALSE(cGZFont((folder / "missing.ffn").c_str(), 12, 0).Load());
    folder.Write("junk.ffn", "TFFN not really");
    EXPECT_FALSE(cGZFont((folder / "junk.ffn").c_str(), 12, 0).Load());
    EXPECT_FALSE(Make({{0x100, 2, 2}, {0x2A0, 3, 3}})->Load()) << "only codes outside the table";
}

TEST_F(FontTest, AtlasRowsEndAt1024AndOffsetsComeFromTheOrigins) {
    FontPtr font = Make({{'A', 600, 10, 0, -3}, {'B', 400, 20}, {'C', 30, 5, 2, 4}, {0x1F4, 9, 9}, {'D', 8, 8}});
    ASSERT_TRUE(font->Load());
    EXPECT_EQ(font->GetGlyphRect('A').left, 0);
    EXPECT_EQ(font->GetGlyphRect('B').left, 600);
    EXPECT_EQ(font->GetGlyphRect('B').top, 0);
    // 1000 + 30 passes 1024: a new row under the tallest so far.
    const cRZRect c = font->GetGlyphRect('C');
    EXPECT_EQ(c.left, 0);
    EXPECT_EQ(c.top, 20);
    EXPECT_EQ(font->GetGlyphRect('D').left, 30) << "the code 0x1F4 is skipped, not written past the table";
    EXPECT_EQ(font->AtlasWidth(), 1000);
    EXPECT_EQ(font->AtlasHeight(), 28);
    // C's origin (2, 4) gives offsets (-2, -4); the lowest offset (-4) lifts
    // every glyph by 4 and the line by 4.
    EXPECT_EQ(font->GetGlyph('C').xOffset, -2);
    EXPECT_EQ(font->GetGlyph('C').yOffset, 0);
    EXPECT_EQ(font->GetGlyph('A').yOffset, 7);
    EXPECT_EQ(font->GetAdvance('C'), 28);
    EXPECT_EQ(font->GetLineHeight(), 24);
    EXPECT_EQ(font->GetExtraWidth(), 0) << "-2 over five images rounds to 0";
}

TEST_F(FontTest, ACodeGivenTwiceKeepsItsLastImage) {
    cGZFont font("built.ffn", 12, 0);
    const auto big = tova_test::MakeGlyph({'A', 40, 30});
    const auto small = tova_test::MakeGlyph({'A', 3, 3});
    std::vector<cGZFont::GlyphImage> images = {big, small};
    ASSERT_TRUE(font.Build(images, tova_test::TestPalette()));
    EXPECT_EQ(font.GetGlyphWidth('A'), 3);
    EXPECT_EQ(font.GetGlyphRect('A').left, 40);
    EXPECT_EQ(font.GetLineHeight(), 3);
    images[1].pixels.pop_back();
    EXPECT_FALSE(font.Build(images, tova_test::TestPalette())) << "pixels short of the size";
    EXPECT_FALSE(font.Build(images, {})) << "no palette";
}

TEST_F(FontTest, MetricsOfTheAsciiFont) {
    FontPtr font = Ascii();
    EXPECT_EQ(font->GetLineHeight(), 13);
    EXPECT_EQ(font->GetBaseline(), 11);
    EXPECT_EQ(font->GetAdvance('i'), 3);
    EXPECT_EQ(font->GetGlyphWidth(' '), 0);
    EXPECT_EQ(font->GetAdvance(' '), 3) << "half the average glyph width";
    EXPECT_EQ(font->MeasureText("Hi", 2).width, 9);
    EXPECT_EQ(font->MeasureText("Hi", 2).height, 13);
    EXPECT_EQ(font->GetTextWidth("Hi  ", -1), 15);
    EXPECT_EQ(font->GetTrimmedWidth("Hi  ", -1), 9);
    EXPECT_FALSE(font->IsDrawable(0));
    EXPECT_TRUE(font->IsDrawable(255));
    EXPECT_EQ(font->GetFace(), 5);
    font->SetFlag(cIGZFont::kFlagUnderline | 1, true);
    EXPECT_EQ(font->GetFlags(), uint32_t{cIGZFont::kFlagUnderline}) << "only underline and shadow change";
}

TEST_F(FontTest, FitLineBreaksAfterTheLastBreakThatFits) {
    FontPtr font = Ascii();  // letters advance 6, space 3
    struct Case {
        const char* text;
        int32_t width;
        int32_t expected;
    };
    const Case cases[] = {
        {"abc def", 100, 7},       // all fits
        {"abc defgh", 30, 4},      // breaks after the space
        {"abc  defgh", 30, 5},     // the spaces go with the line
        {"abc-defgh", 30, 4},      // '-' is a break character
        {"abcdefgh", 30, 5},       // no break: the characters that fit
        {"abcdefgh", 3, 8},        // narrower than one glyph: the first word
        {"abcd efgh", 3, 5},       // ... with its spaces
        {"ab\ncd", 100, 3},        // a newline ends the line after it
        {"a bcdefgh", 8, 2},       // one letter and its space
    };
    for (const Case& c : cases)
        EXPECT_EQ(font->FitLine(c.text, -1, c.width), c.expected) << c.text << " in " << c.width;
    EXPECT_EQ(font->CountLines("abc defgh ij", -1, 30), 3);
}

TEST_F(FontTest, ColourTableServesBothLayouts) {
    FontPtr font = Ascii();
    for (int32_t format : {cGZBuffer::kFormat565, cGZBuffer::kFormat555}) {
        auto buffer = Buffer(20, 20, format);
        const uint32_t red = cGZBuffer::MakeColorFor(format, 255, 0, 0);
        const uint32_t background = cGZBuffer::MakeColorFor(format, 0, 0, 255);
        buffer->Clear(background);
        font->SetColor(red);
        EXPECT_EQ(font->DrawText(*buffer, 0, 0, "A", 1, nullptr, -1, -1), 6);
        // 'A' stands 2 below the line's top: its frame is full red, its last
        // corner full coverage but black, a half pixel mixes, 0 leaves blue.
        EXPECT_EQ(Pixel(*buffer, 0, 2), red);
        EXPECT_EQ(Pixel(*buffer, 5, 10), cGZBuffer::MakeColorFor(format, 0, 0, 0));
        uint8_t r, g, b;
        const auto A = tova_test::MakeGlyph({'A', 6, 9});
        for (int y = 1; y < 8; ++y)
            for (int x = 1; x < 5; ++x) {
                cGZBuffer::SplitColorFor(format, Pixel(*buffer, x, y + 2), r, g, b);
                if (A.pixels[static_cast<size_t>(y * 6 + x)] == 2) {
                    EXPECT_NEAR(r, 128, 16);
                    EXPECT_NEAR(b, 128, 16);
                } else {
                    EXPECT_EQ(Pixel(*buffer, x, y + 2), background);
                }
            }
        EXPECT_EQ(Pixel(*buffer, 0, 0), background);
    }
}

TEST_F(FontTest, ShadowAddsTwoAndDrawsBlackBelowRight) {
    FontPtr font = Ascii();
    auto plain = Buffer(40, 20);
    auto shadowed = Buffer(40, 20);
    plain->Clear(0x1234);
    shadowed->Clear(0x1234);
    const int32_t width = font->DrawText(*plain, 0, 0, "AB", 2, nullptr, -1, -1);
    font->SetFlag(cIGZFont::kFlagShadow, true);
    EXPECT_EQ(font->DrawText(*shadowed, 0, 0, "AB", 2, nullptr, -1, -1), width + 2);
    EXPECT_EQ(Pixel(*shadowed, 2, 12), 0) << "the shadow's bottom row";
    EXPECT_EQ(Pixel(*plain, 2, 12), 0x1234);
}

TEST_F(FontTest, ClipAndZeroByteBoundTheDrawing) {
    FontPtr font = Ascii();
    auto buffer = Buffer(40, 20);
    const cRZRect clip{0, 0, 3, 20};
    font->DrawText(*buffer, 0, 0, "AB", 2, &clip, -1, -1);
    EXPECT_EQ(Pixel(*buffer, 2, 2), 0xFFFF);
    EXPECT_EQ(Pixel(*buffer, 3, 2), 0) << "cut at the clip";
    EXPECT_EQ(Pixel(*buffer, 6, 2), 0) << "B lies wholly outside";
    auto stopped = Buffer(40, 20);
    EXPECT_EQ(font->DrawText(*stopped, 0, 0, "A\0B", 3, nullptr, -1, -1), 6);
    // Far off the buffer: nothing written, no fault.
    font->DrawText(*buffer, -500, 900, "AAAA", 4, nullptr, -1, -1);
}

TEST_F(FontTest, MnemonicsUnderlineTheMarkedLetterAndDoubleAmpersandDrawsOne) {
    FontPtr font = Ascii();
    auto marked = Buffer(60, 16);
    EXPECT_EQ(font->DrawMnemonicText(*marked, 0, 0, "&File"), 6 + 3 + 3 + 6);
    const int32_t row = font->GetBaseline();
    EXPECT_EQ(Pixel(*marked, 3, row), 0xFFFF) << "under F";
    EXPECT_EQ(Pixel(*marked, 8, row), 0) << "not under i";
    auto doubled = Buffer(60, 16);
    auto plain = Buffer(60, 16);
    font->DrawMnemonicText(*doubled, 0, 0, "a&&b");
    font->DrawText(*plain, 0, 0, "a&b", 3, nullptr, -1, -1);
    EXPECT_EQ(Pixels(*doubled), Pixels(*plain));
}

TEST_F(FontTest, TextBoxAlignsLinesAndStopsAtTheBottom) {
    FontPtr font = Ascii();
    auto left = Buffer(40, 40);
    font->DrawTextBox(*left, cRZRect{0, 0, 30, 26}, "abc defgh ij", -1, cIGZFont::kAlignLeft);
    EXPECT_EQ(Pixel(*left, 0, 2), 0xFFFF);
    EXPECT_EQ(Pixel(*left, 0, 15), 0xFFFF) << "second line";
    EXPECT_EQ(Pixel(*left, 0, 28), 0) << "the third line's top lies on the bottom";
    auto right = Buffer(40, 40);
    font->DrawTextBox(*right, cRZRect{0, 0, 30, 13}, "ab", -1, cIGZFont::kAlignRight);
    EXPECT_EQ(Pixel(*right, 29, 2), 0xFFFF);
    EXPECT_EQ(Pixel(*right, 17, 2), 0);
    auto centre = Buffer(40, 40);
    font->DrawTextBox(*centre, cRZRect{0, 0, 30, 13}, "ab", -1, cIGZFont::kAlignCentre);
    EXPECT_EQ(Pixel(*centre, 9, 2), 0xFFFF);
    EXPECT_EQ(Pixel(*centre, 8, 2), 0);
}

TEST_F(FontTest, GoldenLineWithSelectionUnderlineAndShadow) {
    FontPtr font = Ascii();
    auto buffer = Buffer(110, 50);
    buffer->Clear(cGZBuffer::MakeColorFor(7, 40, 60, 90));
    font->SetColor(cGZBuffer::MakeColorFor(7, 250, 230, 120));
    font->DrawText(*buffer, 2, 2, "Hello, pig", -1, nullptr, 2, 5);
    font->SetFlag(cIGZFont::kFlagUnderline, true);
    font->DrawText(*buffer, 2, 18, "Underlined", -1, nullptr, -1, -1);
    font->SetFlag(cIGZFont::kFlagUnderline, false);
    font->SetFlag(cIGZFont::kFlagShadow, true);
    font->DrawText(*buffer, 2, 34, "Shadow", -1, nullptr, -1, -1);
    EXPECT_TRUE(tova_test::MatchesGolden(Picture(*buffer), "ui/golden/font_line.png"));
}

}  // namespace
