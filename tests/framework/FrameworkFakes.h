// Recording stand-ins for the services around the framework, and a test
// application that quits with a chosen code after a number of ticks.
#pragma once

#include <string>
#include <vector>

#include "framework/cGZApp.h"
#include "framework/cGZFrameWork.h"
#include "framework/cGZFrameWorkNeighbours.h"

namespace fakes {

using Log = std::vector<std::string>;

// Every fake writes "<what> <name>" lines here.
inline Log& TheLog() {
    static Log log;
    return log;
}

class RecordingService : public cGZSystemService {
public:
    RecordingService(int32_t id, std::string name, bool initResult = true, bool shutdownResult = true)
        : cGZSystemService(id), mName(std::move(name)), mInit(initResult), mShutdown(shutdownResult) {}
    bool Init() override {
        TheLog().push_back("init " + mName);
        return mInit;
    }
    bool OnTick(uint32_t n) override {
        TheLog().push_back("tick " + mName + " " + std::to_string(n));
        return true;
    }
    bool Shutdown() override {
        TheLog().push_back("shutdown " + mName);
        return mShutdown;
    }

private:
    std::string mName;
    bool mInit, mShutdown;
};

class RecordingGraphics : public cIGZFrameWorkGraphics {
public:
    int32_t GetServiceID() const override { return kGZGraphicSystemServiceID; }
    void SetRunning(bool) override {}
    bool Init() override { return Note("init graphics"); }
    bool OnTick(uint32_t n) override { return Note("tick graphics " + std::to_string(n)); }
    bool Shutdown() override { return Note("shutdown graphics"); }
    bool Update() override { return Note("update graphics"); }
    int HoldDrawing() override {
        Note("hold");
        return ++hold;
    }
    int ReleaseDrawing() override { return --hold; }
    void SetShuttingDown() override { Note("graphics shutting down"); }
    void ReleaseExclusiveMode() override { Note("release exclusive"); }
    void DestroyMainWindow() override { Note("destroy main window"); }
    void ShowWarningBox(const char* text, const char* caption) override {
        Note(std::string("warning ") + caption + ": " + text);
    }
    int hold = 0;

private:
    bool Note(const std::string& s) {
        TheLog().push_back(s);
        return true;
    }
};

class TestApp : public cGZApp {
public:
    // Quits with quitCode once it has ticked quitAfter times (never when 0).
    explicit TestApp(int quitAfter = 0, int quitCode = 3) : cGZApp("TestApp"), mQuitAfter(quitAfter), mQuitCode(quitCode) {}
    ~TestApp() override { TheLog().push_back("app deleted"); }

    bool Init() override { return Note("init app"); }
    bool Shutdown() override { return Note("shutdown app"); }
    bool AppInit() override { return Note("app init"); }
    bool PostFrameworkInit() override { return Note("post framework init"); }
    bool PostRun() override { return Note("post run"); }
    bool IsBatchMode() override { return batch; }
    bool Tick() override {
        ++ticks;
        if (mQuitAfter && ticks == mQuitAfter) GetFramework()->Quit(mQuitCode);
        return true;
    }
    bool OnCallbackCrash() override {
        TheLog().push_back(std::string("Crash in ") + GetCallbackCrash());
        return true;
    }
    int DoMessageBox(const char*, const char*, int, int) override { return 0; }
    bool RestrictsConsole() override { return true; }
    bool PreTranslateMessage(platform::QueuedMessage* message) override {
        if (message) seen.push_back(message->message);
        return consumeMessages && message;
    }

    bool batch = false;
    bool consumeMessages = false;
    int ticks = 0;
    std::vector<uint32_t> seen;

private:
    bool Note(const std::string& s) {
        TheLog().push_back(s);
        return true;
    }
    int mQuitAfter, mQuitCode;
};

}  // namespace fakes
