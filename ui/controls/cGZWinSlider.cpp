#include "ui/controls/cGZWinSlider.h"

#include <algorithm>

#include "ui/GZMessageTypes.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/graphics/cGZBuffer.h"

cGZWinSlider::cGZWinSlider() { cGZWin::SetArea(0, 0, 32, 96); }

cGZWinSlider::~cGZWinSlider() {
    if (mpStrip) mpStrip->Release();
}

void cGZWinSlider::SetValue(int32_t value) {
    if (mbReporting) return;
    value = std::clamp(value, mnMin, std::max(mnMin, mnMax));
    if (value == mnValue) return;
    mnValue = value;
    UpdateThumb();
    cGZWin* owner = GetOwner();
    cGZWinMgrW95* mgr = GZWinMgr();
    if (owner && mgr && mgr->IsWin(owner)) {
        // A change asked for while the owner handles this one is ignored.
        mbReporting = true;
        owner->DoMessage({kGZMsgCommand, kCodeValueChanged, reinterpret_cast<intptr_t>(this), 0});
        mbReporting = false;
    }
    Invalidate();
}

void cGZWinSlider::SetMin(int32_t value) {
    mnMin = value;
    mnValue = std::clamp(mnValue, mnMin, std::max(mnMin, mnMax));
    UpdateTrack();
    Invalidate();
}

void cGZWinSlider::SetMax(int32_t value) {
    mnMax = value;
    mnValue = std::clamp(mnValue, mnMin, std::max(mnMin, mnMax));
    UpdateTrack();
    Invalidate();
}

bool cGZWinSlider::SetOrientation(int32_t orientation) {
    if (orientation != kHorizontal && orientation != kVertical) return false;
    mnOrientation = orientation;
    UpdateTrack();
    Invalidate();
    return true;
}

bool cGZWinSlider::TakeStrip(cGZBuffer* strip, bool colourKeyed) {
    if (!strip || (mnOrientation != kHorizontal && mnOrientation != kVertical)) return false;
    strip->AddRef();
    if (mpStrip) mpStrip->Release();
    mpStrip = strip;
    if (colourKeyed) strip->SetColorKey(strip->MakeColor(255, 0, 255));
    return true;
}

bool cGZWinSlider::SetImage(cGZBuffer* strip, bool colourKeyed) {
    if (!TakeStrip(strip, colourKeyed)) return false;
    if (IsHorizontal()) {
        mnCellWidth = strip->Width() / 4;
        mnCellHeight = strip->Height();
        cGZWin::SetArea(mArea.left, mArea.top, mArea.right, mArea.top + strip->Height());
    } else {
        mnCellWidth = strip->Width();
        mnCellHeight = strip->Height() / 4;
        cGZWin::SetArea(mArea.left, mArea.top, mArea.left + strip->Width(), mArea.bottom);
    }
    mThumbSource = SliderCell(3);
    UpdateTrack();
    Invalidate();
    return true;
}

void cGZWinSlider::SetEnabled(bool enabled) {
    mbEnabled = enabled;
    Invalidate();
}

int32_t cGZWinSlider::ThumbWidth() const {
    if (mpStrip) return mnCellWidth;
    return IsHorizontal() ? Height() : Width();
}

int32_t cGZWinSlider::ThumbHeight() const {
    if (mpStrip) return mnCellHeight;
    return IsHorizontal() ? Height() : Width();
}

void cGZWinSlider::UpdateTrack() {
    if (IsHorizontal()) {
        mnTrackStart = mnEndMargin;
        mnTrackEnd = Width() - mnEndMargin - ThumbWidth();
    } else {
        // The value grows upwards.
        mnTrackStart = Height() - mnEndMargin - ThumbHeight();
        mnTrackEnd = mnEndMargin;
    }
    UpdateThumb();
}

void cGZWinSlider::UpdateThumb() {
    const int64_t span = int64_t{mnMax} - mnMin;
    mnThumbPosition = mnTrackStart;
    if (span > 0)
        mnThumbPosition += static_cast<int32_t>((int64_t{mnTrackEnd} - mnTrackStart) * (mnValue - mnMin) / span);
    const int32_t w = ThumbWidth(), h = ThumbHeight();
    if (IsHorizontal()) {
        const int32_t top = (Height() - h) / 2;
        mThumbRect = {mnThumbPosition, top, mnThumbPosition + w, top + h};
    } else {
        const int32_t left = (Width() - w) / 2;
        mThumbRect = {left, mnThumbPosition, left + w, mnThumbPosition + h};
    }
}

int32_t cGZWinSlider::AxisPoint(int32_t x, int32_t y) const {
    const int32_t p = IsHorizontal() ? x - ThumbWidth() / 2 : y - ThumbHeight() / 2;
    const int32_t size = IsHorizontal() ? Width() : Height();
    return std::clamp(p, mnEndMargin, std::max(mnEndMargin, size - mnEndMargin));
}

bool cGZWinSlider::ValueFromPoint(int32_t& value, int32_t x, int32_t y) {
    // A track without length (a window no longer than the thumb) has only
    // the minimum to give.
    if (mnTrackEnd == mnTrackStart) {
        value = mnMin;
        return true;
    }
    const int64_t p = AxisPoint(x, y);
    value = mnMin + static_cast<int32_t>((p - mnTrackStart) * (int64_t{mnMax} - mnMin + 1) /
                                         (int64_t{mnTrackEnd} - mnTrackStart));
    return true;
}

