// launcher [--disc DIR] [--headless [--dump OUT.png]] [--list]: the disc
// launcher. A second copy asks the first to come to the front and ends; so
// does a copy started while the game runs. Then it reads the disc's
// ORVEL.INI (none, or "MISSING": exit 0 without a window), the game's
// registry key, its resources (launcher-res/ beside the program) and shows
// the first page in a borderless window centred on the desktop.
// --headless builds and paints the first page without a window (--dump
// writes it as PNG); --list prints the page's shown buttons and the main
// page's captions.
#include <cstdio>
#include <filesystem>
#include <string>

#include "launcher/LauncherAboutDialog.h"
#include "launcher/LauncherApp.h"
#include "launcher/LauncherArt.h"
#include "launcher/LauncherScreen.h"
#include "launcher/LauncherView.h"
#include "platform/HostWindow.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "platform/Spawner.h"
#include "platform/WavePlayer.h"
#include "platform/WindowMessages.h"

namespace {

void PresentPicture(const LauncherPicture& frame, platform::Surface& surface, platform::Presenter& presenter,
                    const LauncherRect& r) {
    for (int32_t y = r.y; y < r.y + r.height; ++y) {
        const uint8_t* row = frame.Row(y);
        for (int32_t x = r.x; x < r.x + r.width; ++x)
            surface.SetPixel(x, y, platform::PackRgb(platform::PixelLayout::Rgb565, row[3 * x + 2], row[3 * x + 1],
                                                     row[3 * x]));
    }
    presenter.Present(surface, {platform::Rect{r.x, r.y, r.x + r.width, r.y + r.height}});
}

int32_t LowWord(intptr_t v) { return static_cast<int16_t>(v & 0xFFFF); }
int32_t HighWord(intptr_t v) { return static_cast<int16_t>((v >> 16) & 0xFFFF); }

// A borderless window of the launcher's with what shows a frame in it;
// none (the reason in `error`) without a display.
struct LauncherPopup {
    std::unique_ptr<platform::HostWindow> window;
    std::unique_ptr<platform::Presenter> presenter;
    std::unique_ptr<platform::Surface> surface;
};

bool OpenPopup(const char* title, int32_t width, int32_t height, LauncherPopup& popup, std::string& error) {
    platform::HostWindowOptions options;
    options.title = title;
    options.width = width;
    options.height = height;
    options.frame = platform::WindowFrame::Popup;
    popup.window = platform::HostWindow::Create(options, &error);
    if (!popup.window || popup.window->IsHeadless() || width <= 0) return false;
    popup.presenter = popup.window->CreatePresenter(width, height, platform::PixelLayout::Rgb565, &error);
    popup.surface = platform::Surface::Create(width, height, platform::PixelLayout::Rgb565);
    return popup.presenter && popup.surface;
}

// The about box in a window of its own, modal: the launcher's window hears
// nothing until it is closed with OK.
void RunAboutBox(const LauncherArt& art) {
    LauncherAboutDialog dialog(art);
    LauncherPopup popup;
    std::string error;
    if (!OpenPopup("AboutDlg", dialog.Width(), dialog.Height(), popup, error)) return;
    platform::HostWindow* window = popup.window.get();
    platform::Surface* surface = popup.surface.get();
    platform::Presenter* presenter = popup.presenter.get();
    auto queue = std::make_shared<platform::MessageQueue>();
    window->Attach(queue);
    window->Center();
    window->Show(true);
    window->Raise();
    const LauncherRect whole{0, 0, dialog.Width(), dialog.Height()};
    PresentPicture(*dialog.Frame(), *surface, *presenter, whole);
    while (!dialog.Ended()) {
        queue->Wait(50);
        while (auto m = queue->Peek(true)) {
            switch (m->message) {
                case platform::kMsgLButtonDown:
                case platform::kMsgLButtonDblClk: dialog.MouseDown(LowWord(m->lParam), HighWord(m->lParam)); break;
                case platform::kMsgLButtonUp: dialog.MouseUp(LowWord(m->lParam), HighWord(m->lParam)); break;
                case platform::kMsgKeyDown: dialog.Key(static_cast<uint32_t>(m->wParam)); break;
                default: break;
            }
            PresentPicture(*dialog.Frame(), *surface, *presenter, whole);
        }
    }
    window->Detach();
}

struct WindowHost : LauncherHost {
    void PlayClick() override { Play(113); }
    void ShowMessage(const std::string& title, const std::string& text) override {
        if (headless)
            std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        else
            platform::ShowWarningBox(title, text);
    }
    void Quit(int code) override { quitCode = code; }
    void Invalidate(bool) override {
        if (view) view->Invalidate();
    }
    void ShowAbout() override {
        if (headless) {
            std::printf("about\n");
        } else if (art) {
            RunAboutBox(*art);
            if (view) view->Invalidate();
        }
    }
    void Play(int id) {
        if (!headless) sounds.Play(resources / (std::to_string(id) + ".wav"));
    }

