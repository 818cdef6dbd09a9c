// Multi-tile groups: turning through a part, the group placement test,
// joining and splitting with their neighbour masks, and groups removed
// whole.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "FakeLot.h"
#include "SimFixture.h"
#include "simulation/cXMTObject.h"

using namespace tova;
using namespace tova_test;

namespace {

class Groups : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    module.SetLot(&world, &view);
    // Entry tree 8 keeps the mask it is given in attribute 0.
    Trees("tree 4100 \"Joined\"\nn0: " + Expr(kOwnerMyAttribute, 0, 5, kOwnerParam, 0) + " -> true true\nend\n");
  }
  void TearDown() override { module.Clear(); }

  ObjectDefinition* PartDefinition(int16_t subIndex, bool joins) {
    ObjectDefinitionRecord r;
    r.SetGuid(0x5000u + static_cast<uint16_t>(subIndex));
    r.SetWord(ObjectDefinitionRecord::kObjectType, 4);
    r.SetWord(ObjectDefinitionRecord::kStackSize, 8);
    r.SetWord(ObjectDefinitionRecord::kWordArrayLength, 8);
    r.SetWord(ObjectDefinitionRecord::kMasterId, joins ? 2 : 1);
    r.SetWord(ObjectDefinitionRecord::kSubIndex, subIndex);
    if (joins) r.SetFunctionEntry(8, 4100);
    definitions.push_back(std::make_unique<ObjectDefinition>(nullptr, nullptr, r, "Part", 0, 128));
    definitions.back()->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
    return definitions.back().get();
  }

  cXMTObject* AddPart(ObjectDefinition* d, cXMTObject* lead) {
    auto o = std::make_unique<cXMTObject>(d, lead, &module);
    cXMTObject* p = o.get();
    p->InitFromDefinition();
    EXPECT_NE(module.AddObject(std::move(o), 0, true), 0);
    p->SetData(kDataPlacement, kPlaceOnGround);
    p->SetData(kDataSlotKinds, 1);
    p->SetData(kDataMovement, kMovePickUp | kMoveDelete);
    p->SetData(kDataRotationStep, 2);
    return p;
  }

  // Two parts side by side: the lead, and a part one tile along x.
  std::vector<cXMTObject*> Pair() {
    cXMTObject* lead = AddPart(PartDefinition(0x0000, false), nullptr);
    cXMTObject* second = AddPart(PartDefinition(0x0001, false), lead);
    lead->UpdateOffsets();
    return {lead, second};
  }

  static FinePoint At(int x, int y) { return TileLocation::At(x, y, 1).GetCenterPoint(); }
  static TileLocation Tile(const cXObject* o) { return o->GetTile(); }

  FakeWorld world;
  FakeView view;
  std::vector<std::unique_ptr<ObjectDefinition>> definitions;
};

