// The sound of a movie: the format its audio header declares and the three
// sample decoders (16-bit PCM, the 4-bit predictive code with four filter
// pairs, and stereo IMA). Every decoder writes 16-bit stereo, whatever the
// stream's channel count, as the feeder copies the samples straight to the
// sound device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct MovieAudioFormat {
    int32_t bits = 16;
    int32_t channels = 1;
    int32_t rate = 22050;
    int32_t compression = 0;
};

enum : int32_t { kMovieAudioPcm = 0, kMovieAudioAdpcm = 7, kMovieAudioIma = 10 };

// The "SCHl" payload: tag-length-value entries skipped up to 0xFD, then read
// up to 0x8A. False (format left at the defaults read so far) when the
// payload ends before the closing byte.
bool ParseMovieAudioHeader(const uint8_t* payload, size_t size, MovieAudioFormat& format);

// Filters of the predictive code, in 1/256: (newest, older).
extern const int32_t kMovieAdpcmFilters[4][2];

class MovieAudioDecoder {
public:
    void Reset();
    // Appends the chunk's samples to out as stereo frames; false for a
    // compression it does not know (nothing appended).
    bool Decode(const MovieAudioFormat& format, const uint8_t* payload, size_t size, std::vector<int16_t>& out);

    // Output bytes the chunk will give (16-bit stereo), without decoding it.
    static size_t OutputBytes(const MovieAudioFormat& format, const uint8_t* payload, size_t size);

private:
    void DecodePcm(const MovieAudioFormat& format, const uint8_t* payload, size_t size, std::vector<int16_t>& out);
    void DecodeAdpcm(const MovieAudioFormat& format, const uint8_t* payload, size_t size, std::vector<int16_t>& out);
    void DecodeIma(const uint8_t* payload, size_t size, std::vector<int16_t>& out);

    // IMA predictor and step index per channel, carried from chunk to chunk.
    int32_t mImaPredictor[2] = {0, 0};
    int32_t mImaIndex[2] = {0, 0};
};

// The IMA tables, shared with the encoder.
extern const int16_t kMovieImaSteps[89];
extern const int8_t kMovieImaIndexStep[16];
// One IMA nibble applied to a channel's predictor and index.
int16_t MovieImaStep(uint8_t nibble, int32_t& predictor, int32_t& index);
