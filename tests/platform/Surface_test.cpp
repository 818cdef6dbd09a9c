#include "platform/Surface.h"

#include <gtest/gtest.h>

#include <vector>

namespace platform {
namespace {

// A pattern where neighbouring pixels differ in every field, with a few
// pixels of the key value sprinkled in.
void Pattern(Surface& s, uint32_t seed, uint16_t key) {
    for (int32_t y = 0; y < s.Height(); ++y)
        for (int32_t x = 0; x < s.Width(); ++x) {
            uint32_t v = (static_cast<uint32_t>(x) * 2654435761u) ^ (static_cast<uint32_t>(y) * 40503u) ^ seed;
            v ^= v >> 13;
            uint32_t value = (x + y) % 5 == 0 ? key : (v & 0xFFFF);
            if (s.Layout() == PixelLayout::Rgb555) value &= 0x7FFF;
            s.SetPixel(x, y, value);
        }
}

uint16_t RefBlend(PixelLayout layout, uint16_t s, uint16_t d, unsigned a) {
    // Straight from the layout's masks, channel by channel.
    const uint16_t masks555[] = {0x7C00, 0x03E0, 0x001F};
    const uint16_t masks565[] = {0xF800, 0x07E0, 0x001F};
    const uint16_t* masks = layout == PixelLayout::Rgb555 ? masks555 : masks565;
    uint16_t out = 0;
    for (int c = 0; c < 3; ++c) {
        int shift = 0;
        while (!((masks[c] >> shift) & 1)) ++shift;
        const unsigned sv = (s & masks[c]) >> shift, dv = (d & masks[c]) >> shift;
        out |= static_cast<uint16_t>(((sv * a + dv * (255 - a) + 127) / 255) << shift);
    }
    return out;
}

struct BlitCase {
    const char* name;
    PixelLayout layout;
    Rect src, dst;
    BlitOptions options;
};

class SurfaceBlit : public ::testing::TestWithParam<BlitCase> {};

TEST_P(SurfaceBlit, EqualsPerPixelReference) {
    const BlitCase& c = GetParam();
    const uint16_t key = 0x1234 & (c.layout == PixelLayout::Rgb555 ? 0x7FFF : 0xFFFF);
    auto src = Surface::Create(37, 29, c.layout);
    auto dst = Surface::Create(41, 33, c.layout);
    Pattern(*src, 1, key);
    Pattern(*dst, 2, 0);
    auto before = Surface::Create(41, 33, c.layout);
    ASSERT_TRUE(before->Blit(*dst, dst->Bounds(), dst->Bounds()));

    BlitOptions options = c.options;
    options.key = key;
    ASSERT_TRUE(dst->Blit(*src, c.src, c.dst, options));

    for (int32_t y = 0; y < dst->Height(); ++y)
        for (int32_t x = 0; x < dst->Width(); ++x) {
            const uint16_t old = before->Pixel16(x, y);
            uint16_t want = old;
            if (x >= c.dst.left && x < c.dst.right && y >= c.dst.top && y < c.dst.bottom) {
                const int32_t u = (x - c.dst.left) * c.src.Width() / c.dst.Width();
                const int32_t v = (y - c.dst.top) * c.src.Height() / c.dst.Height();
                const int32_t sx = options.mirrorLeftRight ? c.src.right - 1 - u : c.src.left + u;
                const int32_t sy = options.mirrorTopBottom ? c.src.bottom - 1 - v : c.src.top + v;
                const uint16_t s = src->Pixel16(sx, sy);
                if (!(options.colorKey && s == key)) want = RefBlend(c.layout, s, old, options.alpha);
            }
            ASSERT_EQ(dst->Pixel16(x, y), want) << c.name << " at " << x << "," << y;
        }
}

BlitOptions Opt(bool key, bool lr, bool tb, uint8_t alpha) {
    BlitOptions o;
    o.colorKey = key;
    o.mirrorLeftRight = lr;
    o.mirrorTopBottom = tb;
    o.alpha = alpha;
    return o;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SurfaceBlit,
    ::testing::Values(
        BlitCase{"copy565", PixelLayout::Rgb565, {3, 4, 23, 20}, {1, 2, 21, 18}, Opt(false, false, false, 255)},
        BlitCase{"copy555", PixelLayout::Rgb555, {0, 0, 37, 29}, {4, 4, 41, 33}, Opt(false, false, false, 255)},
        BlitCase{"key565", PixelLayout::Rgb565, {2, 2, 30, 20}, {5, 6, 33, 24}, Opt(true, false, false, 255)},
        BlitCase{"key555", PixelLayout::Rgb555, {2, 2, 30, 20}, {5, 6, 33, 24}, Opt(true, false, false, 255)},
        BlitCase{"mirrorLR", PixelLayout::Rgb565, {1, 1, 18, 12}, {0, 0, 17, 11}, Opt(false, true, false, 255)},
        BlitCase{"mirrorTB", PixelLayout::Rgb555, {1, 1, 18, 12}, {9, 9, 26, 20}, Opt(false, false, true, 255)},
        BlitCase{"mirrorBothKeyed", PixelLayout::Rgb565, {0, 0, 20, 20}, {3, 3, 23, 23}, Opt(true, true, true, 255)},
        BlitCase{"stretchUp", PixelLayout::Rgb565, {4, 4, 14, 11}, {0, 0, 41, 33}, Opt(false, false, false, 255)},
        BlitCase{"stretchDownMirrored", PixelLayout::Rgb555, {0, 0, 37, 29}, {2, 2, 13, 9}, Opt(true, true, false, 255)},
        BlitCase{"alpha0", PixelLayout::Rgb565, {0, 0, 20, 20}, {1, 1, 21, 21}, Opt(false, false, false, 0)},
        BlitCase{"alpha128_565", PixelLayout::Rgb565, {0, 0, 20, 20}, {1, 1, 21, 21}, Opt(false, false, false, 128)},
        BlitCase{"alpha128_555keyed", PixelLayout::Rgb555, {0, 0, 20, 20}, {1, 1, 21, 21}, Opt(true, false, false, 128)},
        BlitCase{"alpha255", PixelLayout::Rgb555, {0, 0, 20, 20}, {1, 1, 21, 21}, Opt(false, false, false, 255)}),
    [](const ::testing::TestParamInfo<BlitCase>& info) { return info.param.name; });

TEST(Surface, RefusesRectanglesOutsideEitherSurface) {
    auto a = Surface::Create(16, 16, PixelLayout::Rgb565);
    auto b = Surface::Create(8, 8, PixelLayout::Rgb565);
    const Rect bad[] = {{-1, 0, 4, 4}, {0, 0, 17, 4}, {0, 0, 4, 17}, {4, 4, 4, 8}, {5, 5, 2, 2}};
    for (const Rect& r : bad) {
        EXPECT_FALSE(a->Fill(&r, 1)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        EXPECT_FALSE(a->Blit(*a, r, {0, 0, 4, 4}));
        EXPECT_FALSE(a->Blit(*a, {0, 0, 4, 4}, r));
    }
    // Inside the destination but outside the smaller source.
    EXPECT_FALSE(a->Blit(*b, {0, 0, 9, 8}, {0, 0, 9, 8}));
    // Layouts must match; alpha needs colour.
    auto index = Surface::Create(16, 16, PixelLayout::Index8);
    EXPECT_FALSE(a->Blit(*index, {0, 0, 4, 4}, {0, 0, 4, 4}));
    BlitOptions half;
    half.alpha = 128;
    EXPECT_FALSE(index->Blit(*index, {0, 0, 4, 4}, {4, 4, 8, 8}, half));
}

TEST(Surface, WideSurfacesHaveNoWidthCap) {
    auto wide = Surface::Create(4096, 2, PixelLayout::Rgb565);
    ASSERT_TRUE(wide);
    Rect tail{4000, 0, 4096, 2};
    EXPECT_TRUE(wide->Fill(&tail, 0xABCD));
    EXPECT_EQ(wide->Pixel16(4095, 1), 0xABCD);
    EXPECT_EQ(wide->Pixel16(3999, 1), 0);
}

TEST(Surface, FillsColourIndexAndDepth) {
    auto depth = Surface::Create(5, 3, PixelLayout::Depth16);
    EXPECT_TRUE(depth->Fill(nullptr, 0xFFFF));
    EXPECT_EQ(depth->Pixel16(4, 2), 0xFFFF);
    auto index = Surface::Create(5, 3, PixelLayout::Index8);
    Rect r{1, 1, 3, 2};
    EXPECT_TRUE(index->Fill(&r, 0x1F7));
    EXPECT_EQ(index->Pixel8(1, 1), 0xF7);
    EXPECT_EQ(index->Pixel8(3, 1), 0);
    EXPECT_EQ(index->PitchBytes(), 8);
}

TEST(Surface, NestedLocksAndOverlappingSelfCopy) {
    auto s = Surface::Create(8, 1, PixelLayout::Rgb565);
    uint8_t* bits = nullptr;
    int32_t pitch = 0;
    ASSERT_TRUE(s->Lock(&bits, &pitch));
    ASSERT_TRUE(s->Lock());
    EXPECT_EQ(s->LockDepth(), 2);
    EXPECT_EQ(bits, s->Pixels());
    EXPECT_EQ(pitch, 16);
    EXPECT_TRUE(s->Unlock());
    EXPECT_TRUE(s->Unlock());
    EXPECT_FALSE(s->Unlock());

    for (int x = 0; x < 8; ++x) s->SetPixel(x, 0, static_cast<uint32_t>(x + 1));
    ASSERT_TRUE(s->Blit(*s, {0, 0, 6, 1}, {2, 0, 8, 1}));
    const uint16_t want[] = {1, 2, 1, 2, 3, 4, 5, 6};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(s->Pixel16(x, 0), want[x]);
}

TEST(Surface, LostSurfaceFailsUntilRestoredAndCallsBackOnce) {
    auto s = Surface::Create(4, 4, PixelLayout::Rgb555);
    auto other = Surface::Create(4, 4, PixelLayout::Rgb555);
    int restored = 0;
    s->SetRestoreCallback([&] { ++restored; });
    s->MarkLost();
    EXPECT_FALSE(s->Lock());
    EXPECT_FALSE(s->Fill(nullptr, 1));
    EXPECT_FALSE(s->Blit(*other, other->Bounds(), s->Bounds()));
    EXPECT_FALSE(other->Blit(*s, s->Bounds(), other->Bounds()));
    EXPECT_EQ(restored, 0);
    EXPECT_TRUE(s->Restore());
    EXPECT_TRUE(s->Restore());
    EXPECT_EQ(restored, 1);
    EXPECT_TRUE(s->Fill(nullptr, 1));
    EXPECT_TRUE(s->Lock());
    EXPECT_TRUE(s->Unlock());
}

TEST(Surface, ColourPackingReplicatesBits) {
    uint8_t r, g, b;
    UnpackRgb(PixelLayout::Rgb565, 0xFFFF, r, g, b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 255, 255}));
    UnpackRgb(PixelLayout::Rgb555, 0x7C00, r, g, b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 0, 0}));
    UnpackRgb(PixelLayout::Rgb565, 0x0400, r, g, b);  // green 32 of 63
    EXPECT_EQ(g, 130);
    for (uint32_t p = 0; p < 0x10000; p += 7) {
        UnpackRgb(PixelLayout::Rgb565, static_cast<uint16_t>(p), r, g, b);
        ASSERT_EQ(PackRgb(PixelLayout::Rgb565, r, g, b), p);
        UnpackRgb(PixelLayout::Rgb555, static_cast<uint16_t>(p & 0x7FFF), r, g, b);
        ASSERT_EQ(PackRgb(PixelLayout::Rgb555, r, g, b), p & 0x7FFF);
    }
}

TEST(Surface, RefusesUnusableSizes) {
    EXPECT_FALSE(Surface::Create(0, 5, PixelLayout::Rgb565));
    EXPECT_FALSE(Surface::Create(5, -1, PixelLayout::Rgb565));
    EXPECT_FALSE(Surface::Create(1 << 20, 1 << 20, PixelLayout::Rgb565));
}

}  // namespace
}  // namespace platform
