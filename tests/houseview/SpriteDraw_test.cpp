#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gamedata/GlobalContext.h"
#include "houseview/BlendTables.h"
#include "houseview/CacheSpriteDraw.h"
#include "houseview/LightingSettings.h"
#include "houseview/SpriteCache.h"
#include "houseview/SpriteDrawInfo.h"
#include "houseview/SpriteTarget.h"
#include "houseview/ZBufferLookup.h"
#include "resfile/MemResFile.h"
#include "resfile/SpriteWriter.h"
#include "resfile/TypeCode.h"
#include "support/GoldenImage.h"
#include "ui/graphics/cGZBuffer.h"

namespace {

using tova::SpritePicture;

// Palette: 0 black, 1 red, 2 green, 3 blue, 4 yellow, 7 white.
const std::vector<uint32_t> kDrawColours = {0, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

SpritePicture DrawBlock(int32_t w, int32_t h, uint8_t index, uint8_t depth, uint8_t alpha = 31) {
  SpritePicture p;
  p.width = w;
  p.height = h;
  p.transparent = 0;
  p.indices.assign(static_cast<size_t>(w * h), index);
  p.depth.assign(static_cast<size_t>(w * h), depth);
  if (alpha != 31) p.alpha.assign(static_cast<size_t>(w * h), alpha);
  return p;
}

// A box with a white border whose depth grows left to right (it leans away).
SpritePicture DrawLeaningBox() {
  SpritePicture p = DrawBlock(24, 24, 3, 0);
  for (int32_t y = 0; y < 24; ++y)
    for (int32_t x = 0; x < 24; ++x) {
      const size_t i = static_cast<size_t>(y * 24 + x);
      if (x == 0 || y == 0 || x == 23 || y == 23) p.indices[i] = 7;
      p.depth[i] = static_cast<uint8_t>(60 + x * 4);
    }
  return p;
}

// A red disc whose rim fades out through the alpha levels.
SpritePicture DrawDisc() {
  SpritePicture p = DrawBlock(20, 20, 1, 100);
  p.alpha.assign(400, 31);
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 20; ++x) {
      const float r = std::hypot(x - 9.5f, y - 9.5f);
      const size_t i = static_cast<size_t>(y * 20 + x);
      if (r >= 10) p.indices[i] = 0;
      else if (r >= 7) p.alpha[i] = static_cast<uint8_t>(31 - (r - 7) * 9);
    }
  return p;
}

// A yellow flag on a white pole: it shows which way it was drawn.
SpritePicture DrawFlag() {
  SpritePicture p = DrawBlock(16, 20, 0, 90);
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 16; ++x) {
      const size_t i = static_cast<size_t>(y * 16 + x);
      if (x < 2) p.indices[i] = 7;
      else if (y < 10 && x < 16 - y) p.indices[i] = 4;
    }
  return p;
}

class SpriteDrawTest : public ::testing::Test {
 protected:
  static constexpr int32_t kW = 128, kH = 80;

  void SetUp() override {
    Store("PALT", 1, tova::WritePaletteResource(kDrawColours));
    Store("SPR2", 10, Sprite2({DrawBlock(4, 3, 1, 100), DrawBlock(4, 3, 2, 100), DrawBlock(4, 3, 3, 100, 16)}));
    Store("SPR2", 11, Sprite2({DrawDisc(), DrawFlag()}));
    std::vector<uint8_t> box;
    std::string error;
    ASSERT_TRUE(tova::WriteSpriteResource(503, 1, {DrawLeaningBox()}, false, box, error)) << error;
    Store("SPR#", 20, box);
    SpritePicture flat = DrawBlock(6, 4, 4, 0);
    flat.depth.clear();
    std::vector<uint8_t> colourOnly;
    ASSERT_TRUE(tova::WriteSpriteResource(502, 1, {flat}, false, colourOnly, error)) << error;
    Store("SPR#", 21, colourOnly);
    // A terrain strip: coverage 0 (nothing), 16 (half) and 31 (whole).
    SpritePicture strip = DrawBlock(3, 1, 3, 0);
    strip.depth = {4, 128, 248};
    Store("SPR2", 30, Sprite2({strip}));
    cache_ = std::make_unique<tova::SpriteCache>(&file_);
    colour_.assign(kW * kH, 0);
    depth_.assign(kW * kH, 0xFFFF);
    tova::SpriteTarget target;
    target.colour = colour_.data();
    target.colourPitch = kW * 2;
    target.depth = depth_.data();
    target.depthPitch = kW * 2;
    target.clip = ShortRect{0, 0, kH, kW};
    tova::SetSpriteTarget(target);
    lookup_.Build(3, 640, 480);
    tova::BuildBlendTable();
    tova::SetSpriteAntialias(true);
  }
  void TearDown() override {
    tova::SetSpriteTarget(tova::SpriteTarget{});
    tova::SetSpriteAntialias(true);
  }

