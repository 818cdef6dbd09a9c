#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

// Every example script under tools/buildscript/examples runs on the starter
// house and prints what its .expected file holds.
TEST(BuildscriptExamples, EachPrintsItsExpectedOutput) {
    tova_test::ScratchDir dir;
    const auto built = RunProgram("contentc", {"--out", dir.Path().string(),
                                               std::string(TOVA_SOURCE_DIR) + "/content/UserData/Houses/House01.lot"});
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
        const auto run = RunProgram("buildscript", {"--size", "24", "--lot", lot, "--script", entry.path().string()});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.out, ReadAll(expected));
        ++ran;
    }
    EXPECT_GE(ran, 4);
}

}  // namespace
