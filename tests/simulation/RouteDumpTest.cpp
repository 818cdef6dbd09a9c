// The ".rte" text of a route request: its layout, a round trip, the reader's
// refusals, and routedump replaying a dump.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>

#include "StarterContent.h"
#include "platform/TextFile.h"
#include "simulation/people/RouteRequest.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova::CostRect;
using tova::ReadRouteDump;
using tova::RouteRequest;
using tova::WriteRouteDump;

RouteRequest Sample() {
  RouteRequest r;
  r.goals = {{1, 2, 3, 4, 5}, {-6, 7, 8, 9, 10}};
  r.obstacles = {{0, 0, 16, 16, CostRect::kSolid}};
  r.obstacles2 = {{20, -20, 40, 0, 10000}};
  r.startX = -12;
  r.startY = 345;
  r.smooth = false;
  r.limitOn = true;
  r.limit = 128;
  r.centreOn = true;
  r.aspectLimit = 3;
  r.noGoalPointOn = true;
  r.noGoalPointValue = -7;
  r.defaultCost = 3;
  return r;
}

TEST(RouteDump, LaysOutOneValueGroupPerLine) {
  EXPECT_EQ(WriteRouteDump(Sample()),
            "4\n-12 345\n1  \n0  \n1  128\n1  3\n1  -7\n2\n1 2 3 4 5 \n-6 7 8 9 10 \n2\n"
            "0 0 16 16 2147483647 \n20 -20 40 0 10000 \n3");
}

TEST(RouteDump, ReadsBackWhatItWrote) {
  const RouteRequest written = Sample();
  RouteRequest read;
  std::string error;
  ASSERT_TRUE(ReadRouteDump(WriteRouteDump(written), read, error)) << error;
  // The two obstacle lists come back as one.
  RouteRequest expected = written;
  expected.obstacles = written.AllObstacles();
  expected.obstacles2.clear();
  EXPECT_EQ(read, expected);
  EXPECT_EQ(WriteRouteDump(read), WriteRouteDump(written));
  // Windows line ends read the same.
  RouteRequest crlf;
  ASSERT_TRUE(ReadRouteDump(platform::ToTextMode(WriteRouteDump(written), platform::LineEnd::kCrLf), crlf, error));
  EXPECT_EQ(crlf, expected);
}

TEST(RouteDump, RefusesTextThatIsNotAWholeDump) {
  const std::string good = WriteRouteDump(Sample());
  struct Case {
    const char* what;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"other version", "3" + good.substr(1)},
      {"option not 0 or 1", "4\n0 0\n2  \n1  \n0  0\n0  0\n0  0\n0\n0\n0"},
      {"number too large", "4\n0 0\n1  \n1  \n0  0\n0  0\n0  0\n0\n0\n2147483648"},
      {"not a number", "4\n0 x\n1  \n1  \n0  0\n0  0\n0  0\n0\n0\n0"},
      {"negative count", "4\n0 0\n1  \n1  \n0  0\n0  0\n0  0\n-1\n0\n0"},
      {"count beyond the text", "4\n0 0\n1  \n1  \n0  0\n0  0\n0  0\n1000000\n1 2 3 4 5\n0\n0"},
      {"short rectangle", "4\n0 0\n1  \n1  \n0  0\n0  0\n0  0\n1\n1 2 3 4 \n0\n0"},
      {"cut short", good.substr(0, good.size() - 2)},
      {"trailing text", good + "\n9"},
  };
  for (const Case& c : cases) {
    RouteRequest r = Sample();
    std::string error;
    EXPECT_FALSE(ReadRouteDump(c.text, r, error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_EQ(r, Sample()) << c.what << ": a refused dump changes nothing";
  }
}

TEST(RoutedumpTool, ReplaysADumpedRequest) {
  const std::string door = std::string(TOVA_SOURCE_DIR) + "/tests/simulation/routes/door.rte";
  const tova_test::ProgramRun run = tova_test::RunProgram("routedump", {"--replay", door});
  ASSERT_EQ(run.code, 0) << run.err;
  const auto golden = platform::ReadTextFile(std::string(TOVA_SOURCE_DIR) + "/tests/simulation/routes/door.path");
  ASSERT_TRUE(golden);
  EXPECT_EQ(run.out, *golden);
  EXPECT_EQ(run.out.rfind("goal 0\npoint 40 40\n", 0), 0u) << run.out;
}

TEST(RoutedumpTool, ABadOrMissingDumpIsAnError) {
  tova_test::ScratchDir dir;
  tova_test::WriteBytes(dir / "bad.rte", "4\n1 2\n");
  struct Case {
    std::vector<std::string> args;
    int code;
  } cases[] = {{{"--replay", (dir / "bad.rte").string()}, 1},
               {{"--replay", (dir / "missing.rte").string()}, 1},
               {{"--replay"}, 2},
               {{"--other", "x"}, 2}};
  for (const Case& c : cases) {
    const tova_test::ProgramRun run = tova_test::RunProgram("routedump", c.args);
    EXPECT_EQ(run.code, c.code) << c.args.back();
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_FALSE(run.err.empty());
  }
}

// The starter house's front door stands in its outer wall: a person put
// outside and sent to a place inside goes through it.
TEST(RoutedumpTool, RoutesThroughTheStarterHousesFrontDoor) {
  tova_test::ScratchDir dir;
  const std::string root = (dir / "data").string();
  ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent(root));
  const std::string lot = std::string(TOVA_SOURCE_DIR) + "/content/UserData/Houses/House01.lot";
  const tova_test::ProgramRun built = tova_test::CompileContent({"--out", root, lot});
  ASSERT_EQ(built.code, 0) << built.err;
  const std::string house = root + "/UserData/Houses/House01.iff";
  const tova_test::ProgramRun run =
      tova_test::RunProgram("routedump", {"--lot", house, "--data", root, "--from", "5,14", "--to", "4,7"});
  ASSERT_EQ(run.code, 0) << run.err;
  // Outdoors (room 0) with its path to the door, the door taken once, the
  // room inside with its path, and the arrival.
  const std::regex whole(
      "room 0\n(point [0-9]+ [0-9]+\n)+facing -?[0-9]+ -?[0-9]+\nportal [0-9]+ cost 1001\\.00\n"
      "room [1-9][0-9]*\n(point [0-9]+ [0-9]+\n)+facing -?[0-9]+ -?[0-9]+\nresult 0\n");
  EXPECT_TRUE(std::regex_match(run.out, whole)) << run.out;
  // The walk inside ends where the marker's slot wants it: 1 to 5 tiles from
  // the marker's centre on tile (4, 7).
  std::vector<std::pair<int, int>> points;
  const std::regex point("point ([0-9]+) ([0-9]+)\n");
  for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), point); it != std::sregex_iterator(); ++it)
    points.emplace_back(std::stoi((*it)[1]), std::stoi((*it)[2]));
  ASSERT_FALSE(points.empty()) << run.out;
  const auto [x, y] = points.back();
  const double d = std::hypot(x - (4 * 16 + 8), y - (7 * 16 + 8));
  EXPECT_GE(d, 16.0) << run.out;
  EXPECT_LE(d, 80.0) << run.out;

  // The data root is found above UserData/ when not given.
  const tova_test::ProgramRun again = tova_test::RunProgram("routedump", {"--lot", house, "--from", "5,14", "--to", "4,7"});
  EXPECT_EQ(again.code, 0) << again.err;
  EXPECT_EQ(again.out, run.out);
}

