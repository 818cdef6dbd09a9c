#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "LotFakes.h"
#include "gamedata/Commander.h"
#include "gamedata/RoomManager.h"
#include "gamedata/RoomScoreConstants.h"

using namespace tova;
using namespace tova_test;

namespace {

class CommandRecorder : public Commander {
 public:
  std::vector<intptr_t> roomChanges;
  int16_t DoCommand(int32_t command, intptr_t argument) override {
    if (static_cast<int16_t>(command) == cmd::kRoomChanged) roomChanges.push_back(argument);
    return 0;
  }
};

class RoomsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RoomScoreConstants::Instance().Reset();
    GlobalConstantsClient::SetGlobalFile(nullptr);
  }

  LotServices Services() { return LotServices{&world, &objects, &view, &lights, &simulator}; }

  // A row of n plain tiles on level 1 from (x0, y) on, assigned to the room.
  Room& MakeRoom(RoomManager& rooms, int16_t id, int n, int x0 = 2, int y = 2, bool floored = false) {
    RoomTiles tiles;
    for (int i = 0; i < n; ++i) {
      const int x = x0 + i % 40, row = y + i / 40;
      tiles.push_back(RoomTile{static_cast<int8_t>(x), static_cast<int8_t>(row), 1});
      world.rooms[TileKey(TileLocation::At(x, row, 1))] = id;
      if (floored) world.floors[TileKey(TileLocation::At(x, row, 1))] = true;
    }
    Room& room = rooms.GetOrCreateRoom(id);
    room.AssignTiles(tiles);
    return room;
  }

  static LotWallSides Walls(int32_t flags, int32_t kind, bool covered) {
    LotWallSides w;
    w.flags = flags;
    for (int i = 0; i < 6; ++i) {
      w.kind[i] = kind;
      w.covered[i] = covered;
    }
    return w;
  }

  FakeLotWorld world;
  FakeLotObjects objects;
  FakeLotView view;
  FakeLotLights lights;
  FakeLotSimulator simulator;
};

TEST_F(RoomsTest, OneTileRoomClampsToMinus100) {
  RoomManager rooms(Services());
  Room& room = MakeRoom(rooms, 1, 1);
  world.walls[TileKey(TileLocation::At(2, 2, 1))] = Walls(1 | 2 | 4 | 8, 1, false);
  rooms.ScoreRooms(0);
  EXPECT_FALSE(room.IsOutdoors());
  EXPECT_EQ(room.GetQualifyingWallSides(), 4);
  EXPECT_EQ(room.GetCoveredWallSides(), 0);
  EXPECT_FLOAT_EQ(room.GetLight(), 0.0f);
  EXPECT_FLOAT_EQ(room.GetScore(), -100.0f);  // -40 - 40 + 0 - 20 + (-30 + 1) = -129
}

TEST_F(RoomsTest, AreaAndImpactTerms) {
  // No walls (wall term -40), every tile floored (0), light 0 (-20), one
  // object of impact 90 times the multiplier 10 over the effective area.
  const struct {
    int tiles;
    float score;
  } cases[] = {{9, -40 + 90 - 20 - 21}, {10, -40 + 90 - 20 - 20}, {45, -40 + 20 - 20 + 15},
               {46, -40 + 900.0f / 45 - 20 + 16}, {60, -40 + 20 - 20 + 30}, {75, -40 + 20 - 20 + 30}};
  for (const auto& c : cases) {
    world = FakeLotWorld();
    objects = FakeLotObjects();
    RoomManager rooms(Services());
    Room& room = MakeRoom(rooms, 1, c.tiles, 2, 2, true);
    objects.Add(7, TileLocation::At(2, 2, 1), {{kObjWordRoomImpact, 90}});
    rooms.ScoreRooms(1);
    EXPECT_EQ(room.GetTileCount(), c.tiles);
    EXPECT_NEAR(room.GetScore(), c.score, 1e-4) << c.tiles << " tiles";
  }
}

