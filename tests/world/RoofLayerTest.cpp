#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gamedata/RoomManager.h"
#include "support/RecordingDevice3D.h"
#include "support/RecordingViewer.h"
#include "world/LotGrids.h"
#include "world/LotWorld.h"
#include "world/cFixedWorld.h"
#include "world/roofs/cRoofMeshFactory.h"
#include "world/TileAt.h"

namespace {

using tova_test::T;

struct NoRoofObjects : iWorldNeighbours {
    std::vector<TileLocation> tiles;
    bool StandsUnderNoRoof(TileLocation t) const override {
        for (const TileLocation& o : tiles)
            if (o.x == t.x && o.y == t.y && o.level == t.level) return true;
        return false;
    }
};

// Tiles (1..3, 1) and (1, 2..3): one ring of room cells at height 1 in a
// ring of eaves; the inner corner takes the three-corner piece (code 14).
const char* const LShape =
    "... ... ... ... ... ... ... ... ... ...\n"
    "... 0s1 0s3 0s3 0s3 0s3 0s3 0s3 0s2 ...\n"
    "... 0s5 1s1 1s3 1s3 1s3 1s3 1s2 0sa ...\n"
    "... 0s5 1s5 1se 1sc 1sc 1sc 1s8 0sa ...\n"
    "... 0s5 1s5 1sa 0se 0sc 0sc 0sc 0s8 ...\n"
    "... 0s5 1s5 1sa 0sa ... ... ... ... ...\n"
    "... 0s5 1s5 1sa 0sa ... ... ... ... ...\n"
    "... 0s5 1s4 1s8 0sa ... ... ... ... ...\n"
    "... 0s4 0sc 0sc 0s8 ... ... ... ... ...\n"
    "... ... ... ... ... ... ... ... ... ...\n";

class RoofLayerTest : public ::testing::Test {
protected:
    RoofLayerTest() : world(8, Services()), lot(world), rooms(tova::LotServices{&lot}) {}
    WorldServices Services() {
        WorldServices s;
        s.rooms = &rooms;
        s.neighbours = &objects;
        return s;
    }
    void AddSide(int x, int y, int32_t side) {
        WallInfo info = world.GetWallInfo(T(x, y));
        info.flags |= side;
        info.style[WallSideIndex(side)] = 1;
        world.SetWallInfo(T(x, y), info);
    }
    // Walls round every edge between a listed tile and one that is not.
    void AddRoom(const std::vector<std::pair<int, int>>& tiles) {
        auto in = [&](int x, int y) {
            for (auto [a, b] : tiles)
                if (a == x && b == y) return true;
            return false;
        };
        for (auto [x, y] : tiles) {
            world.Floors(1)->At(x, y) = 3;
            if (!in(x - 1, y)) AddSide(x, y, kWallSide1);
            if (!in(x, y - 1)) AddSide(x, y, kWallSide2);
            if (!in(x + 1, y)) AddSide(x, y, kWallSide4);
            if (!in(x, y + 1)) AddSide(x, y, kWallSide8);
        }
    }
    // The roof grid's rows from..to, columns from..to.
    std::string Window(int level, int from, int to) {
        std::string out;
        const std::string grid = RoofGrid(world, level);
        size_t start = 0;
        for (int row = 0; start < grid.size(); ++row) {
            const size_t end = grid.find('\n', start);
            if (row >= from && row <= to) out += grid.substr(start + from * 4, (to - from + 1) * 4 - 1) + "\n";
            start = end + 1;
        }
        return out;
    }

