#include "framework/SoundOutputFilter.h"

#include <algorithm>

namespace {

constexpr std::array<int32_t, SoundOutputFilter::kTaps> kLowPass = {67,  96,  152, 214, 277, 334, 376, 399,
                                                                   399, 376, 334, 277, 214, 152, 96,  67};

}  // namespace

void SoundOutputFilter::SetMode(int32_t mode) {
    mMode = mode;
    if (mode == 1) {
        mCoefficients = kLowPass;
        mTapCount = kTaps;
    }
    for (auto& h : mHistory) h.fill(0);
    mWrite.fill(0);
}

void SoundOutputFilter::SetFormat(uint16_t channels, uint16_t bitsPerSample) {
    if (channels == mChannels && bitsPerSample == mBits) return;
    mChannels = channels;
    mBits = bitsPerSample;
    for (auto& h : mHistory) h.fill(0);
    mWrite.fill(0);
}

void SoundOutputFilter::Apply(void* samples, size_t bytes) {
    if (mMode == 0 || mBits != 16 || mChannels == 0 || mChannels > 2) return;
    auto* p = static_cast<uint8_t*>(samples);
    const size_t count = bytes / 2;
    for (size_t i = 0; i < count; ++i) {
        const size_t channel = i % mChannels;
        auto& history = mHistory[channel];
        int& write = mWrite[channel];
        history[write] = static_cast<int16_t>(p[2 * i] | p[2 * i + 1] << 8);
        write = (write + 1) % kTaps;
        // Newest sample against the first coefficient.
        int64_t sum = 0;
        for (int t = 0; t < mTapCount; ++t) sum += int64_t{history[(write - 1 - t + kTaps) % kTaps]} * mCoefficients[t];
        const int32_t out = static_cast<int32_t>(std::clamp<int64_t>(sum >> 12, -32768, 32767));
        p[2 * i] = static_cast<uint8_t>(out);
        p[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(out) >> 8);
    }
}
