// The starter objects on a lot: their init trees make them stand on bare
// ground, the table holds things in its two slots, and lotobjects places,
// saves and loads them.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "FakeLot.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXMTObject.h"
#include "StarterContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"
#include "support/StarterGuids.h"

namespace {

using namespace tova;
using tova_test::FakeView;
using tova_test::FakeWorld;
using tova_test::ProgramRun;
using tova_test::RunProgram;
using tova_test::ScratchDir;

using tova_test::kChair;
using tova_test::kTable;
using tova_test::kLamp;
using tova_test::kBench;

class StarterLot : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent(root()));
    folder.Init(root() + "/");
    module.SetLot(&world, &view);
  }
  std::string root() const { return (dir / "data").string(); }
  cXObject* Create(uint32_t guid) {
    const int16_t id = module.CreateObject(folder.FindByGUID(guid));
    EXPECT_NE(id, 0);
    return module.GetObjectById(id);
  }
  static FinePoint At(int x, int y) { return TileLocation::At(x, y, 1).GetCenterPoint(); }

  ScratchDir dir;
  ObjectFolder folder;
  FakeWorld world;
  FakeView view;
  ObjectModule module{&folder};
};

TEST_F(StarterLot, InitTreesLetTheObjectsStandOnBareGround) {
  for (uint32_t guid : {kChair, kTable, kLamp}) {
    cXObject* o = Create(guid);
    EXPECT_EQ(o->GetErrorCode(), 0) << std::hex << guid;
    EXPECT_EQ(o->GetData(kDataPlacement), 0x0103);
    EXPECT_EQ(o->GetData(kDataMovement), 10);
    EXPECT_TRUE(o->CanPlace(At(5, 5), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
  }
}

TEST_F(StarterLot, Containers) {
  cXObject* table = Create(kTable);
  cXObject* lamp = Create(kLamp);
  cXObject* chair = Create(kChair);
  ASSERT_EQ(table->SlotCount(), 2);
  table->Place(At(5, 5), 1, nullptr, 0);
  EXPECT_TRUE(lamp->CanPlace(At(5, 5), 1, table, 0));
  struct Case {
    const char* what;
    cXObject* object;
    int32_t slot;
    int32_t code;
  };
  // The chair accepts only the floor; the lamp the floor and table tops.
  const Case cases[] = {
      {"no such slot", lamp, 2, kPlaceNoSuchSlot},
      {"wrong kind", chair, 0, kPlaceWrongKind},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(c.object->CanPlace(At(5, 5), 1, table, c.slot)) << c.what;
    EXPECT_EQ(cXObject::PlaceFailureCode(), c.code) << c.what;
  }
  lamp->SetData(kDataSize, 3);
  EXPECT_FALSE(lamp->CanPlace(At(5, 5), 1, table, 0));
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceTooBig);
  table->SetData(kDataCapacity, 3);
  lamp->SetData(kDataFlags, kFlagNonBlocking);
  EXPECT_FALSE(lamp->CanPlace(At(5, 5), 1, table, 0));
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceNonBlockingSlot);
  lamp->SetData(kDataFlags, 0);

  lamp->Place(At(5, 5), 1, table, 1);
  EXPECT_EQ(table->GetObjectInSlot(1), lamp);
  EXPECT_EQ(lamp->GetContainer(), table);
  EXPECT_EQ(lamp->GetData(kDataContainer), table->GetId());
  EXPECT_EQ(lamp->GetData(kDataSlotIndex), 1);
  cXObject* second = Create(kLamp);
  EXPECT_FALSE(second->CanPlace(At(5, 5), 1, table, 1));
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceOverlap);
  EXPECT_EQ(cXObject::ObjectInTheWay(), lamp);

  // A chain of containers back to the object itself.
  cXObject* inner = Create(kTable);
  inner->SetData(kDataSlotKinds, 1 | 4);
  inner->Place(At(5, 5), 1, table, 0);
  EXPECT_FALSE(table->CanPlace(At(5, 5), 1, inner, 0));
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceOverlap);

  // Moving the table moves and redraws what it holds.
  lamp->SetRedrawState(0);
  table->Place(At(9, 4), 1, nullptr, 0);
  EXPECT_EQ(lamp->GetPosition(), At(9, 4));
  EXPECT_EQ(inner->GetPosition(), At(9, 4));
  EXPECT_EQ(lamp->GetRedrawState(), 1);
  EXPECT_EQ(table->GetObjectInSlot(1), lamp) << "still in its slot";
  EXPECT_TRUE(module.GridCheck().empty());

  // Deleting the table deletes its contents.
  const int16_t lampId = lamp->GetId(), innerId = inner->GetId();
  module.DeleteObject(table->GetId());
  EXPECT_EQ(module.GetObjectById(lampId), nullptr);
  EXPECT_EQ(module.GetObjectById(innerId), nullptr);
  EXPECT_TRUE(world.objects.empty());
}

