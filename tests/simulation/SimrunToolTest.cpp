// simrun over the second starter lot: a run split by a save and a load ends
// in the same state as one run; the clock moves by the ticks run; the
// objects' trees raise no errors; lots that do not load; and the lot
// source's objects, clock, funds, seeds and house text.
#include <gtest/gtest.h>

#include <filesystem>
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
using tova_test::ScratchDir;

std::string LineStarting(const std::string& out, const std::string& head) {
  const size_t at = out.find(head);
  if (at == std::string::npos) return {};
  return out.substr(at, out.find('\n', at) - at);
}

class Simrun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent(root()));
    const std::string lot = std::string(TOVA_SOURCE_DIR) + "/content/UserData/Houses/House02.lot";
    const ProgramRun built = tova_test::CompileContent({"--out", root(), lot});
    ASSERT_EQ(built.code, 0) << built.err;
  }
  std::string root() const { return (dir / "data").string(); }
  ProgramRun Run(std::vector<std::string> extra) {
    std::vector<std::string> args = {"--data", root()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunProgram("simrun", args);
  }
  ScratchDir dir;
};

TEST_F(Simrun, ASaveAndLoadBetweenTicksEndsInTheSameState) {
  const ProgramRun whole = Run({"--lot", "2", "--ticks", "200"});
  ASSERT_EQ(whole.code, 0) << whole.err;
  EXPECT_EQ(LineStarting(whole.out, "before "), "before 1997-06-15 09:00:00 tick 0 funds 20000");
  EXPECT_EQ(LineStarting(whole.out, "after "), "after 1997-06-15 09:06:40 tick 200 funds 19975");
  // The four it starts with, the greeter, the dispenser and the cup it keeps.
  EXPECT_EQ(LineStarting(whole.out, "objects "), "objects 7");
  EXPECT_EQ(whole.out.find("error "), std::string::npos) << whole.out;
  const std::string hash = LineStarting(whole.out, "hash ");
  EXPECT_TRUE(std::regex_match(hash, std::regex("hash [0-9a-f]{16}"))) << hash;

  const std::string saved = (dir / "half.iff").string();
  const ProgramRun first = Run({"--lot", "2", "--ticks", "100", "--save", saved});
  ASSERT_EQ(first.code, 0) << first.err;
  EXPECT_NE(LineStarting(first.out, "hash "), hash);
  const ProgramRun second = Run({"--lot", "2", "--load", saved, "--ticks", "100"});
  ASSERT_EQ(second.code, 0) << second.err;
  EXPECT_EQ(LineStarting(second.out, "before "), "before 1997-06-15 09:03:20 tick 100 funds 19975");
  EXPECT_EQ(LineStarting(second.out, "after "), "after 1997-06-15 09:06:40 tick 200 funds 19975");
  EXPECT_EQ(LineStarting(second.out, "hash "), hash);
  EXPECT_EQ(second.out.find("error "), std::string::npos) << second.out;
}

