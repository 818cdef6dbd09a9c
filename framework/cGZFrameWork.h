// The framework object: the one object that owns the running program (its
// command line, service list, message server and queues, the neighbours'
// services and the application), with the globals that go with it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/cGZFrameWorkNeighbours.h"
#include "framework/cGZMessageQueueManager.h"
#include "framework/cGZMessageServer.h"
#include "framework/cGZSystemServiceList.h"
#include "framework/cRZCmdLine.h"
#include "framework/cRZLanguageManager.h"
#include "framework/cRZRefCount.h"
#include "framework/cRZString.h"
#include "platform/MessageQueue.h"

class cIGZApp;
class cGZApp;

class cIGZFrameWork {
public:
    virtual cIGZApp* GetApp() = 0;
    virtual cIGZLanguageManager* GetLanguageManager() = 0;
    virtual cIGZMessageQueueManager* GetMessageQueueManager() = 0;
    virtual cIGZMessageServer* GetMessageServer() = 0;
    virtual cIGZSystemService* GetFontSystem() = 0;
    virtual cIGZSystemService* GetSoundSystem() = 0;
    virtual cIGZWinMgr* GetWindowManager() = 0;
    virtual cIGZGraphicSystem* GetGraphicSystem() = 0;
    virtual void HandleFatalException() = 0;
    virtual void Quit(int exitCode) = 0;
    virtual void Exit(int exitCode) = 0;
    virtual bool Init() = 0;
    virtual void Shutdown() = 0;
    virtual cRZCmdLine& GetCommandLine() = 0;
    virtual cGZSystemServiceList& GetServiceList() = 0;
    virtual void Tick() = 0;
    virtual void Run() = 0;

protected:
    virtual ~cIGZFrameWork() = default;
};

class cGZFrameWork : public cIGZFrameWork, public cRZUnknown {
public:
    cGZFrameWork();
    ~cGZFrameWork() override;
    cGZFrameWork(const cGZFrameWork&) = delete;
    cGZFrameWork& operator=(const cGZFrameWork&) = delete;

    cIGZApp* GetApp() override;
    cIGZLanguageManager* GetLanguageManager() override { return &mLanguageManager; }
    cIGZMessageQueueManager* GetMessageQueueManager() override { return &mQueueManager; }
    cIGZMessageServer* GetMessageServer() override { return &mMessageServer; }
    cIGZSystemService* GetFontSystem() override { return nullptr; }
    cIGZSystemService* GetSoundSystem() override { return mpSoundSystem; }
    cIGZWinMgr* GetWindowManager() override { return nullptr; }
    cIGZGraphicSystem* GetGraphicSystem() override { return nullptr; }
    void HandleFatalException() override {}
    void Quit(int exitCode) override;
    void Exit(int exitCode) override { Quit(exitCode); }
    bool Init() override;
    // Shuts every service down; throws cRZException "Error shutting down
    // available services" when one fails.
    void Shutdown() override;
    cRZCmdLine& GetCommandLine() override { return mCmdLine; }
    cGZSystemServiceList& GetServiceList() override { return mServiceList; }
    // One idle step of the main loop.
    void Tick() override;
    void Run() override {}

    cGZApp* GetAppObject() { return mpApp; }
    // The application the factory made; the framework holds one reference.
    void SetApp(cGZApp* app);
    // Forgets the application without releasing it (its destroyer deletes it).
    void DetachApp();
    bool IsSoundEnabled() const { return mbSoundEnabled; }
    void SetSoundEnabled(bool enabled) { mbSoundEnabled = enabled; }
    int32_t GetQuitIgnoreCount() const { return mnQuitIgnoreCount; }
    void SetQuitIgnoreCount(int32_t count) { mnQuitIgnoreCount = count; }
    cGZMessageServer& GetMessageServerObject() { return mMessageServer; }
    // The message queue of the thread that built the framework (the main
    // thread): the main loop reads it, Quit posts into it.
    platform::MessageQueue& GetMainQueue() { return *mpMainQueue; }
    uint32_t GetIdleStepCount() const { return mnIdleStep; }
    uint32_t GetServiceTickCount() const { return mnServiceTick; }

protected:
    // Adds the queue manager, the application, its services, the sound
    // system (when enabled) and the given graphic system, initialises the
    // language manager, then every listed service.
    bool InitCommon(cIGZSystemService* graphicSystem);

    cGZApp* mpApp = nullptr;
    cGZSystemServiceList mServiceList;
    cGZMessageQueueManager mQueueManager;
    cGZMessageServer mMessageServer;
    cRZCmdLine mCmdLine;
    cIGZSystemService* mpSoundSystem = nullptr;
    bool mbSoundEnabled = true;
    // Not a listed service: Init initialises it directly.
    cRZLanguageManager mLanguageManager;
    int32_t mnQuitIgnoreCount = 0;
    std::shared_ptr<platform::MessageQueue> mpMainQueue;
    uint32_t mnIdleStep = 0;
    uint32_t mnServiceTick = 0;
};

// The framework pointer: valid from the start of FrameworkMain until its end.
cGZFrameWork* RZGetFramework();
void RZSetFramework(cGZFrameWork* framework);

// The application factory and destroyer that the program entry registers.
using cGZAppFactory = std::function<cGZApp*()>;
using cGZAppDestroyer = std::function<void(cGZApp*)>;
void RZSetAppFactory(cGZAppFactory factory);
void RZSetAppDestroyer(cGZAppDestroyer destroyer);
const cGZAppFactory& RZGetAppFactory();
const cGZAppDestroyer& RZGetAppDestroyer();

// The exit code that the main loop stored.
int32_t RZGetExitCode();
void RZSetExitCode(int32_t code);

// A background callback that caught an exception reports its name here; the
// application hears of it through OnCallbackCrash.
void ReportCallbackCrash(const char* name);
// Null while nothing crashed; a name handed out stays valid for good.
const char* GetCallbackCrash();
void ClearCallbackCrash();

// Message-box button labels 1 to 7 ("Cancel", "No", "OK", "Yes", three empty)
// and the accelerator letters of labels 4 ("y") and 2 ("n").
void SetButtonLabel(int index, const cRZString& label);
const cRZString& GetButtonLabel(int index);
char GetButtonHotkey(int index);
void SetButtonHotkey(int index, char key);

// The application-active flag (cleared while the program is in the
// background: the idle step then waits up to 100 ms for input), the discard
// switch for message 0x3E4, and the shutting-down mark of a fatal exception.
void GZSetAppActive(bool active);
bool GZIsAppActive();
void GZSetMessageDiscard(bool on);
bool GZGetMessageDiscard();
bool GZIsShuttingDown();
void GZSetShuttingDown(bool on);

// Advances the game's global frame clock at the start of every idle step
// (the clock lives in a higher layer, which sets the hook).
void GZSetFrameClockHook(std::function<void()> hook);
