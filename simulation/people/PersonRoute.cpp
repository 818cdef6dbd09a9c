#include "simulation/people/PersonRoute.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "simulation/Direction8.h"
#include "simulation/ObjectQueryPrimitives.h"
#include "simulation/people/RouteSite.h"
#include "simulation/people/RouteWords.h"

namespace tova {

namespace {

constexpr double kHalfRoot2 = 0.70710678118654752440;

int32_t Trunc32(double v) { return static_cast<int32_t>(std::clamp(std::trunc(v), -2147483648.0, 2147483647.0)); }

bool LevelGround(uint32_t corners) {
  const uint32_t c = corners & 0xFF;
  return ((corners >> 8) & 0xFF) == c && ((corners >> 16) & 0xFF) == c && ((corners >> 24) & 0xFF) == c;
}

// One tile towards local side j: lateral and along offsets in sixteenths.
constexpr int32_t kSnapLateral[8] = {0, 16, 16, 16, 0, -16, -16, -16};
constexpr int32_t kSnapAlong[8] = {-16, -16, 0, 16, 16, 16, 0, -16};

int32_t FloorDiv16(double v) { return static_cast<int32_t>(std::floor(v / 16.0)); }

}  // namespace

namespace {

FinePoint Offset(FinePoint ref, double lateral, double along, int32_t v) {
  v = WrapDirection(v);
  const int32_t l = WrapDirection(v + 2);
  const double scale = (v % 2 == 1) ? kHalfRoot2 : 1.0;
  const double x = ref.x + (lateral * kRouteDirX[l] - along * kRouteDirX[v]) * scale;
  const double y = ref.y + (lateral * kRouteDirY[l] - along * kRouteDirY[v]) * scale;
  return {Trunc32(x), Trunc32(y)};
}

}  // namespace

FinePoint TurnRoutePoint(double lateral, double along, int32_t v) { return Offset({0, 0}, lateral, along, v); }

PersonRoute::PersonRoute(int16_t personId, int16_t targetId, const RoutingSlot* routingSlot, FinePoint personAt,
                         int16_t word72, int32_t roomTiles)
    : target(targetId),
      person(personId),
      lastX(personAt.x),
      lastY(personAt.y),
      started(1),
      savedWord(word72),
      goalLimit(roomTiles > kLargeRoomTiles ? kGoalLimitLargeRoom : kGoalLimit) {
  if (routingSlot != nullptr) slot = *routingSlot;
}

void PersonRoute::Begin(iRouteSite& site) {
  ChooseStart(site);
  const int16_t before = site.PersonWord(kWordReplace);
  site.SetPersonWord(kWordReplace, savedWord);
  BuildRouteGoals(site);
  site.SetPersonWord(kWordReplace, before);
}

void PersonRoute::ChooseStart(iRouteSite& site) {
  const FinePoint at = site.PersonPosition();
  startX = at.x;
  startY = at.y;
  parameter = 0;
  const RouteSnapObject seat = site.PersonSeat();
  if (seat.id == 0) return;
  const FinePoint aim = site.TargetPosition(false);
  int64_t best = INT64_MAX;
  for (int32_t i = 0; i < 8; ++i) {
    if ((seat.sideMask & (1u << i)) == 0) continue;
    const int32_t d = WrapDirection(i + seat.direction);
    const FinePoint p{at.x + 16 * kRouteDirX[d], at.y + 16 * kRouteDirY[d]};
    const int32_t result = TestPoint(site, p, d);
    if (result != kPointFree && result != kPointPerson) continue;
    const int64_t dx = int64_t{p.x} - aim.x, dy = int64_t{p.y} - aim.y;
    const int64_t dist = dx * dx + dy * dy;
    if (dist < best) {
      best = dist;
      startX = p.x;
      startY = p.y;
      parameter = 1 << i;
    }
  }
}

int32_t PersonRoute::TestPoint(iRouteSite& site, FinePoint point, int32_t direction) {
  if (site.IsBorderTile(point)) return kPointOff;
  const int32_t level = site.PersonLevel();
  if ((slot.flags & kSlotAnyRoom) == 0) {
    if (site.RoomAt(point, level) != site.PersonRoom()) return kPointOtherRoom;
    if (direction >= 0 && direction <= 7) {
      const uint8_t mask = site.BlockMask(point, level, WrapDirection(direction - 4));
      if ((mask & 0x01) != 0 || (direction % 2 == 1 && (mask & 0x82) != 0)) return kPointWall;
    }
  }
  if ((slot.flags & kSlotNoLevelTest) == 0) {
    const uint32_t here = site.Corners(point);
    if (here != site.Corners(site.TargetPosition(false)) || !LevelGround(here)) return kPointLevel;
  }
  const iRouteSite::Placement place = site.TryPlacePerson(point);
  if (place.fits) return kPointFree;
  switch (place.code) {
    case 7:
      return kPointWall;
    case 11:
      if (place.blocker == 0 || place.blocker == ignoredPerson) return kPointFree;
      blockingId = place.blocker;
      return place.blockerIsPerson ? kPointPerson : kPointObject;
    default:
      return kPointOff;
  }
}

bool PersonRoute::IgnoresObject(const RouteObjectFacts& o) const {
  if (o.heldInSlot) return true;
  if (o.word10 == 0) {
    const bool passable = (o.word8 & 0x4) != 0 ? (o.word8 & 0x2) == 0 : (o.word8 & 0x10) != 0;
    if (passable) return true;
  }
  if (!o.isPerson) return o.entry5SaysIgnore;
  return ignorePeople || (o.id != 0 && o.id == ignoredPerson) || o.tilesAway > 3.0f;
}

struct PersonRoute::Reasons {
  bool seatTaken = false;
  bool person = false;
  bool object = false;
  bool wall = false;
  bool level = false;

