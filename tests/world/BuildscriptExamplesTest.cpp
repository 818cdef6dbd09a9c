// Every example script under tools/buildscript/examples runs on the starter
// house, with the starter objects in the same data root, and prints what its
// .expected file holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::RunProgram;

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(BuildscriptExamples, EachPrintsItsExpectedOutput) {
    tova_test::ScratchDir dir;
    const std::filesystem::path content = std::filesystem::path(TOVA_SOURCE_DIR) / "content";
    std::vector<std::string> sources = {(content / "UserData/Houses/House01.lot").string()};
    for (const auto& e : std::filesystem::recursive_directory_iterator(content / "GameData"))
        if (e.path().extension() == ".res") sources.push_back(e.path().string());
    const auto built = tova_test::CompileContentShared(dir.Path().string(), sources);
    ASSERT_EQ(built.code, 0) << built.err;
    const std::string lot = (dir / "UserData/Houses/House01.iff").string();
    const std::filesystem::path examples = std::filesystem::path(TOVA_SOURCE_DIR) / "tools/buildscript/examples";
    int ran = 0;
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
        if (entry.path().extension() != ".txt") continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::filesystem::path expected = entry.path();
        expected.replace_extension(".expected");
        ASSERT_TRUE(std::filesystem::exists(expected));
        const auto run = RunProgram("buildscript", {"--size", "24", "--data", dir.Path().string(), "--lot", lot,
                                                    "--script", entry.path().string()});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.out, ReadAll(expected));
        ++ran;
    }
    EXPECT_GE(ran, 8) << "the wall, wallpaper, floor, pool, terrain and move examples";
}

}  // namespace
