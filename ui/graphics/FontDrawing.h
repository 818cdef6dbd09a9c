// Small helpers every font kind draws with: the lock held for one drawing
// call, the clip cut to the target, the target's pixel layout and the
// 32-step mix of two pixels.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "framework/cRZRect.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

namespace font_drawing {

constexpr uint32_t kLockMode = 64;

// Locks the target for one drawing call unless the caller holds it locked.
class DrawLock {
public:
    explicit DrawLock(cGZBuffer& buffer) : mBuffer(buffer) {
        if (buffer.IsLocked() && buffer.GetBits()) return;
        mLocked = buffer.Lock(kLockMode);
    }
    ~DrawLock() {
        if (mLocked) mBuffer.Unlock(kLockMode);
    }
    DrawLock(const DrawLock&) = delete;
    DrawLock& operator=(const DrawLock&) = delete;
    // The first pixel, or null when the target is not a usable 16-bit one.
    uint16_t* Bits() const { return mBuffer.GetPixelFormat().bits == 16 ? mBuffer.GetBits() : nullptr; }
    int32_t Pitch() const { return mBuffer.GetPitch() / 2; }

private:
    cGZBuffer& mBuffer;
    bool mLocked = false;
};

// The clip rectangle cut to the buffer.
inline cRZRect ClipOf(const cGZBuffer& buffer, const cRZRect* clip) {
    cRZRect whole{0, 0, buffer.Width(), buffer.Height()};
    if (!clip) return whole;
    cRZRect out;
    out.Intersect(whole, *clip);
    return out;
}

// 7 for 5-6-5, 5 for 5-5-5.
inline int32_t LayoutOf(const cGZBuffer& buffer) { return buffer.GetPixelFormat().code == 7 ? 7 : 5; }

// `over` at opacity/31 on `under`.
inline uint32_t Mix(int32_t format, uint32_t over, uint32_t under, int32_t opacity) {
    uint8_t r1, g1, b1, r2, g2, b2;
    cGZBuffer::SplitColorFor(format, over, r1, g1, b1);
    cGZBuffer::SplitColorFor(format, under, r2, g2, b2);
    auto blend = [opacity](uint8_t a, uint8_t b) {
        return static_cast<uint8_t>((a * opacity + b * (31 - opacity)) / 31);
    };
    return cGZBuffer::MakeColorFor(format, blend(r1, r2), blend(g1, g2), blend(b1, b2));
}

// A length of -1 means up to the terminating zero.
inline int32_t TextLength(const char* text, int32_t length) {
    if (!text) return 0;
    return length < 0 ? static_cast<int32_t>(std::strlen(text)) : length;
}

// The flags after turning `mask` on or off: only underline and shadow change.
inline uint32_t ChangeFlags(uint32_t flags, uint32_t mask, bool on) {
    const uint32_t changeable = mask & (cIGZFont::kFlagUnderline | cIGZFont::kFlagShadow);
    return on ? (flags | changeable) : (flags & ~changeable);
}

// FitLine repeated until the text is used up.
inline int32_t CountLines(const cIGZFont& font, const char* text, int32_t length, int32_t width) {
    length = TextLength(text, length);
    int32_t lines = 0;
    for (int32_t start = 0; start < length; ++lines)
        start += std::max(1, font.FitLine(text + start, length - start, width));
    return lines;
}

// Width without trailing spaces and undrawable characters.
inline int32_t TrimmedWidth(const cIGZFont& font, const char* text, int32_t length) {
    length = TextLength(text, length);
    while (length > 0 && (font.IsSpace(static_cast<uint8_t>(text[length - 1])) ||
                          !font.IsDrawable(static_cast<uint8_t>(text[length - 1]))))
        --length;
    return font.GetTextWidth(text, length);
}

// Lines of the rectangle's width, one line height apart, while a line's top
// lies above the bottom; with `skipUndrawable` a line that begins with an
// undrawable character is not drawn.
inline void DrawTextBox(cIGZFont& font, cGZBuffer& buffer, const cRZRect& rect, const char* text, int32_t length,
                        int32_t alignment, bool skipUndrawable) {
    length = TextLength(text, length);
    const int32_t boxWidth = rect.right - rect.left;
    const int32_t lineHeight = std::max(font.GetLineHeight(), 1);
    for (int32_t start = 0, top = rect.top; start < length && top < rect.bottom; top += lineHeight) {
        const int32_t count = std::max(1, font.FitLine(text + start, length - start, boxWidth));
        const char* line = text + start;
        start += count;
        if (skipUndrawable && !font.IsDrawable(static_cast<uint8_t>(line[0]))) continue;
        const int32_t lineWidth = font.GetTrimmedWidth(line, count);
        int32_t left = rect.left;
        if (alignment == cIGZFont::kAlignCentre) left = rect.left + boxWidth / 2 - lineWidth / 2;
        else if (alignment == cIGZFont::kAlignRight) left = rect.right - lineWidth;
        font.DrawText(buffer, left, top, line, count, &rect, -1, -1);
    }
}

}  // namespace font_drawing
