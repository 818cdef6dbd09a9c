// SpriteCache's draws: the palette variant, the clip and the choice of the
// 'SPR#' blitters and row draws or the 'SPR2' span routines.
#include <algorithm>
#include <cmath>
#include <vector>

#include "gamedata/GlobalContext.h"
#include "houseview/LightingSettings.h"
#include "houseview/PalWrap.h"
#include "houseview/SpriteBlitters.h"
#include "houseview/SpriteCache.h"
#include "houseview/SpriteDrawInfo.h"
#include "houseview/SpriteSpans.h"
#include "houseview/ZBufferLookup.h"

namespace tova {

namespace {

int16_t DrawWord(const uint8_t* p) { return static_cast<int16_t>(p[0] | p[1] << 8); }

const uint16_t* DrawPaletteTable(PalWrap* palette, const SpriteDrawInfo& info) {
  if (palette == nullptr && gGlobalContext != nullptr) palette = gGlobalContext->palette;
  if (palette == nullptr) return nullptr;
  if (info.Has(SpriteDrawInfo::kGreyLight)) return palette->GetTable(PalWrap::kGreyLight);
  if (info.Has(SpriteDrawInfo::kGreyDark)) return palette->GetTable(PalWrap::kGreyDark);
  if (info.Has(SpriteDrawInfo::kBrighten)) return palette->GetTable(PalWrap::kBrightened);
  float factor = info.Has(SpriteDrawInfo::kNoShade) ? 1.0f : info.shade;
  if (info.Has(SpriteDrawInfo::kShadeFloor)) factor *= gLightingSettings.shadeFloor;
  return palette->GetShadedTable(factor);
}

// Screen rectangle {left, top, right, bottom}; whether any of it lies
// inside the clip (touching an edge is not enough).
bool DrawMeetsClip(const DrawnRect& r, const ShortRect& clip) {
  return !(r.top >= clip.bottom || r.left >= clip.right || r.right <= clip.left || r.bottom <= clip.top) &&
         r.left < r.right && r.top < r.bottom;
}

// Restores the caller's no-shade flag whatever the draw does.
struct NoShadeForDraw {
  SpriteDrawInfo& info;
  uint8_t saved;
  NoShadeForDraw(SpriteDrawInfo& i, bool on) : info(i), saved(i.flags) {
    if (on) info.flags |= SpriteDrawInfo::kNoShade;
  }
  ~NoShadeForDraw() { info.flags = static_cast<uint8_t>((info.flags & ~SpriteDrawInfo::kNoShade) | (saved & SpriteDrawInfo::kNoShade)); }
};

}  // namespace

DrawnRect SpriteCache::DrawSprite(int32_t id, int32_t frame, int32_t x, int32_t y, uint32_t flags, SpriteDrawInfo& info,
                                  bool wantDepth) {
  DrawnRect rect;
  SpriteCacheEntry* entry = Find(id);
  if (entry == nullptr) return rect;
  const SpriteTarget& target = GetSpriteTarget();
  const bool mirrored = (flags & SpriteDrawInfo::kDrawMirror) != 0;
  NoShadeForDraw noShade(info, (flags & SpriteDrawInfo::kDrawNoShade) != 0);

  if (entry->IsSprite2()) {
    int32_t size = 0;
    const uint8_t* data = entry->GetFrame(0, frame, &size);
    if (data == nullptr || size < 16) return rect;
    const int32_t width = static_cast<uint16_t>(DrawWord(data)), height = static_cast<uint16_t>(DrawWord(data + 2));
    rect = DrawnRect{x, y, x + width, y + height};
    if (target.colour == nullptr || target.depth == nullptr || !DrawMeetsClip(rect, target.clip)) return rect;
    const uint16_t* palette = DrawPaletteTable(entry->GetPalette(), info);
    if (palette == nullptr) return rect;
    Sprite2Span span;
    span.stream = data + 16;
    span.size = size - 16;
    span.left = x;
    span.top = y;
    span.width = width;
    span.clipLeft = std::max<int32_t>(target.clip.left, x);
    span.clipTop = std::max<int32_t>(target.clip.top, y);
    span.clipRight = std::min<int32_t>(target.clip.right, x + width);
    span.clipBottom = std::min<int32_t>(target.clip.bottom, y + height);
    span.palette = palette;
    span.base = ZLookupBase(info, info.baseRow);
    span.depthTable = ZBufferLookup::GetSpriteDepthTable();
    span.target = &target;
    const bool clipped = span.clipLeft > x || span.clipTop > y || span.clipRight < x + width || span.clipBottom < y + height;
    const Sprite2SpanTable& spans = GetSprite2Spans();
    (mirrored ? (clipped ? spans.mirroredClipped : spans.mirrored) : (clipped ? spans.normalClipped : spans.normal))(span);
    return rect;
  }

  int32_t size = 0;
  const uint8_t* data = entry->GetFrame(SpriteCacheEntry::kColour, frame, &size);
  if (data == nullptr || size < 10) return rect;
  const ShortRect r{DrawWord(data), DrawWord(data + 2), DrawWord(data + 4), DrawWord(data + 6)};
  rect = DrawnRect{x + r.left, y + r.top, x + r.right, y + r.bottom};
  if (target.colour == nullptr || !DrawMeetsClip(rect, target.clip)) return rect;
  const uint16_t* palette = DrawPaletteTable(entry->GetPalette(), info);
  if (palette == nullptr) return rect;
  SpriteDrawContext context;
  context.stream = data + 10;
  context.size = size - 10;
  context.left = rect.left;
  context.top = rect.top;
  context.width = rect.right - rect.left;
  context.height = rect.bottom - rect.top;
  context.clipLeft = std::max(0, target.clip.left - rect.left);
  context.clipTop = std::max(0, target.clip.top - rect.top);
  context.clipRight = std::max(0, rect.right - target.clip.right);
  context.clipBottom = std::max(0, rect.bottom - target.clip.bottom);
  context.palette = palette;
  context.target = &target;

  int32_t depthSize = 0;
  const uint8_t* depth = entry->GetFrame(SpriteCacheEntry::kDepth, frame, &depthSize);
  if (target.depth == nullptr || (!wantDepth && depth == nullptr)) {
    cBlitter* blitter = GetStandardBlitter();
    mirrored ? blitter->DrawMirrored(context, info) : blitter->Draw(context, info);
    return rect;
  }
  if (depth == nullptr || depthSize < 10) {
    cBlitter* blitter = GetStandardZBlitter();
    mirrored ? blitter->DrawMirrored(context, info) : blitter->Draw(context, info);
    return rect;
  }
  const int32_t base = ZLookupBase(info, info.baseRow);
  DrawColourAndDepthRows(context, depth + 10, depthSize - 10, nullptr, 0, base, mirrored);
  if (entry->GetVersion() != 506) return rect;
  int32_t layerSize = 0, layerDepthSize = 0, alphaSize = 0;
  const uint8_t* layer = entry->GetFrame(SpriteCacheEntry::kAlphaColour, frame, &layerSize);
  const uint8_t* layerDepth = entry->GetFrame(SpriteCacheEntry::kAlphaDepth, frame, &layerDepthSize);
  const uint8_t* alpha = entry->GetFrame(SpriteCacheEntry::kAlpha, frame, &alphaSize);
  if (layer == nullptr || layerDepth == nullptr || layerSize < 10 || layerDepthSize < 10) return rect;
  SpriteDrawContext layerContext = context;
  layerContext.stream = layer + 10;
  layerContext.size = layerSize - 10;
  const bool blend = gSpriteAntialias != 0 && alpha != nullptr && alphaSize >= 10;
  DrawColourAndDepthRows(layerContext, layerDepth + 10, layerDepthSize - 10, blend ? alpha + 10 : nullptr,
                         blend ? alphaSize - 10 : 0, base, mirrored);
  return rect;
}

DrawnRect SpriteCache::DrawSpriteOnTerrain(int32_t id, int32_t frame, int32_t x, int32_t y, uint32_t flags,
                                           SpriteDrawInfo& info) {
  DrawnRect rect;
  SpriteCacheEntry* entry = Find(id);
  if (entry == nullptr || !entry->IsSprite2()) return rect;
  int32_t size = 0;
  const uint8_t* data = entry->GetFrame(0, frame, &size);
  if (data == nullptr || size < 16) return rect;
  NoShadeForDraw noShade(info, (flags & SpriteDrawInfo::kDrawNoShade) != 0);
  const int32_t width = static_cast<uint16_t>(DrawWord(data)), height = static_cast<uint16_t>(DrawWord(data + 2));
  rect = DrawnRect{x, y, x + width, y + height};
  const SpriteTarget& target = GetSpriteTarget();
  if (target.colour == nullptr || target.depth == nullptr || !DrawMeetsClip(rect, target.clip)) return rect;
  const uint16_t* palette = DrawPaletteTable(entry->GetPalette(), info);
  if (palette == nullptr) return rect;
  // Each row's depth: the ground depth of that screen row, moved so that
  // the top row lies at the tile's ground depth, plus 80.
  std::vector<int32_t> rows(static_cast<size_t>(height));
  const int32_t top = ZLookupBase(info, y);
  for (int32_t r = 0; r < height; ++r) rows[static_cast<size_t>(r)] = ZLookupBase(info, y + r) - top;
  Sprite2Span span;
  span.stream = data + 16;
  span.size = size - 16;
  span.left = x;
  span.top = y;
  span.width = width;
  span.clipLeft = std::max<int32_t>(target.clip.left, x);
  span.clipTop = std::max<int32_t>(target.clip.top, y);
  span.clipRight = std::min<int32_t>(target.clip.right, x + width);
  span.clipBottom = std::min<int32_t>(target.clip.bottom, y + height);
  span.palette = palette;
  span.base = ZLookupBase(info, info.baseRow) + 80;
  span.rowDepths = rows.data();
  span.rowCount = height;
  span.target = &target;
  const bool clipped = span.clipLeft > x || span.clipTop > y || span.clipRight < x + width || span.clipBottom < y + height;
  (clipped ? GetSprite2Spans().terrainClipped : GetSprite2Spans().terrain)(span);
  return rect;
}

}  // namespace tova
