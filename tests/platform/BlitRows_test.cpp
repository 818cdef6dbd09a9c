#include "platform/BlitRows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace platform {
namespace {

// Pixels that differ in every field, with every fifth one the key.
std::vector<uint16_t> BlitRowsPattern(size_t count, uint32_t seed, uint16_t key) {
    std::vector<uint16_t> out(count);
    uint32_t v = seed * 2654435761u + 1;
    for (size_t i = 0; i < count; ++i) {
        v ^= v << 13;
        v ^= v >> 17;
        v ^= v << 5;
        out[i] = i % 5 == 3 ? key : static_cast<uint16_t>(v);
    }
    return out;
}

struct BlitRowsCase {
    int32_t width;
    int32_t offset;  // pixels from an aligned start, in source and destination
    bool mirror;
    bool keyed;
    unsigned alpha;  // 255: the keyed copy
};

class BlitRowsWide : public ::testing::TestWithParam<BlitRowsCase> {};

TEST_P(BlitRowsWide, SamePixelsAsScalar) {
    const BlitRowsCase c = GetParam();
    const BlitRowKernels& scalar = ScalarBlitRows();
    const BlitRowKernels& wide = WideBlitRows();
    const uint16_t key = 0xF81F;
    // Room on both sides: a mirrored row reads backward from its last pixel,
    // and the guard pixels past the row must stay untouched.
    const size_t span = static_cast<size_t>(c.width) + 32;
    const std::vector<uint16_t> source = BlitRowsPattern(span, 7u + static_cast<uint32_t>(c.width), key);
    const std::vector<uint16_t> dest = BlitRowsPattern(span, 99u + static_cast<uint32_t>(c.offset), 0x1234);
    const size_t start = 8 + static_cast<size_t>(c.offset);
    const uint16_t* from = source.data() + start + (c.mirror && c.width > 0 ? c.width - 1 : 0);
    for (int layout = 0; layout < 2; ++layout) {
        std::vector<uint16_t> expect = dest, got = dest;
        if (c.alpha == 255) {
            scalar.keyed(expect.data() + start, from, c.width, c.mirror, key);
            wide.keyed(got.data() + start, from, c.width, c.mirror, key);
        } else if (layout == 0) {
            scalar.alpha565(expect.data() + start, from, c.width, c.mirror, c.keyed, key, c.alpha);
            wide.alpha565(got.data() + start, from, c.width, c.mirror, c.keyed, key, c.alpha);
        } else {
            scalar.alpha555(expect.data() + start, from, c.width, c.mirror, c.keyed, key, c.alpha);
            wide.alpha555(got.data() + start, from, c.width, c.mirror, c.keyed, key, c.alpha);
        }
        ASSERT_EQ(expect, got) << "layout " << (layout == 0 ? "565" : "555") << " via " << wide.name;
        for (size_t i = 0; i < start; ++i) ASSERT_EQ(dest[i], got[i]);
        for (size_t i = start + static_cast<size_t>(c.width); i < span; ++i) ASSERT_EQ(dest[i], got[i]);
    }
}

std::vector<BlitRowsCase> BlitRowsCases() {
    std::vector<BlitRowsCase> cases;
    const int32_t widths[] = {0, 1, 3, 7, 8, 9, 15, 17, 31, 640};
    const unsigned alphas[] = {1, 128, 200, 254, 255};
    for (int32_t width : widths)
        for (int32_t offset : {0, 1, 3, 7})
            for (bool mirror : {false, true})
                for (bool keyed : {false, true})
                    for (unsigned alpha : alphas) cases.push_back({width, offset, mirror, keyed, alpha});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, BlitRowsWide, ::testing::ValuesIn(BlitRowsCases()));

// The scalar mix against the colour arithmetic written out: t / 255 rounded.
TEST(BlitRowsScalar, MixesEachFieldRoundedToNearest) {
    const uint16_t src = 0xFFFF, dst = 0x0000;
    uint16_t out565 = dst, out555 = dst;
    ScalarBlitRows().alpha565(&out565, &src, 1, false, false, 0, 128);
    ScalarBlitRows().alpha555(&out555, &src, 1, false, false, 0, 128);
    // 31 x 128 / 255 = 15.56 -> 16; 63 x 128 / 255 = 31.6 -> 32.
    EXPECT_EQ(out565, (16u << 11) | (32u << 5) | 16u);
    EXPECT_EQ(out555, (16u << 10) | (16u << 5) | 16u);
    uint16_t keyedOut = 0x4321;
    const uint16_t keySource = 0xF81F;
    ScalarBlitRows().alpha565(&keyedOut, &keySource, 1, false, true, 0xF81F, 128);
    EXPECT_EQ(keyedOut, 0x4321);
}

}  // namespace
}  // namespace platform
