// The movie's codecs through our writer: lossless pictures, exact PCM, close
// predictive and IMA sound, the audio header's entries, and damaged frames.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "MovieFixtures.h"
#include "platform/PngFile.h"
#include "sound/movie/MovieAudio.h"
#include "sound/movie/MovieAudioEncoder.h"
#include "sound/movie/MovieRequest.h"
#include "sound/movie/MovieVideoDecoder.h"
#include "support/GoldenImage.h"

namespace {

using namespace movie_test;

std::vector<uint8_t> Visible(const MovieVideoDecoder& d) {
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < d.Height(); ++y)
        out.insert(out.end(), d.Pixels() + size_t(y) * d.Stride(), d.Pixels() + size_t(y) * d.Stride() + d.Width());
    return out;
}

TEST(MovieVideo, KeyThenInterFramesDecodeToTheEncodersPicturesExactly) {
    MovieVideoDecoder decoder;
    const auto palette = Palette16();
    std::vector<uint8_t> previous;
    for (int i = 0; i < 12; ++i) {
        const auto picture = Picture(64, 48, i);
        const auto payload = i == 0 ? MovieWriter::EncodeKeyFrame(64, 48, palette, picture.data())
                                    : MovieWriter::EncodeInterFrame(64, 48, previous.data(), picture.data());
        ASSERT_TRUE(decoder.Decode(i == 0 ? 1 : 2, payload.data(), payload.size(), 100)) << "frame " << i;
        EXPECT_EQ(Visible(decoder), picture) << "frame " << i;
        previous = picture;
    }
    EXPECT_EQ(decoder.Palette()[3], palette[1][0]);
}

TEST(MovieVideo, InterFramesUseVectorsRawAndFourColourBlocks) {
    const auto a = Picture(64, 48, 3), b = Picture(64, 48, 4);
    const auto payload = MovieWriter::EncodeInterFrame(64, 48, a.data(), b.data());
    const uint16_t vectors = payload[0] | payload[1] << 8, raws = payload[2] | payload[3] << 8;
    const uint16_t fours = payload[4] | payload[5] << 8;
    EXPECT_GE(vectors, 2);  // still background and the moving box
    EXPECT_GE(raws + fours, 1);
    EXPECT_GE(fours, 1);
}

TEST(MovieVideo, LzBackCopiesMayOverlapTheirOwnOutput) {
    // "ab" then a copy of 9 from 2 back: the copy reads what it writes.
    const uint8_t data[] = {0x02 | (6 << 2), 0x01, 'a', 'b', 0xFC};
    uint8_t out[11] = {};
    ASSERT_TRUE(MovieVideoDecoder::DecompressLz(data, sizeof data, out, sizeof out));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 11), "ababababab" + std::string(1, 'a'));
    // A long run compresses into few bytes and comes back.
    std::vector<uint8_t> run(5000, 7);
    run[2500] = 9;
    const auto lz = MovieWriter::CompressLz(run.data(), run.size());
    EXPECT_LT(lz.size(), 40u);
    std::vector<uint8_t> back(run.size());
    ASSERT_TRUE(MovieVideoDecoder::DecompressLz(lz.data(), lz.size(), back.data(), back.size()));
    EXPECT_EQ(back, run);
}

