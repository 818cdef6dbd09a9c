#include "framework/cRZLanguageManager.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class LanguageManager : public ::testing::Test {
protected:
    ~LanguageManager() override { platform::SetCurrentCodePage(1252); }
    cRZLanguageManager manager;
};

TEST_F(LanguageManager, IsTheFrameworksLanguageService) {
    EXPECT_EQ(manager.GetServiceID(), kGZLanguageManagerServiceID);
    EXPECT_TRUE(manager.Init());
    EXPECT_TRUE(manager.OnTick(0));
    EXPECT_TRUE(manager.Shutdown());
    // The framework keeps it as a service; callers reach the manager from there.
    cIGZSystemService* service = &manager;
    EXPECT_EQ(dynamic_cast<cIGZLanguageManager*>(service), &manager);
}

TEST_F(LanguageManager, CurrentLanguageMustBeAvailable) {
    EXPECT_EQ(manager.GetCurrentLanguage(), 1u);
    EXPECT_TRUE(manager.SetCurrentLanguage(0));  // 0 means 1, already current
    EXPECT_FALSE(manager.SetCurrentLanguage(3));
    EXPECT_EQ(manager.GetCurrentLanguage(), 1u);

    EXPECT_EQ(manager.AddLanguage(3), 1u);
    EXPECT_EQ(manager.AddLanguage(21), 1u);  // ignored
    EXPECT_FALSE(manager.IsLanguageAvailable(21));
    EXPECT_TRUE(manager.SetCurrentLanguage(3));
    EXPECT_EQ(manager.GetCurrentLanguage(), 3u);
    EXPECT_EQ(platform::CurrentCodePage().Number(), 1252);
    EXPECT_FALSE(manager.SetCurrentLanguage(0));  // 1 was never added
    EXPECT_EQ(manager.GetCurrentLanguage(), 3u);

    EXPECT_EQ(manager.RemoveLanguage(3), 1u);
    EXPECT_EQ(manager.RemoveLanguage(3), 0u);
}

TEST_F(LanguageManager, CurrentLanguageDrivesTheCodePageAndTheUtility) {
    const std::vector<std::pair<std::uint32_t, int>> pages = {
        {15, 932}, {16, 1250}, {13, 1251}, {12, 1255}, {19, 874}, {17, 936}, {18, 950}, {20, 949}, {2, 1252}};
    for (auto [language, page] : pages) {
        manager.AddLanguage(language);
        ASSERT_TRUE(manager.SetCurrentLanguage(language)) << language;
        EXPECT_EQ(platform::CurrentCodePage().Number(), page) << language;
    }
    manager.SetCurrentLanguage(16);
    cRZString month;
    EXPECT_TRUE(manager.GetLanguageUtility()->GetMonthName(10, month));
    EXPECT_EQ(month, "Pa\x9F" "dziernik");
    EXPECT_TRUE(manager.GetShortMonthName(10, month));
    EXPECT_EQ(month, "Pa\x9F");
    cRZString money;
    manager.FormatMoney(1234567, money);
    EXPECT_EQ(money, "$1234567");

    EXPECT_FALSE(manager.IsDoubleByteLanguage(-1));
    manager.SetCurrentLanguage(20);
    EXPECT_TRUE(manager.IsDoubleByteLanguage(-1));
    EXPECT_TRUE(manager.IsDoubleByteLanguage(15));
    EXPECT_FALSE(manager.IsDoubleByteLanguage(19));
}

TEST_F(LanguageManager, KeysAndNames) {
    enum What { Key, Name, Native };
    struct Case {
        What what;
        std::uint32_t language;
        bool answer;
        const char* text;
    };
    const std::vector<Case> cases = {
        {Name, 20, false, ""},
        {Name, 19, true, "Thai"},
        {Name, 12, true, "Hebrew"},
        {Key, 20, true, "korean"},
        {Key, 12, true, "english"},
        {Key, 21, false, "kept"},
        {Key, 0, true, "english"},  // the current language
        {Native, 2, true, "English"},
        {Native, 16, true, "Untranslated"},
        {Native, 20, false, "Untranslated"},
        {Native, 3, true, "Fran\xE7" "ais"},
        {Native, 6, true, "Espa\xF1ol"},
        {Native, 15, true, "\x93\xFA\x96\x7B\x8C\xEA"},
    };
    for (const Case& c : cases) {
        cRZString out("kept");
        bool answer = c.what == Key    ? manager.GetLanguageKey(out, c.language)
                      : c.what == Name ? manager.GetLanguageName(out, c.language)
                                       : manager.GetNativeLanguageName(out, c.language);
        EXPECT_EQ(answer, c.answer) << c.what << " " << c.language;
        EXPECT_EQ(out, c.text) << c.what << " " << c.language;
    }
}

