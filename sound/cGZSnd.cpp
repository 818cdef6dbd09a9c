#include "sound/cGZSnd.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

#include "framework/CTGFileManager.h"
#include "framework/cGZFrameWork.h"
#include "framework/cRZCallbackTimer.h"
#include "framework/cRZLock.h"
#include "framework/cRZThread.h"
#include "framework/cRZTimer.h"
#include "platform/AudioMixer.h"
#include "platform/Clock.h"
#include "platform/PeriodicTimer.h"
#include "sound/cGZSndSys.h"

namespace {

// Sounds alive, so that a timer callback never reaches a deleted one.
std::mutex& LiveLock() {
    static std::mutex lock;
    return lock;
}
std::set<cGZSnd*>& LiveSet() {
    static std::set<cGZSnd*> live;
    return live;
}

std::atomic<uint32_t> gNextId{1};
std::atomic<uint32_t> gLargeFileThreshold{cGZSnd::kDefaultLargeFileThreshold};
// A callback of one kind skips while another of its kind still runs.
std::atomic<int> gCompletionBusy{0};
std::atomic<int> gFaderBusy{0};
std::atomic<int> gRefillBusy{0};

// The service when it is up; sound operations succeed silently otherwise.
cGZSndSys* LiveService() {
    cGZSndSys* sys = cGZSndSys::Current();
    return sys && sys->IsInitialised() ? sys : nullptr;
}

}  // namespace

struct cGZSnd::Stream {
    std::unique_ptr<cIGZSndReader> reader;
    uint32_t ring = 0;
    uint32_t segment = 0;
    uint32_t writePos = 0;
    uint32_t lastCursor = 0;
    uint64_t bytesPlayed = 0;
    uint64_t bytesDelivered = 0;  // data (not silence) put into the ring
    bool finished = true;
    bool endOfData = false;
    uint32_t timerId = 0;
    bool timerActive = false;
    bool bufferPlaying = false;
    bool playLooped = false;
    bool refillBusy = false;
};

cGZSnd::cGZSnd() {
    std::lock_guard lock(LiveLock());
    LiveSet().insert(this);
}

cGZSnd::~cGZSnd() {
    {
        std::lock_guard lock(LiveLock());
        LiveSet().erase(this);
    }
    if (IsPlaying()) Stop();
    Unload();
    if (mpFaderTimer) {
        mpFaderTimer->Stop();
        mpFaderTimer->Release();
    }
    if (mpCompletionTimer) {
        mpCompletionTimer->Stop();
        mpCompletionTimer->Release();
    }
}

size_t cGZSnd::LiveCount() {
    std::lock_guard lock(LiveLock());
    return LiveSet().size();
}

uint32_t cGZSnd::AddRef() { return ++mRefCount; }

bool cGZSnd::AddRefIfAlive() {
    uint32_t count = mRefCount.load();
    while (count != 0)
        if (mRefCount.compare_exchange_weak(count, count + 1)) return true;
    return false;
}

uint32_t cGZSnd::Release() {
    if (mRefCount == 0) {
        delete this;
        return 0;
    }
    const uint32_t count = --mRefCount;
    if (count == 0) delete this;
    return count;
}

bool cGZSnd::Init() {
    // Ids come from a counter: an address cut to 32 bits could repeat.
    SetId(gNextId++);
    return true;
}

bool cGZSnd::Shutdown() { return Unload(); }

bool cGZSnd::SetFile(const char* name, uint32_t length, int32_t loadType) {
    cRZLock lock(mLock);
    mFileName.assign(name ? name : "", name ? std::min<size_t>(length, std::strlen(name)) : 0);
    mbLoop = false;
    mLoadType = loadType;
    mbReloadNeeded = true;
    mbStreamed = loadType == 1 || (loadType == 2 && IsLarge());
    return true;
}

bool cGZSnd::SetFileName(const char* name, int32_t loadType) {
    return SetFile(name, name ? static_cast<uint32_t>(std::strlen(name)) : 0, loadType);
}

bool cGZSnd::IsLarge() {
    CTGFile* file = CTGFileManager::Global().Open(mFileName.c_str(), false);
    if (!file) return false;
    const uint32_t size = static_cast<uint32_t>(file->GetSize());
    CTGFileManager::Global().Close(file);
    return size >= gLargeFileThreshold;
}

uint32_t cGZSnd::GetLargeFileThreshold() const { return gLargeFileThreshold; }
void cGZSnd::SetLargeFileThreshold(uint32_t bytes) { gLargeFileThreshold = bytes; }

