// One playable sound: a wave file bound by name, loaded whole into a mixer
// voice or streamed through a ring that a periodic timer refills. Volume and
// pan are 0..1024 (512 is the centre); every operation succeeds silently
// while the sound service is not initialised.
#pragma once

#include <cstdint>

#include "platform/WavFile.h"

class cIGZSnd {
public:
    using CompletionCallback = void (*)(uint32_t userData);

    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    virtual bool Init() = 0;
    virtual bool Shutdown() = 0;
    virtual bool SetFile(const char* name, uint32_t length, int32_t loadType) = 0;
    virtual bool SetFileName(const char* name, int32_t loadType) = 0;
    virtual const char* GetFileName() const = 0;
    virtual bool Play(int32_t volume, bool loop, int32_t mode) = 0;
    virtual bool IsPlaying() = 0;
    virtual bool Stop() = 0;
    virtual bool Pause() = 0;
    virtual bool Resume() = 0;
    virtual bool StopAll() = 0;
    virtual bool IsLooping() const = 0;
    virtual bool IsStreamed() const = 0;
    virtual int32_t GetDefaultPlayMode() const = 0;
    virtual void SetDefaultPlayMode(int32_t mode) = 0;
    virtual int32_t GetLoadState() const = 0;
    virtual int32_t GetPlayState() = 0;
    virtual uint32_t GetLargeFileThreshold() const = 0;
    virtual void SetLargeFileThreshold(uint32_t bytes) = 0;
    virtual void SetLoadType(int32_t type) = 0;
    virtual int32_t GetBufferCount() const = 0;
    virtual uint32_t GetId() const = 0;
    virtual void SetId(uint32_t id) = 0;
    virtual const platform::PcmFormat& GetFormat() const = 0;
    virtual bool HasBuffer() const = 0;
    virtual bool Load() = 0;
    virtual bool Unload() = 0;
    virtual void SetCompletionCallback(CompletionCallback callback, uint32_t userData) = 0;
    virtual void ClearCompletionCallback() = 0;
    virtual int32_t GetRemainingTime() = 0;
    virtual int32_t GetVolume() const = 0;
    virtual bool SetVolume(int32_t volume) = 0;
    virtual bool Fade(int32_t from, int32_t to, uint32_t durationMs, bool async, bool stopAtEnd) = 0;
    virtual int32_t GetPan() const = 0;
    virtual bool SetPan(int32_t pan) = 0;
    virtual uint32_t GetFrequency() const = 0;
    virtual bool SetFrequency(uint32_t hz) = 0;
    virtual uint32_t GetFileRate() const = 0;
    virtual uint32_t GetPosition() const = 0;
    virtual bool SetPosition(uint32_t bytes) = 0;
    virtual bool SetReverbMix(int32_t level) = 0;
    virtual void SetFilterMode(int32_t mode) = 0;
    virtual void SetFilterValue(int32_t value) = 0;
    virtual void SetFilterRate(int32_t rate) = 0;
    virtual int32_t GetFilterMode() const = 0;
    virtual int32_t GetFilterValue() const = 0;
    virtual int32_t GetFilterRate() const = 0;
    virtual int32_t GetPriority() const = 0;
    virtual void SetPriority(int32_t priority) = 0;
    virtual void SetRingFactor(int32_t factor) = 0;

protected:
    virtual ~cIGZSnd() = default;
};
