// tova: the game.
//
//   tova [game switches] [--headless] [--list] [--script FILE] [--dump OUT.png]
//
// Runs in the data root (the working folder). The "--" words belong to this
// program and are taken off before the framework's command line is made.
// Headless, the window lives in memory, the clock moves 10 ms a frame, there
// is no sound, and boxes print `box "TEXT" "CAPTION"` and answer their
// default. A script plays input lines as uidemo's do, plus `ticks N`,
// `answer ID`, `press NAME` and `print NAME` (language, screen, fullscreen);
// each start-up step prints `step CODE TEXT`; the last frame is dumped.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/FrameworkMain.h"
#include "framework/cGZFrameWork.h"
#include "platform/Clock.h"
#include "platform/HostWindow.h"
#include "platform/PngFile.h"
#include "platform/Presenter.h"
#include "shell/ShellPaths.h"
#include "shell/cTovaApp.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/graphics/cGZFontSys.h"
#include "ui/graphics/cGZGraphicSystemW95.h"
#include "ui/script/InputScriptPlayer.h"

namespace {

constexpr uint32_t kTovaFrameMs = 10;

void Say(const std::string& line) {
    std::cout << line << "\n";
    std::cout.flush();
}

int Usage(const std::string& why) {
    std::cerr << "tova: " << why << "\n"
              << "usage: tova [game switches] [--headless] [--list] [--script FILE] [--dump OUT.png]\n";
    return 2;
}

std::string StepCodeText(uint32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) text += static_cast<char>((code >> shift) & 0xFF);
    return text;
}

bool IsWholeNumber(const std::string& word) {
    if (word.empty() || word.size() > 9) return false;
    for (char c : word)
        if (c < '0' || c > '9') return false;
    return true;
}

// The windows a script may name, with the state a print shows.
struct NamedWindow {
    std::string name;
    cGZWin* (*find)();
};

cGZWin* TovaMainView() { return cTovaApp::Get() ? cTovaApp::Get()->MainView() : nullptr; }

const NamedWindow kTovaWindows[] = {{"mainview", TovaMainView}};

}  // namespace

