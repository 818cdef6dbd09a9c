// The route search and smoothing: golden paths over synthetic rooms kept as
// ".rte" rectangle sets in tests/simulation/routes/ (TOVA_BLESS=1 rewrites
// the ".path" references), the smoothing steps, the budget and no path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/TextFile.h"
#include "simulation/people/RouteSearch.h"

namespace {

using tova::CostRect;
using tova::PathPoint;
using tova::RoutePlanner;
using tova::RouteRequest;
using tova::RouteSearch;

const std::filesystem::path kRoutes = std::filesystem::path(TOVA_SOURCE_DIR) / "tests/simulation/routes";

RouteRequest Load(const std::string& name) {
  RouteRequest req;
  std::string error;
  const auto text = platform::ReadTextFile((kRoutes / (name + ".rte")).string());
  EXPECT_TRUE(text && tova::ReadRouteDump(*text, req, error)) << name << ": " << error;
  return req;
}

// Whether the segment passes through the inside of a solid obstacle. Points
// sit on borders one sixteenth beyond their regions, so a segment may graze
// an obstacle's outermost sixteenth.
bool CrossesSolid(const PathPoint& a, const PathPoint& b, const std::vector<CostRect>& obstacles) {
  const double length = std::hypot(double(b.x - a.x), double(b.y - a.y));
  const int steps = std::max(1, static_cast<int>(length * 4));
  for (int i = 0; i <= steps; ++i) {
    const double t = double(i) / steps;
    const double x = a.x + (b.x - a.x) * t, y = a.y + (b.y - a.y) * t;
    for (const CostRect& o : obstacles)
      if (o.IsSolid() && x > o.left + 1 && x < o.right - 1 && y > o.top + 1 && y < o.bottom - 1) return true;
  }
  return false;
}

// A request planned with its own planner.
struct Planned {
  explicit Planned(const RouteRequest& req, int32_t budget = 1000) {
    search.Begin(req);
    found = search.Run(budget);
  }
  RoutePlanner planner;
  RouteSearch search{planner};
  bool found = false;
};

class GoldenRoute : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenRoute, MatchesItsReferenceAndKeepsOffSolidGround) {
  const RouteRequest req = Load(GetParam());
  Planned plan(req);
  const RouteSearch& search = plan.search;
  const bool found = plan.found;
  const std::string text = tova::DescribeRoute(search);

  const std::filesystem::path ref = kRoutes / (GetParam() + ".path");
  const char* bless = std::getenv("TOVA_BLESS");
  if (bless && std::string(bless) == "1") {
    ASSERT_TRUE(platform::WriteTextFile(ref.string(), text, platform::LineEnd::kLf));
  } else {
    const auto golden = platform::ReadTextFile(ref.string());
    ASSERT_TRUE(golden) << "no reference " << ref << "; run with TOVA_BLESS=1 to make it";
    EXPECT_EQ(text, *golden);
  }

  const std::vector<PathPoint>& points = search.Points();
  EXPECT_EQ(found, !points.empty());
  if (!found) return;
  EXPECT_EQ(points.front(), (PathPoint{req.startX, req.startY}));
  PathPoint centre;
  tova::RectCentre(req.goals[static_cast<size_t>(search.ReachedGoal())], centre.x, centre.y);
  EXPECT_EQ(points.back(), centre);
  for (size_t i = 1; i < points.size(); ++i)
    EXPECT_FALSE(CrossesSolid(points[i - 1], points[i], req.obstacles))
        << "segment " << i << " (" << points[i - 1].x << "," << points[i - 1].y << ")-(" << points[i].x << ","
        << points[i].y << ")";
}

INSTANTIATE_TEST_SUITE_P(Rooms, GoldenRoute,
                         ::testing::Values("open", "door", "around", "goals", "costly", "limit", "closed"));

TEST(RouteSearch, AnOpenRoomIsCrossedInOneSegment) {
  const Planned plan(Load("open"));
  ASSERT_TRUE(plan.found);
  EXPECT_EQ(plan.search.Points(), (std::vector<PathPoint>{{24, 24}, {200, 200}}));
  EXPECT_EQ(plan.search.ReachedGoal(), 0);
}

TEST(RouteSearch, TheDoorGapIsWalkedThrough) {
  const Planned plan(Load("door"));
  ASSERT_TRUE(plan.found);
  const auto& pts = plan.search.Points();
  EXPECT_TRUE(std::any_of(pts.begin(), pts.end(),
                          [](const PathPoint& p) { return p.x >= 255 && p.x <= 261 && p.y >= 111 && p.y <= 145; }));
}

