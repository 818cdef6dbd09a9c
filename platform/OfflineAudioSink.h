// The audio sink of tests and of faster-than-real-time tools: it mixes on
// demand and keeps what it mixed. Advance moves a manual clock on in small
// steps; each step first advances the clocks attached to it (the sound's
// timers, so refills and completions happen at the right moment), then mixes
// that step's frames.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/AudioMixer.h"

namespace platform {

class OfflineAudioSink {
public:
    explicit OfflineAudioSink(AudioMixer& mixer, uint32_t stepMs = 10);

    // Called with each step's milliseconds before its frames are mixed.
    void AttachClock(std::function<void(uint32_t ms)> advance);
    void Advance(uint32_t ms);
    // Mixes frames without moving any clock.
    void Render(size_t frames);

    uint64_t ElapsedMs() const { return mElapsedMs; }
    const std::vector<int16_t>& Captured() const { return mCaptured; }
    size_t CapturedFrames() const { return mCaptured.size() / mMixer.GetOutputFormat().channels; }
    void ClearCaptured() { mCaptured.clear(); }
    bool WriteWav(const std::filesystem::path& path, std::string& error) const;

private:
    AudioMixer& mMixer;
    uint32_t mStepMs;
    std::vector<std::function<void(uint32_t)>> mClocks;
    std::vector<int16_t> mCaptured;
    uint64_t mElapsedMs = 0;
    uint64_t mFramesRendered = 0;
};

}  // namespace platform
