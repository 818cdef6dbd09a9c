// The game's one millisecond clock: it follows real time, but never moves
// more than the lag limit (2000 ms) in one tick, so a long pause (a debugger,
// a dragged window) does not make the game jump.
#pragma once

#include <cstdint>

class FrameClock {
public:
    FrameClock() = default;

    // Reads the millisecond clock, advances, and answers the time read.
    uint32_t Tick();
    // The same with the real time given (tests).
    uint32_t TickAt(uint32_t now);

    uint32_t GetTime() const { return mnClock; }
    int32_t GetLag() const { return mnLag; }
    uint32_t GetTickCount() const { return mnTicks; }
    uint32_t GetLagLimit() const { return mnLagLimit; }

    static FrameClock& Global();

private:
    uint32_t mnClock = 0;
    int32_t mnLag = 0;
    uint32_t mnLastReal = 0;
    uint32_t mnTicks = 0;
    uint32_t mnOffset = 0;
    uint32_t mnLagLimit = 2000;
};
