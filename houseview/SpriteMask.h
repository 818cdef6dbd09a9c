// 'SPR2' frames without depth (index runs only) decoded into byte images:
// the floor diamonds and the floor-shadow pictures are such frames.
#pragma once

#include <cstdint>
#include <vector>

namespace tova {

struct MaskImage {
  std::vector<uint8_t> pixels;  // width * height, row-major
  int32_t width = 0;
  int32_t height = 0;
};

// Decodes the frame's commands (from byte 16) into `pixels`, rows of
// `width` bytes, `height` rows. Runs and row moves are clipped to the image;
// a word other than a row start, skip, row jump or index run ends the
// decode, as does running out of bytes.
void DecodeSpriteMask(const uint8_t* frame, int32_t frameSize, uint8_t* pixels, int32_t width, int32_t height);

// The frame at its header's size, first filled with its transparent index;
// in every row the leading and trailing transparent bytes become 255. Empty
// for a frame whose header is cut short or whose size is out of reason.
MaskImage DecodeTrimmedSpriteMask(const uint8_t* frame, int32_t frameSize);

// The header's width and height, when the frame holds a header and the
// size is one a mask may have.
bool GetSpriteMaskSize(const uint8_t* frame, int32_t frameSize, int32_t& width, int32_t& height);

}  // namespace tova