TEST(MovieVideo, LzCommandsReachingOutsideAreRefused) {
    struct Case {
        const char* what;
        std::vector<uint8_t> data;
    } cases[] = {
        {"distance before the start", {0x00, 0x05, 0xFC}},
        {"copy past the output", {0xE0, 1, 2, 3, 4, 0x80 | 60, 0x00, 0x00, 0xFC}},
        {"literal past the input", {0xE1, 1, 2}},
        {"literal past the output", {0xE3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {"no closing command", {0xE0, 1, 2, 3, 4}},
        {"truncated command", {0xC0, 0x00}},
    };
    for (const Case& c : cases) {
        uint8_t out[12] = {};
        EXPECT_FALSE(MovieVideoDecoder::DecompressLz(c.data.data(), c.data.size(), out, sizeof out)) << c.what;
    }
}

TEST(MovieVideo, PaletteCountIsClampedAndBrightnessScales) {
    const std::vector<uint8_t> picture(16, 1);
    auto payload = MovieWriter::EncodeKeyFrame(4, 4, {{200, 100, 40}, {250, 10, 0}}, picture.data());
    MovieVideoDecoder half;
    ASSERT_TRUE(half.Decode(1, payload.data(), payload.size(), 50));
    EXPECT_EQ(half.Palette()[3], 125);
    EXPECT_EQ(half.Palette()[4], 5);
    MovieVideoDecoder bright;
    ASSERT_TRUE(bright.Decode(1, payload.data(), payload.size(), 150));
    EXPECT_EQ(bright.Palette()[0], 255);  // clamped
    // A count of 9999 entries is read no further than 256 and the payload.
    payload[6] = 0x0F;
    payload[7] = 0x27;
    MovieVideoDecoder clamped;
    EXPECT_FALSE(clamped.Decode(1, payload.data(), payload.size(), 100));
}

TEST(MovieVideo, HostileInterFramesLeaveBlocksAsTheyWere) {
    const auto a = Picture(64, 48, 0);
    const auto key = MovieWriter::EncodeKeyFrame(64, 48, Palette16(), a.data());
    MovieVideoDecoder decoder;
    ASSERT_TRUE(decoder.Decode(1, key.data(), key.size(), 100));
    // One vector pointing far outside, one index past every pattern.
    std::vector<uint8_t> p(12, 0);
    p[0] = 1;  // one vector
    p[6] = 2;  // two bits per index
    const uint32_t dx = 500 & 0x3FF, dy = uint32_t(-400) & 0x3FF, v = dx | dy << 10;
    p.insert(p.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), 0});
    std::vector<uint8_t> indices(192 * 2 / 8, 0);
    for (auto& b : indices) b = 0xE4;  // indices 0, 1, 2, 3 in turn
    p.insert(p.end(), indices.begin(), indices.end());
    ASSERT_TRUE(decoder.Decode(2, p.data(), p.size(), 100));
    EXPECT_EQ(Visible(decoder), a);
    // Index bits that the payload does not hold: refused.
    p.resize(p.size() - 10);
    EXPECT_FALSE(decoder.Decode(2, p.data(), p.size(), 100));
    // An inter frame before any key frame.
    MovieVideoDecoder fresh;
    EXPECT_FALSE(fresh.Decode(2, p.data(), p.size(), 100));
}

platform::Image MovieGeometryPicture(uint32_t flags, int32_t offsetX, int32_t offsetY, int32_t ow, int32_t oh) {
    const auto picture = Picture(64, 48, 5);
    const auto key = MovieWriter::EncodeKeyFrame(64, 48, Palette16(), picture.data());
    MovieVideoDecoder decoder;
    decoder.Decode(1, key.data(), key.size(), 100);
    auto surface = platform::Surface::Create(160, 120, platform::PixelLayout::Rgb565);
    surface->Fill(nullptr, 0);
    MovieRequest r;
    r.flags = flags;
    r.offsetX = offsetX;
    r.offsetY = offsetY;
    r.outputWidth = ow;
    r.outputHeight = oh;
    decoder.Output(*surface, MovieVideoDecoder::OutputRect(r, 64, 48, 160, 120));
    return platform::ImageFromSurface(*surface);
}

TEST(MovieVideo, GeometryCentreDoubleOffsetsAndClipping) {
    EXPECT_TRUE(tova_test::MatchesGolden(MovieGeometryPicture(kMovieCentreX | kMovieCentreY, 0, 0, 0, 0),
                                         "sound/golden/movie-centred.png"));
    EXPECT_TRUE(tova_test::MatchesGolden(
        MovieGeometryPicture(kMovieDoubleWidth | kMovieDoubleHeight | kMovieAddOffsetX | kMovieAddOffsetY, 8, 4, 0, 0),
        "sound/golden/movie-doubled-offset.png"));
    // Offsets that push most of the picture off the surface are clipped.
    EXPECT_TRUE(tova_test::MatchesGolden(MovieGeometryPicture(kMovieDoubleWidth | kMovieDoubleHeight | kMovieAddOffsetX |
                                                                  kMovieAddOffsetY | kMovieCentreX,
                                                              100, -60, 0, 0),
                                         "sound/golden/movie-clipped.png"));
    MovieRequest r;
    r.flags = kMovieExplicitWidth | kMovieExplicitHeight | kMovieCentreX;
    r.outputWidth = 100;
    r.outputHeight = 30;
    EXPECT_EQ(MovieVideoDecoder::OutputRect(r, 64, 48, 160, 120), (platform::Rect{30, 0, 130, 30}));
}