TEST_F(LanguageManager, LocaleIds) {
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> cases = {
        {1033, 1}, {1042, 1}, {1037, 1}, {2067, 3}, {3084, 3}, {2057, 2}, {1041, 15},
        {2052, 17}, {1028, 18}, {1054, 19}, {2068, 10}, {0x10000 + 1036, 3},  // only the low 16 bits count
    };
    for (auto [lcid, language] : cases) EXPECT_EQ(manager.GetLanguageFromLCID(lcid), language) << lcid;

    const char* saved = std::getenv("LC_ALL");
    std::string keep = saved ? saved : "";
    setenv("LC_ALL", "fr_CA.UTF-8", 1);
    EXPECT_EQ(manager.GetUserDefaultLanguage(), 3u);
    setenv("LC_ALL", "ja_JP.eucJP", 1);
    EXPECT_EQ(manager.GetUserDefaultLanguage(), 15u);
    if (saved)
        setenv("LC_ALL", keep.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

TEST_F(LanguageManager, FindsLanguagesByName) {
    struct Case {
        bool native;
        const char* name;
        bool found;
        std::uint32_t language;
    };
    const std::vector<Case> cases = {
        {false, "FRENCH", true, 3},
        {false, "traditionalchinese", true, 18},
        {false, "Klingon", false, 1},
        {false, "", false, 1},
        {true, "deutsch", true, 4},
        {true, "untranslated", true, 10},
        {true, "FRAN\xC7" "AIS", true, 3},  // accented capitals fold in code page 1252
        {true, "English", true, 1},
    };
    for (const Case& c : cases) {
        std::uint32_t language = 99;
        bool found = c.native ? manager.FindLanguageByNativeName(c.name, language)
                              : manager.FindLanguageByName(c.name, language);
        EXPECT_EQ(found, c.found) << c.name;
        EXPECT_EQ(language, c.language) << c.name;
    }
}

TEST_F(LanguageManager, WalksTheAvailableLanguages) {
    std::uint32_t id = 3;
    manager.AddLanguage(3);
    EXPECT_FALSE(manager.GetNextAvailableLanguage(id));
    EXPECT_EQ(id, 3u);

    manager.AddLanguage(5);
    EXPECT_TRUE(manager.GetNextAvailableLanguage(id));
    EXPECT_EQ(id, 5u);
    EXPECT_TRUE(manager.GetNextAvailableLanguage(id));  // wraps past 20
    EXPECT_EQ(id, 3u);

    id = 21;
    EXPECT_FALSE(manager.GetNextAvailableLanguage(id));
    EXPECT_EQ(id, 21u);

    id = 0;  // the current language (1), which is not available: the walk still ends
    EXPECT_TRUE(manager.GetNextAvailableLanguage(id));
    EXPECT_EQ(id, 3u);

    EXPECT_EQ(manager.GetBaseLanguage(2), 1u);
    EXPECT_EQ(manager.GetBaseLanguage(7), 7u);
    EXPECT_TRUE(manager.IsNonEnglish(0));
    EXPECT_FALSE(manager.IsNonEnglish(2));
    EXPECT_FALSE(manager.IsNonEnglish(-1));
}

TEST_F(LanguageManager, FormatsTimeForTheCurrentLanguage) {
    struct Case {
        std::uint32_t language;
        std::uint32_t hour, minute;
        bool upper, markerFirst;
        const char* text;
    };
    const std::vector<Case> cases = {
        {1, 0, 5, true, false, "12:05 AM"},
        {1, 13, 30, false, false, " 1:30 pm"},
        {1, 12, 0, true, true, "PM 12:00"},
        {19, 11, 59, false, true, "am 11:59"},
        {3, 13, 5, true, false, "13:05"},
        {3, 9, 5, false, true, " 9:05"},
    };
    for (const Case& c : cases) {
        manager.AddLanguage(c.language);
        manager.SetCurrentLanguage(c.language);
        cRZString out;
        EXPECT_TRUE(manager.FormatTime(out, c.hour, c.minute, c.upper, c.markerFirst));
        EXPECT_EQ(out, c.text) << c.language << " " << c.hour << ":" << c.minute;
    }
}

TEST_F(LanguageManager, CreatedUtilitiesBelongToTheCaller) {
    manager.AddLanguage(4);
    manager.SetCurrentLanguage(4);
    cIGZLanguageUtility* utility = manager.CreateLanguageUtility(0);
    cRZString day;
    utility->GetDayName(1, day);
    EXPECT_EQ(day, "Montag");
    EXPECT_EQ(utility->Release(), 0u);
}

} // namespace
