// The anti-aliased proportional font: its glyphs come as named 8-bit images
// of one ".ffn" file read through the image codec plug-in, laid out once in
// an atlas; a colour table turns each palette entry into the text colour at
// the entry's coverage. Draws into 16-bit buffers of either pixel layout.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FontImageFile.h"
#include "ui/graphics/cIGZFont.h"

class cGZFont : public cIGZFont {
public:
    struct Glyph {
        int32_t left = 0, top = 0, right = 0, bottom = 0;  // in the atlas
        int32_t xOffset = 0, yOffset = 0, advance = 0;
    };
    // Atlas rows end where a glyph would pass this column.
    static constexpr int32_t kAtlasWidth = 1024;
    // A font whose atlas would be taller is refused (16 MB of pixels).
    static constexpr int32_t kAtlasMaxHeight = 16384;

    // One image of the font's file: its name "%x '%c' %d" gives the code.
    using GlyphImage = platform::FfnImage;

    cGZFont(const cRZString& path, int32_t size, uint32_t flags);
    ~cGZFont() override;

    uint32_t AddRef() override { return ++mRefCount; }
    uint32_t Release() override;

    bool Load() override;
    void Unload() override;
    int32_t GetFace() const override { return 5; }
    int32_t GetSize() const override { return mSize; }
    uint32_t GetColor() const override { return mColour; }
    void SetColor(uint32_t colour) override;
    uint32_t GetFlags() const override { return mFlags; }
    bool HasFlag(uint32_t mask) const override { return (mFlags & mask) != 0; }
    void SetFlag(uint32_t mask, bool on) override;
    bool IsBreakChar(uint8_t ch) const override { return ch == ' ' || ch == '-'; }
    bool IsNewline(uint8_t ch) const override { return ch == 10; }
    bool IsSpace(uint8_t ch) const override { return ch == ' '; }
    bool IsDrawable(uint8_t ch) const override { return ch > 0; }
    bool IsLeadByte(uint8_t) const override { return false; }
    int32_t GetCharLength(const char*) const override { return 1; }
    bool IsDoubleByte() const override { return false; }
    bool IsMissingLeadByte(uint8_t) const override { return false; }
    Extent MeasureText(const char* text, int32_t length) const override;
    int32_t GetGlyphWidth(uint8_t ch) const override;
    int32_t GetLineHeight() const override { return mLineHeight; }
    int32_t GetAdvance(uint8_t ch) const override { return mGlyphs[ch].advance; }
    int32_t FitLine(const char* text, int32_t length, int32_t width) const override;
    int32_t CountLines(const char* text, int32_t length, int32_t width) const override;
    int32_t GetTextWidth(const char* text, int32_t length) const override;
    int32_t GetTrimmedWidth(const char* text, int32_t length) const override;
    int32_t GetBaseline() const override;
    cRZRect GetGlyphRect(uint8_t ch) const override;
    int32_t DrawText(cGZBuffer& buffer, int32_t x, int32_t y, const char* text, int32_t length, const cRZRect* clip,
                     int32_t selectionStart, int32_t selectionEnd) override;
    int32_t DrawMnemonicText(cGZBuffer& buffer, int32_t x, int32_t y, const cRZString& text) override;
    void DrawTextBox(cGZBuffer& buffer, const cRZRect& rect, const char* text, int32_t length,
                     int32_t alignment) override;
    void GetPath(cRZString& path) const override { path = mPath; }

    // Lays out the glyphs of these images (images of codes outside 0-255
    // are skipped) with this palette; what Load does after reading the file.
    bool Build(const std::vector<GlyphImage>& images, const std::vector<uint32_t>& palette);

    bool IsLoaded() const { return mLoaded; }
    int32_t GetExtraWidth() const { return mExtraWidth; }
    const Glyph& GetGlyph(uint8_t ch) const { return mGlyphs[ch]; }
    int32_t AtlasWidth() const { return mAtlasWidth; }
    int32_t AtlasHeight() const { return mAtlasHeight; }

private:
    // Draws one line in `colour` without shadow or underline; the width of
    // the characters drawn.
    int32_t DrawRun(uint16_t* bits, int32_t pitch, const cRZRect& clip, int32_t x, int32_t y, const char* text,
                    int32_t length, uint32_t colour, int32_t selectionStart, int32_t selectionEnd);
    void BuildColourTable(uint32_t colour, int32_t format);
    int32_t WordFallback(const char* text, int32_t length) const;

    uint32_t mRefCount = 0;
    cRZString mPath;
    int32_t mSize;
    uint32_t mFlags;
    uint32_t mColour = 0xFFFFFFFF;
    int32_t mLineHeight = 0;
    int32_t mExtraWidth = 0;
    std::array<Glyph, 256> mGlyphs{};
    std::vector<uint8_t> mAtlas;  // 8-bit palette indices
    int32_t mAtlasWidth = 0;
    int32_t mAtlasHeight = 0;
    std::vector<uint32_t> mPalette;
    // Per palette entry: the colour (low 16 bits) and opacity 0-31 (bits 19-23).
    std::vector<uint32_t> mColourTable;
    uint32_t mTableColour = 0;
    int32_t mTableFormat = -1;
    bool mLoaded = false;
    int32_t mLayoutFormat = 7;
};
