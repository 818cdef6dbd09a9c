#include "framework/cRZLanguageUtility.h"

#include "framework/LanguageTables.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

TEST(cRZLanguageUtility, EveryTableTextHasItsCodePageForm) { EXPECT_TRUE(LanguageTables::ConvertedExactly()); }

TEST(cRZLanguageUtility, FormatsNumbersWithTheLanguagesGrouping) {
    struct Case {
        std::uint32_t language;
        std::int64_t value;
        const char* text;
    };
    const std::vector<Case> cases = {
        {1, -1234, "-1,234"},
        {11, -1234, "1 234-"},
        {14, -1234, "-1.234"},
        {1, 999, "999"},
        {1, 0, "0"},
        {1, 1234567, "1,234,567"},
        {3, 1234567, "1.234.567"},
        {10, 1234567, "1 234 567"},
        {16, 1234567, "1234567"},
        {15, 123456, "123,456"},
        {20, -5, "-5"},
        {1, std::numeric_limits<std::int64_t>::min(), "-9,223,372,036,854,775,808"},
        {1, std::numeric_limits<std::int64_t>::max(), "9,223,372,036,854,775,807"},
    };
    for (const Case& c : cases) {
        cRZLanguageUtility utility(c.language);
        cRZString out;
        EXPECT_TRUE(utility.FormatNumber(c.value, out));
        EXPECT_EQ(out, c.text) << c.language << " " << c.value;
    }
    cRZLanguageUtility english(1);
    cRZString out;
    english.FormatNumber(std::numeric_limits<std::int32_t>::min(), out);
    EXPECT_EQ(out, "-2,147,483,648");
}

TEST(cRZLanguageUtility, FormatsMoney) {
    struct Case {
        std::uint32_t language;
        bool localCurrency;
        std::int64_t amount;
        const char* text;
    };
    const std::vector<Case> cases = {
        {1, false, 1234, "$1,234"},
        {8, false, 1234, "$1.234"},
        {16, false, 1234, "$1234"},
        {3, false, -1234, "-$1.234"},
        {8, false, -1234, "$ -1.234"},
        {12, false, -7, "$ -7"},
        {10, false, -1234, "$-1 234"},
        {8, true, -5, "kr -5"},
        {2, true, 1234, "\xA3" "1,234"},
        {13, true, 1, "py\xE1" "1"},
        {16, true, -2, "-Z\xB3" "2"},
        {19, true, 5, "\xDF" "5"},
        {1, false, std::numeric_limits<std::int64_t>::min(), "-$9,223,372,036,854,775,808"},
    };
    for (const Case& c : cases) {
        cRZLanguageUtility utility(c.language);
        utility.SetLocalCurrency(c.localCurrency);
        cRZString out;
        EXPECT_TRUE(utility.FormatMoney(c.amount, out));
        EXPECT_EQ(out, c.text) << c.language << " " << c.amount;
    }
    cRZLanguageUtility english(1);
    cRZString out;
    english.FormatMoney(std::int32_t{-2147483647 - 1}, out);
    EXPECT_EQ(out, "-$2,147,483,648");
}

