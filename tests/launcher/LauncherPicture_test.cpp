#include "launcher/LauncherPicture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Fill(LauncherPicture& p, uint8_t r, uint8_t g, uint8_t b) {
    for (int32_t y = 0; y < p.Height(); ++y)
        for (int32_t x = 0; x < p.Width(); ++x) {
            uint8_t* px = p.Row(y) + 3 * x;
            px[0] = b;
            px[1] = g;
            px[2] = r;
        }
}

void FillMask(LauncherPicture& p, uint8_t m) {
    for (int32_t y = 0; y < p.Height(); ++y) std::memset(p.Row(y), m, size_t(p.Width()));
}

}  // namespace

TEST(LauncherPicture, BlendByMaskValue) {
    for (auto [m, expected] : {std::pair<uint8_t, uint8_t>{0, 20}, {255, 200}, {128, (128 * 200 + 127 * 20) / 256}}) {
        auto fore = LauncherPicture::Make(4, 4, 24);
        auto back = LauncherPicture::Make(4, 4, 24);
        auto mask = LauncherPicture::Make(4, 4, 8);
        Fill(*fore, 200, 200, 200);
        Fill(*back, 20, 20, 20);
        FillMask(*mask, m);
        ASSERT_TRUE(LauncherPicture::Blend(fore.get(), 0, 0, back.get(), 0, 0, mask.get(), 0, 0, back.get(), 0, 0, 4, 4));
        EXPECT_EQ(back->Pixel(3, 3)[0], expected) << int(m);
    }
}

TEST(LauncherPicture, BlendClipsAtTheRightAndBottomEdges) {
    auto back = LauncherPicture::Make(10, 10, 24);
    auto fore = LauncherPicture::Make(6, 6, 24);
    auto mask = LauncherPicture::Make(6, 6, 8);
    Fill(*back, 0, 0, 0);
    Fill(*fore, 255, 255, 255);
    FillMask(*mask, 255);
    const std::vector<uint8_t> before = back->Bytes();
    ASSERT_TRUE(LauncherPicture::Blend(fore.get(), 0, 0, back.get(), 7, 8, mask.get(), 0, 0, back.get(), 7, 8, 6, 6));
    EXPECT_EQ(back->Pixel(9, 9)[0], 255);
    EXPECT_EQ(back->Pixel(7, 8)[0], 255);
    EXPECT_EQ(back->Pixel(6, 8)[0], 0);
    EXPECT_EQ(back->Bytes().size(), before.size());
    // Nothing past a row: the next row's first pixels stay black.
    EXPECT_EQ(back->Pixel(0, 9)[0], 0);
    EXPECT_EQ(back->Pixel(0, 7)[0], 0);
    // Negative points draw nothing.
    EXPECT_FALSE(LauncherPicture::Blend(fore.get(), 0, 0, back.get(), -1, 0, mask.get(), 0, 0, back.get(), 0, 0, 6, 6));
    EXPECT_FALSE(LauncherPicture::Blend(fore.get(), 0, 0, back.get(), 10, 0, mask.get(), 0, 0, back.get(), 10, 0, 6, 6));
}

TEST(LauncherPicture, BlendRefusesMixedBitCounts) {
    auto back = LauncherPicture::Make(4, 4, 24);
    auto fore8 = LauncherPicture::Make(4, 4, 8);
    auto mask = LauncherPicture::Make(4, 4, 8);
    auto mask24 = LauncherPicture::Make(4, 4, 24);
    auto fore = LauncherPicture::Make(4, 4, 24);
    EXPECT_FALSE(LauncherPicture::Blend(fore8.get(), 0, 0, back.get(), 0, 0, mask.get(), 0, 0, back.get(), 0, 0, 4, 4));
    EXPECT_FALSE(LauncherPicture::Blend(fore.get(), 0, 0, back.get(), 0, 0, mask24.get(), 0, 0, back.get(), 0, 0, 4, 4));
    EXPECT_FALSE(LauncherPicture::Blend(nullptr, 0, 0, back.get(), 0, 0, mask.get(), 0, 0, back.get(), 0, 0, 4, 4));
}

