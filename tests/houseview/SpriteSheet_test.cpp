#include "houseview/SpriteSheet.h"

#include <gtest/gtest.h>

#include "gamedata/GlobalContext.h"
#include "houseview/PalWrap.h"
#include "houseview/SpriteCache.h"
#include "support/CompileContent.h"
#include "support/GoldenImage.h"

namespace {

TEST(SpriteSheet, TheStarterSpriteFileDrawsEverySprite) {
  tova_test::ScratchDir dir;
  const std::string root = (dir / "data").string();
  const std::string sources = std::string(TOVA_SOURCE_DIR) + "/content/Sprites/";
  const auto built = tova_test::CompileContent({"--out", root, sources + "sprites.sprite", sources + "chair.sprite"});
  ASSERT_EQ(built.code, 0) << built.err;
  tova::GlobalContext context;
  tova::GlobalContext* previous = tova::gGlobalContext;
  tova::gGlobalContext = &context;
  tova::PalWrap* palette = tova::LoadDefaultPalette(root + "/GameData/GlobalCLUT.pal");
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->RefCount(), 1);
  EXPECT_EQ(tova::LoadDefaultPalette(root + "/GameData/none.pal"), nullptr);
  context.palette = palette;
  {
    tova::SpriteCache cache(root + "/GameData/sprites");
    ASSERT_TRUE(cache.IsOpen());
    const std::vector<int32_t> ids = tova::ListSpriteIds(cache);
    EXPECT_EQ(ids, (std::vector<int32_t>{10, 11, 12, 20, 21}));
    EXPECT_EQ(cache.Find(10)->GetPalette(), palette);
    EXPECT_EQ(cache.Find(12)->GetVersion(), 506);
    EXPECT_NE(cache.Find(12)->GetFrame(tova::SpriteCacheEntry::kAlpha, 0), nullptr);
    for (int32_t id : ids) EXPECT_TRUE(cache.Find(id)->GetDropped().empty()) << id;
    EXPECT_TRUE(tova_test::MatchesGolden(tova::DrawSpriteSheet(cache, ids), "houseview/golden/starter_sprites.png"));
    tova::SpriteCache chair(root + "/GameData/Objects/Chair");
    ASSERT_NE(chair.Find(100), nullptr);
    EXPECT_EQ(chair.GetFrameCount(100), 1);
    EXPECT_NE(chair.Find(100)->GetPalette(), nullptr);
  }
  context.palette = nullptr;
  tova::PalWrap::Release(palette);
  tova::gGlobalContext = previous;
}

}  // namespace
