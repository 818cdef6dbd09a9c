// The double-byte and Thai fonts on synthetic ".fon" glyph sets: set sizes,
// lead bytes and glyph indices by language, line breaking by units, Thai
// cells, drawing (shadow, selection, underline, mnemonics), and the font
// service handing them out.
#include "ui/graphics/cGZDBFontKorean.h"
#include "ui/graphics/cGZDBFontThai.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FontFixtures.h"
#include "platform/CodePage.h"
#include "platform/PngFile.h"
#include "support/GoldenImage.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cGZFontSys.h"

using tova_test::Buffer;
using tova_test::Picture;
using tova_test::Pixel;

namespace {

std::string Bytes(int codePage, const char* utf8) { return platform::CodePage::Get(codePage).FromUtf8(utf8); }

class DBFontTest : public ::testing::Test {
protected:
    std::shared_ptr<const DBGlyphSet> Set(int32_t index, int64_t cut = 0) {
        folder.Write(DBGlyphSet::Layouts()[static_cast<size_t>(index)].file, tova_test::FonBytes(index, cut));
        return DBGlyphSet::Read(folder.path() + "/", index);
    }
    std::unique_ptr<cGZDBFontKorean> Korean(uint32_t language, int32_t set) {
        auto font = std::make_unique<cGZDBFontKorean>("x.fon", language, Set(set));
        EXPECT_TRUE(font->Load());
        font->SetColor(0xFFFF);
        return font;
    }
    std::unique_ptr<cGZDBFontThai> Thai() {
        auto font = std::make_unique<cGZDBFontThai>("font20th.fon", Set(DBGlyphSet::kThaiSet));
        EXPECT_TRUE(font->Load());
        font->SetColor(0xFFFF);
        return font;
    }
    tova_test::TempFolder folder;
};

TEST_F(DBFontTest, SetsAreUsableOnlyWithAllTheirBytes) {
    const int64_t sizes[] = {215136, 286848, 449920, 278304, 10240, 64172, 79296};
    for (int32_t index = 0; index < DBGlyphSet::kSetCount; ++index) {
        EXPECT_EQ(DBGlyphSet::Layouts()[static_cast<size_t>(index)].FileBytes(), sizes[index]) << index;
        EXPECT_TRUE(Set(index)->IsUsable()) << index;
        EXPECT_FALSE(Set(index, 1)->IsUsable()) << index;
        EXPECT_EQ(Set(index, 1)->Size(), 0);
    }
    EXPECT_FALSE(DBGlyphSet::Read(folder.path() + "/missing/", 0)->IsUsable());
    cGZDBFontKorean shortFont("x.fon", 15, Set(0, 24));
    EXPECT_FALSE(shortFont.Load());
    cGZDBFontKorean noSet("x.fon", 15, nullptr);
    EXPECT_FALSE(noSet.Load());
}

TEST_F(DBFontTest, LoadedSizeIsTheLineHeight) {
    auto japanese = Korean(15, 0);
    EXPECT_EQ(japanese->GetSize(), 14);
    EXPECT_EQ(japanese->GetLineHeight(), 14);
    EXPECT_EQ(japanese->GetFace(), 5);
    EXPECT_TRUE(japanese->IsDoubleByte());
    auto thai = Thai();
    EXPECT_EQ(thai->GetSize(), 22);
}

TEST_F(DBFontTest, LeadBytesAndCharacterLengthsIn932) {
    auto font = Korean(15, 0);
    EXPECT_TRUE(font->IsLeadByte(0x82));
    EXPECT_FALSE(font->IsLeadByte(0xA0));
    EXPECT_EQ(font->GetCharLength("\x82\xA0"), 2);
    EXPECT_EQ(font->GetCharLength("\xA0"), 1);
    EXPECT_EQ(font->GetCharLength("\x82"), 1) << "a lead byte at the end stands alone";
    EXPECT_EQ(font->GetTextWidth("\x82\xA0", 2), 13) << "12 wide and one blank column";
    EXPECT_EQ(font->GetTextWidth("\xA0", 1), 6);
}

TEST_F(DBFontTest, LeadByteRangesByLanguage) {
    struct Case {
        uint32_t language;
        uint8_t first, last;  // the lead bytes
    };
    for (const Case& c : {Case{17, 161, 252}, Case{18, 129, 254}, Case{20, 176, 200}}) {
        cGZDBFontKorean font("x", c.language, nullptr);
        for (int ch = 1; ch < 256; ++ch)
            EXPECT_EQ(font.IsLeadByte(static_cast<uint8_t>(ch)), ch >= c.first && ch <= c.last) << c.language << " " << ch;
    }
    cGZDBFontKorean korean("x", 20, nullptr), simplified("x", 17, nullptr), japanese("x", 15, nullptr);
    for (uint8_t ch : {129, 175, 201, 255}) EXPECT_TRUE(korean.IsMissingLeadByte(ch)) << int(ch);
    for (uint8_t ch : {176, 200, 65}) EXPECT_FALSE(korean.IsMissingLeadByte(ch)) << int(ch);
    for (uint8_t ch : {129, 160, 253}) EXPECT_TRUE(simplified.IsMissingLeadByte(ch)) << int(ch);
    EXPECT_FALSE(simplified.IsMissingLeadByte(161));
    EXPECT_FALSE(japanese.IsMissingLeadByte(129));
}

TEST(DBFontIndex, FirstCodesAreGlyphZeroAndOutOfRangeCodesFallBack) {
    struct Case {
        uint32_t language;
        uint32_t code;
        int32_t index;
    };
    const Case cases[] = {
        {15, 0x8140, 0},    {15, 0x8141, 1},     {15, 0x8180, 63},  {15, 0x8240, 188},
        {15, 0xE040, 5828}, {15, 0x813F, 0},     {15, 0x81FD, 0},   {15, 0xA040, 0},
        {17, 0xA1A1, 0},    {17, 0xA2A1, 94},    {17, 0xA1A0, 0},   {18, 0xA140, 0},
        {18, 0xA1A1, 63},   {18, 0xA240, 157},   {18, 0xFA40, 0},   {20, 0xB0A1, 0},
        {20, 0xC8FE, 2349}, {20, 0xC9A1, 0},     {1, 0x8140, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cGZDBFontKorean::GlyphIndex(c.language, c.code), c.index) << c.language << " " << std::hex << c.code;
}

TEST_F(DBFontTest, IndexPastTheSetDrawsGlyphZero) {
    auto font = Korean(15, 0);
    // 0xFCFC lies past the 8836 glyphs; glyph 0 is the filled cell.
    auto past = Buffer(20, 16), zero = Buffer(20, 16), other = Buffer(20, 16);
    font->DrawText(*past, 0, 0, "\xFC\xFC", 2, nullptr, -1, -1);
    font->DrawText(*zero, 0, 0, "\x81\x40", 2, nullptr, -1, -1);
    font->DrawText(*other, 0, 0, "\x81\x41", 2, nullptr, -1, -1);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 20; ++x) EXPECT_EQ(Pixel(*past, x, y), Pixel(*zero, x, y)) << x << "," << y;
    EXPECT_EQ(Pixel(*zero, 5, 5), 0xFFFF);
    EXPECT_EQ(Pixel(*other, 5, 4), 0) << "glyph 1 is an open frame";
    EXPECT_EQ(Pixel(*zero, 5, 0), 0) << "the blank row above";
    EXPECT_EQ(Pixel(*zero, 5, 13), 0) << "the blank row below";
}

TEST_F(DBFontTest, IdeographicCommaStaysWithTheLettersBeforeIt) {
    auto font = Korean(15, 0);
    const std::string text = Bytes(932, "abc、def");
    ASSERT_EQ(text.size(), 8u);
    const auto length = static_cast<int32_t>(text.size());
    // abc = 18, the comma 13, def 18.
    EXPECT_EQ(font->FitLine(text.c_str(), length, 35), 5);
    EXPECT_EQ(font->FitLine(text.c_str(), length, 25), 8) << "nothing fits: the whole word, never split before the comma";
    EXPECT_EQ(font->FitLine(text.c_str(), length, 49), 8);
    EXPECT_EQ(font->CountLines(text.c_str(), length, 35), 2);
    const std::string opening = Bytes(932, "ab「cd");
    EXPECT_EQ(font->FitLine(opening.c_str(), static_cast<int32_t>(opening.size()), 20), 2)
        << "an opening bracket stays with what follows";
}

TEST_F(DBFontTest, BreaksAtSpacesNewlinesAndBetweenIdeographs) {
    auto font = Korean(20, 5);
    EXPECT_EQ(font->FitLine("ab cd", 5, 20), 3) << "the space goes with the line";
    EXPECT_EQ(font->FitLine("ab\ncd", 5, 200), 3);
    const std::string hangul = Bytes(949, "가나다");
    EXPECT_EQ(font->FitLine(hangul.c_str(), static_cast<int32_t>(hangul.size()), 27), 4) << "two of 13 each";
    EXPECT_EQ(font->FitLine(hangul.c_str(), static_cast<int32_t>(hangul.size()), 5), 6)
        << "nothing fits: up to the first space";
    EXPECT_EQ(font->FitLine("abc", 3, 0), 3);
}

TEST_F(DBFontTest, ShadowSelectionAndUnderline) {
    auto font = Korean(15, 0);
    auto plain = Buffer(20, 16);
    EXPECT_EQ(font->DrawText(*plain, 0, 0, "A", 1, nullptr, -1, -1), 6);
    // 'A' (65): a frame in the 6 by 12 cell one row down.
    EXPECT_EQ(Pixel(*plain, 0, 1), 0xFFFF);
    EXPECT_EQ(Pixel(*plain, 6, 2), 0);
    font->SetFlag(cIGZFont::kFlagShadow, true);
    auto shadow = Buffer(20, 16);
    shadow->Clear(0x1234);
    font->DrawText(*shadow, 0, 0, "A", 1, nullptr, -1, -1);
    EXPECT_EQ(Pixel(*shadow, 6, 2), 0) << "below-right of the right edge";
    EXPECT_EQ(Pixel(*shadow, 0, 13), 0) << "below the bottom row";
    EXPECT_EQ(Pixel(*shadow, 0, 1), 0xFFFF);
    font->SetFlag(cIGZFont::kFlagShadow, false);

    auto selected = Buffer(20, 16);
    selected->Clear(0x1234);
    font->DrawText(*selected, 0, 0, "A", 1, nullptr, 0, 1);
    EXPECT_EQ(Pixel(*selected, 0, 1), 0x1234) << "the glyph takes the cell's old colour";
    EXPECT_EQ(Pixel(*selected, 2, 0), 0xFFFF) << "the cell is filled";

    font->SetFlag(cIGZFont::kFlagUnderline, true);
    auto underlined = Buffer(20, 16);
    const cRZRect clip{0, 0, 4, 16};
    font->DrawText(*underlined, 0, 0, "\xA0\xA0", 2, &clip, -1, -1);
    EXPECT_EQ(Pixel(*underlined, 3, 13), 0xFFFF);
    EXPECT_EQ(Pixel(*underlined, 4, 13), 0) << "clipped";
    EXPECT_EQ(Pixel(*underlined, 3, 12), 0);
}

// Drawing skips characters that lie wholly outside the clip, so the clipped
// picture must still hold every pixel the unclipped one has inside the clip:
// shadows reaching in from a glyph just outside, and Thai marks that hang
// left of their cell into the clip from a cell that starts past it.
TEST_F(DBFontTest, ClippedTextKeepsTheUnclippedPixelsInsideTheClip) {
    auto japanese = Korean(15, 0);
    auto thai = Thai();
    const std::string kana = Bytes(932, "A日本b語");
    const std::string cells = "\xA1\xE8 \xBD\xD4";
    ASSERT_LT(cGZDBFontThai::Compose("\xBD\xD4", 2).glyphs[1].x, 0) << "the mark hangs left of its cell";
    // The last cell starts one column right of this clip, its mark inside.
    const int32_t lastCell = thai->GetTextWidth(cells.c_str(), 3);
    struct Case {
        cGZDBFont* font;
        const std::string* text;
        int32_t x, y;
        cRZRect clip;
        bool shadow;
    };
    const Case cases[] = {
        {japanese.get(), &kana, 2, 1, {5, 3, 17, 11}, false},
        {japanese.get(), &kana, -9, 4, {0, 0, 30, 20}, true},
        {japanese.get(), &kana, 4, 0, {10, 0, 40, 30}, true},  // 'A' ends at the clip, its shadow inside
        {thai.get(), &cells, 3, 2, {4, 0, 3 + lastCell - 1, 30}, false},
        {thai.get(), &cells, 3, 2, {0, 5, 3 + lastCell - 1, 9}, true},
        {thai.get(), &cells, -20, 2, {0, 0, 40, 30}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " clip " << c.clip.left << "," << c.clip.top << " "
                                        << c.clip.right << "," << c.clip.bottom << " shadow " << c.shadow);
        c.font->SetFlag(cIGZFont::kFlagShadow, c.shadow);
        const auto length = static_cast<int32_t>(c.text->size());
        auto whole = Buffer(40, 30);
        whole->Clear(0x1234);
        c.font->DrawText(*whole, c.x, c.y, c.text->c_str(), length, nullptr, -1, -1);
        auto clipped = Buffer(40, 30);
        clipped->Clear(0x1234);
        c.font->DrawText(*clipped, c.x, c.y, c.text->c_str(), length, &c.clip, -1, -1);
        int32_t inked = 0;
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 40; ++x) {
                const bool inside = x >= c.clip.left && x < c.clip.right && y >= c.clip.top && y < c.clip.bottom;
                const uint16_t expected = inside ? Pixel(*whole, x, y) : uint16_t{0x1234};
                ASSERT_EQ(Pixel(*clipped, x, y), expected) << "at " << x << "," << y;
                if (inside && expected != 0x1234) ++inked;
            }
        EXPECT_GT(inked, 0);
    }
}

