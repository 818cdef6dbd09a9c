// The move tool over the real object module and the starter objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "framework/cRZKeyboard.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"
#include "simulation/StarterContent.h"
#include "simulation/cXCursorObject.h"
#include "support/PriceTable.h"
#include "support/ScratchDir.h"
#include "support/ToolFakes.h"
#include "world/LotWorld.h"
#include "world/cFixedWorld.h"
#include "world/tools/BuildToolContext.h"
#include "world/tools/ToolInput.h"
#include "world/tools/cMoveTool.h"
#include "world/tools/cToolSet.h"
#include "world/undo/ModuleUndoObjects.h"
#include "world/undo/UndoManager.h"
#include "support/StarterGuids.h"

namespace {

using namespace tova;

using tova_test::kChair;
using tova_test::kTable;

class MoveTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent((dir / "data").string()));
        folder.Init((dir / "data").string() + "/");
        world.FlattenTerrain();
        module.SetLot(&lot, nullptr);
        ObjectDefinitionRecord r;
        r.SetGuid(0x7E570009);
        r.SetWord(ObjectDefinitionRecord::kObjectType, 9);
        cursorDefinition = std::make_unique<ObjectDefinition>(nullptr, nullptr, r, "Tile Cursor", 0, 128);
        // The chair is a category-1 item, the table a category-4 one.
        for (auto [guid, category] : {std::pair{kChair, 1}, std::pair{kTable, 4}}) {
            ObjectDefinitionRecord& record = folder.FindByGUID(guid)->GetRecord();
            record.SetWord(ObjectDefinitionRecord::kCatalogMask1, 0);
            record.SetWord(ObjectDefinitionRecord::kCategory, static_cast<int16_t>(category));
        }
        GetBuildToolContext() = BuildToolContext{};
        GetBuildToolContext().module = &module;
        GetBuildToolContext().catalogue = &folder;
        GetBuildToolContext().undoObjects = &objects;
        GetBuildToolContext().cursorDefinition = cursorDefinition.get();
        cMoveTool::ClearItemLists();
        services = {&world, &shell, &money, &keyboard, &clock, nullptr};
        set = std::make_unique<cToolSet>(services);
    }
    void TearDown() override {
        SetCurrentTool(nullptr);
        set.reset();
        module.Clear();
        cMoveTool::ClearItemLists();
        GetBuildToolContext() = BuildToolContext{};
    }
    cMoveTool& Move() { return *static_cast<cMoveTool*>(set->GetTool(cToolSet::kMove)); }
    UndoManager& Undo() { return set->GetUndoManager(); }
    static FinePoint At(int x, int y) { return TileLocation::At(x, y, 1).GetCenterPoint(); }
    // A click at a tile: move there, press and release at the same point.
    void Click(int x, int y, int16_t picked = 0) {
        Move().MouseMove(At(x, y), picked, plain);
        Move().MouseDown(At(x, y), picked, plain);
        Move().MouseUp(At(x, y), picked, plain);
    }
    void Buy(uint32_t guid, int category) {
        const auto& list = cMoveTool::ItemList(category);
        const auto it = std::find(list.begin(), list.end(), guid);
        ASSERT_NE(it, list.end());
        Move().SetParameter(static_cast<int16_t>(cMoveTool::ItemId(category, static_cast<int32_t>(it - list.begin()))));
        SetCurrentTool(&Move());
    }
    int16_t ObjectAt(int x, int y) { return lot.GetObjectIdAt(TileLocation::At(x, y, 1)); }
    void Hold(bool ctrl) {
        if (ctrl)
            keyboard.KeyDown(cRZKeyboard::kVKControl);
        else
            keyboard.KeyUp(cRZKeyboard::kVKControl);
    }
    int Played(const std::string& name) {
        return static_cast<int>(std::count(sound.played.begin(), sound.played.end(), name + " -4"));
    }

    tova_test::ScratchDir dir;
    ObjectFolder folder;
    tova_test::PriceTable prices;
    cFixedWorld world{16, WorldServices{&prices, nullptr, nullptr, {}}};
    cLotWorld lot{world};
    ObjectModule module{&folder};
    ModuleUndoObjects objects{module};
    std::unique_ptr<ObjectDefinition> cursorDefinition;
    tova_test::RecordingSoundPlayer sound;
    tova_test::ManualClock clock;
    tova_test::FakeShell shell;
    tova_test::FakeMoney money;
    cRZKeyboard keyboard;
    ToolServices services;
    std::unique_ptr<cToolSet> set;
    ToolMouseEvent plain;
};

