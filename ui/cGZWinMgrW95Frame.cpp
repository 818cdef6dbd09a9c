// The window manager's mouse-over tracking, tooltip state machine and the
// per-frame draw pass.
#include <algorithm>
#include <cmath>

#include "framework/TP.h"
#include "framework/cRZLock.h"
#include "platform/Clock.h"
#include "ui/GZMessageTypes.h"
#include "ui/cDefaultTTWindow.h"
#include "ui/cGZWin.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZWinGraphics.h"

void cGZWinMgrW95::InvalidateRootRect(const cRZRect& rect) {
    if (IsWin(mpRoot)) mpRoot->InvalidateRect(rect);
}

void cGZWinMgrW95::SetToolTipWindow(cGZWin* tooltip) {
    cGZWin* old = mpToolTip;
    mpToolTip = tooltip;
    if (old) {
        if (IsWin(old)) old->SetAreaFromRect(old->GetArea(), 0.0f);
        old->Release();
    }
}

cGZWin* cGZWinMgrW95::GetToolTipWin() {
    if (!mpSharedToolTip) {
        auto* tooltip = new cDefaultTTWindow;
        tooltip->AddRef();
        if (!tooltip->Init(cRZString("Your Message Here"))) {
            DestroyWin(tooltip);
            tooltip->Release();
            return nullptr;
        }
        mpSharedToolTip = tooltip;
    }
    mpSharedToolTip->AddRef();
    return mpSharedToolTip;
}

void cGZWinMgrW95::SwitchMouseOver(cGZWin* window, const cGZMessage* message) {
    if (!IsWin(window)) window = nullptr;
    cGZWin* old = IsWin(mpMouseOver) ? mpMouseOver : nullptr;
    const int32_t x = message ? static_cast<int32_t>(message->a) : 0;
    const int32_t y = message ? static_cast<int32_t>(message->b) : 0;
    bool oldHadTip = false;
    if (old) {
        oldHadTip = old->TestFlag(kGZWinHasToolTip);
        if (message)
            old->DoMessage({kGZMsgMouseLeave, x - old->GetScreenArea().left, y - old->GetScreenArea().top,
                            reinterpret_cast<intptr_t>(window)});
    }
    if (window && message && IsWin(window))
        window->DoMessage({kGZMsgMouseEnter, x - window->GetScreenArea().left, y - window->GetScreenArea().top,
                           reinterpret_cast<intptr_t>(old)});
    if (!IsWin(window)) window = nullptr;
    mbHadTip = window && window->TestFlag(kGZWinVisible) && window->TestFlag(kGZWinHasToolTip);
    const uint32_t now = platform::TimeMs();
    switch (mTTState) {
    case kTTDown:
        mTTState = kTTWaitingDown;
        break;
    case kTTMotoringUp:
        mTTState = kTTUp;
        break;
    case kTTUp:
        if (mbHadTip) {
            mTTState = kTTMotoringUp;
            mTTStartMotoringUpTime = now;
        } else if (!window || now - mTTStartWaitingTime > static_cast<uint32_t>(window->GetToolTipDelay())) {
            mTTState = kTTWaitingDown;
            InvalidateRootRect(mLastTipArea);
        }
        break;
    default:
        break;
    }
    if (oldHadTip && mbDrewTip) InvalidateRootRect(mLastTipArea);
    mpMouseOver = window;
    mTTStartWaitingTime = now;
    SetToolTipWindow(nullptr);
    if (mbHadTip) {
        cGZWin* tooltip = window->CreateToolTip();
        mpToolTip = tooltip;
        if (tooltip) {
            tooltip->SetAlwaysRedraw(true);
            window->GetToolTipPos(tooltip, false, mnTipX, mnTipY);
        }
    }
}

void cGZWinMgrW95::TrackMouse(cGZWin* window, const cGZMessage& message) {
    if (window == mpMouseOver) return;
    SwitchMouseOver(window, &message);
}

void cGZWinMgrW95::ResetMouseOver(cGZWin* window) { SwitchMouseOver(window, nullptr); }

void cGZWinMgrW95::RefreshToolTip() {
    if (!IsWin(mpMouseOver) || !mpMouseOver->TestFlag(kGZWinHasToolTip)) return;
    SetToolTipWindow(nullptr);
    if (cGZWin* tooltip = mpMouseOver->CreateToolTip()) {
        mpToolTip = tooltip;
        tooltip->SetAlwaysRedraw(true);
    }
}

void cGZWinMgrW95::HideToolTip() {
    mTTState = kTTDown;
    if (mbDrewTip) InvalidateRootRect(mLastTipArea);
    SetToolTipWindow(nullptr);
}

