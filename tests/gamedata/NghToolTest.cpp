// The neighbourhood tool run on a scratch data root.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "NeighborhoodFakes.h"
#include "gamedata/Neighborhood.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;
using tova_test::ProgramRun;
using tova_test::RunProgram;

namespace {

class NghTool : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.Ok());
    fs::create_directories(dir / "root/UserData/Houses");
    fs::create_directories(dir / "other/UserData/Houses");
    root = (dir / "root").string();
  }
  ProgramRun Ngh(std::vector<std::string> args, const std::string& data = "") {
    args.insert(args.begin(), {"--data", data.empty() ? root : data});
    return RunProgram("ngh", args);
  }
  tova_test::ScratchDir dir;
  std::string root;
};

}  // namespace

TEST_F(NghTool, ListsAndEditsFamilies) {
  ProgramRun run = Ngh({"list"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "family 0 \"Default\" lot 0 funds 0 members 0\nfamilies 1 neighbors 0\n");

  run = Ngh({"new-family", "Berg"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "family 1\n");
  EXPECT_EQ(Ngh({"move-in", "1", "12"}).out, "error -1\n");
  EXPECT_EQ(Ngh({"move-in", "1", "12"}).code, 1);
  ASSERT_EQ(Ngh({"move-in", "1", "2"}).code, 0);
  EXPECT_EQ(Ngh({"list"}).out,
            "family 1 \"Berg\" lot 2 funds 20000 members 0\n"
            "family 0 \"Default\" lot 0 funds 0 members 0\nfamilies 2 neighbors 0\n");
  EXPECT_EQ(Ngh({"new-character"}).out, "error -1\n");  // no template character
  EXPECT_EQ(Ngh({"evict", "2"}).out, "error -1\n");     // no house to load the lot into
  EXPECT_EQ(Ngh({"move-in", "x", "2"}).code, 2);
  EXPECT_EQ(Ngh({"frobnicate"}).code, 2);

  const std::string report = (dir / "report.txt").string();
  ASSERT_EQ(Ngh({"report", "1", report}).code, 0);
  EXPECT_EQ(tova_test::ReadBytes(report).substr(0, 14), "Lot#\t#Members\t");
}

TEST_F(NghTool, MembersTravelThroughAFamilyFile) {
  {
    // A neighbourhood with one person, made with the game's own writer.
    tova_test::FakeNeighborhoodServices people;
    people.AddPerson(0x100, "Ada");
    tova::Neighborhood hood(people);
    const std::string path = root + "/UserData/Neighborhood.iff";
    hood.SetPath(path.c_str());
    ASSERT_EQ(hood.Init(), 0);
    ASSERT_EQ(hood.Save(tova::Neighborhood::kDefaultSaveVersion), 0);
  }
  ASSERT_EQ(Ngh({"new-family", "Holm"}).out, "family 1\n");
  ProgramRun run = Ngh({"add", "1", "1"});
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_EQ(Ngh({"add", "1", "1"}).out, "error -1\n");
  EXPECT_EQ(Ngh({"list"}).out,
            "family 1 \"Holm\" lot 0 funds 20000 members 1\n"
            "family 0 \"Default\" lot 0 funds 0 members 0\n"
            "neighbor 1 \"Ada\" family 1\nfamilies 2 neighbors 1\n");
  const std::string out = (dir / "out").string();
  fs::create_directories(out);
  run = Ngh({"export", "1", out});
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_EQ(run.out, "exported " + out + "/Holm_1.FAM\n");

  // Another root without the template character cannot make the member.
  const std::string other = (dir / "other").string();
  EXPECT_EQ(Ngh({"import", out + "/Holm_1.FAM"}, other).out, "error -1\n");
  ASSERT_EQ(Ngh({"remove", "1"}).code, 0);
  EXPECT_EQ(Ngh({"remove", "1"}).out, "error -1\n");
}

// The starter content compiled into a data root: the people come from the
// object catalogue, and a new character is a copy of its template person.
TEST_F(NghTool, OnTheStarterDataRootAnImportedFamilyArrivesWithItsMember) {
  const fs::path content = fs::path(TOVA_SOURCE_DIR) / "content";
  std::vector<std::string> compile = {"--out", root};
  for (const auto& e : fs::recursive_directory_iterator(content / "GameData"))
    if (e.path().extension() == ".res") compile.push_back(e.path().string());
  for (const char* lot : {"House00.lot", "House03.lot"}) compile.push_back((content / "UserData/Houses" / lot).string());
  const ProgramRun built = tova_test::CompileContent(compile);
  ASSERT_EQ(built.code, 0) << built.err;

  ProgramRun run = Ngh({"new-family", "Lund"});
  ASSERT_EQ(run.code, 0) << run.out << run.err;
  EXPECT_EQ(run.out, "family 1\n");
  run = Ngh({"new-character"});
  ASSERT_EQ(run.code, 0) << run.out << run.err;
  EXPECT_EQ(run.out, "neighbor 2 \"User00000\"\n");
  EXPECT_TRUE(fs::exists(dir / "root/UserData/Characters/User00000.iff"));
  ASSERT_EQ(Ngh({"add", "2", "1"}).code, 0);

  // Moving in and out again through the lot's house file.
  ASSERT_EQ(Ngh({"move-in", "1", "3"}).code, 0);
  EXPECT_EQ(Ngh({"evict", "4"}).out, "error -1\n") << "nobody lives there";
  run = Ngh({"evict", "3"});
  ASSERT_EQ(run.code, 0) << run.out << run.err;
  EXPECT_EQ(Ngh({"list"}).out.rfind("family 1 \"Lund\" lot 0 funds 20000 members 1\n", 0), 0u);
  EXPECT_TRUE(fs::exists(dir / "root/UserData/Houses/House03.iff"));

  const std::string out = (dir / "out").string();
  fs::create_directories(out);
  ASSERT_EQ(Ngh({"export", "1", out}).code, 0);
  run = Ngh({"import", out + "/Lund_1.FAM"});
  ASSERT_EQ(run.code, 0) << run.out << run.err;
  EXPECT_EQ(run.out, "imported family 2 displaced none\n");

  EXPECT_EQ(Ngh({"list"}).out,
            "family 2 \"Lund\" lot 0 funds 20000 members 1\n"
            "family 1 \"Lund\" lot 0 funds 20000 members 1\n"
            "family 0 \"Default\" lot 0 funds 0 members 0\n"
            "neighbor 1 \"Template Person\" family 0\n"
            "neighbor 2 \"User00000\" family 1\n"
            "neighbor 3 \"User00000\" family 2\n"
            "families 3 neighbors 3\n");
  EXPECT_TRUE(fs::exists(dir / "root/UserData/Characters/User00001.iff"));
}
