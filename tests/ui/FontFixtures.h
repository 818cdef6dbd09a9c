// Small synthetic ".ffn" fonts for the font tests, written with the
// project's own container writer: each glyph a block whose pixels are
// palette indices from a pattern of its code, on a palette whose entries
// carry coverage and brightness.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/FontImageFile.h"
#include "platform/PngFile.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/DBGlyphSet.h"
#include "support/TempFolder.h"

namespace tova_test {

struct GlyphShape {
    int code;
    int width;
    int height;
    int originX = 0;
    int originY = 0;
};

// Entry 0 transparent; 1 full text colour; 2 half coverage; 3 full coverage
// but brightness 0 (black edge).
inline std::vector<uint32_t> TestPalette() { return {0u, 0xFFFF0000u, 0x80800000u, 0xFF000000u}; }

inline platform::FfnImage MakeGlyph(const GlyphShape& glyph) {
    platform::FfnImage image;
    char name[40];
    std::snprintf(name, sizeof name, "%x '%c' %d", glyph.code, static_cast<char>(glyph.code & 0xFF), glyph.code);
    image.name = name;
    image.width = glyph.width;
    image.height = glyph.height;
    image.originX = glyph.originX;
    image.originY = glyph.originY;
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x) {
            // A frame of full pixels, a half-covered inside, a dark corner.
            uint8_t index = (x == 0 || y == 0 || x == glyph.width - 1 || y == glyph.height - 1) ? 1 : 0;
            if (index == 0 && (x + y + glyph.code) % 3 == 0) index = 2;
            if (x == glyph.width - 1 && y == glyph.height - 1) index = 3;
            image.pixels.push_back(index);
        }
    return image;
}

inline std::string FontBytes(const std::vector<GlyphShape>& glyphs, std::vector<uint32_t> palette = TestPalette()) {
    platform::FfnFile file;
    file.palette = std::move(palette);
    for (const GlyphShape& glyph : glyphs) file.images.push_back(MakeGlyph(glyph));
    std::vector<uint8_t> bytes;
    if (!platform::EncodeFfn(file, bytes)) return {};
    return std::string(bytes.begin(), bytes.end());
}

// Printable ASCII: letters 6 wide and 9 high standing on a common base
// line, 'g' and 'p' reaching 2 below it, ',' and '.' small marks low down,
// 'i' and 'l' narrow with one column of lead.
inline std::vector<GlyphShape> AsciiGlyphs() {
    std::vector<GlyphShape> glyphs;
    for (int code = 32; code < 127; ++code) {
        GlyphShape glyph{code, 6, 9, 0, -2};
        if (code == 'g' || code == 'p') glyph = {code, 6, 9, 0, -4};
        if (code == ',' || code == '.') glyph = {code, 2, 2, 0, -10};
        if (code == 'i' || code == 'l') glyph = {code, 2, 9, -1, -2};
        glyphs.push_back(glyph);
    }
    return glyphs;
}

// A ".fon" glyph set of the exact size its layout gives (or `cut` bytes
// short). Each glyph is a frame in its cell with a diagonal that steps with
// its number, so neighbouring glyphs differ; double-byte glyph 0 is a
// filled cell, which shows where an index fell back to it.
inline std::string FonBytes(int32_t set, int64_t cut = 0) {
    const DBGlyphSetLayout& l = DBGlyphSet::Layouts()[static_cast<size_t>(set)];
    std::string bytes(static_cast<size_t>(l.FileBytes()), '\0');
    auto glyph = [&bytes](size_t offset, int32_t w, int32_t h, int32_t number, bool solid) {
        const int32_t rowBytes = (w + 7) / 8;
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                const bool on = solid || x == 0 || y == 0 || x == w - 1 || y == h - 1 || (x + y + number) % 5 == 0;
                if (on) bytes[offset + static_cast<size_t>(y * rowBytes + x / 8)] |= static_cast<char>(0x80 >> (x % 8));
            }
    };
    for (int32_t code = 33; code < 256; ++code)
        if (code != 0xA0)
            glyph(static_cast<size_t>(code * l.singleBytes), l.singleWidth, l.singleHeight, code, false);
    for (int32_t index = 0; index < l.doubleCount; ++index)
        glyph(static_cast<size_t>(256 * l.singleBytes + int64_t{index} * l.doubleBytes), l.doubleWidth, l.doubleHeight,
              index, index == 0);
    bytes.resize(bytes.size() - static_cast<size_t>(cut));
    return bytes;
}

// A 16-bit target cleared to 0, and its pixels read back.
inline std::unique_ptr<cGZBuffer> Buffer(int32_t w, int32_t h, int32_t format = cGZBuffer::kFormat565) {
    auto buffer = std::make_unique<cGZBuffer>();
    EXPECT_TRUE(buffer->Init(w, h, format, 16, nullptr, 0, 0));
    buffer->Clear(0);
    return buffer;
}
inline uint16_t Pixel(cGZBuffer& buffer, int32_t x, int32_t y) {
    buffer.Lock(64);
    const uint16_t value = buffer.GetBits()[y * (buffer.GetPitch() / 2) + x];
    buffer.Unlock(64);
    return value;
}
inline std::vector<uint16_t> Pixels(cGZBuffer& buffer) {
    std::vector<uint16_t> out;
    for (int32_t y = 0; y < buffer.Height(); ++y)
        for (int32_t x = 0; x < buffer.Width(); ++x) out.push_back(Pixel(buffer, x, y));
    return out;
}
inline platform::Image Picture(cGZBuffer& buffer) { return platform::ImageFromSurface(*buffer.GetSurface()->Surface()); }

}  // namespace tova_test
