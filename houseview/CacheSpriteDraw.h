// Objects' sprite drawing (the simulation's SpriteDraw) over one sprite
// cache: frames are drawn z-buffered into the drawing context's picture,
// standing on the screen row of their origin.
#pragma once

#include <cstdint>

#include "houseview/ZBufferLookup.h"
#include "simulation/ObjectDrawing.h"

namespace tova {

class SpriteCache;

class CacheSpriteDraw : public SpriteDraw {
 public:
  explicit CacheSpriteDraw(SpriteCache& cache) : mCache(cache) {}

  int32_t FrameCount(int32_t spriteId) const override;
  bool FrameInfo(int32_t spriteId, int32_t frame, int32_t& width, int32_t& height, int32_t& originX,
                 int32_t& originY) const override;
  DrawnRect DrawFrame(int32_t spriteId, int32_t frame, int32_t x, int32_t y, const DrawingContext& context) override;

 private:
  SpriteCache& mCache;
  ZBufferLookup mLookup;
  int32_t mLookupHeight[4] = {};
};

}  // namespace tova