  void Store(const char (&type)[5], int16_t id, const std::vector<uint8_t>& bytes) {
    file_.AddStored(TypeCode(type), id, bytes.data(), static_cast<int32_t>(bytes.size()), "", kResFlagNative);
  }
  static std::vector<uint8_t> Sprite2(const std::vector<SpritePicture>& frames) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(tova::WriteSprite2Resource(1000, 1, frames, bytes, error)) << error;
    return bytes;
  }
  // A draw standing at screen row y on level 1.
  tova::SpriteDrawInfo InfoAt(int32_t y) {
    tova::SpriteDrawInfo info;
    info.zTables = &lookup_;
    info.zoom = 3;
    info.screenY = y;
    lookup_.PlaceSprite(info, 0);
    return info;
  }
  uint16_t Pixel(int32_t x, int32_t y) const { return colour_[static_cast<size_t>(y * kW + x)]; }
  uint16_t Depth(int32_t x, int32_t y) const { return depth_[static_cast<size_t>(y * kW + x)]; }
  static uint16_t Colour(uint32_t rgb) {
    return static_cast<uint16_t>(cGZBuffer::MakeColorFor(cGZBuffer::kFormat565, rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF));
  }
  platform::Image Picture() const {
    platform::Image image;
    image.width = kW * 2;
    image.height = kH * 2;
    image.channels = 3;
    image.pixels.resize(static_cast<size_t>(image.width * image.height * 3));
    for (int32_t y = 0; y < image.height; ++y)
      for (int32_t x = 0; x < image.width; ++x) {
        uint8_t r, g, b;
        cGZBuffer::SplitColorFor(cGZBuffer::kFormat565, Pixel(x / 2, y / 2), r, g, b);
        uint8_t* out = &image.pixels[static_cast<size_t>((y * image.width + x) * 3)];
        out[0] = r;
        out[1] = g;
        out[2] = b;
      }
    return image;
  }

  MemResFile file_;
  std::unique_ptr<tova::SpriteCache> cache_;
  std::vector<uint16_t> colour_, depth_;
  tova::ZBufferLookup lookup_;
};

TEST_F(SpriteDrawTest, EqualDepthDrawsAndNearerStays) {
  tova::SpriteDrawInfo info = InfoAt(10);
  cache_->DrawSprite(10, 0, 5, 10, 0, info, true);
  EXPECT_EQ(Pixel(5, 10), Colour(0xFF0000));
  const uint16_t stored = Depth(5, 10);
  EXPECT_LT(stored, 0xFFFF);
  cache_->DrawSprite(10, 1, 5, 10, 0, info, true);
  EXPECT_EQ(Pixel(5, 10), Colour(0x00FF00)) << "a pixel at the stored depth is drawn";
  // The same sprite standing farther back (higher on the screen) stays hidden.
  tova::SpriteDrawInfo farther = InfoAt(-40);
  cache_->DrawSprite(10, 0, 5, 10, 0, farther, true);
  EXPECT_EQ(Pixel(5, 10), Colour(0x00FF00));
  EXPECT_EQ(Depth(5, 10), stored);
}

