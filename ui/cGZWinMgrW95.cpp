#include "ui/cGZWinMgrW95.h"

#include <algorithm>
#include <cstdio>

#include "framework/cCheatCommandLine.h"
#include "framework/cGZCheatCodeManager.h"
#include "framework/cGZFrameWork.h"
#include "framework/cGZFrameWorkW95.h"
#include "framework/cRZLock.h"
#include "platform/Clock.h"
#include "platform/HostWindow.h"
#include "platform/MessageQueue.h"
#include "ui/GZHostWindow.h"
#include "ui/GZMessageTypes.h"
#include "ui/cDefaultTTWindow.h"
#include "ui/cGZWin.h"
#include "ui/cIGZUIApp.h"
#include "ui/cRZCursor.h"
#include "ui/cRZCursorManager.h"
#include "ui/graphics/cIGZWinGraphics.h"

namespace {

cGZWinMgrW95* gpWinMgr = nullptr;

constexpr uint32_t kMsgEndModal = 0x700;
constexpr uint32_t kMsgDdeAck = 0x3E4;

bool TipsCheatCallback(cCheatCommandLine&, void* context) {
    auto* mgr = static_cast<cGZWinMgrW95*>(context);
    const cRZString text = mgr->GetTipsText();
    if (cIGZUIApp* app = GZGetUIApp()) app->ShowTextWindow(text.c_str(), "ToolTip Internal State");
    return true;
}

}  // namespace

uint32_t GZPrivateMessageOfType(uint32_t type) {
    switch (type) {
    case 1: return 0x600;
    case 2: return 0x601;
    case 3: return 0x500;
    case 5: return 0x100;
    case 6: return 0x101;
    case 7: return 0x201;
    case 8: return 0x204;
    case 11: return 0x202;
    case 12: return 0x205;
    case 13: return 0x200;
    case 15: return 0xA0;
    case 16: return 0x700;
    case 17: return 0x800;
    case 18: return 0x801;
    case 19: return 0x802;
    case 23: return 0x900;
    default: return 0;
    }
}

cGZWinMgrW95* GZWinMgr() { return gpWinMgr; }
cIGZKeyboard* GZKeyboard() { return gpWinMgr ? &gpWinMgr->GetKeyboard() : nullptr; }

cGZWinMgrW95::cGZWinMgrW95() : mpPrevious(gpWinMgr) { gpWinMgr = this; }

cGZWinMgrW95::~cGZWinMgrW95() {
    Shutdown();
    if (gpWinMgr == this) gpWinMgr = mpPrevious;
}

void cGZWinMgrW95::RegisterAsProvider() {
    cGZFrameWorkProviders providers = RZGetFrameWorkProviders();
    providers.windowManager = this;
    RZSetFrameWorkProviders(providers);
}

bool cGZWinMgrW95::Startup(cIGZFrameWork* framework) {
    mpFramework = framework;
    mpQueue = platform::MessageQueue::Current();
    if (!mpCursorManager) mpCursorManager = std::make_unique<cRZCursorManager>();
    mbStarted = true;
    return true;
}

bool cGZWinMgrW95::Shutdown() {
    if (mpCursorManager) {
        mpCursorManager->Shutdown();
        mpCursorManager.reset();
    }
    mpOverrideCursor = nullptr;
    mpCurrentCursor = nullptr;
    SetToolTipWindow(nullptr);
    if (IsWin(mpSharedToolTip)) DestroyWin(mpSharedToolTip);
    SetAttachedWin(nullptr);
    return true;
}

void cGZWinMgrW95::RegisterTipsCheat(cGZCheatCodeManager& manager) {
    manager.RegisterCheat("tips", &TipsCheatCallback, this, "Usage: tips");
}