TEST(MoveToolLists, ItemIdsAddressTheListsByCategoryRange) {
    std::vector<cMoveTool::CatalogueEntry> entries;
    for (uint32_t i = 0; i < 100; ++i) entries.push_back({0x100 + i, 0x100 + i, 216, 10, 0, 1});
    entries.push_back({0x900, 0x900, 216, 10, 0, 2});
    entries.push_back({0x901, 0x901, 216, 10, 2, 2});   // offered in the buy catalogue only
    entries.push_back({0x902, 0x902, 138, 10, 0, 2});   // too short to hold its category
    entries.push_back({0x903, 0x903, 216, 10, 0, 0});   // no category
    cMoveTool::FillItemLists(entries);
    int32_t category = 0, position = 0;
    ASSERT_TRUE(cMoveTool::LookUpItem(-901, category, position));
    EXPECT_EQ(category, 1);
    EXPECT_EQ(position, 99);
    ASSERT_TRUE(cMoveTool::LookUpItem(-900, category, position));
    EXPECT_EQ(category, 2);
    EXPECT_EQ(position, 0);
    EXPECT_FALSE(cMoveTool::LookUpItem(-899, category, position)) << "past the list's end";
    EXPECT_FALSE(cMoveTool::LookUpItem(-1001, category, position));
    EXPECT_FALSE(cMoveTool::LookUpItem(-300, category, position));
    EXPECT_EQ(cMoveTool::ItemList(2).size(), 1u);
    EXPECT_EQ(cMoveTool::ItemId(2, 0), -900);
    cMoveTool::ClearItemLists();
}

TEST_F(MoveTool, AChairIsBoughtPlacedMovedAndSoldAndEachStepUndone) {
    Buy(kChair, 1);
    EXPECT_EQ(Move().GetMode(), 3);
    ASSERT_TRUE(Move().Carrying());
    Click(5, 5);
    ASSERT_FALSE(Move().Carrying()) << Move().Message();
    const int16_t chair = ObjectAt(5, 5);
    ASSERT_NE(chair, 0);
    EXPECT_EQ(money.money, 20000 - 80);
    EXPECT_EQ(Played("UI_buy_moneyback"), 1);

    // Picked up and put down elsewhere.
    Move().MouseDown(At(5, 5), chair, plain);
    ASSERT_TRUE(Move().Carrying());
    Move().MouseUp(At(5, 5), chair, plain);
    Click(9, 8);
    EXPECT_FALSE(Move().Carrying());
    EXPECT_EQ(ObjectAt(9, 8), chair);
    EXPECT_EQ(ObjectAt(5, 5), 0);
    EXPECT_EQ(Undo().UndoCount(), 2);

    // Sold with Ctrl held: 80 % of its value.
    module.GetObjectById(chair)->SetData(41, 125);
    Hold(true);
    Move().MouseMove(At(9, 8), chair, plain);
    EXPECT_TRUE(Move().DeleteArmed());
    Move().MouseDown(At(9, 8), chair, plain);
    EXPECT_FALSE(Move().Carrying()) << "a press with Ctrl held picks nothing up";
    Move().MouseUp(At(9, 8), chair, plain);
    Hold(false);
    EXPECT_EQ(ObjectAt(9, 8), 0);
    EXPECT_EQ(money.money, 20000 - 80 + 100);
    EXPECT_EQ(Played("UI_moneyback"), 1);
    EXPECT_EQ(Undo().UndoCount(), 3);

    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_EQ(ObjectAt(9, 8), chair) << "the sale is undone";
    EXPECT_EQ(money.money, 20000 - 80);
    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_EQ(ObjectAt(5, 5), chair) << "the move is undone";
    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_EQ(ObjectAt(5, 5), 0) << "the purchase is undone";
    EXPECT_EQ(money.money, 20000);
}

