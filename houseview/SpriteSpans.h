// The 'SPR2' span routines: each walks one frame's command stream and writes
// its pixels z-tested into the sprite target. Which routines run depends on
// the pixel kind and the antialiasing switch, chosen once into a table by
// SelectSprite2Spans (the pixel pipeline's span hook), never per pixel.
#pragma once

#include <cstdint>

#include "houseview/SpriteTarget.h"

namespace tova {

struct Sprite2Span {
  const uint8_t* stream = nullptr;  // the commands after the frame header
  int32_t size = 0;                 // their bytes
  int32_t left = 0, top = 0;        // the frame's screen place
  int32_t width = 0;
  // The part of the screen the draw may write, right and bottom outside.
  int32_t clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
  const uint16_t* palette = nullptr;
  int32_t base = 0;                 // the sprite's depth at its base row
  const int16_t* depthTable = nullptr;  // 256 z-byte offsets
  // Terrain-following draws: the depth of each screen row, from the top row.
  const int32_t* rowDepths = nullptr;
  int32_t rowCount = 0;
  const SpriteTarget* target = nullptr;
};

using Sprite2SpanRoutine = void (*)(const Sprite2Span& span);

struct Sprite2SpanTable {
  Sprite2SpanRoutine normal = nullptr;
  Sprite2SpanRoutine normalClipped = nullptr;
  Sprite2SpanRoutine mirrored = nullptr;
  Sprite2SpanRoutine mirroredClipped = nullptr;
  Sprite2SpanRoutine terrain = nullptr;
  Sprite2SpanRoutine terrainClipped = nullptr;
};

// For a pixel kind and the present antialiasing switch: with it on, 0x4000
// pixels blend (555 for kind 1, 565 otherwise) and leave the depth; off,
// they are opaque and store their depth.
void SelectSprite2Spans(int32_t kind);
const Sprite2SpanTable& GetSprite2Spans();

}  // namespace tova
