// The person animator's practice slots: starting and fading out skills,
// the text form that the record keeps, the posture loop, the standard
// carry, interruptibility, playback speed and the reach index.
#include <gtest/gtest.h>

#include "AnimatorFixture.h"
#include "resfile/ReconStream.h"

namespace tova_test {
namespace {

TEST_F(AnimatorPractices, StartPlaysForwardsOrFromTheEndBackwards) {
  EXPECT_FALSE(animator->StartPractice(PersonAnimator::kMainSlot, nullptr, false));
  ASSERT_TRUE(animator->StartPractice(PersonAnimator::kCarrySlot, SkillNamed("wave"), false));
  const PracticeRef* p = animator->carryPractice;
  EXPECT_EQ(p->speed, 1.0f);
  EXPECT_EQ(p->time, 0.0f);
  EXPECT_EQ(p->mode, PersonAnimator::kPracticeMode);
  EXPECT_EQ(p->rate, 1);
  ASSERT_TRUE(animator->StartPractice(PersonAnimator::kCarrySlot, SkillNamed("dance"), true));
  EXPECT_EQ(animator->carryPractice->speed, -1.0f);
  EXPECT_EQ(animator->carryPractice->time, 1.0f);
  EXPECT_TRUE(p->removeWhenFaded) << "the slot's old practice fades out";

  body->unloadable.insert("wave");
  EXPECT_FALSE(animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("wave"), false));
  EXPECT_EQ(animator->mainPractice, nullptr);
}

TEST_F(AnimatorPractices, StoppingTheMainPracticeMakesItTheLastOne) {
  host.tick = 7;
  animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("wave"), false);
  PracticeRef* first = animator->mainPractice;
  animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("dance"), false);
  EXPECT_EQ(animator->lastPractice, first);
  EXPECT_EQ(first->blend[0], -1);
  EXPECT_EQ(first->blend[1], -1);
  EXPECT_EQ(first->rate, 2);
  EXPECT_EQ(first->fadeTime, PersonAnimator::kBlendOutTime);
  EXPECT_EQ(first->fadeStart, 350) << "the animation clock: ticks times 50";
  EXPECT_FALSE(first->removeWhenFaded);
  PracticeRef* second = animator->mainPractice;
  animator->StopPractice(PersonAnimator::kMainSlot);
  EXPECT_EQ(animator->lastPractice, second);
  EXPECT_EQ(body->removed, std::vector<PracticeRef*>{first}) << "an older last practice goes at once";
  EXPECT_EQ(animator->mainPractice, nullptr);
}

TEST_F(AnimatorPractices, TheBackgroundStopsAtOnce) {
  animator->StartPractice(PersonAnimator::kBackgroundSlot, SkillNamed("wave"), false);
  PracticeRef* loop = animator->backgroundPractice;
  animator->StopPractice(PersonAnimator::kBackgroundSlot);
  EXPECT_EQ(body->removed, std::vector<PracticeRef*>{loop});
  EXPECT_TRUE(body->practices.empty());
}

TEST_F(AnimatorPractices, DiscontinuityStartsWithoutBlending) {
  animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("wave"), false);
  PracticeRef* fading = animator->mainPractice;
  animator->StopPractice(PersonAnimator::kMainSlot);
  animator->discontinuity = true;
  body->practices.front()->blend[0] = 3;
  ASSERT_TRUE(animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("dance"), false));
  EXPECT_FALSE(animator->discontinuity);
  EXPECT_EQ(animator->lastPractice, nullptr);
  EXPECT_EQ(body->removed, std::vector<PracticeRef*>{fading});
  EXPECT_EQ(animator->mainPractice->rate, 6);
  EXPECT_EQ(animator->mainPractice->blend[0], 0);
}

TEST_F(AnimatorPractices, TextFormRoundTrips) {
  ASSERT_TRUE(animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("dance"), true));
  PracticeRef& p = *animator->mainPractice;
  p.rate = -10;
  p.time = 0.3f;
  p.weight = 0.25f;
  p.hold = 1;
  p.blend[0] = -1;
  p.blend[1] = 4;
  const std::string text = PersonAnimator::PracticeText(&p);
  EXPECT_EQ(text, "dance;-10;-1000;300;250;1;-1;4");
  ASSERT_TRUE(animator->RestorePractice(PersonAnimator::kCarrySlot, text));
  EXPECT_EQ(PersonAnimator::PracticeText(animator->carryPractice), text);
  EXPECT_EQ(animator->carryPractice->mode, PersonAnimator::kPracticeMode);
  EXPECT_EQ(PersonAnimator::PracticeText(nullptr), "");
}

