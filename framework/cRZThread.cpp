#include "framework/cRZThread.h"

namespace {

bool ToPriority(int level, platform::ThreadPriority& out) {
    if (level < 0 || level > 6) return false;
    out = static_cast<platform::ThreadPriority>(level);
    return true;
}

}  // namespace

bool cRZThread::Start(cIGZThreadStartable* startable) {
    if (!startable) return false;
    return mThread.Start([startable] { return startable->Run(); });
}

bool cRZThread::StartFunction(int (*fn)(void*), void* arg) {
    if (!fn) return false;
    return mThread.Start([fn, arg] { return fn(arg); });
}

void cRZThread::Exit(int code) { platform::Thread::ExitCurrent(code); }

int cRZThread::Suspend() { return mThread.Suspend(); }

int cRZThread::Resume() { return mThread.Resume(); }

void cRZThread::Sleep(uint32_t microseconds) { SleepMicroseconds(microseconds); }

bool cRZThread::Wake() { return mThread.Wake(); }

bool cRZThread::WaitForEnd() { return mThread.Join(); }

int cRZThread::GetPriority() const { return static_cast<int>(mThread.Priority()); }

bool cRZThread::SetPriority(int level) {
    platform::ThreadPriority p;
    return ToPriority(level, p) && mThread.SetPriority(p);
}

bool cRZThread::GetExitCode(int& out) const {
    out = mThread.ExitCode();
    return IsRunning();
}

bool cRZThread::GetThreadId(uint32_t& out) const {
    out = mThread.Id();
    return IsRunning();
}

bool SetCurrentThreadPriority(int level) {
    platform::ThreadPriority p;
    return ToPriority(level, p) && platform::Thread::SetCurrentPriority(p);
}

void SleepMicroseconds(uint32_t microseconds) { platform::Thread::AlertableSleep(microseconds / 1000); }
