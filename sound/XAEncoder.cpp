#include "sound/XAEncoder.h"

#include <cstring>
#include <limits>

#include "sound/cWaveXA.h"

namespace {

constexpr int kSamplesPerGroup = 28;

struct GroupCode {
    uint8_t header = 0;
    uint8_t nibbles[kSamplesPerGroup] = {};
    cWaveXA::Channel state;
};

// Encodes up to 28 samples of one channel (missing ones count as 0) from the
// decoder state given, trying every header.
GroupCode EncodeGroup(const int16_t* in, int count, const cWaveXA::Channel& start) {
    GroupCode best;
    double bestError = std::numeric_limits<double>::max();
    for (int filter = 0; filter < 4; ++filter) {
        for (int shift = 0; shift <= 12; ++shift) {
            GroupCode trial;
            trial.header = static_cast<uint8_t>(filter << 4 | shift);
            trial.state = start;
            trial.state.SetHeader(trial.header);
            double error = 0.0;
            const int step = 1 << (12 - shift);
            for (int i = 0; i < kSamplesPerGroup; ++i) {
                const int target = i < count ? in[i] : 0;
                const double predicted =
                    trial.state.f1 * trial.state.previous + trial.state.f2 * trial.state.beforePrevious;
                double ideal = (target - predicted) / step;
                int n = static_cast<int>(ideal < 0 ? ideal - 0.5 : ideal + 0.5);
                n = n < -8 ? -8 : (n > 7 ? 7 : n);
                trial.nibbles[i] = static_cast<uint8_t>(n & 0x0F);
                const int16_t got = trial.state.Decode(trial.nibbles[i]);
                const double d = static_cast<double>(got) - target;
                error += d * d;
                if (error >= bestError) break;
            }
            if (error < bestError) {
                bestError = error;
                best = trial;
            }
        }
    }
    return best;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

}  // namespace

std::vector<uint8_t> EncodeXA(const int16_t* samples, uint32_t frames, uint16_t channels, uint32_t rate) {
    std::vector<uint8_t> out;
    const uint32_t decoded = frames * channels * 2;
    for (uint8_t b : {uint8_t('X'), uint8_t('A'), uint8_t(0), uint8_t(0)}) out.push_back(b);
    Put32(out, decoded);
    Put16(out, 1);
    Put16(out, channels);
    Put32(out, rate);
    Put32(out, rate * channels * 2);
    Put16(out, static_cast<uint16_t>(channels * 2));
    Put16(out, 16);

    cWaveXA::Channel state[2];
    std::vector<uint8_t> block;
    int16_t group[2][kSamplesPerGroup];
    for (uint32_t first = 0; first < frames; first += kSamplesPerGroup) {
        const int count = static_cast<int>(frames - first < kSamplesPerGroup ? frames - first : kSamplesPerGroup);
        GroupCode codes[2];
        for (int c = 0; c < channels; ++c) {
            for (int i = 0; i < count; ++i) group[c][i] = samples[(first + i) * channels + c];
            codes[c] = EncodeGroup(group[c], count, state[c]);
            state[c] = codes[c].state;
        }
        if (channels == 1) {
            block.push_back(codes[0].header);
            for (int i = 0; i < kSamplesPerGroup; i += 2)
                block.push_back(static_cast<uint8_t>(codes[0].nibbles[i] << 4 | codes[0].nibbles[i + 1]));
        } else {
            block.push_back(codes[0].header);
            block.push_back(codes[1].header);
            for (int i = 0; i < kSamplesPerGroup; i += 2) {
                block.push_back(static_cast<uint8_t>(codes[0].nibbles[i] << 4 | codes[0].nibbles[i + 1]));
                block.push_back(static_cast<uint8_t>(codes[1].nibbles[i] << 4 | codes[1].nibbles[i + 1]));
            }
        }
    }
    const size_t at = out.size();
    out.resize(at + block.size());
    if (!block.empty()) std::memcpy(out.data() + at, block.data(), block.size());
    return out;
}