TEST(LauncherPicture, HeadersColourCountsAndBitFields) {
    // A 12-byte core header, 8 bits: 256 colours of 3 bytes.
    std::vector<uint8_t> core(12 + 768 + 4 * 2, 0);
    core[0] = 12;
    core[4] = 3;  // width
    core[6] = 2;  // height
    core[8] = 1;
    core[10] = 8;
    std::string error;
    auto a = LauncherPicture::FromDib(core.data(), core.size(), error);
    ASSERT_NE(a, nullptr) << error;
    EXPECT_TRUE(a->IsCoreHeader());
    EXPECT_EQ(a->ColourCount(), 256u);
    EXPECT_EQ(a->ColourTableSize(), 768u);
    EXPECT_EQ(a->Stride(), 4u);

    // An information header with 16 colours used, and one with bit fields.
    std::vector<uint8_t> info = LauncherPicture::Make(3, 2, 8)->Bytes();
    info[32] = 16;
    info.resize(40 + 16 * 4 + 4 * 2);
    auto b = LauncherPicture::FromDib(info.data(), info.size(), error);
    ASSERT_NE(b, nullptr) << error;
    EXPECT_EQ(b->ColourCount(), 16u);
    EXPECT_EQ(b->ColourTableSize(), 64u);

    std::vector<uint8_t> fields = LauncherPicture::Make(2, 2, 32)->Bytes();
    fields[16] = 3;
    fields.insert(fields.begin() + 40, 12, 0);
    auto c = LauncherPicture::FromDib(fields.data(), fields.size(), error);
    ASSERT_NE(c, nullptr) << error;
    EXPECT_EQ(c->ColourTableSize(), 12u);

    // Rows past the bytes are refused.
    info.resize(info.size() - 1);
    EXPECT_EQ(LauncherPicture::FromDib(info.data(), info.size(), error), nullptr);
    EXPECT_EQ(error, "picture rows run past the end of its bytes");
}

TEST(LauncherPicture, BmpFilesRoundTrip) {
    auto p = LauncherPicture::Make(5, 3, 24);
    Fill(*p, 10, 20, 30);
    p->Row(0)[0] = 99;
    const std::vector<uint8_t> bmp = p->ToBmp();
    std::string error;
    auto q = LauncherPicture::FromBmp(bmp.data(), bmp.size(), error);
    ASSERT_NE(q, nullptr) << error;
    EXPECT_EQ(q->Bytes(), p->Bytes());
    EXPECT_EQ(q->Pixel(0, 0)[2], 99);
    EXPECT_EQ(q->Pixel(4, 2), (std::array<uint8_t, 3>{10, 20, 30}));
    auto copy = q->Copy();
    EXPECT_TRUE(copy->CopyInto(*p));
    EXPECT_FALSE(copy->CopyInto(*LauncherPicture::Make(2, 2, 24)));
}

TEST(LauncherPalette, RiffPaletteWithStaticColoursReplaced) {
    std::vector<uint8_t> file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'P', 'A', 'L', ' ', 'd', 'a', 't', 'a'};
    const uint32_t length = 4 + 256 * 4;
    for (int i = 0; i < 4; ++i) file.push_back(uint8_t(length >> (8 * i)));
    file.insert(file.end(), {0x00, 0x03, 0x00, 0x01});
    for (int i = 0; i < 256; ++i) file.insert(file.end(), {uint8_t(i), uint8_t(255 - i), 7, 0});
    std::vector<std::array<uint8_t, 4>> entries;
    std::string error;
    ASSERT_TRUE(ParseRiffPalette(file.data(), file.size(), entries, error)) << error;
    EXPECT_EQ(entries[100], (std::array<uint8_t, 4>{100, 155, 7, 0}));
    ReplaceStaticColours(entries);
    EXPECT_EQ(entries[0], (std::array<uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(entries[9], (std::array<uint8_t, 4>{166, 202, 240, 0}));
    EXPECT_EQ(entries[255], (std::array<uint8_t, 4>{255, 255, 255, 0}));
    EXPECT_EQ(entries[10], (std::array<uint8_t, 4>{10, 245, 7, 0}));
    EXPECT_EQ(entries[245], (std::array<uint8_t, 4>{245, 10, 7, 0}));
    const std::vector<uint8_t> table = ColourTableOf(entries);
    EXPECT_EQ(table[4 * 10 + 0], 7);  // blue first
    EXPECT_EQ(table[4 * 10 + 2], 10);
    auto picture = LauncherPicture::Make(2, 2, 8);
    EXPECT_TRUE(picture->ApplyColourTable(table));
    EXPECT_FALSE(LauncherPicture::Make(2, 2, 24)->ApplyColourTable(table));

    file[20 + 1] = 0x02;  // version 0x200
    EXPECT_FALSE(ParseRiffPalette(file.data(), file.size(), entries, error));
    file.resize(100);
    EXPECT_FALSE(ParseRiffPalette(file.data(), file.size(), entries, error));
}
