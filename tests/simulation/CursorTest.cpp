// The cursor object: carrying an object or group, moving it over the lot
// and into the slots of what stands there, dropping and releasing it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeLot.h"
#include "StarterContent.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXCursorObject.h"
#include "support/ScratchDir.h"
#include "support/StarterGuids.h"

namespace {

using namespace tova;
using tova_test::FakeView;
using tova_test::FakeWorld;
using tova_test::ScratchDir;

using tova_test::kChair;
using tova_test::kTable;
using tova_test::kLamp;
using tova_test::kBench;

class Funds : public iGameShell {
 public:
  int32_t funds = 100;
  int32_t FamilyFunds() const override { return funds; }
};

class Cursor : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent((dir / "data").string()));
    folder.Init((dir / "data").string() + "/");
    module.SetLot(&world, &view);
    ObjectDefinitionRecord r;
    r.SetGuid(0x7E570009);
    r.SetWord(ObjectDefinitionRecord::kObjectType, 9);
    cursorDefinition = std::make_unique<ObjectDefinition>(nullptr, nullptr, r, "Cursor", 0, 128);
  }
  void TearDown() override { module.Clear(); }
  cXObject* Placed(uint32_t guid, int x, int y) {
    cXObject* o = module.GetObjectById(module.CreateObject(folder.FindByGUID(guid)));
    EXPECT_NE(o, nullptr);
    EXPECT_TRUE(o->CanPlace(At(x, y), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
    o->Place(At(x, y), 1, nullptr, 0);
    return o;
  }
  cXCursorObject* Attach(cXObject* carried) {
    const int16_t id = module.AttachToCursor(carried ? carried->GetId() : 0, cursorDefinition.get(), 1);
    EXPECT_NE(id, 0);
    return static_cast<cXCursorObject*>(module.GetObjectById(id));
  }
  static FinePoint At(int x, int y) { return TileLocation::At(x, y, 1).GetCenterPoint(); }

  ScratchDir dir;
  ObjectFolder folder;
  FakeWorld world;
  FakeView view;
  std::unique_ptr<ObjectDefinition> cursorDefinition;
  ObjectModule module{&folder};
};

TEST_F(Cursor, AttachMoveAndDrop) {
  cXObject* chair = Placed(kChair, 5, 5);
  cXCursorObject* cursor = Attach(chair);
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->GetTypeCode(), TypeCode("CURS"));
  EXPECT_EQ(cursor->GetCarried(), chair);
  EXPECT_EQ(view.cursor, cursor->GetId());
  EXPECT_TRUE(chair->GetStateFlags() & 1) << "held";
  EXPECT_TRUE(cursor->GetStateFlags() & kStateCreated);
  // Put back where it was, then moved along.
  EXPECT_TRUE(cursor->IsCarriedPlaced());
  cursor->Place(At(8, 8), 1, nullptr, 0);
  EXPECT_EQ(cXObject::PlaceFailureCode(), 0);
  EXPECT_EQ(chair->GetTile(), TileLocation::At(8, 8, 1));
  EXPECT_EQ(cursor->GetTile(), TileLocation::At(8, 8, 1));
  module.DeleteObject(cursor->GetId());
  EXPECT_EQ(module.GetObjectById(chair->GetId()), chair);
  EXPECT_EQ(chair->GetTile(), TileLocation::At(8, 8, 1));
  EXPECT_FALSE(chair->GetStateFlags() & 1);
  EXPECT_EQ(view.cursor, 0);
  EXPECT_TRUE(module.GridCheck().empty());
}

TEST_F(Cursor, AnObjectNotPutDownIsDeletedWithTheCursor) {
  cXObject* chair = Placed(kChair, 5, 5);
  const int16_t chairId = chair->GetId();
  cXCursorObject* cursor = Attach(chair);
  world.water[tova_test::Key(TileLocation::At(9, 9, 1))] = true;
  cursor->Place(At(9, 9), 1, nullptr, 0);
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceWater);
  EXPECT_FALSE(cursor->IsCarriedPlaced());
  EXPECT_FALSE(chair->IsOnLot());
  module.DeleteObject(cursor->GetId());
  EXPECT_EQ(module.GetObjectById(chairId), nullptr);
  EXPECT_EQ(module.ObjectCount(), 0);
}