TEST(cRZLanguageUtility, FormatsDatesInSixStyles) {
    struct Case {
        std::uint32_t language;
        std::uint32_t style;
        const char* text;
    };
    const std::vector<Case> cases = {
        {1, 0, "11/22/1999"}, {1, 1, "11/1999"}, {1, 2, "November 22, 1999"}, {1, 3, "November 1999"},
        {1, 4, "Nov. 22, 1999"}, {1, 5, "Nov. 1999"},
        {2, 0, "22/11/1999"}, {2, 1, "11/1999"}, {2, 2, "22 November, 1999"}, {2, 3, "November 1999"},
        {2, 4, "22 Nov., 1999"}, {2, 5, "Nov. 1999"},
        {4, 0, "22.11.1999"}, {4, 1, "11.1999"}, {4, 2, "22 November, 1999"}, {4, 3, "November 1999"},
        {4, 4, "22 Nov., 1999"}, {4, 5, "Nov. 1999"}, {3, 2, "22 novembre, 1999"}, {3, 5, "nov. 1999"},
        {7, 0, "22-11-1999"}, {7, 1, "11-1999"}, {7, 2, "22 November, 1999"}, {7, 3, "November 1999"},
        {7, 4, "22 Nov., 1999"}, {7, 5, "Nov. 1999"},
        {11, 4, "22 untranslated., 1999"},  // Finnish has no short month names
        {15, 0, "1999/11/22"}, {15, 1, "1999/11"}, {15, 2, "1999.11\x8C\x8E.22"}, {15, 3, "1999.11\x8C\x8E"},
        {15, 4, "1999.11\x8C\x8E.22"}, {15, 5, "1999.11\x8C\x8E"},
        {17, 0, "1999-11-22"}, {17, 1, "1999-11"}, {17, 2, "1999 11\xD4\xC2 22"}, {17, 3, "1999 11\xD4\xC2"},
        {17, 4, "1999 11\xD4\xC2 22"}, {17, 5, "1999 11\xD4\xC2"},
        {18, 4, "1999 Nov 22"}, {18, 5, "1999 Nov"},
        {20, 0, "11/22/1999"}, {20, 2, "untranslated 22, 1999"},
    };
    for (const Case& c : cases) {
        cRZLanguageUtility utility(c.language);
        cRZString out;
        EXPECT_TRUE(utility.FormatDate(11, 22, 1999, out, c.style));
        EXPECT_EQ(out, c.text) << c.language << " style " << c.style;
    }
    cRZLanguageUtility english(1);
    cRZString out("kept");
    EXPECT_FALSE(english.FormatDate(11, 22, 1999, out, 6));
    EXPECT_EQ(out, "kept");
    english.FormatDate(1, 2, 5, out, 0);
    EXPECT_EQ(out, "1/2/   5");
}

TEST(cRZLanguageUtility, NamesAreCodePageBytes) {
    enum Kind { Day, ShortDay, Month, ShortMonth };
    struct Case {
        std::uint32_t language;
        Kind kind;
        std::uint32_t index;
        bool answer;
        const char* text;
    };
    const std::vector<Case> cases = {
        {1, ShortDay, 4, true, "Thur"},
        {18, ShortDay, 4, true, "Thu"},
        {18, Day, 1, true, "Monday"},
        {3, Month, 2, true, "f\xE9vrier"},
        {4, ShortMonth, 3, true, "M\xE4r"},
        {8, Day, 6, true, "l\xF8rdag"},
        {16, Month, 10, true, "Pa\x9F" "dziernik"},
        {13, Month, 1, true, "\xFF\xED\xE2\xE0\xF0\xFC"},
        {12, Day, 6, true, "\xFA\xE1\xF9"},
        {12, Day, 1, true, "\xB4\xE1\xED\xE5\xE9"},
        {12, Month, 2, true, "untranslated"},
        {19, Day, 1, true, "\xA8"},
        {19, ShortDay, 1, true, "\xA8"},
        {15, Day, 1, true, "\x8C\x8E\x97\x6A"},
        {15, ShortMonth, 11, true, "11\x8C\x8E"},
        {17, Day, 1, true, "\xD0\xC7\xC6\xDA\xD2\xBB"},
        {20, Month, 1, false, "untranslated"},
        {8, ShortDay, 1, false, "untranslated"},
        {10, Month, 1, false, "untranslated"},
        {21, Day, 1, false, "untranslated"},
        {1, Day, 0, true, "unchanged"},
        {1, Month, 13, true, "unchanged"},
        {20, Day, 8, true, "unchanged"},
    };
    for (const Case& c : cases) {
        cRZLanguageUtility utility(c.language);
        cRZString out("unchanged");
        bool answer = false;
        switch (c.kind) {
        case Day: answer = utility.GetDayName(c.index, out); break;
        case ShortDay: answer = utility.GetShortDayName(c.index, out); break;
        case Month: answer = utility.GetMonthName(c.index, out); break;
        case ShortMonth: answer = utility.GetShortMonthName(c.index, out); break;
        }
        EXPECT_EQ(answer, c.answer) << c.language << " kind " << c.kind << " #" << c.index;
        EXPECT_EQ(out, c.text) << c.language << " kind " << c.kind << " #" << c.index;
    }
}

