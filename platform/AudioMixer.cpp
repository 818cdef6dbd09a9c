#include "platform/AudioMixer.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

bool ValidVoiceFormat(const PcmFormat& f) {
    return f.formatTag == 1 && (f.channels == 1 || f.channels == 2) && (f.bitsPerSample == 8 || f.bitsPerSample == 16) &&
           f.samplesPerSec >= kAudioMinFrequency && f.samplesPerSec <= kAudioMaxFrequency &&
           f.blockAlign == f.channels * f.bitsPerSample / 8;
}

// One channel's sample of a frame as a 16-bit value.
inline float SampleAt(const uint8_t* data, uint32_t frame, uint32_t channel, const PcmFormat& f) {
    if (f.bitsPerSample == 8) return static_cast<float>((data[frame * f.channels + channel] - 128) * 256);
    const uint8_t* p = data + (static_cast<size_t>(frame) * f.channels + channel) * 2;
    return static_cast<float>(static_cast<int16_t>(p[0] | p[1] << 8));
}

}  // namespace

float AudioMixer::GainOf(int32_t hundredthsDb) {
    if (hundredthsDb <= kAudioSilence) return 0.0f;
    if (hundredthsDb >= 0) return 1.0f;
    return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

AudioVoice::AudioVoice(AudioMixer* mixer, const PcmFormat& format, std::shared_ptr<std::vector<uint8_t>> data)
    : mMixer(mixer),
      mFormat(format),
      mData(std::move(data)),
      mSize(static_cast<uint32_t>(mData->size())),
      mFrames(mSize / format.blockAlign),
      mFrequency(format.samplesPerSec) {}

void AudioVoice::UpdateGains() {
    const float gain = AudioMixer::GainOf(mVolume);
    mGainLeft = gain * (mPan > 0 ? AudioMixer::GainOf(-mPan) : 1.0f);
    mGainRight = gain * (mPan < 0 ? AudioMixer::GainOf(mPan) : 1.0f);
}

bool AudioVoice::Play(bool loop) {
    std::lock_guard lock(mMixer->mLock);
    mPlaying = true;
    mLooping = loop;
    return true;
}

bool AudioVoice::Stop() {
    std::lock_guard lock(mMixer->mLock);
    mPlaying = false;
    mLooping = false;
    return true;
}

uint32_t AudioVoice::GetStatus() const {
    std::lock_guard lock(mMixer->mLock);
    return mPlaying ? (kAudioPlaying | (mLooping ? kAudioLooping : 0u)) : 0u;
}

uint32_t AudioVoice::GetPosition() const {
    std::lock_guard lock(mMixer->mLock);
    return static_cast<uint32_t>(mCursor >> 32) * mFormat.blockAlign;
}

bool AudioVoice::SetPosition(uint32_t bytes) {
    if (bytes > mSize) return false;
    std::lock_guard lock(mMixer->mLock);
    mCursor = static_cast<uint64_t>(bytes / mFormat.blockAlign) << 32;
    return true;
}

bool AudioVoice::Lock(uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes, void** second,
                      uint32_t* secondBytes) {
    if (offset >= mSize || bytes > mSize || bytes == 0) return false;
    uint8_t* base = mData->data();
    const uint32_t toEnd = mSize - offset;
    *first = base + offset;
    *firstBytes = std::min(bytes, toEnd);
    if (bytes > toEnd) {
        if (second) *second = base;
        if (secondBytes) *secondBytes = bytes - toEnd;
        return second != nullptr && secondBytes != nullptr;
    }
    if (second) *second = nullptr;
    if (secondBytes) *secondBytes = 0;
    return true;
}

bool AudioVoice::Unlock(void*, uint32_t, void*, uint32_t) { return true; }

bool AudioVoice::SetVolume(int32_t hundredthsDb) {
    if (hundredthsDb < kAudioSilence || hundredthsDb > 0) return false;
    std::lock_guard lock(mMixer->mLock);
    mVolume = hundredthsDb;
    UpdateGains();
    return true;
}

int32_t AudioVoice::GetVolume() const {
    std::lock_guard lock(mMixer->mLock);
    return mVolume;
}

bool AudioVoice::SetPan(int32_t pan) {
    if (pan < -10000 || pan > 10000) return false;
    std::lock_guard lock(mMixer->mLock);
    mPan = pan;
    UpdateGains();
    return true;
}

int32_t AudioVoice::GetPan() const {
    std::lock_guard lock(mMixer->mLock);
    return mPan;
}

bool AudioVoice::SetFrequency(uint32_t hz) {
    if (hz < kAudioMinFrequency || hz > kAudioMaxFrequency) return false;
    std::lock_guard lock(mMixer->mLock);
    mFrequency = hz;
    return true;
}

uint32_t AudioVoice::GetFrequency() const {
    std::lock_guard lock(mMixer->mLock);
    return mFrequency;
}

AudioMixer::AudioMixer(const PcmFormat& output) {
    if (!SetOutputFormat(output)) mOutput = PcmFormat::Make(2, 22050, 16);
}

AudioMixer::~AudioMixer() = default;

AudioVoice* AudioMixer::CreateVoice(const PcmFormat& format, uint32_t bytes) {
    if (!ValidVoiceFormat(format) || bytes < format.blockAlign) return nullptr;
    const uint8_t silence = format.bitsPerSample == 8 ? 0x80 : 0;
    auto data = std::make_shared<std::vector<uint8_t>>(bytes, silence);
    std::unique_ptr<AudioVoice> voice(new AudioVoice(this, format, std::move(data)));
    AudioVoice* raw = voice.get();
    std::lock_guard lock(mLock);
    mVoices.push_back(std::move(voice));
    return raw;
}

AudioVoice* AudioMixer::Duplicate(AudioVoice* original) {
    if (!original) return nullptr;
    std::unique_ptr<AudioVoice> voice(new AudioVoice(this, original->mFormat, original->mData));
    AudioVoice* raw = voice.get();
    std::lock_guard lock(mLock);
    mVoices.push_back(std::move(voice));
    return raw;
}

void AudioMixer::ReleaseVoice(AudioVoice* voice) {
    std::unique_ptr<AudioVoice> doomed;
    std::lock_guard lock(mLock);
    auto it = std::find_if(mVoices.begin(), mVoices.end(), [voice](const auto& v) { return v.get() == voice; });
    if (it == mVoices.end()) return;
    doomed = std::move(*it);
    mVoices.erase(it);
}

size_t AudioMixer::VoiceCount() const {
    std::lock_guard lock(mLock);
    return mVoices.size();
}

bool AudioMixer::SetOutputFormat(const PcmFormat& format) {
    if (format.formatTag != 1 || format.bitsPerSample != 16 || (format.channels != 1 && format.channels != 2) ||
        format.samplesPerSec < 100 || format.samplesPerSec > 192000)
        return false;
    std::lock_guard lock(mLock);
    mOutput = PcmFormat::Make(format.channels, format.samplesPerSec, 16);
    return true;
}

bool AudioMixer::SetMasterVolume(int32_t hundredthsDb) {
    if (hundredthsDb < kAudioSilence || hundredthsDb > 0) return false;
    std::lock_guard lock(mLock);
    mMasterVolume = hundredthsDb;
    mMasterGain = GainOf(hundredthsDb);
    return true;
}

int32_t AudioMixer::GetMasterVolume() const {
    std::lock_guard lock(mLock);
    return mMasterVolume;
}

void AudioMixer::MixVoice(AudioVoice& v, float* mix, size_t frames, uint32_t outChannels) {
    const PcmFormat& f = v.mFormat;
    const uint8_t* data = v.mData->data();
    const uint32_t count = v.mFrames;
    const uint64_t end = static_cast<uint64_t>(count) << 32;
    const uint64_t step = (static_cast<uint64_t>(v.mFrequency) << 32) / mOutput.samplesPerSec;
    const bool exact = (step & 0xFFFFFFFFu) == 0;
    uint64_t cursor = v.mCursor;
    const float gl = v.mGainLeft;
    const float gr = v.mGainRight;
    for (size_t i = 0; i < frames; ++i) {
        if (cursor >= end) {
            if (!v.mLooping) {
                v.mPlaying = false;
                cursor = 0;
                break;
            }
            cursor %= end;
        }
        const uint32_t index = static_cast<uint32_t>(cursor >> 32);
        float left;
        float right;
        if (exact) {
            left = SampleAt(data, index, 0, f);
            right = f.channels == 2 ? SampleAt(data, index, 1, f) : left;
        } else {
            // Linear interpolation towards the next frame (the first again
            // when looping; the last one held when not).
            const uint32_t next = index + 1 < count ? index + 1 : (v.mLooping ? 0 : index);
            const float t = static_cast<float>(cursor & 0xFFFFFFFFu) * (1.0f / 4294967296.0f);
            const float l0 = SampleAt(data, index, 0, f);
            left = l0 + (SampleAt(data, next, 0, f) - l0) * t;
            if (f.channels == 2) {
                const float r0 = SampleAt(data, index, 1, f);
                right = r0 + (SampleAt(data, next, 1, f) - r0) * t;
            } else {
                right = left;
            }
        }
        if (outChannels == 2) {
            mix[2 * i] += left * gl;
            mix[2 * i + 1] += right * gr;
        } else {
            mix[i] += (left * gl + right * gr) * 0.5f;
        }
        cursor += step;
    }
    // A voice that ended on this call's last frame stops now, not one call late.
    if (v.mPlaying && cursor >= end) {
        if (v.mLooping) {
            cursor %= end;
        } else {
            v.mPlaying = false;
            cursor = 0;
        }
    }
    v.mCursor = cursor;
}

void AudioMixer::Render(int16_t* out, size_t frames) {
    std::lock_guard lock(mLock);
    const uint32_t channels = mOutput.channels;
    const size_t samples = frames * channels;
    mMix.assign(samples, 0.0f);
    for (auto& voice : mVoices)
        if (voice->mPlaying && voice->mFrames > 0) MixVoice(*voice, mMix.data(), frames, channels);
    const float master = mMasterGain;
    for (size_t i = 0; i < samples; ++i) {
        const float s = mMix[i] * master;
        out[i] = static_cast<int16_t>(std::lrint(std::clamp(s, -32768.0f, 32767.0f)));
    }
}

}  // namespace platform
