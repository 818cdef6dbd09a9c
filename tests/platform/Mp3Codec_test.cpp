#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/Mp3Decoder.h"
#include "platform/Mp3Encoder.h"

using platform::Mp3Decoder;
using platform::Mp3Encoder;
using platform::PcmFormat;

namespace {

std::vector<int16_t> Mp3CodecSine(uint32_t frames, uint16_t channels, uint32_t rate) {
    std::vector<int16_t> out(size_t(frames) * channels);
    for (uint32_t i = 0; i < frames; ++i)
        for (uint16_t c = 0; c < channels; ++c)
            out[size_t(i) * channels + c] = int16_t(std::lround(10000.0 * std::sin(2 * M_PI * 440.0 * (c + 1) * i / rate)));
    return out;
}

std::vector<uint8_t> Mp3CodecEncode(const PcmFormat& format, const std::vector<int16_t>& pcm) {
    std::vector<uint8_t> mp3;
    std::string error;
    EXPECT_TRUE(Mp3Encoder::Encode(format, reinterpret_cast<const uint8_t*>(pcm.data()), pcm.size() * 2, 96, mp3,
                                   error))
        << error;
    return mp3;
}

std::vector<int16_t> Mp3CodecDecodeAll(Mp3Decoder& decoder) {
    std::vector<int16_t> out;
    std::vector<uint8_t> chunk(4000);
    for (size_t got; (got = decoder.Read(chunk.data(), chunk.size())) > 0;) {
        const size_t at = out.size();
        out.resize(at + got / 2);
        std::memcpy(out.data() + at, chunk.data(), got);
    }
    return out;
}

}  // namespace

TEST(Mp3Codec, EncodedToneDecodesToItsLengthRateAndShape) {
    struct Case {
        uint16_t channels;
        uint32_t rate;
    };
    for (const Case c : {Case{2, 22050}, Case{1, 22050}, Case{2, 44100}}) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels " << c.rate);
        const PcmFormat format = PcmFormat::Make(c.channels, c.rate, 16);
        const uint32_t frames = c.rate / 2 + 123;
        const std::vector<int16_t> pcm = Mp3CodecSine(frames, c.channels, c.rate);
        Mp3Decoder decoder;
        std::string error;
        ASSERT_TRUE(decoder.OpenMemory(Mp3CodecEncode(format, pcm), error)) << error;
        EXPECT_EQ(decoder.Format().channels, c.channels);
        EXPECT_EQ(decoder.Format().samplesPerSec, c.rate);
        EXPECT_EQ(decoder.Format().bitsPerSample, 16);
        EXPECT_EQ(decoder.LengthFrames(), frames);
        const std::vector<int16_t> out = Mp3CodecDecodeAll(decoder);
        EXPECT_FALSE(decoder.Failed()) << decoder.Error();
        ASSERT_EQ(out.size(), pcm.size());
        // Lossy, but a pure tone stays close: the error is a small part of
        // the signal.
        double signal = 0, noise = 0;
        for (size_t i = 0; i < pcm.size(); ++i) {
            signal += double(pcm[i]) * pcm[i];
            noise += (double(out[i]) - pcm[i]) * (double(out[i]) - pcm[i]);
        }
        EXPECT_LT(noise / signal, 0.01);
    }
}

TEST(Mp3Codec, RewindDecodesTheSameSamplesAgain) {
    const PcmFormat format = PcmFormat::Make(2, 22050, 16);
    Mp3Decoder decoder;
    std::string error;
    ASSERT_TRUE(decoder.OpenMemory(Mp3CodecEncode(format, Mp3CodecSine(5000, 2, 22050)), error)) << error;
    const std::vector<int16_t> first = Mp3CodecDecodeAll(decoder);
    ASSERT_TRUE(decoder.Rewind());
    EXPECT_EQ(Mp3CodecDecodeAll(decoder), first);
}

TEST(Mp3Codec, RefusesWhatIsNotMp3AndEncodesOnlySixteenBitPcm) {
    Mp3Decoder decoder;
    std::string error;
    EXPECT_FALSE(decoder.OpenMemory({}, error));
    EXPECT_FALSE(error.empty());
    std::vector<uint8_t> text(3000, 'x');
    EXPECT_FALSE(decoder.OpenMemory(text, error));
    EXPECT_FALSE(decoder.IsOpen());
    EXPECT_FALSE(decoder.Open("/nonexistent/tune.mp3", error));
    EXPECT_EQ(decoder.Read(reinterpret_cast<uint8_t*>(text.data()), text.size()), 0u);

    // A stream cut in the middle ends where the data ends.
    const PcmFormat format = PcmFormat::Make(1, 22050, 16);
    std::vector<uint8_t> mp3 = Mp3CodecEncode(format, Mp3CodecSine(22050, 1, 22050));
    mp3.resize(mp3.size() / 2);
    ASSERT_TRUE(decoder.OpenMemory(mp3, error)) << error;
    const size_t got = Mp3CodecDecodeAll(decoder).size();
    EXPECT_GT(got, 4000u);
    EXPECT_LT(got, 22050u);

    std::vector<uint8_t> out;
    const uint8_t eight[100] = {};
    EXPECT_FALSE(Mp3Encoder::Encode(PcmFormat::Make(1, 22050, 8), eight, sizeof eight, 96, out, error));
    EXPECT_FALSE(Mp3Encoder::Encode(PcmFormat::Make(1, 96000, 16), eight, sizeof eight, 96, out, error));
}