TEST_F(Cursor, ReleaseLetsGoWithoutDropping) {
  cXObject* chair = Placed(kChair, 5, 5);
  cXCursorObject* cursor = Attach(chair);
  cursor->LetGo();
  EXPECT_EQ(cursor->GetCarried(), nullptr);
  EXPECT_EQ(view.cursor, 0);
  module.DeleteObject(cursor->GetId());
  EXPECT_EQ(module.GetObjectById(chair->GetId()), chair);
}

TEST_F(Cursor, ContainerTargeting) {
  cXObject* table = Placed(kTable, 5, 5);
  // The lamp takes a table top when the floor there is taken.
  cXObject* lamp = Placed(kLamp, 8, 8);
  cXCursorObject* cursor = Attach(lamp);
  cursor->Place(At(5, 5), 1, nullptr, 0);
  EXPECT_EQ(cXObject::PlaceFailureCode(), 0);
  EXPECT_EQ(cursor->GetTargetContainer(), table->GetId());
  EXPECT_EQ(cursor->GetTargetSlot(), 0);
  EXPECT_EQ(lamp->GetContainer(), table);
  module.DeleteObject(cursor->GetId());
  EXPECT_EQ(table->GetObjectInSlot(0), lamp);

  struct Case {
    const char* what;
    int16_t kinds;
    int32_t code;
  };
  const Case cases[] = {{"floor only", 1, kPlaceOverlap}, {"counter only", 8, kPlaceCounterOnly}};
  for (const Case& c : cases) {
    cXObject* chair = Placed(kChair, 9, 9);
    chair->SetData(kDataSlotKinds, c.kinds);
    cXCursorObject* carrier = Attach(chair);
    carrier->Place(At(5, 5), 1, nullptr, 0);
    EXPECT_EQ(cXObject::PlaceFailureCode(), c.code) << c.what;
    EXPECT_FALSE(carrier->IsCarriedPlaced()) << c.what;
    carrier->LetGo();
    module.DeleteObject(carrier->GetId());
    module.DeleteObject(chair->GetId());
  }
}

TEST_F(Cursor, APurchaseBeyondTheFundsIsNotPlaced) {
  Funds funds;
  module.SetShell(&funds);
  const int16_t id = module.AttachNewObjectToCursor(folder.FindByGUID(kTable), cursorDefinition.get(), 1);
  ASSERT_NE(id, 0);
  auto* cursor = static_cast<cXCursorObject*>(module.GetObjectById(id));
  EXPECT_TRUE(cursor->IsPurchase());
  cursor->Place(At(6, 6), 1, nullptr, 0);
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceCannotAfford);
  EXPECT_FALSE(cursor->IsCarriedPlaced());
  funds.funds = 500;
  cursor->Place(At(7, 6), 1, nullptr, 0);
  EXPECT_EQ(cXObject::PlaceFailureCode(), 0);
  EXPECT_TRUE(cursor->IsCarriedPlaced());
  module.SetShell(nullptr);
}

TEST_F(Cursor, CarriesAWholeGroupAndTurnsIt) {
  cXObject* bench = Placed(kBench, 5, 5);
  std::vector<cXObject*> parts;
  bench->GetGroup(parts);
  for (cXObject* p : parts) p->SetData(kDataRotationStep, 2);
  cXCursorObject* cursor = Attach(parts[1]);
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->GetCarried(), parts[1]);
  std::vector<cXObject*> cursors;
  cursor->GetGroup(cursors);
  ASSERT_EQ(cursors.size(), 2u);
  cursors[0]->Place(At(8, 8), 1, nullptr, 0);
  EXPECT_EQ(parts[1]->GetTile(), TileLocation::At(9, 8, 1));
  EXPECT_EQ(cursors[1]->GetTile(), TileLocation::At(9, 8, 1));
  cursor->RotateTo(4);
  EXPECT_EQ(parts[0]->GetData(kDataDirection), 4);
  module.DeleteObject(cursor->GetId());
  EXPECT_EQ(module.ObjectCount(), 2);
  EXPECT_EQ(parts[0]->GetTile(), TileLocation::At(8, 8, 1));
  EXPECT_EQ(parts[1]->GetTile(), TileLocation::At(7, 8, 1));
  // A cursor over the lot's outer ring of tiles refuses a group that
  // would stand on it.
  cursor = Attach(parts[0]);
  cursor->Place(At(1, 8), 1, nullptr, 0);  // facing 4, the second part falls on x 0
  EXPECT_EQ(cXObject::PlaceFailureCode(), kPlaceBorder);
  module.DeleteObject(cursor->GetId());
  EXPECT_EQ(module.ObjectCount(), 0) << "not put down: deleted";
}

}  // namespace
