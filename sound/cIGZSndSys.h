// The sound and media folder. cGZSndSys is the framework's sound service
// (id 0xFFD23940): it owns the mixer and its output (a sound device, or an
// offline sink in tests and tools), a registry of sounds by id and a
// maintenance pass that unloads idle sounds. cGZSnd is one sound over mixer
// voices, fed by the wave readers cGZWave (".wav") and cWaveXA ("XA").
// Sound timers run on the framework's callback thread (completion, fades)
// and on periodic timers (stream refills); both can be manual clocks, so a
// whole playback can run faster than real time, deterministically.
#pragma once

#include <cstdint>
#include <string>

class cIGZSnd;
class cIGZSnd3D;
class cGZSnd3DListener;
class cGZSndReverb;

class cIGZSndSys {
public:
    virtual bool IsInitialised() const = 0;
    virtual bool IsSoundEnabled() const = 0;
    virtual void SetSoundEnabled(bool enabled) = 0;
    virtual cIGZSnd* GetPrimarySound() = 0;
    virtual int32_t GetMasterVolume() const = 0;
    virtual void SetMasterVolume(int32_t volume) = 0;
    virtual bool SetPrimaryFormat(uint16_t bits, uint32_t rate, uint16_t channels) = 0;
    virtual void SetUserData(void* data) = 0;
    virtual void* GetUserData() const = 0;
    virtual bool RegisterSound(cIGZSnd* sound) = 0;
    virtual bool UnregisterSound(cIGZSnd* sound, bool release) = 0;
    virtual bool UnregisterSoundId(uint32_t id, bool release) = 0;
    virtual void UnregisterAll(bool release) = 0;
    virtual bool IsRegistered(cIGZSnd* sound) = 0;
    virtual bool IsRegisteredId(uint32_t id) = 0;
    virtual cIGZSnd* FindSound(uint32_t id) = 0;
    virtual size_t GetSoundCount() = 0;
    virtual void SetMaintenanceInterval(int32_t ms) = 0;
    virtual void StopMaintenance() = 0;
    virtual void RunMaintenance() = 0;
    // A new sound with one reference; the first form binds it to a file.
    virtual cIGZSnd* CreateSound(const char* file, int32_t loadType) = 0;
    virtual cIGZSnd* CreateSound() = 0;
    virtual bool PlaySoundById(uint32_t id, int32_t volume, bool loop) = 0;
    // A media-file sound (MP3 or wave) with one reference; the first form
    // opens it on the file.
    virtual cIGZSnd* CreateMediaSound(const char* file, int32_t loadType) = 0;
    virtual cIGZSnd* CreateMediaSound() = 0;
    // A positional sound with one reference, handed out by its 3D face.
    virtual cIGZSnd3D* Create3DSound(const char* file, int32_t loadType, bool headRelative) = 0;
    virtual cIGZSnd3D* Create3DSound() = 0;
    // Made on the first call, which also makes it the listener 3D sounds use.
    virtual cGZSnd3DListener* GetListener() = 0;
    // False when a listener exists; else takes a reference to the given one
    // (which is not stored).
    virtual bool AdoptListener(cGZSnd3DListener* listener) = 0;
    virtual bool ReleaseListener() = 0;
    virtual bool SetReverbEnvironment(int32_t environment) = 0;
    virtual int32_t GetReverbEnvironment() const = 0;
    virtual cGZSnd3DListener* GetListenerIfAny() = 0;
    virtual cGZSndReverb* GetReverbController() = 0;
    virtual bool Is3DHardwareAllowed() const = 0;
    virtual void Set3DHardwareAllowed(bool allowed) = 0;
    virtual size_t GetDeviceCount() const = 0;
    virtual bool GetDeviceName(size_t index, std::string& description, std::string& module) const = 0;
    virtual bool GetDefaultDeviceName(std::string& description, std::string& module) const = 0;
    // The first media sound of the playing list, when there is one, stops.
    virtual void StopFirstMediaSound() = 0;
    virtual void ReleaseObject(cIGZSnd* sound) = 0;
    virtual void SetInitialised(bool initialised) = 0;
    virtual bool ProbeReverb() = 0;

protected:
    virtual ~cIGZSndSys() = default;
};
