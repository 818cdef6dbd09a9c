// A disc folder, a registry file and a recording host and spawner for the
// launcher's tests.
#pragma once

#include <gtest/gtest.h>

#include <fstream>

#include "launcher/LauncherApp.h"
#include "launcher/LauncherScreen.h"
#include "platform/Registry.h"
#include "platform/Spawner.h"
#include "support/ScratchDir.h"

namespace launcher_test {

struct RecordingHost : LauncherHost {
    void PlayClick() override { ++clicks; }
    void ShowMessage(const std::string& title, const std::string& text) override { messages.push_back({title, text}); }
    void Quit(int code) override { quit = code; }
    void Invalidate(bool erase) override { invalidated += erase ? 2 : 1; }
    void ShowAbout() override { ++abouts; }

    int clicks = 0;
    std::vector<std::pair<std::string, std::string>> messages;
    int quit = -1;
    int invalidated = 0;
    int abouts = 0;
};

class LauncherTest : public ::testing::Test {
protected:
    LauncherTest() : registry(dir / "registry.txt") {
        std::filesystem::create_directories(dir / "Disc");
        std::string error;
        strings.Parse(
            "1001\tInstall\n1002\tPlay\n1003\tDemos\n1007\tWeb Site\n1008\tMore Information\n1010\tExit\n"
            "1012\tReadme\n1013\tTechnical Help\n1023\tCan't run demo\n"
            "1024\tSorry.  The demo %s can't be found on this CD.\n"
            "1025\tSorry.  Can't run the demo because you don't have a association for %s files\n"
            "1028\tCan't find browser\n1029\tI'm afraid Autoplay cannot find an internet browser on your system.\n"
            "1030\tCan't run browser\n1031\tI'm afraid Autoplay was unable to run an internet browser.\n"
            "1071\tAbout\n1072\tOn the Web\n1073\tEnglish\n3002\tSpielen\n3073\tDeutsch\n2073\tFrançais\n",
            error);
    }

    void WriteIni(const std::string& text) { std::ofstream(dir / "Disc" / "ORVEL.INI") << text; }
    void SetRegistry(const std::string& language, bool installed) {
        platform::RegKey key;
        ASSERT_EQ(registry.CreateKey(platform::RegRoot::kLocalMachine, LauncherApp::kRegistryKey, key), 0);
        key.SetString("TOVA_LANGUAGE", language);
        if (installed) {
            std::filesystem::create_directories(dir / "Game");
            std::ofstream(dir / "Game" / "tova") << "#!/bin/sh\n";
            key.SetString("TOVA_DATA", (dir / "Game").string());
            key.SetDword("Installed", 1);
        }
    }
    std::unique_ptr<LauncherApp> MakeApp() {
        auto app = std::make_unique<LauncherApp>(dir / "Disc", registry, spawner, host, strings);
        app->hoverTracking = true;
        return app;
    }

    // The app and its first page for a registry language, an installation
    // and an edition.
    struct Started {
        std::unique_ptr<LauncherApp> app;
        std::unique_ptr<LauncherScreen> screen;
    };
    Started Start(const std::string& language, bool installed, int32_t edition) {
        SetRegistry(language, installed);
        Started s;
        s.app = MakeApp();
        s.app->edition = edition;
        s.app->ReadLanguageAndSku();
        s.screen = std::make_unique<LauncherScreen>(*s.app);
        s.screen->BuildFirstPage();
        return s;
    }

    tova_test::ScratchDir dir;
    platform::Registry registry;
    platform::RecordingSpawner spawner;
    RecordingHost host;
    LauncherStrings strings;
};

}  // namespace launcher_test
