// The ".ffn" container: written by the project's writer, read back through
// the codec plug-in's entries (names, origins, palette, 8-bit pixels), and
// refused whole when damaged.
#include "platform/FontImageFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "FontFixtures.h"
#include "ui/graphics/GuardedAlloc.h"
#include "ui/graphics/KoralBinding.h"
#include "ui/graphics/KoralStreams.h"

using tova_test::FontBytes;
using tova_test::GlyphShape;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(FontImageFile, RoundTripsThroughWriterAndReader) {
    const auto bytes = Bytes(FontBytes({{'A', 3, 4, 1, -2}, {0x1F0, 2, 2}, {' ', 0, 0}}));
    platform::FfnFile file;
    ASSERT_TRUE(platform::DecodeFfn(bytes.data(), bytes.size(), file));
    ASSERT_EQ(file.images.size(), 3u);
    EXPECT_EQ(file.images[0].name, "41 'A' 65");
    EXPECT_EQ(file.images[0].originX, 1);
    EXPECT_EQ(file.images[0].originY, -2);
    EXPECT_EQ(file.images[0].pixels, tova_test::MakeGlyph({'A', 3, 4, 1, -2}).pixels);
    EXPECT_EQ(file.images[1].name, "1f0 '\xF0' 496");
    EXPECT_EQ(file.images[2].width, 0);
    EXPECT_EQ(file.palette, tova_test::TestPalette());
}

TEST(FontImageFile, DamagedFilesAreRefused) {
    const std::string good = FontBytes({{'A', 3, 4}, {'B', 2, 2}});
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string badIndex = good;
    badIndex[badIndex.size() - 1] = 9;  // palette has 4 entries
    std::string hugeCount = good;
    hugeCount[8] = '\xFF';
    hugeCount[9] = '\xFF';
    std::string noPalette = good;
    noPalette[6] = 0;
    noPalette[7] = 0;
    std::string wideImage = FontBytes({{'A', 1, 1}});
    // width field of the only image: after the header (12), palette (16),
    // name length and name ("41 'A' 65", 9 bytes).
    wideImage[12 + 16 + 1 + 9] = '\x01';
    wideImage[12 + 16 + 1 + 9 + 1] = '\x10';
    const Case cases[] = {
        {"empty", ""},
        {"wrong magic", "XFFN" + good.substr(4)},
        {"truncated in pixels", good.substr(0, good.size() - 1)},
        {"truncated in the palette", good.substr(0, 14)},
        {"trailing bytes", good + "x"},
        {"pixel beyond the palette", badIndex},
        {"more images than the bytes hold", hugeCount},
        {"no palette", noPalette},
        {"image wider than 1024", wideImage},
    };
    for (const Case& c : cases) {
        const auto bytes = Bytes(c.bytes);
        platform::FfnFile file;
        EXPECT_FALSE(platform::DecodeFfn(bytes.data(), bytes.size(), file)) << c.what;
    }
}

TEST(FontImageFile, WriterRefusesWhatTheReaderWould) {
    platform::FfnFile file;
    EXPECT_FALSE([&] { std::vector<uint8_t> out; return platform::EncodeFfn(file, out); }()) << "no palette";
    file.palette = tova_test::TestPalette();
    file.images.push_back(tova_test::MakeGlyph({'A', 2, 2}));
    file.images.back().pixels[0] = 7;
    std::vector<uint8_t> out;
    EXPECT_FALSE(platform::EncodeFfn(file, out)) << "index beyond the palette";
    file.images.back().pixels[0] = 1;
    file.images.back().name.assign(64, 'x');
    EXPECT_FALSE(platform::EncodeFfn(file, out)) << "name too long";
}

// The codec plug-in opens the container and hands out each image.
TEST(FontImageFile, CodecGivesEveryImageWithNameOriginAndPalette) {
    tova_test::TempFolder folder;
    folder.Write("f.ffn", FontBytes({{'A', 3, 4, 1, -2}, {'B', 5, 1}}));
    ASSERT_TRUE(EnsureImageCodecBound());
    EXPECT_EQ(KoralFind("ffn", 0), kKoralFormatFfn);
    const std::string path = folder / "f.ffn";
    void* stream = KoralStreamOpen(path.c_str());
    ASSERT_NE(stream, nullptr);
    void* context = nullptr;
    ASSERT_EQ(KoralOpen(&context, stream, path.c_str(), kKoralModeDefault), 1);
    KoralFrame* first = KoralInfo(context, 0);
    KoralFrame* second = KoralInfo(context, 1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(KoralInfo(context, 2), nullptr);
    EXPECT_STREQ(first->name, "41 'A' 65");
    EXPECT_EQ(first->bits, 8);
    EXPECT_EQ(first->originX, 1);
    EXPECT_EQ(first->originY, -2);
    EXPECT_EQ(first->paletteCount, 4);
    EXPECT_EQ(first->palette[1], 0xFFFF0000u);
    EXPECT_EQ(second->width, 5);
    // Rows land at the caller's pitch; a pitch below the width is refused.
    std::vector<uint8_t> pixels(8 * 4, 0xEE);
    EXPECT_EQ(KoralRead(context, first, pixels.data(), 2), 0);
    ASSERT_EQ(KoralRead(context, first, pixels.data(), 8), 1);
    const auto expected = tova_test::MakeGlyph({'A', 3, 4, 1, -2}).pixels;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(pixels[static_cast<size_t>(y * 8 + x)], x < 3 ? expected[static_cast<size_t>(y * 3 + x)] : 0xEE);
    gfree(first);
    gfree(second);
    KoralClose(context);
    KoralStreamClose(stream);
}

}  // namespace