// Out through the front door to the garden, and across the wall between the
// rooms through the inner door (turned a quarter): each route takes its one
// door and arrives in the room of its goal.
TEST(RoutedumpTool, RoutesOutOfTheHouseAndBetweenItsRooms) {
  tova_test::ScratchDir dir;
  const std::string root = (dir / "data").string();
  ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent(root));
  const std::string lot = std::string(TOVA_SOURCE_DIR) + "/content/UserData/Houses/House01.lot";
  ASSERT_EQ(tova_test::CompileContent({"--out", root, lot}).code, 0);
  const std::string house = root + "/UserData/Houses/House01.iff";
  struct Case {
    const char* from;
    const char* to;
    const char* last;  // the room block the route ends in
  } cases[] = {{"4,7", "5,14", "room 0\n"}, {"4,7", "10,8", "room [1-9][0-9]*\n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
    const tova_test::ProgramRun run =
        tova_test::RunProgram("routedump", {"--lot", house, "--data", root, "--from", c.from, "--to", c.to});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::regex whole(
        std::string("room [1-9][0-9]*\n(point [0-9]+ [0-9]+\n)+facing -?[0-9]+ -?[0-9]+\nportal [0-9]+ cost 1001\\.00\n") +
        c.last + "(point [0-9]+ [0-9]+\n)+facing -?[0-9]+ -?[0-9]+\nresult 0\n");
    EXPECT_TRUE(std::regex_match(run.out, whole)) << run.out;
  }
}

TEST(RoutedumpTool, ALotRouteWithBadPointsOrNoLotIsAnError) {
  tova_test::ScratchDir dir;
  struct Case {
    std::vector<std::string> args;
    int code;
  } cases[] = {{{"--lot", (dir / "missing.iff").string(), "--data", dir.Path().string(), "--from", "1,1", "--to", "2,2"}, 1},
               {{"--lot", "x.iff", "--from", "1", "--to", "2,2"}, 2},
               {{"--lot", "x.iff", "--from", "1,1,9", "--to", "2,2"}, 2},
               {{"--lot", "x.iff", "--from", "1,1,", "--to", "2,2"}, 2},
               {{"--lot", "x.iff", "--from", "1,1"}, 2},
               {{"--from", "1,1", "--to", "2,2"}, 2}};
  for (const Case& c : cases) {
    const tova_test::ProgramRun run = tova_test::RunProgram("routedump", c.args);
    EXPECT_EQ(run.code, c.code) << c.args[3];
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_FALSE(run.err.empty());
  }
}

}  // namespace
