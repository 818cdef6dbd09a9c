// The animate primitive: main animations hand their events to the tree in
// order (falling when played backwards), numbers of 100 and more pass
// through, missing events are substituted and wrong ones logged;
// background and carry animations start and stop.
#include <gtest/gtest.h>

#include <new>

#include "AnimatorFixture.h"
#include "simulation/TreeZaz.h"

namespace tova_test {
namespace {

// A frame with two parameters and two locals after it, as in the arena.
struct FrameWithData {
  FrameWithData() : frame(*new (bytes) TreeStackFrame()) {
    frame.paramCount = 2;
    frame.localCount = 2;
  }
  alignas(8) unsigned char bytes[sizeof(TreeStackFrame) + 16] = {};
  TreeStackFrame& frame;
};

class Animate : public AnimatorPractices {
 protected:
  void SetUp() override {
    AnimatorPractices::SetUp();
    PersonAnimator::SetAssetLog(true);
  }
  void TearDown() override {
    PersonAnimator::SetAssetLog(false);
    AnimatorPractices::TearDown();
  }
  // Main animation "dance" (person table index 5).
  AnimateOperand Dance(int32_t events, int32_t flags = 0) {
    AnimateOperand op;
    op.index = 5;
    op.source = AnimateOperand::kPerson;
    op.eventCount = events;
    op.flags = flags;
    return op;
  }
  int32_t Run(const AnimateOperand& op) { return animator->StartAnimation(f.frame, op); }
  int16_t Param0() { return f.frame.Params()[0]; }

  FrameWithData f;
};

TEST_F(Animate, WithoutEventsItEndsOnTheFirstCall) {
  person->SetWord(19, 4);
  EXPECT_EQ(Run(Dance(0)), PersonAnimator::kAnimateDone);
  EXPECT_EQ(animator->mainPractice->skill->GetName(), "dance") << "it plays on";
  EXPECT_EQ(animator->primitiveRunning, 0);
  EXPECT_EQ(animator->movementState, PersonAnimator::kStateStanding);
  EXPECT_EQ(person->Word(19), 0);
  ASSERT_NE(animator->backgroundPractice, nullptr);
  EXPECT_EQ(animator->backgroundPractice->skill->GetName(), Standard(3));
  EXPECT_TRUE(host.log.empty());
}

TEST_F(Animate, EventsArriveInOrderThenTheAnimationEnds) {
  const AnimateOperand op = Dance(2);
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateNotYet);
  EXPECT_EQ(animator->movementState, 0);
  EXPECT_EQ(animator->primitiveRunning, 1);
  PracticeRef* dance = animator->mainPractice;
  animator->QueueEvent(0);
  EXPECT_EQ(Run(op), PersonAnimator::kEventStored);
  EXPECT_EQ(Param0(), 0);
  animator->QueueEvent(150);
  EXPECT_EQ(Run(op), PersonAnimator::kEventStored);
  EXPECT_EQ(Param0(), 150);
  EXPECT_EQ(animator->eventsFired, 1) << "numbers of 100 and more are not counted";
  animator->QueueEvent(1);
  EXPECT_EQ(Run(op), PersonAnimator::kEventStored);
  EXPECT_EQ(Param0(), 1);
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateNotYet) << "still playing";
  EXPECT_EQ(animator->mainPractice, dance) << "later calls do not restart it";
  dance->finished = true;
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateDone);
  EXPECT_EQ(animator->movementState, PersonAnimator::kStateStanding);
  EXPECT_TRUE(host.log.empty());
}

TEST_F(Animate, BackwardsPlayExpectsFallingNumbers) {
  const AnimateOperand op = Dance(3, AnimateOperand::kBackwards);
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateNotYet);
  EXPECT_EQ(animator->mainPractice->speed, -1.0f);
  animator->QueueEvent(0);
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateNotYet);
  for (int16_t n : {2, 1, 0}) {
    animator->QueueEvent(n);
    EXPECT_EQ(Run(op), PersonAnimator::kEventStored) << n;
    EXPECT_EQ(Param0(), n);
  }
  EXPECT_EQ(host.log, std::vector<std::string>{"Bella: Expected event 2 instead of 0 in animation dance.\n"});
}

