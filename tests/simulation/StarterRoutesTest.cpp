// Every route routedump walks on the starter house keeps to the room it was
// planned in: no walked leg crosses a wall or a fence, none leaves the lot,
// and a route that changes rooms names the door it took.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>

#include "StarterContent.h"
#include "gamedata/LotInterfaces.h"
#include "simulation/ObjectModule.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"
#include "world/HeadlessLot.h"

namespace {

using tova::FinePoint;
using tova::iLotWorld;
using tova::TileLocation;

struct StarterRouteBlock {
  int room = -1;
  std::vector<FinePoint> walked;
  bool facing = false;
  bool portal = false;
};

struct StarterRouteRun {
  std::vector<StarterRouteBlock> blocks;
  int result = -1;
};

StarterRouteRun ParseStarterRoute(const std::string& out) {
  StarterRouteRun run;
  std::istringstream lines(out);
  std::string word;
  while (lines >> word) {
    if (word == "room") {
      run.blocks.emplace_back();
      lines >> run.blocks.back().room;
    } else if (word == "point" && !run.blocks.empty()) {
      FinePoint p{};
      lines >> p.x >> p.y;
      run.blocks.back().walked.push_back(p);
    } else if (word == "facing" && !run.blocks.empty()) {
      int32_t x = 0, y = 0;
      lines >> x >> y;
      run.blocks.back().facing = true;
    } else if (word == "portal" && !run.blocks.empty()) {
      std::string rest;
      std::getline(lines, rest);
      run.blocks.back().portal = true;
    } else if (word == "result") {
      lines >> run.result;
    }
  }
  return run;
}

// The side of a diagonal line through a tile that a point lies on (0 on it).
int DiagonalSide(double x, double y, int32_t tx, int32_t ty, bool rising) {
  const double v = rising ? (x + y) - 16.0 * (tx + ty + 1) : (y - x) - 16.0 * (ty - tx);
  return v > 0 ? 1 : v < 0 ? -1 : 0;
}

// Why the step from a to b (at most a tile apart) crosses a wall, or empty.
std::string StarterWallCrossed(const iLotWorld& world, double ax, double ay, double bx, double by, int level) {
  const int32_t tax = static_cast<int32_t>(std::floor(ax / 16)), tay = static_cast<int32_t>(std::floor(ay / 16));
  const int32_t tbx = static_cast<int32_t>(std::floor(bx / 16)), tby = static_cast<int32_t>(std::floor(by / 16));
  const tova::LotWallSides here = world.GetWallSides(TileLocation::At(static_cast<int8_t>(tax), static_cast<int8_t>(tay), static_cast<int8_t>(level)));
  std::ostringstream why;
  why << "tile " << tax << "," << tay;
  if (tbx > tax && (here.flags & 0x4) != 0) return why.str() + " east side";
  if (tbx < tax && (here.flags & 0x1) != 0) return why.str() + " west side";
  if (tby > tay && (here.flags & 0x8) != 0) return why.str() + " south side";
  if (tby < tay && (here.flags & 0x2) != 0) return why.str() + " north side";
  if (tax == tbx && tay == tby) {
    for (const bool rising : {true, false}) {
      if ((here.flags & (rising ? tova::kLotWallDiagonal16 : tova::kLotWallDiagonal32)) == 0) continue;
      if (DiagonalSide(ax, ay, tax, tay, rising) * DiagonalSide(bx, by, tax, tay, rising) < 0)
        return why.str() + " diagonal";
    }
  }
  return {};
}

TEST(StarterRoutes, EveryWalkedLegStaysInItsRoomAndOnTheLot) {
  tova_test::ScratchDir dir;
  const std::string root = (dir / "data").string();
  ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent(root));
  const std::string lot = std::string(TOVA_SOURCE_DIR) + "/content/UserData/Houses/House01.lot";
  ASSERT_EQ(tova_test::CompileContent({"--out", root, lot}).code, 0);
  const std::string house = root + "/UserData/Houses/House01.iff";

  tova::HeadlessLot headless(root);
  std::string error;
  ASSERT_TRUE(headless.Load(house, error)) << error;
  headless.FindRooms();
  const iLotWorld* world = headless.Module().GetWorld();
  ASSERT_NE(world, nullptr);
  const int32_t size = world->GetSize();

