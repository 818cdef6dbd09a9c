#include "character/TextureImage.h"

#include "character/DirectXErrorText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::PixelLayout;

// A 4 x 3 image of four colours, row-major from the top.
const TexturePalette kPalette{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
const std::vector<uint8_t> kIndices{0, 1, 2, 3, 3, 3, 1, 1, 2, 0, 0, 0};

std::vector<uint8_t> Rgb() {
    std::vector<uint8_t> rgb;
    for (uint8_t i : kIndices) rgb.insert(rgb.end(), kPalette[i].begin(), kPalette[i].end());
    return rgb;
}

uint16_t Expected565(int x, int y) {
    const TextureRgb& c = kPalette[kIndices[y * 4 + x]];
    return platform::PackRgb(PixelLayout::Rgb565, c[0], c[1], c[2]);
}

void Set32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void ExpectImage(const TextureImage& image) {
    ASSERT_NE(image.surface, nullptr);
    ASSERT_EQ(image.surface->Width(), 4);
    ASSERT_EQ(image.surface->Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(image.surface->Pixel16(x, y), Expected565(x, y)) << x << "," << y;
}

TEST(BmpTexture, EveryKindReadsTheSamePicture) {
    const std::vector<uint8_t> rgb = Rgb();
    const std::string files[] = {
        WriteBmp8(4, 3, kIndices.data(), kPalette),
        WriteBmp8(4, 3, kIndices.data(), kPalette, true),
        WriteBmp8(4, 3, kIndices.data(), kPalette, false, true),
        WriteBmp24(4, 3, rgb.data()),
    };
    for (const std::string& file : files) {
        TextureImage image;
        ASSERT_EQ(ReadBmpTexture(file, TexturePixelFormat::Rgb565(), image), kDDDOk);
        ExpectImage(image);
    }
}

TEST(BmpTexture, IndexedTargetsKeepIndicesOrCollectColours) {
    TextureImage eight;
    ASSERT_EQ(ReadBmpTexture(WriteBmp8(4, 3, kIndices.data(), kPalette), TexturePixelFormat::Indexed8(), eight), kDDDOk);
    EXPECT_EQ(eight.surface->Layout(), PixelLayout::Index8);
    EXPECT_EQ(eight.surface->Pixel8(3, 0), 3);
    EXPECT_EQ(eight.palette[2], (TextureRgb{0, 0, 255}));
    // 24-bit into an indexed target: colours in order of first appearance
    // (the file's bottom row first).
    const std::vector<uint8_t> rgb = Rgb();
    TextureImage collected;
    ASSERT_EQ(ReadBmpTexture(WriteBmp24(4, 3, rgb.data()), TexturePixelFormat::Indexed8(), collected), kDDDOk);
    ASSERT_EQ(collected.palette.size(), 4u);
    EXPECT_EQ(collected.palette[0], (TextureRgb{0, 0, 255}));
    EXPECT_EQ(collected.palette[collected.surface->Pixel8(0, 0)], (TextureRgb{255, 0, 0}));
}

TEST(BmpTexture, AFullPaletteLoadsAndTooManyColoursBurst) {
    TexturePalette full;
    for (int i = 0; i < 256; ++i) full.push_back({static_cast<uint8_t>(i), 0, 0});
    std::vector<uint8_t> ramp(16 * 16);
    for (int i = 0; i < 256; ++i) ramp[i] = static_cast<uint8_t>(i);
    TextureImage image;
    ASSERT_EQ(ReadBmpTexture(WriteBmp8(16, 16, ramp.data(), full), TexturePixelFormat::Rgb565(), image), kDDDOk);
    EXPECT_EQ(image.surface->Pixel16(15, 15), platform::PackRgb(PixelLayout::Rgb565, 255, 0, 0));
    std::string declares300 = WriteBmp8(4, 3, kIndices.data(), kPalette);
    Set32(declares300, 46, 300);
    EXPECT_EQ(ReadBmpTexture(declares300, TexturePixelFormat::Rgb565(), image), kDDDPaletteBurst);
    // 24-bit pixels of more than 256 colours into an indexed target.
    std::vector<uint8_t> many(20 * 20 * 3);
    for (size_t k = 0; k < 400; ++k) many[k * 3] = static_cast<uint8_t>(k), many[k * 3 + 1] = static_cast<uint8_t>(k >> 8);
    EXPECT_EQ(ReadBmpTexture(WriteBmp24(20, 20, many.data()), TexturePixelFormat::Indexed8(), image), kDDDPaletteBurst);
}

TEST(BmpTexture, HostileFilesGetTheirCodes) {
    const std::string good = WriteBmp8(4, 3, kIndices.data(), kPalette);
    const std::string rle = WriteBmp8(4, 3, kIndices.data(), kPalette, false, true);
    auto with = [](std::string s, size_t at, uint32_t v) {
        Set32(s, at, v);
        return s;
    };
    std::string notBm = good;
    notBm[0] = 'P';
    std::string rleLong = rle;  // the first run claims 9 pixels of a 4-pixel row
    rleLong[54 + 16] = 9;
    std::string rleDelta = rle;  // a move far down the picture
    rleDelta.replace(54 + 16, 2, std::string("\0\2\0\7", 4));
    const struct {
        const char* name;
        std::string bytes;
        uint32_t code;
    } cases[] = {
        {"empty", "", kDDDFileReadError},
        {"short file header", "BM\1\2", kDDDFileReadError},
        {"not BM", notBm, kDDDUnknownFileVersion},
        {"short information header", good.substr(0, 40), kDDDFileReadError},
        {"short palette", good.substr(0, 60), kDDDFileReadError},
        {"short pixels", good.substr(0, good.size() - 3), kDDDFileReadError},
        {"pixels past the end", with(good, 10, 100000), kDDDFileReadError},
        {"width 0", with(good, 18, 0), kDDDBadFileFormat},
        {"huge width", with(good, 18, 0x7FFFFFFF), kDDDBadFileFormat},
        {"most negative height", with(good, 22, 0x80000000), kDDDBadFileFormat},
        {"compression 2", with(good, 30, 2), kDDDBadFileFormat},
        {"small information header", with(good, 14, 12), kDDDBadFileFormat},
        {"run past the row", rleLong, kDDDBadFileFormat},
        {"move past the picture", rleDelta, kDDDBadFileFormat},
        {"runs cut short", rle.substr(0, rle.size() - 6), kDDDFileReadError},
    };
    for (const auto& c : cases) {
        TextureImage image;
        EXPECT_EQ(ReadBmpTexture(c.bytes, TexturePixelFormat::Rgb565(), image), c.code) << c.name;
        EXPECT_EQ(image.surface, nullptr) << c.name;
    }
    TextureImage image;
    TexturePixelFormat f655{false, 0, 16, 0xFC00, 0x03E0, 0x001F};
    EXPECT_EQ(ReadBmpTexture(good, f655, image), kDDDUnknownPixelFormat);
}

TEST(PpmTexture, ReadsWithCommentsAnywhereInTheHeader) {
    const std::vector<uint8_t> rgb = Rgb();
    std::string pixels(rgb.begin(), rgb.end());
    const std::string headers[] = {"P6\n4 3\n255\n", "P6 4\n# a comment between width and height\n3 255 ",
                                   "P6#after the magic\n4\t3\r255\n"};
    for (const std::string& header : headers) {
        TextureImage image;
        ASSERT_EQ(ReadPpmTexture(header + pixels, TexturePixelFormat::Rgb565(), image), kDDDOk) << header;
        ExpectImage(image);
    }
    TextureImage image;
    ASSERT_EQ(ReadPpmTexture(WritePpm(4, 3, rgb.data()), TexturePixelFormat::Rgb555(), image), kDDDOk);
    EXPECT_EQ(image.surface->Pixel16(0, 0), 0x7C00);
    // An indexed target collects the colours in order.
    ASSERT_EQ(ReadPpmTexture(WritePpm(4, 3, rgb.data()), TexturePixelFormat::Indexed8(), image), kDDDOk);
    ASSERT_EQ(image.palette.size(), 4u);
    EXPECT_EQ(image.palette[3], (TextureRgb{255, 255, 255}));
    EXPECT_EQ(image.surface->Pixel8(3, 0), 3);
}

TEST(PpmTexture, HostileFilesGetTheirCodes) {
    const std::vector<uint8_t> rgb = Rgb();
    const std::string pixels(rgb.begin(), rgb.end());
    std::vector<uint8_t> many(20 * 20 * 3);
    for (size_t k = 0; k < 400; ++k) many[k * 3] = static_cast<uint8_t>(k), many[k * 3 + 1] = static_cast<uint8_t>(k >> 8);
    const struct {
        const char* name;
        std::string bytes;
        TexturePixelFormat format;
        uint32_t code;
    } cases[] = {
        {"text pixmap", "P3\n4 3\n255\n" + pixels, TexturePixelFormat::Rgb565(), kDDDBadPpmHeader},
        {"no height", "P6\n4\n", TexturePixelFormat::Rgb565(), kDDDBadPpmHeader},
        {"letters", "P6\n4 x 255\n" + pixels, TexturePixelFormat::Rgb565(), kDDDBadPpmHeader},
        {"no end of header", "P6\n4 3\n255", TexturePixelFormat::Rgb565(), kDDDBadPpmHeader},
        {"16-bit channels", "P6\n4 3\n65535\n" + pixels + pixels, TexturePixelFormat::Rgb565(), kDDDBadPpmHeader},
        {"maximum 15", "P6\n4 3\n15\n" + pixels, TexturePixelFormat::Rgb565(), kDDDBadPpmHeader},
        {"width 0", "P6\n0 3\n255\n", TexturePixelFormat::Rgb565(), kDDDBadPpmHeader},
        {"huge", "P6\n99999999999 3\n255\n", TexturePixelFormat::Rgb565(), kDDDBadPpmHeader},
        {"short pixels", "P6\n4 3\n255\n" + pixels.substr(1), TexturePixelFormat::Rgb565(), kDDDFileReadError},
        {"too many colours", WritePpm(20, 20, many.data()), TexturePixelFormat::Indexed8(), kDDDPaletteBurst},
        {"32-bit target", WritePpm(4, 3, rgb.data()), TexturePixelFormat{false, 0, 32, 0xFF0000, 0xFF00, 0xFF},
         kDDDUnknownPixelFormat},
    };
    for (const auto& c : cases) {
        TextureImage image;
        EXPECT_EQ(ReadPpmTexture(c.bytes, c.format, image), c.code) << c.name;
        EXPECT_EQ(image.surface, nullptr) << c.name;
    }
}

TEST(PaletteRemap, NearestByWeightedDistanceFirstWins) {
    const TexturePalette target{{0, 0, 0}, {250, 10, 10}, {10, 250, 10}, {250, 10, 10}};
    const TexturePalette source{{255, 0, 0}, {0, 200, 0}, {20, 20, 20}};
    const auto table = BuildPaletteTranslation(source, target);
    EXPECT_EQ(table[0], 1);  // the first of the two equal reds
    EXPECT_EQ(table[1], 2);
    EXPECT_EQ(table[2], 0);
    EXPECT_EQ(table[200], 0);  // missing source entries are black
    // Green counts four times, blue once: (0, 30, 100) is 4*30^2 from
    // (0, 60, 100) but 4*30^2 + 100^2 from black.
    const auto weighted = BuildPaletteTranslation({{0, 30, 100}}, {{0, 0, 0}, {0, 60, 100}});
    EXPECT_EQ(weighted[0], 1);

    TextureImage image;
    ASSERT_EQ(ReadBmpTexture(WriteBmp8(4, 3, kIndices.data(), kPalette), TexturePixelFormat::Indexed8(), image), kDDDOk);
    const TexturePalette two{{0, 0, 0}, {255, 255, 255}};
    ASSERT_EQ(RemapToPalette(image, two), kDDDOk);
    EXPECT_EQ(image.palette, two);
    EXPECT_EQ(image.surface->Pixel8(3, 0), 1);  // white stays white
    EXPECT_EQ(image.surface->Pixel8(2, 0), 0);  // blue is nearest black
    TextureImage rgb;
    ASSERT_EQ(ReadBmpTexture(WriteBmp8(4, 3, kIndices.data(), kPalette), TexturePixelFormat::Rgb565(), rgb), kDDDOk);
    EXPECT_EQ(RemapToPalette(rgb, two), kDDDUnknownPixelFormat);
}

}  // namespace
