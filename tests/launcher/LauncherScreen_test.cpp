#include "launcher/LauncherScreen.h"

#include "launcher/LauncherFixture.h"

using launcher_test::LauncherTest;

namespace {

std::vector<int32_t> VisibleIds(const LauncherScreen& screen) {
    std::vector<int32_t> ids;
    for (const auto& b : screen.Buttons())
        if (b->visible) ids.push_back(b->Id());
    return ids;
}

}  // namespace

TEST_F(LauncherTest, LanguagePageByEditionText) {
    struct Case {
        const char* text;
        std::vector<int32_t> ids;  // visible, in order; empty: no page
        int32_t language;          // chosen when there is no page
    };
    const Case cases[] = {
        {"1", {500, 506}, 0},
        {"2", {500, 501, 502, 512, 503, 504}, 0},
        {"3", {506, 505, 500}, 0},
        {"4", {}, 10000},
        {"5", {}, 11000},
        {"6", {509, 500}, 0},
        {"7", {511, 500}, 0},
        {"8", {518, 500}, 0},
        {"9", {510, 500}, 0},
        {"*", {500, 501, 502, 512, 504, 503, 506, 505, 508, 509, 510, 511, 517}, 0},
        {"other", {}, 1000},
    };
    for (const Case& c : cases) {
        auto app = MakeApp();
        app->editionText = c.text;
        LauncherScreen screen(*app);
        screen.BuildFirstPage();
        if (c.ids.empty()) {
            EXPECT_TRUE(app->languageKnown) << c.text;
            EXPECT_EQ(app->languageBase, c.language) << c.text;
            EXPECT_NE(screen.Find(110), nullptr) << c.text;  // the main page instead
            continue;
        }
        std::vector<int32_t> ids = VisibleIds(screen);
        std::vector<int32_t> expected = c.ids;
        expected.push_back(1000);  // the page's about button
        EXPECT_EQ(ids, expected) << c.text;
        EXPECT_FALSE(app->languageKnown);
        // The about button is there too (hidden).
        EXPECT_EQ(screen.GroupButtons(LauncherScreen::kLanguageGroup).back()->Kind(), 12);
    }
    auto app = MakeApp();
    app->editionText = "*";
    LauncherScreen screen(*app);
    screen.BuildFirstPage();
    EXPECT_EQ(app->edition, 0);
    // One button a row, all inside the 640x480 window, clear of each other
    // and of the page's about disc.
    const auto& page = screen.GroupButtons(LauncherScreen::kLanguageGroup);
    ASSERT_EQ(page.size(), 14u);
    const LauncherButton* about = page.back();
    for (size_t i = 0; i + 1 < page.size(); ++i) {
        const LauncherButton* b = page[i];
        EXPECT_EQ(b->Width(), 124) << b->Id();
        EXPECT_GE(b->Height(), 30) << b->Id();  // room for a caption line under its 10-pixel top margin
        EXPECT_GE(b->X(), 0);
        EXPECT_LE(b->Y() + b->Height(), 480) << b->Id();
        EXPECT_LE(b->X() + b->Width(), 640) << b->Id();
        if (i > 0) EXPECT_GE(b->Y(), page[i - 1]->Y() + page[i - 1]->Height()) << b->Id();
        const bool clearOfAbout = b->X() >= about->X() + about->Width() || b->X() + b->Width() <= about->X() ||
                                  b->Y() + b->Height() <= about->Y();
        EXPECT_TRUE(clearOfAbout) << b->Id();
    }
}

TEST_F(LauncherTest, LanguageButtonsCaptionInTheirOwnLanguage) {
    auto app = MakeApp();
    app->editionText = "2";
    LauncherScreen screen(*app);
    screen.BuildFirstPage();
    EXPECT_EQ(screen.Find(502)->Caption(), "Deutsch");
    EXPECT_EQ(screen.Find(502)->Kind(), 21);
    EXPECT_EQ(screen.Find(501)->Caption(), "Français");
    EXPECT_EQ(screen.MainPageLabels().size(), 0u);  // no language: no captions

    // Choosing German builds the main page in German with the German Play picture.
    app->edition = 2;
    screen.LauncherCommand(502);
    EXPECT_EQ(app->languageBase, 3000);
    EXPECT_FALSE(screen.Find(502)->visible);
    ASSERT_NE(screen.Find(102), nullptr);
    EXPECT_EQ(screen.Find(102)->Kind(), 2);
    EXPECT_EQ(screen.Find(102)->Caption(), "Spielen");
    EXPECT_EQ(host.invalidated, 2);
}

