// cGZWin's drawing: own and drawing buffers, the per-frame Update and
// Composite, fades and translucency.
#include <cmath>

#include "ui/GZMessageTypes.h"
#include "ui/cGZWin.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZWinGraphics.h"

namespace {

constexpr int32_t kDefaultFadeMs = 333;

// A copy of source's rect (clipped to the source) into a new buffer of the
// rect's full size, at the matching place; null when nothing of it lies in
// the source or no buffer can be made.
cGZBuffer* CopyUnder(cGZBuffer* source, const cRZRect& rect, bool fullSize) {
    if (!source) return nullptr;
    cRZRect visible;
    if (!visible.Intersect(rect, source->GetBounds())) return nullptr;
    const int32_t w = fullSize ? rect.right - rect.left : visible.right - visible.left;
    const int32_t h = fullSize ? rect.bottom - rect.top : visible.bottom - visible.top;
    cGZBuffer* copy = GZCreateScreenBuffer(w, h);
    if (!copy) return nullptr;
    const int32_t dx = fullSize ? visible.left - rect.left : 0, dy = fullSize ? visible.top - rect.top : 0;
    const cRZRect dest{dx, dy, dx + visible.right - visible.left, dy + visible.bottom - visible.top};
    uint32_t key = 0, flags = 0;
    source->GetBlitParams(key, flags);
    source->SetBlitParams(key, 0);
    copy->Blit(*source, visible, dest);
    source->SetBlitParams(key, flags);
    return copy;
}

}  // namespace

void cGZWin::ReleaseFadeBackground() {
    if (mpFadeBackground) mpFadeBackground->Release();
    mpFadeBackground = nullptr;
}

cGZBuffer* cGZWin::CopyBackground() {
    if (mpOwnBuffer) return CopyUnder(mpParent ? mpParent->GetDrawBuffer() : nullptr, mTargetArea, false);
    return CopyUnder(mpDrawBuffer, mBufferArea, false);
}

// --- buffers ----------------------------------------------------------------

bool cGZWin::SetOwnBuffer(bool on) {
    bool result = true;
    if (on) {
        const int32_t w = Width(), h = Height();
        if (!mpOwnBuffer || mpOwnBuffer->Width() != w || mpOwnBuffer->Height() != h) {
            if (mpOwnBuffer) mpOwnBuffer->Release();
            mpOwnBuffer = GZCreateScreenBuffer(w, h);
            if (mpOwnBuffer && TestFlag(kGZWinColorKeyed)) {
                const uint32_t key = GZTransparentColor();
                mpOwnBuffer->Clear(key);
                mpOwnBuffer->SetColorKey(key);
            }
        }
        result = mpOwnBuffer != nullptr;
    } else if (mpOwnBuffer) {
        mpOwnBuffer->Release();
        mpOwnBuffer = nullptr;
    }
    UpdateDrawBuffers();
    Invalidate();
    return result;
}

void cGZWin::SetDrawBuffer(cGZBuffer* buffer) {
    mpDrawBuffer = buffer;
    for (cGZWin* child : mChildren) child->SetDrawBuffer(buffer);
}

void cGZWin::UpdateDrawBuffer() {
    mpDrawBuffer = mpOwnBuffer;
    for (const cGZWin* p = mpParent; !mpDrawBuffer && p; p = p->mpParent) mpDrawBuffer = p->mpOwnBuffer;
    UpdateBufferAreas();
}

void cGZWin::UpdateDrawBuffers() {
    UpdateDrawBuffer();
    for (cGZWin* child : mChildren) child->UpdateDrawBuffers();
}

void cGZWin::UpdateBufferArea() {
    cRZRect shifted = mArea;
    for (const cGZWin* p = mpParent; p && !p->mpOwnBuffer; p = p->mpParent) {
        shifted.left += p->mArea.left;
        shifted.right += p->mArea.left;
        shifted.top += p->mArea.top;
        shifted.bottom += p->mArea.top;
    }
    if (mpOwnBuffer) {
        mBufferArea = {0, 0, Width(), Height()};
        mTargetArea = shifted;
    } else {
        mBufferArea = shifted;
    }
}

