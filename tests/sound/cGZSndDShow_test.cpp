#include "sound/cGZSndDShow.h"

#include "SoundFixture.h"
#include "platform/MediaPlayer.h"
#include "platform/Mp3Encoder.h"

using namespace sound_test;

namespace {

class MediaSoundTest : public SoundTest {
protected:
    cGZSndDShow* Media(const std::string& file) {
        return static_cast<cGZSndDShow*>(service->CreateMediaSound(file.c_str(), 0));
    }
    std::string WriteMp3(const std::string& name, uint32_t frames) {
        const platform::PcmFormat format = platform::PcmFormat::Make(2, 22050, 16);
        const std::vector<uint8_t> pcm = Bytes(Tone(frames, 2, 22050));
        std::vector<uint8_t> mp3;
        std::string error;
        EXPECT_TRUE(platform::Mp3Encoder::Encode(format, pcm.data(), pcm.size(), 64, mp3, error)) << error;
        WriteFile(dir / name, mp3);
        return (dir / name).string();
    }
    void RunUntil(const std::function<bool()>& done, uint32_t limitMs = 5000) {
        for (uint32_t t = 0; t < limitMs && !done(); t += 10) sink.Advance(10);
    }
};

}  // namespace

TEST_F(MediaSoundTest, VolumeAndPanGoToThePlayerInHundredthsOfADecibel) {
    cGZSndDShow* sound = Media(WriteMp3("a.mp3", 4410));
    ASSERT_TRUE(sound->IsReady());
    EXPECT_TRUE(sound->SetPan(-5));
    EXPECT_EQ(sound->Player()->GetBalance(), -10000);
    EXPECT_EQ(sound->GetStoredPan(), 0);
    EXPECT_EQ(sound->GetPan(), 512);
    EXPECT_TRUE(sound->SetPan(1024));
    EXPECT_EQ(sound->Player()->GetBalance(), 10000);
    EXPECT_TRUE(sound->SetVolume(0));
    EXPECT_EQ(sound->Player()->GetVolume(), -10000);
    EXPECT_TRUE(sound->SetVolume(512));
    EXPECT_EQ(sound->Player()->GetVolume(), -2000);
    EXPECT_TRUE(sound->SetVolume(5000));  // stored as given
    EXPECT_EQ(sound->GetVolume(), 5000);
    EXPECT_EQ(sound->Player()->GetVolume(), 0);
    sound->Release();
}

TEST_F(MediaSoundTest, EveryOperationAfterAFailedOpenIsFalse) {
    std::ofstream(dir / "junk.mp3") << std::string(4000, 'j');
    for (const std::string& name : {(dir / "junk.mp3").string(), (dir / "missing.mp3").string(),
                                    (dir / std::string(261, 'n')).string(), std::string()}) {
        cGZSndDShow* sound = Media(name);
        EXPECT_FALSE(sound->IsReady());
        EXPECT_FALSE(sound->Play(1024, false, 1));
        EXPECT_FALSE(sound->IsPlaying());
        EXPECT_FALSE(sound->Stop());
        EXPECT_FALSE(sound->Pause());
        EXPECT_FALSE(sound->Resume());
        EXPECT_FALSE(sound->HasBuffer());
        EXPECT_FALSE(sound->Load());
        EXPECT_FALSE(sound->Unload());
        EXPECT_FALSE(sound->SetVolume(100));
        EXPECT_FALSE(sound->SetPan(100));
        EXPECT_FALSE(sound->Fade(0, 1024, 100, true, false));
        EXPECT_EQ(sound->GetVolume(), 0);
        EXPECT_FALSE(sound->Close());
        EXPECT_TRUE(sound->ReleaseEvents());
        EXPECT_EQ(cGZSndDShow::PlayingCount(), 0u);
        sound->Release();
    }
    EXPECT_EQ(mixer.VoiceCount(), 0u);
}

TEST_F(MediaSoundTest, TheFinishedSoundStopsAndLeavesTheListNotTheFirstStarted) {
    cGZSndDShow* longer = Media(WriteMp3("long.mp3", 22050 * 2));
    cGZSndDShow* shorter = Media(WriteMp3("short.mp3", 22050 / 4));
    ASSERT_TRUE(longer->Play(1024, false, 1));
    ASSERT_TRUE(shorter->Play(1024, false, 1));
    EXPECT_EQ(cGZSndDShow::PlayingCount(), 2u);
    RunUntil([&] { return shorter->GetLastEvent() != 0; });
    EXPECT_EQ(shorter->GetLastEvent(), 1);
    EXPECT_FALSE(shorter->IsPlaying());
    EXPECT_FALSE(cGZSndDShow::IsInPlayingList(shorter));
    EXPECT_TRUE(longer->IsPlaying());
    EXPECT_TRUE(cGZSndDShow::IsInPlayingList(longer));
    EXPECT_EQ(longer->GetLastEvent(), 0);

    // Asked for by name, the first of the list stops.
    ASSERT_TRUE(shorter->Play(1024, false, 1));
    service->StopFirstMediaSound();
    EXPECT_FALSE(longer->IsPlaying());
    EXPECT_TRUE(shorter->IsPlaying());
    EXPECT_EQ(cGZSndDShow::PlayingCount(), 1u);
    shorter->Release();
    EXPECT_EQ(cGZSndDShow::PlayingCount(), 0u);
    longer->Release();
}

TEST_F(MediaSoundTest, PauseResumeStopAndFade) {
    cGZSndDShow* sound = Media(WriteMp3("a.mp3", 22050));
    ASSERT_TRUE(sound->Play(1024, false, 1));
    sink.Advance(200);
    ASSERT_TRUE(sound->Pause());
    EXPECT_TRUE(sound->IsPlaying());  // paused still counts
    EXPECT_EQ(sound->Player()->GetState(), platform::MediaState::Paused);
    ASSERT_TRUE(sound->Resume());
    EXPECT_EQ(sound->Player()->GetState(), platform::MediaState::Running);
    ASSERT_TRUE(sound->Stop());
    EXPECT_FALSE(sound->IsPlaying());
    EXPECT_EQ(cGZSndDShow::PlayingCount(), 0u);
    ASSERT_TRUE(sound->Play(1024, false, 1));
    EXPECT_TRUE(sound->Fade(1024, 0, 1000, true, false));
    EXPECT_FALSE(sound->IsPlaying());
    sink.Advance(2000);
    EXPECT_EQ(sound->GetLastEvent(), 0);  // stopped, never completed
    sound->Release();
}

TEST_F(MediaSoundTest, AWaveThroughTheMediaPathRendersLikeThePlainSound) {
    const std::string file = WriteWav("w.wav", platform::PcmFormat::Make(2, 22050, 16), Tone(22050, 2, 22050));
    SoundRef plain(service->CreateSound(file.c_str(), 0));
    ASSERT_TRUE(plain->Play(1024, false, 1));
    sink.Advance(1200);
    // The sound's own samples, both channels.
    const std::vector<int16_t> expected(sink.Captured().begin(), sink.Captured().begin() + 22050 * 2);
    plain->Stop();
    sink.ClearCaptured();

    cGZSndDShow* media = Media(file);
    ASSERT_TRUE(media->Play(1024, false, 1));
    RunUntil([&] { return media->GetLastEvent() != 0; });
    EXPECT_EQ(media->GetLastEvent(), 1);
    const std::vector<int16_t>& got = sink.Captured();
    ASSERT_GE(got.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(got[i], expected[i]) << i;
    media->Release();
}
