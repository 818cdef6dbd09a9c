#include "gamedata/BalloonIconGroup.h"

#include <gtest/gtest.h>

#include "CatalogFixture.h"
#include "resfile/IFFResFile2.h"
#include "support/TempFolder.h"

using tova::BalloonIconGroup;

TEST(BalloonIconGroup, IconIds) {
  const struct {
    int32_t group, index, icon;
  } cases[] = {{3, 4, 204}, {0, 15, 401}, {0, 0, 200}, {0, 18, 404}, {0, 19, 0}, {0, -1, 0},
               {1, 2, 102}, {9, 1, 801},  {7, 0, 0},   {7, 5, 0},   {12, 0, 0}, {-1, 3, 0}};
  for (const auto& c : cases) {
    BalloonIconGroup g(c.group, nullptr);
    EXPECT_EQ(g.GetIconId(c.index), c.icon) << c.group << "/" << c.index;
  }
  BalloonIconGroup one(1, nullptr);
  EXPECT_EQ(one.GetStandardIcon(0), 100);
  EXPECT_EQ(one.GetStandardIcon(2), 102);
  EXPECT_EQ(one.GetStandardIcon(3), 0);
  EXPECT_EQ(BalloonIconGroup(2, nullptr).GetStandardIcon(0), 0);
}

TEST(BalloonIconGroup, NamesFromTheBehaviourFile) {
  tova_test::TempFolder dir;
  const std::string path = dir / "behavior.iff";
  tova_test::WriteIff(path, {}, {{500, {"Moods", "Needs", "", "Wants"}}, {502, {"Hungry", "", "Tired"}}});
  IFFResFile2 file;
  ASSERT_EQ(file.Open(path), 0);
  BalloonIconGroup needs(1, &file);
  EXPECT_EQ(needs.GetGroupName(), "Needs");
  BalloonIconGroup three(3, &file);
  EXPECT_EQ(three.GetGroupName(), "Wants");
  EXPECT_EQ(three.GetIconName(0), "Hungry");
  EXPECT_EQ(three.GetIconName(1), "Icon 1") << "an empty entry";
  EXPECT_EQ(three.GetIconName(2), "Tired");
  EXPECT_EQ(three.GetIconName(40), "Icon 40");
  EXPECT_EQ(BalloonIconGroup(2, &file).GetGroupName(), "Group 2") << "an empty entry";
  EXPECT_EQ(BalloonIconGroup(12, &file).GetGroupName(), "Group 12");
  EXPECT_EQ(BalloonIconGroup(12, nullptr).GetIconName(3), "Icon 3");
  EXPECT_EQ(BalloonIconGroup(5, &file).GetIconName(0), "Icon 0") << "its table is missing";
}
