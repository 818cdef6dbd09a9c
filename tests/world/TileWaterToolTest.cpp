#include <gtest/gtest.h>

#include <memory>

#include "framework/cRZKeyboard.h"
#include "support/RecordingViewer.h"
#include "support/ToolFakes.h"
#include "world/cPoolLayer.h"
#include "world/cRotatableWorld.h"
#include "world/tools/ToolInput.h"
#include "world/tools/cTileTool.h"
#include "world/tools/cToolSet.h"
#include "world/tools/cWaterTool.h"

namespace {

using tova::FinePoint;
using tova::TileLocation;

FinePoint Fine(int x, int y) { return {x * 16 + 8, y * 16 + 8}; }

class BuildTools : public ::testing::Test {
protected:
    cRotatableWorld world{24};
    tova_test::RecordingSoundPlayer sound;
    tova_test::ManualClock clock;
    tova_test::FakeShell shell;
    cRZKeyboard keyboard;
    tova_test::RecordingViewer viewer;
    ToolServices services;
    std::unique_ptr<cToolSet> set;
    ToolMouseEvent plain;

    void SetUp() override {
        services = {&world, &shell, nullptr, &keyboard, &clock, &viewer};
        set = std::make_unique<cToolSet>(services);
    }
    void TearDown() override { SetCurrentTool(nullptr); }
    cTileTool& Tile() { return *static_cast<cTileTool*>(set->GetTool(cToolSet::kTile)); }
    cWaterTool& Water() { return *static_cast<cWaterTool*>(set->GetTool(cToolSet::kWater)); }
    bool Marked(int x, int y) { return (world.Flags(1)->At(x, y) & kTileOutsideArea) != 0; }
    bool Wet(int x, int y) { return world.GetWaterLayer()->At(x, y) != kNoPoolCell; }
    int WetCount() {
        int n = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) n += world.GetWaterLayer()->Contains(x, y) && Wet(x, y);
        return n;
    }
};

TEST_F(BuildTools, TheGrassPainterAddsOrSubtractsItsStepOnTilesInsideTheLot) {
    struct Case {
        uint16_t parameter;
        int expected;
    };
    for (const Case c : {Case{0x0021, 2}, Case{0xFFF1, -1}}) {
        world.Grass().At(5, 5) = world.TargetGrass().At(5, 5) = 10;
        world.Grass().At(5, 6) = world.TargetGrass().At(5, 6) = 10;
        Tile().SetParameter(static_cast<int16_t>(c.parameter));
        Tile().MouseDown(Fine(5, 5), 0, plain);
        Tile().Drag(Fine(5, 6), 0, plain);
        Tile().Drag(Fine(5, 6), 0, plain);  // every drag event paints
        Tile().MouseUp(Fine(5, 6), 0, plain);
        EXPECT_EQ(world.Grass().At(5, 5), 10 + c.expected) << std::hex << c.parameter;
        EXPECT_EQ(world.TargetGrass().At(5, 5), 10 + c.expected);
        EXPECT_EQ(world.Grass().At(5, 6), 10 + 2 * c.expected);
    }
    // Clamped, and never on the edge ring.
    world.TargetGrass().At(7, 7) = 126;
    Tile().SetParameter(0x0051);
    Tile().MouseDown(Fine(7, 7), 0, plain);
    EXPECT_EQ(world.Grass().At(7, 7), 127);
    world.Grass().At(0, 7) = world.TargetGrass().At(0, 7) = 3;
    Tile().Drag(Fine(0, 7), 0, plain);
    Tile().Drag(FinePoint{-40, 7 * 16}, 0, plain);
    EXPECT_EQ(world.Grass().At(0, 7), 3);
}

TEST_F(BuildTools, PressingOnAMarkedTileClearsTheMarkOnEveryTileDraggedOver) {
    for (int x = 3; x <= 8; ++x) world.Flags(1)->At(x, 4) = kTileOutsideArea | 0x01;
    Tile().SetParameter(0);
    Tile().MouseMove(Fine(3, 4), 0, plain);
    Tile().MouseDown(Fine(3, 4), 0, plain);
    EXPECT_EQ(Tile().GetState(), cTileTool::kPainting);
    for (int x = 4; x <= 6; ++x) Tile().Drag(Fine(x, 4), 0, plain);
    Tile().MouseUp(Fine(6, 4), 0, plain);
    for (int x = 3; x <= 6; ++x) EXPECT_FALSE(Marked(x, 4)) << x;
    EXPECT_TRUE(Marked(7, 4));
    EXPECT_EQ(world.Flags(1)->At(4, 4), 0x01) << "other flag bits are kept";
    EXPECT_EQ(Tile().GetState(), cTileTool::kIdle);
    // An unmarked tile starts a marking gesture.
    Tile().MouseMove(Fine(10, 10), 0, plain);
    Tile().MouseDown(Fine(10, 10), 0, plain);
    Tile().MouseUp(Fine(10, 10), 0, plain);
    EXPECT_TRUE(Marked(10, 10));
}