TEST_F(AnimatorPractices, BadTextFormsLeaveTheSlotEmpty) {
  for (const char* text : {"", "dance", "dance;1;1000;0;1000;0;0", "dance;1;1000;0;1000;0;0;0;9",
                           "dance;1;fast;0;1000;0;0;0", "dance;1;1000;0;1000;0;0;", "ghost;1;1000;0;1000;0;0;0",
                           ";1;1000;0;1000;0;0;0"}) {
    animator->StartPractice(PersonAnimator::kCarrySlot, SkillNamed("wave"), false);
    EXPECT_FALSE(animator->RestorePractice(PersonAnimator::kCarrySlot, text)) << text;
    EXPECT_EQ(animator->carryPractice, nullptr) << text;
  }
}

TEST_F(AnimatorPractices, RecordKeepsTheLivePracticesAndRemakesThem) {
  animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("dance"), false);
  animator->StartPractice(PersonAnimator::kBackgroundSlot, SkillNamed("wave"), true);
  animator->movementState = 0;
  ReconStream measure;
  measure.InitMeasure();
  std::vector<PathPoint> points;
  ASSERT_TRUE(animator->Transfer(measure, 61, points));
  std::vector<uint8_t> bytes(static_cast<size_t>(measure.GetPosition()));
  ReconStream out;
  out.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kWrite, false);
  ASSERT_TRUE(animator->Transfer(out, 61, points));

  cXPerson* other = MakePerson();
  PersonAnimator& read = other->Animator();
  read.Attach(other);
  FakeBody readBody(&read);
  read.AttachBody(&readBody);
  ReconStream in;
  in.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
  ASSERT_TRUE(read.Transfer(in, 61, points));
  EXPECT_EQ(PersonAnimator::PracticeText(read.mainPractice), "dance;1;1000;0;1000;0;0;0");
  EXPECT_EQ(read.carryPractice, nullptr);
  EXPECT_EQ(PersonAnimator::PracticeText(read.backgroundPractice), "wave;1;-1000;1000;1000;0;0;0");
  EXPECT_EQ(readBody.Playing(), (std::vector<std::string>{"dance", "wave"}));
}

TEST_F(AnimatorPractices, InterruptibleByMovementState) {
  for (int32_t state = 0; state <= 12; ++state) {
    animator->movementState = state;
    animator->mainPractice = nullptr;
    const bool expectedWithout = state <= 3 || state == 9 || state == 10;
    EXPECT_EQ(animator->IsInterruptible(), expectedWithout) << state;
  }
  animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("wave"), false);
  for (int32_t state : {0, 9, 10}) {
    animator->movementState = state;
    animator->mainPractice->interruptible = 0;
    EXPECT_FALSE(animator->IsInterruptible()) << state;
    animator->mainPractice->interruptible = 1;
    EXPECT_TRUE(animator->IsInterruptible()) << state;
  }
  animator->mainPractice->interruptible = 0;
  animator->movementState = 2;
  EXPECT_TRUE(animator->IsInterruptible()) << "sitting on the floor always";
}

TEST_F(AnimatorPractices, PlaybackSpeedFromEnergyAndRunning) {
  struct Case {
    float energy;
    int16_t running;
    int32_t state;
    float speed;
  } cases[] = {
      {0, 0, 3, 1.2f},    {100, 0, 3, 1.4f},  {50, 0, 0, 1.3f},  {-50, 0, 3, 1.0f},  {-100, 0, 9, 0.8f},
      {20, 1, 9, 2.8f},   {20, 1, 0, 2.8f},   {20, 1, 4, 2.8f},  {20, 1, 3, 1.24f},  {20, 1, 10, 1.24f},
      {20, 2, 9, 1.24f},
  };
  for (const Case& c : cases) {
    person->MotiveRef(kMotiveEnergy) = c.energy;
    person->SetData(17, c.running);
    animator->movementState = c.state;
    EXPECT_NEAR(animator->PlaybackSpeed(), c.speed, 1e-5) << c.energy << " " << c.running << " " << c.state;
  }
}