TEST_F(MoveTool, TooLittleMoneyDoesNotStartAPurchase) {
    money.money = 79;
    Buy(kChair, 1);
    EXPECT_FALSE(Move().Carrying());
    money.money = 80;
    Move().Activate();
    EXPECT_TRUE(Move().Carrying());
}

TEST_F(MoveTool, ARefusedPlacementKeepsTheObjectOnTheCursorWithItsMessage) {
    world.GetWaterLayer()->AddWaterTile(TileLocation::At(7, 7, 1));
    Buy(kChair, 1);
    Move().MouseMove(At(7, 7), 0, plain);
    Move().MouseDown(At(7, 7), 0, plain);
    EXPECT_FALSE(Move().Message().empty());
    EXPECT_EQ(shell.toolTip, Move().Message()) << "shown at the press";
    Move().MouseUp(At(7, 7), 0, plain);
    EXPECT_TRUE(Move().Carrying());
    EXPECT_GE(Played("UI_error"), 1);
    EXPECT_EQ(money.money, 20000);
    EXPECT_EQ(Undo().UndoCount(), 0);
    // Short of money the placement fails with code 21's message.
    money.money = 50;
    Move().MouseMove(At(9, 9), 0, plain);
    Move().MouseDown(At(9, 9), 0, plain);
    Move().MouseUp(At(9, 9), 0, plain);
    EXPECT_TRUE(Move().Carrying());
    EXPECT_FALSE(shell.toolTip.empty());
    EXPECT_EQ(money.money, 50);
}

TEST_F(MoveTool, SwitchingToolsWhileCarryingAnOwnedObjectPutsItBackWithNoRedo) {
    Buy(kChair, 1);
    Click(5, 5);
    const int16_t chair = ObjectAt(5, 5);
    ASSERT_NE(chair, 0);
    Move().SetParameter(-1);
    Move().MouseDown(At(5, 5), chair, plain);
    Move().MouseUp(At(5, 5), chair, plain);
    Move().MouseMove(At(10, 10), 0, plain);
    EXPECT_EQ(ObjectAt(10, 10), chair);
    Move().Deselect();
    EXPECT_FALSE(Move().Carrying());
    EXPECT_EQ(ObjectAt(5, 5), chair);
    EXPECT_EQ(ObjectAt(10, 10), 0);
    EXPECT_EQ(Undo().RedoCount(), 0);
    EXPECT_EQ(Undo().UndoCount(), 1) << "only the purchase";
    EXPECT_EQ(money.money, 20000 - 80);
}

TEST_F(MoveTool, AnUndoWhileCarryingAnOwnedObjectPutsItBackBeforeTheStep) {
    Buy(kChair, 1);
    Click(5, 5);
    const int16_t chair = ObjectAt(5, 5);
    ASSERT_NE(chair, 0);
    ASSERT_EQ(money.money, 20000 - 80);
    Move().SetParameter(-1);
    Move().MouseDown(At(5, 5), chair, plain);
    Move().MouseUp(At(5, 5), chair, plain);
    Move().MouseMove(At(10, 10), 0, plain);
    ASSERT_TRUE(Move().Carrying());

    // The purchase is undone: the chair it bought cannot stay on the cursor.
    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_FALSE(Move().Carrying());
    EXPECT_EQ(ObjectAt(5, 5), 0);
    EXPECT_EQ(ObjectAt(10, 10), 0);
    EXPECT_EQ(money.money, 20000);
    Click(9, 9);
    EXPECT_EQ(ObjectAt(9, 9), 0) << "nothing left to place";
    EXPECT_EQ(money.money, 20000);
    EXPECT_EQ(Undo().UndoCount(), 0);

    ASSERT_EQ(Undo().Redo(), 0);
    EXPECT_EQ(ObjectAt(5, 5), chair);
    EXPECT_EQ(money.money, 20000 - 80);
}

TEST_F(MoveTool, AClickWithinTheSquareRootOfThreePixelsIsNotAMove) {
    Buy(kChair, 1);
    struct Case {
        int dx, dy;
        bool moved;
    };
    for (const Case c : {Case{1, 1, false}, Case{0, 1, false}, Case{2, 0, true}, Case{1, 2, true}}) {
        Move().SetScreenPoint(100, 100);
        Move().MouseDown(At(3, 3), 0, plain);
        Move().SetScreenPoint(100 + c.dx, 100 + c.dy);
        Move().MouseUp(At(3, 3), 0, plain);
        EXPECT_EQ(Move().Moved(), c.moved) << c.dx << "," << c.dy;
        if (!Move().Carrying()) Move().Activate();
    }
}

