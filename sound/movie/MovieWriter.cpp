#include "sound/movie/MovieWriter.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "sound/movie/MovieAudioEncoder.h"

namespace {

void MovieWriterPut16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void MovieWriterPad4(std::vector<uint8_t>& out) {
    while (out.size() % 4) out.push_back(0);
}

// Literals still pending before a copy: multiples of four go out as literal
// commands, the rest (0..3) rides on the next command.
size_t MovieWriterFlushLiterals(std::vector<uint8_t>& out, const uint8_t* data, size_t from, size_t to) {
    while (to - from >= 4) {
        const size_t n = std::min<size_t>((to - from) / 4 * 4, 112);
        out.push_back(uint8_t(0xE0 | (n / 4 - 1)));
        out.insert(out.end(), data + from, data + from + n);
        from += n;
    }
    return to - from;
}

constexpr int kMovieWriterSearch = 10;  // vector range of inter frames, pixels each way

}  // namespace

std::vector<uint8_t> MovieWriter::CompressLz(const uint8_t* data, size_t size) {
    std::vector<uint8_t> out;
    std::map<uint32_t, std::vector<size_t>> seen;  // three-byte prefix -> positions
    size_t literalStart = 0, at = 0;
    auto remember = [&](size_t p) {
        if (p + 3 <= size) seen[uint32_t(data[p] | data[p + 1] << 8 | data[p + 2] << 16)].push_back(p);
    };
    while (at < size) {
        size_t bestLength = 0, bestDistance = 0;
        if (at + 3 <= size) {
            auto it = seen.find(uint32_t(data[at] | data[at + 1] << 8 | data[at + 2] << 16));
            if (it != seen.end()) {
                const auto& positions = it->second;
                int tries = 0;
                for (auto p = positions.rbegin(); p != positions.rend() && tries < 64; ++p, ++tries) {
                    const size_t distance = at - *p;
                    if (distance > 131072) break;
                    size_t length = 0;
                    while (at + length < size && length < 1028 && data[*p + length] == data[at + length]) ++length;
                    if (length > bestLength) {
                        bestLength = length;
                        bestDistance = distance;
                    }
                }
            }
        }
        // What each command form can carry.
        const bool shortForm = bestLength >= 3 && bestDistance <= 1024;
        const bool midForm = bestLength >= 4 && bestDistance <= 16384;
        const bool longForm = bestLength >= 5;
        if (!shortForm && !midForm && !longForm) {
            remember(at);
            ++at;
            continue;
        }
        const size_t lit = MovieWriterFlushLiterals(out, data, literalStart, at);
        const uint8_t* litBytes = data + at - lit;
        size_t length = bestLength;
        const size_t d = bestDistance - 1;
        if (shortForm && (length <= 10 || !midForm)) {
            length = std::min<size_t>(length, 10);
            out.push_back(uint8_t(((d >> 3) & 0x60) | ((length - 3) << 2) | lit));
            out.push_back(uint8_t(d));
        } else if (midForm && (length <= 67 || !longForm)) {
            length = std::min<size_t>(length, 67);
            out.push_back(uint8_t(0x80 | (length - 4)));
            out.push_back(uint8_t(lit << 6 | (d >> 8)));
            out.push_back(uint8_t(d));
        } else {
            out.push_back(uint8_t(0xC0 | ((d >> 12) & 0x10) | (((length - 5) >> 8) << 2) | lit));
            out.push_back(uint8_t(d >> 8));
            out.push_back(uint8_t(d));
            out.push_back(uint8_t(length - 5));
        }
        out.insert(out.end(), litBytes, litBytes + lit);
        for (size_t i = 0; i < length; ++i) remember(at + i);
        at += length;
        literalStart = at;
    }
    const size_t lit = MovieWriterFlushLiterals(out, data, literalStart, size);
    out.push_back(uint8_t(0xFC | lit));
    out.insert(out.end(), data + size - lit, data + size);
    return out;
}