  struct Case {
    const char* from;
    const char* to;
    int rooms;  // room blocks the route passes through
    bool arrives = true;
  } cases[] = {
      {"12,10", "3,10", 2},  // room 2 to room 1, towards the west wall
      {"3,3", "12,10", 2},   // room 1 to room 2, towards the east wall
      {"10,5", "4,4", 2},    {"4,4", "10,8", 2}, {"11,4", "11,9", 1},
      {"4,7", "5,14", 2},    // out through the front door
      {"5,14", "4,7", 2},    // in through it
      {"20,20", "4,5", 2},   // from the far corner of the garden
      // Round the fence to its far side; beside the pool the arrival is not
      // always placed, so only the path is checked.
      {"16,12", "16,7", 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
    const tova_test::ProgramRun run =
        tova_test::RunProgram("routedump", {"--lot", house, "--data", root, "--from", c.from, "--to", c.to});
    ASSERT_EQ(run.code, 0) << run.err;
    const StarterRouteRun route = ParseStarterRoute(run.out);
    if (c.arrives) EXPECT_EQ(route.result, 0) << run.out;
    ASSERT_EQ(static_cast<int>(route.blocks.size()), c.rooms) << run.out;
    for (size_t b = 0; b < route.blocks.size(); ++b) {
      const StarterRouteBlock& block = route.blocks[b];
      EXPECT_EQ(block.portal, b + 1 < route.blocks.size()) << "a room left through a door names it\n" << run.out;
      ASSERT_FALSE(block.walked.empty()) << run.out;
      EXPECT_TRUE(block.facing) << "the walk's last point is the one it turns to face\n" << run.out;
      for (size_t i = 0; i < block.walked.size(); ++i) {
        const FinePoint a = block.walked[i];
        const FinePoint b2 = block.walked[i + 1 < block.walked.size() ? i + 1 : i];
        const double length = std::hypot(b2.x - a.x, b2.y - a.y);
        const int steps = std::max(1, static_cast<int>(std::ceil(length * 4)));
        double px = a.x, py = a.y;
        for (int s = 0; s <= steps; ++s) {
          const double x = a.x + (b2.x - a.x) * s / static_cast<double>(steps);
          const double y = a.y + (b2.y - a.y) * s / static_cast<double>(steps);
          const TileLocation tile = TileLocation::FromFine({static_cast<int32_t>(std::floor(x)),
                                                            static_cast<int32_t>(std::floor(y))}, 1);
          ASSERT_FALSE(tile.x < 1 || tile.y < 1 || tile.x >= size - 1 || tile.y >= size - 1)
              << "(" << x << ", " << y << ") is off the lot\n" << run.out;
          const int16_t room = world->GetRoomId(tile);
          if (room != tova::kSplitTileRoom) {
            ASSERT_EQ(room, block.room) << "(" << x << ", " << y << ") lies in another room\n" << run.out;
          }
          const std::string crossed = StarterWallCrossed(*world, px, py, x, y, 1);
          ASSERT_TRUE(crossed.empty()) << "the leg to (" << b2.x << ", " << b2.y << ") crosses the wall of " << crossed
                                       << "\n" << run.out;
          px = x;
          py = y;
        }
      }
    }
  }
}

// A marker refused by the wall test says which code refused it: a diagonal
// wall stands on tile (12, 4).
TEST(StarterRoutes, AMarkerTheWallsRefuseNamesTheWallTestsCode) {
  tova_test::ScratchDir dir;
  const std::string root = (dir / "data").string();
  ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent(root));
  const std::string lot = std::string(TOVA_SOURCE_DIR) + "/content/UserData/Houses/House01.lot";
  ASSERT_EQ(tova_test::CompileContent({"--out", root, lot}).code, 0);
  const tova_test::ProgramRun run = tova_test::RunProgram(
      "routedump", {"--lot", root + "/UserData/Houses/House01.iff", "--from", "4,4", "--to", "12,4"});
  EXPECT_EQ(run.code, 1);
  EXPECT_TRUE(run.out.empty()) << run.out;
  EXPECT_NE(run.err.find("tile 12,4,1 does not take Step Aside Marker (code 7)"), std::string::npos) << run.err;
}

}  // namespace