void cGZSnd::SetRingFactor(int32_t factor) { mRingFactor = std::clamp(factor, 1, 6); }

int32_t cGZSnd::GetLoadState() const {
    if (mbStreamed) return mpStream ? 1 : 3;
    return HasBuffer() ? 1 : 0;
}

int32_t cGZSnd::GetPlayState() { return mId == 0 ? 5 : (IsPlaying() ? 1 : 0); }

int32_t cGZSnd::GetBufferCount() const {
    int32_t count = 0;
    for (auto* buffer : mBuffers) count += buffer != nullptr;
    return count;
}

uint32_t cGZSnd::GetRingSize() const { return mpStream ? mpStream->ring : 0; }
uint32_t cGZSnd::GetSegmentSize() const { return mpStream ? mpStream->segment : 0; }

// --- buffers ---------------------------------------------------------------

bool cGZSnd::CreateBuffer(uint32_t bytes) {
    cGZSndSys* sys = LiveService();
    if (!sys) return false;
    ReleaseBuffers();
    mBuffers[0] = sys->Mixer().CreateVoice(mFormat, bytes);
    mBufferSize = mBuffers[0] ? bytes : 0;
    return mBuffers[0] != nullptr;
}

void cGZSnd::ReleaseBuffers() {
    cRZLock lock(mLock);
    cGZSndSys* sys = cGZSndSys::Current();
    for (auto*& buffer : mBuffers) {
        if (buffer && sys) sys->Mixer().ReleaseVoice(buffer);
        buffer = nullptr;
    }
    mpLastPlaying = nullptr;
    mBufferSize = 0;
}

bool cGZSnd::CreatePrimary(const platform::PcmFormat& format) {
    mbPrimary = true;
    mFormat = format;
    cGZSndSys* sys = cGZSndSys::Current();
    return sys && sys->Mixer().SetOutputFormat(format);
}

void cGZSnd::FillSilence(uint8_t* dest, uint32_t bytes) const {
    std::memset(dest, mFormat.bitsPerSample == 8 ? 0x80 : 0, bytes);
}

bool cGZSnd::Load() {
    // A file named since the last load is loaded now, so that Play does not
    // load it again (and lose what was set on the loaded voices).
    if (mbReloadNeeded) {
        mbReloadNeeded = false;
        Unload();
    }
    if (!mbStreamed) return HasBuffer() ? true : LoadStatic();
    return mbPrefilled ? true : StreamPrefill(true);
}

bool cGZSnd::LoadStatic() {
    std::unique_ptr<cIGZSndReader> reader(MakeSndReader(mFileName.c_str()));
    if (!reader || !reader->Open(mFileName.c_str())) return false;
    cRZLock lock(mLock);
    mFormat = reader->GetFormat();
    mFilter.SetFormat(mFormat.channels, mFormat.bitsPerSample);
    const uint32_t size = reader->GetDataSize();
    if (!CreateBuffer(size)) return false;
    void* region;
    uint32_t regionBytes;
    if (!mBuffers[0]->Lock(0, size, &region, &regionBytes, nullptr, nullptr)) {
        ReleaseBuffers();
        return false;
    }
    auto* bytes = static_cast<uint8_t*>(region);
    const uint32_t got = reader->Read(bytes, size);
    // A file shorter than it claims leaves silence, not stale memory.
    if (got < size) FillSilence(bytes + got, size - got);
    mFilter.Apply(bytes, size);
    mBuffers[0]->Unlock(region, regionBytes, nullptr, 0);
    return true;
}

bool cGZSnd::Unload() {
    StopCompletionTimer();
    if (IsPlaying()) Stop();
    if (mpStream) StopStreaming();
    cRZLock lock(mLock);
    mpStream.reset();
    mbPrefilled = false;
    ReleaseBuffers();
    return true;
}

// --- playing ---------------------------------------------------------------

