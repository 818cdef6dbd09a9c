#include "houseview/BlendTables.h"

#include <algorithm>

#include "houseview/PixelFormats.h"

namespace tova {

uint8_t BlendTable[kBlendTableSize];
uint8_t ShadeTableRed[32][32];
uint8_t ShadeTableGreen[32][64];
uint8_t ShadeTableBlue[32][32];
int32_t gGreenShift = 3;
uint16_t RedPixel[32];
uint16_t GreenPixel[64];
uint8_t BluePixel[32];

namespace {

bool gBlendTableBuilt = false;

// The single-precision constants the table was always made with.
constexpr float kBlendInv255 = 0.003921569f;
constexpr float kBlendInv512 = 0.001953125f;

uint8_t BlendEntry(int32_t first, int32_t second, int32_t level) {
  // The mean of 8 x 8 x 8 sub-samples over the 8-bit values that each 5-bit
  // index stands for.
  float sum = 0.0f;
  for (int32_t m = 0; m < 8; ++m) {
    const int32_t c = 8 * first + m;
    for (int32_t a = 0; a < 8; ++a) {
      const int32_t d = 8 * second + a;
      for (int32_t b = 0; b < 8; ++b) {
        const int32_t v = 8 * level + b;
        const float sample = static_cast<float>(c) + static_cast<float>(d - c) * static_cast<float>(v) * kBlendInv255 + 0.5f;
        sum += static_cast<float>(static_cast<uint8_t>(static_cast<int32_t>(sample)));
      }
    }
  }
  return static_cast<uint8_t>(static_cast<int32_t>(sum * kBlendInv512 + 0.5f) >> 3);
}

int32_t BlendLevelIndex(int32_t level) { return std::min(level & 0xFF, 31); }

}  // namespace

void BuildBlendTable() {
  if (gBlendTableBuilt) return;
  for (int32_t j = 0; j < 32; ++j)
    for (int32_t k = 0; k < 32; ++k)
      for (int32_t l = 0; l < 32; ++l) BlendTable[j * 1024 + k * 32 + l] = BlendEntry(j, k, l);
  gBlendTableBuilt = true;
}

bool IsBlendTableBuilt() { return gBlendTableBuilt; }

uint16_t BlendPixel565(uint16_t first, uint16_t second, int32_t level) {
  const int32_t l = BlendLevelIndex(level);
  auto blend = [l](int32_t a, int32_t b) { return static_cast<uint16_t>(BlendTable[a * 1024 + b * 32 + l]); };
  const uint16_t red = blend((first >> 11) & 31, (second >> 11) & 31);
  const uint16_t green = blend((first >> 6) & 31, (second >> 6) & 31);
  const uint16_t blue = blend(first & 31, second & 31);
  return static_cast<uint16_t>(red << 11 | green << 6 | blue);
}

uint16_t BlendPixel555(uint16_t first, uint16_t second, int32_t level) {
  const int32_t l = BlendLevelIndex(level);
  auto blend = [l](int32_t a, int32_t b) { return static_cast<uint16_t>(BlendTable[a * 1024 + b * 32 + l]); };
  const uint16_t red = blend((first >> 10) & 31, (second >> 10) & 31);
  const uint16_t green = blend((first >> 5) & 31, (second >> 5) & 31);
  const uint16_t blue = blend(first & 31, second & 31);
  return static_cast<uint16_t>(red << 10 | green << 5 | blue);
}

void FillShadeTables(int32_t kind) {
  const bool sixBitGreen = kind == kPixelLayout565;
  gGreenShift = sixBitGreen ? 2 : 3;
  // Rounding is truncation after adding one half, done here in integers:
  // none of the quotients ever lies exactly half way.
  for (int32_t s = 0; s < 32; ++s) {
    for (int32_t c = 0; c < 32; ++c) {
      ShadeTableRed[s][c] = static_cast<uint8_t>((2 * s * c + 31) / 62);
      ShadeTableGreen[s][c] = static_cast<uint8_t>((2 * s * c + 31) / 62);
      const int32_t t = std::max(s, 1) - 1;
      ShadeTableBlue[s][c] = static_cast<uint8_t>((2 * t * c + 93) / 62);
    }
    for (int32_t c = 32; c < 64; ++c) ShadeTableGreen[s][c] = 0;
    if (sixBitGreen) {
      for (int32_t c = 0; c < 64; ++c) ShadeTableGreen[s][c] = static_cast<uint8_t>((4 * s * c + 63) / 126);
    }
  }
  // Kind 1 is 555; every other kind fills its channel tables as 565.
  const bool layout555 = kind == kPixelLayout555;
  auto pack = [layout555](uint32_t rgb) { return layout555 ? ConvertRGBTo555(rgb) : ConvertRGBTo565(rgb); };
  for (uint32_t j = 0; j < 32; ++j) {
    RedPixel[j] = pack(j << 19);
    BluePixel[j] = static_cast<uint8_t>(pack(j << 3));
  }
  for (uint32_t j = 0; j < 64; ++j) {
    if (layout555) {
      GreenPixel[j] = j < 32 ? pack(j << 3 << 8) : 0;
    } else {
      GreenPixel[j] = pack(j << 2 << 8);
    }
  }
}

}  // namespace tova
