#include "launcher/LauncherView.h"

#include <cmath>

#include "launcher/LauncherAboutDialog.h"

#include "launcher/LauncherFixture.h"
#include "platform/WavFile.h"
#include "support/GoldenImage.h"

using launcher_test::LauncherTest;

namespace {

const std::filesystem::path kResources = std::filesystem::path(TOVA_BIN_DIR) / "launcher-res";
const std::filesystem::path kDisc = std::filesystem::path(TOVA_BIN_DIR) / ".." / "disc";

// The shipped texts, pictures and fonts over the fixture's disc, registry
// and recording spawner; the host's invalidations reach the view.
class LauncherViewTest : public LauncherTest {
protected:
    struct ViewHost : launcher_test::RecordingHost {
        void Invalidate(bool erase) override {
            RecordingHost::Invalidate(erase);
            if (view) view->Invalidate();
        }
        LauncherView* view = nullptr;
    };

    LauncherViewTest() {
        std::string error;
        strings = LauncherStrings();
        EXPECT_TRUE(strings.Load(std::filesystem::path(TOVA_SOURCE_DIR) / "content/Disc/launcher-res/strings.txt",
                                 error))
            << error;
        std::filesystem::copy(kDisc / "Launcher", dir / "Disc" / "Launcher");
    }

    // The first page for a registry language (empty: none) and edition text.
    void Open(const std::string& language, bool installed, const std::string& editionText) {
        if (!language.empty()) SetRegistry(language, installed);
        app = std::make_unique<LauncherApp>(dir / "Disc", registry, spawner, viewHost, strings);
        app->hoverTracking = true;
        app->editionText = editionText;
        app->edition = editionText[0] >= '0' && editionText[0] <= '9' ? editionText[0] - '0' : 0;
        app->ReadLanguageAndSku();
        art.Load(kResources, *app);
        screen = std::make_unique<LauncherScreen>(*app);
        view = std::make_unique<LauncherView>(*app, *screen, art);
        viewHost.view = view.get();
        view->OnPresent([this](const LauncherRect& r) { presented.push_back(r); });
        screen->BuildFirstPage();
        view->Paint();
    }
    // The centre of a button's hit circle (picture buttons) or rectangle.
    static std::pair<int32_t, int32_t> Centre(const LauncherButton& b) {
        return {b.X() + b.Width() / 2, b.Y() + b.Height() / 2};
    }
    void Click(int32_t id) {
        auto [x, y] = Centre(*screen->Find(id));
        view->MouseMove(x, y);
        view->MouseDown(x, y);
        view->MouseUp(x, y);
    }

    ViewHost viewHost;
    std::unique_ptr<LauncherApp> app;
    LauncherArt art;
    std::unique_ptr<LauncherScreen> screen;
    std::unique_ptr<LauncherView> view;
    std::vector<LauncherRect> presented;
};

}  // namespace

TEST_F(LauncherViewTest, EveryPictureAndFontOfTheDiscLoads) {
    Open("", false, "2");
    EXPECT_EQ(art.Missing(), "");
    std::string error;
    ASSERT_NE(view->Frame(), nullptr);
    EXPECT_EQ(view->Width(), 640);
    EXPECT_EQ(view->Height(), 480);
    // The click and the start-up music.
    for (const char* wave : {"113.wav", "308.wav"}) {
        platform::WavData data;
        EXPECT_TRUE(platform::ReadWavFile(kResources / wave, data, error)) << wave << ": " << error;
    }
}

TEST_F(LauncherViewTest, APaletteOnlyForEightBitDisplays) {
    Open("", false, "2");
    EXPECT_TRUE(art.ColourTable().empty());
    LauncherArt eightBit;
    eightBit.Load(kResources, *app, 8);
    EXPECT_EQ(eightBit.Missing(), "");
    const std::vector<uint8_t>& table = eightBit.ColourTable();
    ASSERT_EQ(table.size(), 1024u);
    // Entry 9 is a static colour (blue, green, red order), 10 the file's own.
    EXPECT_EQ(std::vector<uint8_t>(table.begin() + 36, table.begin() + 40), (std::vector<uint8_t>{240, 202, 166, 0}));
    EXPECT_EQ(std::vector<uint8_t>(table.begin() + 40, table.begin() + 44), (std::vector<uint8_t>{170, 72, 0, 0}));
}

