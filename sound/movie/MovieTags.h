// The chunk tags of a movie stream, as the little-endian value of their four
// bytes in file order. A reversed tag (its bytes swapped) is the same chunk.
#pragma once

#include <cstdint>

constexpr uint32_t MovieTag(const char (&t)[5]) {
    return uint32_t(uint8_t(t[0])) | uint32_t(uint8_t(t[1])) << 8 | uint32_t(uint8_t(t[2])) << 16 |
           uint32_t(uint8_t(t[3])) << 24;
}

enum class MovieChunk { Unknown, AudioHeader, AudioCount, AudioData, LoopInfo, End, Video };

// The chunk a tag names and, for video, its kind (1..7).
inline MovieChunk ClassifyMovieTag(uint32_t tag, int32_t& kind) {
    kind = 0;
    for (int pass = 0; pass < 2; ++pass) {
        switch (tag) {
            case MovieTag("SCHl"): return MovieChunk::AudioHeader;
            case MovieTag("SCCl"): return MovieChunk::AudioCount;
            case MovieTag("SCDl"): return MovieChunk::AudioData;
            case MovieTag("SCLl"): return MovieChunk::LoopInfo;
            case MovieTag("SCEl"): return MovieChunk::End;
            case MovieTag("TGVk"): kind = 1; return MovieChunk::Video;
            case MovieTag("TGVf"): kind = 2; return MovieChunk::Video;
            case MovieTag("MUVf"):
            case MovieTag("pQGT"): kind = 3; return MovieChunk::Video;
            case MovieTag("UV2f"):
            case MovieTag("pIQT"): kind = 4; return MovieChunk::Video;
            case MovieTag("MADk"): kind = 5; return MovieChunk::Video;
            case MovieTag("MADm"): kind = 6; return MovieChunk::Video;
            case MovieTag("MADe"): kind = 7; return MovieChunk::Video;
            default: break;
        }
        tag = (tag >> 24) | ((tag >> 8) & 0xFF00) | ((tag << 8) & 0xFF0000) | (tag << 24);
    }
    return MovieChunk::Unknown;
}
