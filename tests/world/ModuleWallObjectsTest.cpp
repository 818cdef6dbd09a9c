// The wall tools' view of the real object module, with the starter objects
// on a lot of the real world.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "gamedata/ObjectFolder.h"
#include "simulation/StarterContent.h"
#include "simulation/cXObject.h"
#include "support/ScratchDir.h"
#include "support/ToolFakes.h"
#include "world/LotWorld.h"
#include "world/WallRecordFakes.h"
#include "world/cRotatableWorld.h"
#include "world/tools/cTool.h"
#include "world/undo/ModuleWallObjects.h"
#include "world/undo/WallUndoable.h"
#include "support/StarterGuids.h"

namespace {

using namespace tova;

using tova_test::kChair;
using tova_test::kTable;
using tova_test::kLamp;

class ModuleWall : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent((dir / "data").string()));
        folder.Init((dir / "data").string() + "/");
        module.SetLot(&lot, nullptr);
        world.RecomputeRooms(0);
        services = {&world, nullptr, &money, nullptr, &clock, nullptr};
        tool = std::make_unique<cTool>(services);
    }
    cXObject* CreateAt(uint32_t guid, int x, int y, cXObject* container = nullptr, int slot = 0) {
        cXObject* o = module.GetObjectById(module.CreateObject(folder.FindByGUID(guid)));
        EXPECT_NE(o, nullptr);
        const FinePoint at = TileLocation::At(x, y, 1).GetCenterPoint();
        EXPECT_TRUE(o->CanPlace(at, 1, container, slot)) << cXObject::PlaceFailureCode();
        o->Place(at, 1, container, slot);
        return o;
    }

    tova_test::ScratchDir dir;
    ObjectFolder folder;
    tova_test::WallPrices prices;
    cRotatableWorld world{16, tova_test::PricedServices(&prices)};
    cLotWorld lot{world};
    ObjectModule module{&folder};
    ModuleWallObjects objects{module};
    tova_test::FakeMoney money;
    tova_test::ManualClock clock;
    tova_test::RecordingSoundPlayer sound;
    ToolServices services;
    std::unique_ptr<cTool> tool;
};

TEST_F(ModuleWall, ATileListsItsObjectsAndWhatTheyHold) {
    cXObject* table = CreateAt(kTable, 6, 6);
    cXObject* lamp = CreateAt(kLamp, 6, 6, table, 0);
    const auto found = objects.ObjectsAt(TileLocation::At(6, 6, 1));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].id, table->GetId());
    EXPECT_EQ(found[1].id, lamp->GetId());
    EXPECT_EQ(found[0].type, 4);
    EXPECT_FALSE(found[0].person || found[0].inUse);
    EXPECT_TRUE(objects.ObjectsAt(TileLocation::At(7, 6, 1)).empty());

    lamp->SetData(kDataUseCount, 1);
    EXPECT_TRUE(objects.ObjectsAt(TileLocation::At(6, 6, 1))[1].inUse);
    EXPECT_EQ(objects.GetSaleValue(table->GetId()), table->GetSaleValue());
}

TEST_F(ModuleWall, AWallRecordIsRefusedByALiveObjectUnderADiagonal) {
    CreateAt(kChair, 6, 6);
    auto* record = new WallUndoable(*tool, &objects);
    record->AddRef();
    record->SetStart({5, 5, 1});
    record->SetStyle(255, 255);
    record->SetMode(WallUndoable::kDraw);
    EXPECT_FALSE(record->DragTo({8, 8, 1}));
    EXPECT_EQ(record->Error(), 11);
    record->Release();
}

TEST_F(ModuleWall, TheWallCursorIsMadeMovedHiddenAndDeleted) {
    EXPECT_FALSE(objects.CreateCursor("No Such Cursor", 1));
    ASSERT_TRUE(objects.CreateCursor("Wall Cursor", 1));
    cXObject* cursor = module.GetObjectById(objects.CursorId());
    ASSERT_NE(cursor, nullptr);
    EXPECT_TRUE(cursor->IsCursor());
    objects.SetCursorMode(3);
    EXPECT_EQ(cursor->GetData(kDataGraphic), 3);
    ASSERT_TRUE(objects.MoveCursor({5 * 16 + 1, 7 * 16 + 1}, 1, 0));
    EXPECT_EQ(cursor->GetPosition(), (FinePoint{5 * 16 + 1, 7 * 16 + 1}));
    objects.HideCursor();
    EXPECT_FALSE(cursor->IsOnLot());
    const int16_t id = objects.CursorId();
    objects.DeleteCursor();
    EXPECT_EQ(module.GetObjectById(id), nullptr);
}

}  // namespace
