#include "houseview/FloorShadowMgr.h"

#include <gtest/gtest.h>

#include <memory>

#include "houseview/SpriteCache.h"
#include "houseview/SpriteSheet.h"
#include "support/CompileContent.h"
#include "support/GoldenImage.h"

namespace {

using tova::FloorShadowMgr;
using tova::MaskImage;
using tova::ShadowMaskTable;

// A diamond of w x h: 0 inside, 255 outside.
MaskImage ShadowDiamond(int32_t w, int32_t h) {
  MaskImage base;
  base.width = w;
  base.height = h;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const float u = std::abs((x + 0.5f) - w / 2.0f) / (w / 2.0f), v = std::abs((y + 0.5f) - h / 2.0f) / (h / 2.0f);
      base.pixels.push_back(u + v <= 1.0f ? 0 : 255);
    }
  return base;
}

class FloorShadowTest : public ::testing::Test {
 protected:
  void SetUp() override { ShadowMaskTable::Init(); }
};

TEST_F(FloorShadowTest, EdgeCodesAndValidity) {
  EXPECT_EQ(ShadowMaskTable::EdgeCode(0xFF, 0), 7);
  EXPECT_EQ(ShadowMaskTable::EdgeCode(0x01, 0), 1);
  EXPECT_EQ(ShadowMaskTable::EdgeCode(0x80 | 0x01, 0), 3);
  EXPECT_EQ(ShadowMaskTable::EdgeCode(0x20 | 0x04, 2), 5);
  FloorShadowMgr manager(nullptr, 1);
  // A corner without its edges makes codes 2, 4 or 6: never drawn.
  for (uint8_t mask : {0x10, 0x80, 0x40, 0x10 | 0x01})
    EXPECT_EQ(ShadowMaskTable::Get(0, mask), 0) << int{mask};
  for (uint8_t mask : {0x00, 0x01, 0x0F, 0xFF, 0x01 | 0x02 | 0x10})
    EXPECT_EQ(ShadowMaskTable::Get(0, mask), 1) << int{mask};
  // Edge 0 shaded along its whole length while edge 1 fades at their shared
  // corner: the profiles do not meet there.
  const FloorShadowMgr::Profile split[4] = {FloorShadowMgr::GetProfile(7), FloorShadowMgr::GetProfile(1),
                                            FloorShadowMgr::GetProfile(0), FloorShadowMgr::GetProfile(0)};
  EXPECT_FALSE(FloorShadowMgr::EdgesMeet(split));
}

TEST_F(FloorShadowTest, RotationRowsTurnEveryMaskButSixteen) {
  for (int r = 1; r <= 3; ++r) {
    EXPECT_EQ(ShadowMaskTable::Get(r, 16), 16);
    EXPECT_EQ(ShadowMaskTable::Get(r, 0x01), 1 << r);
    EXPECT_EQ(ShadowMaskTable::Get(r, 0xFF), 0xFF);
  }
  EXPECT_EQ(ShadowMaskTable::Get(1, 0x80), 0x10);
  for (int mask = 0; mask < 256; ++mask)
    if (mask != 16)
      EXPECT_EQ(ShadowMaskTable::RotateSides(ShadowMaskTable::Get(3, static_cast<uint8_t>(mask)), 1), mask);
}

TEST_F(FloorShadowTest, FullAndEmptyProfilesGiveZerosAndTwoFiftyFives) {
  for (int32_t width : {32, 31}) {
    FloorShadowMgr manager(nullptr, 1);
    manager.SetBase(ShadowDiamond(width, 16));
    const MaskImage full = manager.MakeImage(0xFF);
    const MaskImage none = manager.MakeImage(0x00);
    ASSERT_EQ(full.width, width);
    const MaskImage base = ShadowDiamond(width, 16);
    for (size_t i = 0; i < base.pixels.size(); ++i) {
      ASSERT_EQ(full.pixels[i], base.pixels[i] == 255 ? 255 : 0) << i;
      ASSERT_EQ(none.pixels[i], 255) << i;
    }
  }
}

TEST_F(FloorShadowTest, AnOddWidthIsCentredAsTheNextEvenOne) {
  FloorShadowMgr odd(nullptr, 1), even(nullptr, 1);
  odd.SetBase(ShadowDiamond(31, 16));
  MaskImage wide = ShadowDiamond(32, 16);
  even.SetBase(wide);
  const MaskImage a = odd.MakeImage(0x01);
  const MaskImage b = even.MakeImage(0x01);
  // The same u, v at the same column: the odd image is the even one less its last column.
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 31; ++x) {
      const uint8_t p = a.pixels[static_cast<size_t>(y) * 31 + x];
      if (p != 255 && b.pixels[static_cast<size_t>(y) * 32 + x] != 255)
        ASSERT_EQ(p, b.pixels[static_cast<size_t>(y) * 32 + x]) << x << "," << y;
    }
}

TEST_F(FloorShadowTest, GetMakesOnceAndRefusesInvalidMasks) {
  FloorShadowMgr manager(nullptr, 2);
  manager.SetBase(ShadowDiamond(64, 32));
  EXPECT_EQ(manager.Get(0x80, 0), nullptr);
  const MaskImage* first = manager.Get(0x01, 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(manager.Get(0x02, 3), first);  // edge 1 turned three steps is edge 0
  EXPECT_EQ(manager.CountCached(), 1);
  MaskImage stored;
  stored.width = 1;
  stored.pixels = {42};
  manager.Insert(16, stored);
  for (int r = 0; r < 4; ++r) EXPECT_EQ(manager.Get(16, r)->pixels[0], 42) << r;
}

TEST_F(FloorShadowTest, StarterFloorsMakeTheShadowSheets) {
  tova_test::ScratchDir dir;
  const std::string root = (dir / "data").string();
  const auto built = tova_test::CompileContent(
      {"--out", root, std::string(TOVA_SOURCE_DIR) + "/content/Sprites/floors.sprite"});
  ASSERT_EQ(built.code, 0) << built.err;
  tova::SpriteCache floors(root + "/GameData/floors");
  ASSERT_TRUE(floors.IsOpen());
  std::unique_ptr<FloorShadowMgr> managers[3];
  floors.BuildFloorShadows(managers);
  const int32_t widths[3] = {32, 64, 128};
  for (int32_t zoom = 1; zoom <= 3; ++zoom) {
    FloorShadowMgr& m = *managers[3 - zoom];
    EXPECT_EQ(m.GetZoom(), zoom);
    EXPECT_EQ(m.GetBaseWidth(), widths[zoom - 1]);
    ASSERT_NE(m.Get(0, 0), nullptr);
    ASSERT_NE(m.Get(16, 2), nullptr);
    EXPECT_LT(m.Get(0, 0)->pixels[static_cast<size_t>(m.GetBaseHeight() / 2) * m.GetBaseWidth() +
                                  m.GetBaseWidth() / 2],
              64)
        << "the shadow's middle is dark";
  }
  // The diamond's transparent index is 255 in the cached frame from now on.
  EXPECT_EQ(floors.Find(512)->GetFrame(0, 0)[10], 255);
  for (int32_t zoom : {1, 3}) {
    int32_t count = 0;
    const platform::Image sheet = tova::DrawShadowSheet(*managers[3 - zoom], count);
    EXPECT_EQ(count, 48);
    EXPECT_TRUE(tova_test::MatchesGolden(sheet, "houseview/golden/shadows_zoom" + std::to_string(zoom) + ".png"));
  }
}

}  // namespace
