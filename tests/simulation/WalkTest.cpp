// The person's walk: standing snaps, adjusting steps and turns, the speed
// ramp, steering, steps pulled onto the route, the stop wait at the route's
// end, and the follow calls around it.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "AnimatorFixture.h"
#include "simulation/PrimProfiler.h"
#include "simulation/people/PersonView.h"
#include "FakeLot.h"

using namespace tova;
using namespace tova_test;

namespace {

constexpr int32_t kDataStopsAtEnd = 9;
constexpr int32_t kDataFollowing = 22;
constexpr int32_t kWalkingStartAnim = 19, kWalkingLoopAnim = 20;

class Walk : public AnimatorPractices {
 protected:
  void SetUp() override {
    AnimatorPractices::SetUp();
    world.size = 64;
    module.SetLot(&world, &view);
    person->SetData(kDataPlacement, kPlaceOnGround | kPlaceOnFloor);
    person->SetData(kDataSlotKinds, 1);
    for (int i = 4; i <= 18; ++i) library.Add(Standard(i)).travel = 0.75f;  // 4 sixteenths
    library.Add(Standard(kWalkingStartAnim)).travel = 1.5f;                   // a stride of 8
    FakeSkill& loop = library.Add(Standard(kWalkingLoopAnim));
    loop.travel = 3.0f;  // 16 sixteenths a loop
    loop.loops = true;
    // Full energy: the playback speed is 1.2 + 0.2 = 1.4; the walk starts at it.
    *person->GetMotive(kMotiveEnergy) = 100;
    animator->walk.speed = animator->PlaybackSpeed();
  }
  void StandAt(float x, float y, float direction) {
    animator->grid[0] = x, animator->grid[1] = y, animator->grid[2] = direction;
    animator->movementState = 3;
    person->Place({static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))}, 1, nullptr, 0);
  }
  void Target(float x, float y, float direction) {
    animator->walk.target[0] = x, animator->walk.target[1] = y, animator->walk.target[2] = direction;
  }
  std::string Main() const {
    return animator->mainPractice ? animator->mainPractice->skill->GetName() : std::string("none");
  }
  // One tick: the clock moves on and the main animation plays on as the
  // body would play it, marked interruptible.
  void Tick(float advance = 0.25f) {
    ++host.tick;
    if (PracticeRef* p = animator->mainPractice) {
      p->time = std::min(1.0f, p->time + advance);
      p->interruptible = 1;
    }
    animator->Update();
  }

  FakeWorld world;
  FakeView view;
};

TEST_F(Walk, TheSpeedClimbsByAFifthAndFallsAtOnce) {
  animator->walk.speed = 0;
  for (float expected : {0.2f, 0.4f, 0.6f}) {
    animator->Update();
    EXPECT_FLOAT_EQ(animator->walk.speed, expected);
  }
  *person->GetMotive(kMotiveEnergy) = -150;  // 1.2 - 0.6
  animator->Update();
  EXPECT_FLOAT_EQ(animator->walk.speed, 0.6f);
  *person->GetMotive(kMotiveEnergy) = -200;  // 1.2 - 0.8: taken at once
  animator->Update();
  EXPECT_FLOAT_EQ(animator->walk.speed, 0.4f);
  EXPECT_FLOAT_EQ(animator->PlaybackSpeed(), 0.4f);
}

TEST_F(Walk, ATargetUnderHalfASixteenthAwayIsReachedBySnapping) {
  StandAt(100, 100, 2);
  Target(100.4f, 100, 2);
  animator->followState = -1;
  animator->Update();
  EXPECT_FLOAT_EQ(animator->grid[0], 100.4f);
  EXPECT_EQ(animator->movementState, 3);
  EXPECT_EQ(animator->mainPractice, nullptr);
  EXPECT_EQ(animator->followState, 2);
}