TEST_F(StarterLot, SlotHeightsDistancesAndContents) {
  cXObject* table = Create(kTable);
  cXObject* inner = Create(kTable);
  cXObject* lamp = Create(kLamp);
  table->Place(At(5, 5), 1, nullptr, 0);
  inner->SetData(kDataSlotKinds, 1 | 4);
  inner->Place(At(5, 5), 1, table, 0);
  lamp->Place(At(5, 5), 1, inner, 1);
  const float top = table->SlotHeight(0);
  EXPECT_GT(top, 0);
  EXPECT_FLOAT_EQ(inner->SlotHeight(1), 2 * top) << "its own slot on top of the slot that holds it";
  EXPECT_EQ(table->SlotHeight(2), 0) << "no such slot";

  cXObject* chair = Create(kChair);
  chair->Place(At(8, 9), 1, nullptr, 0);
  EXPECT_FLOAT_EQ(table->DistanceTo(*chair), 5.0f);
  chair->SetLevel(2);
  EXPECT_FLOAT_EQ(table->DistanceTo(*chair), std::sqrt(25.0f + 400.0f));

  EXPECT_EQ(table->GetContentsMaxValue(), 1000);
  lamp->SetShowId(true);
  EXPECT_EQ(table->GetContentsMaxValue(), INT_MAX) << "what it holds answers";
}

