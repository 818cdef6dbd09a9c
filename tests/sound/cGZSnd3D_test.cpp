#include "sound/cGZSnd3D.h"

#include "SoundFixture.h"
#include "platform/AudioMixer.h"
#include "sound/cGZSnd3DListener.h"
#include "sound/cGZSndReverb.h"

using namespace sound_test;

namespace {

class Snd3DTest : public SoundTest {
protected:
    cGZSnd3D* Make(const std::string& file) {
        return static_cast<cGZSnd3D*>(service->Create3DSound(file.c_str(), 0, false));
    }
};

}  // namespace

TEST_F(Snd3DTest, DistanceAttenuatesThePlayingVoiceButNotTheStoredVolume) {
    const std::string file = WriteWav("a.wav", platform::PcmFormat::Make(1, 22050, 16), Tone(2205, 1, 22050));
    service->GetListener();
    cGZSnd3D* sound = Make(file);
    ASSERT_TRUE(sound->AsSound()->Play(1024, false, 1));
    // The fallback: a 2D voice that pans.
    EXPECT_FALSE(sound->Has3D());
    ASSERT_NE(sound->GetVoice(0), nullptr);
    EXPECT_TRUE(sound->AsSound()->SetPan(0));
    EXPECT_EQ(sound->GetVoice(0)->GetPan(), -10000);
    sound->AsSound()->SetPan(512);

    EXPECT_EQ(sound->MaxDistance(), 5000.0f);
    ASSERT_TRUE(sound->As3D()->SetPosition(0.0f, 0.0f, 2500.0f));
    EXPECT_EQ(sound->Attenuation(), 3000);
    EXPECT_EQ(sound->AsSound()->GetVolume(), 1024);
    EXPECT_EQ(sound->GetVoice(0)->GetVolume(), platform::kAudioSilence);
    sink.Advance(50);
    for (int16_t s : sink.Captured()) ASSERT_EQ(s, 0);

    // Nearer: 1024 - 300 reaches the voice.
    ASSERT_TRUE(sound->As3D()->SetPosition(0.0f, 150.0f, 200.0f));
    EXPECT_EQ(sound->Attenuation(), 300);
    EXPECT_EQ(sound->GetVoice(0)->GetVolume(), 724 * 4000 / 1024 - 4000);
    // The distance is to the listener, wherever it stands.
    service->GetListener()->SetPosition(0.0f, 150.0f, 200.0f);
    sound->As3D()->SetPosition(0.0f, 150.0f, 200.0f);
    EXPECT_EQ(sound->Attenuation(), 0);
    EXPECT_EQ(sound->GetVoice(0)->GetVolume(), 0);
    float x, y, z;
    sound->As3D()->GetPosition(x, y, z);
    EXPECT_EQ(y, 150.0f);
    sound->AsSound()->Release();
}

TEST_F(Snd3DTest, DistanceScaleAndUnits) {
    cGZSnd3D* sound = static_cast<cGZSnd3D*>(service->Create3DSound());
    struct Case {
        int32_t index;
        float min, max;
    };
    for (const Case c : {Case{0, 1, 100}, Case{1, 1, 100}, Case{4, 100, 10000}, Case{99, 10000, 1000000}}) {
        EXPECT_TRUE(sound->SetDistanceScale(c.index));
        EXPECT_EQ(sound->MinDistance(), c.min) << c.index;
        EXPECT_EQ(sound->MaxDistance(), c.max) << c.index;
    }
    float out = -1;
    EXPECT_FALSE(sound->GetMinDistance(out));  // no 3D buffer to ask
    EXPECT_EQ(out, -1);

    cGZSnd3DListener* listener = service->GetListener();
    int32_t preset = 0;
    float factor = 0;
    listener->GetDistanceUnits(preset, factor);
    EXPECT_EQ(preset, 7);
    EXPECT_EQ(factor, 1.0f);
    listener->SetDistanceUnits(2, 5.0f);
    EXPECT_FLOAT_EQ(listener->GetDistanceFactor(), 0.3048f);
    listener->SetDistanceUnits(0, 5.0f);
    EXPECT_EQ(listener->GetDistanceFactor(), 5.0f);
    // The scale is in the listener's units.
    sound->SetDistanceScale(2);
    EXPECT_EQ(sound->MinDistance(), 2.0f);
    sound->AsSound()->Release();
}

TEST_F(Snd3DTest, ListenerIsMadeOnceAndKeepsPositionAndOrientation) {
    EXPECT_EQ(service->GetListenerIfAny(), nullptr);
    cGZSnd3DListener* listener = service->GetListener();
    ASSERT_NE(listener, nullptr);
    EXPECT_EQ(service->GetListener(), listener);
    EXPECT_EQ(service->GetListenerIfAny(), listener);
    EXPECT_EQ(cGZSnd3DListener::Current(), listener);
    EXPECT_FALSE(listener->HasListener());
    EXPECT_FALSE(service->AdoptListener(listener));

    const float all[12] = {1, 2, 3, 9, 9, 9, 0, 0, -1, 0, 1, 0};
    EXPECT_TRUE(listener->SetAll(all));
    float got[12];
    listener->GetAll(got);
    const float expected[12] = {1, 2, 3, 0, 0, 0, 0, 0, -1, 0, 1, 0};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(got[i], expected[i]) << i;
    EXPECT_EQ(listener->GetRolloffFactor(), 0.0f);

    EXPECT_TRUE(service->ReleaseListener());
    EXPECT_FALSE(service->ReleaseListener());
    EXPECT_EQ(cGZSnd3DListener::Current(), nullptr);
    EXPECT_NE(service->GetListener(), nullptr);
}

TEST_F(Snd3DTest, ReverbKeepsTheEnvironmentRowWithNothingToHearIt) {
    cGZSndReverb* reverb = service->GetReverbController();
    ASSERT_NE(reverb, nullptr);
    EXPECT_FALSE(service->IsReverbSupported());
    EXPECT_FALSE(service->ProbeReverb());

    EXPECT_FALSE(service->SetReverbEnvironment(12));
    EXPECT_EQ(reverb->CurrentRowIndex(), 12);
    EXPECT_EQ(reverb->CurrentRow().environment, 11u);
    EXPECT_FLOAT_EQ(reverb->CurrentRow().decayTime, 0.259f);
    EXPECT_EQ(service->GetReverbEnvironment(), 0);  // not applied

    service->SetReverbEnvironment(27);
    EXPECT_EQ(reverb->CurrentRowIndex(), 0);
    const cGZSndReverb::Row& zero = reverb->CurrentRow();
    EXPECT_TRUE(zero.environment == 0 && zero.volume == 0 && zero.decayTime == 0 && zero.damping == 0);
    EXPECT_FLOAT_EQ(cGZSndReverb::EnvironmentRow(1).decayTime, 1.493f);
    EXPECT_EQ(cGZSndReverb::EnvironmentRow(28).environment, 0u);

    cGZSnd3D* sound = static_cast<cGZSnd3D*>(service->Create3DSound());
    EXPECT_FALSE(sound->AsSound()->SetReverbMix(127));
    EXPECT_FLOAT_EQ(reverb->LastBufferMix(), 1.0f);
    sound->AsSound()->Release();
}
