// Video of a movie: the key frames (a palette and an LZ-compressed 8-bit
// picture) and the inter frames (4x4 blocks copied from the previous picture
// along motion vectors, or taken from raw and four-colour patterns), and the
// output of the picture through the palette into a 16-bit surface. Every
// length, distance, vector and index is checked against the frame: a frame
// that breaks them is refused or leaves the blocks concerned as they were.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Surface.h"

struct MovieRequest;

enum : int32_t {
    kMovieKindKey = 1,
    kMovieKindInter = 2,
    kMovieKindBlock3 = 3,
    kMovieKindBlock4 = 4,
    kMovieKindMotion5 = 5,
    kMovieKindMotion6 = 6,
    kMovieKindMotion7 = 7,
};

class MovieVideoDecoder {
public:
    static constexpr int32_t kMaxSide = 4096;

    // The frame size a chunk's header declares (kinds 1, 3..7); false when
    // the kind carries none or the payload is too short.
    static bool ReadFrameSize(int32_t kind, const uint8_t* payload, size_t size, int32_t& width, int32_t& height);

    // Decodes a kind 1 or 2 payload into the current picture; false (and the
    // picture left as it was before) when it is damaged or the kind is not
    // one of those two.
    bool Decode(int32_t kind, const uint8_t* payload, size_t size, int32_t brightness);

    bool HasPicture() const { return mbHasPicture; }
    int32_t Width() const { return mWidth; }
    int32_t Height() const { return mHeight; }
    // Rows of Stride() bytes (the width rounded up to 4).
    int32_t Stride() const { return mStride; }
    const uint8_t* Pixels() const { return mCurrent.data(); }
    // The palette as red, green, blue after the brightness.
    const std::array<uint8_t, 768>& Palette() const { return mPalette; }

    // Where a frame of this size goes on a surface of the given size, by the
    // request's doubling, centring, offsets and explicit size.
    static platform::Rect OutputRect(const MovieRequest& request, int32_t frameWidth, int32_t frameHeight,
                                     int32_t surfaceWidth, int32_t surfaceHeight);
    // Writes the picture, scaled to rect and clipped to the surface, through
    // the palette table; false when the surface cannot be locked.
    bool Output(platform::Surface& surface, const platform::Rect& rect) const;

    // The LZ scheme of key frames; false when a command reaches outside the
    // input or the output. `out` holds what was decoded.
    static bool DecompressLz(const uint8_t* data, size_t size, uint8_t* out, size_t outSize);

private:
    bool DecodeKey(const uint8_t* payload, size_t size, int32_t brightness);
    bool DecodeInter(const uint8_t* payload, size_t size);

    bool mbHasPicture = false;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    int32_t mStride = 0;
    int32_t mRows = 0;  // the height rounded up to 4
    std::vector<uint8_t> mCurrent;
    std::vector<uint8_t> mPrevious;
    std::array<uint8_t, 768> mPalette{};
};