bool cGZSnd::Play(int32_t volume, bool loop, int32_t mode) {
    mVolume = std::clamp(volume, 0, 1024);
    if (mbReloadNeeded) {
        mbReloadNeeded = false;
        Unload();
    }
    if (!LiveService()) return true;
    if (mbStreamed) return StartStreaming(loop, true);
    if (!HasBuffer() && !Load()) return false;
    if (mode == 0) mode = mDefaultPlayMode;
    if (loop) mbLoop = true;
    platform::AudioVoice* voice = mBuffers[0];
    if (IsPlaying()) {
        if (mode == 1) {
            mpLastPlaying->SetPosition(0);
            SetVolume(mVolume);
            if (mpCompletion && !(mpCompletionTimer && mpCompletionTimer->IsRunning())) ArmCompletion();
            return true;
        }
        if (mode == 2) return true;
        if (mode == 3 && !GetIdleCopy(voice)) return false;
    }
    SetVolume(mVolume);
    if (!voice->Play(mbLoop)) return false;
    if (mpCompletion && !(mpCompletionTimer && mpCompletionTimer->IsRunning())) ArmCompletion();
    return true;
}

bool cGZSnd::GetIdleCopy(platform::AudioVoice*& out) {
    cGZSndSys* sys = LiveService();
    if (!sys) return false;
    cRZLock lock(mLock);
    for (auto*& slot : mBuffers) {
        if (slot) {
            if (slot->GetStatus() == 0) {
                out = slot;
                return true;
            }
            continue;
        }
        slot = sys->Mixer().Duplicate(mBuffers[0]);
        if (!slot) return false;
        slot->SetPan(mBuffers[0]->GetPan());
        slot->SetFrequency(mBuffers[0]->GetFrequency());
        out = slot;
        return true;
    }
    return false;
}

bool cGZSnd::IsPlaying() {
    for (auto* buffer : mBuffers) {
        if (buffer && (buffer->GetStatus() & (platform::kAudioPlaying | platform::kAudioLooping))) {
            mpLastPlaying = buffer;
            return true;
        }
    }
    return false;
}

bool cGZSnd::Stop() {
    if (!LiveService()) return true;
    if (mbStreamed) {
        const bool wasPlaying = mpStream && mpStream->bufferPlaying;
        StopStreaming();
        if (wasPlaying) CallCompletion();
        return true;
    }
    int stopped = 0;
    for (auto* buffer : mBuffers) {
        if (buffer && buffer->GetStatus() != 0) {
            buffer->Stop();
            ++stopped;
        }
    }
    StopCompletionTimer();
    for (int i = 0; i < stopped; ++i) CallCompletion();
    return true;
}

bool cGZSnd::Pause() { return Stop(); }

bool cGZSnd::StopAll() {
    if (!LiveService()) return true;
    if (mbStreamed) return StopStreaming();
    bool any = false;
    for (auto* buffer : mBuffers) {
        if (!buffer) continue;
        any |= buffer->GetStatus() != 0;
        buffer->Stop();
    }
    StopCompletionTimer();
    if (any) CallCompletion();
    return true;
}

// --- volume, pan, frequency ------------------------------------------------

int32_t cGZSnd::DeviceVolume(int32_t volume) const {
    const cGZSndSys* sys = cGZSndSys::Current();
    const int32_t master = sys ? sys->GetMasterVolume() : 1024;
    const int32_t m = volume * master / 1024;
    return m > 0 ? m * 4000 / 1024 - 4000 : platform::kAudioSilence;
}

bool cGZSnd::SetVolume(int32_t volume) {
    mVolume = std::clamp(volume, 0, 1024);
    if (mbPrimary || !LiveService() || !HasBuffer()) return true;
    const int32_t level = DeviceVolume(std::clamp(mVolume - VolumeAttenuation(), 0, 1024));
    bool ok = true;
    for (auto* buffer : mBuffers)
        if (buffer) ok &= buffer->SetVolume(level);
    return ok;
}

int32_t cGZSnd::GetPan() const {
    if (!HasBuffer()) return 512;
    return (mBuffers[0]->GetPan() + 10000) * 1024 / 20000;
}

bool cGZSnd::SetPan(int32_t pan) {
    if (!LiveService() || !HasBuffer()) return true;
    const int32_t level = std::clamp(pan, 0, 1024) * 20000 / 1024 - 10000;
    bool ok = true;
    for (auto* buffer : mBuffers)
        if (buffer) ok &= buffer->SetPan(level);
    return ok;
}

uint32_t cGZSnd::GetFrequency() const { return HasBuffer() ? mBuffers[0]->GetFrequency() : mFormat.samplesPerSec; }

bool cGZSnd::SetFrequency(uint32_t hz) {
    if (!LiveService() || !HasBuffer()) return true;
    const uint32_t clamped = std::clamp(hz, platform::kAudioMinFrequency, platform::kAudioMaxFrequency);
    bool ok = true;
    for (auto* buffer : mBuffers)
        if (buffer) ok &= buffer->SetFrequency(clamped);
    return ok;
}

