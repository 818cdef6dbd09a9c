// The 'SPR#' draws: two blitters for a colour frame alone (without depth, or
// at the depth of each screen row), and the row draws of frames with a depth
// channel and of the alpha layer. All write the sprite target inside its clip.
#pragma once

#include <cstdint>

#include "houseview/SpriteTarget.h"

namespace tova {

struct SpriteDrawInfo;

// One 'SPR#' frame at its screen place.
struct SpriteDrawContext {
  const uint8_t* stream = nullptr;  // the colour channel's rows (frame + 10)
  int32_t size = 0;
  int32_t left = 0, top = 0, width = 0, height = 0;  // the frame on screen
  // How many columns and rows each side loses to the clip.
  int32_t clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
  const uint16_t* palette = nullptr;
  const SpriteTarget* target = nullptr;
};

class cBlitter {
 public:
  virtual ~cBlitter() = default;
  virtual bool IsAvailable() const { return true; }
  virtual void Draw(const SpriteDrawContext& context, const SpriteDrawInfo& info) = 0;
  virtual void DrawMirrored(const SpriteDrawContext& context, const SpriteDrawInfo& info) = 0;
};

// Colour only, no depth read or written.
class cStandardBlitter16 : public cBlitter {
 public:
  void Draw(const SpriteDrawContext& context, const SpriteDrawInfo& info) override;
  void DrawMirrored(const SpriteDrawContext& context, const SpriteDrawInfo& info) override;
};

// Colour at the depth of each screen row (ZLookupBase), z-tested and stored.
class cStandardZBlitter16 : public cBlitter {
 public:
  void Draw(const SpriteDrawContext& context, const SpriteDrawInfo& info) override;
  void DrawMirrored(const SpriteDrawContext& context, const SpriteDrawInfo& info) override;
};

cBlitter* GetStandardBlitter();
cBlitter* GetStandardZBlitter();

// A colour channel with its depth channel: each pixel at base + the depth
// table's offset of its z byte (255: no pixel), tested stored >= new.
// `alpha` (null for none) turns the draw into the alpha layer's: the colour
// blends toward the palette colour at the pixel's level, depth stored.
void DrawColourAndDepthRows(const SpriteDrawContext& context, const uint8_t* depthStream, int32_t depthSize,
                            const uint8_t* alphaStream, int32_t alphaSize, int32_t base, bool mirrored);

}  // namespace tova