TEST_F(LauncherViewTest, EditionTwosLanguagePage) {
    Open("", false, "2");
    EXPECT_TRUE(tova_test::MatchesGolden(view->FrameImage(), "launcher/golden/language_page.png"));
}

TEST_F(LauncherViewTest, EnglishMainPageNotInstalled) {
    Open("USEnglish", false, "2");
    EXPECT_TRUE(tova_test::MatchesGolden(view->FrameImage(), "launcher/golden/main_english.png"));
}

TEST_F(LauncherViewTest, EnglishMainPageInstalled) {
    Open("USEnglish", true, "2");
    EXPECT_TRUE(tova_test::MatchesGolden(view->FrameImage(), "launcher/golden/main_english_installed.png"));
}

TEST_F(LauncherViewTest, GermanMainPageWithThePlayGroupOpenAndAHoveredButton) {
    Open("German", true, "2");
    Click(102);
    ASSERT_TRUE(screen->IsGroupOpen());
    auto [x, y] = Centre(*screen->Find(151));
    view->MouseMove(x, y);
    EXPECT_EQ(view->StateOf(*screen->Find(151)), LauncherButton::kHovered);
    EXPECT_EQ(view->StateOf(*screen->Find(102)), LauncherButton::kActive);
    EXPECT_TRUE(tova_test::MatchesGolden(view->FrameImage(), "launcher/golden/main_german_play_open.png"));
}

TEST_F(LauncherViewTest, AHoverChangeRedrawsOnlyThatButton) {
    Open("USEnglish", false, "2");
    const LauncherButton& exit = *screen->Find(110);
    const platform::Image before = view->FrameImage();
    presented.clear();
    // The corner of the button's window lies outside its circle: no hover.
    view->MouseMove(exit.X() + 1, exit.Y() + 1);
    EXPECT_TRUE(presented.empty());
    auto [x, y] = Centre(exit);
    view->MouseMove(x, y);
    ASSERT_EQ(presented.size(), 1u);
    EXPECT_EQ(presented[0].x, exit.X());
    EXPECT_EQ(presented[0].y, exit.Y());
    EXPECT_EQ(presented[0].width, exit.Width());
    const platform::Image after = view->FrameImage();
    EXPECT_NE(before.pixels, after.pixels);
    // Moving away draws the normal face again: the frame is as it was.
    view->MouseMove(600, 20);
    EXPECT_EQ(view->FrameImage().pixels, before.pixels);
}

TEST_F(LauncherViewTest, ClickingPlayTwiceOpensAndClosesItsPanel) {
    Open("USEnglish", true, "2");
    const platform::Image closed = view->FrameImage();
    Click(102);
    EXPECT_TRUE(screen->Find(150)->visible);
    const platform::Image open = view->FrameImage();
    EXPECT_NE(open.pixels, closed.pixels);
    Click(102);
    EXPECT_FALSE(screen->Find(150)->visible);
    view->MouseMove(600, 20);
    EXPECT_EQ(view->FrameImage().pixels, closed.pixels);
}

TEST_F(LauncherViewTest, APressOutsideTheButtonGivesNoCommand) {
    Open("USEnglish", true, "2");
    const LauncherButton& exit = *screen->Find(110);
    auto [x, y] = Centre(exit);
    view->MouseDown(x, y);
    EXPECT_EQ(view->StateOf(exit), LauncherButton::kPressed);
    view->MouseUp(2, 2);
    EXPECT_EQ(viewHost.quit, -1);
    Click(110);
    EXPECT_EQ(viewHost.quit, 0);
}

