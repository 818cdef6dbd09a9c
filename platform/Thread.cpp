#include "platform/Thread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

// What another thread may ask of a thread: wake its alertable sleep or end
// its self-suspension. Every thread has one, also those we did not start.
struct Alert {
    std::mutex mutex;
    std::condition_variable cv;
    bool wakePending = false;
    int suspendCount = 0;
};

struct Thread::State {
    mutable std::mutex mutex;
    std::condition_variable started;
    bool running = false;
    bool idKnown = false;
    bool handed = false;  // the object holds the thread's handle
    int exitCode = 0;
    uint32_t id = 0;
    ThreadPriority priority = ThreadPriority::Normal;
    std::shared_ptr<Alert> alert = std::make_shared<Alert>();
};

namespace {

thread_local std::shared_ptr<Alert> tlsAlert;
thread_local Thread::State* tlsState = nullptr;

Alert& CurrentAlert() {
    if (!tlsAlert) tlsAlert = std::make_shared<Alert>();
    return *tlsAlert;
}

int NiceFor(ThreadPriority p) {
    static const int table[] = {19, 10, 5, 0, -5, -10, -20};
    return table[static_cast<int>(p)];
}

bool ValidPriority(ThreadPriority p) {
    int v = static_cast<int>(p);
    return v >= 0 && v <= 6;
}

void ApplyNice(uint32_t tid, ThreadPriority p) {
    // Best effort: an unprivileged process may not raise a thread above its
    // current nice value; the recorded priority is what callers read back.
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(tid), NiceFor(p));
}

}  // namespace

Thread::Thread() : state_(std::make_shared<State>()) {}

Thread::~Thread() {
    if (!thread_.joinable()) return;
    if (thread_.get_id() == std::this_thread::get_id())
        thread_.detach();
    else
        thread_.join();
}

bool Thread::Start(Body body) {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (state_->running) return false;
    }
    if (thread_.joinable()) {
        if (thread_.get_id() == std::this_thread::get_id()) return false;
        thread_.join();  // the previous body has returned; collect it
    }
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->running = true;
        state_->idKnown = false;
        state_->handed = false;
        state_->exitCode = 0;
    }
    {
        // A new run starts without a wake aimed at an earlier one.
        std::lock_guard<std::mutex> lock(state_->alert->mutex);
        state_->alert->wakePending = false;
    }
    std::shared_ptr<State> state = state_;
    try {
        thread_ = std::thread([state, body = std::move(body)]() {
            tlsAlert = state->alert;
            tlsState = state.get();
            ThreadPriority priority;
            {
                std::unique_lock<std::mutex> lock(state->mutex);
                state->id = CurrentId();
                state->idKnown = true;
                priority = state->priority;
                state->started.notify_all();
                // The body may join or delete the object: not before Start
                // has stored the handle in it.
                state->started.wait(lock, [&] { return state->handed; });
            }
            if (priority != ThreadPriority::Normal) ApplyNice(CurrentId(), priority);
            int code = 0;
            try {
                code = body();
            } catch (const ThreadExit& e) {
                code = e.code;
            }
            std::lock_guard<std::mutex> lock(state->mutex);
            state->exitCode = code;
            state->running = false;
        });
    } catch (const std::system_error&) {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->running = false;
        return false;
    }
    // From here on the body may have deleted this object: only the local
    // reference to the shared state is used.
    std::unique_lock<std::mutex> lock(state->mutex);
    state->handed = true;
    state->started.notify_all();
    state->started.wait(lock, [&] { return state->idKnown; });
    return true;
}

bool Thread::Join() {
    if (!thread_.joinable()) return false;
    if (thread_.get_id() == std::this_thread::get_id()) return false;
    thread_.join();
    return true;
}

bool Thread::IsRunning() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->running;
}

int Thread::ExitCode() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->exitCode;
}

uint32_t Thread::Id() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->id;
}

bool Thread::IsCurrent() const { return tlsState == state_.get(); }

bool Thread::SetPriority(ThreadPriority priority) {
    if (!ValidPriority(priority)) return false;
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->priority = priority;
    if (state_->running) ApplyNice(state_->id, priority);
    return true;
}

ThreadPriority Thread::Priority() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->priority;
}

int Thread::Suspend() {
    if (!IsCurrent()) return -1;
    Alert& a = *state_->alert;
    std::unique_lock<std::mutex> lock(a.mutex);
    int previous = a.suspendCount++;
    a.cv.wait(lock, [&] { return a.suspendCount == 0; });
    return previous;
}

int Thread::Resume() {
    Alert& a = *state_->alert;
    std::lock_guard<std::mutex> lock(a.mutex);
    if (a.suspendCount == 0) return 0;
    int previous = a.suspendCount--;
    a.cv.notify_all();
    return previous;
}

bool Thread::Wake() {
    if (!IsRunning()) return false;
    Alert& a = *state_->alert;
    std::lock_guard<std::mutex> lock(a.mutex);
    a.wakePending = true;
    a.cv.notify_all();
    return true;
}

void Thread::ExitCurrent(int code) { throw ThreadExit{code}; }

uint32_t Thread::CurrentId() { return static_cast<uint32_t>(::syscall(SYS_gettid)); }

bool Thread::SetCurrentPriority(ThreadPriority priority) {
    if (!ValidPriority(priority)) return false;
    if (tlsState) {
        std::lock_guard<std::mutex> lock(tlsState->mutex);
        tlsState->priority = priority;
    }
    ApplyNice(CurrentId(), priority);
    return true;
}

bool Thread::AlertableSleep(uint32_t milliseconds) {
    Alert& a = CurrentAlert();
    std::unique_lock<std::mutex> lock(a.mutex);
    a.cv.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return a.wakePending; });
    bool woken = a.wakePending;
    a.wakePending = false;
    return woken;
}

}  // namespace platform
