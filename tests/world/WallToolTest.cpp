#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "framework/cRZKeyboard.h"
#include "support/RecordingViewer.h"
#include "support/ToolFakes.h"
#include "world/WallRecordFakes.h"
#include "world/cRotatableWorld.h"
#include "world/tools/ToolInput.h"
#include "world/tools/cNewWallTool.h"
#include "world/tools/cToolSet.h"

namespace {

using tova::FinePoint;
using tova::TileLocation;

class WallTool : public ::testing::Test {
protected:
    tova_test::WallPrices prices;
    cRotatableWorld world{24, tova_test::PricedServices(&prices)};
    tova_test::RecordingSoundPlayer sound;
    tova_test::ManualClock clock;
    tova_test::FakeShell shell;
    tova_test::FakeMoney money;
    cRZKeyboard keyboard;
    tova_test::RecordingViewer viewer;
    tova_test::FakeWallObjects objects{world};
    ToolServices services;
    std::unique_ptr<cToolSet> set;

    void SetUp() override {
        world.RecomputeRooms(0);
        services = {&world, &shell, &money, &keyboard, &clock, &viewer};
        set = std::make_unique<cToolSet>(services);
        Tool().SetObjects(&objects);
    }
    cNewWallTool& Tool() { return *static_cast<cNewWallTool*>(set->GetTool(cToolSet::kWall)); }
    // A pointer at grid point (x, y) plus a fraction, with a screen position.
    static FinePoint At(int x, int y, int fx = 0, int fy = 0) { return {x * 16 + fx, y * 16 + fy}; }
    static ToolMouseEvent Screen(int x, int y) { return ToolMouseEvent{x, y, 0}; }
    void Press(FinePoint p, ToolMouseEvent e = Screen(1000, 1000)) {
        clock.now += 100;
        Tool().MouseDown(p, 0, e);
    }
    void Move(FinePoint p, ToolMouseEvent e = Screen(1000, 1000)) {
        clock.now += 100;
        Tool().Drag(p, 0, e);
    }
    void Release(FinePoint p) {
        clock.now += 100;
        Tool().MouseUp(p, 0, Screen(0, 0));
    }
    bool Has(int x, int y, int side) { return world.GetWallInfo(TileLocation::At(x, y, 1)).Has(side); }
    int Played(const std::string& name) {
        return static_cast<int>(std::count(sound.played.begin(), sound.played.end(), name + " -4"));
    }
};

TEST_F(WallTool, StylesChooseTheirWallpaper) {
    struct Case {
        int style, wallpaper;
    } cases[] = {{1, 255}, {12, 249}, {13, 250}, {14, 251}, {2, 248}, {7, 248}};
    for (const Case& c : cases) {
        Tool().SelectStyle(c.style);
        EXPECT_EQ(Tool().Wallpaper(), c.wallpaper) << c.style;
    }
}

TEST_F(WallTool, PointersRoundToTheNearestGridPoint) {
    EXPECT_EQ(Tool().PointerToPoint({87, 88}), (WallPoint{5, 6, 1}));
    EXPECT_EQ(Tool().PointerToPoint({-9, 8}), (WallPoint{-1, 1, 1}));
}

TEST_F(WallTool, ADragDrawsAndButtonUpPushesASettledRecord) {
    Press(At(5, 5));
    EXPECT_TRUE(Tool().Dragging());
    Move(At(5, 8));
    EXPECT_TRUE(Has(5, 5, kWallSide1) && Has(5, 7, kWallSide1));
    EXPECT_EQ(Tool().MessageCode(), 26);
    EXPECT_EQ(shell.toolTip, "Cost 219");
    Release(At(5, 8));
    EXPECT_EQ(set->GetUndoManager().UndoCount(), 1);
    EXPECT_EQ(Played("UI_bld_dragtool_mousedown"), 1);
    EXPECT_EQ(Played("UI_bld_dragtool_mouseup"), 1);
    EXPECT_EQ(world.GetWallInfo(TileLocation::At(5, 6, 1)).style[0], 1);
    EXPECT_EQ(Tool().GetPending(), 219) << "the view books it after the button goes up";
    EXPECT_FALSE(Tool().Dragging());
}

TEST_F(WallTool, ADragEndingWhereItBeganLeavesNoRecordAndNoSound) {
    Press(At(5, 5));
    Move(At(5, 8));
    Move(At(5, 5, 1));
    Release(At(5, 5));
    EXPECT_EQ(set->GetUndoManager().UndoCount(), 0);
    EXPECT_EQ(Played("UI_bld_dragtool_mouseup"), 0);
    EXPECT_EQ(Tool().GetPending(), 0);
    EXPECT_FALSE(Has(5, 5, kWallSide1));
}

TEST_F(WallTool, AnotherToolMadeCurrentDuringADragTakesItsWallsAway) {
    SetCurrentTool(&Tool());
    Press(At(5, 5));
    Move(At(5, 8));
    ASSERT_TRUE(Has(5, 6, kWallSide1));
    ASSERT_NE(Tool().GetPending(), 0);
    SetCurrentTool(nullptr);
    for (int y = 5; y < 8; ++y) EXPECT_FALSE(Has(5, y, kWallSide1)) << y;
    EXPECT_EQ(Tool().GetPending(), 0);
    EXPECT_FALSE(Tool().Dragging());
    Release(At(5, 8));
    EXPECT_EQ(set->GetUndoManager().UndoCount(), 0);
    EXPECT_FALSE(Has(5, 6, kWallSide1));
}

TEST_F(WallTool, ShiftOrCtrlDuringADragRestartsFromTheSameStart) {
    Press(At(5, 5));
    Move(At(8, 6));
    EXPECT_TRUE(Has(5, 5, kWallSide2)) << "a run along x";
    EXPECT_FALSE(Has(5, 5, kWallSide1));
    keyboard.KeyDown(cRZKeyboard::kVKShift);
    EXPECT_TRUE(Tool().KeyDown(cRZKeyboard::kVKShift, 1));
    EXPECT_EQ(Tool().Mode(), WallUndoable::kRectangle);
    EXPECT_TRUE(Has(5, 5, kWallSide1) && Has(5, 6, kWallSide2) && Has(8, 5, kWallSide1)) << "the box";
    keyboard.KeyUp(cRZKeyboard::kVKShift);
    EXPECT_TRUE(Tool().KeyUp(cRZKeyboard::kVKShift, 0));
    EXPECT_EQ(Tool().Mode(), WallUndoable::kDraw);
    EXPECT_FALSE(Has(5, 5, kWallSide1));
    EXPECT_TRUE(Has(7, 5, kWallSide2));
    EXPECT_FALSE(Tool().KeyDown('A', 0));
}

TEST_F(WallTool, AShortDragBeyondTheThresholdBuildsOneStepTowardThePointer) {
    EXPECT_EQ(cNewWallTool::StepDirection(100, 20), 5);
    EXPECT_EQ(cNewWallTool::StepDirection(-100, -20), 4);
    EXPECT_EQ(cNewWallTool::StepDirection(0, 0), -1);
    Press(At(5, 5));
    Move(At(5, 5, 3), Screen(1100, 1020));
    EXPECT_TRUE(world.GetWallInfo(TileLocation::At(5, 5, 1)).Has(kWallDiag32));
    Move(At(5, 5, 2), Screen(900, 980));
    EXPECT_FALSE(world.GetWallInfo(TileLocation::At(5, 5, 1)).Has(kWallDiag32));
    EXPECT_TRUE(world.GetWallInfo(TileLocation::At(4, 4, 1)).Has(kWallDiag32));
    Move(At(5, 5, 1), Screen(1005, 1002));
    EXPECT_FALSE(world.GetWallInfo(TileLocation::At(4, 4, 1)).Has(kWallDiag32)) << "inside the threshold";
}

TEST_F(WallTool, UpstairsWithoutSupportShowsThirtyTwoAndStartsNothing) {
    viewer.level = 2;
    Press(At(5, 5));
    EXPECT_EQ(Tool().MessageCode(), 32);
    EXPECT_FALSE(Tool().Dragging());
    EXPECT_EQ(Played("UI_error"), 1);
    Move(At(5, 8));
    EXPECT_FALSE(world.GetWallInfo(TileLocation::At(5, 5, 2)).Has(kWallSide1));
}

TEST_F(WallTool, ARunRefusedAtItsFirstStepStillShowsWhy) {
    objects.Add(TileLocation::At(5, 5, 1), WallObjectInfo{0, true});
    Press(At(5, 4));
    Move(At(5, 9));
    EXPECT_EQ(Tool().MessageCode(), 11);
    EXPECT_FALSE(Has(5, 4, kWallSide1));
    Release(At(5, 9));
    EXPECT_EQ(set->GetUndoManager().UndoCount(), 0);
}

TEST_F(WallTool, OffTheLotIsErrorOne) {
    Press(At(0, 5, 3, 3));
    EXPECT_EQ(Tool().MessageCode(), 1);
    EXPECT_FALSE(Tool().Dragging());
}

TEST_F(WallTool, AnUnaffordableDragShowsTwentyFiveAndIsWithdrawnAtButtonUp) {
    money.money = 150;
    Press(At(5, 5));
    Move(At(5, 9));
    EXPECT_EQ(Tool().MessageCode(), 25);
    EXPECT_TRUE(Tool().IsBlocked());
    Release(At(5, 9));
    EXPECT_EQ(set->GetUndoManager().UndoCount(), 0);
    EXPECT_EQ(Tool().GetPending(), 0);
    EXPECT_FALSE(Has(5, 5, kWallSide1));
}

TEST_F(WallTool, ErasingWithCtrlRefundsAndPlaysTheDeleteSound) {
    Press(At(5, 5));
    Move(At(5, 8));
    Release(At(5, 8));
    Tool().BookPending();
    keyboard.KeyDown(cRZKeyboard::kVKControl);
    Press(At(5, 5));
    Move(At(5, 7));
    EXPECT_EQ(Tool().MessageCode(), 26);
    Release(At(5, 7));
    EXPECT_EQ(Tool().GetPending(), -2 * 58);
    EXPECT_FALSE(Has(5, 5, kWallSide1));
    EXPECT_TRUE(Has(5, 7, kWallSide1));
    EXPECT_GE(Played("UI_archtool_delete"), 1);
    EXPECT_EQ(shell.cursor, 6);
}

TEST_F(WallTool, ActivationMakesTheWallCursor) {
    Tool().Activate();
    ASSERT_FALSE(objects.cursor.empty());
    EXPECT_EQ(objects.cursor.front(), "create Wall Cursor 1");
    Tool().Deactivate();
    EXPECT_EQ(objects.cursor.back(), "delete");
}

}  // namespace
