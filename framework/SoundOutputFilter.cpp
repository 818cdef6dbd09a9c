#include "framework/SoundOutputFilter.h"


namespace {

constexpr std::array<int32_t, SoundOutputFilter::kTaps> kLowPass = {67,  96,  152, 214, 277, 334, 376, 399,
                                                                   399, 376, 334, 277, 214, 152, 96,  67};

}  // namespace

bool SoundOutputFilter::SetMode(int32_t mode) {
    mMode = mode;
    if (mode == 1) {
        mCoefficients = kLowPass;
        mTapCount = kTaps;
    }
    Reset();
    return true;
}

void SoundOutputFilter::Reset() {
    for (auto& h : mHistory) h.fill(0);
    mWrite.fill(0);
}

void SoundOutputFilter::SetFormat(uint16_t channels, uint16_t bitsPerSample) {
    if (channels == mChannels && bitsPerSample == mBits) return;
    mChannels = channels;
    mBits = bitsPerSample;
    Reset();
}

void SoundOutputFilter::Apply(void* samples, size_t bytes) {
    // Only mode 1 is a filter; an unknown mode must not silence the sound.
    if (mMode != 1 || mBits != 16 || mChannels == 0 || mChannels > 2) return;
    auto* p = static_cast<uint8_t*>(samples);
    const size_t count = bytes / 2;
    for (size_t i = 0; i < count; ++i) {
        const size_t channel = i % mChannels;
        auto& history = mHistory[channel];
        int& write = mWrite[channel];
        history[write] = static_cast<int16_t>(p[2 * i] | p[2 * i + 1] << 8);
        write = (write + 1) % kTaps;
        // Newest sample against the first coefficient; each product is
        // floored before it is added.
        int32_t sum = 0;
        for (int t = 0; t < mTapCount; ++t) sum += (history[(write - 1 - t + kTaps) % kTaps] * mCoefficients[t]) >> 12;
        p[2 * i] = static_cast<uint8_t>(sum);
        p[2 * i + 1] = static_cast<uint8_t>(static_cast<uint32_t>(sum) >> 8);
    }
}
