// The one window manager. It holds the root window, decides which window
// gets each input message (capture, modal window, focus, the window under
// the pointer), tracks the window under the mouse with enter and leave
// messages, runs the tooltip state machine, the per-window timers and the
// queue of messages for the next frame, keeps the registry of live windows,
// destroys windows, runs nested modal loops over the main thread's message
// queue, and draws the window tree once per frame.
//
// The graphic system's frame step calls DeliverTimers, DeliverQueued and
// Plot in that order. Everything runs on the main thread; only the registry
// (RegisterWin, UnregisterWin, IsWin and the always-redraw pass) is guarded,
// so windows may be made and tested from any thread.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "framework/cGZFrameWorkNeighbours.h"
#include "framework/cGZMessage.h"
#include "framework/cRZCriticalSection.h"
#include "framework/cRZKeyboard.h"
#include "framework/cRZRect.h"
#include "framework/cRZString.h"

namespace platform {
class MessageQueue;
}

class cGZWin;
class cRZCursor;
class cRZCursorManager;
class cGZCheatCodeManager;
class cIGZFrameWork;

class cGZWinMgrW95 : public cIGZWinMgr {
public:
    enum ToolTipState : int32_t { kTTDown = 0, kTTWaitingDown = 1, kTTMotoringUp = 2, kTTUp = 3 };
    // Longest a tooltip stays up (unless its window has 0x40000).
    static constexpr uint32_t kToolTipLimitMs = 5000;

    struct QueuedMessage {
        cGZWin* window = nullptr;
        uint64_t serial = 0;
        cGZMessage message;
    };
    struct Timer {
        cGZWin* window = nullptr;
        uint64_t serial = 0;
        uint32_t period = 0;
        uint32_t due = 0;
        intptr_t value = 0;
    };

    // Becomes the global manager, and its keyboard the global keyboard.
    cGZWinMgrW95();
    ~cGZWinMgrW95() override;
    cGZWinMgrW95(const cGZWinMgrW95&) = delete;
    cGZWinMgrW95& operator=(const cGZWinMgrW95&) = delete;

    // Sets this manager as the framework providers' window manager.
    void RegisterAsProvider();

    bool Startup(cIGZFrameWork* framework) override;
    bool Shutdown();
    bool IsStarted() const { return mbStarted; }
    void RegisterTipsCheat(cGZCheatCodeManager& manager);
    // The "tips" command's text (six lines).
    cRZString GetTipsText() const;

    cGZWin* GetRootWin() const { return mpRoot; }
    void SetRootWin(cGZWin* root) { mpRoot = root; }
    bool RegisterWin(cGZWin* window);
    bool UnregisterWin(cGZWin* window);
    bool IsWin(const cGZWin* window);
    cGZWin* FindWinAt(int32_t x, int32_t y);
    bool DestroyWin(cGZWin* window);
    cGZWin* SetFocus(cGZWin* window);
    cGZWin* GetFocus() const { return mpFocus; }
    bool SetCapture(cGZWin* window);
    cGZWin* GetCapture() const { return mpCapture; }
    bool ReleaseCapture(cGZWin* window);
    cGZWin* GetModal() const { return mpModal; }
    cGZWin* GetMouseOver() const { return mpMouseOver; }
    // The pointer in root coordinates, clamped into the root.
    void GetCursorPos(int32_t& x, int32_t& y) const;

    bool SendWinMessage(cGZWin* window, uint32_t type, intptr_t a = 0, intptr_t b = 0, intptr_t c = 0);
    void QueueMessage(cGZWin* window, uint32_t type, intptr_t a = 0, intptr_t b = 0, intptr_t c = 0);
    // Posts the framework message to the main thread's queue as a private
    // window message (wParam the window, lParam the value).
    bool PostWinMessage(uint32_t type, cGZWin* window, intptr_t lParam);
    bool RouteMessage(const cGZMessage& message);
    // Runs a modal loop with the window as a child of the parent (null: the
    // root); the dialog's result, -1 when it could not be added.
    int32_t DoModal(cGZWin* parent, cGZWin* window);

