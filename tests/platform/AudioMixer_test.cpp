#include "platform/AudioMixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

using platform::AudioMixer;
using platform::AudioVoice;
using platform::PcmFormat;

namespace {

// A 16-bit voice holding the given interleaved samples.
AudioVoice* MakeVoice(AudioMixer& mixer, uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples) {
    AudioVoice* voice = mixer.CreateVoice(PcmFormat::Make(channels, rate, 16), uint32_t(samples.size() * 2));
    void* p1;
    void* p2;
    uint32_t n1, n2;
    EXPECT_TRUE(voice->Lock(0, voice->Size(), &p1, &n1, &p2, &n2));
    std::memcpy(p1, samples.data(), n1);
    voice->Unlock(p1, n1, p2, n2);
    return voice;
}

std::vector<int16_t> Render(AudioMixer& mixer, size_t frames) {
    std::vector<int16_t> out(frames * mixer.GetOutputFormat().channels);
    mixer.Render(out.data(), frames);
    return out;
}

std::vector<int16_t> Ramp(size_t n, int start = -3000, int step = 7) {
    std::vector<int16_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = int16_t(start + int(i) * step);
    return v;
}

}  // namespace

TEST(AudioMixer, VoiceAtOutputRateFullVolumeCentreRendersItsSamplesUnchanged) {
    AudioMixer mixer;
    const std::vector<int16_t> mono = Ramp(500);
    MakeVoice(mixer, 1, 22050, mono)->Play(false);
    std::vector<int16_t> out = Render(mixer, 500);
    for (size_t i = 0; i < mono.size(); ++i) {
        ASSERT_EQ(out[2 * i], mono[i]) << i;
        ASSERT_EQ(out[2 * i + 1], mono[i]) << i;
    }

    AudioMixer stereoMixer;
    const std::vector<int16_t> stereo = Ramp(1000, 100, -13);
    MakeVoice(stereoMixer, 2, 22050, stereo)->Play(false);
    EXPECT_EQ(Render(stereoMixer, 500), stereo);
}

TEST(AudioMixer, EightBitSamplesAreCentredAndScaled) {
    AudioMixer mixer;
    AudioVoice* voice = mixer.CreateVoice(PcmFormat::Make(1, 22050, 8), 3);
    void* p;
    uint32_t n;
    ASSERT_TRUE(voice->Lock(0, 3, &p, &n, nullptr, nullptr));
    const uint8_t bytes[3] = {0x80, 0xFF, 0x00};
    std::memcpy(p, bytes, 3);
    voice->Play(false);
    std::vector<int16_t> out = Render(mixer, 3);
    EXPECT_EQ(out, (std::vector<int16_t>{0, 0, 127 * 256, 127 * 256, -32768, -32768}));
}

TEST(AudioMixer, VolumeAttenuatesByHundredthsOfADecibel) {
    struct Case {
        int32_t level;
        double gain;
    };
    for (const Case& c : {Case{0, 1.0}, Case{-600, 0.501187}, Case{-2000, 0.1}, Case{-4000, 0.01}, Case{-10000, 0.0}}) {
        AudioMixer mixer;
        AudioVoice* voice = MakeVoice(mixer, 1, 22050, std::vector<int16_t>(8, 20000));
        ASSERT_TRUE(voice->SetVolume(c.level));
        EXPECT_EQ(voice->GetVolume(), c.level);
        voice->Play(false);
        std::vector<int16_t> out = Render(mixer, 8);
        EXPECT_NEAR(out[6], 20000 * c.gain, 1.0) << c.level;
        EXPECT_EQ(out[6], out[7]);
    }
    AudioMixer mixer;
    AudioVoice* voice = MakeVoice(mixer, 1, 22050, {1});
    EXPECT_FALSE(voice->SetVolume(1));
    EXPECT_FALSE(voice->SetVolume(-10001));
}

