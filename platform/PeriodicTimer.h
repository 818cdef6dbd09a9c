// Periodic timers in place of the multimedia timers: Start arms a callback
// every period (or once), Kill disarms it. Callbacks run on the timers' own
// thread, one at a time and without any lock held, so a callback may kill or
// start timers, itself included. Kill from another thread waits for a call of
// that timer already under way; from inside the callback it returns at once.
//
// A manual timer set has no thread: its clock stands still until Advance,
// which runs every callback that falls due on the calling thread, in time
// order. The offline audio sink and tests drive it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace platform {

class PeriodicTimer {
public:
    enum class Mode { Real, Manual };
    using Callback = std::function<void()>;

    explicit PeriodicTimer(Mode mode = Mode::Real);
    // Kills every timer and stops the thread.
    ~PeriodicTimer();
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;

    // The process's real timers.
    static PeriodicTimer& System();

    // The timer's id (never 0), or 0 for a period of 0 or no callback.
    uint32_t Start(uint32_t periodMs, Callback callback, bool periodic = true);
    // False for an id that is not armed.
    bool Kill(uint32_t id);
    size_t Count() const;

    Mode GetMode() const { return mMode; }
    // Milliseconds on this timer set's clock.
    uint64_t NowMs() const;
    // Manual mode: moves the clock on, running what falls due.
    void Advance(uint32_t ms);

private:
    struct Entry {
        uint64_t due;
        uint32_t period;
        bool periodic;
        Callback callback;
    };

    void Worker();
    // Runs the earliest entry due at or before `until`; false when none.
    bool RunOneDue(std::unique_lock<std::mutex>& lock, uint64_t until);

    Mode mMode;
    mutable std::mutex mLock;
    std::condition_variable mChanged;
    std::map<uint32_t, Entry> mEntries;
    uint32_t mNextId = 1;
    uint32_t mRunningId = 0;
    std::thread::id mRunningThread;
    uint64_t mManualNow = 0;
    bool mStop = false;
    std::thread mThread;
    std::chrono::steady_clock::time_point mEpoch;
};

}  // namespace platform
