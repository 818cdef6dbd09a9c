#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/cRZKeyboard.h"
#include "support/RecordingViewer.h"
#include "support/ToolFakes.h"
#include "world/cRotatableWorld.h"
#include "world/tools/ToolInput.h"
#include "world/tools/cTileTool.h"
#include "world/tools/cObjPickerTool.h"
#include "world/tools/cToolSet.h"
#include "world/tools/cWaterTool.h"

namespace {

using tova::FinePoint;
using tova::TileLocation;

class Tools : public ::testing::Test {
protected:
    cRotatableWorld world{24};
    tova_test::RecordingSoundPlayer sound;
    tova_test::ManualClock clock;
    tova_test::FakeMoney money;
    tova_test::FakeShell shell;
    cRZKeyboard keyboard;
    tova_test::RecordingViewer viewer;
    ToolServices services;
    std::unique_ptr<cToolSet> set;

    void SetUp() override {
        services = {&world, &shell, &money, &keyboard, &clock, &viewer};
        viewer.Register();
        set = std::make_unique<cToolSet>(services);
    }
    void TearDown() override { SetCurrentTool(nullptr); }
};

TEST_F(Tools, GetToolAnswersTheBuiltToolsAndNullOutsideTheTable) {
    EXPECT_EQ(set->GetTool(11), nullptr);
    EXPECT_EQ(set->GetTool(-1), nullptr);
    EXPECT_EQ(set->GetTool(0x8008), nullptr) << "bit 15 set";
    EXPECT_NE(dynamic_cast<cTileTool*>(set->GetTool(8)), nullptr);
    EXPECT_NE(dynamic_cast<cWaterTool*>(set->GetTool(10)), nullptr);
    EXPECT_NE(dynamic_cast<cObjPickerTool*>(set->GetTool(cToolSet::kObjectPicker)), nullptr);
    EXPECT_EQ(set->GetTool(0x10008), set->GetTool(8)) << "the id is a 16-bit value";
}

TEST_F(Tools, AnErrorPlaysAtMostOnceIn400MillisecondsAlsoAcrossTheClocksWrap) {
    cTool& tool = *set->GetTool(8);
    tool.PlayError();
    clock.now += 399;
    tool.PlayError();
    clock.now += 2;
    tool.PlayError();
    EXPECT_EQ(sound.played, (std::vector<std::string>{"UI_error -4", "UI_error -4"}));
    sound.played.clear();
    clock.now = 0xFFFFFF00u;
    tool.PlayError();
    clock.now = 0x50;  // 336 ms later, past the wrap
    tool.PlayError();
    clock.now = 0x100;  // 512 ms after the last one
    tool.PlayError();
    clock.now = 0x200;  // 256 ms after that
    tool.PlayError();
    EXPECT_EQ(sound.played, (std::vector<std::string>{"UI_error -4", "UI_error -4"}));
    // Each sound keeps its own time.
    sound.played.clear();
    tool.PlayDelete();
    tool.PlayRotate();
    tool.PlayMoneyBack();
    EXPECT_EQ(sound.played,
              (std::vector<std::string>{"UI_archtool_delete -4", "UI_object_rotate -4", "UI_moneyback -4"}));
}

TEST_F(Tools, CanAffordCountsPendingMoney) {
    cTool& tool = *set->GetTool(10);
    money.money = 0;
    EXPECT_TRUE(tool.CanAfford(0));
    EXPECT_TRUE(tool.CanAfford(-5));
    EXPECT_FALSE(tool.CanAfford(1));
    money.money = 1000;
    EXPECT_EQ(tool.AddPending(700), 700);
    EXPECT_TRUE(tool.CanAfford(300));
    EXPECT_FALSE(tool.CanAfford(301));
    tool.SubPending(200);
    EXPECT_TRUE(tool.CanAfford(500));
    EXPECT_EQ(tool.BookPending(), 0);
    EXPECT_EQ(money.money, 500);
    EXPECT_EQ(tool.GetPending(), 0);
}

TEST_F(Tools, MarkTilesMarksInsideTilesOnlyAndWallsHideTheNeighbour) {
    cTool& tool = *set->GetTool(8);
    uint64_t rows[64] = {};
    tool.MarkTiles(TileLocation::At(5, 5, 1), rows);
    EXPECT_EQ(rows[5], 0u) << "no highlight flag";
    tool.SetHighlight(true);
    for (auto ring : {TileLocation::At(0, 5, 1), TileLocation::At(23, 5, 1), TileLocation::At(5, 0, 1),
                      TileLocation::At(5, 23, 1)}) {
        tool.MarkTiles(ring, rows);
        for (uint64_t row : rows) EXPECT_EQ(row, 0u);
    }
    rows[5] = uint64_t{1} << 4;  // the neighbour at x - 1
    rows[4] = uint64_t{1} << 5;  // the neighbour at y - 1
    WallInfo info = world.GetWallInfo(TileLocation::At(5, 5, 1));
    info.flags |= 1;
    world.SetWallInfo(TileLocation::At(5, 5, 1), info);
    tool.MarkTiles(TileLocation::At(5, 5, 1), rows);
    EXPECT_EQ(rows[5], uint64_t{1} << 5) << "bit 0 hides the neighbour at x - 1";
    EXPECT_EQ(rows[4], uint64_t{1} << 5);
    tool.MarkTiles(TileLocation::At(1, 1, 1), rows);
    EXPECT_EQ(rows[1], uint64_t{1} << 1) << "the first inside tile";
}

TEST_F(Tools, CursorTextAndViewLevelHelpers) {
    cTool& tool = *set->GetTool(8);
    shell.mouseX = 100;
    shell.mouseY = 50;
    tool.ShowCursorText("Not here");
    EXPECT_EQ(shell.toolTip, "Not here");
    EXPECT_EQ(shell.toolTipX, 117);
    EXPECT_EQ(shell.toolTipY, 45);
    tool.ShowCursorText("");
    EXPECT_EQ(shell.toolTip, "");
    viewer.level = 0;
    EXPECT_EQ(tool.GetViewLevel(), 1);
    viewer.level = 2;
    EXPECT_EQ(tool.GetViewLevel(), 2);
    std::string text = "old";
    tool.Describe(text);
    EXPECT_EQ(text.rfind("Tool #(", 0), 0u);
    EXPECT_EQ(text.back(), ')');
}

TEST(WorldViewAccessors, ViewTilesAreTurnedToTheWorldAndTheBorderIsTheOuterRing) {
    cRotatableWorld world(24);
    world.SetRotation(1, true);
    const TileLocation view = world.WorldToView(TileLocation::At(3, 4, 1));
    world.SetFloor(view, 9);
    world.SetTileFlags(view, 0x20);
    EXPECT_EQ(world.Floors(1)->At(3, 4), 9);
    EXPECT_EQ(world.Flags(1)->At(3, 4), 0x20);
    EXPECT_EQ(world.GetFloor(view), 9);
    world.Rooms(1)->At(3, 4) = 513;
    world.Objects(1)->At(3, 4) = 40000;
    EXPECT_EQ(world.GetRoomId(view), 513);
    EXPECT_EQ(world.GetObjectId(view), 40000);
    EXPECT_EQ(world.GetFloor(TileLocation::At(3, 4, 3)), 0) << "no such level";
    world.SetFloor(TileLocation::At(3, 4, 3), 1);  // written nowhere

    struct Case {
        int x, y;
        bool border;
    };
    for (const Case c : {Case{0, 5, true}, Case{23, 5, true}, Case{5, 23, true}, Case{-1, 5, true},
                         Case{24, 30, true}, Case{1, 1, false}, Case{22, 22, false}}) {
        EXPECT_EQ(world.IsBorderTile(TileLocation::At(c.x, c.y, 1)), c.border) << c.x << "," << c.y;
        EXPECT_EQ(world.IsBorderPoint(FinePoint::FromTile(c.x, c.y)), c.border);
    }
    // The usable rectangle in view tiles follows the rotation.
    EXPECT_TRUE(world.IsOutsideLotBounds(world.WorldToView(TileLocation::At(0, 5, 1))));
    EXPECT_FALSE(world.IsOutsideLotBounds(world.WorldToView(TileLocation::At(1, 22, 1))));
    EXPECT_TRUE(world.IsOutsideLotBounds(TileLocation::At(5, 5, 1))) << "off the turned lot";
}

}  // namespace
