// Plays short wave files asynchronously, one at a time, the way a program
// plays its click and start-up sounds: a new sound cuts the one playing.
// The mixer runs on the SDL sink; with no audio device nothing is heard and
// nothing fails.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/AudioMixer.h"
#include "platform/SdlAudioSink.h"

namespace platform {

class WavePlayer {
public:
    WavePlayer();
    ~WavePlayer();
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;

    // False, with the reason, for a file that is not a PCM wave; true also
    // when no device is there to hear it.
    bool Play(const std::filesystem::path& wav, std::string* error = nullptr);

private:
    AudioMixer mMixer;
    std::unique_ptr<SdlAudioSink> mSink;
    bool mTriedOpen = false;
    AudioVoice* mVoice = nullptr;
};

}  // namespace platform
