// A person's walk to a target, tick by tick, over a scripted person: the
// walk table (walking, arrived, blocked), trees pushed on the way, portals,
// the failure codes, someone asked to step aside, and the point the person
// ends up facing.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "FakeRouteWalkHost.h"
#include "simulation/SoundPlayer.h"

namespace {

using tova::PathPoint;
using tova::RoutePerson;
using tova::RouteWalk;
using tova::RoutingSlot;
using tova::WalkPrepared;
using tova::test::FakeRouteSite;
using tova::test::FakeRouteWalkHost;

constexpr int16_t kTarget = 20;

struct WalkSoundPlayer : tova::iSoundPlayer {
  std::vector<std::pair<std::string, int32_t>> played;
  void Play(const std::string& event, int32_t argument) override { played.emplace_back(event, argument); }
  void StopSources(int32_t) override {}
  void ForgetObject(int32_t) override {}
};

class RouteWalkTest : public ::testing::Test {
 protected:
  void SetUp() override { tova::SetSoundPlayer(&sounds); }
  void TearDown() override { tova::SetSoundPlayer(nullptr); }

  // Two tiles east of the target at (168, 168).
  static RoutingSlot EastSlot() {
    RoutingSlot slot;
    slot.flags = 1 << 4;
    slot.params = {1, 0, 0};
    slot.distances = {16, 16, 16};
    return slot;
  }
  int32_t Tick() { return RouteWalk::Run(host, state, kTarget, &slot); }

