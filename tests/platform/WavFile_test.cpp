#include "platform/WavFile.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

using platform::PcmFormat;
using platform::WavData;

TEST(WavFile, WritesAndReadsBack) {
    tova_test::ScratchDir dir;
    const std::vector<uint8_t> samples = {1, 2, 3, 4, 5, 6, 7, 8};
    std::string error;
    ASSERT_TRUE(platform::WriteWavFile(dir / "a.wav", PcmFormat::Make(2, 11025, 16), samples.data(), samples.size(),
                                       error))
        << error;
    WavData read;
    ASSERT_TRUE(platform::ReadWavFile(dir / "a.wav", read, error)) << error;
    EXPECT_EQ(read.format.channels, 2);
    EXPECT_EQ(read.format.samplesPerSec, 11025u);
    EXPECT_EQ(read.format.avgBytesPerSec, 44100u);
    EXPECT_EQ(read.format.blockAlign, 4);
    EXPECT_EQ(read.samples, samples);
}

TEST(WavFile, SkipsOtherChunksAndDropsAPartialFrame) {
    std::vector<uint8_t> image = platform::EncodeWav(PcmFormat::Make(1, 8000, 16), nullptr, 0);
    // A "LIST" chunk of odd size (padded) before the data, and 3 data bytes.
    image.resize(36);
    const uint8_t list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    image.insert(image.end(), list, list + sizeof list);
    const uint8_t data[] = {'d', 'a', 't', 'a', 3, 0, 0, 0, 9, 8, 7};
    image.insert(image.end(), data, data + sizeof data);
    WavData read;
    std::string error;
    ASSERT_TRUE(platform::ParseWav(image.data(), image.size(), read, error)) << error;
    EXPECT_EQ(read.samples, (std::vector<uint8_t>{9, 8}));
}

TEST(WavFile, RefusesDamagedFiles) {
    const std::vector<uint8_t> good = platform::EncodeWav(PcmFormat::Make(1, 8000, 16), nullptr, 0);
    struct Case {
        const char* what;
        size_t offset;
        uint8_t value;
        const char* message;
    };
    for (const Case& c : {Case{"magic", 0, 'X', "not a RIFF WAVE file"},
                          Case{"chunk length", 16, 0xFF, "runs past the end"},
                          Case{"format tag", 20, 3, "not PCM"},
                          Case{"channels", 22, 5, "unsupported PCM layout"},
                          Case{"data length", 40, 0x40, "runs past the end"}}) {
        std::vector<uint8_t> bad = good;
        bad[c.offset] = c.value;
        WavData read;
        std::string error;
        EXPECT_FALSE(platform::ParseWav(bad.data(), bad.size(), read, error)) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
    }
    WavData read;
    std::string error;
    EXPECT_FALSE(platform::ParseWav(good.data(), 36, read, error));
    EXPECT_EQ(error, "no data chunk");
}
