#include "gamedata/CycleTimer.h"

#include "platform/Clock.h"

namespace {
double gCycleRate = 0;
}

double MeasureCycleRate() { return static_cast<double>(platform::PerfFrequency()); }

CycleTimer::CycleTimer() {
    if (gCycleRate < 1) gCycleRate = MeasureCycleRate();
}

void CycleTimer::Start() {
    mbRunning = true;
    mnStart = platform::PerfCounter();
}

void CycleTimer::Stop() {
    if (mbRunning) mnElapsed = platform::PerfCounter() - mnStart;
    mbRunning = false;
}

double CycleTimer::GetElapsedSeconds() const {
    return gCycleRate > 0 ? static_cast<double>(mnElapsed) / gCycleRate : 0.0;
}
