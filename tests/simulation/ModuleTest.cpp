// The object module's ids, removal and deletion queue, trimming to the lot
// and the grid check.
#include <gtest/gtest.h>

#include "FakeLot.h"
#include "SimFixture.h"
#include "gamedata/CommandIds.h"
#include "gamedata/Commander.h"

using namespace tova;
using namespace tova_test;

namespace {

class Module : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    module.SetLot(&world, &view);
  }
  cXObject* Placed(int x, int y) {
    cXObject* o = Make();
    o->SetData(kDataPlacement, kPlaceOnGround);
    o->SetData(kDataSlotKinds, 1);
    o->Place(TileLocation::At(x, y, 1).GetCenterPoint(), 1, nullptr, 0);
    return o;
  }
  FakeWorld world;
  FakeView view;
};

TEST_F(Module, IdsAreReusedAndEndAt32767) {
  for (int i = 0; i < 5; ++i) Make();
  module.DeleteObject(3);
  EXPECT_EQ(Make()->GetId(), 3);
  auto spare = std::make_unique<cXObject>(definition.get(), &module);
  EXPECT_EQ(module.AddObject(std::move(spare), 32767, true), 32767);
  EXPECT_EQ(module.AddObject(std::make_unique<cXObject>(definition.get(), &module), 32767, true), 0) << "taken";
  EXPECT_EQ(module.AddObject(std::make_unique<cXObject>(definition.get(), &module), -2, true), 0);
  for (int16_t id = 6; id < 32767; ++id) {
    ASSERT_EQ(module.AddObject(std::make_unique<cXObject>(definition.get(), &module), 0, true), id);
  }
  EXPECT_EQ(module.AddObject(std::make_unique<cXObject>(definition.get(), &module), 0, true), 0) << "full";
  EXPECT_EQ(TreeZaz::IterationLimit(), 32767 * 15 + 10000);
  TreeZaz::SetIterationLimit(TreeZaz::kDefaultIterationLimit);
}

// Opcode 39 deletes the object its temp 0 names, then yields.
class Remover : public cXObject {
 public:
  using cXObject::cXObject;
  int32_t RunPrimitive(TreeStackFrame& frame, TreeNode node) override {
    if (node.Opcode() != 39) return cXObject::RunPrimitive(frame, node);
    GetModule()->DeleteObject(Temps()[0]);
    ++Temps()[1];
    return kPrimYield;
  }
};

TEST_F(Module, AnObjectRemovingItselfIsQueuedAndGoesAfterItsTick) {
  Trees("tree 4096 \"Main\"\n params 4\nn0: 39 -> n0 n0\nend\n");
  Remover* self = Run<Remover>();
  const int16_t id = self->GetId();
  self->Place(TileLocation::At(5, 5, 1).GetCenterPoint(), 1, nullptr, 0);
  self->Temps()[0] = id;
  EXPECT_TRUE(self->Tick());
  EXPECT_EQ(self->Temps()[1], 1) << "the primitive finished";
  ASSERT_EQ(module.GetObjectById(id), self) << "still registered during its own tick";
  EXPECT_NE(self->GetStateFlags() & kStateBeingDeleted, 0u);
  EXPECT_FALSE(self->IsOnLot());
  EXPECT_EQ(world.objects.size(), 0u) << "out of the world at once";
  EXPECT_EQ(module.DeletionQueue(), std::vector<int16_t>{id});
  module.ProcessDeletions(false);
  EXPECT_EQ(module.GetObjectById(id), nullptr);
  EXPECT_TRUE(module.DeletionQueue().empty());
}

TEST_F(Module, RemovingAnotherObjectDuringATickIsImmediate) {
  Trees("tree 4096 \"Main\"\n params 4\nn0: 39 -> n0 n0\nend\n");
  cXObject* victim = Placed(3, 3);
  Remover* r = Run<Remover>();
  r->Temps()[0] = victim->GetId();
  const int16_t victimId = victim->GetId();
  r->Tick();
  EXPECT_EQ(module.GetObjectById(victimId), nullptr);
  EXPECT_EQ(world.objects.size(), 0u);
}

