// playsnd FILE [--offline OUT.wav]: plays a ".wav" or XA file once through the
// sound service (load type 2: large files stream) until its completion
// callback, printing its format, whether it streams and its length. With
// --offline the service mixes on the offline sink with manual clocks, faster
// than real time, and the mix is written to OUT.wav.
//
// playsnd --media FILE [--offline OUT.wav]: opens FILE (MP3 or wave) as a
// media sound and plays it to its end, printing "media <rate> <channels>
// <ms>" and then "complete".
//
// playsnd --bank DIR --track ID --seconds S [--seed N] [--offline OUT.wav]:
// loads every sound bank of DIR (its patch files found under DIR's parent),
// starts track ID and runs the sound engine every 20 ms for S seconds,
// printing "note <ms> patch <id> pitch <p> volume <v>" for each note and
// "error <text>" for each reported error.
//
// playsnd --score FILE --seconds S --seed N --log FILE [--row P --col P]
// [--offline OUT.wav]: loads FILE into a score player, sets its position
// (0..1000, 500 when not given), starts it and runs S seconds; the log has
// one line per change of a cell, "<ms> <start|finish|stop> <row> <col>
// <name>", and a last line "cells <playing> <finishing>".
#include <atomic>
#include <fstream>
#include <cstdio>
#include <cstdlib>
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
#include "sound/cFreshDriver.h"
#include "sound/cFreshPlayer.h"
#include "sound/cHitEngine.h"
#include "sound/cISoundObject.h"
#include "sound/cTovaBoxxIniFile.h"
#include "platform/MediaPlayer.h"

