#include "ui/controls/cGZWinText.h"

#include <algorithm>
#include <cstring>

#include "ui/GZMessageTypes.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

namespace {

uint32_t Magenta(const cGZBuffer& buffer) { return buffer.MakeColor(255, 0, 255); }

bool IsMouseMessage(uint32_t type) {
    return type == kGZMsgLButtonDown || type == kGZMsgRButtonDown || type == kGZMsgLButtonUp ||
           type == kGZMsgRButtonUp || type == kGZMsgMouseMove;
}

}  // namespace

bool cGZWinText::DoMessage(const cGZMessage& message) {
    if (!TestTextFlag(kFlagPassThrough)) return cGZWin::DoMessage(message);
    if (!mpParent) return false;
    cGZMessage forwarded = message;
    if (IsMouseMessage(message.type)) {
        forwarded.a += mArea.left;
        forwarded.b += mArea.top;
    }
    return mpParent->DoMessage(forwarded);
}

bool cGZWinText::Init() {
    const bool first = !mbLaidOut;
    const bool result = cGZWin::Init();
    if (first) {
        mbLaidOut = true;
        Layout();
    }
    return result;
}

bool cGZWinText::SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const bool resized = right - left != Width() || bottom - top != Height();
    const bool result = cGZWin::SetArea(left, top, right, bottom);
    if (resized) Layout();
    return result;
}

void cGZWinText::SetText(const cRZString& text) {
    cGZWin::SetText(text);
    Layout();
    Invalidate();
}

void cGZWinText::SetTextChars(const char* text) { SetText(cRZString(text ? text : "")); }

void cGZWinText::MeasureExtent(int32_t& width, int32_t& height) const {
    width = height = 0;
    if (!mpFont) return;
    const char* text = mText.c_str();
    const auto length = static_cast<int32_t>(std::strlen(text));
    if (!TestTextFlag(kFlagWrap)) {
        const cIGZFont::Extent extent = mpFont->MeasureText(text, length);
        width = extent.width;
        height = extent.height;
        return;
    }
    width = std::max(0, Width() - 2 * mnMarginX);
    height = mpFont->CountLines(text, length, width) * mpFont->GetLineHeight();
}

void cGZWinText::Layout() {
    const int32_t w = Width(), h = Height();
    if (mnAlignment % 2 == 0) {
        mTextRect = {mnMarginX, mnMarginY, w - mnMarginX, h - mnMarginY};
        return;
    }
    int32_t extentWidth = 0, extentHeight = 0;
    MeasureExtent(extentWidth, extentHeight);
    const int32_t top = (h - extentHeight) / 2;
    mTextRect = {mnMarginX, top, w - mnMarginX, top + extentHeight};
}

void cGZWinText::SizeToText() {
    int32_t width = 0, height = 0;
    MeasureExtent(width, height);
    SetArea(mArea.left, mArea.top, mArea.left + width + 2 * mnMarginX, mArea.top + height + 2 * mnMarginY);
    Layout();
    Invalidate();
}

void cGZWinText::SnapHeightToLines() {
    if (!mpFont) return;
    const int32_t line = mpFont->GetLineHeight();
    if (line <= 0 || Height() % line == 0) return;
    SetArea(mArea.left, mArea.top, mArea.right, mArea.top + Height() / line * line);
    Invalidate();
}

void cGZWinText::SetTextFlag(int32_t bit, bool on) {
    mnTextFlags = on ? (mnTextFlags | bit) : (mnTextFlags & ~bit);
    if (bit & kFlagWrap) Layout();
    if (bit & (kFlagWrap | kFlagOpaque)) Invalidate();
}

void cGZWinText::SetTextColor(uint32_t colour) {
    mnTextColour = colour;
    mbUseTextColour = true;
    Invalidate();
}

void cGZWinText::SetOpaque(bool on) {
    SetTextFlag(kFlagOpaque, on);
    if (mpOwnBuffer) {
        mnColourKey = Magenta(*mpOwnBuffer);
        mpOwnBuffer->SetColorKey(mnColourKey);
    }
}

void cGZWinText::SetFont(cIGZFont* font) {
    mpFont = font;
    Layout();
    Invalidate();
}

void cGZWinText::SetAlignment(int32_t code) {
    if (code < 0 || code > 5 || code == mnAlignment) return;
    mnAlignment = code;
    mnHorizontal = code / 2;
    Layout();
    Invalidate();
}

void cGZWinText::SetMargins(int32_t x, int32_t y) {
    mnMarginX = x;
    mnMarginY = y;
    Layout();
    Invalidate();
}

bool cGZWinText::SetOwnBuffer(bool on) {
    if (on) {
        int32_t width = 0, height = 0;
        MeasureExtent(width, height);
        if (height > Height()) cGZWin::SetArea(mArea.left, mArea.top, mArea.right, mArea.top + height);
    }
    const bool result = cGZWin::SetOwnBuffer(on);
    if (on && mpOwnBuffer && !TestTextFlag(kFlagOpaque)) {
        mnColourKey = Magenta(*mpOwnBuffer);
        mpOwnBuffer->SetColorKey(mnColourKey);
    }
    return result;
}

bool cGZWinText::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!mpFont || !buffer) return false;
    if (TestTextFlag(kFlagOpaque))
        buffer->FillRect(mnFillColor, mBufferArea);
    else if (mpOwnBuffer)
        buffer->FillRect(mnColourKey, mBufferArea);
    const uint32_t savedColour = mpFont->GetColor();
    if (mbUseTextColour) mpFont->SetColor(mnTextColour);
    cRZRect rect = mTextRect;
    rect.left += mBufferArea.left;
    rect.right += mBufferArea.left;
    rect.top += mBufferArea.top;
    rect.bottom += mBufferArea.top;
    const char* text = mText.c_str();
    mpFont->DrawTextBox(*buffer, rect, text, static_cast<int32_t>(std::strlen(text)), mnHorizontal);
    mpFont->SetColor(savedColour);
    return true;
}
