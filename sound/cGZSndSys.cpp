#include "sound/cGZSndSys.h"

#include <algorithm>
#include <atomic>
#include <cctype>

#include "framework/cGZFrameWorkNeighbours.h"
#include "framework/cRZCallbackThread.h"
#include "framework/cRZLock.h"
#include "platform/AudioMixer.h"
#include "platform/PeriodicTimer.h"
#include "platform/SdlAudioSink.h"
#include "sound/cGZSnd.h"
#include "sound/cGZSnd3D.h"
#include "sound/cGZSnd3DListener.h"
#include "sound/cGZSndDShow.h"

namespace {

std::atomic<cGZSndSys*> gService{nullptr};

}  // namespace

cGZSndSys::cGZSndSys(const cGZSndOutput& output)
    : cGZSystemService(kGZSoundSystemServiceID),
      mOutput(output),
      mpMixer(output.mixer),
      mPrimaryFormat(platform::PcmFormat::Make(2, 22050, 16)) {
    if (!mpMixer) {
        mpOwnMixer = std::make_unique<platform::AudioMixer>(mPrimaryFormat);
        mpMixer = mpOwnMixer.get();
    }
}

cGZSndSys::~cGZSndSys() {
    if (mbInitialised) Shutdown();
    cGZSndSys* self = this;
    gService.compare_exchange_strong(self, nullptr);
}

cGZSndSys* cGZSndSys::Current() { return gService; }

void cGZSndSys::RegisterProvider(const cGZSndOutput& output) {
    cGZFrameWorkProviders providers = RZGetFrameWorkProviders();
    providers.createSoundSystem = [output]() -> cIGZSystemService* { return new cGZSndSys(output); };
    RZSetFrameWorkProviders(providers);
}

cRZCallbackThread& cGZSndSys::CallbackThread() {
    return mOutput.callbackThread ? *mOutput.callbackThread : cRZCallbackThread::Get();
}

platform::PeriodicTimer& cGZSndSys::StreamTimers() {
    return mOutput.streamTimers ? *mOutput.streamTimers : platform::PeriodicTimer::System();
}

bool cGZSndSys::Init() {
    gService = this;
    if (!mbSoundEnabled || mbInitialised) return true;

    mDevices.clear();
    if (mOutput.openDevice) {
        for (const std::string& name : platform::SdlAudioSink::DeviceNames())
            mDevices.push_back({true, name, std::string()});
    } else {
        mDevices.push_back({false, "Offline mix", std::string()});
    }

    mpPrimary = new cGZSnd;
    mpPrimary->AddRef();
    mpPrimary->Init();
    // The flag first: the primary asks the service whether it is up.
    mbInitialised = true;
    mpReverb = std::make_unique<cGZSndReverb>();
    mbReverbSupported = ProbeReverb();
    mReverbEnvironment = 0;
    if (!mpPrimary->CreatePrimary(mPrimaryFormat)) {
        Shutdown();
        return false;
    }
    if (mOutput.openDevice) {
        mpSink = std::make_unique<platform::SdlAudioSink>(*mpMixer);
        if (!mpSink->Open(mOutput.deviceName)) {
            Shutdown();
            return false;
        }
        // The device may have asked for another rate or channel count.
        mPrimaryFormat = mpMixer->GetOutputFormat();
    }
    return true;
}

bool cGZSndSys::OnTick(uint32_t) {
    if (mMaintenanceInterval >= 0 && mMaintenanceTimer.GetElapsed() > mMaintenanceInterval) RunMaintenance();
    return true;
}

bool cGZSndSys::Shutdown() {
    UnregisterAll(true);
    mpReverb.reset();
    ReleaseListener();
    if (mpPrimary) {
        mpPrimary->Release();
        mpPrimary = nullptr;
    }
    mpSink.reset();
    mbInitialised = false;
    return true;
}

cIGZSnd* cGZSndSys::GetPrimarySound() { return mpPrimary; }

int32_t cGZSndSys::GetMasterVolume() const { return mpPrimary ? mpPrimary->GetVolume() : 1024; }