TEST_F(LauncherViewTest, ChoosingALanguagePaintsTheMainPage) {
    Open("", false, "2");
    Click(502);
    EXPECT_EQ(app->languageBase, 3000);
    EXPECT_TRUE(screen->Find(101)->visible);
    // Edition 2 has a German background of its own.
    EXPECT_EQ(view->FrameImage().pixels.size(), size_t(640 * 480 * 3));
    EXPECT_TRUE(tova_test::MatchesGolden(view->FrameImage(), "launcher/golden/main_german.png"));
}

TEST_F(LauncherViewTest, ActivationRefreshesAndDeactivationStopsHover) {
    Open("USEnglish", false, "2");
    view->Activate(false);
    auto [x, y] = Centre(*screen->Find(110));
    view->MouseMove(x, y);
    EXPECT_EQ(view->StateOf(*screen->Find(110)), LauncherButton::kNormal);
    view->Activate(true);
    view->MouseMove(x, y);
    EXPECT_EQ(view->StateOf(*screen->Find(110)), LauncherButton::kHovered);
}

namespace {

// Relative luminance of an sRGB colour, as contrast ratios use it.
double LauncherLuminance(const uint8_t rgb[3]) {
    double sum = 0;
    const double weights[3] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
        const double c = rgb[i] / 255.0;
        sum += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
}

double LauncherContrast(const uint8_t a[3], const uint8_t b[3]) {
    const double la = LauncherLuminance(a), lb = LauncherLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

constexpr int32_t kEveryLanguage[] = {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000,
                                      10000, 11000, 12000, 13000, 14000, 15000};

}  // namespace

// Each edition's first page, and the main page of the first language it
// offers, as the player sees them.
TEST_F(LauncherViewTest, EveryEditionsPages) {
    for (const char* edition : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "*"}) {
        SCOPED_TRACE(edition);
        Open("", false, edition);
        const std::string name = edition[0] == '*' ? "every" : edition;
        EXPECT_TRUE(tova_test::MatchesGolden(view->FrameImage(), "launcher/golden/edition_" + name + "_first.png"));
        if (!app->languageKnown) {
            const auto& page = screen->GroupButtons(LauncherScreen::kLanguageGroup);
            ASSERT_GE(page.size(), 2u);
            // The page's first language.
            Click(page.front()->Id());
            ASSERT_TRUE(app->languageKnown);
            view->Refresh();
            EXPECT_TRUE(
                tova_test::MatchesGolden(view->FrameImage(), "launcher/golden/edition_" + name + "_main.png"));
        }
    }
}

// Every language the pages can show has a caption for every captioned
// button, in a font that draws it, and the main page's dark captions stand
// on a light ground (contrast of at least 4.5:1 under every pixel).
TEST_F(LauncherViewTest, EveryLanguageCaptionsEveryButtonLegibly) {
    const uint8_t kLabel[3] = {0, 0, 140};
    for (const char* edition : {"1", "2", "4"}) {
        for (int32_t base : kEveryLanguage) {
            SCOPED_TRACE(std::string("edition ") + edition + ", language " + std::to_string(base));
            Open("", false, edition);
            app->languageBase = base;
            app->languageKnown = true;
            screen = std::make_unique<LauncherScreen>(*app);
            view = std::make_unique<LauncherView>(*app, *screen, art);
            viewHost.view = view.get();
            screen->BuildMainPage();
            screen->ShowGroup(LauncherScreen::kMainGroup);
            const platform::TrueTypeFont* font = art.FontFor(base);
            ASSERT_NE(font, nullptr);
            const auto labels = screen->MainPageLabels();
            EXPECT_EQ(labels.size(), 5u);
            const LauncherPicture* ground = art.Background(base);
            ASSERT_NE(ground, nullptr);
            for (const auto& label : labels) {
                platform::TextCoverage text;
                ASSERT_TRUE(font->Render(label.text, text)) << label.text;
                ASSERT_GT(text.width, 0) << label.text;
                double worst = 100;
                for (int32_t y = label.bottom - text.height; y < label.bottom; ++y)
                    for (int32_t x = label.right - text.width; x < label.right; ++x) {
                        const auto pixel = ground->Pixel(x, y);
                        worst = std::min(worst, LauncherContrast(pixel.data(), kLabel));
                    }
                EXPECT_GE(worst, 4.5) << label.text;
            }
            // The text buttons of the groups and the play group's sizes.
            for (int group : {LauncherScreen::kInfoGroup, LauncherScreen::kDemosGroup, LauncherScreen::kPlayGroup})
                for (const LauncherButton* b : screen->GroupButtons(group)) {
                    EXPECT_FALSE(b->Caption().empty()) << b->Id();
                    EXPECT_GT(font->TextWidth(b->Caption()), 0) << b->Id();
                }
        }
    }
}

