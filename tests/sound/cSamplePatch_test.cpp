#include "sound/cSamplePatch.h"

#include "SoundFixture.h"
#include "platform/AudioMixer.h"
#include "platform/Mp3Encoder.h"
#include "sound/cGZSnd3D.h"
#include "sound/cGZSndDShow.h"
#include "sound/cHitEngine.h"
#include "sound/cSampleChannel.h"

using namespace sound_test;

namespace {

class PatchTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        engine.Init(service.get(), 5);
        wav = WriteWav("note.wav", platform::PcmFormat::Make(1, 22050, 16), Tone(4410, 1, 22050));
    }
    void TearDown() override { engine.Shutdown(); }
    cHitEngine engine;
    std::string wav;
};

}  // namespace

TEST_F(PatchTest, TheFileNameChoosesPlainMediaOr3D) {
    const platform::PcmFormat format = platform::PcmFormat::Make(1, 22050, 16);
    const std::vector<uint8_t> pcm = Bytes(Tone(2205, 1, 22050));
    std::vector<uint8_t> mp3;
    std::string error;
    ASSERT_TRUE(platform::Mp3Encoder::Encode(format, pcm.data(), pcm.size(), 64, mp3, error));
    WriteFile(dir / "music.Mp3", mp3);

    auto* plain = new cSamplePatch(wav);
    auto* media = new cSamplePatch((dir / "music.Mp3").string());
    auto* spatial = new cSamplePatch(wav);
    spatial->SetVar(26, 1, false);
    spatial->SetVar(28, 5, false);
    spatial->SetVar(29, 700, false);
    engine.RegisterObject(1, plain);
    engine.RegisterObject(2, media);
    engine.RegisterObject(3, spatial);

    EXPECT_EQ(plain->GetClassId(), cISoundObject::kPatchClass);
    ASSERT_NE(plain->GetSound(), nullptr);
    EXPECT_FALSE(plain->IsMediaSound());
    EXPECT_EQ(dynamic_cast<cGZSndDShow*>(plain->GetSound()), nullptr);
    EXPECT_EQ(plain->Get3DSound(), nullptr);

    EXPECT_TRUE(media->IsMediaSound());
    auto* dshow = dynamic_cast<cGZSndDShow*>(media->GetSound());
    ASSERT_NE(dshow, nullptr);
    EXPECT_TRUE(dshow->IsReady());

    ASSERT_NE(spatial->Get3DSound(), nullptr);
    auto* sound3d = static_cast<cGZSnd3D*>(spatial->Get3DSound());
    EXPECT_EQ(sound3d->AsSound(), spatial->GetSound());
    EXPECT_EQ(sound3d->MinDistance(), 5.0f);
    EXPECT_EQ(sound3d->MaxDistance(), 700.0f);

    std::string name;
    EXPECT_TRUE(plain->GetName(name));
    EXPECT_EQ(name, wav);
}

TEST_F(PatchTest, UsesLoadAndUnloadTheDataAndPreloadTakesOne) {
    auto* patch = new cSamplePatch(wav);
    patch->SetVar(43, 1, false);
    engine.RegisterObject(1, patch);
    EXPECT_EQ(patch->UseCount(), 1);
    EXPECT_TRUE(patch->GetSound()->HasBuffer());
    patch->AddUse();
    patch->ReleaseUse();
    EXPECT_TRUE(patch->GetSound()->HasBuffer());
    patch->ReleaseUse();
    EXPECT_EQ(patch->UseCount(), 0);
    EXPECT_FALSE(patch->GetSound()->HasBuffer());
    EXPECT_FALSE(patch->ReleaseUse());
    patch->AddUser();
    EXPECT_EQ(patch->UserCount(), 1);
    EXPECT_TRUE(patch->ReleaseUser());
    EXPECT_FALSE(patch->ReleaseUser());
    EXPECT_FALSE(patch->StartAndActivate(0, 0, 0));
    EXPECT_TRUE(patch->Kill());
}

TEST_F(PatchTest, NoteOnPlaysOnceAndASecondNoteRewinds) {
    auto* patch = new cSamplePatch(wav);
    engine.RegisterObject(1, patch);
    cSampleChannel* channel = patch->NewChannel();
    ASSERT_EQ(channel->GetSound(), patch->GetSound());
    EXPECT_EQ(channel->GetClassId(), cISoundObject::kPatchClass);
    EXPECT_EQ(channel->GetVar(19), 0);
    auto* sound = static_cast<cGZSnd*>(patch->GetSound());
    ASSERT_TRUE(channel->NoteOn(60));
    EXPECT_TRUE(channel->IsRunning());
    EXPECT_FALSE(sound->IsLooping());
    sink.Advance(100);
    EXPECT_GT(sound->GetPosition(), 0u);
    ASSERT_TRUE(channel->NoteOn(60));
    // Rewound, not doubled.
    EXPECT_EQ(sound->GetPosition(), 0u);
    EXPECT_EQ(sound->GetBufferCount(), 1);
    ASSERT_TRUE(channel->NoteOff());
    EXPECT_FALSE(channel->IsRunning());

    // Variable 44 of the patch loops the note.
    patch->SetVar(44, 1, false);
    ASSERT_TRUE(channel->NoteOn(0));
    EXPECT_TRUE(sound->IsLooping());
    sink.Advance(500);
    EXPECT_TRUE(channel->IsRunning());
    channel->Kill();

    // The channel holds the patch: re-registering the id does not pull the
    // sound from under it.
    engine.RegisterObject(1, new cSamplePatch(wav));
    EXPECT_TRUE(channel->NoteOn(0));
    channel->Release();
}

TEST_F(PatchTest, PitchIsAnAbsoluteFrequencyAroundTheBaseRate) {
    struct Case {
        int32_t cents;
        uint32_t hz;
    };
    for (const Case c : {Case{3600, 22050}, Case{4800, 44100}, Case{2400, 11025}, Case{3700, 23361}})
        EXPECT_EQ(cSampleChannel::FrequencyOf(c.cents), c.hz) << c.cents;
    // Whatever the file's rate.
    const std::string file = WriteWav("n11.wav", platform::PcmFormat::Make(1, 11025, 16), Tone(1000, 1, 11025));
    auto* patch = new cSamplePatch(file);
    engine.RegisterObject(1, patch);
    cSampleChannel* channel = patch->NewChannel();
    patch->AddUse();
    ASSERT_TRUE(channel->SetPitch(4800));
    EXPECT_EQ(channel->GetSound()->GetFrequency(), 44100u);
    ASSERT_TRUE(channel->SetPitch(2400));
    EXPECT_EQ(channel->GetSound()->GetFrequency(), 11025u);
    ASSERT_TRUE(channel->SetPan(0));
    EXPECT_EQ(static_cast<cGZSnd*>(channel->GetSound())->GetVoice(0)->GetPan(), -10000);
    channel->Release();
}

TEST_F(PatchTest, TheNoteTraceNamesTheFile) {
    auto* patch = new cSamplePatch(wav);
    engine.RegisterObject(1, patch);
    cSampleChannel* channel = patch->NewChannel();
    cSampleChannel::SetNoteTrace(true);
    testing::internal::CaptureStderr();
    channel->NoteOn(0);
    const std::string trace = testing::internal::GetCapturedStderr();
    cSampleChannel::SetNoteTrace(false);
    EXPECT_EQ(trace, "cSampleChannel::NoteOn: Sample file " + wav + "\n");
    channel->Release();
}
