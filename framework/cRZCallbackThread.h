// The one background thread that runs every callback timer of the program.
// It keeps a list of armed entries, sleeps until the nearest is due (or until
// the list changes), and runs the due callbacks in one pass under the
// callback lock. Stopping a timer from another thread waits for a pass that is
// under way, so no callback runs on a timer whose owner has stopped it.
//
// A manual timer thread has no worker: its clock stands still until Advance,
// which runs the passes that fall due on the calling thread (tests, and tools
// that play sound faster than real time).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <mutex>

#include "framework/cRZCriticalSection.h"
#include "framework/cRZThread.h"

class cRZCallbackTimer;

class cRZCallbackThread : public cIGZThreadStartable {
public:
    using Callback = void (*)(void* context);

    // How long the program's exit waits for a callback under way.
    static constexpr uint32_t kExitWaitMs = 1000;

    cRZCallbackThread();
    struct Manual {};
    explicit cRZCallbackThread(Manual);
    // Stops the worker and waits for it (and for a callback under way): the
    // worker uses this object until it ends.
    ~cRZCallbackThread() override;
    cRZCallbackThread(const cRZCallbackThread&) = delete;
    cRZCallbackThread& operator=(const cRZCallbackThread&) = delete;

    // The program's timer thread. At exit it is stopped and waited for at
    // most kExitWaitMs: a callback blocked longer must not hang the exit, so
    // the thread object is then left in place (nothing the callback or the
    // worker still uses is freed) for the process's end to take.
    static cRZCallbackThread& Get();

    // Sets the stop flag and waits up to `waitMs` for the worker to end;
    // true when it has ended (or never started).
    bool Shutdown(uint32_t waitMs);

    // Arms an entry due after the period; answers its key (never 0), which a
    // timer given here also receives before the worker can see the entry.
    // Entries without a timer object are never called.
    uint32_t AddTimer(Callback fn, void* context, cRZCallbackTimer* timer, uint32_t periodMs, bool oneShot,
                      bool rearmFromNow);
    bool RemoveTimer(uint32_t key);
    // Removes every entry; no timer fires afterwards, not even one armed later.
    void StopAll();
    // Waits until a pass under way has finished (at once on the worker
    // itself, where a callback may stop timers).
    void WaitForPass();
    bool IsWorkerThread() const { return mWorker.IsCurrentThread(); }
    size_t GetEntryCount();

    bool IsManual() const { return mbManual; }
    // Manual clock: moves it on by ms, running each pass as it falls due.
    void Advance(uint32_t ms);
    uint32_t GetNowMs() const { return NowMs(); }

    int Run() override;

private:
    struct Entry {
        uint32_t key;
        cRZCallbackTimer* timer;
        Callback fn;
        void* context;
        bool oneShot;
        uint32_t periodMs;
        uint32_t dueMs;
        bool rearmFromNow;
    };

    uint32_t NowMs() const;
    // Calls the entries due now; waitMs gets the time until the next one
    // (-1 when none is left). False when the thread is stopping.
    bool RunPass(int64_t& waitMs, uint32_t& readTime);

    std::list<Entry> mEntries;
    int64_t mStartCount;
    cRZThread mWorker;
    uint32_t mNextKey = 1;
    std::mutex mListLock;
    std::condition_variable mListChanged;
    bool mbChanged = false;
    // Held for a whole pass; recursive, so a callback may stop timers.
    cRZCriticalSection mCallbackLock;
    bool mbStop = false;
    bool mbStarted = false;
    bool mbWorkerEnded = false;  // guarded by mListLock, told by mListChanged
    bool mbManual = false;
    std::atomic<uint32_t> mManualNow{0};
};
