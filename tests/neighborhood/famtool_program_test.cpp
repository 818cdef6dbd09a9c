#include <gtest/gtest.h>

#include <filesystem>

#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

// famtool on a copy of the built data root, as the game works on its own.
class FamtoolProgram : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path data = fs::path(TOVA_BIN_DIR) / ".." / "data";
        ASSERT_TRUE(fs::exists(data / "UserData" / "Neighborhood.iff"));
        root = (scratch / "root").string();
        fs::copy(data, root, fs::copy_options::recursive);
    }
    tova_test::ProgramRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--data", root});
        return tova_test::RunProgram("famtool", args);
    }
    tova_test::ScratchDir scratch;
    std::string root;
};

size_t CountLines(const std::string& text, const std::string& start) {
    size_t n = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\n', at);
        if (text.compare(at, start.size(), start) == 0) ++n;
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return n;
}

TEST_F(FamtoolProgram, ANewFamilyWithANewMemberShowsInTheList) {
    const auto before = Run({"list"});
    ASSERT_EQ(before.code, 0) << before.err;
    const auto family = Run({"new-family", "Baker"});
    ASSERT_EQ(family.code, 0) << family.err;
    ASSERT_EQ(family.out.rfind("family ", 0), 0u);
    const std::string number = family.out.substr(7, family.out.find('\n') - 7);
    const auto person = Run({"new-person"});
    ASSERT_EQ(person.code, 0) << person.err;
    ASSERT_EQ(person.out.rfind("person ", 0), 0u);
    const std::string index = person.out.substr(7, person.out.find('\n') - 7);
    ASSERT_EQ(Run({"add", number, index}).code, 0);
    const auto after = Run({"list"});
    EXPECT_EQ(CountLines(after.out, "family "), CountLines(before.out, "family ") + 1);
    EXPECT_NE(after.out.find("family " + number + " \"Baker\" lot 0 worth "), std::string::npos);
    EXPECT_NE(after.out.find("\"Baker\" lot 0 worth 20000 members 1\n"), std::string::npos) << after.out;
    EXPECT_NE(after.out.find("person " + index + " \""), std::string::npos);
    EXPECT_NE(after.out.find("\" family " + number + "\n"), std::string::npos);
}

TEST_F(FamtoolProgram, OffersEachReadableFamilyFileAndMovesOneIn) {
    const auto family = Run({"new-family", "Baker"});
    ASSERT_EQ(family.code, 0);
    const std::string number = family.out.substr(7, family.out.find('\n') - 7);
    const fs::path exported = fs::path(root) / "UserData" / "Export" / ("Baker_" + number + ".FAM");
    ASSERT_TRUE(fs::exists(exported));
    const fs::path import = fs::path(root) / "UserData" / "Import";
    fs::create_directories(import);
    fs::copy_file(exported, import / "a.FAM");
    tova_test::WriteBytes(import / "b.fam", "not a family file");
    fs::copy_file(exported, import / "C.fam");
    const auto offers = Run({"offers"});
    ASSERT_EQ(offers.code, 0);
    EXPECT_EQ(offers.out, "offer \"" + (import / "a.FAM").string() + "\" family \"Baker\"\n" + "offer \"" +
                              (import / "C.fam").string() + "\" family \"Baker\"\n");
    const size_t families = CountLines(Run({"list"}).out, "family ");
    const auto moved = Run({"move-in", (import / "a.FAM").string()});
    ASSERT_EQ(moved.code, 0) << moved.out;
    ASSERT_EQ(moved.out.rfind("family ", 0), 0u);
    const std::string made = moved.out.substr(7, moved.out.find('\n') - 7);
    EXPECT_NE(made, number);
    const auto after = Run({"list"});
    EXPECT_EQ(CountLines(after.out, "family "), families + 1);
    EXPECT_NE(after.out.find("family " + made + " \"Baker\" lot 0 worth 20000 members 0\n"), std::string::npos) << after.out;
}

TEST_F(FamtoolProgram, RefusalsSayWhichOperation) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"lot", "12"}, {"lot", "0"}, {"delete-family", "999"}, {"add", "999", "0"}, {"move-in", "/nowhere.FAM"}}) {
        const auto run = Run(args);
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.out, "refused " + args[0] + "\n");
    }
}

}  // namespace
