#include "launcher/LauncherScreen.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/Spawner.h"

namespace {

constexpr int32_t kDefaultWidth = 124;
// Text-button kind 0 has no face to take a size from; buttons without a
// height given are this high.
constexpr int32_t kDefaultHeight = 50;
// The "*" page's thirteen buttons stand one per row in a column beside the
// background's emblem, rows low enough for all of them to fit the window.
constexpr int32_t kEveryLanguageX = 258;
constexpr int32_t kEveryLanguageTop = 12;
constexpr int32_t kEveryLanguageRow = 32;

bool EqualNoCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == 0;
}

const char* SetupFolder(int32_t base) {
    switch (base) {
        case 2000: return "French";
        case 3000: return "German";
        case 4000: return "Swedish";
        case 5000: return "Dutch";
        case 6000: return "Portuguese";
        case 7000: return "Spanish";
        case 8000: return "Italian";
        case 10000: return "Polish";
        case 11000: return "Japanese";
        case 12000: return "Chinese(Taiwan)";
        case 13000: return "Chinese(PRC)";
        case 14000: return "Thai";
        case 15000: return "Korean";
        default: return "English";
    }
}

const char* ReadmeName(int32_t base) {
    switch (base) {
        case 2000: return "Lisezmoi.txt";
        case 3000: return "Liesmich.txt";
        case 4000: return "Läsmig.TXT";
        case 5000: return "Leesmij.txt";
        case 6000: return "Leia-me.txt";
        case 7000: return "Leeme.txt";
        case 8000: return "Leggimi.txt";
        case 10000: return "ReadmeP.txt";
        case 11000: return "readmeJ.txt";
        case 12000: return "readmeTC.txt";
        case 13000: return "readmeSC.txt";
        case 14000: return "readmeTh.txt";
        case 15000: return "readmeKo.txt";
        default: return "readme.txt";
    }
}

// The uninstaller's language suffix (Windows language ids), empty for
// English and any language without one.
const char* UninstallerSuffix(int32_t base) {
    switch (base) {
        case 2000: return "040c";
        case 3000: return "0407";
        case 4000: return "041d";
        case 5000: return "0413";
        case 6000: return "0416";
        case 7000: return "040a";
        case 8000: return "0410";
        case 10000: return "0415";
        case 11000: return "0411";
        case 12000: return "0404";
        case 13000: return "0804";
        case 14000: return "041e";
        case 15000: return "0412";
        default: return "";
    }
}

constexpr const char* kWebPage = "https://tova.example.org/";
constexpr const char* kWebPageEdition5 = "https://tova.example.org/jp/";
constexpr const char* kSecondWebPage = "https://orvel.example.org/";

}  // namespace

std::string FormatMessage(const std::string& text, const std::string& argument) {
    const size_t at = text.find("%s");
    if (at == std::string::npos) return text;
    // Bounded as the message buffer was; nothing else in the text is a format.
    const std::string bounded = argument.substr(0, 512);
    return text.substr(0, at) + bounded + text.substr(at + 2);
}

const std::vector<std::string>& LauncherScreen::DemoFiles() {
    static const std::vector<std::string> files = {"tova_demo.html", "tova_tour.mpg", "build.mpg", "live.mpg",
                                                   "family.mpg"};
    return files;
}

LauncherScreen::LauncherScreen(LauncherApp& app) : mApp(app) {}

LauncherButton* LauncherScreen::Add(int group, std::unique_ptr<LauncherButton> button) {
    LauncherButton* raw = button.get();
    mButtons.push_back(std::move(button));
    mGroups[group].push_back(raw);
    return raw;
}

LauncherButton* LauncherScreen::AddText(int group, int32_t kind, int32_t id, int32_t captionOffset, int32_t x,
                                        int32_t y, int32_t width, int32_t height, int32_t language) {
    const int32_t base = language == LauncherButton::kCurrentLanguage ? mApp.languageBase : language;
    return Add(group, std::make_unique<LauncherButton>(kind, id, mApp.strings.Get(base + captionOffset), x, y,
                                                       width ? width : kDefaultWidth,
                                                       height ? height : kDefaultHeight, false, language));
}

