// playmovie FILE --frames DIR --wav OUT.wav: decodes a movie headless at full
// speed on the device-less clock, writes each shown frame as
// DIR/frame-NNNN.png and the decoded sound as OUT.wav, and prints
// "frames <shown> skipped <n> tracks <t> audio <bytes>".
// playmovie FILE: plays it in the game's window with sound.
// A stream that fails prints the player's error text and exits 1.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/PngFile.h"
#include "platform/Surface.h"
#include "platform/WavFile.h"
#include "sound/movie/Movie.h"
#include "tools/playmovie/PlayMovieWindow.h"

namespace {

int PlayMovieUsage() {
    std::fprintf(stderr, "usage: playmovie FILE [--frames DIR --wav OUT.wav]\n");
    return 2;
}

int PlayMovieHeadless(const std::string& file, const std::string& frames, const std::string& wav) {
    MovieRequest request;
    request.flags = kMoviePlaySound | kMovieFrameCallback;
    request.manualClock = true;
    std::vector<int16_t> audio;
    request.audioTap = [&audio](const int16_t* s, size_t count) { audio.insert(audio.end(), s, s + 2 * count); };
    if (!MovieOpen(file.c_str(), &request)) {
        std::fprintf(stderr, "playmovie: %s: %s\n", file.c_str(), MovieErrorText(request.error.load()));
        return 1;
    }
    std::unique_ptr<platform::Surface> surface;
    if (request.frameWidth > 0 && request.frameHeight > 0)
        surface = platform::Surface::Create(request.frameWidth, request.frameHeight, platform::PixelLayout::Rgb565);
    request.surface = surface.get();
    if (!frames.empty()) std::filesystem::create_directories(frames);
    uint32_t written = 0;
    bool writeFailed = false;
    request.frameCallback = [&](MovieRequest& r) {
        if (frames.empty() || !surface || r.framesShown.load() == written) return 0;
        written = r.framesShown.load();
        char name[32];
        std::snprintf(name, sizeof name, "frame-%04u.png", written - 1);
        std::string error;
        if (!platform::WritePngFile((std::filesystem::path(frames) / name).string(), platform::ImageFromSurface(*surface),
                                    &error)) {
            std::fprintf(stderr, "playmovie: %s\n", error.c_str());
            writeFailed = true;
            return 1;
        }
        return 0;
    };
    MovieStart(&request);
    const int32_t error = request.error.load();
    std::printf("frames %u skipped %u tracks %d audio %zu\n", request.framesShown.load(), request.framesSkipped.load(),
                request.trackCount, audio.size() * 2);
    MovieClose(&request);
    if (!wav.empty()) {
        std::string message;
        const int32_t rate = request.audioRate >= 100 && request.audioRate <= 100000 ? request.audioRate : 22050;
        if (!platform::WriteWavFile(wav, platform::PcmFormat::Make(2, uint32_t(rate), 16),
                                    reinterpret_cast<const uint8_t*>(audio.data()), audio.size() * 2, message)) {
            std::fprintf(stderr, "playmovie: %s\n", message.c_str());
            return 1;
        }
    }
    if (error != kMovieErrorNone) {
        std::fprintf(stderr, "playmovie: %s: %s\n", file.c_str(), MovieErrorText(error));
        return 1;
    }
    return writeFailed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string file, frames, wav;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--frames" && i + 1 < argc)
            frames = argv[++i];
        else if (arg == "--wav" && i + 1 < argc)
            wav = argv[++i];
        else if (file.empty() && !arg.empty() && arg[0] != '-')
            file = arg;
        else
            return PlayMovieUsage();
    }
    if (file.empty()) return PlayMovieUsage();
    if (frames.empty() && wav.empty()) return PlayMovieInWindow(file);
    return PlayMovieHeadless(file, frames, wav);
}
