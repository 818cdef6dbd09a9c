#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "sound/XAEncoder.h"
#include "sound/cGZWave.h"
#include "sound/cWaveXA.h"
#include "sound/SoundFixture.h"

using sound_test::Bytes;
using sound_test::Tone;
using sound_test::WriteFile;

namespace {

std::vector<uint8_t> WavImage(const std::vector<uint8_t>& data, uint16_t channels = 1, uint32_t rate = 22050) {
    return platform::EncodeWav(platform::PcmFormat::Make(channels, rate, 16), data.data(), data.size());
}

// An XA image with the given decoded size, format and compressed bytes.
std::vector<uint8_t> XaImage(uint32_t decoded, uint16_t channels, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> image = EncodeXA(nullptr, 0, channels, 22050);
    image[4] = uint8_t(decoded);
    image[5] = uint8_t(decoded >> 8);
    image[6] = uint8_t(decoded >> 16);
    image[7] = uint8_t(decoded >> 24);
    image.insert(image.end(), data.begin(), data.end());
    return image;
}

std::vector<int16_t> ReadSamples(cIGZSndReader& reader, uint32_t bytes) {
    std::vector<int16_t> out(bytes / 2);
    EXPECT_EQ(reader.Read(out.data(), bytes), bytes);
    return out;
}

}  // namespace

TEST(cGZWave, ReadsFormatAndDataAndRewinds) {
    tova_test::ScratchDir dir;
    const std::vector<int16_t> samples = Tone(100, 2, 11025);
    WriteFile(dir / "a.WAV", WavImage(Bytes(samples), 2, 11025));
    cGZWave wave;
    ASSERT_TRUE(wave.Open((dir / "a.WAV").c_str()));
    EXPECT_EQ(wave.GetFormat().channels, 2);
    EXPECT_EQ(wave.GetFormat().samplesPerSec, 11025u);
    EXPECT_EQ(wave.GetFormat().blockAlign, 4);
    EXPECT_EQ(wave.GetDataSize(), 400u);
    std::vector<int16_t> first(100);
    EXPECT_EQ(wave.Read(first.data(), 200), 200u);
    EXPECT_EQ(wave.GetDataSize(), 200u);
    EXPECT_EQ(wave.Read(first.data() + 100 / 1, 0), 0u);
    ASSERT_TRUE(wave.Rewind());
    uint8_t* all = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(wave.ReadAll(all, size));
    EXPECT_EQ(size, 400u);
    EXPECT_EQ(std::memcmp(all, samples.data(), 400), 0);
    delete[] all;
    int16_t more;
    EXPECT_EQ(wave.Read(&more, 2), 0u);
}

TEST(cGZWave, EighteenByteFormatChunkStillOpens) {
    tova_test::ScratchDir dir;
    std::vector<uint8_t> image = WavImage({1, 2, 3, 4});
    image[16] = 18;  // format chunk length
    image.insert(image.begin() + 36, {0, 0});
    WriteFile(dir / "b.wav", image);
    cGZWave wave;
    ASSERT_TRUE(wave.Open((dir / "b.wav").c_str()));
    EXPECT_EQ(wave.GetDataSize(), 4u);
    ASSERT_TRUE(wave.Rewind());
    EXPECT_EQ(wave.GetDataSize(), 4u);
}

TEST(cGZWave, ErrorsOfBadFiles) {
    tova_test::ScratchDir dir;
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
        int32_t error;
    };
    std::vector<uint8_t> riff15 = WavImage({1, 2});
    riff15[4] = 15;
    riff15[5] = riff15[6] = riff15[7] = 0;
    std::vector<uint8_t> notPcm = WavImage({1, 2});
    notPcm[20] = 2;
    std::vector<uint8_t> noData = WavImage({});
    noData[36] = 'x';
    std::vector<uint8_t> badMagic = WavImage({1, 2});
    badMagic[8] = 'X';
    const Case cases[] = {{"riff size 15", riff15, kSndReaderBadFile},
                          {"not pcm", notPcm, kSndReaderBadFile},
                          {"no data chunk", noData, kSndReaderBadFile},
                          {"bad magic", badMagic, kSndReaderBadFile},
                          {"short head", {'R', 'I', 'F', 'F'}, kSndReaderShortHeader}};
    for (const Case& c : cases) {
        WriteFile(dir / "bad.wav", c.image);
        cGZWave wave;
        EXPECT_FALSE(wave.Open((dir / "bad.wav").c_str())) << c.what;
        EXPECT_EQ(wave.GetError(), c.error) << c.what;
    }
    cGZWave wave;
    EXPECT_FALSE(wave.Open((dir / "missing.wav").c_str()));
    EXPECT_EQ(wave.GetError(), kSndReaderCannotOpen);
}

