// The object primitives on the starter objects: making instances (every
// placement kind, the flags that refuse a crowded tile, what the new object
// is handed), grabbing, dropping, moving between and snapping into slots of
// the starter table, laying the fixed definition under objects and their
// clusters, and knowing a group part by its master.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "PrimitiveFixture.h"
#include "StarterContent.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/CreationPrimitives.h"
#include "simulation/PlacementPrimitives.h"
#include "support/ScratchDir.h"
#include "support/StarterGuids.h"

using namespace tova;
using namespace tova_test;

namespace {

using tova_test::kTable;
using tova_test::kLamp;
constexpr uint32_t kCover = 0x24C95F99;

class StarterObjects : public PrimitiveFixture {
 protected:
  void SetUp() override {
    PrimitiveFixture::SetUp();
    // The fixed definition that place-fixed-object lays: it shares tiles
    // (word 8 non-blocking) and stands on the ground (words 42 and 4).
    const std::filesystem::path cover = dir / "Cover.res";
    std::ofstream(cover) << "file GameData/Objects/Cover.iff\n"
                            "object 128 \"Cover\"\n  guid 0x24C95F99\n  type 4\n  entry 0 4096\nend\n"
                            "tree 4096 \"Cover: init\"\n  version 1\n"
                            "n0: Expression bytes 42 0 3 1 0 5 3 7 -> n1 n1\n"
                            "n1: Expression bytes 8 0 4 0 0 5 3 7 -> n2 n2\n"
                            "n2: Expression bytes 4 0 1 0 0 5 3 7 -> true true\nend\n";
    ASSERT_NO_FATAL_FAILURE(CompileStarterContent((dir / "data").string(), {cover.string()}));
    folder.Init((dir / "data").string() + "/");
    lot.SetLot(&world, &view);
    me = Placed(kTable, 5, 5, 0);
    stack = Placed(kTable, 8, 8, 2);
    marker = lot.GetObjectById(lot.CreateObject(folder.FindByGUID(kTable)));
    marker->SetData(kDataFlags, kFlagNonBlocking);
    marker->Place(At(11, 11), 1, 0, 0);
  }
  void TearDown() override { lot.Clear(); }
  cXObject* Placed(uint32_t guid, int x, int y, int facing) {
    cXObject* o = lot.GetObjectById(lot.CreateObject(folder.FindByGUID(guid)));
    o->SetData(kDataDirection, static_cast<int16_t>(facing));
    EXPECT_TRUE(o->CanPlace(At(x, y), 1, 0, 0)) << cXObject::PlaceFailureCode();
    o->Place(At(x, y), 1, 0, 0);
    return o;
  }
  static std::string Create(uint32_t guid, int kind, int flags, int local = 0) {
    return "CreateObjectInstance" + Bytes({static_cast<int>(guid & 0xFF), static_cast<int>((guid >> 8) & 0xFF),
                                           static_cast<int>((guid >> 16) & 0xFF), static_cast<int>(guid >> 24), kind,
                                           flags, local});
  }
  // Runs the creation on me; the new stack object (0 when it failed), or
  // 1000 + an error.
  int32_t Made(const std::string& node, int16_t p0 = 0, int16_t p3 = 0) {
    own.Add(kTypeBHAV, 4098,
            AssembleTrees("tree 4098 \"C\"\n params 4\n locals 2\n"
                          "n0: " + Expr(kOwnerLocal, 0, 5, kOwnerParam, 3) + " -> n1 n1\n"
                          "n1: " + Expr(kOwnerLocal, 1, 5, kOwnerParam, 2) + " -> n2 n2\n"
                          "n2: " + node + " -> n3 false\n"
                          "n3: " + Expr(kOwnerTemp, 7, 5, kOwnerStackObjectId, 0) + " -> true true\nend\n")[0]
                .bytes,
            "C");
    const int16_t params[4] = {p0, 0, turn, p3};
    me->SetErrorCode(0);
    me->Temps()[7] = 0;
    const bool result = me->RunTree(behavior(), stack->GetId(), 4098, params);
    const int16_t error = me->GetErrorCode();
    me->SetErrorCode(0);
    if (error != 0) return 1000 + error;
    return result ? me->Temps()[7] : 0;
  }

