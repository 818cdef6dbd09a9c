// Clocks and sleeps in the units the game uses: a millisecond clock since
// program start that wraps at 32 bits, a millisecond tick count since boot, a
// high-resolution monotonic counter with its frequency, and MulDiv. Interval
// arithmetic on these is done in 64 bits by the callers.
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds since the program started, wrapping at 2^32.
uint32_t TimeMs();
// Milliseconds since the machine started, wrapping at 2^32.
uint32_t TickCount();
// A monotonic counter and its counts per second (1e9: nanoseconds).
int64_t PerfCounter();
int64_t PerfFrequency();

// a * b / c rounded to nearest, with a 64-bit intermediate product; -1 when c
// is 0 or the result does not fit in 32 bits (as the Windows call answers).
int32_t MulDiv(int32_t a, int32_t b, int32_t c);
// The same in 64 bits with a 128-bit intermediate, for counter arithmetic;
// the result saturates instead of overflowing, and c == 0 gives 0.
int64_t MulDiv64(int64_t a, int64_t b, int64_t c);

// Plain sleeps of the calling thread (not ended by Thread::Wake).
void SleepMs(uint32_t milliseconds);
void SleepUs(uint64_t microseconds);

// Test control: shifts TimeMs by an offset so that tests can run it across the
// 32-bit wrap. 0 restores real time.
void SetTimeMsOffsetForTest(uint32_t offset);

// Test control: a manual clock. While on, TimeMs and PerfCounter stand still
// and move only by AdvanceManualClock (TimeMs keeps its offset).
void SetManualClock(bool on);
void AdvanceManualClock(uint32_t milliseconds);

}  // namespace platform
