// Our movie encoder: pictures of 8-bit palette indices become a key frame
// ("TGVk": the palette and the LZ-compressed picture) followed by inter frames
// ("TGVf": exact block matches along motion vectors, raw and four-colour
// blocks), both lossless; each sound track becomes an "SCHl" header and one
// "SCDl" chunk per frame; "SCEl" ends the stream.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sound/movie/MovieAudio.h"

struct MovieSourceTrack {
    MovieAudioFormat format;       // compression 0, 7 or 10; 1 or 2 channels
    std::vector<int16_t> samples;  // interleaved frames of the format's channels
};

struct MovieSource {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<std::array<uint8_t, 3>> palette;  // at most 256
    std::vector<std::vector<uint8_t>> frames;     // width * height indices each
    int32_t framesPerSecond = 15;
    int32_t keyInterval = 0;  // 0: only the first frame is a key frame
    std::vector<MovieSourceTrack> tracks;
};

class MovieWriter {
public:
    // False with a reason for a source that cannot be written.
    static bool Write(const MovieSource& source, std::vector<uint8_t>& out, std::string& error);

    static std::vector<uint8_t> EncodeKeyFrame(int32_t width, int32_t height,
                                               const std::vector<std::array<uint8_t, 3>>& palette,
                                               const uint8_t* pixels);
    // `previous` and `pixels` are width * height indices; sides multiples of 4.
    static std::vector<uint8_t> EncodeInterFrame(int32_t width, int32_t height, const uint8_t* previous,
                                                 const uint8_t* pixels);
    // The LZ commands of a key frame, ending with the closing command.
    static std::vector<uint8_t> CompressLz(const uint8_t* data, size_t size);
    // A chunk: four-byte tag, little-endian size including the head, payload.
    static void AppendChunk(std::vector<uint8_t>& out, const char tag[4], const std::vector<uint8_t>& payload);
};
