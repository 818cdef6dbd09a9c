#include "platform/WavePlayer.h"

#include <cstring>

#include "platform/WavFile.h"

namespace platform {

WavePlayer::WavePlayer() = default;

WavePlayer::~WavePlayer() {
    if (mSink) mSink->Close();
}

bool WavePlayer::Play(const std::filesystem::path& wav, std::string* error) {
    WavData data;
    std::string why;
    if (!ReadWavFile(wav, data, why)) {
        if (error) *error = why;
        return false;
    }
    if (!mTriedOpen) {
        mTriedOpen = true;
        mSink = std::make_unique<SdlAudioSink>(mMixer);
        if (!mSink->Open()) mSink.reset();
    }
    if (mVoice) {
        mMixer.ReleaseVoice(mVoice);
        mVoice = nullptr;
    }
    if (data.samples.empty()) return true;
    mVoice = mMixer.CreateVoice(data.format, static_cast<uint32_t>(data.samples.size()));
    if (!mVoice) {
        if (error) *error = "the mixer refused the sound's format";
        return false;
    }
    void* first = nullptr;
    void* second = nullptr;
    uint32_t firstBytes = 0, secondBytes = 0;
    if (mVoice->Lock(0, mVoice->Size(), &first, &firstBytes, &second, &secondBytes)) {
        std::memcpy(first, data.samples.data(), firstBytes);
        mVoice->Unlock(first, firstBytes, second, secondBytes);
    }
    mVoice->Play(false);
    return true;
}

}  // namespace platform