TEST(RouteSearch, AGoalInAClosedRoomIsNotReached) {
  const Planned plan(Load("closed"));
  EXPECT_FALSE(plan.found);
  EXPECT_EQ(plan.search.ReachedGoal(), -1);
  EXPECT_TRUE(plan.search.Points().empty());
}

TEST(RouteSearch, ASpentBudgetFindsNothing) {
  const Planned plan(Load("around"), 2);
  EXPECT_FALSE(plan.found);
  EXPECT_TRUE(plan.search.Points().empty());
}

TEST(RouteSearch, AStartOnSolidGroundFindsNothing) {
  RouteRequest req;
  req.obstacles = {{0, 0, 64, 64, CostRect::kSolid}};
  req.startX = 10;
  req.startY = 10;
  req.goals = {{100, 100, 101, 101, 0}};
  EXPECT_FALSE(Planned(req).found);
}

TEST(RouteSearch, TheNoGoalPointOptionEndsAtTheLastEntry) {
  RouteRequest req = Load("door");
  req.noGoalPointOn = true;
  req.smooth = false;
  const Planned plan(req);
  ASSERT_TRUE(plan.found);
  ASSERT_FALSE(plan.search.Points().empty());
  EXPECT_NE(plan.search.Points().back(), (PathPoint{470, 220}));
  EXPECT_EQ(plan.search.Points().size(), plan.search.RegionSequence().size());
}

// Two cost areas side by side: the path crosses their shared border once.
RouteRequest TwoAreas() {
  RouteRequest req;
  req.obstacles = {{0, 0, 100, 100, 0}, {100, 0, 200, 100, 1}};
  req.startX = 10;
  req.startY = 10;
  req.goals = {{190, 10, 191, 11, 0}};
  req.smooth = false;
  return req;
}

TEST(RouteSmoothing, TheCornerSlidesAlongTheBorderWithShrinkingSteps) {
  Planned plan(TwoAreas());
  RouteSearch& search = plan.search;
  ASSERT_TRUE(plan.found);
  ASSERT_EQ(search.Points().size(), 3u);
  EXPECT_EQ(search.Points()[1], (PathPoint{100, 50}));  // the middle of the border

  std::vector<int32_t> steps;
  bool finished = false;
  for (int pass = 0; pass < 100 && !finished; ++pass) {
    const int32_t step = search.SmoothingStep();
    const PathPoint before = search.Points()[1];
    finished = search.Smooth();
    // A pass that moves keeps its step for the next call.
    if (search.Points()[1] != before) {
      EXPECT_EQ(search.SmoothingStep(), step);
    }
    if (steps.empty() || steps.back() != step) steps.push_back(step);
  }
  EXPECT_TRUE(finished);
  EXPECT_EQ(steps, (std::vector<int32_t>{100, 25, 11, 6, 4, 2, 1}));
  // Slid onto the straight line between its neighbours.
  EXPECT_EQ(search.Points()[1], (PathPoint{100, 10}));
  EXPECT_EQ(search.Points().front(), (PathPoint{10, 10}));
  EXPECT_EQ(search.Points().back(), (PathPoint{190, 10}));
}

TEST(RouteSmoothing, RunSmoothsWhenAskedAndWithinTheBudget) {
  RouteRequest req = TwoAreas();
  req.smooth = true;
  const Planned smoothed(req);
  ASSERT_TRUE(smoothed.found);
  EXPECT_EQ(smoothed.search.Points()[1], (PathPoint{100, 10}));

  // The search alone takes its steps; nothing is left for smoothing.
  RoutePlanner planner;
  RouteSearch counting(planner);
  counting.Begin(req);
  int32_t steps = 1;
  while (!counting.Step()) ++steps;
  const Planned tight(req, steps);
  ASSERT_TRUE(tight.found);
  EXPECT_EQ(tight.search.Points()[1], (PathPoint{100, 50}));
}

TEST(RouteSmoothing, FewerThanTwoPointsAreFinishedAtOnce) {
  RoutePlanner planner;
  RouteSearch search(planner);
  search.Begin(TwoAreas());  // not searched yet: no points
  EXPECT_TRUE(search.Smooth());
}

}  // namespace
