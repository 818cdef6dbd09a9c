#include <gtest/gtest.h>

#include "gamedata/RoomManager.h"
#include "gamedata/RoomScoreConstants.h"
#include "world/LotWorld.h"
#include "world/cFixedWorld.h"

using namespace tova;

namespace {

// A 3 by 3 room at (4..6, 4..6): floored, a covered wall along x = 4 and a
// bare one along y = 4, a diagonal tile beside it and a yard tile.
class LotWorldRooms : public ::testing::Test {
 protected:
  void SetUp() override {
    RoomScoreConstants::Instance().Reset();
    GlobalConstantsClient::SetGlobalFile(nullptr);
    for (int y = 4; y <= 6; ++y) {
      for (int x = 4; x <= 6; ++x) {
        world.Rooms(1)->At(x, y) = 1;
        world.Floors(1)->At(x, y) = 3;
        tiles.push_back(RoomTile{static_cast<int8_t>(x), static_cast<int8_t>(y), 1});
      }
    }
    for (int i = 4; i <= 6; ++i) {
      AddWall(TileLocation::At(4, i, 1), kWallSide1, true);
      AddWall(TileLocation::At(i, 4, 1), kWallSide2, false);
    }
  }

  void AddWall(TileLocation t, int32_t side, bool covered) {
    WallInfo w = world.GetWallInfo(t);
    w.flags |= side;
    w.style[WallSideIndex(side)] = kWallStylePlain;
    if (covered) w.SetPattern(side, 0, 7);
    world.SetWallInfo(t, w);
  }

  cFixedWorld world{16};
  cLotWorld lot{world};
  RoomTiles tiles;
};

TEST_F(LotWorldRooms, ReadsTheLayers) {
  const TileLocation corner = TileLocation::At(4, 4, 1);
  const LotWallSides sides = lot.GetWallSides(corner);
  EXPECT_EQ(sides.flags, kWallSide1 | kWallSide2);
  EXPECT_EQ(sides.kind[0], 1);
  EXPECT_TRUE(sides.covered[0]);
  EXPECT_FALSE(sides.covered[1]);
  EXPECT_EQ(lot.GetRoomId(corner), 1);
  EXPECT_TRUE(lot.HasFloor(corner));
  EXPECT_FALSE(lot.HasFloor(TileLocation::At(9, 9, 1)));
  EXPECT_EQ(lot.GetRoomId(TileLocation::At(70, 4, 1)), 0) << "off the grid";
  EXPECT_EQ(lot.GetRoomId(TileLocation::At(4, 4, 3)), 0) << "no such storey";
  EXPECT_EQ(lot.GetPoolValue(corner), 255);
  lot.AddTileLight(TileLocation::At(8, 8, 1), 1, true);
  // The lamp stands in the yard: the yard's tiles around it take it, as
  // offsets from the lamp; the room's tiles do not.
  EXPECT_EQ(world.LightTable(1)->At(9, 9).offset[0], 1);
  EXPECT_EQ(world.LightTable(1)->At(8, 8).offset[0], 0);
  EXPECT_EQ(world.LightTable(1)->At(12, 4).offset[0], 4);
  EXPECT_EQ(world.LightTable(1)->At(6, 6).offset[0], kNoLight);
  EXPECT_EQ(world.LightTable(1)->At(13, 8).offset[0], kNoLight);
}

TEST_F(LotWorldRooms, ScoresARoomOfTheWorld) {
  RoomManager rooms(LotServices{&lot, nullptr, nullptr, nullptr, nullptr});
  Room& room = rooms.GetOrCreateRoom(1);
  room.AssignTiles(tiles);
  rooms.ScoreRooms(1);
  EXPECT_FALSE(room.IsOutdoors());
  EXPECT_EQ(room.GetTileCount(), 9);
  EXPECT_EQ(room.GetQualifyingWallSides(), 6);
  EXPECT_EQ(room.GetCoveredWallSides(), 3);
  EXPECT_EQ(room.GetFlooredHalfTiles(), 18);
  // wall -40 + 1/2 * 40, floor 0, no impact, light -20, area -30 + 9.
  EXPECT_FLOAT_EQ(room.GetScore(), -20 + 0 + 0 - 20 - 21);
  EXPECT_TRUE(room.NeedsRoof());

  world.Flags(1)->At(4, 4) = 0x04;
  rooms.MarkRoomChanged(1);
  rooms.UpdateChangedRooms();
  EXPECT_TRUE(room.IsOutdoors()) << "the outside bit of its first tile";
  EXPECT_FLOAT_EQ(room.GetLight(), 1.0f) << "daylight";
  EXPECT_EQ(rooms.GetAmbient(1, 5, 5), 255);
}

}  // namespace
