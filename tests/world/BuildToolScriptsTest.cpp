// The example scripts of the floor, pool, terrain and move tools, run on
// the starter house: each gives the output kept beside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::RunProgram;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ToolExamples : public ::testing::TestWithParam<const char*> {
protected:
    // The starter house and the starter objects, in one data root.
    void SetUp() override {
        const std::filesystem::path content = std::filesystem::path(TOVA_SOURCE_DIR) / "content";
        std::vector<std::string> compile = {"--out", dir.Path().string(),
                                            (content / "UserData/Houses/House01.lot").string()};
        for (const auto& e : std::filesystem::recursive_directory_iterator(content / "GameData"))
            if (e.path().extension() == ".res") compile.push_back(e.path().string());
        const auto built = RunProgram("contentc", compile);
        ASSERT_EQ(built.code, 0) << built.err;
    }
    tova_test::ScratchDir dir;
};

TEST_P(ToolExamples, GiveTheirExpectedOutput) {
    const std::string base = std::string(TOVA_SOURCE_DIR) + "/tools/buildscript/examples/" + GetParam();
    const auto run = RunProgram("buildscript", {"--size", "24", "--data", dir.Path().string(), "--lot",
                                                (dir / "UserData/Houses/House01.iff").string(), "--script", base + ".txt"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string expected = ReadFile(base + ".expected");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(run.out, expected);
}

INSTANTIATE_TEST_SUITE_P(Scripts, ToolExamples,
                         ::testing::Values("floored-room", "pool-with-deck", "level-refused-at-wall",
                                           "chair-bought-moved-sold"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

}  // namespace