    cGZWin* GetToolTipWin();
    void SetOverrideCursor(cRZCursor* cursor, bool forced);
    cRZCursor* GetOverrideCursor() const { return mpOverrideCursor; }
    bool IsOverrideForced() const { return mbOverrideForced; }
    void SetTimer(cGZWin* window, uint32_t period, intptr_t value);
    void KillTimer(cGZWin* window);
    bool HasTimer(cGZWin* window) const;
    const std::vector<Timer>& GetTimers() const { return mTimers; }
    void RefreshCursor() { mbCursorRefresh = true; }
    bool IsCursorRefreshRequested() const { return mbCursorRefresh; }
    void ApplyCursor(cRZCursor* cursor, cGZWin* window);
    cRZCursor* GetCurrentCursor() const { return mpCurrentCursor; }
    cRZCursorManager* GetCursorManager() const { return mpCursorManager.get(); }
    const cRZString& GetClipboardText() const { return mClipboardText; }
    bool IsClipboardOwned() const { return mbClipboardOwned; }
    void SetClipboardText(const cRZString& text, bool owned);
    cGZWin* GetAttachedWin() const { return mpAttached; }
    void SetAttachedWin(cGZWin* window);
    size_t FlushInput();
    size_t GetQueuedCount() const { return mQueue.size(); }

    // The frame steps.
    void DeliverTimers();
    void DeliverQueued();
    void Plot();

    void TrackMouse(cGZWin* window, const cGZMessage& message);
    void ResetMouseOver(cGZWin* window);
    void HideToolTip();
    void RefreshToolTip();
    ToolTipState GetToolTipState() const { return mTTState; }
    cGZWin* GetCurrentToolTip() const { return mpToolTip; }
    const cRZRect& GetLastTipArea() const { return mLastTipArea; }
    bool HadTip() const { return mbHadTip; }
    bool DrewTip() const { return mbDrewTip; }

    void SetAlwaysRedrawPassOff(bool off) { mbAlwaysRedrawOff = off; }
    void SetRedrawAfterModalWin(cGZWin* window) { mpRedrawAfterModal = window; }
    cGZWin* GetRedrawAfterModalWin() const { return mpRedrawAfterModal; }
    cIGZKeyboard& GetKeyboard() { return mKeyboard; }
    // The console line the draw pass keeps in front while it is visible
    // (the main window sets it).
    void SetConsoleWin(cGZWin* window) { mpConsole = window; }

private:
    bool UpdateToolTip();
    void DrawToolTip();
    void LiveWinPass();
    void ForgetWindow(cGZWin* window);
    void SwitchMouseOver(cGZWin* window, const cGZMessage* message);
    void SetToolTipWindow(cGZWin* tooltip);
    void InvalidateRootRect(const cRZRect& rect);
    platform::MessageQueue& MainQueue();
    bool IsLiveSerial(const cGZWin* window, uint64_t serial);

    cGZWin* mpCapture = nullptr;
    cGZWin* mpFocus = nullptr;
    cGZWin* mpModal = nullptr;
    cGZWin* mpRoot = nullptr;
    std::set<const cGZWin*> mRegistry;
    cIGZFrameWork* mpFramework = nullptr;
    cRZKeyboard mKeyboard;
    std::vector<QueuedMessage> mQueue;
    std::vector<QueuedMessage> mDelivery;
    size_t mnDeliveryIndex = 0;
    std::unique_ptr<cRZCursorManager> mpCursorManager;
    cGZWin* mpMouseOver = nullptr;
    ToolTipState mTTState = kTTWaitingDown;
    uint32_t mTTStartWaitingTime = 0;
    uint32_t mTTStartMotoringUpTime = 0;
    int32_t mnTipX = 0;
    int32_t mnTipY = 0;
    cGZWin* mpToolTip = nullptr;
    cRZRect mTipFullArea{};
    bool mbHadTip = false;
    bool mbDrewTip = false;
    cRZRect mLastTipArea{};
    bool mbTipDrawnThisFrame = false;
    cGZWin* mpSharedToolTip = nullptr;
    bool mbStarted = false;
    cGZWin* mpEarly = nullptr;
    cRZCursor* mpOverrideCursor = nullptr;
    bool mbOverrideForced = false;
    std::vector<Timer> mTimers;
    int32_t mnPassIndex = -1;
    int32_t mnPassEnd = -1;
    bool mbDeliveringTimers = false;
    bool mbCursorRefresh = false;
    cRZString mClipboardText;
    bool mbClipboardOwned = false;
    cGZWin* mpAttached = nullptr;
    bool mbAlwaysRedrawOff = false;
    cGZWin* mpRedrawAfterModal = nullptr;
    cRZCriticalSection mSection;
    cRZCursor* mpCurrentCursor = nullptr;
    cGZWin* mpConsole = nullptr;
    std::shared_ptr<platform::MessageQueue> mpQueue;
    // The manager that was global before this one (tests nest them).
    cGZWinMgrW95* mpPrevious = nullptr;
};

// The global window manager (null before one is constructed).
cGZWinMgrW95* GZWinMgr();
// The global keyboard: the manager's key-state record.
cIGZKeyboard* GZKeyboard();
