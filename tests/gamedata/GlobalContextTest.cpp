// The game context record: its starting values, and the language the rest
// of the game reads through the one global pointer.
#include <gtest/gtest.h>

#include "gamedata/GlobalContext.h"

namespace {

using namespace tova;

TEST(GlobalContext, StartsEmptyAtTheSaveVersionAndLanguageOne) {
  GlobalContext context;
  EXPECT_EQ(context.saveVersion, 62);
  EXPECT_EQ(context.language, 1);
  EXPECT_EQ(context.house, nullptr);
  EXPECT_EQ(context.simulator, nullptr);
  EXPECT_EQ(context.pixelLayout, 0);
  EXPECT_EQ(context.processorClass, 0);
}

TEST(GlobalContext, TheLanguageComesThroughTheGlobalPointer) {
  ASSERT_EQ(gGlobalContext, nullptr);
  EXPECT_EQ(CurrentLanguage(), 1) << "no context yet";
  GlobalContext context;
  context.language = 7;
  gGlobalContext = &context;
  EXPECT_EQ(CurrentLanguage(), 7);
  gGlobalContext = nullptr;
}

}  // namespace