TEST_F(Module, QueuedDeletionsGoInQueueOrderOnce) {
  cXObject* a = Placed(3, 3);
  cXObject* b = Placed(4, 4);
  const int16_t ia = a->GetId(), ib = b->GetId();
  module.QueueDeletion(ib, false);
  module.QueueDeletion(ia, true);
  module.QueueDeletion(ib, true);
  EXPECT_EQ(module.DeletionQueue(), (std::vector<int16_t>{ib, ia}));
  EXPECT_NE(b->GetStateFlags() & kStateQueuedQuietly, 0u);
  EXPECT_EQ(a->GetStateFlags() & kStateQueuedQuietly, 0u);
  EXPECT_FALSE(a->IsOnLot());
  module.ProcessDeletions(true);
  EXPECT_NE(module.GetObjectById(ia), nullptr) << "skipped";
  module.ProcessDeletions(false);
  EXPECT_EQ(module.GetObjectById(ia), nullptr);
  EXPECT_EQ(module.GetObjectById(ib), nullptr);
}

TEST_F(Module, TrimToLotDeletesBeyondEitherAxis) {
  const int16_t inside = Placed(5, 5)->GetId();
  const int16_t beyondX = Placed(12, 3)->GetId();
  const int16_t beyondY = Placed(3, 12)->GetId();
  const int16_t beyondBoth = Placed(13, 13)->GetId();
  module.TrimToLot(10);
  EXPECT_NE(module.GetObjectById(inside), nullptr);
  EXPECT_EQ(module.GetObjectById(beyondX), nullptr);
  EXPECT_EQ(module.GetObjectById(beyondY), nullptr);
  EXPECT_EQ(module.GetObjectById(beyondBoth), nullptr);
}

TEST_F(Module, GridCheckReportsAndRepairsNothing) {
  cXObject* a = Placed(5, 5);
  cXObject* b = Placed(7, 7);
  EXPECT_TRUE(module.GridCheck().empty());
  world.objects[Key(TileLocation::At(2, 3, 1))] = 99;
  world.objects[Key(TileLocation::At(7, 7, 1))] = a->GetId();
  const std::vector<std::string> lines = module.GridCheck();
  const std::string an = "(Thing," + std::to_string(a->GetId()) + ")";
  const std::string bn = "(Thing," + std::to_string(b->GetId()) + ")";
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "object id 99 in grid at 1:(3,2) has no object pointer",
                       an + " has location 1:(5,5) but is in the grid at 1:(7,7)",
                       bn + " is at 1:(7,7) but grid has " + an + " there",
                   }));
  EXPECT_EQ(world.GetObjectIdAt(TileLocation::At(7, 7, 1)), a->GetId()) << "nothing repaired";
}

// Records the rooms announced with command 241.
class RoomListener : public Commander {
 public:
  std::vector<intptr_t> rooms;
  int16_t DoCommand(int32_t command, intptr_t argument) override {
    if (command == cmd::kRoomChanged) rooms.push_back(argument);
    return 0;
  }
};

TEST_F(Module, CommandsTreesOnAllAndDepreciation) {
  Trees("tree 4120 \"Count\"\n params 4\nn0: " + Expr(kOwnerTemp, 4, 3, kOwnerParam, 0) + " -> true true\nend\n");
  cXObject* a = Placed(3, 3);
  cXObject* b = Placed(5, 5);
  EXPECT_TRUE(module.RunTreeOnAll("Count", 7));
  EXPECT_FALSE(module.RunTreeOnAll("Nothing", 7));
  EXPECT_EQ(a->Temps()[4], 7);
  EXPECT_EQ(b->Temps()[4], 7);

  RoomListener listener;
  world.rooms[Key(TileLocation::At(6, 6, 1))] = 4;
  a->Place(TileLocation::At(6, 6, 1).GetCenterPoint(), 1, nullptr, 0);
  EXPECT_EQ(a->GetData(kDataRoom), 4);
  Broadcast(cmd::kRefresh, a->GetId());
  Broadcast(cmd::kRefresh, b->GetId());  // outside any room: nothing
  EXPECT_EQ(listener.rooms, std::vector<intptr_t>{4});

  ObjectDefinitionRecord& r = definition->GetRecord();
  r.SetWord(ObjectDefinitionRecord::kPrice, 100);
  r.SetWord(ObjectDefinitionRecord::kFirstDepreciation, 20);
  r.SetWord(ObjectDefinitionRecord::kDailyDepreciation, 5);
  r.SetWord(ObjectDefinitionRecord::kDepreciationFloor, 72);
  a->SetData(kDataValue, 100);
  module.OnNewDay();
  EXPECT_EQ(a->GetData(kDataValue), 80) << "the first day";
  module.OnNewDay();
  EXPECT_EQ(a->GetData(kDataValue), 75);
  module.OnNewDay();
  EXPECT_EQ(a->GetData(kDataValue), 72) << "not below the floor";
  a->SetData(kDataDepreciated, 1);
  EXPECT_EQ(a->GetSaleValue(), 36);
}

}  // namespace

