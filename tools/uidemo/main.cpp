// uidemo: shows a page of named windows on the game's main window and plays
// a script of input against it, one frame per input event on a manual clock,
// so a headless run and a run in a real window give the same pictures.
//
//   uidemo [--headless] [--page windows|controls|dialogs|periphery]
//          [--script FILE] [--dump OUT.png] [--list] [--data ROOT]
//          [--language ID] [--555] [--fullscreen] [--splash]
//
// The controls page reads its strips from ROOT/UIGraphics/Controls (by
// default the data root beside the program's folder, ../data).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ControlsPage.h"
#include "DialogsPage.h"
#include "PeripheryPage.h"
#include "SplashDemo.h"
#include "WindowsPage.h"
#include "framework/cGZFrameWorkW95.h"
#include "gamedata/FrameClock.h"
#include "platform/Clock.h"
#include "platform/HostWindow.h"
#include "platform/PngFile.h"
#include "platform/Presenter.h"
#include "ui/cGZMainWindowW95.h"
#include "ui/cGZWinIMEComposition.h"
#include "ui/cGZWinMgrW95.h"
#include "framework/cGZCheatCodeManager.h"
#include "ui/controls/GZConsole.h"
#include "ui/controls/cGZCheatHelpDlg.h"
#include "ui/controls/cGZWinTextEdit2.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZFontSys.h"
#include "ui/graphics/cGZGraphicSystemW95.h"
#include "ui/script/InputScriptPlayer.h"

