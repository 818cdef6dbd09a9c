#include "framework/cGZFrameWorkW95.h"

#include <cstdio>
#include <cstdlib>

#include "framework/TP.h"
#include "framework/cGZApp.h"
#include "platform/Clock.h"

namespace {

// Message 0x3E4 only ever comes from outside the program; a switch drops it.
constexpr uint32_t kMsgDdeAck = 0x3E4;

// Stand-ins for when the program registered no real neighbour.
class cGZNullGraphicSystem : public cIGZFrameWorkGraphics {
public:
    int32_t GetServiceID() const override { return kGZGraphicSystemServiceID; }
    void SetRunning(bool) override {}
    bool Init() override { return true; }
    bool OnTick(uint32_t) override { return true; }
    bool Shutdown() override { return true; }
    bool Update() override { return true; }
    int HoldDrawing() override { return ++mnHold; }
    int ReleaseDrawing() override { return --mnHold; }
    void SetShuttingDown() override {}
    void ReleaseExclusiveMode() override {}
    void DestroyMainWindow() override {}
    void ShowWarningBox(const char* text, const char* caption) override {
        std::fprintf(stderr, "%s: %s\n", caption, text);
    }

private:
    int mnHold = 0;
};

class cGZNullFontSystem : public cIGZSystemService {
public:
    int32_t GetServiceID() const override { return kGZFontSystemServiceID; }
    void SetRunning(bool) override {}
    bool Init() override { return true; }
    bool OnTick(uint32_t) override { return false; }
    bool Shutdown() override { return true; }
};

}  // namespace

cGZFrameWorkW95::cGZFrameWorkW95() {
    const cGZFrameWorkProviders& providers = RZGetFrameWorkProviders();
    if (providers.createGraphicSystem) mpGraphics.reset(providers.createGraphicSystem());
    if (!mpGraphics) mpGraphics = std::make_unique<cGZNullGraphicSystem>();
    if (providers.createFontSystem) mpFontSystem.reset(providers.createFontSystem());
    if (!mpFontSystem) mpFontSystem = std::make_unique<cGZNullFontSystem>();
}

cGZFrameWorkW95::~cGZFrameWorkW95() = default;

bool cGZFrameWorkW95::Init() {
    mServiceList.Add(mpFontSystem.get());
    if (cIGZWinMgr* winMgr = GetWindowManager()) winMgr->Startup(this);
    return InitCommon(mpGraphics.get());
}

void cGZFrameWorkW95::Shutdown() {
    mpGraphics->SetShuttingDown();
    cGZFrameWork::Shutdown();
}

void cGZFrameWorkW95::Exit(int exitCode) {
    mpGraphics->ReleaseExclusiveMode();
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

void cGZFrameWorkW95::HandleFatalException() {
    mpGraphics->HoldDrawing();
    GZSetShuttingDown(true);
    mpGraphics->DestroyMainWindow();
    platform::SleepMs(mnFatalDelayMs);
    mpGraphics->ShowWarningBox("??? Unknown Exception", "Exception Encountered");
    std::exit(-1);
}

void cGZFrameWorkW95::Run() {
    cGZApp* app = mpApp;
    platform::MessageQueue& queue = *mpMainQueue;
    for (;;) {
        std::optional<platform::QueuedMessage> message = queue.Peek(true);
        if (!message) {
            if (app) app->PreTranslateMessage(nullptr);
            Tick();
            continue;
        }
        if (message->message == platform::kMsgQuit) {
            if (mnQuitIgnoreCount <= 0) {
                RZSetExitCode(static_cast<int32_t>(message->wParam));
                return;
            }
            --mnQuitIgnoreCount;
        }
        if (GZGetMessageDiscard() && message->message == kMsgDdeAck) continue;
        TP::Get().AddSample("FW::DispatchMessage");
        if (!app || !app->PreTranslateMessage(&*message))
            if (mDispatcher) mDispatcher(*message);
    }
}