TEST_F(RoomsTest, LightFromLampsAndWindowsAtTheEdges) {
  struct Case {
    int tiles;
    int16_t amount;
    int32_t type;
    int16_t timeOfDay;
    float light;
  };
  const Case cases[] = {
      {10, 1, 4, 0, 0.03f},    // lamp: 1 * 0.01 / 10 * 30
      {40, 1, 4, 0, 0.0f},     // 0.0075 is below 0.01
      {10, 32, 4, 2, 0.96f},   // lamps light the night too
      {10, 34, 4, 0, 1.0f},    // 1.02 is above 0.99
      {10, 10, 8, 0, 0.3f},    // a window: daylight * 0.3
      {10, 10, 8, 2, 0.0f},    // no daylight at night
      {10, 100, 8, 1, 0.5f},   // never more than the daylight at dusk
  };
  for (const Case& c : cases) {
    world = FakeLotWorld();
    objects = FakeLotObjects();
    simulator.globals[kSimGlobalTimeOfDay] = c.timeOfDay;
    RoomManager rooms(Services());
    Room& room = MakeRoom(rooms, 1, c.tiles);
    objects.Add(3, TileLocation::At(3, 2, 1), {{kObjWordFlags, kObjFlagLightSource}, {kObjWordLightAmount, c.amount}},
                c.type);
    rooms.ScoreRooms(0);
    EXPECT_NEAR(room.GetLight(), c.light, 1e-5) << c.amount << " type " << c.type;
    EXPECT_EQ(room.GetLampCount(), c.type == 8 ? 0 : 1);
    EXPECT_EQ(rooms.GetAmbient(1, 3, 2), static_cast<uint8_t>(room.GetLight() * 255 + 0.5f));
  }
}

TEST_F(RoomsTest, EffectiveLightIsPointEightOnlyInItsCases) {
  simulator.globals[kSimGlobalTimeOfDay] = 1;  // dusk: windows give 0.5
  struct Case {
    bool person, lamp, switchOn, alwaysLit;
    float effective;
  };
  const Case cases[] = {
      {true, false, true, false, 0.8f},  {false, false, true, false, 0.5f}, {true, false, false, false, 0.5f},
      {true, true, true, false, 0.5f},   {false, false, false, true, 0.8f},
  };
  for (const Case& c : cases) {
    world = FakeLotWorld();
    objects = FakeLotObjects();
    RoomManager rooms(Services());
    Room& room = MakeRoom(rooms, 1, 10);
    if (c.alwaysLit) world.alwaysLit[TileKey(TileLocation::At(2, 2, 1))] = true;
    objects.Add(1, TileLocation::At(2, 2, 1), {{kObjWordFlags, kObjFlagLightSource}, {kObjWordLightAmount, 100}}, 8);
    if (c.person) objects.Add(2, TileLocation::At(3, 2, 1), {}, kDefinitionTypePerson);
    if (c.lamp) objects.Add(4, TileLocation::At(4, 2, 1), {{kObjWordFlags, kObjFlagLightSource}}, 4);
    rooms.ScoreRooms(0);
    ASSERT_FLOAT_EQ(room.GetLight(), 0.5f);
    CommandRecorder recorder;
    room.SetLightSwitch(c.switchOn);
    EXPECT_FLOAT_EQ(room.GetEffectiveLight(), c.effective);
    const bool announced = c.switchOn && !c.lamp && !c.alwaysLit;
    EXPECT_EQ(recorder.roomChanges.size(), announced ? 1u : 0u);
    if (announced) {
      EXPECT_EQ(rooms.GetAmbient(1, 5, 2), 204);
    }
  }
}

TEST_F(RoomsTest, OutdoorScoreByTimeOfDay) {
  const struct {
    int16_t timeOfDay;
    float bonus;
  } cases[] = {{0, 0}, {1, -20}, {2, -50}, {3, -20}};
  for (const auto& c : cases) {
    world = FakeLotWorld();
    objects = FakeLotObjects();
    simulator.globals[kSimGlobalTimeOfDay] = c.timeOfDay;
    RoomManager rooms(Services());
    Room& yard = MakeRoom(rooms, 1, 4);
    world.flags[TileKey(TileLocation::At(2, 2, 1))] = kLotTileOutside;
    world.pool[TileKey(TileLocation::At(3, 2, 1))] = 3;                         // a pool tile: +1
    objects.Add(1, TileLocation::At(2, 2, 1), {{kObjWordRoomImpact, 5}});        // good: +1
    objects.Add(2, TileLocation::At(4, 2, 1), {{kObjWordRoomImpact, -2}});       // -2 * 2
    objects.Add(3, TileLocation::At(5, 2, 1), {{kObjWordRoomImpact, 0}});        // good: +1
    rooms.ScoreRooms(0);
    ASSERT_TRUE(yard.IsOutdoors());
    EXPECT_FLOAT_EQ(yard.GetScore(), 3 * 1 + -2 * 2) << "3 good, impact -2";
    EXPECT_FLOAT_EQ(rooms.GetOutdoorScoreSum(), -1.0f);
    EXPECT_NEAR(rooms.GetOutdoorScore(), -1.0f / 3 + c.bonus, 1e-5) << c.timeOfDay;
  }
}

