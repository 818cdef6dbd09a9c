// Arbitrary bytes as a movie. The first byte picks the way in:
//   0: the whole stream through the player on the caller's thread, the
//      clock run by the decoder, at most 64 frames;
//   1: the same on its decode thread, looping, stopped after 400 rounds
//      (a looping movie of sound alone never ends by itself);
//   2: a key frame payload, then the rest as an inter frame payload;
//   3: an audio chunk payload for each compression and channel count,
//      after the rest as an audio header.
// Built with -DMOVIE_SEED_MAIN this file writes the seed corpus.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/Surface.h"
#include "sound/movie/Movie.h"
#include "sound/movie/MovieAudio.h"
#include "sound/movie/MovieVideoDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t selector = data[0] % 4;
    ++data;
    --size;
    if (selector <= 1) {
        auto surface = platform::Surface::Create(80, 60, platform::PixelLayout::Rgb565);
        MovieRequest request;
        request.flags = kMoviePlaySound | kMovieFrameCallback | kMovieCentreX | kMovieCentreY |
                        (selector == 0 ? 0u : uint32_t(kMovieOwnThread | kMovieLoop));
        request.manualClock = true;
        request.surface = surface.get();
        uint32_t rounds = 0;
        request.frameCallback = [&rounds](MovieRequest&) { return ++rounds >= 64 ? 1 : 0; };
        size_t audio = 0;
        request.audioTap = [&audio](const int16_t*, size_t frames) { audio += frames; };
        if (!MovieOpenBytes(std::vector<uint8_t>(data, data + size), &request)) return 0;
        if (MovieStart(&request) == 0) {
            while (MovieIsPlaying(&request) && request.frameCounter.load() < 400) std::this_thread::yield();
            MovieStop(&request);
        }
        MovieClose(&request);
        if (request.state.load() != kMovieStateFreed || request.context) std::abort();
        return 0;
    }
    if (selector == 2) {
        MovieVideoDecoder decoder;
        const size_t split = size / 2;
        decoder.Decode(1, data, split, 100);
        decoder.Decode(2, data + split, size - split, 100);
        if (decoder.HasPicture()) {
            auto surface = platform::Surface::Create(40, 30, platform::PixelLayout::Rgb565);
            MovieRequest request;
            request.flags = kMovieDoubleWidth | kMovieCentreX | kMovieCentreY;
            decoder.Output(*surface, MovieVideoDecoder::OutputRect(request, decoder.Width(), decoder.Height(), 40, 30));
        }
        return 0;
    }
    MovieAudioFormat header;
    ParseMovieAudioHeader(data, size, header);
    for (int32_t compression : {0, 7, 10})
        for (int32_t channels : {1, 2}) {
            MovieAudioFormat format{16, channels, 22050, compression};
            MovieAudioDecoder decoder;
            std::vector<int16_t> out;
            decoder.Decode(format, data, size, out);
            if (out.size() * 2 != MovieAudioDecoder::OutputBytes(format, data, size)) std::abort();
        }
    return 0;
}

#ifdef MOVIE_SEED_MAIN
#include <cmath>
#include <fstream>
#include <string>

#include "sound/movie/MovieWriter.h"

namespace {

void MovieSeed(const std::string& dir, const std::string& name, uint8_t selector, const std::vector<uint8_t>& bytes) {
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.put(static_cast<char>(selector));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : ".";
    MovieSource source;
    source.width = 16;
    source.height = 12;
    for (int i = 0; i < 8; ++i) source.palette.push_back({uint8_t(i * 30), uint8_t(200 - i * 20), uint8_t(i * 11)});
    for (int f = 0; f < 3; ++f) {
        std::vector<uint8_t> px(16 * 12);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) px[y * 16 + x] = uint8_t((x / 4 + y / 3) % 3 + ((x - f >= 2 && x - f < 7) ? 4 : 0));
        source.frames.push_back(px);
    }
    for (int32_t compression : {0, 7, 10}) {
        MovieSourceTrack track;
        track.format.compression = compression;
        track.format.channels = compression == 10 ? 2 : 1;
        track.format.rate = 11025;
        for (int i = 0; i < 3 * 11025 / 15 * track.format.channels; ++i)
            track.samples.push_back(int16_t(8000 * std::sin(i * 0.1)));
        MovieSource withSound = source;
        withSound.tracks.push_back(track);
        std::vector<uint8_t> bytes;
        std::string error;
        MovieWriter::Write(withSound, bytes, error);
        MovieSeed(dir, "stream-compression" + std::to_string(compression), 0, bytes);
        if (compression == 7) MovieSeed(dir, "stream-loop", 1, bytes);
    }
    const auto key = MovieWriter::EncodeKeyFrame(16, 12, source.palette, source.frames[0].data());
    auto inter = MovieWriter::EncodeInterFrame(16, 12, source.frames[0].data(), source.frames[1].data());
    while (inter.size() < key.size()) inter.push_back(0);
    std::vector<uint8_t> frames = key;
    frames.resize(inter.size() > key.size() ? inter.size() : key.size(), 0);
    frames.insert(frames.end(), inter.begin(), inter.end());
    MovieSeed(dir, "key-and-inter", 2, frames);
    MovieAudioFormat format{16, 1, 22050, 7};
    std::vector<uint8_t> audio = {'P', 'T', 0, 0, 0xFD, 0x82, 1, 1, 0x83, 1, 7, 0x8A};
    audio.resize(12 + 150, 0x37);
    MovieSeed(dir, "audio", 3, audio);
    return 0;
}
#endif
