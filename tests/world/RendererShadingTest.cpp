// What the renderer installs for every world: its shading tables built when
// a world is made, and the lamp range the tile lights reach by; and the
// tile-light entry as the turned view reads it.
#include <gtest/gtest.h>

#include "world/RendererShading.h"
#include "world/cFixedWorld.h"
#include "world/cRotatableWorld.h"

namespace {

int gShadingBuilds = 0;
float gShadingRange = 12.0f;

class RendererShadingSeam : public ::testing::Test {
protected:
    void SetUp() override {
        gShadingBuilds = 0;
        tova::InstallRendererShading({[] { ++gShadingBuilds; }, [] { return gShadingRange; }});
    }
    void TearDown() override {
        tova::InstallRendererShading({});
        gShadingRange = 12.0f;
    }
};

// Neighbours that leave the shading to what the renderer installed.
struct PlainNeighbours : iWorldNeighbours {};

TEST_F(RendererShadingSeam, AWorldWithNeighboursBuildsTheShadingTables) {
    PlainNeighbours neighbours;
    WorldServices services;
    services.neighbours = &neighbours;
    cFixedWorld world(16, services);
    EXPECT_EQ(gShadingBuilds, 1);
    cFixedWorld alone(16);
    EXPECT_EQ(gShadingBuilds, 1) << "no neighbours, no renderer";
    tova::InstallRendererShading({});
    cFixedWorld later(16, services);
    EXPECT_EQ(gShadingBuilds, 1) << "nothing installed";
    EXPECT_EQ(tova::RendererLampRange(), tova::kDefaultLampRange);
}

TEST_F(RendererShadingSeam, TheLampRangeSetsTheSquare) {
    cFixedWorld world(32);
    for (int y = 1; y <= 30; ++y)
        for (int x = 1; x <= 30; ++x) world.Rooms(1)->At(x, y) = 1;
    struct Case {
        float range;
        int reach;
    };
    for (const Case c : {Case{12.0f, 4}, Case{6.0f, 2}, Case{7.4f, 2}, Case{7.6f, 3}, Case{1.0f, 0}, Case{-3.0f, 0}}) {
        gShadingRange = c.range;
        TileLightTable& table = *world.LightTable(1);
        table.Clear();
        table.AddLight(TileLocation::At(15, 15, 1), world);
        EXPECT_EQ(table.At(15 + c.reach, 15).Count(), 1) << c.range;
        EXPECT_EQ(table.At(15 + c.reach + 1, 15).Count(), 0) << c.range;
        EXPECT_EQ(table.At(15, 15 - c.reach).Count(), 1) << c.range;
    }
}

TEST(TileLightView, TheEntryTurnsWithTheView) {
    cRotatableWorld world(16);
    const TileLocation tile = TileLocation::At(5, 6, 1);
    world.LightTable(1)->At(5, 6) = TileLight{{2, 1, -3, 0}};
    world.LightTable(1)->At(7, 7) = TileLight{{-1, 4, kNoLight, kNoLight}};
    struct Case {
        int rotation;
        int8_t expected[4];
    };
    const Case cases[] = {{0, {2, 1, -3, 0}}, {1, {-1, 2, 0, -3}}, {2, {-2, -1, 3, 0}}, {3, {1, -2, 0, 3}}};
    for (const Case& c : cases) {
        world.SetRotation(c.rotation, true);
        const TileLight entry = world.GetTileLights(world.WorldToView(tile));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(entry.offset[i], c.expected[i]) << c.rotation << " " << i;
        const TileLight one = world.GetTileLights(world.WorldToView(TileLocation::At(7, 7, 1)));
        EXPECT_EQ(one.Count(), 1);
        EXPECT_EQ(one.offset[2], kNoLight) << "an empty pair stays empty";
        EXPECT_EQ(one.offset[3], kNoLight);
    }
    EXPECT_EQ(world.GetTileLights(TileLocation::At(5, 6, 3)).Count(), 0) << "no such storey";
    EXPECT_EQ(world.GetTileLights(TileLocation::At(5, 6, 2)).Count(), 0);
}

}  // namespace