TEST_F(RoomsTest, SplitTilesAddAndRemove) {
  RoomManager rooms(Services());
  const TileLocation t = TileLocation::At(5, 6, 1);
  int16_t a = 0, b = 0;
  int32_t sa = 0, sb = 0;
  EXPECT_TRUE(rooms.AddSplitTile(t, 3, 2));
  ASSERT_TRUE(rooms.GetSplitTile(t, a, b, sa, sb));
  EXPECT_EQ(a, 3);
  EXPECT_EQ(b, -1);
  EXPECT_EQ(sa, 2);
  EXPECT_EQ(sb, 4);
  EXPECT_TRUE(rooms.GetRoomsAtTile(t, a, b, sa, sb));
  EXPECT_EQ(b, 3) << "no room B: room A twice";
  EXPECT_EQ(sa, 0);
  EXPECT_TRUE(rooms.AddSplitTile(t, 4, 4));
  EXPECT_TRUE(rooms.GetRoomsAtTile(t, a, b, sa, sb));
  EXPECT_EQ(a, 3);
  EXPECT_EQ(b, 4);
  EXPECT_FALSE(rooms.AddSplitTile(t, 3, 2)) << "the same room again removes the entry";
  EXPECT_FALSE(rooms.GetSplitTile(t, a, b, sa, sb));
  world.rooms[TileKey(t)] = 9;
  EXPECT_FALSE(rooms.GetRoomsAtTile(t, a, b, sa, sb));
  EXPECT_EQ(a, 9);
  EXPECT_EQ(b, 9);
  rooms.AddSplitTile(t, 3, 1);
  rooms.ClearRooms(2);
  EXPECT_TRUE(rooms.GetSplitTile(t, a, b, sa, sb)) << "another storey keeps its split tiles";
  rooms.ClearRooms(1);
  EXPECT_FALSE(rooms.GetSplitTile(t, a, b, sa, sb));
}

TEST_F(RoomsTest, LightAtBothHalvesOfADiagonalUnderEveryRotation) {
  RoomManager rooms(Services());
  const TileLocation split = TileLocation::At(20, 10, 1);
  Room& lit = MakeRoom(rooms, 1, 3, 30, 30);
  Room& dark = MakeRoom(rooms, 2, 3, 30, 31);
  world.alwaysLit[TileKey(TileLocation::At(30, 30, 1))] = true;
  world.rooms[TileKey(split)] = kSplitTileRoom;
  world.walls[TileKey(split)] = Walls(kLotWallDiagonal16, 1, false);
  rooms.AddSplitTile(split, 1, 2);
  rooms.AddSplitTile(split, 2, 4);
  rooms.ScoreRooms(0);
  ASSERT_FLOAT_EQ(lit.GetEffectiveLight(), 0.8f);
  ASSERT_FLOAT_EQ(dark.GetEffectiveLight(), 0.0f);
  // The fractions within the view tile on room 1's half; the opposite
  // corner is room 2's. The half turns with the view.
  const int litHalf[4][2] = {{12, 12}, {12, 4}, {4, 4}, {4, 12}};
  for (int r = 0; r < 4; ++r) {
    world.rotation = r;
    const TileLocation viewTile = split.Rotate((4 - r) & 3);
    const FinePoint corner = viewTile.Corner();
    const FinePoint a{corner.x + litHalf[r][0], corner.y + litHalf[r][1]};
    const FinePoint b{corner.x + 16 - litHalf[r][0], corner.y + 16 - litHalf[r][1]};
    EXPECT_FLOAT_EQ(rooms.GetLightAt(a, 1), 0.8f) << "rotation " << r;
    EXPECT_FLOAT_EQ(rooms.GetLightAt(b, 1), 0.0f) << "rotation " << r;
  }
  world.rotation = 0;
  EXPECT_FLOAT_EQ(rooms.GetLightAt(FinePoint{30 * 16 + 3, 30 * 16 + 3}, 1), 204.0f / 255.0f);
  EXPECT_FLOAT_EQ(rooms.GetLightAt(FinePoint::OffLot(), 1), 1.0f);
  EXPECT_FLOAT_EQ(rooms.GetLightAt(FinePoint{64 * 16, 5}, 1), 1.0f);
  EXPECT_FLOAT_EQ(rooms.GetLightAt(FinePoint{5, 5}, 3), 1.0f);
}

