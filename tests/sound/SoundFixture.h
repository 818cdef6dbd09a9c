// A sound service on an offline mixer with manual clocks: the test advances
// time and the sounds' timers (completion, fades, stream refills) run on the
// test's thread as the mix reaches them.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <vector>

#include "framework/cRZCallbackThread.h"
#include "platform/AudioMixer.h"
#include "platform/OfflineAudioSink.h"
#include "platform/PeriodicTimer.h"
#include "platform/WavFile.h"
#include "sound/cGZSnd.h"
#include "sound/cGZSndSys.h"
#include "support/ScratchDir.h"

namespace sound_test {

// Interleaved 16-bit samples of a tone, distinct per channel.
inline std::vector<int16_t> Tone(uint32_t frames, uint16_t channels, uint32_t rate, double hz = 440.0) {
    std::vector<int16_t> samples(size_t(frames) * channels);
    for (uint32_t i = 0; i < frames; ++i)
        for (uint16_t c = 0; c < channels; ++c)
            samples[size_t(i) * channels + c] =
                int16_t(std::lround(12000.0 * std::sin(2 * M_PI * hz * (c + 1) * i / rate)));
    return samples;
}

inline std::vector<uint8_t> Bytes(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out(samples.size() * 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        out[2 * i] = uint8_t(samples[i]);
        out[2 * i + 1] = uint8_t(uint16_t(samples[i]) >> 8);
    }
    return out;
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class SoundTest : public ::testing::Test {
protected:
    SoundTest() : sink(mixer, 10) {
        sink.AttachClock([this](uint32_t ms) {
            callbacks.Advance(ms);
            timers.Advance(ms);
        });
        cGZSndOutput output;
        output.openDevice = false;
        output.mixer = &mixer;
        output.callbackThread = &callbacks;
        output.streamTimers = &timers;
        service = std::make_unique<cGZSndSys>(output);
    }
    ~SoundTest() override { service.reset(); }

    void SetUp() override { ASSERT_TRUE(service->Init()); }

    std::string WriteWav(const std::string& name, const platform::PcmFormat& format, const std::vector<int16_t>& samples) {
        const std::vector<uint8_t> bytes = Bytes(samples);
        return WriteWavBytes(name, format, bytes);
    }
    std::string WriteWavBytes(const std::string& name, const platform::PcmFormat& format,
                              const std::vector<uint8_t>& bytes) {
        const std::filesystem::path path = dir / name;
        WriteFile(path, platform::EncodeWav(format, bytes.data(), bytes.size()));
        return path.string();
    }

    // The left channel of what was mixed.
    std::vector<int16_t> Left() const {
        std::vector<int16_t> out;
        const auto& all = sink.Captured();
        for (size_t i = 0; i < all.size(); i += 2) out.push_back(all[i]);
        return out;
    }

    tova_test::ScratchDir dir;
    cRZCallbackThread callbacks{cRZCallbackThread::Manual{}};
    platform::PeriodicTimer timers{platform::PeriodicTimer::Mode::Manual};
    platform::AudioMixer mixer;
    platform::OfflineAudioSink sink;
    std::unique_ptr<cGZSndSys> service;
};

// A sound made by the service, released at the end of the scope.
struct SoundRef {
    explicit SoundRef(cIGZSnd* s) : sound(static_cast<cGZSnd*>(s)) {}
    ~SoundRef() {
        if (sound) sound->Release();
    }
    SoundRef(const SoundRef&) = delete;
    SoundRef& operator=(const SoundRef&) = delete;
    cGZSnd* operator->() const { return sound; }
    cGZSnd* sound;
};

}  // namespace sound_test
