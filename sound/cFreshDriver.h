// The score driver: one framework timer ("Freshness Update") that ticks
// every playing score player each 100 ms under the score players' lock. The
// first player to register creates the timer, the last to leave stops and
// releases it. A player that throws is reported once as a callback crash
// and no later tick runs while a crash is recorded.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/cRZCriticalSection.h"

class cFreshPlayer;
class cIGZSndSys;
class cRZCallbackThread;
class cRZCallbackTimer;

class cFreshDriver {
public:
    static constexpr uint32_t kTickMs = 100;

    // The program's timer thread unless another is given (tests and tools
    // use a manual one). The sound system makes the cells' clips.
    explicit cFreshDriver(cIGZSndSys* soundSystem, cRZCallbackThread* thread = nullptr);
    ~cFreshDriver();
    cFreshDriver(const cFreshDriver&) = delete;
    cFreshDriver& operator=(const cFreshDriver&) = delete;

    void Register(cFreshPlayer* player);
    void Unregister(cFreshPlayer* player);
    size_t PlayerCount() const;
    bool HasTimer() const { return mpTimer != nullptr; }

    // One pass over the registered players (what the timer runs).
    void Tick();

    // Milliseconds on the driver's clock.
    uint32_t NowMs() const;
    cIGZSndSys* SoundSystem() const { return mpSoundSystem; }
    cRZCallbackThread* Thread() const { return mpThread; }

    // Bar holds of bar-synchronised cells: a mark reads the count and leaves
    // it; giving one up lowers a positive count and re-arms the timer when it
    // comes down to 0.
    int32_t HoldCount() const { return mHoldCount; }
    void MarkHold() {}
    void ReleaseHold();

    // The score players' process-wide lock.
    static cRZCriticalSection& Lock();

private:
    static void TimerThunk(void* self);

    cIGZSndSys* mpSoundSystem;
    cRZCallbackThread* mpThread;
    cRZCallbackTimer* mpTimer = nullptr;
    std::vector<cFreshPlayer*> mPlayers;
    int32_t mHoldCount = 0;
};