TEST_F(RoomsTest, RoomChangedOnlyWhenEffectiveLightChanges) {
  RoomManager rooms(Services());
  MakeRoom(rooms, 5, 10);
  FakeLotObject& lamp =
      objects.Add(1, TileLocation::At(2, 2, 1), {{kObjWordFlags, kObjFlagLightSource}, {kObjWordLightAmount, 10}});
  CommandRecorder recorder;
  rooms.ScoreRooms(0);
  EXPECT_EQ(recorder.roomChanges, (std::vector<intptr_t>{5}));
  rooms.MarkRoomChanged(5);
  rooms.UpdateChangedRooms();
  EXPECT_EQ(recorder.roomChanges.size(), 1u) << "the same light again";
  lamp.words[kObjWordLightAmount] = 20;
  rooms.MarkRoomChanged(5);
  EXPECT_EQ(rooms.GetChangedLevels(), 1);
  rooms.UpdateChangedRooms();
  EXPECT_EQ(recorder.roomChanges.size(), 2u);
  EXPECT_EQ(rooms.GetChangedLevels(), 0);
}

TEST_F(RoomsTest, MarkingRoomsOfOtherStoreys) {
  RoomManager rooms(Services());
  rooms.MarkRoomChanged(static_cast<int16_t>((1 << 10) | 3));
  EXPECT_EQ(rooms.GetChangedLevels(), 2);
  rooms.MarkRoomChanged(static_cast<int16_t>((2 << 10) | 3));
  rooms.MarkRoomChanged(static_cast<int16_t>((3 << 10) | 3));
  EXPECT_EQ(rooms.GetChangedLevels(), 2) << "ids of storeys 3 and 4 change no bit";
  simulator.globals[kSimGlobalTimeOfDay] = 2;
  rooms.InvalidateAll();
  EXPECT_FLOAT_EQ(RoomManager::LightFactor(), 0.8f);
  EXPECT_EQ(rooms.GetChangedLevels(), 3);
  simulator.globals[kSimGlobalTimeOfDay] = 0;
  rooms.InvalidateAll();
  EXPECT_FLOAT_EQ(RoomManager::LightFactor(), 1.0f);
}

TEST_F(RoomsTest, RoomsOfNoWholeTileStayFinite) {
  RoomManager rooms(Services());
  const TileLocation t = TileLocation::At(8, 8, 1);
  Room& half = rooms.GetOrCreateRoom(1);
  half.AssignTiles({RoomTile{8, 8, 1}});
  world.rooms[TileKey(t)] = 1;
  world.walls[TileKey(t)] = Walls(kLotWallDiagonal32, 2, false);  // a wall kind that does not count
  objects.Add(1, t, {{kObjWordFlags, kObjFlagLightSource}, {kObjWordLightAmount, 50}, {kObjWordRoomImpact, 7}});
  rooms.ScoreRooms(0);
  EXPECT_EQ(half.GetTileCount(), 0);
  EXPECT_EQ(half.GetQualifyingWallSides(), 0);
  EXPECT_FLOAT_EQ(half.GetLight(), 0.0f);
  EXPECT_TRUE(std::isfinite(half.GetScore()));
  // wall -40, floor -40, impact 70 / 10, light -20, area -30.
  EXPECT_FLOAT_EQ(half.GetScore(), -100.0f);
  EXPECT_EQ(simulator.globals[kSimGlobalIndoorTiles], 0);
}