TEST_F(SpriteDrawTest, AlphaPixelsBlendWithAntialiasAndAreOpaqueWithout) {
  tova::SpriteDrawInfo info = InfoAt(10);
  cache_->DrawSprite(10, 2, 5, 10, 0, info, true);
  EXPECT_NE(Pixel(5, 10), 0);
  EXPECT_NE(Pixel(5, 10), Colour(0x0000FF)) << "blended half way toward blue";
  EXPECT_EQ(Depth(5, 10), 0xFFFF) << "a blended pixel leaves the depth";
  // A farther sprite drawn later still covers it.
  tova::SpriteDrawInfo farther = InfoAt(-40);
  cache_->DrawSprite(10, 0, 5, 10, 0, farther, true);
  EXPECT_EQ(Pixel(5, 10), Colour(0xFF0000));

  tova::SetSpriteAntialias(false);
  cache_->DrawSprite(10, 2, 20, 10, 0, info, true);
  EXPECT_EQ(Pixel(20, 10), Colour(0x0000FF));
  EXPECT_LT(Depth(20, 10), 0xFFFF);
}

TEST_F(SpriteDrawTest, EdgeTouchingAndMissingFramesDrawNothing) {
  tova::SpriteDrawInfo info = InfoAt(10);
  const DrawnRect right = cache_->DrawSprite(10, 0, kW, 10, 0, info, true);
  EXPECT_EQ(right, (DrawnRect{kW, 10, kW + 4, 13}));
  const DrawnRect above = cache_->DrawSprite(10, 0, 3, -3, 0, info, true);
  EXPECT_EQ(above, (DrawnRect{3, -3, 7, 0}));
  const DrawnRect beyond = cache_->DrawSprite(10, 3, 3, 3, 0, info, true);
  EXPECT_TRUE(beyond.Empty());
  EXPECT_EQ(beyond, DrawnRect{});
  EXPECT_EQ(cache_->DrawSprite(99, 0, 3, 3, 0, info, true), DrawnRect{});
  for (uint16_t p : colour_) ASSERT_EQ(p, 0);
  for (uint16_t d : depth_) ASSERT_EQ(d, 0xFFFF);
}

TEST_F(SpriteDrawTest, MirroredAndClippedDrawsStayInside) {
  tova::SpriteDrawInfo info = InfoAt(30);
  cache_->DrawSprite(11, 1, 10, 30, 0, info, true);
  cache_->DrawSprite(11, 1, 40, 30, tova::SpriteDrawInfo::kDrawMirror, info, true);
  EXPECT_EQ(Pixel(10, 40), Colour(0xFFFFFF)) << "the pole at the left";
  EXPECT_EQ(Pixel(40 + 15, 40), Colour(0xFFFFFF)) << "mirrored, at the right";
  EXPECT_EQ(Pixel(40, 40), 0);
  // Half outside on every side: only what lies inside is written.
  for (int32_t x : {-10, kW - 10})
    for (int32_t y : {-10, kH - 10}) {
      const DrawnRect r = cache_->DrawSprite(11, 0, x, y, 0, info, true);
      EXPECT_EQ(r.right - r.left, 20);
    }
  EXPECT_EQ(Pixel(0, 0), Colour(0xFF0000));
  EXPECT_EQ(Pixel(kW - 1, kH - 1), Colour(0xFF0000));
}

TEST_F(SpriteDrawTest, ColourOnlySpritesUseTheBlitters) {
  tova::SpriteDrawInfo info = InfoAt(10);
  cache_->DrawSprite(21, 0, 2, 2, 0, info, false);
  EXPECT_EQ(Pixel(2, 2), Colour(0xFFFF00));
  EXPECT_EQ(Depth(2, 2), 0xFFFF);
  cache_->DrawSprite(21, 0, 20, 2, 0, info, true);
  EXPECT_EQ(Pixel(20, 2), Colour(0xFFFF00));
  EXPECT_EQ(Depth(20, 2), tova::ZLookupBase(info, 2));
  // Flag bit 2 draws unshaded and leaves the caller's flag as it was.
  info.flags = 0;
  cache_->DrawSprite(21, 0, 40, 2, tova::SpriteDrawInfo::kDrawNoShade, info, false);
  EXPECT_EQ(info.flags, 0);
}