std::vector<uint8_t> MovieWriter::EncodeKeyFrame(int32_t width, int32_t height,
                                                 const std::vector<std::array<uint8_t, 3>>& palette,
                                                 const uint8_t* pixels) {
    std::vector<uint8_t> out;
    MovieWriterPut16(out, uint32_t(width));
    MovieWriterPut16(out, uint32_t(height));
    MovieWriterPut16(out, 0);
    MovieWriterPut16(out, uint32_t(palette.size()));
    MovieWriterPut16(out, 0);
    MovieWriterPut16(out, 0);
    for (const auto& c : palette) out.insert(out.end(), c.begin(), c.end());
    const size_t plain = size_t(width) * height;
    out.insert(out.end(), {0x10, 0x00, uint8_t(plain >> 16), uint8_t(plain >> 8), uint8_t(plain)});
    const std::vector<uint8_t> lz = CompressLz(pixels, plain);
    out.insert(out.end(), lz.begin(), lz.end());
    return out;
}

std::vector<uint8_t> MovieWriter::EncodeInterFrame(int32_t width, int32_t height, const uint8_t* previous,
                                                   const uint8_t* pixels) {
    const int32_t blocksX = width / 4, blocksY = height / 4;
    std::vector<std::pair<int32_t, int32_t>> vectors;
    std::map<std::pair<int32_t, int32_t>, uint32_t> vectorIndex;
    std::vector<std::array<uint8_t, 16>> raws;
    std::vector<std::array<uint8_t, 8>> fours;
    struct Choice {
        int kind;  // 0 vector, 1 raw, 2 four-colour
        uint32_t index;
    };
    std::vector<Choice> choices;
    auto blockMatches = [&](int32_t bx, int32_t by, int32_t sx, int32_t sy) {
        for (int r = 0; r < 4; ++r)
            if (std::memcmp(pixels + size_t(by + r) * width + bx, previous + size_t(sy + r) * width + sx, 4) != 0)
                return false;
        return true;
    };
    for (int32_t by = 0; by < blocksY * 4; by += 4)
        for (int32_t bx = 0; bx < blocksX * 4; bx += 4) {
            bool found = false;
            // Nearest vectors first, so still blocks take (0, 0).
            for (int32_t radius = 0; radius <= kMovieWriterSearch && !found; ++radius)
                for (int32_t dy = -radius; dy <= radius && !found; ++dy)
                    for (int32_t dx = -radius; dx <= radius && !found; ++dx) {
                        if (std::max(std::abs(dx), std::abs(dy)) != radius) continue;
                        const int32_t sx = bx + dx, sy = by + dy;
                        if (sx < 0 || sy < 0 || sx + 4 > width || sy + 4 > height) continue;
                        if (!blockMatches(bx, by, sx, sy)) continue;
                        auto [it, added] = vectorIndex.emplace(std::make_pair(dx, dy), uint32_t(vectors.size()));
                        if (added) vectors.push_back({dx, dy});
                        choices.push_back({0, it->second});
                        found = true;
                    }
            if (found) continue;
            std::array<uint8_t, 16> block;
            for (int r = 0; r < 4; ++r) std::memcpy(&block[4 * r], pixels + size_t(by + r) * width + bx, 4);
            std::vector<uint8_t> colours;
            for (uint8_t p : block)
                if (std::find(colours.begin(), colours.end(), p) == colours.end()) colours.push_back(p);
            if (colours.size() <= 4) {
                std::array<uint8_t, 8> four{};
                for (size_t i = 0; i < 4; ++i) four[i] = colours[std::min(i, colours.size() - 1)];
                uint32_t selectors = 0;
                for (int k = 0; k < 16; ++k) {
                    const uint32_t s = uint32_t(std::find(colours.begin(), colours.end(), block[k]) - colours.begin());
                    selectors |= s << (2 * (15 - k));
                }
                for (int i = 0; i < 4; ++i) four[4 + i] = uint8_t(selectors >> (8 * i));
                choices.push_back({2, uint32_t(fours.size())});
                fours.push_back(four);
            } else {
                choices.push_back({1, uint32_t(raws.size())});
                raws.push_back(block);
            }
        }
    const size_t symbols = vectors.size() + raws.size() + fours.size();
    uint32_t bits = 1;
    while ((size_t(1) << bits) < symbols) ++bits;

    std::vector<uint8_t> out;
    MovieWriterPut16(out, uint32_t(vectors.size()));
    MovieWriterPut16(out, uint32_t(raws.size()));
    MovieWriterPut16(out, uint32_t(fours.size()));
    MovieWriterPut16(out, bits);
    out.resize(12, 0);
    auto putBits = [&](size_t start, size_t bitOffset, uint32_t value, uint32_t count) {
        for (uint32_t i = 0; i < count; ++i) {
            const size_t b = bitOffset + i;
            if (start + b / 8 >= out.size()) out.resize(start + b / 8 + 1, 0);
            if ((value >> i) & 1) out[start + b / 8] |= uint8_t(1 << (b & 7));
        }
    };
    for (size_t j = 0; j < vectors.size(); ++j) {
        putBits(12, 20 * j, uint32_t(vectors[j].first) & 0x3FF, 10);
        putBits(12, 20 * j + 10, uint32_t(vectors[j].second) & 0x3FF, 10);
    }
    MovieWriterPad4(out);
    for (const auto& r : raws) out.insert(out.end(), r.begin(), r.end());
    MovieWriterPad4(out);
    for (const auto& f : fours) out.insert(out.end(), f.begin(), f.end());
    MovieWriterPad4(out);
    const size_t indexAt = out.size();
    for (size_t b = 0; b < choices.size(); ++b) {
        const Choice& c = choices[b];
        const uint32_t symbol = c.kind == 0   ? c.index
                                : c.kind == 1 ? uint32_t(vectors.size()) + c.index
                                              : uint32_t(vectors.size() + raws.size()) + c.index;
        putBits(indexAt, b * bits, symbol, bits);
    }
    out.resize(indexAt + (choices.size() * bits + 7) / 8, 0);
    return out;
}