namespace {

class ScrollView : public FakeView {
 public:
  FinePoint at;
  int32_t scrolledLevel = 0;
  void ScrollTo(FinePoint p, int32_t level, float, bool) override {
    at = p;
    scrolledLevel = level;
  }
};

TEST_F(Module, RelevelForcesLevelZeroAndScrollCentresTheView) {
  Trees("tree 4121 \"Relevel\"\n params 4\nn0: " + Expr(kOwnerTemp, 3, 3, kOwnerLiteral, 1) + " -> true true\nend\n");
  AddEntryTree(7, 4121);
  cXObject* o = Placed(4, 6);
  o->SetLevel(0);
  std::vector<std::string> log;
  module.Relevel(0, &log);
  EXPECT_EQ(log, std::vector<std::string>{"Forcing level 0 object to level 1"});
  EXPECT_EQ(o->GetLevel(), 1);
  EXPECT_EQ(o->Temps()[3], 1) << "entry tree 7 ran";
  ScrollView scroll;
  module.SetLot(&world, &scroll);
  o->ScrollViewTo(false);
  EXPECT_EQ(scroll.at, TileLocation::At(4, 6, 1).GetCenterPoint());
  EXPECT_EQ(scroll.scrolledLevel, 1);
  o->SetData(kDataHidden, 1);
  scroll.scrolledLevel = 0;
  o->ScrollViewTo(false);
  EXPECT_EQ(scroll.scrolledLevel, 0) << "hidden objects do not move the view";
  module.DeleteObject(o->GetId());
}

}  // namespace

namespace {

TEST_F(Module, OldLotsAreRepairedWhenPlaced) {
  struct Case {
    int32_t version;
    int16_t w42, w4;
    int16_t expected42, expected43, expected4;
  };
  const Case cases[] = {
      {34, 0x0003, 4, 0x0003, 0, 1},                                  // slot kinds reset
      {35, 0x0003, 4, 0x0003, 0, 4},                                  // kept
      {31, 0x0003, 1, 0x0001, kMovePickUp | kMoveDelete, 1},          // floor: not the ground
      {31, 0x0000, 1, 0x0003, kMovePickUp | kMoveDelete, 1},          // neither: both
      {31, 0x0080, 1, 0x0002, kMovePickUp | kMoveDelete, 1},          // the old-lot bit
  };
  for (const Case& c : cases) {
    cXObject* o = Make();
    o->SetData(kDataPlacement, c.w42);
    o->SetData(kDataSlotKinds, c.w4);
    o->SetPosition(TileLocation::At(5, 5, 1).GetCenterPoint());
    o->SetLevel(0);
    o->PlaceAtCurrentLocation(c.version);
    EXPECT_EQ(o->GetLevel(), 1) << c.version;
    EXPECT_EQ(o->GetData(kDataPlacement), c.expected42) << c.version << " " << c.w42;
    EXPECT_EQ(o->GetData(kDataMovement), c.expected43) << c.version;
    EXPECT_EQ(o->GetData(kDataSlotKinds), c.expected4) << c.version;
    EXPECT_EQ(world.GetObjectIdAt(TileLocation::At(5, 5, 1)), o->GetId()) << "back in its cell";
    module.DeleteObject(o->GetId());
  }
}

}  // namespace