TEST_F(SpriteDrawTest, OverlappingSpritesInDepth) {
  tova::SpriteDrawInfo info = InfoAt(20);
  cache_->DrawSprite(20, 0, 6, 12, 0, info, true);
  cache_->DrawSprite(11, 0, 8, 14, 0, info, true);
  tova::SetSpriteAntialias(false);
  cache_->DrawSprite(20, 0, 46, 12, 0, info, true);
  cache_->DrawSprite(11, 0, 48, 14, 0, info, true);
  tova::SetSpriteAntialias(true);
  cache_->DrawSprite(11, 1, 90, 4, 0, info, true);
  cache_->DrawSprite(11, 1, 108, 4, tova::SpriteDrawInfo::kDrawMirror, info, true);
  cache_->DrawSprite(11, 0, -8, 60, 0, info, true);
  cache_->DrawSprite(20, 0, 112, 62, 0, info, true);
  // The box leans away: its left half hides the disc, the disc its right half.
  EXPECT_EQ(Pixel(8, 24), Colour(0x0000FF));
  EXPECT_EQ(Pixel(24, 24), Colour(0xFF0000));
  EXPECT_TRUE(tova_test::MatchesGolden(Picture(), "houseview/golden/sprite_depth_compose.png"));
}

TEST_F(SpriteDrawTest, TerrainSpritesStoreTheirRowDepthByCoverage) {
  tova::SpriteDrawInfo info = InfoAt(10);
  depth_[static_cast<size_t>(5 * kW + 7)] = 0;  // nearer things do not stop a terrain pixel
  const DrawnRect r = cache_->DrawSpriteOnTerrain(30, 0, 5, 5, 0, info);
  EXPECT_EQ(r, (DrawnRect{5, 5, 8, 6}));
  EXPECT_EQ(Pixel(5, 5), 0);
  EXPECT_EQ(Depth(5, 5), 0xFFFF);
  EXPECT_NE(Pixel(6, 5), 0);
  EXPECT_NE(Pixel(6, 5), Colour(0x0000FF)) << "half coverage blends";
  EXPECT_EQ(Pixel(7, 5), Colour(0x0000FF));
  EXPECT_EQ(Depth(7, 5), Depth(6, 5));
  EXPECT_EQ(Depth(7, 5), tova::ZLookupBase(info, info.baseRow) + 80);
  tova::SetSpriteAntialias(false);
  cache_->DrawSpriteOnTerrain(30, 0, 5, 7, 0, info);
  EXPECT_EQ(Pixel(6, 7), Colour(0x0000FF));
  EXPECT_TRUE(cache_->DrawSpriteOnTerrain(10, 7, 5, 7, 0, info).Empty());
}

TEST(ZBufferLookupTest, StoreysLevelsAndHeights) {
  EXPECT_EQ(tova::ZBufferLookup::GetStoreyHeight(1), 58);
  EXPECT_EQ(tova::ZBufferLookup::GetStoreyHeight(2), 116);
  EXPECT_EQ(tova::ZBufferLookup::GetStoreyHeight(3), 232);
  EXPECT_NEAR(tova::ZBufferLookup::DepthCentre(), 347.23f, 0.01f);
  tova::ZBufferLookup lookup;
  for (int32_t zoom = 1; zoom <= 3; ++zoom) {
    lookup.Build(zoom, 640, 480);
    const tova::ZTableSet& set = lookup.GetSet(zoom);
    EXPECT_EQ(set.heightDepths.size(), static_cast<size_t>(2 * (404 >> (3 - zoom))));
    EXPECT_LT(set.levelDepthStep, 0) << "upper levels are nearer";
    // A sprite on level 2 one storey up the screen stands on the same ground
    // row and is one level step nearer.
    tova::SpriteDrawInfo one, two;
    one.zTables = two.zTables = &lookup;
    one.zoom = two.zoom = zoom;
    one.screenY = 100;
    two.screenY = 100 - set.storeyHeight;
    two.level = 2;
    lookup.PlaceSprite(one, 0);
    lookup.PlaceSprite(two, 0);
    EXPECT_EQ(tova::ZLookupBase(two, two.baseRow), tova::ZLookupBase(one, one.baseRow) + set.levelDepthStep);
    // Rows farther back are deeper.
    EXPECT_GT(set.RowDepth(0), set.RowDepth(400));
    // Heights far beyond the table, or below the ground, stay inside it.
    EXPECT_EQ(set.HeightDepth(1e9f), set.heightDepths.back());
    EXPECT_EQ(set.HeightDepth(-50), set.heightDepths.front());
    tova::SpriteDrawInfo tall = one;
    lookup.PlaceSprite(tall, 1e6f);
    EXPECT_LT(tall.screenY, one.screenY);
    // Rows outside the table keep depth 0.
    EXPECT_EQ(set.RowDepth(set.rowFirst - 1), 0);
  }
  const int16_t* table = tova::ZBufferLookup::GetSpriteDepthTable();
  EXPECT_LT(table[0], 0);
  EXPECT_GT(table[254], table[0]);
  EXPECT_EQ(tova::ZTableSetOfZoom(3), 0);
  EXPECT_EQ(tova::ZTableSetOfZoom(1), 2);
}

