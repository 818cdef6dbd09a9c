#pragma once
// Plans one person route: the obstacles come from the objects and the route
// rectangles of the person's room, the goals from the route's weighted goal
// points; the path found and the goal reached go back to the route. Whoever
// owns the route gathers what the plan reads into a RoutePlanInput.

#include <cstdint>
#include <string>
#include <vector>

#include "simulation/people/PersonRoute.h"
#include "simulation/people/RouteRequest.h"

namespace tova {

// An object of the person's room as an obstacle (sixteenths of a tile).
struct RouteObstacleObject {
  CostRect footprint;        // its cost is not read
  bool walkThrough = false;  // the object's walk-through word
  bool isPerson = false;     // definition kind 2
  bool isPortal = false;     // definition kind 8: strips along its masked sides
  uint32_t sideMask = 0;     // 0x1 top, 0x4 right, 0x10 bottom, 0x40 left
};

struct RouteGoalPoint {
  int32_t x = 0, y = 0;
  int32_t weight = 0;  // 0 used up
};

struct RoutePlanInput {
  // The route.
  std::vector<RouteGoalPoint> goals;
  bool inFirstState = true;
  int32_t startX = 0, startY = 0;
  // The person and the target.
  std::string personName;
  int32_t personId = 0;
  CostRect personRect;
  bool ignoreObjects = false;  // person-data word 68
  bool roomKnown = true;
  bool inTargetRoom = true;
  bool restrict = false;  // the routed object's restrict word
  std::string targetName;
  int32_t targetId = 0;
  // The person's room. `objects` leaves out the person and what the route ignores.
  std::vector<RouteObstacleObject> objects;
  std::vector<CostRect> routeRects;
  std::vector<CostRect> tileRects;  // the room's tiles, for a restricted outdoor route
  int32_t tileCount = 0;
  float outdoorFraction = 0;
  bool outdoor = false;
  int32_t roomKind = 0;
  // The global person-clearance tuning value.
  float personClearance = 0;
  // Developer output: the request as "<name>.rte" and "AllRoutes.txt", in `folder`.
  bool writeRoutes = false;
  bool writeDestList = false;
  std::string folder = "./";
};

struct RoutePlanResult {
  int32_t reachedGoal = -1;
  int32_t failureCode = 0;  // 0 leaves the route's code as it was
  std::vector<PathPoint> points;
};

constexpr int32_t kRouteFailNoPath = 3;
constexpr int32_t kRouteFailNoGoals = 7;
constexpr int32_t kRouteSearchBudget = 1000;

// The request a plan hands the planner (the options, goals and obstacles).
RouteRequest BuildRouteRequest(const RoutePlanInput& input);
// The budget of a plan: tiles x goals + 50, at most 1000.
int32_t RouteSearchBudget(int32_t tileCount, size_t goalCount);
// Rectangles of cost 0 over runs of tiles in a row (tile coordinates in).
std::vector<CostRect> TileRunRects(std::vector<std::pair<int32_t, int32_t>> tiles);
// "(y/16.y%16, x/16.x%16)": whole tiles and sixteenths, second coordinate first.
std::string RoutePointText(const PathPoint& p);

// True with at least one path point.
bool PlanRoute(const RoutePlanInput& input, RoutePlanResult& result);

}  // namespace tova
