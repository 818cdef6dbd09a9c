#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "framework/cRZKeyboard.h"
#include "support/RecordingViewer.h"
#include "support/ToolFakes.h"
#include "world/WallRecordFakes.h"
#include "world/cRotatableWorld.h"
#include "world/tools/ToolInput.h"
#include "world/tools/cNewWallpaperTool.h"
#include "world/tools/cToolSet.h"

namespace {

using tova::FinePoint;
using tova::TileLocation;

class WallpaperTool : public ::testing::Test {
protected:
    tova_test::WallPrices prices;  // wallpaper p costs 10 + p
    cRotatableWorld world{24, tova_test::PricedServices(&prices)};
    tova_test::RecordingSoundPlayer sound;
    tova_test::ManualClock clock;
    tova_test::FakeShell shell;
    tova_test::FakeMoney money;
    cRZKeyboard keyboard;
    tova_test::RecordingViewer viewer;
    ToolServices services;
    std::unique_ptr<cToolSet> set;

    void SetUp() override {
        services = {&world, &shell, &money, &keyboard, &clock, &viewer};
        set = std::make_unique<cToolSet>(services);
        Tool().SelectWallpaper(7);
        // A straight wall, a fence and a closed box room.
        for (int y = 3; y < 8; ++y) Wall(15, y, kWallSide1);
        Wall(17, 3, kWallSide1, 2, 248);
        for (int i = 10; i < 13; ++i) {
            Wall(10, i, kWallSide1);
            Wall(13, i, kWallSide1);
            Wall(i, 10, kWallSide2);
            Wall(i, 13, kWallSide2);
        }
    }
    cNewWallpaperTool& Tool() { return *static_cast<cNewWallpaperTool*>(set->GetTool(cToolSet::kWallpaper)); }
    void Wall(int x, int y, int side, int style = 1, int paper = 0) {
        WallInfo info = world.GetWallInfo(TileLocation::At(x, y, 1));
        info.flags |= side;
        info.style[WallSideIndex(side)] = style;
        info.SetPattern(side, 0, paper);
        world.SetWallInfo(TileLocation::At(x, y, 1), info);
        if (side & kWallSides) {
            const TileLocation n = StepAcrossSide(TileLocation::At(x, y, 1), side);
            WallInfo other = world.GetWallInfo(n);
            other.SetPattern(OppositeSide(side), 0, paper);
            world.SetWallInfo(n, other);
        }
    }
    int Paper(int x, int y, int side, int kind = 0) {
        return world.GetWallInfo(TileLocation::At(x, y, 1)).GetPattern(side, kind);
    }
    static FinePoint In(int x, int y, int fx = 8, int fy = 8) { return {x * 16 + fx, y * 16 + fy}; }
    static ToolMouseEvent Ev() { return ToolMouseEvent{0, 0, 0}; }
    int Played(const std::string& name) {
        return static_cast<int>(std::count(sound.played.begin(), sound.played.end(), name + " -4"));
    }
};

TEST_F(WallpaperTool, HoverPaintsLiveMovingOnRestoresAndAClickKeeps) {
    Tool().MouseMove(In(15, 3), 0, Ev());
    EXPECT_EQ(Paper(15, 3, kWallSide1), 7);
    EXPECT_EQ(Tool().GetPending(), 17);
    EXPECT_EQ(Tool().MessageCode(), 26);
    Tool().MouseMove(In(15, 4), 0, Ev());
    EXPECT_EQ(Paper(15, 3, kWallSide1), 0);
    EXPECT_EQ(Paper(15, 4, kWallSide1), 7);
    EXPECT_EQ(Tool().GetPending(), 17);
    Tool().MouseDown(In(15, 4), 0, Ev());
    Tool().MouseUp(In(15, 4), 0, Ev());
    EXPECT_EQ(Paper(15, 4, kWallSide1), 7);
    EXPECT_EQ(set->GetUndoManager().UndoCount(), 1);
    EXPECT_EQ(Played("UI_bld_dragtool_mousedown"), 1);
}

TEST_F(WallpaperTool, AStrokeGrowsOneRecordAndUndoRestoresIt) {
    Tool().MouseDown(In(15, 3), 0, Ev());
    Tool().Drag(In(15, 4), 0, Ev());
    Tool().Drag(In(15, 5), 0, Ev());
    Tool().MouseUp(In(15, 5), 0, Ev());
    EXPECT_EQ(Played("UI_bld_dragtool_mouseup"), 1);
    ASSERT_EQ(set->GetUndoManager().UndoCount(), 1);
    EXPECT_EQ(Tool().GetPending(), 3 * 17);
    Tool().BookPending();
    EXPECT_EQ(money.money, 20000 - 51);
    set->GetUndoManager().Undo();
    for (int y = 3; y < 6; ++y) EXPECT_EQ(Paper(15, y, kWallSide1), 0);
    EXPECT_EQ(money.money, 20000);
    set->GetUndoManager().Redo();
    for (int y = 3; y < 6; ++y) EXPECT_EQ(Paper(15, y, kWallSide1), 7);
    EXPECT_EQ(money.money, 20000 - 51);
}

TEST_F(WallpaperTool, AnUndoDuringAHoverPreviewWithdrawsItAndUndoesOnlyTheLastStroke) {
    UndoManager& undo = set->GetUndoManager();
    // A booked stroke on one face of the room's corner tile.
    Tool().MouseDown(In(10, 10), 0, Ev());
    Tool().MouseUp(In(10, 10), 0, Ev());
    Tool().BookPending();
    ASSERT_EQ(Paper(10, 10, kWallSide1), 7);
    ASSERT_EQ(money.money, 20000 - 17);
    // The room preview paints the corner's other face and the ten others.
    keyboard.KeyDown(cRZKeyboard::kVKShift);
    Tool().MouseMove(In(10, 11), 0, Ev());
    ASSERT_EQ(Paper(10, 10, kWallSide2), 7);
    ASSERT_EQ(Tool().GetPending(), 11 * 17);

    ASSERT_EQ(undo.Undo(), 0);
    EXPECT_EQ(money.money, 20000);
    EXPECT_EQ(Tool().GetPending(), 0);
    EXPECT_TRUE(Tool().Record().Entries().empty());
    EXPECT_EQ(Paper(10, 10, kWallSide1), 0);
    EXPECT_EQ(Paper(10, 10, kWallSide2), 0);
    EXPECT_EQ(Paper(12, 11, kWallSide4), 0);
    // Moving on brings nothing of the undone stroke back.
    keyboard.KeyUp(cRZKeyboard::kVKShift);
    Tool().MouseMove(In(3, 3), 0, Ev());
    EXPECT_EQ(Paper(10, 10, kWallSide1), 0);
    EXPECT_EQ(money.money, 20000);
    EXPECT_EQ(Tool().GetPending(), 0);

    // A redo under a preview puts back the stroke alone.
    Tool().MouseMove(In(15, 4), 0, Ev());
    ASSERT_EQ(Paper(15, 4, kWallSide1), 7);
    ASSERT_EQ(undo.Redo(), 0);
    EXPECT_EQ(Paper(10, 10, kWallSide1), 7);
    EXPECT_EQ(Paper(10, 10, kWallSide2), 0);
    EXPECT_EQ(Paper(15, 4, kWallSide1), 0);
    EXPECT_EQ(money.money, 20000 - 17);
    EXPECT_EQ(Tool().GetPending(), 0);
}

TEST_F(WallpaperTool, AnotherToolMadeCurrentTakesThePreviewAway) {
    SetCurrentTool(&Tool());
    Tool().MouseMove(In(15, 3), 0, Ev());
    ASSERT_EQ(Paper(15, 3, kWallSide1), 7);
    SetCurrentTool(nullptr);
    EXPECT_EQ(Paper(15, 3, kWallSide1), 0);
    EXPECT_EQ(Tool().GetPending(), 0);
    EXPECT_TRUE(Tool().Record().Entries().empty());
}

TEST_F(WallpaperTool, StrippingRefundsEightyPercentAndStrippingNothingCostsNothing) {
    Wall(15, 6, kWallSide1, 1, 30);
    keyboard.KeyDown(cRZKeyboard::kVKControl);
    Tool().MouseDown(In(15, 3), 0, Ev());
    EXPECT_TRUE(Tool().Record().Entries().empty());
    EXPECT_EQ(Tool().GetPending(), 0);
    EXPECT_EQ(Played("UI_error"), 1);
    Tool().MouseUp(In(15, 3), 0, Ev());
    EXPECT_EQ(set->GetUndoManager().UndoCount(), 0);
    Tool().MouseDown(In(15, 6), 0, Ev());
    EXPECT_EQ(Paper(15, 6, kWallSide1), 0);
    EXPECT_EQ(Tool().GetPending(), -32);
    EXPECT_EQ(Played("UI_archtool_delete"), 1);
}

TEST_F(WallpaperTool, AFenceShowsFortySixAndNeverChanges) {
    Tool().MouseDown(In(17, 3), 0, Ev());
    EXPECT_EQ(Tool().MessageCode(), 46);
    EXPECT_EQ(Paper(17, 3, kWallSide1), 248);
    EXPECT_TRUE(Tool().Record().Entries().empty());
    Tool().MouseUp(In(17, 3), 0, Ev());
    EXPECT_EQ(set->GetUndoManager().UndoCount(), 0);
}

TEST_F(WallpaperTool, NoFaceUnderThePointerIsSixOrThirtyFourUpstairs) {
    Tool().MouseDown(In(5, 5), 0, Ev());
    EXPECT_EQ(Tool().MessageCode(), 6);
    viewer.level = 2;
    Tool().MouseDown(In(5, 5), 0, Ev());
    EXPECT_EQ(Tool().MessageCode(), 34);
}

TEST_F(WallpaperTool, ARoomTakesEveryFaceLookingIntoItOneEntryPerTile) {
    keyboard.KeyDown(cRZKeyboard::kVKShift);
    Tool().MouseDown(In(11, 11), 0, Ev());
    EXPECT_EQ(Tool().MessageCode(), 6) << "a room is chosen by one of its walls";
    Tool().MouseDown(In(10, 11), 0, Ev());
    const auto& entries = Tool().Record().Entries();
    EXPECT_EQ(entries.size(), 8u);
    const auto corner = std::find_if(entries.begin(), entries.end(),
                                     [](const auto& e) { return e.tile.x == 10 && e.tile.y == 10; });
    ASSERT_NE(corner, entries.end());
    EXPECT_EQ(corner->cost, 2 * 17) << "two faces of one tile, one entry";
    EXPECT_EQ(Tool().GetPending(), 12 * 17);
    EXPECT_EQ(Paper(10, 11, kWallSide1), 7);
    EXPECT_EQ(Paper(12, 11, kWallSide4), 7);
    EXPECT_EQ(Paper(9, 11, kWallSide4), 0) << "the outside face stays";
    EXPECT_EQ(Paper(11, 9, kWallSide8), 0);
}

TEST_F(WallpaperTool, ARoomSplitByDiagonalsChangesOnlyTheFacesLookingIntoIt) {
    // A diamond of diagonals; its edge tiles are split between the diamond
    // and the outside.
    struct Edge {
        int x, y, diagonal, inward;
    } edges[] = {{6, 3, 32, 3}, {7, 4, 32, 3}, {8, 5, 32, 3}, {8, 6, 16, 4}, {7, 7, 16, 4}, {6, 8, 16, 4},
                 {5, 8, 32, 1}, {4, 7, 32, 1}, {3, 6, 32, 1}, {3, 5, 16, 2}, {4, 4, 16, 2}, {5, 3, 16, 2}};
    for (const Edge& e : edges) {
        WallInfo info;
        info.flags = e.diagonal;
        info.style[WallSideIndex(e.diagonal)] = 1;
        world.SetWallInfo(TileLocation::At(e.x, e.y, 1), info);
    }
    keyboard.KeyDown(cRZKeyboard::kVKShift);
    // From inside the split tile (5, 3): below-right of its diagonal.
    Tool().MouseDown(In(5, 3, 12, 12), 0, Ev());
    EXPECT_EQ(Tool().Record().Entries().size(), 12u);
    Tool().MouseUp(In(5, 3, 12, 12), 0, Ev());
    for (const Edge& e : edges) {
        const int outward = e.inward == 1 ? 3 : e.inward == 3 ? 1 : e.inward == 2 ? 4 : 2;
        EXPECT_EQ(Paper(e.x, e.y, e.diagonal, e.inward), 7) << e.x << "," << e.y;
        EXPECT_EQ(Paper(e.x, e.y, e.diagonal, outward), 0) << e.x << "," << e.y;
    }
    EXPECT_EQ(Paper(15, 3, kWallSide1), 0);
}

TEST_F(WallpaperTool, AStrokeStoppedByMoneyKeepsWhatWasPaidFor) {
    money.money = 40;
    Tool().MouseDown(In(15, 3), 0, Ev());
    Tool().Drag(In(15, 4), 0, Ev());
    Tool().Drag(In(15, 5), 0, Ev());
    EXPECT_TRUE(Tool().IsBlocked());
    Tool().Drag(In(15, 6), 0, Ev());
    Tool().MouseUp(In(15, 6), 0, Ev());
    EXPECT_EQ(Paper(15, 3, kWallSide1), 7);
    EXPECT_EQ(Paper(15, 4, kWallSide1), 7);
    EXPECT_EQ(Paper(15, 5, kWallSide1), 0);
    EXPECT_EQ(Paper(15, 6, kWallSide1), 0);
    EXPECT_EQ(Tool().GetPending(), 34);
    EXPECT_EQ(set->GetUndoManager().UndoCount(), 1);
}

TEST_F(WallpaperTool, SelectingTwoFiftyFiveSelectsOne) {
    Tool().SelectWallpaper(255);
    EXPECT_EQ(Tool().Wallpaper(), 1);
    Tool().SetParameter(9);
    EXPECT_EQ(Tool().Record().GetWallpaper(), 9);
}

}  // namespace