cRZString cGZWinMgrW95::GetTipsText() const {
    static const char* const kNames[] = {"kTTDown\n", "kTTWaitingDown\n", "kTTMotoringUp\n", "kTTUp\n"};
    std::string text = mTTState >= 0 && mTTState <= 3 ? kNames[mTTState] : "Unknown!\n";
    char line[64];
    std::snprintf(line, sizeof line, "now = %d\n", static_cast<int32_t>(platform::TimeMs()));
    text += line;
    std::snprintf(line, sizeof line, "mTTStartWaitingTime = %d\n", static_cast<int32_t>(mTTStartWaitingTime));
    text += line;
    std::snprintf(line, sizeof line, "mTTStartMotoringUpTime = %d\n", static_cast<int32_t>(mTTStartMotoringUpTime));
    text += line;
    std::snprintf(line, sizeof line, "mHadTip = %d\n", mbHadTip ? 1 : 0);
    text += line;
    std::snprintf(line, sizeof line, "mDrewTip = %d\n", mbDrewTip ? 1 : 0);
    text += line;
    return cRZString(text.c_str());
}

// --- the registry -------------------------------------------------------------

bool cGZWinMgrW95::RegisterWin(cGZWin* window) {
    if (!window) return false;
    cRZLock lock(mSection);
    if (!mbStarted) {
        mpEarly = window;
        return true;
    }
    return mRegistry.insert(window).second;
}

bool cGZWinMgrW95::UnregisterWin(cGZWin* window) {
    cRZLock lock(mSection);
    if (mRegistry.erase(window) > 0) return true;
    if (window && window == mpEarly) {
        mpEarly = nullptr;
        return true;
    }
    return false;
}

bool cGZWinMgrW95::IsWin(const cGZWin* window) {
    if (!window) return false;
    cRZLock lock(mSection);
    return window == mpEarly || mRegistry.count(window) > 0;
}

bool cGZWinMgrW95::IsLiveSerial(const cGZWin* window, uint64_t serial) {
    return IsWin(window) && window->GetSerial() == serial;
}

cGZWin* cGZWinMgrW95::FindWinAt(int32_t x, int32_t y) { return mpRoot ? mpRoot->FindWinAt(x, y) : nullptr; }

void cGZWinMgrW95::ForgetWindow(cGZWin* window) {
    if (mpCapture == window) mpCapture = nullptr;
    if (mpFocus == window) SetFocus(nullptr);
    if (mpMouseOver == window) mpMouseOver = nullptr;
    if (mpToolTip == window) SetToolTipWindow(nullptr);
    if (mpSharedToolTip == window) {
        mpSharedToolTip = nullptr;
        window->Release();
    }
    if (mpRedrawAfterModal == window) mpRedrawAfterModal = nullptr;
    if (mpAttached == window) SetAttachedWin(nullptr);
    if (mpModal == window) mpModal = nullptr;
    if (mpRoot == window) mpRoot = nullptr;
    if (mpConsole == window) mpConsole = nullptr;
}

bool cGZWinMgrW95::DestroyWin(cGZWin* window) {
    if (!IsWin(window)) return false;
    ForgetWindow(window);
    if (cGZWin* parent = window->GetParent()) {
        if (!IsWin(parent)) return false;
        return parent->DeleteChild(window);
    }
    window->Shutdown();
    window->DeleteAllChildren();
    // Holders of counted references are told nothing: they are released
    // above; the window is dead for IsWin from here on, and its memory goes
    // with the last reference.
    UnregisterWin(window);
    window->AddRef();
    window->Release();
    return true;
}

// --- focus and capture ----------------------------------------------------------

cGZWin* cGZWinMgrW95::SetFocus(cGZWin* window) {
    if (window && !IsWin(window)) return mpFocus;
    cGZWin* old = mpFocus;
    if (IsWin(old)) old->DoMessage({kGZMsgFocusLost, reinterpret_cast<intptr_t>(window), 0, 0});
    mpFocus = window;
    if (IsWin(window)) window->DoMessage({kGZMsgFocusGained, reinterpret_cast<intptr_t>(old), 0, 0});
    return mpFocus;
}

bool cGZWinMgrW95::SetCapture(cGZWin* window) {
    if (mpCapture || !IsWin(window)) return false;
    mpCapture = window;
    return true;
}

