// The clock of a movie without a sound device: a play position that moves
// on one 10 ms step of 16-bit stereo at the stream's rate per tick, over a
// ring the size of the device's would-be buffer.
#pragma once

#include <cstdint>

class MovieDevicelessClock {
public:
    static constexpr uint32_t kRingBytes = 32768;
    static constexpr uint32_t kTickMs = 10;

    explicit MovieDevicelessClock(int32_t rate = 22050)
        : mBytesPerTick(uint32_t(rate >= 100 && rate <= 100000 ? rate : 22050) * 4 / (1000 / kTickMs)) {}

    void Tick() { mPosition = (mPosition + mBytesPerTick) % kRingBytes; }
    uint32_t Position() const { return mPosition; }
    uint32_t BytesPerTick() const { return mBytesPerTick; }

private:
    uint32_t mBytesPerTick;
    uint32_t mPosition = 0;
};
