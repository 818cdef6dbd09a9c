#include "simulation/people/PlanRoute.h"

#include <algorithm>

#include "platform/TextFile.h"
#include "simulation/people/LogFileName.h"
#include "simulation/people/RouteSearch.h"

namespace tova {

namespace {

constexpr int32_t kWalkThroughCost = 10;
constexpr int32_t kPortalSideCost = 10000;
constexpr int32_t kRegionLimit = 128;
constexpr int32_t kOutdoorDefaultCost = 3;
constexpr int32_t kOutdoorKind = 1;


// A grown rectangle that reaches over the person's own point is cut back
// on the side where the person stands, so the plan starts in free space and
// still keeps the person clear of the object; an obstacle the person itself
// overlaps is left out, so the person may walk out of it.
CostRect CutBackFrom(CostRect r, const CostRect& own, int32_t x, int32_t y) {
  const int64_t gapX = x < own.left ? int64_t{own.left} - x : x >= own.right ? int64_t{x} - own.right + 1 : 0;
  const int64_t gapY = y < own.top ? int64_t{own.top} - y : y >= own.bottom ? int64_t{y} - own.bottom + 1 : 0;
  if (gapX >= gapY) {
    if (x < own.left) r.left = Clamp32(int64_t{x} + 1); else r.right = x;
  } else {
    if (y < own.top) r.top = Clamp32(int64_t{y} + 1); else r.bottom = y;
  }
  return r;
}

void AddObstacles(const RoutePlanInput& in, std::vector<CostRect>& out) {
  const auto u = static_cast<int32_t>(in.personClearance / 2);
  auto add = [&](const CostRect& own, bool grow) {
    if (own.Overlaps(in.personRect) || own.Contains(in.startX, in.startY)) return;
    CostRect r = grow ? own.Grown(u) : own;
    if (r.Contains(in.startX, in.startY)) r = CutBackFrom(r, own, in.startX, in.startY);
    out.push_back(r);
  };
  for (const RouteObstacleObject& o : in.objects) {
    CostRect r = o.footprint;
    r.cost = o.walkThrough ? kWalkThroughCost : CostRect::kSolid;
    add(r, o.isPerson || r.IsSolid());
    if (!o.isPortal) continue;
    const CostRect& f = o.footprint;
    const struct {
      uint32_t bit;
      CostRect strip;
    } sides[] = {{0x1, {f.left, f.top, f.right, Clamp32(int64_t{f.top} + 1), kPortalSideCost}},
                 {0x4, {Clamp32(int64_t{f.right} - 1), f.top, f.right, f.bottom, kPortalSideCost}},
                 {0x10, {f.left, Clamp32(int64_t{f.bottom} - 1), f.right, f.bottom, kPortalSideCost}},
                 {0x40, {f.left, f.top, Clamp32(int64_t{f.left} + 1), f.bottom, kPortalSideCost}}};
    for (const auto& side : sides)
      if (o.sideMask & side.bit) add(side.strip, true);
  }
}

void AppendDestList(const RoutePlanInput& in, const std::vector<PathPoint>& points) {
  platform::TextFileWriter out;
  if (!out.Open(in.folder + "AllRoutes.txt", platform::LineEnd::kLf, true)) return;
  out.WriteLine("From: " + in.personName + " " + std::to_string(in.personId));
  out.WriteLine("To: " + in.targetName + " " + std::to_string(in.targetId));
  for (size_t i = 0; i + 1 < points.size(); ++i) out.WriteLine(std::to_string(i) + ": " + RoutePointText(points[i]));
  out.WriteLine("DF: " + RoutePointText(points.back()));
  out.Close();
}

}  // namespace

std::string RoutePointText(const PathPoint& p) {
  return "(" + std::to_string(p.y / 16) + "." + std::to_string(p.y % 16) + ", " + std::to_string(p.x / 16) + "." +
         std::to_string(p.x % 16) + ")";
}

int32_t RouteSearchBudget(int32_t tileCount, size_t goalCount) {
  const int64_t budget = int64_t{std::max(tileCount, 0)} * static_cast<int64_t>(std::min<size_t>(goalCount, 1u << 20)) + 50;
  return static_cast<int32_t>(std::min<int64_t>(budget, kRouteSearchBudget));
}

std::vector<CostRect> TileRunRects(std::vector<std::pair<int32_t, int32_t>> tiles) {
  // Row by row, then left to right, so neighbours in a row join into one rectangle.
  std::sort(tiles.begin(), tiles.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second < b.second : a.first < b.first;
  });
  tiles.erase(std::unique(tiles.begin(), tiles.end()), tiles.end());
  std::vector<CostRect> rects;
  for (const auto& [x, y] : tiles) {
    const int32_t left = Clamp32(int64_t{x} * 16), top = Clamp32(int64_t{y} * 16);
    if (!rects.empty() && rects.back().top == top && rects.back().right == left)
      rects.back().right = Clamp32(int64_t{left} + 16);
    else
      rects.push_back({left, top, Clamp32(int64_t{left} + 16), Clamp32(int64_t{top} + 16), 0});
  }
  return rects;
}

