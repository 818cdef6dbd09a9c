// Runs the framework with a demo application that quits with code 3 after a
// number of idle steps (--quit-after N, default 12). A demo service prints
// each of its ticks, so the output shows the services ticking on every fourth
// idle step. The process exits with the framework's exit code.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/Framework.h"

namespace {

class DemoService : public cGZSystemService {
public:
    DemoService() : cGZSystemService(10) {}
    bool Init() override {
        std::printf("demo service started\n");
        return true;
    }
    bool OnTick(uint32_t tickCount) override {
        std::printf("  service tick %u\n", tickCount);
        return true;
    }
    bool Shutdown() override {
        std::printf("demo service stopped\n");
        return true;
    }
};

class DemoApp : public cGZApp {
public:
    explicit DemoApp(int quitAfter) : cGZApp("fw_demo"), mQuitAfter(quitAfter) { AddService(&mService); }

    bool Init() override { return true; }
    bool Shutdown() override { return true; }
    bool Tick() override {
        ++mTicks;
        std::printf("idle step %d\n", mTicks);
        if (mTicks == mQuitAfter) {
            std::printf("quitting with code 3\n");
            GetFramework()->Quit(3);
        }
        return true;
    }
    int DoMessageBox(const char* text, const char* caption, int, int) override {
        std::printf("[%s] %s\n", caption, text);
        return 0;
    }
    bool RestrictsConsole() override { return true; }

private:
    DemoService mService;
    int mQuitAfter;
    int mTicks = 0;
};

}  // namespace

int main(int argc, char** argv) {
    int quitAfter = 12;
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
    cRZCmdLine::SetSwitchRestriction(true);
    int code = FrameworkMain(cRZCmdLine(text.c_str()));
    std::printf("framework ended with code %d\n", code);
    return code;
}
