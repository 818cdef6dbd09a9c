#include "gamedata/FrameTimer.h"

void FrameTimer::Init(int32_t periodMs, int32_t capPeriods) {
    mnAccumulated = 0;
    mnPeriod = periodMs < 1 ? 1 : periodMs;
    mnLast = 0;
    mnCap = capPeriods < 0 ? 0 : capPeriods;
}

void FrameTimer::Accumulate(int32_t nowMs) {
    if (mnLast != 0)
        mnAccumulated += nowMs - mnLast;
    else
        mnAccumulated = mnPeriod;  // the first call makes one step due at once
    mnLast = nowMs;
    if (mnCap > 0 && mnAccumulated > mnCap * mnPeriod) mnAccumulated = mnCap * mnPeriod;
}

int FrameTimer::TakeStep() {
    if (mnAccumulated < mnPeriod) return 0;
    mnAccumulated -= mnPeriod;
    return 1;
}
