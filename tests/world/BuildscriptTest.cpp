#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gamedata/UIStrings.h"
#include "resfile/StringSet.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"
#include "world/LotFile.h"
#include "world/cRotatableWorld.h"
#include "world/walls/WallManager.h"

namespace {

using tova_test::RunProgram;

// A lot with one closed 3 by 3 room whose top wall has a door.
void MakeLot(const std::string& path) {
    cRotatableWorld world(64);
    auto add = [&](int x, int y, int32_t side, int style) {
        WallInfo info = world.GetWallInfo(TileLocation::At(x, y, 1));
        info.flags |= side;
        info.style[WallSideIndex(side)] = style;
        info.SetPattern(side, 0, 4);
        world.SetWallInfo(TileLocation::At(x, y, 1), info);
    };
    for (int i = 5; i <= 7; ++i) {
        add(i, 5, kWallSide2, i == 6 ? 3 : 1);
        add(i, 7, kWallSide8, 1);
        add(5, i, kWallSide1, 1);
        add(7, i, kWallSide4, 1);
    }
    std::string error;
    ASSERT_EQ(SaveLotLayers(world, path, 53, error), 0) << error;
}

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(Buildscript, ShowsPiecesAndTheCountLine) {
    tova_test::ScratchDir dir;
    const std::string lot = (dir / "lot.iff").string(), script = (dir / "script.txt").string();
    MakeLot(lot);
    Write(script, "# the room\nshow pieces 1\nrotate 1\nshow pieces 1\n");
    const auto run = RunProgram("buildscript", {"--lot", lot, "--script", script});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find("> rotate")),
              "> show pieces 1\n"
              "post 5 5 12\npost 5 8 9\npost 8 5 6\npost 8 8 3\n"
              "wall 5 5 5 8 1 3\nwall 5 5 8 5 3 3\nwall 5 8 8 8 3 3\nwall 8 5 8 8 1 3\n"
              "pieces L1: 4 posts, 4 walls\n");
    EXPECT_NE(run.out.find("> rotate 1\n> show pieces 1\npost 56 5 12\n"), std::string::npos) << run.out;
}

TEST(Buildscript, WallsDownCutawayAndDraw) {
    tova_test::ScratchDir dir;
    const std::string lot = (dir / "lot.iff").string(), script = (dir / "script.txt").string();
    MakeLot(lot);
    Write(script, "wallsdown 1 on\nshow walls 1\nwallsdown 1 off\ncutaway 1 4 4 6 6\nshow posts 1\ndraw 1 2\n");
    const auto run = RunProgram("buildscript", {"--lot", lot, "--script", script});
    ASSERT_EQ(run.code, 0) << run.err;
    // The door entry gets the lowered-door bit too; room 1 lies in front.
    EXPECT_NE(run.out.find("wall 5 5 8 5 3 rooms 1 0: 1/1/4/0 9/3/4/0 1/1/4/0\n"), std::string::npos) << run.out;
    const size_t draw = run.out.find("> draw 1 2\n");
    ASSERT_NE(draw, std::string::npos);
    EXPECT_NE(run.out.find("sprite g", draw), std::string::npos);
    EXPECT_NE(run.out.find("post 5 5 mask 12"), std::string::npos);
}

TEST(Buildscript, BadCommandsNameTheirLine) {
    tova_test::ScratchDir dir;
    const std::string lot = (dir / "lot.iff").string(), script = (dir / "script.txt").string();
    MakeLot(lot);
    Write(script, "show pieces 1\n\nspin 3\n");
    auto run = RunProgram("buildscript", {"--lot", lot, "--script", script});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("line 3"), std::string::npos) << run.err;
    Write(script, "cutaway 1 0 0 99 1\n");
    run = RunProgram("buildscript", {"--lot", lot, "--script", script});
    EXPECT_EQ(run.code, 2);
    run = RunProgram("buildscript", {"--lot", (dir / "missing.iff").string(), "--script", script});
    EXPECT_EQ(run.code, 1);
    run = RunProgram("buildscript", {"--script", script});
    EXPECT_EQ(run.code, 2);
}

