#include "houseview/BufferOps16.h"

#include <algorithm>

#include "houseview/BlendTables.h"
#include "houseview/SpriteDrawInfo.h"
#include "houseview/SpriteTarget.h"

namespace tova {

namespace {

template <bool Is555>
void CrossFadeOf(const PixelView16& dest, const ShortRect& rect, const PixelView16& a, int32_t ax, int32_t ay,
                 const PixelView16& b, int32_t bx, int32_t by, int32_t level) {
  const int32_t level5 = (level & 0xFF) >> 3;
  int32_t left = rect.left, top = rect.top;
  if (left < 0) {
    ax -= left;
    bx -= left;
    left = 0;
  }
  if (top < 0) {
    ay -= top;
    by -= top;
    top = 0;
  }
  const int32_t right = std::min<int32_t>(rect.right, dest.width), bottom = std::min<int32_t>(rect.bottom, dest.height);
  // Both sources must hold the rows and columns read.
  const int32_t w = std::min({right - left, a.width - ax, b.width - bx});
  const int32_t h = std::min({bottom - top, a.height - ay, b.height - by});
  if (w <= 0 || h <= 0 || ax < 0 || ay < 0 || bx < 0 || by < 0) return;
  for (int32_t y = 0; y < h; ++y) {
    uint16_t* out = dest.Row(top + y) + left;
    const uint16_t* pa = a.Row(ay + y) + ax;
    const uint16_t* pb = b.Row(by + y) + bx;
    for (int32_t x = 0; x < w; ++x) {
      if (level < 8) out[x] = pa[x];
      else if (level5 == 31) out[x] = pb[x];
      else if (a.key >= 0 && pa[x] == a.key) continue;
      else if (pa[x] == pb[x]) out[x] = pa[x];
      else out[x] = Is555 ? BlendPixel555(pa[x], pb[x], level5) : BlendPixel565(pa[x], pb[x], level5);
    }
  }
}

CrossFadeRoutine gCrossFade = CrossFadeOf<false>;

}  // namespace

void DrawBufferWithDepth(int32_t x, int32_t y, const PixelView16& buffer, const SpriteDrawInfo& info,
                         const ShortRect* area) {
  const SpriteTarget& t = GetSpriteTarget();
  if (t.colour == nullptr || t.depth == nullptr || buffer.pixels == nullptr) return;
  ShortRect from{0, 0, static_cast<int16_t>(buffer.height), static_cast<int16_t>(buffer.width)};
  if (area != nullptr && !ShortRect::Intersect(*area, from, from)) return;
  for (int32_t r = from.top; r < from.bottom; ++r) {
    const int32_t sy = y + (r - from.top);
    if (sy < t.clip.top || sy >= t.clip.bottom) continue;
    const int32_t d = ZLookupBase(info, sy);
    const uint16_t* in = buffer.Row(r);
    uint16_t* out = t.ColourRow(sy);
    const uint16_t* depth = t.DepthRow(sy);
    for (int32_t c = from.left; c < from.right; ++c) {
      const int32_t sx = x + (c - from.left);
      if (sx < t.clip.left || sx >= t.clip.right) continue;
      if (static_cast<int32_t>(depth[sx]) < d || (buffer.key >= 0 && in[c] == buffer.key)) continue;
      out[sx] = in[c];
    }
  }
}

bool SelectCrossFade(int32_t kind) {
  gCrossFade = kind == 1 ? CrossFadeOf<true> : CrossFadeOf<false>;
  return kind == 1 || kind == 2;
}

CrossFadeRoutine GetCrossFade() { return gCrossFade; }

void BlitWithAlphaMask(const PixelView16& dest, const ShortRect& rect, const PixelView16& source, const uint8_t* alpha,
                       int32_t alphaPitch, int32_t sx, int32_t sy, int32_t bias, int32_t kind) {
  const int32_t left = std::max<int32_t>(rect.left, 0), top = std::max<int32_t>(rect.top, 0);
  sx += left - rect.left;
  sy += top - rect.top;
  const int32_t w = std::min<int32_t>(rect.right, dest.width) - left, h = std::min<int32_t>(rect.bottom, dest.height) - top;
  if (w <= 0 || h <= 0 || sx < 0 || sy < 0 || sx + w > source.width || sy + h > source.height) return;
  for (int32_t y = 0; y < h; ++y) {
    uint16_t* out = dest.Row(top + y) + left;
    const uint16_t* in = source.Row(sy + y) + sx;
    const uint8_t* mask = alpha + static_cast<intptr_t>(sy + y) * alphaPitch + sx;
    for (int32_t x = 0; x < w; ++x) {
      const int32_t weight = bias + mask[x];
      if (weight <= 7) continue;
      if (weight >= 248) out[x] = in[x];
      else out[x] = kind == 2 ? BlendPixel565(out[x], in[x], weight >> 3) : BlendPixel555(out[x], in[x], weight >> 3);
    }
  }
}

bool FindContentBounds(const PixelView16& buffer, const ShortRect& region, uint16_t key, int32_t& left, int32_t& top,
                       int32_t& right, int32_t& bottom) {
  ShortRect r{0, 0, static_cast<int16_t>(buffer.height), static_cast<int16_t>(buffer.width)};
  left = top = right = bottom = 0;
  if (buffer.pixels == nullptr || !ShortRect::Intersect(region, r, r)) return false;
  const int32_t width = r.right - r.left, height = r.bottom - r.top;
  const auto blankRow = [&](int32_t y) {
    const uint16_t* row = buffer.Row(y) + r.left;
    return std::all_of(row, row + width, [key](uint16_t p) { return p == key; });
  };
  while (top < height && blankRow(r.top + top)) ++top;
  while (bottom < height - top && blankRow(r.bottom - 1 - bottom)) ++bottom;
  left = right = width;
  for (int32_t y = r.top + top; y < r.bottom - bottom; ++y) {
    const uint16_t* row = buffer.Row(y) + r.left;
    int32_t lead = 0, trail = 0;
    while (lead < width && row[lead] == key) ++lead;
    while (trail < width && row[width - 1 - trail] == key) ++trail;
    left = std::min(left, lead);
    right = std::min(right, trail);
  }
  if (top + bottom >= height) left = right = 0;
  return left + right < width && top + bottom < height;
}

}  // namespace tova
