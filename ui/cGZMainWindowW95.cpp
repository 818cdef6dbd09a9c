#include "ui/cGZMainWindowW95.h"

#include <algorithm>

#include "framework/cGZCheatCodeManager.h"
#include "framework/cGZFrameWork.h"
#include "framework/cGZFrameWorkW95.h"
#include "platform/Display.h"
#include "platform/HostWindow.h"
#include "platform/WindowMessages.h"
#include "ui/GZHostWindow.h"
#include "ui/GZMessageTypes.h"
#include "ui/cGZWinIMEComposition.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/cIGZUIApp.h"
#include "ui/graphics/cGZGraphicSystemW95.h"
#include "ui/graphics/cGZScreenBuffer.h"
#include "ui/graphics/cIGZPresenter3D.h"

using namespace platform;

namespace {
// Style flag bits.
constexpr uint32_t kStyleCaptionBit = 2, kStyleNoPopupBit = 4, kStyleSysMenu = 8;
constexpr uint32_t kInitialStyle = 27;

WindowFrame FrameOfStyle(uint32_t flags) {
    if (flags & kStyleCaptionBit || flags & kStyleSysMenu) return WindowFrame::Caption;
    return flags & kStyleNoPopupBit ? WindowFrame::Border : WindowFrame::Popup;
}

uint32_t MouseModifiers(intptr_t wParam, uint32_t keyModifiers) {
    uint32_t m = keyModifiers & kGZModAlt;
    if (wParam & kMkShift) m |= kGZModShift;
    if (wParam & kMkControl) m |= kGZModCtrl;
    if (wParam & kMkLButton) m |= kGZModLButton;
    if (wParam & kMkRButton) m |= kGZModRButton;
    return m;
}
}  // namespace

cGZMainWindowW95::cGZMainWindowW95(cGZGraphicSystemW95* graphics) : mpGraphics(graphics) {}

cGZMainWindowW95::~cGZMainWindowW95() { Shutdown(); }

cGZMessage cGZMainWindowW95::Convert(uint32_t message, intptr_t wParam, intptr_t lParam, int32_t rootWidth,
                                     int32_t rootHeight, uint32_t keyModifiers) {
    uint32_t type = 0;
    switch (message) {
        case kMsgChar: return {kGZMsgChar, wParam, 0, 0};
        case kMsgKeyDown:
        case kMsgSysKeyDown: return {kGZMsgKeyDown, wParam, keyModifiers, 0};
        case kMsgKeyUp:
        case kMsgSysKeyUp: return {kGZMsgKeyUp, wParam, keyModifiers, 0};
        case kMsgLButtonDown: type = kGZMsgLButtonDown; break;
        case kMsgRButtonDown: type = kGZMsgRButtonDown; break;
        case kMsgLButtonDblClk: type = kGZMsgLButtonDblClk; break;
        case kMsgRButtonDblClk: type = kGZMsgRButtonDblClk; break;
        case kMsgLButtonUp: type = kGZMsgLButtonUp; break;
        case kMsgRButtonUp: type = kGZMsgRButtonUp; break;
        case kMsgMouseMove: type = kGZMsgMouseMove; break;
        case kMsgMouseWheel: type = kGZMsgMouseWheel; break;
        case kMsgNcMouseMove:
            // Screen coordinates as the host gives them.
            return {kGZMsgNonClientMouseMove, PointX(lParam), PointY(lParam), MouseModifiers(wParam, keyModifiers)};
        default: return {0, 0, 0, 0};
    }
    const int32_t x = std::clamp(PointX(lParam), 0, std::max(rootWidth - 1, 0));
    const int32_t y = std::clamp(PointY(lParam), 0, std::max(rootHeight - 1, 0));
    return {type, x, y, MouseModifiers(wParam, keyModifiers)};
}

std::string cGZMainWindowW95::ClipboardIn(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\t') out += "    ";
        else if (u >= 32 || c == '\n') out += c;
    }
    return out;
}

