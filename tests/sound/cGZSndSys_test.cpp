#include "sound/cGZSndSys.h"

#include <gtest/gtest.h>

#include "sound/SoundFixture.h"

using platform::PcmFormat;
using sound_test::SoundRef;
using sound_test::SoundTest;
using sound_test::Tone;

class cGZSndSysTest : public SoundTest {
protected:
    // n loaded sounds registered with the service (which then owns them).
    std::vector<cIGZSnd*> RegisterLoaded(size_t n) {
        const std::string path = WriteWav("r.wav", PcmFormat::Make(1, 22050, 16), Tone(100, 1, 22050));
        std::vector<cIGZSnd*> sounds;
        for (size_t i = 0; i < n; ++i) {
            cIGZSnd* sound = service->CreateSound(path.c_str(), 0);
            EXPECT_TRUE(sound->Load());
            EXPECT_TRUE(service->RegisterSound(sound));
            sounds.push_back(sound);
        }
        return sounds;
    }
    static size_t Unloaded(const std::vector<cIGZSnd*>& sounds, size_t from, size_t to) {
        size_t n = 0;
        for (size_t i = from; i < to; ++i) n += !sounds[i]->HasBuffer();
        return n;
    }
};

TEST_F(cGZSndSysTest, ServiceFace) {
    EXPECT_EQ(service->GetId(), 0xFFD23940u);
    EXPECT_EQ(service->GetPriority(), 500000);
    EXPECT_EQ(service->GetServiceID(), kGZSoundSystemServiceID);
    EXPECT_EQ(cGZSndSys::Current(), service.get());
    EXPECT_TRUE(service->IsInitialised());
    EXPECT_FALSE(service->ProbeReverb());
    const PcmFormat& primary = service->GetPrimaryFormat();
    EXPECT_EQ(primary.bitsPerSample, 16);
    EXPECT_EQ(primary.samplesPerSec, 22050u);
    EXPECT_EQ(primary.channels, 2);
    EXPECT_EQ(primary.blockAlign, 4);
}

TEST_F(cGZSndSysTest, PrimaryFormatAlignsByItsOwnChannelCount) {
    ASSERT_TRUE(service->SetPrimaryFormat(16, 11025, 1));
    EXPECT_EQ(service->GetPrimaryFormat().blockAlign, 2);
    EXPECT_EQ(service->GetPrimaryFormat().avgBytesPerSec, 22050u);
    EXPECT_EQ(mixer.GetOutputFormat().samplesPerSec, 11025u);
    EXPECT_EQ(mixer.GetOutputFormat().channels, 1);
}

TEST_F(cGZSndSysTest, RegistryByIdKeepsTheFirstOfAnId) {
    SoundRef a(service->CreateSound());
    SoundRef b(service->CreateSound());
    b->SetId(a->GetId());
    EXPECT_TRUE(service->RegisterSound(a.sound));
    EXPECT_FALSE(service->RegisterSound(b.sound));
    EXPECT_EQ(service->FindSound(a->GetId()), a.sound);
    EXPECT_TRUE(service->IsRegistered(a.sound));
    EXPECT_FALSE(service->IsRegistered(b.sound));
    EXPECT_EQ(service->GetSoundCount(), 1u);
    EXPECT_TRUE(service->UnregisterSound(a.sound, false));
    EXPECT_FALSE(service->IsRegisteredId(a->GetId()));
    EXPECT_FALSE(service->UnregisterSoundId(a->GetId(), false));
    EXPECT_FALSE(service->PlaySoundById(12345678, 1024, false));
}

TEST_F(cGZSndSysTest, MaintenanceIntervalIsAtLeastFiveSeconds) {
    service->SetMaintenanceInterval(1000);
    EXPECT_EQ(service->GetMaintenanceInterval(), 5000);
    service->SetMaintenanceInterval(8000);
    EXPECT_EQ(service->GetMaintenanceInterval(), 8000);
    service->StopMaintenance();
    EXPECT_EQ(service->GetMaintenanceInterval(), -1);
}

TEST_F(cGZSndSysTest, MaintenanceVisitsAFewIdleSoundsRoundRobin) {
    std::vector<cIGZSnd*> three = RegisterLoaded(3);
    service->RunMaintenance();
    EXPECT_EQ(Unloaded(three, 0, 3), 3u);
    service->UnregisterAll(true);

    std::vector<cIGZSnd*> many = RegisterLoaded(25);
    // A playing sound and one of high priority are kept.
    many[3]->Play(1024, true, 1);
    many[5]->SetPriority(8);
    service->RunMaintenance();
    EXPECT_EQ(Unloaded(many, 0, 10), 8u);
    EXPECT_EQ(Unloaded(many, 10, 25), 0u);
    service->RunMaintenance();
    EXPECT_EQ(Unloaded(many, 10, 20), 10u);
    EXPECT_EQ(Unloaded(many, 20, 25), 0u);
    // The third pass wraps to the start.
    service->RunMaintenance();
    EXPECT_EQ(Unloaded(many, 20, 25), 5u);
    EXPECT_TRUE(many[3]->HasBuffer());
    EXPECT_TRUE(many[5]->HasBuffer());
    // An unloaded sound loads again when played.
    EXPECT_TRUE(many[0]->Play(1024, false, 1));
    EXPECT_TRUE(many[0]->HasBuffer());
}

TEST(cGZSndSysDevices, DefaultDeviceRule) {
    using D = cGZSndSys::Device;
    EXPECT_EQ(cGZSndSys::DefaultDeviceIndex({D{true, "Speakers", ""}}), 0u);
    EXPECT_EQ(cGZSndSys::DefaultDeviceIndex({D{false, "PRIMARY Sound Driver", ""}, D{true, "Speakers", ""}}), 1u);
    EXPECT_EQ(cGZSndSys::DefaultDeviceIndex({D{true, "Prim", ""}, D{true, "Speakers", ""}}), 0u);
    EXPECT_EQ(cGZSndSys::DefaultDeviceIndex({D{true, "A", ""}, D{false, "B", ""}, D{true, "C", ""}}), 1u);
    EXPECT_EQ(cGZSndSys::DefaultDeviceIndex({D{true, "A", ""}, D{true, "B", ""}, D{true, "C", ""}}), 0u);
}

TEST_F(cGZSndSysTest, DeviceNamesOutOfRangeAreEmpty) {
    std::string description = "x", module = "y";
    EXPECT_FALSE(service->GetDeviceName(service->GetDeviceCount(), description, module));
    EXPECT_EQ(description, "");
    EXPECT_EQ(module, "");
    EXPECT_TRUE(service->GetDefaultDeviceName(description, module));
    EXPECT_FALSE(description.empty());
}

TEST(cGZSndSysDevice, OpensTheSdlDeviceOrFailsCleanly) {
    // With SDL's dummy driver (the tests' environment) a device opens; on a
    // machine without any, Init fails and sound stays silently off.
    cGZSndSys service;
    if (service.Init()) {
        EXPECT_TRUE(service.IsInitialised());
        EXPECT_GE(service.GetDeviceCount(), 0u);
        EXPECT_TRUE(service.Shutdown());
    } else {
        EXPECT_FALSE(service.IsInitialised());
    }
    EXPECT_FALSE(service.IsInitialised());
}
