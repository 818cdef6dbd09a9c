#include "houseview/CacheSpriteDraw.h"

#include <algorithm>

#include "houseview/SpriteCache.h"
#include "houseview/SpriteDrawInfo.h"
#include "houseview/SpriteTarget.h"

namespace tova {

namespace {

int16_t CacheDrawWord(const uint8_t* p) { return static_cast<int16_t>(p[0] | p[1] << 8); }

}  // namespace

int32_t CacheSpriteDraw::FrameCount(int32_t spriteId) const { return mCache.GetFrameCount(spriteId); }

bool CacheSpriteDraw::FrameInfo(int32_t spriteId, int32_t frame, int32_t& width, int32_t& height, int32_t& originX,
                                int32_t& originY) const {
  SpriteCacheEntry* entry = mCache.Find(spriteId);
  if (entry == nullptr) return false;
  int32_t size = 0;
  const uint8_t* data = entry->GetFrame(0, frame, &size);
  if (entry->IsSprite2()) {
    if (data == nullptr || size < 16) return false;
    width = static_cast<uint16_t>(CacheDrawWord(data));
    height = static_cast<uint16_t>(CacheDrawWord(data + 2));
    originY = CacheDrawWord(data + 12);
    originX = CacheDrawWord(data + 14);
    return true;
  }
  if (data == nullptr || size < 10) return false;
  const int32_t top = CacheDrawWord(data), left = CacheDrawWord(data + 2);
  width = CacheDrawWord(data + 6) - left;
  height = CacheDrawWord(data + 4) - top;
  originX = -left;
  originY = -top;
  return true;
}

DrawnRect CacheSpriteDraw::DrawFrame(int32_t spriteId, int32_t frame, int32_t x, int32_t y, const DrawingContext& context) {
  const PixelTarget& picture = context.picture;
  if (picture.pixels == nullptr || picture.width <= 0 || picture.height <= 0) return DrawnRect{};
  const int32_t zoom = std::clamp(context.zoom, 1, 3);
  if (!mLookup.IsBuilt(zoom) || mLookupHeight[zoom] != picture.height) {
    mLookup.Build(zoom, picture.width, picture.height);
    mLookupHeight[zoom] = picture.height;
  }
  int32_t width = 0, height = 0, originX = 0, originY = 0;
  if (!FrameInfo(spriteId, frame, width, height, originX, originY)) return DrawnRect{};
  SpriteCacheEntry* entry = mCache.Find(spriteId);
  // 'SPR#' rectangles already hold the origin; 'SPR2' frames are placed by it.
  const int32_t left = entry->IsSprite2() ? x - originX : x, top = entry->IsSprite2() ? y - originY : y;

  const SpriteTarget previous = GetSpriteTarget();
  SpriteTarget target;
  target.colour = picture.pixels;
  target.colourPitch = picture.pitch * 2;
  target.depth = picture.depth;
  target.depthPitch = picture.pitch * 2;
  target.clip = ShortRect{0, 0, static_cast<int16_t>(std::min(picture.height, 32767)),
                          static_cast<int16_t>(std::min(picture.width, 32767))};
  SetSpriteTarget(target);
  SpriteDrawInfo info;
  info.zoom = zoom;
  info.zTables = &mLookup;
  info.viewValue = context.rotation;
  info.screenX = x;
  info.screenY = y;
  mLookup.PlaceSprite(info, 0);
  const DrawnRect rect = mCache.DrawSprite(spriteId, frame, left, top, 0, info, picture.depth != nullptr);
  SetSpriteTarget(previous);
  return rect;
}

}  // namespace tova
