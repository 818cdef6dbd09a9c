// A font for tests and demos until the font service lands: fixed cells of a
// readable 5 by 7 ASCII bitmap (6 pixels of advance, line height 12), drawn
// into any cGZBuffer. In double-byte mode the bytes 0x81-0x9F and 0xE0-0xFC
// begin two-byte characters, drawn as 12-pixel boxes. FakeFontSys hands out
// one shared FakeFont and counts requests and releases.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"
#include "ui/graphics/cIGZFontSys.h"

namespace tova_test {

// Columns of the glyphs 32-126, bit 0 the top row.
inline constexpr uint8_t kFakeFontGlyphs[95][5] = {
    {0x00, 0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x5F, 0x00, 0x00}, {0x00, 0x07, 0x00, 0x07, 0x00},
    {0x14, 0x7F, 0x14, 0x7F, 0x14}, {0x24, 0x2A, 0x7F, 0x2A, 0x12}, {0x23, 0x13, 0x08, 0x64, 0x62},
    {0x36, 0x49, 0x55, 0x22, 0x50}, {0x00, 0x05, 0x03, 0x00, 0x00}, {0x00, 0x1C, 0x22, 0x41, 0x00},
    {0x00, 0x41, 0x22, 0x1C, 0x00}, {0x08, 0x2A, 0x1C, 0x2A, 0x08}, {0x08, 0x08, 0x3E, 0x08, 0x08},
    {0x00, 0x50, 0x30, 0x00, 0x00}, {0x08, 0x08, 0x08, 0x08, 0x08}, {0x00, 0x60, 0x60, 0x00, 0x00},
    {0x20, 0x10, 0x08, 0x04, 0x02}, {0x3E, 0x51, 0x49, 0x45, 0x3E}, {0x00, 0x42, 0x7F, 0x40, 0x00},
    {0x42, 0x61, 0x51, 0x49, 0x46}, {0x21, 0x41, 0x45, 0x4B, 0x31}, {0x18, 0x14, 0x12, 0x7F, 0x10},
    {0x27, 0x45, 0x45, 0x45, 0x39}, {0x3C, 0x4A, 0x49, 0x49, 0x30}, {0x01, 0x71, 0x09, 0x05, 0x03},
    {0x36, 0x49, 0x49, 0x49, 0x36}, {0x06, 0x49, 0x49, 0x29, 0x1E}, {0x00, 0x36, 0x36, 0x00, 0x00},
    {0x00, 0x56, 0x36, 0x00, 0x00}, {0x08, 0x14, 0x22, 0x41, 0x00}, {0x14, 0x14, 0x14, 0x14, 0x14},
    {0x00, 0x41, 0x22, 0x14, 0x08}, {0x02, 0x01, 0x51, 0x09, 0x06}, {0x32, 0x49, 0x79, 0x41, 0x3E},
    {0x7E, 0x11, 0x11, 0x11, 0x7E}, {0x7F, 0x49, 0x49, 0x49, 0x36}, {0x3E, 0x41, 0x41, 0x41, 0x22},
    {0x7F, 0x41, 0x41, 0x22, 0x1C}, {0x7F, 0x49, 0x49, 0x49, 0x41}, {0x7F, 0x09, 0x09, 0x01, 0x01},
    {0x3E, 0x41, 0x41, 0x51, 0x32}, {0x7F, 0x08, 0x08, 0x08, 0x7F}, {0x00, 0x41, 0x7F, 0x41, 0x00},
    {0x20, 0x40, 0x41, 0x3F, 0x01}, {0x7F, 0x08, 0x14, 0x22, 0x41}, {0x7F, 0x40, 0x40, 0x40, 0x40},
    {0x7F, 0x02, 0x04, 0x02, 0x7F}, {0x7F, 0x04, 0x08, 0x10, 0x7F}, {0x3E, 0x41, 0x41, 0x41, 0x3E},
    {0x7F, 0x09, 0x09, 0x09, 0x06}, {0x3E, 0x41, 0x51, 0x21, 0x5E}, {0x7F, 0x09, 0x19, 0x29, 0x46},
    {0x46, 0x49, 0x49, 0x49, 0x31}, {0x01, 0x01, 0x7F, 0x01, 0x01}, {0x3F, 0x40, 0x40, 0x40, 0x3F},
    {0x1F, 0x20, 0x40, 0x20, 0x1F}, {0x7F, 0x20, 0x18, 0x20, 0x7F}, {0x63, 0x14, 0x08, 0x14, 0x63},
    {0x03, 0x04, 0x78, 0x04, 0x03}, {0x61, 0x51, 0x49, 0x45, 0x43}, {0x00, 0x7F, 0x41, 0x41, 0x00},
    {0x02, 0x04, 0x08, 0x10, 0x20}, {0x00, 0x41, 0x41, 0x7F, 0x00}, {0x04, 0x02, 0x01, 0x02, 0x04},
    {0x40, 0x40, 0x40, 0x40, 0x40}, {0x00, 0x01, 0x02, 0x04, 0x00}, {0x20, 0x54, 0x54, 0x54, 0x78},
    {0x7F, 0x48, 0x44, 0x44, 0x38}, {0x38, 0x44, 0x44, 0x44, 0x20}, {0x38, 0x44, 0x44, 0x48, 0x7F},
    {0x38, 0x54, 0x54, 0x54, 0x18}, {0x08, 0x7E, 0x09, 0x01, 0x02}, {0x08, 0x14, 0x54, 0x54, 0x3C},
    {0x7F, 0x08, 0x04, 0x04, 0x78}, {0x00, 0x44, 0x7D, 0x40, 0x00}, {0x20, 0x40, 0x44, 0x3D, 0x00},
    {0x00, 0x7F, 0x10, 0x28, 0x44}, {0x00, 0x41, 0x7F, 0x40, 0x00}, {0x7C, 0x04, 0x18, 0x04, 0x78},
    {0x7C, 0x08, 0x04, 0x04, 0x78}, {0x38, 0x44, 0x44, 0x44, 0x38}, {0x7C, 0x14, 0x14, 0x14, 0x08},
    {0x08, 0x14, 0x14, 0x18, 0x7C}, {0x7C, 0x08, 0x04, 0x04, 0x08}, {0x48, 0x54, 0x54, 0x54, 0x20},
    {0x04, 0x3F, 0x44, 0x40, 0x20}, {0x3C, 0x40, 0x40, 0x20, 0x7C}, {0x1C, 0x20, 0x40, 0x20, 0x1C},
    {0x3C, 0x40, 0x30, 0x40, 0x3C}, {0x44, 0x28, 0x10, 0x28, 0x44}, {0x0C, 0x50, 0x50, 0x50, 0x3C},
    {0x44, 0x64, 0x54, 0x4C, 0x44}, {0x00, 0x08, 0x36, 0x41, 0x00}, {0x00, 0x00, 0x7F, 0x00, 0x00},
    {0x00, 0x41, 0x36, 0x08, 0x00}, {0x08, 0x08, 0x2A, 0x1C, 0x08},
};

class FakeFont : public cIGZFont {
public:
    static constexpr int32_t kAdvance = 6;
    static constexpr int32_t kWideAdvance = 12;
    static constexpr int32_t kLineHeight = 12;