void cGZWin::UpdateBufferAreas() {
    UpdateBufferArea();
    for (cGZWin* child : mChildren) child->UpdateBufferAreas();
}

// --- invalidation -----------------------------------------------------------

void cGZWin::InvalidateAll() {
    Invalidate();
    for (cGZWin* child : mChildren) child->InvalidateAll();
}

void cGZWin::InvalidateRect(const cRZRect& rect) {
    cRZRect overlap;
    if (!TestFlag(kGZWinVisible) || !overlap.Intersect(rect, mScreenArea)) return;
    Invalidate();
    for (cGZWin* child : mChildren) child->InvalidateRect(rect);
}

void cGZWin::AddDirtyRect(const cRZRect& rect, bool force) {
    if (mbNoScreenInvalidate && !force) return;
    if (cIGZWinGraphics* graphics = GZGetWinGraphics()) graphics->AddScreenDirtyRect(rect);
}

// --- fades ------------------------------------------------------------------

bool cGZWin::FadeTimeIsUp() const {
    return static_cast<int32_t>(GZGetFrameTime() - static_cast<uint32_t>(mFadeRamp.GetEndTick())) >= 0;
}

uint8_t cGZWin::GetAlpha() const {
    if (!TestFlag(kGZWinVisible)) return 0;
    if (TestFlag(kGZWinDragging) && TestFlag(kGZWinDragTranslucent)) return mnAlpha;
    if (TestFlag(kGZWinTranslucent)) return mnAlpha;
    if (mnFadeDirection != 0) {
        const float value = std::clamp(mFadeRamp.GetValue(GZGetFrameTime()), 0.0f, 1.0f);
        return static_cast<uint8_t>(std::lround(value * 255.0f));
    }
    return 255;
}

bool cGZWin::CloseFinishedFade(cGZBuffer* target, const cRZRect* targetRect) {
    if (mnFadeDirection == 0) return false;
    const int32_t direction = mnFadeDirection;
    if (mpParent)
        if (cGZWinMgrW95* mgr = GZWinMgr())
            mgr->QueueMessage(mpParent, kGZMsgFadeDone, reinterpret_cast<intptr_t>(this), direction);
    mnFadeDirection = 0;
    mFadeRamp.InitConstant(direction > 0 ? 1.0f : 0.0f);
    if (direction > 0) {
        if (target && targetRect && mpOwnBuffer) target->Blit(*mpOwnBuffer, mpOwnBuffer->GetBounds(), *targetRect);
        InvalidateAll();
    } else {
        Hide();
    }
    ReleaseFadeBackground();
    if (!mbFadeKeptOwnBuffer && !(TestFlag(kGZWinWantsOwnBuffer) && TestFlag(kGZWinVisible))) SetOwnBuffer(false);
    return true;
}

void cGZWin::FinishFade() {
    CloseFinishedFade(nullptr, nullptr);
    for (cGZWin* child : mChildren) child->FinishFade();
}

void cGZWin::FadeVisible(bool show, bool redraw, int32_t durationMs) {
    if (durationMs <= 0) durationMs = kDefaultFadeMs;
    mnFadeDurationMs = durationMs;
    if (mnFadeDirection != 0 && FadeTimeIsUp()) CloseFinishedFade(nullptr, nullptr);
    const int32_t direction = show ? 1 : -1;
    const bool visible = TestFlag(kGZWinVisible);
    if (show && visible && mnFadeDirection != -1) return;
    if (!show && !visible) return;
    if (mnFadeDirection == direction) return;
    const uint32_t now = GZGetFrameTime();
    const float target = show ? 1.0f : 0.0f;
    if (mnFadeDirection == -direction) {
        // Reverse from where the opacity stands now: no jump.
        const float current = std::clamp(mFadeRamp.GetValue(now), 0.0f, 1.0f);
        const int32_t ticks = static_cast<int32_t>(std::lround(durationMs * std::fabs(target - current)));
        mFadeRamp.Init(current, target, ticks, static_cast<int32_t>(now));
        mnFadeDirection = direction;
    } else {
        for (cGZWin* child : mChildren) child->FinishFade();
        mbFadeRedraws = redraw ? 1 : 0;
        mbFadeKeptOwnBuffer = mpOwnBuffer ? 1 : 0;
        if (!mpOwnBuffer) SetOwnBuffer(true);
        mnFadeDirection = direction;
        mFadeRamp.Init(show ? 0.0f : 1.0f, target, durationMs, static_cast<int32_t>(now));
        if (show) Show();
    }
    if (mpParent) mpParent->Invalidate();
    Invalidate();
}

