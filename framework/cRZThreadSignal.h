// An event that waiting threads are released by. Signal releases the threads
// waiting at that moment (one for an automatic-reset signal, all for a
// manual-reset one); a signal with no waiter is lost. Waits are given in
// microseconds.
#pragma once

#include <cstdint>

#include "framework/cRZThreadSafeObject.h"
#include "platform/Sync.h"

class cIGZThreadSignal {
public:
    virtual void Release() = 0;  // deletes the object
    virtual void Signal() = 0;
    virtual void SignalAll() = 0;
    virtual bool Wait(uint32_t microseconds) = 0;
    virtual bool IsValid() const = 0;

protected:
    virtual ~cIGZThreadSignal() = default;
};

class cRZThreadSignal : public cIGZThreadSignal, public cRZThreadSafeObject {
public:
    explicit cRZThreadSignal(bool manualReset);
    ~cRZThreadSignal() override = default;

    void Release() override { delete this; }
    void Signal() override;
    void SignalAll() override;  // the same as Signal
    // 0 waits until signalled. Otherwise waits (microseconds >> 10)
    // milliseconds, so anything below 1024 only polls. True when signalled.
    bool Wait(uint32_t microseconds) override;
    bool IsValid() const override { return true; }
    // Threads waiting right now.
    int GetWaiterCount() { return mEvent.WaiterCount(); }

private:
    // Waiting threads do not hold the signal's own lock, so several can wait
    // at once and a manual-reset signal releases every one of them.
    platform::Event mEvent;
};