TEST(MovieAudio, HeaderEntriesAndBounds) {
    MovieAudioFormat in{16, 2, 44100, 7};
    const auto header = MovieAudioEncoder(in).Header();
    MovieAudioFormat out;
    ASSERT_TRUE(ParseMovieAudioHeader(header.data(), header.size(), out));
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.rate, 44100);
    EXPECT_EQ(out.compression, 7);
    // Skipped leading entries, a value of 6 bytes skipped, a sign-extended 2-byte value.
    const std::vector<uint8_t> odd = {'P', 'T', 0, 0, 0x06, 1, 9,    0xFD, 0x84, 6, 1, 2, 3, 4, 5, 6,
                                      0x82, 2,   0x80, 0x01, 0x83, 1, 10, 0x8A};
    ASSERT_TRUE(ParseMovieAudioHeader(odd.data(), odd.size(), out));
    EXPECT_EQ(out.rate, 22050);
    EXPECT_EQ(out.channels, int32_t(0xFFFF8001));
    EXPECT_EQ(out.compression, 10);
    // An entry whose length runs past the payload.
    const std::vector<uint8_t> cut = {'P', 'T', 0, 0, 0xFD, 0x84, 4, 0, 0};
    EXPECT_FALSE(ParseMovieAudioHeader(cut.data(), cut.size(), out));
}

TEST(MovieAudio, PcmComesBackExactlyAndNoFurtherThanThePayload) {
    const auto mono = Sine(300, 1, 22050);
    MovieAudioFormat f{16, 1, 22050, 0};
    auto chunk = MovieAudioEncoder(f).EncodeChunk(mono.data(), 300);
    std::vector<int16_t> out;
    MovieAudioDecoder d;
    ASSERT_TRUE(d.Decode(f, chunk.data(), chunk.size(), out));
    ASSERT_EQ(out.size(), 600u);
    for (size_t i = 0; i < 300; ++i) {
        EXPECT_EQ(out[2 * i], mono[i]);
        EXPECT_EQ(out[2 * i + 1], mono[i]);
    }
    // A count larger than the payload writes what the payload holds.
    chunk[1] = 0x7F;
    out.clear();
    d.Decode(f, chunk.data(), chunk.size(), out);
    EXPECT_EQ(out.size(), 600u);
}

TEST(MovieAudio, AdpcmMonoSizesAndSineStaysClose) {
    MovieAudioFormat f{16, 1, 22050, 7};
    EXPECT_EQ(MovieAudioDecoder::OutputBytes(f, std::vector<uint8_t>(162).data(), 162), 1120u);
    for (int channels : {1, 2}) {
        f.channels = channels;
        const auto sine = Sine(28 * 40, channels, 22050);
        MovieAudioEncoder enc(f);
        MovieAudioDecoder dec;
        std::vector<int16_t> out;
        for (int part = 0; part < 2; ++part) {
            const auto chunk = enc.EncodeChunk(sine.data() + part * 28 * 20 * channels, 28 * 20);
            dec.Decode(f, chunk.data(), chunk.size(), out);
        }
        ASSERT_EQ(out.size(), 28u * 40 * 2);
        double worst = 0;
        for (size_t i = 0; i < 28 * 40; ++i)
            for (int c = 0; c < 2; ++c)
                worst = std::max(worst, std::abs(double(out[2 * i + c]) - sine[i * channels + (channels == 2 ? c : 0)]));
        EXPECT_LT(worst, 600.0) << channels << " channels";
    }
}

TEST(MovieAudio, ImaStereoCarriesItsStateAcrossChunks) {
    MovieAudioFormat f{16, 2, 22050, 10};
    const auto sine = Sine(2000, 2, 22050);
    MovieAudioEncoder enc(f);
    MovieAudioDecoder dec;
    std::vector<int16_t> out;
    for (int part = 0; part < 4; ++part) {
        const auto chunk = enc.EncodeChunk(sine.data() + part * 500 * 2, 500);
        EXPECT_EQ(MovieAudioDecoder::OutputBytes(f, chunk.data(), chunk.size()), 2000u);
        dec.Decode(f, chunk.data(), chunk.size(), out);
    }
    ASSERT_EQ(out.size(), sine.size());
    double worst = 0;
    for (size_t i = 200; i < sine.size(); ++i) worst = std::max(worst, std::abs(double(out[i]) - sine[i]));
    EXPECT_LT(worst, 1200.0);
}

}  // namespace