TEST_F(RoomsTest, LightsTileLightsAndIndoorTileSum) {
  RoomManager rooms(Services());
  Room& room = MakeRoom(rooms, 1, 12);
  MakeRoom(rooms, 2, 8, 2, 5);
  for (int i = 0; i < 8; ++i) {
    FakeLotObject& o = objects.Add(static_cast<int16_t>(10 + i), TileLocation::At(2 + i, 2, 1),
                                   {{kObjWordFlags, kObjFlagLightSource}, {kObjWordLightAmount, 1}, {kObjWordLightKind, 1}});
    o.position = LotPoint3{float(i), 2, 3};
  }
  objects.Add(30, TileLocation::At(11, 2, 1), {{kObjWordFlags, kObjFlagLightSource}, {kObjWordLightKind, 2}});
  rooms.ScoreRooms(0);
  EXPECT_EQ(lights.created, 6);
  EXPECT_EQ(room.GetLightCount(), 6);
  EXPECT_EQ(room.GetLightPosition(5), (LotPoint3{5, 2, 8}));
  EXPECT_EQ(room.GetLampCount(), 9);
  ASSERT_EQ(world.tileLights.size(), 9u);
  EXPECT_TRUE(world.tileLights[0].withAmount);
  EXPECT_EQ(world.tileLights[8].value, 2);
  EXPECT_FALSE(world.tileLights[8].withAmount);
  EXPECT_EQ(simulator.globals[kSimGlobalIndoorTiles], 20);
  rooms.MarkRoomChanged(1);
  rooms.ScoreRooms(0);
  EXPECT_EQ(lights.created, 6) << "lights are made once per manager";
}

TEST_F(RoomsTest, OccupantsRoofAndViewInvalidation) {
  RoomManager rooms(Services());
  Room& room = MakeRoom(rooms, 4, 3);
  objects.persons = {{4, false}, {4, true}, {5, false}, {4, false}};
  EXPECT_EQ(room.CountOccupants(), 2);
  EXPECT_TRUE(room.NeedsRoof());
  Room& hill = MakeRoom(rooms, 6, 2, 10, 10);
  world.corners[TileKey(TileLocation::At(11, 10, 1))] = 0x01010102;
  EXPECT_FALSE(hill.NeedsRoof());

  world.floors[TileKey(TileLocation::At(3, 2, 1))] = true;
  world.rotation = 1;
  RoomTileList::InvalidateView(room.GetTiles(), false, world, view);
  EXPECT_EQ(view.invalidated, (std::vector<TileLocation>{TileLocation::At(3, 2, 1).Rotate(1)}));
  view.invalidated.clear();
  RoomTileList::InvalidateView(room.GetTiles(), true, world, view);
  EXPECT_EQ(view.invalidated.size(), 3u);
}

TEST_F(RoomsTest, ViewMaskHoldsTheRoomAndTheTilesInFront) {
  class TallView : public FakeLotView {
    bool GetTileScreenRect(TileLocation t, ScreenRect& out) const override {
      FakeLotView::GetTileScreenRect(t, out);
      out.top -= 32;  // walls and objects stand above the tile
      return true;
    }
  } tall;
  LotServices services = Services();
  services.view = &tall;
  RoomManager rooms(services);
  Room& room = MakeRoom(rooms, 1, 1, 10, 10);
  rooms.RefreshRooms(1);
  auto bit = [&room](int x, int y) { return ((room.GetViewMask()[static_cast<size_t>(y)] >> x) & 1) != 0; };
  EXPECT_TRUE(bit(10, 10));
  EXPECT_TRUE(bit(11, 11)) << "straight in front, overlapping";
  EXPECT_TRUE(bit(11, 10));
  EXPECT_FALSE(bit(13, 13)) << "too far in front";
  EXPECT_FALSE(bit(9, 9)) << "behind";
  world.flags[TileKey(TileLocation::At(10, 10, 1))] = kLotTileOutside;
  Room& yard = MakeRoom(rooms, 1, 1, 10, 10);
  rooms.RefreshRooms(0);
  for (uint64_t row : yard.GetViewMask()) EXPECT_EQ(row, 0u);
}

TEST_F(RoomsTest, StatisticsDump) {
  RoomManager rooms(Services());
  std::ostringstream empty;
  rooms.DumpStatistics(empty);
  EXPECT_EQ(empty.str(), "\n\nRoom Statistics\n");
  MakeRoom(rooms, 3, 2);
  MakeRoom(rooms, static_cast<int16_t>(1024 + 1), 1, 5, 5);
  std::ostringstream out;
  rooms.DumpStatistics(out);
  EXPECT_EQ(out.str(),
            "\n\nRoom Statistics\n"
            "------------ Room #3\nID = 3, Used:  YES, Level = 1, TileCount = 2\n"
            "------------ Room #1025\nID = 1025, Used:  YES, Level = 2, TileCount = 1\n");
  EXPECT_EQ(RoomManager::Current(), &rooms);
}

}  // namespace
