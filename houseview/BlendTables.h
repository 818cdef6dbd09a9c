// The lookup tables every blended or shaded 16-bit pixel goes through: the
// 32 x 32 x 32 channel blend table, the channel shade tables (32 levels of
// each 5- or 6-bit channel) and the per-channel pixel tables that put a
// shaded channel back into the display's layout. Built once at start-up;
// read by the sprite draws, the lit blits and the palettes.
#pragma once

#include <cstdint>

namespace tova {

// BlendTable[first * 1024 + second * 32 + level]: the 5-bit channel value
// `level`/31 of the way from first to second.
constexpr int32_t kBlendTableSize = 32 * 32 * 32;
extern uint8_t BlendTable[kBlendTableSize];
// Fills BlendTable unless it was filled before.
void BuildBlendTable();
bool IsBlendTableBuilt();

// Channel by channel through BlendTable; level 0 gives the first pixel,
// 31 the second (the 565 green keeps only its top five bits). The low byte
// of the level is used, and a level above 31 counts as 31.
uint16_t BlendPixel565(uint16_t first, uint16_t second, int32_t level);
uint16_t BlendPixel555(uint16_t first, uint16_t second, int32_t level);

// [shade level 0..31][channel value].
extern uint8_t ShadeTableRed[32][32];
extern uint8_t ShadeTableGreen[32][64];  // 64 values only for kind 2 (565)
extern uint8_t ShadeTableBlue[32][32];   // never 0: row 0 and row 1 are all 1
// Low bits dropped from an 8-bit green to index ShadeTableGreen: 2 for
// kind 2, else 3.
extern int32_t gGreenShift;
// The pixel of the display's layout holding only that channel at value j.
extern uint16_t RedPixel[32];
extern uint16_t GreenPixel[64];
extern uint8_t BluePixel[32];

// The shade and per-channel pixel tables for a pixel kind (the light map is
// the pipeline's part, see BuildShadeTables in PixelPipeline.h).
void FillShadeTables(int32_t kind);

}  // namespace tova