TEST(Buildscript, SaveWritesTheLayersBack) {
    tova_test::ScratchDir dir;
    const std::string lot = (dir / "lot.iff").string(), script = (dir / "script.txt").string();
    const std::string saved = (dir / "saved.iff").string();
    MakeLot(lot);
    Write(script, "show pieces 1\n");
    ASSERT_EQ(RunProgram("buildscript", {"--lot", lot, "--script", script, "--save", saved}).code, 0);
    cRotatableWorld world(64);
    ASSERT_EQ(LoadLotLayers(world, saved, 53), 0);
    world.GetWallManager().Update();  // the posts come back from the loaded walls
    EXPECT_EQ(world.GetWallManager().Posts(1).size(), 4u);
    EXPECT_EQ(world.GetWallManager().Walls(1).size(), 4u);
}

}  // namespace

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// The starter house compiled from its source into a scratch data root.
class StarterHouse : public ::testing::Test {
protected:
    void SetUp() override {
        // Its front door is an object of the catalogue: the objects are
        // compiled with it.
        const std::filesystem::path content = std::filesystem::path(TOVA_SOURCE_DIR) / "content";
        std::vector<std::string> sources = {(content / "UserData/Houses/House01.lot").string()};
        for (const auto& e : std::filesystem::recursive_directory_iterator(content / "GameData"))
            if (e.path().extension() == ".res") sources.push_back(e.path().string());
        const auto built = tova_test::CompileContentShared(dir.Path().string(), sources);
        ASSERT_EQ(built.code, 0) << built.err;
        lot = (dir / "UserData/Houses/House01.iff").string();
    }
    tova_test::ProgramRun Run(const std::string& text) {
        const std::string script = (dir / "script.txt").string();
        Write(script, text);
        return RunProgram("buildscript", {"--size", "24", "--lot", lot, "--script", script});
    }
    tova_test::ScratchDir dir;
    std::string lot;
};

TEST_F(StarterHouse, ListsItsPieces) {
    const auto run = Run("show pieces 1\n");
    ASSERT_EQ(run.code, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 20u) << run.out;
    EXPECT_EQ(lines.back(), "pieces L1: 9 posts, 9 walls");
    EXPECT_EQ(lines[1], "post 3 3 12");
    EXPECT_NE(run.out.find("wall 11 3 13 5 5 2\n"), std::string::npos) << "the diagonal run";
    EXPECT_NE(run.out.find("wall 15 9 19 9 3 4\n"), std::string::npos) << "the fence";
}

TEST_F(StarterHouse, FindsTwoRoomsThePoolAndTheOutside) {
    const auto run = Run("rooms\nshow rooms 1\n");
    ASSERT_EQ(run.code, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_GE(lines.size(), 4u + 24u);
    EXPECT_EQ(lines[1], "rooms L1: 4");
    EXPECT_EQ(lines[2], "rooms L2: 1");
    auto room = [&](int x, int y) { return std::stoi(lines[4 + y].substr(x * 5, 4)); };
    EXPECT_EQ(room(0, 0), 0);
    EXPECT_EQ(room(5, 5), 1) << "the left room";
    EXPECT_EQ(room(10, 8), 2) << "the right room";
    EXPECT_EQ(room(16, 5), 3) << "the pool";
    EXPECT_EQ(room(16, 10), 0) << "the fence closes nothing";
    EXPECT_EQ(lines[4 + 3].substr(11 * 5, 4), "  sp") << "the diagonal splits its tiles";
}

TEST_F(StarterHouse, RoofsTheHouseOnly) {
    const auto run = Run("show roof 1\nshow roof 2\n");
    ASSERT_EQ(run.code, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u + 2 * 48u);
    int roofed = 0;
    for (int i = 0; i < 48; ++i) {
        for (int j = 0; j < 48; ++j) {
            const std::string cell = lines[1 + i].substr(j * 4, 3);
            if (cell == "...") continue;
            ++roofed;
            // The house covers half-tile cells 6..25 across, 6..21 down; its
            // eaves reach one cell further.
            EXPECT_TRUE(j >= 5 && j <= 26 && i >= 5 && i <= 22) << "cell " << j << "," << i << " " << cell;
            EXPECT_EQ(lines[50 + i].substr(j * 4, 3), "...") << "nothing upstairs";
        }
    }
    EXPECT_GT(roofed, 20 * 16);
    EXPECT_EQ(lines[1 + 11].substr(10 * 4, 3).substr(1, 1), "s") << "a sloped cell over the left room";
}

}  // namespace

