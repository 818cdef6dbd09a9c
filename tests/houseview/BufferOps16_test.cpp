#include "houseview/BufferOps16.h"

#include <gtest/gtest.h>

#include <vector>

#include "houseview/BlendTables.h"
#include "houseview/SpriteDrawInfo.h"
#include "houseview/SpriteTarget.h"

namespace {

struct OpsPicture {
  std::vector<uint16_t> pixels;
  tova::PixelView16 view;
  OpsPicture(int32_t w, int32_t h, uint16_t fill) : pixels(static_cast<size_t>(w * h), fill) {
    view.pixels = pixels.data();
    view.width = w;
    view.height = h;
    view.pitch = w;
  }
  uint16_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y * view.width + x)]; }
  void Set(int32_t x, int32_t y, uint16_t p) { pixels[static_cast<size_t>(y * view.width + x)] = p; }
};

TEST(BufferOps16Test, DrawBufferWithDepthStopsAtTheClipAndKeepsTheDepth) {
  OpsPicture screen(20, 16, 0), depth(20, 16, 0xFFFF), picture(6, 6, 0x1234);
  picture.view.key = 0x0F0F;
  picture.Set(1, 1, 0x0F0F);
  tova::SpriteTarget target{screen.pixels.data(), 40, depth.pixels.data(), 40, ShortRect{2, 2, 12, 16}};
  tova::SetSpriteTarget(target);
  depth.Set(12, 10, 50);  // something nearer already there
  tova::SpriteDrawInfo info;  // no tables: every row at the offset's depth
  info.depthOffset = 100;
  tova::DrawBufferWithDepth(12, 8, picture.view, info);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 20; ++x) {
      const bool inside = x >= 12 && x < 16 && y >= 8 && y < 12;
      const bool key = (x == 13 && y == 9) || (x == 12 && y == 10);
      EXPECT_EQ(screen.At(x, y), inside && !key ? 0x1234 : 0) << x << "," << y;
    }
  EXPECT_EQ(depth.At(12, 10), 50);
  EXPECT_EQ(depth.At(13, 10), 0xFFFF) << "the depth is not written";
  tova::SetSpriteTarget(tova::SpriteTarget{});
}

TEST(BufferOps16Test, CrossFadeEndsShowTheirSourceAndOtherKindsFallBack) {
  tova::BuildBlendTable();
  OpsPicture out(4, 2, 0), a(4, 2, 0x001F), b(4, 2, 0xF800);
  EXPECT_TRUE(tova::SelectCrossFade(2));
  tova::GetCrossFade()(out.view, ShortRect{0, 0, 2, 4}, a.view, 0, 0, b.view, 0, 0, 7);
  EXPECT_EQ(out.At(3, 1), 0x001F);
  tova::GetCrossFade()(out.view, ShortRect{0, 0, 2, 4}, a.view, 0, 0, b.view, 0, 0, 248);
  EXPECT_EQ(out.At(3, 1), 0xF800);
  tova::GetCrossFade()(out.view, ShortRect{0, 0, 2, 4}, a.view, 0, 0, b.view, 0, 0, 128);
  EXPECT_NE(out.At(0, 0), 0x001F);
  EXPECT_NE(out.At(0, 0), 0xF800);
  EXPECT_FALSE(tova::SelectCrossFade(3));
  EXPECT_NE(tova::GetCrossFade(), nullptr);
  tova::SelectCrossFade(2);
}

TEST(BufferOps16Test, AlphaMaskBias) {
  tova::BuildBlendTable();
  OpsPicture out(3, 1, 0), source(3, 1, 0xFFFF);
  const uint8_t mask[3] = {7, 8, 255};
  tova::BlitWithAlphaMask(out.view, ShortRect{0, 0, 1, 3}, source.view, mask, 3, 0, 0, 0, 2);
  EXPECT_EQ(out.At(0, 0), 0);
  EXPECT_EQ(out.At(1, 0), tova::BlendPixel565(0, 0xFFFF, 1));
  EXPECT_NE(out.At(1, 0), 0);
  EXPECT_EQ(out.At(2, 0), 0xFFFF);
}

TEST(BufferOps16Test, ContentBoundsOfAKeyedRegion) {
  OpsPicture p(10, 8, 7);
  int32_t l, t, r, b;
  EXPECT_FALSE(tova::FindContentBounds(p.view, ShortRect{0, 0, 8, 10}, 7, l, t, r, b));
  p.Set(3, 2, 1);
  p.Set(5, 4, 1);
  ASSERT_TRUE(tova::FindContentBounds(p.view, ShortRect{0, 0, 8, 10}, 7, l, t, r, b));
  EXPECT_EQ(l, 3);
  EXPECT_EQ(t, 2);
  EXPECT_EQ(r, 4);
  EXPECT_EQ(b, 3);
}

}  // namespace