int main(int argc, char** argv) {
    bool headless = false, list = false;
    std::string script, dump, game;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--headless") headless = true;
        else if (a == "--list") list = true;
        else if (a == "--script" || a == "--dump") {
            if (i + 1 >= argc) return Usage(a + " needs a file");
            (a == "--script" ? script : dump) = argv[++i];
        } else if (a.rfind("--", 0) == 0) return Usage("unknown argument '" + a + "'");
        else game += (game.empty() ? "" : " ") + a;
    }

    std::vector<InputStep> steps;
    if (!script.empty()) {
        std::ifstream in(script, std::ios::binary);
        if (!in) {
            std::cerr << "tova: cannot read " << script << "\n";
            return 1;
        }
        std::stringstream text;
        text << in.rdbuf();
        const InputScriptVerbs verbs = {
            {"ticks", [](const std::vector<std::string>& w) { return w.size() == 1 && IsWholeNumber(w[0]) ? "" : "expected N"; }},
            {"answer", [](const std::vector<std::string>& w) { return w.size() == 1 && IsWholeNumber(w[0]) ? "" : "expected ID"; }},
            {"press", [](const std::vector<std::string>& w) { return w.size() == 1 ? "" : "expected a window name"; }},
        };
        std::string error;
        if (!ParseInputScript(text.str(), steps, error, verbs)) {
            std::cerr << error << "\n";
            return 2;
        }
    }

    // A scripted run, headless or in a window, keeps to a clock of its own so
    // both give the same pictures.
    const bool scripted = headless || !script.empty();
    if (scripted) {
        platform::SetManualClock(true);
        platform::AdvanceManualClock(1000);
    }
    const cRZCmdLine commandLine(game.c_str());
    const bool fullscreen = !commandLine.FindSwitch("w", nullptr, false);
    const bool large = commandLine.FindSwitch("r1024x768", nullptr, false);
    const platform::HostWindowOptions hostOptions{"Ziv Tova", large ? 1024 : 800, large ? 768 : 600,
                                                  platform::WindowFrame::Caption};
    std::string error;
    std::unique_ptr<platform::HostWindow> host = headless ? platform::HostWindow::CreateHeadless(hostOptions)
                                                          : platform::HostWindow::CreateSdl(hostOptions, &error);
    if (!host) {
        std::cerr << "tova: no window: " << error << "\n";
        return 1;
    }

    cTovaApp::Display display;
    if (headless) {
        display.step = [](uint32_t code, const char* text) { Say("step " + StepCodeText(code) + " " + text); };
        // Boxes answer their first button; a negative kind is an answer the
        // script gave.
        display.box = [](const std::string& text, const std::string& caption, int kind) {
            Say("box \"" + text + "\" \"" + caption + "\"");
            if (kind < 0) return -1 - kind;
            return kind == 2 || kind == 3 ? 4 : 3;
        };
        tova::SetFatalBoxHandler([](const std::string& text, const std::string& caption) {
            Say("box \"" + text + "\" \"" + caption + "\"");
        });
    }
    cTovaApp::SetDisplay(display);
    cTovaApp::SetHostWindow(host.get());

    cGZWinMgrW95 manager;
    cGZFrameWorkProviders providers;
    providers.createGraphicSystem = GZCreateGraphicSystem;
    RZSetFrameWorkProviders(providers);
    cGZFontSys::RegisterProvider();
    manager.RegisterAsProvider();
    RZSetAppFactory([] { return new cTovaApp("Tova"); });
    RZSetAppDestroyer([](cGZApp* app) { delete app; });

    InputScriptPlayer player(*host, kTovaFrameMs);
    player.SetPrinter([fullscreen](const std::string& name) {
        cTovaApp* app = cTovaApp::Get();
        if (!app) return;
        if (name == "language") Say("state language " + std::to_string(app->GetLanguage()));
        else if (name == "screen")
            Say("state screen " + std::to_string(app->ScreenWidth()) + " " + std::to_string(app->ScreenHeight()));
        else if (name == "fullscreen") Say(std::string("state fullscreen ") + (fullscreen ? "1" : "0"));
        else Say("state " + name + " unknown");
    });
    player.SetExtraHandler([](const InputStep& s, InputScriptPlayer& p) {
        if (s.text == "ticks") p.AddFrames(std::stoi(s.words[0]));
        else if (s.text == "answer") {
            const int32_t answer = std::stoi(s.words[0]);
            p.AddEvent([answer] {
                if (cTovaApp* app = cTovaApp::Get()) app->SetNextAnswer(answer);
            });
        } else if (s.text == "press") {
            const std::string name = s.words[0];
            p.AddClickAt([name] {
                for (const NamedWindow& w : kTovaWindows)
                    if (w.name == name)
                        if (cGZWin* win = w.find()) {
                            const cRZRect& a = win->GetArea();
                            return std::make_pair((a.left + a.right) / 2, (a.top + a.bottom) / 2);
                        }
                return std::make_pair(-1, -1);
            });
        }
    });
    player.AddFrames(1);
    for (const InputStep& s : steps) player.Add(s);

    // The script starts once start-up has finished, so the same script meets
    // the same screen however long the loading thread took.
    bool listed = false;
    GZSetFrameClockHook([&] {
        cTovaApp* app = cTovaApp::Get();
        if (!scripted) return;
        if (!app || app->IsStartingUp()) {
            platform::AdvanceManualClock(kTovaFrameMs);
            return;
        }
        if (list && !listed) {
            listed = true;
            for (const NamedWindow& w : kTovaWindows)
                if (cGZWin* win = w.find(); win && win->IsVisibleUpward()) {
                    const cRZRect& a = win->GetArea();
                    Say("window " + w.name + " " + std::to_string(a.left) + " " + std::to_string(a.top) + " " +
                        std::to_string(a.right) + " " + std::to_string(a.bottom));
                }
        }
        player.OnFrame();
    });
    host->SimulateActivation(true);

    // Dumped while the framework is still up: after the main loop, before
    // the services shut down.
    std::string dumpError;
    bool dumped = true;
    cTovaApp::SetAfterRun([&dump, &dumpError, &dumped](cTovaApp& app) {
        if (dump.empty()) return;
        cGZGraphicSystemW95* graphics = app.Graphics();
        std::unique_ptr<platform::Surface> shown =
            graphics && graphics->GetPresenter() ? graphics->GetPresenter()->Grab() : nullptr;
        if (!shown || !platform::WritePngFile(dump, platform::ImageFromSurface(*shown), &dumpError)) dumped = false;
    });

    const int result = FrameworkMain(commandLine);
    GZSetFrameClockHook(nullptr);
    cTovaApp::SetAfterRun(nullptr);
    RZSetFrameWorkProviders({});
    if (!dumped) {
        std::cerr << "tova: cannot write " << dump << ": " << dumpError << "\n";
        return 1;
    }
    return result;
}