void MovieWriter::AppendChunk(std::vector<uint8_t>& out, const char tag[4], const std::vector<uint8_t>& payload) {
    out.insert(out.end(), tag, tag + 4);
    const uint32_t size = uint32_t(payload.size() + 8);
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(size >> (8 * i)));
    out.insert(out.end(), payload.begin(), payload.end());
}

bool MovieWriter::Write(const MovieSource& source, std::vector<uint8_t>& out, std::string& error) {
    if (source.width <= 0 || source.height <= 0 || source.width % 4 || source.height % 4 || source.width > 4096 ||
        source.height > 4096) {
        error = "frame sides must be multiples of 4 from 4 to 4096";
        return false;
    }
    if (source.palette.empty() || source.palette.size() > 256) {
        error = "the palette must hold 1 to 256 colours";
        return false;
    }
    if (source.frames.empty() || source.framesPerSecond <= 0) {
        error = "a movie needs frames and a frame rate";
        return false;
    }
    const size_t pixels = size_t(source.width) * source.height;
    for (const auto& f : source.frames)
        if (f.size() != pixels) {
            error = "a frame's size differs from width * height";
            return false;
        }
    std::vector<MovieAudioEncoder> encoders;
    for (const MovieSourceTrack& t : source.tracks) {
        const int32_t c = t.format.compression;
        if ((c != kMovieAudioPcm && c != kMovieAudioAdpcm && c != kMovieAudioIma) || t.format.channels < 1 ||
            t.format.channels > 2 || t.format.rate < 100 || t.format.rate > 100000) {
            error = "a sound track needs compression 0, 7 or 10, 1 or 2 channels and a rate of 100 to 100000 Hz";
            return false;
        }
        encoders.emplace_back(t.format);
        AppendChunk(out, "SCHl", encoders.back().Header());
    }
    const size_t count = source.frames.size();
    for (size_t i = 0; i < count; ++i) {
        const bool key = i == 0 || (source.keyInterval > 0 && i % size_t(source.keyInterval) == 0);
        if (key)
            AppendChunk(out, "TGVk", EncodeKeyFrame(source.width, source.height, source.palette, source.frames[i].data()));
        else
            AppendChunk(out, "TGVf",
                        EncodeInterFrame(source.width, source.height, source.frames[i - 1].data(), source.frames[i].data()));
        for (size_t t = 0; t < source.tracks.size(); ++t) {
            const MovieSourceTrack& track = source.tracks[t];
            const size_t channels = size_t(track.format.channels);
            const size_t total = track.samples.size() / channels;
            const size_t perFrame = size_t(track.format.rate) / size_t(source.framesPerSecond);
            // The predictive code pads a chunk to whole groups of 28 samples:
            // its chunks start on group bounds, so only the last one pads.
            const size_t grain = track.format.compression == kMovieAudioAdpcm ? 28 : 1;
            const size_t from = std::min(total, i * perFrame / grain * grain);
            const size_t to = i + 1 == count ? total : std::min(total, (i + 1) * perFrame / grain * grain);
            AppendChunk(out, "SCDl", encoders[t].EncodeChunk(track.samples.data() + from * channels, to - from));
        }
    }
    AppendChunk(out, "SCEl", {});
    return true;
}