TEST_F(BuildTools, ARectangleFollowsTheMouseAndACancelledOneLeavesEveryMark) {
    world.Flags(1)->At(6, 6) = kTileOutsideArea;
    Tile().SetParameter(0);
    Tile().MouseMove(Fine(4, 4), 0, plain);
    ToolMouseEvent rect;
    rect.flags = 0x200;
    Tile().MouseDown(Fine(4, 4), 0, rect);
    EXPECT_EQ(Tile().GetState(), cTileTool::kPaintingRect);
    Tile().Drag(Fine(7, 6), 0, rect);
    int marked = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) marked += Marked(x, y);
    EXPECT_EQ(marked, 4 * 3);
    Tile().Drag(Fine(5, 5), 0, rect);  // shrinking puts the rest back
    EXPECT_FALSE(Marked(7, 6));
    EXPECT_TRUE(Marked(6, 6)) << "marked before the press";
    ToolMouseEvent cancel;
    cancel.flags = 1;
    Tile().MouseUp(Fine(5, 5), 0, cancel);
    marked = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) marked += Marked(x, y);
    EXPECT_EQ(marked, 1);
    EXPECT_TRUE(Marked(6, 6));
}

TEST_F(BuildTools, APressWithNoHoveredTileIsAnError) {
    Tile().SetParameter(0);
    Tile().MouseDown(Fine(0, 0), 0, plain);
    EXPECT_EQ(sound.played, std::vector<std::string>{"UI_error -4"});
    EXPECT_EQ(Tile().GetState(), cTileTool::kIdle);
}

TEST_F(BuildTools, WaterFillsTheDraggedRectangleAndCtrlBeforeThePressErases) {
    SetCurrentTool(&Water());
    EXPECT_TRUE(WaterToolActive());
    Water().MouseDown(Fine(4, 4), 0, plain);
    Water().Drag(Fine(6, 5), 0, plain);
    Water().MouseUp(Fine(6, 5), 0, plain);
    EXPECT_EQ(WetCount(), 6);
    EXPECT_TRUE(Wet(6, 5));
    // Ctrl during a drag does not switch to erasing.
    Water().MouseDown(Fine(8, 8), 0, plain);
    Water().KeyDown(cRZKeyboard::kVKControl, 0);
    Water().Drag(Fine(8, 9), 0, plain);
    EXPECT_FALSE(Water().Erasing());
    Water().MouseUp(Fine(8, 9), 0, plain);
    Water().KeyUp(cRZKeyboard::kVKControl, 0);
    EXPECT_EQ(WetCount(), 8);
    // Ctrl before the press erases.
    EXPECT_FALSE(Water().KeyDown(cRZKeyboard::kVKControl, 0)) << "never reported as handled";
    EXPECT_TRUE(Water().Erasing());
    Water().MouseDown(Fine(5, 4), 0, plain);
    Water().Drag(Fine(5, 5), 0, plain);
    Water().MouseUp(Fine(5, 5), 0, plain);
    EXPECT_EQ(WetCount(), 6);
    EXPECT_FALSE(Wet(5, 4));
    EXPECT_FALSE(Wet(5, 5));
    // Resume follows the keyboard's Ctrl.
    Water().Resume();
    EXPECT_FALSE(Water().Erasing());
    SetCurrentTool(nullptr);
    EXPECT_FALSE(WaterToolActive());
}

TEST_F(BuildTools, AWaterRectangleAtTheLotsEdgeStaysInside) {
    for (int rotation = 0; rotation < 4; ++rotation) {
        world.SetRotation(rotation, true);
        world.GetWaterLayer()->Clear();
        const TileLocation corner = world.WorldToView(TileLocation::At(23, 23, 1));
        const TileLocation inner = world.WorldToView(TileLocation::At(20, 20, 1));
        Water().MouseDown(Fine(inner.x, inner.y), 0, plain);
        Water().Drag(Fine(corner.x, corner.y), 0, plain);
        Water().Drag(Fine(corner.x + (corner.x > inner.x ? 1 : -1), corner.y), 0, plain);  // off the grid
        Water().MouseUp(Fine(corner.x, corner.y), 0, plain);
        EXPECT_EQ(WetCount(), 9) << rotation;
        EXPECT_TRUE(Wet(22, 22));
        EXPECT_FALSE(Wet(23, 22));
    }
}

}  // namespace
