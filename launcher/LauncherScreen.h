// The launcher's screen: its pages (the language page and the main page),
// the button groups that open over the main page (play, more information,
// demos), hover focus and the commands the buttons give.
#pragma once

#include <memory>
#include <vector>

#include "launcher/LauncherApp.h"
#include "launcher/LauncherButton.h"

class LauncherScreen {
public:
    enum Group { kMainGroup = 0, kInfoGroup = 1, kLanguageGroup = 2, kDemosGroup = 3, kPlayGroup = 4, kGroups = 5 };
    // The focus when no button has it.
    static constexpr int32_t kMainWindow = 0;
    // Demo files looked for under "Demos" (the first is the one id 600 starts).
    static const std::vector<std::string>& DemoFiles();

    explicit LauncherScreen(LauncherApp& app);

    // Refresh, then the language page while no language is known, else the
    // main page.
    void BuildFirstPage();
    void BuildMainPage();
    // False when the edition shows no language page (the main page is built
    // instead by the caller).
    bool BuildLanguagePage();
    void ShowGroup(int group);
    void ToggleGroup(int group);
    void Refresh();
    void LauncherCommand(int32_t id);
    // Mouse motion in client coordinates, while hover tracking is on.
    void MouseMove(int32_t x, int32_t y);

    int32_t Focus() const { return mFocus; }
    bool IsGroupOpen() const { return mGroupOpen; }
    int OpenGroup() const { return mOpenGroup; }
    int DemoCount() const { return mDemoCount; }
    const std::vector<std::unique_ptr<LauncherButton>>& Buttons() const { return mButtons; }
    const std::vector<LauncherButton*>& GroupButtons(int group) const { return mGroups[group]; }
    // The first button with the id, or null.
    LauncherButton* Find(int32_t id) const;
    // The caption of a main-page label drawn at a point, by the paint.
    struct Label {
        std::string text;
        int32_t right;
        int32_t bottom;
    };
    std::vector<Label> MainPageLabels() const;

private:
    LauncherButton* Add(int group, std::unique_ptr<LauncherButton> button);
    LauncherButton* AddText(int group, int32_t kind, int32_t id, int32_t captionOffset, int32_t x, int32_t y,
                            int32_t width, int32_t height, int32_t language = LauncherButton::kCurrentLanguage);
    LauncherButton* AddPicture(int group, int32_t kind, int32_t id, int32_t captionOffset, int32_t x, int32_t y,
                               int32_t width, int32_t height, int32_t cx, int32_t cy, int32_t r);
    void CloseOpenGroupFor(int group);
    void ChooseLanguage(int32_t base);
    void RunOrReport(int32_t result, int32_t titleOffset, int32_t notFoundOffset, const std::string& notFoundArg,
                     int32_t noAssociationOffset, const std::string& noAssociationArg, int32_t otherOffset);
    void Uninstall();

    LauncherApp& mApp;
    std::vector<std::unique_ptr<LauncherButton>> mButtons;
    std::vector<LauncherButton*> mGroups[kGroups];
    bool mGroupOpen = false;
    int mOpenGroup = -1;
    int mDemoCount = 0;
    bool mDemosListed = false;
    bool mMainPageFirst = false;
    int32_t mFocus = kMainWindow;
    LauncherButton* mInstall = nullptr;
    LauncherButton* mPlay = nullptr;
    LauncherButton* mDemos = nullptr;
    LauncherButton* mWeb = nullptr;
    LauncherButton* mInfo = nullptr;
};

// Fills the message's one "%s" with the argument (bounded); a text without
// one is left as it is.
std::string FormatMessage(const std::string& text, const std::string& argument);
