// A sound over mixer voices. A static sound loads its whole file into one
// voice and plays overlapping copies of it; a streamed sound plays a ring of
// six segments per ring factor, refilled every 192 ms behind the play cursor
// from its reader. Timer callbacks (completion, fader, refill) reach a sound
// only while it is alive: each takes a reference under the live-set lock and
// runs without it.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "framework/SoundOutputFilter.h"
#include "framework/cRZCriticalSection.h"
#include "sound/cIGZSnd.h"
#include "sound/cIGZSndReader.h"

class cRZCallbackTimer;
namespace platform {
class AudioVoice;
}

class cGZSnd : public cIGZSnd {
public:
    static constexpr int kMaxBuffers = 8;
    static constexpr uint32_t kRefillPeriodMs = 192;
    static constexpr uint32_t kDefaultLargeFileThreshold = 262144;

    cGZSnd();

    uint32_t AddRef() override;
    uint32_t Release() override;
    bool Init() override;
    bool Shutdown() override;
    bool SetFile(const char* name, uint32_t length, int32_t loadType) override;
    bool SetFileName(const char* name, int32_t loadType) override;
    const char* GetFileName() const override { return mFileName.c_str(); }
    bool Play(int32_t volume, bool loop, int32_t mode) override;
    bool IsPlaying() override;
    bool Stop() override;
    bool Pause() override;
    bool Resume() override { return true; }
    bool StopAll() override;
    bool IsLooping() const override { return mbLoop; }
    bool IsStreamed() const override { return mbStreamed; }
    int32_t GetDefaultPlayMode() const override { return mDefaultPlayMode; }
    void SetDefaultPlayMode(int32_t mode) override { mDefaultPlayMode = mode; }
    int32_t GetLoadState() const override;
    int32_t GetPlayState() override;
    uint32_t GetLargeFileThreshold() const override;
    void SetLargeFileThreshold(uint32_t bytes) override;
    void SetLoadType(int32_t type) override { mLoadType = type; }
    int32_t GetBufferCount() const override;
    uint32_t GetId() const override { return mId; }
    void SetId(uint32_t id) override { mId = id; }
    const platform::PcmFormat& GetFormat() const override { return mFormat; }
    bool HasBuffer() const override { return mBuffers[0] != nullptr; }
    bool Load() override;
    bool Unload() override;
    void SetCompletionCallback(CompletionCallback callback, uint32_t userData) override;
    void ClearCompletionCallback() override;
    int32_t GetRemainingTime() override;
    int32_t GetVolume() const override { return mVolume; }
    bool SetVolume(int32_t volume) override;
    bool Fade(int32_t from, int32_t to, uint32_t durationMs, bool async, bool stopAtEnd) override;
    int32_t GetPan() const override;
    bool SetPan(int32_t pan) override;
    uint32_t GetFrequency() const override;
    bool SetFrequency(uint32_t hz) override;
    uint32_t GetFileRate() const override { return mFormat.samplesPerSec; }
    uint32_t GetPosition() const override;
    bool SetPosition(uint32_t bytes) override;
    bool SetReverbMix(int32_t) override { return false; }
    void SetFilterMode(int32_t mode) override { mFilter.SetMode(mode); }
    void SetFilterValue(int32_t value) override { mFilter.SetValue(value); }
    void SetFilterRate(int32_t rate) override { mFilter.SetRate(rate); }
    int32_t GetFilterMode() const override { return mFilter.GetMode(); }
    int32_t GetFilterValue() const override { return mFilter.GetValue(); }
    int32_t GetFilterRate() const override { return mFilter.GetRate(); }
    int32_t GetPriority() const override { return mPriority; }
    void SetPriority(int32_t priority) override { mPriority = priority; }
    void SetRingFactor(int32_t factor) override;

    // The service's primary sound: its format is the mixer's output format
    // and its volume the master volume that every sound folds in.
    bool CreatePrimary(const platform::PcmFormat& format);
    // Stream geometry, valid once the stream is open.
    uint32_t GetRingSize() const;
    uint32_t GetSegmentSize() const;
    // The voice of a buffer slot (tests and tools look at what the mixer got).
    platform::AudioVoice* GetVoice(int slot) const { return slot >= 0 && slot < kMaxBuffers ? mBuffers[slot] : nullptr; }
    // Sounds alive in the process.
    static size_t LiveCount();

protected:
    ~cGZSnd() override;
    // Taken off the volume on its way to the voices (0..1024 scale): a
    // positional sound's distance.
    virtual int32_t VolumeAttenuation() const { return 0; }

private:
    struct Stream;

    bool LoadStatic();
    bool OpenStream(bool stopIfPlaying);
    bool StreamPrefill(bool open);
    bool StartStreaming(bool loop, bool open);
    bool StopStreaming();
    bool IsLarge();
    bool GetIdleCopy(platform::AudioVoice*& out);
    bool CreateBuffer(uint32_t bytes);
    void ReleaseBuffers();
    void ArmCompletion();
    void StopCompletionTimer();
    void CallCompletion();
    int32_t DeviceVolume(int32_t volume) const;
    // Reads into a region: a looping sound wraps its reader, any other marks
    // the end of the data and fills the rest with silence.
    void FillFromReader(uint8_t* dest, uint32_t bytes);
    void FillSilence(uint8_t* dest, uint32_t bytes) const;

    bool AddRefIfAlive();
    void Refill();
    void CompletionTick();
    void FaderTick();
    static void CompletionThunk(void* self);
    static void FaderThunk(void* self);
    static void RefillThunk(cGZSnd* self);

    uint32_t mId = 0;
    std::string mFileName;
    bool mbLoop = false;
    bool mbStreamed = false;
    int32_t mVolume = 1024;
    bool mbReloadNeeded = false;
    uint32_t mCompletionData = 0;
    int32_t mDefaultPlayMode = 1;
    int32_t mPriority = 1;
    mutable cRZCriticalSection mLock;
    cRZCallbackTimer* mpCompletionTimer = nullptr;
    cRZCallbackTimer* mpFaderTimer = nullptr;
    bool mbFadeStopAtEnd = false;
    int32_t mFadeStep = 0;
    int32_t mFadeTarget = 0;
    int32_t mFadeTicks = 0;
    CompletionCallback mpCompletion = nullptr;
    int32_t mLoadType = 0;
    platform::AudioVoice* mBuffers[kMaxBuffers] = {};
    platform::AudioVoice* mpLastPlaying = nullptr;
    uint32_t mBufferSize = 0;
    platform::PcmFormat mFormat;
    std::unique_ptr<Stream> mpStream;
    bool mbPrefilled = false;
    int32_t mRingFactor = 1;
    bool mbPrimary = false;
    SoundOutputFilter mFilter;
    std::atomic<uint32_t> mRefCount{0};
};