TEST_F(AnimatorPractices, BackgroundFollowsThePosture) {
  animator->ChooseBackground();
  ASSERT_NE(animator->backgroundPractice, nullptr);
  EXPECT_EQ(animator->backgroundPractice->skill->GetName(), Standard(3));
  EXPECT_EQ(animator->backgroundPractice->hold, 1);
  EXPECT_EQ(animator->backgroundPractice->rate, -10);
  PracticeRef* standing = animator->backgroundPractice;
  animator->ChooseBackground();
  EXPECT_EQ(animator->backgroundPractice, standing) << "same posture: the loop plays on";

  person->SetWord(kPersonPosture, 1);
  animator->ChooseBackground();
  EXPECT_EQ(body->removed, std::vector<PracticeRef*>{standing});
  EXPECT_EQ(animator->backgroundPractice->skill->GetName(), Standard(1));
  person->SetWord(kPersonPosture, 2);
  animator->ChooseBackground();
  EXPECT_EQ(animator->backgroundPractice->skill->GetName(), Standard(2));

  person->SetWord(kPersonPosture, 3);
  animator->ChooseBackground();
  EXPECT_EQ(animator->backgroundPractice, nullptr) << "posture 3 has no loop; the old one is dropped";
  EXPECT_EQ(animator->lastPosture, 3);
  EXPECT_TRUE(body->practices.empty());
}

TEST_F(AnimatorPractices, StandardCarryWhileHolding) {
  animator->CheckCarry();
  EXPECT_EQ(animator->carryPractice, nullptr) << "an empty first slot";
  EXPECT_EQ(animator->carryCheck, -1);
  animator->UpdateCarry(true);
  ASSERT_NE(animator->carryPractice, nullptr);
  EXPECT_EQ(animator->carryPractice->skill->GetName(), Standard(38));
  EXPECT_EQ(animator->carryPractice->rate, 10);
  EXPECT_EQ(animator->carryCheck, 0);
  PracticeRef* carry = animator->carryPractice;
  animator->UpdateCarry(true);
  EXPECT_EQ(animator->carryPractice, carry) << "no change while the state holds";

  animator->carrySuppressed = true;
  animator->UpdateCarry(true);
  EXPECT_EQ(animator->carryPractice, nullptr);
  EXPECT_TRUE(carry->removeWhenFaded);
  EXPECT_EQ(animator->carryCheck, -1);

  animator->carrySuppressed = false;
  animator->carryKind = PersonAnimator::kCarryByPrimitive;
  animator->UpdateCarry(true);
  EXPECT_EQ(animator->carryPractice, nullptr) << "a carry of the animate primitive is left alone";
}

TEST_F(AnimatorPractices, ResetStopsEverything) {
  animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("wave"), false);
  animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("dance"), false);
  animator->ChooseBackground();
  animator->UpdateCarry(true);
  animator->QueueEvent(4);
  animator->primitiveRunning = 1;
  animator->movementState = 0;
  animator->carryKind = PersonAnimator::kCarryByPrimitive;
  animator->Reset();
  EXPECT_TRUE(body->practices.empty()) << "all four practices go at once";
  for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(animator->SlotPractice(slot), nullptr) << slot;
  EXPECT_TRUE(animator->eventQueue.empty());
  EXPECT_EQ(animator->primitiveRunning, 0);
  EXPECT_EQ(animator->movementState, PersonAnimator::kStateStanding);
  EXPECT_EQ(animator->carryKind, 0);
  EXPECT_EQ(animator->carryCheck, -1);
  EXPECT_EQ(animator->lastPosture, -1);
  EXPECT_TRUE(animator->discontinuity);
  ASSERT_TRUE(animator->StartPractice(PersonAnimator::kMainSlot, SkillNamed("wave"), false));
  EXPECT_EQ(animator->mainPractice->rate, 6) << "the first animation after a reset does not blend";
}

TEST(AnimatorReach, IndexByHeightAndPosture) {
  struct Case {
    float height;
    int32_t standing, seated;
  } cases[] = {
      {-0.01f, 9, 10}, {0, 1, 2},     {0.74f, 1, 2}, {0.75f, 3, 4},  {1.99f, 3, 4},
      {2.0f, 5, 6},    {2.6f, 5, 6},  {2.6666667f, 7, 8}, {3.99f, 7, 8}, {4.0f, -1, -1}, {10, -1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PersonAnimator::ReachIndex(c.height, 0), c.standing) << c.height;
    EXPECT_EQ(PersonAnimator::ReachIndex(c.height, 1), c.seated) << c.height;
    EXPECT_EQ(PersonAnimator::ReachIndex(c.height, 2), c.standing) << c.height;
  }
}

}  // namespace
}  // namespace tova_test
