#include "ui/controls/cGZSystemButton.h"

#include <algorithm>
#include <cstring>

#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"
#include "ui/graphics/cIGZFontSys.h"

namespace {

constexpr const char kEllipsis[] = "...";
constexpr int32_t kEllipsisLength = 3;
// The caption runs 10 pixels into each cap.
constexpr int32_t kCaptionIntoCap = 10;

}  // namespace

cGZSystemButton::cGZSystemButton() {
    // Column 1 (pressed) shifts the caption down and right.
    mCaptionOffsets = {{0, 0}, {2, 2}, {0, 0}, {0, 0}};
    mnColumns = 4;
    mnNotifyMode = 0;
}

bool cGZSystemButton::SetStrip(cGZBuffer* strip) {
    const int32_t width = Width();
    cGZWinBtn::SetImageStrip(strip, 4, 1);
    mCaptionOffsets = {{0, 0}, {2, 2}, {0, 0}, {0, 0}};
    // The strip gives the height; the width stays stretched.
    if (strip && width > 0) SetArea(mArea.left, mArea.top, mArea.left + width, mArea.bottom);
    return true;
}

bool cGZSystemButton::Init() {
    if (!mpFont) UseFontSize(mnFontSize);
    return cGZWinBtn::Init();
}

bool cGZSystemButton::Shutdown() {
    const bool result = cGZWinBtn::Shutdown();
    mCaptionOffsets = {{0, 0}, {2, 2}, {0, 0}, {0, 0}};
    return result;
}

int32_t cGZSystemButton::CapWidth() const {
    const int32_t cell = mpStrip ? mpStrip->Width() / 4 : 0;
    return std::max(0, (cell - 1) / 2);
}

bool cGZSystemButton::UseFontSize(int32_t size) {
    cIGZFontSys* fonts = GZGetFontSys();
    if (!fonts) return false;
    cIGZFont* font = fonts->GetFont({kFontFace, size, 0, 0});
    if (!font) return false;
    if (mpFont && mbFontOwned) fonts->ReleaseFont(mpFont);
    mpFont = font;
    mbFontOwned = true;
    mnFontSize = size;
    return true;
}

int32_t cGZSystemButton::TextWidth() const {
    if (!mpFont) return 0;
    const char* text = mText.c_str();
    return mpFont->GetTextWidth(text, static_cast<int32_t>(std::strlen(text)));
}

void cGZSystemButton::SetText(const cRZString& text) {
    cGZWin::SetText(text);
    UseFontSize(kLargestFontSize);
    const int32_t cap = CapWidth();
    mnCaptionWidth = TextWidth();
    const int32_t lineHeight = mpFont ? mpFont->GetLineHeight() : 0;
    const int32_t top = std::max(0, (Height() - lineHeight) / 2);
    mCaptionRect = {cap - kCaptionIntoCap, top, cap - kCaptionIntoCap + mnCaptionWidth,
                    std::min(Height(), top + lineHeight)};
    mbCaptionRectSet = true;
    // Grow or shrink around the centre.
    const int32_t width = std::max(0, mnCaptionWidth + 2 * cap - 2 * kCaptionIntoCap);
    const int32_t left = mArea.left - (width - Width()) / 2;
    SetArea(left, mArea.top, left + width, mArea.bottom);
    Invalidate();
}

bool cGZSystemButton::SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const bool widthChanged = right - left != Width();
    const bool result = cGZWinBtn::SetArea(left, top, right, bottom);
    const int32_t cap = CapWidth();
    mCaptionRect.left = cap - kCaptionIntoCap;
    mCaptionRect.right = Width() - cap + kCaptionIntoCap;
    if (widthChanged) ShrinkFontToFit();
    return result;
}

void cGZSystemButton::ShrinkFontToFit() {
    const int32_t area = mCaptionRect.right - mCaptionRect.left;
    // Down from the largest size each time, so a wider button gets it back.
    if (mnFontSize != kLargestFontSize) UseFontSize(kLargestFontSize);
    while (mpFont && TextWidth() > area && mnFontSize >= kSmallestFontSize + 1)
        if (!UseFontSize(mnFontSize - 1)) break;
    mnCaptionWidth = TextWidth();
}

bool cGZSystemButton::DrawFrame() {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    if (!mpStrip || mnFrameColumn < 0 || mnFrameColumn >= 4) return true;
    const int32_t cell = mpStrip->Width() / 4, height = mpStrip->Height();
    const int32_t cap = CapWidth();
    const int32_t sx = cell * mnFrameColumn;
    const int32_t x = mBufferArea.left + mnImageX, y = mBufferArea.top + mnImageY, w = Width();
    const cRZRect* clip = &mBufferArea;
    bool ok = buffer->Blit(*mpStrip, {sx, 0, sx + cap, height}, {x, y, x + cap, y + height}, clip);
    const cRZRect middle{sx + cap, 0, sx + cell - cap, height};
    const int32_t step = middle.right - middle.left;
    for (int32_t dx = cap; step > 0 && dx < w - cap; dx += step) {
        const int32_t run = std::min(step, w - cap - dx);
        ok = buffer->Blit(*mpStrip, {middle.left, 0, middle.left + run, height}, {x + dx, y, x + dx + run, y + height},
                          clip) && ok;
    }
    ok = buffer->Blit(*mpStrip, {sx + cell - cap, 0, sx + cell, height}, {x + w - cap, y, x + w, y + height}, clip) &&
         ok;
    return ok;
}

int32_t cGZSystemButton::VisibleCaptionLength() const {
    const char* text = mText.c_str();
    const auto length = static_cast<int32_t>(std::strlen(text));
    if (!mpFont) return length;
    const int32_t area = mCaptionRect.right - mCaptionRect.left;
    if (mpFont->GetTextWidth(text, length) <= area) return length;
    const int32_t room = area - mpFont->GetTextWidth(kEllipsis, kEllipsisLength);
    int32_t fits = 0;
    // Whole characters only, so a double-byte character is never split.
    for (int32_t pos = 0; pos < length;) {
        const int32_t next = pos + std::max(1, mpFont->GetCharLength(text + pos));
        if (next > length || mpFont->GetTextWidth(text, next) > room) break;
        fits = pos = next;
    }
    return fits;
}

bool cGZSystemButton::DrawCaption() {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer || !mpFont) return true;
    const char* text = mText.c_str();
    const auto length = static_cast<int32_t>(std::strlen(text));
    const CaptionStyle style(*mpFont, GetCaptionColour(mnFrameColumn), mbCaptionShadow);
    const auto [dx, dy] = GetCaptionOffset(mnFrameColumn);
    const int32_t left = mBufferArea.left + mCaptionRect.left + dx;
    const int32_t top = mBufferArea.top + mCaptionRect.top + dy;
    const int32_t area = mCaptionRect.right - mCaptionRect.left;
    const int32_t shown = VisibleCaptionLength();
    if (shown == length) {
        const int32_t x = left + (area - mpFont->GetTextWidth(text, length)) / 2;
        mpFont->DrawText(*buffer, x, top, text, length, &mBufferArea, -1, -1);
    } else {
        // The prefix at the area's left, "..." directly after it.
        mpFont->DrawText(*buffer, left, top, text, shown, &mBufferArea, -1, -1);
        const int32_t after = mpFont->GetTextWidth(text, shown);
        mpFont->DrawText(*buffer, left + after, top, kEllipsis, kEllipsisLength, &mBufferArea, -1, -1);
    }
    return true;
}