uint32_t gMotionClock = 0;
uint32_t MotionClock() { return gMotionClock; }

TEST(ViewMotionTest, BySpeedEndsAfterTheSpeedsMilliseconds) {
  tova::ViewMotion motion(MotionClock);
  gMotionClock = 1000;
  motion.SetSpeed(250);
  motion.Start(0, 500, 0, -120, true);
  gMotionClock = 1125;
  EXPECT_EQ(motion.CurrentX(), 250);
  EXPECT_TRUE(motion.IsActive());
  gMotionClock = 1250;
  EXPECT_EQ(motion.CurrentX(), 500);
  EXPECT_EQ(motion.CurrentY(), -120);
  EXPECT_FALSE(motion.IsActive());
  motion.Start(0, 7, 0, 9, false);
  EXPECT_EQ(motion.CurrentX(), 7);
  EXPECT_EQ(motion.TargetY(), 9);
}

}  // namespace

namespace {

TEST_F(SpriteDrawTest, ObjectsDrawThroughTheCacheIntoTheirPicture) {
  tova::CacheSpriteDraw sprites(*cache_);
  EXPECT_EQ(sprites.FrameCount(11), 2);
  EXPECT_EQ(sprites.FrameCount(99), 0);
  int32_t w = 0, h = 0, ox = 0, oy = 0;
  ASSERT_TRUE(sprites.FrameInfo(20, 0, w, h, ox, oy));
  EXPECT_EQ(w, 24);
  EXPECT_EQ(h, 24);
  EXPECT_FALSE(sprites.FrameInfo(11, 5, w, h, ox, oy));

  std::vector<uint16_t> pixels(64 * 48, 0), depth(64 * 48, 0xFFFF);
  DrawingContext context;
  context.zoom = 3;
  context.picture = PixelTarget{pixels.data(), depth.data(), 64, 48, 64, true};
  const DrawnRect box = sprites.DrawFrame(20, 0, 4, 6, context);
  EXPECT_EQ(box, (DrawnRect{4, 6, 28, 30}));
  const DrawnRect disc = sprites.DrawFrame(11, 0, 14, 12, context);
  EXPECT_EQ(disc, (DrawnRect{14, 12, 34, 32}));
  sprites.DrawFrame(11, 1, 40, 10, context);
  EXPECT_EQ(pixels[static_cast<size_t>(20 * 64 + 4)], Colour(0xFFFFFF)) << "the box's border";
  EXPECT_EQ(pixels[static_cast<size_t>(20 * 64 + 41)], Colour(0xFFFFFF)) << "the flag's pole";
  EXPECT_EQ(colour_[0], 0) << "the view's own target is left alone";
  platform::Image image;
  image.width = 64;
  image.height = 48;
  image.channels = 3;
  for (uint16_t p : pixels) {
    uint8_t r, g, b;
    cGZBuffer::SplitColorFor(cGZBuffer::kFormat565, p, r, g, b);
    image.pixels.insert(image.pixels.end(), {r, g, b});
  }
  EXPECT_TRUE(tova_test::MatchesGolden(image, "houseview/golden/object_sprites.png"));
}

}  // namespace
