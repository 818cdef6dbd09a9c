// The tick profiler: where the time of each idle step went. Code appends
// labelled samples during a tick; at the end of the tick the samples become
// intervals (each labelled with the work that began at its start), which a
// developer window reads. Off by default; while off it stores nothing.
// Times come from the monotonic high-resolution counter.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct TPSample {
    int64_t stamp = 0;            // counter value when the sample was made
    const char* label = nullptr;  // a constant text
    int32_t value = 0;
};

struct TPInterval {
    int64_t stamp = 0;     // start of the interval
    float microseconds = 0;
    const char* label = nullptr;
};

class TP {
public:
    TP();

    // The program's one profiler.
    static TP& Get();

    void AddSample(const char* label, int32_t value = 0);
    void AddSample(const TPSample& sample);
    void AddFrameSample(const TPSample& sample);
    // End of an idle step: turn this tick's samples into intervals.
    void PerTickProcessing();

    const std::vector<TPInterval>& GetIntervals() const { return mIntervals; }
    const std::vector<TPSample>& GetTickSamples() const { return mTickSamples; }
    const std::vector<TPSample>& GetFrameSamples() const { return mFrameSamples; }
    const std::vector<TPSample>& GetPreviousFrameSamples() const { return mPreviousFrameSamples; }

    static bool IsEnabled();
    // The game turns the profiler on at start-up.
    static void SetEnabled(bool on);
    // Counts per second of the clock.
    static double GetFrequency();
    // Tests drive the profiler with a clock of their own (null: the real one).
    static void SetClock(std::function<int64_t()> clock, double frequency);
    static int64_t Now();

private:
    std::vector<TPSample> mTickSamples;
    std::vector<TPSample> mFrameSamples;
    std::vector<TPSample> mPreviousFrameSamples;
    std::vector<TPInterval> mIntervals;
    TPSample mEndMark;
};