bool cGZWinMgrW95::ReleaseCapture(cGZWin* window) {
    if (!window || mpCapture != window) return false;
    mpCapture = nullptr;
    return true;
}

void cGZWinMgrW95::GetCursorPos(int32_t& x, int32_t& y) const {
    x = y = 0;
    if (platform::HostWindow* host = GZGetHostWindow()) host->CursorPosition(x, y);
    if (mpRoot) {
        x = std::clamp(x, 0, std::max(0, mpRoot->Width() - 1));
        y = std::clamp(y, 0, std::max(0, mpRoot->Height() - 1));
    }
}

// --- messages -----------------------------------------------------------------

bool cGZWinMgrW95::SendWinMessage(cGZWin* window, uint32_t type, intptr_t a, intptr_t b, intptr_t c) {
    if (!IsWin(window)) return false;
    return window->DoMessage({type, a, b, c});
}

void cGZWinMgrW95::QueueMessage(cGZWin* window, uint32_t type, intptr_t a, intptr_t b, intptr_t c) {
    mQueue.push_back({window, IsWin(window) ? window->GetSerial() : 0, {type, a, b, c}});
}

platform::MessageQueue& cGZWinMgrW95::MainQueue() {
    if (!mpQueue) mpQueue = platform::MessageQueue::Current();
    return *mpQueue;
}

bool cGZWinMgrW95::PostWinMessage(uint32_t type, cGZWin* window, intptr_t lParam) {
    MainQueue().Post(GZPrivateMessageOfType(type), reinterpret_cast<intptr_t>(window), lParam);
    return true;
}

size_t cGZWinMgrW95::FlushInput() {
    MainQueue().RemoveInput();
    mQueue.erase(std::remove_if(mQueue.begin(), mQueue.end(),
                                [](const QueuedMessage& q) { return q.message.type >= 4 && q.message.type <= 15; }),
                 mQueue.end());
    return mQueue.size();
}

bool cGZWinMgrW95::RouteMessage(const cGZMessage& message) {
    if (!GZIsAppActive()) return false;
    const uint32_t type = message.type;
    if (type == kGZMsgChar || type == kGZMsgKeyDown || type == kGZMsgKeyUp)
        return IsWin(mpFocus) && mpFocus->DoMessage(message);
    if (type < kGZMsgLButtonDown || type > kGZMsgNonClientMouseMove) return false;
    if (type == kGZMsgLButtonDown) {
        const bool tipShown = IsWin(mpToolTip) && mpToolTip->TestFlag(kGZWinVisible);
        if (!(tipShown && IsWin(mpMouseOver) && mpMouseOver->TestFlag(kGZWinKeepsToolTip))) HideToolTip();
    }
    if (IsWin(mpCapture)) {
        cGZWin* capture = mpCapture;
        cGZMessage local = message;
        local.a = message.a - capture->GetScreenArea().left;
        local.b = message.b - capture->GetScreenArea().top;
        if (type == kGZMsgLButtonDown || type == kGZMsgRButtonDown) {
            capture->BringToFront();
            capture->Focus();
        }
        if (type == kGZMsgMouseMove) {
            capture->UpdateCursor();
        } else if (type == kGZMsgNonClientMouseMove && mpCursorManager) {
            ApplyCursor(mpCursorManager->GetCursor(0), capture);
            mpCursorManager->ShowCursor();
        }
        return capture->DoMessage(local);
    }
    if (!IsWin(mpRoot)) return false;
    if (!IsWin(mpModal)) return mpRoot->RouteMouseMessage(message);
    const int32_t x = static_cast<int32_t>(message.a), y = static_cast<int32_t>(message.b);
    const std::vector<cGZWin*> children = mpRoot->GetChildren();
    for (cGZWin* child : children) {
        if (child->TestFlag(kGZWinStayOnTop) && child->TestFlag(kGZWinVisible) && child->TestFlag(kGZWinEnabled) &&
            child->ContainsGlobalPoint(x, y))
            return child->RouteMouseMessage(message);
    }
    if (mpModal->TestFlag(kGZWinVisible) && mpModal->TestFlag(kGZWinEnabled) && mpModal->ContainsGlobalPoint(x, y))
        return mpModal->RouteMouseMessage(message);
    return false;
}

