#include "houseview/ScaleBuffer16.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/GoldenImage.h"
#include "ui/graphics/cGZBuffer.h"

namespace {

tova::PixelView16 ScaleView(std::vector<uint16_t>& pixels, int32_t w, int32_t h, int32_t key = -1) {
  return tova::PixelView16{pixels.data(), w, h, w, key};
}

TEST(ScaleBuffer16Test, ThreeByThreeToOneAndKeyed) {
  std::vector<uint16_t> grey(9, 0x8410);
  auto one = tova::ScaleBufferUniform(1.0f / 3, ScaleView(grey, 3, 3), nullptr, false, 2);
  ASSERT_TRUE(one.has_value());
  EXPECT_EQ(one->width, 1);
  EXPECT_EQ(one->height, 1);
  EXPECT_EQ(one->pixels[0], 0x8410);
  // Key pixels take no part: only the red centre remains.
  std::vector<uint16_t> keyed(9, 0x07E0);
  keyed[4] = 0xF800;
  auto red = tova::ScaleBufferUniform(1.0f / 3, ScaleView(keyed, 3, 3, 0x07E0), nullptr, true, 2);
  ASSERT_TRUE(red.has_value());
  EXPECT_EQ(red->pixels[0], 0xF800);
  EXPECT_GT(red->weights[0], 0);
  // Nothing to make.
  EXPECT_FALSE(tova::ScaleBuffer(0, 1, ScaleView(grey, 3, 3), nullptr, false, 2).has_value());
  EXPECT_FALSE(tova::ScaleBuffer(1, 1, ScaleView(grey, 3, 3), nullptr, false, 3).has_value());
  const ShortRect empty{1, 1, 1, 1};
  EXPECT_FALSE(tova::ScaleBuffer(1, 1, ScaleView(grey, 3, 3), &empty, false, 2).has_value());
  // A strong reduction of a tiny area reads only inside it.
  auto tiny = tova::ScaleBufferToSize(ScaleView(grey, 3, 3), 1, 1, nullptr, false, 1);
  ASSERT_TRUE(tiny.has_value());
  auto big = tova::ScaleBuffer(0.01f, 0.01f, ScaleView(grey, 3, 3), nullptr, false, 2);
  ASSERT_TRUE(big.has_value());
  EXPECT_EQ(big->pixels[0], 0x8410);
}

TEST(ScaleBuffer16Test, EnlargedPicture) {
  // A 12 x 12 picture: a red square and a blue diagonal on white.
  std::vector<uint16_t> p(144, 0xFFFF);
  for (int32_t y = 0; y < 12; ++y)
    for (int32_t x = 0; x < 12; ++x) {
      if (x >= 2 && x < 6 && y >= 2 && y < 6) p[static_cast<size_t>(y * 12 + x)] = 0xF800;
      if (x == y) p[static_cast<size_t>(y * 12 + x)] = 0x001F;
    }
  auto scaled = tova::ScaleBufferToSize(ScaleView(p, 12, 12), 40, 40, nullptr, false, 2);
  ASSERT_TRUE(scaled.has_value());
  platform::Image image;
  image.width = scaled->width;
  image.height = scaled->height;
  image.channels = 3;
  for (uint16_t px : scaled->pixels) {
    uint8_t r, g, b;
    cGZBuffer::SplitColorFor(cGZBuffer::kFormat565, px, r, g, b);
    image.pixels.insert(image.pixels.end(), {r, g, b});
  }
  EXPECT_TRUE(tova_test::MatchesGolden(image, "houseview/golden/scaled_buffer.png"));
}

}  // namespace
