#include "sound/movie/MovieAudioEncoder.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

void MovieEncPut16(std::vector<uint8_t>& out, int32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(uint32_t(v) >> 8));
}
void MovieEncPut32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
// A header entry with the shortest big-endian value whose top bit is clear
// (a set top bit would be read as negative).
void MovieEncEntry(std::vector<uint8_t>& out, uint8_t tag, uint32_t value) {
    uint8_t length = 1;
    while (length < 4 && (value >> (8 * length - 1)) != 0) ++length;
    out.push_back(tag);
    out.push_back(length);
    for (int i = length - 1; i >= 0; --i) out.push_back(uint8_t(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> MovieAudioEncoder::Header() const {
    std::vector<uint8_t> out = {'P', 'T', 0, 0, 0xFD};
    MovieEncEntry(out, 0x81, uint32_t(mFormat.bits));
    MovieEncEntry(out, 0x82, uint32_t(mFormat.channels));
    MovieEncEntry(out, 0x83, uint32_t(mFormat.compression));
    MovieEncEntry(out, 0x84, uint32_t(mFormat.rate));
    out.push_back(0x8A);
    return out;
}

void MovieAudioEncoder::EncodeAdpcmGroup(const int16_t* samples, size_t stride, int channel, uint8_t& head,
                                         uint8_t nibbles[28]) {
    // Tries every filter and shift and keeps the one closest to the source.
    int64_t bestError = std::numeric_limits<int64_t>::max();
    for (int filter = 0; filter < 4; ++filter)
        for (int shift = 0; shift <= 12; ++shift) {
            int32_t newest = mNewest[channel], older = mOlder[channel];
            int64_t error = 0;
            uint8_t trial[28];
            const int32_t f1 = kMovieAdpcmFilters[filter][0], f2 = kMovieAdpcmFilters[filter][1];
            for (int i = 0; i < 28 && error < bestError; ++i) {
                const int32_t target = samples[size_t(i) * stride];
                const int32_t predicted = f1 * newest + f2 * older + 128;
                // residual * 2^(20 - shift) ~ (target << 8) - predicted
                const double step = double(int64_t(1) << (20 - shift));
                int32_t residual = int32_t(std::lround((double(int64_t(target) << 8) - predicted) / step));
                residual = std::clamp(residual, -8, 7);
                const int32_t v =
                    std::clamp(int32_t((predicted + int64_t(residual) * (int64_t(1) << (20 - shift))) >> 8), -32768, 32767);
                error += int64_t(v - target) * (v - target);
                trial[i] = uint8_t(residual & 15);
                older = newest;
                newest = v;
            }
            if (error < bestError) {
                bestError = error;
                head = uint8_t(filter << 4 | shift);
                std::copy(trial, trial + 28, nibbles);
            }
        }
    // Advance the state exactly as the decoder will.
    const int32_t f1 = kMovieAdpcmFilters[head >> 4][0], f2 = kMovieAdpcmFilters[head >> 4][1];
    const int32_t shift = head & 15;
    for (int i = 0; i < 28; ++i) {
        const int32_t residual = nibbles[i] >= 8 ? nibbles[i] - 16 : nibbles[i];
        const int32_t v = std::clamp(
            (f1 * mNewest[channel] + f2 * mOlder[channel] + residual * (int32_t(1) << (20 - shift)) + 128) >> 8, -32768,
            32767);
        mOlder[channel] = mNewest[channel];
        mNewest[channel] = v;
    }
}

std::vector<uint8_t> MovieAudioEncoder::EncodeChunk(const int16_t* samples, size_t frames) {
    std::vector<uint8_t> out;
    const size_t channels = mFormat.channels == 2 ? 2 : 1;
    switch (mFormat.compression) {
        case kMovieAudioPcm:
            MovieEncPut32(out, uint32_t(frames));
            for (size_t i = 0; i < frames * channels; ++i) MovieEncPut16(out, samples[i]);
            break;
        case kMovieAudioAdpcm: {
            MovieEncPut32(out, uint32_t(frames));
            MovieEncPut16(out, mNewest[0]);
            MovieEncPut16(out, mOlder[0]);
            MovieEncPut16(out, mNewest[1]);
            MovieEncPut16(out, mOlder[1]);
            for (size_t start = 0; start < frames; start += 28) {
                int16_t group[56];
                for (size_t i = 0; i < 28; ++i)
                    for (size_t c = 0; c < channels; ++c)
                        group[i * channels + c] = samples[std::min(start + i, frames - 1) * channels + c];
                uint8_t head[2] = {0, 0}, nibbles[2][28];
                for (size_t c = 0; c < channels; ++c) EncodeAdpcmGroup(group + c, channels, int(c), head[c], nibbles[c]);
                if (channels == 2) {
                    out.push_back(head[0]);
                    out.push_back(head[1]);
                    for (int i = 0; i < 14; ++i) {
                        out.push_back(uint8_t(nibbles[0][2 * i] << 4 | nibbles[0][2 * i + 1]));
                        out.push_back(uint8_t(nibbles[1][2 * i] << 4 | nibbles[1][2 * i + 1]));
                    }
                } else {
                    out.push_back(head[0]);
                    for (int i = 0; i < 14; ++i) out.push_back(uint8_t(nibbles[0][2 * i] << 4 | nibbles[0][2 * i + 1]));
                }
            }
            break;
        }
        case kMovieAudioIma:
            for (size_t i = 0; i < frames; ++i) {
                uint8_t byte = 0;
                for (size_t c = 0; c < 2; ++c) {
                    const int32_t target = samples[i * channels + (channels == 2 ? c : 0)];
                    const int32_t step = kMovieImaSteps[mImaIndex[c]];
                    int32_t diff = target - mImaPredictor[c];
                    uint8_t nibble = 0;
                    if (diff < 0) {
                        nibble = 8;
                        diff = -diff;
                    }
                    if (diff >= step) { nibble |= 4; diff -= step; }
                    if (diff >= step / 2) { nibble |= 2; diff -= step / 2; }
                    if (diff >= step / 4) nibble |= 1;
                    MovieImaStep(nibble, mImaPredictor[c], mImaIndex[c]);
                    byte = uint8_t(byte << 4 | nibble);
                }
                out.push_back(byte);
            }
            break;
        default:
            break;
    }
    return out;
}
