#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "BuildToolFixture.h"
#include "world/tools/cNewFloorTool.h"
#include "world/undo/FloorUndoable.h"
#include "world/undo/UndoManager.h"

namespace {

using tova_test::Centre;

class FloorTool : public tova_test::BuildToolFixture {
protected:
    cNewFloorTool& Floor() { return *static_cast<cNewFloorTool*>(Tool(cToolSet::kFloor)); }
    uint8_t FloorAt(int x, int y, int level = 1) { return world.Floors(level)->At(x, y); }
    int Played(const std::string& name) {
        return static_cast<int>(std::count(sound.played.begin(), sound.played.end(), name + " -4"));
    }
    void SetUp() override {
        BuildToolFixture::SetUp();
        SetCurrentTool(&Floor());
        Floor().SetParameter(1);
    }
};

TEST_F(FloorTool, ADraggedRectangleChargesEachTileAndItsUndoRestoresAndRefunds) {
    world.Floors(1)->At(6, 5) = 2;
    Gesture(Floor(), {Centre(5, 5), Centre(6, 5), Centre(7, 6)});
    for (int x = 5; x <= 7; ++x)
        for (int y = 5; y <= 6; ++y) EXPECT_EQ(FloorAt(x, y), 1) << x << "," << y;
    EXPECT_EQ(money.money, 20000 - 6 * 100);
    EXPECT_EQ(Undo().UndoCount(), 1);
    EXPECT_EQ(Played("UI_bld_dragtool_mouseup"), 1);

    ASSERT_EQ(Undo().Undo(), 0);
    for (int x = 5; x <= 7; ++x)
        for (int y = 5; y <= 6; ++y) EXPECT_EQ(FloorAt(x, y), x == 6 && y == 5 ? 2 : 0) << x << "," << y;
    EXPECT_EQ(money.money, 20000);
    ASSERT_EQ(Undo().Redo(), 0);
    EXPECT_EQ(FloorAt(6, 5), 1);
    EXPECT_EQ(money.money, 20000 - 600);
}

TEST_F(FloorTool, RemovingAFloorRefundsEightyPercentOfItsPrice) {
    world.Floors(1)->At(5, 5) = 1;  // price 100
    world.Floors(1)->At(6, 5) = 2;  // price 30: 24 back
    Hold(cRZKeyboard::kVKControl);
    Floor().MouseMove(Centre(5, 5), 0, plain);
    EXPECT_EQ(shell.cursor, 6);
    Gesture(Floor(), {Centre(5, 5), Centre(6, 5)});
    EXPECT_EQ(FloorAt(5, 5), 0);
    EXPECT_EQ(FloorAt(6, 5), 0);
    EXPECT_EQ(money.money, 20000 + 80 + 24);
    EXPECT_EQ(Played("UI_archtool_delete"), 1);
    EXPECT_EQ(Played("UI_bld_dragtool_mouseup"), 0) << "removal plays the delete sound";
}

TEST_F(FloorTool, LayingThePatternATileHasCostsAndRecordsNothing) {
    world.Floors(1)->At(5, 5) = 1;
    Gesture(Floor(), {Centre(5, 5)});
    EXPECT_EQ(money.money, 20000);
    EXPECT_TRUE(money.expenses.empty());
    EXPECT_EQ(Undo().UndoCount(), 0);
}

TEST_F(FloorTool, OnlyADragOfMoreThanOneTilePlaysTheMouseUpSound) {
    Gesture(Floor(), {Centre(5, 5)});
    EXPECT_EQ(FloorAt(5, 5), 1);
    EXPECT_EQ(Played("UI_bld_dragtool_mouseup"), 0);
    Gesture(Floor(), {Centre(8, 8), Centre(9, 8)});
    EXPECT_EQ(Played("UI_bld_dragtool_mouseup"), 1);
}

TEST_F(FloorTool, AHalfOfADiagonalTileCostsHalfAndUndoRestoresTheWallRecord) {
    AddDiagonal(5, 5, kWallDiag16);
    world.RecomputeRooms(1);
    const WallInfo before = world.GetWallInfo(TileLocation::At(5, 5, 1));
    // Above-left of the 0x10 diagonal is half 0.
    Gesture(Floor(), {tova::FinePoint{5 * 16 + 3, 5 * 16 + 3}});
    const WallInfo after = world.GetWallInfo(TileLocation::At(5, 5, 1));
    EXPECT_EQ(after.pattern[0], 1);
    EXPECT_EQ(after.style[0], 0);
    EXPECT_EQ(after.flags, before.flags) << "the wall stays";
    EXPECT_EQ(FloorAt(5, 5), 255) << "a half-floored tile";
    EXPECT_EQ(money.money, 20000 - 50);
    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_EQ(world.GetWallInfo(TileLocation::At(5, 5, 1)), before);
    EXPECT_EQ(FloorAt(5, 5), 0);
    EXPECT_EQ(money.money, 20000);
}

TEST_F(FloorTool, RoomFillLaysEveryTileOfTheRoomAndRefusesTheOutside) {
    AddRoom(4, 4, 6, 7);
    world.RecomputeRooms(1);
    Hold(cRZKeyboard::kVKShift);
    Gesture(Floor(), {Centre(10, 10)});
    EXPECT_EQ(FloorAt(10, 10), 0) << "room number 0 is the outside";
    EXPECT_EQ(Undo().UndoCount(), 0);

    Gesture(Floor(), {Centre(5, 5)});
    for (int x = 3; x <= 7; ++x)
        for (int y = 3; y <= 8; ++y)
            EXPECT_EQ(FloorAt(x, y), (x >= 4 && x <= 6 && y >= 4 && y <= 7) ? 1 : 0) << x << "," << y;
    EXPECT_EQ(money.money, 20000 - 12 * 100);
    ASSERT_EQ(Undo().Undo(), 0);
    for (int x = 4; x <= 6; ++x) EXPECT_EQ(FloorAt(x, 5), 0);
}

TEST_F(FloorTool, RefusedTilesStopTheRectangleAndLeaveNothingHalfBuilt) {
    const char* const cases[] = {"uneven ground", "outside the usable area", "pool", "an object refusing floor"};
    for (int i = 0; i < 4; ++i) {
        const TileLocation t = TileLocation::At(6, 5, 1);
        switch (i) {
            case 0: world.SetCornerHeight(7, 5, 4); break;
            case 1: world.Flags(1)->At(6, 5) |= kTileOutsideArea; break;
            case 2: world.GetPoolLayer()->AddPoolTile(t); break;
            default: objects.noFloorUnder.insert({6, 5, 1}); break;
        }
        Gesture(Floor(), {Centre(5, 5), Centre(8, 5)});
        for (int x = 5; x <= 8; ++x) EXPECT_EQ(FloorAt(x, 5), 0) << cases[i] << " " << x;
        EXPECT_EQ(money.money, 20000) << cases[i];
        EXPECT_EQ(Undo().UndoCount(), 0) << cases[i];
        switch (i) {
            case 0: world.SetCornerHeight(7, 5, 0); break;
            case 1: world.Flags(1)->At(6, 5) &= ~kTileOutsideArea; break;
            case 2: world.GetPoolLayer()->RemovePoolTile(t); break;
            default: objects.noFloorUnder.clear(); break;
        }
    }
    Gesture(Floor(), {Centre(5, 5), Centre(8, 5)});
    EXPECT_EQ(FloorAt(8, 5), 1) << "the same rectangle passes once nothing refuses";
}

TEST_F(FloorTool, TooLittleMoneyStopsTheGestureAndShowsTheStatusText) {
    money.money = 250;
    Gesture(Floor(), {Centre(5, 5), Centre(7, 5)});
    EXPECT_TRUE(Floor().ShowsStatusText());
    for (int x = 5; x <= 7; ++x) EXPECT_EQ(FloorAt(x, 5), 0);
    EXPECT_EQ(money.money, 250);
    Gesture(Floor(), {Centre(5, 5), Centre(6, 5)});
    EXPECT_FALSE(Floor().ShowsStatusText());
    EXPECT_EQ(money.money, 50);
}

TEST_F(FloorTool, HoverShowsAPreviewThatCostsNothingAndGoesAway) {
    Floor().MouseMove(Centre(5, 5), 0, plain);
    EXPECT_TRUE(Floor().PreviewApplied());
    EXPECT_EQ(FloorAt(5, 5), 1);
    Floor().MouseMove(Centre(6, 5), 0, plain);
    EXPECT_EQ(FloorAt(5, 5), 0);
    EXPECT_EQ(FloorAt(6, 5), 1);
    // Ctrl turns the preview into removal at once.
    Hold(cRZKeyboard::kVKControl);
    Floor().KeyDown(cRZKeyboard::kVKControl, 0);
    EXPECT_EQ(FloorAt(6, 5), 0);
    EXPECT_FALSE(Floor().PreviewApplied());
    Release(cRZKeyboard::kVKControl);
    Floor().KeyUp(cRZKeyboard::kVKControl, 0);
    EXPECT_EQ(FloorAt(6, 5), 1);
    SetCurrentTool(nullptr);
    EXPECT_EQ(FloorAt(6, 5), 0) << "deactivation takes the preview away";
    EXPECT_EQ(Floor().GetPending(), 0);
    EXPECT_TRUE(money.expenses.empty());
}

TEST_F(FloorTool, AnUndoDuringAHoverPreviewWithdrawsItAndUndoesOnlyTheLastGesture) {
    Gesture(Floor(), {Centre(5, 5)});
    ASSERT_EQ(money.money, 20000 - 100);
    // A preview of another pattern over the same tile.
    Floor().SetParameter(2);
    Floor().MouseMove(Centre(5, 5), 0, plain);
    ASSERT_EQ(FloorAt(5, 5), 2);
    ASSERT_EQ(Floor().GetPending(), 30);

    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_EQ(FloorAt(5, 5), 0);
    EXPECT_EQ(money.money, 20000);
    EXPECT_EQ(Floor().GetPending(), 0);
    EXPECT_FALSE(Floor().PreviewApplied());
    SetCurrentTool(nullptr);
    EXPECT_EQ(FloorAt(5, 5), 0) << "the undone floor does not come back";
    EXPECT_EQ(money.money, 20000);
    EXPECT_EQ(Floor().GetPending(), 0);

    SetCurrentTool(&Floor());
    Floor().MouseMove(Centre(8, 8), 0, plain);
    ASSERT_EQ(FloorAt(8, 8), 2);
    ASSERT_EQ(Undo().Redo(), 0);
    EXPECT_EQ(FloorAt(5, 5), 1);
    EXPECT_EQ(FloorAt(8, 8), 0);
    EXPECT_EQ(money.money, 20000 - 100);
    EXPECT_EQ(Floor().GetPending(), 0);
}

TEST_F(FloorTool, AnotherToolMadeCurrentDuringADragTakesTheUnpaidTilesAway) {
    Floor().MouseDown(Centre(5, 5), 0, plain);
    Floor().Drag(Centre(7, 6), 0, plain);
    ASSERT_EQ(FloorAt(6, 6), 1);
    ASSERT_EQ(Floor().GetPending(), 6 * 100);
    SetCurrentTool(nullptr);
    for (int x = 5; x <= 7; ++x)
        for (int y = 5; y <= 6; ++y) EXPECT_EQ(FloorAt(x, y), 0) << x << "," << y;
    EXPECT_EQ(Floor().GetPending(), 0);
    // Back again, the first hover starts afresh and the old drag stays gone.
    SetCurrentTool(&Floor());
    Floor().MouseMove(Centre(9, 9), 0, plain);
    Floor().MouseMove(Centre(10, 9), 0, plain);
    EXPECT_EQ(FloorAt(9, 9), 0);
    EXPECT_EQ(FloorAt(10, 9), 1);
    EXPECT_EQ(Floor().GetPending(), 100);
    EXPECT_EQ(Undo().UndoCount(), 0);
}

TEST_F(FloorTool, PressSoundsFollowThePreview) {
    Floor().MouseMove(Centre(5, 5), 0, plain);
    Floor().MouseDown(Centre(5, 5), 0, plain);
    EXPECT_EQ(Played("UI_bld_dragtool_mousedown"), 1);
    Floor().MouseUp(Centre(5, 5), 0, plain);
    world.Floors(1)->At(9, 9) = 1;
    clock.now += 1000;
    Floor().MouseMove(Centre(9, 9), 0, plain);
    Floor().MouseDown(Centre(9, 9), 0, plain);
    EXPECT_EQ(Played("UI_error"), 1) << "nothing would change";
}

TEST_F(FloorTool, UpperLevelRemovalNeedsObjectsThatStandWithoutFloor) {
    viewer.level = 2;
    world.Floors(2)->At(5, 5) = 1;
    world.Flags(2)->At(5, 5) |= kTileSupportsUpper;
    objects.noStandingWithoutFloor.insert({5, 5, 2});
    Hold(cRZKeyboard::kVKControl);
    Gesture(Floor(), {Centre(5, 5)});
    EXPECT_EQ(FloorAt(5, 5, 2), 1);
    objects.noStandingWithoutFloor.clear();
    Gesture(Floor(), {Centre(5, 5)});
    EXPECT_EQ(FloorAt(5, 5, 2), 0);
}

TEST(FloorUndoableRecord, ARepeatedTileAddsItsCostToOneEntry) {
    cFixedWorld world(16);
    FloorUndoable* record = new FloorUndoable(world, nullptr);
    record->AddRef();
    record->AddTileChange(TileLocation::At(3, 3, 1), 100);
    world.Floors(1)->At(3, 3) = 1;
    record->AddTileChange(TileLocation::At(3, 3, 1), 30);
    world.Floors(1)->At(3, 3) = 2;
    EXPECT_EQ(record->Count(), 1u);
    EXPECT_EQ(record->TotalCost(), 130);
    record->Revert();
    EXPECT_EQ(world.Floors(1)->At(3, 3), 0) << "the first value recorded comes back";
    record->Release();
}

}  // namespace
