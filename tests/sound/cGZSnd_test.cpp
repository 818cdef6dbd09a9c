#include "sound/cGZSnd.h"

#include <gtest/gtest.h>

#include "sound/SoundFixture.h"
#include "sound/XAEncoder.h"

using platform::PcmFormat;
using sound_test::SoundRef;
using sound_test::SoundTest;
using sound_test::Tone;

namespace {

int gCompletions = 0;
uint32_t gCompletionData = 0;
void OnComplete(uint32_t data) {
    ++gCompletions;
    gCompletionData = data;
}

}  // namespace

class cGZSndTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        gCompletions = 0;
        gCompletionData = 0;
    }
    cGZSnd* Loaded(const std::string& path) {
        cGZSnd* sound = static_cast<cGZSnd*>(service->CreateSound(path.c_str(), 0));
        EXPECT_TRUE(sound->Load());
        return sound;
    }
};

TEST_F(cGZSndTest, VolumeFoldsTheMasterInAndMapsToHundredthsOfADecibel) {
    SoundRef sound(Loaded(WriteWav("v.wav", PcmFormat::Make(1, 22050, 16), Tone(100, 1, 22050))));
    struct Case {
        int32_t master;
        int32_t volume;
        int32_t stored;
        int32_t device;
    };
    for (const Case& c : {Case{1024, 2000, 1024, 0}, Case{1024, 0, 0, -10000}, Case{512, 1024, 1024, -2000},
                          Case{1024, 512, 512, -2000}, Case{1024, 1, 1, -3997}}) {
        service->SetMasterVolume(c.master);
        EXPECT_TRUE(sound->SetVolume(c.volume));
        EXPECT_EQ(sound->GetVolume(), c.stored);
        EXPECT_EQ(sound->GetVoice(0)->GetVolume(), c.device) << c.master << " " << c.volume;
    }
}

TEST_F(cGZSndTest, PanAndFrequencyTables) {
    SoundRef sound(Loaded(WriteWav("p.wav", PcmFormat::Make(1, 22050, 16), Tone(100, 1, 22050))));
    for (auto [pan, device] : {std::pair{0, -10000}, {512, 0}, {1024, 10000}, {-5, -10000}, {2000, 10000}}) {
        EXPECT_TRUE(sound->SetPan(pan));
        EXPECT_EQ(sound->GetVoice(0)->GetPan(), device) << pan;
    }
    sound->SetPan(256);
    EXPECT_EQ(sound->GetPan(), 256);
    for (auto [hz, device] : {std::pair{50u, 100u}, {11025u, 11025u}, {200000u, 100000u}}) {
        EXPECT_TRUE(sound->SetFrequency(hz));
        EXPECT_EQ(sound->GetFrequency(), device) << hz;
    }
    EXPECT_EQ(sound->GetFileRate(), 22050u);
}

TEST_F(cGZSndTest, LoadTypeTwoStreamsFilesFromTheThresholdOn) {
    // 44-byte head: data of 262100 bytes makes a file of exactly 262144.
    const std::string exact = WriteWavBytes("exact.wav", PcmFormat::Make(1, 22050, 16), std::vector<uint8_t>(262100));
    std::vector<uint8_t> image = platform::EncodeWav(PcmFormat::Make(1, 22050, 16), nullptr, 0);
    image.resize(262143);
    const std::string below = (dir / "below.wav").string();
    sound_test::WriteFile(below, image);
    SoundRef a(service->CreateSound(exact.c_str(), 2));
    SoundRef b(service->CreateSound(below.c_str(), 2));
    SoundRef c(service->CreateSound(below.c_str(), 1));
    EXPECT_TRUE(a->IsStreamed());
    EXPECT_FALSE(b->IsStreamed());
    EXPECT_TRUE(c->IsStreamed());
    EXPECT_EQ(a->GetLargeFileThreshold(), 262144u);
}

