// Resampling a 16-bit picture to another size with a separable cubic
// filter, channel by channel in floating point. Key-coloured pixels take no
// part in the sums; with a weight companion the result also tells, per
// pixel, how much of the source covered it (255 all).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "houseview/BufferOps16.h"

namespace tova {

struct ScaledBuffer16 {
  int32_t width = 0, height = 0;
  std::vector<uint16_t> pixels;
  std::vector<uint8_t> weights;  // empty without a companion
  PixelView16 View() {
    return PixelView16{pixels.data(), width, height, width, -1};
  }
};

// `area` of the source (all of it when null) at ceil(w * scaleX) x
// ceil(h * scaleY); none for an empty area, a size of 0 or a kind other
// than 1 (555) or 2 (565).
std::optional<ScaledBuffer16> ScaleBuffer(float scaleX, float scaleY, const PixelView16& source, const ShortRect* area,
                                          bool withWeights, int32_t kind);
std::optional<ScaledBuffer16> ScaleBufferUniform(float factor, const PixelView16& source, const ShortRect* area,
                                                 bool withWeights, int32_t kind);
std::optional<ScaledBuffer16> ScaleBufferToSize(const PixelView16& source, int32_t width, int32_t height,
                                                const ShortRect* area, bool withWeights, int32_t kind);

}  // namespace tova
