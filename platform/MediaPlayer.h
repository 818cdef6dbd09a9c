// Plays a media file (MP3, or a PCM ".wav") through one mixer voice, the
// way a media filter graph would: the file is decoded in chunks into a ring
// that a periodic timer refills behind the play cursor. Run, Pause and Stop
// drive it; volume and balance are in hundredths of a decibel. When the last
// decoded sample has played (or decoding fails) the player stops and tells
// its event handler, on the timer's thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/WavFile.h"

namespace platform {

class AudioMixer;
class AudioVoice;
class PeriodicTimer;

enum class MediaState { Stopped, Paused, Running };
// The event codes of a media graph: the stream ended, the user ended it, or
// it failed.
enum class MediaEvent { Complete = 1, UserAbort = 2, ErrorAbort = 3 };

class MediaPlayer {
public:
    using EventHandler = std::function<void(MediaEvent)>;
    static constexpr uint32_t kRefillPeriodMs = 50;
    static constexpr uint32_t kRingMs = 1000;

    MediaPlayer(AudioMixer& mixer, PeriodicTimer& timers);
    ~MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    // A wave file is known by its RIFF head, anything else is tried as MP3.
    // False, with the reason, when nothing playable is found.
    bool Open(const std::filesystem::path& path, std::string& error);
    bool OpenMemory(std::vector<uint8_t> bytes, std::string& error);
    void Close();
    bool IsOpen() const;

    const PcmFormat& Format() const { return mFormat; }
    // The decoded length, 0 when the decoder cannot tell in advance.
    uint64_t LengthMs() const { return mLengthMs; }

    // From the current place (the start after Stop or the end).
    bool Run();
    bool Pause();
    // Stops and goes back to the start.
    bool Stop();
    MediaState GetState() const;

    // -10000..0; outside is clamped.
    bool SetVolume(int32_t hundredthsDb);
    int32_t GetVolume() const;
    // -10000 (left only)..10000 (right only); outside is clamped.
    bool SetBalance(int32_t hundredthsDb);
    int32_t GetBalance() const;

    // Called on the refill timer's thread, without the player's lock held.
    void SetEventHandler(EventHandler handler);
    // One refill step (the timer calls it; tests may too).
    void Pump();
    // The voice the player feeds (null when closed).
    AudioVoice* Voice() const { return mVoice; }

private:
    class Source;
    class WavSource;
    class Mp3Source;

    bool OpenSource(std::unique_ptr<Source> source, std::string& error);
    // Fills [mWritten, mPlayed + ring) with decoded bytes (silence after
    // the end); under mLock.
    void FillAhead();
    void Prefill();
    void StopTimer();
    void Finish(MediaEvent event, std::unique_lock<std::mutex>& lock);

    AudioMixer& mMixer;
    PeriodicTimer& mTimers;
    mutable std::mutex mLock;
    std::unique_ptr<Source> mSource;
    AudioVoice* mVoice = nullptr;
    PcmFormat mFormat;
    uint64_t mLengthMs = 0;
    uint32_t mRing = 0;
    uint64_t mWritten = 0;       // bytes put into the ring since the start
    uint64_t mPlayed = 0;        // bytes played since the start
    uint64_t mEnd = UINT64_MAX;  // bytes the stream holds, once its end is known
    uint32_t mLastCursor = 0;
    bool mFailed = false;
    MediaState mState = MediaState::Stopped;
    uint32_t mTimerId = 0;
    int32_t mVolume = 0;
    int32_t mBalance = 0;
    EventHandler mHandler;
};

}  // namespace platform
