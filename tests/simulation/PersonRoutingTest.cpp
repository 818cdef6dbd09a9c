// A person's routes and the rooms: the route rectangles of a room, the
// planner's input gathered from a route, and routes marked not started
// after a load.
#include <gtest/gtest.h>

#include "PersonFixture.h"
#include "gamedata/RoomManager.h"
#include "simulation/people/PersonRouting.h"
#include "simulation/people/cXPerson.h"

namespace {

using tova::CostRect;
using tova::PersonRoute;
using tova::Room;
using tova::RoomManager;
using tova::RoomTiles;
using tova::RouteRect;

constexpr int32_t kSolid = CostRect::kSolid;

bool Blocks(const std::vector<RouteRect>& rects, int32_t x, int32_t y) {
  for (const RouteRect& r : rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

TEST(RoomRouteRects, ThinWallsAlongTheOuterEdgesJoinedAlongEachLine) {
  // An L of tiles: (1,1) (2,1) and (1,2).
  const RoomTiles tiles = {{1, 1, 1}, {2, 1, 1}, {1, 2, 1}};
  const std::vector<RouteRect> rects = tova::BuildRoomRouteRects(tiles);
  EXPECT_EQ(rects.size(), 6u);
  // The top edge is one strip over both tiles.
  EXPECT_TRUE(Blocks(rects, 16, 16) && Blocks(rects, 46, 16));
  // Inside edges between the room's own tiles stay open.
  EXPECT_FALSE(Blocks(rects, 32, 24));
  EXPECT_FALSE(Blocks(rects, 24, 32));
  // The notch's edges are walls.
  EXPECT_TRUE(Blocks(rects, 40, 32));
  EXPECT_TRUE(Blocks(rects, 32, 40));
  EXPECT_FALSE(Blocks(rects, 40, 40));
  EXPECT_TRUE(tova::BuildRoomRouteRects({}).empty());
  for (const CostRect& c : tova::RouteRectsAsCost(rects)) EXPECT_EQ(c.cost, kSolid);
}

// Walls inside a room (a fence outdoors, a diagonal corner) are closed too.
TEST(RoomRouteRects, WallsInsideTheRoomAreClosed) {
  struct Walls : tova::iLotWorld {
    int32_t GetSize() const override { return 16; }
    tova::LotBounds GetBounds() const override { return {}; }
    int32_t GetViewRotation() const override { return 0; }
    int16_t GetRoomId(tova::TileLocation) const override { return 0; }
    bool HasFloor(tova::TileLocation) const override { return false; }
    uint8_t GetTileFlags(tova::TileLocation) const override { return 0; }
    tova::LotWallSides GetWallSides(tova::TileLocation t) const override {
      tova::LotWallSides s;
      if (t.x == 3 && t.y == 1) s.flags = tova::kLotWallDiagonal32;
      return s;
    }
    uint8_t GetPoolValue(tova::TileLocation) const override { return 255; }
    uint32_t GetCornerHeights(tova::TileLocation) const override { return 0; }
    bool IsTileAlwaysLit(tova::TileLocation) const override { return false; }
    int16_t GetObjectIdAt(tova::TileLocation) const override { return 0; }
    void AddTileLight(tova::TileLocation, int32_t, bool) override {}
    // A fence on line x = 2 between rows 1 and 2, and the diagonal of tile (3, 1).
    int32_t RoutingTest(const tova::LotBox& b, int32_t) const override {
      const bool fence = b.minX < 32 && b.maxX > 32 && b.minY < 32 && b.maxY > 16;
      const bool diagonal = b.minX < 56 && b.maxX > 56 && b.minY < 24 && b.maxY > 24;
      return fence || diagonal ? 1 : 0;
    }
  } walls;
  const RoomTiles tiles = {{1, 1, 1}, {2, 1, 1}, {3, 1, 1}};
  const std::vector<RouteRect> open = tova::BuildRoomRouteRects(tiles);
  EXPECT_FALSE(Blocks(open, 32, 24));
  const std::vector<RouteRect> closed = tova::BuildRoomRouteRects(tiles, &walls);
  EXPECT_TRUE(Blocks(closed, 32, 24)) << "the fence";
  EXPECT_FALSE(Blocks(closed, 24, 24));
  // The diagonal from (48, 16) to (64, 32) is closed along its length.
  for (int32_t i = 0; i < 16; ++i) EXPECT_TRUE(Blocks(closed, 48 + i, 16 + i)) << i;
  EXPECT_FALSE(Blocks(closed, 60, 20));
}

TEST(RoomRouteRects, BuiltOnceAndKeptUntilDropped) {
  tova::LotServices services;
  RoomManager rooms(services);
  Room& room = rooms.GetOrCreateRoom(3);
  room.AssignTiles({{1, 1, 1}});
  EXPECT_EQ(tova::RoomRouteRects(room).size(), 4u);
  room.GetRouteRects().pop_back();
  EXPECT_EQ(tova::RoomRouteRects(room).size(), 3u);  // kept, not built again
  room.DropRouteRects();
  EXPECT_EQ(tova::RoomRouteRects(room).size(), 4u);
}

TEST(RoutePlanInputFromRoute, GoalsStartObjectsAndRoom) {
  tova::LotServices services;
  RoomManager rooms(services);
  Room& room = rooms.GetOrCreateRoom(3);
  room.AssignTiles({{1, 1, 1}, {2, 1, 1}});

  PersonRoute route;
  route.goals = {{40, 24, 120, 0, 16}, {24, 24, 0, 0, 1}};
  route.startX = 20;
  route.startY = 22;
  route.ignorePeople = true;
  tova::RoutePlanFacts facts;
  facts.personId = 5;
  facts.personName = "Ada";
  facts.room = &room;
  tova::RoomObjectForRoute table;
  table.facts = {7, false, 1, 0, false, false, 1};
  table.obstacle.footprint = {32, 16, 48, 32, 0};
  tova::RoomObjectForRoute other = table;
  other.facts = {8, false, 1, 0, true, false, 1};  // a person: ignored by this route
  tova::RoomObjectForRoute self = table;
  self.facts.id = 5;
  facts.objects = {table, other, self};

  const tova::RoutePlanInput in = tova::MakeRoutePlanInput(route, facts);
  ASSERT_EQ(in.goals.size(), 2u);
  EXPECT_EQ(in.goals[0].x, 40);
  EXPECT_EQ(in.goals[0].weight, 120);
  EXPECT_EQ(in.goals[1].weight, 0);
  EXPECT_EQ(in.startX, 20);
  EXPECT_EQ(in.startY, 22);
  ASSERT_EQ(in.objects.size(), 1u);
  EXPECT_EQ(in.objects[0].footprint, table.obstacle.footprint);
  EXPECT_EQ(in.routeRects.size(), 4u);
  EXPECT_EQ(in.tileRects, (std::vector<CostRect>{{16, 16, 48, 32, 0}}));
  EXPECT_EQ(in.tileCount, 2);
  EXPECT_TRUE(in.roomKnown);

  facts.room = nullptr;
  EXPECT_FALSE(tova::MakeRoutePlanInput(route, facts).roomKnown);
}

class PersonRoutes : public tova_test::PersonFixture {};

TEST_F(PersonRoutes, MarkedNotStartedAfterALoad) {
  tova::cXPerson& person = *MakePerson();
  tova::RoutingSlot slot;
  person.Routes().emplace_back(int16_t{1}, int16_t{2}, &slot, tova::FinePoint{0, 0}, int16_t{0}, 10);
  person.Routes().emplace_back(int16_t{1}, int16_t{3}, &slot, tova::FinePoint{0, 0}, int16_t{0}, 10);
  ASSERT_EQ(person.Routes()[0].started, 1);
  person.MarkRoutesNotStarted();
  for (const PersonRoute& r : person.Routes()) EXPECT_EQ(r.started, 0);
}

}  // namespace
