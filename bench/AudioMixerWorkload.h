// The set-up that the mixer benchmarks share: 32 voices of 22050 Hz 16-bit
// audio (even voices mono, odd stereo, lengths differing so loops wrap at
// different points), each with its own volume and pan, and SDL_mixer playing
// the same voices on SDL's disk driver into /dev/null with no delay, timed by
// its post-mix hook.
#pragma once

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/AudioMixer.h"
#include "platform/WavFile.h"

namespace audio_bench {


constexpr int kVoices = 32;
constexpr uint32_t kRate = 22050;

inline std::vector<int16_t> VoiceSamples(int index, uint16_t channels) {
    const uint32_t frames = kRate / 2 + 97 * index;  // lengths differ, so loops wrap at different points
    std::vector<int16_t> s(size_t(frames) * channels);
    for (uint32_t i = 0; i < frames; ++i)
        for (uint16_t c = 0; c < channels; ++c)
            s[size_t(i) * channels + c] = int16_t(4000 * std::sin(0.01 * (index + 1) * i + c));
    return s;
}

inline int32_t VolumeOf(int index) { return -index * 150; }  // hundredths of a decibel
inline int32_t PanOf(int index) { return (index % 9 - 4) * 2000; }

// Seconds of wall time SDL_mixer takes to mix `seconds` of audio.
inline std::atomic<uint64_t> gMixedBytes{0};
inline void PostMix(void*, Uint8*, int bytes) { gMixedBytes += static_cast<uint64_t>(bytes); }

inline double SdlMixerSeconds(double seconds) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    if (SDL_Init(SDL_INIT_AUDIO) != 0) return -1;
    if (Mix_OpenAudio(int(kRate), AUDIO_S16SYS, 2, 1024) != 0) {
        SDL_Quit();
        return -1;
    }
    Mix_AllocateChannels(kVoices);
    std::vector<Mix_Chunk*> chunks;
    for (int v = 0; v < kVoices; ++v) {
        const uint16_t channels = v % 2 ? 2 : 1;
        const std::vector<int16_t> samples = VoiceSamples(v, channels);
        const std::vector<uint8_t> wav = platform::EncodeWav(platform::PcmFormat::Make(channels, kRate, 16),
                                                             reinterpret_cast<const uint8_t*>(samples.data()),
                                                             samples.size() * 2);
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(wav.data(), int(wav.size())), 1);
        if (!chunk) continue;
        chunks.push_back(chunk);
        const int pan = PanOf(v);
        Mix_Volume(v, int(MIX_MAX_VOLUME * platform::AudioMixer::GainOf(VolumeOf(v))));
        const Uint8 left = Uint8(255 * (pan > 0 ? platform::AudioMixer::GainOf(-pan) : 1.0f));
        const Uint8 right = Uint8(255 * (pan < 0 ? platform::AudioMixer::GainOf(pan) : 1.0f));
        Mix_SetPanning(v, left, right);
        Mix_PlayChannel(v, chunk, -1);
    }
    const uint64_t target = uint64_t(seconds * kRate * 4);
    gMixedBytes = 0;
    const auto start = std::chrono::steady_clock::now();
    Mix_SetPostMix(&PostMix, nullptr);
    while (gMixedBytes < target) SDL_Delay(1);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HaltChannel(-1);
    for (Mix_Chunk* c : chunks) Mix_FreeChunk(c);
    Mix_CloseAudio();
    SDL_Quit();
    return elapsed;
}

}  // namespace audio_bench