TEST(AudioMixer, PanAttenuatesTheOppositeSide) {
    struct Case {
        int32_t pan;
        double left;
        double right;
    };
    for (const Case& c : {Case{0, 1, 1}, Case{10000, 0, 1}, Case{-10000, 1, 0}, Case{2000, 0.1, 1}, Case{-600, 1, 0.501187}}) {
        AudioMixer mixer;
        AudioVoice* voice = MakeVoice(mixer, 1, 22050, std::vector<int16_t>(4, 10000));
        ASSERT_TRUE(voice->SetPan(c.pan));
        voice->Play(false);
        std::vector<int16_t> out = Render(mixer, 4);
        EXPECT_NEAR(out[0], 10000 * c.left, 1.0) << c.pan;
        EXPECT_NEAR(out[1], 10000 * c.right, 1.0) << c.pan;
    }
}

TEST(AudioMixer, FrequencyResamplesToTheOutputRate) {
    // Frames a one-shot voice of 100 frames lasts at the given frequency.
    struct Case {
        uint32_t hz;
        size_t frames;
    };
    for (const Case& c : {Case{22050, 100}, Case{11025, 200}, Case{44100, 50}}) {
        AudioMixer mixer;
        AudioVoice* voice = MakeVoice(mixer, 1, 22050, std::vector<int16_t>(100, 1000));
        ASSERT_TRUE(voice->SetFrequency(c.hz));
        voice->Play(false);
        std::vector<int16_t> out = Render(mixer, 400);
        size_t sounding = 0;
        while (sounding < 400 && out[2 * sounding] != 0) ++sounding;
        EXPECT_EQ(sounding, c.frames) << c.hz;
        EXPECT_EQ(voice->GetStatus(), 0u);
    }
    AudioMixer mixer;
    AudioVoice* voice = MakeVoice(mixer, 1, 22050, {1});
    EXPECT_FALSE(voice->SetFrequency(99));
    EXPECT_FALSE(voice->SetFrequency(100001));
    EXPECT_TRUE(voice->SetFrequency(100));
}

TEST(AudioMixer, HalfRateVoiceInterpolatesBetweenFrames) {
    AudioMixer mixer;
    AudioVoice* voice = mixer.CreateVoice(PcmFormat::Make(1, 11025, 16), 4);
    void* p;
    uint32_t n;
    voice->Lock(0, 4, &p, &n, nullptr, nullptr);
    const int16_t samples[2] = {0, 1000};
    std::memcpy(p, samples, 4);
    voice->Play(false);
    std::vector<int16_t> out = Render(mixer, 4);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 500);
    EXPECT_EQ(out[4], 1000);
    EXPECT_EQ(out[6], 1000);  // the last frame is held, not blended with the first
}

TEST(AudioMixer, LockAcrossTheRingEndGivesTwoRegions) {
    AudioMixer mixer;
    AudioVoice* voice = mixer.CreateVoice(PcmFormat::Make(1, 22050, 16), 100);
    void* p1;
    void* p2;
    uint32_t n1, n2;
    ASSERT_TRUE(voice->Lock(90, 30, &p1, &n1, &p2, &n2));
    EXPECT_EQ(n1, 10u);
    EXPECT_EQ(n2, 20u);
    EXPECT_EQ(static_cast<uint8_t*>(p1) - static_cast<uint8_t*>(p2), 90);
    ASSERT_TRUE(voice->Lock(0, 100, &p1, &n1, &p2, &n2));
    EXPECT_EQ(n1, 100u);
    EXPECT_EQ(p2, nullptr);
    EXPECT_EQ(n2, 0u);
    EXPECT_FALSE(voice->Lock(100, 1, &p1, &n1, &p2, &n2));
    EXPECT_FALSE(voice->Lock(0, 101, &p1, &n1, &p2, &n2));
}