    explicit FakeFont(bool doubleByte = false) : mbDoubleByte(doubleByte) {}

    uint32_t AddRef() override { return ++mnRefs; }
    uint32_t Release() override {
        if (mnRefs > 0) --mnRefs;
        return mnRefs;
    }
    bool Load() override { return true; }
    void Unload() override {}
    int32_t GetFace() const override { return 5; }
    int32_t GetSize() const override { return kLineHeight; }
    uint32_t GetColor() const override { return mnColour; }
    void SetColor(uint32_t colour) override { mnColour = colour; }
    uint32_t GetFlags() const override { return mnFlags; }
    bool HasFlag(uint32_t mask) const override { return (mnFlags & mask) != 0; }
    void SetFlag(uint32_t mask, bool on) override {
        mask &= kFlagUnderline | kFlagShadow;
        mnFlags = on ? (mnFlags | mask) : (mnFlags & ~mask);
    }
    bool IsBreakChar(uint8_t ch) const override { return ch == ' ' || ch == '-'; }
    bool IsNewline(uint8_t ch) const override { return ch == 10; }
    bool IsSpace(uint8_t ch) const override { return ch == ' '; }
    bool IsDrawable(uint8_t ch) const override { return ch > 0; }
    bool IsLeadByte(uint8_t ch) const override {
        return mbDoubleByte && ((ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC));
    }
    int32_t GetCharLength(const char* text) const override {
        return text && IsLeadByte(static_cast<uint8_t>(text[0])) && text[1] ? 2 : 1;
    }
    bool IsDoubleByte() const override { return mbDoubleByte; }
    bool IsMissingLeadByte(uint8_t) const override { return false; }
    Extent MeasureText(const char* text, int32_t length) const override {
        return {GetTextWidth(text, length), kLineHeight};
    }
    int32_t GetGlyphWidth(uint8_t ch) const override { return IsLeadByte(ch) ? kWideAdvance - 1 : 5; }
    int32_t GetLineHeight() const override { return kLineHeight; }
    int32_t GetAdvance(uint8_t ch) const override { return IsLeadByte(ch) ? kWideAdvance : kAdvance; }
    int32_t FitLine(const char* text, int32_t length, int32_t width) const override {
        int32_t used = 0, pos = 0, lastBreak = 0;
        while (pos < length) {
            const uint8_t ch = static_cast<uint8_t>(text[pos]);
            if (ch == 10) return pos + 1;
            const int32_t n = std::min(GetCharLength(text + pos), length - pos);
            if (used + GetAdvance(ch) > width) break;
            used += GetAdvance(ch);
            pos += n;
            if (IsBreakChar(ch)) lastBreak = pos;
        }
        if (pos >= length) return length;
        int32_t end = lastBreak > 0 ? lastBreak : std::max(pos, 1);
        while (end < length && text[end] == ' ') ++end;
        return end;
    }
    int32_t CountLines(const char* text, int32_t length, int32_t width) const override {
        int32_t lines = 0;
        for (int32_t pos = 0; pos < length; ++lines) pos += FitLine(text + pos, length - pos, width);
        return lines;
    }
    int32_t GetTextWidth(const char* text, int32_t length) const override {
        int32_t width = 0;
        for (int32_t pos = 0; pos < length && text[pos];) {
            width += GetAdvance(static_cast<uint8_t>(text[pos]));
            pos += GetCharLength(text + pos);
        }
        return width;
    }
    int32_t GetTrimmedWidth(const char* text, int32_t length) const override {
        while (length > 0 && text[length - 1] == ' ') --length;
        return GetTextWidth(text, length);
    }
    int32_t GetBaseline() const override { return 9; }
    cRZRect GetGlyphRect(uint8_t ch) const override { return {0, 2, GetGlyphWidth(ch), 9}; }
    int32_t DrawText(cGZBuffer& buffer, int32_t x, int32_t y, const char* text, int32_t length, const cRZRect* clip,
                     int32_t selectionStart, int32_t selectionEnd) override {
        if (HasFlag(kFlagShadow)) {
            const uint32_t colour = mnColour;
            mnColour = 0;
            mnFlags &= ~kFlagShadow;
            DrawText(buffer, x + 2, y + 2, text, length, clip, -1, -1);
            mnFlags |= kFlagShadow;
            mnColour = colour;
        }
        int32_t cx = x;
        for (int32_t pos = 0; pos < length && text[pos];) {
            const uint8_t ch = static_cast<uint8_t>(text[pos]);
            const int32_t n = GetCharLength(text + pos);
            const bool selected = pos >= selectionStart && pos < selectionEnd;
            if (selected) buffer.FillRect4(mnColour, cx, y, cx + GetAdvance(ch), y + kLineHeight, clip);
            const uint32_t ink = selected ? buffer.MakeColor(255, 255, 255) : mnColour;
            if (ch == 10) {
            } else if (IsLeadByte(ch)) {
                buffer.FrameRect({cx + 1, y + 1, cx + kWideAdvance - 1, y + kLineHeight - 1}, ink, 1);
            } else if (ch >= 32 && ch < 127) {
                for (int32_t col = 0; col < 5; ++col)
                    for (int32_t row = 0; row < 7; ++row)
                        if (kFakeFontGlyphs[ch - 32][col] >> row & 1)
                            buffer.FillRect4(ink, cx + col, y + 2 + row, cx + col + 1, y + 3 + row, clip);
            }
            if (HasFlag(kFlagUnderline))
                buffer.FillRect4(mnColour, cx, y + GetBaseline() + 1, cx + GetAdvance(ch), y + GetBaseline() + 2, clip);
            cx += ch == 10 ? 0 : GetAdvance(ch);
            pos += n;
        }
        return cx - x + (HasFlag(kFlagShadow) ? 2 : 0);
    }
    int32_t DrawMnemonicText(cGZBuffer& buffer, int32_t x, int32_t y, const cRZString& text) override {
        std::string plain;
        int32_t underline = -1;
        const std::string source = text.c_str();
        for (size_t i = 0; i < source.size(); ++i) {
            if (source[i] == '&' && i + 1 < source.size()) {
                if (source[i + 1] != '&') underline = static_cast<int32_t>(plain.size());
                ++i;
            }
            plain += source[i];
        }
        const int32_t width = DrawText(buffer, x, y, plain.data(), static_cast<int32_t>(plain.size()), nullptr, -1, -1);
        if (underline >= 0) {
            const int32_t ux = x + GetTextWidth(plain.data(), underline);
            buffer.FillRect4(mnColour, ux, y + 10, ux + 5, y + 11);
        }
        return width;
    }
    void DrawTextBox(cGZBuffer& buffer, const cRZRect& rect, const char* text, int32_t length,
                     int32_t alignment) override {
        const int32_t width = rect.right - rect.left;
        for (int32_t pos = 0, y = rect.top; pos < length && y < rect.bottom; y += kLineHeight) {
            const int32_t n = FitLine(text + pos, length - pos, width);
            const int32_t lineWidth = GetTrimmedWidth(text + pos, n);
            int32_t x = rect.left;
            if (alignment == kAlignCentre) x = rect.left + width / 2 - lineWidth / 2;
            if (alignment == kAlignRight) x = rect.right - lineWidth;
            DrawText(buffer, x, y, text + pos, n, &rect, -1, -1);
            pos += n;
        }
    }
    void GetPath(cRZString& path) const override { path = cRZString("fake.ffn"); }

    uint32_t RefCount() const { return mnRefs; }

private:
    bool mbDoubleByte;
    uint32_t mnColour = 0xFFFF;
    uint32_t mnFlags = 0;
    uint32_t mnRefs = 0;
};

class FakeFontSys : public cIGZFontSys {
public:
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }
    bool Init() override { return true; }
    bool Shutdown() override { return true; }
    cIGZFont* GetFont(const FontRequest& request) override {
        ++mnRequests;
        mLast = request;
        if (mbRefuse) return nullptr;
        mFont.AddRef();
        return &mFont;
    }
    int32_t ReleaseFont(cIGZFont* font) override {
        if (font == &mFont) {
            ++mnReleases;
            mFont.Release();
        }
        return 0;
    }
    bool SetFaceName(int32_t, const cRZString&) override { return true; }
    bool GetFaceName(int32_t, cRZString& name) const override {
        name = cRZString("arial");
        return false;
    }
    void SetFontFolder(const cRZString&) override {}

    FakeFont mFont;
    FontRequest mLast;
    int32_t mnRequests = 0;
    int32_t mnReleases = 0;
    bool mbRefuse = false;
};

}  // namespace tova_test
