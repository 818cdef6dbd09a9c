// Where objects may stand: the placement test's steps and codes, placing,
// leaving the world, turning, wall adjacency and tile block masks.
#include <gtest/gtest.h>

#include <functional>

#include "FakeLot.h"
#include "SimFixture.h"

using namespace tova;
using namespace tova_test;

namespace {

class Placement : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    module.SetLot(&world, &view);
  }
  // An object that may stand on the bare ground of level 1.
  cXObject* Ground() {
    cXObject* o = Make();
    o->SetData(kDataPlacement, kPlaceOnGround);
    o->SetData(kDataSlotKinds, 1);
    o->SetData(kDataMovement, kMovePickUp | kMoveDelete);
    return o;
  }
  static FinePoint At(int x, int y) { return TileLocation::At(x, y, 1).GetCenterPoint(); }

  FakeWorld world;
  FakeView view;
};

TEST_F(Placement, TheTestsCodesInTheirOrder) {
  struct Case {
    const char* what;
    std::function<void(cXObject&)> arrange;
    int32_t level;
    int x;
    int32_t code;
    bool placed;
  };
  const TileLocation t5 = TileLocation::At(5, 5, 1);
  const TileLocation up = TileLocation::At(5, 5, 2);
  const Case cases[] = {
      {"fits", [](cXObject&) {}, 1, 5, 0, true},
      {"border", [](cXObject&) {}, 1, 0, 1, false},
      {"far border", [](cXObject&) {}, 1, 15, 1, false},
      {"level 4", [](cXObject&) {}, 4, 5, 2, false},
      {"ground level only", [](cXObject& o) { o.SetData(kDataPlacement, kPlaceOnGround | kPlaceGroundLevelOnly); }, 2, 5, 31, false},
      {"walls refuse with their own code", [this](cXObject&) { world.wallsAllow = false; world.wallReason = 22; }, 1, 5, 22, false},
      {"no floor above, viewed", [this](cXObject&) { view.level = 2; }, 2, 5, 18, false},
      {"no floor above", [](cXObject&) {}, 2, 5, 41, false},
      {"water", [&](cXObject&) { world.water[Key(t5)] = true; }, 1, 5, 29, false},
      {"water allowed", [&](cXObject& o) { world.water[Key(t5)] = true; o.SetData(kDataPlacement, kPlaceOnGround | kPlaceOnWater); }, 1, 5, 0, true},
      {"shallow pool", [&](cXObject&) { world.pool[Key(t5)] = 3; }, 1, 5, 29, false},
      {"deep pool", [&](cXObject& o) { world.pool[Key(t5)] = 20; o.SetData(kDataPlacement, kPlaceOnGround | kPlaceOnFloor | kPlaceNotInDeepPool); }, 1, 5, 30, false},
      {"uneven", [&](cXObject&) { world.corners[Key(t5)] = 0x01000000; }, 1, 5, 17, false},
      {"uneven allowed", [&](cXObject& o) { world.corners[Key(t5)] = 0x01000000; o.SetData(kDataPlacement, kPlaceOnGround | kPlaceUnevenGround); }, 1, 5, 0, true},
      {"floored, viewed", [&](cXObject&) { world.floors[Key(t5)] = true; }, 1, 5, 19, false},
      {"floored off the view", [&](cXObject& o) { world.floors[Key(up)] = true; o.SetData(kDataPlacement, kPlaceOnGround); }, 2, 5, 42, false},
      {"pool mark 16", [&](cXObject&) { world.pool[Key(t5)] = 16; }, 1, 5, 19, false},
      {"unfloored", [](cXObject& o) { o.SetData(kDataPlacement, kPlaceOnFloor); }, 1, 5, 20, false},
      {"needs the tile flag", [](cXObject& o) { o.SetData(kDataTileFlagRule, 1); }, 1, 5, 9, false},
      {"tile flag forbids", [&](cXObject& o) { o.SetData(kDataTileFlagRule, 2); world.flags[Key(t5)] = kLotTileOutside; }, 1, 5, 10, false},
      {"routing", [this](cXObject&) { world.routing = 1; }, 1, 5, 7, false},
      {"no routing test", [this](cXObject& o) { world.routing = 1; o.SetData(kDataPlacement, kPlaceOnGround | kPlaceNoRoutingTest); }, 1, 5, 0, true},
      {"not for the floor", [](cXObject& o) { o.SetData(kDataSlotKinds, 4); }, 1, 5, 24, false},
  };
  for (const Case& c : cases) {
    world = FakeWorld{};
    view.level = 1;
    cXObject* o = Ground();
    c.arrange(*o);
    EXPECT_EQ(o->CanPlace(TileLocation::At(c.x, 5, c.level).GetCenterPoint(), c.level, nullptr, 0), c.placed) << c.what;
    EXPECT_EQ(cXObject::PlaceFailureCode(), c.code) << c.what;
    module.DeleteObject(o->GetId());
  }
}

