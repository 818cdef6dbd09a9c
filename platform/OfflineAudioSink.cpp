#include "platform/OfflineAudioSink.h"

#include <algorithm>

namespace platform {

OfflineAudioSink::OfflineAudioSink(AudioMixer& mixer, uint32_t stepMs)
    : mMixer(mixer), mStepMs(stepMs == 0 ? 1 : stepMs) {}

void OfflineAudioSink::AttachClock(std::function<void(uint32_t)> advance) { mClocks.push_back(std::move(advance)); }

void OfflineAudioSink::Render(size_t frames) {
    const size_t channels = mMixer.GetOutputFormat().channels;
    const size_t start = mCaptured.size();
    mCaptured.resize(start + frames * channels);
    mMixer.Render(mCaptured.data() + start, frames);
}

void OfflineAudioSink::Advance(uint32_t ms) {
    while (ms > 0) {
        const uint32_t step = std::min(ms, mStepMs);
        for (auto& clock : mClocks) clock(step);
        ms -= step;
        mElapsedMs += step;
        // Frames follow the clock exactly, without drift from rounding.
        const uint64_t due = mElapsedMs * mMixer.GetOutputFormat().samplesPerSec / 1000;
        Render(static_cast<size_t>(due - mFramesRendered));
        mFramesRendered = due;
    }
}

bool OfflineAudioSink::WriteWav(const std::filesystem::path& path, std::string& error) const {
    const PcmFormat& format = mMixer.GetOutputFormat();
    std::vector<uint8_t> bytes(mCaptured.size() * 2);
    for (size_t i = 0; i < mCaptured.size(); ++i) {
        const uint16_t v = static_cast<uint16_t>(mCaptured[i]);
        bytes[2 * i] = static_cast<uint8_t>(v);
        bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
    return WriteWavFile(path, format, bytes.data(), bytes.size(), error);
}

}  // namespace platform
