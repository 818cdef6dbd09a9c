// Locks and events with the behaviour the game was designed around: a
// recursive lock that counts its holders and can be tried, and events that
// can be set, reset or pulsed (a pulse releases only the threads that wait at
// that moment and is lost when nobody waits).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <mutex>

namespace platform {

// A lock the holding thread may enter again. The count is every successful
// Enter/TryEnter minus every Leave, over all threads.
class CriticalSection {
public:
    CriticalSection() = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter();
    void Leave();
    bool TryEnter();
    int LockCount() const { return count_.load(std::memory_order_relaxed); }

private:
    std::recursive_mutex mutex_;
    std::atomic<int> count_{0};
};

// Holds a critical section for one block.
class ScopedLock {
public:
    explicit ScopedLock(CriticalSection& section) : section_(section) { section_.Enter(); }
    ~ScopedLock() { section_.Leave(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    CriticalSection& section_;
};

// Waiting "forever" in the millisecond waits of this layer.
inline constexpr uint32_t kWaitForever = 0xFFFFFFFFu;

// An event with automatic or manual reset.
//   Set:   manual reset: signalled until Reset, every waiter released.
//          automatic reset: releases one waiter, or stays signalled until one
//          wait consumes it.
//   Pulse: releases the threads waiting at that moment (one of them for an
//          automatic-reset event, all for a manual-reset one) and leaves the
//          event not signalled; with nobody waiting it does nothing.
class Event {
public:
    explicit Event(bool manualReset, bool initiallySet = false);
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    void Pulse();
    // True when the event released this thread, false on time-out.
    bool Wait(uint32_t milliseconds = kWaitForever);
    // Threads waiting right now (for tests that must pulse a present waiter).
    int WaiterCount();
    bool IsManualReset() const { return manual_; }

private:
    struct Waiter {
        bool released = false;
    };
    // Releases waiters under the lock; answers how many were released.
    int ReleaseWaiters(bool all);

    const bool manual_;
    bool signalled_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::list<Waiter*> waiters_;  // in arrival order
};

}  // namespace platform
