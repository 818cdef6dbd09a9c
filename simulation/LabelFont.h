// The fonts of the developer labels over objects. A FontCacheEntry stands
// for one created font (face, height from points at 96 dots per inch,
// weight) in one global list, entries may share a font, and the font is
// freed when the last entry holding it is released. The labels' glyphs come
// from an embedded 7 by 11 cell font drawn once into an off-screen 8-bit
// bitmap: 256 cells side by side, ink in palette index 0 on index 255;
// characters from 128 up stay blank.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "simulation/OffscreenBitmap.h"

struct LabelFontHandle {
    std::string face;
    int32_t height = 0;  // logical units, negated: a character height
    int32_t weight = 400;
};

class FontCacheEntry {
public:
    static constexpr int32_t kDotsPerInch = 96;

    FontCacheEntry() = default;
    ~FontCacheEntry() { Release(); }
    FontCacheEntry(const FontCacheEntry&) = delete;
    FontCacheEntry& operator=(const FontCacheEntry&) = delete;

    // Creates the font and puts the entry at the head of the list.
    void Create(const std::string& face, int32_t points, bool bold);
    // Links the entry without a font.
    void InitEmpty();
    // Links the entry to a font another entry holds.
    void InitShared(LabelFontHandle* handle);
    // Frees the font unless another listed entry holds it, and unlinks.
    void Release();

    LabelFontHandle* Handle() const { return mHandle; }
    bool Created() const { return mCreated; }
    bool IsListed() const;
    static int32_t ListedCount();

private:
    void Link();

    LabelFontHandle* mHandle = nullptr;
    bool mCreated = false;
    bool mListed = false;
    FontCacheEntry* mNext = nullptr;
};

// The label glyphs: one global bitmap, made at start-up and freed at exit.
class LabelGlyphs {
public:
    static constexpr int32_t kCellWidth = 7;
    static constexpr int32_t kCellHeight = 11;
    static constexpr uint8_t kInk = 0;
    static constexpr uint8_t kPaper = 255;

    // Draws the 256 cells with the label font ("Arial", 7 points).
    static bool Create();
    static void Destroy();
    // Null before Create.
    static const OffscreenBitmap* Bitmap();
    // Whether the glyph of ch has ink at (x, y) of its cell.
    static bool Ink(uint8_t ch, int32_t x, int32_t y);
};
