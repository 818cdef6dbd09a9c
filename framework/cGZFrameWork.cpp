#include "framework/cGZFrameWork.h"

#include <atomic>
#include <mutex>
#include <set>
#include <string>

#include "framework/cGZApp.h"
#include "framework/TP.h"
#include "framework/cRZException.h"

namespace {

cGZFrameWork* gpFramework = nullptr;
cGZAppFactory gAppFactory;
cGZAppDestroyer gAppDestroyer;
std::atomic<int32_t> gExitCode{0};

// Every name reported is kept for the life of the program (there are a
// handful), so a name handed out stays valid whatever is reported later.
std::mutex gCrashMutex;
std::set<std::string> gCrashNames;
const char* gpCrashName = nullptr;

cRZString gButtonLabels[7] = {cRZString("Cancel"), cRZString("No"), cRZString("OK"), cRZString("Yes"),
                              cRZString(),         cRZString(),     cRZString()};
char gHotkeyYes = 'y';
char gHotkeyNo = 'n';

std::atomic<bool> gAppActive{true};
std::atomic<bool> gDiscardDdeAck{true};
std::atomic<bool> gShuttingDown{false};
std::function<void()> gFrameClockHook;

}  // namespace

cGZFrameWork::cGZFrameWork() : mpMainQueue(platform::MessageQueue::Current()) {
    const cGZFrameWorkProviders& providers = RZGetFrameWorkProviders();
    // The sound system object exists even under "nosound"; it is then just
    // never registered as a service.
    if (providers.createSoundSystem) mpSoundSystem = providers.createSoundSystem();
}

cGZFrameWork::~cGZFrameWork() {
    mServiceList.Clear();
    if (mpApp) {
        cGZApp* app = mpApp;
        mpApp = nullptr;
        app->Release();
    }
    delete mpSoundSystem;
}

cIGZApp* cGZFrameWork::GetApp() { return mpApp; }

void cGZFrameWork::SetApp(cGZApp* app) {
    if (app) app->AddRef();
    mpApp = app;
}

void cGZFrameWork::DetachApp() { mpApp = nullptr; }

void cGZFrameWork::Quit(int exitCode) { mpMainQueue->PostQuit(exitCode); }

bool cGZFrameWork::Init() { return InitCommon(nullptr); }

bool cGZFrameWork::InitCommon(cIGZSystemService* graphicSystem) {
    mServiceList.Add(&mQueueManager);
    if (mpApp) {
        mServiceList.Add(mpApp);
        mServiceList.AddAll(mpApp->GetAppServiceList());
    }
    if (!mpApp || !mpApp->IsBatchMode()) {
        if (mbSoundEnabled && mpSoundSystem) mServiceList.Add(mpSoundSystem);
        if (graphicSystem) mServiceList.Add(graphicSystem);
    }
    mLanguageManager.Init();
    return mServiceList.InitAll();
}

void cGZFrameWork::Shutdown() {
    if (!mServiceList.ShutdownAll()) throw cRZException("Error shutting down available services");
    delete mpSoundSystem;
    mpSoundSystem = nullptr;
}

void cGZFrameWork::Tick() {
    if (gFrameClockHook) gFrameClockHook();
    // In the background, give the machine back: wait for input or a posted
    // message, at most 100 ms.
    if (!GZIsAppActive()) mpMainQueue->Wait(100);
    if (mpApp) mpApp->Tick();
    uint32_t step = mnIdleStep++;
    if (step % 4 == 0) mServiceList.TickAll(mnServiceTick++);
    if (cIGZGraphicSystem* graphics = GetGraphicSystem()) graphics->Update();
    TP::Get().PerTickProcessing();
}

cGZFrameWork* RZGetFramework() { return gpFramework; }
void RZSetFramework(cGZFrameWork* framework) { gpFramework = framework; }

void RZSetAppFactory(cGZAppFactory factory) { gAppFactory = std::move(factory); }
void RZSetAppDestroyer(cGZAppDestroyer destroyer) { gAppDestroyer = std::move(destroyer); }
const cGZAppFactory& RZGetAppFactory() { return gAppFactory; }
const cGZAppDestroyer& RZGetAppDestroyer() { return gAppDestroyer; }

int32_t RZGetExitCode() { return gExitCode.load(); }
void RZSetExitCode(int32_t code) { gExitCode.store(code); }

void ReportCallbackCrash(const char* name) {
    {
        std::lock_guard<std::mutex> lock(gCrashMutex);
        gpCrashName = gCrashNames.insert(name ? name : "").first->c_str();
    }
    if (gpFramework)
        if (cIGZApp* app = gpFramework->GetApp()) app->OnCallbackCrash();
}

const char* GetCallbackCrash() {
    std::lock_guard<std::mutex> lock(gCrashMutex);
    return gpCrashName;
}

void ClearCallbackCrash() {
    std::lock_guard<std::mutex> lock(gCrashMutex);
    gpCrashName = nullptr;
}

void SetButtonLabel(int index, const cRZString& label) {
    if (index >= 1 && index <= 7) gButtonLabels[index - 1] = label;
}

const cRZString& GetButtonLabel(int index) {
    if (index < 1 || index > 7) index = 1;
    return gButtonLabels[index - 1];
}

char GetButtonHotkey(int index) {
    if (index == 4) return gHotkeyYes;
    if (index == 2) return gHotkeyNo;
    return 'y';
}

void SetButtonHotkey(int index, char key) {
    if (index == 4) gHotkeyYes = key;
    if (index == 2) gHotkeyNo = key;
}

void GZSetAppActive(bool active) { gAppActive = active; }
bool GZIsAppActive() { return gAppActive; }
void GZSetMessageDiscard(bool on) { gDiscardDdeAck = on; }
bool GZGetMessageDiscard() { return gDiscardDdeAck; }
bool GZIsShuttingDown() { return gShuttingDown; }
void GZSetShuttingDown(bool on) { gShuttingDown = on; }
void GZSetFrameClockHook(std::function<void()> hook) { gFrameClockHook = std::move(hook); }