TEST(cRZLanguageUtility, LanguageFacts) {
    cRZLanguageUtility utility(1);
    const std::vector<std::pair<std::uint32_t, int>> pages = {
        {1, 1252}, {11, 1252}, {14, 1252}, {16, 1250}, {13, 1251}, {12, 1255}, {15, 932},
        {17, 936}, {18, 950}, {19, 874}, {20, 949}, {0, 1252}, {21, 1252},
    };
    for (auto [language, page] : pages) EXPECT_EQ(utility.GetCodePage(language), page) << language;

    EXPECT_TRUE(utility.IsWesternLanguage(11));
    EXPECT_TRUE(utility.IsWesternLanguage(14));
    EXPECT_FALSE(utility.IsWesternLanguage(12));
    EXPECT_TRUE(utility.IsCentralEuropeanLanguage(13));
    EXPECT_TRUE(utility.IsCentralEuropeanLanguage(16));
    EXPECT_FALSE(utility.IsCentralEuropeanLanguage(1));
    EXPECT_FALSE(utility.IsNotUKOrJapanese(2));
    EXPECT_FALSE(utility.IsNotUKOrJapanese(15));
    EXPECT_TRUE(utility.IsNotUKOrJapanese(1));
    EXPECT_FALSE(utility.IsNotUSEnglish(1));
    EXPECT_TRUE(utility.IsNotUSEnglish(2));
    EXPECT_TRUE(utility.IsCurrencyBeforeAmount());
    EXPECT_FALSE(utility.IsSpaceAfterCurrency());

    struct Separator {
        std::uint32_t language;
        bool answer;
        const char* text;
    };
    for (const Separator& s : std::vector<Separator>{
             {1, true, ","}, {20, true, ","}, {3, true, "."}, {11, true, " "}, {16, true, ""}, {21, false, "kept"}}) {
        cRZLanguageUtility other(s.language);
        cRZString out("kept");
        EXPECT_EQ(other.GetThousandsSeparator(out), s.answer) << s.language;
        EXPECT_EQ(out, s.text) << s.language;
    }
    cRZString symbol;
    cRZLanguageUtility(4).GetCurrencySymbol(symbol);
    EXPECT_EQ(symbol, "$");
}

TEST(cRZLanguageUtility, CaseAndClassesFollowTheCurrentCodePage) {
    cRZLanguageUtility utility(1);
    char c = '\xC9';
    utility.ToLower(c);
    EXPECT_EQ(c, '\xE9');
    utility.ToUpper(c);
    EXPECT_EQ(c, '\xC9');
    EXPECT_TRUE(utility.IsAlpha('\xE9'));
    EXPECT_TRUE(utility.IsLower('\xE9'));
    EXPECT_TRUE(utility.IsUpper('Q'));
    EXPECT_TRUE(utility.IsDigit('3'));
    EXPECT_TRUE(utility.IsAlnum('3'));
    EXPECT_TRUE(utility.IsPunct(','));
    EXPECT_TRUE(utility.IsPrint(' '));
    EXPECT_FALSE(utility.IsPrint('\n'));

    platform::SetCurrentCodePage(1251);
    c = '\xC0';
    utility.ToLower(c);
    EXPECT_EQ(c, '\xE0');
    platform::SetCurrentCodePage(932);
    cRZString text("AB\x83\x41");
    utility.ToLower(text);
    EXPECT_EQ(text, "ab\x83\x41");  // the second byte of a double-byte character stays
    platform::SetCurrentCodePage(1252);
}

TEST(cRZLanguageUtility, LastReleaseDeletesACreatedUtility) {
    auto* utility = new cRZLanguageUtility(3);
    EXPECT_EQ(utility->AddRef(), 1u);
    EXPECT_EQ(utility->AddRef(), 2u);
    EXPECT_EQ(utility->Release(), 1u);
    EXPECT_EQ(utility->Release(), 0u);  // freed here (the sanitizer build checks)

    cRZLanguageUtility embedded(1);
    embedded.SetEmbedded();
    embedded.AddRef();
    EXPECT_EQ(embedded.Release(), 0u);
    EXPECT_EQ(embedded.Release(), 0u);  // never frees an object it does not own
}

} // namespace
