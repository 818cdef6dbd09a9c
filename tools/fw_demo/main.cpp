// Runs the framework's real main loop with a demo application. A repeating
// callback timer on the timer thread reports, every 50 ms, how many idle
// steps and service ticks have run; on its third call (--quit-after N for
// another count) it asks the framework to quit with code 3, and the process
// exits with the code the framework returns.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/Framework.h"
#include "gamedata/FrameClock.h"

namespace {

class DemoService : public cGZSystemService {
public:
    DemoService() : cGZSystemService(10) {}
    bool Init() override {
        std::printf("demo service started\n");
        return true;
    }
    bool OnTick(uint32_t tickCount) override {
        mTicks = tickCount + 1;
        return true;
    }
    bool Shutdown() override {
        std::printf("demo service stopped after %u ticks\n", mTicks.load());
        return true;
    }
    std::atomic<uint32_t> mTicks{0};
};

class DemoApp : public cGZApp {
public:
    explicit DemoApp(int quitAfter) : cGZApp("fw_demo"), mQuitAfter(quitAfter) { AddService(&mService); }

    bool Init() override {
        mTimer.SetCallback(&DemoApp::OnTimer, this);
        return mTimer.StartRepeating(50);
    }
    bool Shutdown() override { return mTimer.Stop(); }
    bool Tick() override {
        ++mIdleSteps;
        return true;
    }
    int DoMessageBox(const char* text, const char* caption, int, int) override {
        std::printf("[%s] %s\n", caption, text);
        return 0;
    }
    bool RestrictsConsole() override { return true; }

private:
    // Runs on the timer thread.
    static void OnTimer(void* self) {
        auto* app = static_cast<DemoApp*>(self);
        int call = ++app->mTimerCalls;
        std::printf("timer call %d: %u idle steps, %u service ticks, frame clock at %u ms\n", call,
                    app->mIdleSteps.load(), app->mService.mTicks.load(), FrameClock::Global().GetTime());
        if (call == app->mQuitAfter) {
            std::printf("quitting with code 3\n");
            app->GetFramework()->Quit(3);
        }
    }

    DemoService mService;
    cRZCallbackTimer mTimer;
    int mQuitAfter;
    std::atomic<int> mTimerCalls{0};
    std::atomic<uint32_t> mIdleSteps{0};
};

}  // namespace

int main(int argc, char** argv) {
    int quitAfter = 3;
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quit-after") == 0 && i + 1 < argc) {
            quitAfter = std::max(1, std::atoi(argv[++i]));
            continue;
        }
        if (!text.empty()) text += ' ';
        text += argv[i];
    }
    RZSetAppFactory([quitAfter] { return new DemoApp(quitAfter); });
    RZSetAppDestroyer([](cGZApp* app) { delete app; });
    GZSetFrameClockHook([] { FrameClock::Global().Tick(); });
    cRZCmdLine::SetSwitchRestriction(true);
    int code = FrameworkMain(cRZCmdLine(text.c_str()));
    std::printf("framework ended with code %d\n", code);
    return code;
}
