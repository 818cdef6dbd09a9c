#include "ui/cGZWinTutorialHighlight.h"

#include <cmath>

#include "ui/cGZWinMgrW95.h"
#include "ui/cRZCursorManager.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZWinGraphics.h"

bool cGZWinTutorialHighlight::Init() {
    if (!cGZWin::Init()) return false;
    if (cGZWinMgrW95* mgr = GZWinMgr())
        if (cRZCursorManager* cursors = mgr->GetCursorManager()) SetCursor(cursors->GetCursor(0));
    return true;
}

bool cGZWinTutorialHighlight::Shutdown() {
    StopTimer();
    if (mpStrip) mpStrip->Release();
    mpStrip = nullptr;
    return cGZWin::Shutdown();
}

void cGZWinTutorialHighlight::SetStrip(cGZBuffer* strip, int32_t frameCount, float framesPerSecond) {
    if (strip != mpStrip) {
        if (strip) strip->AddRef();
        if (mpStrip) mpStrip->Release();
        mpStrip = strip;
    }
    mnFrameCount = frameCount;
    mfFramesPerSecond = framesPerSecond;
    mnFrame = 0;
    if (!mpStrip) return;
    const int32_t w = frameCount > 0 ? mpStrip->Width() / frameCount : mpStrip->Width();
    SetArea(mArea.left, mArea.top, mArea.left + w, mArea.top + mpStrip->Height());
}

uint32_t cGZWinTutorialHighlight::GetPeriodMs() const {
    return mfFramesPerSecond > 0 ? static_cast<uint32_t>(std::lround(1000.0 / mfFramesPerSecond)) : 0;
}

void cGZWinTutorialHighlight::StartTimer() {
    if (mfFramesPerSecond <= 0 || mbTimerRunning) return;
    if (cGZWinMgrW95* mgr = GZWinMgr()) {
        mgr->SetTimer(this, GetPeriodMs(), 0);
        mbTimerRunning = 1;
    }
}

void cGZWinTutorialHighlight::StopTimer() {
    if (!mbTimerRunning) return;
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->KillTimer(this);
    mbTimerRunning = 0;
}

uint32_t cGZWinTutorialHighlight::Show() {
    if (!TestFlag(kGZWinVisible)) {
        mnFrame = 0;
        // With fewer than two cells there is nothing to play back and forth.
        mnStep = mnFrameCount >= 2 ? 1 : 0;
        if (mnStep != 0) StartTimer();
    }
    return cGZWin::Show();
}

uint32_t cGZWinTutorialHighlight::Hide() {
    if (TestFlag(kGZWinVisible)) StopTimer();
    return cGZWin::Hide();
}

bool cGZWinTutorialHighlight::OnTimer(intptr_t) {
    StopTimer();
    if (mnStep < 0 && mnFrame == 0) mnStep = 1;
    else if (mnStep > 0 && mnFrame == mnFrameCount - 1) mnStep = -1;
    mnFrame += mnStep;
    Invalidate();
    if (mnStep != 0) StartTimer();
    return true;
}

bool cGZWinTutorialHighlight::Draw(bool) {
    cGZBuffer* target = GetDrawBuffer();
    if (!mpStrip || !target) return false;
    const int32_t w = Width(), h = Height();
    const cRZRect source{w * mnFrame, 0, w * (mnFrame + 1), h};
    target->BlitKeyed(*mpStrip, source, GetBufferArea(), nullptr, GZTransparentColor(), cGZBuffer::kBlitColorKey);
    cGZWin* root = this;
    while (root->GetParent()) root = root->GetParent();
    root->InvalidateRect(GetScreenArea());
    return true;
}
