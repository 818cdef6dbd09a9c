// A font as windows use it: measuring, breaking and drawing text of the
// current language into a 16-bit cGZBuffer. The font service makes the real
// ones (bitmap-image, double-byte and Thai fonts) behind this interface; the
// operations are listed in their slot order.
#pragma once

#include <cstdint>

#include "framework/cRZRect.h"
#include "framework/cRZString.h"

class cGZBuffer;

class cIGZFont {
public:
    enum : uint32_t { kFlagUnderline = 4, kFlagShadow = 16 };
    enum : int32_t { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

    struct Extent {
        int32_t width = 0;
        int32_t height = 0;
    };

    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    virtual ~cIGZFont() = default;

    virtual bool Load() = 0;
    virtual void Unload() = 0;
    virtual int32_t GetFace() const = 0;
    virtual int32_t GetSize() const = 0;
    virtual uint32_t GetColor() const = 0;
    virtual void SetColor(uint32_t colour) = 0;
    virtual uint32_t GetFlags() const = 0;
    virtual bool HasFlag(uint32_t mask) const = 0;
    // Only underline (4) and shadow (16) change.
    virtual void SetFlag(uint32_t mask, bool on) = 0;
    virtual bool IsBreakChar(uint8_t ch) const = 0;
    virtual bool IsNewline(uint8_t ch) const = 0;
    virtual bool IsSpace(uint8_t ch) const = 0;
    virtual bool IsDrawable(uint8_t ch) const = 0;
    virtual bool IsLeadByte(uint8_t ch) const = 0;
    // Bytes of the character at text: 1 or 2 (a Thai cell: its bytes).
    virtual int32_t GetCharLength(const char* text) const = 0;
    virtual bool IsDoubleByte() const = 0;
    virtual bool IsMissingLeadByte(uint8_t ch) const = 0;
    virtual Extent MeasureText(const char* text, int32_t length) const = 0;
    virtual int32_t GetGlyphWidth(uint8_t ch) const = 0;
    virtual int32_t GetLineHeight() const = 0;
    virtual int32_t GetAdvance(uint8_t ch) const = 0;
    // Bytes of text that start a line of at most width pixels (at least 1).
    virtual int32_t FitLine(const char* text, int32_t length, int32_t width) const = 0;
    virtual int32_t CountLines(const char* text, int32_t length, int32_t width) const = 0;
    virtual int32_t GetTextWidth(const char* text, int32_t length) const = 0;
    virtual int32_t GetTrimmedWidth(const char* text, int32_t length) const = 0;
    virtual int32_t GetBaseline() const = 0;
    virtual cRZRect GetGlyphRect(uint8_t ch) const = 0;
    // One line at (x, y) (its top); characters in [selectionStart,
    // selectionEnd) are drawn inverted. Returns the width drawn.
    virtual int32_t DrawText(cGZBuffer& buffer, int32_t x, int32_t y, const char* text, int32_t length,
                             const cRZRect* clip, int32_t selectionStart, int32_t selectionEnd) = 0;
    // "&" underlines the next character; "&&" draws one "&".
    virtual int32_t DrawMnemonicText(cGZBuffer& buffer, int32_t x, int32_t y, const cRZString& text) = 0;
    // Breaks the text into lines of the rectangle's width and draws them.
    virtual void DrawTextBox(cGZBuffer& buffer, const cRZRect& rect, const char* text, int32_t length,
                             int32_t alignment) = 0;
    virtual void GetPath(cRZString& path) const = 0;
};