TEST_F(DBFontTest, MnemonicsDrawAnUnderscoreAndNoAmpersand) {
    auto font = Korean(15, 0);
    auto marked = Buffer(40, 16), expected = Buffer(40, 16);
    EXPECT_EQ(font->DrawMnemonicText(*marked, 0, 0, "&File"), 24);
    font->DrawText(*expected, 0, 0, "File", 4, nullptr, -1, -1);
    font->DrawText(*expected, 0, 0, "_", 1, nullptr, -1, -1);
    auto doubled = Buffer(40, 16), plain = Buffer(40, 16);
    EXPECT_EQ(font->DrawMnemonicText(*doubled, 0, 0, "a&&b"), 18);
    font->DrawText(*plain, 0, 0, "a&b", 3, nullptr, -1, -1);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 40; ++x) {
            EXPECT_EQ(Pixel(*marked, x, y), Pixel(*expected, x, y)) << x << "," << y;
            EXPECT_EQ(Pixel(*doubled, x, y), Pixel(*plain, x, y)) << x << "," << y;
        }
}

TEST_F(DBFontTest, ThaiClassesAndCells) {
    struct ClassCase {
        uint8_t code;
        int32_t kind;
    };
    for (const ClassCase& c : {ClassCase{65, 1}, {160, 1}, {161, 2}, {196, 4}, {197, 2}, {207, 1}, {209, 6},
                               {211, 10}, {216, 5}, {218, 9}, {224, 3}, {230, 1}, {231, 8}, {232, 7}, {236, 11},
                               {239, 1}})
        EXPECT_EQ(cGZDBFontThai::ClassOf(c.code), c.kind) << int(c.code);

    // Consonant 0xA1 (advance 8, anchor 7), below vowel 0xD8 (3, anchor 2),
    // tone 0xE8 (1, anchor 0): the vowel at 7 - 2, the tone at 7 - 0, lowered.
    const cGZDBFontThai::Cell cell = cGZDBFontThai::Compose("\xA1\xD8\xE8", 3);
    EXPECT_EQ(cell.bytes, 3);
    ASSERT_EQ(cell.glyphCount, 3);
    EXPECT_EQ(cell.glyphs[1].x, 5);
    EXPECT_EQ(cell.glyphs[1].level, 1);
    EXPECT_EQ(cell.glyphs[2].x, 7);
    EXPECT_EQ(cell.glyphs[2].level, 4);
    EXPECT_EQ(cell.width, 8);
    EXPECT_EQ(cell.advance, 9);

    EXPECT_EQ(cGZDBFontThai::Compose("\xE8\xA1", 2).bytes, 1) << "a tone mark is no base";
    EXPECT_EQ(cGZDBFontThai::Compose("\xE0\xA1", 2).bytes, 1) << "a leading vowel stands alone";
    const auto toneThenAm = cGZDBFontThai::Compose("\xA1\xE8\xD3", 3);
    EXPECT_EQ(toneThenAm.bytes, 3);
    EXPECT_EQ(toneThenAm.glyphs[1].level, 1) << "211 after the tone keeps it at level 1";
    EXPECT_EQ(cGZDBFontThai::Compose("\xA1\xE8", 2).glyphs[1].level, 4);
    EXPECT_EQ(cGZDBFontThai::Compose("\xAD\xD8", 2).glyphs[0].glyph, 159);
    EXPECT_EQ(cGZDBFontThai::Compose("\xBB\xD8", 2).glyphs[1].x, 4 - 2 + 3) << "moved right under a tall consonant";
    EXPECT_EQ(cGZDBFontThai::Compose(" ", 1).advance, 5) << "a space adds no column";
    EXPECT_EQ(cGZDBFontThai::Compose("_", 1).advance, 0) << "a lone '_' is invisible";

    auto font = Thai();
    EXPECT_EQ(font->GetCharLength("\xA1\xD8\xE8"), 3);
    EXPECT_EQ(font->GetTextWidth("\xA1\xD8\xE8_", 4), 9);
    EXPECT_TRUE(font->IsDrawable(32));
    EXPECT_FALSE(font->IsDrawable(31));
    EXPECT_TRUE(font->IsSpace(0xA0));
}