TEST_F(Walk, ATargetOneAwayGetsAnAdjustingStepTowardsIt) {
  struct Case {
    float dx, dy;
    int anim;
  };
  // East (x rising), north (y rising) and south-west.
  for (const Case& c : {Case{1, 0, 15}, Case{0, 1, 11}, Case{-0.75f, -0.75f, 16}}) {
    SCOPED_TRACE(c.anim);
    StandAt(100, 100, 2);
    Target(100 + c.dx, 100 + c.dy, 2);
    animator->Update();
    EXPECT_EQ(animator->movementState, 5);
    EXPECT_EQ(Main(), Standard(c.anim));
    EXPECT_FLOAT_EQ(animator->mainPractice->weight, 1.0f);
    // The adjust plays to its end, and the person stands on the target.
    Tick(1.0f);
    EXPECT_NEAR(animator->grid[0], 100 + c.dx, 1e-4);
    EXPECT_NEAR(animator->grid[1], 100 + c.dy, 1e-4);
    EXPECT_EQ(animator->movementState, 3);
  }
}

TEST_F(Walk, TurnsPickTheirAnimationByTheTurnNeeded) {
  struct Case {
    float turn;
    int anim;
  };
  for (const Case& c : {Case{3.0f, 6}, Case{3.5f, 4}, Case{-3.5f, 5}, Case{-3.0f, 7}, Case{-1.0f, 9},
                        Case{1.0f, 8}, Case{2.0f, 6}, Case{0.45f, 10}}) {
    SCOPED_TRACE(c.turn);
    StandAt(100, 100, 4);
    Target(100, 100, 4 + c.turn);
    animator->Update();
    EXPECT_EQ(animator->movementState, 4);
    EXPECT_EQ(Main(), Standard(c.anim));
    Tick(1.0f);
    EXPECT_NEAR(animator->grid[2], std::fmod(4 + c.turn + 8, 8.0f), 1e-4);
  }
}

TEST_F(Walk, ASlowSpeedWidensTheWindowWithoutATurn) {
  StandAt(100, 100, 4);
  Target(100, 100, 4.6f);
  animator->Update();
  EXPECT_EQ(animator->movementState, 4) << "at speed 1.4, 0.6 eighths need a turn";
  *person->GetMotive(kMotiveEnergy) = -100;  // speed 0.8: no turn below 0.625
  animator->StopMain();
  StandAt(100, 100, 4);
  Target(100, 100, 4.6f);
  animator->Update();
  EXPECT_EQ(animator->movementState, 3);
  EXPECT_FLOAT_EQ(animator->grid[2], 4.6f);
}

// A route along x: from (80, 100) to (200, 100), facing (200, 140).
class WalkRoute : public Walk {
 protected:
  void SetUp() override {
    Walk::SetUp();
    person->PathPoints() = {{80, 100}, {200, 100}, {200, 140}};
  }
  void Walking(float x, float y, float direction) {
    StandAt(x, y, direction);
    animator->movementState = 9;
    animator->followState = 1;
    animator->destination = 1;
    animator->walk.walking = true;
  }
};

TEST_F(WalkRoute, AStepBesideTheSegmentPlacesThePersonOnIt) {
  Walking(100, 100.6f, 2);
  Tick();
  EXPECT_EQ(Main(), Standard(kWalkingLoopAnim));
  // One step: 16 sixteenths a loop of 1000 at speed 1.4 over steps of 50.
  const float length = 16.0f / (1000.0f / 1.4f / 50.0f);
  EXPECT_NEAR(std::hypot(animator->walk.lastStep[0], animator->walk.lastStep[1]), length, 1e-4);
  EXPECT_GT(animator->grid[0], 100.5f);
  EXPECT_GT(animator->grid[1], 100.5f) << "the grid position stays off the segment";
  EXPECT_EQ(person->GetPosition().y, 100);
  EXPECT_EQ(person->GetPosition().x, static_cast<int32_t>(std::lround(animator->grid[0])));
}

