// Planning a person route: the request made from the room's objects and
// rectangles and the route's goals, the options by room, the budget, the
// failure codes, the reached goal and the developer files.
#include <gtest/gtest.h>

#include "platform/TextFile.h"
#include "simulation/people/PlanRoute.h"
#include "support/ScratchDir.h"

namespace {

using tova::BuildRouteRequest;
using tova::CostRect;
using tova::PlanRoute;
using tova::RoutePlanInput;
using tova::RoutePlanResult;

constexpr int32_t kSolidPlan = CostRect::kSolid;

// Two rooms of 16 by 8 tiles side by side, a wall with a door gap between
// them, the person in the left room and goals in the right one.
RoutePlanInput TwoRooms() {
  RoutePlanInput in;
  in.routeRects = {{-8, -8, 0, 136, kSolidPlan},   {512, -8, 520, 136, kSolidPlan}, {0, -8, 512, 0, kSolidPlan},
                   {0, 128, 512, 136, kSolidPlan}, {254, 0, 258, 48, kSolidPlan},   {254, 80, 258, 128, kSolidPlan}};
  in.startX = 40;
  in.startY = 40;
  in.personRect = {32, 32, 48, 48, 0};
  in.goals = {{400, 100, 100}, {450, 30, 60}};
  in.tileCount = 64;
  in.outdoorFraction = 0.5f;
  in.personName = "Ada";
  in.personId = 7;
  in.targetName = "Chair";
  in.targetId = 12;
  return in;
}

TEST(PlanRoute, ObstaclesComeFromTheRoomsObjects) {
  RoutePlanInput in = TwoRooms();
  in.personClearance = 6;  // u = 3
  in.objects = {
      {{100, 100, 116, 116, 0}, false, false, false, 0},  // solid: grown
      {{150, 100, 166, 116, 0}, true, false, false, 0},   // walk-through: as it is, cost 10
      {{200, 20, 216, 36, 0}, true, true, false, 0},      // a person: grown whatever its cost
      {{300, 48, 316, 80, 0}, true, false, true, 0x4 | 0x40},  // a door: strips on its right and left
      {{44, 44, 60, 60, 0}, false, false, false, 0},      // over the person: left out
      {{50, 30, 60, 40, 0}, false, false, false, 0},      // grown, still clear of the person's point: kept
  };
  const tova::RouteRequest r = BuildRouteRequest(in);
  const std::vector<CostRect> expected = {
      {97, 97, 119, 119, kSolidPlan},      {150, 100, 166, 116, 10},     {197, 17, 219, 39, 10},
      {300, 48, 316, 80, 10},          {312, 45, 319, 83, 10000},    {297, 45, 304, 83, 10000},
      {47, 27, 63, 43, kSolidPlan},
  };
  EXPECT_EQ(r.obstacles, expected);
  EXPECT_EQ(r.obstacles2, in.routeRects);

  in.ignoreObjects = true;
  EXPECT_TRUE(BuildRouteRequest(in).obstacles.empty());
}

// A person standing beside an object plans around it: the grown rectangle
// is cut back on the person's side instead of being left out, so the path
// never runs through the object.
TEST(PlanRoute, AnObstacleGrownOverThePersonIsCutBackOnItsSide) {
  RoutePlanInput in = TwoRooms();
  in.personClearance = 6;  // u = 3
  in.personRect = {38, 38, 42, 42, 0};
  in.objects = {
      {{30, 42, 50, 60, 0}, false, false, false, 0},  // below the person
      {{20, 30, 37, 50, 0}, false, false, false, 0},  // left of it
      {{39, 39, 41, 41, 0}, false, false, false, 0},  // under it: left out
  };
  const std::vector<CostRect> expected = {{27, 41, 53, 63, kSolidPlan}, {17, 27, 40, 53, kSolidPlan}};
  EXPECT_EQ(BuildRouteRequest(in).obstacles, expected);
}

TEST(PlanRoute, GoalsCostWhatTheirWeightFallsShortOfTheLargest) {
  RoutePlanInput in = TwoRooms();
  in.goals = {{10, 20, 50}, {30, 40, 0}, {50, 60, 80}};
  const tova::RouteRequest r = BuildRouteRequest(in);
  EXPECT_EQ(r.goals, (std::vector<CostRect>{{10, 20, 11, 21, 30 * 16}, {50, 60, 51, 61, 0}}));
  EXPECT_EQ(r.startX, 40);
  EXPECT_TRUE(r.smooth);
  EXPECT_TRUE(r.alwaysOn);
  EXPECT_FALSE(r.centreOn);
  EXPECT_FALSE(r.noGoalPointOn);
}

TEST(PlanRoute, OptionsFollowTheRoom) {
  struct Case {
    bool ignoreObjects;
    float outdoorFraction;
    int32_t tiles;
    bool outdoor;
    int32_t kind;
    bool restrict;
    bool limitOn;
    int32_t defaultCost;
    bool tileRects;
  } cases[] = {
      {false, 0.5f, 500, false, 0, false, false, 0, false},
      {false, 0.2f, 100, false, 0, false, true, 0, false},
      {false, 0.2f, 99, false, 0, false, false, 0, false},
      {true, 0.9f, 10, false, 0, false, true, 0, false},
      {false, 0.5f, 10, true, 1, false, false, 3, false},
      {false, 0.5f, 10, true, 1, true, false, 0, true},
      {false, 0.5f, 10, true, 2, true, false, 0, false},
  };
  for (const Case& c : cases) {
    RoutePlanInput in = TwoRooms();
    in.ignoreObjects = c.ignoreObjects;
    in.outdoorFraction = c.outdoorFraction;
    in.tileCount = c.tiles;
    in.outdoor = c.outdoor;
    in.roomKind = c.kind;
    in.restrict = c.restrict;
    in.tileRects = tova::TileRunRects({{1, 1}, {0, 1}, {2, 1}, {5, 1}, {0, 3}});
    const tova::RouteRequest r = BuildRouteRequest(in);
    EXPECT_EQ(r.limitOn, c.limitOn) << c.tiles;
    EXPECT_EQ(r.limit, c.limitOn ? 128 : 0);
    EXPECT_EQ(r.defaultCost, c.defaultCost);
    EXPECT_EQ(r.obstacles2, c.tileRects ? in.tileRects : in.routeRects);
  }
}

TEST(PlanRoute, TileRunsJoinAlongARow) {
  EXPECT_EQ(tova::TileRunRects({{1, 1}, {0, 1}, {2, 1}, {5, 1}, {0, 3}, {1, 1}}),
            (std::vector<CostRect>{{0, 16, 48, 32, 0}, {80, 16, 96, 32, 0}, {0, 48, 16, 64, 0}}));
}

TEST(PlanRoute, TheBudgetGrowsWithTilesAndGoalsUpTo1000) {
  EXPECT_EQ(tova::RouteSearchBudget(10, 3), 80);
  EXPECT_EQ(tova::RouteSearchBudget(0, 5), 50);
  EXPECT_EQ(tova::RouteSearchBudget(400, 3), 1000);
  EXPECT_EQ(tova::RouteSearchBudget(INT32_MAX, 1u << 30), 1000);
}

TEST(PlanRoute, FindsAPathThroughTheDoorToTheBestGoal) {
  RoutePlanInput in = TwoRooms();
  RoutePlanResult out;
  ASSERT_TRUE(PlanRoute(in, out));
  EXPECT_EQ(out.failureCode, 0);
  EXPECT_EQ(out.reachedGoal, 0);  // the heavier goal costs nothing to reach
  ASSERT_GE(out.points.size(), 3u);
  EXPECT_EQ(out.points.front(), (tova::PathPoint{40, 40}));
  EXPECT_EQ(out.points.back(), (tova::PathPoint{400, 100}));
}

TEST(PlanRoute, TheReachedGoalIsNamedByTheRoutesOwnIndex) {
  RoutePlanInput in = TwoRooms();
  in.goals = {{400, 100, 0}, {450, 30, 60}};  // the first is used up
  RoutePlanResult out;
  ASSERT_TRUE(PlanRoute(in, out));
  EXPECT_EQ(out.reachedGoal, 1);
  EXPECT_EQ(out.points.back(), (tova::PathPoint{450, 30}));
}

TEST(PlanRoute, FailureCodes) {
  RoutePlanResult out;
  RoutePlanInput noGoals = TwoRooms();
  noGoals.goals.clear();
  EXPECT_FALSE(PlanRoute(noGoals, out));
  EXPECT_EQ(out.failureCode, 7);
  noGoals.inFirstState = false;
  EXPECT_FALSE(PlanRoute(noGoals, out));
  EXPECT_EQ(out.failureCode, 0);

  // Outside the target's room or any room: no goal, nothing planned, the code kept.
  RoutePlanInput away = TwoRooms();
  away.inTargetRoom = false;
  EXPECT_FALSE(PlanRoute(away, out));
  EXPECT_EQ(out.failureCode, 0);
  EXPECT_EQ(out.reachedGoal, -1);
  EXPECT_TRUE(out.points.empty());
  away.ignoreObjects = true;
  EXPECT_TRUE(PlanRoute(away, out));
  RoutePlanInput nowhere = TwoRooms();
  nowhere.roomKnown = false;
  EXPECT_FALSE(PlanRoute(nowhere, out));
  EXPECT_EQ(out.failureCode, 0);

  // The door closed: no path.
  RoutePlanInput shut = TwoRooms();
  shut.routeRects.push_back({254, 48, 258, 80, kSolidPlan});
  EXPECT_FALSE(PlanRoute(shut, out));
  EXPECT_EQ(out.failureCode, 3);
  // A large room tries without the region limit first.
  shut.tileCount = 300;
  shut.outdoorFraction = 0;
  EXPECT_FALSE(PlanRoute(shut, out));
  EXPECT_EQ(out.failureCode, 3);
}

TEST(PlanRoute, ALargeRoomIsPlannedWithTheRegionLimit) {
  RoutePlanInput in = TwoRooms();
  in.tileCount = 300;
  in.outdoorFraction = 0;
  RoutePlanResult out;
  ASSERT_TRUE(PlanRoute(in, out));
  EXPECT_EQ(out.points.back(), (tova::PathPoint{400, 100}));
}

TEST(PlanRoute, WritesTheRequestUnderASafeName) {
  tova_test::ScratchDir dir;
  RoutePlanInput in = TwoRooms();
  in.personName = "../Ada\n";
  in.writeRoutes = true;
  in.folder = dir.Path().string() + "/";
  RoutePlanResult out;
  ASSERT_TRUE(PlanRoute(in, out));
  const auto text = platform::ReadTextFile((dir / ".._Ada_.rte").string());
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, tova::WriteRouteDump(BuildRouteRequest(in)));
  // An unwritable folder is skipped and the plan goes on.
  in.folder = (dir / "missing" / "").string();
  EXPECT_TRUE(PlanRoute(in, out));
}

TEST(PlanRoute, AppendsEachPathToTheDestinationList) {
  tova_test::ScratchDir dir;
  RoutePlanInput in = TwoRooms();
  in.writeDestList = true;
  in.folder = dir.Path().string() + "/";
  RoutePlanResult first, second;
  ASSERT_TRUE(PlanRoute(in, first));
  ASSERT_TRUE(PlanRoute(in, second));
  std::string block = "From: Ada 7\nTo: Chair 12\n";
  for (size_t i = 0; i + 1 < first.points.size(); ++i)
    block += std::to_string(i) + ": " + tova::RoutePointText(first.points[i]) + "\n";
  block += "DF: " + tova::RoutePointText(first.points.back()) + "\n";
  const auto text = platform::ReadTextFile((dir / "AllRoutes.txt").string());
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, block + block);
}

TEST(PlanRoute, PointsAreWrittenSecondCoordinateFirstInTilesAndSixteenths) {
  EXPECT_EQ(tova::RoutePointText({40, 100}), "(6.4, 2.8)");
  EXPECT_EQ(tova::RoutePointText({16, 0}), "(0.0, 1.0)");
}

}  // namespace
