// The activity log: samples per person and interaction while recording, and
// the text file it writes.
#include <gtest/gtest.h>

#include "PersonFixture.h"
#include "support/ScratchDir.h"

namespace tova_test {
namespace {

class ActivityLogTest : public PersonFixture {
 protected:
  void SetUp() override {
    PersonFixture::SetUp();
    sofa = MakeThing({Interaction(1, "Sit"), Interaction(2, "Nap")});
    host.names[kPersonGuid] = "Bella";
    log.Start();
  }
  // One tick of the simulator for these people.
  void Tick(std::initializer_list<cXPerson*> people) {
    ++host.tick;
    for (cXPerson* p : people) p->Tick();
  }
  std::string Write() {
    EXPECT_TRUE(log.Write((dir / "VuxLog.txt").string()));
    return ReadBytes(dir / "VuxLog.txt");
  }

  ActivityLog& log = ActivityLog::Instance();
  ScratchDir dir;
  cXObject* sofa = nullptr;
};

const char kHeader[] =
    "Object\tInteraction\tStart Time\tTotal Ticks\tAnim Ticks\tRouting Ticks\tResult\tMood\tEnergy\tComfort\t"
    "Hunger\tHygiene\tBladder\tRoom\tSocial\tFun\tPerson Running\t\n";

TEST_F(ActivityLogTest, TheFileAsWritten) {
  cXPerson* p = MakePerson();
  p->MotiveRef(kMotiveHunger) = 10;
  Tick({p});  // idle from tick 1
  Tick({p});
  p->MotiveRef(kMotiveHunger) = 4;
  p->MotiveRef(kMotiveFun) = 2.5f;
  p->SetCurrentAction(ActionOn(*p, *sofa, 2, 50));
  Tick({p});  // napping from tick 3
  p->Routes().resize(1);
  Tick({p});
  p->Routes().clear();
  p->MotiveRef(kMotiveEnergy) = -1;
  p->SetCurrentAction(QueuedAction());
  p->PreviousAction().flags &= ~kActionSucceeded;  // the nap failed
  Tick({p});
  const std::string expected = std::string(kHeader) +
                               "Self\tIdle\t1\t2\t0\t0\t\t0.000000\t0.000000\t0.000000\t-6.000000\t0.000000\t0.000000\t"
                               "0.000000\t0.000000\t2.500000\tBella\n"
                               "Thing\tNap\t3\t2\t0\t1\tfailed\t0.000000\t-1.000000\t0.000000\t0.000000\t0.000000\t"
                               "0.000000\t0.000000\t0.000000\t0.000000\tBella\n";
  EXPECT_EQ(Write(), expected);
  EXPECT_FALSE(log.IsRecording());
  EXPECT_TRUE(log.Groups().empty());
  EXPECT_EQ(host.messages,
            (std::vector<std::string>{"Vux Logging: Logging completed and written to VuxLog.txt in the Tova directory."}));
}

TEST_F(ActivityLogTest, AnInteractionWithNoTickCountedGivesNoSample) {
  cXPerson* p = MakePerson();
  p->SetCurrentAction(ActionOn(*p, *sofa, 1, 50));
  Tick({p});  // the person was idle for no tick before
  p->PreviousAction().flags |= kActionSucceeded;
  p->SetCurrentAction(ActionOn(*p, *sofa, 2, 50));
  Tick({p});
  ASSERT_EQ(log.Groups().size(), 2u);
  EXPECT_EQ(log.Groups()[0].objectName, "Self");
  EXPECT_TRUE(log.Groups()[0].samples.empty());
  EXPECT_EQ(log.Groups()[1].interactionName, "Sit");
  ASSERT_EQ(log.Groups()[1].samples.size(), 1u);
  EXPECT_EQ(log.Groups()[1].samples[0].totalTicks, 1);
  // Still running at the end: dropped.
  EXPECT_EQ(Write(), std::string(kHeader) +
                         "Thing\tSit\t1\t1\t0\t0\t\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t"
                         "0.000000\t0.000000\t0.000000\tBella\n");
}

TEST_F(ActivityLogTest, TwoPeopleOnOneInteractionShareAGroup) {
  cXPerson* p = MakePerson();
  cXPerson* q = MakePerson();
  p->SetCurrentAction(ActionOn(*p, *sofa, 1, 50));
  q->SetCurrentAction(ActionOn(*q, *sofa, 1, 50));
  Tick({p, q});
  Tick({p, q});
  p->SetCurrentAction(QueuedAction());
  q->SetCurrentAction(QueuedAction());
  Tick({p, q});
  ASSERT_EQ(log.Trackers().size(), 2u);
  const ActivityLog::Group* sit = nullptr;
  for (const ActivityLog::Group& g : log.Groups()) {
    if (g.interactionName == "Sit") sit = &g;
  }
  ASSERT_NE(sit, nullptr);
  EXPECT_EQ(sit->samples.size(), 2u);
  EXPECT_EQ(sit->guid, 0x10203040);
}

TEST_F(ActivityLogTest, AnimationTicksCountWhileTheTreeIsOnTheAnimatePrimitive) {
  Trees("tree 4106 \"Animate\"\n params 4\nn0: 44 -> true true\nend\n");
  cXPerson* p = MakePerson();
  p->SetCurrentAction(ActionOn(*p, *sofa, 1, 50));
  ASSERT_TRUE(p->ResetAndPush(behavior(), 4106));
  log.Sample(*p);
  log.Sample(*p);
  p->Routes().resize(1);
  log.Sample(*p);
  ASSERT_EQ(log.Trackers().size(), 1u);
  EXPECT_EQ(log.Trackers()[0].totalTicks, 3);
  EXPECT_EQ(log.Trackers()[0].animTicks, 2);
  EXPECT_EQ(log.Trackers()[0].routingTicks, 1) << "routing counts before animating";
}

TEST_F(ActivityLogTest, AFileThatCannotBeOpenedKeepsTheRecording) {
  cXPerson* p = MakePerson();
  Tick({p});
  p->SetCurrentAction(ActionOn(*p, *sofa, 1, 50));
  Tick({p});
  EXPECT_FALSE(log.Write((dir / "missing" / "VuxLog.txt").string()));
  EXPECT_EQ(host.messages,
            (std::vector<std::string>{"Vux Logging: File VuxLog.txt in the Tova directory could not be opened!"}));
  EXPECT_TRUE(log.IsRecording());
  ASSERT_EQ(log.Groups().size(), 1u);
  EXPECT_EQ(log.Groups()[0].samples.size(), 1u);
  // Tried again, it writes what was kept.
  EXPECT_NE(Write().find("Self\tIdle\t1\t1\t"), std::string::npos);
}

TEST_F(ActivityLogTest, NothingIsSampledWhileNotRecording) {
  log.Clear();
  cXPerson* p = MakePerson();
  Tick({p});
  EXPECT_TRUE(log.Trackers().empty());
}

}  // namespace
}  // namespace tova_test
