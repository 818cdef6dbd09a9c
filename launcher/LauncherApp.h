// The disc launcher: the autoplay front end that installs the game, starts
// it, and opens its readme, help, web pages and demos. LauncherApp holds the
// program-wide state (disc root, language, edition, installed game) and reads
// it from the disc's ORVEL.INI and the game's registry key; LauncherScreen
// (pages, button groups, hover and commands) drives LauncherButtons; pictures
// and the blend are LauncherPicture. What the launcher asks of its window and
// of the desktop goes through LauncherHost and platform::Spawner, so all of
// it runs headless in tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace platform {
class Registry;
class Spawner;
}  // namespace platform

// What the launcher needs of its window.
class LauncherHost {
public:
    virtual ~LauncherHost() = default;
    virtual void PlayClick() = 0;
    virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
    virtual void Quit(int code) = 0;
    virtual void Invalidate(bool erase) = 0;
    // The modal about box; returns when it is closed.
    virtual void ShowAbout() = 0;
};

// Texts by id: a language owns base+1 .. base+32 and base+71 .. base+73.
class LauncherStrings {
public:
    // "id<TAB>text" lines; false, with the line in error, for a bad line.
    bool Parse(const std::string& text, std::string& error);
    bool Load(const std::filesystem::path& path, std::string& error);
    void Set(int32_t id, std::string text) { mTexts[id] = std::move(text); }
    // Empty for an id that holds no text.
    std::string Get(int32_t id) const;
    size_t Count() const { return mTexts.size(); }

private:
    std::map<int32_t, std::string> mTexts;
};

class LauncherApp {
public:
    static constexpr const char* kRegistryKey = "Software\\Orvel\\Ziv Tova";

    LauncherApp(std::filesystem::path discRoot, platform::Registry& registry, platform::Spawner& spawner,
                LauncherHost& host, const LauncherStrings& strings);

    // The edition from ORVEL.INI; false when the file or its value is missing
    // ("MISSING"): the launcher then exits without a window.
    bool ReadEdition();
    void ReadLanguageAndSku();
    // Installed: the key opens, "Installed" exists, "TOVA_DATA" reads and the
    // game's program exists in that folder.
    bool FindInstalledGame();

    // The current language's text at an offset.
    std::string Text(int32_t offset) const { return strings.Get(languageBase + offset); }
    // A path under the disc root, resolved without regard to letter case.
    std::string DiscPath(const std::filesystem::path& relative) const;

    std::filesystem::path discRoot;
    int32_t languageBase = 0;
    bool languageKnown = false;
    int32_t edition = 0;
    std::string editionText;
    std::string installedFolder;
    bool installed = false;
    int32_t panelPicture = 3;
    bool hoverTracking = false;

    platform::Registry& registry;
    platform::Spawner& spawner;
    LauncherHost& host;
    const LauncherStrings& strings;
};

// The language base of a registry language name (any letter case), or 0.
int32_t LanguageBaseOfName(const std::string& name);
