// Our encoder of movie sound chunks: 16-bit samples (mono or stereo,
// interleaved) to the payload of an audio data chunk in compression 0, 7 or
// 10. The predictive and IMA codes carry their state from chunk to chunk, so
// one encoder makes all the chunks of one track.
#pragma once

#include <cstdint>
#include <vector>

#include "sound/movie/MovieAudio.h"

class MovieAudioEncoder {
public:
    explicit MovieAudioEncoder(const MovieAudioFormat& format) : mFormat(format) {}

    // `samples` hold frames of the format's channel count. Compression 7
    // pads the last group with its final sample; compression 10 is always
    // stereo (a mono source is doubled).
    std::vector<uint8_t> EncodeChunk(const int16_t* samples, size_t frames);
    // The header payload ("SCHl") declaring the format.
    std::vector<uint8_t> Header() const;

private:
    void EncodeAdpcmGroup(const int16_t* samples, size_t stride, int channel, uint8_t& head, uint8_t nibbles[28]);

    MovieAudioFormat mFormat;
    int32_t mNewest[2] = {0, 0};
    int32_t mOlder[2] = {0, 0};
    int32_t mImaPredictor[2] = {0, 0};
    int32_t mImaIndex[2] = {0, 0};
};
