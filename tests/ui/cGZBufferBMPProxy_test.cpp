#include "ui/graphics/Rle8Bitmap.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cGZBufferBMPProxy.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

// A 6x4 picture: palette 0 black, 1 red, 2 magenta, 3 blue, 4 magenta again.
Rle8Picture Sample() {
    Rle8Picture p;
    p.width = 6;
    p.height = 4;
    p.palette = {0x000000, 0xFF0000, 0xFF00FF, 0x0000FF, 0xFF00FF};
    p.indices = {1, 1, 1, 1, 3, 3,   // runs
                 0, 1, 3, 0, 1, 3,   // a literal group (odd after runs)
                 4, 4, 1, 3, 1, 2,   // the later magenta (4) is transparent, 2 is not
                 3, 1, 0, 0, 0, 1};
    return p;
}

struct ScreenFormat {
    explicit ScreenFormat(int32_t code) { cGZBuffer::SetScreenFormat(code); }
    ~ScreenFormat() { cGZBuffer::SetScreenFormat(cGZBuffer::kFormat565); }
};

cGZBuffer* Target(int32_t w, int32_t h, int32_t format) {
    auto* b = new cGZBuffer;
    EXPECT_TRUE(b->Init(w, h, format, 16, nullptr, 0, 0));
    b->Clear(0x0841);
    return b;
}

TEST(BmpProxy, DecodesRunsLiteralsAndTheLastMagentaAsTransparent) {
    for (int32_t format : {cGZBuffer::kFormat565, cGZBuffer::kFormat555}) {
        ScreenFormat screen(format);
        cGZBufferBMPProxy proxy("sample.bmp");
        const Rle8Picture p = Sample();
        ASSERT_TRUE(proxy.LoadBytes(WriteRle8Bitmap(p))) << proxy.Error();
        EXPECT_EQ(proxy.TransparentIndex(), 4);
        std::unique_ptr<cGZBuffer> dest(Target(6, 4, format));
        ASSERT_TRUE(proxy.DrawTo(*dest, 0, 0, {0, 0, 6, 4}));
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 6; ++x) {
                const uint8_t index = p.indices[static_cast<size_t>(y * 6 + x)];
                const uint32_t c = p.palette[index];
                const uint32_t want = index == 4 ? 0x0841
                                                 : cGZBuffer::MakeColorFor(format, static_cast<uint8_t>(c >> 16),
                                                                           static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c));
                ASSERT_EQ(dest->GetSurface()->Surface()->Pixel16(x, y), want) << format << " " << x << "," << y;
            }
    }
}

TEST(BmpProxy, SubRectangleGoesToTheOffset) {
    cGZBufferBMPProxy proxy("sample.bmp");
    ASSERT_TRUE(proxy.LoadBytes(WriteRle8Bitmap(Sample())));
    std::unique_ptr<cGZBuffer> dest(Target(8, 8, cGZBuffer::kFormat565));
    ASSERT_TRUE(proxy.DrawTo(*dest, 5, 6, {2, 1, 4, 3}));
    const auto* s = dest->GetSurface()->Surface();
    EXPECT_EQ(s->Pixel16(5, 6), 0x001F) << "source (2,1) is blue";
    EXPECT_EQ(s->Pixel16(6, 6), 0x0000) << "source (3,1) is black";
    EXPECT_EQ(s->Pixel16(5, 7), 0xF800) << "source (2,2) is red";
    EXPECT_EQ(s->Pixel16(4, 6), 0x0841);
    EXPECT_EQ(s->Pixel16(7, 6), 0x0841);
}

