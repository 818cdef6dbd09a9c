#include "framework/TP.h"

#include <atomic>

#include "platform/Clock.h"

namespace {

std::atomic<bool> gEnabled{false};
std::function<int64_t()> gClock;
double gFrequency = 0;

}  // namespace

TP::TP() { mEndMark = {Now(), "TP::Constructor", 0}; }

TP& TP::Get() {
    static TP profiler;
    return profiler;
}

bool TP::IsEnabled() { return gEnabled; }
void TP::SetEnabled(bool on) { gEnabled = on; }

double TP::GetFrequency() { return gClock ? gFrequency : static_cast<double>(platform::PerfFrequency()); }

void TP::SetClock(std::function<int64_t()> clock, double frequency) {
    gClock = std::move(clock);
    gFrequency = frequency;
}

int64_t TP::Now() { return gClock ? gClock() : platform::PerfCounter(); }

void TP::AddSample(const char* label, int32_t value) {
    if (IsEnabled()) mTickSamples.push_back({Now(), label, value});
}

void TP::AddSample(const TPSample& sample) {
    if (IsEnabled()) mTickSamples.push_back(sample);
}

void TP::AddFrameSample(const TPSample& sample) {
    if (IsEnabled()) mFrameSamples.push_back(sample);
}

void TP::PerTickProcessing() {
    if (!IsEnabled()) return;
    mTickSamples.push_back({Now(), "TP::PerTickProcessing", 0});
    mIntervals.clear();
    const double frequency = GetFrequency();
    const TPSample* opening = &mEndMark;
    for (const TPSample& sample : mTickSamples) {
        double micros = frequency > 0 ? static_cast<double>(sample.stamp - opening->stamp) / frequency * 1e6 : 0.0;
        mIntervals.push_back({opening->stamp, static_cast<float>(micros), opening->label});
        opening = &sample;
    }
    mTickSamples.clear();
    mPreviousFrameSamples.swap(mFrameSamples);
    mFrameSamples.clear();
    int64_t now = Now();
    mEndMark = {now, "TP::Done", 0};
    mTickSamples.push_back({now, "TP::SystemOverhead", 0});
}
