#include "framework/cRZCallbackTimer.h"

#include "framework/cRZCallbackThread.h"

cRZCallbackTimer::cRZCallbackTimer(cRZCallbackThread* thread)
    : mpThread(thread ? thread : &cRZCallbackThread::Get()) {}

cRZCallbackTimer::~cRZCallbackTimer() {
    // Also when disarmed: a one-shot disarms itself before its call, and the
    // timer thread uses the timer until that call has returned.
    Stop();
    mpCallback = nullptr;
    mpContext = nullptr;
}

bool cRZCallbackTimer::SetAuxValue(uint32_t value) {
    mnAuxValue = value;
    Rearm();
    return true;
}

bool cRZCallbackTimer::GetAuxValue(uint32_t& out) const {
    out = mnAuxValue;
    return true;
}

bool cRZCallbackTimer::SetInterval(uint32_t ms) {
    mnInterval = ms;
    Rearm();
    return true;
}

bool cRZCallbackTimer::GetInterval(uint32_t& out) const {
    out = mnInterval;
    return true;
}

void cRZCallbackTimer::Rearm() {
    if (!mbArmed) return;
    bool oneShot = mbOneShot;
    Stop();
    Arm(mnInterval, oneShot);
}

bool cRZCallbackTimer::Arm(uint32_t periodMs, bool oneShot) {
    mbArmed = true;
    mbOneShot = oneShot;
    mpThread->AddTimer(&Dispatch, this, this, periodMs, oneShot, false);  // sets mnKey
    return true;
}

bool cRZCallbackTimer::StartRepeating(uint32_t ms) {
    if (mbArmed || !mpCallback) return false;
    if (ms != 0) mnInterval = ms;
    return Arm(mnInterval, false);
}

bool cRZCallbackTimer::StartOnce(uint32_t ms) {
    if (mbArmed || !mpCallback) return false;
    return Arm(ms != 0 ? ms : mnInterval, true);
}

bool cRZCallbackTimer::Stop() {
    uint32_t key = mnKey.exchange(0);
    if (key != 0) mpThread->RemoveTimer(key);
    mbArmed = false;
    mbOneShot = false;
    // A pass may already have picked this timer up; let it finish first.
    mpThread->WaitForPass();
    return true;
}

uint32_t cRZCallbackTimer::AddRef() { return ++mnRefCount; }

bool cRZCallbackTimer::AddRefIfAlive() {
    uint32_t count = mnRefCount.load();
    while (count != 0)
        if (mnRefCount.compare_exchange_weak(count, count + 1)) return true;
    return false;
}

uint32_t cRZCallbackTimer::Release() {
    uint32_t count = --mnRefCount;
    if (count == 0) delete this;
    return count;
}

bool cRZCallbackTimer::SetCallback(Callback fn, void* context) {
    mpCallback = fn;
    mpContext = context;
    return true;
}

void cRZCallbackTimer::Dispatch(void* context) {
    auto* timer = static_cast<cRZCallbackTimer*>(context);
    if (timer->mbOneShot) {
        // Disarmed last: once the owner sees it disarmed it may arm again,
        // and nothing here may overwrite the new key.
        timer->mnKey = 0;
        timer->mbOneShot = false;
        timer->mbArmed = false;
    }
    if (Callback fn = timer->mpCallback) fn(timer->mpContext);
}
