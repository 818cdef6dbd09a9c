#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "BuildToolFixture.h"
#include "gamedata/Commander.h"
#include "gamedata/SimRandom.h"
#include "world/tools/cLevelDirtTool.h"
#include "world/tools/cSimpleAltTool.h"
#include "world/undo/UndoManager.h"

namespace {

using tova_test::Centre;

class Heard : public tova::Commander {
public:
    std::vector<int32_t> commands;
    int16_t DoCommand(int32_t command, intptr_t) override {
        commands.push_back(command);
        return 0;
    }
};

class TerrainTools : public tova_test::BuildToolFixture {
protected:
    void SetUp() override {
        BuildToolFixture::SetUp();
        world.FlattenTerrain();  // every corner at 10
        for (int x = 0; x < 24; ++x)
            for (int y = 0; y < 24; ++y) world.Grass().At(x, y) = 40;
    }
    cSimpleAltTool& Raise() { return *static_cast<cSimpleAltTool*>(Tool(cToolSet::kRaiseTerrain)); }
    cSimpleAltTool& Lower() { return *static_cast<cSimpleAltTool*>(Tool(cToolSet::kLowerTerrain)); }
    cLevelDirtTool& Level() { return *static_cast<cLevelDirtTool*>(Tool(cToolSet::kLevelTerrain)); }
    int H(int x, int y) { return world.Altitude().At(x, y).corner[1]; }
    // The steepest step between neighbouring corners of the inner lot.
    int Steepest() {
        int worst = 0;
        for (int x = 1; x <= 23; ++x)
            for (int y = 1; y <= 23; ++y) {
                if (x < 23) worst = std::max(worst, std::abs(H(x, y) - H(x + 1, y)));
                if (y < 23) worst = std::max(worst, std::abs(H(x, y) - H(x, y + 1)));
            }
        return worst;
    }
    std::vector<uint32_t> Heights() {
        std::vector<uint32_t> all;
        for (int x = 0; x < 24; ++x)
            for (int y = 0; y < 24; ++y) all.push_back(world.Altitude().At(x, y).Packed());
        return all;
    }
};

TEST_F(TerrainTools, RaisingAtTheTopAndLoweringAtTheBottomAreRefusedForFree) {
    struct Case {
        int direction, height, code;
    };
    for (const Case c : {Case{1, 64, 2}, Case{-1, 0, 3}}) {
        world.SetCornerHeight(8, 8, static_cast<uint8_t>(c.height));
        for (int x = 7; x <= 9; x += 2) world.SetCornerHeight(x, 8, static_cast<uint8_t>(c.height));
        world.SetCornerHeight(8, 7, static_cast<uint8_t>(c.height));
        world.SetCornerHeight(8, 9, static_cast<uint8_t>(c.height));
        cSimpleAltTool& tool = c.direction > 0 ? Raise() : Lower();
        SetCurrentTool(&tool);
        tool.MouseDown({8 * 16 + 2, 8 * 16 + 2}, 0, plain);
        EXPECT_EQ(tool.GetMessageCode(), c.code);
        EXPECT_EQ(H(8, 8), c.height);
        tool.MouseUp({8 * 16 + 2, 8 * 16 + 2}, 0, plain);
        EXPECT_EQ(money.money, 20000);
        EXPECT_EQ(Undo().UndoCount(), 0) << "a gesture that cost nothing leaves no entry";
    }
}

TEST_F(TerrainTools, ARaiseChargesPerUnitSmoothsItsNeighboursAndClearsTheirGrass) {
    SetCurrentTool(&Raise());
    Raise().MouseDown(Centre(8, 8), 0, plain);
    EXPECT_EQ(H(8, 8), 11);
    EXPECT_EQ(money.money, 20000 - 3);
    for (int tx = 7; tx <= 8; ++tx)
        for (int ty = 7; ty <= 8; ++ty) EXPECT_EQ(world.Grass().At(tx, ty), -128);
    EXPECT_EQ(world.Grass().At(9, 9), 40);
    // Held long enough the corner rises past its neighbours' slope limit;
    // they follow.
    for (int i = 0; i < 80; ++i) {
        clock.now += 100;
        Raise().Drag(Centre(8, 8), 0, plain);
    }
    Raise().MouseUp(Centre(8, 8), 0, plain);
    EXPECT_EQ(H(8, 8), 64);
    EXPECT_EQ(H(9, 8), 59);
    EXPECT_EQ(H(10, 8), 54);
    EXPECT_LE(Steepest(), 5);
    EXPECT_EQ(Undo().UndoCount(), 1);
}

TEST_F(TerrainTools, TheRaiseToolRepeatsAfter400msThenEvery100ms) {
    SetCurrentTool(&Raise());
    Raise().MouseDown(Centre(8, 8), 0, plain);
    EXPECT_EQ(H(8, 8), 11);
    struct Step {
        uint32_t advance;
        int height;
    };
    for (const Step s : {Step{399, 11}, Step{1, 12}, Step{99, 12}, Step{1, 13}, Step{100, 14}}) {
        clock.now += s.advance;
        Raise().Drag(Centre(8, 8), 0, plain);
        EXPECT_EQ(H(8, 8), s.height) << "after " << s.advance;
    }
}

TEST_F(TerrainTools, ShiftTurnsTheDirectionRound) {
    SetCurrentTool(&Raise());
    Hold(cRZKeyboard::kVKShift);
    Raise().MouseMove(Centre(8, 8), 0, plain);
    Raise().MouseDown(Centre(8, 8), 0, plain);
    EXPECT_EQ(H(8, 8), 9);
    EXPECT_NE(std::find(markers.log.begin(), markers.log.end(), "variant 2 1"), markers.log.end())
        << "the lowering look";
}

TEST_F(TerrainTools, LevellingBesideAWallIsRefusedAtTheWallsTileAndChangesNothing) {
    world.SetCornerHeight(6, 6, 14);
    world.SetCornerHeight(10, 7, 13);  // its tiles are (9, 6), (10, 6), (9, 7) and (10, 7)
    AddSide(9, 6, kWallSide1);
    const std::vector<uint32_t> before = Heights();
    SetCurrentTool(&Level());
    Gesture(Level(), {Centre(5, 5), Centre(9, 7)});
    EXPECT_EQ(Level().GetMessageCode(), 1);
    EXPECT_EQ(Level().GetMessageTile().x, 9);
    EXPECT_EQ(Level().GetMessageTile().y, 6);
    EXPECT_EQ(Heights(), before);
    EXPECT_EQ(money.money, 20000);
    EXPECT_EQ(Undo().UndoCount(), 0);
    EXPECT_EQ(std::count(sound.played.begin(), sound.played.end(), "UI_error -4"), 1);
}

TEST_F(TerrainTools, LevellingFlattensToTheStartCornerAndItsUndoRestoresEverything) {
    world.SetCornerHeight(6, 6, 14);
    world.SetCornerHeight(7, 7, 6);
    world.SetCornerHeight(5, 5, 12);  // the start corner: the drag goes down and right
    world.Grass().At(8, 8) = 7;
    const std::vector<uint32_t> heights = Heights();
    std::vector<int8_t> grass;
    for (int x = 0; x < 24; ++x)
        for (int y = 0; y < 24; ++y) grass.push_back(world.Grass().At(x, y));
    SetCurrentTool(&Level());
    Gesture(Level(), {Centre(5, 5), Centre(6, 6), Centre(7, 7)});
    for (int x = 5; x <= 8; ++x)
        for (int y = 5; y <= 8; ++y) EXPECT_EQ(H(x, y), 12) << x << "," << y;
    // 2 units at (6, 6), 6 at (7, 7), 2 at each of the other 13 corners.
    const int spent = 20000 - money.money;
    EXPECT_EQ(spent, (2 + 6 + 13 * 2) * 3);
    EXPECT_LE(Steepest(), 5);
    EXPECT_EQ(world.Grass().At(8, 8), -128);

    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_EQ(Heights(), heights);
    std::vector<int8_t> after;
    for (int x = 0; x < 24; ++x)
        for (int y = 0; y < 24; ++y) after.push_back(world.Grass().At(x, y));
    EXPECT_EQ(after, grass);
    EXPECT_EQ(money.money, 20000);
    ASSERT_EQ(Undo().Redo(), 0);
    EXPECT_EQ(H(6, 6), 12);
    EXPECT_EQ(money.money, 20000 - spent);
}

TEST_F(TerrainTools, DraggingOnlyTriesTheLevellingAndEscapeCancelsIt) {
    world.SetCornerHeight(6, 6, 14);
    const std::vector<uint32_t> before = Heights();
    Heard heard;
    SetCurrentTool(&Level());
    Level().MouseDown(Centre(5, 5), 0, plain);
    Level().Drag(Centre(7, 7), 0, plain);
    EXPECT_EQ(Heights(), before) << "the drag is a trial";
    EXPECT_EQ(shell.toolTip, std::to_string(4 * 3)) << "the trial's cost at the cursor";
    EXPECT_EQ(cDirtTool::MarkArray()->At(6, 6) & 3, 1);
    EXPECT_TRUE(Level().KeyDown(27, 0));
    EXPECT_FALSE(Level().Dragging());
    EXPECT_EQ(cDirtTool::MarkArray()->At(6, 6) & 3, 0);
    Level().MouseUp(Centre(7, 7), 0, plain);
    EXPECT_EQ(Heights(), before);
    EXPECT_EQ(money.money, 20000);
    EXPECT_EQ(Undo().UndoCount(), 0);
}

TEST_F(TerrainTools, AnotherToolMadeCurrentDuringAGestureEndsIt) {
    // A paid raise stays, and can be undone.
    SetCurrentTool(&Raise());
    Raise().MouseDown(Centre(8, 8), 0, plain);
    ASSERT_EQ(H(8, 8), 11);
    SetCurrentTool(&Level());
    EXPECT_FALSE(Raise().Dragging());
    ASSERT_EQ(Undo().UndoCount(), 1);
    // A levelling drag is only a trial: nothing to record.
    const std::vector<uint32_t> raised = Heights();
    Level().MouseDown(Centre(5, 5), 0, plain);
    Level().Drag(Centre(9, 9), 0, plain);
    SetCurrentTool(&Raise());
    EXPECT_FALSE(Level().Dragging());
    EXPECT_EQ(Heights(), raised);
    EXPECT_EQ(Undo().UndoCount(), 1);
    EXPECT_EQ(money.money, 20000 - 3);
    // A new raise is a gesture of its own.
    Raise().MouseDown(Centre(15, 15), 0, plain);
    Raise().MouseUp(Centre(15, 15), 0, plain);
    ASSERT_EQ(Undo().UndoCount(), 2);
    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_EQ(H(15, 15), 10);
    EXPECT_EQ(H(8, 8), 11) << "the earlier raise is not part of it";
    EXPECT_EQ(money.money, 20000 - 3);
    ASSERT_EQ(Undo().Undo(), 0);
    EXPECT_EQ(H(8, 8), 10);
    EXPECT_EQ(money.money, 20000);
}

TEST_F(TerrainTools, LevellingRefusesMoneyShortfallsAndGroupsReachingOut) {
    world.SetCornerHeight(6, 6, 14);
    const std::vector<uint32_t> before = Heights();
    SetCurrentTool(&Level());
    money.money = 5;
    Gesture(Level(), {Centre(5, 5), Centre(7, 7)});
    EXPECT_EQ(Level().GetMessageCode(), 6);
    EXPECT_EQ(Heights(), before);
    money.money = 20000;
    objects.groups.push_back({{TileLocation::At(6, 6, 1), TileLocation::At(9, 6, 1)}, false});
    Gesture(Level(), {Centre(5, 5), Centre(7, 7)});
    EXPECT_EQ(Level().GetMessageCode(), 5);
    EXPECT_EQ(Level().GetMessageTile().x, 9);
    EXPECT_EQ(Heights(), before);
}

TEST_F(TerrainTools, OnTheUpperLevelThePressIsRefusedWithItsMessage) {
    viewer.level = 2;
    cDirtTool::MessageTexts();
    SetCurrentTool(&Raise());
    Raise().MouseDown(Centre(8, 8), 0, plain);
    EXPECT_EQ(Raise().GetMessageCode(), 8);
    EXPECT_FALSE(Raise().Dragging());
    EXPECT_EQ(H(8, 8), 10);
    EXPECT_FALSE(shell.toolTip.empty());
    // The message stays 500 ms, then a move takes it away.
    clock.now += 499;
    Raise().MouseMove(Centre(8, 8), 0, plain);
    EXPECT_FALSE(shell.toolTip.empty());
    clock.now += 1;
    Raise().MouseMove(Centre(8, 8), 0, plain);
    EXPECT_TRUE(shell.toolTip.empty());
}

TEST_F(TerrainTools, SeededRandomGesturesNeverLeaveASlopeSteeperThanFive) {
    tova::SetRandomSeed(12345);
    AddSide(12, 12, kWallSide1);
    world.Floors(1)->At(15, 4) = 1;
    for (int i = 0; i < 60; ++i) {
        const int kind = static_cast<int>(tova::NextRandom() % 4);
        const int x = 1 + static_cast<int>(tova::NextRandom() % 22), y = 1 + static_cast<int>(tova::NextRandom() % 22);
        if (kind == 3) {
            const int x2 = 1 + static_cast<int>(tova::NextRandom() % 22), y2 = 1 + static_cast<int>(tova::NextRandom() % 22);
            SetCurrentTool(&Level());
            Gesture(Level(), {Centre(x, y), Centre(x2, y2)});
        } else {
            cSimpleAltTool& tool = kind == 0 ? Raise() : Lower();
            SetCurrentTool(&tool);
            if (tova::NextRandom() & 1) Hold(cRZKeyboard::kVKControl);
            tool.MouseDown(Centre(x, y), 0, plain);
            for (int r = 0; r < 12; ++r) {
                clock.now += 100 + 300 * (r == 0);
                tool.Drag(Centre(x, y), 0, plain);
            }
            tool.MouseUp(Centre(x, y), 0, plain);
            Release(cRZKeyboard::kVKControl);
        }
        ASSERT_LE(Steepest(), 5) << "gesture " << i;
    }
    EXPECT_EQ(world.Floors(1)->At(15, 4), 1);
}

TEST_F(TerrainTools, DigitsAndLettersSendTheirCommands) {
    Heard heard;
    cDirtTool& tool = Level();
    EXPECT_TRUE(tool.Char('1', 0, 1));
    EXPECT_TRUE(tool.Char('9', 0, 1));
    EXPECT_TRUE(tool.Char('h', 0, 1));
    EXPECT_TRUE(tool.Char('o', 0, 1));
    EXPECT_TRUE(tool.Char('o', 0, 2)) << "handled without action";
    EXPECT_FALSE(tool.Char('x', 0, 1));
    EXPECT_FALSE(tool.ForwardShortcut('2', 0));
    EXPECT_TRUE(tool.ForwardShortcut('2', 0x10000 | 1));
    EXPECT_EQ(heard.commands, (std::vector<int32_t>{154, 162, 800, 188, 155}));
}

}  // namespace

namespace {

TEST_F(TerrainTools, APressWithoutActivationStillWorks) {
    SetCurrentTool(&Level());
    SetCurrentTool(nullptr);  // the shared arrays go with the last tool
    Raise().MouseDown(Centre(8, 8), 0, plain);
    EXPECT_EQ(H(8, 8), 11);
    Raise().MouseUp(Centre(8, 8), 0, plain);
    EXPECT_EQ(Undo().UndoCount(), 1);
}

}  // namespace