TEST_F(MoveTool, ACategoryFourItemIsSoldForNothingWithTheDeleteSound) {
    Buy(kTable, 4);
    EXPECT_EQ(Move().GetMode(), 6);
    Click(6, 6);
    const int16_t table = ObjectAt(6, 6);
    ASSERT_NE(table, 0);
    const int32_t after = money.money;
    module.GetObjectById(table)->SetData(41, 125);
    Move().MouseDown(At(6, 6), table, plain);
    Move().MouseUp(At(6, 6), table, plain);
    ASSERT_TRUE(Move().Carrying());
    Move().RemoveCarried();
    EXPECT_FALSE(Move().Carrying());
    EXPECT_EQ(ObjectAt(6, 6), 0);
    EXPECT_EQ(money.money, after);
    EXPECT_EQ(Played("UI_archtool_delete"), 1);
    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_EQ(ObjectAt(6, 6), table);
}

TEST_F(MoveTool, KeysTurnTheCarriedObjectAndEscapeDropsAPurchase) {
    Buy(kChair, 1);
    cXObject* chair = Move().Carried();
    ASSERT_NE(chair, nullptr);
    chair->SetData(kDataRotationStep, 2);
    const int16_t facing = chair->GetData(kDataDirection);
    EXPECT_TRUE(Move().Char('.', 0, 1));
    EXPECT_NE(chair->GetData(kDataDirection), facing);
    EXPECT_TRUE(Move().Char(',', 0, 1));
    EXPECT_EQ(chair->GetData(kDataDirection), facing);
    EXPECT_FALSE(Move().Char('x', 0, 1));
    const int32_t objectsBefore = module.ObjectCount();
    EXPECT_TRUE(Move().KeyDown(27, 0));
    EXPECT_FALSE(Move().Carrying());
    EXPECT_LT(module.ObjectCount(), objectsBefore) << "the unbought chair is gone";
    EXPECT_EQ(money.money, 20000);
}

}  // namespace

namespace {

TEST_F(MoveTool, ACategoryThreeItemTakesUpTheFloorUnderItAndItsUndoPutsItBack) {
    // The table becomes a category-3 item that stands on bare ground only.
    ObjectDefinitionRecord& record = folder.FindByGUID(kTable)->GetRecord();
    record.SetWord(ObjectDefinitionRecord::kCategory, 3);
    cMoveTool::FillItemListsFromCatalogue();
    prices.floors[2] = 30;
    world.Floors(1)->At(6, 6) = 2;
    Buy(kTable, 3);
    EXPECT_EQ(Move().GetMode(), 5);
    ASSERT_TRUE(Move().Carrying());
    Move().Carried()->SetData(kDataPlacement, kPlaceOnGround);
    Click(6, 6);
    ASSERT_FALSE(Move().Carrying()) << Move().Message();
    EXPECT_EQ(world.Floors(1)->At(6, 6), 0) << "the floor gave way";
    EXPECT_EQ(money.money, 20000 - 200 + 24);
    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_EQ(world.Floors(1)->At(6, 6), 2);
    EXPECT_EQ(ObjectAt(6, 6), 0);
    EXPECT_EQ(money.money, 20000);
}

}  // namespace

namespace {

TEST_F(MoveTool, ACarriedCategoryOneItemHighlightsItsTile) {
    Buy(kChair, 1);
    Move().MouseMove(At(7, 9), 0, plain);
    uint64_t rows[64] = {};
    Move().MarkTiles(TileLocation::At(0, 0, 1), rows);
    EXPECT_EQ(rows[9], uint64_t{1} << 7);
    for (int y = 0; y < 64; ++y) {
        if (y != 9) {
            EXPECT_EQ(rows[y], 0u) << y;
        }
    }
    // Owned objects carried without a category mark nothing.
    Move().SetParameter(-1);
    uint64_t none[64] = {};
    Move().MarkTiles(TileLocation::At(0, 0, 1), none);
    EXPECT_EQ(none[9], 0u);
}

}  // namespace