    bool headless = false;
    std::filesystem::path resources;
    LauncherView* view = nullptr;
    const LauncherArt* art = nullptr;
    platform::WavePlayer sounds;
    int quitCode = -1;
};

void PrintPage(const LauncherApp& app, const LauncherScreen& screen) {
    std::printf("edition %d, language %d, %s\n", app.edition, app.languageBase,
                app.installed ? "installed" : "not installed");
    for (const auto& b : screen.Buttons())
        if (b->visible)
            std::printf("button %d kind %d at %d,%d %dx%d \"%s\"\n", b->Id(), b->Kind(), b->X(), b->Y(), b->Width(),
                        b->Height(), b->Caption().c_str());
    for (const auto& label : screen.MainPageLabels())
        std::printf("caption \"%s\" right %d bottom %d\n", label.text.c_str(), label.right, label.bottom);
}

// Shows the frame in a real window until the launcher quits.
int RunWindow(LauncherView& view, WindowHost& host, platform::SingleInstance& instance) {
    LauncherPopup popup;
    std::string error;
    if (!OpenPopup("AutoPlay", view.Width(), view.Height(), popup, error)) {
        if (!error.empty()) std::fprintf(stderr, "launcher: %s\n", error.c_str());
        return 0;
    }
    platform::HostWindow* window = popup.window.get();
    platform::Surface* surface = popup.surface.get();
    platform::Presenter* presenter = popup.presenter.get();
    view.OnPresent([&](const LauncherRect& r) { PresentPicture(*view.Frame(), *surface, *presenter, r); });
    auto queue = std::make_shared<platform::MessageQueue>();
    window->Attach(queue);
    window->Center();
    window->Show(true);
    host.Play(308);
    view.Paint();
    while (host.quitCode < 0) {
        if (instance.PollRaiseRequest()) {
            window->Show(true);
            window->Raise();
        }
        queue->Wait(50);
        while (auto m = queue->Peek(true)) {
            switch (m->message) {
                case platform::kMsgMouseMove: view.MouseMove(LowWord(m->lParam), HighWord(m->lParam)); break;
                case platform::kMsgLButtonDown:
                case platform::kMsgLButtonDblClk: view.MouseDown(LowWord(m->lParam), HighWord(m->lParam)); break;
                case platform::kMsgLButtonUp: view.MouseUp(LowWord(m->lParam), HighWord(m->lParam)); break;
                case platform::kMsgActivateApp: view.Activate(m->wParam != 0); break;
                case platform::kMsgPaint: view.Paint(); break;
                case platform::kMsgClose:
                case platform::kMsgQuit: host.quitCode = 0; break;
                default: break;
            }
            if (host.quitCode >= 0) break;
        }
    }
    window->Detach();
    return host.quitCode;
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path programFolder = std::filesystem::path(platform::ExecutablePath()).parent_path();
    std::filesystem::path disc = programFolder;
    std::string dump;
    bool list = false, headless = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--disc" && i + 1 < argc) {
            disc = argv[++i];
        } else if (arg == "--dump" && i + 1 < argc) {
            dump = argv[++i];
        } else if (arg == "--headless") {
            headless = true;
        } else if (arg == "--list") {
            list = true;
        } else {
            std::fprintf(stderr, "usage: launcher [--disc DIR] [--headless [--dump OUT.png]] [--list]\n");
            return 2;
        }
    }
    if (!dump.empty() && !headless) {
        std::fprintf(stderr, "launcher: --dump needs --headless\n");
        return 2;
    }
    // One launcher at a time: a second copy raises the first and ends; a
    // running game ends it too.
    platform::SingleInstance instance("Autoplay");
    if (!instance.Acquire()) {
        instance.AskFirstToRaise();
        return 0;
    }
    if (platform::SingleInstance::IsRunning("tova")) return 0;

    const std::filesystem::path resources = programFolder / "launcher-res";
    LauncherStrings strings;
    std::string error;
    if (!strings.Load(resources / "strings.txt", error)) std::fprintf(stderr, "launcher: %s\n", error.c_str());

    WindowHost host;
    host.headless = headless || list;
    host.resources = resources;
    LauncherApp app(disc, platform::Registry::Default(), platform::Spawner::System(), host, strings);
    if (!app.ReadEdition()) return 0;
    app.ReadLanguageAndSku();
    app.hoverTracking = true;
    LauncherArt art;
    art.Load(resources, app);
    if (!art.Missing().empty()) std::fprintf(stderr, "launcher: missing resources:\n%s", art.Missing().c_str());
    LauncherScreen screen(app);
    LauncherView view(app, screen, art);
    host.view = &view;
    host.art = &art;
    screen.BuildFirstPage();
    view.Paint();
    if (list) PrintPage(app, screen);
    if (list || headless) {
        if (!dump.empty() && !platform::WritePngFile(dump, view.FrameImage(), &error)) {
            std::fprintf(stderr, "launcher: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    return RunWindow(view, host, instance);
}