  WalkSoundPlayer sounds;
  FakeRouteWalkHost host;
  RoutingSlot slot = EastSlot();
  int32_t state = 0;
};

TEST_F(RouteWalkTest, WalksArrivesAndEnds) {
  host.walkSteps = {2, 2, 1};
  EXPECT_EQ(Tick(), 2);
  EXPECT_EQ(state, 3);
  ASSERT_EQ(host.routes.size(), 1u);
  EXPECT_EQ(host.routes.back().goals.size(), 1u);
  // The planned path gets a point beyond its end for the final facing.
  EXPECT_EQ(host.path, (std::vector<PathPoint>{{56, 56}, {184, 168}, {168, 168}}));
  EXPECT_EQ(Tick(), 2);
  EXPECT_EQ(Tick(), 1);
  EXPECT_EQ(state, 0);
  EXPECT_TRUE(host.routes.empty());
  EXPECT_EQ(host.placedFacing, 0);  // along the last segment, towards the target
  EXPECT_EQ(host.Word(62), 0);
  EXPECT_EQ(host.Word(39), 1);
  EXPECT_TRUE(host.Logged("release arrived"));
  EXPECT_EQ(sounds.played, (std::vector<std::pair<std::string, int32_t>>{{"begin_route", 5}, {"end_route", 5}}));
}

TEST_F(RouteWalkTest, BlockedWaitsThenFailsWithNobodyInTheWay) {
  host.walkSteps = {0};
  EXPECT_EQ(Tick(), 2);  // blocked: it has not moved since the route began, so it waits a tick
  EXPECT_EQ(state, 6);
  EXPECT_EQ(host.routes.back().waitCounter, 1);
  EXPECT_EQ(Tick(), 0);
  EXPECT_EQ(host.Word(62), 1);
  EXPECT_TRUE(host.routes.empty());
  EXPECT_TRUE(host.Logged("release failed"));
}

TEST_F(RouteWalkTest, BlockedAfterMovingPlansAgain) {
  host.walkSteps = {0, 2};
  host.routes.clear();
  EXPECT_EQ(Tick(), 2);
  EXPECT_EQ(state, 6);
  host.at = {100, 100};  // it moved on meanwhile
  host.routes.back().waitCounter = 0;
  EXPECT_EQ(Tick(), 2);
  EXPECT_EQ(state, 3);
  EXPECT_EQ(host.routes.back().lastX, 100);
}

TEST_F(RouteWalkTest, InterruptedWhileWalkingEndsWithCode4AfterTheAnimation) {
  EXPECT_EQ(Tick(), 2);
  host.interrupted = true;
  EXPECT_EQ(Tick(), 2);  // the walk animation still runs
  EXPECT_EQ(state, 11);
  host.walkAnimating = false;
  EXPECT_EQ(Tick(), 0);
  EXPECT_EQ(host.Word(62), 4);
}

TEST_F(RouteWalkTest, ATreePushedByThePreparationThatEndsFalseFailsTheRoute) {
  // A seat two tiles east: the goal belongs to it, so its entry tree 26 runs.
  slot.params = {0, 1, 0};
  slot.distances = {32, 32, 32};
  host.site.seats[{12, 10}] = {40, 0, 0x1, 0};
  host.words[72] = 3;
  for (const auto& [word62, expected] : {std::pair<int16_t, int16_t>{0, 5}, {9, 9}}) {
    state = 0;
    host.words[62] = word62;
    host.log.clear();
    EXPECT_EQ(Tick(), 3);
    EXPECT_EQ(state, 4);
    EXPECT_EQ(host.Word(37), 1);  // the seat's side bit
    EXPECT_EQ(host.Word(72), 0);
    EXPECT_TRUE(host.Logged("entry 40 26"));
    host.lastTreeTrue = false;
    EXPECT_EQ(Tick(), 0);
    EXPECT_EQ(host.Word(62), expected);
  }
  state = 0;
  host.lastTreeTrue = true;
  EXPECT_EQ(Tick(), 3);
  EXPECT_EQ(Tick(), 1);
}

TEST_F(RouteWalkTest, WithoutGoalsTheRouteFailsWithTheReason) {
  struct Case {
    const char* name;
    int16_t expected;
    void (*setup)(FakeRouteSite&, RoutingSlot&);
  } cases[] = {
      {"object", 8, [](FakeRouteSite& s, RoutingSlot&) { s.defaultPlacement = {false, 11, 12, false}; }},
      {"seat taken", 9,
       [](FakeRouteSite& s, RoutingSlot& slot) {
         slot.params = {0, 1, 0};
         slot.distances = {32, 32, 32};
         s.seats[{12, 10}] = {40, 0, 0x1, 77};
       }},
      {"no free side", 10, [](FakeRouteSite&, RoutingSlot& slot) { slot.params = {0, 1, 0}; }},
      {"wall", 11, [](FakeRouteSite& s, RoutingSlot&) { s.masks[{10, 10}] = 1 << 4; }},
      {"level", 12, [](FakeRouteSite& s, RoutingSlot&) { s.corners[{10, 10}] = 0x02020202; }},
      {"person", 13, [](FakeRouteSite& s, RoutingSlot&) { s.defaultPlacement = {false, 11, 8, true}; }},
  };
  for (const Case& c : cases) {
    FakeRouteWalkHost h;
    RoutingSlot s = EastSlot();
    c.setup(h.site, s);
    int32_t st = 0;
    EXPECT_EQ(RouteWalk::Run(h, st, kTarget, &s), 2) << c.name;  // blocked, waits a tick
    EXPECT_EQ(RouteWalk::Run(h, st, kTarget, &s), 0) << c.name;
    EXPECT_EQ(h.Word(62), c.expected) << c.name;
  }
}

TEST_F(RouteWalkTest, FailureFeedbackRunsTheTargetsTreeWithTheCode) {
  slot.flags |= tova::kSlotFailureFeedback;
  host.namedTrees.insert("20 Route failure feedback");
  host.inTargetRoom = false;  // and no portal leads there
  host.words[72] = 6;
  EXPECT_EQ(Tick(), 3);
  EXPECT_EQ(state, 17);
  EXPECT_TRUE(host.Logged("tree 20 Route failure feedback / 0 2 0 0 0"));
  EXPECT_EQ(host.Word(72), 0);
  EXPECT_EQ(Tick(), 0);
  EXPECT_EQ(host.Word(62), 2);
}

TEST_F(RouteWalkTest, AnEarlierRouteWithoutFeedbackTurnsItOff) {
  RoutingSlot quiet;
  host.routes.emplace_back(int16_t{5}, int16_t{30}, &quiet, tova::FinePoint{56, 56}, int16_t{0}, 40);
  slot.flags |= tova::kSlotFailureFeedback;
  Tick();
  EXPECT_EQ(host.routes.back().slot.flags & tova::kSlotFailureFeedback, 0);
}

TEST_F(RouteWalkTest, PortalsAreTakenUntilTheTargetsRoomIsReached) {
  host.inTargetRoom = false;
  host.portalChoices = {60, 61};
  host.words[72] = 6;
  EXPECT_EQ(Tick(), 3);
  EXPECT_EQ(state, 2);
  EXPECT_TRUE(host.Logged("entry 60 15"));
  EXPECT_TRUE(host.Logged("taken 60"));
  // The way through 60 failed: it is marked and another is chosen.
  host.lastTreeResult = false;
  EXPECT_EQ(Tick(), 3);
  EXPECT_TRUE(host.Logged("failed 60"));
  EXPECT_EQ(host.routes.back().portal, 61);
  host.inTargetRoom = true;
  host.lastTreeResult = true;
  host.words[72] = 0;
  EXPECT_EQ(Tick(), 2);
  EXPECT_EQ(host.Word(72), 6);
  EXPECT_EQ(state, 3);
}

TEST_F(RouteWalkTest, APortalTargetAlreadyInUseEndsTheRoute) {
  host.inTargetRoom = false;
  host.portals.insert(kTarget);
  RoutingSlot any;
  host.routes.emplace_back(int16_t{5}, int16_t{30}, &any, tova::FinePoint{56, 56}, int16_t{0}, 40);
  host.routes.back().portal = kTarget;
  EXPECT_EQ(Tick(), 0);
  EXPECT_EQ(host.routes.size(), 1u);
}

TEST_F(RouteWalkTest, ASeatedPersonStandsUpFirst) {
  host.words[0] = 1;
  host.seat = 40;
  host.site.seat = {40, 0, 0x1, 0};
  EXPECT_EQ(Tick(), 3);
  EXPECT_EQ(state, 5);
  EXPECT_TRUE(host.Logged("entry 40 27 1"));
  EXPECT_EQ(host.Word(37), 1);
  // Still seated afterwards: code 6.
  EXPECT_EQ(Tick(), 0);
  EXPECT_EQ(host.Word(62), 6);

  state = 0;
  EXPECT_EQ(Tick(), 3);
  host.words[0] = 0;
  EXPECT_EQ(Tick(), 2);
  EXPECT_EQ(state, 3);
}

TEST_F(RouteWalkTest, ASeatedPersonWhoseGoalIsItsSeatHasArrived) {
  slot.params = {0, 1, 0};
  slot.distances = {32, 32, 32};
  host.site.seats[{12, 10}] = {40, 0, 0x1, 5};
  host.words[0] = 1;
  host.seat = 40;
  EXPECT_EQ(Tick(), 1);
}

TEST_F(RouteWalkTest, StatesThatEndAtOnce) {
  struct Case {
    const char* name;
    void (*setup)(FakeRouteWalkHost&);
    int16_t code;
  } cases[] = {
      {"cannot route", [](FakeRouteWalkHost& h) { h.canRoute = false; }, 1},
      {"interrupted", [](FakeRouteWalkHost& h) { h.interrupted = true; }, 4},
      {"no portal", [](FakeRouteWalkHost& h) { h.inTargetRoom = false; }, 2},
      {"no goal id", [](FakeRouteWalkHost& h) {
         h.inTargetRoom = false;
         h.prepareGoalWorks = false;
         h.portalChoices = {60};
       }, 2},
      {"arrived where it does not fit", [](FakeRouteWalkHost& h) {
         h.walkSteps = {1};
         h.placeFits = false;
       }, 1},
  };
  for (const Case& c : cases) {
    FakeRouteWalkHost h;
    c.setup(h);
    int32_t st = 0;
    RoutingSlot s = EastSlot();
    EXPECT_EQ(RouteWalk::Run(h, st, kTarget, &s), 0) << c.name;
    EXPECT_EQ(h.Word(62), c.code) << c.name;
    EXPECT_TRUE(h.routes.empty()) << c.name;
  }
  FakeRouteWalkHost h;
  int32_t st = 0;
  EXPECT_EQ(RouteWalk::Run(h, st, 99, &slot), 0);  // no such target
  EXPECT_TRUE(h.routes.empty());
}

TEST_F(RouteWalkTest, WithoutARouteTheWordIsClearedAndNothingIsDropped) {
  state = 3;
  EXPECT_EQ(Tick(), 2);
  EXPECT_EQ(state, 0);
  EXPECT_TRUE(host.routes.empty());
}

TEST_F(RouteWalkTest, ATargetThatGoesAwayEndsTheWalkAfterItsAnimation) {
  EXPECT_EQ(Tick(), 2);
  host.validTargets.clear();
  EXPECT_EQ(Tick(), 2);
  EXPECT_EQ(state, 20);
  host.walkAnimating = false;
  EXPECT_EQ(Tick(), 0);
}

TEST_F(RouteWalkTest, ARouteFromASavedLotPlansAgain) {
  host.routes.emplace_back();
  host.routes.back().target = kTarget;
  host.routes.back().slot = slot;
  state = 3;
  host.walkAnimating = true;
  EXPECT_EQ(Tick(), 2);
  EXPECT_EQ(state, 15);
  host.walkAnimating = false;
  EXPECT_EQ(Tick(), 2);
  EXPECT_EQ(state, 3);
  EXPECT_EQ(host.routes.back().started, 1);
}

TEST_F(RouteWalkTest, TheEndStopsARunningWalk) {
  EXPECT_EQ(Tick(), 2);
  host.routes.back().failureCode = 3;
  state = 7;
  EXPECT_EQ(Tick(), 0);
  EXPECT_TRUE(host.Logged("dump"));
  EXPECT_TRUE(host.Logged("stop walk"));
  EXPECT_EQ(host.Word(62), 3);
}

TEST_F(RouteWalkTest, TwoPeopleOneStepsAside) {
  // Someone stands on the way and only a route that ignores it finds a path.
  RoutePerson other;
  other.id = 8;
  other.facts = {8, false, 1, 0, true, false, 1.0f};
  other.rect = {112, 104, 128, 120, 0};
  host.others = {other};
  host.words[33] = 40;
  host.planner = [](const tova::PersonRoute& r) {
    return r.ignoredPerson == 8 ? std::vector<PathPoint>{{56, 56}, {184, 168}} : std::vector<PathPoint>{};
  };
  EXPECT_EQ(Tick(), 2);  // blocked: waits a tick
  EXPECT_EQ(Tick(), 3);  // asks
  EXPECT_EQ(state, 14);
  EXPECT_TRUE(host.Logged("step aside 8 90 40"));
  EXPECT_TRUE(host.Logged("tree 5 route ask to move animation / 8"));
  EXPECT_EQ(host.routes.back().waitingOn, 8);
  EXPECT_EQ(host.routes.back().stepAsideSerial, 77u);
  // The marker's sides lie across the path (direction 3): 1 and 5.
  ASSERT_EQ(host.markerSlots.size(), 1u);
  EXPECT_EQ(host.markerSlots[0].flags, (1 << 1) | (1 << 5) | 0x100 | 0x2000);

  host.now += 10;
  EXPECT_EQ(Tick(), 3);
  EXPECT_TRUE(host.Logged("tree 5 route waiting animation / 0"));
  // It has stepped aside: the route is planned again and walked.
  host.now += 300;
  host.planner = nullptr;
  host.walkSteps = {1};
  EXPECT_EQ(Tick(), 1);
  EXPECT_TRUE(host.Logged("cancel 8 77"));
}

TEST_F(RouteWalkTest, NobodyIsAskedWhenTheyCannotStepAside) {
  RoutePerson other;
  other.id = 8;
  other.facts = {8, false, 1, 0, true, false, 1.0f};
  other.rect = {112, 104, 128, 120, 0};
  const std::vector<PathPoint> path{{56, 56}, {184, 168}};
  tova::PersonRoute route;
  host.withStepAside = {8};
  EXPECT_FALSE(RouteWalk::AskToStepAsideFrom(host, other, route, path));
  host.withStepAside.clear();
  host.waitingPeople = {8};
  EXPECT_FALSE(RouteWalk::AskToStepAsideFrom(host, other, route, path));
  host.waitingPeople.clear();
  EXPECT_FALSE(RouteWalk::AskToStepAsideFrom(host, other, route, {{56, 56}}));
  host.stepAsideSerial = 0;
  EXPECT_FALSE(RouteWalk::AskToStepAsideFrom(host, other, route, path));
  EXPECT_TRUE(host.Logged("delete marker 90"));
  EXPECT_EQ(route.waitingOn, 0);

  // Seated, or with everyone else ignored, nobody is found.
  host.stepAsideSerial = 77;
  host.others = {other};
  host.words[0] = 1;
  EXPECT_FALSE(RouteWalk::FindBlockingPerson(host, route));
  host.words[0] = 0;
  route.ignorePeople = true;
  EXPECT_FALSE(RouteWalk::FindBlockingPerson(host, route));
}

TEST_F(RouteWalkTest, ThePathIgnoringEveryoneFindsWhoStandsOnIt) {
  RoutePerson far;
  far.id = 9;
  far.facts = {9, false, 1, 0, true, false, 2.0f};
  far.rect = {300, 300, 316, 316, 0};
  RoutePerson onPath = far;
  onPath.id = 8;
  onPath.facts.id = 8;
  onPath.rect = {112, 92, 128, 108, 0};
  host.others = {far, onPath};
  host.planner = [](const tova::PersonRoute& r) {
    return r.ignorePeople ? std::vector<PathPoint>{{40, 100}, {200, 100}} : std::vector<PathPoint>{};
  };
  tova::PersonRoute route(5, kTarget, &slot, {40, 100}, 0, 40);
  EXPECT_TRUE(RouteWalk::FindBlockingPerson(host, route));
  EXPECT_EQ(route.waitingOn, 8);
}

TEST(StepAsideSlot, SidesAcrossThePathAndThePathItselfWhenWide) {
  const std::vector<PathPoint> path{{40, 100}, {200, 100}};
  const tova::CostRect rect{112, 92, 128, 108, 0};
  const RoutingSlot narrow = RouteWalk::StepAsideSlot(path, rect, {120, 100}, false);
  EXPECT_EQ(narrow.flags, (1 << 2) | (1 << 6) | 0x100 | 0x2000);
  EXPECT_EQ(narrow.distances, (std::array<int32_t, 3>{16, 80, 16}));
  EXPECT_EQ(narrow.facing, -3);
  EXPECT_EQ(narrow.params[0], 1);
  const RoutingSlot wide = RouteWalk::StepAsideSlot(path, rect, {120, 100}, true);
  EXPECT_EQ(wide.flags, (1 << 2) | (1 << 4) | (1 << 6) | 0x100 | 0x2000);
  EXPECT_EQ(wide.distances, (std::array<int32_t, 3>{16, 80, 80}));
  // A path that never enters: from its first point to the blocker.
  const RoutingSlot missed = RouteWalk::StepAsideSlot(path, {112, 200, 128, 216, 0}, {40, 300}, false);
  EXPECT_EQ(missed.flags & 0xFF, (1 << 0) | (1 << 4));
}

TEST(FacingPoint, ByTheSlotsFacingCode) {
  struct Case {
    const char* name;
    int32_t facing;
    int32_t flags;
    std::vector<PathPoint> path;
    int32_t personDirection;
    tova::FinePoint target;
    int32_t targetDirection;
    bool ready;
    PathPoint extra;
  } cases[] = {
      {"-3 along the last segment", -3, 0, {{0, 0}, {32, 16}}, 0, {100, 100}, 0, true, {64, 32}},
      {"-3 segment of no length", -3, 0, {{32, 16}, {32, 16}}, 2, {100, 100}, 0, true, {32, 32}},
      {"code 2 from the target's 4", 2, 0, {{0, 0}, {32, 32}}, 0, {100, 100}, 4, true, {32, 16}},
      {"-2 towards the target", -2, 0x10, {{0, 0}, {32, 32}}, 0, {100, 32}, 0, true, {48, 32}},
      {"-1 away from the target", -1, 0x10, {{0, 0}, {32, 32}}, 0, {100, 32}, 0, true, {16, 32}},
      {"-2 ending at the target", -2, 0x110, {{0, 0}, {32, 32}}, 0, {100, 100}, 0, true, {100, 100}},
      {"-2 on the target, no direction", -2, 0, {{0, 0}, {32, 32}}, 0, {32, 32}, 6, true, {32, 16}},
      {"-2 ending at the target it stands on", -2, 0x110, {{0, 0}, {32, 32}}, 0, {32, 32}, 0, false, {}},
  };
  for (const Case& c : cases) {
    RoutingSlot slot;
    slot.facing = c.facing;
    slot.flags = c.flags;
    std::vector<PathPoint> path = c.path;
    EXPECT_EQ(RouteWalk::AppendFacingPoint(path, slot, c.personDirection, c.target, c.targetDirection), c.ready)
        << c.name;
    if (c.ready) {
      ASSERT_EQ(path.size(), c.path.size() + 1) << c.name;
      EXPECT_EQ(path.back(), c.extra) << c.name;
    } else {
      EXPECT_EQ(path, c.path) << c.name;
    }
  }
}

TEST_F(RouteWalkTest, PreparingTheWalk) {
  host.routes.emplace_back(int16_t{5}, kTarget, &slot, tova::FinePoint{56, 56}, int16_t{0}, 40);
  tova::PersonRoute& r = host.routes.back();
  r.Begin(host.site);
  host.roomKnown = false;
  EXPECT_EQ(RouteWalk::PrepareWalk(host, r), WalkPrepared::kBlocked);
  EXPECT_TRUE(r.goals.empty());
  host.roomKnown = true;
  r.Begin(host.site);
  host.planPath.clear();
  EXPECT_EQ(RouteWalk::PrepareWalk(host, r), WalkPrepared::kBlocked);
  EXPECT_TRUE(r.goals.empty());
  // The goal belongs to the seat the person sits in: already there.
  r.goals = {{184, 168, 100, 40, 4}};
  host.seat = 40;
  host.planPath = {{56, 56}, {184, 168}};
  EXPECT_EQ(RouteWalk::PrepareWalk(host, r), WalkPrepared::kAlreadyThere);
  EXPECT_EQ(host.Word(37), 4);
  // Another object whose tree cannot be pushed: code 5.
  r.goals = {{184, 168, 100, 41, 4}};
  host.pushWorks = false;
  EXPECT_EQ(RouteWalk::PrepareWalk(host, r), WalkPrepared::kBlocked);
  EXPECT_EQ(r.failureCode, 5);
}

}  // namespace
