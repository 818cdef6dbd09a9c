// Small synthetic ".ffn" fonts for the font tests, written with the
// project's own container writer: each glyph a block whose pixels are
// palette indices from a pattern of its code, on a palette whose entries
// carry coverage and brightness.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/FontImageFile.h"
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

}  // namespace tova_test
