// A person route's standing points: the point test, the goals made from a
// routing slot (cones, snapping to seats, the single goal, the limit), why
// none were made, the start point of a seated person and what a route
// ignores.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

#include "FakeRouteSite.h"
#include "simulation/people/PersonRoute.h"

namespace {

using tova::FinePoint;
using tova::PersonRoute;
using tova::RouteGoal;
using tova::RoutingSlot;
using tova::test::FakeRouteSite;
using GoalPlacement = tova::iRouteSite::Placement;

constexpr int16_t kPersonId = 5;
constexpr int16_t kTargetId = 20;

// The target stands at (168, 168) facing 0; its direction 4 is +x.
RoutingSlot EastSlot(int32_t minimum, int32_t maximum, int32_t optimal) {
  RoutingSlot slot;
  slot.flags = 1 << 4;
  slot.params = {1, 0, 0};
  slot.distances = {minimum, maximum, optimal};
  return slot;
}

PersonRoute MakeRoute(const RoutingSlot& slot, int32_t roomTiles = 40) {
  return PersonRoute(kPersonId, kTargetId, &slot, {56, 56}, 0, roomTiles);
}

std::set<int32_t> AlongOffsets(const PersonRoute& route) {
  std::set<int32_t> out;
  for (const RouteGoal& g : route.goals) out.insert(g.x - 168);
  return out;
}

TEST(RouteGoals, SnappingPlacesRowsSixteenApartWhateverTheStep) {
  FakeRouteSite site;
  RoutingSlot slot = EastSlot(16, 64, 16);
  slot.lastWord = 32;
  PersonRoute plain = MakeRoute(slot);
  plain.BuildRouteGoals(site);
  EXPECT_EQ(AlongOffsets(plain), (std::set<int32_t>{32, 64}));

  slot.params[1] = 1;
  PersonRoute snapping = MakeRoute(slot);
  snapping.BuildRouteGoals(site);
  EXPECT_EQ(AlongOffsets(snapping), (std::set<int32_t>{16, 32, 48, 64}));
  for (const RouteGoal& g : snapping.goals) {
    EXPECT_EQ(g.object, 0);
    EXPECT_EQ(g.param, 1 << 4);
  }
}

TEST(RouteGoals, WeightsFallWithDistanceFromTheOptimalAndGainTheOpenSideBonus) {
  FakeRouteSite site;
  RoutingSlot slot = EastSlot(16, 48, 32);
  slot.tolerance = 0.5f;
  PersonRoute route = MakeRoute(slot);
  route.BuildRouteGoals(site);
  ASSERT_FALSE(route.goals.empty());
  for (const RouteGoal& g : route.goals) {
    const double d = std::hypot(g.x - 168, g.y - 168);
    EXPECT_EQ(g.weight, 10 - static_cast<int32_t>(0.5 * std::fabs(std::trunc(d) - 32)) + 100 + 25) << g.x << "," << g.y;
  }
  EXPECT_EQ(route.largestWeight, 135);

  // A blocked neighbouring direction takes the bonus away.
  site.masks[{10, 10}] = 1 << 3;
  PersonRoute near = MakeRoute(slot);
  near.BuildRouteGoals(site);
  EXPECT_EQ(near.largestWeight, 110);
}

struct SingleCase {
  int32_t facing;
  int32_t flags;
  RouteGoal goal;
  int32_t personDirection;
};

TEST(RouteGoals, ASlotWithoutDirectionsGivesOneGoalOfWeightHundred) {
  const SingleCase cases[] = {
      {0, 0, {152, 168, 100, 0, 0}, 4},
      {2, 0, {168, 184, 100, 0, 0}, 6},
      {4, 0, {184, 168, 100, 0, 0}, 0},
      {6, 0, {168, 152, 100, 0, 0}, 2},
      {1, 0, {156, 179, 100, 0, 0}, 5},
      {6, 0x200, {152, 168, 100, 0, 0}, 4},  // facing 0 instead of the target's
  };
  for (const SingleCase& c : cases) {
    FakeRouteSite site;
    site.targetDirection = c.facing;
    RoutingSlot slot;
    slot.y = -16;
    slot.flags = c.flags;
    PersonRoute route = MakeRoute(slot);
    route.BuildRouteGoals(site);
    EXPECT_EQ(route.goals, std::vector<RouteGoal>{c.goal}) << c.facing;
    EXPECT_EQ(site.personDirection, c.personDirection) << c.facing;
  }

  FakeRouteSite site;
  site.defaultPlacement = {false, 11, 9, true};
  RoutingSlot slot;
  slot.y = -16;
  PersonRoute route = MakeRoute(slot);
  route.BuildRouteGoals(site);
  EXPECT_TRUE(route.goals.empty());
  EXPECT_EQ(route.failureCode, tova::kRouteFailPersonInWay);
  EXPECT_EQ(route.blockingId, 9);
}

TEST(RouteGoals, ASnappedGoalStandsOneTileFromItsSeatWithTheSeatsSideBit) {
  FakeRouteSite site;
  RoutingSlot slot = EastSlot(32, 32, 32);
  slot.params = {0, 1, 0};
  // A seat two tiles east of the target, facing back at it, usable from its side 0.
  site.seats[{12, 10}] = {40, 0, 0x1, 0};
  PersonRoute route = MakeRoute(slot);
  route.BuildRouteGoals(site);
  EXPECT_EQ(route.goals, (std::vector<RouteGoal>{{184, 168, 135, 40, 1}}));

  // A seat that does not face back at the target is none.
  for (const tova::RouteSnapObject seat : {tova::RouteSnapObject{40, 4, 0x1, 0}, tova::RouteSnapObject{40, 2, 0xFF, 0}}) {
    site.seats[{12, 10}] = seat;
    PersonRoute none = MakeRoute(slot);
    none.BuildRouteGoals(site);
    EXPECT_TRUE(none.goals.empty());
    EXPECT_EQ(none.failureCode, tova::kRouteFailNoFreeSide);
  }

  // Someone else sits in it: refused, and the sitter is what blocked the route.
  site.seats[{12, 10}] = {40, 0, 0x1, 77};
  PersonRoute taken = MakeRoute(slot);
  taken.BuildRouteGoals(site);
  EXPECT_TRUE(taken.goals.empty());
  EXPECT_EQ(taken.failureCode, tova::kRouteFailSeatTaken);
  EXPECT_EQ(taken.blockingId, 77);

  // The routed person itself in it does not count.
  site.seats[{12, 10}] = {40, 0, 0x1, kPersonId};
  PersonRoute mine = MakeRoute(slot);
  mine.BuildRouteGoals(site);
  EXPECT_EQ(mine.goals.size(), 1u);
}

TEST(RouteGoals, BadDistancesOrStepGiveNoGoalsAndLeaveTheFailureCode) {
  struct Case {
    std::array<int32_t, 3> distances;
    int32_t step;
  } cases[] = {
      {{32, 16, 16}, 16}, {{16, 600, 16}, 16}, {{16, 16, 32}, 16}, {{0, 16, 16}, 16},
      {{16, 600, 600}, 16}, {{16, 64, 16}, 0}, {{16, 64, 16}, -16},
  };
  for (const Case& c : cases) {
    FakeRouteSite site;
    RoutingSlot slot = EastSlot(c.distances[0], c.distances[1], c.distances[2]);
    slot.lastWord = c.step;
    PersonRoute route = MakeRoute(slot);
    route.failureCode = 3;
    route.BuildRouteGoals(site);
    EXPECT_TRUE(route.goals.empty()) << c.distances[0] << " " << c.distances[1] << " " << c.step;
    EXPECT_EQ(route.failureCode, 3);
  }
}

TEST(RouteGoals, WithNoGoalTheFailureCodeSaysWhy) {
  struct Case {
    const char* name;
    int32_t expected;
    void (*setup)(FakeRouteSite&, RoutingSlot&);
  } cases[] = {
      {"person", 13, [](FakeRouteSite& s, RoutingSlot&) { s.defaultPlacement = {false, 11, 9, true}; }},
      {"object", 8, [](FakeRouteSite& s, RoutingSlot&) { s.defaultPlacement = {false, 11, 12, false}; }},
      {"routing", 11, [](FakeRouteSite& s, RoutingSlot&) { s.defaultPlacement = {false, 7, 0, false}; }},
      {"room", 11, [](FakeRouteSite& s, RoutingSlot&) { s.personRoom = 2; }},
      {"blocked", 11, [](FakeRouteSite& s, RoutingSlot&) { s.masks[{10, 10}] = 1 << 4; }},
      {"level", 12, [](FakeRouteSite& s, RoutingSlot&) { s.corners[{10, 10}] = 0x05050505; }},
      {"no free side", 10, [](FakeRouteSite&, RoutingSlot& slot) { slot.params = {0, 1, 0}; }},
      {"off the lot", 0, [](FakeRouteSite& s, RoutingSlot&) { s.defaultPlacement = {false, 1, 0, false}; }},
  };
  for (const Case& c : cases) {
    FakeRouteSite site;
    RoutingSlot slot = EastSlot(16, 32, 16);
    c.setup(site, slot);
    PersonRoute route = MakeRoute(slot);
    route.BuildRouteGoals(site);
    EXPECT_TRUE(route.goals.empty()) << c.name;
    EXPECT_EQ(route.failureCode, c.expected) << c.name;
  }
}

TEST(RouteGoals, AWallTowardsTheTargetEndsTheDirectionAfterItsRow) {
  FakeRouteSite site;
  RoutingSlot slot = EastSlot(16, 64, 16);
  // The middle tile of the first row is walled off from the target.
  site.masks[{11, 10}] = 1 << 0;
  PersonRoute route = MakeRoute(slot);
  route.BuildRouteGoals(site);
  EXPECT_EQ(AlongOffsets(route), (std::set<int32_t>{16}));
}

TEST(RouteGoals, ThePersonFacesTheWayTheSlotSaysWhileItsPointsAreTested) {
  const std::pair<int32_t, int32_t> cases[] = {{-1, 4}, {-2, 0}, {3, 3}, {-3, 7}};
  for (const auto& [code, expected] : cases) {
    FakeRouteSite site;
    site.personDirection = 7;
    RoutingSlot slot = EastSlot(16, 16, 16);
    slot.facing = code;
    PersonRoute route = MakeRoute(slot);
    route.BuildRouteGoals(site);
    EXPECT_EQ(site.triedFacing[FakeRouteSite::Tile(11, 10)], expected) << code;
  }
}

TEST(RouteGoals, TooManyGoalsKeepTheSeatGoalsThenRandomOnes) {
  FakeRouteSite site;
  RoutingSlot slot = EastSlot(16, 128, 16);
  slot.params = {1, 2, 0};
  site.seats[{12, 10}] = {40, 0, 0x1, 0};
  PersonRoute all = MakeRoute(slot);
  all.goalLimit = 1000;
  all.BuildRouteGoals(site);
  ASSERT_GT(all.goals.size(), 8u);

  PersonRoute large = MakeRoute(slot, 300);
  EXPECT_EQ(large.goalLimit, 8);
  site.randoms = {3, 7, 1, 0, 2, 9, 4, 5};
  large.BuildRouteGoals(site);
  ASSERT_EQ(large.goals.size(), 8u);
  EXPECT_EQ(large.goals[0].object, 40);
  std::set<std::pair<int32_t, int32_t>> seen;
  for (const RouteGoal& g : large.goals) {
    EXPECT_NE(std::find(all.goals.begin(), all.goals.end(), g), all.goals.end());
    seen.insert({g.x, g.y});
  }
  EXPECT_EQ(seen.size(), 8u);
}

TEST(RouteTestPoint, Results) {
  struct Case {
    const char* name;
    FinePoint point;
    int32_t direction;
    int32_t flags;
    void (*setup)(FakeRouteSite&);
    int32_t expected;
  } cases[] = {
      {"free", {184, 168}, 4, 0, [](FakeRouteSite&) {}, 6},
      {"border", {8, 100}, 4, 0, [](FakeRouteSite&) {}, 0},
      {"off the lot", {400, 100}, 4, 0, [](FakeRouteSite&) {}, 0},
      {"other room", {184, 168}, 4, 0, [](FakeRouteSite& s) { s.rooms[{11, 10}] = 2; }, 2},
      {"other room allowed", {184, 168}, 4, 0x800, [](FakeRouteSite& s) { s.rooms[{11, 10}] = 2; }, 6},
      {"walled towards the approach", {184, 168}, 4, 0, [](FakeRouteSite& s) { s.masks[{11, 10}] = 1 << 0; }, 3},
      {"walled elsewhere", {184, 168}, 4, 0, [](FakeRouteSite& s) { s.masks[{11, 10}] = 1 << 2; }, 6},
      {"walled, no approach", {184, 168}, -1, 0, [](FakeRouteSite& s) { s.masks[{11, 10}] = 1 << 0; }, 6},
      {"diagonal beside", {184, 168}, 5, 0, [](FakeRouteSite& s) { s.masks[{11, 10}] = 1 << 0; }, 3},
      {"walls ignored in any room", {184, 168}, 4, 0x800, [](FakeRouteSite& s) { s.masks[{11, 10}] = 1; }, 6},
      {"higher ground", {184, 168}, 4, 0, [](FakeRouteSite& s) { s.corners[{11, 10}] = 0x01010101; }, 4},
      {"sloping ground", {184, 168}, 4, 0,
       [](FakeRouteSite& s) { s.corners[{11, 10}] = s.corners[{10, 10}] = 0x00000100; }, 4},
      {"level test off", {184, 168}, 4, 0x8000, [](FakeRouteSite& s) { s.corners[{11, 10}] = 0x01010101; }, 6},
      {"routing code", {184, 168}, 4, 0, [](FakeRouteSite& s) { s.placements[{11, 10}] = {false, 7, 0, false}; }, 3},
      {"person", {184, 168}, 4, 0, [](FakeRouteSite& s) { s.placements[{11, 10}] = {false, 11, 9, true}; }, 5},
      {"object", {184, 168}, 4, 0, [](FakeRouteSite& s) { s.placements[{11, 10}] = {false, 11, 12, false}; }, 1},
      {"ignored person", {184, 168}, 4, 0, [](FakeRouteSite& s) { s.placements[{11, 10}] = {false, 11, 33, true}; }, 6},
      {"overlap, nothing named", {184, 168}, 4, 0, [](FakeRouteSite& s) { s.placements[{11, 10}] = {false, 11, 0, false}; }, 6},
      {"other code", {184, 168}, 4, 0, [](FakeRouteSite& s) { s.placements[{11, 10}] = {false, 14, 0, false}; }, 0},
  };
  for (const Case& c : cases) {
    FakeRouteSite site;
    c.setup(site);
    RoutingSlot slot;
    slot.flags = c.flags;
    PersonRoute route = MakeRoute(slot);
    route.ignoredPerson = 33;
    EXPECT_EQ(route.TestPoint(site, c.point, c.direction), c.expected) << c.name;
  }
  FakeRouteSite site;
  site.placements[{11, 10}] = {false, 11, 9, true};
  PersonRoute route = MakeRoute(RoutingSlot{});
  route.TestPoint(site, {184, 168}, 4);
  EXPECT_EQ(route.blockingId, 9);
}

TEST(RouteStart, ASeatedPersonStartsBesideTheSeatNearestTheTarget) {
  FakeRouteSite site;
  // Sides 0 and 4 of a seat facing 2: grid directions 2 (+y) and 6 (-y).
  site.seat = {30, 2, 0x11, 0};
  PersonRoute route = MakeRoute(RoutingSlot{});
  route.ChooseStart(site);
  EXPECT_EQ(std::make_pair(route.startX, route.startY), std::make_pair(56, 72));
  EXPECT_EQ(route.parameter, 1);

  // Another person there still counts; a point where nothing fits does not.
  site.placements[{3, 4}] = {false, 11, 9, true};
  route.ChooseStart(site);
  EXPECT_EQ(route.parameter, 1);
  site.placements[{3, 4}] = {false, 14, 0, false};
  route.ChooseStart(site);
  EXPECT_EQ(std::make_pair(route.startX, route.startY), std::make_pair(56, 40));
  EXPECT_EQ(route.parameter, 16);

  site.seat = {};
  route.ChooseStart(site);
  EXPECT_EQ(std::make_pair(route.startX, route.startY), std::make_pair(56, 56));
  EXPECT_EQ(route.parameter, 0);
}

TEST(RouteStart, BeginSetsWord73ToTheSavedWordWhileGoalsAreBuilt) {
  FakeRouteSite site;
  site.words[73] = 4;
  RoutingSlot slot = EastSlot(16, 16, 16);
  PersonRoute route(kPersonId, kTargetId, &slot, {56, 56}, 9, 40);
  EXPECT_EQ(route.started, 1);
  EXPECT_EQ(route.savedWord, 9);
  route.Begin(site);
  EXPECT_FALSE(route.goals.empty());
  EXPECT_EQ(site.words[73], 4);
}

TEST(RouteIgnores, Objects) {
  PersonRoute route = MakeRoute(RoutingSlot{});
  route.ignoredPerson = 9;
  struct Case {
    tova::RouteObjectFacts facts;
    bool ignorePeople;
    bool expected;
  } cases[] = {
      {{1, true, 1, 0, false, false, 0}, false, true},    // held in a slot
      {{1, false, 0, 0x10, false, false, 0}, false, true},  // passable without bit 4
      {{1, false, 0, 0x14, false, false, 0}, false, true},  // bit 4 with bit 2 clear
      {{1, false, 0, 0x06, false, false, 0}, false, false},
      {{1, false, 1, 0x10, false, false, 0}, false, false},  // word 10 set
      {{1, false, 1, 0, false, true, 0}, false, true},       // its tree says so
      {{1, false, 1, 0, false, false, 0}, false, false},
      {{8, false, 1, 0, true, false, 1}, false, false},
      {{8, false, 1, 0, true, false, 1}, true, true},
      {{9, false, 1, 0, true, false, 1}, false, true},
      {{8, false, 1, 0, true, false, 3.5f}, false, true},
      {{8, false, 1, 0, true, true, 1}, false, false},  // entry tree 5 is not asked of people
  };
  for (const Case& c : cases) {
    route.ignorePeople = c.ignorePeople;
    EXPECT_EQ(route.IgnoresObject(c.facts), c.expected) << c.facts.id << " " << c.facts.word8;
  }
}

}  // namespace
