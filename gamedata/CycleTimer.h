// A stopwatch on the high-resolution counter (in place of the processor's
// cycle counter, which not every machine has or keeps steady).
#pragma once

#include <cstdint>

// Counts per second of the stopwatch's counter.
double MeasureCycleRate();

class CycleTimer {
public:
    CycleTimer();

    void Start();
    void Stop();

    // Counts between Start and Stop: the low 32 bits, and the whole value
    // in seconds.
    uint32_t GetElapsed() const { return static_cast<uint32_t>(mnElapsed); }
    double GetElapsedSeconds() const;
    bool IsRunning() const { return mbRunning; }

private:
    int64_t mnElapsed = 0;
    int64_t mnStart = 0;
    bool mbRunning = false;
};