bool cGZWinMgrW95::UpdateToolTip() {
    cGZWin* tooltip = mpToolTip;
    if (!IsWin(tooltip)) return false;
    const uint32_t now = platform::TimeMs();
    cGZWin* over = IsWin(mpMouseOver) ? mpMouseOver : nullptr;
    if (over && over->TestFlag(kGZWinHasToolTip)) {
        if (mTTState == kTTWaitingDown && now - mTTStartWaitingTime >= static_cast<uint32_t>(over->GetToolTipDelay())) {
            mTTState = kTTMotoringUp;
            mTTStartMotoringUpTime = now;
            over->GetToolTipPos(tooltip, true, mnTipX, mnTipY);
        } else if (mTTState == kTTUp && !tooltip->TestFlag(kGZWinToolTipNoLimit) &&
                   now - mTTStartWaitingTime > kToolTipLimitMs) {
            mTTState = kTTDown;
            InvalidateRootRect(mLastTipArea);
        }
    } else if (mTTState == kTTUp) {
        const uint32_t delay = over ? static_cast<uint32_t>(over->GetToolTipDelay()) : 0;
        if (now - mTTStartWaitingTime >= delay) {
            mTTState = kTTWaitingDown;
            mTTStartWaitingTime = now;
            InvalidateRootRect(mLastTipArea);
        }
    }

    const int32_t fullW = tooltip->Width(), fullH = tooltip->Height();
    cRZRect rect{mnTipX, mnTipY, mnTipX + fullW, mnTipY + fullH};
    bool draw = false;
    float fraction = 1.0f;
    if (mTTState == kTTMotoringUp) {
        const uint32_t elapsed = now - mTTStartMotoringUpTime;
        const int32_t grow = over ? over->GetToolTipGrowTime() : 150;
        if (grow != 0 && elapsed < static_cast<uint32_t>(grow)) {
            fraction = static_cast<float>(elapsed) / static_cast<float>(grow);
            const int32_t h = static_cast<int32_t>(fullH * fraction + 0.5f);
            rect.top = rect.bottom - h;
            draw = h > 0;
        } else {
            mTTState = kTTUp;
            mTTStartWaitingTime = now;
            draw = true;
        }
    } else if (mTTState == kTTUp) {
        draw = true;
    }
    if (!draw) {
        tooltip->Hide();
        return false;
    }
    tooltip->Show();
    mTipFullArea = {mnTipX, mnTipY, mnTipX + fullW, mnTipY + fullH};
    int32_t dx = 0, dy = 0;
    if (mTipFullArea.left < 0) dx = -mTipFullArea.left;
    if (mTipFullArea.top < 0) dy = -mTipFullArea.top;
    if (IsWin(mpRoot)) {
        if (mTipFullArea.right > mpRoot->Width()) dx = mpRoot->Width() - 1 - mTipFullArea.right;
        if (mTipFullArea.bottom > mpRoot->Height()) dy = mpRoot->Height() - 1 - mTipFullArea.bottom;
    }
    mTipFullArea = {mTipFullArea.left + dx, mTipFullArea.top + dy, mTipFullArea.right + dx, mTipFullArea.bottom + dy};
    rect = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    tooltip->SetAreaFromRect(rect, mTTState == kTTMotoringUp ? fraction : 1.0f);
    const cRZRect screen = tooltip->GetScreenArea();
    if (screen.left != mLastTipArea.left || screen.top != mLastTipArea.top || screen.right != mLastTipArea.right ||
        screen.bottom != mLastTipArea.bottom) {
        mLastTipArea = screen;
        InvalidateRootRect(mLastTipArea);
    }
    return true;
}

void cGZWinMgrW95::DrawToolTip() {
    cGZWin* tooltip = mpToolTip;
    cGZBuffer* target = IsWin(mpRoot) ? mpRoot->GetDrawBuffer() : nullptr;
    if (!IsWin(tooltip) || !target) return;
    if (!tooltip->GetOwnBuffer()) {
        tooltip->SetDrawBuffer(target);
        tooltip->UpdateBufferAreas();
        tooltip->Update(true);
        tooltip->SetDrawBuffer(nullptr);
    } else {
        tooltip->Update(true);
        tooltip->Composite(*target, tooltip->GetScreenArea());
    }
    tooltip->Invalidate();
    mbDrewTip = true;
    mbTipDrawnThisFrame = true;
    if (mTTState == kTTMotoringUp && !dynamic_cast<cDefaultTTWindow*>(tooltip))
        tooltip->SetArea(mTipFullArea.left, mTipFullArea.top, mTipFullArea.right, mTipFullArea.bottom);
}

void cGZWinMgrW95::LiveWinPass() {
    std::vector<cGZWin*> windows;
    {
        cRZLock lock(mSection);
        for (const cGZWin* w : mRegistry) windows.push_back(const_cast<cGZWin*>(w));
        for (cGZWin* w : windows) {
            if (!w->TestFlag(kGZWinAlwaysRedraw)) continue;
            if (w->GetParent() && w->GetParent()->TestFlag(kGZWinAlwaysRedraw)) continue;
            if (!w->IsVisibleUpward()) continue;
            const cGZWin* top = w;
            while (top->GetParent()) top = top->GetParent();
            if (top != mpRoot) continue;
            w->AddDirtyRect(w->GetScreenArea(), true);
        }
    }
}

void cGZWinMgrW95::Plot() {
    TP::Get().AddSample("FW::Plot");
    const bool draw = UpdateToolTip();
    cIGZWinGraphics* graphics = GZGetWinGraphics();
    if (draw && graphics && graphics->HasPresenter()) graphics->AddScreenDirtyRect(mpToolTip->GetScreenArea());
    if (IsWin(mpConsole) && mpConsole->TestFlag(kGZWinVisible)) mpConsole->BringToFront();
    if (!mbAlwaysRedrawOff) LiveWinPass();
    if (IsWin(mpRoot)) mpRoot->Update(true);
    if (draw)
        DrawToolTip();
    else
        mbTipDrawnThisFrame = false;
}
