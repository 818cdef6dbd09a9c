// Calls a function after an interval, once or repeatedly, on the program's
// timer thread. Reference counted (the count starts at 1): Release at 0
// deletes it. Intervals are in milliseconds.
#pragma once

#include <atomic>
#include <cstdint>

class cRZCallbackThread;

class cRZCallbackTimer {
public:
    using Callback = void (*)(void* context);

    // The program's timer thread unless another is given (tests).
    explicit cRZCallbackTimer(cRZCallbackThread* thread = nullptr);
    // Stops the timer and waits for a call of it under way.
    virtual ~cRZCallbackTimer();
    cRZCallbackTimer(const cRZCallbackTimer&) = delete;
    cRZCallbackTimer& operator=(const cRZCallbackTimer&) = delete;

    // Both setters restart an armed timer (of the same kind) from now.
    virtual bool SetAuxValue(uint32_t value);
    virtual bool GetAuxValue(uint32_t& out) const;
    virtual bool SetInterval(uint32_t ms);
    virtual bool GetInterval(uint32_t& out) const;
    // False when armed or without a callback. A non-zero ms replaces the
    // stored interval.
    virtual bool StartRepeating(uint32_t ms = 0);
    // False when armed or without a callback. A non-zero ms is used for this
    // run only.
    virtual bool StartOnce(uint32_t ms = 0);
    // Disarms; from another thread than the timer thread it also waits for a
    // call already under way.
    virtual bool Stop();
    virtual uint32_t AddRef();
    // Adds a reference unless the count already reached 0 (the timer is
    // being deleted); the timer thread takes its references this way.
    bool AddRefIfAlive();
    virtual bool SetCallback(Callback fn, void* context);
    uint32_t Release();

    bool IsArmed() const { return mbArmed; }
    // Armed: started and not yet stopped (a one-shot stops when it fires).
    bool IsRunning() const { return mbArmed; }
    uint32_t GetKey() const { return mnKey; }
    uint32_t GetRefCount() const { return mnRefCount; }

    // The entry function the timer thread calls.
    static void Dispatch(void* timer);

private:
    friend class cRZCallbackThread;  // stores mnKey while it adds the entry

    bool Arm(uint32_t periodMs, bool oneShot);
    void Rearm();

    cRZCallbackThread* mpThread;
    std::atomic<Callback> mpCallback{nullptr};
    std::atomic<void*> mpContext{nullptr};
    uint32_t mnAuxValue = 100;
    uint32_t mnInterval = 1000;
    std::atomic<bool> mbArmed{false};
    std::atomic<bool> mbOneShot{false};
    std::atomic<uint32_t> mnKey{0};
    std::atomic<uint32_t> mnRefCount{1};
};
