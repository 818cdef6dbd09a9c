// Arbitrary bytes as a media file: through the MP3 decoder (chunked reads,
// a rewind, reads again) or through the media player into a mixer voice
// (run, pause, run, a bounded stretch of the offline mix, stop). The first
// byte picks the path; the rest is the file.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/AudioMixer.h"
#include "platform/MediaPlayer.h"
#include "platform/Mp3Decoder.h"
#include "platform/OfflineAudioSink.h"
#include "platform/PeriodicTimer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const bool decoderOnly = data[0] & 1;
    std::vector<uint8_t> bytes(data + 1, data + size);
    std::string error;
    if (decoderOnly) {
        platform::Mp3Decoder decoder;
        if (!decoder.OpenMemory(std::move(bytes), error)) return 0;
        const platform::PcmFormat& format = decoder.Format();
        if (format.bitsPerSample != 16 || (format.channels != 1 && format.channels != 2)) std::abort();
        std::vector<uint8_t> chunk(4099);
        // Damaged streams may resynchronise differently after a rewind, so
        // the two passes need not match; each must stay bounded and aligned.
        for (int pass = 0; pass < 2; ++pass) {
            size_t passTotal = 0;
            // Bounded: a few seconds of sound at most.
            for (size_t got; passTotal < (1u << 20) && (got = decoder.Read(chunk.data(), chunk.size())) > 0;) {
                if (got > chunk.size() || got % format.blockAlign != 0) std::abort();
                passTotal += got;
            }
            if (pass == 0 && !decoder.Rewind()) return 0;
        }
        return 0;
    }
    platform::PeriodicTimer timers(platform::PeriodicTimer::Mode::Manual);
    platform::AudioMixer mixer;
    platform::OfflineAudioSink sink(mixer, 10);
    sink.AttachClock([&](uint32_t ms) { timers.Advance(ms); });
    platform::MediaPlayer player(mixer, timers);
    int events = 0;
    player.SetEventHandler([&](platform::MediaEvent) { ++events; });
    if (!player.OpenMemory(std::move(bytes), error)) {
        if (player.IsOpen() || mixer.VoiceCount() != 0) std::abort();
        return 0;
    }
    player.SetVolume(-600);
    player.SetBalance(3000);
    if (!player.Run()) std::abort();
    sink.Advance(60);
    player.Pause();
    sink.Advance(20);
    player.Run();
    for (int i = 0; i < 40 && events == 0; ++i) sink.Advance(10);
    if (events > 1) std::abort();
    player.Stop();
    if (player.GetState() != platform::MediaState::Stopped) std::abort();
    return 0;
}
