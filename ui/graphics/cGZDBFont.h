// What the double-byte and Thai fonts share: one-bit glyphs from a glyph set
// drawn in the text colour (shadow, selection, underline), and line breaking
// by units (a unit is a run of characters that stays on one line; each kind
// says where its units end). A character here is what GetCharLength steps
// over: one or two bytes, or a whole Thai cell.
#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>

#include "ui/graphics/DBGlyphSet.h"
#include "ui/graphics/cIGZFont.h"

class cGZDBFont : public cIGZFont {
public:
    // Passed to the drawing target's lock and unlock.
    static constexpr int32_t kLockParameter = 64;

    // Built with size 12 whatever was asked; `language` picks the rules.
    cGZDBFont(const cRZString& path, uint32_t language, std::shared_ptr<const DBGlyphSet> set);
    ~cGZDBFont() override;

    uint32_t AddRef() override { return ++mRefCount; }
    uint32_t Release() override;

    bool Load() override;
    void Unload() override { mLoaded = false; mSize = 12; }
    int32_t GetFace() const override { return 5; }
    int32_t GetSize() const override { return mSize; }
    uint32_t GetColor() const override { return mColour; }
    void SetColor(uint32_t colour) override { mColour = colour; }
    uint32_t GetFlags() const override { return mFlags; }
    bool HasFlag(uint32_t mask) const override { return (mFlags & mask) != 0; }
    void SetFlag(uint32_t mask, bool on) override;
    bool IsNewline(uint8_t ch) const override { return ch == 10; }
    bool IsDrawable(uint8_t ch) const override { return ch >= 32; }
    int32_t GetCharLength(const char* text) const override;
    bool IsDoubleByte() const override { return true; }
    Extent MeasureText(const char* text, int32_t length) const override;
    int32_t GetGlyphWidth(uint8_t ch) const override;
    int32_t GetLineHeight() const override { return mLoaded ? mSet->LineHeight() : 0; }
    int32_t GetAdvance(uint8_t ch) const override;
    int32_t FitLine(const char* text, int32_t length, int32_t width) const override;
    int32_t CountLines(const char* text, int32_t length, int32_t width) const override;
    int32_t GetTextWidth(const char* text, int32_t length) const override;
    int32_t GetTrimmedWidth(const char* text, int32_t length) const override;
    int32_t GetBaseline() const override { return GetLineHeight() - 1; }
    cRZRect GetGlyphRect(uint8_t ch) const override;
    int32_t DrawText(cGZBuffer& buffer, int32_t x, int32_t y, const char* text, int32_t length, const cRZRect* clip,
                     int32_t selectionStart, int32_t selectionEnd) override;
    int32_t DrawMnemonicText(cGZBuffer& buffer, int32_t x, int32_t y, const cRZString& text) override;
    void DrawTextBox(cGZBuffer& buffer, const cRZRect& rect, const char* text, int32_t length,
                     int32_t alignment) override;
    void GetPath(cRZString& path) const override { path = mPath; }
    int32_t GetLockParameter() const { return kLockParameter; }
    int32_t GetUnlockParameter() const { return kLockParameter; }

    uint32_t Language() const { return mLanguage; }
    const DBGlyphSet* GlyphSet() const { return mSet.get(); }

protected:
    // Where a character's pixels go: a call per pixel, so a plain reference
    // to the caller's function object rather than a std::function.
    class PixelSink {
    public:
        template <typename F>
            requires(!std::is_same_v<std::remove_cvref_t<F>, PixelSink>)
        PixelSink(const F& f)  // NOLINT(google-explicit-constructor): lambdas pass as sinks
            : mObject(&f), mCall([](const void* object, int32_t x, int32_t y) { (*static_cast<const F*>(object))(x, y); }) {}
        void operator()(int32_t x, int32_t y) const { mCall(mObject, x, y); }

    private:
        const void* mObject;
        void (*mCall)(const void*, int32_t, int32_t);
    };

    // Bytes of the character at text (at least 1, at most `remaining`).
    virtual int32_t CharBytes(const char* text, int32_t remaining) const = 0;
    // Horizontal step after the character.
    virtual int32_t CharAdvance(const char* text, int32_t bytes) const = 0;
    // The character's set pixels, relative to its cell's top left (the blank
    // row above the glyph included).
    virtual void CharPixels(const char* text, int32_t bytes, const PixelSink& sink) const = 0;
    // A box, relative to the cell's top left, holding every pixel that
    // CharPixels gives for the character; empty when it gives none. Drawing
    // skips characters whose box lies outside the clip.
    virtual cRZRect CharBounds(const char* text, int32_t bytes) const = 0;
    // Where the unit that begins at `start` ends (past its last byte).
    virtual int32_t UnitEnd(const char* text, int32_t length, int32_t start) const = 0;
    // Row of the underline below the line's top.
    virtual int32_t UnderlineRow() const { return mSize - 1; }
    // Whether a mnemonic "&" draws "_" (double-byte) or the "&" glyph (Thai)
    // at the next character.
    virtual bool MnemonicDrawsAmpersand() const { return false; }

    int32_t SingleAdvance(uint8_t ch) const;
    // The set pixels of one glyph row (as the glyph set gives it), left to
    // right, at (x + column, y).
    static void RowPixels(uint32_t row, int32_t x, int32_t y, const PixelSink& sink);

    const std::shared_ptr<const DBGlyphSet> mSet;

private:
    int32_t DrawLine(uint16_t* bits, int32_t pitch, const cRZRect& area, int32_t x, int32_t y, const char* text,
                     int32_t length, int32_t selectionStart, int32_t selectionEnd);

    uint32_t mRefCount = 0;
    cRZString mPath;
    uint32_t mLanguage;
    int32_t mSize = 12;
    uint32_t mFlags = 0;
    uint32_t mColour = 0xFFFFFFFF;
    bool mLoaded = false;
};