TEST(cGZWave, DataSizeBeyondTheFileIsCutToWhatExists) {
    tova_test::ScratchDir dir;
    std::vector<uint8_t> image = WavImage({1, 2, 3, 4, 5, 6});
    image[40] = 200;  // the data chunk claims 200 bytes
    WriteFile(dir / "short.wav", image);
    cGZWave wave;
    ASSERT_TRUE(wave.Open((dir / "short.wav").c_str()));
    EXPECT_EQ(wave.GetDataSize(), 6u);
    uint8_t* all = nullptr;
    uint32_t size = 0;
    EXPECT_TRUE(wave.ReadAll(all, size));
    EXPECT_EQ(size, 6u);
    delete[] all;
}

TEST(MakeSndReader, ChoosesByName) {
    std::unique_ptr<cIGZSndReader> wav(MakeSndReader("Sounds/BtnDown.WAV"));
    EXPECT_NE(dynamic_cast<cGZWave*>(wav.get()), nullptr);
    std::unique_ptr<cIGZSndReader> xa(MakeSndReader("music.xa"));
    EXPECT_NE(dynamic_cast<cWaveXA*>(xa.get()), nullptr);
    EXPECT_EQ(MakeSndReader("music.mp3"), nullptr);
    EXPECT_EQ(MakeSndReader("wav"), nullptr);
}

TEST(cWaveXA, HeaderErrors) {
    tova_test::ScratchDir dir;
    std::vector<uint8_t> xb = XaImage(4, 1, {});
    xb[1] = 'B';
    std::vector<uint8_t> notPcm = XaImage(4, 1, {});
    notPcm[8] = 2;
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
        int32_t error;
    };
    const Case cases[] = {{"XB", xb, kSndReaderBadFile},
                          {"7 bytes", {'X', 'A', 0, 0, 4, 0, 0}, kSndReaderShortHeader},
                          {"short format", {'X', 'A', 0, 0, 4, 0, 0, 0, 1, 0}, kSndReaderShortHeader},
                          {"not pcm", notPcm, kSndReaderBadFile}};
    for (const Case& c : cases) {
        WriteFile(dir / "bad.xa", c.image);
        cWaveXA xa;
        EXPECT_FALSE(xa.Open((dir / "bad.xa").c_str())) << c.what;
        EXPECT_EQ(xa.GetError(), c.error) << c.what;
    }
}

TEST(cWaveXA, DecodesAMonoGroup) {
    struct Case {
        uint8_t header;
        uint8_t data;
        int16_t first;
        int16_t second;
    };
    const Case cases[] = {
        {0x0C, 0x7F, 7, -1},          // filter 0, shift 12: the nibbles as they are
        {0x00, 0x7F, 28672, -4096},   // shift 0: nibble << 12
        {0x0D, 0x7F, 0, 0},           // shifts 13..15 give no correction
        {0x5C, 0x7F, 7, -1},          // filter 5 does not exist: acts as filter 0
        {0x1C, 0x7F, 7, 6},           // filter 1: 0.9375 * 7 - 1 = 5.5625 -> 6
    };
    tova_test::ScratchDir dir;
    for (const Case& c : cases) {
        std::vector<uint8_t> group(15, 0);
        group[0] = c.header;
        group[1] = c.data;
        WriteFile(dir / "g.xa", XaImage(4, 1, group));
        cWaveXA xa;
        ASSERT_TRUE(xa.Open((dir / "g.xa").c_str()));
        const std::vector<int16_t> out = ReadSamples(xa, 4);
        EXPECT_EQ(out[0], c.first) << std::hex << int(c.header);
        EXPECT_EQ(out[1], c.second) << std::hex << int(c.header);
    }
}

