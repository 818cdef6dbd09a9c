// Threads with an int result. Beyond starting and joining, the game relies on
// three Windows habits that this class keeps: a thread may end itself with a
// code, a thread may suspend itself until another resumes it, and a thread's
// alertable sleep can be ended early by another thread (Wake). Suspending
// *another* thread cannot be done safely on Linux and is refused.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace platform {

// Seven steps from idle to time-critical. Applied as the thread's nice value,
// best effort: raising above normal needs privileges the game does not have,
// so a refused change is still recorded (Priority reads it back) and is not
// treated as failure.
enum class ThreadPriority { Idle, Lowest, BelowNormal, Normal, AboveNormal, Highest, TimeCritical };

// Thrown by Thread::ExitCurrent to unwind the thread's body; the thread's
// start routine catches it. A body that catches everything must rethrow it.
struct ThreadExit {
    int code;
};

class Thread {
public:
    using Body = std::function<int()>;

    Thread();
    // Joins a running thread (a thread destroying its own object detaches).
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts the body on a new thread. False while the thread runs or when no
    // thread can be created. A thread whose body has returned can be started
    // again.
    bool Start(Body body);
    // Waits for the thread to end. False when called on the thread itself or
    // when nothing was started.
    bool Join();
    bool IsRunning() const;
    int ExitCode() const;  // the body's result, or the ExitCurrent code
    uint32_t Id() const;   // the kernel thread id; 0 before the first start
    bool IsCurrent() const;

    bool SetPriority(ThreadPriority priority);
    ThreadPriority Priority() const;

    // Self-suspension: only the thread itself may suspend (it blocks until
    // Resume); on another thread Suspend answers -1 and does nothing. Both
    // answer the previous suspend count, as the Windows calls do: a Resume of
    // a thread that is not suspended answers 0 and changes nothing.
    int Suspend();
    int Resume();

    // Ends the thread's current alertable sleep, or its next one when it is
    // not sleeping. False when the thread is not running.
    bool Wake();

    // Ends the calling thread, which must have been started by a Thread, with
    // the given code.
    [[noreturn]] static void ExitCurrent(int code);
    static uint32_t CurrentId();
    static bool SetCurrentPriority(ThreadPriority priority);
    // Sleeps the calling thread; a Wake aimed at it ends the sleep early (and
    // a Wake that came before ends it at once). True when woken.
    static bool AlertableSleep(uint32_t milliseconds);

    struct State;  // shared by the object and its running thread

private:
    std::shared_ptr<State> state_;
    std::thread thread_;
};

}  // namespace platform
