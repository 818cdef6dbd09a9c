#include "sound/cGZSndDShow.h"

#include <algorithm>
#include <cstring>
#include <list>
#include <vector>

#include "framework/CTGFileManager.h"
#include "framework/cRZCallbackTimer.h"
#include "framework/cRZCriticalSection.h"
#include "framework/cRZLock.h"
#include "platform/AudioMixer.h"
#include "platform/MediaPlayer.h"
#include "sound/cGZSndSys.h"

namespace {

// The media sounds playing, in the order they started, and their lock.
cRZCriticalSection& MediaListLock() {
    static cRZCriticalSection lock;
    return lock;
}
std::list<cGZSndDShow*>& MediaList() {
    static std::list<cGZSndDShow*> list;
    return list;
}

// The file's bytes through the file manager (names are found whatever their
// letter case and separators).
bool ReadMediaBytes(const char* name, std::vector<uint8_t>& out) {
    CTGFile* file = CTGFileManager::Global().Open(name, false);
    if (!file) return false;
    const int32_t size = file->GetSize();
    bool ok = size >= 0;
    if (ok) {
        out.resize(static_cast<size_t>(size));
        ok = size == 0 || file->Read(out.data(), size) == size;
    }
    CTGFileManager::Global().Close(file);
    return ok;
}

}  // namespace

cGZSndDShow::cGZSndDShow() = default;

cGZSndDShow::~cGZSndDShow() {
    Close();
    if (mpEventTimer) {
        mpEventTimer->Stop();
        mpEventTimer->Release();
    }
}

bool cGZSndDShow::Init() {
    cGZSnd::Init();
    return true;
}

bool cGZSndDShow::Open(const char* name, int32_t loadType) {
    Close();
    const size_t length = name ? std::strlen(name) : 0;
    cGZSnd::SetFile(name, static_cast<uint32_t>(length), loadType);
    cGZSndSys* sys = cGZSndSys::Current();
    if (!sys || !sys->IsInitialised() || length == 0 || length > kMaxNameLength) return Close();
    std::vector<uint8_t> bytes;
    if (!ReadMediaBytes(name, bytes)) return Close();
    auto player = std::make_unique<platform::MediaPlayer>(sys->Mixer(), sys->StreamTimers());
    std::string error;
    if (!player->OpenMemory(std::move(bytes), error)) return Close();
    if (!mpEventTimer) {
        mpEventTimer = new cRZCallbackTimer(&sys->CallbackThread());
        mpEventTimer->SetCallback(&EventThunk, this);
    }
    player->SetEventHandler([this](platform::MediaEvent event) { OnPlayerEvent(static_cast<int32_t>(event)); });
    mpPlayer = std::move(player);
    mLastEvent = 0;
    mbReady = true;
    SetVolume(mVolume);
    SetPan(mPan);
    return true;
}

bool cGZSndDShow::Close() {
    Stop();
    mbReady = false;
    // The player first: its refills (which may arm the report timer) end
    // with it.
    mpPlayer.reset();
    if (mpEventTimer) mpEventTimer->Stop();
    return false;
}

bool cGZSndDShow::ReleaseEvents() {
    if (mpPlayer) mpPlayer->SetEventHandler(nullptr);
    if (mpEventTimer) mpEventTimer->Stop();
    return true;
}

// --- the playing list ------------------------------------------------------

bool cGZSndDShow::Play(int32_t, bool, int32_t) {
    if (!mbReady) return false;
    {
        cRZLock lock(MediaListLock());
        auto& list = MediaList();
        if (std::find(list.begin(), list.end(), this) == list.end()) list.push_back(this);
    }
    mLastEvent = 0;
    if (!mpPlayer->Run()) return Close();
    return true;
}

bool cGZSndDShow::IsPlaying() {
    if (!mbReady) return false;
    return mpPlayer->GetState() != platform::MediaState::Stopped;
}

bool cGZSndDShow::Stop() {
    {
        cRZLock lock(MediaListLock());
        MediaList().remove(this);
    }
    if (!mbReady) return false;
    if (!mpPlayer->Stop()) return Close();
    return true;
}

bool cGZSndDShow::Pause() {
    if (!mbReady) return false;
    if (!mpPlayer->Pause()) return Close();
    return true;
}

bool cGZSndDShow::Resume() {
    if (!mbReady) return false;
    if (!mpPlayer->Run()) return Close();
    return true;
}

bool cGZSndDShow::SetPosition(uint32_t bytes) {
    if (!mbReady || bytes != 0) return false;
    if (mpPlayer->GetState() == platform::MediaState::Stopped) return true;
    return mpPlayer->Stop();
}

uint32_t cGZSndDShow::GetFrequency() const { return mbReady ? mpPlayer->Format().samplesPerSec : 0; }

int32_t cGZSndDShow::GetRemainingTime() {
    return mbReady ? static_cast<int32_t>(std::min<uint64_t>(mpPlayer->LengthMs(), INT32_MAX)) : 0;
}

bool cGZSndDShow::StopFirstPlaying() {
    cRZLock lock(MediaListLock());
    if (MediaList().empty()) return false;
    return MediaList().front()->Stop();
}

bool cGZSndDShow::StopIfPlaying(cGZSndDShow* sound) {
    cRZLock lock(MediaListLock());
    auto& list = MediaList();
    if (std::find(list.begin(), list.end(), sound) == list.end()) return false;
    return sound->Stop();
}

size_t cGZSndDShow::PlayingCount() {
    cRZLock lock(MediaListLock());
    return MediaList().size();
}

bool cGZSndDShow::IsInPlayingList(const cGZSndDShow* sound) {
    cRZLock lock(MediaListLock());
    const auto& list = MediaList();
    return std::find(list.begin(), list.end(), sound) != list.end();
}

// --- volume and pan --------------------------------------------------------

bool cGZSndDShow::SetVolume(int32_t volume) {
    if (!mbReady) return false;
    mVolume = volume;
    const cGZSndSys* sys = cGZSndSys::Current();
    const int32_t master = sys ? sys->GetMasterVolume() : 1024;
    const int32_t m = volume * master / 1024;
    const int32_t level = m > 0 ? std::min(m * 4000 / 1024 - 4000, 0) : platform::kAudioSilence;
    if (!mpPlayer->SetVolume(level)) return Close();
    return true;
}

bool cGZSndDShow::SetPan(int32_t pan) {
    if (!mbReady) return false;
    mPan = std::clamp(pan, 0, 1024);
    if (!mpPlayer->SetBalance(mPan * 20000 / 1024 - 10000)) return Close();
    return true;
}

bool cGZSndDShow::Fade(int32_t, int32_t, uint32_t, bool, bool) {
    if (!mbReady) return false;
    Stop();
    return true;
}

// --- reports ---------------------------------------------------------------

void cGZSndDShow::OnPlayerEvent(int32_t code) {
    // On the refill timer's thread: handed on to the callback thread, which
    // is where sounds are stopped.
    mPendingEvent = code;
    if (mpEventTimer) mpEventTimer->StartOnce(1);
}

void cGZSndDShow::EventThunk(void* self) { static_cast<cGZSndDShow*>(self)->EventArrived(); }

void cGZSndDShow::EventArrived() {
    const int32_t code = mPendingEvent.exchange(0);
    if (code == 0) return;
    mLastEvent = code;
    // The sound that finished, not whichever started first.
    StopIfPlaying(this);
}
