#include "ui/graphics/cGZDBFont.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "ui/graphics/FontDrawing.h"

using font_drawing::ClipOf;
using font_drawing::DrawLock;

cGZDBFont::cGZDBFont(const cRZString& path, uint32_t language, std::shared_ptr<const DBGlyphSet> set)
    : mSet(std::move(set)), mPath(path), mLanguage(language) {}

cGZDBFont::~cGZDBFont() = default;

uint32_t cGZDBFont::Release() {
    if (mRefCount > 0 && --mRefCount == 0) {
        delete this;
        return 0;
    }
    return mRefCount;
}

bool cGZDBFont::Load() {
    mLoaded = mSet && mSet->IsUsable();
    // Once loaded the size is the line height: "A" with its blank rows.
    if (mLoaded) mSize = mSet->LineHeight();
    return mLoaded;
}

void cGZDBFont::SetFlag(uint32_t mask, bool on) { mFlags = font_drawing::ChangeFlags(mFlags, mask, on); }


int32_t cGZDBFont::GetCharLength(const char* text) const {
    if (!text || !*text) return 1;
    return CharBytes(text, static_cast<int32_t>(strnlen(text, 8)));
}

int32_t cGZDBFont::SingleAdvance(uint8_t) const { return mLoaded ? mSet->Layout().singleWidth : 0; }

void cGZDBFont::RowPixels(uint32_t row, int32_t x, int32_t y, const PixelSink& sink) {
    while (row != 0) {
        const int32_t column = std::countl_zero(row);
        sink(x + column, y);
        row &= ~(uint32_t{0x80000000} >> column);
    }
}

int32_t cGZDBFont::GetGlyphWidth(uint8_t ch) const { return SingleAdvance(ch); }

int32_t cGZDBFont::GetAdvance(uint8_t ch) const {
    const char text[2] = {static_cast<char>(ch), 0};
    return mLoaded ? CharAdvance(text, 1) : 0;
}

cRZRect cGZDBFont::GetGlyphRect(uint8_t ch) const { return cRZRect{0, 0, GetGlyphWidth(ch), GetLineHeight()}; }

cIGZFont::Extent cGZDBFont::MeasureText(const char* text, int32_t length) const {
    return Extent{GetTextWidth(text, length), GetLineHeight()};
}

int32_t cGZDBFont::GetTextWidth(const char* text, int32_t length) const {
    length = font_drawing::TextLength(text, length);
    if (!mLoaded) return 0;
    int32_t width = 0;
    for (int32_t i = 0; i < length;) {
        const int32_t bytes = CharBytes(text + i, length - i);
        if (IsDrawable(static_cast<uint8_t>(text[i]))) width += CharAdvance(text + i, bytes);
        i += bytes;
    }
    return width;
}

int32_t cGZDBFont::GetTrimmedWidth(const char* text, int32_t length) const {
    return font_drawing::TrimmedWidth(*this, text, length);
}

int32_t cGZDBFont::FitLine(const char* text, int32_t length, int32_t width) const {
    length = font_drawing::TextLength(text, length);
    if (length <= 0) return 0;
    int32_t taken = 0, used = 0;
    while (taken < length) {
        if (IsNewline(static_cast<uint8_t>(text[taken]))) {
            ++taken;
            return taken;
        }
        const int32_t end = std::min(UnitEnd(text, length, taken), length);
        int32_t unitWidth = 0;
        for (int32_t i = taken; i < end;) {
            const int32_t bytes = CharBytes(text + i, end - i);
            unitWidth += CharAdvance(text + i, bytes);
            i += bytes;
        }
        if (end <= taken || used + unitWidth > width) break;
        used += unitWidth;
        taken = end;
    }
    if (taken == 0) {
        // Nothing fit: the first word, at least one character.
        while (taken < length && text[taken] != '\n' && text[taken] != ' ') taken += CharBytes(text + taken, length - taken);
        taken = std::max(taken, std::min(length, CharBytes(text, length)));
    }
    while (taken < length && IsSpace(static_cast<uint8_t>(text[taken]))) ++taken;
    return std::min(taken, length);
}

int32_t cGZDBFont::CountLines(const char* text, int32_t length, int32_t width) const {
    return font_drawing::CountLines(*this, text, length, width);
}

