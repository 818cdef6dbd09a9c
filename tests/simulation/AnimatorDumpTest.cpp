// The animator's state dump in the event log, and the search for a time
// property in a skill's motions.
#include <gtest/gtest.h>

#include "AnimatorFixture.h"

namespace tova_test {
namespace {

class AnimatorDump : public AnimatorPractices {
 protected:
  void TearDown() override {
    PersonAnimator::SetDumpSwitch(false);
    PersonAnimator::SetDumpMask(5);
    AnimatorPractices::TearDown();
  }
};

TEST_F(AnimatorDump, EveryItemOfTheMask) {
  animator->StartPractice(PersonAnimator::kBackgroundSlot, SkillNamed("wave"), false);
  animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("dance"), false);
  animator->currentStandard = 20;
  animator->movementState = 9;
  animator->followState = 1;
  person->PathPoints() = {{16, 32}, {40, 8}};
  animator->destination = 1;
  animator->grid[0] = 24.5f;
  animator->grid[1] = -999;
  EXPECT_EQ(animator->DumpText(511),
            "========\n"
            "Person: Bella\n"
            "Background: wave\n"
            "Current: [WalkingLoop] dance;1;1000;0;1000;0;0;0\n"
            "Carry: [NULL practice]\n"
            "Last: [NULL practice]\n"
            "State: Walking\n"
            "FollowState: 1 Engaged\n"
            "CurDest: 1 / 2 => 2.500000 0.500000\n"
            "GridPos: 24.500000 -999.000000\n");
  animator->destination = 2;
  animator->backgroundPractice = nullptr;
  animator->followState = -1;
  EXPECT_EQ(animator->DumpText(2 | 64 | 128), "========\nBackground: NONE\nFollowState: -1 Ending\nCurDest: 2 / 2\n");
  EXPECT_EQ(animator->DumpText(0), "========\n");
}

TEST_F(AnimatorDump, WritesChangedDumpsOfTheSelectedPersonOnly) {
  animator->Dump();
  EXPECT_TRUE(host.log.empty()) << "switch off";
  PersonAnimator::SetDumpSwitch(true);
  animator->Dump();
  EXPECT_TRUE(host.log.empty()) << "not selected";
  module.SetSelectedPerson(person);
  animator->Dump();
  EXPECT_EQ(host.log, (std::vector<std::string>{"========", "Person: Bella", "Current: [] [NULL practice]"}));
  animator->Dump();
  EXPECT_EQ(host.log.size(), 3u) << "unchanged";
  animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("dance"), false);
  animator->Dump();
  EXPECT_EQ(host.log.size(), 6u);
  EXPECT_EQ(host.log.back(), "Current: [] dance;1;1000;0;1000;0;0;0");
  PersonAnimator::SetDumpSwitch(false);
  animator->Dump();
  EXPECT_EQ(animator->LastDump(), "");
  module.SetSelectedPerson(nullptr);
}

TEST(AnimatorTimeProperty, FirstMatchSearchingEachMotionFromItsLastList) {
  FakeSkill walk("walk");
  walk.motions = {
      {"ROOT", {{2, {{"xevt", "1"}}}}, {}},
      {"L_FOOT", {{4, {{"anchor", "1"}}}, {9, {{"sound", "step"}, {"anchor", "1"}}}}, {}},
      {"R_FOOT", {{12, {{"anchor", "2"}}}}, {}},
  };
  struct Case {
    const char* name;
    const char* value;
    int32_t frame;
    const char* motion;
  } cases[] = {
      {"anchor", "1", 9, "L_FOOT"}, {"anchor", "2", 12, "R_FOOT"}, {"xevt", "1", 2, "ROOT"},
      {"anchor", "3", -1, ""},      {"Anchor", "1", -1, ""},
  };
  for (const Case& c : cases) {
    std::string motion = "stale";
    EXPECT_EQ(PersonAnimator::FindTimeProperty(walk, c.name, c.value, motion), c.frame) << c.name << c.value;
    EXPECT_EQ(motion, c.motion) << c.name << c.value;
  }
}

TEST(AnimatorNames, StatesFollowStatesAndStandards) {
  EXPECT_STREQ(PersonAnimator::StateName(0), "Animating");
  EXPECT_STREQ(PersonAnimator::StateName(12), "RunningStop");
  EXPECT_STREQ(PersonAnimator::StateName(13), "");
  EXPECT_STREQ(PersonAnimator::FollowStateName(3), "3 False");
  EXPECT_STREQ(PersonAnimator::FollowStateName(4), "");
  EXPECT_STREQ(PersonAnimator::StandardName(0), "Blank");
  EXPECT_STREQ(PersonAnimator::StandardName(38), "RightArmCarry");
  EXPECT_STREQ(PersonAnimator::StandardName(-1), "");
}

}  // namespace
}  // namespace tova_test