uint32_t cGZSnd::GetPosition() const { return HasBuffer() ? mBuffers[0]->GetPosition() : 0; }

bool cGZSnd::SetPosition(uint32_t bytes) {
    if (!LiveService() || !HasBuffer()) return true;
    return mBuffers[0]->SetPosition(bytes);
}

// --- completion ------------------------------------------------------------

void cGZSnd::SetCompletionCallback(CompletionCallback callback, uint32_t userData) {
    mpCompletion = callback;
    mCompletionData = userData;
}

void cGZSnd::ClearCompletionCallback() {
    mpCompletion = nullptr;
    StopCompletionTimer();
}

void cGZSnd::CallCompletion() {
    if (CompletionCallback callback = mpCompletion) callback(mCompletionData);
}

void cGZSnd::StopCompletionTimer() {
    if (mpCompletionTimer) mpCompletionTimer->Stop();
}

int32_t cGZSnd::GetRemainingTime() {
    const uint32_t perSecond = mFormat.avgBytesPerSec;
    if (perSecond == 0) return 0;
    if (!IsPlaying()) return static_cast<int32_t>(uint64_t{mBufferSize} * 1000 / perSecond);
    if (mbLoop) return -1;
    const uint32_t cursor = mpLastPlaying->GetPosition();
    const uint32_t left = cursor < mBufferSize ? mBufferSize - cursor : 0;
    return static_cast<int32_t>(uint64_t{left} * 1000 / perSecond);
}

void cGZSnd::ArmCompletion() {
    cGZSndSys* sys = LiveService();
    if (!sys) return;
    if (!mpCompletionTimer) {
        mpCompletionTimer = new cRZCallbackTimer(&sys->CallbackThread());
        mpCompletionTimer->SetCallback(&CompletionThunk, this);
        mpCompletionTimer->SetAuxValue(10);
    }
    const int32_t remaining = GetRemainingTime();
    if (remaining < 0) return;  // looping: never completes by itself
    mpCompletionTimer->StartOnce(static_cast<uint32_t>(std::max(remaining, 1)));
}

void cGZSnd::CompletionTick() {
    if (IsPlaying())
        ArmCompletion();
    else
        CallCompletion();
}

// --- fades -----------------------------------------------------------------

bool cGZSnd::Fade(int32_t from, int32_t to, uint32_t durationMs, bool async, bool stopAtEnd) {
    cGZSndSys* sys = LiveService();
    if (!sys) return true;
    const int32_t step = (to - from) / 10;
    const uint32_t tick = std::max<uint32_t>(durationMs / 10, 1);
    if (async) {
        if (mpFaderTimer) return false;
        mbFadeStopAtEnd = stopAtEnd;
        mFadeStep = step;
        mFadeTarget = to;
        mFadeTicks = 0;
        // A fade that stops the sound holds it alive until it ends.
        if (stopAtEnd) AddRef();
        mpFaderTimer = new cRZCallbackTimer(&sys->CallbackThread());
        mpFaderTimer->SetCallback(&FaderThunk, this);
        mpFaderTimer->SetAuxValue(100);
        SetVolume(from);
        mpFaderTimer->StartRepeating(tick);
        return true;
    }
    SetVolume(from);
    int32_t volume = from;
    cRZTimer watch;
    for (int i = 0; i < 10; ++i) {
        watch.Restart();
        while (watch.GetElapsed() < tick) platform::SleepMs(0);
        volume += step;
        SetVolume(i == 9 ? to : volume);
    }
    if (stopAtEnd) Stop();
    return true;
}

void cGZSnd::FaderTick() {
    const int32_t next = mVolume + mFadeStep;
    ++mFadeTicks;
    // Ten ticks make a fade, whatever its step (a step of 0 never reaches
    // the target by itself).
    const bool done = mFadeTicks >= 10 || (mFadeStep > 0 && next >= mFadeTarget) ||
                      (mFadeStep < 0 && mFadeTarget >= next);
    if (!done) {
        SetVolume(next);
        return;
    }
    cRZCallbackTimer* timer = mpFaderTimer;
    mpFaderTimer = nullptr;
    timer->Stop();
    timer->Release();
    if (mbFadeStopAtEnd) {
        Stop();
        Release();  // the reference the fade took
    } else {
        SetVolume(mFadeTarget);
    }
}

// --- streaming -------------------------------------------------------------

