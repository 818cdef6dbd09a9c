// A positional sound. The mixer has no 3D voices, so distance is emulated:
// the sound plays on a panning 2D voice whose volume falls with the distance
// to the listener (attenuation = distance x 6000 / max distance, on the
// 0..1024 volume scale), while the caller's volume stays the sound's volume.
#pragma once

#include "sound/cGZSnd.h"
#include "sound/cIGZSnd.h"

class cIGZSnd3D : public cIGZSnd {
public:
    using cIGZSnd::GetPosition;
    using cIGZSnd::SetPosition;
    virtual bool GetPosition(float& x, float& y, float& z) = 0;
    virtual bool SetPosition(float x, float y, float z) = 0;
    virtual bool GetVelocity(float& x, float& y, float& z) = 0;
    virtual bool SetVelocity(float x, float y, float z) = 0;
    virtual bool GetPositionVelocity(float& x, float& y, float& z, float& vx, float& vy, float& vz) = 0;
    virtual bool SetPositionVelocity(float x, float y, float z, float vx, float vy, float vz) = 0;
    virtual bool SetDistanceScale(int32_t index) = 0;
    virtual bool GetMinDistance(float& out) = 0;
    virtual bool SetMinDistance(float distance) = 0;
    virtual bool GetMaxDistance(float& out) = 0;
    virtual bool SetMaxDistance(float distance) = 0;

protected:
    ~cIGZSnd3D() override = default;
};

class cGZSnd3D : public cGZSnd, public cIGZSnd3D {
public:
    static constexpr float kDefaultMinDistance = 10.0f;
    static constexpr float kDefaultMaxDistance = 5000.0f;

    explicit cGZSnd3D(bool headRelative = false);

    // The plain sound face (both faces are the same object).
    cGZSnd* AsSound() { return this; }
    cIGZSnd3D* As3D() { return this; }

