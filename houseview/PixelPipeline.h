// The start-up steps of the 16-bit pixel pipeline. Inner loops that depend
// on the pixel kind or the antialiasing switch are chosen once into
// process-wide routine pointers, never tested per pixel:
//   - SetUpPixelPipeline, once the display's kind is known: the alpha-layer
//     blend, the sprite span routines, the cross-fade routine and the blend
//     table;
//   - BuildShadeTables, from the world's set-up: the shade and per-channel
//     pixel tables, then the light map cleared and built again.
#pragma once

#include <cstdint>

namespace tova {

using BlendPixelRoutine = uint16_t (*)(uint16_t first, uint16_t second, int32_t level);

// The blend of the alpha-layer row draws, normal and mirrored: BlendPixel555
// for kind 1, BlendPixel565 for every other kind.
struct AlphaBlendPair {
  BlendPixelRoutine normal = nullptr;
  BlendPixelRoutine mirrored = nullptr;
};

// What the sprite draws and the blitters fill in: their choice of routines
// for a pixel kind (and, for the spans, the antialiasing switch).
struct PixelPipelineHooks {
  void (*selectSpanRoutines)(int32_t kind) = nullptr;
  // False when the kind has no cross-fade routine.
  bool (*selectAlphaMaskBlit)(int32_t kind) = nullptr;
};
void SetPixelPipelineHooks(const PixelPipelineHooks& hooks);

// kind: the display's pixel kind (0..4; ours is always 2).
void SetUpPixelPipeline(int32_t kind);
// The kind the pipeline was set up for (2 before any set-up).
int32_t PixelPipelineKind();
const AlphaBlendPair& GetAlphaBlendPair();

// Again at start-up and whenever gSpriteAntialias changes.
void SelectSpanRoutines();
bool SelectAlphaMaskBlit();

// For the pipeline's kind; the light map is the global one.
void BuildShadeTables();
void BuildShadeTables(int32_t kind);

}  // namespace tova
