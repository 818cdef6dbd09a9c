// A household on the starter content: a family made with ngh and moved
// onto lot 5 runs in simrun --family with its funds charged the house
// value; its people print their motives every hour and the actions they
// start; --quiet drops those lines; a run saved with its people continues
// from --load alone; and lotobjects reads the saved lot, people included.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "StarterContent.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::ProgramRun;
using tova_test::RunProgram;

std::string FirstLine(const std::string& out, const std::string& head) {
  const size_t at = out.find(head);
  if (at == std::string::npos) return {};
  return out.substr(at, out.find('\n', at) - at);
}

// The lines of `out` that match `line` whole.
int CountLines(const std::string& out, const std::regex& line) {
  int n = 0;
  for (size_t at = 0; at < out.size();) {
    size_t end = out.find('\n', at);
    if (end == std::string::npos) end = out.size();
    if (std::regex_match(out.begin() + static_cast<std::ptrdiff_t>(at), out.begin() + static_cast<std::ptrdiff_t>(end), line)) ++n;
    at = end + 1;
  }
  return n;
}

class HouseholdRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent(root()));
    const std::string lot = std::string(TOVA_SOURCE_DIR) + "/content/UserData/Houses/House05.lot";
    const ProgramRun built = tova_test::CompileContent({"--out", root(), lot});
    ASSERT_EQ(built.code, 0) << built.err;
    // The family as a player makes it: two new characters, both added, moved in.
    const std::vector<std::vector<std::string>> steps = {{"new-family", "Lark"}, {"new-character"},
                                                         {"new-character"},      {"add", "2", "1"},
                                                         {"add", "3", "1"},      {"move-in", "1", "5"}};
    for (const auto& step : steps) {
      std::vector<std::string> args = {"--data", root()};
      args.insert(args.end(), step.begin(), step.end());
      const ProgramRun run = RunProgram("ngh", args);
      ASSERT_EQ(run.code, 0) << step[0] << ": " << run.out << run.err;
    }
  }
  std::string root() const { return (dir / "data").string(); }
  ProgramRun Simrun(std::vector<std::string> extra) {
    std::vector<std::string> args = {"--data", root()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunProgram("simrun", args);
  }
  tova_test::ScratchDir dir;
};

TEST_F(HouseholdRun, TheFamilyRunsOnItsLotWithTheHouseValueCharged) {
  const ProgramRun run = Simrun({"--family", "1", "--ticks", "3700"});
  ASSERT_EQ(run.code, 0) << run.err;
  std::smatch m;
  const std::string before = FirstLine(run.out, "before ");
  ASSERT_TRUE(std::regex_match(before, m, std::regex("before 1997-06-15 07:00:00 tick 0 funds ([0-9]+)"))) << before;
  // The new family's money less what the furnished lot is worth.
  const int funds = std::stoi(m[1]);
  EXPECT_LT(funds, 20000);
  EXPECT_GT(funds, 10000);
  EXPECT_EQ(run.out.find("error "), std::string::npos) << run.out;
  // Two game hours began: two lines for each of the two people.
  const std::regex motives(
      "motives [0-9]+ hunger -?[0-9]+ comfort -?[0-9]+ hygiene -?[0-9]+ bladder -?[0-9]+ energy -?[0-9]+ fun "
      "-?[0-9]+ social -?[0-9]+");
  EXPECT_EQ(CountLines(run.out, motives), 4) << run.out;
  // They chose what to do on their own.
  EXPECT_GE(CountLines(run.out, std::regex("action [0-9]+ [^\"]+ \"[^\"]+\"")), 2) << run.out;

  // The lot's objects (the lot controller, two doors of two parts, eight
  // pieces of furniture, the sofa as its two seats) and the
  // two members, placed at the lot's entry.
  const ProgramRun first = Simrun({"--family", "1", "--ticks", "0"});
  ASSERT_EQ(first.code, 0) << first.err;
  EXPECT_EQ(FirstLine(first.out, "objects "), "objects 16");

  const ProgramRun quiet = Simrun({"--family", "1", "--ticks", "3700", "--quiet"});
  ASSERT_EQ(quiet.code, 0) << quiet.err;
  EXPECT_EQ(quiet.out.find("motives "), std::string::npos);
  EXPECT_EQ(quiet.out.find("action "), std::string::npos);
  EXPECT_EQ(FirstLine(quiet.out, "hash "), FirstLine(run.out, "hash "));
}