namespace {

constexpr uint32_t kFrameMs = 10;

struct Options {
    bool headless = false;
    std::string page = "windows";
    std::string script;
    std::string dump;
    bool list = false;
    std::string data;
    int32_t language = 0;
    bool format555 = false;
    bool fullscreen = false;
    bool splash = false;
};

int Usage(const std::string& why) {
    std::cerr << "uidemo: " << why << "\n"
              << "usage: uidemo [--headless] [--page windows|controls|dialogs|periphery] [--script FILE]\n"
              << "              [--dump OUT.png] [--list] [--data ROOT] [--language ID] [--555] [--fullscreen]\n"
              << "              [--splash]\n";
    return 2;
}

void Say(const std::string& line) {
    std::cout << line << "\n";
    std::cout.flush();
}

// The help window's modal run, reported like every dialog of the page.
class HelpView : public cGZCheatHelpView {
public:
    explicit HelpView(cGZCheatHelpDlg& dialog) : cGZCheatHelpView(dialog), mDialog(dialog) {}
    cGZCheatHelpDlg* Dialog() const { return &mDialog; }
    void RunModal() override {
        cGZWinMgrW95* mgr = GZWinMgr();
        if (!mgr) return;
        Say("dialog help " + std::to_string(mgr->DoModal(mgr->GetRootWin(), &mDialog)));
    }

private:
    cGZCheatHelpDlg& mDialog;
};

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--headless") o.headless = true;
        else if (a == "--list") o.list = true;
        else if (a == "--555") o.format555 = true;
        else if (a == "--fullscreen") o.fullscreen = true;
        else if (a == "--splash") o.splash = true;
        else if (a == "--page") {
            if (!value(o.page)) return Usage("--page needs a name");
        } else if (a == "--script") {
            if (!value(o.script)) return Usage("--script needs a file");
        } else if (a == "--dump") {
            if (!value(o.dump)) return Usage("--dump needs a file");
        } else if (a == "--data") {
            if (!value(o.data)) return Usage("--data needs a folder");
        } else if (a == "--language") {
            if (!value(v)) return Usage("--language needs a number");
            char* end = nullptr;
            o.language = static_cast<int32_t>(std::strtol(v.c_str(), &end, 10));
            if (*end) return Usage("--language needs a number");
        } else return Usage("unknown argument '" + a + "'");
    }
    if (o.page != "windows" && o.page != "controls" && o.page != "dialogs" && o.page != "periphery")
        return Usage("unknown page '" + o.page + "'");
    if (o.data.empty()) o.data = (std::filesystem::path(argv[0]).parent_path() / ".." / "data").string();

    std::vector<InputStep> steps;
    if (!o.script.empty()) {
        std::ifstream in(o.script, std::ios::binary);
        if (!in) {
            std::cerr << "uidemo: cannot read " << o.script << "\n";
            return 1;
        }
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        if (!ParseInputScript(text.str(), steps, error)) {
            std::cerr << error << "\n";
            return 2;
        }
    }

    if (o.format555) cGZBuffer::SetScreenFormat(cGZBuffer::kFormat555);
    cGZGraphicSystem::SetRequestedMode(640, 480, 16);
    cGZGraphicSystem::SetWindowed(!o.fullscreen);
    platform::SetManualClock(true);
    platform::AdvanceManualClock(1000);

    const platform::HostWindowOptions hostOptions{"uidemo", 640, 480, platform::WindowFrame::Caption};
    std::string error;
    std::unique_ptr<platform::HostWindow> host = o.headless ? platform::HostWindow::CreateHeadless(hostOptions)
                                                            : platform::HostWindow::CreateSdl(hostOptions, &error);
    if (!host) {
        std::cerr << "uidemo: no window: " << error << "\n";
        return 1;
    }

    int result = 0;
    // The game's fonts from the data root, in the page's language.
    cGZFontSys fonts([&o] { return static_cast<uint32_t>(o.language > 0 ? o.language : 1); });
    fonts.Init();
    fonts.SetFontFolder(cRZString(o.data + "/UIGraphics/Fonts/"));
    GZSetFontSys(&fonts);
    cIGZFont* pageFont = fonts.GetFont({5, 12, 0, 0});
    if (!pageFont) {
        std::cerr << "uidemo: no font in " << o.data << "/UIGraphics/Fonts\n";
        GZSetFontSys(nullptr);
        return 1;
    }
    GetWinCtrlMgr()->Init();
    {
        cGZWinMgrW95 manager;
        cGZFrameWorkProviders providers;
        providers.createGraphicSystem = GZCreateGraphicSystem;
        RZSetFrameWorkProviders(providers);
        manager.RegisterAsProvider();
        cGZFrameWorkW95 framework;
        auto* graphics = dynamic_cast<cGZGraphicSystemW95*>(&framework.GetGraphicsObject());
        graphics->SetFramework(&framework);
        graphics->SetHostWindow(host.get());
        manager.Startup(&framework);
        if (!graphics->Init()) {
            std::cerr << "uidemo: the graphic system did not start\n";
            RZSetFrameWorkProviders({});
            return 1;
        }
        cGZMainWindowW95& main = graphics->GetMainWindow();
        main.SetLanguageIndex(o.language);
        main.SetText(cRZString("uidemo"));
        main.SetFlag(kGZWinVisible, true);
        UiDemoPage* page = nullptr;
        if (o.page == "controls")
            page = new ControlsPage(Say, o.data, pageFont);
        else if (o.page == "dialogs")
            page = new DialogsPage(Say, o.data, pageFont, o.language);
        else if (o.page == "periphery")
            page = new PeripheryPage(Say, o.data, pageFont, o.language);
        else
            page = new WindowsPage(Say);
        page->SetArea(0, 0, 640, 480);
        main.AddChild(page);
        if (!page->Build(error)) {
            std::cerr << "uidemo: " << error << "\n";
            graphics->Shutdown();
            RZSetFrameWorkProviders({});
            GetWinCtrlMgr()->Shutdown();
            fonts.ReleaseFont(pageFont);
            GZSetFontSys(nullptr);
            return 1;
        }
        // The console line and its help window (dialogs page).
        std::unique_ptr<HelpView> help;
        if (o.page == "dialogs" && main.GetCheatCodeManager()) {
            main.SetConsoleEdit(GZCreateConsoleEdit(640));
            auto* dialog = new cGZCheatHelpDlg(*main.GetCheatCodeManager());
            main.AddChild(dialog);
            main.RemoveChild(dialog);
            help = std::make_unique<HelpView>(*dialog);
            main.GetCheatCodeManager()->SetHelpView(help.get());
        }
        SplashDemo splash(Say, o.data, pageFont);
        if (o.splash && !splash.Start(main, error)) {
            std::cerr << "uidemo: " << error << "\n";
            graphics->Shutdown();
            RZSetFrameWorkProviders({});
            GetWinCtrlMgr()->Shutdown();
            fonts.ReleaseFont(pageFont);
            GZSetFontSys(nullptr);
            return 1;
        }
        // The main window offers each message to the input-method handler first.
        framework.SetMessageDispatcher([&main](const platform::QueuedMessage& m) {
            main.Dispatch(m);
        });
        host->SimulateActivation(true);

        if (o.list)
            for (const auto& [name, w] : page->Named()) Say("window " + name + " " + page->UiDemoPage::Describe(*w));
        InputScriptPlayer player(*host, kFrameMs);
        player.SetPrinter([page](const std::string& name) {
            auto it = page->Named().find(name);
            if (it == page->Named().end()) Say("state " + name + " unknown");
            else Say("state " + name + " " + page->Describe(*it->second));
        });
        // One quiet frame first, so the page is on the screen before any input.
        player.AddFrames(1);
        for (const InputStep& s : steps) player.Add(s);
        GZSetFrameClockHook([&player] { player.OnFrame(); });
        framework.Run();
        GZSetFrameClockHook(nullptr);
        splash.Stop();
        if (help) {
            main.GetCheatCodeManager()->SetHelpView(nullptr);
            // Outside the window tree between its runs: destroyed here.
            manager.DestroyWin(help->Dialog());
        }
        if (!o.dump.empty()) {
            std::unique_ptr<platform::Surface> shown = graphics->GetPresenter()->Grab();
            if (!shown || !platform::WritePngFile(o.dump, platform::ImageFromSurface(*shown), &error)) {
                std::cerr << "uidemo: cannot write " << o.dump << ": " << error << "\n";
                result = 1;
            }
        }
        graphics->Shutdown();
        RZSetFrameWorkProviders({});
    }
    GetWinCtrlMgr()->Shutdown();
    fonts.ReleaseFont(pageFont);
    GZSetFontSys(nullptr);
    fonts.Shutdown();
    return result;
}