TEST_F(LauncherTest, MainPagePerEditionAndInstallation) {
    struct Case {
        int32_t edition;
        bool installed;
        std::vector<int32_t> visible;
        std::vector<int32_t> info;
    };
    const Case cases[] = {
        {1, false, {1000, 101, 103, 107, 108, 110}, {302, 301}},
        {2, true, {1000, 102, 601, 107, 108, 110}, {302, 301}},
        {4, true, {1000, 102, 601, 107, 301, 110}, {301}},
    };
    for (const Case& c : cases) {
        SetRegistry("USEnglish", c.installed);
        if (!c.installed) std::filesystem::remove(dir / "Game" / "tova");
        auto app = MakeApp();
        app->edition = c.edition;
        app->ReadLanguageAndSku();
        LauncherScreen screen(*app);
        screen.BuildFirstPage();
        EXPECT_EQ(VisibleIds(screen), c.visible) << c.edition;
        std::vector<int32_t> info;
        for (LauncherButton* b : screen.GroupButtons(LauncherScreen::kInfoGroup)) info.push_back(b->Id());
        EXPECT_EQ(info, c.info) << c.edition;
        const auto labels = screen.MainPageLabels();
        ASSERT_FALSE(labels.empty());
        EXPECT_EQ(labels[0].text, c.installed ? "Play" : "Install");
        EXPECT_EQ(labels[0].right, 187);
        EXPECT_EQ(labels[0].bottom, 237);
    }
}

TEST_F(LauncherTest, PlayTwiceOpensAndClosesItsGroup) {
    auto started = Start("USEnglish", true, 2);
    LauncherApp* app = started.app.get();
    LauncherScreen& screen = *started.screen;
    screen.LauncherCommand(102);
    EXPECT_TRUE(screen.IsGroupOpen());
    EXPECT_EQ(screen.OpenGroup(), LauncherScreen::kPlayGroup);
    EXPECT_TRUE(screen.Find(102)->heldActive);
    EXPECT_TRUE(screen.Find(150)->visible);
    EXPECT_TRUE(screen.Find(151)->visible);
    EXPECT_EQ(app->panelPicture, 0);
    screen.LauncherCommand(102);
    EXPECT_FALSE(screen.IsGroupOpen());
    EXPECT_FALSE(screen.Find(102)->heldActive);
    EXPECT_FALSE(screen.Find(150)->visible);
    EXPECT_EQ(app->panelPicture, 3);
    EXPECT_EQ(host.clicks, 2);
}

TEST_F(LauncherTest, DemosWhilePlayIsOpenClosesPlayFirst) {
    auto started = Start("USEnglish", true, 1);
    LauncherApp* app = started.app.get();
    LauncherScreen& screen = *started.screen;
    screen.LauncherCommand(102);
    screen.LauncherCommand(103);
    EXPECT_TRUE(screen.IsGroupOpen());
    EXPECT_EQ(screen.OpenGroup(), LauncherScreen::kDemosGroup);
    EXPECT_FALSE(screen.Find(102)->heldActive);
    EXPECT_FALSE(screen.Find(150)->visible);
    EXPECT_TRUE(screen.Find(103)->heldActive);
    EXPECT_TRUE(screen.Find(600)->visible);
    EXPECT_EQ(app->panelPicture, 2);
}

TEST_F(LauncherTest, HoverFocusesInsideTheCircleOnly) {
    auto started = Start("USEnglish", true, 2);
    LauncherApp* app = started.app.get();
    LauncherScreen& screen = *started.screen;
    // Exit at (405, 411), 54 x 54, circle (26, 25) radius 23.
    screen.MouseMove(405 + 26, 411 + 25);
    EXPECT_EQ(screen.Focus(), 110);
    screen.MouseMove(405 + 1, 411 + 1);  // the corner, outside the circle
    EXPECT_EQ(screen.Focus(), LauncherScreen::kMainWindow);
    screen.MouseMove(5, 5);
    EXPECT_EQ(screen.Focus(), LauncherScreen::kMainWindow);
    // Plain buttons take the focus anywhere in their rectangle.
    screen.LauncherCommand(102);
    screen.MouseMove(296, 72);
    EXPECT_EQ(screen.Focus(), 150);
    app->hoverTracking = false;
    screen.MouseMove(405 + 26, 411 + 25);
    EXPECT_EQ(screen.Focus(), 150);
}

