// Score files: the input as a ".fsc" file, loaded into a score player with a
// fixed seed and played for a bounded number of beats on the offline sound
// service with manual clocks (clips that name no file fail to load).
#include <cstdint>
#include <string>

#include "framework/cRZCallbackThread.h"
#include "fuzz/FuzzScratch.h"
#include "platform/AudioMixer.h"
#include "platform/OfflineAudioSink.h"
#include "platform/PeriodicTimer.h"
#include "sound/cFreshDriver.h"
#include "sound/cFreshPlayer.h"
#include "sound/cGZSndSys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 200000) return 0;
    const std::string path = fuzz::WriteInput("f.fsc", data, size);
    cRZCallbackThread callbacks{cRZCallbackThread::Manual{}};
    platform::PeriodicTimer timers{platform::PeriodicTimer::Mode::Manual};
    platform::AudioMixer mixer;
    platform::OfflineAudioSink sink(mixer, 10);
    sink.AttachClock([&](uint32_t ms) {
        callbacks.Advance(ms);
        timers.Advance(ms);
    });
    cGZSndOutput output;
    output.openDevice = false;
    output.mixer = &mixer;
    output.callbackThread = &callbacks;
    output.streamTimers = &timers;
    cGZSndSys service(output);
    service.Init();
    {
        cFreshDriver driver(&service, &callbacks);
        auto* player = new cFreshPlayer(1);
        if (player->Load(path, &driver, nullptr)) {
            player->SetRow(700);
            player->SetColumn(300);
            player->Start();
            player->SetLateOverride(size % 2 == 0);
            for (int i = 0; i < 40; ++i) sink.Advance(100);
            player->FadeTo(500, 0, 1);
            for (int i = 0; i < 10; ++i) sink.Advance(100);
            player->Stop();
        }
        player->Release();
    }
    service.Shutdown();
    return 0;
}
