#include "sound/cFreshDriver.h"

#include <algorithm>

#include "framework/cGZFrameWork.h"
#include "framework/cRZCallbackThread.h"
#include "framework/cRZCallbackTimer.h"
#include "framework/cRZLock.h"
#include "sound/cFreshPlayer.h"

cFreshDriver::cFreshDriver(cIGZSndSys* soundSystem, cRZCallbackThread* thread)
    : mpSoundSystem(soundSystem), mpThread(thread ? thread : &cRZCallbackThread::Get()) {}

cFreshDriver::~cFreshDriver() {
    if (mpTimer) {
        mpTimer->Stop();
        mpTimer->Release();
    }
}

cRZCriticalSection& cFreshDriver::Lock() {
    // Made before any player runs and never destroyed: a timer callback may
    // still reach it while the program exits.
    static cRZCriticalSection* lock = new cRZCriticalSection;
    return *lock;
}

void cFreshDriver::Register(cFreshPlayer* player) {
    cRZLock lock(Lock());
    if (std::find(mPlayers.begin(), mPlayers.end(), player) != mPlayers.end()) return;
    mPlayers.push_back(player);
    if (!mpTimer) {
        mpTimer = new cRZCallbackTimer(mpThread);
        mpTimer->SetCallback(&TimerThunk, this);
        mpTimer->SetAuxValue(100);
        mpTimer->StartRepeating(kTickMs);
    }
}

void cFreshDriver::Unregister(cFreshPlayer* player) {
    cRZLock lock(Lock());
    mPlayers.erase(std::remove(mPlayers.begin(), mPlayers.end(), player), mPlayers.end());
    if (mPlayers.empty() && mpTimer) {
        cRZCallbackTimer* timer = mpTimer;
        mpTimer = nullptr;
        timer->Stop();
        timer->Release();
    }
}

size_t cFreshDriver::PlayerCount() const {
    cRZLock lock(Lock());
    return mPlayers.size();
}

uint32_t cFreshDriver::NowMs() const { return mpThread->GetNowMs(); }

void cFreshDriver::ReleaseHold() {
    if (mHoldCount <= 0) return;
    if (--mHoldCount == 0 && mpTimer) {
        mpTimer->Stop();
        mpTimer->SetAuxValue(100);
        mpTimer->StartRepeating(kTickMs);
    }
}

void cFreshDriver::Tick() {
    cRZLock lock(Lock());
    if (GetCallbackCrash()) return;
    const std::vector<cFreshPlayer*> players = mPlayers;
    for (cFreshPlayer* player : players) {
        try {
            player->BeatUpdate();
        } catch (...) {
            ReportCallbackCrash("cFreshPlayer");
            return;
        }
    }
}

void cFreshDriver::TimerThunk(void* self) {
    // A player that stops holds the lock while it stops this timer, which
    // waits for a tick under way: a tick that cannot have the lock at once
    // is skipped (the beat clock runs on its stopwatch, so the next tick
    // catches up).
    if (!Lock().TryEnter()) return;
    static_cast<cFreshDriver*>(self)->Tick();
    Lock().Leave();
}