TEST_F(WalkRoute, ALargeTurnStopsTheWalkForAStandingTurn) {
  Walking(100, 100, 6);  // facing away from the route's direction
  Tick();
  EXPECT_EQ(animator->movementState, 4);
  EXPECT_FLOAT_EQ(animator->walk.end[2], 2.0f);
}

TEST_F(WalkRoute, SteeringTurnsAtMostAFifthAnEighthATick) {
  Walking(100, 100, 2.5f);
  Tick();
  EXPECT_FLOAT_EQ(animator->grid[2], 2.3f);
  *person->GetMotive(kMotiveEnergy) = -100;  // speed 0.8: a quarter
  Walking(100, 100, 3.9f);
  Tick();
  EXPECT_EQ(animator->movementState, 9);
  EXPECT_FLOAT_EQ(animator->grid[2], 3.65f);
}

TEST_F(WalkRoute, AStepThatDoesNotFitEndsTheFollowFalse) {
  Walking(100, 100, 2);
  person->SetData(kDataPlacement, 0);  // nowhere to stand
  Tick();
  EXPECT_EQ(animator->followState, 3);
  EXPECT_FLOAT_EQ(animator->grid[0], 100);
}

TEST_F(WalkRoute, NoStepForASkillWithoutDurationOrAStillPractice) {
  library.skills[Standard(kWalkingLoopAnim)]->duration = 0;
  Walking(100, 100, 2);
  Tick();
  EXPECT_FLOAT_EQ(animator->grid[0], 100);
  library.skills[Standard(kWalkingLoopAnim)]->duration = 1000;
  Walking(100, 100, 2);
  Tick();
  animator->mainPractice->speed = 0;
  animator->walk.speed = 0;
  *person->GetMotive(kMotiveEnergy) = -300;  // playback speed 0
  const float before = animator->grid[0];
  animator->Update();
  EXPECT_FLOAT_EQ(animator->grid[0], before);
}

TEST_F(WalkRoute, FewerThanTwoPointsArriveAtOnce) {
  for (std::vector<PathPoint> points : {std::vector<PathPoint>{}, std::vector<PathPoint>{{120, 100}}}) {
    person->PathPoints() = points;
    Walking(100, 100, 2);
    animator->Update();
    EXPECT_EQ(animator->movementState, 3);
    EXPECT_EQ(animator->followState, 2);
    EXPECT_FLOAT_EQ(animator->grid[0], 100);
  }
}

TEST_F(WalkRoute, WithoutAMainPracticeTheStopWaitLasts100) {
  library.skills.erase(Standard(kWalkingLoopAnim));
  // Inside the stop radius (half a loop of 0: the person stands still) but
  // more than 2 from the second-last point.
  animator->walk.stride[0] = animator->walk.stride[1] = 6;
  Walking(196, 100, 2);
  host.tick = 10;
  animator->Update();
  EXPECT_EQ(animator->walk.stopDeadline, 10 * 50 + 100);
  EXPECT_EQ(animator->followState, 1);
  host.tick = 11;
  animator->Update();
  EXPECT_EQ(animator->followState, 1);
  host.tick = 12;
  animator->Update();
  EXPECT_EQ(animator->followState, -1);
  EXPECT_FLOAT_EQ(animator->grid[0], 200);
  EXPECT_FLOAT_EQ(animator->grid[1], 100);
  EXPECT_FLOAT_EQ(animator->grid[2], 4);
  EXPECT_EQ(animator->walk.stopDeadline, 0);
  animator->Update();
  EXPECT_EQ(animator->followState, 2);
}

TEST_F(WalkRoute, ComingWithin2OfTheEndStopsTheWaitAtOnce) {
  library.skills.erase(Standard(kWalkingLoopAnim));
  animator->walk.stride[0] = animator->walk.stride[1] = 6;
  Walking(198.5f, 100, 2);
  host.tick = 10;
  animator->Update();
  EXPECT_EQ(animator->followState, -1);
  EXPECT_FLOAT_EQ(animator->grid[0], 200);
  EXPECT_EQ(person->GetPosition().x, 200);
}

