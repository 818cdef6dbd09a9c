// playsnd FILE [--offline OUT.wav]: plays a ".wav" or XA file once through the
// sound service (load type 2: large files stream) until its completion
// callback, printing its format, whether it streams and its length. With
// --offline the service mixes on the offline sink with manual clocks, faster
// than real time, and the mix is written to OUT.wav.
//
// playsnd --media FILE [--offline OUT.wav]: opens FILE (MP3 or wave) as a
// media sound and plays it to its end, printing "media <rate> <channels>
// <ms>" and then "complete".
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
#include "sound/cGZSndDShow.h"
#include "sound/cGZSndSys.h"
#include "platform/MediaPlayer.h"

namespace {

std::atomic<bool> gDone{false};
void OnComplete(uint32_t) { gDone = true; }

int Usage() {
    std::fprintf(stderr, "usage: playsnd [--media] FILE [--offline OUT.wav]\n");
    return 2;
}

const char* ChannelText(uint16_t channels, char (&buffer)[32]) {
    if (channels == 1) return "mono";
    if (channels == 2) return "stereo";
    std::snprintf(buffer, sizeof buffer, "%u channels", channels);
    return buffer;
}

// The offline mix to OUT.wav, when one was asked for.
int WriteMix(const platform::OfflineAudioSink& sink, const std::string& offline) {
    if (offline.empty()) return 0;
    std::string error;
    if (!sink.WriteWav(offline, error)) {
        std::fprintf(stderr, "playsnd: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

// Plays a media sound to its end; the sink is pulled offline or the clocks
// run by themselves.
int PlayMedia(cGZSndSys& service, const std::string& file, bool offline, platform::OfflineAudioSink& sink) {
    auto* sound = static_cast<cGZSndDShow*>(service.CreateMediaSound(file.c_str(), 0));
    if (!sound->IsReady()) {
        std::printf("cannot open %s as media\n", file.c_str());
        sound->Release();
        return 1;
    }
    const platform::MediaPlayer& player = *sound->Player();
    const uint64_t lengthMs = player.LengthMs();
    std::printf("media %u %u %llu\n", player.Format().samplesPerSec, player.Format().channels,
                static_cast<unsigned long long>(lengthMs));
    std::fflush(stdout);
    if (!sound->Play(1024, false, 1)) {
        std::printf("cannot play %s\n", file.c_str());
        sound->Release();
        return 1;
    }
    const uint64_t limitMs = lengthMs + 5000;
    for (uint64_t waited = 0; sound->GetLastEvent() == 0 && waited < limitMs; waited += 10) {
        if (offline)
            sink.Advance(10);
        else
            platform::SleepMs(10);
    }
    const int32_t event = sound->GetLastEvent();
    sound->Release();
    if (event == static_cast<int32_t>(platform::MediaEvent::Complete)) {
        std::printf("complete\n");
        return 0;
    }
    if (event == 0)
        std::printf("the media sound did not complete\n");
    else
        std::printf("aborted %d\n", event);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string file;
    std::string offline;
    bool media = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--media")
            media = true;
        else if (arg == "--offline" && i + 1 < argc)
            offline = argv[++i];
        else if (file.empty() && arg[0] != '-')
            file = arg;
        else
            return Usage();
    }
    if (file.empty()) return Usage();

    platform::PcmFormat format;
    uint64_t lengthMs = 0;
    if (!media) {
        std::unique_ptr<cIGZSndReader> reader(MakeSndReader(file.c_str()));
        if (!reader) {
            std::fprintf(stderr, "playsnd: %s is neither a .wav nor an XA file\n", file.c_str());
            return 1;
        }
        if (!reader->Open(file.c_str())) {
            std::printf("reader error %d\n", reader->GetError());
            return 1;
        }
        format = reader->GetFormat();
        const uint32_t bytes = reader->GetDataSize();
        lengthMs = format.avgBytesPerSec ? uint64_t{bytes} * 1000 / format.avgBytesPerSec : 0;
    }

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

    if (media) {
        const int code = PlayMedia(service, file, !offline.empty(), sink);
        service.Shutdown();
        return code == 0 ? WriteMix(sink, offline) : code;
    }

    auto* sound = static_cast<cGZSnd*>(service.CreateSound(file.c_str(), 2));
    char channelBuffer[32];
    std::printf("%u Hz, %u-bit, %s\n", format.samplesPerSec, format.bitsPerSample,
                ChannelText(format.channels, channelBuffer));
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
    return WriteMix(sink, offline);
}
