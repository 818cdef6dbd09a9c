#include "houseview/SpriteDrawInfo.h"

#include <algorithm>
#include <cmath>

#include "houseview/ZBufferLookup.h"
#include "simulation/WorldVectors.h"

namespace tova {

void SpriteDrawInfo::Place(float tileX, float tileY, int32_t placeLevel, float groundHeight) {
  x = tileX;
  y = tileY;
  if (Has(kFlat)) height = 0;
  else if (groundHeight == -1.0f) height = view != nullptr ? view->TerrainHeight(tileX, tileY) : 0.0f;
  else height = groundHeight;
  level = placeLevel;
  ComputeScreenPosition(*this);
}

void SpriteDrawInfo::SetShade(float value) { shade = std::clamp(value, 0.5f, 1.0f); }

int32_t ZLookupBase(const SpriteDrawInfo& info, int32_t row) {
  if (info.zTables == nullptr) return info.depthOffset;
  return info.zTables->GetSet(info.zoom).RowDepth(info.groundRow + (row - info.baseRow)) + info.depthOffset;
}

namespace {

void SpriteDepthBase(SpriteDrawInfo& info) {
  if (info.zTables != nullptr) {
    info.zTables->PlaceSprite(info, 3 * PixelsToAltitude(info.height));
  } else {
    info.baseRow = info.groundRow = info.screenY;
    info.depthOffset = 0;
  }
}

void SpriteScreenPoint(SpriteDrawInfo& info) {
  const int32_t zoom = std::clamp(info.zoom, 1, 3);
  if (info.Has(SpriteDrawInfo::kFlat)) {
    const auto tile = [](float v) { return static_cast<int8_t>(static_cast<int32_t>(std::lround(v)) >> 4); };
    const int32_t tx = tile(info.x), ty = tile(info.y);
    const int32_t rx = static_cast<int8_t>(info.referenceY >> 4), ry = static_cast<int8_t>(info.referenceX >> 4);
    info.screenX += ((tx - rx) - (ty - ry)) * (8 << zoom);
    info.screenY += ((tx - rx) + (ty - ry)) * (4 << zoom);
    return;
  }
  if (info.view == nullptr) return;
  const float side = static_cast<float>(info.view->GetWorldSize() * 16);
  float tx = info.x, ty = info.y;
  switch (info.view->GetRotation() & 3) {
    case 1: tx = side - info.y; ty = info.x; break;
    case 2: tx = side - info.x; ty = side - info.y; break;
    case 3: tx = info.y; ty = side - info.x; break;
    default: break;
  }
  info.view->WorldToScreen(tx, ty, info.Level(), zoom, info.screenX, info.screenY);
}

}  // namespace

void ComputeScreenPosition(SpriteDrawInfo& info) {
  SpriteScreenPoint(info);
  SpriteDepthBase(info);
}

void PlaceOnTerrain(SpriteDrawInfo& info) {
  SpriteScreenPoint(info);
  const float terrain = info.view != nullptr ? info.view->TerrainHeight(info.x, info.y) : 0.0f;
  info.screenY += static_cast<int32_t>(std::lround(static_cast<float>(1 << (std::clamp(info.zoom, 1, 3) + 1)) *
                                                   (info.height - terrain)));
  SpriteDepthBase(info);
}

bool PlaceFrom3D(SpriteDrawInfo& info, float px, float py, float pz, int32_t placeLevel) {
  info.level = placeLevel;
  // A storey is vertical in the world, so turning it with the view leaves it
  // as it is: only its height is taken off.
  const float storeyUnits = static_cast<float>(ZBufferLookup::GetStoreyHeight(info.zoom)) /
                            static_cast<float>(1 << (std::clamp(info.zoom, 1, 3) + 1));
  const float storeyWorld = storeyUnits * 3.0f / (2.0f * 2.4494897f);
  const float dy = py - storeyWorld * static_cast<float>(std::max(placeLevel, 1) - 1);
  info.x = pz * 5.3333335f;
  info.y = px * 5.3333335f;
  info.height = dy * 0.33333334f * 4.8989797f;
  const int32_t ix = static_cast<int32_t>(info.x + 0.5f), iy = static_cast<int32_t>(info.y + 0.5f);
  const int32_t size = info.view != nullptr ? info.view->GetWorldSize() : 64;
  if (ix < 0 || iy < 0 || (ix >> 4) >= size || (iy >> 4) >= size || (ix & 0x800) != 0 || (iy & 0x800) != 0) return false;
  PlaceOnTerrain(info);
  return true;
}

}  // namespace tova
