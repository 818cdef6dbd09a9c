#include "launcher/LauncherApp.h"

#include "launcher/LauncherFixture.h"

using launcher_test::LauncherTest;

TEST_F(LauncherTest, EditionComesFromTheDiscIni) {
    struct Case {
        const char* ini;
        bool ok;
        int32_t edition;
        const char* text;
    };
    for (const Case& c : {Case{"[SKU]\nSKU=2\n", true, 2, "2"}, Case{"[sku]\nsku=*\n", true, 0, "*"},
                          Case{"[SKU]\nSKU=missing\n", false, 0, ""}, Case{"[Other]\nSKU=3\n", false, 0, ""},
                          Case{"[SKU]\nSKU=7abc\n", true, 7, "7abc"}}) {
        WriteIni(c.ini);
        auto app = MakeApp();
        EXPECT_EQ(app->ReadEdition(), c.ok) << c.ini;
        EXPECT_EQ(app->edition, c.edition) << c.ini;
        EXPECT_EQ(app->editionText, c.text) << c.ini;
    }
    std::filesystem::remove(dir / "Disc" / "ORVEL.INI");
    EXPECT_FALSE(MakeApp()->ReadEdition());
}

TEST_F(LauncherTest, IniIsFoundWhateverItsLetterCase) {
    std::ofstream(dir / "Disc" / "orvel.ini") << "[SKU]\nSKU=3\n";
    auto app = MakeApp();
    EXPECT_TRUE(app->ReadEdition());
    EXPECT_EQ(app->edition, 3);
}

TEST(LauncherLanguages, TableInAnyLetterCase) {
    struct Case {
        const char* name;
        int32_t base;
    };
    for (const Case& c : {Case{"USEnglish", 1000}, Case{"ukenglish", 1000}, Case{"FRENCH", 2000}, Case{"German", 3000},
                          Case{"Swedish", 4000}, Case{"Dutch", 5000}, Case{"Portuguese", 6000}, Case{"Spanish", 7000},
                          Case{"Italian", 8000}, Case{"Polish", 10000}, Case{"Japanese", 11000},
                          Case{"TraditionalChinese", 12000}, Case{"SimplifiedChinese", 13000}, Case{"Thai", 14000},
                          Case{"Korean", 15000}, Case{"Klingon", 0}, Case{"", 0}})
        EXPECT_EQ(LanguageBaseOfName(c.name), c.base) << c.name;
}

TEST_F(LauncherTest, RegistryLanguageAndEditionForms) {
    SetRegistry("german", false);
    platform::RegKey key;
    ASSERT_EQ(registry.CreateKey(platform::RegRoot::kLocalMachine, LauncherApp::kRegistryKey, key), 0);
    struct Case {
        platform::RegValue sku;
        int32_t edition;
    };
    const Case cases[] = {{{platform::RegType::kDword, "", 5}, 5},
                          {{platform::RegType::kDword, "", 10}, 2},
                          {{platform::RegType::kString, "7", 0}, 7},
                          {{platform::RegType::kString, "77", 0}, 2},
                          {{platform::RegType::kString, "x", 0}, 2}};
    for (const Case& c : cases) {
        if (c.sku.type == platform::RegType::kDword)
            key.SetDword("TOVA_SKU", c.sku.number);
        else
            key.SetString("TOVA_SKU", c.sku.text);
        auto app = MakeApp();
        app->edition = 2;
        app->ReadLanguageAndSku();
        EXPECT_TRUE(app->languageKnown);
        EXPECT_EQ(app->languageBase, 3000);
        EXPECT_EQ(app->edition, c.edition) << c.sku.text << c.sku.number;
    }
}

TEST_F(LauncherTest, NonStringLanguageIgnoresTheRegistryEditionToo) {
    platform::RegKey key;
    ASSERT_EQ(registry.CreateKey(platform::RegRoot::kLocalMachine, LauncherApp::kRegistryKey, key), 0);
    key.SetDword("TOVA_LANGUAGE", 1000);
    key.SetDword("TOVA_SKU", 5);
    auto app = MakeApp();
    app->edition = 2;
    app->ReadLanguageAndSku();
    EXPECT_FALSE(app->languageKnown);
    EXPECT_EQ(app->languageBase, 0);
    EXPECT_EQ(app->edition, 2);
}

TEST_F(LauncherTest, InstalledOnlyWithTheGameProgramPresent) {
    auto app = MakeApp();
    EXPECT_FALSE(app->FindInstalledGame());  // no key at all
    SetRegistry("USEnglish", true);
    EXPECT_TRUE(app->FindInstalledGame());
    EXPECT_EQ(app->installedFolder, (dir / "Game").string());
    std::filesystem::remove(dir / "Game" / "tova");
    EXPECT_FALSE(app->FindInstalledGame());

    // An over-long folder counts as not installed.
    platform::RegKey key;
    registry.CreateKey(platform::RegRoot::kLocalMachine, LauncherApp::kRegistryKey, key);
    key.SetString("TOVA_DATA", std::string(300, 'a'));
    EXPECT_FALSE(app->FindInstalledGame());
}

TEST(LauncherStrings, ParsesIdsAndTextsAndRefusesBadLines) {
    LauncherStrings strings;
    std::string error;
    ASSERT_TRUE(strings.Parse("# comment\n1001\tInstall\r\n1024\tTwo\\nlines\n", error)) << error;
    EXPECT_EQ(strings.Get(1001), "Install");
    EXPECT_EQ(strings.Get(1024), "Two\nlines");
    EXPECT_EQ(strings.Get(5), "");
    EXPECT_FALSE(strings.Parse("12x\tbad\n", error));
    EXPECT_EQ(error, "line 1: expected a number, a tab and a text");
    EXPECT_FALSE(strings.Parse("1234567\ttoo long an id\n", error));
}