RouteRequest BuildRouteRequest(const RoutePlanInput& in) {
  RouteRequest r;
  if (!in.ignoreObjects) AddObstacles(in, r.obstacles);
  const bool restricted = in.outdoor && in.roomKind == kOutdoorKind && in.restrict;
  r.obstacles2 = restricted ? in.tileRects : in.routeRects;
  int32_t largest = 0;
  for (const RouteGoalPoint& g : in.goals) largest = std::max(largest, g.weight);
  for (const RouteGoalPoint& g : in.goals) {
    if (g.weight <= 0) continue;
    r.goals.push_back({g.x, g.y, Clamp32(int64_t{g.x} + 1), Clamp32(int64_t{g.y} + 1),
                       Clamp32((int64_t{largest} - g.weight) * 16)});
  }
  r.startX = in.startX;
  r.startY = in.startY;
  r.alwaysOn = true;
  r.smooth = true;
  r.limitOn = in.ignoreObjects || (in.outdoorFraction <= 0.2f && in.tileCount > 99);
  r.limit = r.limitOn ? kRegionLimit : 0;
  r.centreOn = false;
  r.noGoalPointOn = false;
  r.defaultCost = in.outdoor && in.roomKind == kOutdoorKind && !in.restrict ? kOutdoorDefaultCost : 0;
  return r;
}

bool PlanRoute(const RoutePlanInput& in, RoutePlanResult& result) {
  result = {};
  if (in.goals.empty()) {
    if (in.inFirstState) result.failureCode = kRouteFailNoGoals;
    return false;
  }
  if (!in.roomKnown || (!in.inTargetRoom && !in.ignoreObjects)) return false;

  const RouteRequest request = BuildRouteRequest(in);
  if (in.writeRoutes) platform::WriteTextFile(in.folder + SafeLogName(in.personName) + ".rte", WriteRouteDump(request), platform::LineEnd::kLf);

  const int32_t budget = RouteSearchBudget(in.tileCount, request.goals.size());
  RouteSearch search(RoutePlanner::Global());
  if (in.tileCount > 256 && request.limitOn) {
    // Large regions find out cheaply whether any path exists at all.
    RouteRequest unlimited = request;
    unlimited.limitOn = false;
    search.Begin(unlimited);
    if (!search.Run(budget)) {
      result.failureCode = kRouteFailNoPath;
      return false;
    }
  }
  search.Begin(request);
  search.Run(budget);

  // The request skips used-up goals: name the reached one by the route's own index.
  if (search.ReachedGoal() >= 0) {
    int32_t seen = -1;
    for (size_t i = 0; i < in.goals.size(); ++i)
      if (in.goals[i].weight > 0 && ++seen == search.ReachedGoal()) result.reachedGoal = static_cast<int32_t>(i);
  }
  result.points = search.Points();
  if (result.points.empty()) {
    result.failureCode = kRouteFailNoPath;
    return false;
  }
  if (in.writeDestList) AppendDestList(in, result.points);
  return true;
}

}  // namespace tova
