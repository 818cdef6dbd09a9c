#include "platform/Clock.h"

#include <atomic>
#include <chrono>
#include <limits>
#include <thread>
#include <time.h>

namespace platform {

namespace {

__extension__ typedef __int128 Int128;

using Steady = std::chrono::steady_clock;

const Steady::time_point& StartTime() {
    static const Steady::time_point start = Steady::now();
    return start;
}
// Fix the start at load time rather than at the first call.
[[maybe_unused]] const Steady::time_point& kStartAnchor = StartTime();

std::atomic<uint32_t> gTimeOffset{0};
std::atomic<bool> gManual{false};
std::atomic<int64_t> gManualNs{0};       // the counter's manual value
std::atomic<int64_t> gManualStartNs{0};  // the counter when manual mode began
std::atomic<uint32_t> gManualStartMs{0}; // TimeMs (without offset) then

}  // namespace

uint32_t TimeMs() {
    if (gManual.load(std::memory_order_relaxed))
        return gManualStartMs.load() + static_cast<uint32_t>((gManualNs.load() - gManualStartNs.load()) / 1000000) +
               gTimeOffset.load(std::memory_order_relaxed);
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - StartTime());
    return static_cast<uint32_t>(static_cast<uint64_t>(elapsed.count())) + gTimeOffset.load(std::memory_order_relaxed);
}

uint32_t TickCount() {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

int64_t PerfCounter() {
    if (gManual.load(std::memory_order_relaxed)) return gManualNs.load();
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

void SetManualClock(bool on) {
    if (on && !gManual.load()) {
        // Start where real time is, so nothing sees the clock jump back.
        const int64_t now = PerfCounter();
        gManualStartMs.store(TimeMs() - gTimeOffset.load());
        gManualStartNs.store(now);
        gManualNs.store(now);
    }
    gManual.store(on);
}

void AdvanceManualClock(uint32_t milliseconds) { gManualNs.fetch_add(static_cast<int64_t>(milliseconds) * 1000000); }

int64_t PerfFrequency() { return 1000000000LL; }

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    int64_t product = static_cast<int64_t>(a) * b;
    int64_t half = (c < 0 ? -static_cast<int64_t>(c) : c) / 2;
    // Round half away from zero, as the Windows call does.
    bool negative = (product < 0) != (c < 0);
    int64_t magnitude = (product < 0 ? -product : product) + half;
    int64_t result = magnitude / (c < 0 ? -static_cast<int64_t>(c) : c);
    if (negative) result = -result;
    if (result > std::numeric_limits<int32_t>::max() || result < std::numeric_limits<int32_t>::min()) return -1;
    return static_cast<int32_t>(result);
}

int64_t MulDiv64(int64_t a, int64_t b, int64_t c) {
    if (c == 0) return 0;
    Int128 r = static_cast<Int128>(a) * b / c;
    if (r > std::numeric_limits<int64_t>::max()) return std::numeric_limits<int64_t>::max();
    if (r < std::numeric_limits<int64_t>::min()) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(r);
}

void SleepMs(uint32_t milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

void SleepUs(uint64_t microseconds) { std::this_thread::sleep_for(std::chrono::microseconds(microseconds)); }

void SetTimeMsOffsetForTest(uint32_t offset) { gTimeOffset.store(offset, std::memory_order_relaxed); }

}  // namespace platform
