// The movie player over movies from our writer: tracks, pacing clocks,
// states, looping, the sound device on the offline mixer and hostile streams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "MovieFixtures.h"
#include "platform/AudioMixer.h"
#include "platform/OfflineAudioSink.h"
#include "platform/Surface.h"
#include "sound/movie/Movie.h"
#include "sound/movie/MovieAudioEncoder.h"
#include "sound/movie/MovieClock.h"
#include "sound/movie/MovieStream.h"

namespace {

using namespace movie_test;

void AppendChunk(std::vector<uint8_t>& out, const char* tag, const std::vector<uint8_t>& payload) {
    MovieWriter::AppendChunk(out, tag, payload);
}

// Plays to the end on the caller's thread with the clock run by the decoder.
struct HeadlessRun {
    MovieRequest request;
    std::unique_ptr<platform::Surface> surface = platform::Surface::Create(64, 48, platform::PixelLayout::Rgb565);
    std::vector<int16_t> audio;
    MovieRequest* opened = nullptr;
    int32_t started = 0;

    explicit HeadlessRun(std::vector<uint8_t> bytes, uint32_t flags = kMoviePlaySound, int32_t track = 1) {
        request.flags = flags;
        request.track = track;
        request.surface = surface.get();
        request.manualClock = true;
        request.audioTap = [this](const int16_t* s, size_t frames) { audio.insert(audio.end(), s, s + 2 * frames); };
        opened = MovieOpenBytes(std::move(bytes), &request);
        if (opened) started = MovieStart(&request);
    }
    ~HeadlessRun() { MovieClose(&request); }
};

TEST(MovieStream, ThreeAudioHeadersGiveThreeTracksAndAnUnknownTrackPlaysTheFirst) {
    const auto bytes = Encode(Source(4, {Track(0, 1, 4000), Track(7, 1, 4000), Track(10, 2, 4000)}));
    for (auto [requested, flags, expected] : {std::tuple{5, uint32_t(kMovieSelectTrack), 1}, std::tuple{2, uint32_t(kMovieSelectTrack), 2},
                                              std::tuple{3, 0u, 1}}) {
        MovieRequest r;
        r.flags = uint32_t(flags);
        r.track = requested;
        ASSERT_TRUE(MovieOpenBytes(bytes, &r));
        EXPECT_EQ(r.trackCount, 3);
        EXPECT_EQ(r.track, expected);
        EXPECT_TRUE(r.hasAudio);
        EXPECT_EQ(r.frameWidth, 64);
        EXPECT_EQ(r.frameHeight, 48);
        MovieClose(&r);
        EXPECT_EQ(r.state.load(), kMovieStateFreed);
    }
}

TEST(MovieStream, SelectedTrackIsTheOneDecoded) {
    auto second = Track(0, 1, 3000);
    for (auto& s : second.samples) s = int16_t(s / 2 + 7);
    HeadlessRun run(Encode(Source(3, {Track(0, 1, 3000), second})), kMoviePlaySound | kMovieSelectTrack, 2);
    ASSERT_TRUE(run.opened);
    ASSERT_EQ(run.audio.size(), 6000u);
    for (size_t i = 0; i < 3000; ++i) ASSERT_EQ(run.audio[2 * i], second.samples[i]) << i;
}

TEST(MovieClock, DevicelessClockMovesTheStreamsRateEveryTenMs) {
    MovieDevicelessClock clock(22050);
    EXPECT_EQ(clock.BytesPerTick(), 882u);
    for (int i = 0; i < 10; ++i) clock.Tick();
    EXPECT_EQ(clock.Position(), 8820u);
    for (int i = 0; i < 40; ++i) clock.Tick();
    EXPECT_EQ(clock.Position(), 882u * 50 % 32768);
    EXPECT_EQ(MovieDevicelessClock(44100).BytesPerTick(), 1764u);
    EXPECT_EQ(MovieDevicelessClock(11025).BytesPerTick(), 441u);
}

TEST(MoviePlayer, HeadlessPlayShowsEveryFrameAndFeedsThePcmExactly) {
    const auto source = Source(24, {Track(0, 1, 22050 * 24 / 15)});
    HeadlessRun run(Encode(source));
    ASSERT_TRUE(run.opened);
    EXPECT_EQ(run.started, 1);
    EXPECT_EQ(run.request.framesShown.load(), 24u);
    EXPECT_EQ(run.request.framesSkipped.load(), 0u);
    EXPECT_EQ(run.request.error.load(), kMovieErrorNone);
    EXPECT_EQ(run.request.state.load(), kMovieStateFinished);
    const auto& pcm = source.tracks[0].samples;
    ASSERT_EQ(run.audio.size(), pcm.size() * 2);
    for (size_t i = 0; i < pcm.size(); ++i) ASSERT_EQ(run.audio[2 * i + 1], pcm[i]) << i;
    // The surface holds the last frame through the palette.
    uint8_t* bits = nullptr;
    int32_t pitch = 0;
    ASSERT_TRUE(run.surface->Lock(&bits, &pitch));
    const auto last = source.frames.back();
    const auto& c = source.palette[last[10 * 64 + 30]];
    EXPECT_EQ(reinterpret_cast<uint16_t*>(bits + 10 * pitch)[30],
              platform::PackRgb(platform::PixelLayout::Rgb565, c[0], c[1], c[2]));
    run.surface->Unlock();
    MovieClose(&run.request);
    EXPECT_EQ(MovieStop(&run.request), -1);
}

TEST(MoviePlayer, StatesRunInOrderThroughOpenStartStopAndClose) {
    MovieRequest r;
    r.flags = kMovieOwnThread | kMovieLoop;
    EXPECT_FALSE(MovieIsPlaying(&r));
    EXPECT_EQ(MovieStop(&r), -1);
    ASSERT_TRUE(MovieOpenBytes(Encode(Source(6, {Track(0, 1, 8000)})), &r));
    EXPECT_EQ(r.state.load(), kMovieStateOpened);
    EXPECT_EQ(MovieStart(&r), 0);
    const int32_t running = r.state.load();
    EXPECT_TRUE(running == kMovieStatePlaying) << running;
    EXPECT_TRUE(MovieIsPlaying(&r));
    r.state.store(kMovieStatePaused);
    EXPECT_TRUE(MovieIsPlaying(&r));
    EXPECT_EQ(MovieStop(&r), 0);
    EXPECT_EQ(r.state.load(), kMovieStateFinished);
    EXPECT_FALSE(MovieIsPlaying(&r));
    EXPECT_EQ(MovieStop(&r), -1);
    MovieClose(&r);
    EXPECT_EQ(r.state.load(), kMovieStateFreed);
    EXPECT_EQ(r.context, nullptr);
}

TEST(MoviePlayer, SelfFreeingMovieEndsInStateSevenAndStopAfterwardsFails) {
    MovieRequest r;
    r.flags = kMovieOwnThread;
    r.manualClock = true;
    const auto bytes = Encode(Source(5));
    const std::string path = ::testing::TempDir() + "movie-self-freeing.mov";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    ASSERT_TRUE(MovieOpenAndStart(path.c_str(), &r));
    for (int i = 0; i < 500 && MovieIsPlaying(&r); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(MovieIsPlaying(&r));
    EXPECT_EQ(r.state.load(), kMovieStateFreed);
    EXPECT_EQ(r.framesShown.load(), 5u);
    EXPECT_EQ(MovieStop(&r), -1);
    std::remove(path.c_str());
    MovieRequest missing;
    EXPECT_FALSE(MovieOpenAndStart((path + ".none").c_str(), &missing));
    EXPECT_STREQ(MovieErrorText(missing.error.load()), "the movie file cannot be opened");
}

TEST(MoviePlayer, LoopRestartsAtTheFirstAudioChunk) {
    const auto source = Source(6, {Track(0, 1, 6 * 1470)});
    MovieRequest r;
    std::vector<int16_t> audio;
    r.flags = kMoviePlaySound | kMovieLoop | kMovieFrameCallback;
    r.manualClock = true;
    r.frameCallback = [](MovieRequest& req) { return req.framesShown.load() >= 20 ? 1 : 0; };
    r.audioTap = [&](const int16_t* s, size_t frames) { audio.insert(audio.end(), s, s + 2 * frames); };
    ASSERT_TRUE(MovieOpenBytes(Encode(source), &r));
    EXPECT_EQ(MovieStart(&r), 1);
    EXPECT_EQ(r.framesShown.load(), 20u);
    const auto& pcm = source.tracks[0].samples;
    ASSERT_GT(audio.size(), pcm.size() * 2 + 100);
    // After one pass the sound starts over from its first chunk.
    for (size_t i = 0; i < 100; ++i) ASSERT_EQ(audio[pcm.size() * 2 + 2 * i], pcm[i]) << i;
    MovieClose(&r);
}

TEST(MoviePlayer, SoundPlaysAsALoopingVoiceOnTheMixer) {
    platform::AudioMixer mixer;
    platform::OfflineAudioSink sink(mixer, 10);
    const auto source = Source(12, {Track(7, 1, 12 * 1470)});
    MovieRequest r;
    r.flags = kMoviePlaySound | kMovieOwnThread;
    r.mixer = &mixer;
    ASSERT_TRUE(MovieOpenBytes(Encode(source), &r));
    ASSERT_EQ(MovieStart(&r), 0);
    size_t voices = 0;
    for (int i = 0; i < 3000 && MovieIsPlaying(&r); ++i) {
        voices = std::max(voices, mixer.VoiceCount());
        sink.Advance(10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_FALSE(MovieIsPlaying(&r));
    EXPECT_EQ(r.framesShown.load() + r.framesSkipped.load(), 12u);
    EXPECT_EQ(voices, 1u);
    EXPECT_EQ(mixer.VoiceCount(), 0u);
    double energy = 0;
    for (int16_t s : sink.Captured()) energy += double(s) * s;
    EXPECT_GT(energy / double(sink.Captured().size()), 1.0e6);  // the sine, not silence
    MovieClose(&r);
}

TEST(MoviePlayer, ReversedTagsAndCompression7And10Play) {
    for (int compression : {7, 10}) {
        auto bytes = Encode(Source(4, {Track(compression, 2, 4 * 1470)}));
        // Reverse every tag.
        for (size_t at = 0; at + 8 <= bytes.size();) {
            std::reverse(bytes.begin() + at, bytes.begin() + at + 4);
            at += bytes[at + 4] | bytes[at + 5] << 8 | bytes[at + 6] << 16 | size_t(bytes[at + 7]) << 24;
        }
        HeadlessRun run(bytes);
        ASSERT_TRUE(run.opened);
        EXPECT_EQ(run.request.framesShown.load(), 4u);
        // 4 * 1470 is a whole number of the predictive code's groups of 28.
        EXPECT_EQ(run.audio.size(), 4u * 1470 * 2) << compression;
    }
}

TEST(MoviePlayer, HostileStreamsEndWithAnErrorOrSkippedFrames) {
    const auto good = Encode(Source(3, {Track(0, 1, 3 * 1470)}));
    std::vector<uint8_t> pastEnd = good;
    pastEnd[pastEnd.size() - 8 + 4] = 0xFF;  // the end chunk claims more than there is
    std::vector<uint8_t> unknown;
    AppendChunk(unknown, "TGVk", MovieWriter::EncodeKeyFrame(4, 4, Palette16(), std::vector<uint8_t>(16, 1).data()));
    AppendChunk(unknown, "XXXX", {1, 2, 3});
    std::vector<uint8_t> onlyOtherKinds;
    for (const char* tag : {"MUVf", "UV2f", "MADk", "MADm", "MADe", "pQGT"})
        AppendChunk(onlyOtherKinds, tag, std::vector<uint8_t>(40, 3));
    std::vector<uint8_t> tinySize = {'T', 'G', 'V', 'k', 4, 0, 0, 0};
    std::vector<uint8_t> oversize;
    AppendChunk(oversize, "TGVk", MovieWriter::EncodeKeyFrame(4, 4, Palette16(), std::vector<uint8_t>(16, 1).data()));
    AppendChunk(oversize, "TGVf", std::vector<uint8_t>(MovieStream::kVideoRingBytes + 16, 0));
    AppendChunk(oversize, "SCEl", {});
    std::vector<uint8_t> emptyAudio;
    AppendChunk(emptyAudio, "SCHl", MovieAudioEncoder(MovieAudioFormat{}).Header());
    AppendChunk(emptyAudio, "TGVk", MovieWriter::EncodeKeyFrame(4, 4, Palette16(), std::vector<uint8_t>(16, 1).data()));
    AppendChunk(emptyAudio, "SCDl", {});
    AppendChunk(emptyAudio, "SCDl", {0, 0, 0, 0});
    std::vector<uint8_t> badHeader;
    AppendChunk(badHeader, "SCHl", {'P', 'T', 0, 0, 0xFD, 0x84, 9});
    AppendChunk(badHeader, "TGVk", std::vector<uint8_t>(30, 0xFF));
    AppendChunk(badHeader, "SCDl", std::vector<uint8_t>(100, 0xFF));

    struct Case {
        const char* what;
        const std::vector<uint8_t>& bytes;
        bool opens;
        int32_t error;
        uint32_t shown;
        uint32_t skipped;
    } cases[] = {
        {"chunk past the end", pastEnd, true, kMovieErrorBadChunk, 3, 0},
        {"unknown tag", unknown, true, kMovieErrorUnknownChunk, 1, 0},
        {"only kinds without a decoder", onlyOtherKinds, true, kMovieErrorUnsupportedKind, 0, 6},
        {"size below the head", tinySize, false, kMovieErrorBadChunk, 0, 0},
        {"video payload larger than the ring", oversize, true, kMovieErrorNone, 1, 0},
        {"audio chunks of no samples", emptyAudio, true, kMovieErrorNone, 1, 0},
        {"damaged header and frame", badHeader, true, kMovieErrorBadFrame, 0, 1},
    };
    for (const Case& c : cases) {
        HeadlessRun run(c.bytes);
        EXPECT_EQ(run.opened != nullptr, c.opens) << c.what;
        EXPECT_EQ(run.request.error.load(), c.error) << c.what;
        EXPECT_EQ(run.request.framesShown.load(), c.shown) << c.what;
        EXPECT_EQ(run.request.framesSkipped.load(), c.skipped) << c.what;
        MovieClose(&run.request);
    }
    EXPECT_STREQ(MovieErrorText(kMovieErrorUnsupportedKind), "unsupported video kind");
    MovieRequest empty;
    EXPECT_FALSE(MovieOpenBytes({}, &empty));
    EXPECT_EQ(empty.error.load(), kMovieErrorNotAMovie);
}

}  // namespace

#include "platform/Presenter.h"
#include "sound/movie/MoviePlayer.h"
#include "platform/PngFile.h"
#include "ui/graphics/cGZScreenBuffer.h"

namespace {

TEST(MoviePlayer, GraphicSystemsPlayerDrawsDoubledIntoTheScreenBufferWithSound) {
    auto presenter = platform::HeadlessPresenter::Create(160, 120, platform::PixelLayout::Rgb565);
    cGZScreenBuffer screen;
    screen.SetPrimaryPresenter(presenter.get());
    ASSERT_TRUE(screen.InitScreen(160, 120, 1, 7, 16, nullptr, 1, 0, false));
    platform::AudioMixer mixer;
    platform::OfflineAudioSink sink(mixer, 10);
    const auto bytes = Encode(Source(6, {Track(10, 2, 6 * 1470)}));
    const std::string path = ::testing::TempDir() + "movie-player.mov";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    {
        MoviePlayer player(&screen, &mixer);
        cGZMovieParams params;
        params.width = 64;
        params.height = 48;
        params.doubleWidth = params.doubleHeight = true;
        params.sound = true;
        params.x = 16;
        params.y = 12;
        ASSERT_TRUE(player.OpenAndStart(path.c_str(), params));
        for (int i = 0; i < 3000 && !player.HasEnded(); ++i) {
            sink.Advance(10);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_TRUE(player.HasEnded());
        EXPECT_EQ(player.Request().framesShown.load() + player.Request().framesSkipped.load(), 6u);
        EXPECT_TRUE(player.Present());
        player.Stop();
    }
    // Frames late on the audio clock are dropped, so only the still parts of
    // the picture are certain: its corners, doubled, at the offsets.
    auto shown = presenter->Grab();
    ASSERT_TRUE(shown);
    const platform::Image image = platform::ImageFromSurface(*shown);
    const auto picture = Picture(64, 48, 0);
    const auto palette = Palette16();
    auto expectPixel = [&](int32_t x, int32_t y, int32_t index) {
        uint8_t r = 0, g = 0, b = 0;
        if (index >= 0)
            platform::UnpackRgb(platform::PixelLayout::Rgb565,
                                platform::PackRgb(platform::PixelLayout::Rgb565, palette[index][0], palette[index][1],
                                                  palette[index][2]),
                                r, g, b);
        const uint8_t* p = image.At(x, y);
        EXPECT_TRUE(p[0] == r && p[1] == g && p[2] == b) << x << "," << y;
    };
    expectPixel(16, 12, picture[0]);
    expectPixel(17, 13, picture[0]);
    expectPixel(143, 107, picture[47 * 64 + 63]);
    expectPixel(15, 12, -1);
    expectPixel(144, 107, -1);
    expectPixel(143, 108, -1);
    screen.Shutdown();
    std::remove(path.c_str());
}

}  // namespace
