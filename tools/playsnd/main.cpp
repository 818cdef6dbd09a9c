// playsnd FILE [--offline OUT.wav]: plays a ".wav" or XA file once through the
// sound service (load type 2: large files stream) until its completion
// callback, printing its format, whether it streams and its length. With
// --offline the service mixes on the offline sink with manual clocks, faster
// than real time, and the mix is written to OUT.wav.
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>

#include "framework/cRZCallbackThread.h"
#include "platform/AudioMixer.h"
#include "platform/Clock.h"
#include "platform/OfflineAudioSink.h"
#include "platform/PeriodicTimer.h"
#include "sound/cGZSnd.h"
#include "sound/cGZSndSys.h"

namespace {

std::atomic<bool> gDone{false};
void OnComplete(uint32_t) { gDone = true; }

int Usage() {
    std::fprintf(stderr, "usage: playsnd FILE [--offline OUT.wav]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string file;
    std::string offline;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--offline" && i + 1 < argc)
            offline = argv[++i];
        else if (file.empty() && arg[0] != '-')
            file = arg;
        else
            return Usage();
    }
    if (file.empty()) return Usage();

    std::unique_ptr<cIGZSndReader> reader(MakeSndReader(file.c_str()));
    if (!reader) {
        std::fprintf(stderr, "playsnd: %s is neither a .wav nor an XA file\n", file.c_str());
        return 1;
    }
    if (!reader->Open(file.c_str())) {
        std::printf("reader error %d\n", reader->GetError());
        return 1;
    }
    const platform::PcmFormat format = reader->GetFormat();
    const uint32_t bytes = reader->GetDataSize();
    reader.reset();
    const uint64_t lengthMs = format.avgBytesPerSec ? uint64_t{bytes} * 1000 / format.avgBytesPerSec : 0;

    cRZCallbackThread manualCallbacks{cRZCallbackThread::Manual{}};
    platform::PeriodicTimer manualTimers{platform::PeriodicTimer::Mode::Manual};
    platform::AudioMixer mixer;
    platform::OfflineAudioSink sink(mixer);
    cGZSndOutput output;
    output.mixer = &mixer;
    if (!offline.empty()) {
        output.openDevice = false;
        output.callbackThread = &manualCallbacks;
        output.streamTimers = &manualTimers;
        sink.AttachClock([&](uint32_t ms) {
            manualCallbacks.Advance(ms);
            manualTimers.Advance(ms);
        });
    }
    cGZSndSys service(output);
    if (!service.Init()) {
        std::fprintf(stderr, "playsnd: no sound device\n");
        return 1;
    }

    auto* sound = static_cast<cGZSnd*>(service.CreateSound(file.c_str(), 2));
    std::printf("%u Hz, %u-bit, %s\n", format.samplesPerSec, format.bitsPerSample,
                format.channels == 1 ? "mono" : "stereo");
    std::printf("%s\n", sound->IsStreamed() ? "streamed" : "static");
    std::printf("%llu ms\n", static_cast<unsigned long long>(lengthMs));
    std::fflush(stdout);

    sound->SetCompletionCallback(&OnComplete, 0);
    if (!sound->Play(1024, false, 1)) {
        std::fprintf(stderr, "playsnd: cannot play %s\n", file.c_str());
        sound->Release();
        return 1;
    }
    // Bounded: a sound that never completes does not hang the tool.
    const uint64_t limitMs = lengthMs + 5000;
    for (uint64_t waited = 0; !gDone && waited < limitMs; waited += 10) {
        if (offline.empty())
            platform::SleepMs(10);
        else
            sink.Advance(10);
    }
    sound->Release();
    service.Shutdown();
    if (!gDone) {
        std::fprintf(stderr, "playsnd: the sound did not complete\n");
        return 1;
    }
    if (!offline.empty()) {
        std::string error;
        if (!sink.WriteWav(offline, error)) {
            std::fprintf(stderr, "playsnd: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
