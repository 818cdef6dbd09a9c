#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using platform::CodePage;

namespace {

struct LeadCase {
    int page;
    unsigned char byte;
    bool lead;
};

TEST(CodePage, LeadBytesFollowEachPage) {
    const std::vector<LeadCase> cases = {
        {932, 0x40, false}, {932, 0x80, false}, {932, 0x81, true},  {932, 0x9F, true},  {932, 0xA0, false},
        {932, 0xA1, false}, {932, 0xDF, false}, {932, 0xE0, true},  {932, 0xFC, true},  {932, 0xFD, false},
        {936, 0x80, false}, {936, 0x81, true},  {936, 0xA1, true},  {936, 0xFE, true},  {936, 0xFF, false},
        {949, 0x80, false}, {949, 0x81, true},  {949, 0xB0, true},  {949, 0xFE, true},  {949, 0xFF, false},
        {950, 0x80, false}, {950, 0x81, true},  {950, 0xA4, true},  {950, 0xFE, true},  {950, 0xFF, false},
        {1252, 0x81, false}, {1250, 0xE0, false}, {1251, 0xE0, false}, {1255, 0xE0, false}, {874, 0xA1, false},
    };
    for (const LeadCase& c : cases)
        EXPECT_EQ(CodePage::Get(c.page).IsLeadByte(c.byte), c.lead) << c.page << " byte " << int(c.byte);

    // The whole ranges, not only their ends.
    const std::vector<std::pair<int, int>> counts = {{932, 60}, {936, 126}, {949, 126}, {950, 126}, {1252, 0}};
    for (auto [page, expected] : counts) {
        int n = 0;
        for (int b = 0; b < 256; ++b) n += CodePage::Get(page).IsLeadByte(static_cast<unsigned char>(b));
        EXPECT_EQ(n, expected) << page;
        EXPECT_EQ(CodePage::Get(page).IsDoubleByte(), expected != 0) << page;
    }
}

TEST(CodePage, UnknownNumbersAreNotPages) {
    EXPECT_EQ(CodePage::Find(437), nullptr);
    EXPECT_EQ(CodePage::Get(437).Number(), 1252);
    for (int n : {1252, 1250, 1251, 1255, 874, 932, 936, 949, 950}) {
        ASSERT_NE(CodePage::Find(n), nullptr) << n;
        EXPECT_EQ(CodePage::Find(n)->Number(), n);
    }
}

TEST(CodePage, SteppingKeepsDoubleByteCharactersWhole) {
    const CodePage& sjis = CodePage::Get(932);
    const char text[] = "\x82\xA0%d";  // a double-byte character, then '%'
    const char* p = sjis.Next(text);
    EXPECT_EQ(p, text + 2);
    EXPECT_EQ(*p, '%');
    EXPECT_EQ(sjis.Next(p), text + 3);

    // The same bytes are three characters on a single-byte page.
    EXPECT_EQ(CodePage::Get(1252).Next(text), text + 1);

    // A lead byte just before the end never swallows the terminator.
    const char cut[] = "a\x82";
    EXPECT_EQ(sjis.Next(cut + 1), cut + 2);
    EXPECT_EQ(sjis.Next(cut + 2), cut + 2);
    EXPECT_EQ(sjis.CharLength(cut + 1, cut + 2), 1u);
    EXPECT_EQ(sjis.CharLength(text, text + 3), 2u);
    EXPECT_EQ(sjis.CharLength(text, text + 1), 1u);
}

TEST(CodePage, DigitTestSkipsLeadBytes) {
    const CodePage& big5 = CodePage::Get(950);
    EXPECT_TRUE(big5.IsDigitAt("7"));
    EXPECT_FALSE(big5.IsDigitAt("\xA4\x40"));
    EXPECT_FALSE(big5.IsDigitAt("x"));
    // Only ASCII digits: superscript two is not one.
    EXPECT_FALSE(CodePage::Get(1252).IsDigit(0xB2));
}

struct CaseCase {
    int page;
    unsigned char upper;
    unsigned char lower;
};

TEST(CodePage, FoldsAccentedLettersOfSingleBytePages) {
    const std::vector<CaseCase> cases = {
        {1252, 'A', 'a'},   {1252, 0xC0, 0xE0}, {1252, 0xC9, 0xE9}, {1252, 0xDE, 0xFE}, {1252, 0x8A, 0x9A},
        {1252, 0x8C, 0x9C}, {1252, 0x8E, 0x9E}, {1252, 0x9F, 0xFF},
        {1250, 0xA3, 0xB3}, {1250, 0x8C, 0x9C}, {1250, 0x8F, 0x9F}, {1250, 0xA5, 0xB9}, {1250, 0xD8, 0xF8},
        {1250, 0xC8, 0xE8},
        {1251, 0xC0, 0xE0}, {1251, 0xDF, 0xFF}, {1251, 0xA8, 0xB8}, {1251, 0x80, 0x90}, {1251, 0xA5, 0xB4},
        {1251, 0xA1, 0xA2}, {1251, 0xAF, 0xBF}, {1251, 0x8A, 0x9A},
    };
    for (const CaseCase& c : cases) {
        const CodePage& page = CodePage::Get(c.page);
        EXPECT_EQ(page.ToLower(c.upper), c.lower) << c.page << " " << int(c.upper);
        EXPECT_EQ(page.ToUpper(c.lower), c.upper) << c.page << " " << int(c.lower);
        EXPECT_TRUE(page.IsUpper(c.upper) && page.IsAlpha(c.upper)) << c.page << " " << int(c.upper);
        EXPECT_TRUE(page.IsLower(c.lower) && page.IsAlpha(c.lower)) << c.page << " " << int(c.lower);
    }
    // Letters without another case, and signs, stay as they are.
    const CodePage& western = CodePage::Get(1252);
    for (int c : {0xDF, 0xD7, 0xF7, 0xAA, 0x80, 0x81, int('5'), int('!')}) {
        EXPECT_EQ(western.ToUpper(static_cast<unsigned char>(c)), c) << c;
        EXPECT_EQ(western.ToLower(static_cast<unsigned char>(c)), c) << c;
    }
}

TEST(CodePage, ClassifiesSingleBytes) {
    struct Class {
        int page;
        unsigned char c;
        bool alpha, digit, space, punct, print;
    };
    const std::vector<Class> cases = {
        {1252, 'a', true, false, false, false, true},   {1252, '5', false, true, false, false, true},
        {1252, ' ', false, false, true, false, true},   {1252, '\t', false, false, true, false, false},
        {1252, '!', false, false, false, true, true},   {1252, 0xDF, true, false, false, false, true},
        {1252, 0xA0, false, false, true, false, true},  {1252, 0x80, false, false, false, true, true},
        {1252, 0x81, false, false, false, false, false}, {1255, 0xE0, true, false, false, false, true},
        {874, 0xA1, true, false, false, false, true},   {932, 0xB1, true, false, false, false, true},
        {932, 0x82, false, false, false, false, false}, {949, 0xB0, false, false, false, false, false},
    };
    for (const Class& c : cases) {
        const CodePage& page = CodePage::Get(c.page);
        SCOPED_TRACE(std::to_string(c.page) + " byte " + std::to_string(c.c));
        EXPECT_EQ(page.IsAlpha(c.c), c.alpha);
        EXPECT_EQ(page.IsDigit(c.c), c.digit);
        EXPECT_EQ(page.IsAlnum(c.c), c.alpha || c.digit);
        EXPECT_EQ(page.IsSpace(c.c), c.space);
        EXPECT_EQ(page.IsPunct(c.c), c.punct);
        EXPECT_EQ(page.IsPrint(c.c), c.print);
    }
    // Hebrew letters have no case.
    EXPECT_FALSE(CodePage::Get(1255).IsUpper(0xE0));
    EXPECT_FALSE(CodePage::Get(1255).IsLower(0xE0));
}

TEST(CodePage, WholeTextFoldingLeavesDoubleByteCharactersAlone) {
    struct Fold {
        int page;
        std::string text, lower, upper;
    };
    // Each double-byte character here has 'A' (0x41) as its second byte.
    const std::vector<Fold> cases = {
        {932, "A\x83\x41z", "a\x83\x41z", "A\x83\x41Z"},
        {936, "A\x81\x41z", "a\x81\x41z", "A\x81\x41Z"},
        {949, "A\x81\x41z", "a\x81\x41z", "A\x81\x41Z"},
        {950, "A\xA4\x41z", "a\xA4\x41z", "A\xA4\x41Z"},
        {1252, "\xC9t\xC9 \x81", "\xE9t\xE9 \x81", "\xC9T\xC9 \x81"},
        {932, "Q\x83", "q\x83", "Q\x83"},  // a lead byte cut off at the end
    };
    for (const Fold& c : cases) {
        const CodePage& page = CodePage::Get(c.page);
        std::string lower = c.text, upper = c.text;
        page.MakeLower(lower);
        page.MakeUpper(upper);
        EXPECT_EQ(lower, c.lower) << c.page;
        EXPECT_EQ(upper, c.upper) << c.page;
    }
}

TEST(CodePage, RoundTripsThroughUtf8) {
    struct Trip {
        int page;
        std::string utf8, bytes;
    };
    const std::vector<Trip> cases = {
        {1252, "Fran\xC3\xA7" "ais \xE2\x82\xAC", "Fran\xE7" "ais \x80"},
        {1250, "\xC5\x81\xC3\xB3" "d\xC5\xBA", "\xA3\xF3" "d\x9F"},
        {1251, "\xD0\x81\xD1\x91", "\xA8\xB8"},
        {1255, "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", "\xF9\xEC\xE5\xED"},
        {874, "\xE0\xB8\x81", "\xA1"},
        {932, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "\x93\xFA\x96\x7B\x8C\xEA"},
        {936, "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
        {949, "\xED\x95\x9C\xEA\xB5\xAD", "\xC7\xD1\xB1\xB9"},
        {950, "\xE4\xB8\xAD\xE6\x96\x87", "\xA4\xA4\xA4\xE5"},
    };
    for (const Trip& c : cases) {
        const CodePage& page = CodePage::Get(c.page);
        bool exact = false;
        EXPECT_EQ(page.FromUtf8(c.utf8, &exact), c.bytes) << c.page;
        EXPECT_TRUE(exact) << c.page;
        exact = false;
        EXPECT_EQ(page.ToUtf8(c.bytes, &exact), c.utf8) << c.page;
        EXPECT_TRUE(exact) << c.page;
    }
}

TEST(CodePage, InvalidSequencesAreReplacedNotFatal) {
    struct Bad {
        int page;
        bool toUtf8;
        std::string in, out;
    };
    const std::string fffd = "\xEF\xBF\xBD";
    const std::vector<Bad> cases = {
        {932, true, "a\x82", "a" + fffd},           // lead byte without its trail
        {1252, true, "x\x81y", "x" + fffd + "y"},   // a byte the page leaves undefined
        {932, true, "\x82\x20!", fffd + " !"},      // a trail byte that cannot be one
        {1252, false, "\xC3(", "?("},              // broken UTF-8
        {1252, false, "a\xE6\x97", "a?"},           // UTF-8 cut short
        {1252, false, "\xE6\x97\xA5!", "?!"},       // not on the page
        {932, false, "\xFF\xFE" "ok", "??ok"},
    };
    for (const Bad& c : cases) {
        const CodePage& page = CodePage::Get(c.page);
        bool exact = true;
        std::string out = c.toUtf8 ? page.ToUtf8(c.in, &exact) : page.FromUtf8(c.in, &exact);
        EXPECT_EQ(out, c.out) << c.page << " " << c.in;
        EXPECT_FALSE(exact) << c.page << " " << c.in;
    }
    // The Korean converter reports its last error with all the input taken.
    const std::string korean("XX\xE6\0XX,!\xFF(\xFF\xFF\xE6X\xA2\xA2\xA2\xE8", 18);
    bool exact = true;
    const std::string utf8 = CodePage::Get(949).ToUtf8(korean, &exact);
    EXPECT_FALSE(exact);
    EXPECT_EQ(utf8.substr(0, 2), "XX");
    EXPECT_EQ(utf8.substr(utf8.size() - 3), fffd);
    EXPECT_EQ(CodePage::Get(950).ToUtf8(""), "");
    EXPECT_EQ(CodePage::Get(950).FromUtf8(""), "");
}

// Converters are kept between calls: each call starts afresh, and threads
// converting at once get the same answers.
TEST(CodePage, EachConversionStartsAfreshOnEveryThread) {
    const CodePage& japanese = CodePage::Get(932);
    EXPECT_EQ(japanese.ToUtf8("a\x82"), "a\xEF\xBF\xBD");
    EXPECT_EQ(japanese.ToUtf8("\x93\xFA"), "\xE6\x97\xA5") << "the hanging lead byte is not carried over";
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                wrong += japanese.ToUtf8("\x93\xFA\x96\x7B") != "\xE6\x97\xA5\xE6\x9C\xAC";
                wrong += CodePage::Get(1252).FromUtf8("\xE2\x82\xAC") != "\x80";
            }
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong, 0);
}

TEST(CodePage, CurrentPageIsProcessWide) {
    EXPECT_EQ(platform::CurrentCodePage().Number(), 1252);
    EXPECT_TRUE(platform::SetCurrentCodePage(949));
    EXPECT_EQ(platform::CurrentCodePage().Number(), 949);
    EXPECT_FALSE(platform::SetCurrentCodePage(437));
    EXPECT_EQ(platform::CurrentCodePage().Number(), 949);
    EXPECT_TRUE(platform::SetCurrentCodePage(1252));
}

} // namespace

namespace {

TEST(CodePage, LocaleNamesGiveWindowsLocaleIds) {
    const std::vector<std::pair<const char*, int>> cases = {
        {"en_GB.UTF-8", 2057}, {"de", 1031},      {"ko_KR.EUC-KR", 1042}, {"C", 1033},   {"POSIX", 1033},
        {"pt_BR", 1046},       {"pt_PT", 2070},   {"fr_LU.UTF-8", 1036},  {"xx_YY", 1033}, {"", 1033},
        {"nl_BE@euro", 2067},  {"zh_TW.Big5", 1028},
    };
    for (auto [name, lcid] : cases) EXPECT_EQ(platform::LcidFromLocaleName(name), lcid) << name;
}

} // namespace
