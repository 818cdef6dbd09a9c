// A media-file sound (MP3, or a wave file) behind the sound interface,
// played by the platform's media player in place of a filter graph. The
// sounds playing are kept in one process-wide list, in the order they
// started. When a player reports the end of its file (or an abort), the
// report reaches the service's callback thread with the sound that finished,
// and that sound stops and leaves the list.
//
// While no file is open (the ready flag clear) every operation but Open,
// Close and ReleaseEvents answers false and does nothing.
#pragma once

#include <atomic>
#include <memory>

#include "sound/cGZSnd.h"

class cRZCallbackTimer;
namespace platform {
class MediaPlayer;
}

class cGZSndDShow : public cGZSnd {
public:
    static constexpr size_t kMaxNameLength = 260;
    static constexpr int32_t kCentrePan = 512;

    cGZSndDShow();

    bool Init() override;
    // Shutdown closes.
    bool Shutdown() override { return Close(); }
    // SetFileName opens.
    bool SetFileName(const char* name, int32_t loadType) override { return Open(name, loadType); }
    bool Open(const char* name, int32_t loadType);
    // Always false, as the graph's close is.
    bool Close();

    bool Play(int32_t volume, bool loop, int32_t mode) override;
    // Running or paused.
    bool IsPlaying() override;
    bool Stop() override;
    bool Pause() override;
    bool Resume() override;
    bool HasBuffer() const override { return mbReady; }
    bool Load() override { return mbReady; }
    bool Unload() override { return mbReady; }
    int32_t GetVolume() const override { return mbReady ? mVolume : 0; }
    bool SetVolume(int32_t volume) override;
    // A media sound does not fade: it stops at once.
    bool Fade(int32_t from, int32_t to, uint32_t durationMs, bool async, bool stopAtEnd) override;
    int32_t GetPan() const override { return mbReady ? kCentrePan : 0; }
    bool SetPan(int32_t pan) override;
    bool StopAll() override { return Stop(); }
    // The player has no byte cursor to move: a place of 0 rewinds (a note
    // that starts the sound again), any other is refused.
    uint32_t GetPosition() const override { return 0; }
    bool SetPosition(uint32_t bytes) override;
    // The file plays at its own rate.
    uint32_t GetFrequency() const override;
    bool SetFrequency(uint32_t) override { return mbReady; }
    // The whole length: the player does not tell how far it got.
    int32_t GetRemainingTime() override;
    // Forgets the player's reports: nothing reaches this sound any more.
    bool ReleaseEvents();

    bool IsReady() const { return mbReady; }
    int32_t GetStoredPan() const { return mPan; }
    // 0 until a report arrived; then 1 complete, 2 user abort, 3 error.
    int32_t GetLastEvent() const { return mLastEvent; }
    const platform::MediaPlayer* Player() const { return mpPlayer.get(); }

    // The service's StopFirstMediaSound: the first sound of the list.
    static bool StopFirstPlaying();
    // Stops the sound when it is in the list; false otherwise.
    static bool StopIfPlaying(cGZSndDShow* sound);
    static size_t PlayingCount();
    static bool IsInPlayingList(const cGZSndDShow* sound);

protected:
    ~cGZSndDShow() override;

private:
    void OnPlayerEvent(int32_t code);
    void EventArrived();
    static void EventThunk(void* self);

    int32_t mPan = kCentrePan;
    int32_t mVolume = 1024;
    bool mbReady = false;
    std::unique_ptr<platform::MediaPlayer> mpPlayer;
    cRZCallbackTimer* mpEventTimer = nullptr;
    std::atomic<int32_t> mPendingEvent{0};
    std::atomic<int32_t> mLastEvent{0};
};
