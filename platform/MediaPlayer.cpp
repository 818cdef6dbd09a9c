#include "platform/MediaPlayer.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "platform/AudioMixer.h"
#include "platform/Mp3Decoder.h"
#include "platform/PeriodicTimer.h"

namespace platform {

// Decoded PCM in the stream's format, read front to back.
class MediaPlayer::Source {
public:
    virtual ~Source() = default;
    virtual const PcmFormat& Format() const = 0;
    virtual uint64_t LengthBytes() = 0;  // 0: unknown
    virtual size_t Read(uint8_t* out, size_t bytes) = 0;
    virtual bool Failed() const = 0;
    virtual bool Rewind() = 0;
};

class MediaPlayer::WavSource : public Source {
public:
    explicit WavSource(WavData data) : mData(std::move(data)) {}
    const PcmFormat& Format() const override { return mData.format; }
    uint64_t LengthBytes() override { return mData.samples.size(); }
    size_t Read(uint8_t* out, size_t bytes) override {
        const size_t n = std::min(bytes, mData.samples.size() - mOffset);
        if (n > 0) std::memcpy(out, mData.samples.data() + mOffset, n);
        mOffset += n;
        return n;
    }
    bool Failed() const override { return false; }
    bool Rewind() override {
        mOffset = 0;
        return true;
    }

private:
    WavData mData;
    size_t mOffset = 0;
};

class MediaPlayer::Mp3Source : public Source {
public:
    bool Open(std::vector<uint8_t> bytes, std::string& error) { return mDecoder.OpenMemory(std::move(bytes), error); }
    const PcmFormat& Format() const override { return mDecoder.Format(); }
    uint64_t LengthBytes() override {
        const int64_t frames = mDecoder.LengthFrames();
        return frames > 0 ? uint64_t(frames) * mDecoder.Format().blockAlign : 0;
    }
    size_t Read(uint8_t* out, size_t bytes) override { return mDecoder.Read(out, bytes); }
    bool Failed() const override { return mDecoder.Failed(); }
    bool Rewind() override { return mDecoder.Rewind(); }

private:
    Mp3Decoder mDecoder;
};

MediaPlayer::MediaPlayer(AudioMixer& mixer, PeriodicTimer& timers) : mMixer(mixer), mTimers(timers) {}

MediaPlayer::~MediaPlayer() { Close(); }

bool MediaPlayer::Open(const std::filesystem::path& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Close();
        error = "cannot open " + path.string();
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return OpenMemory(std::move(bytes), error);
}

bool MediaPlayer::OpenMemory(std::vector<uint8_t> bytes, std::string& error) {
    Close();
    const bool riff = bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
                      std::memcmp(bytes.data() + 8, "WAVE", 4) == 0;
    if (riff) {
        WavData data;
        if (!ParseWav(bytes.data(), bytes.size(), data, error)) return false;
        return OpenSource(std::make_unique<WavSource>(std::move(data)), error);
    }
    auto mp3 = std::make_unique<Mp3Source>();
    if (!mp3->Open(std::move(bytes), error)) return false;
    return OpenSource(std::move(mp3), error);
}

bool MediaPlayer::OpenSource(std::unique_ptr<Source> source, std::string& error) {
    const PcmFormat format = source->Format();
    if (format.avgBytesPerSec == 0 || format.blockAlign == 0) {
        error = "media: no samples per second";
        return false;
    }
    // A second of sound, in whole frames.
    const uint32_t ring = std::max<uint32_t>(format.avgBytesPerSec * kRingMs / 1000 / format.blockAlign, 64) *
                          format.blockAlign;
    AudioVoice* voice = mMixer.CreateVoice(format, ring);
    if (!voice) {
        error = "media: the mixer cannot play this format";
        return false;
    }
    const uint64_t lengthBytes = source->LengthBytes();
    std::lock_guard lock(mLock);
    mSource = std::move(source);
    mFormat = format;
    mVoice = voice;
    mRing = ring;
    mLengthMs = lengthBytes * 1000 / format.avgBytesPerSec;
    mState = MediaState::Stopped;
    mVoice->SetVolume(mVolume);
    mVoice->SetPan(mBalance);
    return true;
}

void MediaPlayer::Close() {
    StopTimer();
    std::lock_guard lock(mLock);
    if (mVoice) mMixer.ReleaseVoice(mVoice);
    mVoice = nullptr;
    mSource.reset();
    mState = MediaState::Stopped;
    mLengthMs = 0;
}

bool MediaPlayer::IsOpen() const {
    std::lock_guard lock(mLock);
    return mVoice != nullptr;
}

void MediaPlayer::StopTimer() {
    uint32_t id = 0;
    {
        std::lock_guard lock(mLock);
        id = mTimerId;
        mTimerId = 0;
    }
    // Not under the lock: a refill under way may be waiting for it.
    if (id != 0) mTimers.Kill(id);
}

void MediaPlayer::FillAhead() {
    // A few frames before the cursor stay untouched: the mixer's resampler
    // may still look at them.
    const uint64_t guard = uint64_t{mFormat.blockAlign} * 16;
    const uint64_t limit = mPlayed + mRing - guard;
    std::vector<uint8_t> scratch;
    while (mWritten < limit) {
        const uint32_t offset = static_cast<uint32_t>(mWritten % mRing);
        const uint32_t bytes = static_cast<uint32_t>(std::min<uint64_t>(mRing - offset, limit - mWritten));
        void* first = nullptr;
        uint32_t firstBytes = 0;
        if (!mVoice->Lock(offset, bytes, &first, &firstBytes, nullptr, nullptr)) return;
        auto* dest = static_cast<uint8_t*>(first);
        size_t got = 0;
        if (mEnd == UINT64_MAX) {
            got = mSource->Read(dest, firstBytes);
            if (got < firstBytes) {
                mFailed = mSource->Failed();
                mEnd = mWritten + got;
            }
        }
        std::memset(dest + got, mFormat.bitsPerSample == 8 ? 0x80 : 0, firstBytes - got);
        mVoice->Unlock(first, firstBytes, nullptr, 0);
        mWritten += firstBytes;
    }
}

void MediaPlayer::Prefill() {
    mSource->Rewind();
    mWritten = 0;
    mPlayed = 0;
    mLastCursor = 0;
    mEnd = UINT64_MAX;
    mFailed = false;
    mVoice->Stop();
    mVoice->SetPosition(0);
    FillAhead();
}

bool MediaPlayer::Run() {
    {
        std::lock_guard lock(mLock);
        if (!mVoice) return false;
        if (mState == MediaState::Running) return true;
        if (mState == MediaState::Stopped) Prefill();
        if (!mVoice->Play(true)) return false;
        mState = MediaState::Running;
        if (mTimerId != 0) return true;
    }
    const uint32_t id = mTimers.Start(kRefillPeriodMs, [this] { Pump(); });
    std::lock_guard lock(mLock);
    mTimerId = id;
    return id != 0;
}

bool MediaPlayer::Pause() {
    {
        std::lock_guard lock(mLock);
        if (!mVoice) return false;
        if (mState == MediaState::Stopped) return true;
        mVoice->Stop();
        mState = MediaState::Paused;
    }
    StopTimer();
    return true;
}

bool MediaPlayer::Stop() {
    {
        std::lock_guard lock(mLock);
        if (!mVoice) return false;
        mVoice->Stop();
        mVoice->SetPosition(0);
        mState = MediaState::Stopped;
    }
    StopTimer();
    return true;
}

MediaState MediaPlayer::GetState() const {
    std::lock_guard lock(mLock);
    return mState;
}

bool MediaPlayer::SetVolume(int32_t hundredthsDb) {
    std::lock_guard lock(mLock);
    mVolume = std::clamp(hundredthsDb, kAudioSilence, 0);
    return !mVoice || mVoice->SetVolume(mVolume);
}

int32_t MediaPlayer::GetVolume() const {
    std::lock_guard lock(mLock);
    return mVolume;
}

bool MediaPlayer::SetBalance(int32_t hundredthsDb) {
    std::lock_guard lock(mLock);
    mBalance = std::clamp(hundredthsDb, -10000, 10000);
    return !mVoice || mVoice->SetPan(mBalance);
}

int32_t MediaPlayer::GetBalance() const {
    std::lock_guard lock(mLock);
    return mBalance;
}

void MediaPlayer::SetEventHandler(EventHandler handler) {
    std::lock_guard lock(mLock);
    mHandler = std::move(handler);
}

void MediaPlayer::Pump() {
    std::unique_lock lock(mLock);
    if (mState != MediaState::Running || !mVoice) return;
    const uint32_t cursor = mVoice->GetPosition();
    mPlayed += cursor >= mLastCursor ? cursor - mLastCursor : cursor + mRing - mLastCursor;
    mLastCursor = cursor;
    if (mPlayed >= mEnd) {
        Finish(mFailed ? MediaEvent::ErrorAbort : MediaEvent::Complete, lock);
        return;
    }
    FillAhead();
}

void MediaPlayer::Finish(MediaEvent event, std::unique_lock<std::mutex>& lock) {
    mVoice->Stop();
    mVoice->SetPosition(0);
    mState = MediaState::Stopped;
    const uint32_t id = mTimerId;
    mTimerId = 0;
    EventHandler handler = mHandler;
    lock.unlock();
    // From inside its own callback the kill returns at once.
    if (id != 0) mTimers.Kill(id);
    if (handler) handler(event);
}

}  // namespace platform