TEST_F(cGZSndTest, StreamGeometryOfA22kMonoFile) {
    const std::string path = WriteWav("m.wav", PcmFormat::Make(1, 22050, 16), Tone(22050, 1, 22050));
    SoundRef sound(service->CreateSound(path.c_str(), 1));
    ASSERT_TRUE(sound->Load());
    EXPECT_EQ(sound->GetSegmentSize(), 11024u);
    EXPECT_EQ(sound->GetRingSize(), 66144u);
    EXPECT_EQ(sound->GetLoadState(), 1);
    sound->SetRingFactor(9);
    sound->Unload();
    ASSERT_TRUE(sound->Load());
    EXPECT_EQ(sound->GetRingSize(), 66144u * 6);
}

TEST_F(cGZSndTest, AsyncFadeStepsTenTimesAndEndsOnTheTarget) {
    SoundRef sound(Loaded(WriteWav("f.wav", PcmFormat::Make(1, 22050, 16), Tone(100, 1, 22050))));
    ASSERT_TRUE(sound->Fade(0, 1000, 1000, true, false));
    EXPECT_EQ(sound->GetVolume(), 0);
    EXPECT_FALSE(sound->Fade(0, 10, 100, true, false));  // one fade at a time
    for (int tick = 1; tick <= 9; ++tick) {
        callbacks.Advance(100);
        EXPECT_EQ(sound->GetVolume(), 100 * tick) << tick;
    }
    callbacks.Advance(100);
    EXPECT_EQ(sound->GetVolume(), 1000);
    EXPECT_EQ(callbacks.GetEntryCount(), 0u);

    // A step of 0 still ends, on its tenth tick, at the target.
    ASSERT_TRUE(sound->Fade(500, 505, 100, true, false));
    callbacks.Advance(90);
    EXPECT_EQ(sound->GetVolume(), 500);
    callbacks.Advance(10);
    EXPECT_EQ(sound->GetVolume(), 505);
    EXPECT_TRUE(sound->Fade(505, 0, 100, true, false));  // a new fade may start
}

TEST_F(cGZSndTest, FadeThatStopsTheSoundHoldsItAliveUntilTheEnd) {
    cGZSnd* sound = Loaded(WriteWav("fs.wav", PcmFormat::Make(1, 22050, 16), Tone(22050, 1, 22050)));
    const size_t live = cGZSnd::LiveCount();
    ASSERT_TRUE(sound->Play(1024, true, 1));
    ASSERT_TRUE(sound->Fade(1024, 0, 200, true, true));
    sound->Release();  // the caller lets go; the fade keeps it
    EXPECT_EQ(cGZSnd::LiveCount(), live);
    sink.Advance(100);
    EXPECT_EQ(cGZSnd::LiveCount(), live);
    sink.Advance(100);
    EXPECT_EQ(cGZSnd::LiveCount(), live - 1);
}

TEST_F(cGZSndTest, PlayModes) {
    SoundRef sound(Loaded(WriteWav("pm.wav", PcmFormat::Make(1, 22050, 16), Tone(22050, 1, 22050))));
    ASSERT_TRUE(sound->Play(1024, false, 1));
    sink.Advance(100);
    const uint32_t position = sound->GetPosition();
    EXPECT_GT(position, 0u);
    // Mode 2 on a playing sound changes nothing.
    EXPECT_TRUE(sound->Play(1024, false, 2));
    EXPECT_EQ(sound->GetPosition(), position);
    EXPECT_EQ(sound->GetBufferCount(), 1);
    // Mode 3 plays an idle copy beside it.
    EXPECT_TRUE(sound->Play(1024, false, 3));
    EXPECT_EQ(sound->GetBufferCount(), 2);
    EXPECT_EQ(sound->GetVoice(1)->GetPosition(), 0u);
    EXPECT_NE(sound->GetVoice(1)->GetStatus(), 0u);
    // Mode 1 rewinds.
    EXPECT_TRUE(sound->Play(1024, false, 1));
    EXPECT_EQ(sound->GetPosition(), 0u);
    // Eight copies at most.
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(sound->Play(1024, false, 3));
    EXPECT_EQ(sound->GetBufferCount(), 8);
    EXPECT_FALSE(sound->Play(1024, false, 3));
}

