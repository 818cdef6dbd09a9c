#include "tools/contentc/MovieSources.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "platform/AtomicFile.h"
#include "tools/contentc/KeywordLines.h"

bool ParseMovieSource(const std::string& name, const std::string& text, MovieDescription& out, std::string& error) {
    int number = 0;
    const bool read = ForEachKeywordLine(name, text, number, error, [&](const std::string& key, std::istringstream& words) {
        bool ok = true;
        if (key == "file") {
            ok = static_cast<bool>(words >> out.file) && out.file.find("..") == std::string::npos && out.file[0] != '/';
        } else if (key == "size") {
            ok = static_cast<bool>(words >> out.width >> out.height) && out.width >= 4 && out.height >= 4 &&
                 out.width <= 1024 && out.height <= 1024 && out.width % 4 == 0 && out.height % 4 == 0;
        } else if (key == "colours") {
            ok = static_cast<bool>(words >> out.colours) && out.colours >= 8 && out.colours <= 256;
        } else if (key == "frames") {
            ok = static_cast<bool>(words >> out.frames) && out.frames >= 1 && out.frames <= 10000;
        } else if (key == "rate") {
            ok = static_cast<bool>(words >> out.rate) && out.rate >= 1 && out.rate <= 60;
        } else if (key == "shape") {
            for (int32_t& v : out.shape) ok = ok && static_cast<bool>(words >> v);
            ok = ok && out.shape[0] > 0 && out.shape[1] > 0;
        } else if (key == "sound") {
            out.sound = true;
            ok = static_cast<bool>(words >> out.audio.rate >> out.audio.channels >> out.audio.compression >> out.hz) &&
                 out.audio.rate >= 100 && out.audio.rate <= 100000 && (out.audio.channels == 1 || out.audio.channels == 2) &&
                 (out.audio.compression == 0 || out.audio.compression == 7 || out.audio.compression == 10) && out.hz > 0;
        } else {
            return KeywordResult::kUnknown;
        }
        return ok ? KeywordResult::kTaken : KeywordResult::kBadValue;
    });
    if (!read) return false;
    if (out.file.empty()) {
        error = name + ":" + std::to_string(number) + ": no 'file' line";
        return false;
    }
    return true;
}

MovieSource MakeMovieSource(const MovieDescription& movie) {
    MovieSource source;
    source.width = movie.width;
    source.height = movie.height;
    source.framesPerSecond = movie.rate;
    for (int32_t i = 0; i < movie.colours; ++i)
        source.palette.push_back({uint8_t(i * 255 / (movie.colours - 1)), uint8_t(200 - i * 150 / movie.colours),
                                  uint8_t((i * 97 + 40) & 255)});
    const int32_t half = movie.colours / 2;
    for (int32_t f = 0; f < movie.frames; ++f) {
        std::vector<uint8_t> px(size_t(movie.width) * movie.height);
        // Still stripes in the lower colours, the box in the upper ones.
        for (int32_t y = 0; y < movie.height; ++y)
            for (int32_t x = 0; x < movie.width; ++x) px[size_t(y) * movie.width + x] = uint8_t((x / 8 + y / 6) % 4);
        const int32_t bx = movie.shape[2] + f * movie.shape[4], by = movie.shape[3] + f * movie.shape[5];
        for (int32_t y = std::max(by, 0); y < by + movie.shape[1] && y < movie.height; ++y)
            for (int32_t x = std::max(bx, 0); x < bx + movie.shape[0] && x < movie.width; ++x)
                px[size_t(y) * movie.width + x] = uint8_t(half + ((x - bx) / 3 + (y - by) / 3 + f) % 4);
        source.frames.push_back(std::move(px));
    }
    if (movie.sound) {
        MovieSourceTrack track;
        track.format = movie.audio;
        const size_t frames = size_t(movie.audio.rate) * size_t(movie.frames) / size_t(movie.rate);
        track.samples.resize(frames * size_t(movie.audio.channels));
        for (size_t i = 0; i < frames; ++i)
            for (int32_t c = 0; c < movie.audio.channels; ++c)
                track.samples[i * movie.audio.channels + c] =
                    int16_t(std::lround(12000.0 * std::sin(2 * M_PI * movie.hz * double(i) / movie.audio.rate)));
        source.tracks.push_back(std::move(track));
    }
    return source;
}

bool WriteMovieSource(const MovieDescription& movie, const std::string& root, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!MovieWriter::Write(MakeMovieSource(movie), bytes, error)) return false;
    const std::filesystem::path path = std::filesystem::path(root) / movie.file;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    return platform::SaveFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &error);
}
