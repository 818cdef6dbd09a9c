#include "simulation/people/PersonRouting.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>

namespace tova {

namespace {

constexpr int32_t kHalfWall = 1;

}  // namespace

std::vector<RouteRect> BuildRoomRouteRects(const RoomTiles& tiles, const iLotWorld* world) {
  std::set<std::pair<int32_t, int32_t>> in;
  for (const RoomTile& t : tiles) in.insert({t.x, t.y});
  const int32_t level = tiles.empty() ? 1 : tiles.front().level;
  // Whether a wall that people cannot pass crosses a small box (sixteenths).
  const auto walled = [&](int32_t minX, int32_t maxX, int32_t minY, int32_t maxY) {
    return world != nullptr && world->RoutingTest(LotBox{minX, maxX, minY, maxY}, level) != 0;
  };
  // Edges as (line, from, to) in tiles: horizontal ones on line y, vertical on line x.
  std::vector<std::tuple<int32_t, int32_t, int32_t>> across, down;
  std::vector<RouteRect> rects;
  for (const auto& [x, y] : in) {
    const int32_t fx = x * 16, fy = y * 16;
    if (!in.count({x, y - 1}) || walled(fx + 7, fx + 9, fy - 1, fy + 1)) across.emplace_back(y, x, x + 1);
    if (!in.count({x, y + 1}) || walled(fx + 7, fx + 9, fy + 15, fy + 17)) across.emplace_back(y + 1, x, x + 1);
    if (!in.count({x - 1, y}) || walled(fx - 1, fx + 1, fy + 7, fy + 9)) down.emplace_back(x, y, y + 1);
    if (!in.count({x + 1, y}) || walled(fx + 15, fx + 17, fy + 7, fy + 9)) down.emplace_back(x + 1, y, y + 1);
    if (world == nullptr || !walled(fx + 7, fx + 9, fy + 7, fy + 9)) continue;
    // A diagonal wall: overlapping squares along it leave no gap to slip through.
    const int32_t diagonals = world->GetWallSides(TileLocation::At(static_cast<int8_t>(x), static_cast<int8_t>(y),
                                                                   static_cast<int8_t>(level))).flags;
    for (int32_t i = 0; i < 16; ++i) {
      if (diagonals & kLotWallDiagonal16) rects.push_back({fx + i - 1, fy + 15 - i - 1, fx + i + 2, fy + 15 - i + 2});
      if (diagonals & kLotWallDiagonal32) rects.push_back({fx + i - 1, fy + i - 1, fx + i + 2, fy + i + 2});
    }
  }
  auto join = [](std::vector<std::tuple<int32_t, int32_t, int32_t>>& edges) {
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<std::tuple<int32_t, int32_t, int32_t>> out;
    for (const auto& e : edges) {
      if (!out.empty() && std::get<0>(out.back()) == std::get<0>(e) && std::get<2>(out.back()) == std::get<1>(e))
        std::get<2>(out.back()) = std::get<2>(e);
      else
        out.push_back(e);
    }
    edges = std::move(out);
  };
  join(across);
  join(down);
  for (const auto& [line, from, to] : across)
    rects.push_back({from * 16 - kHalfWall, line * 16 - kHalfWall, to * 16 + kHalfWall, line * 16 + kHalfWall});
  for (const auto& [line, from, to] : down)
    rects.push_back({line * 16 - kHalfWall, from * 16 - kHalfWall, line * 16 + kHalfWall, to * 16 + kHalfWall});
  return rects;
}

std::vector<CostRect> RouteRectsAsCost(const std::vector<RouteRect>& rects) {
  std::vector<CostRect> out;
  out.reserve(rects.size());
  for (const RouteRect& r : rects) out.push_back({r.left, r.top, r.right, r.bottom, CostRect::kSolid});
  return out;
}

const std::vector<RouteRect>& RoomRouteRects(Room& room, const iLotWorld* world) {
  if (!room.HasRouteRects()) {
    room.GetRouteRects() = BuildRoomRouteRects(room.GetTiles(), world);
    room.SetRouteRectsBuilt(true);
  }
  return room.GetRouteRects();
}

RoutePlanInput MakeRoutePlanInput(const PersonRoute& route, const RoutePlanFacts& facts) {
  RoutePlanInput in;
  for (const RouteGoal& g : route.goals) in.goals.push_back({g.x, g.y, g.weight});
  in.startX = route.startX;
  in.startY = route.startY;
  in.personName = facts.personName;
  in.personId = facts.personId;
  in.personRect = facts.personRect;
  in.ignoreObjects = facts.ignoreObjects;
  in.roomKnown = facts.room != nullptr;
  in.inTargetRoom = facts.inTargetRoom;
  in.restrict = facts.restrict;
  in.targetName = facts.targetName;
  in.targetId = facts.targetId;
  for (const RoomObjectForRoute& o : facts.objects)
    if (o.facts.id != facts.personId && !route.IgnoresObject(o.facts)) in.objects.push_back(o.obstacle);
  in.personClearance = facts.personClearance;
  in.roomKind = facts.roomKind;
  if (facts.room != nullptr) {
    Room& room = *facts.room;
    in.routeRects = RouteRectsAsCost(RoomRouteRects(room, facts.world));
    std::vector<std::pair<int32_t, int32_t>> tiles;
    for (const RoomTile& t : room.GetTiles()) tiles.emplace_back(t.x, t.y);
    in.tileRects = TileRunRects(std::move(tiles));
    // Before the room is first scored its statistics hold no tiles yet.
    in.tileCount = room.GetTileCount() > 0 ? room.GetTileCount() : static_cast<int32_t>(room.GetTiles().size());
    in.outdoorFraction = room.GetOutdoorFraction();
    in.outdoor = room.IsOutdoors();
  }
  return in;
}

}  // namespace tova