namespace {

TEST_F(StarterHouse, AWaterDragPrintsTheWaterCellsAndTheMoneyLine) {
    const auto run = Run("tool 10\ndown 15 16\ndrag 16.5 17\nup 16.5 17\n");
    ASSERT_EQ(run.code, 0) << run.err;
    const auto lines = Lines(run.out);
    const std::vector<std::string> expected = {
        "> tool 10",
        "money 20000 pending 0 undo 0 redo 0",
        "> down 15 16",
        "Water (15,16) 255 -> 0",
        "money 20000 pending 0 undo 0 redo 0",
        "> drag 16.5 17",
        "Water (15,16) 0 -> 12",
        "Water (16,16) 255 -> 6",
        "Water (15,17) 255 -> 9",
        "Water (16,17) 255 -> 3",
        "money 20000 pending 0 undo 0 redo 0",
        "> up 16.5 17",
        "money 20000 pending 0 undo 0 redo 0",
    };
    EXPECT_EQ(lines, expected) << run.out;
}

TEST_F(StarterHouse, ARoofChangeIsUndoneAndRedone) {
    const auto run = Run("undo\nroof 1.25 r4_\nundo\nredo\nredo\n");
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> expected = {
        "> undo",           "money 20000 pending 0 undo 0 redo 0", "> roof 1.25 r4_",
        "roof r4_ 1.25",    "money 20000 pending 0 undo 1 redo 0", "> undo",
        "roof r1_ 0.60",    "money 20000 pending 0 undo 0 redo 1", "> redo",
        "roof r4_ 1.25",    "money 20000 pending 0 undo 1 redo 0", "> redo",
        "money 20000 pending 0 undo 1 redo 0",
    };
    EXPECT_EQ(Lines(run.out), expected) << run.out;
}

TEST_F(StarterHouse, ToolEventsRefuseUnknownToolsAndBadArguments) {
    for (const char* bad : {"tool 11\n", "tool -1\n", "hold alt\n", "down x 3\n", "level 3\n", "char ab\n"}) {
        const auto run = Run(bad);
        EXPECT_EQ(run.code, 2) << bad;
        EXPECT_NE(run.err.find("line 1"), std::string::npos) << run.err;
    }
}

}  // namespace


namespace {

TEST(PlacementMessages, TheInterfaceTextsHoldOneMessageACode) {
    tova_test::ScratchDir dir;
    const auto built = tova_test::CompileContent({"--out", dir.Path().string(),
                                               std::string(TOVA_SOURCE_DIR) + "/content/GameData/UIText.res"});
    ASSERT_EQ(built.code, 0) << built.err;
    const std::string previous = tova::GetUIDirectory();
    tova::SetUIDirectory((dir / "GameData").string());
    StringSet set;
    const bool loaded = tova::LoadUIStringSet(137, "UIText", set, false);
    tova::SetUIDirectory(previous);
    ASSERT_TRUE(loaded);
    ASSERT_NE(set.GetString(35), nullptr) << "the wall that holds an object";
    EXPECT_NE(std::string(set.GetString(35)).find("wall"), std::string::npos);
    EXPECT_NE(set.GetString(1), nullptr);
}

}  // namespace