void cGZSndSys::SetMasterVolume(int32_t volume) {
    if (mpPrimary) mpPrimary->SetVolume(volume);
}

bool cGZSndSys::SetPrimaryFormat(uint16_t bits, uint32_t rate, uint16_t channels) {
    mPrimaryFormat = platform::PcmFormat::Make(channels, rate, bits);
    if (!mbInitialised) return true;
    if (!mpPrimary->CreatePrimary(mPrimaryFormat)) return false;
    if (mpSink && mpSink->IsOpen()) {
        // The device is reopened in the new format.
        if (!mpSink->Open(mOutput.deviceName)) return false;
        mPrimaryFormat = mpMixer->GetOutputFormat();
    }
    return true;
}

// --- registry --------------------------------------------------------------

bool cGZSndSys::RegisterSound(cIGZSnd* sound) {
    if (!sound) return false;
    cRZLock lock(mRegistryLock);
    return mRegistry.emplace(sound->GetId(), sound).second;
}

bool cGZSndSys::UnregisterSound(cIGZSnd* sound, bool release) {
    cIGZSnd* found = nullptr;
    {
        cRZLock lock(mRegistryLock);
        for (auto it = mRegistry.begin(); it != mRegistry.end(); ++it) {
            if (it->second != sound) continue;
            found = it->second;
            mRegistry.erase(it);
            break;
        }
    }
    if (found && release) found->Release();
    return found != nullptr;
}

bool cGZSndSys::UnregisterSoundId(uint32_t id, bool release) {
    cIGZSnd* found = nullptr;
    {
        cRZLock lock(mRegistryLock);
        auto it = mRegistry.find(id);
        if (it == mRegistry.end()) return false;
        found = it->second;
        mRegistry.erase(it);
    }
    if (release) found->Release();
    return true;
}

void cGZSndSys::UnregisterAll(bool release) {
    std::map<uint32_t, cIGZSnd*> doomed;
    {
        cRZLock lock(mRegistryLock);
        doomed.swap(mRegistry);
    }
    // Released outside the lock: a sound's destructor may call back in.
    if (release)
        for (auto& [id, sound] : doomed) sound->Release();
}

bool cGZSndSys::IsRegistered(cIGZSnd* sound) {
    cRZLock lock(mRegistryLock);
    return std::any_of(mRegistry.begin(), mRegistry.end(), [sound](const auto& e) { return e.second == sound; });
}

bool cGZSndSys::IsRegisteredId(uint32_t id) {
    cRZLock lock(mRegistryLock);
    return mRegistry.count(id) > 0;
}

cIGZSnd* cGZSndSys::FindSound(uint32_t id) {
    cRZLock lock(mRegistryLock);
    auto it = mRegistry.find(id);
    return it == mRegistry.end() ? nullptr : it->second;
}

size_t cGZSndSys::GetSoundCount() {
    cRZLock lock(mRegistryLock);
    return mRegistry.size();
}

// --- maintenance -----------------------------------------------------------

void cGZSndSys::SetMaintenanceInterval(int32_t ms) {
    mMaintenanceInterval = std::max(ms, kMinMaintenanceMs);
    mMaintenanceTimer.Restart();
}

void cGZSndSys::StopMaintenance() {
    mMaintenanceInterval = -1;
    mMaintenanceTimer.Stop();
}

void cGZSndSys::RunMaintenance() {
    mMaintenanceTimer.Restart();
    cRZLock lock(mRegistryLock);
    if (mRegistry.empty()) return;
    auto it = mbCursorSet ? mRegistry.find(mMaintenanceCursor) : mRegistry.end();
    if (it == mRegistry.end()) it = mRegistry.begin();
    const size_t visits = std::min(kMaintenanceVisits, mRegistry.size());
    for (size_t i = 0; i < visits; ++i) {
        cIGZSnd* sound = it->second;
        if (++it == mRegistry.end()) it = mRegistry.begin();
        if (!sound->IsPlaying() && sound->GetPriority() < 8) sound->Unload();
    }
    mMaintenanceCursor = it->first;
    mbCursorSet = true;
}

