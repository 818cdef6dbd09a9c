// The one-bit font of the double-byte languages (Japanese 932, Simplified
// Chinese 936, Traditional Chinese 950, Korean 949): lead bytes and glyph
// indices by the language's rules, glyphs from its ".fon" set, and line
// breaking that keeps closing punctuation with what precedes it and opening
// punctuation with what follows.
#pragma once

#include <unordered_set>

#include "ui/graphics/cGZDBFont.h"

class cGZDBFontKorean : public cGZDBFont {
public:
    cGZDBFontKorean(const cRZString& path, uint32_t language, std::shared_ptr<const DBGlyphSet> set);

    bool IsBreakChar(uint8_t ch) const override { return ch == ' ' || ch == '-'; }
    bool IsSpace(uint8_t ch) const override { return ch == ' '; }
    bool IsLeadByte(uint8_t ch) const override;
    bool IsMissingLeadByte(uint8_t ch) const override;

    // The double-byte glyph of a two-byte code (lead * 256 + trail) in a
    // language; 0 outside the language's ranges.
    static int32_t GlyphIndex(uint32_t language, uint32_t code);
    // Codes (single bytes, or lead * 256 + trail) that may not begin or end a line.
    bool MayNotBegin(uint32_t code) const { return mNoBegin->count(code) != 0; }
    bool MayNotEnd(uint32_t code) const { return mNoEnd->count(code) != 0; }

protected:
    int32_t CharBytes(const char* text, int32_t remaining) const override;
    int32_t CharAdvance(const char* text, int32_t bytes) const override;
    void CharPixels(const char* text, int32_t bytes, const PixelSink& sink) const override;
    cRZRect CharBounds(const char* text, int32_t bytes) const override;
    int32_t UnitEnd(const char* text, int32_t length, int32_t start) const override;

private:
    uint32_t CodeAt(const char* text, int32_t bytes) const;

    // The language's lists, made once per process and kept for it.
    const std::unordered_set<uint32_t>* mNoBegin = nullptr;
    const std::unordered_set<uint32_t>* mNoEnd = nullptr;
};
