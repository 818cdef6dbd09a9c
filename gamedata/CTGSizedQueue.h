// A fixed-capacity ring of values that overwrites its oldest value when
// full; used to measure frames per second from the times of drawn frames.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Clock.h"

template <typename T, size_t N>
class CTGSizedQueue {
    static_assert(N > 0);

public:
    CTGSizedQueue() = default;
    virtual ~CTGSizedQueue() = default;

    void Push(T value) {
        mValues[mWrite] = value;
        mWrite = (mWrite + 1) % N;
        if (mFull)
            mRead = mWrite;  // the oldest value was overwritten
        else if (mWrite == mRead)
            mFull = true;
    }
    // Pushes the millisecond clock.
    void PushNow() { Push(static_cast<T>(platform::TimeMs())); }

    size_t GetCount() const {
        if (mWrite > mRead) return mWrite - mRead;
        if (mWrite < mRead) return mWrite + N - mRead;
        return mFull ? N : 0;
    }
    // The i-th value from the oldest.
    T GetAt(size_t i) const { return mValues[(mRead + i) % N]; }

    // Values per second between the oldest and the newest (the values being
    // millisecond times), then empties the queue. 0 with fewer than two
    // values or when they all fall into the same millisecond.
    long double GetRatePerSecond() {
        long double rate = 0;
        size_t n = GetCount();
        if (n > 1) {
            T newest = GetAt(n - 1);
            T oldest = GetAt(0);
            if (newest != oldest)
                rate = static_cast<long double>(n - 1) * 1000.0L / static_cast<long double>(newest - oldest);
        }
        mWrite = mRead = 0;
        mFull = false;
        return rate;
    }

private:
    T mValues[N] = {};
    size_t mWrite = 0;
    size_t mRead = 0;
    bool mFull = false;
};

using FrameRateQueue = CTGSizedQueue<unsigned long, 1000>;
