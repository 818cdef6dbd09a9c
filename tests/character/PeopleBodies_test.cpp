// The people on real bodies: the template person on a lot, with its body
// from the character library of the data root, walks a route.
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// The starter resources, the character set and the first house.
std::string CompileLotRoot(const tova_test::ScratchDir& dir) {
    const std::string root = (dir / "data").string() + "/";
    const std::filesystem::path content = std::filesystem::path(TOVA_SOURCE_DIR) / "content";
    std::vector<std::string> args = {"--out", root, (content / "Skins/adult.chr").string(),
                                     (content / "UserData/Houses/House01.lot").string()};
    for (const auto& e : std::filesystem::recursive_directory_iterator(content)) {
        if (e.path().extension() == ".res") args.push_back(e.path().string());
    }
    const auto run = tova_test::CompileContent(args);
    EXPECT_EQ(run.code, 0) << run.err;
    return root;
}

TEST(PeopleOnRealBodies, RoutedumpWalksTheRouteOnTheRealLibrary) {
    tova_test::ScratchDir dir;
    const std::string root = CompileLotRoot(dir);
    const auto run = tova_test::RunProgram("routedump", {"--lot", root + "UserData/Houses/House01.iff", "--data",
                                                         root, "--characters", "--from", "5,14", "--to", "4,7"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("portal"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.substr(run.out.size() - 9), "result 0\n") << run.out;
}

}  // namespace
