// The Thai font (code page 874): a base character and up to two marks
// (vowels above or below, tone marks) are composed into one cell, placed by
// per-character advance and anchor columns; lines break only after a space,
// '-', '_' or a no-break space.
#pragma once

#include "ui/graphics/cGZDBFont.h"

class cGZDBFontThai : public cGZDBFont {
public:
    cGZDBFontThai(const cRZString& path, std::shared_ptr<const DBGlyphSet> set);

    bool IsBreakChar(uint8_t ch) const override { return ch == ' ' || ch == '-' || ch == '_' || ch == 0xA0; }
    bool IsSpace(uint8_t ch) const override { return ch == ' ' || ch == 0xA0; }
    bool IsLeadByte(uint8_t) const override { return false; }
    bool IsMissingLeadByte(uint8_t) const override { return false; }
    int32_t GetGlyphWidth(uint8_t ch) const override;

    // The character class (1-11) of a code.
    static int32_t ClassOf(uint8_t code);

    struct CellGlyph {
        uint8_t glyph = 0;
        int32_t x = 0;
        int32_t level = 1;  // rows below the cell's top
    };
    struct Cell {
        int32_t bytes = 1;
        int32_t glyphCount = 0;
        CellGlyph glyphs[3];
        int32_t width = 0;
        int32_t advance = 0;
        bool hidden = false;  // a lone '_'
    };
    // The cell that begins at text (at most `remaining` bytes).
    static Cell Compose(const char* text, int32_t remaining);

protected:
    int32_t CharBytes(const char* text, int32_t remaining) const override;
    int32_t CharAdvance(const char* text, int32_t bytes) const override;
    void CharPixels(const char* text, int32_t bytes, const PixelSink& sink) const override;
    cRZRect CharBounds(const char* text, int32_t bytes) const override;
    int32_t UnitEnd(const char* text, int32_t length, int32_t start) const override;
    int32_t UnderlineRow() const override { return GetLineHeight() - 3; }
    bool MnemonicDrawsAmpersand() const override { return true; }
};