int32_t cGZDBFont::DrawLine(uint16_t* bits, int32_t pitch, const cRZRect& area, int32_t x, int32_t y,
                            const char* text, int32_t length, int32_t selectionStart, int32_t selectionEnd) {
    const auto colour = static_cast<uint16_t>(mColour);
    const int32_t lineHeight = GetLineHeight();
    auto put = [&](int32_t px, int32_t py, uint16_t value) {
        if (px >= area.left && px < area.right && py >= area.top && py < area.bottom) bits[py * pitch + px] = value;
    };
    // Whether any of the box, moved by (dx, dy), lies inside the area.
    auto visible = [&](const cRZRect& box, int32_t dx, int32_t dy) {
        return box.left < box.right && box.top < box.bottom && dx + box.left < area.right &&
               dx + box.right > area.left && dy + box.top < area.bottom && dy + box.bottom > area.top;
    };
    if (HasFlag(kFlagShadow)) {
        int32_t penX = x;
        for (int32_t i = 0; i < length && text[i] != 0;) {
            const int32_t bytes = CharBytes(text + i, length - i);
            if (text[i] != '\n') {
                // Each pixel shadows the one below it and the one to its right.
                cRZRect box = CharBounds(text + i, bytes);
                box.right += 1;
                if (visible(box, penX, y + 1))
                    CharPixels(text + i, bytes, [&](int32_t gx, int32_t gy) {
                        put(penX + gx, y + gy + 1, 0);
                        put(penX + gx + 1, y + gy + 1, 0);
                    });
                penX += CharAdvance(text + i, bytes);
            }
            i += bytes;
        }
    }
    int32_t penX = x;
    for (int32_t i = 0; i < length && text[i] != 0;) {
        const int32_t bytes = CharBytes(text + i, length - i);
        if (text[i] == '\n') {
            i += bytes;
            continue;
        }
        const int32_t advance = CharAdvance(text + i, bytes);
        uint16_t ink = colour;
        if (i >= selectionStart && i < selectionEnd) {
            // The glyph takes the colour the cell had before it was filled.
            const int32_t sx = penX + 1;
            if (sx >= area.left && sx < area.right && y >= area.top && y < area.bottom) ink = bits[y * pitch + sx];
            for (int32_t py = y; py < y + lineHeight; ++py)
                for (int32_t px = penX; px < penX + advance; ++px) put(px, py, colour);
        }
        if (visible(CharBounds(text + i, bytes), penX, y))
            CharPixels(text + i, bytes, [&](int32_t gx, int32_t gy) { put(penX + gx, y + gy, ink); });
        penX += advance;
        i += bytes;
    }
    if (HasFlag(kFlagUnderline))
        for (int32_t px = x; px < penX; ++px) put(px, y + UnderlineRow(), colour);
    return penX - x;
}

int32_t cGZDBFont::DrawText(cGZBuffer& buffer, int32_t x, int32_t y, const char* text, int32_t length,
                            const cRZRect* clip, int32_t selectionStart, int32_t selectionEnd) {
    length = font_drawing::TextLength(text, length);
    if (!mLoaded || length <= 0) return 0;
    DrawLock lock(buffer);
    if (!lock.Bits()) return 0;
    return DrawLine(lock.Bits(), lock.Pitch(), ClipOf(buffer, clip), x, y, text, length, selectionStart, selectionEnd);
}

int32_t cGZDBFont::DrawMnemonicText(cGZBuffer& buffer, int32_t x, int32_t y, const cRZString& text) {
    if (!mLoaded) return 0;
    // "&&" shows one "&"; a single "&" marks the character after it.
    std::string plain;
    int32_t marked = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&' && marked < 0) marked = static_cast<int32_t>(plain.size());
        } else if (text[i] == '&') {
            continue;
        }
        plain += text[i];
    }
    const int32_t width = DrawText(buffer, x, y, plain.c_str(), static_cast<int32_t>(plain.size()), nullptr, -1, -1);
    if (marked >= 0) {
        int32_t left = x;
        for (int32_t i = 0; i < marked;) {
            const int32_t bytes = CharBytes(plain.c_str() + i, marked - i);
            left += CharAdvance(plain.c_str() + i, bytes);
            i += bytes;
        }
        const char mark = MnemonicDrawsAmpersand() ? '&' : '_';
        const uint32_t flags = mFlags;
        mFlags &= ~uint32_t{kFlagUnderline};
        DrawText(buffer, left, y, &mark, 1, nullptr, -1, -1);
        mFlags = flags;
    }
    return width;
}

void cGZDBFont::DrawTextBox(cGZBuffer& buffer, const cRZRect& rect, const char* text, int32_t length,
                            int32_t alignment) {
    font_drawing::DrawTextBox(*this, buffer, rect, text, length, alignment, false);
}
