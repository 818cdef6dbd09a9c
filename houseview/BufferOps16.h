// Whole-buffer 16-bit operations of the renderer: a depth-tested copy of a
// picture into the view, the cross-fade and alpha-mask blends between
// buffers, and the trim of a buffer to its content. They work on plain
// pixel views so that surfaces, tests and tools share them.
#pragma once

#include <cstdint>

#include "resfile/ResUtil.h"

namespace tova {

struct SpriteDrawInfo;

// Rows of 16-bit pixels; `pitch` in pixels. A key of -1 means none.
struct PixelView16 {
  uint16_t* pixels = nullptr;
  int32_t width = 0, height = 0;
  int32_t pitch = 0;
  int32_t key = -1;
  uint16_t* Row(int32_t y) const { return pixels + static_cast<intptr_t>(y) * pitch; }
};

// Copies `area` of the buffer (all of it when null) to the sprite target at
// (x, y), cut to its clip; a pixel goes where the stored depth >= the
// depth of its screen row. The depth buffer is not changed; key pixels are
// not copied.
void DrawBufferWithDepth(int32_t x, int32_t y, const PixelView16& buffer, const SpriteDrawInfo& info,
                         const ShortRect* area = nullptr);

// level 0..255 from source A to source B over `rect` of the destination,
// the sources read from their points.
using CrossFadeRoutine = void (*)(const PixelView16& destination, const ShortRect& rect, const PixelView16& a,
                                  int32_t ax, int32_t ay, const PixelView16& b, int32_t bx, int32_t by, int32_t level);
// Chooses the cross-fade for a pixel kind: 1 the 555 form, 2 the 565 form;
// other kinds have none of their own and take the 565 form (false).
bool SelectCrossFade(int32_t kind);
CrossFadeRoutine GetCrossFade();

// Blends the source into the destination by an alpha byte per pixel plus a
// bias: w <= 7 leaves it, w >= 248 copies, between blends at w >> 3.
void BlitWithAlphaMask(const PixelView16& destination, const ShortRect& rect, const PixelView16& source,
                       const uint8_t* alpha, int32_t alphaPitch, int32_t sx, int32_t sy, int32_t bias, int32_t kind);

// Margins of key-coloured rows and columns around the content of `region`;
// false when nothing but the key is there.
bool FindContentBounds(const PixelView16& buffer, const ShortRect& region, uint16_t key, int32_t& left, int32_t& top,
                       int32_t& right, int32_t& bottom);

}  // namespace tova
