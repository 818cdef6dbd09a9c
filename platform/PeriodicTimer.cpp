#include "platform/PeriodicTimer.h"

#include <algorithm>

namespace platform {

PeriodicTimer::PeriodicTimer(Mode mode) : mMode(mode), mEpoch(std::chrono::steady_clock::now()) {
    if (mMode == Mode::Real) mThread = std::thread([this] { Worker(); });
}

PeriodicTimer::~PeriodicTimer() {
    {
        std::lock_guard lock(mLock);
        mStop = true;
        mEntries.clear();
    }
    mChanged.notify_all();
    if (mThread.joinable()) mThread.join();
}

PeriodicTimer& PeriodicTimer::System() {
    static PeriodicTimer timers(Mode::Real);
    return timers;
}

uint64_t PeriodicTimer::NowMs() const {
    if (mMode == Mode::Manual) {
        std::lock_guard lock(mLock);
        return mManualNow;
    }
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - mEpoch).count());
}

uint32_t PeriodicTimer::Start(uint32_t periodMs, Callback callback, bool periodic) {
    if (periodMs == 0 || !callback) return 0;
    const uint64_t now = NowMs();
    std::lock_guard lock(mLock);
    if (mStop) return 0;
    uint32_t id = mNextId++;
    while (id == 0 || mEntries.count(id) || id == mRunningId) id = mNextId++;
    mEntries[id] = Entry{now + periodMs, periodMs, periodic, std::move(callback)};
    mChanged.notify_all();
    return id;
}

bool PeriodicTimer::Kill(uint32_t id) {
    std::unique_lock lock(mLock);
    const bool armed = mEntries.erase(id) > 0;
    mChanged.notify_all();
    // Wait out a call under way, unless this is that call killing itself.
    if (id != 0 && mRunningId == id && mRunningThread != std::this_thread::get_id())
        mChanged.wait(lock, [&] { return mRunningId != id; });
    return armed;
}

size_t PeriodicTimer::Count() const {
    std::lock_guard lock(mLock);
    return mEntries.size();
}

bool PeriodicTimer::RunOneDue(std::unique_lock<std::mutex>& lock, uint64_t until) {
    auto earliest = mEntries.end();
    for (auto it = mEntries.begin(); it != mEntries.end(); ++it)
        if (it->second.due <= until && (earliest == mEntries.end() || it->second.due < earliest->second.due))
            earliest = it;
    if (earliest == mEntries.end()) return false;
    const uint32_t id = earliest->first;
    Entry& entry = earliest->second;
    if (mMode == Mode::Manual && entry.due > mManualNow) mManualNow = entry.due;
    // Copied: the callback may kill (erase) its own entry or start others.
    Callback callback = entry.callback;
    if (entry.periodic) {
        entry.due += entry.period;
        // A timer far behind (a stalled thread) skips the missed periods.
        if (mMode == Mode::Real && entry.due + entry.period < until) entry.due = until + entry.period;
    } else {
        mEntries.erase(earliest);
    }
    mRunningId = id;
    mRunningThread = std::this_thread::get_id();
    lock.unlock();
    callback();
    lock.lock();
    mRunningId = 0;
    mRunningThread = std::thread::id();
    mChanged.notify_all();
    return true;
}

void PeriodicTimer::Advance(uint32_t ms) {
    if (mMode != Mode::Manual) return;
    std::unique_lock lock(mLock);
    const uint64_t target = mManualNow + ms;
    while (!mStop && RunOneDue(lock, target)) {
    }
    mManualNow = target;
}

void PeriodicTimer::Worker() {
    std::unique_lock lock(mLock);
    while (!mStop) {
        const uint64_t now = static_cast<uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - mEpoch).count());
        if (RunOneDue(lock, now)) continue;
        uint64_t next = UINT64_MAX;
        for (const auto& [id, entry] : mEntries) next = std::min(next, entry.due);
        if (next == UINT64_MAX)
            mChanged.wait(lock);
        else
            mChanged.wait_until(lock, mEpoch + std::chrono::milliseconds(next));
    }
}

}  // namespace platform