TEST_F(Simrun, AnsweredDialogsSoundsAndStringsArePrinted) {
  for (const char* answer : {"1", "2"}) {
    const ProgramRun run = Run({"--lot", "2", "--ticks", "300", "--answer", answer});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string choice = answer[0] == '1' ? "2" : "3";
    EXPECT_NE(run.out.find("dialog 1 \"The greeter\" \"Shall we play some music?\" -> " + choice + "\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("dialog 3 \"The greeter\" \"What is the new neighbour's name?\" -> 2\n"),
              std::string::npos)
        << "a text entry has one button: " << run.out;
    EXPECT_TRUE(std::regex_search(run.out, std::regex("\nsound greeter_chime [0-9]+\n"))) << run.out;
    EXPECT_NE(run.out.find("string \"Greeter : Welcome to the lot\"\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("error "), std::string::npos) << run.out;
  }
  // Unanswered, the greeter waits at its first question.
  const ProgramRun quiet = Run({"--lot", "2", "--ticks", "300"});
  EXPECT_EQ(quiet.out.find("dialog "), std::string::npos) << quiet.out;
  EXPECT_EQ(Run({"--lot", "2", "--ticks", "1", "--answer", "4"}).code, 2);
}

TEST_F(Simrun, TheAnswerSurvivesASave) {
  const std::string saved = (dir / "answered.iff").string();
  const ProgramRun first = Run({"--lot", "2", "--ticks", "20", "--answer", "1", "--save", saved});
  ASSERT_EQ(first.code, 0) << first.err;
  const ProgramRun again = Run({"--lot", "2", "--load", saved, "--ticks", "0"});
  ASSERT_EQ(again.code, 0) << again.err;
  EXPECT_EQ(LineStarting(again.out, "hash "), LineStarting(first.out, "hash ")) << "the answer string is in the record";
}

TEST_F(Simrun, TheDispenserLeavesMoreObjectsThanAfterOneTickAndNoErrors) {
  const ProgramRun one = Run({"--lot", "2", "--ticks", "1"});
  const ProgramRun run = Run({"--lot", "2", "--ticks", "300"});
  ASSERT_EQ(one.code, 0) << one.err;
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out.find("error"), std::string::npos) << run.out;
  const int before = std::stoi(LineStarting(one.out, "objects ").substr(8));
  const int after = std::stoi(LineStarting(run.out, "objects ").substr(8));
  EXPECT_GT(after, before);
}

TEST_F(Simrun, ProfileListsThePrimitivesRun) {
  const ProgramRun run = Run({"--lot", "2", "--ticks", "10", "--profile"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(std::regex_search(run.out, std::regex("\nprim 2 calls [1-9][0-9]* us [0-9]+\n"))) << run.out;
  EXPECT_TRUE(std::regex_search(run.out, std::regex("\nprim 0 calls [1-9][0-9]* us [0-9]+\n"))) << run.out;
}

TEST_F(Simrun, LotsThatDoNotLoad) {
  EXPECT_EQ(Run({"--lot", "9", "--ticks", "1"}).code, 1);
  const std::string notALot = root() + "/GameData/Objects/Chair.iff";
  const ProgramRun run = Run({"--lot", "2", "--load", notALot, "--ticks", "1"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("holds no lot"), std::string::npos) << run.err;
  EXPECT_EQ(Run({"--lot", "2"}).code, 2);
}

TEST_F(Simrun, LotSourceStatementsAndTheirErrors) {
  struct Case {
    const char* statement;
    const char* error;  // null: compiles
  };
  const Case cases[] = {
      {"object 0x4C3A1003 3 3", nullptr},
      {"object 0x12345678 3 3", "no object can be made"},
      {"object 0x4C3A1003 70 3", "on a tile of the lot"},
      {"clock 1997 13 1 0 0", "wrong values for clock"},
      {"funds twelve", "not a number"},
      {"seeds 1", "wrong values for seeds"},
  };
  for (const Case& c : cases) {
    const std::filesystem::path source = dir / "Test.lot";
    tova_test::WriteBytes(source, std::string("lot UserData/Houses/House05.iff\nsize 8\n") + c.statement +
                                      "\nclock 2001 2 3 17 59\nfunds 777\nhouse A test lot\n");
    const ProgramRun built = tova_test::CompileContent({"--out", root(), source.string()});
    if (c.error != nullptr) {
      EXPECT_NE(built.code, 0) << c.statement;
      EXPECT_NE(built.err.find(c.error), std::string::npos) << c.statement << ": " << built.err;
      continue;
    }
    ASSERT_EQ(built.code, 0) << built.err;
    const ProgramRun run = Run({"--lot", "5", "--ticks", "1"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(LineStarting(run.out, "before "), "before 2001-02-03 17:59:00 tick 0 funds 777");
    EXPECT_EQ(LineStarting(run.out, "objects "), "objects 2") << "the lamp and the lot's controller";
  }
}

}  // namespace
