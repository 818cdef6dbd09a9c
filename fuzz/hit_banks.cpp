// Sound banks: the first byte picks the file. 0: the rest is a ".hit" bank
// whose program (from the offset the second byte gives) runs as a track,
// with a second track and a hit list to name, for a bounded number of
// ticks. 1: the rest is a ".hsm" symbol file. 2: the rest is a ".hot"
// definition file.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzScratch.h"
#include "sound/cHitEngine.h"
#include "sound/cHitList.h"
#include "sound/cTovaBoxxIniFile.h"
#include "sound/cTrack.h"
#include "sound/iSoundEventMappings.h"

namespace {

class HitBanksMappings : public iSoundEventMappings {
public:
    void AddMapping(const std::string&, const std::array<int32_t, 6>&) override { ++count; }
    size_t count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    cHitEngine engine;
    engine.Init(nullptr, 1);
    engine.SetErrorSink([](cISoundObject*, const char*) {});
    const uint8_t kind = data[0] % 3;
    if (kind == 1) {
        engine.LoadSymbols(fuzz::WriteInput("f.hsm", data + 1, size - 1).c_str());
    } else if (kind == 2) {
        HitBanksMappings mappings;
        cTovaBoxxIniFile file(engine, fuzz::ScratchFolder::Path(), fuzz::WriteInput("f.hot", data + 1, size - 1),
                              &mappings);
        if (!file.Read()) std::abort();
    } else {
        const std::string path = fuzz::WriteInput("f.hit", data + 2, size - 2);
        if (!engine.LoadBank(path.c_str())) std::abort();
        engine.SetTrackData(0, data[1]);
        engine.SetTrackData(1, 0);
        cHitList* list = engine.NewHitList(5);
        list->Add(1);
        list->Add(2);
        cTrackDefinition first;
        first.volume = 1024;
        engine.RegisterObject(1, new cTrack(first));
        cTrackDefinition second = first;
        second.programIndex = 1;
        engine.RegisterObject(2, new cTrack(second));
        engine.GetObject(1)->StartAndActivate(2, 5, 1);
        for (int tick = 0; tick < 64; ++tick) engine.Update();
    }
    engine.Shutdown();
    return 0;
}