bool cGZWinSlider::Init() {
    const bool result = cGZWin::Init();
    if (!mbTrackReady) {
        mbTrackReady = true;
        UpdateTrack();
    }
    return result;
}

bool cGZWinSlider::SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    // With a strip the size across the track stays the strip's.
    if (mpStrip && IsHorizontal()) bottom = top + mpStrip->Height();
    if (mpStrip && !IsHorizontal()) right = left + mnCellWidth;
    const bool result = cGZWin::SetArea(left, top, right, bottom);
    UpdateTrack();
    return result;
}

bool cGZWinSlider::HoldsCapture() const {
    cGZWinMgrW95* mgr = GZWinMgr();
    return mgr && mgr->GetCapture() == this;
}

bool cGZWinSlider::OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) {
    if (!mbEnabled) return cGZWin::OnLButtonDown(x, y, modifiers);
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->SetCapture(this);
    int32_t value = mnValue;
    if (ValueFromPoint(value, x, y)) SetValue(value);
    return true;
}

bool cGZWinSlider::OnMouseMove(int32_t x, int32_t y, uint32_t modifiers) {
    if (mbEnabled && HoldsCapture()) {
        int32_t value = mnValue;
        if (ValueFromPoint(value, x, y)) SetValue(value);
        return true;
    }
    return cGZWin::OnMouseMove(x, y, modifiers);
}

bool cGZWinSlider::OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) {
    if (!HoldsCapture()) return cGZWin::OnLButtonUp(x, y, modifiers);
    GZWinMgr()->ReleaseCapture(this);
    int32_t value = mnValue;
    if (mbEnabled && ValueFromPoint(value, x, y)) SetValue(value);
    return true;
}

cRZRect cGZWinSlider::SliderCell(int32_t n) const {
    if (IsHorizontal()) return {mnCellWidth * n, 0, mnCellWidth * (n + 1), mnCellHeight};
    return {0, mnCellHeight * n, mnCellWidth, mnCellHeight * (n + 1)};
}

void cGZWinSlider::DrawSliderStrip(cGZBuffer& buffer) {
    const int32_t ox = mBufferArea.left, oy = mBufferArea.top;
    const int32_t cw = mnCellWidth, ch = mnCellHeight;
    const cRZRect* clip = &mBufferArea;
    if (cw <= 0 || ch <= 0) return;
    if (IsHorizontal()) {
        const int32_t w = Width();
        buffer.Blit(*mpStrip, SliderCell(0), {ox, oy, ox + cw, oy + ch}, clip);
        for (int32_t x = cw; x < w - cw; x += cw) {
            const int32_t run = std::min(cw, w - cw - x);
            const cRZRect cell = SliderCell(1);
            buffer.Blit(*mpStrip, {cell.left, 0, cell.left + run, ch}, {ox + x, oy, ox + x + run, oy + ch}, clip);
        }
        buffer.Blit(*mpStrip, SliderCell(2), {ox + w - cw, oy, ox + w, oy + ch}, clip);
    } else {
        const int32_t h = Height();
        buffer.Blit(*mpStrip, SliderCell(0), {ox, oy, ox + cw, oy + ch}, clip);
        for (int32_t y = ch; y < h - ch; y += ch) {
            const int32_t run = std::min(ch, h - ch - y);
            const cRZRect cell = SliderCell(1);
            buffer.Blit(*mpStrip, {0, cell.top, cw, cell.top + run}, {ox, oy + y, ox + cw, oy + y + run}, clip);
        }
        buffer.Blit(*mpStrip, SliderCell(2), {ox, oy + h - ch, ox + cw, oy + h}, clip);
    }
    const cRZRect thumb{ox + mThumbRect.left, oy + mThumbRect.top, ox + mThumbRect.right, oy + mThumbRect.bottom};
    buffer.Blit(*mpStrip, mThumbSource, thumb, clip);
}

void cGZWinSlider::DrawShapes(cGZBuffer& buffer) {
    const int32_t ox = mBufferArea.left, oy = mBufferArea.top;
    buffer.FillRect(mnFillColor, mBufferArea);
    const uint32_t inverse = InverseColour();
    if (IsHorizontal()) {
        const int32_t y = oy + Height() / 2;
        buffer.FillRect4(inverse, ox + mnEndMargin, y, ox + Width() - mnEndMargin, y + 1, &mBufferArea);
    } else {
        const int32_t x = ox + Width() / 2;
        buffer.FillRect4(inverse, x, oy + mnEndMargin, x + 1, oy + Height() - mnEndMargin, &mBufferArea);
    }
    buffer.FillRect4(inverse, ox + mThumbRect.left, oy + mThumbRect.top, ox + mThumbRect.right,
                     oy + mThumbRect.bottom, &mBufferArea);
}

bool cGZWinSlider::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    if (mpStrip)
        DrawSliderStrip(*buffer);
    else
        DrawShapes(*buffer);
    return true;
}