bool cGZSnd::OpenStream(bool stopIfPlaying) {
    cGZSndSys* sys = LiveService();
    if (!sys) return false;
    if (IsPlaying()) {
        if (!stopIfPlaying) return false;
        Stop();
    }
    std::unique_ptr<cIGZSndReader> reader(MakeSndReader(mFileName.c_str()));
    if (!reader || !reader->Open(mFileName.c_str())) return false;
    cRZLock lock(mLock);
    mFormat = reader->GetFormat();
    mFilter.SetFormat(mFormat.channels, mFormat.bitsPerSample);
    auto stream = std::make_unique<Stream>();
    stream->segment = (mFormat.avgBytesPerSec / 8 * 256) >> 7;
    const size_t length = mFileName.size();
    if (length >= 2 && (mFileName[length - 2] | 0x20) == 'x' && (mFileName[length - 1] | 0x20) == 'a')
        stream->segment = (stream->segment + 3) & ~3u;
    // Whole frames only, so a refill never splits a sample.
    if (mFormat.blockAlign > 1) stream->segment -= stream->segment % mFormat.blockAlign;
    stream->ring = stream->segment * static_cast<uint32_t>(mRingFactor) * 6;
    stream->reader = std::move(reader);
    if (stream->segment == 0 || !CreateBuffer(stream->ring)) return false;
    mpStream = std::move(stream);
    return true;
}

void cGZSnd::FillFromReader(uint8_t* dest, uint32_t bytes) {
    Stream& s = *mpStream;
    uint32_t done = 0;
    bool justRewound = false;
    while (done < bytes && !s.endOfData) {
        const uint32_t got = s.reader->Read(dest + done, bytes - done);
        done += got;
        s.bytesDelivered += got;
        if (done == bytes) break;
        if (got > 0 && s.reader->GetDataSize() > 0) {
            justRewound = false;
            continue;
        }
        // Exhausted: a looping sound wraps, unless its reader gives nothing
        // even from the start.
        if (mbLoop && !(justRewound && got == 0) && s.reader->Rewind()) {
            justRewound = true;
            continue;
        }
        s.endOfData = true;
    }
    if (done < bytes) FillSilence(dest + done, bytes - done);
}

bool cGZSnd::StreamPrefill(bool open) {
    if (open && !OpenStream(true)) return false;
    if (!mpStream || !HasBuffer()) return false;
    cRZLock lock(mLock);
    Stream& s = *mpStream;
    mbReloadNeeded = false;
    s.endOfData = false;
    s.bytesDelivered = 0;
    s.playLooped = true;
    void* region;
    uint32_t regionBytes;
    if (!mBuffers[0]->Lock(0, s.ring, &region, &regionBytes, nullptr, nullptr)) return false;
    auto* bytes = static_cast<uint8_t*>(region);
    const uint32_t first = s.reader->Read(bytes, s.ring);
    if (first == 0) {
        mBuffers[0]->Unlock(region, regionBytes, nullptr, 0);
        s.reader.reset();
        return false;
    }
    s.bytesDelivered = first;
    if (first < s.ring) {
        if (mbLoop) {
            FillFromReader(bytes + first, s.ring - first);
        } else {
            // Shorter than the ring: the ring plays once.
            s.endOfData = true;
            s.playLooped = false;
            FillSilence(bytes + first, s.ring - first);
        }
    }
    mFilter.Apply(bytes, s.ring);
    mBuffers[0]->Unlock(region, regionBytes, nullptr, 0);
    s.writePos = 0;
    s.lastCursor = 0;
    s.bytesPlayed = 0;
    s.finished = false;
    mbPrefilled = true;
    return true;
}

bool cGZSnd::StartStreaming(bool loop, bool open) {
    cGZSndSys* sys = LiveService();
    if (!sys) return true;
    if (loop) mbLoop = true;
    if (mDefaultPlayMode == 1 && IsPlaying()) StopStreaming();
    if (!mbPrefilled && !StreamPrefill(open)) return false;
    Stream& s = *mpStream;
    s.bufferPlaying = true;
    if (!mBuffers[0]->SetPosition(0)) {
        s.reader.reset();
        return false;
    }
    mBuffers[0]->SetVolume(DeviceVolume(std::clamp(mVolume - VolumeAttenuation(), 0, 1024)));
    mBuffers[0]->Play(s.playLooped);
    cGZSnd* self = this;
    s.timerId = sys->StreamTimers().Start(kRefillPeriodMs, [self] { RefillThunk(self); });
    s.timerActive = s.timerId != 0;
    return true;
}