TEST_F(LauncherTest, CommandsStartTheirPrograms) {
    SetRegistry("German", true);
    std::filesystem::create_directories(dir / "Disc" / "Setup" / "German");
    auto app = MakeApp();
    app->edition = 2;
    app->ReadLanguageAndSku();
    LauncherScreen screen(*app);
    screen.BuildFirstPage();
    using Call = platform::RecordingSpawner::Call;
    const std::string disc = (dir / "Disc").string();
    const std::string game = (dir / "Game").string();
    struct Case {
        int32_t id;
        Call call;
        int quit;
    };
    const Case cases[] = {
        {101, {false, "_s327", {"2"}, disc + "/Setup/German"}, -1},
        {301, {true, disc + "/Readme/Liesmich.txt", {}, ""}, -1},
        {302, {true, disc + "/Support/SKU2/German/ulukhelp.html", {}, ""}, -1},
        {107, {true, "https://tova.example.org/", {}, ""}, -1},
        {401, {false, "IsUn0407", {"-f\"" + game + "/Uninst.isu\""}, game}, -1},
        {150, {false, "tova", {}, game}, 0},
        {151, {false, "tova", {"-r1024x768"}, game}, 0},
    };
    for (const Case& c : cases) {
        spawner.calls.clear();
        host.quit = -1;
        screen.LauncherCommand(c.id);
        ASSERT_EQ(spawner.calls.size(), 1u) << c.id;
        EXPECT_EQ(spawner.calls[0], c.call) << c.id;
        EXPECT_EQ(host.quit, c.quit) << c.id;
    }
    spawner.calls.clear();
    screen.LauncherCommand(110);
    EXPECT_EQ(host.quit, 0);
    EXPECT_TRUE(spawner.calls.empty());
}

TEST_F(LauncherTest, SetupFoldersAndReadmesByLanguage) {
    struct Case {
        int32_t id;
        const char* folder;
        const char* readme;
    };
    const Case cases[] = {{500, "English", "readme.txt"},        {501, "French", "Lisezmoi.txt"},
                          {502, "German", "Liesmich.txt"},      {503, "Swedish", "Läsmig.TXT"},
                          {504, "Dutch", "Leesmij.txt"},        {505, "Portuguese", "Leia-me.txt"},
                          {506, "Spanish", "Leeme.txt"},        {508, "Polish", "ReadmeP.txt"},
                          {509, "Chinese(Taiwan)", "readmeTC.txt"}, {510, "Chinese(PRC)", "readmeSC.txt"},
                          {511, "Thai", "readmeTh.txt"},        {512, "Italian", "Leggimi.txt"},
                          {517, "Japanese", "readmeJ.txt"},     {518, "Korean", "readmeKo.txt"}};
    const std::string disc = (dir / "Disc").string();
    for (const Case& c : cases) {
        auto app = MakeApp();
        app->editionText = "*";
        app->edition = 9;
        LauncherScreen screen(*app);
        screen.BuildFirstPage();
        screen.LauncherCommand(c.id);
        spawner.calls.clear();
        screen.LauncherCommand(101);
        screen.LauncherCommand(301);
        ASSERT_EQ(spawner.calls.size(), 2u);
        EXPECT_EQ(spawner.calls[0].workingFolder, disc + "/Setup/" + c.folder) << c.id;
        EXPECT_EQ(spawner.calls[0].arguments, std::vector<std::string>{"9"});
        EXPECT_EQ(spawner.calls[1].program, disc + "/Readme/" + c.readme) << c.id;
    }
}

