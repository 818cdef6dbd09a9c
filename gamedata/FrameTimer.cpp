#include "gamedata/FrameTimer.h"

#include <algorithm>

void FrameTimer::Init(int32_t periodMs, int32_t capPeriods) {
    mnAccumulated = 0;
    mnPeriod = periodMs < 1 ? 1 : periodMs;
    mnLast = 0;
    mnCap = capPeriods < 0 ? 0 : capPeriods;
}

void FrameTimer::Accumulate(int32_t nowMs) {
    if (mnLast != 0) {
        // Unsigned difference: right across the wrap of the millisecond clock.
        const int64_t elapsed = static_cast<int32_t>(static_cast<uint32_t>(nowMs) - static_cast<uint32_t>(mnLast));
        mnAccumulated = static_cast<int32_t>(std::clamp<int64_t>(mnAccumulated + elapsed, INT32_MIN, INT32_MAX));
    } else {
        mnAccumulated = mnPeriod;  // the first call makes one step due at once
    }
    mnLast = nowMs;
    const int64_t cap = int64_t{mnCap} * mnPeriod;
    if (mnCap > 0 && mnAccumulated > cap) mnAccumulated = static_cast<int32_t>(cap);
}

int FrameTimer::TakeStep() {
    if (mnAccumulated < mnPeriod) return 0;
    mnAccumulated -= mnPeriod;
    return 1;
}
