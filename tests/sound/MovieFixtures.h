// Small movies made with our writer: a 16-colour picture with a shape that
// moves across it, and sine tracks.
#pragma once

#include <cmath>
#include <vector>

#include "sound/movie/MovieWriter.h"

namespace movie_test {

inline std::vector<std::array<uint8_t, 3>> Palette16() {
    std::vector<std::array<uint8_t, 3>> p;
    for (int i = 0; i < 16; ++i) p.push_back({uint8_t(i * 17), uint8_t(255 - i * 13), uint8_t((i * 53) & 255)});
    return p;
}

// Stripes and a checker corner that stay, and a 12x10 box that moves right
// and down by 2 and 1 pixels each frame.
inline std::vector<uint8_t> Picture(int32_t w, int32_t h, int frame) {
    std::vector<uint8_t> px(size_t(w) * h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t c = uint8_t((x / 8 + y / 6) % 4);
            if (x < 16 && y < 16) c = uint8_t(4 + ((x ^ y) & 3));
            px[size_t(y) * w + x] = c;
        }
    const int32_t bx = 4 + 2 * frame, by = 8 + frame;
    for (int32_t y = by; y < by + 10 && y < h; ++y)
        for (int32_t x = bx; x < bx + 12 && x < w; ++x) px[size_t(y) * w + x] = uint8_t(8 + ((x * 7 + y * 13 + frame * 5) * 2654435761u >> 13) % 4);
    return px;
}

inline std::vector<int16_t> Sine(size_t frames, int channels, int32_t rate, double hz = 440.0) {
    std::vector<int16_t> s(frames * channels);
    for (size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            s[i * channels + c] = int16_t(std::lround(10000.0 * std::sin(2 * M_PI * hz * (c + 1) * double(i) / rate)));
    return s;
}

inline MovieSource Source(int frames, std::vector<MovieSourceTrack> tracks = {}) {
    MovieSource source;
    source.width = 64;
    source.height = 48;
    source.palette = Palette16();
    for (int i = 0; i < frames; ++i) source.frames.push_back(Picture(64, 48, i));
    source.tracks = std::move(tracks);
    return source;
}

inline MovieSourceTrack Track(int32_t compression, int channels, size_t frames, int32_t rate = 22050) {
    MovieSourceTrack t;
    t.format.compression = compression;
    t.format.channels = channels;
    t.format.rate = rate;
    t.samples = Sine(frames, channels, rate);
    return t;
}

inline std::vector<uint8_t> Encode(const MovieSource& source) {
    std::vector<uint8_t> out;
    std::string error;
    if (!MovieWriter::Write(source, out, error)) out.clear();
    return out;
}

}  // namespace movie_test