  void Note(int32_t result) {
    switch (result) {
      case kPointObject: object = true; break;
      case kPointOtherRoom:
      case kPointWall: wall = true; break;
      case kPointLevel: level = true; break;
      case kPointPerson: person = true; break;
      default: break;
    }
  }
};

void PersonRoute::BuildRouteGoals(iRouteSite& site) {
  goals.clear();
  const int32_t facing = (slot.flags & kSlotFacingZero) != 0 ? 0 : WrapDirection(site.TargetDirection());
  const FinePoint ref = site.TargetPosition((slot.flags & kSlotFromFootprint) != 0);
  const int32_t enabled = slot.flags & kSlotDirections;
  Reasons why;
  if (enabled == 0) {
    BuildSingleGoal(site, facing, ref);
    return;
  }
  const int32_t minimum = slot.distances[0], maximum = slot.distances[1], optimal = slot.distances[2];
  const bool distancesOk = minimum > 0 && minimum <= optimal && optimal <= maximum && maximum <= kMaxDistance;
  const int64_t objectBase = int64_t{10} * slot.params[1];
  const int32_t step = objectBase != 0 ? 16 : slot.lastWord;
  // A step from data of 0 or less would divide by zero: no goals, as for bad distances.
  if (!distancesOk || step <= 0) return;

  uint8_t blocked = 0;
  if ((slot.flags & kSlotAnyRoom) == 0) blocked = site.BlockMask(ref, site.TargetLevel(), facing);
  for (int32_t i = 0; i < 8; ++i) {
    if ((enabled & (1 << i)) == 0) continue;
    if ((blocked & (1 << i)) != 0) {
      why.wall = true;
      continue;
    }
    BuildDirection(site, i, facing, ref, blocked, why);
  }
  if (static_cast<int32_t>(goals.size()) > goalLimit) PruneGoals(site);
  if (!goals.empty()) return;
  const int64_t freeBase = int64_t{10} * std::max(slot.params[0], slot.params[2]);
  if (why.seatTaken) failureCode = kRouteFailSeatTaken;
  else if (why.person) failureCode = kRouteFailPersonInWay;
  else if (why.object) failureCode = kRouteFailObjectInWay;
  else if (why.wall) failureCode = kRouteFailWallOrRoom;
  else if (why.level) failureCode = kRouteFailNotLevel;
  else if (objectBase > 0 && freeBase == 0) failureCode = kRouteFailNoFreeSide;
}

void PersonRoute::BuildDirection(iRouteSite& site, int32_t i, int32_t facing, FinePoint ref, uint8_t blocked,
                                 Reasons& why) {
  const int32_t minimum = slot.distances[0], maximum = slot.distances[1], optimal = slot.distances[2];
  const int64_t freeBase = int64_t{10} * std::max(slot.params[0], slot.params[2]);
  const int64_t objectBase = int64_t{10} * slot.params[1];
  const bool snapping = objectBase != 0;
  const int32_t step = snapping ? 16 : slot.lastWord;
  const int32_t v = WrapDirection(facing + i);
  const auto isBlocked = [&](int32_t d) { return (blocked & (1 << WrapDirection(d))) != 0; };
  const bool bonus = !isBlocked(i - 1) && !isBlocked(i) && !isBlocked(i + 1);

  switch (slot.facing) {
    case -1: site.SetPersonDirection(v); break;
    case -2: site.SetPersonDirection(WrapDirection(v + 4)); break;
    case -3: break;
    default:
      if (slot.facing >= 0 && slot.facing <= 7) site.SetPersonDirection(WrapDirection(facing + slot.facing));
      break;
  }

  int32_t first = -minimum / step;
  int32_t last = -maximum / step;
  if (snapping) {
    first = std::min(first + 1, -1);
    last -= 1;
  }
  const bool nextEnabled = (slot.flags & (1 << WrapDirection(i + 2))) != 0;
  const int level = site.TargetLevel();
  bool endDirection = false;
  for (int32_t r = first; r >= last && !endDirection; --r) {
    const int32_t kEnd = nextEnabled ? -r - 1 : -r;
    for (int32_t k = r; k <= kEnd; ++k) {
      const double lx = static_cast<double>(k) * step + slot.x;
      const double ly = static_cast<double>(r) * step + slot.y;
      const FinePoint at = Offset(ref, lx, ly, v);
      int32_t result = -1;
      // Up to ten tries: the free one first when it weighs at least as much,
      // the eight snapping sides, else the free one last.
      int32_t order[10];
      size_t tries = 0;
      if (freeBase >= objectBase) order[tries++] = -1;
      for (int32_t j = 0; j < 8; ++j) order[tries++] = j;
      if (freeBase < objectBase) order[tries++] = -1;
      for (size_t t = 0; t < tries; ++t) {
        const int32_t side = order[t];
        const bool freeTry = side < 0;
        const int64_t base = freeTry ? freeBase : objectBase;
        if (base == 0) continue;
        double cx = lx, cy = ly;
        RouteSnapObject snap;
        if (!freeTry) {
          cx += kSnapLateral[side];
          cy += kSnapAlong[side];
          const int32_t row = FloorDiv16(cy), lateral = FloorDiv16(cx);
          const bool reach = row == r ? (lateral >= r && lateral <= kEnd)
                                      : row > r ? (lateral > r && lateral < kEnd) : true;
          if (!reach) continue;
          const FinePoint objectAt = Offset(ref, cx, cy, v);
          if (!site.IsInsideWorld(objectAt)) continue;
          snap = site.SnapObjectAt(objectAt, level);
          if (snap.id == 0 || WrapDirection(snap.direction) != WrapDirection(v + 4) || (snap.sideMask & (1u << side)) == 0) continue;
          if (snap.heldObject != 0 && snap.heldObject != person) {
            why.seatTaken = true;
            blockingId = snap.heldObject;
            continue;
          }
        }
        const double d = std::sqrt(cx * cx + cy * cy);
        if (d < minimum || d > maximum) continue;
        int64_t weight = base - static_cast<int64_t>(slot.tolerance * std::fabs(std::trunc(d) - optimal)) + 100;
        if ((slot.flags & kSlotRandomWeights) != 0) weight += site.Random(20) - 10;
        if (bonus) weight += 25;
        if (at.x == startX && at.y == startY) weight += 20;
        if (result < 0) result = TestPoint(site, at, v);
        if (result == kPointFree) {
          const int32_t w = static_cast<int32_t>(std::clamp<int64_t>(weight, INT32_MIN, INT32_MAX));
          goals.push_back({at.x, at.y, w, freeTry ? int16_t{0} : snap.id,
                           static_cast<int16_t>(freeTry ? 1 << i : 1 << side)});
          largestWeight = std::max(largestWeight, w);
          break;
        }
        if (result == kPointWall || result == kPointOtherRoom) why.wall = true;
        if (result == kPointWall) endDirection = true;
        why.Note(result);
      }
    }
  }
}

void PersonRoute::BuildSingleGoal(iRouteSite& site, int32_t facing, FinePoint ref) {
  site.SetPersonDirection(WrapDirection(facing + 4));
  const FinePoint at = Offset(ref, slot.x, slot.y, facing);
  const bool sameTile = at.TileX() == ref.TileX() && at.TileY() == ref.TileY();
  const int32_t result = TestPoint(site, at, sameTile ? -1 : OctantDirection(ref, at));
  if (result == kPointFree) {
    goals.push_back({at.x, at.y, 100, 0, 0});
    largestWeight = std::max(largestWeight, 100);
    return;
  }
  Reasons why;
  why.Note(result);
  if (why.person) failureCode = kRouteFailPersonInWay;
  else if (why.object) failureCode = kRouteFailObjectInWay;
  else if (why.wall) failureCode = kRouteFailWallOrRoom;
  else if (why.level) failureCode = kRouteFailNotLevel;
}

void PersonRoute::PruneGoals(iRouteSite& site) {
  std::vector<RouteGoal> kept, rest;
  for (const RouteGoal& g : goals) (g.object != 0 ? kept : rest).push_back(g);
  const size_t limit = static_cast<size_t>(std::max(goalLimit, 0));
  if (kept.size() > limit) kept.resize(limit);
  while (kept.size() < limit && !rest.empty()) {
    const size_t n = static_cast<size_t>(site.Random(static_cast<int32_t>(rest.size()))) % rest.size();
    kept.push_back(rest[n]);
    rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(n));
  }
  goals = std::move(kept);
}

}  // namespace tova