TEST_F(Groups, PartsTakeTheirOffsetsFromTheSubIndex) {
  std::vector<cXMTObject*> g = Pair();
  EXPECT_EQ(g[1]->GetLead(), g[0]);
  EXPECT_EQ(g[1]->OffsetX(), 1);
  EXPECT_EQ(g[1]->OffsetY(), 0);
  EXPECT_EQ(g[1]->RotatedX(), 1);
  EXPECT_EQ(g[0]->GetTypeCode(), TypeCode("XMTO"));
  EXPECT_TRUE(g[0]->IsSameObject(g[1]));
  ASSERT_TRUE(g[0]->CanPlace(At(5, 5), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
  g[0]->Place(At(5, 5), 1, nullptr, 0);
  EXPECT_EQ(Tile(g[1]), TileLocation::At(6, 5, 1));
  // Placing through the second part puts the lead one tile before it.
  g[1]->Place(At(9, 9), 1, nullptr, 0);
  EXPECT_EQ(Tile(g[0]), TileLocation::At(8, 9, 1));
  EXPECT_EQ(Tile(g[1]), TileLocation::At(9, 9, 1));
}

TEST_F(Groups, AQuarterTurnThroughOnePartSwingsTheOtherAroundIt) {
  std::vector<cXMTObject*> g = Pair();
  g[0]->Place(At(5, 5), 1, nullptr, 0);
  g[1]->Rotate(1);
  EXPECT_EQ(g[0]->GetData(kDataDirection), 2);
  EXPECT_EQ(g[1]->GetData(kDataDirection), 2);
  EXPECT_EQ(Tile(g[1]), TileLocation::At(6, 5, 1));
  EXPECT_EQ(Tile(g[0]), TileLocation::At(6, 4, 1));
  EXPECT_EQ(g[1]->RotatedY(), 1);
  EXPECT_EQ(g[1]->RotatedX(), 0);
}

TEST_F(Groups, AWholeTurnLeavesTheGroupWhereItWas) {
  std::vector<cXMTObject*> g = Pair();
  g[0]->Place(At(5, 5), 1, nullptr, 0);
  g[0]->Rotate(4);
  EXPECT_EQ(g[0]->GetData(kDataDirection), 0);
  EXPECT_EQ(Tile(g[0]), TileLocation::At(5, 5, 1));
  EXPECT_EQ(Tile(g[1]), TileLocation::At(6, 5, 1));
}

TEST_F(Groups, ATurnThatDoesNotFitGoesBack) {
  std::vector<cXMTObject*> g = Pair();
  g[0]->Place(At(5, 5), 1, nullptr, 0);
  world.water[Key(TileLocation::At(5, 6, 1))] = true;
  g[0]->Rotate(1);  // the second part would swing onto the water
  EXPECT_EQ(g[1]->GetData(kDataDirection), 0);
  EXPECT_EQ(Tile(g[0]), TileLocation::At(5, 5, 1));
  EXPECT_EQ(Tile(g[1]), TileLocation::At(6, 5, 1));
}

TEST_F(Groups, TheGroupPlacementTestsEveryPart) {
  struct Case {
    const char* what;
    std::function<void(std::vector<cXMTObject*>&)> arrange;
    int x;
    int32_t level;
    bool viaContainer;
    int32_t code;
  };
  const Case cases[] = {
      {"fits", [](auto&) {}, 5, 1, false, 0},
      {"second part on the border", [](auto&) {}, 14, 1, false, 1},
      {"lead on the border", [](auto&) {}, 0, 1, false, 1},
      {"into a slot", [](auto&) {}, 5, 1, true, 16},
      {"first failing part's code stays",
       [this](auto&) {
         world.water[Key(TileLocation::At(5, 5, 1))] = true;
         world.floors[Key(TileLocation::At(6, 5, 1))] = true;
       },
       5, 1, false, 29},
      {"a later 31 replaces it",
       [](auto& g) { g[1]->SetData(kDataPlacement, kPlaceOnGround | kPlaceGroundLevelOnly); }, 5, 2, false, 31},
      {"different ground heights",
       [this](auto&) { world.corners[Key(TileLocation::At(6, 5, 1))] = 0x01010101; }, 5, 1, false, 17},
      {"different heights allowed",
       [this](auto& g) {
         world.corners[Key(TileLocation::At(6, 5, 1))] = 0x01010101;
         g[0]->SetData(kDataPlacement, kPlaceOnGround | kPlaceUnevenGround);
       },
       5, 1, false, 0},
  };
  for (const Case& c : cases) {
    world = FakeWorld{};
    std::vector<cXMTObject*> g = Pair();
    c.arrange(g);
    cXObject* container = c.viaContainer ? Make() : nullptr;
    const bool placed = g[0]->CanPlace(TileLocation::At(c.x, 5, c.level).GetCenterPoint(), c.level, container, 0);
    EXPECT_EQ(placed, c.code == 0) << c.what;
    EXPECT_EQ(cXObject::PlaceFailureCode(), c.code) << c.what;
    module.Clear();
  }
}

TEST_F(Groups, JoiningAndSplittingRunEntryTree8WithNeighbourMasks) {
  ObjectDefinition* d = PartDefinition(0x0000, true);
  cXMTObject* a = AddPart(d, nullptr);
  cXMTObject* b = AddPart(d, nullptr);
  a->SetData(kDataDirection, 2);
  a->PlaceAndNotify(At(5, 5), 1, nullptr, 0);
  EXPECT_EQ(a->Attributes()[0], 0);
  b->PlaceAndNotify(At(6, 5), 1, nullptr, 0);
  // b joined a's group and took its direction.
  EXPECT_EQ(b->GetLead(), a);
  EXPECT_EQ(b->GetData(kDataDirection), 2);
  EXPECT_EQ(Tile(b), TileLocation::At(6, 5, 1));
  // a (facing 2) has its neighbour at x+1, direction 4 = 2 + 2: bit 2; b
  // has its neighbour at x-1, direction 0 = 2 + 6: bit 6.
  EXPECT_EQ(a->Attributes()[0], 0x04);
  EXPECT_EQ(b->Attributes()[0], 0x40);
  // The joined group turns as one through b.
  b->Rotate(1);
  EXPECT_EQ(Tile(b), TileLocation::At(6, 5, 1));
  EXPECT_EQ(Tile(a), TileLocation::At(6, 4, 1));

  b->SplitFromGroup();
  EXPECT_EQ(b->GetLead(), b);
  EXPECT_FALSE(a->IsSameObject(b));
  EXPECT_EQ(a->Attributes()[0], 0);
  EXPECT_EQ(b->Attributes()[0], 0);
  EXPECT_EQ(Tile(b), TileLocation::At(6, 5, 1));
}

TEST_F(Groups, GroupsAreRemovedWhole) {
  std::vector<cXMTObject*> g = Pair();
  g[0]->Place(At(5, 5), 1, nullptr, 0);
  const int16_t lead = g[0]->GetId(), second = g[1]->GetId();
  module.DeleteObject(second);
  EXPECT_EQ(module.GetObjectById(lead), nullptr);
  EXPECT_EQ(module.GetObjectById(second), nullptr);
  EXPECT_TRUE(module.GridCheck().empty());

  // Queued through one part, the whole group goes at the end of the tick.
  g = Pair();
  g[0]->Place(At(5, 5), 1, nullptr, 0);
  module.QueueDeletion(g[1]->GetId(), true);
  EXPECT_FALSE(g[0]->IsOnLot());
  module.ProcessDeletions(false);
  EXPECT_EQ(module.ObjectCount(), 0);

  // A part of a joined group is split off first and goes alone.
  ObjectDefinition* d = PartDefinition(0x0000, true);
  cXMTObject* a = AddPart(d, nullptr);
  cXMTObject* b = AddPart(d, nullptr);
  a->PlaceAndNotify(At(5, 5), 1, nullptr, 0);
  b->PlaceAndNotify(At(6, 5), 1, nullptr, 0);
  ASSERT_EQ(b->GetLead(), a);
  const int16_t aId = a->GetId();
  module.QueueDeletion(b->GetId(), true);
  module.ProcessDeletions(false);
  ASSERT_EQ(module.ObjectCount(), 1);
  EXPECT_EQ(module.GetObjectById(aId), a);
  std::vector<cXObject*> rest;
  a->GetGroup(rest);
  EXPECT_EQ(rest.size(), 1u);
}

TEST_F(Groups, DeletingTheLeadFirstLeavesNoDanglingLinks) {
  std::vector<cXMTObject*> g = Pair();
  cXMTObject* third = AddPart(PartDefinition(0x0100, false), g[0]);
  module.RemoveObject(g[0]->GetId(), true);
  EXPECT_EQ(g[1]->GetLead(), g[1]);
  EXPECT_EQ(third->GetLead(), g[1]);
  std::vector<cXObject*> rest;
  g[1]->GetGroup(rest);
  EXPECT_EQ(rest.size(), 2u);
}

}  // namespace