TEST(cWaveXA, OutputSaturatesWhileTheHistoryKeepsTheExactValue) {
    // Filter 2 over two full-scale nibbles overshoots 16 bits.
    std::vector<uint8_t> group(15, 0);
    group[0] = 0x20;
    group[1] = 0x77;
    group[2] = 0x77;
    tova_test::ScratchDir dir;
    WriteFile(dir / "s.xa", XaImage(8, 1, group));
    cWaveXA xa;
    ASSERT_TRUE(xa.Open((dir / "s.xa").c_str()));
    const std::vector<int16_t> out = ReadSamples(xa, 8);
    EXPECT_EQ(out[0], 28672);
    EXPECT_EQ(out[1], 32767);  // 1.796875 * 28672 + 28672 = 80192: saturated, not wrapped
    EXPECT_EQ(out[2], 32767);
}

TEST(cWaveXA, StereoGroupsTakeBothHeadersFirst) {
    std::vector<uint8_t> group(30, 0);
    group[0] = 0x0C;  // left: nibbles as they are
    group[1] = 0x0B;  // right: nibbles times 2
    group[2] = 0x7F;  // left byte
    group[3] = 0x31;  // right byte
    tova_test::ScratchDir dir;
    WriteFile(dir / "st.xa", XaImage(8, 2, group));
    cWaveXA xa;
    ASSERT_TRUE(xa.Open((dir / "st.xa").c_str()));
    EXPECT_EQ(ReadSamples(xa, 8), (std::vector<int16_t>{7, 6, -1, 2}));
}

TEST(cWaveXA, ShortLastBlockDecodesAsSilencePastItsEnd) {
    std::vector<uint8_t> group(3, 0);
    group[0] = 0x1C;  // filter 1 would carry the history on
    group[1] = 0x77;
    group[2] = 0x77;
    tova_test::ScratchDir dir;
    WriteFile(dir / "t.xa", XaImage(40, 1, group));
    cWaveXA xa;
    ASSERT_TRUE(xa.Open((dir / "t.xa").c_str()));
    // The head's 40 bytes are more than 3 compressed bytes can make.
    EXPECT_EQ(xa.GetDataSize(), 12u);
    const std::vector<int16_t> out = ReadSamples(xa, 12);
    EXPECT_NE(out[3], 0);
    for (size_t i = 4; i < out.size(); ++i) EXPECT_EQ(out[i], 0) << i;
}

TEST(cWaveXA, EncodeThenDecodeKeepsASineClose) {
    for (uint16_t channels : {uint16_t(1), uint16_t(2)}) {
        const uint32_t frames = 5000;
        const std::vector<int16_t> sine = Tone(frames, channels, 22050);
        tova_test::ScratchDir dir;
        WriteFile(dir / "sine.xa", EncodeXA(sine.data(), frames, channels, 22050));
        cWaveXA xa;
        ASSERT_TRUE(xa.Open((dir / "sine.xa").c_str()));
        EXPECT_EQ(xa.GetFormat().channels, channels);
        EXPECT_EQ(xa.GetDataSize(), frames * channels * 2u);
        uint8_t* all = nullptr;
        uint32_t size = 0;
        ASSERT_TRUE(xa.ReadAll(all, size));
        ASSERT_EQ(size, frames * channels * 2u);
        double signal = 0, noise = 0;
        const auto* decoded = reinterpret_cast<const int16_t*>(all);
        for (size_t i = 0; i < sine.size(); ++i) {
            signal += double(sine[i]) * sine[i];
            noise += (double(decoded[i]) - sine[i]) * (double(decoded[i]) - sine[i]);
        }
        delete[] all;
        EXPECT_GT(10 * std::log10(signal / noise), 25.0) << channels;  // dB
    }
}

TEST(cWaveXA, OddSizedReadsAndRewindGiveTheSameSamples) {
    const uint32_t frames = 3000;  // several 3840-byte blocks
    const std::vector<int16_t> sine = Tone(frames, 1, 22050);
    tova_test::ScratchDir dir;
    WriteFile(dir / "o.xa", EncodeXA(sine.data(), frames, 1, 22050));
    cWaveXA xa;
    ASSERT_TRUE(xa.Open((dir / "o.xa").c_str()));
    std::vector<int16_t> whole(frames);
    ASSERT_EQ(xa.Read(whole.data(), frames * 2), frames * 2);
    EXPECT_EQ(xa.Read(whole.data(), 2), 0u);
    ASSERT_TRUE(xa.Rewind());
    std::vector<int16_t> pieces(frames);
    auto* p = reinterpret_cast<uint8_t*>(pieces.data());
    uint32_t at = 0;
    for (uint32_t step = 4; at < frames * 2; step = step == 4 ? 12 : 4) at += xa.Read(p + at, step);
    EXPECT_EQ(pieces, whole);
}
