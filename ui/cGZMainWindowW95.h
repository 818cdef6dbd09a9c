// The main window: the root of the window tree and the owner of the
// program's one host window. Its window procedure turns every host message
// that concerns input into a framework message and routes it through the
// window manager; it also keeps the key states, the mouse capture, the
// application's active switch, the clipboard exchange, depth changes, the
// windowed and full-screen styles, the console line for typed commands and
// the two presenter rectangles that divide the screen's dirty rectangles.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/cGZMessage.h"
#include "framework/cRZRect.h"
#include "platform/MessageQueue.h"
#include "ui/cGZWin.h"

#include "platform/HostWindow.h"
class cGZCheatCodeManager;
class cGZGraphicSystemW95;

class cGZMainWindowW95 : public cGZWin {
public:
    // Host messages handled here beyond the input ones.
    enum : uint32_t {
        kMsgDestroy = 0x0002,
        kMsgSize = 0x0005,
        kMsgEraseBackground = 0x0014,
        kMsgSetCursor = 0x0020,
        kMsgSysCommand = 0x0112,
        kMsgQueryNewPalette = 0x030F,
        kMsgPaletteChanged = 0x0311,
        kMsgAppFirst = 0x0C00,
        kMsgAppSecond = 0x0C01,
    };
    enum : intptr_t { kScScreenSave = 0xF140, kScMonitorPower = 0xF170 };
    // Commands the console line sends its owner.
    enum : intptr_t { kCmdConsoleEnter = 23, kCmdConsoleCancel = 24 };
    static constexpr size_t kConsoleMax = 255;

    explicit cGZMainWindowW95(cGZGraphicSystemW95* graphics = nullptr);
    ~cGZMainWindowW95() override;

    // The framework message of a host message: types 4 to 15, 0 for the
    // rest. Client mouse points are clamped into the root; `keyModifiers`
    // gives Shift/Ctrl/Alt and buttons for key messages and Alt for mouse ones.
    static cGZMessage Convert(uint32_t message, intptr_t wParam, intptr_t lParam, int32_t rootWidth,
                              int32_t rootHeight, uint32_t keyModifiers);
    // The system clipboard's text as the manager keeps it: no carriage
    // returns, a tab as four spaces, no other control character but line feed.
    static std::string ClipboardIn(const std::string& text);
    // The manager's text as the system clipboard gets it: CR before every LF.
    static std::string ClipboardOut(const std::string& text);

    // The host window to use (made from the environment when none is set).
    void SetHostWindow(platform::HostWindow* host) { mpHost = host; }
    platform::HostWindow* GetHostWindow() const { return mpHost; }

    bool Init() override;
    bool Shutdown() override;
    void CenterOverRect(const cRZRect& rect) override;
    uint32_t SetFlag(uint32_t mask, bool on) override;
    void SetText(const cRZString& text) override;
    bool OnKeyDown(uint32_t key, uint32_t modifiers) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnCommand(intptr_t code, intptr_t source) override;
    bool OnFocusGained(cGZWin* previous) override;
    void Invalidate() override;
    bool Update(bool force) override;

    // The window procedure. `defaulted` tells whether the message went the
    // host's default way (nothing here handled it).
    intptr_t WindowProc(uint32_t message, intptr_t wParam, intptr_t lParam, bool* defaulted = nullptr);
    void Dispatch(const platform::QueuedMessage& message) { WindowProc(message.message, message.wParam, message.lParam); }

    uint32_t GetStyleFlags() const { return mnStyleFlags; }
    void OnWin32Move();
    void SetWindowedStyle();
    void SetFullScreenStyle();
    void SetScreenBuffer(cGZBuffer* buffer);
    cGZCheatCodeManager* GetCheatCodeManager() const { return mpCheats.get(); }
    void SetConsoleEdit(cGZWin* edit);
    cGZWin* GetConsoleEdit() const { return mpConsole; }
    void SetConsoleText(const cRZString& text);
    void ShowConsole(bool show);
    void SetFocusReturnWin(cGZWin* window) { mpFocusReturn = window; }
    void SetPassThrough(bool on) { mbPassThrough = on; }
    // 16 opens the console with Shift+Ctrl+B instead of C.
    void SetLanguageIndex(int32_t index) { mnLanguage = index; }

    cRZRect& PresenterRect(int index) { return mPresenterRects[index & 1]; }
    int32_t GetLastMouseX() const { return mnMouseX; }
    int32_t GetLastMouseY() const { return mnMouseY; }

private:
    void Activate(bool active);
    intptr_t DisplayChange(intptr_t bits);

    uint32_t mnStyleFlags = 0;
    std::string mCaption;
    int32_t mnMouseX = 0;
    int32_t mnMouseY = 0;
    bool mbPassThrough = false;
    cGZWin* mpConsole = nullptr;
    std::unique_ptr<cGZCheatCodeManager> mpCheats;
    cGZWin* mpFocusReturn = nullptr;
    cGZGraphicSystemW95* mpGraphics;
    cRZRect mPresenterRects[2]{};
    platform::HostWindow* mpHost = nullptr;
    std::unique_ptr<platform::HostWindow> mpOwnHostFallback;
    bool mbStarted = false;
    bool mbScreenBufferShown = false;
    int32_t mnLanguage = 0;
};
