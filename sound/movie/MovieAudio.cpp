#include "sound/movie/MovieAudio.h"

#include <algorithm>

namespace {

uint32_t MovieAudioU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
int16_t MovieAudioS16(const uint8_t* p) { return int16_t(p[0] | p[1] << 8); }
int16_t MovieAudioClamp(int32_t v) { return int16_t(std::clamp(v, -32768, 32767)); }

// Group sizes of the predictive code: 28 samples per channel in each.
constexpr size_t kMovieAdpcmMonoGroup = 15;
constexpr size_t kMovieAdpcmStereoGroup = 30;
constexpr size_t kMovieAdpcmHead = 12;  // count + four predictor values

}  // namespace

const int32_t kMovieAdpcmFilters[4][2] = {{0, 0}, {240, 0}, {460, -208}, {392, -220}};

const int16_t kMovieImaSteps[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
const int8_t kMovieImaIndexStep[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

int16_t MovieImaStep(uint8_t nibble, int32_t& predictor, int32_t& index) {
    const int32_t step = kMovieImaSteps[index];
    int32_t diff = step >> 3;
    if (nibble & 4) diff += step;
    if (nibble & 2) diff += step >> 1;
    if (nibble & 1) diff += step >> 2;
    predictor = std::clamp(nibble & 8 ? predictor - diff : predictor + diff, -32768, 32767);
    index = std::clamp(index + kMovieImaIndexStep[nibble & 15], 0, 88);
    return int16_t(predictor);
}

bool ParseMovieAudioHeader(const uint8_t* payload, size_t size, MovieAudioFormat& format) {
    format = MovieAudioFormat{};
    size_t at = 4;
    // Entries of the first block are not used: skipped up to the marker.
    for (;;) {
        if (at >= size) return false;
        if (payload[at] == 0xFD) break;
        if (at + 2 > size) return false;
        at += 2 + payload[at + 1];
    }
    ++at;
    for (;;) {
        if (at >= size) return false;
        const uint8_t tag = payload[at];
        if (tag == 0x8A) return true;
        if (at + 2 > size) return false;
        const size_t length = payload[at + 1];
        if (at + 2 + length > size) return false;
        const uint8_t* value = payload + at + 2;
        at += 2 + length;
        if (length == 0 || length > 4) continue;
        uint32_t v = 0;
        for (size_t i = 0; i < length; ++i) v = v << 8 | value[i];
        int32_t s = int32_t(v);
        if (length < 4 && (value[0] & 0x80)) s = int32_t(v | (0xFFFFFFFFu << (8 * length)));
        switch (tag) {
            case 0x81: format.bits = s; break;
            case 0x82: format.channels = s; break;
            case 0x83: format.compression = s; break;
            case 0x84: format.rate = s; break;
            default: break;
        }
    }
}

void MovieAudioDecoder::Reset() {
    mImaPredictor[0] = mImaPredictor[1] = 0;
    mImaIndex[0] = mImaIndex[1] = 0;
}

size_t MovieAudioDecoder::OutputBytes(const MovieAudioFormat& format, const uint8_t* payload, size_t size) {
    switch (format.compression) {
        case kMovieAudioPcm: {
            if (size < 4) return 0;
            const size_t sampleBytes = format.channels == 2 ? 4 : 2;
            return std::min<size_t>(MovieAudioU32(payload), (size - 4) / sampleBytes) * 4;
        }
        case kMovieAudioAdpcm:
            if (size < kMovieAdpcmHead) return 0;
            return (size - kMovieAdpcmHead) / (format.channels == 2 ? kMovieAdpcmStereoGroup : kMovieAdpcmMonoGroup) * 112;
        case kMovieAudioIma:
            return size * 4;
        default:
            return 0;
    }
}

bool MovieAudioDecoder::Decode(const MovieAudioFormat& format, const uint8_t* payload, size_t size,
                               std::vector<int16_t>& out) {
    switch (format.compression) {
        case kMovieAudioPcm: DecodePcm(format, payload, size, out); return true;
        case kMovieAudioAdpcm: DecodeAdpcm(format, payload, size, out); return true;
        case kMovieAudioIma: DecodeIma(payload, size, out); return true;
        default: return false;
    }
}

void MovieAudioDecoder::DecodePcm(const MovieAudioFormat& format, const uint8_t* payload, size_t size,
                                  std::vector<int16_t>& out) {
    // The declared count is believed only as far as the payload holds it.
    const size_t frames = OutputBytes(format, payload, size) / 4;
    const uint8_t* p = payload + 4;
    out.reserve(out.size() + frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        if (format.channels == 2) {
            out.push_back(MovieAudioS16(p));
            out.push_back(MovieAudioS16(p + 2));
            p += 4;
        } else {
            const int16_t s = MovieAudioS16(p);
            out.push_back(s);
            out.push_back(s);
            p += 2;
        }
    }
}

void MovieAudioDecoder::DecodeAdpcm(const MovieAudioFormat& format, const uint8_t* payload, size_t size,
                                    std::vector<int16_t>& out) {
    if (size < kMovieAdpcmHead) return;
    const bool stereo = format.channels == 2;
    int32_t newest[2] = {MovieAudioS16(payload + 4), MovieAudioS16(payload + 8)};
    int32_t older[2] = {MovieAudioS16(payload + 6), MovieAudioS16(payload + 10)};
    const size_t group = stereo ? kMovieAdpcmStereoGroup : kMovieAdpcmMonoGroup;
    const size_t groups = (size - kMovieAdpcmHead) / group;
    const uint8_t* p = payload + kMovieAdpcmHead;
    auto sample = [&](int c, uint8_t head, int32_t nibble) {
        const int32_t* f = kMovieAdpcmFilters[(head >> 4) & 3];
        const int32_t shift = head & 15;
        const int32_t residual = nibble >= 8 ? nibble - 16 : nibble;
        const int32_t v = MovieAudioClamp(
            (f[0] * newest[c] + f[1] * older[c] + residual * (int32_t(1) << (20 - shift)) + 128) >> 8);
        older[c] = newest[c];
        newest[c] = v;
        return int16_t(v);
    };
    out.reserve(out.size() + groups * 56);
    for (size_t g = 0; g < groups; ++g, p += group) {
        if (stereo) {
            const uint8_t headL = p[0], headR = p[1];
            for (int i = 0; i < 14; ++i) {
                const uint8_t l = p[2 + 2 * i], r = p[3 + 2 * i];
                const int16_t l0 = sample(0, headL, l >> 4), r0 = sample(1, headR, r >> 4);
                const int16_t l1 = sample(0, headL, l & 15), r1 = sample(1, headR, r & 15);
                out.insert(out.end(), {l0, r0, l1, r1});
            }
        } else {
            const uint8_t head = p[0];
            for (int i = 0; i < 14; ++i) {
                const int16_t a = sample(0, head, p[1 + i] >> 4);
                const int16_t b = sample(0, head, p[1 + i] & 15);
                out.insert(out.end(), {a, a, b, b});
            }
        }
    }
}

void MovieAudioDecoder::DecodeIma(const uint8_t* payload, size_t size, std::vector<int16_t>& out) {
    out.reserve(out.size() + size * 2);
    for (size_t i = 0; i < size; ++i) {
        out.push_back(MovieImaStep(payload[i] >> 4, mImaPredictor[0], mImaIndex[0]));
        out.push_back(MovieImaStep(payload[i] & 15, mImaPredictor[1], mImaIndex[1]));
    }
}