// Drawn a column at a time (as a button's middle is), the picture is the one
// drawn whole; a new load replaces what earlier draws decoded.
TEST(BmpProxy, PiecesMatchTheWholeAndANewLoadIsDrawn) {
    cGZBufferBMPProxy proxy("sample.bmp");
    ASSERT_TRUE(proxy.LoadBytes(WriteRle8Bitmap(Sample())));
    std::unique_ptr<cGZBuffer> whole(Target(6, 4, cGZBuffer::kFormat565));
    std::unique_ptr<cGZBuffer> pieces(Target(6, 4, cGZBuffer::kFormat565));
    ASSERT_TRUE(proxy.DrawTo(*whole, 0, 0, {0, 0, 6, 4}));
    for (int32_t x = 5; x >= 0; --x) ASSERT_TRUE(proxy.DrawTo(*pieces, x, 0, {x, 0, x + 1, 4}));
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 6; ++x)
            ASSERT_EQ(pieces->GetSurface()->Surface()->Pixel16(x, y), whole->GetSurface()->Surface()->Pixel16(x, y))
                << x << "," << y;

    Rle8Picture other = Sample();
    for (uint8_t& index : other.indices) index = 3;  // all blue
    ASSERT_TRUE(proxy.LoadBytes(WriteRle8Bitmap(other)));
    ASSERT_TRUE(proxy.DrawTo(*whole, 0, 0, {0, 0, 6, 4}));
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 6; ++x) ASSERT_EQ(whole->GetSurface()->Surface()->Pixel16(x, y), 0x001F) << x << "," << y;
    EXPECT_FALSE(proxy.LoadBytes("not a bitmap"));
    EXPECT_FALSE(proxy.DrawTo(*whole, 0, 0, {0, 0, 6, 4})) << "nothing left to draw from";
}

TEST(BmpProxy, DeltaMovesSkipPixels) {
    // Hand-made data: 2 pixels of index 1, a move of (1, 1), 1 pixel of index 1, end.
    Rle8Picture p;
    p.width = 4;
    p.height = 2;
    p.palette = {0, 0xFF0000};
    p.indices = {0, 0, 0, 0, 0, 0, 0, 0};
    std::string file = WriteRle8Bitmap(p);
    const uint32_t offset = 54 + 8;
    file.resize(offset);
    file += std::string("\x02\x01\x00\x02\x01\x01\x01\x01\x00\x01", 10);
    cGZBufferBMPProxy proxy("delta.bmp");
    ASSERT_TRUE(proxy.LoadBytes(file));
    std::unique_ptr<cGZBuffer> dest(Target(4, 2, cGZBuffer::kFormat565));
    ASSERT_TRUE(proxy.DrawTo(*dest, 0, 0, {0, 0, 4, 2}));
    const auto* s = dest->GetSurface()->Surface();
    // Rows run bottom-up: the first line is y = 1; the move lands on y = 0, x = 3.
    EXPECT_EQ(s->Pixel16(0, 1), 0xF800);
    EXPECT_EQ(s->Pixel16(1, 1), 0xF800);
    EXPECT_EQ(s->Pixel16(2, 1), 0x0841);
    EXPECT_EQ(s->Pixel16(2, 0), 0x0841);
    EXPECT_EQ(s->Pixel16(3, 0), 0xF800);
}

TEST(BmpProxy, HeaderChecks) {
    const std::string good = WriteRle8Bitmap(Sample());
    auto patched = [&](size_t at, uint32_t value) {
        std::string s = good;
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        return s;
    };
    const std::pair<const char*, std::string> bad[] = {
        {"short", good.substr(0, 40)},
        {"not BM", "XX" + good.substr(2)},
        {"zero width", patched(18, 0)},
        {"negative width", patched(18, 0xFFFFFFF0)},
        {"huge height", patched(22, 1u << 30)},
        {"300 colours", patched(46, 300)},
        {"palette past end", patched(46, 255)},
        {"pixels outside", patched(10, 1u << 20)},
    };
    for (const auto& [name, bytes] : bad) {
        cGZBufferBMPProxy proxy("bad.bmp");
        EXPECT_FALSE(proxy.LoadBytes(bytes)) << name;
        EXPECT_FALSE(proxy.IsLoaded()) << name;
        EXPECT_FALSE(proxy.Error().empty()) << name;
    }
    // 24 bits with a colour count of 0 means 2^24: refused. With a small
    // count it loads, but cannot be drawn.
    std::string truecolor = good;
    truecolor[28] = 24;
    truecolor[46] = 0;
    cGZBufferBMPProxy zero("24.bmp");
    EXPECT_FALSE(zero.LoadBytes(truecolor));
    truecolor[46] = 5;
    cGZBufferBMPProxy some("24.bmp");
    ASSERT_TRUE(some.LoadBytes(truecolor));
    std::unique_ptr<cGZBuffer> dest(Target(6, 4, cGZBuffer::kFormat565));
    EXPECT_FALSE(some.DrawTo(*dest, 0, 0, {0, 0, 6, 4}));
}

