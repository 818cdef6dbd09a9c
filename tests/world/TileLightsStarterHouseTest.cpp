// The starter house's rooms, found as a lot loads, fill the light table of
// the ground storey around a lit lamp: the tiles of the lamp's room within
// four tiles, split tiles by either half, nothing across a wall.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gamedata/LotInterfaces.h"
#include "gamedata/RoomManager.h"
#include "simulation/cXObject.h"
#include "support/CompileContent.h"
#include "support/ScratchDir.h"
#include "support/StarterGuids.h"
#include "world/HeadlessLot.h"
#include "world/LotHouseParts.h"

namespace {

using namespace tova;

TEST(StarterHouseTileLights, ALampFillsTheSquareOfItsRoom) {
  const std::filesystem::path content = std::filesystem::path(TOVA_SOURCE_DIR) / "content";
  std::vector<std::string> sources = {(content / "UserData/Houses/House01.lot").string()};
  for (const auto& e : std::filesystem::recursive_directory_iterator(content / "GameData"))
    if (e.path().extension() == ".res") sources.push_back(e.path().string());
  tova_test::ScratchDir dir;
  const auto built = tova_test::CompileContentShared(dir.Path().string(), sources);
  ASSERT_EQ(built.code, 0) << built.err;
  const std::string root = dir.Path().string();

  HeadlessLot lot(root);
  std::string error;
  ASSERT_TRUE(lot.Load(root + "/UserData/Houses/House01.iff", error)) << error;
  lot.FindRooms();

  // The right-hand room: tiles x 8..12, y 3..10, its top right corner cut
  // by a diagonal wall through tiles (11, 3) and (12, 4).
  constexpr int kLampX = 10, kLampY = 5;
  cXObject* lamp = lot.AddObject(tova_test::kLamp, kLampX, kLampY, 1, error);
  ASSERT_NE(lamp, nullptr) << error;
  lamp->SetData(kObjWordFlags, static_cast<int16_t>(lamp->GetData(kObjWordFlags) | kObjFlagLightSource));
  lamp->SetData(kObjWordLightAmount, 100);
  lamp->SetData(kObjWordLightKind, 1);
  RoomManager* rooms = lot.GetHouse().Rooms();
  ASSERT_NE(rooms, nullptr);
  rooms->InvalidateAll();
  rooms->UpdateChangedRooms();

  cFixedWorld& world = lot.Parts().GetWorld();
  TileLightTable& table = *world.LightTable(1);
  const uint16_t lampRoom = world.Rooms(1)->At(kLampX, kLampY);
  ASSERT_NE(lampRoom, world.Rooms(1)->At(5, 5)) << "the rooms were found";
  ASSERT_EQ(world.Rooms(1)->At(11, 3), 0xFFFB) << "a split tile";

  int lit = 0;
  for (int y = 0; y < world.GetSize(); ++y) {
    for (int x = 0; x < world.GetSize(); ++x) {
      const TileLight& entry = table.At(x, y);
      const int dx = x - kLampX, dy = y - kLampY;
      bool mine = world.Rooms(1)->At(x, y) == lampRoom;
      if (world.Rooms(1)->At(x, y) == 0xFFFB) {
        int16_t a = 0, b = 0;
        int32_t sa = 0, sb = 0;
        rooms->GetRoomsAtTile(TileLocation::At(x, y, 1), a, b, sa, sb);
        mine = static_cast<uint16_t>(a) == lampRoom || static_cast<uint16_t>(b) == lampRoom;
      }
      const bool inSquare = dx >= -4 && dx <= 4 && dy >= -4 && dy <= 4;
      if (inSquare && mine) {
        ++lit;
        EXPECT_EQ(entry.Count(), 1) << x << "," << y;
        EXPECT_EQ(entry.offset[0], dx) << x << "," << y;
        EXPECT_EQ(entry.offset[1], dy) << x << "," << y;
      } else {
        EXPECT_EQ(entry.Count(), 0) << x << "," << y;
      }
    }
  }
  // x 8..12 by y 3..9, the split tiles included, less the corner (12, 3)
  // that the diagonal leaves outside.
  EXPECT_EQ(lit, 5 * 7 - 1);
  EXPECT_EQ(table.At(12, 3).Count(), 0);
  EXPECT_EQ(table.At(12, 4).Count(), 1) << "a split tile takes the lamp of one of its halves";
  EXPECT_EQ(table.At(7, 5).Count(), 0) << "the room across the wall";

  // The lamp going dark leaves the table when its room is scored again.
  lamp->SetData(kObjWordLightAmount, 0);
  rooms->InvalidateAll();
  rooms->UpdateChangedRooms();
  EXPECT_EQ(table.At(kLampX, kLampY).Count(), 0);
  EXPECT_EQ(table.At(12, 9).Count(), 0);
}

}  // namespace
