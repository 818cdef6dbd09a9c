// Region growth of the route planner (free growth up to obstacles, the
// region limit, containers, halving, centring, the growth budget) and the
// graph built over the regions (start and goal nodes, neighbours, costs).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "simulation/people/RoutePlanner.h"

namespace {

using tova::CostRect;
using tova::RoutePlanner;
using tova::RouteRequest;

constexpr int32_t kRegionSolid = CostRect::kSolid;

// Solid walls 8 thick around the inside rectangle.
std::vector<CostRect> Box(int32_t l, int32_t t, int32_t r, int32_t b) {
  return {{l - 8, t - 8, l, b + 8, kRegionSolid},
          {r, t - 8, r + 8, b + 8, kRegionSolid},
          {l, t - 8, r, t, kRegionSolid},
          {l, b, r, b + 8, kRegionSolid}};
}

CostRect Seed(int32_t x, int32_t y) { return {x, y, x + 1, y + 1, 0}; }

int32_t Width(const CostRect& r) { return r.right - r.left; }
int32_t Height(const CostRect& r) { return r.bottom - r.top; }

RoutePlanner& PlannerFor(const RouteRequest& request) {
  static RoutePlanner planner;
  planner.Setup(request);
  return planner;
}

TEST(RouteRegion, GrowsFreelyUpToTheWallsAtTheSixteenth) {
  RouteRequest req;
  // Sides that are no multiple of the free step: only halving reaches them exactly.
  req.obstacles = Box(0, 0, 101, 37);
  req.startX = 50;
  req.startY = 20;
  req.defaultCost = 7;
  RoutePlanner& p = PlannerFor(req);
  ASSERT_EQ(p.StartRegion(), 0);
  EXPECT_EQ(p.Regions()[0], (CostRect{0, 0, 101, 37, 7}));
}

TEST(RouteRegion, TheLimitBoundsBothSidesExactly) {
  RouteRequest req;
  req.limitOn = true;
  req.limit = 40;
  req.startX = 50;
  req.startY = 30;
  RoutePlanner& p = PlannerFor(req);
  ASSERT_EQ(p.StartRegion(), 0);
  const CostRect& r = p.Regions()[0];
  // Halved steps of one fill the limit to the last sixteenth.
  EXPECT_EQ(Width(r), 40);
  EXPECT_EQ(Height(r), 40);
  EXPECT_TRUE(r.Contains(50, 30));
}

TEST(RouteRegion, ASeedBeyondTheLimitOrOnSomethingGrowsNothing) {
  RouteRequest req;
  req.obstacles = {{100, 100, 120, 120, kRegionSolid}};
  req.limitOn = true;
  req.limit = 16;
  RoutePlanner& p = PlannerFor(req);
  EXPECT_EQ(p.GrowRegion({0, 0, 17, 4, 0}), -1);  // wider than the limit
  EXPECT_EQ(p.GrowRegion(Seed(110, 110)), -1);    // on a solid obstacle
  const int32_t first = p.GrowRegion(Seed(300, 300));
  ASSERT_GE(first, 0);
  EXPECT_EQ(p.GrowRegion(Seed(300, 300)), -1);  // on an existing region
  EXPECT_EQ(p.GrowRegion({5, 5, 5, 9, 0}), -1);  // empty
}

TEST(RouteRegion, ACostRectangleContainsWhatGrowsInIt) {
  RouteRequest req;
  req.obstacles = {{0, 0, 64, 48, 10}, {64, 0, 200, 48, 30}};
  req.defaultCost = 2;
  req.startX = 20;
  req.startY = 20;
  RoutePlanner& p = PlannerFor(req);
  const int32_t inside = p.StartRegion();
  ASSERT_GE(inside, 0);
  EXPECT_EQ(p.Regions()[static_cast<size_t>(inside)], (CostRect{0, 0, 64, 48, 10}));
  // Outside both: the region keeps off them and costs the default.
  const int32_t outside = p.GrowRegion(Seed(20, 60));
  ASSERT_GE(outside, 0);
  const CostRect& o = p.Regions()[static_cast<size_t>(outside)];
  EXPECT_EQ(o.top, 48);
  EXPECT_EQ(o.cost, 2);
  EXPECT_FALSE(o.Overlaps(req.obstacles[0]));
  EXPECT_FALSE(o.Overlaps(req.obstacles[1]));
}

TEST(RouteRegion, GrowthStopsWhenItsBudgetIsSpent) {
  RouteRequest req;
  RoutePlanner& p = PlannerFor(req);
  const CostRect& r = p.Regions()[static_cast<size_t>(p.StartRegion())];
  // Nothing in the way: each side moves 200 / 4 times by 32.
  EXPECT_EQ(Width(r), 1 + 2 * 50 * 32);
  EXPECT_EQ(Height(r), 1 + 2 * 50 * 32);
}

TEST(RouteRegion, CentringCutsTheLongerSideAroundTheSeed) {
  struct Case {
    int32_t aspect;
    int32_t seedX;
    int32_t left, right;  // -1, -1: no usable region
  } cases[] = {{2, 150, 110, 190}, {2, 190, 120, 200}, {2, 5, 0, 80},
               {INT32_MAX, 150, 0, 200}, {5, 150, 0, 200}, {0, 150, -1, -1}};
  for (const Case& c : cases) {
    RouteRequest req;
    req.obstacles = Box(0, 0, 200, 40);
    req.centreOn = true;
    req.aspectLimit = c.aspect;
    req.startX = c.seedX;
    req.startY = 20;
    RoutePlanner& p = PlannerFor(req);
    if (c.left < 0) {
      EXPECT_EQ(p.StartRegion(), -1) << c.aspect;
      continue;
    }
    ASSERT_GE(p.StartRegion(), 0) << c.aspect;
    const CostRect& r = p.Regions()[static_cast<size_t>(p.StartRegion())];
    EXPECT_EQ(r.left, c.left) << c.aspect << " " << c.seedX;
    EXPECT_EQ(r.right, c.right) << c.aspect << " " << c.seedX;
    EXPECT_EQ(Height(r), 40);
  }
}

TEST(RouteGraph, SetupMakesTheStartTheGoalNodeAndTwoNodesPerUsableGoal) {
  RouteRequest req;
  req.obstacles = Box(0, 0, 256, 256);
  req.obstacles.push_back({100, 100, 140, 140, kRegionSolid});
  req.startX = 20;
  req.startY = 20;
  req.goals = {{120, 120, 121, 121, 0}, {200, 200, 201, 201, 5}};
  RoutePlanner& p = PlannerFor(req);
  ASSERT_EQ(p.Nodes().size(), 4u);
  EXPECT_EQ(p.GoalStartNode(0), -1);  // inside the pillar
  EXPECT_EQ(p.GoalRegionNode(0), -1);
  const auto& region = p.Nodes()[static_cast<size_t>(p.GoalRegionNode(1))];
  const auto& start = p.Nodes()[static_cast<size_t>(p.GoalStartNode(1))];
  EXPECT_EQ(region.goal, 1);
  EXPECT_TRUE(p.Regions()[static_cast<size_t>(region.region)].Contains(200, 200));
  EXPECT_EQ(start.goal, 1);
  EXPECT_EQ(start.region, p.StartRegion());
  EXPECT_EQ(start.regionCost, 5);
  EXPECT_EQ(p.Neighbours(RoutePlanner::kStartNode), std::vector<int32_t>{p.GoalStartNode(1)});
  const std::vector<int32_t> fromRegion = p.Neighbours(p.GoalRegionNode(1));
  EXPECT_EQ(fromRegion.front(), RoutePlanner::kGoalNode);
}

TEST(RouteGraph, NeighboursAreEveryRegionAlongTheSides) {
  RouteRequest req;
  // A room with a pillar in the middle of its right wall's far side: the
  // start's region meets two regions beyond its right side.
  req.obstacles = {{0, 0, 64, 64, 1}, {64, 0, 128, 30, 2}, {64, 34, 128, 64, 3}};
  req.obstacles.push_back({64, 30, 128, 34, kRegionSolid});
  for (const CostRect& w : Box(0, 0, 128, 64)) req.obstacles.push_back(w);
  req.startX = 10;
  req.startY = 10;
  req.goals = {{100, 50, 101, 51, 0}};
  RoutePlanner& p = PlannerFor(req);
  std::vector<int32_t> regions;
  for (int32_t n : p.Neighbours(p.GoalStartNode(0))) regions.push_back(p.Nodes()[static_cast<size_t>(n)].region);
  std::vector<int32_t> costs;
  for (int32_t r : regions) costs.push_back(p.Regions()[static_cast<size_t>(r)].cost);
  std::sort(costs.begin(), costs.end());
  EXPECT_EQ(costs, (std::vector<int32_t>{2, 3}));
  // The goal's region is reached as the same node its goal made.
  const std::vector<int32_t> next = p.Neighbours(p.GoalStartNode(0));
  EXPECT_NE(std::find(next.begin(), next.end(), p.GoalRegionNode(0)), next.end());
}

TEST(RouteGraph, StepCostsFollowTheRegionsCostsAndDistance) {
  RouteRequest req;
  req.obstacles = {{0, 0, 32, 32, 3}, {32, 0, 64, 32, 5}};
  req.startX = 16;
  req.startY = 16;
  req.goals = {{48, 16, 49, 17, 4}};
  RoutePlanner& p = PlannerFor(req);
  int32_t x = 0, y = 0;
  const int32_t start = p.GoalStartNode(0), goal = p.GoalRegionNode(0);
  EXPECT_EQ(p.StepCost(RoutePlanner::kStartNode, start, x, y), 4.0);  // the goal's cost
  EXPECT_EQ(x, 16);
  EXPECT_EQ(y, 16);
  p.Nodes()[static_cast<size_t>(start)].x = 16;
  p.Nodes()[static_cast<size_t>(start)].y = 16;
  // Entered at the middle of the shared border, 16 away: (floor((4 + 5) / 2) + 1) x (1 + 16).
  EXPECT_EQ(p.StepCost(start, goal, x, y), 5.0 * 17.0);
  EXPECT_EQ(x, 32);
  EXPECT_EQ(y, 16);
  EXPECT_EQ(p.StepCost(goal, RoutePlanner::kGoalNode, x, y), 0.0);
  EXPECT_DOUBLE_EQ(p.Estimate(start, 16, 16), 32.0);
  EXPECT_EQ(p.Estimate(RoutePlanner::kStartNode, 16, 16), 0.0);
}

TEST(RouteGraph, CostsNearTheTopOf32BitsDoNotWrap) {
  RouteRequest req;
  const int32_t big = kRegionSolid - 1;
  req.obstacles = {{0, 0, 32, 32, big}, {32, 0, 64, 32, big}};
  req.startX = 16;
  req.startY = 16;
  req.goals = {{48, 16, 49, 17, big}};
  RoutePlanner& p = PlannerFor(req);
  int32_t x = 0, y = 0;
  const double cost = p.StepCost(p.GoalStartNode(0), p.GoalRegionNode(0), x, y);
  // The start node has not been entered: its point is still (0, 0).
  EXPECT_DOUBLE_EQ(cost, (static_cast<double>(big) + 1.0) * (1.0 + std::hypot(32.0, 16.0)));
}

}  // namespace