TEST_F(Animate, MismatchesAreLoggedAndWaitedOver) {
  const AnimateOperand op = Dance(1);
  Run(op);
  animator->QueueEvent(-5);
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateNotYet);
  animator->QueueEvent(0);
  EXPECT_EQ(Run(op), PersonAnimator::kEventStored);
  animator->QueueEvent(0);
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateNotYet);
  EXPECT_EQ(animator->eventsFired, 1);
  EXPECT_EQ(host.log, (std::vector<std::string>{"Bella: Expected event 0 instead of -5 in animation dance.\n",
                                                 "Bella: Extra event 0 in animation dance.\n"}));
  PersonAnimator::SetAssetLog(false);
  animator->QueueEvent(7);
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateNotYet);
  EXPECT_EQ(host.log.size(), 2u) << "lines only with the asset log on";
}

TEST_F(Animate, AFinishedAnimationFiresTheMissingEvents) {
  const AnimateOperand op = Dance(2);
  Run(op);
  animator->mainPractice->finished = true;
  EXPECT_EQ(Run(op), PersonAnimator::kEventStored);
  EXPECT_EQ(Param0(), 0);
  EXPECT_EQ(Run(op), PersonAnimator::kEventStored);
  EXPECT_EQ(Param0(), 1);
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateDone);
  EXPECT_EQ(host.log, (std::vector<std::string>{
                          "Bella: Animation dance deficient in events.\nFiring substitute event #0",
                          "Bella: Animation dance deficient in events.\nFiring substitute event #1"}));
}

TEST_F(Animate, AStoppedAnimationNoLongerWaits) {
  const AnimateOperand op = Dance(1, AnimateOperand::kInterruptible);
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateNotYet);
  EXPECT_EQ(animator->mainPractice->interruptible, 1);
  EXPECT_EQ(animator->mainPractice->speed, 1.0f);
  animator->mainPractice->speed = 0;  // a stopped practice no longer plays
  EXPECT_EQ(Run(op), PersonAnimator::kEventStored) << "the missing event is fired";
}

TEST_F(Animate, EventsGoToALocalOrAParameterNamedIndex) {
  f.frame.Params()[1] = 5;
  AnimateOperand op = Dance(1, AnimateOperand::kEventsToLocal | AnimateOperand::kIndexInParameter);
  op.index = 1;
  op.local = 1;
  Run(op);
  EXPECT_EQ(animator->mainPractice->skill->GetName(), "dance");
  animator->QueueEvent(0);
  f.frame.Locals()[1] = 9;
  EXPECT_EQ(Run(op), PersonAnimator::kEventStored);
  EXPECT_EQ(f.frame.Locals()[1], 0);
  EXPECT_EQ(Param0(), 0) << "parameter 0 untouched";

  op.local = 2;
  animator->QueueEvent(120);
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateError) << "no such local";
  op.index = 2;
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateError) << "no such parameter";
}

TEST_F(Animate, AMissingAnimationPlaysThePlaceholder) {
  AnimateOperand op = Dance(0);
  op.index = 6;  // names a skill the library lacks
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateDone);
  EXPECT_EQ(animator->mainPractice->skill->GetName(), Standard(37));
  EXPECT_EQ(host.log, (std::vector<std::string>{"Could not start animation [NULL skill], id 6\n"}));
}

TEST_F(Animate, KindThreeDropsTheCarry) {
  animator->UpdateCarry(true);
  ASSERT_NE(animator->carryPractice, nullptr);
  AnimateOperand op = Dance(1);
  op.kind = AnimateOperand::kMainNoCarry;
  Run(op);
  EXPECT_EQ(animator->carryPractice, nullptr);
  EXPECT_TRUE(animator->carrySuppressed);
  EXPECT_EQ(animator->carryCheck, -1);
  op.index = 0;
  EXPECT_EQ(Run(op), PersonAnimator::kAnimateDone) << "index 0 stops the main animation";
  EXPECT_EQ(animator->mainPractice, nullptr);
  EXPECT_FALSE(animator->carrySuppressed);
  EXPECT_EQ(animator->movementState, PersonAnimator::kStateStanding);
}

