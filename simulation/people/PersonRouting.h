#pragma once
// What joins a person's route to the route planner and the rooms: the
// room's route rectangles (thin solid walls along its outer tile edges,
// built once and kept by the room), and the planner's input gathered from
// the route, the person, the objects of its room and the room itself.

#include <cstdint>
#include <string>
#include <vector>

#include "gamedata/LotInterfaces.h"
#include "gamedata/Room.h"
#include "simulation/people/PersonRoute.h"
#include "simulation/people/PlanRoute.h"

namespace tova {

// Solid strips, in sixteenths, on every tile edge of the room whose
// neighbour on that side is not a tile of the room and, with a world, on
// every edge of its tiles that a wall or fence closes (a diagonal wall as a
// staircase of small squares); strips along one line join.
std::vector<RouteRect> BuildRoomRouteRects(const RoomTiles& tiles, const iLotWorld* world = nullptr);
std::vector<CostRect> RouteRectsAsCost(const std::vector<RouteRect>& rects);
// The room's rectangles, built on first use and kept by the room.
const std::vector<RouteRect>& RoomRouteRects(Room& room, const iLotWorld* world = nullptr);

// An object of the person's room as the planner and the route see it.
struct RoomObjectForRoute {
  RouteObjectFacts facts;
  RouteObstacleObject obstacle;
};

// The person, its room and the target as one plan needs them.
struct RoutePlanFacts {
  std::string personName;
  int32_t personId = 0;
  CostRect personRect;
  bool ignoreObjects = false;  // person-data word 68
  bool restrict = false;
  bool inTargetRoom = true;
  std::string targetName;
  int32_t targetId = 0;
  Room* room = nullptr;  // null: the person's room is not known
  const iLotWorld* world = nullptr;  // the walls inside the room, when known
  int32_t roomKind = 0;
  std::vector<RoomObjectForRoute> objects;  // the room's objects but the person
  float personClearance = 0;
};

// The planner's input for the route: its goals and start, the objects the
// route does not ignore, and the room's rectangles and tiles.
RoutePlanInput MakeRoutePlanInput(const PersonRoute& route, const RoutePlanFacts& facts);

}  // namespace tova