TEST(BmpProxy, HostileRunsWriteNothingOutside) {
    Rle8Picture p;
    p.width = 3;
    p.height = 3;
    p.palette = {0, 0xFF0000};
    p.indices.assign(9, 1);
    std::string file = WriteRle8Bitmap(p);
    file.resize(54 + 8);
    // A run far past the row, an index beyond the palette, a literal
    // claiming more bytes than there are.
    file += std::string("\xFF\x01\x00\x00\x05\x07\x00\xFF\x01\x01", 10);
    cGZBufferBMPProxy proxy("hostile.bmp");
    ASSERT_TRUE(proxy.LoadBytes(file));
    std::unique_ptr<cGZBuffer> dest(Target(3, 3, cGZBuffer::kFormat565));
    EXPECT_TRUE(proxy.DrawTo(*dest, 0, 0, {0, 0, 3, 3}));
    EXPECT_EQ(dest->GetSurface()->Surface()->Pixel16(2, 2), 0xF800);
    EXPECT_EQ(dest->GetSurface()->Surface()->Pixel16(0, 1), 0x0841) << "indices beyond the palette are transparent";
    // A move far past the image ends the decoding; a small destination
    // takes only what fits.
    std::string moved = WriteRle8Bitmap(p).substr(0, 54 + 8) + std::string("\x00\x02\xFF\xFF\x03\x01", 6);
    ASSERT_TRUE(proxy.LoadBytes(moved));
    std::unique_ptr<cGZBuffer> small(Target(1, 1, cGZBuffer::kFormat565));
    EXPECT_TRUE(proxy.DrawTo(*small, 0, 0, {0, 0, 3, 3}));
    ASSERT_TRUE(proxy.LoadBytes(WriteRle8Bitmap(p)));
    EXPECT_TRUE(proxy.DrawTo(*small, -1, -1, {0, 0, 3, 3}));
    EXPECT_EQ(small->GetSurface()->Surface()->Pixel16(0, 0), 0xF800);
}

TEST(BmpProxy, BufferLoadsAFileAndBlitsFromIt) {
    tova_test::TempFolder dir;
    dir.Write("pic.bmp", WriteRle8Bitmap(Sample()));
    cGZBuffer picture;
    ASSERT_TRUE(picture.LoadImageFile(dir / "pic.bmp"));
    EXPECT_EQ(picture.Width(), 6);
    EXPECT_EQ(picture.Height(), 4);
    EXPECT_EQ(picture.GetPixelFormat().code, cGZBuffer::kFormat565);
    std::unique_ptr<cGZBuffer> dest(Target(6, 4, cGZBuffer::kFormat565));
    EXPECT_TRUE(dest->Blit(picture, {0, 0, 6, 4}, {0, 0, 6, 4}));
    EXPECT_EQ(dest->GetSurface()->Surface()->Pixel16(0, 0), 0xF800);
    cGZBuffer missing;
    EXPECT_FALSE(missing.LoadImageFile(dir / "nope.bmp"));
    EXPECT_FALSE(missing.IsInitialised());
}

}  // namespace