bool cGZSnd::StopStreaming() {
    mbPrefilled = false;
    uint32_t timerId = 0;
    {
        cRZLock lock(mLock);
        if (!mpStream) return true;
        if (mpStream->timerActive) {
            mpStream->timerActive = false;
            timerId = mpStream->timerId;
            mpStream->timerId = 0;
        }
    }
    // Not under the sound's lock: a refill under way may be waiting for it.
    if (timerId != 0)
        if (cGZSndSys* sys = cGZSndSys::Current()) sys->StreamTimers().Kill(timerId);
    cRZLock lock(mLock);
    if (!mpStream) return true;
    mpStream->finished = true;
    if (mpStream->bufferPlaying) {
        mpStream->bufferPlaying = false;
        if (mBuffers[0]) mBuffers[0]->Stop();
    }
    mpStream->reader.reset();
    return true;
}

void cGZSnd::Refill() {
    cRZLock lock(mLock);
    if (!mpStream || !mpStream->reader || mpStream->refillBusy || !mBuffers[0]) return;
    Stream& s = *mpStream;
    const uint32_t cursor = mBuffers[0]->GetPosition();
    // The segment to be written is the one playing: wait.
    if (s.writePos <= cursor && cursor < s.writePos + s.segment) return;

    s.bytesPlayed += cursor >= s.lastCursor ? cursor - s.lastCursor : cursor + s.ring - s.lastCursor;
    s.lastCursor = cursor;

    if (s.endOfData && s.bytesPlayed >= s.bytesDelivered) {
        // Everything delivered has played.
        if (s.finished) return;
        s.finished = true;
        const bool loop = mbLoop;
        // The stream state may be replaced below: s is not used again.
        StopStreaming();
        if (loop)
            StartStreaming(true, true);
        else
            CallCompletion();
        return;
    }

    void* first;
    void* second;
    uint32_t firstBytes;
    uint32_t secondBytes;
    if (!mBuffers[0]->Lock(s.writePos, s.segment, &first, &firstBytes, &second, &secondBytes)) return;
    s.refillBusy = true;
    uint8_t* regions[2] = {static_cast<uint8_t*>(first), static_cast<uint8_t*>(second)};
    const uint32_t sizes[2] = {firstBytes, secondBytes};
    for (int r = 0; r < 2; ++r) {
        if (!regions[r] || sizes[r] == 0) continue;
        if (s.endOfData || s.finished)
            FillSilence(regions[r], sizes[r]);
        else
            FillFromReader(regions[r], sizes[r]);
        mFilter.Apply(regions[r], sizes[r]);
    }
    mBuffers[0]->Unlock(first, firstBytes, second, secondBytes);
    s.writePos += s.segment;
    if (s.writePos >= s.ring) s.writePos -= s.ring;
    s.refillBusy = false;
}

// --- timer callbacks -------------------------------------------------------

namespace {

// Runs one timer callback of a sound that is still alive, holding a
// reference, at most one of a kind at a time, and reports a throw once under
// the callback's name.
template <class Body>
void Guarded(cGZSnd* sound, bool (*addRef)(cGZSnd*), std::atomic<int>& busy, const char* name, Body body) {
    {
        std::lock_guard lock(LiveLock());
        if (!LiveSet().count(sound) || !addRef(sound)) return;
    }
    int idle = 0;
    if (busy.compare_exchange_strong(idle, 1)) {
        if (!GetCallbackCrash()) {
            try {
                body();
            } catch (...) {
                ReportCallbackCrash(name);
            }
        }
        busy = 0;
    }
    sound->Release();
}

}  // namespace

void cGZSnd::CompletionThunk(void* self) {
    auto* sound = static_cast<cGZSnd*>(self);
    Guarded(
        sound, [](cGZSnd* s) { return s->AddRefIfAlive(); }, gCompletionBusy, "GZSnd Completion Estimation",
        [sound] { sound->CompletionTick(); });
}

void cGZSnd::FaderThunk(void* self) {
    auto* sound = static_cast<cGZSnd*>(self);
    Guarded(
        sound, [](cGZSnd* s) { return s->AddRefIfAlive(); }, gFaderBusy, "GZSnd Volume Fader",
        [sound] { sound->FaderTick(); });
}

void cGZSnd::RefillThunk(cGZSnd* sound) {
    Guarded(
        sound, [](cGZSnd* s) { return s->AddRefIfAlive(); }, gRefillBusy, "GZSnd Streaming Callback",
        [sound] { sound->Refill(); });
}