TEST_F(StarterLot, TheBenchIsAGroupOfTwoParts) {
  cXObject* lead = Create(kBench);
  ASSERT_TRUE(lead->IsGroupPart());
  std::vector<cXObject*> group;
  lead->GetGroup(group);
  ASSERT_EQ(group.size(), 2u);
  EXPECT_EQ(group[0], lead);
  EXPECT_EQ(lead->GetData(kDataValue), 150) << "the master's price";
  for (cXObject* part : group) {
    EXPECT_EQ(part->GetData(kDataPlacement), 0x0103);
    EXPECT_TRUE(part->GetStateFlags() & kStateCreated);
  }
  ASSERT_TRUE(lead->CanPlace(At(5, 5), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
  lead->PlaceAndNotify(At(5, 5), 1, nullptr, 0);
  EXPECT_EQ(group[1]->GetTile(), TileLocation::At(6, 5, 1));
  lead->SetState(3);
  EXPECT_EQ(group[1]->GetStateFlags() & kStateMask, 3u) << "every part";
  EXPECT_FALSE(lead->IsWallObject());
  group[1]->SetData(kDataPlacement, static_cast<int16_t>(group[1]->GetData(kDataPlacement) | 0x0800));
  EXPECT_TRUE(lead->IsWallObject()) << "parts differ in word 42 bit 0x0800";
  group[1]->SetData(kDataPlacement, 0x0103);
  group[1]->SetData(kDataWallPlacement, 4);
  EXPECT_TRUE(lead->IsWallObject());
  group[1]->SetData(kDataWallPlacement, 0);
  EXPECT_FALSE(lead->CanPlace(At(14, 5), 1, nullptr, 0));
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceBorder);
  module.DeleteObject(group[1]->GetId());
  EXPECT_EQ(module.ObjectCount(), 0);
  EXPECT_TRUE(world.objects.empty());
}

TEST_F(StarterLot, ATurnedBenchComesBackFromTheLot) {
  const std::string lot = (dir / "bench.iff").string();
  const ProgramRun made = RunProgram("lotobjects", {"--data", root(), "--size", "16", "--place", "0x4C3A1004", "5",
                                                    "5", "1", "2", "--save", lot});
  ASSERT_EQ(made.code, 0) << made.err;
  const std::string objects = made.out.substr(made.out.find("object "));
  EXPECT_EQ(objects,
            "object 3 \"Garden Bench - right\" (5,6) L1 dir 2 in 0/-1\n"
            "object 2 \"Garden Bench - left\" (5,5) L1 dir 2 in 0/-1\n"
            "object 1 \"Lot Controller\" (-1,-1) L1 dir 0 in 0/-1\n"
            "objects 3\n");
  const ProgramRun loaded = RunProgram("lotobjects", {"--data", root(), "--load", lot});
  ASSERT_EQ(loaded.code, 0) << loaded.err;
  EXPECT_EQ(loaded.out, objects);
  // Deleting one part of the loaded group takes the other with it.
  const ProgramRun deleted = RunProgram("lotobjects", {"--data", root(), "--load", lot, "--delete", "3"});
  EXPECT_EQ(deleted.out.find("Garden Bench"), std::string::npos) << deleted.out;
}

TEST_F(StarterLot, AutomaticObjectsAreKeptOneEach) {
  module.CreateAutomaticObjects();
  ASSERT_NE(module.GetSpecialObjectId(), 0);
  const int16_t first = module.GetSpecialObjectId();
  EXPECT_EQ(module.GetObjectById(first)->GetDefinition()->GetGUID(), kSpecialObjectGuid);
  module.CreateObject(folder.FindByGUID(kSpecialObjectGuid));
  EXPECT_EQ(module.ObjectCount(), 2);
  module.CreateAutomaticObjects();
  EXPECT_EQ(module.ObjectCount(), 1) << "the extra one is deleted";
  EXPECT_NE(module.GetObjectById(module.GetSpecialObjectId()), nullptr);
}

TEST_F(StarterLot, LotobjectsPlacesSavesAndLoads) {
  const std::string lot = (dir / "lot.iff").string();
  const ProgramRun made = RunProgram("lotobjects", {"--data", root(), "--size", "16", "--place", "0x4C3A1001", "5", "5",
                                                    "--place", "0x4C3A1003", "8", "8", "--place", "0x4C3A1002", "0",
                                                    "3", "--save", lot});
  ASSERT_EQ(made.code, 0) << made.err;
  EXPECT_NE(made.out.find("place 0x4C3A1001 (5,5) L1 -> id 2\n"), std::string::npos) << made.out;
  EXPECT_NE(made.out.find("place 0x4C3A1003 (8,8) L1 -> id 3\n"), std::string::npos) << made.out;
  EXPECT_NE(made.out.find("place 0x4C3A1002 (0,3) L1 -> code 1\n"), std::string::npos) << made.out;
  const std::string objects = made.out.substr(made.out.find("object "));
  EXPECT_EQ(objects,
            "object 3 \"Floor Lamp\" (8,8) L1 dir 0 in 0/-1\n"
            "object 2 \"Dining Chair\" (5,5) L1 dir 0 in 0/-1\n"
            "object 1 \"Lot Controller\" (-1,-1) L1 dir 0 in 0/-1\n"
            "objects 3\n");
  const ProgramRun loaded = RunProgram("lotobjects", {"--data", root(), "--load", lot});
  ASSERT_EQ(loaded.code, 0) << loaded.err;
  EXPECT_EQ(loaded.out, objects);
  const ProgramRun deleted = RunProgram("lotobjects", {"--data", root(), "--load", lot, "--delete", "2"});
  EXPECT_EQ(deleted.out.find("Dining Chair"), std::string::npos) << deleted.out;
  EXPECT_EQ(RunProgram("lotobjects", {"--data", root(), "--size", "16", "--load", lot}).code, 2);
  EXPECT_NE(RunProgram("lotobjects", {"--data", root(), "--load", (dir / "none.iff").string()}).code, 0);
}

}  // namespace