LauncherButton* LauncherScreen::AddPicture(int group, int32_t kind, int32_t id, int32_t captionOffset, int32_t x,
                                           int32_t y, int32_t width, int32_t height, int32_t cx, int32_t cy,
                                           int32_t r) {
    auto button = std::make_unique<TovaLauncherButton>(kind, id, mApp.Text(captionOffset), x, y, width, height, false,
                                                       LauncherButton::kCurrentLanguage);
    button->SetHitCircle(cx, cy, r);
    return Add(group, std::move(button));
}

LauncherButton* LauncherScreen::Find(int32_t id) const {
    for (const auto& b : mButtons)
        if (b->Id() == id) return b.get();
    return nullptr;
}

void LauncherScreen::BuildMainPage() {
    const int32_t e = mApp.edition;
    const int32_t lang = mApp.languageBase;
    AddPicture(kMainGroup, 11, 1000, 1, 9, 346, 162, 117, 74, 54, 60);
    mInstall = AddPicture(kMainGroup, 0, 101, 1, 186, 162, 85, 96, 40, 50, 35);
    const int32_t playKind = lang == 11000 ? 3 : lang == 7000 ? 5 : lang == 2000 ? 4 : lang == 3000 ? 2 : 1;
    mPlay = AddPicture(kMainGroup, playKind, 102, 2, 186, 162, 85, 96, 40, 50, 35);
    mDemos = AddPicture(kMainGroup, e == 1 ? 7 : 8, e == 1 ? 103 : 601, e == 1 ? 3 : 72, 330, 268, 73, 79, 33, 42, 29);
    AddText(kMainGroup, 6, 104, 3, 32, 1, 124, 55)->enabled = false;
    mWeb = AddPicture(kMainGroup, 6, 107, 7, 272, 225, 66, 67, 29, 31, 31);
    mInfo = AddPicture(kMainGroup, 9, e > 3 ? 301 : 108, e > 3 ? 12 : 8, 372, 323, 73, 87, 37, 48, 26);
    AddText(kMainGroup, 5, 109, 8, 32, 1, 120, 55)->enabled = false;
    AddPicture(kMainGroup, 10, 110, 10, 405, 411, 54, 54, 26, 25, 23);
    mInstall->enabled = !mApp.installed;
    mPlay->enabled = mApp.installed;

    // Slot styles: A and B at three rows, C at two.
    const int32_t rows[3] = {81, 133, 185};
    if (e == 1) {
        AddText(kInfoGroup, 14, 302, 13, 416, rows[1], 211, 49);
        AddText(kInfoGroup, 15, 301, 12, 416, rows[2], 211, 49);
        AddText(kDemosGroup, 10, 600, 71, 416, rows[0], 211, 49);
        AddText(kDemosGroup, 11, 601, 72, 416, rows[1], 211, 49);
    } else if (e == 2 || e == 3) {
        AddText(kInfoGroup, 13, 302, 13, 416, rows[0], 211, 49);
        AddText(kInfoGroup, 14, 301, 12, 416, rows[1], 211, 49);
    } else {
        AddText(kInfoGroup, 13, 301, 12, 416, rows[0], 211, 49);
    }
    Add(kPlayGroup, std::make_unique<LauncherButton>(16, 150, "800x600", 295, 71, 209, 49, false,
                                                     LauncherButton::kCurrentLanguage));
    Add(kPlayGroup, std::make_unique<LauncherButton>(17, 151, "1024x768", 295, 123, 209, 49, false,
                                                     LauncherButton::kCurrentLanguage));
}

