// The console's people commands on a lot with two persons and a thing.
#include <gtest/gtest.h>

#include <filesystem>

#include "PersonFixture.h"
#include "simulation/people/PeopleConsole.h"
#include "support/ScratchDir.h"

namespace tova_test {
namespace {

class PeopleConsole : public PersonFixture {};

TEST_F(PeopleConsole, SwitchesReachEveryPerson) {
  cXPerson* p = MakePerson();
  cXPerson* q = MakePerson();
  cXObject* thing = MakeThing();
  SetMotivesFrozen(module, true);
  SetAutonomyLevel(module, 30);
  for (cXPerson* x : {p, q}) {
    EXPECT_EQ(x->Word(kPersonMotivesFrozen), 1);
    EXPECT_EQ(x->Word(kPersonAutonomyLevel), 30);
  }
  EXPECT_EQ(thing->GetData(kPersonMotivesFrozen), 0) << "objects keep their words";
  SetMotivesFrozen(module, false);
  EXPECT_EQ(q->Word(kPersonMotivesFrozen), 0);
}

TEST_F(PeopleConsole, DumpHappyWritesTheSelectedPersonsDecision) {
  ScratchDir dir;
  const std::filesystem::path kept = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  cXPerson* p = MakePerson();
  const bool none = DumpHappy(module);
  p->SetStateFlags((p->GetStateFlags() & ~kStateMask) | 2);
  const bool written = DumpHappy(module);
  const bool exists = std::filesystem::exists(dir / ("Bella00" + std::to_string(p->GetId()) + "_ScoredInteractions.txt"));
  std::filesystem::current_path(kept);
  EXPECT_FALSE(none) << "nobody selected";
  EXPECT_TRUE(written);
  EXPECT_TRUE(exists);
}

TEST_F(PeopleConsole, VuxLogBeginsAndEnds) {
  ScratchDir dir;
  const std::filesystem::path kept = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  EXPECT_TRUE(VuxLog(true));
  const bool recording = ActivityLog::Instance().IsRecording();
  const bool ended = VuxLog(false);
  const bool exists = std::filesystem::exists(dir / "VuxLog.txt");
  std::filesystem::current_path(kept);
  EXPECT_TRUE(recording);
  EXPECT_TRUE(ended);
  EXPECT_TRUE(exists);
  EXPECT_FALSE(ActivityLog::Instance().IsRecording());
}

}  // namespace
}  // namespace tova_test
