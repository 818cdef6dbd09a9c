#include "ui/controls/cGZWinScrollbar.h"

#include <algorithm>

#include "ui/cGZWinMgrW95.h"
#include "ui/graphics/cGZBuffer.h"

cGZWinScrollbar::cGZWinScrollbar() { mnEndMargin = 0; }

void cGZWinScrollbar::LineUp() {
    if (mnValue > mnMin) SetValue(mnValue - 1);
}

void cGZWinScrollbar::LineDown() {
    if (mnValue < mnMax) SetValue(mnValue + 1);
}

void cGZWinScrollbar::PageUp() {
    if (mnValue > mnMin) SetValue(static_cast<int32_t>(std::max<int64_t>(int64_t{mnValue} - mnPageStep, mnMin)));
}

void cGZWinScrollbar::PageDown() {
    if (mnValue < mnMax) SetValue(static_cast<int32_t>(std::min<int64_t>(int64_t{mnValue} + mnPageStep, mnMax)));
}

bool cGZWinScrollbar::HitPart(int32_t& part, int32_t x, int32_t y) {
    part = kPartNone;
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return false;
    const int32_t along = IsHorizontal() ? x : y;
    const int32_t size = IsHorizontal() ? Width() : Height();
    const int32_t arrow = IsHorizontal() ? ArrowWidth() : ArrowHeight();
    const int32_t thumbStart = IsHorizontal() ? mThumbRect.left : mThumbRect.top;
    const int32_t thumbEnd = IsHorizontal() ? mThumbRect.right : mThumbRect.bottom;
    if (along < arrow) part = kPartFirstArrow;
    else if (along >= size - arrow) part = kPartSecondArrow;
    else if (along < thumbStart) part = kPartPageBefore;
    else if (along >= thumbEnd) part = kPartPageAfter;
    else part = kPartThumb;
    return true;
}

bool cGZWinScrollbar::SetImage(cGZBuffer* strip, bool colourKeyed) {
    if (!TakeStrip(strip, colourKeyed)) return false;
    mnCellWidth = strip->Width() / 12;
    mnCellHeight = strip->Height();
    if (IsHorizontal())
        cGZWin::SetArea(mArea.left, mArea.top, mArea.right, mArea.top + mnCellHeight);
    else
        cGZWin::SetArea(mArea.left, mArea.top, mArea.left + mnCellWidth, mArea.bottom);
    UpdateTrack();
    Invalidate();
    return true;
}

void cGZWinScrollbar::UpdateTrack() {
    // The value grows towards the second arrow.
    if (IsHorizontal()) {
        mnTrackStart = ArrowWidth();
        mnTrackEnd = Width() - ArrowWidth() - ThumbWidth();
    } else {
        mnTrackStart = ArrowHeight();
        mnTrackEnd = Height() - ArrowHeight() - ThumbHeight();
    }
    UpdateThumb();
}

bool cGZWinScrollbar::ValueFromPoint(int32_t& value, int32_t x, int32_t y) {
    // A single value, or a track with no room to move: the minimum.
    if (mnMax <= mnMin || mnTrackEnd <= mnTrackStart) {
        value = mnMin;
        return true;
    }
    // The nearest step: the first value whose half-step boundary lies past p.
    const double offset = AxisPoint(x, y) - mnTrackStart;
    const double step = static_cast<double>(mnTrackEnd - mnTrackStart) / (static_cast<double>(mnMax) - mnMin);
    int32_t i = mnMin;
    while (i < mnMax && !(offset < step * (static_cast<double>(i) - mnMin + 0.5))) ++i;
    value = i;
    return true;
}

void cGZWinScrollbar::StepPart(int32_t part) {
    switch (part) {
    case kPartFirstArrow: LineUp(); break;
    case kPartSecondArrow: LineDown(); break;
    case kPartPageBefore: PageUp(); break;
    case kPartPageAfter: PageDown(); break;
    default: break;
    }
}

bool cGZWinScrollbar::OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) {
    if (!mbEnabled) return cGZWin::OnLButtonDown(x, y, modifiers);
    int32_t part = kPartNone;
    HitPart(part, x, y);
    mnPressedPart = part;
    mbOverPressedPart = true;
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->SetCapture(this);
    mRepeat.Restart();
    Invalidate();
    StepPart(part);
    return true;
}

bool cGZWinScrollbar::OnMouseMove(int32_t x, int32_t y, uint32_t modifiers) {
    if (!mbEnabled || !HoldsCapture()) return cGZWin::OnMouseMove(x, y, modifiers);
    if (mnPressedPart == kPartThumb) {
        int32_t value = mnValue;
        if (ValueFromPoint(value, x, y)) SetValue(value);
    } else {
        int32_t part = kPartNone;
        HitPart(part, x, y);
        const bool over = part == mnPressedPart;
        if (over != mbOverPressedPart) Invalidate();
        mbOverPressedPart = over;
    }
    return true;
}

