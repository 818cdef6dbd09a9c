// A thread started on an object or a function, with priorities on a
// seven-step scale (0 idle ... 3 normal ... 6 time-critical). Times are in
// microseconds. Only the thread itself can suspend itself; another thread's
// Suspend fails.
#pragma once

#include <cstdint>

#include "platform/Thread.h"

class cIGZThreadStartable {
public:
    virtual int Run() = 0;

protected:
    virtual ~cIGZThreadStartable() = default;
};

class cIGZThread {
public:
    virtual void Release() = 0;
    virtual bool Start(cIGZThreadStartable* startable) = 0;
    virtual bool StartFunction(int (*fn)(void*), void* arg) = 0;
    [[noreturn]] virtual void Exit(int code) = 0;
    virtual int Suspend() = 0;
    virtual int Resume() = 0;
    virtual void Sleep(uint32_t microseconds) = 0;
    virtual bool Wake() = 0;
    virtual bool WaitForEnd() = 0;
    virtual int GetPriority() const = 0;
    virtual bool SetPriority(int level) = 0;
    virtual bool IsRunning() const = 0;
    virtual bool GetExitCode(int& out) const = 0;
    virtual bool GetThreadId(uint32_t& out) const = 0;

protected:
    virtual ~cIGZThread() = default;
};

class cRZThread : public cIGZThread {
public:
    cRZThread() = default;
    // Waits for a running thread to end (a thread deleting its own object
    // lets it run on).
    ~cRZThread() override = default;

    void Release() override { delete this; }
    // False while running or when the thread cannot be started. A thread
    // whose body has returned is no longer running and may be started again.
    bool Start(cIGZThreadStartable* startable) override;
    bool StartFunction(int (*fn)(void*), void* arg) override;
    // Called on the thread itself: ends it with the code.
    [[noreturn]] void Exit(int code) override;
    // Self-suspension only: on another thread answers -1 and does nothing.
    int Suspend() override;
    int Resume() override;
    // The alertable sleep of the calling thread, microseconds / 1000 ms.
    void Sleep(uint32_t microseconds) override;
    bool Wake() override;
    bool WaitForEnd() override;
    int GetPriority() const override;
    bool SetPriority(int level) override;
    bool IsRunning() const override { return mThread.IsRunning(); }
    bool GetExitCode(int& out) const override;
    bool GetThreadId(uint32_t& out) const override;

    bool IsCurrentThread() const { return mThread.IsCurrent(); }

private:
    platform::Thread mThread;
};

// The priority table applied to the calling thread; levels 0 to 6.
bool SetCurrentThreadPriority(int level);
// The alertable sleep of the calling thread (ended early by a Wake).
void SleepMicroseconds(uint32_t microseconds);
