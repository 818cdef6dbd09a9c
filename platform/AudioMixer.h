// The software mixer in place of the sound card's secondary buffers. A voice
// is one buffer of PCM samples (8-bit unsigned or 16-bit signed, mono or
// stereo, any rate) with a byte play cursor, a status (playing, looping),
// volume and pan in hundredths of a decibel and a playback frequency; the
// mixer resamples every playing voice to the output format and sums them.
// Writers fill a voice through Lock, which hands out the one or two regions of
// the ring that a span covers, so a stream can refill behind the cursor while
// the voice plays. A duplicate shares its original's samples and plays on its
// own. The output (the "primary") is 16-bit, mono or stereo, with a master
// volume. A sink pulls Render from its own thread; every call may come from
// any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/WavFile.h"

namespace platform {

class AudioMixer;

enum : uint32_t { kAudioPlaying = 1, kAudioLooping = 4 };
constexpr int32_t kAudioSilence = -10000;  // hundredths of a decibel
constexpr uint32_t kAudioMinFrequency = 100;
constexpr uint32_t kAudioMaxFrequency = 100000;

class AudioVoice {
public:
    const PcmFormat& Format() const { return mFormat; }
    uint32_t Size() const { return mSize; }

    // Starts from the current cursor; a looping voice wraps at its end, any
    // other stops there and rewinds to 0.
    bool Play(bool loop);
    bool Stop();
    uint32_t GetStatus() const;
    uint32_t GetPosition() const;
    // Past the end is refused.
    bool SetPosition(uint32_t bytes);

    // Regions of [offset, offset + bytes) in the ring: the second is set when
    // the span wraps past the end. False when offset or bytes exceed the size.
    bool Lock(uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes, void** second,
              uint32_t* secondBytes);
    bool Unlock(void* first, uint32_t firstBytes, void* second, uint32_t secondBytes);

    // -10000..0; values outside are refused.
    bool SetVolume(int32_t hundredthsDb);
    int32_t GetVolume() const;
    // -10000 (left only)..10000 (right only); the other side is attenuated.
    bool SetPan(int32_t pan);
    int32_t GetPan() const;
    // 100..100000 Hz; values outside are refused.
    bool SetFrequency(uint32_t hz);
    uint32_t GetFrequency() const;

private:
    friend class AudioMixer;
    AudioVoice(AudioMixer* mixer, const PcmFormat& format, std::shared_ptr<std::vector<uint8_t>> data);
    void UpdateGains();

    AudioMixer* mMixer;
    PcmFormat mFormat;
    std::shared_ptr<std::vector<uint8_t>> mData;
    uint32_t mSize;
    uint32_t mFrames;
    // Guarded by the mixer's lock.
    bool mPlaying = false;
    bool mLooping = false;
    uint64_t mCursor = 0;  // frames in the high 32 bits, fraction in the low
    int32_t mVolume = 0;
    int32_t mPan = 0;
    uint32_t mFrequency;
    float mGainLeft = 1.0f;
    float mGainRight = 1.0f;
};

class AudioMixer {
public:
    explicit AudioMixer(const PcmFormat& output = PcmFormat::Make(2, 22050, 16));
    ~AudioMixer();
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    // Null for a format other than PCM 8/16-bit, 1/2 channels, 100..100000 Hz,
    // or a size below one frame. The samples start silent.
    AudioVoice* CreateVoice(const PcmFormat& format, uint32_t bytes);
    // A new voice on the same samples, stopped at 0, at full volume.
    AudioVoice* Duplicate(AudioVoice* voice);
    void ReleaseVoice(AudioVoice* voice);
    size_t VoiceCount() const;

    const PcmFormat& GetOutputFormat() const { return mOutput; }
    // 16-bit, 1 or 2 channels, 100..192000 Hz; false otherwise.
    bool SetOutputFormat(const PcmFormat& format);
    bool SetMasterVolume(int32_t hundredthsDb);
    int32_t GetMasterVolume() const;

    // Mixes the next frames of every playing voice into out (interleaved
    // 16-bit, the output's channel count), advancing their cursors.
    void Render(int16_t* out, size_t frames);

    // Gain of a level in hundredths of a decibel; -10000 and below are 0.
    static float GainOf(int32_t hundredthsDb);

private:
    friend class AudioVoice;
    void MixVoice(AudioVoice& voice, float* mix, size_t frames, uint32_t channels);

    mutable std::mutex mLock;
    PcmFormat mOutput;
    int32_t mMasterVolume = 0;
    float mMasterGain = 1.0f;
    std::vector<std::unique_ptr<AudioVoice>> mVoices;
    std::vector<float> mMix;
};

}  // namespace platform
