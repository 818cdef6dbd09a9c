#include "platform/MediaPlayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/AudioMixer.h"
#include "platform/Mp3Encoder.h"
#include "platform/OfflineAudioSink.h"
#include "platform/PeriodicTimer.h"

using platform::MediaEvent;
using platform::MediaPlayer;
using platform::MediaState;
using platform::PcmFormat;

namespace {

std::vector<uint8_t> MediaPlayerPcm(uint32_t frames, uint16_t channels) {
    std::vector<uint8_t> out(size_t(frames) * channels * 2);
    for (uint32_t i = 0; i < frames; ++i)
        for (uint16_t c = 0; c < channels; ++c) {
            const auto v = int16_t(std::lround(9000.0 * std::sin(0.05 * (c + 1) * i)));
            std::memcpy(&out[(size_t(i) * channels + c) * 2], &v, 2);
        }
    return out;
}

class MediaPlayerTest : public ::testing::Test {
protected:
    MediaPlayerTest() : sink(mixer, 10) {
        sink.AttachClock([this](uint32_t ms) { timers.Advance(ms); });
        player.SetEventHandler([this](MediaEvent e) { events.push_back(e); });
    }
    platform::PeriodicTimer timers{platform::PeriodicTimer::Mode::Manual};
    platform::AudioMixer mixer;
    platform::OfflineAudioSink sink;
    MediaPlayer player{mixer, timers};
    std::vector<MediaEvent> events;
};

}  // namespace

TEST_F(MediaPlayerTest, WavePlaysThroughTheRingSampleForSampleAndCompletesOnce) {
    // Longer than the ring: the refills must carry it on seamlessly.
    const uint32_t frames = 22050 * 5 / 2;
    const std::vector<uint8_t> pcm = MediaPlayerPcm(frames, 2);
    std::string error;
    ASSERT_TRUE(player.OpenMemory(platform::EncodeWav(PcmFormat::Make(2, 22050, 16), pcm.data(), pcm.size()), error))
        << error;
    EXPECT_EQ(player.LengthMs(), 2500u);
    ASSERT_TRUE(player.Run());
    EXPECT_EQ(player.GetState(), MediaState::Running);
    for (int i = 0; i < 400 && events.empty(); ++i) sink.Advance(10);
    ASSERT_EQ(events, std::vector<MediaEvent>{MediaEvent::Complete});
    EXPECT_EQ(player.GetState(), MediaState::Stopped);
    const auto& mix = sink.Captured();
    ASSERT_GE(mix.size() * 2, pcm.size());
    EXPECT_EQ(std::memcmp(mix.data(), pcm.data(), pcm.size()), 0);
    // Nothing after the end: silence, and no second event.
    for (size_t i = pcm.size() / 2; i < mix.size(); ++i) ASSERT_EQ(mix[i], 0) << i;
    sink.Advance(500);
    EXPECT_EQ(events.size(), 1u);
    EXPECT_EQ(timers.Count(), 0u);
}

TEST_F(MediaPlayerTest, PauseHoldsThePlaceStopRewindsAndRunStartsAgain) {
    const std::vector<uint8_t> pcm = MediaPlayerPcm(22050, 1);
    std::string error;
    ASSERT_TRUE(player.OpenMemory(platform::EncodeWav(PcmFormat::Make(1, 22050, 16), pcm.data(), pcm.size()), error));
    ASSERT_TRUE(player.Run());
    sink.Advance(200);
    ASSERT_TRUE(player.Pause());
    EXPECT_EQ(player.GetState(), MediaState::Paused);
    const uint32_t held = player.Voice()->GetPosition();
    EXPECT_GT(held, 0u);
    sink.Advance(300);
    EXPECT_EQ(player.Voice()->GetPosition(), held);
    ASSERT_TRUE(player.Run());
    sink.Advance(100);
    EXPECT_GT(player.Voice()->GetPosition(), held);
    ASSERT_TRUE(player.Stop());
    EXPECT_EQ(player.GetState(), MediaState::Stopped);
    EXPECT_EQ(player.Voice()->GetPosition(), 0u);
    sink.Advance(2000);
    EXPECT_TRUE(events.empty());  // a stop is not a completion
    ASSERT_TRUE(player.Run());
    for (int i = 0; i < 200 && events.empty(); ++i) sink.Advance(10);
    EXPECT_EQ(events, std::vector<MediaEvent>{MediaEvent::Complete});
}

TEST_F(MediaPlayerTest, Mp3CompletesAfterItsLengthAndVolumeAndBalanceClamp) {
    const std::vector<uint8_t> pcm = MediaPlayerPcm(11025, 2);
    std::vector<uint8_t> mp3;
    std::string error;
    ASSERT_TRUE(platform::Mp3Encoder::Encode(PcmFormat::Make(2, 22050, 16), pcm.data(), pcm.size(), 64, mp3, error));
    ASSERT_TRUE(player.OpenMemory(mp3, error)) << error;
    EXPECT_EQ(player.Format().samplesPerSec, 22050u);
    EXPECT_EQ(player.LengthMs(), 500u);
    EXPECT_TRUE(player.SetVolume(-20000));
    EXPECT_EQ(player.GetVolume(), -10000);
    EXPECT_EQ(player.Voice()->GetVolume(), -10000);
    EXPECT_TRUE(player.SetBalance(12000));
    EXPECT_EQ(player.GetBalance(), 10000);
    ASSERT_TRUE(player.Run());
    sink.Advance(400);
    EXPECT_TRUE(events.empty());
    sink.Advance(300);
    EXPECT_EQ(events, std::vector<MediaEvent>{MediaEvent::Complete});
}

TEST_F(MediaPlayerTest, NothingPlaysWithoutAnOpenFile) {
    std::string error;
    EXPECT_FALSE(player.Open("/nonexistent/a.mp3", error));
    EXPECT_FALSE(player.OpenMemory(std::vector<uint8_t>(5000, 0x55), error));
    EXPECT_FALSE(player.OpenMemory({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, error));
    EXPECT_FALSE(player.IsOpen());
    EXPECT_FALSE(player.Run());
    EXPECT_FALSE(player.Pause());
    EXPECT_FALSE(player.Stop());
    EXPECT_EQ(player.Voice(), nullptr);
    EXPECT_EQ(mixer.VoiceCount(), 0u);
}
