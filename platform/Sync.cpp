#include "platform/Sync.h"

#include <chrono>

namespace platform {

void CriticalSection::Enter() {
    mutex_.lock();
    count_.fetch_add(1, std::memory_order_relaxed);
}

void CriticalSection::Leave() {
    count_.fetch_sub(1, std::memory_order_relaxed);
    mutex_.unlock();
}

bool CriticalSection::TryEnter() {
    if (!mutex_.try_lock()) return false;
    count_.fetch_add(1, std::memory_order_relaxed);
    return true;
}

Event::Event(bool manualReset, bool initiallySet) : manual_(manualReset), signalled_(initiallySet) {}

int Event::ReleaseWaiters(bool all) {
    int released = 0;
    for (Waiter* w : waiters_) {
        if (w->released) continue;
        w->released = true;
        ++released;
        if (!all) break;
    }
    if (released) cv_.notify_all();
    return released;
}

void Event::Set() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (manual_) {
        signalled_ = true;
        ReleaseWaiters(true);
    } else if (ReleaseWaiters(false) == 0) {
        signalled_ = true;
    }
}

void Event::Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = false;
}

void Event::Pulse() {
    std::lock_guard<std::mutex> lock(mutex_);
    ReleaseWaiters(manual_);
    signalled_ = false;
}

int Event::WaiterCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    int n = 0;
    for (Waiter* w : waiters_)
        if (!w->released) ++n;
    return n;
}

bool Event::Wait(uint32_t milliseconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (signalled_) {
        if (!manual_) signalled_ = false;
        return true;
    }
    if (milliseconds == 0) return false;

    Waiter self;
    auto it = waiters_.insert(waiters_.end(), &self);
    auto done = [&] { return self.released || signalled_; };
    if (milliseconds == kWaitForever) {
        cv_.wait(lock, done);
    } else {
        cv_.wait_for(lock, std::chrono::milliseconds(milliseconds), done);
    }
    waiters_.erase(it);
    if (self.released) return true;
    if (signalled_) {
        if (!manual_) signalled_ = false;
        return true;
    }
    return false;
}

}  // namespace platform
