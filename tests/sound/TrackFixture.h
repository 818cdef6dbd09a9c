// An engine on the offline sound service with a seeded random sequence and
// the engine clock advanced by hand; banks come from the bank assembler,
// written to the scratch folder and loaded as the event layer loads them.
// Errors and event mappings are written down.
#pragma once

#include <filesystem>
#include <map>

#include "SoundFixture.h"
#include "sound/cHitEngine.h"
#include "sound/cTovaBoxxIniFile.h"
#include "sound/cTrack.h"
#include "sound/iSoundEventMappings.h"
#include "tools/contentc/BankSources.h"

namespace sound_test {

class RecordedMappings : public iSoundEventMappings {
public:
    void AddMapping(const std::string& name, const std::array<int32_t, 6>& values) override {
        mappings.emplace_back(name, values);
    }
    std::vector<std::pair<std::string, std::array<int32_t, 6>>> mappings;
};

class TrackTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        ASSERT_TRUE(engine.Init(service.get(), 7));
        engine.SetErrorSink([this](cISoundObject*, const char* message) { errors.push_back(message); });
        std::filesystem::create_directories(dir / "SoundData");
        WriteWav("SoundData/beep.wav", platform::PcmFormat::Make(1, 22050, 16), Tone(22050, 1, 22050));
    }
    void TearDown() override { engine.Shutdown(); }

    // The source after a "bank" line and patch 1 over a one-second tone.
    void Load(const std::string& source, const std::string& name = "t") {
        BankImage image;
        std::string error;
        ASSERT_TRUE(AssembleBank(name + ".bank", "bank " + name + "\npatch 1 Beep SoundData\\beep.wav\n" + source,
                                 image, error))
            << error;
        ASSERT_TRUE(WriteBank(image, dir.Path().string(), error)) << error;
        ASSERT_TRUE(cTovaBoxxIniFile::LoadBanks(engine, (dir / "SoundData").string(), dir.Path().string(), &mappings));
    }
    void WriteText(const std::string& name, const std::string& text) {
        const std::filesystem::path path = dir / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    cTrack* Track(uint32_t id) { return dynamic_cast<cTrack*>(engine.GetObject(id)); }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) engine.Update();
    }

    cHitEngine engine;
    std::vector<std::string> errors;
    RecordedMappings mappings;
};

}  // namespace sound_test