// --- sounds ----------------------------------------------------------------

cIGZSnd* cGZSndSys::CreateSound(const char* file, int32_t loadType) {
    cIGZSnd* sound = CreateSound();
    sound->SetFileName(file, loadType);
    return sound;
}

cIGZSnd* cGZSndSys::CreateSound() {
    auto* sound = new cGZSnd;
    sound->Init();
    sound->AddRef();
    return sound;
}

bool cGZSndSys::PlaySoundById(uint32_t id, int32_t volume, bool loop) {
    cIGZSnd* sound = FindSound(id);
    return sound && sound->Play(volume, loop, 1);
}

cIGZSnd* cGZSndSys::CreateMediaSound(const char* file, int32_t loadType) {
    cIGZSnd* sound = CreateMediaSound();
    sound->SetFileName(file, loadType);
    return sound;
}

cIGZSnd* cGZSndSys::CreateMediaSound() {
    auto* sound = new cGZSndDShow;
    sound->Init();
    sound->AddRef();
    return sound;
}

cIGZSnd3D* cGZSndSys::Create3DSound(const char* file, int32_t loadType, bool headRelative) {
    // The mixer has no 3D voices: every positional sound is a panning 2D
    // voice with emulated distance, whether 3D hardware is allowed or not.
    auto* sound = new cGZSnd3D(headRelative);
    sound->AsSound()->SetFileName(file, loadType);
    sound->AsSound()->Init();
    sound->AsSound()->AddRef();
    return sound->As3D();
}

cIGZSnd3D* cGZSndSys::Create3DSound() {
    auto* sound = new cGZSnd3D;
    sound->AsSound()->Init();
    sound->AsSound()->AddRef();
    return sound->As3D();
}

cGZSnd3DListener* cGZSndSys::GetListener() {
    if (!mpListener) {
        mpListener = new cGZSnd3DListener(this);
        mpListener->AddRef();
        mpListener->Init();
        cGZSnd3DListener::SetCurrent(mpListener);
    }
    return mpListener;
}

bool cGZSndSys::AdoptListener(cGZSnd3DListener* listener) {
    if (mpListener || !listener) return false;
    listener->AddRef();
    return true;
}

bool cGZSndSys::ReleaseListener() {
    if (!mpListener) return false;
    cGZSnd3DListener* listener = mpListener;
    mpListener = nullptr;
    if (cGZSnd3DListener::Current() == listener) cGZSnd3DListener::SetCurrent(nullptr);
    listener->Shutdown();
    listener->Release();
    return true;
}

bool cGZSndSys::SetReverbEnvironment(int32_t environment) {
    if (!mpReverb) return true;
    if (!mpReverb->SetEnvironment(environment)) return false;
    mReverbEnvironment = environment;
    return true;
}

void cGZSndSys::StopFirstMediaSound() { cGZSndDShow::StopFirstPlaying(); }

void cGZSndSys::ReleaseObject(cIGZSnd* sound) {
    if (sound) sound->Release();
}

// --- devices ---------------------------------------------------------------

bool cGZSndSys::GetDeviceName(size_t index, std::string& description, std::string& module) const {
    description.clear();
    module.clear();
    if (index >= mDevices.size()) return false;
    description = mDevices[index].description;
    module = mDevices[index].module;
    return true;
}

size_t cGZSndSys::DefaultDeviceIndex(const std::vector<Device>& devices) {
    if (devices.size() == 2) {
        const std::string& first = devices[0].description;
        bool primary = first.size() >= 7;
        for (size_t i = 0; primary && i < 7; ++i)
            primary = std::tolower(static_cast<unsigned char>(first[i])) ==
                      static_cast<unsigned char>("primary"[i]);
        return primary ? 1 : 0;
    }
    if (devices.size() > 2)
        for (size_t i = 0; i < devices.size(); ++i)
            if (!devices[i].hasGuid) return i;
    return 0;
}

bool cGZSndSys::GetDefaultDeviceName(std::string& description, std::string& module) const {
    return GetDeviceName(DefaultDeviceIndex(mDevices), description, module);
}