TEST(AudioMixer, CursorWrapsOnALoopAndRewindsAtTheEndOfAOneShot) {
    AudioMixer mixer;
    const std::vector<int16_t> samples = Ramp(10, 100, 100);
    AudioVoice* voice = MakeVoice(mixer, 1, 22050, samples);
    voice->Play(true);
    EXPECT_EQ(voice->GetStatus(), platform::kAudioPlaying | platform::kAudioLooping);
    std::vector<int16_t> out = Render(mixer, 25);
    for (size_t i = 0; i < 25; ++i) ASSERT_EQ(out[2 * i], samples[i % 10]) << i;
    EXPECT_EQ(voice->GetPosition(), 10u);  // frame 5, 2 bytes a frame

    voice->Play(false);
    Render(mixer, 5);
    EXPECT_EQ(voice->GetStatus(), 0u);
    EXPECT_EQ(voice->GetPosition(), 0u);
    EXPECT_TRUE(voice->SetPosition(8));
    EXPECT_EQ(voice->GetPosition(), 8u);
    EXPECT_FALSE(voice->SetPosition(21));
}

TEST(AudioMixer, DuplicateSharesSamplesAndPlaysOnItsOwn) {
    AudioMixer mixer;
    AudioVoice* original = MakeVoice(mixer, 1, 22050, std::vector<int16_t>(20, 1000));
    AudioVoice* copy = mixer.Duplicate(original);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(mixer.VoiceCount(), 2u);
    original->Play(false);
    Render(mixer, 10);
    copy->Play(false);
    EXPECT_EQ(copy->GetPosition(), 0u);
    std::vector<int16_t> out = Render(mixer, 10);
    EXPECT_EQ(out[0], 2000);  // both sound
    out = Render(mixer, 5);
    EXPECT_EQ(original->GetStatus(), 0u);
    EXPECT_NE(copy->GetStatus(), 0u);
    EXPECT_EQ(out[0], 1000);

    // A write through the original is heard in the copy.
    void* p;
    uint32_t n;
    original->Lock(0, 40, &p, &n, nullptr, nullptr);
    std::vector<int16_t> fresh(20, -500);
    std::memcpy(p, fresh.data(), 40);
    copy->SetPosition(0);
    out = Render(mixer, 1);
    EXPECT_EQ(out[0], -500);
    mixer.ReleaseVoice(original);
    EXPECT_EQ(Render(mixer, 1)[0], -500);  // the copy keeps the samples alive
}

TEST(AudioMixer, VoicesSumAndClipAndMasterVolumeScales) {
    AudioMixer mixer;
    MakeVoice(mixer, 1, 22050, std::vector<int16_t>(4, 30000))->Play(false);
    MakeVoice(mixer, 1, 22050, std::vector<int16_t>(4, 30000))->Play(false);
    EXPECT_EQ(Render(mixer, 1)[0], 32767);
    ASSERT_TRUE(mixer.SetMasterVolume(-2000));
    EXPECT_EQ(Render(mixer, 1)[0], 6000);
}

TEST(AudioMixer, RefusesFormatsItCannotPlay) {
    AudioMixer mixer;
    EXPECT_EQ(mixer.CreateVoice(PcmFormat::Make(3, 22050, 16), 60), nullptr);
    EXPECT_EQ(mixer.CreateVoice(PcmFormat::Make(1, 22050, 24), 60), nullptr);
    EXPECT_EQ(mixer.CreateVoice(PcmFormat::Make(1, 50, 16), 60), nullptr);
    EXPECT_EQ(mixer.CreateVoice(PcmFormat::Make(2, 22050, 16), 3), nullptr);
    EXPECT_FALSE(mixer.SetOutputFormat(PcmFormat::Make(2, 22050, 8)));
    EXPECT_TRUE(mixer.SetOutputFormat(PcmFormat::Make(1, 44100, 16)));
    EXPECT_EQ(mixer.GetOutputFormat().blockAlign, 2);
}