TEST_F(cGZSndTest, StaticCompletionFiresOnceAtTheEnd) {
    SoundRef sound(Loaded(WriteWav("c.wav", PcmFormat::Make(1, 22050, 16), Tone(2205, 1, 22050))));  // 100 ms
    sound->SetCompletionCallback(&OnComplete, 77);
    EXPECT_EQ(sound->GetRemainingTime(), 100);
    ASSERT_TRUE(sound->Play(1024, false, 1));
    sink.Advance(50);
    EXPECT_EQ(sound->GetRemainingTime(), 50);
    EXPECT_EQ(gCompletions, 0);
    sink.Advance(200);
    EXPECT_EQ(gCompletions, 1);
    EXPECT_EQ(gCompletionData, 77u);
    sink.Advance(500);
    EXPECT_EQ(gCompletions, 1);
    sound->Play(1024, true, 1);
    EXPECT_EQ(sound->GetRemainingTime(), -1);
}

TEST_F(cGZSndTest, RemainingTimeOfALargeBufferDoesNotOverflow) {
    // 10 MB of 8-bit mono at 22050 Hz: 475 s.
    SoundRef sound(Loaded(WriteWavBytes("big.wav", PcmFormat::Make(1, 22050, 8), std::vector<uint8_t>(10473750, 0x80))));
    EXPECT_EQ(sound->GetRemainingTime(), 475000);
}

TEST_F(cGZSndTest, StreamedToneRendersLikeTheSameFileLoadedWhole) {
    const uint32_t frames = 22050 * 2 + 333;  // not a whole number of segments
    const std::string path = WriteWav("s.wav", PcmFormat::Make(2, 22050, 16), Tone(frames, 2, 22050));
    std::vector<int16_t> streamed, whole;
    {
        SoundRef sound(service->CreateSound(path.c_str(), 1));
        sound->SetCompletionCallback(&OnComplete, 1);
        ASSERT_TRUE(sound->Play(1024, false, 1));
        sink.Advance(3000);
        EXPECT_FALSE(sound->IsPlaying());
        EXPECT_EQ(gCompletions, 1);
        streamed = sink.Captured();
    }
    sink.ClearCaptured();
    {
        SoundRef sound(service->CreateSound(path.c_str(), 0));
        ASSERT_TRUE(sound->Play(1024, false, 1));
        sink.Advance(3000);
        whole = sink.Captured();
    }
    ASSERT_EQ(streamed.size(), whole.size());
    EXPECT_TRUE(streamed == whole);
    EXPECT_NE(whole[2 * 1000], 0);
    EXPECT_EQ(gCompletions, 1);
}

TEST_F(cGZSndTest, LoopingStreamWrapsWithoutAGap) {
    const uint32_t frames = 22050 / 2 + 17;  // half a second: shorter than the ring
    const std::vector<int16_t> tone = Tone(frames, 1, 22050, 300);
    const std::string path = WriteWav("l.wav", PcmFormat::Make(1, 22050, 16), tone);
    SoundRef sound(service->CreateSound(path.c_str(), 1));
    sound->SetCompletionCallback(&OnComplete, 1);
    ASSERT_TRUE(sound->Play(1024, true, 1));
    sink.Advance(4000);
    EXPECT_TRUE(sound->IsPlaying());
    const std::vector<int16_t> left = Left();
    ASSERT_GE(left.size(), 88000u);
    for (size_t i = 0; i < 88000; ++i) ASSERT_EQ(left[i], tone[i % frames]) << i;
    sound->Stop();
    EXPECT_FALSE(sound->IsPlaying());
    EXPECT_EQ(gCompletions, 1);
}

