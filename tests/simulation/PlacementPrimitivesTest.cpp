// Moving objects about: refresh, removal, free locations, slot contents and
// snapping to a place the stack object offers, with the world-vector
// conversions snapping uses.
#include <gtest/gtest.h>

#include "PrimitiveFixture.h"
#include "simulation/PlacementPrimitives.h"
#include "simulation/WorldVectors.h"

using namespace tova;
using namespace tova_test;

namespace {

// A person that records what a snap tells it and answers the step-aside
// request as told.
class SnapPerson : public FakePerson, public iSnapPerson {
 public:
  using FakePerson::FakePerson;
  bool willMove = true;
  int32_t asked = 0;
  float offsets[3] = {0, 0, 0};
  float marks[3] = {0, 0, 0};
  bool RequestStepAside(cXObject&) override {
    ++asked;
    return willMove;
  }
  void SetSnapOffsets(float dy, float dx, float df) override {
    offsets[0] = dy;
    offsets[1] = dx;
    offsets[2] = df;
  }
  void SetPlacedMarks(float a, float b, float c) override {
    marks[0] = a;
    marks[1] = b;
    marks[2] = c;
  }
};

class PlacementPrimitivesTest : public PrimitiveFixture {
 protected:
  std::string SnapNode(int slot, int mode, int options) { return "Snap" + Words(slot, mode, options); }
};

TEST(WorldVectors, LowestBitIndexByKind) {
  EXPECT_EQ(LowestBitIndex(0x28, 0), 3);
  EXPECT_EQ(LowestBitIndex(0x28, 1), 4);
  EXPECT_EQ(LowestBitIndex(0x28, 3), 5);
  EXPECT_EQ(LowestBitIndex(0x28, 4), 4);
  EXPECT_EQ(LowestBitIndex(0x80000000u, 2), 31);
}

TEST(WorldVectors, FinePointsSurviveTheWorldAndBack) {
  for (int y = -40; y <= 1100; y += 7) {
    for (int x = -40; x <= 1100; x += 13) {
      for (float altitude : {0.0f, 1.0f, 37.5f}) {
        const FinePoint p{x, y};
        EXPECT_EQ(WorldToFinePoint(FinePointToWorld3(p, altitude)), p) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(WorldToFinePoint({-0.09375f, 0, 0.09375f}), (FinePoint{-1, 1})) << "halves away from zero";
  const WorldVector v = FinePointToWorld3({16, 32}, 2);
  EXPECT_FLOAT_EQ(v.x, 3.0f);
  EXPECT_FLOAT_EQ(v.z, 6.0f);
  EXPECT_NEAR(v.y, 6 * 0.20412415f, 1e-6);
  const WorldVector s = SlotOffsetToWorld3(16, -8, 0);
  EXPECT_FLOAT_EQ(s.x, -1.5f) << "the second component goes to world x";
  EXPECT_FLOAT_EQ(s.z, 3.0f);
}

TEST(WorldVectors, FacingTurnsTheFrontAsObjectsFace) {
  // The front of facing 0 is -x; facing 2 looks along +y (world +z).
  const WorldVector front{-1, 0, 0};
  const FinePoint expected[4] = {{-16, 0}, {0, 16}, {16, 0}, {0, -16}};
  for (int facing = 0; facing < 8; facing += 2) {
    const WorldVector turned = FacingRotation(facing).Apply({front.x * 3, 0, 0});
    EXPECT_EQ(WorldToFinePoint(turned), expected[facing / 2]) << facing;
    EXPECT_EQ(WorldToFinePoint(turned), (FinePoint{0, 0}.Step(facing))) << "as a grid step" << facing;
  }
}

TEST_F(PlacementPrimitivesTest, RefreshWhomAndWhat) {
  cXObject* me = Ground();
  me->Place(At(5, 5), 1, nullptr, 0);
  EXPECT_EQ(Prim(*me, "Refresh" + Words(2, 0), 0), 1003);
  EXPECT_EQ(Prim(*me, "Refresh" + Words(0, 3), 0), 1003);
  EXPECT_EQ(Prim(*me, "Refresh" + Words(1, 0), 0), 1000 + kErrNoStackObject);
  for (int what : {0, 1, 2}) EXPECT_EQ(Prim(*me, "Refresh" + Words(0, what), 0), 1) << what;
  me->SetRedrawState(0);
  EXPECT_EQ(Prim(*me, "Refresh" + Words(1, 0), me->GetId()), 1);
  EXPECT_NE(me->GetRedrawState(), 0) << "marked for redraw";
}

TEST_F(PlacementPrimitivesTest, RemoveObject) {
  cXObject* me = Ground();
  cXObject* other = Ground();
  other->Place(At(6, 6), 1, nullptr, 0);
  EXPECT_EQ(Prim(*me, "RemoveObject" + Words(2), other->GetId()), 0);
  EXPECT_EQ(module.ObjectCount(), 2) << "whom 2 removes nothing";
  EXPECT_EQ(Prim(*me, "RemoveObject" + Words(3), other->GetId()), 1009);
  EXPECT_EQ(Prim(*me, "RemoveObject" + Words(1), 0), 0) << "no stack object";
  const int16_t id = other->GetId();
  EXPECT_EQ(Prim(*me, "RemoveObject" + Words(1), id), 1);
  EXPECT_EQ(module.GetObjectById(id), nullptr);
  EXPECT_EQ(world.GetObjectIdAt(TileLocation::At(6, 6, 1)), 0);
}

TEST_F(PlacementPrimitivesTest, AnObjectRemovingItselfYieldsAndGoesAtTheEndOfTheTick) {
  for (int flags : {0, 1}) {
    Trees("tree 4096 \"Main\"\n params 4\n"
          "n0: RemoveObject" + Bytes({0, 0, flags}) + " -> n1 n1\n"
          "n1: " + Expr(kOwnerTemp, 0, 5, kOwnerLiteral, 1) + " -> n2 n2\n"
          "n2: " + Expr(kOwnerParam, 1, 5, kOwnerLiteral, 1000) + " -> n3 n3\n"
          "n3: Sleep 1 -> n3 n3\nend\n");
    cXObject* me = Run();
    const int16_t id = me->GetId();
    me->Tick();
    EXPECT_EQ(me->GetErrorCode(), 0);
    EXPECT_EQ(me->Temps()[0], flags) << "the tree goes on only with return immediately";
    EXPECT_TRUE(me->GetStateFlags() & kStateBeingDeleted);
    module.ProcessDeletions(false);
    EXPECT_EQ(module.GetObjectById(id), nullptr);
  }
}

TEST_F(PlacementPrimitivesTest, FindLocation) {
  cXObject* me = Ground();
  cXObject* start = Ground();
  start->Place(At(5, 5), 1, nullptr, 0);
  start->SetData(kDataDirection, 4);
  cXObject* o = Ground();
  const int16_t s = start->GetId();
  EXPECT_EQ(Prim(*me, "FindLocation" + Bytes({3, 0, 0}), o->GetId()), 1061) << "mode 3 needs a start object";
  EXPECT_EQ(Prim(*me, "FindLocation" + Bytes({3, 0, 1}), 0, 0, 0, 0, s), 1000 + kErrNoStackObject);
  EXPECT_EQ(Prim(*me, "FindLocation" + Bytes({3, 2, 1}), o->GetId(), 0, 0, 0, s), 1051) << "local 2 of two";
  EXPECT_EQ(Prim(*me, "FindLocation" + Bytes({3, 0, 1}), o->GetId(), 0, 0, 0, 999), 1023);

  // Mode 3 searches along the start's facing (4: +x) for an empty tile.
  EXPECT_EQ(Prim(*me, "FindLocation" + Bytes({3, 0, 1}), o->GetId(), 0, 0, 0, s), 1);
  EXPECT_TRUE(o->IsOnLot());
  EXPECT_EQ(o->GetTile().y, 5);
  EXPECT_NE(o->GetTile().x, 5) << "the start's own tile is taken";
  EXPECT_EQ(o->GetLevel(), 1);

  // With "need not be empty" the start's own tile comes first; both may
  // share it when neither blocks.
  o->RemoveFromWorld();
  start->SetData(kDataFlags, kFlagNonBlocking);
  o->SetData(kDataFlags, kFlagNonBlocking);
  EXPECT_EQ(Prim(*me, "FindLocation" + Bytes({3, 0, 3}), o->GetId(), 0, 0, 0, s), 1);
  EXPECT_EQ(o->GetTile(), TileLocation::At(5, 5, 1));
  o->RemoveFromWorld();
  EXPECT_EQ(Prim(*me, "FindLocation" + Bytes({3, 0, 1}), o->GetId(), 0, 0, 0, s), 1);
  EXPECT_NE(o->GetTile(), TileLocation::At(5, 5, 1)) << "an empty tile is preferred without it";

  // Mode 2 turns it to face the start object and tests it at the start's
  // place: taken by the start itself unless both may share it.
  o->RemoveFromWorld();
  o->SetData(kDataDirection, 2);
  EXPECT_EQ(Prim(*me, "FindLocation" + Bytes({2, 0, 1}), o->GetId(), 0, 0, 0, s), 1);
  EXPECT_EQ(o->GetData(kDataDirection), 0) << "the start faces 4: it faces 0";
  EXPECT_EQ(o->GetTile(), TileLocation::At(5, 5, 1));
  o->RemoveFromWorld();
  o->SetData(kDataFlags, 0);
  start->SetData(kDataFlags, 0);
  EXPECT_EQ(Prim(*me, "FindLocation" + Bytes({2, 0, 1}), o->GetId(), 0, 0, 0, s), 0);
  EXPECT_FALSE(o->IsOnLot());

  // Mode 1 takes it out of the world.
  EXPECT_EQ(Prim(*me, "FindLocation" + Bytes({1}), o->GetId()), 1);
  EXPECT_FALSE(o->IsOnLot());

  // Any other mode: a spiral from tile (1, 1), in any room when its own has
  // no place.
  world.rooms[Key(TileLocation::At(1, 1, 1))] = 4;
  EXPECT_EQ(Prim(*me, "FindLocation" + Bytes({0}), o->GetId()), 1);
  EXPECT_TRUE(o->IsOnLot());
}

TEST_F(PlacementPrimitivesTest, MoveSlotContentsNeedsTheSourceSlot) {
  cXObject* me = Ground();
  cXObject* other = Ground();
  EXPECT_EQ(Prim(*me, "MoveSlotContents" + Words(0, 0, 0, 0), other->GetId()), 1000 + kErrSlotOutOfRange);
  EXPECT_EQ(Prim(*me, "MoveSlotContents" + Words(1, 5, 0, 0), other->GetId()), 1000 + kErrStackNumberOutOfRange);
}

TEST_F(PlacementPrimitivesTest, SnapModesAndRoutingSlotErrors) {
  cXObject* me = Ground();
  cXObject* stack = Ground();
  stack->Place(At(5, 5), 1, nullptr, 0);
  EXPECT_EQ(Prim(*me, SnapNode(0, 5, 0), stack->GetId()), 1036);
  EXPECT_EQ(Prim(*me, SnapNode(0, 3, 0), 0), 1000 + kErrNoStackObject);
  EXPECT_EQ(Prim(*me, SnapNode(0, 3, 0), stack->GetId()), 1027) << "slot number = length 0";
  EXPECT_EQ(Prim(*me, SnapNode(0, 4, 0), stack->GetId()), 1027) << "the shared list is empty";
  EXPECT_EQ(Prim(*me, SnapNode(4, 0, 0), stack->GetId()), 1000 + kErrStackNumberOutOfRange);
  RoutingSlot slot;
  slot.target = 0;
  stack->RoutingSlots().push_back(slot);
  EXPECT_EQ(Prim(*me, SnapNode(0, 3, 0), stack->GetId()), 1032) << "no containment slot 0";
  EXPECT_EQ(Prim(*me, SnapNode(1, 3, 0), stack->GetId()), 1027);
  EXPECT_EQ(Prim(*me, SnapNode(0, 0, 0), stack->GetId(), 1), 1027) << "mode 0 reads the slot from parameter 0";
}

TEST_F(PlacementPrimitivesTest, SnapToARoutingSlotInTheWorld) {
  SnapPerson* me = Ground<SnapPerson>();
  me->Place(At(9, 9), 1, nullptr, 0);
  cXObject* stack = Ground();
  stack->Place(At(5, 5), 1, nullptr, 0);
  stack->SetData(kDataDirection, 2);
  RoutingSlot slot;
  slot.x = 0;
  slot.y = -16;  // one tile along -x at facing 0: along +y at facing 2
  slot.flags = 0x1000 | 0x10;  // face the object's facing + 4
  stack->RoutingSlots().push_back(slot);
  me->SetData(kDataDirection, 1);
  EXPECT_EQ(Prim(*me, SnapNode(0, 3, 1), stack->GetId()), 1) << cXObject::PlaceFailureCode();
  EXPECT_EQ(me->GetPosition(), At(5, 6));
  EXPECT_EQ(me->GetData(kDataDirection), 6);
  EXPECT_FLOAT_EQ(me->offsets[0], 48.0f) << "y moved";
  EXPECT_FLOAT_EQ(me->offsets[1], 64.0f) << "x moved";
  EXPECT_FLOAT_EQ(me->offsets[2], -5.0f) << "facing";
  EXPECT_FLOAT_EQ(me->marks[0], -999.0f);
  EXPECT_EQ(me->GetData(kDataSnapResult), 0);
}

TEST_F(PlacementPrimitivesTest, SnapFailuresAndWhatTheyLeave) {
  SnapPerson* me = Ground<SnapPerson>();
  me->Place(At(3, 5), 1, nullptr, 0);
  cXObject* stack = Ground();
  stack->Place(At(1, 5), 1, nullptr, 0);
  stack->SetData(kDataDirection, 0);  // its front is tile x 0: the outer ring
  me->SetData(kDataSnapResult, 9);
  EXPECT_EQ(Prim(*me, SnapNode(0, 2, 0), stack->GetId()), 0);
  EXPECT_EQ(me->GetData(kDataSnapResult), 2);
  EXPECT_EQ(me->GetData(kDataSnapInTheWay), 0);
  EXPECT_EQ(me->GetPosition(), At(3, 5));

  // Another room: fails with 52 = 0.
  stack->SetData(kDataDirection, 4);  // front (2, 5)
  world.rooms[Key(TileLocation::At(2, 5, 1))] = 7;
  EXPECT_EQ(Prim(*me, SnapNode(0, 2, 0), stack->GetId()), 0);
  EXPECT_EQ(me->GetData(kDataSnapResult), 0);
  world.rooms.clear();

  // A person in the way, asked to move.
  SnapPerson* blocker = Ground<SnapPerson>();
  blocker->Place(At(2, 5), 1, nullptr, 0);
  EXPECT_EQ(Prim(*me, SnapNode(0, 2, 2), stack->GetId()), 0);
  EXPECT_EQ(blocker->asked, 1);
  EXPECT_EQ(me->GetData(kDataSnapResult), 1);
  EXPECT_EQ(me->GetData(kDataSnapInTheWay), blocker->GetId());
  blocker->willMove = false;
  EXPECT_EQ(Prim(*me, SnapNode(0, 2, 2), stack->GetId()), 0);
  EXPECT_EQ(me->GetData(kDataSnapResult), 0) << "it would not move";
  EXPECT_EQ(me->GetData(kDataSnapInTheWay), blocker->GetId());
  EXPECT_EQ(Prim(*me, SnapNode(0, 2, 0), stack->GetId()), 0);
  EXPECT_EQ(blocker->asked, 2) << "not asked without the option";

  // Gone: the snap succeeds with my facing.
  blocker->RemoveFromWorld();
  me->SetData(kDataDirection, 6);
  EXPECT_EQ(Prim(*me, SnapNode(0, 2, 0), stack->GetId()), 1);
  EXPECT_EQ(me->GetPosition(), At(2, 5));
  EXPECT_EQ(me->GetData(kDataDirection), 6);
}

}  // namespace
