#include "framework/cRZCallbackThread.h"

#include <chrono>
#include <cstdint>
#include <vector>

#include "framework/cGZFrameWork.h"
#include "framework/cRZCallbackTimer.h"
#include "framework/cRZLock.h"
#include "platform/Clock.h"

namespace {

// The name under which a callback that threw is reported.
constexpr const char* kCrashName = "Callback Timer";

}  // namespace

cRZCallbackThread::cRZCallbackThread() : mStartCount(platform::PerfCounter()) {}

cRZCallbackThread::cRZCallbackThread(Manual) : mStartCount(0), mbManual(true) {}

cRZCallbackThread::~cRZCallbackThread() {
    if (!IsWorkerThread()) Shutdown(UINT32_MAX);
}

bool cRZCallbackThread::Shutdown(uint32_t waitMs) {
    std::unique_lock<std::mutex> lock(mListLock);
    mbStop = true;
    mbChanged = true;
    mListChanged.notify_all();
    if (!mbStarted) return true;
    if (IsWorkerThread()) return false;
    auto ended = [this] { return mbWorkerEnded; };
    if (waitMs == UINT32_MAX) {
        mListChanged.wait(lock, ended);
    } else if (!mListChanged.wait_for(lock, std::chrono::milliseconds(waitMs), ended)) {
        return false;
    }
    lock.unlock();
    mWorker.WaitForEnd();
    return true;
}

cRZCallbackThread& cRZCallbackThread::Get() {
    // Never destroyed by the language: the holder decides at exit whether the
    // object may go.
    struct Holder {
        cRZCallbackThread* thread = new cRZCallbackThread;
        ~Holder() {
            if (thread->Shutdown(kExitWaitMs)) delete thread;
        }
    };
    static Holder holder;
    return *holder.thread;
}

uint32_t cRZCallbackThread::NowMs() const {
    if (mbManual) return mManualNow;
    return static_cast<uint32_t>((platform::PerfCounter() - mStartCount) / 1000000);
}

uint32_t cRZCallbackThread::AddTimer(Callback fn, void* context, cRZCallbackTimer* timer, uint32_t periodMs,
                                     bool oneShot, bool rearmFromNow) {
    // A repeating period of 0 would fire without end within one instant.
    if (!oneShot && periodMs == 0) periodMs = 1;
    std::lock_guard<std::mutex> lock(mListLock);
    uint32_t key = mNextKey++;
    if (mNextKey == 0) mNextKey = 1;
    // The timer learns its key before the worker can see the entry: a pass
    // skips a timer whose key differs (stopped or re-armed meanwhile).
    if (timer) timer->mnKey = key;
    mEntries.push_back({key, timer, fn, context, oneShot, periodMs, NowMs() + periodMs, rearmFromNow});
    if (!mbStarted && !mbStop && !mbManual) {
        mbStarted = true;
        mWorker.Start(this);
    }
    mbChanged = true;
    mListChanged.notify_all();
    return key;
}

bool cRZCallbackThread::RemoveTimer(uint32_t key) {
    std::lock_guard<std::mutex> lock(mListLock);
    for (auto it = mEntries.begin(); it != mEntries.end(); ++it) {
        if (it->key != key) continue;
        mEntries.erase(it);
        mbChanged = true;
        mListChanged.notify_all();
        return true;
    }
    return false;
}

void cRZCallbackThread::StopAll() {
    cRZLock pass(mCallbackLock);
    std::lock_guard<std::mutex> lock(mListLock);
    mbStop = true;
    mEntries.clear();
    mbChanged = true;
    mListChanged.notify_all();
}

void cRZCallbackThread::WaitForPass() {
    if (IsWorkerThread()) return;
    cRZLock pass(mCallbackLock);
}

size_t cRZCallbackThread::GetEntryCount() {
    std::lock_guard<std::mutex> lock(mListLock);
    return mEntries.size();
}

bool cRZCallbackThread::RunPass(int64_t& waitMs, uint32_t& readTime) {
    struct Call {
        uint32_t key;
        cRZCallbackTimer* timer;
        Callback fn;
        void* context;
    };
    std::vector<Call> due;
    waitMs = -1;  // -1: nothing left in the list
    // One pass: collect what is due, then call it, all under the callback
    // lock so that Stop from another thread can wait for the pass.
    cRZLock pass(mCallbackLock);
    {
        std::lock_guard<std::mutex> lock(mListLock);
        if (mbStop) return false;
        mbChanged = false;
        readTime = NowMs();
        for (auto it = mEntries.begin(); it != mEntries.end();) {
            if (static_cast<int32_t>(it->dueMs - readTime) <= 0) {
                // A timer released to 0 is being deleted on another
                // thread: a reference taken now would delete it again.
                if (it->timer && !it->timer->AddRefIfAlive()) {
                    it = mEntries.erase(it);
                    continue;
                }
                due.push_back({it->key, it->timer, it->fn, it->context});
                if (it->oneShot) {
                    it = mEntries.erase(it);
                    continue;
                }
                it->dueMs = it->rearmFromNow ? readTime + it->periodMs : it->dueMs + it->periodMs;
            }
            int64_t untilDue = static_cast<int32_t>(it->dueMs - readTime);
            if (waitMs < 0 || untilDue < waitMs) waitMs = untilDue < 0 ? 0 : untilDue;
            ++it;
        }
    }
    for (const Call& call : due) {
        if (!call.timer) continue;
        call.timer->AddRef();
        // Skip a timer that was stopped (or re-armed) since this pass
        // picked it up, or that only this pass still holds.
        if (call.timer->GetRefCount() > 2 && call.timer->GetKey() == call.key) {
            try {
                call.fn(call.context);
            } catch (...) {
                call.timer->Stop();
                ReportCallbackCrash(kCrashName);
            }
        }
        call.timer->Release();
        call.timer->Release();
    }
    return true;
}

void cRZCallbackThread::Advance(uint32_t ms) {
    if (!mbManual) return;
    const uint32_t target = mManualNow + ms;
    for (;;) {
        // The earliest entry due by the target, if any.
        bool found = false;
        uint32_t earliest = 0;
        {
            std::lock_guard<std::mutex> lock(mListLock);
            if (mbStop) return;
            for (const Entry& e : mEntries) {
                if (static_cast<int32_t>(e.dueMs - target) > 0) continue;
                if (!found || static_cast<int32_t>(e.dueMs - earliest) < 0) earliest = e.dueMs;
                found = true;
            }
        }
        if (!found) break;
        if (static_cast<int32_t>(earliest - mManualNow) > 0) mManualNow = earliest;
        int64_t waitMs;
        uint32_t readTime;
        if (!RunPass(waitMs, readTime)) return;
    }
    mManualNow = target;
}

int cRZCallbackThread::Run() {
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mListLock);
            mListChanged.wait(lock, [this] { return mbStop || !mEntries.empty(); });
            if (mbStop) break;
        }

        uint32_t readTime = 0;
        int64_t waitMs = -1;
        if (!RunPass(waitMs, readTime)) break;

        std::unique_lock<std::mutex> lock(mListLock);
        if (mbStop) break;
        if (mbChanged || mEntries.empty() || waitMs < 0) continue;
        int64_t remaining = waitMs - static_cast<int32_t>(NowMs() - readTime);
        if (remaining <= 0) continue;
        mListChanged.wait_for(lock, std::chrono::milliseconds(remaining), [this] { return mbStop || mbChanged; });
    }
    std::lock_guard<std::mutex> lock(mListLock);
    mbWorkerEnded = true;
    mListChanged.notify_all();
    return 0;
}