TEST_F(LauncherTest, HelpFoldersByEdition) {
    struct Case {
        int32_t edition;
        const char* language;
        const char* path;  // empty: nothing opens
    };
    const Case cases[] = {{1, "USEnglish", "Support/SKU1/USEnglish/ulhelp.html"},
                          {1, "Spanish", "Support/SKU1/Spanish/ulhelp.html"},
                          {1, "German", "Support/SKU1/ulhelp.html"},
                          {3, "Portuguese", "Support/SKU3/Portuguese/ulukhelp.html"},
                          {2, "Polish", "Support/SKU2/ulukhelp.html"},
                          {4, "USEnglish", ""}};
    const std::string disc = (dir / "Disc").string();
    for (const Case& c : cases) {
        SetRegistry(c.language, true);
        auto app = MakeApp();
        app->edition = c.edition;
        app->ReadLanguageAndSku();
        LauncherScreen screen(*app);
        screen.BuildFirstPage();
        spawner.calls.clear();
        screen.LauncherCommand(302);
        if (std::string(c.path).empty()) {
            EXPECT_TRUE(spawner.calls.empty());
            continue;
        }
        ASSERT_EQ(spawner.calls.size(), 1u);
        EXPECT_EQ(spawner.calls[0].program, disc + "/" + c.path);
    }
}

TEST_F(LauncherTest, FailedStartsShowTheirMessages) {
    auto started = Start("USEnglish", true, 1);
    LauncherScreen& screen = *started.screen;
    const std::string demos = (dir / "Disc" / "Demos").string();
    struct Case {
        int32_t id;
        int32_t outcome;
        std::pair<std::string, std::string> message;
    };
    const Case cases[] = {
        {600, 2, {"Can't run demo", "Sorry.  The demo " + demos + " can't be found on this CD."}},
        {600, 31, {"Can't run demo", "Sorry.  Can't run the demo because you don't have a association for .html files"}},
        {600, 5, {"Can't run demo", "I'm afraid Autoplay was unable to run an internet browser."}},
        {107, 31, {"Can't find browser", "I'm afraid Autoplay cannot find an internet browser on your system."}},
        {107, 2, {"Can't run browser", "I'm afraid Autoplay was unable to run an internet browser."}},
        {601, 31, {"Can't find browser", "I'm afraid Autoplay cannot find an internet browser on your system."}},
    };
    for (const Case& c : cases) {
        host.messages.clear();
        spawner.outcome = c.outcome;
        screen.LauncherCommand(c.id);
        ASSERT_EQ(host.messages.size(), 1u) << c.id << " " << c.outcome;
        EXPECT_EQ(host.messages[0], c.message) << c.id << " " << c.outcome;
    }
    host.messages.clear();
    spawner.outcome = platform::kSpawnStarted;
    screen.LauncherCommand(600);
    screen.LauncherCommand(107);
    EXPECT_TRUE(host.messages.empty());
}

TEST(LauncherMessages, OnlyTheOnePlaceholderIsFilled) {
    EXPECT_EQ(FormatMessage("a %s b", "X"), "a X b");
    EXPECT_EQ(FormatMessage("a %s b %s %d", "X"), "a X b %s %d");
    EXPECT_EQ(FormatMessage("no place", "X"), "no place");
    EXPECT_EQ(FormatMessage("%s", std::string(2000, 'y')).size(), 512u);
}

TEST_F(LauncherTest, RefreshFollowsTheInstallation) {
    auto started = Start("USEnglish", true, 2);
    LauncherScreen& screen = *started.screen;
    EXPECT_TRUE(screen.Find(102)->visible);
    EXPECT_FALSE(screen.Find(101)->visible);
    EXPECT_TRUE(screen.Find(302)->enabled);
    std::filesystem::remove(dir / "Game" / "tova");
    screen.Refresh();
    EXPECT_FALSE(screen.Find(102)->visible);
    EXPECT_TRUE(screen.Find(101)->visible);
    EXPECT_FALSE(screen.Find(302)->enabled);
}

TEST_F(LauncherTest, DemoFilesOnTheDiscEnableTheDemosButton) {
    std::filesystem::create_directories(dir / "Disc" / "Demos");
    std::ofstream(dir / "Disc" / "Demos" / "tova_demo.html") << "x";
    auto started = Start("USEnglish", true, 1);
    LauncherScreen& screen = *started.screen;
    EXPECT_EQ(screen.DemoCount(), 1);
    EXPECT_TRUE(screen.Find(103)->enabled);
    EXPECT_FALSE(screen.Find(104)->enabled);
}
