#include "framework/cRZThreadSignal.h"

cRZThreadSignal::cRZThreadSignal(bool manualReset) : mEvent(manualReset) {}

void cRZThreadSignal::Signal() { mEvent.Pulse(); }

void cRZThreadSignal::SignalAll() { mEvent.Pulse(); }

bool cRZThreadSignal::Wait(uint32_t microseconds) {
    if (microseconds == 0) return mEvent.Wait(platform::kWaitForever);
    return mEvent.Wait(microseconds >> 10);
}
