#include "platform/SdlAudioSink.h"

#include "platform/SdlLibrary.h"

namespace platform {

namespace {

bool InitAudio() {
    if (!LoadSdl(nullptr)) return false;
    if (Sdl().SDL_WasInit(SDL_INIT_AUDIO)) return true;
    return Sdl().SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace

SdlAudioSink::SdlAudioSink(AudioMixer& mixer) : mMixer(mixer) {}

SdlAudioSink::~SdlAudioSink() { Close(); }

std::vector<std::string> SdlAudioSink::DeviceNames() {
    std::vector<std::string> names;
    if (!InitAudio()) return names;
    const int count = Sdl().SDL_GetNumAudioDevices(0);
    for (int i = 0; i < count; ++i)
        if (const char* name = Sdl().SDL_GetAudioDeviceName(i, 0)) names.emplace_back(name);
    return names;
}

void SdlAudioSink::Pull(void* self, uint8_t* stream, int bytes) {
    auto* sink = static_cast<SdlAudioSink*>(self);
    const size_t frames = static_cast<size_t>(bytes) / (2 * sink->mMixer.GetOutputFormat().channels);
    sink->mMixer.Render(reinterpret_cast<int16_t*>(stream), frames);
}

bool SdlAudioSink::Open(const std::string& device) {
    Close();
    if (!LoadSdl(&mError)) return false;
    if (!InitAudio()) {
        mError = Sdl().SDL_GetError();
        return false;
    }
    mInitialised = true;
    const PcmFormat& format = mMixer.GetOutputFormat();
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(format.samplesPerSec);
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(format.channels);
    want.samples = 512;
    want.callback = &SdlAudioSink::Pull;
    want.userdata = this;
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID id = Sdl().SDL_OpenAudioDevice(device.empty() ? nullptr : device.c_str(), 0, &want, &have,
                                                     SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (id == 0) {
        mError = Sdl().SDL_GetError();
        return false;
    }
    if (have.channels > 2 || have.channels == 0) {
        Sdl().SDL_CloseAudioDevice(id);
        mError = "the device offers no mono or stereo output";
        return false;
    }
    mMixer.SetOutputFormat(PcmFormat::Make(have.channels, static_cast<uint32_t>(have.freq), 16));
    mDevice = id;
    Sdl().SDL_PauseAudioDevice(id, 0);
    return true;
}

void SdlAudioSink::Close() {
    if (mDevice != 0) {
        Sdl().SDL_CloseAudioDevice(mDevice);
        mDevice = 0;
    }
    if (mInitialised) {
        Sdl().SDL_QuitSubSystem(SDL_INIT_AUDIO);
        mInitialised = false;
    }
}

}  // namespace platform
