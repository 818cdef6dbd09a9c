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
#include "UiDemoScript.h"
#include "WindowsPage.h"
#include "framework/cGZFrameWorkW95.h"
#include "gamedata/FrameClock.h"
#include "platform/Clock.h"
#include "platform/HostWindow.h"
#include "platform/PngFile.h"
#include "platform/Presenter.h"
#include "support/FakeFont.h"
#include "ui/cGZMainWindowW95.h"
#include "ui/cGZWinIMEComposition.h"
#include "ui/cGZWinMgrW95.h"
#include "framework/cGZCheatCodeManager.h"
#include "ui/controls/GZConsole.h"
#include "ui/controls/cGZCheatHelpDlg.h"
#include "ui/controls/cGZWinTextEdit2.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZGraphicSystemW95.h"

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

// Plays the script from the framework's frame step: each step sends one
// input event (or prints), and the framework's loop, or a modal loop inside
// it, dispatches it before the next frame. The manual clock moves 10 ms per
// frame; a wait is that many frames without events.
class ScriptPlayer {
public:
    ScriptPlayer(platform::HostWindow& host, UiDemoPage& page) : mHost(host), mPage(page) {}

    void Add(const UiDemoStep& s) {
        switch (s.kind) {
            case UiDemoStep::Move: Event([=, this] { mHost.SimulateMouseMove(s.x, s.y); }); break;
            case UiDemoStep::Button:
                Event([=, this] { mHost.SimulateMouseButton(s.button, s.press > 0, s.x, s.y); });
                break;
            case UiDemoStep::Click:
            case UiDemoStep::DoubleClick:
                Event([=, this] { mHost.SimulateMouseMove(s.x, s.y); });
                Event([=, this] { mHost.SimulateMouseButton(s.button, true, s.x, s.y); });
                Event([=, this] { mHost.SimulateMouseButton(s.button, false, s.x, s.y); });
                if (s.kind == UiDemoStep::DoubleClick) {
                    Event([=, this] { mHost.SimulateMouseButton(s.button, true, s.x, s.y, 2); });
                    Event([=, this] { mHost.SimulateMouseButton(s.button, false, s.x, s.y, 2); });
                }
                break;
            case UiDemoStep::Wheel:
                Event([=, this] { mHost.SimulateMouseMove(s.x, s.y); });
                Event([=, this] { mHost.SimulateWheel(1); });
                break;
            case UiDemoStep::Drag:
                Event([=, this] { mHost.SimulateMouseMove(s.x, s.y); });
                Event([=, this] { mHost.SimulateMouseButton(1, true, s.x, s.y); });
                for (int i = 1; i <= 8; ++i) {
                    const int32_t x = s.x + (s.x1 - s.x) * i / 8, y = s.y + (s.y1 - s.y) * i / 8;
                    Event([=, this] { mHost.SimulateMouseMove(x, y); });
                }
                Event([=, this] { mHost.SimulateMouseButton(1, false, s.x1, s.y1); });
                break;
            case UiDemoStep::Key:
                if (s.press >= 0) Event([=, this] { mHost.SimulateKey(s.key, true); });
                if (s.press <= 0) Event([=, this] { mHost.SimulateKey(s.key, false); });
                break;
            case UiDemoStep::Char: Event([=, this] { mHost.SimulateText(s.text); }); break;
            case UiDemoStep::Compose: {
                int32_t characters = 0;
                for (unsigned char c : s.text) characters += (c & 0xC0) != 0x80;
                const int32_t cursor = std::min(s.x, characters);
                Event([=, this] { mHost.SimulateComposition(s.text, cursor, characters - cursor); });
                break;
            }
            case UiDemoStep::Commit: Event([=, this] { mHost.SimulateText(s.text); }); break;
            case UiDemoStep::Wait:
                for (int32_t t = 0; t < s.ms; t += kFrameMs) Event([] {});
                break;
            case UiDemoStep::Activate: Event([=, this] { mHost.SimulateActivation(s.on); }); break;
            case UiDemoStep::Print:
                // Printed at the start of the next frame, after what the
                // events before it queued has been delivered.
                mActions.push_back({[=, this] { Print(s.text); }, true});
                break;
        }
    }

    // The frame step's hook: the clock moves on and the next event goes out;
    // after the last one the program is asked to quit.
    void OnFrame() {
        FrameClock::Global().TickAt(platform::TimeMs());
        if (mbStarted) platform::AdvanceManualClock(kFrameMs);
        mbStarted = true;
        for (auto& print : mPendingPrints) print();
        mPendingPrints.clear();
        while (mNext < mActions.size() && mActions[mNext].isPrint) mPendingPrints.push_back(mActions[mNext++].run);
        if (!mPendingPrints.empty()) return;
        if (mNext < mActions.size()) {
            mActions[mNext++].run();
            return;
        }
        if (!mbQuitting) platform::MessageQueue::Current()->PostQuit(0);
        mbQuitting = true;
    }

private:
    struct Action {
        std::function<void()> run;
        bool isPrint = false;
    };
    template <class F>
    void Event(F&& f) {
        mActions.push_back({std::forward<F>(f)});
    }
    void Print(const std::string& name) {
        auto it = mPage.Named().find(name);
        if (it == mPage.Named().end()) Say("state " + name + " unknown");
        else Say("state " + name + " " + mPage.Describe(*it->second));
    }

    platform::HostWindow& mHost;
    UiDemoPage& mPage;
    std::vector<Action> mActions;
    size_t mNext = 0;
    std::vector<std::function<void()>> mPendingPrints;
    bool mbStarted = false;
    bool mbQuitting = false;
};

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

    std::vector<UiDemoStep> steps;
    if (!o.script.empty()) {
        std::ifstream in(o.script, std::ios::binary);
        if (!in) {
            std::cerr << "uidemo: cannot read " << o.script << "\n";
            return 1;
        }
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        if (!ParseUiDemoScript(text.str(), steps, error)) {
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
    // The stand-in font until the font service lands.
    tova_test::FakeFontSys fonts;
    GZSetFontSys(&fonts);
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
            page = new ControlsPage(Say, o.data, fonts.GetFont({1, 12, 0, 0}));
        else if (o.page == "dialogs")
            page = new DialogsPage(Say, o.data, fonts.GetFont({1, 12, 0, 0}), o.language);
        else if (o.page == "periphery")
            page = new PeripheryPage(Say, o.data, fonts.GetFont({1, 12, 0, 0}), o.language);
        else
            page = new WindowsPage(Say);
        page->SetArea(0, 0, 640, 480);
        main.AddChild(page);
        if (!page->Build(error)) {
            std::cerr << "uidemo: " << error << "\n";
            graphics->Shutdown();
            RZSetFrameWorkProviders({});
            GetWinCtrlMgr()->Shutdown();
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
        SplashDemo splash(Say, o.data, fonts.GetFont({1, 12, 0, 0}));
        if (o.splash && !splash.Start(main, error)) {
            std::cerr << "uidemo: " << error << "\n";
            graphics->Shutdown();
            RZSetFrameWorkProviders({});
            GetWinCtrlMgr()->Shutdown();
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
        ScriptPlayer player(*host, *page);
        // One quiet frame first, so the page is on the screen before any input.
        UiDemoStep first;
        first.kind = UiDemoStep::Wait;
        first.ms = kFrameMs;
        player.Add(first);
        for (const UiDemoStep& s : steps) player.Add(s);
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
    GZSetFontSys(nullptr);
    return result;
}