TEST_F(WalkRoute, ARouteOfTwoPointsWalksToTheFirstAndFacesTheSecond) {
  person->PathPoints() = {{140, 100}, {140, 60}};
  animator->walk.startDistance = 100;
  StandAt(80, 100, 2);
  person->SetData(kDataDirection, 2);
  animator->StartFollow();
  EXPECT_EQ(animator->followState, 1);
  EXPECT_EQ(person->GetData(kDataFollowing), 256);
  int ticks = 0;
  while (animator->FollowStep() == 2 && ticks < 400) {
    Tick();
    ++ticks;
  }
  ASSERT_LT(ticks, 400);
  EXPECT_EQ(animator->followState, 2);
  EXPECT_EQ(person->GetPosition().x, 140);
  EXPECT_EQ(person->GetPosition().y, 100);
  EXPECT_FLOAT_EQ(animator->grid[2], 0);  // facing y-1
  EXPECT_EQ(person->GetData(kDataDirection), 0);
}

TEST_F(WalkRoute, AStopsAtEndRouteStopsInsideTheArrivalRadius) {
  person->SetData(kDataStopsAtEnd, 1);
  Walking(150, 100, 2);
  int ticks = 0;
  while (animator->followState == 1 && ticks < 200) {
    Tick();
    ++ticks;
  }
  EXPECT_EQ(animator->followState, -1);
  EXPECT_GE(animator->grid[0], 197.0f - 16.0f / (1000.0f / 1.4f / 50.0f));
  animator->Update();
  EXPECT_EQ(animator->followState, 2);
}

TEST_F(WalkRoute, TheBodyFollowsTheWalkAndItsPracticesTheClock) {
  Walking(100, 100, 2);
  PersonDrawContext context;
  animator->Draw(context, false);  // dressed once
  const size_t before = body->practiceClocks.size();
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    Tick();
    const float x = animator->grid[0] * PersonAnimator::kFinePerUnit;
    const float z = animator->grid[1] * PersonAnimator::kFinePerUnit;
    EXPECT_FLOAT_EQ(body->placed[0], x);
    EXPECT_FLOAT_EQ(body->placed[2], z);
    EXPECT_FLOAT_EQ(animator->renderMatrix.m[3][0], x) << "the render matrix is the body's after placing";
    ASSERT_EQ(body->practiceClocks.size(), before + static_cast<size_t>(i) + 1) << "one advance a tick";
    EXPECT_EQ(body->practiceClocks.back(), host.tick * 50);
  }
  EXPECT_GT(animator->grid[0], 105.0f) << "the person walked on";
  EXPECT_GT(body->placed[0], 105.0f * PersonAnimator::kFinePerUnit);
  // Drawn after the tick, the pose is not worked out a second time.
  const int transforms = body->transformUpdates;
  animator->Draw(context, false);
  EXPECT_EQ(body->transformUpdates, transforms);
}

TEST_F(WalkRoute, WithoutABodyOnlyTheRedrawMarkIsMade) {
  Walking(100, 100, 2);
  animator->AttachBody(nullptr);
  person->SetRedrawState(0);
  Tick();
  EXPECT_EQ(person->GetRedrawState(), 1);
  EXPECT_TRUE(body->practiceClocks.empty());
  EXPECT_EQ(body->placed, (std::array<float, 4>{}));
  animator->AttachBody(body.get());
}

