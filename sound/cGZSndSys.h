// The framework's sound service. It mixes on the output it is given: the
// sound device through SDL, or no device at all, an offline sink pulling the
// mixer (tests, tools). Its timers may be manual clocks likewise.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/cGZSystemService.h"
#include "framework/cRZCriticalSection.h"
#include "framework/cRZTimer.h"
#include "platform/WavFile.h"
#include "sound/cGZSndReverb.h"
#include "sound/cIGZSndSys.h"

class cGZSnd;
class cRZCallbackThread;
namespace platform {
class AudioMixer;
class PeriodicTimer;
class SdlAudioSink;
}  // namespace platform

struct cGZSndOutput {
    // Open the sound device at Init (false: the mixer is pulled by someone
    // else, an offline sink).
    bool openDevice = true;
    std::string deviceName;  // empty: the default device
    platform::AudioMixer* mixer = nullptr;  // null: the service's own
    cRZCallbackThread* callbackThread = nullptr;  // null: the program's timer thread
    platform::PeriodicTimer* streamTimers = nullptr;  // null: the process's real timers
};

class cGZSndSys : public cIGZSndSys, public cGZSystemService {
public:
    static constexpr uint32_t kSoundSystemId = 0xFFD23940;
    static constexpr int32_t kPriority = 500000;
    static constexpr int32_t kMinMaintenanceMs = 5000;
    static constexpr size_t kMaintenanceVisits = 10;

    explicit cGZSndSys(const cGZSndOutput& output = {});
    ~cGZSndSys() override;

    // The service that sounds play through (set by Init).
    static cGZSndSys* Current();
    // Has the framework create this service with the given output.
    static void RegisterProvider(const cGZSndOutput& output = {});

    uint32_t GetId() const { return kSoundSystemId; }
    int32_t GetPriority() const { return kPriority; }

    // cGZSystemService
    bool Init() override;
    bool OnTick(uint32_t tickCount) override;
    bool Shutdown() override;

    // cIGZSndSys
    bool IsInitialised() const override { return mbInitialised; }
    bool IsSoundEnabled() const override { return mbSoundEnabled; }
    void SetSoundEnabled(bool enabled) override { mbSoundEnabled = enabled; }
    cIGZSnd* GetPrimarySound() override;
    int32_t GetMasterVolume() const override;
    void SetMasterVolume(int32_t volume) override;
    bool SetPrimaryFormat(uint16_t bits, uint32_t rate, uint16_t channels) override;
    void SetUserData(void* data) override { mpUserData = data; }
    void* GetUserData() const override { return mpUserData; }
    bool RegisterSound(cIGZSnd* sound) override;
    bool UnregisterSound(cIGZSnd* sound, bool release) override;
    bool UnregisterSoundId(uint32_t id, bool release) override;
    void UnregisterAll(bool release) override;
    bool IsRegistered(cIGZSnd* sound) override;
    bool IsRegisteredId(uint32_t id) override;
    cIGZSnd* FindSound(uint32_t id) override;
    size_t GetSoundCount() override;
    void SetMaintenanceInterval(int32_t ms) override;
    void StopMaintenance() override;
    void RunMaintenance() override;
    cIGZSnd* CreateSound(const char* file, int32_t loadType) override;
    cIGZSnd* CreateSound() override;
    bool PlaySoundById(uint32_t id, int32_t volume, bool loop) override;
    cIGZSnd* CreateMediaSound(const char* file, int32_t loadType) override;
    cIGZSnd* CreateMediaSound() override;
    cIGZSnd3D* Create3DSound(const char* file, int32_t loadType, bool headRelative) override;
    cIGZSnd3D* Create3DSound() override;
    cGZSnd3DListener* GetListener() override;
    bool AdoptListener(cGZSnd3DListener* listener) override;
    bool ReleaseListener() override;
    bool SetReverbEnvironment(int32_t environment) override;
    int32_t GetReverbEnvironment() const override { return mReverbEnvironment; }
    cGZSnd3DListener* GetListenerIfAny() override { return mpListener; }
    cGZSndReverb* GetReverbController() override { return mpReverb.get(); }
    bool Is3DHardwareAllowed() const override { return mb3DHardwareAllowed; }
    void Set3DHardwareAllowed(bool allowed) override { mb3DHardwareAllowed = allowed; }
    size_t GetDeviceCount() const override { return mDevices.size(); }
    bool GetDeviceName(size_t index, std::string& description, std::string& module) const override;
    bool GetDefaultDeviceName(std::string& description, std::string& module) const override;
    void StopFirstMediaSound() override;
    void ReleaseObject(cIGZSnd* sound) override;
    void SetInitialised(bool initialised) override { mbInitialised = initialised; }
    // No reverb hardware exists behind the mixer.
    bool ProbeReverb() override { return false; }

    bool IsReverbSupported() const { return mbReverbSupported; }
    int32_t GetMaintenanceInterval() const { return mMaintenanceInterval; }
    const platform::PcmFormat& GetPrimaryFormat() const { return mPrimaryFormat; }
    // What sounds play through.
    platform::AudioMixer& Mixer() { return *mpMixer; }
    cRZCallbackThread& CallbackThread();
    platform::PeriodicTimer& StreamTimers();

    struct Device {
        bool hasGuid = false;
        std::string description;
        std::string module;
    };
    // The default-device rule over a device list (tests give their own).
    static size_t DefaultDeviceIndex(const std::vector<Device>& devices);

private:
    cGZSndOutput mOutput;
    std::unique_ptr<platform::AudioMixer> mpOwnMixer;
    platform::AudioMixer* mpMixer;
    std::unique_ptr<platform::SdlAudioSink> mpSink;
    bool mbSoundEnabled = true;
    bool mbInitialised = false;
    bool mb3DHardwareAllowed = true;
    cGZSnd* mpPrimary = nullptr;
    platform::PcmFormat mPrimaryFormat;
    void* mpUserData = nullptr;
    cRZCriticalSection mRegistryLock;
    std::map<uint32_t, cIGZSnd*> mRegistry;
    uint32_t mMaintenanceCursor = 0;  // id of the next sound to visit
    bool mbCursorSet = false;
    cRZTimer mMaintenanceTimer;
    int32_t mMaintenanceInterval = -1;
    std::vector<Device> mDevices;
    cGZSnd3DListener* mpListener = nullptr;
    std::unique_ptr<cGZSndReverb> mpReverb;
    int32_t mReverbEnvironment = 0;
    bool mbReverbSupported = false;
};