// --- modal loops --------------------------------------------------------------

int32_t cGZWinMgrW95::DoModal(cGZWin* parent, cGZWin* window) {
    if (!parent) parent = mpRoot;
    if (!IsWin(window) || !IsWin(parent)) return -1;
    cGZWin* const oldFocus = mpFocus;
    cGZWin* const oldModal = mpModal;
    const bool attachedShown = IsWin(mpAttached) && mpAttached->TestFlag(kGZWinVisible);
    if (attachedShown) mpAttached->Hide();
    if (IsWin(mpMouseOver)) mpMouseOver->OnMouseLeave(0, 0, window);
    ResetMouseOver(window);
    cRZCursor* const oldOverride = mpOverrideCursor;
    const bool oldForced = mbOverrideForced;
    SetOverrideCursor(nullptr, true);

    if (!parent->AddChild(window)) {
        mpOverrideCursor = oldOverride;
        mbOverrideForced = oldForced;
        if (attachedShown && IsWin(mpAttached)) mpAttached->Show();
        return -1;
    }

    window->BringToFront();
    cGZWin* cancelled = nullptr;
    if (IsWin(mpCapture) && mpCapture != window) {
        cancelled = mpCapture;
        cancelled->OnCaptureCancelled();
        mpCapture = nullptr;
    }
    mpModal = window;
    mpFocus = window;
    window->BeginModal();

    int32_t result = 0;
    platform::MessageQueue& queue = MainQueue();
    auto* fw95 = dynamic_cast<cGZFrameWorkW95*>(mpFramework);
    for (;;) {
        std::optional<platform::QueuedMessage> message = queue.Peek(true);
        if (!message) {
            if (mpFramework) mpFramework->Tick();
            else queue.Wait(10);
            // A dialog destroyed while its loop runs can never end it.
            if (!IsWin(window)) {
                result = -1;
                break;
            }
            continue;
        }
        if (message->message == platform::kMsgQuit) {
            queue.PostQuit(static_cast<int>(message->wParam));
            result = 0;
            break;
        }
        if (message->message == kMsgEndModal) {
            if (message->wParam == reinterpret_cast<intptr_t>(window)) {
                result = static_cast<int32_t>(message->lParam);
                break;
            }
            continue;
        }
        if (message->message == kMsgDdeAck && GZGetMessageDiscard()) continue;
        if (fw95) fw95->DispatchMessage(*message);
    }

    const bool live = IsWin(window);
    if (live) window->EndModal();
    mpOverrideCursor = oldOverride;
    mbOverrideForced = oldForced;
    if (live && IsWin(parent)) parent->RemoveChild(window);
    mpModal = IsWin(oldModal) ? oldModal : nullptr;
    SetFocus(IsWin(oldFocus) ? oldFocus : mpModal);
    if (cancelled && IsWin(cancelled) && cancelled->TestFlag(kGZWinRecaptureAfterModal) && !mpCapture)
        mpCapture = cancelled;
    if (IsWin(mpRedrawAfterModal)) mpRedrawAfterModal->InvalidateAll();
    if (attachedShown && IsWin(mpAttached)) mpAttached->Show();
    return result;
}

// --- cursors ------------------------------------------------------------------

void cGZWinMgrW95::SetOverrideCursor(cRZCursor* cursor, bool forced) {
    if (mbOverrideForced && mpOverrideCursor && !forced) return;
    mpOverrideCursor = cursor;
    mbOverrideForced = cursor ? forced : false;
}

void cGZWinMgrW95::ApplyCursor(cRZCursor* cursor, cGZWin* window) {
    if (mpOverrideCursor && (mbOverrideForced || (window && window->TestFlag(kGZWinShowsOverrideCursor)))) {
        mpOverrideCursor->Apply();
    } else if (cursor) {
        cursor->Apply();
        mpCurrentCursor = cursor;
    }
    mbCursorRefresh = true;
}

