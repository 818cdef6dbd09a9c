#pragma once
// A route of a person: the target object, the routing slot that says where
// around it the person may stand, and the weighted goal points made from
// that slot. The lot's record keeps only how many routes a person has; what
// a route holds is built again when the person walks on.

#include <cstdint>
#include <vector>

#include "gamedata/SlotDescriptor.h"
#include "gamedata/TilePosition.h"

namespace tova {

class iRouteSite;

// A point of a person's path, in sixteenths of a tile.
struct PathPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const PathPoint&, const PathPoint&) = default;
};

struct RouteGoal {
  int32_t x = 0, y = 0;  // sixteenths
  int32_t weight = 0;    // 0 used up
  int16_t object = 0;    // the object the goal stands beside (0 none)
  int16_t param = 0;     // the slot direction bit, the object's side bit, or 0
  friend bool operator==(const RouteGoal&, const RouteGoal&) = default;
};

// Routing slot flag bits.
enum RouteSlotFlag : int32_t {
  kSlotDirections = 0xFF,
  kSlotEndAtTarget = 0x100,
  kSlotFacingZero = 0x200,
  kSlotAnyRoom = 0x800,
  kSlotRandomWeights = 0x2000,
  kSlotFailureFeedback = 0x4000,
  kSlotNoLevelTest = 0x8000,
  kSlotFromFootprint = 0x10000,
};

// What a standing point test answers.
enum RoutePointResult : int32_t {
  kPointOff = 0,          // on the border, off the lot, or placement failed otherwise
  kPointObject = 1,       // an object is in the way
  kPointOtherRoom = 2,
  kPointWall = 3,         // blocked towards the approach, or no room there
  kPointLevel = 4,        // the ground is not level with the target
  kPointPerson = 5,       // a person is in the way
  kPointFree = 6,
};

// Failure codes a route carries.
enum RouteFailure : int32_t {
  kRouteFailGeneric = 1,
  kRouteFailNoPortal = 2,
  kRouteFailNoPathFound = 3,
  kRouteFailInterrupted = 4,
  kRouteFailBlocked = 5,
  kRouteFailStillSeated = 6,
  kRouteFailNoGoalsMade = 7,
  kRouteFailObjectInWay = 8,
  kRouteFailSeatTaken = 9,
  kRouteFailNoFreeSide = 10,
  kRouteFailWallOrRoom = 11,
  kRouteFailNotLevel = 12,
  kRouteFailPersonInWay = 13,
};

// Facts about an object that decide whether a route ignores it.
struct RouteObjectFacts {
  int16_t id = 0;
  bool heldInSlot = false;
  int16_t word10 = 0;  // object-data word 10
  int16_t word8 = 0;   // object-data word 8: the passable bits
  bool isPerson = false;
  bool entry5SaysIgnore = false;  // its entry tree 5, run with the routed person
  float tilesAway = 0;
};

struct PersonRoute {
  static constexpr int32_t kGoalLimit = 48;
  static constexpr int32_t kGoalLimitLargeRoom = 8;
  static constexpr int32_t kLargeRoomTiles = 250;
  static constexpr int32_t kMaxDistance = 512;

  PersonRoute() = default;
  // A new route of person to target; a null slot keeps the default slot.
  PersonRoute(int16_t personId, int16_t targetId, const RoutingSlot* routingSlot, FinePoint personAt, int16_t word72,
              int32_t roomTiles);

  // Start point, then the goals, with person-data word 73 set to the saved
  // word while they are built.
  void Begin(iRouteSite& site);
  void ChooseStart(iRouteSite& site);
  void BuildRouteGoals(iRouteSite& site);
  int32_t TestPoint(iRouteSite& site, FinePoint point, int32_t direction);
  bool IgnoresObject(const RouteObjectFacts& object) const;

  std::vector<RouteGoal> goals;
  RoutingSlot slot;
  int16_t target = 0;
  int16_t person = 0;
  int32_t reachedGoal = -1;
  int32_t largestWeight = -1;
  int32_t waitCounter = 0;
  // Plans made again after a blocked walk or a failed portal: the third
  // ends the route with its failure code.
  int32_t retries = 0;
  int32_t waitStart = -1;  // -1 not waiting
  int32_t lastX = 0, lastY = 0;
  int16_t portal = 0;  // the portal end taken on the way (0 none)
  int32_t startX = 0, startY = 0;
  int32_t parameter = 0;
  // 1 once made live; a route read from a saved lot has 0.
  int32_t started = 0;
  int16_t ignoredPerson = 0;
  // The person this route waits on to step aside (0 none).
  int16_t waitingOn = 0;
  bool steppedAside = false;
  uint32_t stepAsideSerial = 0;
  bool ignorePeople = false;
  int32_t failureCode = 0;
  int16_t blockingId = 0;
  int16_t savedWord = 0;
  int32_t goalLimit = kGoalLimit;

 private:
  struct Reasons;
  void BuildDirection(iRouteSite& site, int32_t i, int32_t facing, FinePoint ref, uint8_t blocked, Reasons& why);
  void BuildSingleGoal(iRouteSite& site, int32_t facing, FinePoint ref);
  void PruneGoals(iRouteSite& site);
};

// Grid direction steps: 0 -x, 2 +y, 4 +x, 6 -y, odd ones the diagonals between.
inline constexpr int32_t kRouteDirX[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
inline constexpr int32_t kRouteDirY[8] = {0, 1, 1, 1, 0, -1, -1, -1};

// A local point (lateral x, along y, along negative = away from the
// origin) turned to face direction v, in sixteenths, truncated.
FinePoint TurnRoutePoint(double lateral, double along, int32_t v);

}  // namespace tova