TEST_F(DBFontTest, ThaiBreaksOnlyAfterBreakCharacters) {
    auto font = Thai();
    // Cells of 9 pixels; a space of 5.
    const std::string text = "\xA1\xA1\xA1 \xA1\xA1";
    const auto length = static_cast<int32_t>(text.size());
    EXPECT_EQ(font->FitLine(text.c_str(), length, 32), 4);
    EXPECT_EQ(font->FitLine(text.c_str(), length, 20), 4) << "no break inside the word";
    EXPECT_EQ(font->FitLine("\xA1_\xA1", 3, 9), 2);
    EXPECT_EQ(font->FitLine("\xA1\n\xA1", 3, 100), 2);
}

TEST_F(DBFontTest, ServiceMakesDoubleByteAndThaiFonts) {
    uint32_t language = 15;
    cGZFontSys fonts([&language] { return language; });
    fonts.Init();
    fonts.SetFontFolder((folder.path() + "/").c_str());
    EXPECT_EQ(fonts.GetFont({5, 12, 0, 0}), nullptr) << "no glyph sets yet";
    Set(0);
    Set(1);
    Set(DBGlyphSet::kThaiSet);
    cGZFontSys fresh([&language] { return language; });
    fresh.Init();
    fresh.SetFontFolder((folder.path() + "/").c_str());
    cIGZFont* japanese = fresh.GetFont({5, 16, 0, 0});
    ASSERT_NE(japanese, nullptr);
    EXPECT_NE(dynamic_cast<cGZDBFontKorean*>(japanese), nullptr);
    cRZString path;
    japanese->GetPath(path);
    EXPECT_EQ(std::string(path.c_str()), folder.path() + "/FONT16J.FON");
    EXPECT_EQ(japanese->GetSize(), 14) << "drawn from the 12-pixel set whatever was asked";
    EXPECT_EQ(japanese->GetColor(), 0xFFFFu);
    cIGZFont* thai = fresh.GetFont({5, 12, cGZFontSys::kFlagShadow, 19});
    ASSERT_NE(thai, nullptr);
    EXPECT_NE(dynamic_cast<cGZDBFontThai*>(thai), nullptr);
    EXPECT_TRUE(thai->HasFlag(cIGZFont::kFlagShadow));
    language = 20;
    EXPECT_EQ(fresh.GetFont({5, 12, 0, 0}), nullptr) << "the Korean sets are missing";
    fresh.ReleaseFont(japanese);
    fresh.Shutdown();
    // A font outlives the service's glyph sets.
    auto buffer = Buffer(20, 24);
    EXPECT_GT(thai->DrawText(*buffer, 0, 0, "\xA1", 1, nullptr, -1, -1), 0);
    EXPECT_EQ(thai->Release(), 0u);
}