TEST_F(HouseholdRun, ASavedRunWithItsPeopleContinuesFromTheFileAlone) {
  const std::string saved = (dir / "day.iff").string();
  const ProgramRun first = Simrun({"--family", "1", "--ticks", "200", "--save", saved, "--quiet"});
  ASSERT_EQ(first.code, 0) << first.err;
  const ProgramRun next = Simrun({"--load", saved, "--ticks", "300", "--quiet"});
  ASSERT_EQ(next.code, 0) << next.err;
  // The residents' own definitions come with the neighbourhood: their trees
  // go on where they stopped.
  EXPECT_EQ(next.out.find("error "), std::string::npos) << next.out;
  // The clock and the money go on from where the first run stopped.
  const std::string after = FirstLine(first.out, "after ");
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(FirstLine(next.out, "before "), "before" + after.substr(5));
  EXPECT_NE(after.find(" tick 200 "), std::string::npos) << after;
  EXPECT_EQ(FirstLine(next.out, "objects "), FirstLine(first.out, "objects "));

  // The two people are objects of the saved lot like any other.
  const ProgramRun listed = RunProgram("lotobjects", {"--data", root(), "--load", saved});
  ASSERT_EQ(listed.code, 0) << listed.err;
  EXPECT_EQ(FirstLine(listed.out, "objects "), FirstLine(first.out, "objects "));
  EXPECT_EQ(CountLines(listed.out, std::regex("object 1[56] \"[^\"]+\" \\([0-9]+,[0-9]+\\) L1 dir [0-9] in 0/-1")), 2)
      << listed.out;
}

// A whole day (07:00 to 07:00 the next morning, the night included): the family
// looks after itself. Hunger, energy, bladder and hygiene never stay at or
// below -80 for more than four game hours in a row, every piece of
// furniture is used, and they talk (to each other or on the telephone).
TEST_F(HouseholdRun, TheFamilyLooksAfterItselfThroughTheDay) {
  const ProgramRun run = Simrun({"--family", "1", "--ticks", "43200"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out.find("error "), std::string::npos) << run.out;
  EXPECT_EQ(FirstLine(run.out, "objects "), "objects 16") << "no step-aside marker is left behind";
  const std::regex motives(
      "motives ([0-9]+) hunger (-?[0-9]+) comfort -?[0-9]+ hygiene (-?[0-9]+) bladder (-?[0-9]+) energy (-?[0-9]+) "
      "fun -?[0-9]+ social -?[0-9]+");
  std::map<std::string, std::array<int, 4>> lowHours;
  int lines = 0;
  for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), motives); it != std::sregex_iterator(); ++it) {
    ++lines;
    const std::smatch& m = *it;
    std::array<int, 4>& low = lowHours[m[1]];
    for (size_t k = 0; k < 4; ++k) {
      low[k] = std::stoi(m[k + 2]) <= -80 ? low[k] + 1 : 0;
      EXPECT_LE(low[k], 4) << "person " << m[1] << " motive " << k << " low since " << low[k] << " hours\n" << run.out;
    }
  }
  EXPECT_EQ(lines, 2 * 24);
  for (const char* object : {"Single Bed", "Fridge", "Toilet", "Shower", "Sofa - (left|right)", "Television",
                             "Bookcase", "Telephone"}) {
    EXPECT_GE(CountLines(run.out, std::regex(std::string("action [0-9]+ ") + object + " \"[^\"]+\"")), 1)
        << object << "\n" << run.out;
  }
  EXPECT_GE(CountLines(run.out, std::regex("action [0-9]+ (User[0-9]+ \"Talk\"|Telephone \"Call a friend\")")), 1)
      << run.out;
}

TEST_F(HouseholdRun, BadFamiliesAndOptionsAreRefused) {
  const ProgramRun none = Simrun({"--family", "7", "--ticks", "1"});
  EXPECT_EQ(none.code, 1);
  EXPECT_NE(none.err.find("no family 7"), std::string::npos) << none.err;
  // A family and a lot number at once name two lots.
  EXPECT_EQ(Simrun({"--family", "1", "--lot", "5", "--ticks", "1"}).code, 2);
  EXPECT_EQ(Simrun({"--ticks", "1"}).code, 2);
}

}  // namespace
