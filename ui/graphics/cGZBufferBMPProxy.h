// Stands in for a surface when a buffer was loaded from an 8-bit run-length
// bitmap: keeps the file in memory with its palette converted to the screen
// format; the first draw decodes it into palette indexes that every draw
// copies from (an image of more than kMaxDecodedPixels is decoded straight
// into the destination at each draw instead). Palette entries of pure
// magenta are transparent (the last such entry counts).
//
// Everything in the file is checked before use: header fields, the palette
// and pixel offsets, and every run, move and literal while decoding, which
// writes only inside the image, the asked rectangle and the destination.
#pragma once

#include "framework/cRZRect.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class cGZBuffer;

class cGZBufferBMPProxy {
public:
    explicit cGZBufferBMPProxy(std::string name) : mName(std::move(name)) {}

    // Reads the file (through the framework's files) and its palette; false,
    // with everything dropped, when it cannot be read, is not a bitmap, or
    // has more than 256 colours.
    bool Load();
    // Loads from bytes already in memory (fixtures, fuzzing).
    bool LoadBytes(std::string bytes);
    bool IsLoaded() const { return !mFile.empty() && !mPalette.empty(); }

    // Decodes the part of the image inside sourceRect to the destination at
    // (destX, destY). Needs 8 bits, one plane and run-length compression.
    bool DrawTo(cGZBuffer& dest, int32_t destX, int32_t destY, const cRZRect& sourceRect);

    const cRZRect& ImageRect() const { return mRect; }
    int32_t TransparentIndex() const { return mTransparent; }
    int32_t ColorCount() const { return static_cast<int32_t>(mPalette.size()); }
    uint16_t PaletteEntry(int32_t i) const { return static_cast<uint16_t>(mPalette[static_cast<size_t>(i)]); }
    const std::string& Name() const { return mName; }
    const std::string& Error() const { return mError; }

    static constexpr size_t kMaxDecodedPixels = size_t{4} << 20;

private:
    bool Fail(std::string why);

    std::string mFile;
    std::vector<int16_t> mDecoded;  // palette index per pixel, -1 where nothing is drawn
    std::vector<uint32_t> mPalette;
    std::string mName;
    cRZRect mRect{};
    int32_t mTransparent = -1;
    std::string mError;
};
