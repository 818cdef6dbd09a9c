// Object undo over the real object module, with the starter objects
// standing on a lot of the real world.
#include <gtest/gtest.h>

#include <memory>

#include "gamedata/ObjectFolder.h"
#include "simulation/StarterContent.h"
#include "support/ScratchDir.h"
#include "support/ToolFakes.h"
#include "world/LotWorld.h"
#include "world/cFixedWorld.h"
#include "world/tools/cTool.h"
#include "world/undo/ModuleUndoObjects.h"
#include "world/undo/ObjectUndoable.h"
#include "world/undo/UndoManager.h"
#include "support/StarterGuids.h"

namespace {

using namespace tova;

using tova_test::kChair;
using tova_test::kTable;
using tova_test::kLamp;

class ModuleObjectUndo : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent((dir / "data").string()));
        folder.Init((dir / "data").string() + "/");
        module.SetLot(&lot, nullptr);
        services.money = &money;
        tool = std::make_unique<cTool>(services);
    }
    void TearDown() override { manager.Clear(); }

    cXObject* Create(uint32_t guid) {
        const int16_t id = module.CreateObject(folder.FindByGUID(guid));
        EXPECT_NE(id, 0) << std::hex << guid;
        return module.GetObjectById(id);
    }
    cXObject* CreateAt(uint32_t guid, int x, int y, int facing) {
        cXObject* o = Create(guid);
        o->SetData(kDataDirection, static_cast<int16_t>(facing));
        EXPECT_TRUE(o->CanPlace(At(x, y), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
        o->Place(At(x, y), 1, nullptr, 0);
        return o;
    }
    static FinePoint At(int x, int y) { return TileLocation::At(x, y, 1).GetCenterPoint(); }

    tova_test::ScratchDir dir;
    ObjectFolder folder;
    cFixedWorld world{16};
    cLotWorld lot{world};
    ObjectModule module{&folder};
    ModuleUndoObjects objects{module};
    tova_test::FakeMoney money;
    ToolServices services;
    std::unique_ptr<cTool> tool;
    UndoManager manager;
};

TEST_F(ModuleObjectUndo, APurchaseOf500IsUndoneAndRedoneWithTheSameLotId) {
    CreateAt(kChair, 3, 3, 0);
    const int16_t id = CreateAt(kChair, 5, 6, 4)->GetId();
    money.money = 19500;  // charged when the carry ended
    manager.Push(new ObjectUndoable(objects, id, ObjectUndoable::kBought, 500, tool.get()));

    ASSERT_EQ(manager.Undo(), 0);
    EXPECT_EQ(money.money, 20000);
    ASSERT_NE(module.GetObjectById(id), nullptr);
    EXPECT_FALSE(module.GetObjectById(id)->IsOnLot());
    EXPECT_EQ(lot.GetObjectIdAt(TileLocation::At(5, 6, 1)), 0) << "its cell is empty";

    ASSERT_EQ(manager.Redo(), 0);
    EXPECT_EQ(money.money, 19500);
    // The chair is a build-mode item (category 1), booked under 7.
    EXPECT_EQ(money.expenses, (std::vector<std::string>{"7:-500", "7:500"}));
    cXObject* back = module.GetObjectById(id);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetDefinition()->GetGUID(), kChair);
    EXPECT_EQ(back->GetPosition(), At(5, 6));
    EXPECT_EQ(back->GetData(kDataDirection), 4);
    EXPECT_EQ(lot.GetObjectIdAt(TileLocation::At(5, 6, 1)), id);

    // Undone again and forgotten: the chair off the lot leaves the list.
    ASSERT_EQ(manager.Undo(), 0);
    manager.Clear();
    EXPECT_EQ(module.GetObjectById(id), nullptr);
    EXPECT_EQ(module.ObjectCount(), 1);
    EXPECT_EQ(ObjectUndoable::HandleCount(), 0u);
}

TEST_F(ModuleObjectUndo, ASaleIsUndoneAtItsPositionAndFacing) {
    CreateAt(kChair, 2, 2, 0);
    const int16_t id = CreateAt(kChair, 9, 7, 6)->GetId();
    CreateAt(kChair, 2, 4, 0);  // a later id stays taken
    auto* record = new ObjectUndoable(objects, id, ObjectUndoable::kRemoved, 64, tool.get());
    module.DeleteObject(id);  // sold
    money.money += 64;
    ASSERT_EQ(module.GetObjectById(id), nullptr);
    manager.Push(record);

    ASSERT_EQ(manager.Undo(), 0);
    cXObject* back = module.GetObjectById(id);
    ASSERT_NE(back, nullptr) << "re-created with the same lot id";
    EXPECT_EQ(back->GetDefinition()->GetGUID(), kChair);
    EXPECT_EQ(back->GetPosition(), At(9, 7));
    EXPECT_EQ(back->GetData(kDataDirection), 6);
    EXPECT_EQ(lot.GetObjectIdAt(TileLocation::At(9, 7, 1)), id);
    EXPECT_EQ(money.money, 20000);
    EXPECT_TRUE(module.GridCheck().empty());

    ASSERT_EQ(manager.Redo(), 0);
    EXPECT_FALSE(module.GetObjectById(id)->IsOnLot());
    EXPECT_EQ(money.money, 20064);
}

TEST_F(ModuleObjectUndo, HeldObjectsAreRestoredTheLastSlotToo) {
    cXObject* table = CreateAt(kTable, 6, 6, 0);
    ASSERT_EQ(table->SlotCount(), 2);
    const int16_t tableId = table->GetId();
    int16_t lampIds[2] = {};
    for (int slot = 0; slot < 2; ++slot) {
        cXObject* lamp = Create(kLamp);
        ASSERT_TRUE(lamp->CanPlace(At(6, 6), 1, table, slot)) << cXObject::PlaceFailureCode();
        lamp->Place(At(6, 6), 1, table, slot);
        lampIds[slot] = lamp->GetId();
    }
    auto* record = new ObjectUndoable(objects, tableId, ObjectUndoable::kRemoved, 160, tool.get());
    EXPECT_EQ(record->ChildCount(), 2u);
    module.DeleteObject(tableId);  // the table goes with what it holds
    ASSERT_EQ(module.ObjectCount(), 0);
    manager.Push(record);

    ASSERT_EQ(manager.Undo(), 0);
    table = module.GetObjectById(tableId);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetPosition(), At(6, 6));
    for (int slot = 0; slot < 2; ++slot) {
        cXObject* lamp = module.GetObjectById(lampIds[slot]);
        ASSERT_NE(lamp, nullptr) << slot;
        EXPECT_EQ(table->GetObjectInSlot(slot), lamp) << slot;
        EXPECT_EQ(lamp->GetContainer(), table) << slot;
        EXPECT_EQ(lamp->GetPosition(), At(6, 6)) << slot;
    }
    EXPECT_TRUE(module.GridCheck().empty());

    ASSERT_EQ(manager.Redo(), 0);
    for (int16_t id : {tableId, lampIds[0], lampIds[1]}) EXPECT_FALSE(module.GetObjectById(id)->IsOnLot()) << id;
    manager.Clear();
    EXPECT_EQ(module.ObjectCount(), 0) << "the objects off the lot are deleted with the record";
}

}  // namespace