std::string cGZMainWindowW95::ClipboardOut(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

bool cGZMainWindowW95::Init() {
    if (mbStarted) return true;
    cGZWinMgrW95* mgr = GZWinMgr();
    mnStyleFlags = kInitialStyle;
    const cRZRect screen = mpGraphics ? mpGraphics->GetScreenRect() : cRZRect{0, 0, 640, 480};
    SetArea(screen.left, screen.top, screen.right, screen.bottom);
    cGZWin::SetFlag(kGZWinVisible, false);
    if (mgr) {
        mgr->SetRootWin(this);
        mgr->SetFocus(this);
    }
    cIGZUIApp* app = GZGetUIApp();
    mpCheats = std::make_unique<cGZCheatCodeManager>(app && app->GetCheatManagerValue() != 0);
    if (!mpHost) {
        std::string error;
        HostWindowOptions options{mCaption, Width(), Height(), FrameOfStyle(mnStyleFlags)};
        mpOwnHostFallback = HostWindow::Create(options, &error);
        mpHost = mpOwnHostFallback.get();
    }
    if (!mpHost) {
        mpCheats.reset();
        return false;
    }
    GZSetHostWindow(mpHost);
    // The system's own composition display stays off unless wide mode is on.
    mpHost->GetTextInput().ShowSystemComposition(GZGetIMEWideMode());
    mpHost->Attach(MessageQueue::Current());
    if (mpGraphics && mpGraphics->GetFramework())
        mpGraphics->GetFramework()->SetMessageDispatcher([this](const QueuedMessage& m) { Dispatch(m); });
    mbStarted = true;
    return cGZWin::Init();
}

bool cGZMainWindowW95::Shutdown() {
    if (!mbStarted) return true;
    cGZWin::SetFlag(kGZWinVisible, false);
    mpConsole = nullptr;
    // The window tree goes with the root (the console line among it).
    DeleteAllChildren();
    if (GZWinMgr()) GZWinMgr()->SetConsoleWin(nullptr);
    if (mbScreenBufferShown) {
        // The screen buffer belongs to the graphic system.
        mpOwnBuffer = nullptr;
        SetDrawBuffer(nullptr);
        mbScreenBufferShown = false;
    }
    if (mpHost) {
        mpHost->Show(false);
        mpHost->Detach();
        if (GZGetHostWindow() == mpHost) GZSetHostWindow(nullptr);
    }
    if (mpOwnHostFallback) mpHost = nullptr;
    mpOwnHostFallback.reset();
    mCaption.clear();
    mpCheats.reset();
    mbStarted = false;
    if (mpGraphics && mpGraphics->GetFramework()) mpGraphics->GetFramework()->SetMessageDispatcher(nullptr);
    cGZWin::Shutdown();
    return true;
}

void cGZMainWindowW95::CenterOverRect(const cRZRect&) {
    if (mpHost && !(mpGraphics && mpGraphics->IsFullScreen())) mpHost->Center();
}

uint32_t cGZMainWindowW95::SetFlag(uint32_t mask, bool on) {
    const uint32_t result = cGZWin::SetFlag(mask, on);
    if ((mask & kGZWinVisible) && mpHost) {
        mpHost->Show(on);
        if (on) mpHost->Raise();
    }
    return result;
}

void cGZMainWindowW95::SetText(const cRZString& text) {
    cGZWin::SetText(text);
    mCaption = text;
    if (mpHost) mpHost->SetTitle(mCaption);
}

bool cGZMainWindowW95::OnKeyDown(uint32_t key, uint32_t modifiers) {
    if (mpGraphics && mpGraphics->IsMoviePlaying()) mpGraphics->StopMovie(1);
    if ((modifiers & (kGZModShift | kGZModCtrl)) == (kGZModShift | kGZModCtrl)) {
        const bool hotKey = mnLanguage == 16 ? (key == 66 || key == 98) : (key == 67 || key == 99);
        if (hotKey) {
            ShowConsole(true);
            return true;
        }
    }
    return cGZWin::OnKeyDown(key, modifiers);
}

bool cGZMainWindowW95::OnLButtonDown(int32_t, int32_t, uint32_t) {
    if (mpGraphics && mpGraphics->IsMoviePlaying()) mpGraphics->StopMovie(1);
    return true;
}

bool cGZMainWindowW95::OnCommand(intptr_t code, intptr_t source) {
    if (code == kCmdConsoleEnter) {
        if (!mpConsole || source != reinterpret_cast<intptr_t>(mpConsole) || !mpCheats) return false;
        const cRZString line = mpConsole->GetText();
        if (!line.empty()) {
            const std::string text = line.substr(0, kConsoleMax);
            if (!mpCheats->ExecuteCheatLine(text.c_str())) return false;  // stays open
        }
        ShowConsole(false);
        return false;
    }
    if (code == kCmdConsoleCancel) {
        ShowConsole(false);
        return false;
    }
    return cGZWin::OnCommand(code, source);
}

bool cGZMainWindowW95::OnFocusGained(cGZWin*) {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (mpFocusReturn && mgr && !mgr->IsWin(mpFocusReturn)) mpFocusReturn = nullptr;
    if (mpFocusReturn && mgr) mgr->SetFocus(mpFocusReturn);
    return true;
}

void cGZMainWindowW95::Invalidate() {
    cGZWin::Invalidate();
    if (cGZWinMgrW95* mgr = GZWinMgr())
        if (cGZWin* w = mgr->GetRedrawAfterModalWin(); w && w != this && mgr->IsWin(w)) w->Invalidate();
}

bool cGZMainWindowW95::Update(bool force) {
    const bool drawn = cGZWin::Update(force);
    Invalidate();  // the root is redrawn every frame
    return drawn;
}

intptr_t cGZMainWindowW95::WindowProc(uint32_t message, intptr_t wParam, intptr_t lParam, bool* defaulted) {
    auto byDefault = [&]() -> intptr_t {
        if (defaulted) *defaulted = true;
        return 0;
    };
    if (defaulted) *defaulted = false;
    if (GZIsShuttingDown() || mbPassThrough) return byDefault();
    // The input-method windows see their messages first.
    if (GZImeHandleMessage(message, wParam, lParam)) return 0;
    cGZWinMgrW95* mgr = GZWinMgr();
    switch (message) {
        case kMsgDestroy:
            if (mpGraphics && mpGraphics->GetFramework()) mpGraphics->GetFramework()->Quit(0);
            else MessageQueue::Current()->PostQuit(0);
            return 0;
        case kMsgMove:
        case kMsgSize: OnWin32Move(); return 0;
        case kMsgPaint:
            if (mpGraphics) {
                cGZScreenBuffer& screen = mpGraphics->GetScreenBuffer();
                if (cIGZPresenter3D* p = screen.GetPresenter()) {
                    p->SetPaintRect(GetArea());
                    p->DirtyList(1).AddRect(GetArea());
                }
            }
            return 0;
        case kMsgClose:
            if (cIGZUIApp* app = GZGetUIApp()) {
                if (mpHost) mpHost->Raise();
                app->OnCloseRequest();
            }
            return 0;
        case kMsgActivateApp: Activate(wParam != 0); return 0;
        case kMsgDisplayChange: return DisplayChange(wParam);
        case kMsgEraseBackground:
        case kMsgSetCursor: return 1;
        case kMsgSysCommand:
            if ((wParam & 0xFFF0) == kScScreenSave || (wParam & 0xFFF0) == kScMonitorPower) return 0;
            return byDefault();
        case kMsgPaletteChanged:
        case kMsgQueryNewPalette: return 0;  // no palette of our own on 16-bit screens
        case kMsgAppFirst:
        case kMsgAppSecond:
            if (cIGZUIApp* app = GZGetUIApp(); app && app->HandlePrivateMessage(message, wParam, lParam)) return 0;
            return byDefault();
        default: break;
    }
    if (!mgr) return byDefault();
    cIGZKeyboard& keyboard = mgr->GetKeyboard();
    switch (message) {
        case kMsgLButtonDown:
        case kMsgLButtonDblClk:
        case kMsgRButtonDown:
        case kMsgRButtonDblClk:
        case kMsgMouseWheel:
            if (mpHost) mpHost->SetCapture(true);
            break;
        case kMsgLButtonUp:
        case kMsgRButtonUp:
            if (mpHost) mpHost->SetCapture(false);
            break;
        case kMsgKeyDown:
        case kMsgSysKeyDown: keyboard.KeyDown(static_cast<uint32_t>(wParam)); break;
        case kMsgKeyUp:
        case kMsgSysKeyUp: keyboard.KeyUp(static_cast<uint32_t>(wParam)); break;
        default: break;
    }
    uint32_t keyMods = keyboard.GetModifiers();
    if (keyboard.IsKeyDownNow(kVkLButton)) keyMods |= kGZModLButton;
    if (keyboard.IsKeyDownNow(kVkRButton)) keyMods |= kGZModRButton;
    const cGZMessage converted = Convert(message, wParam, lParam, Width(), Height(), keyMods);
    if (converted.type == 0) return byDefault();
    if (converted.type == kGZMsgMouseMove || converted.type == kGZMsgNonClientMouseMove) {
        mnMouseX = static_cast<int32_t>(converted.a);
        mnMouseY = static_cast<int32_t>(converted.b);
        mgr->RouteMessage(converted);
        return 0;
    }
    if (converted.type >= kGZMsgLButtonDown) {
        mgr->RouteMessage(converted);
        return 0;
    }
    if (mgr->RouteMessage(converted)) return 0;
    return byDefault();
}

void cGZMainWindowW95::Activate(bool active) {
    cGZWinMgrW95* mgr = GZWinMgr();
    GZSetAppActive(active);
    if (active) {
        if (mpHost && mgr)
            if (auto text = mpHost->GetClipboard().GetText()) mgr->SetClipboardText(ClipboardIn(*text), false);
    } else {
        if (mpHost && mgr && mgr->IsClipboardOwned())
            mpHost->GetClipboard().SetText(ClipboardOut(mgr->GetClipboardText()));
        if (mpGraphics && mpGraphics->IsMoviePlaying()) mpGraphics->StopMovie(1);
        if (mgr) mgr->SetOverrideCursor(nullptr, false);
    }
    if (cIGZUIApp* app = GZGetUIApp()) app->OnActivate(active);
}

intptr_t cGZMainWindowW95::DisplayChange(intptr_t bits) {
    if (!mpGraphics || mpGraphics->GetState() == cGZGraphicSystem::kNotStarted || mpGraphics->IsFullScreen() ||
        bits == 15 || bits == 16)
        return 0;
    mpGraphics->StopDrawing();
    if (cIGZUIApp* app = GZGetUIApp()) app->OnDisplayDepthChanged();
    return 1;
}

void cGZMainWindowW95::OnWin32Move() {
    if (!mpGraphics) return;
    cGZScreenBuffer& screen = mpGraphics->GetScreenBuffer();
    if (mpGraphics->IsFullScreen() || !mpHost) {
        screen.SetViewRect(GetArea());
        return;
    }
    const platform::Rect r = mpHost->ClientRect();
    screen.SetViewRect({r.left, r.top, r.right, r.bottom});
}

void cGZMainWindowW95::SetWindowedStyle() {
    if (!mpHost) return;
    mpHost->SetFrame(WindowFrame::Caption);
    mpHost->SetClientSize(Width(), Height());
    CenterOverRect(GetArea());
}

void cGZMainWindowW95::SetFullScreenStyle() {
    mnStyleFlags = 0;
    if (mpHost) mpHost->SetFrame(WindowFrame::Popup);
}

void cGZMainWindowW95::SetScreenBuffer(cGZBuffer* buffer) {
    // The screen buffer belongs to the graphic system: the root only draws into it.
    mpOwnBuffer = buffer;
    mbScreenBufferShown = buffer != nullptr;
    SetDrawBuffer(buffer);
    UpdateDrawBuffers();
}

void cGZMainWindowW95::SetConsoleEdit(cGZWin* edit) {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (mpConsole && mgr && mgr->IsWin(mpConsole)) mgr->DestroyWin(mpConsole);
    mpConsole = edit;
    if (mgr) mgr->SetConsoleWin(edit);
    if (!edit) return;
    AddChild(edit);
    edit->SetOwner(this);
    edit->Hide();
}

void cGZMainWindowW95::SetConsoleText(const cRZString& text) {
    if (mpConsole) mpConsole->SetText(text.substr(0, kConsoleMax));
}

void cGZMainWindowW95::ShowConsole(bool show) {
    if (!mpConsole) return;
    cGZWinMgrW95* mgr = GZWinMgr();
    if (show) {
        mpConsole->Show();
        mpConsole->BringToFront();
        if (mgr) mgr->SetFocus(mpConsole);
        mpConsole->SetAlwaysRedraw(true);
    } else {
        mpConsole->Hide();
        mpConsole->SetText(cRZString(""));
        if (mgr && mpFocusReturn && mgr->IsWin(mpFocusReturn)) mgr->SetFocus(mpFocusReturn);
    }
}