    NoRoofObjects objects;
    cFixedWorld world;
    cLotWorld lot;
    tova::RoomManager rooms;
};

TEST_F(RoofLayerTest, OneTileRoomIsFourCornersInEaves) {
    AddRoom({{3, 3}});
    world.RecomputeRooms(0);
    EXPECT_EQ(Window(1, 4, 9),
              "... ... ... ... ... ...\n"
              "... 0s1 0s3 0s3 0s2 ...\n"
              "... 0s5 1s1 1s2 0sa ...\n"
              "... 0s5 1s4 1s8 0sa ...\n"
              "... 0s4 0sc 0sc 0s8 ...\n"
              "... ... ... ... ... ...\n");
    EXPECT_EQ(world.GetRoofLayer(1)->RecomputeRoof(world, 1, world.GetRoofLayer(2)), 1);
    EXPECT_EQ(RoofGrid(world, 2).find_first_not_of(". \n"), std::string::npos) << "no roof upstairs";
    EXPECT_EQ(world.RecomputeRooms(0), 1);
}

TEST_F(RoofLayerTest, NoRoofUnderAnUpperFloorAndEavesThatStayFlatAreDropped) {
    AddRoom({{3, 3}});
    world.Floors(2)->At(4, 3) = 1;
    world.RecomputeRooms(0);
    EXPECT_EQ(Window(1, 4, 10),
              "... ... ... ... ... ... ...\n"
              "... 0s1 0s3 0s2 ... ... ...\n"
              "... 0s5 1f1 0sa ### ### ...\n"
              "... 0s5 1f8 0sa ### ### ...\n"
              "... 0s4 0sc 0s8 ... ... ...\n"
              "... ... ... ... ... ... ...\n"
              "... ... ... ... ... ... ...\n");
    EXPECT_EQ(world.GetRoofLayer(1)->RecomputeRoof(world, 1, world.GetRoofLayer(2)), 2)
        << "two eaves beside the blocked cells lose their roof; the pass is repeated";
}

TEST_F(RoofLayerTest, AnObjectThatWantsNoRoofBlocksItsTile) {
    AddRoom({{3, 3}, {4, 3}});
    objects.tiles = {T(4, 3)};
    world.RecomputeRooms(0);
    EXPECT_EQ(world.GetRoofLayer(1)->At(6, 8).bits & kRoofBlocked, kRoofBlocked);
    EXPECT_FALSE(world.GetRoofLayer(1)->HasRoof(7, 9));
    EXPECT_TRUE(world.GetRoofLayer(1)->HasRoof(6, 6));
}

TEST_F(RoofLayerTest, LShapedRoomHeightsSlopesAndShapes) {
    AddRoom({{1, 1}, {2, 1}, {3, 1}, {1, 2}, {1, 3}});
    world.RecomputeRooms(0);
    EXPECT_EQ(Window(1, 0, 9), LShape);
}

TEST_F(RoofLayerTest, DrawsEveryPieceOrTheDirtyOnes) {
    tova_test::RecordingDevice3D device;
    SetRoofContext({&device, "roofs", {}});
    AddRoom({{3, 3}});
    world.RecomputeRooms(0);
    tova_test::RecordingViewer view;
    const RenderRect all = world.GetRoofLayer(1)->Draw(world, view, nullptr, 1, {});
    EXPECT_EQ(device.draws.size(), 16u) << "four room cells and twelve eaves";
    EXPECT_FALSE(all.Empty());
    device.draws.clear();
    const ScreenPoint at = view.TileToScreen(T(3, 3));
    world.GetRoofLayer(1)->Draw(world, view, nullptr, 1, {{at.x, at.y, at.x + 1, at.y + 1}});
    EXPECT_EQ(device.draws.size(), 4u) << "the cells of one tile";
    // The cell's height lifts it by the rise of a step.
    const float rise = GetRoofMeshFactory()->GetRise();
    float lowest = 1e9f, highest = -1e9f;
    for (const auto& d : device.draws) {
        lowest = std::min(lowest, d.transform.m[3][1]);
        highest = std::max(highest, d.transform.m[3][1]);
    }
    EXPECT_FLOAT_EQ(highest - lowest, 0.0f);
    EXPECT_GT(lowest, rise * 0.99f);
    DeleteRoofMeshFactory();
    SetRoofContext({});
}

TEST_F(RoofLayerTest, CornerPiecesOnSlopedGroundRestOnTheirDiagonalNeighbour) {
    tova_test::RecordingDevice3D device;
    SetRoofContext({&device, "roofs", {}});
    tova_test::RecordingViewer view;
    world.SetCornerHeight(4, 4, 20);  // tile (3, 3) slopes up to its corner by (4, 4)
    world.SetCornerHeight(7, 8, 30);  // tile (7, 7) at the lot's edge slopes too
    cRoofLayer& roof = *world.GetRoofLayer(1);
    roof.At(6, 6).bits = kRoofOn | kRoofSloped | (1 << 4);    // code 1: neighbour (+1, +1)
    roof.At(15, 15).bits = kRoofOn | kRoofSloped | (1 << 4);  // (+1, +1) lies off the grid
    roof.Draw(world, view, nullptr, 1, {});
    ASSERT_EQ(device.draws.size(), 2u);
    const float scale = 0.20412415f, storey = 4.5f;
    const float ground44 = world.Altitude().At(4, 4).corner[1] * scale;
    const float ground77 = world.Altitude().At(7, 7).corner[1] * scale;
    EXPECT_FLOAT_EQ(ground44, 20 * scale);
    EXPECT_FLOAT_EQ(device.draws[0].transform.m[3][1], ground44 + storey);
    EXPECT_FLOAT_EQ(device.draws[1].transform.m[3][1], ground77 + storey) << "its own tile at the edge";
    DeleteRoofMeshFactory();
    SetRoofContext({});
}

}  // namespace
