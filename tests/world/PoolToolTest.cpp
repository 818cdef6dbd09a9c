#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "BuildToolFixture.h"
#include "world/tools/cPoolTool.h"
#include "world/undo/UndoManager.h"

namespace {

using tova_test::Centre;

class PoolTool : public tova_test::BuildToolFixture {
protected:
    void SetUp() override {
        BuildToolFixture::SetUp();
        world.FlattenTerrain();
        SetCurrentTool(&Pool());
    }
    cPoolTool& Pool() { return *static_cast<cPoolTool*>(Tool(cToolSet::kPool)); }
    uint8_t Cell(int x, int y) { return Pool().Preview()->At(x, y); }
    bool IsPool(int x, int y) { return Cell(x, y) < 16; }
    int Count(bool (*pick)(uint8_t)) {
        int n = 0;
        for (int x = 0; x < 24; ++x)
            for (int y = 0; y < 24; ++y) n += pick(Pool().Preview()->At(x, y));
        return n;
    }
    static bool PoolCell(uint8_t c) { return c < 16; }
    static bool DeckCell(uint8_t c) { return c == 16; }
};

TEST_F(PoolTool, ADraggedPoolChargesPerTileGetsADeckAndUndoesAndRedoes) {
    Gesture(Pool(), {Centre(5, 5), Centre(7, 6)});
    EXPECT_EQ(Count(PoolCell), 6);
    // A full ring round a 3 by 2 pool: 5 by 4 less the pool.
    EXPECT_EQ(Count(DeckCell), 20 - 6);
    EXPECT_EQ(money.money, 20000 - 6 * 40);
    EXPECT_EQ(Undo().UndoCount(), 1);
    EXPECT_EQ(std::count(sound.played.begin(), sound.played.end(), "UI_bld_dragtool_mouseup -4"), 1);

    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_EQ(Count(PoolCell), 0);
    EXPECT_EQ(Count(DeckCell), 0);
    EXPECT_EQ(money.money, 20000);
    ASSERT_EQ(Undo().Redo(), 0);
    EXPECT_EQ(Count(PoolCell), 6);
    EXPECT_EQ(Count(DeckCell), 14);
    EXPECT_EQ(money.money, 20000 - 240);

    // Leaving the tool hands the preview, deck and all, to the world.
    SetCurrentTool(nullptr);
    EXPECT_TRUE(world.HasPool(TileLocation::At(6, 6, 1)));
    EXPECT_EQ(world.GetPoolLayer()->At(4, 4), 16);
}

TEST_F(PoolTool, UnevenGroundStopsTheDragWithStatus17) {
    world.SetCornerHeight(8, 6, 12);
    Pool().MouseDown(Centre(5, 5), 0, plain);
    Pool().Drag(Centre(8, 6), 0, plain);
    EXPECT_EQ(Pool().GetStatus(), 17);
    EXPECT_EQ(Count(PoolCell), 0);
    Pool().MouseUp(Centre(8, 6), 0, plain);
    EXPECT_EQ(money.money, 20000);
    EXPECT_EQ(Undo().UndoCount(), 0);
}

TEST_F(PoolTool, AClickThatAddsNothingLeavesNoRecord) {
    Gesture(Pool(), {Centre(5, 5)});
    EXPECT_EQ(Undo().UndoCount(), 1);
    Gesture(Pool(), {Centre(5, 5)});
    EXPECT_EQ(Undo().UndoCount(), 1);
    EXPECT_EQ(money.money, 20000 - 40);
}

TEST_F(PoolTool, CtrlWhileIdleSwitchesModeAndCursorAndBack) {
    Pool().KeyDown(cRZKeyboard::kVKControl, 0);
    EXPECT_EQ(Pool().GetMode(), cPoolTool::kErase);
    EXPECT_EQ(shell.cursor, 6);
    Pool().KeyUp(cRZKeyboard::kVKControl, 0);
    EXPECT_EQ(Pool().GetMode(), cPoolTool::kBuild);
    EXPECT_EQ(shell.cursor, 0);
    // Not in the middle of a gesture.
    Pool().MouseDown(Centre(5, 5), 0, plain);
    Pool().KeyDown(cRZKeyboard::kVKControl, 0);
    EXPECT_EQ(Pool().GetMode(), cPoolTool::kBuild);
    Pool().MouseUp(Centre(5, 5), 0, plain);
}

TEST_F(PoolTool, ErasingRefundsEightyPercentAndItsUndoChargesItBack) {
    Gesture(Pool(), {Centre(5, 5), Centre(8, 5)});
    EXPECT_EQ(money.money, 20000 - 160);
    Hold(cRZKeyboard::kVKControl);
    Pool().KeyDown(cRZKeyboard::kVKControl, 0);
    Gesture(Pool(), {Centre(5, 5), Centre(6, 5)});
    EXPECT_FALSE(IsPool(5, 5));
    EXPECT_TRUE(IsPool(7, 5));
    EXPECT_EQ(money.money, 20000 - 160 + 64);
    money.money = 0;  // undo restores even without the money
    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_TRUE(IsPool(5, 5));
    EXPECT_EQ(money.money, -64);
    // Ctrl let go during a gesture: erasing ends with it.
    Pool().MouseDown(Centre(9, 9), 0, plain);
    Release(cRZKeyboard::kVKControl);
    Pool().KeyUp(cRZKeyboard::kVKControl, 0);
    EXPECT_EQ(Pool().GetMode(), cPoolTool::kErase);
    Pool().MouseUp(Centre(9, 9), 0, plain);
    EXPECT_EQ(Pool().GetMode(), cPoolTool::kBuild);
}

TEST_F(PoolTool, ErasingIsRefusedByAPersonInTheRoomAndByAnObjectHoldingThePool) {
    Gesture(Pool(), {Centre(5, 5), Centre(6, 5)});
    AddRoom(4, 4, 7, 6);
    world.RecomputeRooms(1);
    const uint16_t room = world.Rooms(1)->At(5, 5);
    ASSERT_NE(room & 0x3FF, 0);
    Pool().KeyDown(cRZKeyboard::kVKControl, 0);
    Hold(cRZKeyboard::kVKControl);
    objects.occupiedRooms.insert(room);
    Pool().MouseDown(Centre(5, 5), 0, plain);
    Pool().Drag(Centre(6, 5), 0, plain);
    EXPECT_EQ(Pool().GetStatus(), 44);
    Pool().MouseUp(Centre(6, 5), 0, plain);
    EXPECT_TRUE(IsPool(5, 5));
    objects.occupiedRooms.clear();
    objects.blocksPoolRemoval.insert({6, 5, 1});
    Pool().MouseDown(Centre(5, 5), 0, plain);
    Pool().Drag(Centre(6, 5), 0, plain);
    EXPECT_EQ(Pool().GetStatus(), 45);
    Pool().MouseUp(Centre(6, 5), 0, plain);
    EXPECT_TRUE(IsPool(6, 5));
    EXPECT_EQ(Undo().UndoCount(), 1);
}

TEST_F(PoolTool, BuildingIsRefusedByWallsObjectsTheEdgeAndMoney) {
    struct Case {
        const char* why;
        int status;
        int fromX, toX;  // along row 5
    };
    const Case cases[] = {{"wall between the tiles", 7, 5, 6}, {"diagonal wall", 7, 11, 12}, {"object", 11, 13, 14},
                          {"outside the usable area", 1, 15, 16}, {"money", 21, 18, 21}};
    AddSide(6, 5, kWallSide1);
    AddDiagonal(12, 5, kWallDiag16);
    objects.noBuildingUnder.insert({14, 5, 1});
    world.Flags(1)->At(16, 5) |= kTileOutsideArea;
    for (const Case& c : cases) {
        if (c.status == 21) money.money = 100;
        Pool().MouseDown(Centre(c.fromX, 5), 0, plain);
        Pool().Drag(Centre(c.toX, 5), 0, plain);
        EXPECT_EQ(Pool().GetStatus(), c.status) << c.why;
        Pool().MouseUp(Centre(c.toX, 5), 0, plain);
        EXPECT_EQ(Count(PoolCell), 0) << c.why;
    }
    EXPECT_EQ(Undo().UndoCount(), 0);
}

TEST_F(PoolTool, TheDeckKeepsOffFloorsSlopesDiagonalsAndWallsFacingThePool) {
    struct Case {
        const char* what;
        int x, y;  // the tile prepared, beside a pool at (10, 10)
    };
    const Case cases[] = {{"floor", 9, 10}, {"slope", 11, 10}, {"diagonal wall", 10, 9}, {"wall toward the pool", 10, 11}};
    world.Floors(1)->At(9, 10) = 1;
    world.SetCornerHeight(12, 10, 13);
    world.SetCornerHeight(12, 11, 13);
    AddDiagonal(10, 9, kWallDiag32);
    AddSide(10, 11, kWallSide2);
    Gesture(Pool(), {Centre(10, 10)});
    ASSERT_TRUE(IsPool(10, 10));
    for (const Case& c : cases) EXPECT_EQ(Cell(c.x, c.y), 255) << c.what;
    // A corner tile needs both its side neighbours covered.
    EXPECT_EQ(Cell(9, 9), 255);
    EXPECT_EQ(Cell(11, 11), 255);
    world.Floors(1)->At(9, 10) = 0;
    cPoolTool::ComputeDeck(world, *Pool().Preview());
    EXPECT_EQ(Cell(9, 10), 16);
    EXPECT_EQ(Cell(9, 11), 255) << "(10, 11) is not covered";
}

TEST_F(PoolTool, LeavingTheToolHandsOverNoHoverTileAndNoUnfinishedDrag) {
    Pool().MouseMove(Centre(5, 5), 0, plain);
    ASSERT_TRUE(IsPool(5, 5));
    SetCurrentTool(nullptr);
    EXPECT_FALSE(world.HasPool(TileLocation::At(5, 5, 1)));

    SetCurrentTool(&Pool());
    Pool().MouseDown(Centre(5, 5), 0, plain);
    Pool().Drag(Centre(7, 6), 0, plain);
    ASSERT_EQ(Pool().GetPending(), 6 * 40);
    SetCurrentTool(nullptr);
    EXPECT_FALSE(world.HasPool(TileLocation::At(6, 6, 1)));
    EXPECT_EQ(world.GetPoolLayer()->At(4, 4), kNoPoolCell) << "no deck either";
    EXPECT_EQ(Pool().GetPending(), 0);
    EXPECT_EQ(Undo().UndoCount(), 0);
    EXPECT_TRUE(money.expenses.empty());
}

TEST_F(PoolTool, HoverPreviewsOneTileWithoutCharging) {
    Pool().MouseMove(Centre(5, 5), 0, plain);
    EXPECT_TRUE(IsPool(5, 5));
    Pool().MouseMove(Centre(8, 8), 0, plain);
    EXPECT_FALSE(IsPool(5, 5));
    EXPECT_TRUE(IsPool(8, 8));
    shell.mode = 3;
    Pool().MouseMove(Centre(9, 9), 0, plain);
    EXPECT_EQ(Pool().GetStatus(), 31);
    EXPECT_EQ(Pool().GetPending(), 0);
    EXPECT_TRUE(money.expenses.empty());
}

}  // namespace