TEST_F(LauncherViewTest, EveryLanguagePageButtonNamesItsLanguage) {
    for (const char* edition : {"1", "2", "3", "6", "7", "8", "9", "*"}) {
        SCOPED_TRACE(edition);
        Open("", false, edition);
        for (const LauncherButton* b : screen->GroupButtons(LauncherScreen::kLanguageGroup)) {
            if (b->Id() == LauncherView::kAboutCommand) continue;
            EXPECT_FALSE(b->Caption().empty()) << b->Id();
            const platform::TrueTypeFont* font = art.FontFor(b->LanguageBase());
            ASSERT_NE(font, nullptr) << b->Id();
            platform::TextCoverage text;
            EXPECT_TRUE(font->Render(b->Caption(), text)) << b->Id();
            EXPECT_LE(text.width, b->Width()) << b->Caption();
        }
    }
}

TEST_F(LauncherViewTest, TheAboutDiscOpensTheAboutBox) {
    Open("USEnglish", false, "2");
    const int clicks = viewHost.clicks;
    Click(LauncherView::kAboutCommand);
    EXPECT_EQ(viewHost.abouts, 1);
    EXPECT_EQ(viewHost.clicks, clicks + 1);
    EXPECT_TRUE(spawner.calls.empty());

    // The about disc's shape is whole: its mask reaches no edge of the face.
    const LauncherPicture* mask = art.ButtonMask(11, LauncherButton::kHovered);
    ASSERT_NE(mask, nullptr);
    for (int32_t x = 0; x < mask->Width(); ++x) {
        EXPECT_EQ(mask->Pixel(x, 0)[0], 0) << x;
        EXPECT_EQ(mask->Pixel(x, mask->Height() - 1)[0], 0) << x;
    }

    LauncherAboutDialog about(art);
    EXPECT_EQ(about.Width(), 522);
    EXPECT_EQ(about.Height(), 588);
    ASSERT_NE(art.AboutPicture(), nullptr);
    EXPECT_EQ(art.AboutPicture()->Width(), 400);
    EXPECT_EQ(art.AboutPicture()->Height(), 488);
    EXPECT_TRUE(tova_test::MatchesGolden(about.FrameImage(), "launcher/golden/about_box.png"));

    // A press that leaves the button closes nothing; OK closes with 1.
    const LauncherRect ok = about.OkButton();
    about.MouseDown(ok.x + 2, ok.y + 2);
    about.MouseUp(ok.x - 20, ok.y - 20);
    EXPECT_FALSE(about.Ended());
    about.MouseDown(ok.x + 2, ok.y + 2);
    about.MouseUp(ok.x + 3, ok.y + 3);
    EXPECT_EQ(about.Result(), LauncherAboutDialog::kOkId);
    LauncherAboutDialog byKey(art);
    byKey.Key(27);  // Escape: the box answers OK only
    EXPECT_FALSE(byKey.Ended());
    byKey.Key(13);
    EXPECT_EQ(byKey.Result(), LauncherAboutDialog::kOkId);
}