TEST_F(Animate, BackgroundAndCarryKinds) {
  for (int32_t kind : {AnimateOperand::kBackground, AnimateOperand::kCarry}) {
    AnimateOperand op = Dance(0);
    op.kind = kind;
    const bool background = kind == AnimateOperand::kBackground;
    EXPECT_EQ(Run(op), PersonAnimator::kAnimateDone);
    PracticeRef* p = background ? animator->backgroundPractice : animator->carryPractice;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->hold, 1);
    EXPECT_EQ(p->rate, background ? -10 : 10);
    EXPECT_EQ(animator->carryKind, background ? 0 : PersonAnimator::kCarryByPrimitive);
    EXPECT_EQ(animator->movementState, PersonAnimator::kStateStanding) << "the main animation is untouched";
    op.index = 0;
    EXPECT_EQ(Run(op), PersonAnimator::kAnimateDone);
    EXPECT_EQ(background ? animator->backgroundPractice : animator->carryPractice, nullptr);
    EXPECT_EQ(animator->carryKind, 0);
    op.index = 6;
    EXPECT_EQ(Run(op), PersonAnimator::kAnimateDone);
  }
  EXPECT_EQ(host.log, (std::vector<std::string>{"Could not start background animation [NULL skill], id 6\n",
                                                 "Could not start carry animation [NULL skill], id 6\n"}));
}

TEST_F(Animate, OnlyWhileAnimatingSittingOrStanding) {
  animator->movementState = 9;
  EXPECT_EQ(Run(Dance(0)), PersonAnimator::kAnimateNotYet);
  EXPECT_EQ(animator->mainPractice, nullptr);
}

TEST_F(Animate, ReachByHeight) {
  StringSet reach;
  for (int i = 0; i <= 10; ++i) reach.SetString(i + 1, ("reach" + std::to_string(i)).c_str());
  ASSERT_EQ(reach.SaveTo(&file, 154), 0);
  AnimNameTables::Instance().Load(&file);
  for (int i : {1, 4, 9, 10}) library.Add("reach" + std::to_string(i));
  struct Case {
    float height;
    int16_t posture;
    bool forwards;
    const char* skill;
  } cases[] = {{0.5f, 0, true, "reach1"}, {-1, 0, false, "reach9"}, {-1, 1, true, "reach10"}, {1.0f, 1, true, "reach4"}};
  for (const Case& c : cases) {
    person->SetWord(kPersonPosture, c.posture);
    animator->QueueEvent(3);
    ASSERT_TRUE(animator->StartReachAnimation(c.height, c.forwards)) << c.height;
    EXPECT_EQ(animator->mainPractice->skill->GetName(), c.skill);
    EXPECT_EQ(animator->mainPractice->speed, c.forwards ? 1.0f : -1.0f);
    EXPECT_TRUE(animator->eventQueue.empty());
    EXPECT_EQ(animator->movementState, 0);
    EXPECT_TRUE(animator->carrySuppressed);
    EXPECT_FALSE(animator->IsMainDone());
  }
  person->SetWord(kPersonPosture, 0);
  PracticeRef* before = animator->mainPractice;
  EXPECT_FALSE(animator->StartReachAnimation(4.0f, true)) << "no reach at 4 or more";
  EXPECT_EQ(animator->mainPractice, before);
  EXPECT_TRUE(host.log.empty());
  EXPECT_FALSE(animator->StartReachAnimation(1.0f, true)) << "index 3 has no skill";
  EXPECT_EQ(host.log, std::vector<std::string>{"Could not start reach animation [NULL skill]!\n"});

  animator->StopMain();
  EXPECT_TRUE(animator->IsMainDone());
  EXPECT_FALSE(animator->carrySuppressed);
  EXPECT_EQ(animator->movementState, PersonAnimator::kStateStanding);
}

TEST(AnimatorSkillNames, ForTheLog) {
  FakeSkill named("wave"), unnamed("");
  EXPECT_EQ(PersonAnimator::SkillName(&named), "wave");
  EXPECT_EQ(PersonAnimator::SkillName(&unnamed), "[unnamed skill]");
  EXPECT_EQ(PersonAnimator::SkillName(nullptr), "[NULL skill]");
}

}  // namespace
}  // namespace tova_test