void cGZWinMgrW95::SetClipboardText(const cRZString& text, bool owned) {
    mClipboardText = text;
    mbClipboardOwned = owned;
}

void cGZWinMgrW95::SetAttachedWin(cGZWin* window) {
    if (window == mpAttached) return;
    if (window) window->AddRef();
    cGZWin* old = mpAttached;
    mpAttached = window;
    if (old) old->Release();
}

// --- timers -------------------------------------------------------------------

void cGZWinMgrW95::SetTimer(cGZWin* window, uint32_t period, intptr_t value) {
    if (!IsWin(window)) return;
    const uint32_t due = platform::TimeMs() + period;
    for (Timer& timer : mTimers) {
        if (timer.window == window && timer.serial == window->GetSerial()) {
            timer.period = period;
            timer.due = due;
            timer.value = value;
            return;
        }
    }
    mTimers.push_back({window, window->GetSerial(), period, due, value});
}

void cGZWinMgrW95::KillTimer(cGZWin* window) {
    const bool live = IsWin(window);
    for (size_t i = 0; i < mTimers.size(); ++i) {
        if (mTimers[i].window != window || (live && mTimers[i].serial != window->GetSerial())) continue;
        mTimers.erase(mTimers.begin() + static_cast<ptrdiff_t>(i));
        if (mnPassIndex >= 0) {
            const int32_t position = static_cast<int32_t>(i);
            if (position < mnPassIndex) --mnPassIndex;
            if (position < mnPassEnd) --mnPassEnd;
        }
        return;
    }
}

bool cGZWinMgrW95::HasTimer(cGZWin* window) const {
    return std::any_of(mTimers.begin(), mTimers.end(), [&](const Timer& t) {
        return t.window == window && t.serial == window->GetSerial();
    });
}

void cGZWinMgrW95::DeliverTimers() {
    if (mbCursorRefresh) {
        int32_t x = 0, y = 0;
        GetCursorPos(x, y);
        PostWinMessage(kGZMsgMouseMove, nullptr, static_cast<intptr_t>(static_cast<uint32_t>(y) << 16 | (x & 0xFFFF)));
        mbCursorRefresh = false;
    }
    if (mnPassIndex < 0 && !mTimers.empty()) {
        // Due times compare by their signed difference: the clock wraps.
        std::stable_sort(mTimers.begin(), mTimers.end(),
                         [](const Timer& a, const Timer& b) { return static_cast<int32_t>(a.due - b.due) < 0; });
        mnPassIndex = 0;
        mnPassEnd = static_cast<int32_t>(mTimers.size());
    }
    if (mnPassIndex < 0) return;
    const uint32_t now = platform::TimeMs();
    mbDeliveringTimers = true;
    while (mnPassIndex >= 0 && mnPassIndex < mnPassEnd && mnPassIndex < static_cast<int32_t>(mTimers.size())) {
        Timer& timer = mTimers[static_cast<size_t>(mnPassIndex)];
        if (static_cast<int32_t>(timer.due - now) > 0) {
            mnPassIndex = mnPassEnd = -1;
            break;
        }
        timer.due += timer.period;
        const Timer fired = timer;
        if (IsLiveSerial(fired.window, fired.serial)) fired.window->DoMessage({kGZMsgTimer, fired.value, 0, 0});
        if (mnPassIndex >= 0) ++mnPassIndex;
    }
    if (mnPassIndex >= mnPassEnd || mnPassIndex >= static_cast<int32_t>(mTimers.size())) mnPassIndex = mnPassEnd = -1;
    mbDeliveringTimers = false;
}

void cGZWinMgrW95::DeliverQueued() {
    if (mDelivery.empty()) {
        mDelivery.swap(mQueue);
        mnDeliveryIndex = 0;
    }
    while (mnDeliveryIndex < mDelivery.size()) {
        const QueuedMessage queued = mDelivery[mnDeliveryIndex++];
        if (IsLiveSerial(queued.window, queued.serial)) queued.window->DoMessage(queued.message);
    }
    mDelivery.clear();
    mnDeliveryIndex = 0;
}