namespace {

std::atomic<bool> gDone{false};
void OnComplete(uint32_t) { gDone = true; }

int Usage() {
    std::fprintf(stderr,
                 "usage: playsnd [--media] FILE [--offline OUT.wav]\n"
                 "       playsnd --bank DIR --track ID --seconds S [--seed N] [--offline OUT.wav]\n"
                 "       playsnd --score FILE --seconds S --seed N --log FILE [--row P --col P] [--offline OUT.wav]\n");
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

struct BankRun {
    std::string folder;
    uint32_t track = 0;
    double seconds = 0;
    bool seeded = false;
    uint32_t seed = 0;
};

// Runs one track of the banks of a folder on the sound engine.
int PlayBank(cGZSndSys& service, const BankRun& run, bool offline, platform::OfflineAudioSink& sink) {
    constexpr uint32_t kTickMs = 20;
    cHitEngine engine;
    if (run.seeded)
        engine.Init(&service, run.seed);
    else
        engine.Init(&service);
    engine.SetErrorSink([](cISoundObject*, const char* message) { std::printf("error %s\n", message); });
    engine.SetNoteObserver([&engine](cISoundObject*, int32_t patch, int32_t pitch, int32_t volume) {
        std::printf("note %u patch %d pitch %d volume %d\n", (engine.TickCount()) * kTickMs, patch, pitch, volume);
    });
    std::string folder = run.folder;
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    const size_t slash = folder.find_last_of("/\\");
    const std::string soundRoot = slash == std::string::npos ? "." : folder.substr(0, slash + 1);
    if (!cTovaBoxxIniFile::LoadBanks(engine, folder, soundRoot, nullptr)) {
        std::printf("cannot read the banks of %s\n", folder.c_str());
        engine.Shutdown();
        return 1;
    }
    cISoundObject* track = engine.GetObject(run.track);
    if (!track) {
        std::printf("no track %u\n", run.track);
        engine.Shutdown();
        return 1;
    }
    track->StartAndActivate(0, 0, 0);
    const uint64_t ticks = static_cast<uint64_t>(run.seconds * 1000 / kTickMs);
    for (uint64_t i = 0; i < ticks; ++i) {
        engine.Update();
        if (offline)
            sink.Advance(kTickMs);
        else
            platform::SleepMs(kTickMs);
        std::fflush(stdout);
    }
    engine.Shutdown();
    return 0;
}

// Writes each change of a cell to the log, stamped with the clock's time.
class ScoreLog : public cIFreshObserver {
public:
    ScoreLog(std::ofstream& out, const cFreshDriver& driver) : mOut(out), mDriver(driver), mStart(driver.NowMs()) {}
    void ClipStarted(const std::string& path, int32_t row, int32_t column) override { Line("start", path, row, column); }
    void ClipFinishing(const std::string& path, int32_t row, int32_t column) override {
        Line("finish", path, row, column);
    }
    void ClipStopped(const std::string& path, int32_t row, int32_t column) override { Line("stop", path, row, column); }

    // The run is over: the stops of the shutdown are not changes of the score.
    bool closed = false;

private:
    void Line(const char* kind, const std::string& path, int32_t row, int32_t column) {
        if (closed) return;
        mOut << (mDriver.NowMs() - mStart) << " " << kind << " " << row << " " << column << " "
             << path.substr(path.find_last_of("/\\") + 1) << "\n";
    }
    std::ofstream& mOut;
    const cFreshDriver& mDriver;
    uint32_t mStart;
};

struct ScoreRun {
    std::string file;
    std::string log;
    int32_t row = 500;
    int32_t column = 500;
};

int PlayScore(cGZSndSys& service, const ScoreRun& score, const BankRun& run, bool offline,
              platform::OfflineAudioSink& sink, cRZCallbackThread* thread) {
    std::ofstream log(score.log, std::ios::binary);
    if (!log) {
        std::fprintf(stderr, "playsnd: cannot write %s\n", score.log.c_str());
        return 1;
    }
    service.GetListener();
    cFreshDriver driver(&service, thread);
    ScoreLog observer(log, driver);
    auto* player = new cFreshPlayer(run.seed);
    if (!player->Load(score.file, &driver, &observer)) {
        std::printf("cannot read the score %s\n", score.file.c_str());
        player->Release();
        return 1;
    }
    player->SetColumn(score.column);
    player->SetRow(score.row);
    player->Start();
    const uint64_t steps = static_cast<uint64_t>(run.seconds * 1000 / 10);
    for (uint64_t i = 0; i < steps; ++i) {
        if (offline)
            sink.Advance(10);
        else
            platform::SleepMs(10);
    }
    log << "cells " << player->PlayingCount() << " " << player->FinishingCount() << "\n";
    observer.closed = true;
    player->Stop();
    player->Release();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string file;
    std::string offline;
    bool media = false;
    bool bank = false;
    bool scoreMode = false;
    ScoreRun score;
    BankRun run;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--score" && hasValue) {
            scoreMode = true;
            score.file = argv[++i];
        } else if (arg == "--log" && hasValue) {
            score.log = argv[++i];
        } else if (arg == "--row" && hasValue) {
            score.row = static_cast<int32_t>(std::strtol(argv[++i], nullptr, 10));
        } else if (arg == "--col" && hasValue) {
            score.column = static_cast<int32_t>(std::strtol(argv[++i], nullptr, 10));
        } else if (arg == "--bank" && hasValue) {
            bank = true;
            run.folder = argv[++i];
        } else if (arg == "--track" && hasValue) {
            run.track = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--seconds" && hasValue) {
            run.seconds = std::strtod(argv[++i], nullptr);
        } else if (arg == "--seed" && hasValue) {
            run.seeded = true;
            run.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--media")
            media = true;
        else if (arg == "--offline" && i + 1 < argc)
            offline = argv[++i];
        else if (file.empty() && arg[0] != '-')
            file = arg;
        else
            return Usage();
    }
    if (scoreMode && (bank || media || !file.empty() || score.log.empty() || !run.seeded || !(run.seconds > 0) ||
                      run.seconds > 3600))
        return Usage();
    if (scoreMode) bank = false;
    if (scoreMode) {
    } else if (bank ? !file.empty() || media || run.track == 0 || !(run.seconds > 0) || run.seconds > 3600 : file.empty())
        return Usage();

    platform::PcmFormat format;
    uint64_t lengthMs = 0;
    if (!media && !bank && !scoreMode) {
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

    if (scoreMode) {
        const int code = PlayScore(service, score, run, !offline.empty(), sink,
                                   offline.empty() ? nullptr : &manualCallbacks);
        service.Shutdown();
        return code == 0 ? WriteMix(sink, offline) : code;
    }
    if (bank) {
        const int code = PlayBank(service, run, !offline.empty(), sink);
        service.Shutdown();
        return code == 0 ? WriteMix(sink, offline) : code;
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