// --- per frame --------------------------------------------------------------

bool cGZWin::Update(bool force) {
    bool needs = mpOwnBuffer ? mbDirty != 0 : (mbDirty != 0 || force);
    if (mnFadeDirection != 0 && UsesFadeBackground()) {
        if (!mpFadeBackground)
            mpFadeBackground = CopyUnder(mpParent ? mpParent->GetDrawBuffer() : nullptr,
                                         mpOwnBuffer ? mTargetArea : mBufferArea, true);
        if (needs && mpOwnBuffer && mpFadeBackground)
            mpOwnBuffer->Blit(*mpFadeBackground, mpFadeBackground->GetBounds(), mpOwnBuffer->GetBounds());
    }
    if (needs || (mnFadeDirection != 0 && mbFadeRedraws)) {
        mbWasDirty = mbDirty;
        mbDirty = 0;
        if (Draw(force) && TestFlag(kGZWinVisible) && mpParent) AddDirtyRect(mScreenArea, false);
        if ((TestFlag(kGZWinDragging) && TestFlag(kGZWinDragTranslucent)) || TestFlag(kGZWinTranslucent)) {
            // Translucent windows are drawn every frame with what lies under them.
            Invalidate();
            cGZWin* root = this;
            while (root->mpParent) root = root->mpParent;
            root->InvalidateRect(mScreenArea);
        }
    }
    bool childDrew = false;
    // Back to front: the front child is drawn last. A copy, since a child may
    // reorder its siblings while it draws.
    const std::vector<cGZWin*> children(mChildren.rbegin(), mChildren.rend());
    for (cGZWin* child : children)
        if (child->TestFlag(kGZWinVisible) && child->Update(needs)) childDrew = true;
    bool drawn = needs || childDrew;
    if (OnDrawn(drawn)) drawn = true;
    if (mpOwnBuffer && mpParent && (drawn || force || mnFadeDirection != 0)) {
        if (cGZBuffer* target = mpParent->GetDrawBuffer()) Composite(*target, mTargetArea);
        AddDirtyRect(mScreenArea, false);
    }
    return drawn;
}

bool cGZWin::Composite(cGZBuffer& target, const cRZRect& targetRect) {
    if (!mpOwnBuffer) return false;
    const cRZRect source = mpOwnBuffer->GetBounds();
    if ((TestFlag(kGZWinDragging) && TestFlag(kGZWinDragTranslucent)) || TestFlag(kGZWinTranslucent))
        return target.BlitAlpha(*mpOwnBuffer, source, targetRect, mnAlpha);
    if (mnFadeDirection != 0) {
        Invalidate();
        if (mpParent) mpParent->Invalidate();
        if (FadeTimeIsUp()) return CloseFinishedFade(&target, &targetRect);
    }
    const uint8_t alpha = mnFadeDirection != 0 ? GetAlpha() : 255;
    if (alpha >= 248) return target.Blit(*mpOwnBuffer, source, targetRect);
    if (alpha <= 7 || !mpFadeBackground) return true;
    target.Blit(*mpFadeBackground, mpFadeBackground->GetBounds(), targetRect);
    return target.BlitAlpha(*mpOwnBuffer, source, targetRect, alpha);
}

uint32_t cGZWin::MakeColor(uint8_t red, uint8_t green, uint8_t blue) const {
    return mpDrawBuffer ? mpDrawBuffer->MakeColor(red, green, blue) : GZScreenColor(red, green, blue);
}
