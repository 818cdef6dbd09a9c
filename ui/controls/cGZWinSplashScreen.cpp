#include "ui/controls/cGZWinSplashScreen.h"

#include <algorithm>
#include <cstring>

#include "framework/cRZLock.h"
#include "platform/Clock.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/cIGZUIApp.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

namespace {

int32_t Length(const cRZString& text) { return static_cast<int32_t>(std::strlen(text.c_str())); }

cRZRect Offset(const cRZRect& r, int32_t dx, int32_t dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

bool IsEmptyArea(const cRZRect& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

cGZWinSplashScreen::cGZWinSplashScreen() {
    mNewRamp.InitConstant(1.0f);
    mOldRamp.InitConstant(-1.0f);
}

cGZWinSplashScreen::~cGZWinSplashScreen() {
    if (TestFlag(kGZWinInitialised)) Shutdown();
    for (cGZBuffer*& image : mpImages)
        if (image) image->Release(), image = nullptr;
    if (mpFont) mpFont->Release();
}

void cGZWinSplashScreen::SetImage(int32_t index, cGZBuffer* image, int32_t delayMs, const cRZString* caption) {
    if (index < 0 || index >= kImages) return;
    if (mpImages[index] != image) {
        if (mpImages[index]) mpImages[index]->Release();
        mpImages[index] = image;
    }
    mnDelays[index] = delayMs;
    if (caption) mCaptions[index] = *caption;
}

void cGZWinSplashScreen::SetFont(cIGZFont* font) {
    if (font) font->AddRef();
    if (mpFont) mpFont->Release();
    mpFont = font;
}

bool cGZWinSplashScreen::SlideRunning() const {
    // A ramp at rest ends at tick 0, which is not a slide at any frame time.
    return mbSlideStartPending ||
           (mbSliding && static_cast<int32_t>(mnDrawTime - static_cast<uint32_t>(mNewRamp.GetEndTick())) < 0);
}

void cGZWinSplashScreen::StartSlide() {
    const auto now = static_cast<int32_t>(mnDrawTime);
    mNewRamp.Init(1.0f, 0.0f, kSlideMs, now);
    mOldRamp.Init(0.0f, -1.0f, kSlideMs, now);
    mbSlideStartPending = false;
    mbSliding = true;
}

void cGZWinSplashScreen::SetStatusText(const cRZString& text) {
    cRZLock lock(mLock);
    if (SlideRunning()) {
        mPending.push_back(text);
    } else {
        mOldText = mText;
        mText = text;
        // The slide starts at the next draw, on the frame clock.
        mbSlideStartPending = true;
    }
    Invalidate();
}

cRZString cGZWinSplashScreen::GetStatusText() {
    cRZLock lock(mLock);
    return mText;
}

cRZString cGZWinSplashScreen::GetOldText() {
    cRZLock lock(mLock);
    return mOldText;
}

size_t cGZWinSplashScreen::GetPendingCount() {
    cRZLock lock(mLock);
    return mPending.size();
}

float cGZWinSplashScreen::GetNewTextPosition() {
    cRZLock lock(mLock);
    return mbSlideStartPending ? 1.0f : mNewRamp.GetValue(GZGetFrameTime());
}

float cGZWinSplashScreen::GetOldTextPosition() {
    cRZLock lock(mLock);
    return mbSlideStartPending ? 0.0f : mOldRamp.GetValue(GZGetFrameTime());
}

bool cGZWinSplashScreen::Init() {
    if (TestFlag(kGZWinInitialised)) return cGZWin::Init();
    if (!cGZWin::Init()) return false;
    if (mpImages[1] && mnDelays[0] > 0)
        if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->SetTimer(this, static_cast<uint32_t>(mnDelays[0]), 0);
    {
        cRZLock lock(mLock);
        if (!mbSlideStartPending) {
            mNewRamp.InitConstant(1.0f);
            mOldRamp.InitConstant(-1.0f);
            mbSliding = false;
        }
    }
    HideCursorOver(true);
    return true;
}

bool cGZWinSplashScreen::Shutdown() {
    if (!TestFlag(kGZWinInitialised)) return cGZWin::Shutdown();
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->KillTimer(this);
    {
        cRZLock lock(mLock);
        for (cGZBuffer*& image : mpImages)
            if (image) image->Release(), image = nullptr;
    }
    HideCursorOver(false);
    return cGZWin::Shutdown();
}

uint32_t cGZWinSplashScreen::Show() {
    if (!TestFlag(kGZWinVisible)) mbAdvanced = false;
    return cGZWin::Show();
}

bool cGZWinSplashScreen::OnTimer(intptr_t) {
    if (mbSkippable && mbAdvanced) return true;
    mbAdvanced = true;
    cGZWinMgrW95* mgr = GZWinMgr();
    if (mgr) mgr->KillTimer(this);
    if (cIGZUIApp* app = GZGetUIApp()) app->OnSplashImageEnded(mnCurrent);
    ++mnCurrent;
    if (mnCurrent < kImages && mpImages[mnCurrent]) {
        if (mnDelays[mnCurrent] > 0 && mgr) mgr->SetTimer(this, static_cast<uint32_t>(mnDelays[mnCurrent]), 0);
        cRZLock lock(mLock);
        mbImageNeedsDrawing = true;
        Invalidate();
    }
    return true;
}

bool cGZWinSplashScreen::MaySkip() const {
    return mbSkippable && mnFirstDraw != 0 && platform::TimeMs() - mnFirstDraw >= kSkipAfterMs;
}

bool cGZWinSplashScreen::OnKeyDown(uint32_t key, uint32_t modifiers) {
    if ((key == 27 || key == 13) && MaySkip()) {
        if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->FlushInput();
        OnTimer(0);
    }
    return cGZWin::OnKeyDown(key, modifiers);
}

bool cGZWinSplashScreen::OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) {
    if (MaySkip()) {
        if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->FlushInput();
        OnTimer(0);
    }
    return cGZWin::OnLButtonDown(x, y, modifiers);
}

bool cGZWinSplashScreen::Update(bool) {
    cRZLock lock(mLock);
    return cGZWin::Update(false);
}

void cGZWinSplashScreen::Erase(cGZBuffer& buffer, const cRZRect& area) {
    if (IsEmptyArea(area)) return;
    const int32_t dx = mBufferArea.left, dy = mBufferArea.top;
    const cRZRect target = Offset(area, dx, dy);
    buffer.FillRect(0, target, &mBufferArea);
    cGZBuffer* image = mnCurrent < kImages ? mpImages[mnCurrent] : nullptr;
    if (!image) return;
    const cRZRect under{std::max(area.left, mImageArea.left), std::max(area.top, mImageArea.top),
                        std::min(area.right, mImageArea.right), std::min(area.bottom, mImageArea.bottom)};
    if (IsEmptyArea(under)) return;
    const cRZRect source = Offset(under, -mImageArea.left, -mImageArea.top);
    buffer.Blit(*image, source, Offset(under, dx, dy), &mBufferArea);
}

bool cGZWinSplashScreen::Draw(bool) {
    cRZLock lock(mLock);
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    mnDrawTime = GZGetFrameTime();
    if (mnFirstDraw == 0) mnFirstDraw = std::max<uint32_t>(1, platform::TimeMs());
    if (mbSlideStartPending) StartSlide();
    const int32_t dx = mBufferArea.left, dy = mBufferArea.top;
    const int32_t width = Width(), height = Height();
    cGZBuffer* image = mnCurrent < kImages ? mpImages[mnCurrent] : nullptr;
    // 1. The image, centred.
    const bool wholeImage = mbImageNeedsDrawing;
    if (mbImageNeedsDrawing) {
        buffer->FillRect(0, mBufferArea);
        mImageArea = {};
        if (image) {
            const int32_t left = (width - image->Width()) / 2, top = (height - image->Height()) / 2;
            mImageArea = {left, top, left + image->Width(), top + image->Height()};
            buffer->Blit(*image, image->GetBounds(), Offset(mImageArea, dx, dy), &mBufferArea);
        }
    }
    // 2. The status line: the old text leaves to the left, the new one
    // comes in from the right edge and stops centred.
    Erase(*buffer, mOldArea);
    Erase(*buffer, mNewArea);
    mOldArea = mNewArea = {};
    if (mpFont) {
        const int32_t fontHeight = mpFont->GetLineHeight();
        const int32_t top = height - fontHeight * 3 / 2;
        const int32_t oldWidth = mpFont->GetTextWidth(mOldText.c_str(), Length(mOldText));
        const int32_t newWidth = mpFont->GetTextWidth(mText.c_str(), Length(mText));
        const int32_t oldCentre = (width - oldWidth) / 2, newCentre = (width - newWidth) / 2;
        const auto oldX = static_cast<int32_t>(oldCentre + (oldCentre + oldWidth) * mOldRamp.GetValue(mnDrawTime));
        const auto newX = static_cast<int32_t>(newCentre + (width - newCentre) * mNewRamp.GetValue(mnDrawTime));
        const cRZRect clip = mBufferArea;
        if (oldWidth > 0) {
            mOldArea = {std::max(0, oldX), top, std::min(width, oldX + oldWidth), height};
            mpFont->DrawText(*buffer, dx + oldX, dy + top, mOldText.c_str(), Length(mOldText), &clip, -1, -1);
        }
        if (newWidth > 0) {
            mNewArea = {std::max(0, newX), top, std::min(width, newX + newWidth), height};
            mpFont->DrawText(*buffer, dx + newX, dy + top, mText.c_str(), Length(mText), &clip, -1, -1);
        }
        if (!SlideRunning() && !mPending.empty()) {
            mOldText = mText;
            mText = mPending.front();
            mPending.pop_front();
            StartSlide();
        }
        // 3. The caption above the status line.
        mCaptionArea = {};
        if (mnCurrent < kImages && !mCaptions[mnCurrent].empty()) {
            const int32_t captionTop = height - 4 * fontHeight;
            mCaptionArea = {0, captionTop, width, captionTop + fontHeight * 3 / 2};
            if (!wholeImage) Erase(*buffer, mCaptionArea);
            const cRZString& caption = mCaptions[mnCurrent];
            mpFont->DrawTextBox(*buffer, Offset(mCaptionArea, dx, dy), caption.c_str(), Length(caption),
                                cIGZFont::kAlignCentre);
        }
    }
    Invalidate();
    return true;
}

void cGZWinSplashScreen::AddAreaDirty(const cRZRect& area) {
    if (!IsEmptyArea(area)) cGZWin::AddDirtyRect(Offset(area, mScreenArea.left, mScreenArea.top), true);
}

void cGZWinSplashScreen::AddDirtyRect(const cRZRect& rect, bool force) {
    if (mbImageNeedsDrawing || force) {
        cGZWin::AddDirtyRect(rect, force);
        if (!force) mbImageNeedsDrawing = false;
        return;
    }
    AddAreaDirty(mOldArea);
    AddAreaDirty(mNewArea);
    AddAreaDirty(mCaptionArea);
}
