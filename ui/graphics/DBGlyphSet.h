// The one-bit glyph sets of the double-byte and Thai fonts (".fon" files):
// 256 single-byte glyphs followed by the double-byte ones, each glyph rows of
// whole bytes, most significant bit leftmost. A language loads its sets once
// (the font service keeps them); fonts hold a reference to the set they draw
// from, so a font outliving the service still draws.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct DBGlyphSetLayout {
    const char* file;
    int32_t size;
    int32_t singleWidth, singleHeight, singleBytes;
    int32_t doubleWidth, doubleHeight, doubleBytes;
    int32_t doubleCount;  // N double-byte glyphs after the 256 single-byte ones

    int64_t FileBytes() const {
        return 256 * int64_t{singleBytes} + int64_t{doubleCount} * doubleBytes;
    }
};

class DBGlyphSet {
public:
    static constexpr int32_t kSetCount = 7;
    static constexpr int32_t kThaiSet = 4;
    // Sets 0-6 in order; the Korean sets hold 2350 double-byte glyphs, which
    // is what their file sizes and the 949 index formula give.
    static const std::array<DBGlyphSetLayout, kSetCount>& Layouts();
    // The sets a language loads (15: 0 and 1; 17: 3; 18: 2; 19: 4; 20: 5 and
    // 6); none for the others.
    static std::vector<int32_t> SetsOfLanguage(uint32_t language);

    DBGlyphSet(int32_t index, std::vector<uint8_t> bytes);
    // A set over bytes kept elsewhere (shared, never copied); null is none.
    DBGlyphSet(int32_t index, std::shared_ptr<const std::vector<uint8_t>> bytes);
    // The set read from folder + its file name; unusable (size 0) when the
    // file is missing or shorter than the layout says.
    static std::shared_ptr<const DBGlyphSet> Read(const std::string& folder, int32_t index);

    const DBGlyphSetLayout& Layout() const { return *mLayout; }
    int32_t Index() const { return mIndex; }
    bool IsUsable() const { return mUsable; }
    // The set's size in pixels, 0 when unusable.
    int32_t Size() const { return mUsable ? mLayout->size : 0; }
    // Glyph height + the blank rows above and below.
    int32_t LineHeight() const { return mLayout->singleHeight + 2; }

    // Whether pixel (x, y) of the glyph is set; y counts from the glyph's
    // own top row (without the blank row). Double-byte indices at or past N
    // give glyph 0.
    bool SingleBit(uint8_t code, int32_t x, int32_t y) const;
    bool DoubleBit(int32_t index, int32_t x, int32_t y) const;
    // Row y of the glyph as bits, its leftmost pixel the top bit of the word,
    // bits past the glyph's width clear; 0 outside the glyph.
    uint32_t SingleRow(uint8_t code, int32_t y) const;
    uint32_t DoubleRow(int32_t index, int32_t y) const;

private:
    uint32_t Row(size_t offset, int32_t width, int32_t height, int32_t y) const;

    int32_t mIndex;
    const DBGlyphSetLayout* mLayout;
    std::shared_ptr<const std::vector<uint8_t>> mBytes;
    bool mUsable;
};

// The sets loaded for the languages asked so far; what the service frees.
class DBGlyphSets {
public:
    // Loads the language's sets from the folder unless already loaded.
    void LoadLanguage(const std::string& folder, uint32_t language);
    // The set a font of this size draws from: the largest loaded set of the
    // language not above the size, else the language's first; null when the
    // language has none loaded.
    std::shared_ptr<const DBGlyphSet> ForFont(uint32_t language, int32_t size) const;
    bool Any() const;
    void Free();

private:
    std::array<std::shared_ptr<const DBGlyphSet>, DBGlyphSet::kSetCount> mSets;
};
