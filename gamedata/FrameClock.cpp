#include "gamedata/FrameClock.h"

#include "platform/Clock.h"

uint32_t FrameClock::Tick() { return TickAt(platform::TimeMs()); }

uint32_t FrameClock::TickAt(uint32_t now) {
    uint32_t t = now + mnOffset;
    mnLag = static_cast<int32_t>(t - mnClock);
    if (mnLag > static_cast<int32_t>(mnLagLimit)) {
        mnLag = static_cast<int32_t>(mnLagLimit);
        mnClock += mnLagLimit;
        mnOffset = mnClock - now;
    } else {
        mnClock = t;
    }
    mnLastReal = now;
    ++mnTicks;
    return now;
}

FrameClock& FrameClock::Global() {
    static FrameClock clock;
    return clock;
}
