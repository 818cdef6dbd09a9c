// The neighbourhood as the global calls and name tokens reach it.
#include <gtest/gtest.h>

#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodConstants.h"
#include "gamedata/NeighborhoodFakes.h"
#include "simulation/NeighbourhoodCalls.h"
#include "support/ScratchDir.h"

namespace {

using namespace tova;

class NeighbourhoodCallsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.Ok());
    NeighborhoodConstants::Instance().Reset();
    path = (dir / "Neighborhood.iff").string();
    hood.SetPath(path.c_str());
    services.AddPerson(0x100, "Ada");
    services.AddPerson(0x200, "Bo");
    ASSERT_EQ(hood.Init(), 0);
    ada = hood.FindNeighborByGUID(0x100);
    bo = hood.FindNeighborByGUID(0x200);
    ASSERT_TRUE(ada && bo);
  }
  tova_test::ScratchDir dir;
  tova_test::FakeNeighborhoodServices services;
  std::string path;
  Neighborhood hood{services};
  NeighbourhoodCalls calls{hood};
  Neighbor* ada = nullptr;
  Neighbor* bo = nullptr;
};

TEST_F(NeighbourhoodCallsTest, NamesFamiliesAndWorth) {
  Family* f = hood.NewFamily();
  ASSERT_NE(f, nullptr);
  f->SetName("Ashworth");
  f->funds = 1234;
  ASSERT_EQ(hood.AddToFamily(*ada, *f), 0);
  EXPECT_TRUE(calls.HasRecord(ada->id));
  EXPECT_FALSE(calls.HasRecord(999));
  EXPECT_EQ(calls.NeighbourName(ada->id), "Ada");
  EXPECT_EQ(calls.FamilyOf(ada->id), f->number);
  EXPECT_EQ(calls.FamilyName(static_cast<int16_t>(f->number)), "Ashworth");
  EXPECT_EQ(calls.FamilyWorth(static_cast<int16_t>(f->number)), hood.GetFamilyWorth(*f));
  EXPECT_EQ(calls.FamilyName(0), std::nullopt);
  EXPECT_EQ(calls.FamilyWorth(77), std::nullopt);
}

TEST_F(NeighbourhoodCallsTest, TutorialStateIsWrittenAtOnce) {
  hood.SetSetting(Neighborhood::kSettingTutorialLot, 5);
  calls.SetTutorialState(1);
  EXPECT_EQ(hood.GetSetting(Neighborhood::kSettingTutorialState), 2);
  EXPECT_EQ(hood.GetSetting(Neighborhood::kSettingTutorialLot), 0);
  Neighborhood again(services);
  again.SetPath(path.c_str());
  ASSERT_EQ(again.Init(), 0);
  EXPECT_EQ(again.GetSetting(Neighborhood::kSettingTutorialState), 2);
}

TEST_F(NeighbourhoodCallsTest, MovesIntoTheLotFamilyAndOut) {
  EXPECT_FALSE(calls.MoveToLotFamily(ada->id)) << "no family lives on the lot";
  Family* home = hood.NewFamily();
  Family* other = hood.NewFamily();
  ASSERT_TRUE(home && other);
  ASSERT_EQ(hood.MoveFamilyToLot(*home, 3), 0);
  hood.SetCurrentHouseNumber(3);
  ASSERT_EQ(hood.AddToFamily(*ada, *other), 0);
  EXPECT_TRUE(calls.MoveToLotFamily(ada->id));
  EXPECT_TRUE(home->HasMember(0x100));
  EXPECT_FALSE(other->HasMember(0x100)) << "out of its old family first";
  EXPECT_TRUE(calls.RemoveFromFamily(ada->id));
  EXPECT_FALSE(home->HasMember(0x100));
  EXPECT_FALSE(calls.MoveToLotFamily(999));
  EXPECT_FALSE(calls.RemoveFromFamily(999));
}

}  // namespace
