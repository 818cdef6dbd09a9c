// The real audio output: an SDL2 audio device whose callback pulls the mixer.
// The device is opened in the mixer's output format; when the device insists
// on another rate or channel count the mixer's output follows it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/AudioMixer.h"

namespace platform {

class SdlAudioSink {
public:
    explicit SdlAudioSink(AudioMixer& mixer);
    ~SdlAudioSink();
    SdlAudioSink(const SdlAudioSink&) = delete;
    SdlAudioSink& operator=(const SdlAudioSink&) = delete;

    // The output devices by SDL's names (initialises SDL's audio); empty
    // when there is no audio at all.
    static std::vector<std::string> DeviceNames();

    // Opens the named device (empty: the default) and starts pulling.
    // False, with Error() telling why, when no device opens.
    bool Open(const std::string& device = {});
    void Close();
    bool IsOpen() const { return mDevice != 0; }
    const std::string& Error() const { return mError; }

private:
    static void Pull(void* self, uint8_t* stream, int bytes);

    AudioMixer& mMixer;
    uint32_t mDevice = 0;
    bool mInitialised = false;
    std::string mError;
};

}  // namespace platform
