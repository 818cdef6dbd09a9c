#include "framework/SoundOutputFilter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

std::vector<int16_t> Filter(SoundOutputFilter& filter, std::vector<int16_t> samples) {
    filter.Apply(samples.data(), samples.size() * 2);
    return samples;
}

}  // namespace

TEST(SoundOutputFilter, ModeZeroLeavesSamplesAlone) {
    SoundOutputFilter filter;
    EXPECT_EQ(filter.GetMode(), 0);
    EXPECT_EQ(filter.GetRate(), 44100);
    EXPECT_EQ(Filter(filter, {100, -200, 300}), (std::vector<int16_t>{100, -200, 300}));
}

TEST(SoundOutputFilter, ImpulseGivesTheCoefficients) {
    SoundOutputFilter filter;
    filter.SetMode(1);
    std::vector<int16_t> impulse(18, 0);
    impulse[0] = 4096;
    const std::vector<int16_t> expected = {67, 96, 152, 214, 277, 334, 376, 399, 399,
                                           376, 334, 277, 214, 152, 96, 67, 0, 0};
    EXPECT_EQ(Filter(filter, impulse), expected);
}

TEST(SoundOutputFilter, StereoChannelsKeepTheirOwnHistory) {
    SoundOutputFilter filter;
    filter.SetFormat(2, 16);
    filter.SetMode(1);
    // An impulse on the left only: the right stays silent.
    std::vector<int16_t> frames(8, 0);
    frames[0] = 4096;
    const std::vector<int16_t> out = Filter(filter, frames);
    EXPECT_EQ(out, (std::vector<int16_t>{67, 0, 96, 0, 152, 0, 214, 0}));
}

TEST(SoundOutputFilter, EightBitDataPassesUnchanged) {
    SoundOutputFilter filter;
    filter.SetFormat(1, 8);
    filter.SetMode(1);
    uint8_t bytes[4] = {0x80, 0xFF, 0x00, 0x7F};
    filter.Apply(bytes, 4);
    EXPECT_EQ(bytes[1], 0xFF);
    EXPECT_EQ(bytes[2], 0x00);
}

TEST(SoundOutputFilter, ModeChangeClearsTheHistory) {
    SoundOutputFilter filter;
    filter.SetMode(1);
    Filter(filter, {4096});
    filter.SetMode(2);  // keeps the coefficients, forgets the impulse
    EXPECT_EQ(Filter(filter, {0, 0}), (std::vector<int16_t>{0, 0}));
}

TEST(SoundOutputFilter, FullScaleBlocksSettleOnTheFlooredSums) {
    for (auto [level, settled] : {std::pair<int16_t, int16_t>{32767, 30624}, {-32768, -30640}}) {
        cGZSndFilter filter;
        EXPECT_TRUE(filter.SetMode(1));
        std::vector<int16_t> block(40, level);
        EXPECT_TRUE(filter.Process(block.data(), static_cast<uint32_t>(block.size() * 2)));
        for (size_t i = 15; i < block.size(); ++i) EXPECT_EQ(block[i], settled) << level << " at " << i;
        EXPECT_NE(block[14], settled);
    }
}

TEST(SoundOutputFilter, ABlockSplitInTwoEqualsOneCall) {
    std::vector<int16_t> signal(50);
    for (size_t i = 0; i < signal.size(); ++i) signal[i] = static_cast<int16_t>((i * 7919) % 65536 - 32768);
    cGZSndFilter whole;
    whole.SetMode(1);
    std::vector<int16_t> once = signal;
    whole.Process(once.data(), 100);
    cGZSndFilter split;
    split.SetMode(1);
    std::vector<int16_t> twice = signal;
    split.Process(twice.data(), 34);
    split.Process(twice.data() + 17, 66);
    EXPECT_EQ(once, twice);
}

TEST(SoundOutputFilter, SetModeMidStreamStartsFromSilence) {
    cGZSndFilter filter;
    filter.SetMode(1);
    std::vector<int16_t> loud(20, 20000);
    filter.Process(loud.data(), 40);
    filter.SetMode(1);
    std::vector<int16_t> impulse(3, 0);
    impulse[0] = 4096;
    filter.Process(impulse.data(), 6);
    EXPECT_EQ(impulse, (std::vector<int16_t>{67, 96, 152}));
}

TEST(SoundOutputFilter, UnknownModesPassBlocksThrough) {
    for (int mode : {2, -1}) {
        cGZSndFilter fresh;
        fresh.SetMode(mode);
        EXPECT_EQ(Filter(fresh, {100, -200, 300}), (std::vector<int16_t>{100, -200, 300})) << mode;
        cGZSndFilter used;
        used.SetMode(1);
        used.SetMode(mode);
        EXPECT_EQ(Filter(used, {100, -200, 300}), (std::vector<int16_t>{100, -200, 300})) << mode;
    }
}