TEST_F(cGZSndTest, ShortNonLoopingStreamPlaysOnce) {
    const std::vector<int16_t> tone = Tone(2000, 1, 22050);
    const std::string path = WriteWav("short.wav", PcmFormat::Make(1, 22050, 16), tone);
    SoundRef sound(service->CreateSound(path.c_str(), 1));
    ASSERT_TRUE(sound->Play(1024, false, 1));
    EXPECT_EQ(sound->GetVoice(0)->GetStatus(), platform::kAudioPlaying);  // the ring does not loop
    sink.Advance(5000);
    EXPECT_FALSE(sound->IsPlaying());
    const std::vector<int16_t> left = Left();
    for (size_t i = 0; i < tone.size(); ++i) ASSERT_EQ(left[i], tone[i]) << i;
    for (size_t i = tone.size(); i < left.size(); ++i) ASSERT_EQ(left[i], 0) << i;
}

TEST_F(cGZSndTest, XaStreamsAndLoadsAlike) {
    const std::vector<int16_t> tone = Tone(30000, 2, 22050);
    const std::string path = (dir / "n.xa").string();
    sound_test::WriteFile(path, EncodeXA(tone.data(), 30000, 2, 22050));
    std::vector<int16_t> streamed;
    {
        SoundRef sound(service->CreateSound(path.c_str(), 1));
        ASSERT_TRUE(sound->Play(1024, false, 1));
        EXPECT_EQ(sound->GetSegmentSize() % 4, 0u);
        sink.Advance(2000);
        streamed = sink.Captured();
    }
    sink.ClearCaptured();
    SoundRef sound(service->CreateSound(path.c_str(), 0));
    ASSERT_TRUE(sound->Play(1024, false, 1));
    sink.Advance(2000);
    EXPECT_TRUE(sink.Captured() == streamed);
}

TEST_F(cGZSndTest, DataSizeBeyondTheFileLoadsWhatExists) {
    std::vector<uint8_t> image = platform::EncodeWav(PcmFormat::Make(1, 22050, 8), nullptr, 0);
    image[40] = 100;  // claims 100 bytes, has 3
    image.insert(image.end(), {0x90, 0xA0, 0xB0});
    sound_test::WriteFile(dir / "t.wav", image);
    SoundRef sound(Loaded((dir / "t.wav").string()));
    EXPECT_EQ(sound->GetVoice(0)->Size(), 3u);
}

TEST_F(cGZSndTest, IdsComeFromACounter) {
    SoundRef a(service->CreateSound());
    SoundRef b(service->CreateSound());
    EXPECT_NE(a->GetId(), 0u);
    EXPECT_EQ(b->GetId(), a->GetId() + 1);
    EXPECT_EQ(a->GetPlayState(), 0);
    a->SetId(0);
    EXPECT_EQ(a->GetPlayState(), 5);
}

TEST_F(cGZSndTest, MissingFileFailsToPlay) {
    SoundRef sound(service->CreateSound((dir / "none.wav").c_str(), 0));
    EXPECT_FALSE(sound->Play(1024, false, 1));
    EXPECT_FALSE(sound->HasBuffer());
}

TEST(cGZSndUninitialised, EveryOperationSucceedsSilently) {
    cGZSndOutput output;
    output.openDevice = false;
    cGZSndSys service(output);
    service.SetSoundEnabled(false);
    ASSERT_TRUE(service.Init());
    EXPECT_FALSE(service.IsInitialised());
    SoundRef sound(service.CreateSound("nowhere/none.wav", 0));
    EXPECT_TRUE(sound->Play(1024, true, 1));
    EXPECT_TRUE(sound->Stop());
    EXPECT_TRUE(sound->StopAll());
    EXPECT_TRUE(sound->SetVolume(10));
    EXPECT_TRUE(sound->SetPan(10));
    EXPECT_TRUE(sound->SetFrequency(10));
    EXPECT_TRUE(sound->SetPosition(10));
    EXPECT_TRUE(sound->Fade(0, 100, 100, true, true));
    EXPECT_FALSE(sound->IsPlaying());
    EXPECT_EQ(service.Mixer().VoiceCount(), 0u);
}
