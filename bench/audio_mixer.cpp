// The software mixer against SDL_mixer: 32 voices of 22050 Hz 16-bit audio,
// mono and stereo, each with its own volume and pan, mixed into one second of
// 22050 Hz stereo. SDL_mixer runs on SDL's disk driver into /dev/null with no
// delay, and its time is read from its post-mix hook. Counters: "x_realtime"
// (seconds of audio mixed per second) for ours, "sdl_mixer_x_realtime" and
// "ratio" (ours over SDL_mixer), measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "AudioMixerWorkload.h"
#include "platform/AudioMixer.h"

namespace {

using namespace audio_bench;

void BM_MixThirtyTwoVoices(benchmark::State& state) {
    platform::AudioMixer mixer(platform::PcmFormat::Make(2, kRate, 16));
    for (int v = 0; v < kVoices; ++v) {
        const uint16_t channels = v % 2 ? 2 : 1;
        const std::vector<int16_t> samples = VoiceSamples(v, channels);
        platform::AudioVoice* voice =
            mixer.CreateVoice(platform::PcmFormat::Make(channels, kRate, 16), uint32_t(samples.size() * 2));
        void* p;
        uint32_t n;
        voice->Lock(0, voice->Size(), &p, &n, nullptr, nullptr);
        std::memcpy(p, samples.data(), n);
        voice->SetVolume(VolumeOf(v));
        voice->SetPan(PanOf(v));
        voice->Play(true);
    }
    std::vector<int16_t> out(size_t(kRate) * 2);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        mixer.Render(out.data(), kRate);
        benchmark::DoNotOptimize(out.data());
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double ours = elapsed > 0 ? double(state.iterations()) / elapsed : 0.0;
    state.counters["x_realtime"] = ours;
    const double sdlSeconds = SdlMixerSeconds(2.0);
    if (sdlSeconds > 0) {
        state.counters["sdl_mixer_x_realtime"] = 2.0 / sdlSeconds;
        state.counters["ratio"] = ours / (2.0 / sdlSeconds);
    }
}
BENCHMARK(BM_MixThirtyTwoVoices)->Unit(benchmark::kMillisecond);

}  // namespace