TEST_F(DBFontTest, GoldenJapaneseAndThaiLines) {
    auto japanese = Korean(15, 0);
    auto thai = Thai();
    auto buffer = Buffer(120, 64);
    buffer->Clear(cGZBuffer::MakeColorFor(7, 40, 60, 90));
    const uint32_t ink = cGZBuffer::MakeColorFor(7, 250, 230, 120);
    japanese->SetColor(ink);
    const std::string line = Bytes(932, "Ab日本語、テ");
    japanese->DrawText(*buffer, 2, 2, line.c_str(), static_cast<int32_t>(line.size()), nullptr, 4, 6);
    japanese->SetFlag(cIGZFont::kFlagUnderline, true);
    japanese->DrawText(*buffer, 2, 18, line.c_str(), static_cast<int32_t>(line.size()), nullptr, -1, -1);
    thai->SetColor(ink);
    thai->SetFlag(cIGZFont::kFlagShadow, true);
    const std::string thaiLine = "\xA1\xD8\xE8\xBB\xD4 \xA1\xE8\xD3";
    thai->DrawText(*buffer, 2, 36, thaiLine.c_str(), static_cast<int32_t>(thaiLine.size()), nullptr, -1, -1);
    EXPECT_TRUE(tova_test::MatchesGolden(Picture(*buffer), "ui/golden/font_doublebyte_thai.png"));
}

}  // namespace
