// The 16-tap low-pass filter that each sound runs over the samples it writes
// into its buffers (the game turns it on to soften some sounds). Mode 1 loads
// the standard coefficients (in 1/4096); any mode change clears the history.
// Each channel keeps its own history, and only 16-bit data is filtered: 8-bit
// data passes unchanged. Each term of the sum is floored on its own, so a
// full-scale block settles at 30624 (and -30640). Modes other than 0 and 1
// pass blocks through unchanged. The sound buffers know it as cGZSndFilter.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class SoundOutputFilter {
public:
    static constexpr int kTaps = 16;

    // Always true; clears the history.
    bool SetMode(int32_t mode);
    // Clears the history: the next samples follow silence.
    void Reset();
    int32_t GetMode() const { return mMode; }
    void SetValue(int32_t value) { mValue = value; }
    int32_t GetValue() const { return mValue; }
    void SetRate(int32_t rate) { mRate = rate; }
    int32_t GetRate() const { return mRate; }
    // The layout of the samples that Apply will see; a change clears the
    // history.
    void SetFormat(uint16_t channels, uint16_t bitsPerSample);

    // Filters the samples in place (mode 0: nothing).
    void Apply(void* samples, size_t bytes);
    // The same over a block of 16-bit samples of byteCount bytes; always true.
    bool Process(int16_t* samples, uint32_t byteCount) {
        Apply(samples, byteCount);
        return true;
    }

private:
    int32_t mMode = 0;
    int32_t mValue = 0;
    int32_t mRate = 44100;
    int mTapCount = kTaps;
    std::array<int32_t, kTaps> mCoefficients{};
    uint16_t mChannels = 1;
    uint16_t mBits = 16;
    std::array<std::array<int32_t, kTaps>, 2> mHistory{};
    std::array<int, 2> mWrite{};
};

using cGZSndFilter = SoundOutputFilter;