bool LauncherScreen::BuildLanguagePage() {
    mApp.languageBase = 0;
    struct Choice {
        int32_t id;
        int32_t kind;
        int32_t x;
        int32_t y;
    };
    static const std::pair<int32_t, int32_t> kLanguageOf[] = {
        {500, 1000}, {501, 2000},  {502, 3000},  {503, 4000},  {504, 5000},  {505, 6000},  {506, 7000},
        {508, 10000}, {509, 12000}, {510, 13000}, {511, 14000}, {512, 8000}, {517, 11000}, {518, 15000}};
    auto languageOf = [](int32_t id) {
        for (auto [i, base] : kLanguageOf)
            if (i == id) return base;
        return 1000;
    };
    std::vector<Choice> choices;
    const std::string& text = mApp.editionText;
    if (EqualNoCase(text, "1")) {
        choices = {{500, 20, 170, 202}, {506, 23, 310, 356}};
    } else if (EqualNoCase(text, "2")) {
        choices = {{500, 19, 84, 151},  {501, 20, 170, 202}, {502, 21, 239, 254},
                   {512, 22, 277, 305}, {503, 23, 310, 356}, {504, 24, 328, 407}};
    } else if (EqualNoCase(text, "3")) {
        choices = {{506, 19, 84, 151}, {505, 21, 239, 254}, {500, 23, 310, 356}};
    } else if (EqualNoCase(text, "4")) {
        mApp.edition = 4;
        ChooseLanguage(10000);
        return false;
    } else if (EqualNoCase(text, "5")) {
        mApp.edition = 5;
        ChooseLanguage(11000);
        return false;
    } else if (EqualNoCase(text, "6")) {
        mApp.edition = 6;
        choices = {{509, 20, 170, 202}, {500, 23, 310, 356}};
    } else if (EqualNoCase(text, "7")) {
        choices = {{511, 20, 170, 202}, {500, 23, 310, 356}};
    } else if (EqualNoCase(text, "8")) {
        choices = {{518, 20, 170, 202}, {500, 23, 310, 356}};
    } else if (EqualNoCase(text, "9")) {
        choices = {{510, 20, 170, 202}, {500, 23, 310, 356}};
    } else if (text == "*") {
        static const int32_t kAll[] = {500, 501, 502, 512, 504, 503, 506, 505, 508, 509, 510, 511, 517};
        for (size_t i = 0; i < std::size(kAll); ++i) {
            const int32_t y = kEveryLanguageTop + int32_t(i) * kEveryLanguageRow;
            auto button = std::make_unique<LauncherButton>(2, kAll[i], mApp.strings.Get(100 + int32_t(i)),
                                                           kEveryLanguageX, y, kDefaultWidth, kEveryLanguageRow, true,
                                                           languageOf(kAll[i]));
            Add(kLanguageGroup, std::move(button));
        }
    } else {
        ChooseLanguage(1000);
        return false;
    }
    for (const Choice& c : choices)
        AddText(kLanguageGroup, c.kind, c.id, 73, c.x, c.y, 212, 50, languageOf(c.id));
    auto about = std::make_unique<TovaLauncherButton>(12, 1000, mApp.Text(71), 9, 346, 162, 117, false,
                                                      LauncherButton::kCurrentLanguage);
    about->SetHitCircle(74, 54, 60);
    Add(kLanguageGroup, std::move(about));
    return true;
}

void LauncherScreen::BuildFirstPage() {
    Refresh();
    if (!mApp.languageKnown) {
        // Editions without a language page choose their language, which
        // builds the main page.
        if (BuildLanguagePage()) ShowGroup(kLanguageGroup);
        return;
    }
    mMainPageFirst = true;
    BuildMainPage();
    ShowGroup(kMainGroup);
}

void LauncherScreen::ShowGroup(int group) {
    if (group < 0 || group >= kGroups) return;
    const bool overlay = group == kInfoGroup || group == kDemosGroup || group == kPlayGroup;
    if (overlay && !mGroupOpen) return;
    for (LauncherButton* b : mGroups[group]) b->visible = b->enabled;
}

void LauncherScreen::ToggleGroup(int group) {
    LauncherButton* owner = group == kDemosGroup ? mDemos : group == kInfoGroup ? mInfo : mPlay;
    const int32_t panel = group == kDemosGroup ? 2 : group == kInfoGroup ? 1 : 0;
    if (mGroupOpen) {
        if (owner) owner->heldActive = false;
        mApp.panelPicture = 3;
    } else {
        if (owner) owner->heldActive = true;
        mApp.panelPicture = panel;
    }
    mGroupOpen = !mGroupOpen;
    for (LauncherButton* b : mGroups[group]) b->visible = mGroupOpen && b->enabled;
    ShowGroup(kMainGroup);
    mApp.host.Invalidate(false);
    mOpenGroup = group;
}

void LauncherScreen::CloseOpenGroupFor(int group) {
    if (mGroupOpen && mOpenGroup != group) ToggleGroup(mOpenGroup);
}

