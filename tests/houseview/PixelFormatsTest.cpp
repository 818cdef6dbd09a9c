// Pixel kinds, the colour converters, the blend table and the shade and
// per-channel pixel tables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "houseview/BlendTables.h"
#include "houseview/PixelFormats.h"

namespace {

using namespace tova;

class PixelTables : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { BuildBlendTable(); }
};

TEST(PixelFormats, ConvertersKeepTheTopBitsOfEachChannel) {
  struct Case {
    int32_t kind;
    uint32_t rgb;
    uint16_t pixel;
    uint32_t back;
  };
  const Case cases[] = {
      {kPixelLayout655, 0x00FFFFFF, 0xFFFF, 0x00FCF8F8}, {kPixelLayout655, 0x00FF0000, 0xFC00, 0x00FC0000},
      {kPixelLayout655, 0x0000FF00, 0x03E0, 0x0000F800}, {kPixelLayout556, 0x0000FF00, 0x07C0, 0x0000F800},
      {kPixelLayout556, 0x000000FF, 0x003F, 0x000000FC}, {kPixelLayout565, 0x0000FF00, 0x07E0, 0x0000FC00},
      {kPixelLayout565, 0x00FFFFFF, 0xFFFF, 0x00F8FCF8}, {kPixelLayout555, 0x00FFFFFF, 0x7FFF, 0x00F8F8F8},
      {kPixelLayout555, 0x00123456, 0x08CA, 0x00103050},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConvertRGBToDisplay(c.rgb, c.kind), c.pixel) << "kind " << c.kind << " rgb " << std::hex << c.rgb;
    EXPECT_EQ(ConvertDisplayToRGB(c.pixel, c.kind), c.back) << "kind " << c.kind << " pixel " << std::hex << c.pixel;
  }
  EXPECT_EQ(Convert556To888(0x07C0), 0x0000F800u);
  EXPECT_EQ(Convert655To888(0xFFFF), 0x00FCF8F8u);
}

TEST(PixelFormats, KindZeroConvertsAs555) {
  for (uint32_t rgb : {0x00FFFFFFu, 0x00804020u, 0x000000FFu}) {
    EXPECT_EQ(ConvertRGBToDisplay(rgb, kPixelLayoutNone), ConvertRGBTo555(rgb));
    EXPECT_EQ(ConvertDisplayToRGB(ConvertRGBTo555(rgb), kPixelLayoutNone),
              ConvertDisplayToRGB(ConvertRGBTo555(rgb), kPixelLayout555));
  }
}

TEST_F(PixelTables, BlendCases) {
  EXPECT_EQ(BlendPixel565(0x0000, 0xFFFF, 31), 0xFFDF);
  EXPECT_EQ(BlendPixel565(0xFFFF, 0x0000, 31), 0x0000);
  EXPECT_EQ(BlendPixel555(0x0000, 0x7FFF, 31), 0x7FFF);
  // Only the low byte of the level counts; above 31 it is the second pixel.
  EXPECT_EQ(BlendPixel565(0x0000, 0xFFFF, 0x100 + 31), 0xFFDF);
  EXPECT_EQ(BlendPixel565(0x0000, 0xFFFF, 0x100), 0x0000);
  EXPECT_EQ(BlendPixel555(0x0000, 0x7FFF, 200), 0x7FFF);
}

TEST_F(PixelTables, LevelZeroGivesTheFirstPixel) {
  for (uint32_t first = 0; first < 0x10000; first += 97) {
    const uint16_t second = static_cast<uint16_t>(first * 7919u);
    EXPECT_EQ(BlendPixel565(static_cast<uint16_t>(first), second, 0), first & ~0x0020u) << std::hex << first;
    EXPECT_EQ(BlendPixel555(static_cast<uint16_t>(first & 0x7FFF), second & 0x7FFF, 0), first & 0x7FFF)
        << std::hex << first;
  }
}

// The same mean of sub-samples in double precision, written apart from the
// table's code.
int ReferenceBlend(int j, int k, int l) {
  double sum = 0;
  for (int m = 0; m < 8; ++m)
    for (int a = 0; a < 8; ++a)
      for (int b = 0; b < 8; ++b) {
        const double c = 8 * j + m, d = 8 * k + a, v = 8 * l + b;
        sum += std::floor(c + (d - c) * v / 255.0 + 0.5);
      }
  return static_cast<int>(std::floor(sum / 512.0 + 0.5)) >> 3;
}

TEST_F(PixelTables, BlendTableAgreesWithADoublePrecisionMean) {
  ASSERT_TRUE(IsBlendTableBuilt());
  for (int j : {0, 1, 15, 16, 30, 31})
    for (int k : {0, 1, 15, 16, 30, 31})
      for (int l : {0, 1, 15, 16, 30, 31})
        EXPECT_EQ(BlendTable[j * 1024 + k * 32 + l], ReferenceBlend(j, k, l)) << j << " " << k << " " << l;
}

TEST_F(PixelTables, ShadeRowsFor555) {
  FillShadeTables(kPixelLayout555);
  EXPECT_EQ(gGreenShift, 3);
  for (int c = 0; c < 32; ++c) {
    EXPECT_EQ(ShadeTableRed[0][c], 0);
    EXPECT_EQ(ShadeTableRed[1][c], c >= 16 ? 1 : 0) << c;
    EXPECT_EQ(ShadeTableRed[31][c], c);
    EXPECT_EQ(ShadeTableGreen[1][c], ShadeTableRed[1][c]);
    EXPECT_EQ(ShadeTableGreen[31][c], c);
    EXPECT_EQ(ShadeTableBlue[0][c], 1);
    EXPECT_EQ(ShadeTableBlue[1][c], 1);
    EXPECT_EQ(ShadeTableBlue[31][c], static_cast<int>(30.0 * c / 31 + 0.5) + 1) << c;
  }
  EXPECT_EQ(RedPixel[31], 0x7C00);
  EXPECT_EQ(GreenPixel[31], 0x03E0);
  EXPECT_EQ(BluePixel[31], 0x1F);
  EXPECT_EQ(RedPixel[1] | GreenPixel[1] | BluePixel[1], 0x0421);
}

TEST_F(PixelTables, ShadeRowsFor565) {
  FillShadeTables(kPixelLayout565);
  EXPECT_EQ(gGreenShift, 2);
  for (int c = 0; c < 64; ++c) {
    EXPECT_EQ(ShadeTableGreen[0][c], 0);
    EXPECT_EQ(ShadeTableGreen[1][c], c >= 48 ? 2 : c >= 16 ? 1 : 0) << c;
    EXPECT_EQ(ShadeTableGreen[31][c], static_cast<int>(62.0 * c / 63 + 0.5)) << c;
  }
  EXPECT_EQ(ShadeTableGreen[31][63], 62);
  EXPECT_EQ(ShadeTableRed[31][31], 31);
  EXPECT_EQ(ShadeTableBlue[31][0], 1);
  EXPECT_EQ(RedPixel[31], 0xF800);
  EXPECT_EQ(GreenPixel[63], 0x07E0);
  EXPECT_EQ(BluePixel[31], 0x1F);
}

TEST_F(PixelTables, KindZeroFillsItsChannelTablesAs565) {
  FillShadeTables(kPixelLayoutNone);
  EXPECT_EQ(gGreenShift, 3);
  EXPECT_EQ(RedPixel[31], 0xF800);
  EXPECT_EQ(GreenPixel[31], 31 << 5);
  FillShadeTables(kPixelLayout565);
}

}  // namespace