TEST_F(WalkRoute, TheProfilerTimesTheThreeBodySteps) {
  uint64_t micros = 0;
  PrimProfiler profiler(4, [this] { return host.tick; }, [&micros] { return micros += 7; });
  person->SetProfiler(&profiler);
  Walking(100, 100, 2);
  // The person's work after its tick counts to the tick just ended.
  profiler.StartTick();
  profiler.EndTick();
  Tick();
  person->SetProfiler(nullptr);
  const PrimProfiler::TickRecord* record = profiler.RecordOf(profiler.SamplesTaken() - 1);
  ASSERT_NE(record, nullptr);
  std::vector<int32_t> slots;
  for (const PrimProfiler::Entry& e : record->entries) {
    if (e.opcode >= 0) continue;
    slots.push_back(e.opcode);
    EXPECT_EQ(e.calls, 1) << e.opcode;
    EXPECT_GT(e.totalMicroseconds, 0) << e.opcode;
  }
  EXPECT_EQ(slots, (std::vector<int32_t>{-3, -4, -5}));
}

TEST_F(WalkRoute, NearestPathPointTakesTheSegmentsTheIndexNames) {
  person->PathPoints() = {{0, 0}, {100, 0}, {100, 100}, {100, 200}};
  struct Case {
    PathPoint in;
    int32_t index;
    PathPoint out;
  };
  for (const Case& c : {Case{{50, 7}, 1, {50, 0}}, Case{{50, 7}, 0, {50, 0}}, Case{{90, 60}, 2, {100, 60}},
                        Case{{90, 60}, -1, {100, 60}}, Case{{-20, 5}, 1, {0, 0}}, Case{{90, 160}, 3, {90, 160}},
                        Case{{90, 160}, -1, {100, 100}}, Case{{33, 33}, 9, {33, 33}}}) {
    EXPECT_EQ(animator->NearestPathPoint(c.in, c.index), c.out) << c.in.x << "," << c.in.y << " @" << c.index;
  }
  person->PathPoints() = {{0, 0}, {0, 40}};
  EXPECT_EQ(animator->NearestPathPoint({9, 17}, -1), (PathPoint{0, 17}));
  person->PathPoints() = {{5, 5}, {5, 5}, {9, 9}};
  EXPECT_EQ(animator->NearestPathPoint({7, 7}, 1), (PathPoint{5, 5}));
}

TEST_F(WalkRoute, RoutePointsFarApartWalkWithoutOverflow) {
  person->PathPoints() = {{-2000000000, -2000000000}, {2000000000, 2000000000}, {2000000000, -2000000000}};
  EXPECT_EQ(animator->NearestPathPoint({5, 5}, 1), (PathPoint{5, 5}));
  EXPECT_EQ(animator->NearestPathPoint({5, 5}, -1), (PathPoint{5, 5}));
  Walking(100, 100, 3);
  Tick();
  EXPECT_EQ(animator->movementState, 9);
  EXPECT_NEAR(animator->grid[2], 3.0f, 0.2f + 1e-4);
}

TEST_F(Walk, FollowCallsAndDirections) {
  EXPECT_EQ(animator->FollowStep(), 0);
  animator->followState = 1;
  animator->StopFollow();
  EXPECT_EQ(animator->followState, 1);
  EXPECT_EQ(animator->walk.followStopRequest, 1);
  EXPECT_TRUE(animator->IsFollowing());
  EXPECT_EQ(animator->FollowStep(), 2);
  animator->followState = 3;
  animator->StopFollow();
  EXPECT_EQ(animator->followState, 0);
  EXPECT_EQ(animator->destination, -1);
  EXPECT_EQ(animator->walk.followEnded, 1);
  EXPECT_FALSE(animator->IsFollowing());
  for (auto [grid, word] : {std::pair{7.6f, 0}, std::pair{3.4f, 3}, std::pair{-0.6f, 7}}) {
    animator->grid[2] = grid;
    animator->SetObjectDirection();
    EXPECT_EQ(person->GetData(kDataDirection), word) << grid;
  }
  EXPECT_FLOAT_EQ(PersonAnimator::HeadingOf(0, -1), 1.5f * std::numbers::pi_v<float>);
  EXPECT_FLOAT_EQ(PersonAnimator::HeadingOf(1, 0), 0);
}

}  // namespace