TEST_F(Placement, FreePlacementPassesTheWorldsChecks) {
  struct Shell : iGameShell {
    bool FreePlacement() const override { return true; }
  } shell;
  module.SetShell(&shell);
  world.water[Key(TileLocation::At(5, 5, 1))] = true;
  world.routing = 1;
  cXObject* o = Ground();
  EXPECT_TRUE(o->CanPlace(At(5, 5), 1, nullptr, 0));
  EXPECT_FALSE(o->CanPlace(At(0, 5), 1, nullptr, 0)) << "the border still counts";
  module.SetShell(nullptr);
}

TEST_F(Placement, OverlapsOnTheTileAndAround) {
  cXObject* first = Ground();
  first->Place(At(5, 5), 1, nullptr, 0);
  EXPECT_EQ(world.GetObjectIdAt(TileLocation::At(5, 5, 1)), first->GetId());
  cXObject* second = Ground();
  EXPECT_FALSE(second->CanPlace(At(5, 5), 1, nullptr, 0));
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceOverlap);
  EXPECT_EQ(cXObject::ObjectInTheWay(), first);
  EXPECT_TRUE(second->CanPlace(At(6, 5), 1, nullptr, 0)) << "boxes that only touch";
  // Non-blocking objects (word 8 bit 2) are compared on the own tile only.
  first->SetData(kDataFlags, kFlagNonBlocking);
  second->SetData(kDataFlags, kFlagNonBlocking);
  EXPECT_TRUE(second->CanPlace(At(5, 5), 1, nullptr, 0));
  first->SetData(kDataExclusive, 1);
  second->SetData(kDataExclusive, 1);
  EXPECT_FALSE(second->CanPlace(At(5, 5), 1, nullptr, 0));
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceOverlap);
  first->SetData(kDataExclusive, 0);
  first->SetData(kDataWallPlacement, 1);
  second->SetData(kDataWallPlacement, 1);
  EXPECT_FALSE(second->CanPlace(At(5, 5), 1, nullptr, 0));
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceSameWall);
  second->SetData(kDataWallPlacement, 4);
  EXPECT_TRUE(second->CanPlace(At(5, 5), 1, nullptr, 0)) << "the other wall";
  second->SetData(kDataExclusive, 2);
  first->SetData(kDataExclusive, 2);
  EXPECT_FALSE(second->CanPlace(At(5, 5), 1, nullptr, 0));
}

TEST_F(Placement, ASecondObjectStacksInTheLeadingEntryAndTakesTheCellWhenTheFirstGoes) {
  cXObject* first = Ground();
  cXObject* second = Ground();
  first->SetData(kDataFlags, kFlagNonBlocking);
  second->SetData(kDataFlags, kFlagNonBlocking);
  first->Place(At(5, 5), 1, nullptr, 0);
  ASSERT_TRUE(second->CanPlace(At(5, 5), 1, nullptr, 0));
  second->Place(At(5, 5), 1, nullptr, 0);
  EXPECT_EQ(world.GetObjectIdAt(second->GetTile()), first->GetId());
  EXPECT_EQ(second->GetContainer(), first);
  EXPECT_EQ(second->GetContainmentPosition(), 0);
  EXPECT_TRUE(module.GridCheck().empty());
  first->RemoveFromWorld();
  EXPECT_FALSE(first->IsOnLot());
  EXPECT_EQ(first->GetData(kDataContainer), 0);
  EXPECT_EQ(first->GetData(kDataSlotIndex), -1);
  EXPECT_EQ(world.GetObjectIdAt(second->GetTile()), second->GetId());
  EXPECT_EQ(second->GetContainmentPosition(), -1);
}

TEST_F(Placement, PickUpAndDelete) {
  cXObject* o = Ground();
  o->Place(At(5, 5), 1, nullptr, 0);
  EXPECT_TRUE(o->CanPickUp());
  EXPECT_TRUE(o->CanDelete());
  o->SetData(kDataUseCount, 1);
  EXPECT_FALSE(o->CanPickUp());
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceInUse);
  o->SetData(kDataUseCount, 0);
  o->SetData(kDataMovement, kMoveDelete);
  EXPECT_FALSE(o->CanPickUp());
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceCannotPickUp);
  o->SetData(kDataMovement, kMovePickUp);
  EXPECT_TRUE(o->CanPickUp());
  EXPECT_FALSE(o->CanDelete());
  o->SetData(kDataMovement, kMovePickUp | kMoveDelete);
  world.flags[Key(o->GetTile())] = kLotTileNoPlacement;
  EXPECT_FALSE(o->CanPickUp());
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceProtectedTile);
  world.flags.clear();
  o->PickUp();
  EXPECT_FALSE(o->IsOnLot());
  EXPECT_EQ(world.objects.size(), 0u);
}

