#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/ToolFakes.h"
#include "world/tools/cTool.h"
#include "world/undo/ObjectUndoable.h"
#include "world/undo/UndoManager.h"

namespace {

// Live objects by lot id: whether each is in the list and on the lot, where
// it stands and what it holds. Lot ids are reused lowest first, as the
// object list does.
class RecordingObjects : public iUndoObjects {
public:
    struct Object {
        bool onLot = true;
        ObjectPlacement at;
        std::vector<int16_t> slots;
        bool architecture = false;
    };
    std::map<int16_t, Object> objects;
    std::vector<std::string> log;

    bool Exists(int16_t id) const override { return objects.count(id) != 0; }
    int16_t LeadOf(int16_t id) const override { return id; }
    bool GetPlacement(int16_t id, ObjectPlacement& out) const override {
        out = objects.at(id).at;
        return true;
    }
    bool IsArchitecture(int16_t id) const override { return objects.at(id).architecture; }
    std::vector<int16_t> SlotObjects(int16_t id) const override { return objects.at(id).slots; }
    int16_t CreateObject(uint32_t definition) override {
        int16_t id = 1;
        while (objects.count(id)) ++id;
        objects[id].at.definition = definition;
        objects[id].onLot = false;
        log.push_back("create " + std::to_string(id));
        return id;
    }
    void DeleteFromWorld(int16_t id) override {
        objects.at(id).onLot = false;
        log.push_back("off " + std::to_string(id));
    }
    void DeleteObject(int16_t id) override {
        objects.erase(id);
        log.push_back("delete " + std::to_string(id));
    }
    void RemoveFromWorld(int16_t id) override { objects.at(id).onLot = false; }
    int32_t GetFacing(int16_t id) const override { return objects.at(id).at.facing; }
    void TurnOneStep(int16_t id) override { objects.at(id).at.facing = (objects.at(id).at.facing + 1) & 7; }
    bool CanPlace(int16_t, const ObjectPlacement&) override { return true; }
    bool Place(int16_t id, const ObjectPlacement& at) override {
        Object& o = objects.at(id);
        o.at.position = at.position;
        o.at.level = at.level;
        o.at.container = at.container;
        o.at.slot = at.slot;
        o.onLot = true;
        log.push_back("place " + std::to_string(id) + " at " + std::to_string(at.position.x) + "," +
                      std::to_string(at.position.y) + " facing " + std::to_string(o.at.facing));
        return true;
    }
    bool IsOnLot(int16_t id) const override { return objects.at(id).onLot; }
};

class ObjectUndo : public ::testing::Test {
protected:
    tova_test::FakeMoney money;
    ToolServices services;
    RecordingObjects objects;
    std::unique_ptr<cTool> tool;
    UndoManager manager;

    void SetUp() override {
        services.money = &money;
        tool = std::make_unique<cTool>(services);
    }
    void TearDown() override { manager.Clear(); }
    RecordingObjects::Object& Add(int16_t id, int x, int y, int facing) {
        auto& o = objects.objects[id];
        o.at.position = {x * 16 + 8, y * 16 + 8};
        o.at.facing = facing;
        o.at.definition = 0x1000u + static_cast<uint32_t>(id);
        return o;
    }
};

TEST_F(ObjectUndo, APurchaseOf500IsUndoneAndRedoneWithTheSameLotId) {
    Add(3, 5, 5, 2);
    money.money = 19500;  // the move tool charged it when the carry ended
    auto* record = new ObjectUndoable(objects, 3, ObjectUndoable::kBought, 500, tool.get());
    manager.Push(record);  // applied: the after placement is captured
    ASSERT_EQ(manager.Undo(), 0);
    EXPECT_EQ(money.money, 20000);
    EXPECT_EQ(money.expenses, std::vector<std::string>{"6:-500"});
    EXPECT_FALSE(objects.objects.at(3).onLot);
    ASSERT_EQ(manager.Redo(), 0);
    EXPECT_EQ(money.money, 19500);
    EXPECT_TRUE(objects.objects.at(3).onLot);
    EXPECT_EQ(record->HandleLotId(), 3);
    EXPECT_EQ(tool->GetExpenseCategory(), 7) << "the tool's category is put back";
}

TEST_F(ObjectUndo, ASaleIsUndoneAtItsPositionAndFacing) {
    for (int16_t id = 1; id <= 3; ++id) Add(id, 1, id, 0);  // ids below the sold one are taken
    Add(4, 9, 7, 6).architecture = true;
    auto* record = new ObjectUndoable(objects, 4, ObjectUndoable::kRemoved, 300, tool.get());
    objects.objects.erase(4);  // sold: the object leaves the list
    money.money += 300;
    manager.Push(record);
    ASSERT_EQ(manager.Undo(), 0);
    ASSERT_TRUE(objects.Exists(4)) << "re-created with the same lot id";
    EXPECT_EQ(objects.objects.at(4).at.position, (tova::FinePoint{9 * 16 + 8, 7 * 16 + 8}));
    EXPECT_EQ(objects.objects.at(4).at.facing, 6);
    EXPECT_TRUE(objects.objects.at(4).onLot);
    EXPECT_EQ(money.expenses, std::vector<std::string>{"7:300"}) << "an architecture item books as 7";
    ASSERT_EQ(manager.Redo(), 0);
    EXPECT_FALSE(objects.objects.at(4).onLot);
    // The last record gone, the object off the lot is deleted with it.
    manager.Clear();
    EXPECT_FALSE(objects.Exists(4));
    EXPECT_EQ(ObjectUndoable::HandleCount(), 0u);
}

TEST_F(ObjectUndo, HeldObjectsAreRestoredTheLastSlotToo) {
    Add(1, 4, 4, 0).slots = {2, 0, 5};  // an empty middle slot; 5 is in the last slot
    Add(2, 4, 4, 0).at.container = 1;
    Add(5, 4, 4, 0).at.container = 1;
    auto* record = new ObjectUndoable(objects, 1, ObjectUndoable::kMoved, 0, tool.get());
    EXPECT_EQ(record->ChildCount(), 2u);
    // The table moves one tile with what it holds.
    for (int16_t id : {1, 2, 5}) objects.objects.at(id).at.position.x += 16;
    manager.Push(record);  // applied: each after placement is captured
    objects.log.clear();
    ASSERT_EQ(manager.Undo(), 0);
    for (int16_t id : {1, 2, 5}) EXPECT_EQ(objects.objects.at(id).at.position.x, 4 * 16 + 8) << id;
    ASSERT_EQ(manager.Redo(), 0);
    for (int16_t id : {1, 2, 5}) EXPECT_EQ(objects.objects.at(id).at.position.x, 5 * 16 + 8) << id;
}

}  // namespace