void LauncherScreen::ChooseLanguage(int32_t base) {
    mApp.languageBase = base;
    mApp.languageKnown = true;
    for (LauncherButton* b : mGroups[kLanguageGroup]) b->visible = false;
    BuildMainPage();
    ShowGroup(kMainGroup);
    mApp.host.Invalidate(true);
}

void LauncherScreen::Refresh() {
    if (!mDemosListed) {
        mDemosListed = true;
        mDemoCount = 0;
        std::error_code ec;
        for (const std::string& name : DemoFiles())
            if (std::filesystem::is_regular_file(mApp.DiscPath(std::filesystem::path("Demos") / name), ec))
                ++mDemoCount;
    }
    mApp.FindInstalledGame();
    if (mMainPageFirst && mInstall && mPlay) {
        bool changed = false;
        auto set = [&changed](LauncherButton* b, bool on) {
            if (b && b->enabled != on) {
                b->enabled = on;
                changed = true;
            }
        };
        set(mInstall, !mApp.installed);
        set(mPlay, mApp.installed);
        if (mDemoCount > 0 && !(mGroupOpen && mOpenGroup == kDemosGroup)) {
            set(mDemos, true);
            set(Find(104), false);
        }
        if (changed) ShowGroup(kMainGroup);
    }
    if (mApp.edition != 1 && !mGroups[kInfoGroup].empty()) {
        LauncherButton* first = mGroups[kInfoGroup].front();
        if (first->enabled != mApp.installed) {
            first->enabled = mApp.installed;
            ShowGroup(mOpenGroup);
        }
    }
}

void LauncherScreen::MouseMove(int32_t x, int32_t y) {
    if (!mApp.hoverTracking) return;
    for (const auto& b : mButtons) {
        if (b->IsShaped() && b->enabled && b->visible && b->HitTest(x, y)) {
            mFocus = b->Id();
            return;
        }
    }
    // The button window under the mouse: the last visible one containing it.
    LauncherButton* under = nullptr;
    for (const auto& b : mButtons)
        if (b->visible && b->Contains(x, y)) under = b.get();
    if (under && !under->enabled) return;
    if (under && under->IsShaped()) {
        mFocus = kMainWindow;
        return;
    }
    mFocus = under ? under->Id() : kMainWindow;
}

void LauncherScreen::RunOrReport(int32_t result, int32_t titleOffset, int32_t notFoundOffset,
                                 const std::string& notFoundArg, int32_t noAssociationOffset,
                                 const std::string& noAssociationArg, int32_t otherOffset) {
    if (result > 32) return;
    if (result == platform::kSpawnFileNotFound && notFoundOffset != 0) {
        mApp.host.ShowMessage(mApp.Text(titleOffset), FormatMessage(mApp.Text(notFoundOffset), notFoundArg));
    } else if (result == platform::kSpawnNoAssociation && noAssociationOffset != 0) {
        mApp.host.ShowMessage(mApp.Text(titleOffset),
                              FormatMessage(mApp.Text(noAssociationOffset), noAssociationArg));
    } else {
        mApp.host.ShowMessage(mApp.Text(titleOffset), mApp.Text(otherOffset));
    }
}

void LauncherScreen::Uninstall() {
    const std::string suffix = UninstallerSuffix(mApp.languageBase);
    const std::string program = suffix.empty() ? "IsUninst" : "IsUn" + suffix;
    const std::string log = (std::filesystem::path(mApp.installedFolder) / "Uninst.isu").string();
    mApp.spawner.Run(program, {"-f\"" + log + "\""}, mApp.installedFolder);
    Refresh();
}

