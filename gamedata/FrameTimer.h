// A fixed-step accumulator: real milliseconds go in, whole steps of one
// period come out. A cap keeps a long pause from producing a flood of steps.
#pragma once

#include <cstdint>

class FrameTimer {
public:
    FrameTimer() = default;

    // Period in milliseconds (not below 1) and cap in periods (0: none).
    void Init(int32_t periodMs = 100, int32_t capPeriods = 0);
    void Accumulate(int32_t nowMs);
    // 1 when a step is due (and takes it), else 0.
    int TakeStep();

    int32_t GetAccumulated() const { return mnAccumulated; }
    int32_t GetPeriod() const { return mnPeriod; }

private:
    int32_t mnAccumulated = 0;
    int32_t mnPeriod = 100;
    int32_t mnLast = 0;  // 0: no time seen yet
    int32_t mnCap = 0;
};