TEST_F(Placement, CanPlaceAtWantsATileCentreOffTheProtectedTiles) {
  cXObject* o = Ground();
  EXPECT_TRUE(o->CanPlaceAt(At(5, 5), 1, nullptr, 0));
  EXPECT_FALSE(o->CanPlaceAt(FinePoint{5 * 16 + 3, 5 * 16 + 8}, 1, nullptr, 0));
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceBorder);
  world.flags[Key(TileLocation::At(5, 5, 1))] = kLotTileNoPlacement;
  EXPECT_FALSE(o->CanPlaceAt(At(5, 5), 1, nullptr, 0));
}

TEST_F(Placement, RotationSteps) {
  cXObject* o = Ground();
  o->SetData(kDataRotationStep, 2);
  o->SetData(kDataDirection, 7);
  o->Rotate(1);
  EXPECT_EQ(o->GetData(kDataDirection), 1);
  o->Rotate(-1);
  EXPECT_EQ(o->GetData(kDataDirection), 7);
  o->SetData(kDataRotationStep, 0);
  o->Rotate(3);
  EXPECT_EQ(o->GetData(kDataDirection), 7) << "step 0: cannot be turned";
}

TEST_F(Placement, WallSideMaskTurnsWithTheDirection) {
  cXObject* o = Ground();
  o->SetData(kDataWallPlacement, 1);
  const int32_t expected[8] = {2, 2, 4, 4, 8, 8, 1, 1};
  for (int d = 0; d < 8; ++d) {
    o->SetData(kDataDirection, static_cast<int16_t>(d));
    EXPECT_EQ(o->GetWallSideMask(), expected[d]) << d;
  }
  o->SetData(kDataWallPlacement, 5);
  EXPECT_EQ(o->GetWallSideMask(), 0) << "both bits: no side";
}

TEST_F(Placement, TileBlockMasks) {
  const TileLocation t = TileLocation::At(5, 5, 1);
  world.flags[Key(t)] = 0x0F;
  EXPECT_EQ(module.GetTileBlockMask(t, -1), 0) << "room detection's marks in the flags layer block nothing";
  cXObject* o = Ground();
  o->SetData(kDataBlocking, 0x81);
  o->SetData(kDataDirection, 2);
  o->Place(At(5, 5), 1, nullptr, 0);
  EXPECT_EQ(module.GetTileBlockMask(t, -1), 0x06) << "0x81 turned left by 2 within 8 bits";
  EXPECT_EQ(module.GetTileBlockMask(t, 1), 0x03) << "then left by 8 - 1";
  EXPECT_EQ(module.GetTileBlockMask(TileLocation::At(-1, 5, 1), -1), 0) << "off the lot";
}

TEST_F(Placement, WallAdjacencyAtFourDirections) {
  // Entry tree 6 makes the object track the walls at its tile.
  Trees("tree 4110 \"Walls changed\"\nn0: " + Expr(kOwnerTemp, 7, 3, kOwnerLiteral, 1) + " -> true true\nend\n");
  AddEntryTree(6, 4110);
  const TileLocation t = TileLocation::At(5, 5, 1);
  world.walls[Key(t)] = 0x01 | 0x02;  // toward x-1 and y-1
  // Side flags turned back by the direction, then bits 1 and 2 swapped.
  const int16_t expected[4] = {0x05, 0x09, 0x0A, 0x06};
  for (int d = 0; d < 8; d += 2) {
    cXObject* o = Ground();
    o->SetData(kDataDirection, static_cast<int16_t>(d));
    o->SetData(kDataWallAdjacency, 0x40);
    o->Place(At(5, 5), 1, nullptr, 0);
    EXPECT_EQ(o->GetData(kDataWallAdjacency), 0x40 | expected[d / 2]) << d;
    EXPECT_EQ(o->Temps()[7], 1) << "entry tree 6 ran on the change";
    module.DeleteObject(o->GetId());
  }
}

TEST_F(Placement, FindFreeLocationEndsWhateverTheDirection) {
  cXObject* o = Ground();
  o->SetData(kDataSlotKinds, 0);  // fits nowhere
  FinePoint found;
  for (int32_t direction : {-1, 0, 2, 3, 7}) {
    FreeLocationRequest r;
    r.fixedStart = true;
    r.start = At(3, 3);
    r.direction = direction;
    EXPECT_FALSE(o->FindFreeLocation(r, found)) << direction;
  }
  o->SetData(kDataSlotKinds, 1);
  cXObject* blocker = Ground();
  blocker->Place(At(3, 3), 1, nullptr, 0);
  FreeLocationRequest r;
  r.fixedStart = true;
  r.start = At(3, 3);
  r.direction = 4;
  ASSERT_TRUE(o->FindFreeLocation(r, found));
  EXPECT_EQ(found, At(4, 3)) << "the next tile along x";
  r.direction = -1;
  r.emptyTile = true;
  ASSERT_TRUE(o->FindFreeLocation(r, found));
  EXPECT_NE(found, At(3, 3));
}

}  // namespace