bool cGZWinScrollbar::OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) {
    if (!HoldsCapture()) return cGZWin::OnLButtonUp(x, y, modifiers);
    GZWinMgr()->ReleaseCapture(this);
    if (mnPressedPart == kPartThumb && mbEnabled) {
        int32_t value = mnValue;
        if (ValueFromPoint(value, x, y)) SetValue(value);
    }
    mnPressedPart = kPartNone;
    Invalidate();
    return true;
}

void cGZWinScrollbar::DrawStrip(cGZBuffer& buffer) {
    const int32_t cw = mnCellWidth, ch = mnCellHeight;
    if (cw <= 0 || ch <= 0) return;
    const int32_t ox = mBufferArea.left, oy = mBufferArea.top;
    const cRZRect* clip = &mBufferArea;
    const int32_t base = IsHorizontal() ? 0 : 6;
    auto cell = [&](int32_t n) { return cRZRect{cw * (base + n), 0, cw * (base + n + 1), ch}; };
    const bool firstDown = mnPressedPart == kPartFirstArrow && mbOverPressedPart;
    const bool secondDown = mnPressedPart == kPartSecondArrow && mbOverPressedPart;
    const int32_t size = IsHorizontal() ? Width() : Height();
    const int32_t arrow = IsHorizontal() ? cw : ch;
    // The track between the arrows, tiled.
    const cRZRect track = cell(3);
    for (int32_t at = arrow; at < size - arrow; at += arrow) {
        const int32_t run = std::min(arrow, size - arrow - at);
        if (IsHorizontal())
            buffer.Blit(*mpStrip, {track.left, 0, track.left + run, ch}, {ox + at, oy, ox + at + run, oy + ch}, clip);
        else
            buffer.Blit(*mpStrip, {track.left, 0, track.right, run}, {ox, oy + at, ox + cw, oy + at + run}, clip);
    }
    buffer.Blit(*mpStrip, cell(firstDown ? 1 : 0), {ox, oy, ox + cw, oy + ch}, clip);
    const cRZRect second = IsHorizontal() ? cRZRect{ox + size - cw, oy, ox + size, oy + ch}
                                          : cRZRect{ox, oy + size - ch, ox + cw, oy + size};
    buffer.Blit(*mpStrip, cell(secondDown ? 5 : 4), second, clip);
    buffer.Blit(*mpStrip, cell(2),
                {ox + mThumbRect.left, oy + mThumbRect.top, ox + mThumbRect.right, oy + mThumbRect.bottom}, clip);
}

void cGZWinScrollbar::DrawBarShapes(cGZBuffer& buffer) {
    const int32_t ox = mBufferArea.left, oy = mBufferArea.top;
    const cRZRect* clip = &mBufferArea;
    const uint32_t inverse = InverseColour();
    if (IsHorizontal()) {
        const int32_t a = ArrowWidth(), w = Width(), h = Height();
        buffer.FillRect4(mnFillColor, ox, oy, ox + a, oy + h, clip);
        buffer.FillRect4(inverse, ox + a, oy, ox + w - a, oy + h, clip);
        buffer.FillRect4(mnFillColor, ox + w - a, oy, ox + w, oy + h, clip);
    } else {
        const int32_t a = ArrowHeight(), w = Width(), h = Height();
        buffer.FillRect4(mnFillColor, ox, oy, ox + w, oy + a, clip);
        buffer.FillRect4(inverse, ox, oy + a, ox + w, oy + h - a, clip);
        buffer.FillRect4(mnFillColor, ox, oy + h - a, ox + w, oy + h, clip);
    }
    buffer.FillRect4(mnFillColor, ox + mThumbRect.left, oy + mThumbRect.top, ox + mThumbRect.right,
                     oy + mThumbRect.bottom, clip);
}

bool cGZWinScrollbar::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    if (mpStrip)
        DrawStrip(*buffer);
    else
        DrawBarShapes(*buffer);
    // Held on an arrow or a page area: the step repeats every 200 ms, and
    // the bar keeps drawing so that it notices.
    if (HoldsCapture() && mnPressedPart != kPartNone && mnPressedPart != kPartThumb && mbOverPressedPart) {
        if (mRepeat.GetElapsed() > kRepeatMs) {
            StepPart(mnPressedPart);
            mRepeat.Restart();
        }
        Invalidate();
    }
    return true;
}
