#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "gamedata/SimRandom.h"
#include "world/cFixedWorld.h"

namespace {

bool CornersAgree(cFixedWorld& w) {
    // Every interior corner point holds the same height in all four cells.
    auto& a = w.Altitude();
    for (int x = 1; x < 63; ++x) {
        for (int y = 1; y < 63; ++y) {
            const int h = a.At(x, y).corner[1];
            if (a.At(x - 1, y).corner[2] != h || a.At(x, y - 1).corner[0] != h || a.At(x - 1, y - 1).corner[3] != h)
                return false;
        }
    }
    return true;
}

}  // namespace

TEST(TerrainGen, FlattenGivesEveryCornerTen) {
    cFixedWorld world(64);
    world.RandomTerrain();
    world.FlattenTerrain();
    EXPECT_EQ(world.Altitude().At(10, 10), (AltitudeCell{{10, 10, 10, 10}}));
    EXPECT_TRUE(CornersAgree(world));
}

TEST(TerrainGen, RandomTerrainIsBoundedAndConsistent) {
    cFixedWorld world(64);
    tova::SetRandomSeed(1234);
    world.RandomTerrain();
    EXPECT_TRUE(CornersAgree(world));
    std::set<int> heights;
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 64; ++y) {
            EXPECT_LE(world.Altitude().At(x, y).corner[1], 30);
            heights.insert(world.Altitude().At(x, y).corner[1]);
        }
    EXPECT_GT(heights.size(), 1u);
    // The same seed gives the same terrain.
    cFixedWorld twin(64);
    tova::SetRandomSeed(1234);
    twin.RandomTerrain();
    EXPECT_EQ(std::memcmp(world.Altitude().Data(), twin.Altitude().Data(), world.Altitude().CellAreaBytes()), 0);
}

TEST(TerrainGen, RandomGroundStaysInRange) {
    cFixedWorld world(64);
    world.RandomGround(80);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 64; ++y) EXPECT_LE(world.Ground().At(x, y), 4);
}

TEST(TerrainGen, GrassIsDeterministicAndRestoresTheGenerator) {
    cFixedWorld world(64);
    tova::SetRandomSeed(777);
    world.GenerateGrass(0);
    EXPECT_EQ(tova::GetRandomSeed(), 777u) << "the generator is left where it was";
    std::vector<int8_t> first(world.Grass().Data(), world.Grass().Data() + 64 * 64);
    world.Grass().FillCells(0);
    world.GenerateGrass(0);
    EXPECT_EQ(std::memcmp(first.data(), world.Grass().Data(), first.size()), 0);
    EXPECT_EQ(std::memcmp(world.Grass().Data(), world.TargetGrass().Data(), first.size()), 0);
    world.GenerateGrass(kDefaultGrassSeed);
    EXPECT_EQ(std::memcmp(first.data(), world.Grass().Data(), first.size()), 0) << "seed 0 means 1959050";
    world.GenerateGrass(99);
    EXPECT_NE(std::memcmp(first.data(), world.Grass().Data(), first.size()), 0);
    // The lattice points come from -32..127.
    world.GenerateGrass(0);
    for (int x = 0; x < 64; x += 16)
        for (int y = 0; y < 64; y += 16) EXPECT_GE(world.Grass().At(x, y), -32);
}

TEST(TerrainGen, GrassGrowsTowardTargetInsideTheBorder) {
    cFixedWorld world(20);
    auto& grass = world.Grass();
    auto& target = world.TargetGrass();
    grass.FillCells(0);
    target.FillCells(0);
    target.At(5, 5) = 120;
    grass.At(5, 5) = 100;
    target.At(0, 3) = 50;  // border tile never grows
    target.At(9, 9) = 127;
    grass.At(9, 9) = 126;
    world.GrowGrass(40);  // 126 + 160 must not wrap before it is clamped
    EXPECT_EQ(grass.At(5, 5), 120);
    EXPECT_EQ(grass.At(0, 3), 0);
    EXPECT_EQ(grass.At(9, 9), 127);
    // A tile whose diagonal neighbours all still grow waits.
    grass.FillCells(0);
    target.FillCells(10);
    grass.At(5, 5) = 0;
    world.GrowGrass(1);
    EXPECT_EQ(grass.At(5, 5), 0);
    for (int x = 4; x <= 6; x += 2)
        for (int y = 4; y <= 6; y += 2) grass.At(x, y) = 10;
    world.GrowGrass(1);
    EXPECT_EQ(grass.At(5, 5), 4);
    // A step typed at the console may be any number: the tile reaches its
    // target rather than wrapping around.
    world.GrowGrass(0x40000000);
    EXPECT_EQ(grass.At(5, 5), 10);
}