  ScratchDir dir;
  ObjectFolder folder;
  ObjectModule lot{&folder};
  cXObject* me = nullptr;
  cXObject* stack = nullptr;
  cXObject* marker = nullptr;
  int16_t turn = 0;  // local 1, for kind 9
};

TEST_F(StarterObjects, EveryPlacementKind) {
  struct Case {
    int kind;
    int tileX, tileY;  // -1: off the lot
    int holder;  // 0 none, 1 me, 2 the stack object, 3 the marker
    int16_t turn;
    int facing;  // -1: not checked
  };
  const Case cases[] = {
      {0, 4, 5, 0, 0, -1},    // in front of me (facing 0: -x)
      {1, 5, 5, 1, 0, -1},    // in my slot
      {2, 5, 5, 1, 0, -1},
      {3, 8, 9, 0, 0, -1},    // in front of the stack object (facing 2: +y)
      {4, 8, 8, 2, 0, -1},    // in its slot
      {6, -1, -1, 0, 0, -1},  // out of the world
      {7, 11, 11, 3, 0, -1},  // at the object of parameter 0
      {8, 11, 11, 3, 0, -1},  // at the object of local 0
      {9, 5, 6, 0, 2, 6},     // towards 0 + 2 (+y), facing 0 + 2 + 4
      {9, 6, 5, 0, 4, 0},     // towards +x
      {9, 5, 4, 0, 6, 2},     // towards -y
      {9, 5, 5, 0, 1, -1},    // an odd direction stays on my tile: the table is there
  };
  for (const Case& c : cases) {
    turn = c.turn;
    const int32_t before = lot.ObjectCount();
    const int32_t id = Made(Create(kLamp, c.kind, 0, c.kind == 9 ? 1 : 0), marker->GetId(), marker->GetId());
    SCOPED_TRACE("kind " + std::to_string(c.kind) + " turn " + std::to_string(c.turn));
    if (c.kind == 9 && c.turn == 1) {
      EXPECT_EQ(id, 0);
      EXPECT_EQ(lot.ObjectCount(), before) << "the refused object is deleted again";
      continue;
    }
    ASSERT_GT(id, 0);
    cXObject* lamp = lot.GetObjectById(static_cast<int16_t>(id));
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(lamp->GetDefinition()->GetGUID(), kLamp);
    if (c.tileX < 0) {
      EXPECT_FALSE(lamp->IsOnLot());
    } else {
      EXPECT_EQ(lamp->GetTile(), TileLocation::At(c.tileX, c.tileY, 1));
    }
    cXObject* const holders[4] = {nullptr, me, stack, marker};
    EXPECT_EQ(lamp->GetContainer(), holders[c.holder]);
    if (c.facing >= 0) {
      EXPECT_EQ(lamp->GetData(kDataDirection), c.facing);
    }
    lot.DeleteObject(lamp->GetId());
  }
}

TEST_F(StarterObjects, RefusalsAndErrors) {
  EXPECT_EQ(Made(Create(0x12345678, 0, 0)), 0) << "no such definition";
  EXPECT_EQ(Made(Create(kLamp, 0, 0x12)), 1054) << "both pass flags";
  const int32_t before = lot.ObjectCount();
  EXPECT_EQ(Made(Create(kLamp, 8, 0, 5)), 1000 + kErrStackNumberOutOfRange);
  EXPECT_EQ(Made(Create(kLamp, 8, 0), 0, 999), 0) << "no object in local 0";
  EXPECT_EQ(Made(Create(kLamp, 8, 0x08), 0, marker->GetId()), 0) << "the tile holds the marker";
  const int32_t lamp = Made(Create(kLamp, 8, 0x01), 0, marker->GetId());
  EXPECT_GT(lamp, 0) << "no lamp there yet";
  EXPECT_EQ(Made(Create(kLamp, 8, 0x01), 0, marker->GetId()), 0) << "do not duplicate";
  EXPECT_EQ(lot.ObjectCount(), before + 1);

  // A wall on the side the new object faces.
  turn = 2;
  world.walls[Key(TileLocation::At(5, 6, 1))] = 0x2;
  EXPECT_EQ(Made(Create(kLamp, 9, 0, 1)), 0);
  // Another room than the stack object's.
  world.rooms[Key(TileLocation::At(8, 9, 1))] = 4;
  EXPECT_EQ(Made(Create(kLamp, 3, 0)), 0);
  EXPECT_EQ(lot.ObjectCount(), before + 1);
}

TEST_F(StarterObjects, TheNewObjectIsHandedIdsOrTempZero) {
  me->Temps()[0] = 77;
  const int32_t a = Made(Create(kLamp, 6, 0x02));
  ASSERT_GT(a, 0);
  cXObject* lamp = lot.GetObjectById(static_cast<int16_t>(a));
  ASSERT_GT(lamp->FrameCount(), 0);
  EXPECT_EQ(lamp->FrameAt(0)->Params()[0], me->GetId());
  EXPECT_EQ(lamp->FrameAt(0)->stackObject, stack->GetId());
  me->Temps()[0] = 77;
  const int32_t b = Made(Create(kLamp, 6, 0x10));
  ASSERT_GT(b, 0);
  EXPECT_EQ(lot.GetObjectById(static_cast<int16_t>(b))->FrameAt(0)->Params()[0], 77);
}

TEST_F(StarterObjects, GrabDropAndMoveBetweenSlots) {
  const int32_t id = Made(Create(kLamp, 6, 0));
  ASSERT_GT(id, 0);
  cXObject* lamp = lot.GetObjectById(static_cast<int16_t>(id));
  EXPECT_EQ(Prim(*me, "MoveSlotContents" + Words(0, 0, 0, 1), stack->GetId()), 0) << "my slot 0 is empty";
  EXPECT_EQ(Prim(*me, "Drop" + Words(0), 0), 0) << "nothing to drop";
  EXPECT_EQ(Prim(*me, "Grab" + Words(0), 0), 0) << "no stack object";
  EXPECT_EQ(Prim(*me, "Grab" + Words(0), lamp->GetId()), 1);
  EXPECT_EQ(lamp->GetContainer(), me);
  EXPECT_EQ(me->GetObjectInSlot(0), lamp);

  EXPECT_EQ(Prim(*me, "MoveSlotContents" + Words(0, 0, 0, 1), stack->GetId()), 1);
  EXPECT_EQ(lamp->GetContainer(), stack);
  EXPECT_EQ(stack->GetObjectInSlot(1), lamp);
  EXPECT_EQ(me->GetObjectInSlot(0), nullptr);
  EXPECT_EQ(Prim(*stack, "MoveSlotContents" + Words(1, 0, 0, 0), me->GetId(), 1), 1) << "source slot from parameter 0";
  EXPECT_EQ(me->GetObjectInSlot(0), lamp);
  EXPECT_EQ(Prim(*me, "MoveSlotContents" + Words(0, 0, 0, 7), stack->GetId()), 0) << "no slot 7 on the table";
  EXPECT_EQ(me->GetObjectInSlot(0), lamp);

  EXPECT_EQ(Prim(*me, "Drop" + Words(0), 0), 1);
  EXPECT_EQ(lamp->GetContainer(), nullptr);
  EXPECT_EQ(lamp->GetTile(), TileLocation::At(4, 5, 1)) << "in front of me";
}

int32_t CoversAt(ObjectModule& lot, int x, int y) {
  std::vector<cXObject*> here;
  lot.ObjectsInCell(TileLocation::At(x, y, 1), here);
  int32_t n = 0;
  for (cXObject* o : here) n += o->GetDefinition() && o->GetDefinition()->GetGUID() == kCover ? 1 : 0;
  return n;
}

TEST_F(StarterObjects, PlaceFixedUnderASingleObject) {
  const std::string place = "PlaceFixedObject" + Bytes({0, 0});
  EXPECT_EQ(Prim(*me, place, 0), 1000 + kErrNoStackObject);
  const int32_t off = Made(Create(kLamp, 6, 0));
  EXPECT_EQ(Prim(*me, place, static_cast<int16_t>(off)), 0) << "not on the lot";
  EXPECT_EQ(Prim(*me, place, me->GetId()), 1);
  EXPECT_EQ(CoversAt(lot, 5, 5), 1);
  EXPECT_EQ(Prim(*me, place, me->GetId()), 0) << "an instance is there already";
  EXPECT_EQ(CoversAt(lot, 5, 5), 1);
  stack->SetData(kDataFlags, static_cast<int16_t>(stack->GetData(kDataFlags) | 0x800));
  EXPECT_EQ(Prim(*me, place, stack->GetId()), 0) << "an object that is never covered";
  EXPECT_EQ(CoversAt(lot, 8, 8), 0);
  // In front (kind 1) needs a wall of a listed type on the turned side.
  EXPECT_EQ(Prim(*me, "PlaceFixedObject" + Bytes({1, 0}), me->GetId()), 0) << "no wall";
  EXPECT_EQ(CoversAt(lot, 4, 5), 0);
}

TEST_F(StarterObjects, PlaceFixedUnderACluster) {
  me->SetData(40, 0x20);  // the seed
  auto p = std::make_unique<FakePerson>(definition.get(), &lot);
  p->InitFromDefinition();
  FakePerson* person = p.get();
  lot.AddObject(std::move(p), 0, true);
  person->SetData(kDataPlacement, kPlaceOnGround);
  person->Place({6 * 16 + 4, 5 * 16 + 8}, 1, nullptr, 0);  // next door, off its tile's middle
  cXObject* apart = Placed(kTable, 5, 8, 0);  // not touching the seed's tile
  (void)apart;

  const std::string place = "PlaceFixedObject" + Bytes({0, 0});
  person->SetData(kDataUseCount, 1);
  EXPECT_EQ(Prim(*me, place, me->GetId()), 0) << "a busy member";
  EXPECT_EQ(CoversAt(lot, 5, 5) + CoversAt(lot, 6, 5), 0);
  EXPECT_EQ(Prim(*me, "PlaceFixedObject" + Bytes({0, 1}), me->GetId()), 1) << "allowed busy";
  EXPECT_EQ(CoversAt(lot, 5, 5), 1);
  EXPECT_EQ(CoversAt(lot, 6, 5), 1) << "under the person too";
  EXPECT_EQ(CoversAt(lot, 5, 8), 0);
  EXPECT_EQ(person->GetPosition(), TileLocation::At(6, 5, 1).GetCenterPoint()) << "moved to its tile's middle";
}

TEST_F(StarterObjects, AMultiTileGroupIsCentredOnItsTargetTile) {
  // A target that does not stand on its tile's centre.
  cXObject* spot = lot.GetObjectById(lot.CreateObject(folder.FindByGUID(kTable)));
  spot->SetData(kDataFlags, kFlagNonBlocking);
  const FinePoint offCentre{3 * 16 + 3, 11 * 16 + 12};
  spot->Place(offCentre, 1, 0, 0);
  ASSERT_EQ(spot->GetPosition(), offCentre);

  const int32_t bench = Made(Create(0x4C3A1004, 7, 0), spot->GetId());
  ASSERT_GT(bench, 0);
  EXPECT_EQ(lot.GetObjectById(static_cast<int16_t>(bench))->GetPosition(), TileLocation::At(3, 11, 1).GetCenterPoint());
  lot.RemoveObject(static_cast<int16_t>(bench), false);
  const int32_t lamp = Made(Create(kLamp, 7, 0), spot->GetId());
  ASSERT_GT(lamp, 0);
  EXPECT_EQ(lot.GetObjectById(static_cast<int16_t>(lamp))->GetPosition(), offCentre) << "a single object is not moved";
}

TEST_F(StarterObjects, TestObjectTypeKnowsAPartByItsMaster) {
  cXObject* lead = lot.GetObjectById(lot.CreateObject(folder.FindByGUID(0x4C3A1004)));
  ASSERT_NE(lead, nullptr);
  std::vector<cXObject*> parts;
  lead->GetGroup(parts);
  ASSERT_EQ(parts.size(), 2u);
  const auto test = [&](cXObject* part, uint32_t guid) {
    me->Temps()[2] = part->GetId();
    return Prim(*me, "TestObjectType" + Words(static_cast<int>(guid & 0xFFFF), static_cast<int>(guid >> 16), 2, kOwnerTemp), 0);
  };
  for (cXObject* part : parts) {
    EXPECT_EQ(test(part, 0x4C3A1004), 1) << "the master's GUID";
    EXPECT_EQ(test(part, part->GetDefinition()->GetGUID()), 1) << "its own";
    EXPECT_EQ(test(part, kTable), 0);
  }
  EXPECT_EQ(test(parts[0], 0x4C3A1006) + test(parts[1], 0x4C3A1006), 1) << "one part is the right one";

  // Set-to-next kind 3: from any part to the group's lead.
  const std::string toLead = "SetToNext" + Bytes({0, 0, 0, 0, 3 | 0x80, kOwnerTemp, 0, 1});
  for (cXObject* part : parts) {
    me->Temps()[1] = part->GetId();
    EXPECT_EQ(Prim(*me, toLead, 0), 1);
    EXPECT_EQ(me->Temps()[1], lead->GetId());
  }
  me->Temps()[1] = me->GetId();
  EXPECT_EQ(Prim(*me, toLead, 0), 0) << "a single-tile object";
  EXPECT_EQ(me->Temps()[1], 0);
}

TEST_F(StarterObjects, SnapIntoTheStackObjectsSlot) {
  const int32_t id = Made(Create(kLamp, 6, 0));
  ASSERT_GT(id, 0);
  cXObject* lamp = lot.GetObjectById(static_cast<int16_t>(id));
  lamp->Place(At(8, 10), 1, nullptr, 0);  // in the stack object's room (outdoors)
  world.routing = 1;
  lamp->SetData(kDataSnapInTheWay, 5);
  EXPECT_EQ(Prim(*lamp, "Snap" + Words(0, 1, 4), stack->GetId()), 0) << "the footprint's routing test refuses";
  EXPECT_EQ(lamp->GetData(kDataSnapInTheWay), 0);
  EXPECT_EQ(lamp->GetTile(), TileLocation::At(8, 10, 1));
  EXPECT_EQ(Prim(*lamp, "Snap" + Words(0, 1, 1), stack->GetId()), 1) << "without the footprint";
  EXPECT_EQ(lamp->GetContainer(), stack);
  EXPECT_EQ(stack->GetObjectInSlot(0), lamp);
  EXPECT_EQ(lamp->GetData(kDataSnapResult), 0);
}

class NeighbourLamps : public iNeighbourDefinitions {
 public:
  ObjectDefinition* lamp = nullptr;
  std::vector<int16_t> asked;
  ObjectDefinition* DefinitionOfNeighbour(int16_t id) override {
    asked.push_back(id);
    return id == 0 ? lamp : nullptr;
  }
};

TEST_F(StarterObjects, FlagFourTakesTheStackObjectsNeighbourDefinition) {
  EXPECT_EQ(Made(Create(kTable, 6, 0x04)), 0) << "no neighbourhood";
  NeighbourLamps neighbours;
  neighbours.lamp = folder.FindByGUID(kLamp);
  ::tova::CreationPrimitives::SetNeighbourDefinitions(&neighbours);
  const int32_t id = Made(Create(kTable, 6, 0x04));
  ::tova::CreationPrimitives::SetNeighbourDefinitions(nullptr);
  ASSERT_GT(id, 0);
  EXPECT_EQ(lot.GetObjectById(static_cast<int16_t>(id))->GetDefinition()->GetGUID(), kLamp) << "not the operand's table";
  EXPECT_EQ(neighbours.asked, std::vector<int16_t>{0}) << "a table is neighbour 0";
}

}  // namespace
