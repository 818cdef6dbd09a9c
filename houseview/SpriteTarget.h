// The buffers every sprite draw writes into: a 16-bit colour buffer and its
// 16-bit depth buffer (smaller is nearer, 0xFFFF empty), with the clip
// rectangle the draws stay inside. The view's frame pass sets them before
// each pass; tests and tools set their own.
#pragma once

#include <cstdint>

#include "resfile/ResUtil.h"

namespace tova {

struct SpriteTarget {
  uint16_t* colour = nullptr;
  int32_t colourPitch = 0;  // bytes
  uint16_t* depth = nullptr;
  int32_t depthPitch = 0;  // bytes
  ShortRect clip{0, 0, 0, 0};

  uint16_t* ColourRow(int32_t y) const {
    return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(colour) + static_cast<intptr_t>(y) * colourPitch);
  }
  uint16_t* DepthRow(int32_t y) const {
    return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(depth) + static_cast<intptr_t>(y) * depthPitch);
  }
};

void SetSpriteTarget(const SpriteTarget& target);
const SpriteTarget& GetSpriteTarget();

}  // namespace tova
