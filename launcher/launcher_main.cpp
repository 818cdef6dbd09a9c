// launcher [--disc DIR] [--list]: the disc launcher's start-up. A second copy
// asks the first to come to the front and ends; so does a copy started while
// the game runs. Then it reads the
// disc's ORVEL.INI (none, or "MISSING": exit 0 without a window), the game's
// registry key and the launcher's texts (launcher-res/ beside the program),
// and builds the first page. --list prints the page's visible buttons and
// the main page's captions, one per line, instead of showing a window.
#include <cstdio>
#include <filesystem>
#include <string>

#include "launcher/LauncherApp.h"
#include "launcher/LauncherScreen.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "platform/Spawner.h"

namespace {

struct ConsoleHost : LauncherHost {
    void PlayClick() override {}
    void ShowMessage(const std::string& title, const std::string& text) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    }
    void Quit(int code) override { quitCode = code; }
    void Invalidate(bool) override {}
    int quitCode = -1;
};

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path programFolder = std::filesystem::path(platform::ExecutablePath()).parent_path();
    std::filesystem::path disc = programFolder;
    bool list = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--disc" && i + 1 < argc) {
            disc = argv[++i];
        } else if (arg == "--list") {
            list = true;
        } else {
            std::fprintf(stderr, "usage: launcher [--disc DIR] [--list]\n");
            return 2;
        }
    }
    // One launcher at a time: a second copy raises the first and ends; a
    // running game ends it too.
    platform::SingleInstance instance("Autoplay");
    if (!instance.Acquire()) {
        instance.AskFirstToRaise();
        return 0;
    }
    if (platform::SingleInstance::IsRunning("tova")) return 0;

    LauncherStrings strings;
    std::string error;
    const std::filesystem::path res = programFolder / "launcher-res" / "strings.txt";
    if (!strings.Load(res, error)) std::fprintf(stderr, "launcher: %s\n", error.c_str());

    ConsoleHost host;
    LauncherApp app(disc, platform::Registry::Default(), platform::Spawner::System(), host, strings);
    if (!app.ReadEdition()) return 0;
    app.ReadLanguageAndSku();
    LauncherScreen screen(app);
    screen.BuildFirstPage();
    if (!list) {
        std::fprintf(stderr, "launcher: no window yet; use --list\n");
        return 0;
    }
    std::printf("edition %d, language %d, %s\n", app.edition, app.languageBase,
                app.installed ? "installed" : "not installed");
    for (const auto& b : screen.Buttons())
        if (b->visible)
            std::printf("button %d kind %d at %d,%d %dx%d \"%s\"\n", b->Id(), b->Kind(), b->X(), b->Y(), b->Width(),
                        b->Height(), b->Caption().c_str());
    for (const auto& label : screen.MainPageLabels())
        std::printf("caption \"%s\" right %d bottom %d\n", label.text.c_str(), label.right, label.bottom);
    return 0;
}