    // cIGZSnd, the same operations through either face.
    uint32_t AddRef() override { return cGZSnd::AddRef(); }
    uint32_t Release() override { return cGZSnd::Release(); }
    bool Init() override { return cGZSnd::Init(); }
    bool Shutdown() override { return cGZSnd::Shutdown(); }
    bool SetFile(const char* name, uint32_t length, int32_t loadType) override { return cGZSnd::SetFile(name, length, loadType); }
    bool SetFileName(const char* name, int32_t loadType) override { return cGZSnd::SetFileName(name, loadType); }
    const char* GetFileName() const override { return cGZSnd::GetFileName(); }
    bool Play(int32_t volume, bool loop, int32_t mode) override { return cGZSnd::Play(volume, loop, mode); }
    bool IsPlaying() override { return cGZSnd::IsPlaying(); }
    bool Stop() override { return cGZSnd::Stop(); }
    bool Pause() override { return cGZSnd::Pause(); }
    bool Resume() override { return cGZSnd::Resume(); }
    bool StopAll() override { return cGZSnd::StopAll(); }
    bool IsLooping() const override { return cGZSnd::IsLooping(); }
    bool IsStreamed() const override { return cGZSnd::IsStreamed(); }
    int32_t GetDefaultPlayMode() const override { return cGZSnd::GetDefaultPlayMode(); }
    void SetDefaultPlayMode(int32_t mode) override { cGZSnd::SetDefaultPlayMode(mode); }
    int32_t GetLoadState() const override { return cGZSnd::GetLoadState(); }
    int32_t GetPlayState() override { return cGZSnd::GetPlayState(); }
    uint32_t GetLargeFileThreshold() const override { return cGZSnd::GetLargeFileThreshold(); }
    void SetLargeFileThreshold(uint32_t bytes) override { cGZSnd::SetLargeFileThreshold(bytes); }
    void SetLoadType(int32_t type) override { cGZSnd::SetLoadType(type); }
    int32_t GetBufferCount() const override { return cGZSnd::GetBufferCount(); }
    uint32_t GetId() const override { return cGZSnd::GetId(); }
    void SetId(uint32_t id) override { cGZSnd::SetId(id); }
    const platform::PcmFormat& GetFormat() const override { return cGZSnd::GetFormat(); }
    bool HasBuffer() const override { return cGZSnd::HasBuffer(); }
    bool Load() override { return cGZSnd::Load(); }
    bool Unload() override { return cGZSnd::Unload(); }
    void SetCompletionCallback(CompletionCallback callback, uint32_t userData) override { cGZSnd::SetCompletionCallback(callback, userData); }
    void ClearCompletionCallback() override { cGZSnd::ClearCompletionCallback(); }
    int32_t GetRemainingTime() override { return cGZSnd::GetRemainingTime(); }
    int32_t GetVolume() const override { return cGZSnd::GetVolume(); }
    bool SetVolume(int32_t volume) override { return cGZSnd::SetVolume(volume); }
    bool Fade(int32_t from, int32_t to, uint32_t durationMs, bool async, bool stopAtEnd) override { return cGZSnd::Fade(from, to, durationMs, async, stopAtEnd); }
    int32_t GetPan() const override { return cGZSnd::GetPan(); }
    bool SetPan(int32_t pan) override { return cGZSnd::SetPan(pan); }
    uint32_t GetFrequency() const override { return cGZSnd::GetFrequency(); }
    bool SetFrequency(uint32_t hz) override { return cGZSnd::SetFrequency(hz); }
    uint32_t GetFileRate() const override { return cGZSnd::GetFileRate(); }
    uint32_t GetPosition() const override { return cGZSnd::GetPosition(); }
    bool SetPosition(uint32_t bytes) override { return cGZSnd::SetPosition(bytes); }
    // Handed to the reverb controller as level / 127 (kept; no reverb is heard).
    bool SetReverbMix(int32_t level) override;
    void SetFilterMode(int32_t mode) override { cGZSnd::SetFilterMode(mode); }
    void SetFilterValue(int32_t value) override { cGZSnd::SetFilterValue(value); }
    void SetFilterRate(int32_t rate) override { cGZSnd::SetFilterRate(rate); }
    int32_t GetFilterMode() const override { return cGZSnd::GetFilterMode(); }
    int32_t GetFilterValue() const override { return cGZSnd::GetFilterValue(); }
    int32_t GetFilterRate() const override { return cGZSnd::GetFilterRate(); }
    int32_t GetPriority() const override { return cGZSnd::GetPriority(); }
    void SetPriority(int32_t priority) override { cGZSnd::SetPriority(priority); }
    void SetRingFactor(int32_t factor) override { cGZSnd::SetRingFactor(factor); }

    // cIGZSnd3D
    bool GetPosition(float& x, float& y, float& z) override;
    bool SetPosition(float x, float y, float z) override;
    bool GetVelocity(float& x, float& y, float& z) override;
    bool SetVelocity(float x, float y, float z) override;
    bool GetPositionVelocity(float& x, float& y, float& z, float& vx, float& vy, float& vz) override;
    bool SetPositionVelocity(float x, float y, float z, float vx, float vy, float vz) override;
    bool SetDistanceScale(int32_t index) override;
    // Without 3D voices the distances are the sound's own: the getters give
    // nothing back (false), as a sound without a 3D buffer does.
    bool GetMinDistance(float& out) override;
    bool SetMinDistance(float distance) override;
    bool GetMaxDistance(float& out) override;
    bool SetMaxDistance(float distance) override;

    float MinDistance() const { return mMinDistance; }
    float MaxDistance() const { return mMaxDistance; }
    int32_t Attenuation() const { return mAttenuation; }
    bool Has3D() const { return mbHas3D; }
    bool IsHeadRelative() const { return mbHeadRelative; }

protected:
    ~cGZSnd3D() override = default;
    int32_t VolumeAttenuation() const override { return mbHas3D ? 0 : mAttenuation; }

private:
    float mMinDistance = kDefaultMinDistance;
    float mMaxDistance = kDefaultMaxDistance;
    bool mbHas3D = false;  // no 3D voices exist: always emulated
    int32_t mAttenuation = 0;
    float mX = 0, mY = 0, mZ = 0;
    bool mbHeadRelative;
};
