// Build-mode edits on the starter house as compiled from its source: an
// edit undone leaves the lot as it was, and the first wall drawn rewrites
// only the cells it draws.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

std::string StarterEditsReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class StarterHouseEdits : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path content = std::filesystem::path(TOVA_SOURCE_DIR) / "content";
        std::vector<std::string> sources = {(content / "UserData/Houses/House01.lot").string()};
        for (const auto& e : std::filesystem::recursive_directory_iterator(content / "GameData"))
            if (e.path().extension() == ".res") sources.push_back(e.path().string());
        const auto built = tova_test::CompileContentShared(dir.Path().string(), sources);
        ASSERT_EQ(built.code, 0) << built.err;
        lot = (dir / "UserData/Houses/House01.iff").string();
    }

    // Runs the script on the starter house, saving the lot when `save` is given.
    tova_test::ProgramRun Run(const std::string& script, const std::string& save = {}) {
        const std::filesystem::path file = dir / ("script" + std::to_string(scripts++) + ".txt");
        std::ofstream(file) << script;
        std::vector<std::string> args = {"--size", "24", "--data", dir.Path().string(), "--lot", lot,
                                         "--script", file.string()};
        if (!save.empty()) {
            args.push_back("--save");
            args.push_back(save);
        }
        return tova_test::RunProgram("buildscript", args);
    }

    tova_test::ScratchDir dir;
    std::string lot;
    int scripts = 0;
};

// A walled room on the open ground, a door in its wall and a chair inside,
// each undone: the saved lot equals the untouched lot saved, byte for byte
// (the upper storey's support included).
TEST_F(StarterHouseEdits, ARoomWithADoorAndAChairUndoneSavesAsTheUntouchedLot) {
    const std::string untouched = (dir / "untouched.iff").string();
    const tova_test::ProgramRun plain = Run("", untouched);
    ASSERT_EQ(plain.code, 0) << plain.err;

    const std::string undone = (dir / "undone.iff").string();
    const tova_test::ProgramRun run = Run(
        "tool 2\nhold shift\ndown 15 15\ndrag 18 18\nup 18 18\nrelease shift\n"
        "buy 0x4C3A1040\nmove 16.5 17.5\ndown 16.5 17.5\nup 16.5 17.5\n"
        "buy 0x4C3A1001\nmove 16.5 16.5\ndown 16.5 16.5\nup 16.5 16.5\n"
        "undo\nundo\nundo\n",
        undone);
    ASSERT_EQ(run.code, 0) << run.err;
    // Three records were made and all three undone.
    EXPECT_NE(run.out.find("money 18880 pending 0 undo 3 redo 0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("money 20000 pending 0 undo 0 redo 3"), std::string::npos) << run.out;
    // The room held up the storey above while it stood, and no longer does.
    EXPECT_NE(run.out.find("flags2 (16,16) 6 -> 7"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("flags2 (16,16) 7 -> 6"), std::string::npos) << run.out;

    const std::string a = StarterEditsReadAll(undone), b = StarterEditsReadAll(untouched);
    ASSERT_FALSE(b.empty());
    EXPECT_EQ(a.size(), b.size());
    EXPECT_TRUE(a == b) << "the undone lot differs from the untouched one";
}

// The fence beside the pool comes settled from the content compiler: the
// first wall drawn elsewhere rewrites only the cells of its own run.
TEST_F(StarterHouseEdits, TheFirstWallDrawnChangesNoFenceCell) {
    const tova_test::ProgramRun run = Run("tool 2\ndown 20 14\ndrag 20 17\nup 20 17\n");
    ASSERT_EQ(run.code, 0) << run.err;
    const std::regex cell("walls \\(([0-9]+),([0-9]+)\\)");
    int cells = 0;
    for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), cell); it != std::sregex_iterator(); ++it) {
        const int x = std::stoi((*it)[1]), y = std::stoi((*it)[2]);
        EXPECT_TRUE((x == 19 || x == 20) && y >= 14 && y <= 16) << "cell " << x << "," << y << "\n" << run.out;
        ++cells;
    }
    EXPECT_EQ(cells, 12) << "six cells while dragging, the same six settled at mouse up\n" << run.out;
    EXPECT_NE(run.out.find("undo 1 redo 0"), std::string::npos) << run.out;
}

}  // namespace
