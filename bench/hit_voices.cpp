// The sound engine on the offline sink against SDL_mixer: 32 sample channels
// over patches of the mixer benchmark's voices (mono and stereo 22050 Hz,
// each with its own volume and pan), a note restarting every 20 ms tick, for
// one second of 22050 Hz stereo per iteration. SDL_mixer plays the same
// samples on 32 channels, measured as in BM_MixThirtyTwoVoices. Counters:
// "x_realtime" (seconds of audio per second) for the engine,
// "sdl_mixer_x_realtime" and "ratio" (ours over SDL_mixer), in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "AudioMixerWorkload.h"
#include "framework/cRZCallbackThread.h"
#include "platform/AudioMixer.h"
#include "platform/OfflineAudioSink.h"
#include "platform/PeriodicTimer.h"
#include "sound/cGZSndSys.h"
#include "sound/cHitEngine.h"
#include "sound/cSampleChannel.h"
#include "sound/cSamplePatch.h"

namespace {

using namespace audio_bench;

// The sound's 0..1024 volume and pan whose device levels are the voice's.
int32_t HitVoicesVolume(int index) { return (VolumeOf(index) + 4000) * 1024 / 4000; }
int32_t HitVoicesPan(int index) { return (PanOf(index) + 10000) * 1024 / 20000; }

void BM_HitEngine32Voices(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tova_hit_voices_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);

    cRZCallbackThread callbacks{cRZCallbackThread::Manual{}};
    platform::PeriodicTimer timers{platform::PeriodicTimer::Mode::Manual};
    platform::AudioMixer mixer(platform::PcmFormat::Make(2, kRate, 16));
    platform::OfflineAudioSink sink(mixer, 20);
    sink.AttachClock([&](uint32_t ms) {
        callbacks.Advance(ms);
        timers.Advance(ms);
    });
    cGZSndOutput output;
    output.openDevice = false;
    output.mixer = &mixer;
    output.callbackThread = &callbacks;
    output.streamTimers = &timers;
    {
        cGZSndSys service(output);
        service.Init();
        cHitEngine engine;
        engine.Init(&service, 1);
        std::vector<cSampleChannel*> channels;
        for (int v = 0; v < kVoices; ++v) {
            const uint16_t count = v % 2 ? 2 : 1;
            const std::vector<int16_t> samples = VoiceSamples(v, count);
            const std::filesystem::path file = folder / ("voice" + std::to_string(v) + ".wav");
            std::string error;
            platform::WriteWavFile(file, platform::PcmFormat::Make(count, kRate, 16),
                                   reinterpret_cast<const uint8_t*>(samples.data()), samples.size() * 2, error);
            auto* patch = new cSamplePatch(file.string());
            patch->SetVar(44, 1, false);  // loop
            patch->SetVar(43, 1, false);  // preload
            engine.RegisterObject(static_cast<uint32_t>(v + 1), patch);
            cSampleChannel* channel = patch->NewChannel();
            channel->NoteOn(0);
            channel->SetVolume(HitVoicesVolume(v));
            channel->SetPan(HitVoicesPan(v));
            channels.push_back(channel);
        }
        const auto start = std::chrono::steady_clock::now();
        for (auto _ : state) {
            for (int tick = 0; tick < 50; ++tick) {
                engine.Update();
                channels[static_cast<size_t>(tick) % channels.size()]->NoteOn(0);
                sink.Advance(20);
            }
            benchmark::DoNotOptimize(sink.Captured().data());
            sink.ClearCaptured();
        }
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double ours = elapsed > 0 ? double(state.iterations()) / elapsed : 0.0;
        state.counters["x_realtime"] = ours;
        const double sdlSeconds = SdlMixerSeconds(2.0);
        if (sdlSeconds > 0) {
            state.counters["sdl_mixer_x_realtime"] = 2.0 / sdlSeconds;
            state.counters["ratio"] = ours / (2.0 / sdlSeconds);
        }
        for (cSampleChannel* channel : channels) channel->Release();
        engine.Shutdown();
        service.Shutdown();
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HitEngine32Voices)->Unit(benchmark::kMillisecond);

}  // namespace