void LauncherScreen::LauncherCommand(int32_t id) {
    mApp.host.PlayClick();
    platform::Spawner& spawner = mApp.spawner;
    switch (id) {
        case 101: {
            CloseOpenGroupFor(-1);
            const std::string folder =
                mApp.DiscPath(std::filesystem::path("Setup") / SetupFolder(mApp.languageBase));
            spawner.Run("_s327", {std::to_string(mApp.edition)}, folder);
            break;
        }
        case 102:
            CloseOpenGroupFor(kPlayGroup);
            ToggleGroup(kPlayGroup);
            break;
        case 103:
        case 104:
            CloseOpenGroupFor(kDemosGroup);
            ToggleGroup(kDemosGroup);
            break;
        case 107: {
            CloseOpenGroupFor(-1);
            const int32_t result = spawner.Open(mApp.edition == 5 ? kWebPageEdition5 : kWebPage);
            if (result == platform::kSpawnNoAssociation)
                mApp.host.ShowMessage(mApp.Text(28), mApp.Text(29));
            else if (result <= 32)
                mApp.host.ShowMessage(mApp.Text(30), mApp.Text(31));
            break;
        }
        case 108:
        case 109:
            CloseOpenGroupFor(kInfoGroup);
            ToggleGroup(kInfoGroup);
            break;
        case 110:
            mApp.host.Quit(0);
            break;
        case 150:
        case 151:
            spawner.Run("tova", id == 151 ? std::vector<std::string>{"-r1024x768"} : std::vector<std::string>{},
                        mApp.installedFolder);
            mApp.host.Quit(0);
            break;
        case 301:
            spawner.Open(mApp.DiscPath(std::filesystem::path("Readme") / ReadmeName(mApp.languageBase)));
            break;
        case 302: {
            std::string name;
            std::string file;
            const int32_t lang = mApp.languageBase;
            if (mApp.edition == 1) {
                name = lang == 1000 ? "USEnglish" : lang == 7000 ? "Spanish" : "";
                file = "ulhelp.html";
            } else if (mApp.edition == 2 || mApp.edition == 3) {
                switch (lang) {
                    case 1000: name = "UKEnglish"; break;
                    case 2000: name = "French"; break;
                    case 3000: name = "German"; break;
                    case 4000: name = "Swedish"; break;
                    case 5000: name = "Dutch"; break;
                    case 6000: name = "Portuguese"; break;
                    case 7000: name = "Spanish"; break;
                    case 8000: name = "Italian"; break;
                    default: break;
                }
                file = "ulukhelp.html";
            } else {
                break;
            }
            const std::filesystem::path folder =
                std::filesystem::path("Support") / ("SKU" + std::to_string(mApp.edition)) / name;
            spawner.Open(mApp.DiscPath(folder / file));
            break;
        }
        case 401:
            Uninstall();
            break;
        case 600: {
            const std::string folder = mApp.DiscPath("Demos");
            const std::string& demo = DemoFiles().front();
            const int32_t result = spawner.Open(mApp.DiscPath(std::filesystem::path("Demos") / demo));
            const std::string extension = std::filesystem::path(demo).extension().string();
            RunOrReport(result, 23, 24, folder, 25, extension, 31);
            break;
        }
        case 601: {
            const int32_t result = spawner.Open(kSecondWebPage);
            if (result == platform::kSpawnNoAssociation)
                mApp.host.ShowMessage(mApp.Text(28), mApp.Text(29));
            else if (result <= 32)
                mApp.host.ShowMessage(mApp.Text(30), mApp.Text(31));
            break;
        }
        default:
            if (id >= 500 && id <= 518) {
                static const std::pair<int32_t, int32_t> kChoice[] = {
                    {500, 1000},  {501, 2000},  {502, 3000},  {503, 4000},  {504, 5000},
                    {505, 6000},  {506, 7000},  {508, 10000}, {509, 12000}, {510, 13000},
                    {511, 14000}, {512, 8000},  {517, 11000}, {518, 15000}};
                for (auto [choice, base] : kChoice)
                    if (choice == id) ChooseLanguage(base);
            }
            break;
    }
}

std::vector<LauncherScreen::Label> LauncherScreen::MainPageLabels() const {
    if (mApp.languageBase == 0) return {};
    std::vector<Label> labels;
    auto add = [&](int32_t offset, int32_t right, int32_t bottom) {
        const std::string text = mApp.Text(offset);
        if (!text.empty()) labels.push_back({text, right, bottom});
    };
    add(mApp.installed ? 2 : 1, 187, 237);
    add(7, 262, 278);
    add(mApp.edition == 1 ? 3 : 72, 329, 332);
    add(mApp.edition < 4 ? 8 : 12, 370, 391);
    add(10, 398, 443);
    return labels;
}
